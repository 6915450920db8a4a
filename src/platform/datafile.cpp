#include "datafile.h"

#include "errorbox.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QtEndian>

namespace {

quint32 le32(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

quint16 le16(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

constexpr qint64 kMaxSide = 8192;

// Decoded pictures by the digest of their file's bytes. Bounded: when it grows past the limit it
// starts again, which costs only a decode.
class PictureCache
{
public:
    QImage find(const QByteArray &key) const { return m_images.value(key); }
    void insert(const QByteArray &key, const QImage &image)
    {
        if (m_bytes + image.sizeInBytes() > kLimit) {
            m_images.clear();
            m_bytes = 0;
        }
        m_images.insert(key, image);
        m_bytes += image.sizeInBytes();
    }

private:
    static constexpr qsizetype kLimit = 48 * 1024 * 1024;
    QHash<QByteArray, QImage> m_images;
    qsizetype m_bytes = 0;
};

PictureCache &cache()
{
    static PictureCache instance;
    return instance;
}

std::function<void(const QString &)> &readObserver()
{
    static std::function<void(const QString &)> observer;
    return observer;
}

} // namespace

namespace DataFile {

void setReadObserver(std::function<void(const QString &fileName)> observer)
{
    readObserver() = std::move(observer);
}

std::optional<QByteArray> read(const QString &fileName)
{
    if (readObserver())
        readObserver()(fileName);
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

QString checkBmpHeaders(const QByteArray &data)
{
    if (data.size() < 14 + 12 || !data.startsWith("BM"))
        return QStringLiteral("no bitmap signature");
    const quint32 pixelOffset = le32(data, 10);
    const quint32 headerSize = le32(data, 14);
    qint64 width = 0;
    qint64 height = 0;
    int bitsPerPixel = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = le16(data, 18);
        height = le16(data, 20);
        bitsPerPixel = le16(data, 24);
    } else if (headerSize >= 40 && headerSize <= 124 && data.size() >= 14 + 40) {
        width = qint32(le32(data, 18));
        height = qint32(le32(data, 22));
        bitsPerPixel = le16(data, 28);
        compression = le32(data, 30);
    } else {
        return QStringLiteral("unknown header size %1").arg(headerSize);
    }
    height = qAbs(height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return QStringLiteral("size %1 x %2 out of range").arg(width).arg(height);
    static constexpr int depths[] = { 1, 4, 8, 16, 24, 32 };
    if (std::find(std::begin(depths), std::end(depths), bitsPerPixel) == std::end(depths))
        return QStringLiteral("%1 bits per pixel").arg(bitsPerPixel);
    if (compression > 3)
        return QStringLiteral("unsupported compression %1").arg(compression);
    if (pixelOffset < 14 + headerSize || pixelOffset > quint32(data.size()))
        return QStringLiteral("pixel data outside the file");
    if (compression == 0 || compression == 3) {
        const qint64 rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
        if (rowBytes * height > data.size() - qint64(pixelOffset))
            return QStringLiteral("pixel data truncated");
    }
    return {};
}

QImage decodeBmp(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setAutoTransform(false);
    return reader.read();
}

QString invalidRichTextText(const QString &fileName)
{
    return QStringLiteral("The file %1 is not a valid rich text.").arg(fileName);
}

QString damagedRichTextText(const QString &fileName)
{
    return QStringLiteral("The file %1 is damaged: only part of it could be read.").arg(fileName);
}

QString invalidPictureText(const QString &fileName)
{
    return QStringLiteral("The file %1 is not a valid bitmap.").arg(fileName);
}

std::optional<QImage> loadPicture(const QString &fileName)
{
    const std::optional<QByteArray> data = read(fileName);
    if (!data) {
        ErrorBox::cannotOpen(fileName);
        return std::nullopt;
    }
    const QByteArray key = QCryptographicHash::hash(*data, QCryptographicHash::Sha1);
    if (QImage cached = cache().find(key); !cached.isNull())
        return cached;
    QImage image;
    if (checkBmpHeaders(*data).isEmpty())
        image = decodeBmp(*data);
    if (image.isNull()) {
        ErrorBox::show(invalidPictureText(fileName));
        return std::nullopt;
    }
    cache().insert(key, image);
    return image;
}

} // namespace DataFile
