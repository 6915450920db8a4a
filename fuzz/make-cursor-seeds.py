#!/usr/bin/env python3
"""Writes small Windows cursor files of every kind the cursor reader accepts, as seeds for its
fuzz target: device-independent bitmaps of 1, 4, 8, 24 and 32 bits per pixel with their AND
mask, a PNG cursor, and a file with two entries. Usage: make-cursor-seeds.py FOLDER"""
import os
import struct
import sys
import zlib


def dib(side, bpp):
    colours = 1 << bpp if bpp <= 8 else 0
    row = ((side * bpp + 31) // 32) * 4
    mask_row = ((side + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
    palette = b''.join(struct.pack('<BBBB', i * 37 % 256, i * 91 % 256, i * 13 % 256, 0)
                       for i in range(colours))
    pixels = bytearray()
    for y in range(side):
        line = bytearray(row)
        for i in range(row):
            line[i] = (y * 7 + i * 3) & 0xff
        pixels += line
    mask = bytearray()
    for y in range(side):
        mask += bytes((0xF0 if (y // 4) % 2 else 0x0F) for _ in range(mask_row))
    return header + palette + bytes(pixels) + bytes(mask)


def png(side):
    raw = b''.join(b'\x00' + b''.join(bytes((x * 8, y * 8, 128, 255 if (x + y) % 3 else 0)) for x in range(side))
                   for y in range(side))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def cursor(entries):
    """entries: list of (side, hotspot, image bytes)."""
    out = struct.pack('<HHH', 0, 2, len(entries))
    offset = 6 + 16 * len(entries)
    body = b''
    for side, (hx, hy), image in entries:
        out += struct.pack('<BBBBHHII', side % 256, side % 256, 0, 0, hx, hy, len(image), offset + len(body))
        body += image
    return out + body


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    seeds = {f'dib{bpp}.cur': cursor([(32, (12, 0), dib(32, bpp))]) for bpp in (1, 4, 8, 24, 32)}
    seeds['png.cur'] = cursor([(32, (5, 5), png(32))])
    seeds['two-sizes.cur'] = cursor([(16, (2, 2), dib(16, 4)), (48, (40, 3), dib(48, 8))])
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
