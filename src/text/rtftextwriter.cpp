#include "rtftextwriter.h"

#include <QString>

namespace Rtf {

namespace {

const QByteArray kPicture = QByteArrayLiteral("[picture]");

} // namespace

void TextWriter::writeText(QByteArray &out, QStringView text, const CharFormat *)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != QChar::LineSeparator && c != QChar::ObjectReplacementCharacter)
            continue;
        out += text.mid(start, i - start).toUtf8();
        if (c == QChar::LineSeparator)
            out += '\n';
        else
            out += kPicture;
        start = i + 1;
    }
    out += text.mid(start).toUtf8();
}

void TextWriter::writePicture(QByteArray &out, const QImage &, const QSizeF &, const CharFormat &)
{
    out += kPicture;
}

void TextWriter::writeParagraph(QByteArray &out, const Paragraph &paragraph, bool nested, bool)
{
    out += paragraph.content;
    if (!nested)
        out += '\n';
}

void TextWriter::writeTable(QByteArray &out, const Table &table, bool nested)
{
    bool firstRow = true;
    for (const std::vector<Cell> &row : table.rows) {
        if (nested && !firstRow)
            out += ' ';
        firstRow = false;
        bool firstCell = true;
        for (const Cell &cell : row) {
            if (!firstCell)
                out += '\t';
            firstCell = false;
            QByteArray text;
            for (qsizetype i = 0; i < cell.items.size(); ++i) {
                if (i > 0)
                    text += ' ';
                text += cell.items[i];
            }
            // Trimmed as text, so that every kind of blank at either end goes.
            out += QString::fromUtf8(text).trimmed().toUtf8();
        }
        if (!nested)
            out += '\n';
    }
}

} // namespace Rtf
