#include "rtfflowwriter.h"

#include <QIODevice>

namespace Rtf {

namespace {

// Written output is handed to the device in pieces of about this size.
constexpr qsizetype kFlushBytes = 256 * 1024;

// Characters the pane's document takes as the end of a paragraph wherever they stand in text.
bool isParagraphBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

} // namespace

FlowWriter::FlowWriter(QIODevice *device)
    : m_device(device)
{
}

FlowWriter::Cell &FlowWriter::currentCell()
{
    OpenTable &open = m_tables.back();
    return open.table.rows[std::size_t(open.row)][std::size_t(open.column)];
}

void FlowWriter::flush(bool always)
{
    if (m_out.isEmpty() || (!always && m_out.size() < kFlushBytes))
        return;
    if (m_ok && m_device->write(m_out) != m_out.size())
        m_ok = false;
    m_out.clear();
}

void FlowWriter::plainText(const QString &text)
{
    // Plain text is one run of the default format; its line breaks end paragraphs.
    startDocument();
    appendText(text, nullptr);
    endDocument();
}

void FlowWriter::startDocument()
{
    m_out.reserve(kFlushBytes + 64 * 1024);
    writeStart(m_out);
}

void FlowWriter::endDocument()
{
    while (!m_tables.empty())
        closeTable();
    emitParagraph();
    writeEnd(m_out);
    flush(true);
}

void FlowWriter::defaultTabStop(double)
{
    // Tab stops are left to whatever shows the output.
}

void FlowWriter::text(const QString &text, const CharFormat *format)
{
    appendText(text, format);
}

void FlowWriter::appendText(QStringView text, const CharFormat *format)
{
    // A paragraph break inside text starts a new paragraph with the same layout, as inserting
    // the text into the pane's document does.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!isParagraphBreak(c))
            continue;
        if (i > start) {
            writeText(m_paragraph.content, text.mid(start, i - start), format);
            m_paragraph.empty = false;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        newParagraph();
        start = i + 1;
    }
    if (start < text.size()) {
        writeText(m_paragraph.content, text.mid(start), format);
        m_paragraph.empty = false;
    }
}

void FlowWriter::picture(const QImage &image, const QSizeF &size, const CharFormat &format)
{
    writePicture(m_paragraph.content, image, size, format);
    m_paragraph.empty = false;
}

void FlowWriter::finishParagraph(const ParaFormat &format, const CharFormat &mark)
{
    m_paragraph.format = format;
    m_paragraph.mark = mark;
    m_paragraph.finished = true;
}

void FlowWriter::startParagraph(const ParaFormat &format)
{
    m_paragraph.content.clear();
    m_paragraph.empty = true;
    m_paragraph.format = format;
    m_paragraph.mark = CharFormat {};
    m_paragraph.finished = false;
}

void FlowWriter::newParagraph()
{
    emitParagraph();
    startParagraph(m_paragraph.format);
}

void FlowWriter::emitParagraph(bool collapsed)
{
    if (m_tables.empty()) {
        writeParagraph(m_out, m_paragraph, false, collapsed);
        m_rootHasItems = true;
        m_rootLastIsParagraph = true;
        flush(false);
        return;
    }
    Cell &cell = currentCell();
    QByteArray item;
    writeParagraph(item, m_paragraph, true, collapsed);
    cell.items.append(item);
    cell.lastIsParagraph = true;
}

void FlowWriter::openTable(int columns)
{
    const bool inRoot = m_tables.empty();
    const bool afterParagraph = inRoot ? m_rootLastIsParagraph : currentCell().lastIsParagraph;
    // An empty paragraph right after another paragraph is only that paragraph's mark: the table
    // follows the paragraph directly. At the very start of the document it stays, taking no room.
    if (!m_paragraph.empty)
        emitParagraph();
    else if (!afterParagraph)
        emitParagraph(inRoot && !m_rootHasItems);
    if (inRoot) {
        m_rootHasItems = true;
        m_rootLastIsParagraph = false;
    } else {
        currentCell().lastIsParagraph = false;
    }
    OpenTable open;
    open.table.columns = std::max(1, columns);
    open.table.rows.emplace_back(std::size_t(open.table.columns));
    open.formatBefore = m_paragraph.format;
    m_tables.push_back(std::move(open));
    startParagraph(ParaFormat {});
}

void FlowWriter::appendRow()
{
    if (m_tables.empty())
        return;
    Table &table = m_tables.back().table;
    table.rows.emplace_back(std::size_t(table.columns));
}

void FlowWriter::appendColumns(int count)
{
    if (m_tables.empty())
        return;
    Table &table = m_tables.back().table;
    table.columns += count;
    for (std::vector<Cell> &row : table.rows)
        row.resize(std::size_t(table.columns));
}

void FlowWriter::enterCell(int row, int column, bool)
{
    if (m_tables.empty())
        return;
    OpenTable &open = m_tables.back();
    if (row < 0 || row >= int(open.table.rows.size()) || column < 0 || column >= open.table.columns)
        return;
    if (row == open.row && column == open.column)
        return; // already there: the text goes on in the current paragraph
    emitParagraph();
    open.row = row;
    open.column = column;
    startParagraph(ParaFormat {});
}

void FlowWriter::closeTable()
{
    if (m_tables.empty())
        return;
    emitParagraph();
    OpenTable open = std::move(m_tables.back());
    m_tables.pop_back();
    if (m_tables.empty()) {
        writeTable(m_out, open.table, false);
        flush(false);
    } else {
        Cell &cell = currentCell();
        QByteArray item;
        writeTable(item, open.table, true);
        cell.items.append(item);
        cell.lastIsParagraph = false;
    }
    startParagraph(open.formatBefore);
}

void FlowWriter::tableFormat(const TableFormat &format)
{
    if (m_tables.empty())
        return;
    Table &table = m_tables.back().table;
    table.format = format;
    table.formatted = true;
}

void FlowWriter::cellFormat(int row, int column, const CellFormat &format)
{
    if (m_tables.empty())
        return;
    Table &table = m_tables.back().table;
    if (row < 0 || row >= int(table.rows.size()) || column < 0 || column >= table.columns)
        return;
    Cell &cell = table.rows[std::size_t(row)][std::size_t(column)];
    cell.format.padding = format.padding;
    const auto merge = [](CellBorder &border, const CellBorder &given) {
        if (given.shown)
            border = given;
    };
    merge(cell.format.top, format.top);
    merge(cell.format.left, format.left);
    merge(cell.format.bottom, format.bottom);
    merge(cell.format.right, format.right);
    if (format.background.isValid())
        cell.format.background = format.background;
    cell.formatted = true;
}

} // namespace Rtf
