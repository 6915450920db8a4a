#include "cputimer.h"
#include "errorbox.h"
#include "richtextpane.h"
#include "rtfhtmlwriter.h"
#include "rtfreader.h"
#include "rtftextwriter.h"

#include <QAccessible>
#include <QBuffer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

QString textOf(const QByteArray &rtf, Rtf::ReadResult *result = nullptr)
{
    QTextDocument doc;
    const Rtf::ReadResult r = Rtf::read(rtf, &doc);
    if (result)
        *result = r;
    return doc.toPlainText();
}

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}" + body + "}";
}

// The character format of the first occurrence of the text.
QTextCharFormat formatAt(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return {};
    QTextCursor c(found);
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QTextBlockFormat blockAt(const QTextDocument &doc, const QString &text)
{
    return doc.find(text, 0, QTextDocument::FindCaseSensitively).block().blockFormat();
}

QList<QTextTable *> tablesOf(const QTextDocument &doc)
{
    QList<QTextTable *> tables;
    const std::function<void(QTextFrame *)> walk = [&](QTextFrame *frame) {
        for (QTextFrame *child : frame->childFrames()) {
            if (auto *table = qobject_cast<QTextTable *>(child))
                tables << table;
            walk(child);
        }
    };
    walk(doc.rootFrame());
    return tables;
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    return c.selectedText();
}

QByteArray hex(const QByteArray &bytes)
{
    return bytes.toHex();
}

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QList<QTextImageFormat> imagesOf(const QTextDocument &doc)
{
    QList<QTextImageFormat> images;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                images << it.fragment().charFormat().toImageFormat();
        }
    }
    return images;
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(VANTELA_TEST_DATA "/rtf/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The plain text of a built document, laid out as the text writer lays it out: a paragraph per
// line, a table row per line with tabs between its cells, a cell's paragraphs run on with blanks.
void frameLines(QTextFrame *frame, QStringList &lines);

QString blockLine(const QTextBlock &block)
{
    QString text = block.text();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ObjectReplacementCharacter, QStringLiteral("[picture]"));
    return text;
}

void tableLines(QTextTable *table, QStringList &lines)
{
    for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            QStringList cellLines;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (QTextFrame *child = it.currentFrame())
                    frameLines(child, cellLines);
                else
                    cellLines << blockLine(it.currentBlock());
            }
            cells << cellLines.join(QLatin1Char(' ')).trimmed();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
}

void frameLines(QTextFrame *frame, QStringList &lines)
{
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        tableLines(table, lines);
        return;
    }
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame())
            frameLines(child, lines);
        else
            lines << blockLine(it.currentBlock());
    }
}

QString documentLines(const QTextDocument &doc)
{
    QStringList lines;
    frameLines(doc.rootFrame(), lines);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// What a streaming writer writes for the data.
template <typename Writer> QByteArray written(const QByteArray &data)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Writer writer(&buffer);
    Rtf::read(data, writer);
    return buffer.data();
}

// The blocks that hold text, in document order, table cells included.
QList<QTextBlock> textBlocks(const QTextDocument &doc)
{
    QList<QTextBlock> blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!b.text().isEmpty())
            blocks << b;
    }
    return blocks;
}

QString familyOf(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void encoding_data();
    void encoding();
    void unicodeSkipping_data();
    void unicodeSkipping();
    void groups_data();
    void groups();
    void specialCharacters_data();
    void specialCharacters();
    void characterFormatting();
    void fontsAndSizes();
    void paragraphFormatting();
    void lists();
    void tables();
    void nestedTables();
    void tableLimits();
    void pictures();
    void pictureKinds_data();
    void pictureKinds();
    void fields();
    void notRtf_data();
    void notRtf();
    void damagedInput_data();
    void damagedInput();
    void convertedFiles_data();
    void convertedFiles();
    void writersFollowDocument_data();
    void writersFollowDocument();
    void htmlFormatting();
    void htmlTablesAndPictures();
    void paneLoads();
    void paneKeepsContentOnMissingFile();
    void paneTyping();
};

void TestRtf::encoding_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("western") << rtf("\\'e1\\'f1\\'e7 \\'80") << QStringLiteral("áñç €");
    QTest::newRow("raw 8-bit byte") << rtf("a\xe9z") << QStringLiteral("aéz");
    QTest::newRow("ansicpg 1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8\\'f8}")
                                  << QStringLiteral("ščř");
    QTest::newRow("ansicpg 1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}")
                                  << QStringLiteral("При");
    QTest::newRow("central european charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial;}}\\f0 \\'b9\\'ea}")
        << QStringLiteral("ąę");
    QTest::newRow("cyrillic charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'c0\\'e1}")
        << QStringLiteral("Аб");
    QTest::newRow("greek charset") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 Arial;}}\\f0 \\'e1\\'e2\\'f9}")
                                   << QStringLiteral("αβω");
    QTest::newRow("cpg beats charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1253 Arial;}}\\f0 \\'e1}")
        << QStringLiteral("α");
    QTest::newRow("font switch mid-text") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}"
        "\\f0 \\'e0{\\f1 \\'e0}\\'e0}") << QStringLiteral("àаà");
    QTest::newRow("dos 437") << QByteArray("{\\rtf1\\pc \\'82\\'a4\\'db}") << QStringLiteral("éñ█");
    QTest::newRow("dos 850") << QByteArray("{\\rtf1\\pca \\'82\\'d5}") << QStringLiteral("éı");
    QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac \\'8e\\'96\\'a5}") << QStringLiteral("éñ•");
    QTest::newRow("symbol charset") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Times;}{\\f1\\fcharset2 Symbol;}}"
        "\\f0 x{\\f1 a\\'b7W}y}") << QStringLiteral("xα•Ωy");
    QTest::newRow("symbol private use")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\f1 \\u-3913?}}")
        << QStringLiteral("•");
    QTest::newRow("shift-jis") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0a}")
                               << QStringLiteral("あa");
    QTest::newRow("double-byte without decoder")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset130 Gulim;}}\\f0 \\'88\\'61b}")
        << QStringLiteral("\uFFFDb");
    QTest::newRow("unknown code page reads as western")
        << QByteArray("{\\rtf1\\ansi\\ansicpg99999 \\'e9}") << QStringLiteral("é");
    QTest::newRow("bad hex digits") << rtf("a\\'zzb") << QStringLiteral("azzb");
}

void TestRtf::encoding()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(textOf(input), expected);
}

void TestRtf::unicodeSkipping_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one fallback") << rtf("a\\u233?b") << QStringLiteral("aéb");
    QTest::newRow("hex fallback") << rtf("\\u233\\'e9b") << QStringLiteral("éb");
    QTest::newRow("uc0") << rtf("\\uc0\\u233 b") << QStringLiteral("éb");
    QTest::newRow("uc2") << rtf("\\uc2\\u8364\\'80\\'80b") << QStringLiteral("€b");
    QTest::newRow("uc2 mixed") << rtf("\\uc2\\u8364 E\\'80b") << QStringLiteral("€b");
    QTest::newRow("control word counts as one") << rtf("\\u8364\\bullet b") << QStringLiteral("€b");
    QTest::newRow("negative") << rtf("\\u-4064?") << QStringLiteral("\uF020");
    QTest::newRow("negative high") << rtf("\\u-1?") << QStringLiteral("\uFFFF");
    QTest::newRow("surrogate pair") << rtf("\\u-10179?\\u-8704?") << QString::fromUcs4(U"\U0001F600");
    QTest::newRow("lone high surrogate") << rtf("\\u55357?x") << QStringLiteral("\uFFFDx");
    QTest::newRow("lone low surrogate") << rtf("x\\u56832?") << QStringLiteral("x\uFFFD");
    QTest::newRow("skip stops at group end") << rtf("{\\uc3\\u233 a}bc") << QStringLiteral("ébc");
    QTest::newRow("uc is scoped by group") << rtf("{\\uc2 x}\\u233 ab") << QStringLiteral("xéb");
    QTest::newRow("out of range") << rtf("\\u2000000?") << QStringLiteral("\uFFFD");
    QTest::newRow("huge uc bounded") << rtf("\\uc99999999\\u233 " + QByteArray(40, 'a'))
                                     << QStringLiteral("é") + QString(24, QLatin1Char('a'));
}

void TestRtf::unicodeSkipping()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(textOf(input), expected);
}

void TestRtf::groups_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("complete");

    QTest::newRow("plain") << rtf("Hola") << QStringLiteral("Hola") << true;
    QTest::newRow("ignorable destination") << rtf("a{\\*\\unknown hidden}b") << QStringLiteral("ab") << true;
    QTest::newRow("unknown destination shows") << rtf("a{\\unknownword c}b") << QStringLiteral("acb") << true;
    QTest::newRow("info") << rtf("{\\info{\\title T}{\\author A}}x") << QStringLiteral("x") << true;
    QTest::newRow("stylesheet") << rtf("{\\stylesheet{\\s0 Normal;}}x") << QStringLiteral("x") << true;
    QTest::newRow("header and footnote")
        << rtf("{\\header H}a{\\footnote F}b") << QStringLiteral("ab") << true;
    QTest::newRow("bin skipped") << rtf("a\\bin4 {}\\}b") << QStringLiteral("ab") << true;
    QTest::newRow("bin past the end") << rtf("a\\bin999 xyz") << QStringLiteral("a") << false;
    QTest::newRow("negative bin") << rtf("a\\bin-5 b") << QStringLiteral("ab") << true;
    QTest::newRow("escaped braces") << rtf("\\{x\\}\\\\") << QStringLiteral("{x}\\") << true;
    QTest::newRow("after the document") << QByteArray("{\\rtf1 a}b{c}") << QStringLiteral("a") << true;
    QTest::newRow("unbalanced") << QByteArray("{\\rtf1 a{\\b b") << QStringLiteral("ab") << false;
    QTest::newRow("truncated control word") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a") << false;
    QTest::newRow("upr keeps ud") << rtf("{\\upr{a\\'3f}{\\*\\ud{b\\u945?}}}") << QStringLiteral("bα")
                                  << true;
    QTest::newRow("deep nesting") << QByteArray(
        "{\\rtf1 a" + QByteArray(5000, '{') + "x" + QByteArray(5000, '}') + "b}")
                                  << QStringLiteral("ab") << false;
    QTest::newRow("long control word")
        << rtf("a\\" + QByteArray(5000, 'q') + " b") << QStringLiteral("ab") << true;
    QTest::newRow("huge parameter") << rtf("\\fs99999999999999999999 a\\li-99999999999999 b")
                                    << QStringLiteral("ab") << true;
    QTest::newRow("newline is ignored") << rtf("a\r\nb") << QStringLiteral("ab") << true;
    QTest::newRow("escaped newline is a paragraph") << rtf("a\\\nb") << QStringLiteral("a\nb") << true;
}

void TestRtf::groups()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QFETCH(bool, complete);
    Rtf::ReadResult result;
    QCOMPARE(textOf(input, &result), expected);
    QVERIFY(result.isRtf);
    QCOMPARE(result.complete, complete);
}

void TestRtf::specialCharacters_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("non-breaking space") << rtf("a\\~b") << QStringLiteral("a\u00A0b");
    QTest::newRow("optional hyphen") << rtf("a\\-b") << QStringLiteral("a\u00ADb");
    QTest::newRow("non-breaking hyphen") << rtf("a\\_b") << QStringLiteral("a\u2011b");
    QTest::newRow("dashes") << rtf("\\emdash\\endash") << QStringLiteral("\u2014\u2013");
    QTest::newRow("quotes") << rtf("\\lquote\\rquote\\ldblquote\\rdblquote")
                            << QStringLiteral("\u2018\u2019\u201C\u201D");
    QTest::newRow("bullet") << rtf("\\bullet") << QStringLiteral("\u2022");
    QTest::newRow("tab") << rtf("a\\tab b") << QStringLiteral("a\tb");
    QTest::newRow("line") << rtf("a\\line b") << QStringLiteral("a\u2028b");
    QTest::newRow("par") << rtf("a\\par b") << QStringLiteral("a\nb");
    QTest::newRow("page") << rtf("a\\page b") << QStringLiteral("a\nb");
    QTest::newRow("control bytes dropped") << rtf("a\x01\x1f"
                                                  "b")
                                           << QStringLiteral("ab");
}

void TestRtf::specialCharacters()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QTextDocument doc;
    Rtf::read(input, &doc);
    // toRawText keeps the line separator that toPlainText turns into a newline.
    QCOMPARE(doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')), expected);
}

void TestRtf::characterFormatting()
{
    QTextDocument doc;
    Rtf::read("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
              "{\\b bold}{\\i italic}{\\ul under}{\\ul\\ulnone notunder}{\\strike struck}"
              "{\\cf1 red}{\\cb2 onblue}{\\highlight1 marked}{\\super up}{\\sub down}"
              "{\\super\\nosupersub level}{\\caps caps}{\\scaps small}{\\b\\plain reset}"
              "{\\b\\b0 notbold}{\\v hidden}{\\cf9 nocolour}shown}",
        &doc);
    QVERIFY(formatAt(doc, "bold").font().bold());
    QVERIFY(!formatAt(doc, "italic").font().bold());
    QVERIFY(formatAt(doc, "italic").fontItalic());
    QVERIFY(formatAt(doc, "under").fontUnderline());
    QVERIFY(!formatAt(doc, "notunder").fontUnderline());
    QVERIFY(formatAt(doc, "struck").fontStrikeOut());
    QCOMPARE(formatAt(doc, "red").foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatAt(doc, "onblue").background().color(), QColor(0, 0, 255));
    QCOMPARE(formatAt(doc, "marked").background().color(), QColor(255, 0, 0));
    QCOMPARE(formatAt(doc, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatAt(doc, "down").verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(formatAt(doc, "level").verticalAlignment(), QTextCharFormat::AlignNormal);
    QCOMPARE(formatAt(doc, "caps").fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatAt(doc, "small").fontCapitalization(), QFont::SmallCaps);
    QVERIFY(!formatAt(doc, "reset").font().bold());
    QVERIFY(!formatAt(doc, "notbold").font().bold());
    QVERIFY(!formatAt(doc, "nocolour").hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!doc.toPlainText().contains("hidden"));
    QVERIFY(doc.toPlainText().endsWith("nocolourshown"));
}

void TestRtf::fontsAndSizes()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Liberation Serif")));
    Rtf::read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
              "{\\f2\\fmodern Courier New;}{\\f3\\fswiss MS Sans Serif;}{\\f4 Verdana;}}"
              "deffont {\\f1 arial}{\\f2 courier}{\\f3 mssans}{\\f4 other}{\\f7 missing}"
              "{\\fs22 eleven}{\\fs24 twelve}{\\fs20 ten}{\\fs0 zero}}",
        &doc);
    QCOMPARE(formatAt(doc, "deffont").fontFamilies().toStringList(), QStringList { "Liberation Serif" });
    QCOMPARE(formatAt(doc, "arial").fontFamilies().toStringList(), QStringList { "Liberation Sans" });
    QCOMPARE(formatAt(doc, "courier").fontFamilies().toStringList(), QStringList { "Liberation Mono" });
    QCOMPARE(formatAt(doc, "mssans").fontFamilies().toStringList(), QStringList { "Liberation Sans" });
    QCOMPARE(formatAt(doc, "other").fontFamilies().toStringList(), QStringList { "Verdana" });
    QVERIFY(!formatAt(doc, "missing").hasProperty(QTextFormat::FontFamilies));
    // Half-points to pixels at 96 per inch: 11 pt is 15 px, 12 pt 16 px, 10 pt 13 px.
    QCOMPARE(formatAt(doc, "eleven").font().pixelSize(), 15);
    QCOMPARE(formatAt(doc, "twelve").font().pixelSize(), 16);
    QCOMPARE(formatAt(doc, "ten").font().pixelSize(), 13);
    QVERIFY(!formatAt(doc, "zero").hasProperty(QTextFormat::FontPixelSize));

    // Without a size the document's default font decides.
    QTextDocument plain;
    plain.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 20));
    Rtf::read("{\\rtf1 text}", &plain);
    QVERIFY(!formatAt(plain, "text").hasProperty(QTextFormat::FontPixelSize));
    QVERIFY(!formatAt(plain, "text").hasProperty(QTextFormat::FontFamilies));
}

void TestRtf::paragraphFormatting()
{
    QTextDocument doc;
    Rtf::read(rtf("\\pard\\qc centre\\par\\pard\\qr right\\par\\pard\\qj justified\\par"
                  "\\pard left\\par\\pard\\li1440\\ri720\\fi-360\\sb300\\sa150 indented\\par"
                  "\\pard\\sl360\\slmult1 oneandhalf\\par\\pard\\sl-300\\slmult0 exact\\par"
                  "\\pard\\sl300\\slmult0 atleast\\par"
                  "\\pard\\tx1440\\tqr\\tx4320 tabs\\par"
                  "{\\pard\\qc inner\\par}outer"),
        &doc);
    QCOMPARE(blockAt(doc, "centre").alignment(), Qt::AlignHCenter);
    QCOMPARE(blockAt(doc, "right").alignment(), Qt::AlignRight);
    QCOMPARE(blockAt(doc, "justified").alignment(), Qt::AlignJustify);
    QCOMPARE(blockAt(doc, "left").alignment(), Qt::AlignLeft);
    const QTextBlockFormat indented = blockAt(doc, "indented");
    QCOMPARE(indented.leftMargin(), 96.0);
    QCOMPARE(indented.rightMargin(), 48.0);
    QCOMPARE(indented.textIndent(), -24.0);
    QCOMPARE(indented.topMargin(), 20.0);
    QCOMPARE(indented.bottomMargin(), 10.0);
    QCOMPARE(blockAt(doc, "oneandhalf").lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(blockAt(doc, "oneandhalf").lineHeight(), 150.0);
    QCOMPARE(blockAt(doc, "exact").lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(blockAt(doc, "exact").lineHeight(), 20.0);
    QCOMPARE(blockAt(doc, "atleast").lineHeightType(), int(QTextBlockFormat::MinimumHeight));
    const QList<QTextOption::Tab> tabs = blockAt(doc, "tabs").tabPositions();
    QCOMPARE(tabs.size(), 2);
    QCOMPARE(tabs[0].position, 96.0);
    QCOMPARE(tabs[0].type, QTextOption::LeftTab);
    QCOMPARE(tabs[1].position, 288.0);
    QCOMPARE(tabs[1].type, QTextOption::RightTab);
    // Paragraph properties set inside a group end with it.
    QCOMPARE(blockAt(doc, "inner").alignment(), Qt::AlignHCenter);
    QCOMPARE(blockAt(doc, "outer").alignment(), Qt::AlignLeft);
}

void TestRtf::lists()
{
    QTextDocument doc;
    Rtf::read("{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}{\\f1\\fcharset2 Symbol;}}"
              "{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u-3913 ?;}}}}"
              "{\\listtext\\f1 \\'b7\\tab}\\pard\\li720\\fi-360 first\\par"
              "{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody{\\pntxta .}}\\pard\\li720\\fi-360 second\\par"
              "{\\pn\\pnlvlblt{\\pntxtb x}}third}",
        &doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("\u2022\tfirst\n2.\tsecond\nthird"));
    // The bullet's tab reaches where the following lines start.
    const QList<QTextOption::Tab> tabs = blockAt(doc, "first").tabPositions();
    QCOMPARE(tabs.size(), 1);
    QCOMPARE(tabs[0].position, 24.0);
}

void TestRtf::tables()
{
    QTextDocument doc;
    Rtf::read(rtf("before\\par"
                  "\\trowd\\trgaph108\\trleft0\\clbrdrb\\brdrs\\cellx1440\\cellx4320"
                  "\\pard\\intbl\\qc A1\\cell B1\\par second line\\cell\\row"
                  "\\trowd\\trgaph108\\cellx1440\\cellx4320\\pard\\intbl A2\\cell\\cell\\row"
                  "\\pard after\\par"),
        &doc);
    const QList<QTextTable *> tables = tablesOf(doc);
    QCOMPARE(tables.size(), 1);
    QTextTable *table = tables.first();
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(cellText(table, 0, 0), QStringLiteral("A1"));
    QCOMPARE(cellText(table, 0, 1), QStringLiteral("B1\u2029second line"));
    QCOMPARE(cellText(table, 1, 0), QStringLiteral("A2"));
    QCOMPARE(cellText(table, 1, 1), QString());
    QCOMPARE(blockAt(doc, "A1").alignment(), Qt::AlignHCenter);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[0].rawValue(), 96.0);
    QCOMPARE(widths[1].rawValue(), 192.0);
    const QTextTableCellFormat cell = table->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(cell.bottomBorder(), 1.0);
    QCOMPARE(cell.topBorderStyle(), QTextFrameFormat::BorderStyle_None);
    QCOMPARE(cell.leftPadding(), 7.2);
    // The table follows the paragraph before it, without an empty paragraph between.
    QCOMPARE(doc.toPlainText(), QStringLiteral("before\nA1\nB1\nsecond line\nA2\n\nafter\n"));
    QVERIFY(!doc.find("after").currentTable());

    // Cells without a row definition still make a table, one column per cell.
    QTextDocument loose;
    Rtf::read(rtf("\\intbl a\\cell b\\cell c\\cell\\row\\pard x"), &loose);
    QCOMPARE(tablesOf(loose).size(), 1);
    QCOMPARE(tablesOf(loose).first()->columns(), 3);
}

void TestRtf::nestedTables()
{
    // As Word writes them: inner rows end inside \nesttableprops, and readers that know nested
    // tables skip the flat copy in \nonesttables.
    QTextDocument doc;
    Rtf::read(rtf("\\pard\\intbl outer1\\cell"
                  "\\pard\\intbl\\itap2 in1\\nestcell in2\\nestcell"
                  "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                  "{\\nonesttables\\par}"
                  "\\pard\\intbl\\itap1 \\cell"
                  "\\trowd\\cellx3000\\cellx6000\\row\\pard after"),
        &doc);
    const QList<QTextTable *> tables = tablesOf(doc);
    QCOMPARE(tables.size(), 2);
    QTextTable *outer = tables[0];
    QTextTable *inner = tables[1];
    QCOMPARE(outer->rows(), 1);
    QCOMPARE(outer->columns(), 2);
    QCOMPARE(cellText(outer, 0, 0), QStringLiteral("outer1"));
    QCOMPARE(inner->rows(), 1);
    QCOMPARE(inner->columns(), 2);
    QCOMPARE(cellText(inner, 0, 0), QStringLiteral("in1"));
    QCOMPARE(cellText(inner, 0, 1), QStringLiteral("in2"));
    QCOMPARE(doc.find("in1").currentTable(), inner);
    QCOMPARE(outer->cellAt(inner->firstPosition()).column(), 1);
    QVERIFY(!doc.find("after").currentTable());
}

void TestRtf::tableLimits()
{
    // Thousands of cells in one row and of rows: bounded columns and cells, all text kept.
    QByteArray body = "\\trowd";
    for (int i = 0; i < 500; ++i)
        body += "\\cellx" + QByteArray::number(i * 10);
    body += "\\pard\\intbl ";
    for (int i = 0; i < 500; ++i)
        body += "c\\cell ";
    body += "\\row";
    for (int i = 0; i < 3000; ++i)
        body += "\\intbl r\\cell\\row";
    QTextDocument doc;
    const CpuTimer timer;
    const Rtf::ReadResult result = Rtf::read(rtf(body), &doc);
    QVERIFY(timer.elapsed() < 10000);
    QVERIFY(!result.complete);
    QTextTable *table = tablesOf(doc).first();
    QCOMPARE(table->columns(), 63);
    QVERIFY(table->rows() * table->columns() <= 100000);
    QCOMPARE(doc.toPlainText().count(QLatin1Char('c')), 500);
    QCOMPARE(doc.toPlainText().count(QLatin1Char('r')), 3000);
}

void TestRtf::pictures()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QByteArray png = hex(pngOf(image));
    QTextDocument doc;
    Rtf::read(rtf("a{\\pict\\pngblip\\picw4\\pich3\\picwgoal900\\pichgoal450 " + png
                  + "}"
                    "b{\\pict\\pngblip\\picscalex50\\picscaley200 "
                  + png
                  + "}"
                    "{\\*\\shppict{\\pict\\pngblip "
                  + png + "}}{\\nonshppict{\\pict\\pngblip " + png
                  + "}}"
                    "{\\v{\\pict\\pngblip "
                  + png
                  + "}}"
                    "{\\pict\\pngblip\\bin"
                  + QByteArray::number(pngOf(image).size()) + " " + pngOf(image)
                  + "}"
                    "c"),
        &doc);
    const QList<QTextImageFormat> images = imagesOf(doc);
    QCOMPARE(images.size(), 4);
    QCOMPARE(images[0].width(), 60.0);
    QCOMPARE(images[0].height(), 30.0);
    QCOMPARE(images[1].width(), 2.0);
    QCOMPARE(images[1].height(), 6.0);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(4, 3));
    QCOMPARE(shown.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter), QStringLiteral("abc"));
}

void TestRtf::pictureKinds_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QSize>("size"); // empty: nothing shown

    QImage image(5, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
    }
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    QTest::newRow("png") << "\\pngblip " + hex(pngOf(image)) << QSize(5, 2);
    QTest::newRow("jpeg") << "\\jpegblip " + hex(jpeg) << QSize(5, 2);
    QTest::newRow("dibitmap") << "\\dibitmap0 " + hex(bmp.mid(14)) << QSize(5, 2);
    // A device bitmap: 2 x 2 monochrome, rows padded to two bytes, top row first.
    QTest::newRow("wbitmap mono") << QByteArray("\\wbitmap0\\picw2\\pich2\\wbmbitspixel1\\wbmwidthbytes2 "
                                                "80004000")
                                  << QSize(2, 2);
    QTest::newRow("wbitmap 24") << QByteArray("\\wbitmap0\\picw1\\pich1\\wbmbitspixel24\\wbmwidthbytes4 "
                                              "0000ff00")
                                << QSize(1, 1);
    QTest::newRow("wbitmap short data")
        << QByteArray("\\wbitmap0\\picw100\\pich100\\wbmbitspixel1 00") << QSize();
    QTest::newRow("metafile skipped") << QByteArray("\\wmetafile8 0100090000") << QSize();
    QTest::newRow("emf skipped") << QByteArray("\\emfblip 0100000000") << QSize();
    QTest::newRow("garbage png") << QByteArray("\\pngblip 0102030405") << QSize();
    QByteArray hugeDib = bmp.mid(14);
    hugeDib[4] = char(0xff); // width 0x7fff00ff
    hugeDib[7] = char(0x7f);
    QTest::newRow("huge dib refused") << "\\dibitmap0 " + hex(hugeDib) << QSize();
    QImage big(5000, 5000, QImage::Format_Mono);
    big.fill(0);
    QTest::newRow("too many pixels refused") << "\\pngblip " + hex(pngOf(big)) << QSize();
}

void TestRtf::pictureKinds()
{
    QFETCH(QByteArray, picture);
    QFETCH(QSize, size);
    QTextDocument doc;
    Rtf::read(rtf("a{\\pict" + picture + "}b"), &doc);
    const QList<QTextImageFormat> images = imagesOf(doc);
    QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter), QStringLiteral("ab"));
    if (size.isEmpty()) {
        QVERIFY(images.isEmpty());
        return;
    }
    QCOMPARE(images.size(), 1);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    QCOMPARE(shown.size(), size);
    if (QByteArray(QTest::currentDataTag()) == "wbitmap mono") {
        QCOMPARE(shown.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(shown.pixel(1, 0), qRgb(0, 0, 0));
        QCOMPARE(shown.pixel(1, 1), qRgb(255, 255, 255));
    }
    if (QByteArray(QTest::currentDataTag()) == "wbitmap 24")
        QCOMPARE(shown.pixel(0, 0), qRgb(255, 0, 0));
    if (QByteArray(QTest::currentDataTag()) == "dibitmap")
        QCOMPARE(shown.pixel(2, 1), qRgb(0, 0, 255));
}

void TestRtf::fields()
{
    QTextDocument doc;
    Rtf::read(rtf("see {\\field{\\*\\fldinst HYPERLINK \"http://example.com/\"}{\\fldrslt{\\ul the site}}}"
                  " and {\\field{\\fldinst PAGE}{\\fldrslt 7}} and "
                  "{\\object\\objemb{\\*\\objclass Equation}{\\*\\objdata 0102}{\\result shown}}"),
        &doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("see the site and 7 and shown"));
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            QVERIFY(!it.fragment().charFormat().isAnchor());
    }
    QVERIFY(formatAt(doc, "the site").fontUnderline());
}

void TestRtf::notRtf_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("utf-8") << QByteArray("Señal\n{\\b no}") << QStringLiteral("Señal\n{\\b no}");
    QTest::newRow("windows text") << QByteArray("Se\xf1"
                                                "al")
                                  << QStringLiteral("Señal");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("rtf-like") << QByteArray("{\\rt x}") << QStringLiteral("{\\rt x}");
}

void TestRtf::notRtf()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    Rtf::ReadResult result;
    QCOMPARE(textOf(input, &result), expected);
    QVERIFY(!result.isRtf);
}

void TestRtf::damagedInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("start");

    QTest::newRow("cell outside table") << rtf("a\\cell\\cell b\\row c\\nestrow d") << QStringLiteral("a");
    QTest::newRow("row without cells") << rtf("\\trowd\\row\\row x") << QString();
    QTest::newRow("itap without table") << rtf("\\itap5 x\\nestcell y\\par z") << QString();
    QTest::newRow("pict in pict") << rtf("{\\pict\\pngblip{\\pict 00}00}x") << QString();
    QTest::newRow("font table chaos")
        << QByteArray("{\\rtf1{\\fonttbl\\f-5 A;\\f999999999999 B;{\\f1}{;}}\\f1 x}") << QStringLiteral("x");
    QTest::newRow("colour table chaos")
        << QByteArray("{\\rtf1{\\colortbl\\red999;\\green-4;;}\\cf2\\cf-1 x}") << QStringLiteral("x");
    QTest::newRow("unterminated picture") << rtf("x{\\pict\\pngblip 89504e47") << QStringLiteral("x");
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b}", 11) << QStringLiteral("ab");
}

void TestRtf::damagedInput()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, start);
    QTextDocument doc;
    Rtf::read(input, &doc);
    QVERIFY(doc.toPlainText().startsWith(start));
}

void TestRtf::convertedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("bold");
    QTest::addColumn<QString>("italic");
    QTest::addColumn<QString>("centred"); // empty where the converter drops paragraph alignment
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("justified");
    QTest::addColumn<QStringList>("table");

    const QStringList castilian = { "cuanto más pequeño", "año, niño, acción, pingüino, ¿qué?, ¡atención!",
        "Canal I", "Fin del texto" };
    const QStringList castilianTable = { "Mando", "Función", "Página", "VOLTS/DIV",
        "Atenuación del canal vertical", "12", "TIME/DIV", "Velocidad de barrido", "14" };
    const QStringList valencian = { "com més xicotet és",
        "oscil·loscopi, col·lecció, l'àmbit, què, això, façana, raïm, veïna", "Canal II", "Fi del text" };
    const QStringList valencianTable = { "Comandament", "Funció", "Pàgina", "VOLTS/DIV",
        "Atenuació del canal vertical", "12", "TIME/DIV", "Velocitat d'escombratge", "14" };
    // pandoc keeps the alignment of table columns only.
    for (const QString &tool : { QStringLiteral("libreoffice"), QStringLiteral("pandoc") }) {
        const bool paragraphs = tool == QLatin1String("libreoffice");
        QTest::newRow(qPrintable("castellano " + tool))
            << "castellano-" + tool + ".rtf" << castilian << "TIME/DIV"
            << "rápido" << (paragraphs ? "Señal periódica" : "") << (paragraphs ? "Texto alineado" : "")
            << (paragraphs ? "La comparación" : "") << castilianTable;
        QTest::newRow(qPrintable("valencia " + tool))
            << "valencia-" + tool + ".rtf" << valencian << "TIME/DIV"
            << "ràpid" << (paragraphs ? "Senyal periòdic" : "") << (paragraphs ? "Text alineat" : "")
            << (paragraphs ? "La comparació" : "") << valencianTable;
    }
}

void TestRtf::convertedFiles()
{
    QFETCH(QString, file);
    QFETCH(QStringList, texts);
    QFETCH(QString, bold);
    QFETCH(QString, italic);
    QFETCH(QString, centred);
    QFETCH(QString, right);
    QFETCH(QString, justified);
    QFETCH(QStringList, table);

    const QByteArray data = fixture(file);
    QVERIFY(!data.isEmpty());
    QTextDocument doc;
    const Rtf::ReadResult result = Rtf::read(data, &doc);
    QVERIFY(result.isRtf);
    QVERIFY(result.complete);
    const QString text = doc.toPlainText();
    for (const QString &t : texts)
        QVERIFY2(text.contains(t), qPrintable(t));
    QVERIFY(formatAt(doc, bold).font().bold());
    QVERIFY(!formatAt(doc, bold).fontItalic());
    QVERIFY(formatAt(doc, italic).fontItalic());
    QVERIFY(formatAt(doc, "negr").font().bold() && formatAt(doc, "negr").fontItalic());
    const auto horizontal
        = [&](const QString &text) { return blockAt(doc, text).alignment() & Qt::AlignHorizontal_Mask; };
    if (!centred.isEmpty()) {
        QCOMPARE(horizontal(centred), Qt::AlignHCenter);
        QCOMPARE(horizontal(right), Qt::AlignRight);
        QCOMPARE(horizontal(justified), Qt::AlignJustify);
    }
    QVERIFY(
        doc.find("Canal I", 0, QTextDocument::FindCaseSensitively).block().text().startsWith(QChar(0x2022)));

    const QList<QTextTable *> tables = tablesOf(doc);
    QCOMPARE(tables.size(), 1);
    QTextTable *t = tables.first();
    QCOMPARE(t->rows(), 3);
    QCOMPARE(t->columns(), 3);
    for (int i = 0; i < table.size(); ++i)
        QCOMPARE(cellText(t, i / 3, i % 3).trimmed(), table[i]);
    QCOMPARE(horizontal(table[1]), Qt::AlignHCenter);
    QCOMPARE(horizontal(table[4]), Qt::AlignHCenter);
    QCOMPARE(horizontal(table[5]), Qt::AlignRight);
    QVERIFY(horizontal(table[3]) == Qt::AlignLeft || horizontal(table[3]) == Qt::AlignLeading);
}

void TestRtf::writersFollowDocument_data()
{
    QTest::addColumn<QByteArray>("data");

    for (const char *file : { "castellano-libreoffice.rtf", "castellano-pandoc.rtf",
             "valencia-libreoffice.rtf", "valencia-pandoc.rtf" })
        QTest::newRow(file) << fixture(QLatin1String(file));
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QTest::newRow("formatting") << QByteArray(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
        "{\\f2\\fcharset2 Symbol;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
        "plain {\\b bold}{\\i italic}{\\ul under}{\\strike struck}{\\fs40 large}"
        "{\\cf1 red}{\\cb2 shaded}{\\highlight1 marked}{\\f1 sans}{\\f2 \\'61\\'62}"
        "{\\super up}{\\sub down}{\\caps caps}{\\scaps small}{\\b\\i\\ul\\cf2\\fs16 all}\\par"
        "\\pard\\qc centred\\par\\pard\\qr right\\par\\pard\\qj justified\\par"
        "\\pard\\li720\\ri360\\fi-360\\sb120\\sa240 indented\\par\\pard\\sl-360 fixed\\par}");
    QTest::newRow("hidden text") << rtf(
        "a{\\v hidden}b\\par{\\v gone\\par}c{\\v\\pict\\pngblip " + hex(pngOf(image)) + "}d");
    QTest::newRow("empty paragraphs") << rtf("\\par a\\par\\par\\fs48\\par b\\par");
    QTest::newRow("breaks and tabs") << rtf("a\\line b\\tab c\\~d\\emdash");
    QTest::newRow("paragraph breaks in text") << rtf("a\\u10 b\\u8233 c\\u13\\u10 d\\u13 e");
    QTest::newRow("object character") << rtf("x\\u65532 y");
    QTest::newRow("escapes") << rtf("\\{a<b&c>\"d\"\\}");
    QTest::newRow("table after paragraph")
        << rtf("before\\par\\trowd\\trgaph108\\trleft0\\clbrdrb\\brdrs\\cellx1440\\cellx4320"
               "\\pard\\intbl\\qc A1\\cell B1\\par second line\\cell\\row"
               "\\trowd\\trgaph108\\cellx1440\\cellx4320\\pard\\intbl A2\\cell\\cell\\row"
               "\\pard after\\par");
    QTest::newRow("table at start") << rtf("\\trowd\\cellx1000\\intbl a\\cell\\row\\pard after");
    QTest::newRow("tables in a row") << rtf(
        "x\\par\\intbl a\\cell\\row\\pard\\par\\intbl b\\cell\\row\\pard\\intbl c\\cell\\row\\pard y");
    QTest::newRow("nested tables") << rtf(
        "\\pard\\intbl outer1\\cell\\pard\\intbl\\itap2 in1\\nestcell in2\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}"
        "\\pard\\intbl\\itap1 \\cell\\trowd\\cellx3000\\cellx6000\\row\\pard after");
    QTest::newRow("nested table first in cell")
        << rtf("\\pard\\intbl\\itap2 in\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}"
               "\\pard\\intbl\\itap1 out\\cell\\row");
    QTest::newRow("loose cells") << rtf("\\intbl a\\cell b\\cell c\\cell\\row\\pard x");
    QTest::newRow("ragged rows") << rtf(
        "\\intbl a\\cell b\\cell\\row\\intbl c\\cell d\\cell e\\cell\\row\\intbl f\\cell\\row");
    QTest::newRow("cell without row end") << rtf("x\\par\\intbl a\\cell b");
    QTest::newRow("table ends document") << rtf("x\\par\\intbl a\\cell\\row");
    QTest::newRow("text before table mark") << rtf("x\\intbl a\\cell\\row\\pard y");
    QTest::newRow("picture") << rtf("a{\\pict\\pngblip\\picwgoal600\\pichgoal450 " + hex(pngOf(image))
        + "}b\\par\\intbl{\\pict\\pngblip " + hex(pngOf(image)) + "}\\cell\\row");
    QTest::newRow("not rtf") << QByteArray("plain\r\ntext\rmore\n\nlast");
    QTest::newRow("windows text") << QByteArray("Se\xf1"
                                                "al <b>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cells outside tables") << rtf("a\\cell\\cell b\\row c\\nestrow d");
    QTest::newRow("itap without table") << rtf("\\itap5 x\\nestcell y\\par z");
    QTest::newRow("unbalanced") << QByteArray("{\\rtf1 a{\\b b\\par\\intbl c\\cell");
}

void TestRtf::writersFollowDocument()
{
    QFETCH(QByteArray, data);
    QTextDocument doc;
    Rtf::read(data, &doc);

    // The text writer keeps the pane's paragraphs, tables and cells exactly.
    QCOMPARE(QString::fromUtf8(written<Rtf::TextWriter>(data)), documentLines(doc));

    // The HTML, read back by the toolkit's own HTML reader, holds the same text with the same
    // look. That reader adds empty paragraphs after tables of its own, and takes the line break
    // at the end of the page for text, so only paragraphs that hold text are compared.
    QTextDocument back;
    back.setHtml(QString::fromUtf8(written<Rtf::HtmlWriter>(data)).trimmed());
    const QList<QTextBlock> expected = textBlocks(doc);
    const QList<QTextBlock> actual = textBlocks(back);
    QCOMPARE(actual.size(), expected.size());
    QCOMPARE(tablesOf(back).size(), tablesOf(doc).size());
    QCOMPARE(imagesOf(back).size(), imagesOf(doc).size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QTextBlock &e = expected[i];
        const QTextBlock &a = actual[i];
        QCOMPARE(a.text(), e.text());
        const QTextBlockFormat eb = e.blockFormat();
        const QTextBlockFormat ab = a.blockFormat();
        // That reader takes margins in whole pixels, and marks right alignment as absolute.
        constexpr Qt::Alignment across = Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify;
        QCOMPARE(ab.alignment() & across, eb.alignment() & across);
        QVERIFY(qAbs(ab.leftMargin() - eb.leftMargin()) <= 0.5);
        QVERIFY(qAbs(ab.rightMargin() - eb.rightMargin()) <= 0.5);
        QVERIFY(qAbs(ab.topMargin() - eb.topMargin()) <= 0.5);
        QVERIFY(qAbs(ab.bottomMargin() - eb.bottomMargin()) <= 0.5);
        QVERIFY(qAbs(ab.textIndent() - eb.textIndent()) <= 0.5);
        for (int k = 0; k < e.length() - 1; ++k) {
            if (e.text().at(k) == QChar::ObjectReplacementCharacter)
                continue;
            QTextCursor ec(e);
            ec.setPosition(e.position() + k + 1);
            QTextCursor ac(a);
            ac.setPosition(a.position() + k + 1);
            const QTextCharFormat ef = ec.charFormat();
            const QTextCharFormat af = ac.charFormat();
            const QByteArray where = e.text().left(k + 1).toUtf8();
            QVERIFY2(af.font().bold() == ef.font().bold(), where);
            QVERIFY2(af.fontItalic() == ef.fontItalic(), where);
            QVERIFY2(af.fontUnderline() == ef.fontUnderline(), where);
            QVERIFY2(af.fontStrikeOut() == ef.fontStrikeOut(), where);
            QVERIFY2(af.fontCapitalization() == ef.fontCapitalization(), where);
            // Table cells give their text a top alignment in that reader; only raised and lowered
            // text counts.
            const auto shift = [](const QTextCharFormat &f) {
                const auto v = f.verticalAlignment();
                return v == QTextCharFormat::AlignSuperScript || v == QTextCharFormat::AlignSubScript
                    ? v
                    : QTextCharFormat::AlignNormal;
            };
            QVERIFY2(shift(af) == shift(ef), where);
            QVERIFY2(familyOf(af) == familyOf(ef), where);
            QVERIFY2(af.foreground().color() == ef.foreground().color(), where);
            QVERIFY2(af.background().color() == ef.background().color(), where);
            if (shift(ef) == QTextCharFormat::AlignNormal) {
                QVERIFY2(af.property(QTextFormat::FontPixelSize) == ef.property(QTextFormat::FontPixelSize),
                    where);
            }
        }
    }
}

void TestRtf::htmlFormatting()
{
    const QByteArray data
        = "{\\rtf1\\ansi{\\fonttbl{\\f0 Unknown Face;}{\\f1\\fswiss Arial;}{\\f2\\fmodern Courier New;}}"
          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
          "{\\b bold}{\\i italic}{\\ul under}{\\ulnone\\strike struck}{\\ul\\strike both}"
          "{\\fs48 large}{\\cf1 red}{\\cb2 shaded}{\\super up}{\\fs30\\sub down}{\\caps caps}"
          "{\\scaps small}{\\f1 sans}{\\f2 mono}{\\f0 other}{\\v secret}\\{a<b&c>\\}\\'e1\\u8364?\\line "
          "z\\par"
          "\\pard\\qc\\li720\\fi-360\\sb240 list\\par\\pard\\qr\\ri720\\sa120 right\\par"
          "\\pard\\qj\\sl360\\slmult1 double\\par\\pard\\sl-300 exact\\par\\pard\\fs36\\par}";
    const QString html = QString::fromUtf8(written<Rtf::HtmlWriter>(data));
    QVERIFY(html.startsWith(QLatin1String("<!DOCTYPE html>\n<html>")));
    QVERIFY(html.endsWith(QLatin1String("</body>\n</html>\n")));
    for (const char *fragment : {
             "<span style=\"font-weight:bold\">bold</span>",
             "<span style=\"font-style:italic\">italic</span>",
             "<span style=\"text-decoration:underline\">under</span>",
             "<span style=\"text-decoration:line-through\">struck</span>",
             "<span style=\"text-decoration:underline line-through\">both</span>",
             "<span style=\"font-size:32px\">large</span>",
             "<span style=\"color:#ff0000\">red</span>",
             "<span style=\"background-color:#008000\">shaded</span>",
             "<span style=\"vertical-align:super;font-size:smaller\">up</span>",
             "<span style=\"vertical-align:sub;font-size:13.33px\">down</span>",
             "<span style=\"text-transform:uppercase\">caps</span>",
             "<span style=\"font-variant:small-caps\">small</span>",
             "<span style=\"font-family:'Liberation Sans',sans-serif\">sans</span>",
             "<span style=\"font-family:'Liberation Mono',monospace\">mono</span>",
             "<span style=\"font-family:'Unknown Face'\">other</span>",
             "{a&lt;b&amp;c&gt;}\u00e1\u20ac<br>z</p>",
             "<p align=\"center\" "
             "style=\"margin-top:16px;margin-left:48px;text-indent:-24px;tab-size:24px\">list</p>",
             "<p align=\"right\" style=\"margin-bottom:8px;margin-right:48px\">right</p>",
             "<p align=\"justify\" style=\"line-height:150%\">double</p>",
             "<p style=\"line-height:20px\">exact</p>",
             "<p style=\"-qt-paragraph-type:empty;font-size:24px\"><br></p>",
         })
        QVERIFY2(html.contains(QString::fromUtf8(fragment)), fragment);
    QVERIFY(!html.contains(QLatin1String("secret")));
}

void TestRtf::htmlTablesAndPictures()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    image.setPixel(1, 2, qRgb(255, 0, 0));
    const QByteArray data
        = rtf("before\\par"
              "\\trowd\\trgaph108\\trleft0\\clbrdrb\\brdrs\\brdrw30\\clcbpat1\\cellx1440\\cellx4320"
              "\\pard\\intbl\\qc A1\\cell B1\\par second\\cell\\row"
              "\\trowd\\trgaph108\\cellx1440\\cellx4320\\pard\\intbl A2"
              "\\pard\\intbl\\itap2 in\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}"
              "\\pard\\intbl\\itap1\\cell\\cell\\row"
              "\\pard{\\pict\\pngblip\\picwgoal1500\\pichgoal1125 "
            + hex(pngOf(image))
            + "}"
              "{\\v{\\pict\\pngblip "
            + hex(pngOf(image)) + "}}after\\par");
    const QString withColours = QString::fromUtf8(data).replace(QLatin1String("Times New Roman;}}"),
        QLatin1String("Times New Roman;}}{\\colortbl;\\red255\\green255\\blue0;}"));
    const QString html = QString::fromUtf8(written<Rtf::HtmlWriter>(withColours.toUtf8()));

    // The outer table: two rows of two cells with their widths, the first row's cells with
    // their border, padding and shading; the inner table sits in the second row's first cell.
    QCOMPARE(html.count(QLatin1String("<table")), 2);
    QCOMPARE(html.count(QLatin1String("<tr>")), 3);
    QCOMPARE(html.count(QLatin1String("<td")), 5);
    QVERIFY(html.indexOf(QLatin1String("before</span></p>\n<table>")) >= 0
        || html.indexOf(QLatin1String("before</p>\n<table>")) >= 0);
    QVERIFY(html.contains(
        QLatin1String("<tr><td width=\"96\" style=\"padding-left:7.2px;padding-right:7.2px;"
                      "border-bottom:2px solid #000000;background-color:#ffff00\"><p align=\"center\">")));
    QVERIFY(
        html.contains(QLatin1String("<td width=\"192\" style=\"padding-left:7.2px;padding-right:7.2px\">")));
    const qsizetype inner = html.indexOf(QLatin1String("<table"), html.indexOf(QLatin1String("<table")) + 1);
    QVERIFY(html.lastIndexOf(QLatin1String("A2"), inner) > html.indexOf(QLatin1String("second")));
    QVERIFY(html.indexOf(QLatin1String(">in<"), inner) > inner);

    // One picture, the hidden one left out, as PNG data of the same image at its goal size.
    static const QRegularExpression picture(
        QStringLiteral("<img src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\" alt=\"\" "
                       "style=\"width:([0-9.]+)px;height:([0-9.]+)px\">"));
    QCOMPARE(html.count(QLatin1String("<img")), 1);
    const QRegularExpressionMatch match = picture.match(html);
    QVERIFY(match.hasMatch());
    const QImage decoded = QImage::fromData(QByteArray::fromBase64(match.captured(1).toLatin1()), "PNG");
    QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), image);
    QCOMPARE(match.captured(2), QStringLiteral("100"));
    QCOMPARE(match.captured(3), QStringLiteral("75"));
}

void TestRtf::paneLoads()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile::copy(QStringLiteral(VANTELA_TEST_DATA "/rtf/valencia-libreoffice.rtf"), "text.rtf");
    QFile plain("plain.rtf");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("Just words");
    plain.close();

    RichTextPane pane;
    pane.setFont(QFont(QStringLiteral("Liberation Serif"), 11));
    pane.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.setBackgroundColor(QColor(Qt::white));
    pane.resize(300, 200);
    pane.show();
    QVERIFY(pane.loadFromFile("text.rtf"));
    QVERIFY(pane.toPlainText().contains("oscil·loscopi"));
    QVERIFY(pane.isReadOnly());
    QCOMPARE(pane.frameShape(), QFrame::NoFrame);
    QCOMPARE(pane.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(pane.document()->defaultFont().family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(pane.palette().color(QPalette::Base), QColor(Qt::white));

    // A file that is no rich text is refused with a message naming it; the pane keeps its text.
    QStringList reported;
    ErrorBox::setRecorder([&](const QString &text) { reported << text; });
    const QString before = pane.toPlainText();
    QVERIFY(!pane.loadFromFile("plain.rtf"));
    QCOMPARE(reported, QStringList { "The file plain.rtf is not a valid rich text." });
    QCOMPARE(pane.toPlainText(), before);

    // A text that breaks off shows what could be read, and says so.
    QFile cut("cut.rtf");
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write("{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\f0 Just words\\par More");
    cut.close();
    reported.clear();
    QVERIFY(!pane.loadFromFile("cut.rtf"));
    QCOMPARE(reported, QStringList { "The file cut.rtf is damaged: only part of it could be read." });
    QCOMPARE(pane.toPlainText(), QStringLiteral("Just words\nMore"));
    QCOMPARE(pane.document()->defaultFont().family(), QStringLiteral("Liberation Serif"));
    ErrorBox::setRecorder({});

    // The text reaches assistive technology.
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(&pane);
    QVERIFY(access);
    QVERIFY(access->textInterface());
    QCOMPARE(access->textInterface()->text(0, 10), QStringLiteral("Just words"));
    QDir::setCurrent(previous);
}

void TestRtf::paneKeepsContentOnMissingFile()
{
    QStringList reported;
    ErrorBox::setRecorder([&](const QString &text) { reported << text; });
    RichTextPane pane;
    pane.setPlainText("\n\n");
    QVERIFY(!pane.loadFromFile("nosuchfile.rtf"));
    QCOMPARE(reported, QStringList { "Cannot open file nosuchfile.rtf." });
    QCOMPARE(pane.toPlainText(), QStringLiteral("\n\n"));
    ErrorBox::setRecorder({});
}

void TestRtf::paneTyping()
{
    RichTextPane pane;
    pane.show();
    pane.setFocus();
    QTest::keyClicks(&pane, "abc");
    QCOMPARE(pane.toPlainText(), QString());

    pane.setAcceptsTyping(true);
    QVERIFY(!pane.isReadOnly());
    QTest::keyClicks(&pane, "abc");
    QCOMPARE(pane.toPlainText(), QStringLiteral("abc"));
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
