// The RTF reader's tables: row definitions, with their cells and borders, and the tables, rows
// and cells that text goes into, nested ones too.

#include "rtfreaderimpl.h"

namespace RtfReading {

void Reader::enterNestedRowProperties(Param, int)
{
    State &s = state();
    if (s.destination == Destination::Text) {
        flushText();
        s.destination = Destination::TableProps;
    } else {
        s.destination = Destination::Skip;
    }
}

void Reader::endCellWord(Param, int nested)
{
    endCell(nested ? std::max(2, state().para.tableLevel()) : 1);
}

void Reader::endRowWord(Param, int nested)
{
    endRow(nested ? std::max(2, state().para.tableLevel()) : 1);
}

void Reader::beginRowDefinition(Param, int)
{
    m_rowDef = RowDefinition {};
    m_rowDef.level
        = state().destination == Destination::TableProps ? std::max(2, state().para.tableLevel()) : 1;
    m_border = nullptr;
}

void Reader::defineCell(Param param, int)
{
    RowDefinition &def = m_rowDef;
    if (def.cells.size() < std::size_t(kMaxColumns)) {
        def.pending.right = clampInt(param.value, -kMaxTwips, kMaxTwips);
        def.cells.push_back(def.pending);
    }
    def.pending = CellDefinition {};
    m_border = nullptr;
}

void Reader::setCellShading(Param param, int)
{
    m_rowDef.pending.shading = clampInt(param.value, 0, kMaxColours);
}

void Reader::setRowGap(Param param, int)
{
    m_rowDef.gap = clampInt(param.value, 0, 1440);
}

void Reader::setRowPadding(Param param, int)
{
    m_rowDef.padding = clampInt(param.value, 0, 1440);
}

void Reader::setRowLeft(Param param, int)
{
    m_rowDef.left_ = clampInt(param.value, -kMaxTwips, kMaxTwips);
}

void Reader::setRowAlignment(Param, int alignment)
{
    m_rowDef.alignment = Qt::Alignment(alignment);
}

void Reader::selectCellBorder(Param, int edge)
{
    CellDefinition &cell = m_rowDef.pending;
    m_border = edge == 't' ? &cell.top : edge == 'l' ? &cell.left : edge == 'b' ? &cell.bottom : &cell.right_;
}

void Reader::selectRowBorder(Param, int edge)
{
    RowDefinition &def = m_rowDef;
    m_border = edge == 't' ? &def.top
        : edge == 'l'      ? &def.left
        : edge == 'b'      ? &def.bottom
        : edge == 'r'      ? &def.right
                           : &def.inner;
}

void Reader::unselectBorder(Param, int)
{
    m_border = nullptr;
}

void Reader::showBorder(Param, int shown)
{
    if (m_border)
        m_border->shown = shown != 0;
}

void Reader::setBorderWidth(Param param, int)
{
    if (m_border)
        m_border->width = clampInt(param.value, 1, 300);
}

void Reader::setBorderColour(Param param, int)
{
    if (m_border)
        m_border->colour = clampInt(param.value, 0, kMaxColours);
}

void Reader::syncTables(int level)
{
    level = std::clamp(level, 0, kMaxTableLevels);
    while (int(m_tables.size()) > level)
        closeTable();
    if (!m_tables.empty() && m_tables.back().rowEnded)
        startNextRow(m_tables.back());
    else if (!m_tables.empty() && m_tables.back().cellEnded)
        startNextCell(m_tables.back());
    while (int(m_tables.size()) < level) {
        if (m_cells >= kMaxCells) {
            m_complete = false;
            return;
        }
        openTable();
    }
}

void Reader::openTable()
{
    const bool useDefinition = m_rowDef.level == int(m_tables.size()) + 1;
    const int columns = useDefinition ? std::max<int>(1, int(m_rowDef.cells.size())) : 1;
    m_sink.openTable(columns);
    m_cells += columns;
    m_tables.push_back(OpenTable { 1, columns, 0, 0, false, false, false });
    if (useDefinition)
        applyRowDefinition(m_tables.back());
}

void Reader::closeTable()
{
    m_tables.pop_back();
    m_sink.closeTable();
}

void Reader::startNextRow(OpenTable &open)
{
    open.rowEnded = false;
    open.cellEnded = false;
    if (open.row + 1 < open.rows) {
        ++open.row;
    } else if (open.rows < kMaxRowsPerTable && m_cells + open.columns <= kMaxCells) {
        m_sink.appendRow();
        ++open.rows;
        m_cells += open.columns;
        ++open.row;
    } else {
        m_complete = false; // further rows share the last one
    }
    open.column = 0;
    m_sink.enterCell(open.row, 0, false);
}

void Reader::startNextCell(OpenTable &open)
{
    open.cellEnded = false;
    if (open.column + 1 >= open.columns) {
        if (open.columns < kMaxColumns && m_cells + open.rows <= kMaxCells) {
            m_sink.appendColumns(1);
            ++open.columns;
            m_cells += open.rows;
        } else {
            m_complete = false; // further cells share the last one
            m_sink.enterCell(open.row, open.column, false);
            return;
        }
    }
    ++open.column;
    m_sink.enterCell(open.row, open.column, true);
}

void Reader::endCell(int level)
{
    if (state().destination != Destination::Text)
        return;
    flushText();
    syncTables(level);
    if (int(m_tables.size()) != level)
        return;
    finishBlock(state().para);
    m_tables.back().cellEnded = true;
}

void Reader::endRow(int level)
{
    flushText();
    while (int(m_tables.size()) > level)
        closeTable();
    if (int(m_tables.size()) != level)
        return;
    OpenTable &open = m_tables.back();
    if (m_rowDef.level == level)
        applyRowDefinition(open);
    open.rowEnded = true;
}

void Reader::applyRowDefinition(OpenTable &open)
{
    const RowDefinition &def = m_rowDef;
    const int defined = int(def.cells.size());
    if (defined > open.columns && defined <= kMaxColumns
        && m_cells + open.rows * (defined - open.columns) <= kMaxCells) {
        m_cells += open.rows * (defined - open.columns);
        m_sink.appendColumns(defined - open.columns);
        open.columns = defined;
    }
    if (!open.widthsSet && defined > 0) {
        open.widthsSet = true;
        Rtf::TableFormat format;
        int left = def.left_;
        for (int i = 0; i < open.columns; ++i) {
            if (i < defined) {
                const int right = def.cells[std::size_t(i)].right;
                format.columnWidths.append(
                    QTextLength(QTextLength::FixedLength, Rtf::twipsToPixels(std::max(0, right - left))));
                left = right;
            } else {
                format.columnWidths.append(QTextLength());
            }
        }
        format.alignment = def.alignment;
        // The row's left edge is the cells' left border; their text starts a gap further in.
        if (def.alignment == Qt::AlignLeft)
            format.leftMargin = Rtf::twipsToPixels(std::max(0, def.left_));
        m_sink.tableFormat(format);
    }
    const auto pen = [this](const Border &border) {
        Rtf::CellBorder line;
        if (!border.shown)
            return line;
        line.shown = true;
        line.colour
            = border.colour > 0 && border.colour < m_colours.size() && m_colours[border.colour].isValid()
            ? m_colours[border.colour]
            : QColor(Qt::black);
        line.width = std::max(1.0, Rtf::twipsToPixels(border.width));
        return line;
    };
    Rtf::CellFormat format;
    format.padding = Rtf::twipsToPixels(def.padding >= 0 ? def.padding : def.gap);
    for (int i = 0; i < defined && i < open.columns; ++i) {
        const CellDefinition &cellDef = def.cells[std::size_t(i)];
        format.top = pen(cellDef.top.shown ? cellDef.top : def.top);
        format.bottom = pen(cellDef.bottom.shown ? cellDef.bottom : def.bottom);
        format.left = pen(cellDef.left.shown ? cellDef.left : (i == 0 ? def.left : def.inner));
        format.right
            = pen(cellDef.right_.shown ? cellDef.right_ : (i + 1 == defined ? def.right : def.inner));
        const int shading = cellDef.shading;
        format.background = shading > 0 && shading < m_colours.size() && m_colours[shading].isValid()
            ? m_colours[shading]
            : QColor();
        m_sink.cellFormat(open.row, i, format);
    }
}

} // namespace RtfReading
