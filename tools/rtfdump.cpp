// rtfdump: reads an RTF file with the program's own reader and writes what the reading windows
// would show, as HTML or as plain text, so that an author can check a text before shipping it.

#include "rtfreader.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

void writeOut(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), stdout);
}

void writeError(const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

QString blockText(const QTextBlock &block)
{
    QString text = block.text();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ObjectReplacementCharacter, QStringLiteral("[picture]"));
    return text;
}

void frameText(QTextFrame *frame, QStringList &lines);

// A table row per line, its cells apart by tabs; a cell's paragraphs run on with blanks.
void tableText(QTextTable *table, QStringList &lines)
{
    for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            QStringList cellLines;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (QTextFrame *child = it.currentFrame())
                    frameText(child, cellLines);
                else
                    cellLines << blockText(it.currentBlock());
            }
            cells << cellLines.join(QLatin1Char(' ')).trimmed();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
}

void frameText(QTextFrame *frame, QStringList &lines)
{
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        tableText(table, lines);
        return;
    }
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame())
            frameText(child, lines);
        else
            lines << blockText(it.currentBlock());
    }
}

// Pictures are written into the page itself, so the HTML shows them without any other file.
QString htmlWithPictures(const QTextDocument &document)
{
    QString html = document.toHtml();
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("rtfpicture:%1").arg(n);
        const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
        if (!resource.isValid())
            break;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        resource.value<QImage>().save(&buffer, "PNG");
        html.replace(QStringLiteral("\"%1\"").arg(name),
                     QStringLiteral("\"data:image/png;base64,%1\"")
                         .arg(QString::fromLatin1(png.toBase64())));
    }
    return html;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only rtfdump's own messages reach standard error; the toolkit's notices would read as
    // errors in the file.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        writeError(QStringLiteral("rtfdump: cannot read %1: %2").arg(args[2], file.errorString()));
        return 1;
    }

    QTextDocument document;
    const Rtf::ReadResult result = Rtf::read(data, &document);
    if (!result.isRtf)
        writeError(QStringLiteral("rtfdump: %1 is not RTF; shown as plain text").arg(args[2]));
    else if (!result.complete)
        writeError(QStringLiteral("rtfdump: %1 is damaged or too large; shown as far as it reads")
                       .arg(args[2]));

    if (args[1] == QLatin1String("--html")) {
        writeOut(htmlWithPictures(document));
    } else {
        QStringList lines;
        frameText(document.rootFrame(), lines);
        writeOut(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
