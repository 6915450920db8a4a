// libFuzzer entry point for the RTF reader: every input must be read without a crash, a hang or
// a memory fault, whatever it holds.

#include "rtfhtmlwriter.h"
#include "rtfreader.h"
#include "rtftextwriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

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
    QTextDocument document;
    Rtf::read(bytes, &document);
    // Walk what was built, so a broken document structure shows up here too.
    if (document.toPlainText().size() > qsizetype(size) * 2 + 16)
        std::abort();
    // The streaming writers keep a structure of their own; it must hold up as well.
    QBuffer html;
    html.open(QIODevice::WriteOnly);
    Rtf::HtmlWriter htmlWriter(&html);
    Rtf::read(bytes, htmlWriter);
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    Rtf::TextWriter textWriter(&text);
    Rtf::read(bytes, textWriter);
    if (!htmlWriter.ok() || !textWriter.ok())
        std::abort();
    return 0;
}
