#include "curfile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : m_data(data)
    {
    }

    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_data.size() && length <= m_data.size() - offset;
    }
    quint8 u8(qint64 at) const { return quint8(m_data[at]); }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(m_data.constData() + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(m_data.constData() + at); }
    QByteArray slice(qint64 offset, qint64 length) const { return m_data.mid(offset, length); }

private:
    const QByteArray &m_data;
};

struct Entry
{
    int width;
    int height;
    QPoint hotSpot;
    quint32 size;
    quint32 offset;
};

std::optional<QImage> readDib(const Reader &r, qint64 at, qint64 length)
{
    if (!r.has(at, 40) || length < 40)
        return std::nullopt;
    const quint32 headerSize = r.u32(at);
    const qint32 width = qint32(r.u32(at + 4));
    const qint32 doubledHeight = qint32(r.u32(at + 8));
    const int bits = r.u16(at + 14);
    const quint32 compression = r.u32(at + 16);
    quint32 coloursUsed = r.u32(at + 32);
    if (headerSize < 40 || headerSize > 124 || compression != 0)
        return std::nullopt;
    if (width <= 0 || width > CurFile::kMaxSide || doubledHeight <= 0 || doubledHeight % 2 != 0
        || doubledHeight / 2 > CurFile::kMaxSide)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    const int height = doubledHeight / 2;
    const qint64 paletteSize = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) : 0;
    if (bits <= 8 && paletteSize > (1 << bits))
        return std::nullopt;
    const qint64 paletteAt = at + headerSize;
    const qint64 xorAt = paletteAt + paletteSize * 4;
    const qint64 xorRow = ((qint64(width) * bits + 31) / 32) * 4;
    const qint64 andAt = xorAt + xorRow * height;
    const qint64 andRow = ((qint64(width) + 31) / 32) * 4;
    const qint64 end = andAt + andRow * height;
    // A 32-bit cursor may leave its mask out and rely on its alpha channel alone.
    const bool maskPresent = end - at <= length && r.has(andAt, andRow * height);
    if (!r.has(xorAt, xorRow * height) || andAt - at > length || (bits != 32 && !maskPresent))
        return std::nullopt;

    QList<QRgb> palette;
    for (qint64 i = 0; i < paletteSize; ++i) {
        const qint64 p = paletteAt + 4 * i;
        palette.append(qRgb(r.u8(p + 2), r.u8(p + 1), r.u8(p)));
    }

    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const qint64 row = xorAt + xorRow * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb colour = 0;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const qint64 bit = qint64(x) * bits;
                const int shift = 8 - bits - int(bit % 8);
                const int index = (r.u8(row + bit / 8) >> shift) & ((1 << bits) - 1);
                colour = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
                break;
            }
            case 24:
                colour = qRgb(r.u8(row + 3 * x + 2), r.u8(row + 3 * x + 1), r.u8(row + 3 * x));
                break;
            case 32: {
                const int alpha = r.u8(row + 4 * x + 3);
                anyAlpha = anyAlpha || alpha != 0;
                colour = qRgba(r.u8(row + 4 * x + 2), r.u8(row + 4 * x + 1), r.u8(row + 4 * x), alpha);
                break;
            }
            }
            line[x] = bits == 32 ? colour : (colour | 0xff000000u);
        }
    }
    if (bits == 32 && anyAlpha)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!maskPresent)
        return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const qint64 row = andAt + andRow * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool transparent = (r.u8(row + x / 8) >> (7 - x % 8)) & 1;
            // A masked pixel with colour would invert the screen; it shows as nothing here.
            line[x] = transparent ? 0u : (line[x] | 0xff000000u);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

namespace CurFile {

std::optional<Cursor> parse(const QByteArray &data)
{
    const Reader r(data);
    if (!r.has(0, 6) || r.u16(0) != 0 || (r.u16(2) != 2 && r.u16(2) != 1))
        return std::nullopt;
    const int count = r.u16(4);
    if (count == 0 || count > 64 || !r.has(6, qint64(count) * 16))
        return std::nullopt;

    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        const qint64 e = 6 + 16 * qint64(i);
        Entry entry { r.u8(e) ? r.u8(e) : 256, r.u8(e + 1) ? r.u8(e + 1) : 256,
            QPoint(r.u16(e + 4), r.u16(e + 6)), r.u32(e + 8), r.u32(e + 12) };
        if (!r.has(entry.offset, entry.size) || entry.size == 0)
            continue;
        if (!best || qAbs(entry.width - 32) < qAbs(best->width - 32))
            best = entry;
    }
    if (!best)
        return std::nullopt;

    std::optional<QImage> image;
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (r.slice(best->offset, 8) == pngSignature) {
        QByteArray bytes = r.slice(best->offset, best->size);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "PNG");
        const QSize size = reader.size();
        if (size.isValid() && size.width() <= kMaxSide && size.height() <= kMaxSide) {
            const QImage png = reader.read();
            if (!png.isNull() && png.width() <= kMaxSide && png.height() <= kMaxSide)
                image = png.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    } else {
        image = readDib(r, best->offset, best->size);
    }
    if (!image || image->isNull())
        return std::nullopt;
    const QPoint hotSpot(
        qBound(0, best->hotSpot.x(), image->width() - 1), qBound(0, best->hotSpot.y(), image->height() - 1));
    return Cursor { *image, hotSpot };
}

} // namespace CurFile
