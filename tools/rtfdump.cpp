// rtfdump: reads an RTF file with the program's own reader and writes what the reading windows
// would show, as HTML or as plain text, so that an author can check a text before shipping it.
// The output is written as the file is read, with no document built in between.

#include "rtfhtmlwriter.h"
#include "rtfreader.h"
#include "rtftextwriter.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

void writeError(const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    // Only rtfdump's own messages reach standard error; the toolkit's notices would read as
    // errors in the file.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("--html") && args[1] != QLatin1String("--text"))) {
        writeError(QStringLiteral("usage: rtfdump --html FILE | --text FILE"));
        return 2;
    }
    QFile file(args[2]);
    if (!file.open(QIODevice::ReadOnly)) {
        writeError(QStringLiteral("rtfdump: cannot open %1: %2").arg(args[2], file.errorString()));
        return 1;
    }
    // A mapped file is read where it lies; what cannot be mapped (a pipe) is read in whole.
    const qint64 size = file.size();
    const uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    const QByteArray data = mapped
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(size))
        : file.readAll();
    if (!mapped && file.error() != QFileDevice::NoError) {
        writeError(QStringLiteral("rtfdump: cannot read %1: %2").arg(args[2], file.errorString()));
        return 1;
    }

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        writeError(QStringLiteral("rtfdump: cannot write the output"));
        return 1;
    }
    std::unique_ptr<Rtf::FlowWriter> writer;
    if (args[1] == QLatin1String("--html"))
        writer = std::make_unique<Rtf::HtmlWriter>(&out);
    else
        writer = std::make_unique<Rtf::TextWriter>(&out);
    const Rtf::ReadResult result = Rtf::read(data, *writer);
    if (!result.isRtf)
        writeError(QStringLiteral("rtfdump: %1 is not RTF; shown as plain text").arg(args[2]));
    else if (!result.complete)
        writeError(
            QStringLiteral("rtfdump: %1 is damaged or too large; shown as far as it reads").arg(args[2]));
    out.close();
    return writer->ok() && std::fflush(stdout) == 0 ? 0 : 1;
}
