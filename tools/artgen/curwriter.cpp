#include "curwriter.h"

#include "littleendian.h"

#include <QFile>

using namespace LittleEndian;

namespace {

bool isOpaque(QRgb pixel)
{
    return qAlpha(pixel) >= 128;
}

} // namespace

QByteArray encodeCursor(const QImage &source, QPoint hotSpot, int bitsPerPixel)
{
    if (bitsPerPixel != 1 && bitsPerPixel != 32)
        return {};
    if (source.isNull() || source.width() > 256 || source.height() > 256)
        return {};
    if (!source.rect().contains(hotSpot))
        return {};

    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int colourRow = ((width * bitsPerPixel + 31) / 32) * 4;
    const int maskRow = ((width + 31) / 32) * 4;
    const int paletteBytes = bitsPerPixel == 1 ? 2 * 4 : 0;
    const quint32 imageBytes = quint32(40 + paletteBytes + (colourRow + maskRow) * height);
    const quint32 imageOffset = 6 + 16;

    QByteArray b;
    b.reserve(int(imageOffset + imageBytes));
    // Icon directory: reserved, type 2 (cursor), one entry.
    put16(b, 0);
    put16(b, 2);
    put16(b, 1);
    // The entry: a side of 256 is written as 0.
    put8(b, quint8(width & 0xff));
    put8(b, quint8(height & 0xff));
    put8(b, bitsPerPixel == 1 ? 2 : 0);
    put8(b, 0);
    put16(b, quint16(hotSpot.x()));
    put16(b, quint16(hotSpot.y()));
    put32(b, imageBytes);
    put32(b, imageOffset);
    // The bitmap header counts the colour rows and the mask rows together.
    put32(b, 40);
    put32(b, quint32(width));
    put32(b, quint32(2 * height));
    put16(b, 1);
    put16(b, quint16(bitsPerPixel));
    put32(b, 0);
    put32(b, quint32((colourRow + maskRow) * height));
    put32(b, 0);
    put32(b, 0);
    put32(b, bitsPerPixel == 1 ? 2 : 0);
    put32(b, 0);
    if (bitsPerPixel == 1) {
        put32(b, 0x00000000); // black
        put32(b, 0x00ffffff); // white
    }

    QByteArray row;
    for (int y = height - 1; y >= 0; --y) {
        row.fill('\0', colourRow);
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            if (bitsPerPixel == 32) {
                row[4 * x] = char(qBlue(p));
                row[4 * x + 1] = char(qGreen(p));
                row[4 * x + 2] = char(qRed(p));
                row[4 * x + 3] = char(qAlpha(p));
            } else if (isOpaque(p) && qGray(p) >= 128) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        b.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        row.fill('\0', maskRow);
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (!isOpaque(line[x]))
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        b.append(row);
    }
    return b;
}

bool writeCursor(const QImage &image, QPoint hotSpot, const QString &path, int bitsPerPixel)
{
    const QByteArray bytes = encodeCursor(image, hotSpot, bitsPerPixel);
    if (bytes.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size();
}
