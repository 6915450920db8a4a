#pragma once

#include "rtfflowwriter.h"

namespace Rtf {

/**
 * Writes what the RTF reader reads as plain UTF-8 text: a paragraph per line, with its line
 * breaks as they are, a table row per line with its cells apart by tabs (a cell's paragraphs
 * run on with blanks) and "[picture]" where a picture stands.
 */
class TextWriter : public FlowWriter
{
public:
    using FlowWriter::FlowWriter;

protected:
    void writeStart(QByteArray &) override { }
    void writeEnd(QByteArray &) override { }
    void writeText(QByteArray &out, QStringView text, const CharFormat *format) override;
    void writePicture(
        QByteArray &out, const QImage &image, const QSizeF &size, const CharFormat &format) override;
    void writeParagraph(QByteArray &out, const Paragraph &paragraph, bool nested, bool collapsed) override;
    void writeTable(QByteArray &out, const Table &table, bool nested) override;
};

} // namespace Rtf
