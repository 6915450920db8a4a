#pragma once

#include "rtfsink.h"

#include <QByteArray>
#include <QList>

#include <vector>

class QIODevice;

namespace Rtf {

/**
 * Base of the writers that turn what the RTF reader reads straight into a stream of text, with no
 * document built in between. It keeps the structure the rich-text pane's document gets: which
 * paragraphs stand (an empty paragraph before a table is dropped, as the pane drops it), which
 * cells a table has (rows and columns grow as the pane's tables do) and where each paragraph's
 * layout comes from. How each piece is written is the writer's.
 *
 * Paragraphs of the document's own flow are written out as soon as they end; a table is written
 * out when it closes, as a later row may still add columns to the earlier ones.
 */
class FlowWriter : public Sink
{
public:
    /** Writes to the device, which must be open for writing. */
    explicit FlowWriter(QIODevice *device);

    /** False once writing to the device has failed. */
    bool ok() const { return m_ok; }

    void plainText(const QString &text) override;
    void startDocument() override;
    void endDocument() override;
    void defaultTabStop(double pixels) override;
    void text(const QString &text, const CharFormat *format) override;
    void picture(const QImage &image, const QSizeF &size, const CharFormat &format) override;
    void finishParagraph(const ParaFormat &format, const CharFormat &mark) override;
    void newParagraph() override;
    void openTable(int columns) override;
    void appendRow() override;
    void appendColumns(int count) override;
    void enterCell(int row, int column, bool atStart) override;
    void closeTable() override;
    void tableFormat(const TableFormat &format) override;
    void cellFormat(int row, int column, const CellFormat &format) override;

protected:
    /** A paragraph as written so far. */
    struct Paragraph
    {
        QByteArray content; // as the writer wrote its text and pictures
        bool empty = true; // holds no character at all
        ParaFormat format; // until finished, the layout it took over from the one before it
        CharFormat mark; // the paragraph mark's format once finished
        bool finished = false;
    };
    struct Cell
    {
        QList<QByteArray> items; // its paragraphs and tables, as written
        CellFormat format;
        bool formatted = false;
        bool lastIsParagraph = false;
    };
    struct Table
    {
        int columns = 1;
        std::vector<std::vector<Cell>> rows;
        TableFormat format;
        bool formatted = false;
    };

    /** Writes what comes before the document and after it. */
    virtual void writeStart(QByteArray &out) = 0;
    virtual void writeEnd(QByteArray &out) = 0;
    /** Writes text of one format into a paragraph; the text holds no paragraph break. */
    virtual void writeText(QByteArray &out, QStringView text, const CharFormat *format) = 0;
    virtual void writePicture(
        QByteArray &out, const QImage &image, const QSizeF &size, const CharFormat &format)
        = 0;
    /**
     * Writes a paragraph into the document's flow or, when nested, as an item of a table cell. A
     * collapsed paragraph is the empty one a table at the very start leaves, which takes no room.
     */
    virtual void writeParagraph(QByteArray &out, const Paragraph &paragraph, bool nested, bool collapsed) = 0;
    /** Writes a closed table into the document's flow or, when nested, as an item of a cell. */
    virtual void writeTable(QByteArray &out, const Table &table, bool nested) = 0;

private:
    struct OpenTable
    {
        Table table;
        int row = 0;
        int column = 0;
        ParaFormat formatBefore; // taken over by the paragraph after the table
    };

    Cell &currentCell();
    void appendText(QStringView text, const CharFormat *format);
    void emitParagraph(bool collapsed = false);
    void startParagraph(const ParaFormat &format);
    void flush(bool always);

    QIODevice *m_device;
    bool m_ok = true;
    QByteArray m_out;
    Paragraph m_paragraph;
    std::vector<OpenTable> m_tables;
    bool m_rootHasItems = false;
    bool m_rootLastIsParagraph = false;
};

} // namespace Rtf
