#include "rtfpicture.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace {

quint32 readLe32(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return 0;
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData() + at);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

quint16 readLe16(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 2 > bytes.size())
        return 0;
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData() + at);
    return quint16(b[0] | b[1] << 8);
}

void writeLe32(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
}

bool sizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= RtfPicture::kMaxSide && height <= RtfPicture::kMaxSide
        && width * height <= RtfPicture::kMaxPixels;
}

// PNG and JPEG: the reader's own size check comes before any pixel is decoded.
QImage decodeCompressed(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!sizeAllowed(size.width(), size.height()))
        return {};
    return reader.read();
}

// A device-independent bitmap is a BMP file without its 14-byte file header: put the header
// back and let the BMP reader do the rest.
QImage decodeDib(const QByteArray &dib)
{
    const quint32 headerSize = readLe32(dib, 0);
    if (headerSize < 12 || headerSize > 1024 || dib.size() < qsizetype(headerSize))
        return {};
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 colours = 0;
    quint32 compression = 0;
    if (headerSize == 12) { // the old OS/2 core header
        width = readLe16(dib, 4);
        height = readLe16(dib, 6);
        bitCount = readLe16(dib, 10);
        colours = bitCount <= 8 ? 1u << bitCount : 0;
    } else {
        width = qint32(readLe32(dib, 4));
        height = qint32(readLe32(dib, 8));
        bitCount = readLe16(dib, 14);
        compression = readLe32(dib, 16);
        colours = readLe32(dib, 32);
        if (colours == 0 && bitCount <= 8)
            colours = 1u << bitCount;
    }
    if (!sizeAllowed(width, std::abs(height)) || bitCount == 0 || bitCount > 32 || colours > 256)
        return {};
    const quint32 entrySize = headerSize == 12 ? 3 : 4;
    quint32 tableSize = colours * entrySize;
    if (headerSize == 40 && (compression == 3 || compression == 6))
        tableSize += compression == 3 ? 12 : 16; // bit-field masks follow the header
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    writeLe32(file, 2, quint32(14 + dib.size()));
    writeLe32(file, 10, 14 + headerSize + tableSize);
    file += dib;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    return reader.read();
}

// The old device-dependent bitmap: rows of raw pixels, top row first, each row padded to
// \wbmwidthbytes. Monochrome and true-colour ones are shown; palette ones need the device.
QImage decodeDeviceBitmap(const RtfPicture::Data &picture)
{
    const int width = picture.width;
    const int height = picture.height;
    const int bits = picture.bitsPerPixel;
    if (!sizeAllowed(width, height) || (bits != 1 && bits != 24 && bits != 32))
        return {};
    const qint64 minStride = (qint64(width) * bits + 7) / 8;
    const qint64 stride = picture.widthBytes > 0 ? picture.widthBytes : (minStride + 1) / 2 * 2;
    if (stride < minStride || stride * height > picture.bytes.size())
        return {};
    QImage image(width, height, bits == 1 ? QImage::Format_Mono : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto *data = reinterpret_cast<const uchar *>(picture.bytes.constData());
    for (int y = 0; y < height; ++y) {
        const uchar *row = data + stride * y;
        if (bits == 1) {
            std::copy(row, row + minStride, image.scanLine(y));
        } else {
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            const int step = bits / 8;
            for (int x = 0; x < width; ++x)
                out[x] = qRgb(row[x * step + 2], row[x * step + 1], row[x * step]);
        }
    }
    if (bits == 1) {
        image.setColor(0, qRgb(0, 0, 0));
        image.setColor(1, qRgb(255, 255, 255));
    }
    return image;
}

} // namespace

namespace RtfPicture {

QImage decode(const Data &picture)
{
    if (picture.bytes.isEmpty() || picture.bytes.size() > kMaxBytes)
        return {};
    switch (picture.kind) {
    case Kind::Png:
        return decodeCompressed(picture.bytes, "png");
    case Kind::Jpeg:
        return decodeCompressed(picture.bytes, "jpeg");
    case Kind::Dib:
        return decodeDib(picture.bytes);
    case Kind::DeviceBitmap:
        return decodeDeviceBitmap(picture);
    case Kind::None:
    case Kind::Unsupported:
        break;
    }
    return {};
}

QSizeF displaySize(const Data &picture, const QSize &imageSize)
{
    // Goal sizes are twips, 15 to the pixel at 96 per inch; without them the image shows at
    // its own size in pixels.
    const double width = picture.goalWidth > 0 ? picture.goalWidth / 15.0 : imageSize.width();
    const double height = picture.goalHeight > 0 ? picture.goalHeight / 15.0 : imageSize.height();
    return QSizeF(std::clamp(width * picture.scaleX / 100.0, 1.0, double(kMaxSide)),
        std::clamp(height * picture.scaleY / 100.0, 1.0, double(kMaxSide)));
}

} // namespace RtfPicture
