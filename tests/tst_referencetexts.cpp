// The reference pages' texts as the reading windows show them: each file read whole with the
// program's own reader, both languages alike in shape and figures, each text inside its pane, and
// each passage that a figure button shows beside that button once the pane has laid it out.

#include "fonts.h"
#include "richtextpane.h"
#include "rtfreader.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <memory>

namespace {

/** One rich-text pane of a reading window: its two files, where it stands, and how it scrolls. */
struct PaneRow
{
    const char *castilian;
    const char *valencian;
    QRect geometry; // in the scrolled content of its window
    bool scrollBar; // the pane shows its own vertical scroll bar (the tube-part viewer)
    bool scrolls; // the text is longer than the pane (only where a scroll bar lets it be read)
};

// The technical data, the nine tube parts (viewer sizes of each part), the stages and the
// dual-channel page.
const PaneRow kPanes[] = {
    { "modof.rtf", "modef.rtf", { 16, 48, 321, 145 }, false, false },
    { "ampvcast.rtf", "ampvval.rtf", { 16, 240, 329, 297 }, false, false },
    { "basetie.rtf", "basetem.rtf", { 16, 576, 329, 313 }, false, false },
    { "amphcast.rtf", "amphval.rtf", { 16, 928, 329, 113 }, false, false },
    { "testc.rtf", "testv.rtf", { 16, 1080, 329, 201 }, false, false },
    { "variosc.rtf", "variosv.rtf", { 16, 1320, 329, 497 }, false, false },
    { "fil.rtf", "filv.rtf", { 8, 0, 273, 57 }, true, false },
    { "catodo.rtf", "catodov.rtf", { 8, 0, 337, 65 }, true, false },
    { "rejilla.rtf", "rejillav.rtf", { 8, 0, 321, 153 }, true, false },
    { "primera.rtf", "primerav.rtf", { 8, 0, 385, 153 }, true, false },
    { "eenfoque.rtf", "enfoquev.rtf", { 8, 0, 385, 89 }, true, false },
    { "sanodo.rtf", "sanodov.rtf", { 8, 0, 417, 65 }, true, false },
    { "deflexion.rtf", "deflexv.rtf", { 8, 0, 425, 145 }, true, false },
    { "afinal.rtf", "afinalv.rtf", { 8, 0, 457, 97 }, true, false },
    { "pantalla.rtf", "pantv.rtf", { 8, 0, 417, 121 }, true, false },
    { "evertc.rtf", "evertv.rtf", { 8, 8, 241, 1201 }, false, false },
    { "ehorc1.rtf", "ehorv1.rtf", { 8, 16, 249, 505 }, false, false },
    { "ehorizc2.rtf", "ehorizv2.rtf", { 8, 560, 249, 609 }, false, false },
    { "ehoriz3c.rtf", "ehoriz3v.rtf", { 8, 1224, 249, 481 }, false, false },
    { "dcanalc.rtf", "dcanalv.rtf", { 0, 16, 273, 761 }, false, false },
};

/** A figure button over a pane, and the words that open the passage about its figure. */
struct FigureRow
{
    const char *pane; // the pane's Castilian file
    const char *button;
    QRect geometry; // in the same content as the pane
    const char16_t *castilian;
    const char16_t *valencian;
};

const FigureRow kFigures[] = {
    { "evertc.rtf", "BitBtn1", { 184, 176, 25, 25 }, u"Selector y atenuador", u"Selector i atenuador" },
    { "evertc.rtf", "BitBtn2", { 184, 376, 25, 25 }, u"Mandos de entrada", u"Comandaments d'entrada" },
    { "evertc.rtf", "BitBtn3", { 176, 696, 25, 25 }, u"Posición e inversión", u"Posició i inversió" },
    { "evertc.rtf", "BitBtn4", { 176, 1040, 25, 25 }, u"Modos de canal", u"Modes de canal" },
    { "ehorizc2.rtf", "BitBtn1", { 208, 552, 25, 25 }, u"Organización", u"Organització" },
    { "ehorizc2.rtf", "BitBtn3", { 128, 1112, 25, 25 }, u"En el panel", u"Al panell" },
    { "ehoriz3c.rtf", "BitBtn4", { 88, 1472, 25, 25 }, u"Las señales", u"Els senyals" },
    { "dcanalc.rtf", "BitBtn2", { 72, 128, 25, 25 }, u"Barrido alternado", u"Escombratge alternat" },
    { "dcanalc.rtf", "BitBtn3", { 72, 464, 25, 25 }, u"Barrido muestreado", u"Escombratge de mostreig" },
};

const PaneRow *paneOf(const QString &castilianFile)
{
    for (const PaneRow &row : kPanes)
        if (castilianFile == QLatin1String(row.castilian))
            return &row;
    return nullptr;
}

/**
 * A pane laid out as its window shows it: the window's content area with the pane at its place,
 * in the panes' "Times New Roman" 15-pixel text, and the figure buttons that stand over it.
 */
struct Sheet
{
    std::unique_ptr<QWidget> content;
    RichTextPane *pane = nullptr;
    bool loaded = false;

    Sheet(const PaneRow &row, const QString &file)
        : content(std::make_unique<QWidget>())
    {
        content->setFixedSize(row.geometry.right() + 17, row.geometry.bottom() + 9);
        pane = new RichTextPane(content.get());
        pane->setGeometry(row.geometry);
        pane->setFont(Fonts::pixels(QStringLiteral("Times New Roman"), 15));
        // the windows' light three-dimensional colour
        pane->setBackgroundColor(QColor(0xe3, 0xe3, 0xe3));
        pane->setVerticalScrollBarPolicy(row.scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        for (const FigureRow &figure : kFigures) {
            if (QLatin1String(figure.pane) != QLatin1String(row.castilian))
                continue;
            auto *button = new QPushButton(QStringLiteral("\u2713"), content.get());
            button->setGeometry(figure.geometry);
        }
        // a missing file would stop the run in the modal error box; it fails the test instead
        loaded = QFile::exists(file) && pane->loadFromFile(file);
        content->show();
        QCoreApplication::processEvents();
    }

    /** The laid-out text line holding the character at the position, in content coordinates. */
    QRectF lineAt(int position) const
    {
        QTextDocument *document = pane->document();
        const QTextBlock block = document->findBlock(position);
        const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
        return placed(block, line);
    }

    /** Every laid-out line with text on it, in content coordinates. */
    QList<QPair<QRectF, QString>> lines() const
    {
        QList<QPair<QRectF, QString>> all;
        QTextDocument *document = pane->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const QTextLayout *layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const QString text = block.text().mid(line.textStart(), line.textLength());
                if (!text.trimmed().isEmpty())
                    all.append({ placed(block, line), text });
            }
        }
        return all;
    }

private:
    QRectF placed(const QTextBlock &block, const QTextLine &line) const
    {
        const QRectF blockRect = pane->document()->documentLayout()->blockBoundingRect(block);
        const QPointF origin = pane->geometry().topLeft() + pane->viewport()->geometry().topLeft()
            - QPointF(0, pane->verticalScrollBar()->value());
        return QRectF(
            blockRect.left() + line.x(), blockRect.top() + line.y(), line.naturalTextWidth(), line.height())
            .translated(origin);
    }
};

QStringList allFiles()
{
    QStringList files;
    for (const PaneRow &row : kPanes)
        files << QLatin1String(row.castilian) << QLatin1String(row.valencian);
    return files;
}

QByteArray readAll(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

/** The figures a paragraph gives, in order: every run of digits. */
QStringList figuresOf(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    QStringList figures;
    for (const QRegularExpressionMatch &match : digits.globalMatch(text))
        figures << match.captured();
    return figures;
}

bool opensBold(const QTextBlock &block)
{
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qMin(1, block.length() - 1));
    return cursor.charFormat().fontWeight() >= QFont::DemiBold;
}

} // namespace

class TestReferenceTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesReadWhole_data();
    void filesReadWhole();
    void languagesSayTheSame_data();
    void languagesSayTheSame();
    void textsFitTheirPanes_data();
    void textsFitTheirPanes();
    void passagesSitBesideTheirButtons_data();
    void passagesSitBesideTheirButtons();

private:
    std::unique_ptr<ScratchAppDir> m_dir;
};

void TestReferenceTexts::initTestCase()
{
    m_dir = std::make_unique<ScratchAppDir>();
}

void TestReferenceTexts::filesReadWhole_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : allFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void TestReferenceTexts::filesReadWhole()
{
    QFETCH(QString, file);
    const QByteArray data = readAll(file);
    QVERIFY2(!data.isEmpty(), "missing or empty");
    // saved as a word processor saves: a Western code page, a font table, escapes for every accent
    QVERIFY(data.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(data.contains("{\\fonttbl"));
    QVERIFY(data.contains("\\par"));
    for (const char byte : data)
        QVERIFY2(uchar(byte) < 0x80, "a raw byte outside ASCII");

    QTextDocument document;
    const Rtf::ReadResult result = Rtf::read(data, &document, &Fonts::family);
    QVERIFY(result.isRtf);
    QVERIFY2(result.complete, "unbalanced groups or an early end");
    // the paragraphs' own text: plain text would turn the non-breaking spaces into blanks
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs << block.text();
    const QString text = paragraphs.join(QLatin1Char('\n'));
    QVERIFY(text.trimmed().size() > 20);
    QVERIFY2(!text.contains(QChar::ReplacementCharacter), "an undecodable character");
    for (const QChar mark : { u'\\', u'{', u'}' })
        QVERIFY2(!text.contains(mark), "control text shown as text");

    // each escaped character (an accented letter, a sign, a space that keeps a figure with its unit)
    // reads as exactly one character, and no other character outside ASCII appears
    static const QRegularExpression escape(QStringLiteral("\\\\'[0-9a-fA-F]{2}|\\\\u-?\\d+|\\\\~"));
    qsizetype escaped = 0;
    for (QRegularExpressionMatchIterator it = escape.globalMatch(QString::fromLatin1(data)); it.hasNext();
         it.next())
        ++escaped;
    const qsizetype nonAscii
        = std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x80; });
    QVERIFY2(escaped > 0, "no accent at all");
    // the headings and lead words keep their bold
    bool bold = false;
    for (QTextBlock block = document.begin(); block.isValid() && !bold; block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            bold = bold || it.fragment().charFormat().fontWeight() >= QFont::DemiBold;
    QVERIFY2(bold, "no heading in bold");
    QCOMPARE(nonAscii, escaped);
    for (const QChar c : text)
        QVERIFY2(c.unicode() < 0x80 || c.isLetter() || QStringLiteral("\u00a0\u2060·±×°ºµΩØ÷–−").contains(c),
            qPrintable(
                QStringLiteral("unexpected character U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))));
}

void TestReferenceTexts::languagesSayTheSame_data()
{
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    for (const PaneRow &row : kPanes)
        QTest::newRow(row.castilian) << QString::fromLatin1(row.castilian)
                                     << QString::fromLatin1(row.valencian);
}

void TestReferenceTexts::languagesSayTheSame()
{
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    QTextDocument castilianText;
    QTextDocument valencianText;
    Rtf::read(readAll(castilian), &castilianText, &Fonts::family);
    Rtf::read(readAll(valencian), &valencianText, &Fonts::family);
    QVERIFY(!castilianText.isEmpty() && !valencianText.isEmpty());
    QCOMPARE(valencianText.blockCount(), castilianText.blockCount());
    QVERIFY(castilianText.toPlainText() != valencianText.toPlainText());
    // paragraph by paragraph: the same figures in the same order, headings in both or in neither
    QTextBlock c = castilianText.begin();
    QTextBlock v = valencianText.begin();
    for (; c.isValid() && v.isValid(); c = c.next(), v = v.next()) {
        const QByteArray where = c.text().left(40).toUtf8();
        QVERIFY2(figuresOf(c.text()) == figuresOf(v.text()), where.constData());
        QVERIFY2(opensBold(c) == opensBold(v), where.constData());
        QVERIFY2(c.text().trimmed().isEmpty() == v.text().trimmed().isEmpty(), where.constData());
    }
}

void TestReferenceTexts::textsFitTheirPanes_data()
{
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("file");
    for (const PaneRow &row : kPanes) {
        QTest::newRow(row.castilian) << QString::fromLatin1(row.castilian)
                                     << QString::fromLatin1(row.castilian);
        QTest::newRow(row.valencian) << QString::fromLatin1(row.castilian)
                                     << QString::fromLatin1(row.valencian);
    }
}

void TestReferenceTexts::textsFitTheirPanes()
{
    QFETCH(QString, castilian);
    QFETCH(QString, file);
    const PaneRow *row = paneOf(castilian);
    QVERIFY(row);
    const Sheet sheet(*row, file);
    QVERIFY(sheet.loaded);
    QCOMPARE(qRound(sheet.pane->document()->textWidth()), sheet.pane->viewport()->width());
    const qreal height = sheet.pane->document()->size().height();
    const int room = sheet.pane->viewport()->height();
    saveGrab(sheet.content.get(), QStringLiteral("text-") + QFileInfo(file).completeBaseName());
    // an author placing a passage by a button reads where every line falls
    if (qEnvironmentVariableIsSet("VANTELA_DUMP_LINES"))
        for (const auto &[rect, text] : sheet.lines())
            qDebug("%7.2f %6.1f %6.1f  %s", rect.top(), rect.left(), rect.right(), qPrintable(text.left(40)));
    // a pane without a scroll bar cuts off what does not fit; a viewer scrolls over it
    QVERIFY2((height > room) == row->scrolls,
        qPrintable(QStringLiteral("text %1 px high in a pane of %2 px").arg(height).arg(room)));
    // no line runs past the pane's right edge
    for (const auto &[rect, text] : sheet.lines())
        QVERIFY2(rect.right() <= row->geometry.right() + 1, qPrintable(text));
}

void TestReferenceTexts::passagesSitBesideTheirButtons_data()
{
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QString>("phrase");
    for (const FigureRow &figure : kFigures) {
        const PaneRow *row = paneOf(QLatin1String(figure.pane));
        const QString name = QLatin1String(figure.pane) + QLatin1Char(' ') + QLatin1String(figure.button);
        QTest::newRow(qPrintable(name + QStringLiteral(" castellano")))
            << QString::fromLatin1(row->castilian) << QString::fromLatin1(row->castilian) << figure.geometry
            << QString::fromUtf16(figure.castilian);
        QTest::newRow(qPrintable(name + QStringLiteral(" valencia")))
            << QString::fromLatin1(row->castilian) << QString::fromLatin1(row->valencian) << figure.geometry
            << QString::fromUtf16(figure.valencian);
    }
}

void TestReferenceTexts::passagesSitBesideTheirButtons()
{
    QFETCH(QString, castilian);
    QFETCH(QString, file);
    QFETCH(QRect, button);
    QFETCH(QString, phrase);
    const Sheet sheet(*paneOf(castilian), file);
    QVERIFY(sheet.loaded);
    const QTextCursor found = sheet.pane->document()->find(phrase, 0, QTextDocument::FindCaseSensitively);
    QVERIFY2(!found.isNull(), qPrintable(phrase));
    // the passage opens on the line that the button stands beside
    const QRectF line = sheet.lineAt(found.selectionStart());
    QVERIFY2(line.center().y() >= button.top() && line.center().y() <= button.bottom() + 1,
        qPrintable(QStringLiteral("line %1..%2, button %3..%4")
                       .arg(line.top())
                       .arg(line.bottom())
                       .arg(button.top())
                       .arg(button.bottom() + 1)));
    // and no words lie hidden under the button
    const QRectF face(button);
    for (const auto &[rect, text] : sheet.lines()) {
        const qreal overlap = qMin(rect.bottom(), face.bottom()) - qMax(rect.top(), face.top());
        const bool across = rect.left() < face.right() && rect.right() > face.left();
        QVERIFY2(overlap <= 4 || !across, qPrintable(QStringLiteral("under the button: ") + text));
    }
}

QTEST_MAIN(TestReferenceTexts)
#include "tst_referencetexts.moc"
