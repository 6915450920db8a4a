#include "cputimer.h"
#include "rtfhtmlwriter.h"
#include "rtfreader.h"
#include "rtftextwriter.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QtTest>

namespace {

// Words and symbols that steer the reader into its less common paths.
const char *const kSplices[] = {
    "{",
    "}",
    "\\",
    "\\'",
    "\\'9",
    "\\u-1",
    "\\u55357?",
    "\\uc9",
    "\\bin99999 ",
    "\\bin-3 ",
    "\\*",
    "{\\*\\ud ",
    "{\\upr ",
    "\\trowd",
    "\\cellx-99999",
    "\\cell",
    "\\row",
    "\\nestcell",
    "\\nestrow",
    "\\itap9",
    "\\intbl",
    "{\\*\\nesttableprops ",
    "{\\pict\\pngblip ",
    "{\\pict\\dibitmap0 28000000",
    "{\\pict\\wbitmap0\\picw9999\\pich9999 ",
    "\\fs-40",
    "\\f99999999999",
    "\\ansicpg932 ",
    "\\'82",
    "{\\fonttbl ",
    "{\\colortbl ",
    "\\cf-5",
    "\\tx-1",
    "\\li99999999",
    "\\par",
    "\\pard",
    "\\plain",
    "\\v",
    "{\\field{\\*\\fldinst ",
};

QList<QByteArray> seeds()
{
    QList<QByteArray> files;
    const QDir dir(QStringLiteral(VANTELA_TEST_DATA "/rtf"));
    for (const QString &name : dir.entryList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files << file.readAll();
    }
    return files;
}

} // namespace

/**
 * Truncated and mutated copies of real files, read one after another: every read must end, in
 * bounded time, without crashing. The sanitizer build turns any memory fault into a failure.
 */
class TestRtfRobust : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void truncated();
    void mutated();
    void pathological_data();
    void pathological();

private:
    QList<QByteArray> m_seeds;
    void readBounded(const QByteArray &data);
    QElapsedTimer m_total;
};

void TestRtfRobust::initTestCase()
{
    m_seeds = seeds();
    QVERIFY(m_seeds.size() >= 4);
    m_total.start();
}

void TestRtfRobust::readBounded(const QByteArray &data)
{
    CpuTimer timer;
    QTextDocument doc;
    Rtf::read(data, &doc);
    QVERIFY2(timer.elapsed() < 5000, "one read took more than five seconds");

    // The streaming writers keep their own structure; it must hold up as the document does, and
    // what they write stays in proportion to the input (a table's cells are bounded apart).
    timer = CpuTimer();
    QBuffer html;
    html.open(QIODevice::WriteOnly);
    Rtf::HtmlWriter htmlWriter(&html);
    Rtf::read(data, htmlWriter);
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    Rtf::TextWriter textWriter(&text);
    Rtf::read(data, textWriter);
    QVERIFY2(timer.elapsed() < 5000, "one written read took more than five seconds");
    QVERIFY(htmlWriter.ok() && textWriter.ok());
    QVERIFY(text.size() <= 16 * data.size() + 200000);
}

void TestRtfRobust::truncated()
{
    for (const QByteArray &seed : std::as_const(m_seeds)) {
        const qsizetype step = std::max<qsizetype>(1, seed.size() / 150);
        for (qsizetype length = 0; length <= seed.size(); length += step)
            readBounded(seed.left(length));
    }
}

void TestRtfRobust::mutated()
{
    QRandomGenerator random(20260101); // fixed, so every run reads the same inputs
    for (int round = 0; round < 600; ++round) {
        QByteArray data = m_seeds[round % m_seeds.size()];
        const int edits = 1 + int(random.bounded(8));
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            const qsizetype at = random.bounded(int(data.size()));
            switch (random.bounded(4)) {
            case 0: // flip a byte
                data[at] = char(random.bounded(256));
                break;
            case 1: // drop a run
                data.remove(at, random.bounded(64));
                break;
            case 2: // duplicate a run
                data.insert(at, data.mid(at, random.bounded(256)));
                break;
            default: // splice in a control word
                data.insert(at, kSplices[random.bounded(int(std::size(kSplices)))]);
                break;
            }
        }
        readBounded(data);
    }
    QVERIFY2(m_total.elapsed() < 20000, "the robustness suite took more than twenty seconds");
}

void TestRtfRobust::pathological_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("open braces") << "{\\rtf1 " + QByteArray(1 << 20, '{');
    QTest::newRow("close braces") << "{\\rtf1 " + QByteArray(1 << 20, '}');
    QTest::newRow("paragraphs") << "{\\rtf1 " + QByteArray("\\par").repeated(100000) + "}";
    QTest::newRow("format flips") << "{\\rtf1 " + QByteArray("\\b a\\b0 a").repeated(100000) + "}";
    QTest::newRow("cells") << "{\\rtf1 \\intbl " + QByteArray("\\cell").repeated(100000) + "}";
    QTest::newRow("rows") << "{\\rtf1 " + QByteArray("\\intbl\\cell\\row").repeated(50000) + "}";
    QTest::newRow("nesting levels") << "{\\rtf1 "
            + QByteArray("\\itap8\\intbl x\\nestcell\\nestrow").repeated(20000) + "}";
    QTest::newRow("fonts") << "{\\rtf1{\\fonttbl " + QByteArray("{\\f7 X;}").repeated(50000) + "}x}";
    QTest::newRow("colours") << "{\\rtf1{\\colortbl " + QByteArray("\\red1;").repeated(50000) + "}x}";
    QTest::newRow("tabs") << "{\\rtf1 " + QByteArray("\\tx100").repeated(50000) + " x\\par}";
    QTest::newRow("pictures") << "{\\rtf1 " + QByteArray("{\\pict\\pngblip 00}").repeated(20000) + "}";
    QTest::newRow("unicode skips") << "{\\rtf1\\uc16 " + QByteArray("\\u233 ").repeated(100000) + "}";
    QTest::newRow("double-byte") << "{\\rtf1\\ansicpg936 " + QByteArray("\\'81").repeated(100000) + "}";
}

void TestRtfRobust::pathological()
{
    QFETCH(QByteArray, input);
    readBounded(input);
}

QTEST_MAIN(TestRtfRobust)
#include "tst_rtfrobust.moc"
