#include "bmpwriter.h"

#include "littleendian.h"

#include <QFile>

using namespace LittleEndian;

namespace {

int nearestIndex(QRgb c, const QList<QRgb> &palette)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(c) - qRed(palette[i]);
        const int dg = qGreen(c) - qGreen(palette[i]);
        const int db = qBlue(c) - qBlue(palette[i]);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace

const QList<QRgb> &windowsPalette16()
{
    static const QList<QRgb> palette {
        qRgb(0, 0, 0),
        qRgb(128, 0, 0),
        qRgb(0, 128, 0),
        qRgb(128, 128, 0),
        qRgb(0, 0, 128),
        qRgb(128, 0, 128),
        qRgb(0, 128, 128),
        qRgb(128, 128, 128),
        qRgb(192, 192, 192),
        qRgb(255, 0, 0),
        qRgb(0, 255, 0),
        qRgb(255, 255, 0),
        qRgb(0, 0, 255),
        qRgb(255, 0, 255),
        qRgb(0, 255, 255),
        qRgb(255, 255, 255),
    };
    return palette;
}

QByteArray encodeBmp(const QImage &source, int bitsPerPixel)
{
    Q_ASSERT(bitsPerPixel == 4 || bitsPerPixel == 24);
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
    const int paletteBytes = bitsPerPixel == 4 ? 16 * 4 : 0;
    const quint32 pixelOffset = 14 + 40 + paletteBytes;
    const quint32 fileSize = pixelOffset + quint32(rowBytes) * quint32(height);

    QByteArray b;
    b.reserve(int(fileSize));
    b.append("BM", 2);
    put32(b, fileSize);
    put32(b, 0);
    put32(b, pixelOffset);
    put32(b, 40);
    put32(b, quint32(width));
    put32(b, quint32(height));
    put16(b, 1);
    put16(b, quint16(bitsPerPixel));
    put32(b, 0); // no compression
    put32(b, quint32(rowBytes) * quint32(height));
    put32(b, 3780); // 96 dots per inch
    put32(b, 3780);
    put32(b, bitsPerPixel == 4 ? 16 : 0);
    put32(b, 0);
    if (bitsPerPixel == 4) {
        for (QRgb c : windowsPalette16()) {
            b.append(char(qBlue(c)));
            b.append(char(qGreen(c)));
            b.append(char(qRed(c)));
            b.append(char(0));
        }
    }
    QByteArray row(rowBytes, '\0');
    for (int y = height - 1; y >= 0; --y) {
        row.fill('\0');
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 24) {
                row[3 * x] = char(qBlue(line[x]));
                row[3 * x + 1] = char(qGreen(line[x]));
                row[3 * x + 2] = char(qRed(line[x]));
            } else {
                const int index = nearestIndex(line[x], windowsPalette16());
                row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
            }
        }
        b.append(row);
    }
    return b;
}

bool writeBmp(const QImage &image, const QString &path, int bitsPerPixel)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeBmp(image, bitsPerPixel);
    return file.write(bytes) == bytes.size();
}
