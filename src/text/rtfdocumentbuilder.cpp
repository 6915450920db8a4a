#include "rtfdocumentbuilder.h"

#include "rtfreader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace Rtf {

DocumentBuilder::DocumentBuilder(QTextDocument *document)
    : m_document(document)
{
}

void DocumentBuilder::plainText(const QString &text)
{
    m_document->setPlainText(text);
}

void DocumentBuilder::startDocument()
{
    m_document->clear();
    m_document->setUndoRedoEnabled(false);
    m_cursor = QTextCursor(m_document);
    // One edit block around the whole read: the document then neither lays out nor tells its
    // views about each insertion, which would make long paragraphs quadratic.
    m_editBlock = QTextCursor(m_document);
    m_editBlock.beginEditBlock();
}

void DocumentBuilder::endDocument()
{
    m_editBlock.endEditBlock();
}

void DocumentBuilder::defaultTabStop(double pixels)
{
    QTextOption option = m_document->defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document->setDefaultTextOption(option);
}

QTextCharFormat DocumentBuilder::charFormat(const CharFormat &chars)
{
    const auto found = m_charFormats.constFind(chars.key);
    if (found != m_charFormats.constEnd())
        return *found;
    QTextCharFormat format;
    if (!chars.family.isEmpty()) {
        format.setFontFamilies(QStringList { chars.family });
        if (chars.styleHint != QFont::AnyStyle)
            format.setFontStyleHint(chars.styleHint);
    }
    if (chars.pixelSize > 0)
        format.setProperty(QTextFormat::FontPixelSize, chars.pixelSize);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (chars.allCaps)
        format.setFontCapitalization(QFont::AllUppercase);
    if (chars.verticalAlignment != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(chars.verticalAlignment);
    if (chars.foreground.isValid())
        format.setForeground(chars.foreground);
    if (chars.background.isValid())
        format.setBackground(chars.background);
    // The reader keys a bounded number of formats at a time; keep no more than a few of them.
    if (m_charFormats.size() >= 256)
        m_charFormats.clear();
    m_charFormats.insert(chars.key, format);
    return format;
}

const QTextBlockFormat &DocumentBuilder::blockFormat(const ParaFormat &para)
{
    // Paragraphs after one another mostly share their layout.
    if (m_hasLastPara && para == m_lastPara)
        return m_lastBlockFormat;
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(twipsToPixels(std::max(0, para.leftIndent)));
    format.setRightMargin(twipsToPixels(std::max(0, para.rightIndent)));
    format.setTextIndent(twipsToPixels(para.firstIndent));
    format.setTopMargin(twipsToPixels(para.spaceBefore));
    format.setBottomMargin(twipsToPixels(para.spaceAfter));
    if (para.lineSpacing != 0) {
        if (para.lineMultiple && para.lineSpacing > 0)
            format.setLineHeight(para.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (para.lineSpacing > 0)
            format.setLineHeight(twipsToPixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(twipsToPixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    // Word processors measure tab stops from the page margin; the layout measures them from where
    // the first line starts. A hanging indent also sets a stop where the following lines start,
    // so a bullet and its tab line the first line up with the rest.
    const double lineStart = twipsToPixels(std::max(0, para.leftIndent) + para.firstIndent);
    QList<QTextOption::Tab> tabs;
    for (QTextOption::Tab tab : para.tabs) {
        tab.position -= lineStart;
        if (tab.position > 0)
            tabs.append(tab);
    }
    if (para.firstIndent < 0 && para.leftIndent > 0)
        tabs.append(QTextOption::Tab(twipsToPixels(-para.firstIndent), QTextOption::LeftTab));
    if (!tabs.isEmpty()) {
        std::sort(tabs.begin(), tabs.end(),
            [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
        format.setTabPositions(tabs);
    }
    m_lastPara = para;
    m_lastBlockFormat = format;
    m_hasLastPara = true;
    return m_lastBlockFormat;
}

void DocumentBuilder::text(const QString &text, const CharFormat *format)
{
    if (format)
        m_cursor.insertText(text, charFormat(*format));
    else
        m_cursor.insertText(text);
}

void DocumentBuilder::picture(const QImage &image, const QSizeF &size, const CharFormat &chars)
{
    ++m_pictures;
    const QString name = QStringLiteral("rtfpicture:%1").arg(m_pictures);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(charFormat(chars));
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
}

void DocumentBuilder::finishParagraph(const ParaFormat &format, const CharFormat &mark)
{
    m_cursor.setBlockFormat(blockFormat(format));
    // An empty paragraph is as tall as its paragraph mark's font.
    if (m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(charFormat(mark));
}

void DocumentBuilder::newParagraph()
{
    m_cursor.insertBlock();
}

void DocumentBuilder::openTable(int columns)
{
    // The paragraph mark before a table is the end of the paragraph before it, not a paragraph of
    // its own; drop the empty block it left so the table follows that paragraph directly.
    if (m_cursor.block().length() <= 1 && m_cursor.atBlockStart()) {
        const QTextBlock previous = m_cursor.block().previous();
        if (previous.isValid() && previous.length() > 0) {
            const QTextCursor before(previous);
            if (before.currentFrame() == m_cursor.currentFrame()
                && before.currentTable() == m_cursor.currentTable())
                m_cursor.deletePreviousChar();
        }
    }
    // A document cannot start with a table: the layout keeps an empty paragraph before it. Make
    // that paragraph take no room, so the table stands at the top as the file has it.
    if (m_cursor.block().length() <= 1 && !m_cursor.block().previous().isValid()) {
        QTextBlockFormat none = m_cursor.blockFormat();
        none.setLineHeight(0, QTextBlockFormat::FixedHeight);
        m_cursor.setBlockFormat(none);
    }
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setBorderCollapse(true);
    QTextTable *table = m_cursor.insertTable(1, columns, format);
    m_tables.push_back(table);
    m_cursor = table->cellAt(0, 0).firstCursorPosition();
}

void DocumentBuilder::appendRow()
{
    m_tables.back()->appendRows(1);
}

void DocumentBuilder::appendColumns(int count)
{
    m_tables.back()->appendColumns(count);
}

void DocumentBuilder::enterCell(int row, int column, bool atStart)
{
    const QTextTableCell cell = m_tables.back()->cellAt(row, column);
    m_cursor = atStart ? cell.firstCursorPosition() : cell.lastCursorPosition();
}

void DocumentBuilder::closeTable()
{
    QTextTable *table = m_tables.back();
    m_tables.pop_back();
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
}

void DocumentBuilder::tableFormat(const TableFormat &layout)
{
    QTextTable *table = m_tables.back();
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints(layout.columnWidths);
    format.setAlignment(layout.alignment);
    if (layout.alignment == Qt::AlignLeft)
        format.setLeftMargin(layout.leftMargin);
    table->setFormat(format);
}

void DocumentBuilder::cellFormat(int row, int column, const CellFormat &look)
{
    QTextTableCell cell = m_tables.back()->cellAt(row, column);
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setLeftPadding(look.padding);
    format.setRightPadding(look.padding);
    format.setTopPadding(0);
    format.setBottomPadding(0);
    const auto pen = [&format](const CellBorder &border, void (QTextTableCellFormat::*setWidth)(qreal),
                         void (QTextTableCellFormat::*setStyle)(QTextFrameFormat::BorderStyle),
                         void (QTextTableCellFormat::*setBrush)(const QBrush &)) {
        if (!border.shown)
            return;
        (format.*setWidth)(border.width);
        (format.*setStyle)(QTextFrameFormat::BorderStyle_Solid);
        (format.*setBrush)(border.colour);
    };
    pen(look.top, &QTextTableCellFormat::setTopBorder, &QTextTableCellFormat::setTopBorderStyle,
        &QTextTableCellFormat::setTopBorderBrush);
    pen(look.bottom, &QTextTableCellFormat::setBottomBorder, &QTextTableCellFormat::setBottomBorderStyle,
        &QTextTableCellFormat::setBottomBorderBrush);
    pen(look.left, &QTextTableCellFormat::setLeftBorder, &QTextTableCellFormat::setLeftBorderStyle,
        &QTextTableCellFormat::setLeftBorderBrush);
    pen(look.right, &QTextTableCellFormat::setRightBorder, &QTextTableCellFormat::setRightBorderStyle,
        &QTextTableCellFormat::setRightBorderBrush);
    if (look.background.isValid())
        format.setBackground(look.background);
    cell.setFormat(format);
}

} // namespace Rtf
