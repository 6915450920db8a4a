// libFuzzer entry point for the cursor-file reader: every input must be read without a crash, a
// hang or a memory fault, and a cursor it accepts must be one the pointer can use.

#include "curfile.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<CurFile::Cursor> cursor = CurFile::parse(bytes);
    if (!cursor)
        return 0;
    const QImage &image = cursor->image;
    if (image.isNull() || image.width() > CurFile::kMaxSide || image.height() > CurFile::kMaxSide
        || !image.rect().contains(cursor->hotSpot))
        std::abort();
    // Touch every pixel, so that a picture built over too little memory shows up here.
    quint32 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.pixel(x, y);
    return int(sum & 0);
}
