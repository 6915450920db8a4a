#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <QTextLength>
#include <QTextOption>

/**
 * What the RTF reader reports as it reads a document, in reading order, and the formats it reports
 * it with. The reader resolves everything a file gives indirectly (font and colour tables, code
 * pages, the nesting of tables, the limits), so a sink only has to put down what it is told.
 */
namespace Rtf {

/** How a run of text looks: the file's character formatting, its tables already looked up. */
struct CharFormat
{
    /** Formats of one reading with the same key are the same; a sink may cache by it. */
    int key = 0;
    /** The installed family that stands in for the file's face; empty: the default font. */
    QString family;
    QFont::StyleHint styleHint = QFont::AnyStyle;
    /** Pixels at 96 per inch; 0: the size of the default font. */
    int pixelSize = 0;
    /** Invalid: automatic. */
    QColor foreground;
    QColor background;
    QTextCharFormat::VerticalAlignment verticalAlignment = QTextCharFormat::AlignNormal;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool allCaps = false;
    bool smallCaps = false;
};

/** How a paragraph is laid out; lengths in twips, as the file gives them. */
struct ParaFormat
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    /** Positive: at least this much; negative: exactly this much; 0: as the font needs. */
    int lineSpacing = 0;
    /** The spacing is a multiple of single spacing, 240 standing for one line. */
    bool lineMultiple = false;
    /** Positions in pixels from the page margin, in the order the file gives them. */
    QList<QTextOption::Tab> tabs;

    bool operator==(const ParaFormat &) const = default;
};

/** A line along one edge of a table cell. */
struct CellBorder
{
    bool shown = false;
    double width = 1; // pixels
    QColor colour; // always valid when shown

    bool operator==(const CellBorder &) const = default;
};

/** How one cell of a table row looks. */
struct CellFormat
{
    double padding = 0; // pixels, left and right
    CellBorder top, left, bottom, right;
    QColor background; // invalid: none

    bool operator==(const CellFormat &) const = default;
};

/** How a table stands: its columns' widths and where it sits across the page. */
struct TableFormat
{
    QList<QTextLength> columnWidths;
    Qt::Alignment alignment = Qt::AlignLeft;
    double leftMargin = 0; // pixels
};

/**
 * Receives a document as the reader reads it. Text always goes into the current paragraph,
 * which is either in the document's own flow or in the current cell of the innermost open table.
 */
class Sink
{
public:
    virtual ~Sink() = default;

    /** The data was not RTF: this text, lines apart by line breaks, is all the document holds. */
    virtual void plainText(const QString &text) = 0;
    /** An RTF document starts, with one empty paragraph. */
    virtual void startDocument() = 0;
    /** The RTF document has ended; the current paragraph was finished before. */
    virtual void endDocument() = 0;

    /** The distance between default tab stops. */
    virtual void defaultTabStop(double pixels) = 0;
    /**
     * Text at the end of the current paragraph. Without a format it continues the format of the
     * text before it (the reader's run limit was reached).
     */
    virtual void text(const QString &text, const CharFormat *format) = 0;
    /** A picture at the end of the current paragraph, shown at the given size in pixels. */
    virtual void picture(const QImage &image, const QSizeF &size, const CharFormat &format) = 0;
    /**
     * The current paragraph takes this layout; the mark's format gives an empty paragraph its
     * height. More text may still come into it when a limit was reached.
     */
    virtual void finishParagraph(const ParaFormat &format, const CharFormat &mark) = 0;
    /** A new, empty paragraph follows the current one and becomes current. */
    virtual void newParagraph() = 0;

    /**
     * A table of one row opens at the current paragraph and its first cell becomes current.
     * When the current paragraph is empty it does not stay as a paragraph of its own, unless
     * nothing comes before it in the document or cell.
     */
    virtual void openTable(int columns) = 0;
    /** The innermost open table gets one more row, at its end. */
    virtual void appendRow() = 0;
    /** The innermost open table gets more columns, at its right. */
    virtual void appendColumns(int count) = 0;
    /** A cell of the innermost open table becomes current: its start or the end of its text. */
    virtual void enterCell(int row, int column, bool atStart) = 0;
    /** The innermost open table ends; the paragraph after it becomes current. */
    virtual void closeTable() = 0;
    /** The innermost open table's layout. */
    virtual void tableFormat(const TableFormat &format) = 0;
    /** The look of a cell of the innermost open table; borders not shown keep what they had. */
    virtual void cellFormat(int row, int column, const CellFormat &format) = 0;
};

} // namespace Rtf
