#pragma once

#include "rtfsink.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCursor>

#include <vector>

class QTextDocument;
class QTextTable;

namespace Rtf {

/**
 * Builds what the RTF reader reads into a QTextDocument, as the rich-text pane shows it: pictures
 * become the document's image resources "rtfpicture:1", "rtfpicture:2", ... and tables become
 * QTextTables. The document's previous content is replaced.
 */
class DocumentBuilder : public Sink
{
public:
    explicit DocumentBuilder(QTextDocument *document);

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

private:
    QTextCharFormat charFormat(const CharFormat &format);
    const QTextBlockFormat &blockFormat(const ParaFormat &format);

    QTextDocument *m_document;
    QTextCursor m_cursor;
    QTextCursor m_editBlock;
    std::vector<QTextTable *> m_tables;
    int m_pictures = 0;
    QHash<int, QTextCharFormat> m_charFormats;
    ParaFormat m_lastPara;
    QTextBlockFormat m_lastBlockFormat;
    bool m_hasLastPara = false;
};

} // namespace Rtf
