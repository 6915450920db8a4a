#pragma once

#include "rtfflowwriter.h"

#include <QHash>

#include <utility>
#include <vector>

namespace Rtf {

/**
 * Writes what the RTF reader reads as one HTML page, as the rich-text pane would show it: the
 * text with its fonts, sizes, styles and colours, paragraphs with their alignment, indents and
 * spacing, tables with their column widths, borders and shading, and pictures as PNG data
 * written into the page. Hidden text never reaches it.
 */
class HtmlWriter : public FlowWriter
{
public:
    using FlowWriter::FlowWriter;

protected:
    void writeStart(QByteArray &out) override;
    void writeEnd(QByteArray &out) override;
    void writeText(QByteArray &out, QStringView text, const CharFormat *format) override;
    void writePicture(
        QByteArray &out, const QImage &image, const QSizeF &size, const CharFormat &format) override;
    void writeParagraph(QByteArray &out, const Paragraph &paragraph, bool nested, bool collapsed) override;
    void writeTable(QByteArray &out, const Table &table, bool nested) override;

private:
    struct CharStyle
    {
        QByteArray declarations; // CSS, as in a style attribute
        QByteArray span; // the tag that opens a span of the format; empty for the default one
    };

    const CharStyle &charStyle(const CharFormat &format);
    const QByteArray &paragraphStyle(const ParaFormat &format);
    QByteArray cellStyle(const CellFormat &format);

    QHash<int, CharStyle> m_charStyles;
    QByteArray m_lastSpanStyle;
    ParaFormat m_lastParagraph;
    QByteArray m_lastParagraphStyle;
    QByteArray m_lastParagraphAlign;
    bool m_hasLastParagraph = false;
    std::vector<std::pair<CellFormat, QByteArray>> m_cellStyles; // attributes, with a leading blank
};

} // namespace Rtf
