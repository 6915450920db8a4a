// The texts we write ourselves, read as an editor reads them: every rich text the windows load and
// the help, in both languages, checked for the slips that once crept in, so that they cannot come
// back. Valencian follows the AVL norm; both languages name the controls as the panel prints them.
// The windows' own captions and menu entries are not ours and keep their spelling: they live in the
// windows' code, and where the help quotes them it marks them as quotations.

#include "behaviourcases.h"
#include "hm203tasks.h"
#include "referencefigures.h"
#include "rtfreader.h"
#include "rtftextwriter.h"
#include "traceexplanation.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {

/** A window's two rich texts, as it picks them by its language. */
struct RichTextPair
{
    const char *window;
    const char *castilian;
    const char *valencian;
};

const RichTextPair kRichTexts[] = {
    { "TForm11", "estc1.rtf", "estv1.rtf" },
    { "TForm11", "estc2.rtf", "estv2.rtf" },
    { "TForm11", "estc3.rtf", "estv3.rtf" },
    { "TForm8", "uni8c.rtf", "uni8v.rtf" },
    { "TForm13", "modof.rtf", "modef.rtf" },
    { "TForm13", "ampvcast.rtf", "ampvval.rtf" },
    { "TForm13", "basetie.rtf", "basetem.rtf" },
    { "TForm13", "amphcast.rtf", "amphval.rtf" },
    { "TForm13", "testc.rtf", "testv.rtf" },
    { "TForm13", "variosc.rtf", "variosv.rtf" },
    { "TForm14", "fil.rtf", "filv.rtf" },
    { "TForm14", "catodo.rtf", "catodov.rtf" },
    { "TForm14", "rejilla.rtf", "rejillav.rtf" },
    { "TForm14", "primera.rtf", "primerav.rtf" },
    { "TForm14", "eenfoque.rtf", "enfoquev.rtf" },
    { "TForm14", "sanodo.rtf", "sanodov.rtf" },
    { "TForm14", "deflexion.rtf", "deflexv.rtf" },
    { "TForm14", "afinal.rtf", "afinalv.rtf" },
    { "TForm14", "pantalla.rtf", "pantv.rtf" },
    { "TForm17", "dcanalc.rtf", "dcanalv.rtf" },
    { "TForm19", "evertc.rtf", "evertv.rtf" },
    { "TForm22", "ehorc1.rtf", "ehorv1.rtf" },
    { "TForm22", "ehorizc2.rtf", "ehorizv2.rtf" },
    { "TForm22", "ehoriz3c.rtf", "ehoriz3v.rtf" },
};

const char kHelpFile[] = "Ayuda.html";

enum class Language { Castilian, Valencian, Both };

/** A slip: what our texts in a language must not write, and what they write instead. */
struct Slip
{
    const char *name;
    Language language;
    const char16_t *pattern;
    const char16_t *why;
    bool caseSensitive = false;
};

const Slip kSlips[] = {
    // the Valencian norm, and one name for the component tester
    { "l.l", Language::Valencian, uR"(\w*l\.l\w*)",
        u"the geminate l is written l·l (oscil·loscopi, el·lipse, paral·lel)" },
    { "escaneig", Language::Valencian, uR"(\bescane(?:ig|j)\w*)", u"the sweep is l'escombratge" },
    { "sinusoidal", Language::Valencian, uR"(\bsinusoidal\w*)", u"sinusoïdal takes its diaeresis" },
    { "senoidal", Language::Valencian, uR"(\bsenoid\w*)",
        u"senoidal is Castilian; Valencian says sinusoïdal, sinusoide" },
    { "-eix", Language::Valencian,
        uR"(\b(?:afeg|constru|convert|decid|distribu|divid|exist|expand|inclu|invert|ofer|produ|redu|substitu)eix\w*)",
        u"the Valencian present ends in -ix: decidix, dividix, produïx, expandix" },
    { "llegeix", Language::Valencian, uR"(\bllegeix\w*)",
        u"the Valencian present of llegir is llig, lliges, lligen" },
    { "provador", Language::Valencian, uR"(\bprovador\w*)",
        u"the component tester is the comprovador de components" },
    // the Castilian terms the course settled on
    { "tester", Language::Castilian, uR"(\btester de componentes|\bprobador\w*)",
        u"the component tester is the comprobador de componentes" },
    { "arcsin", Language::Castilian, uR"(\barcsin\b)", u"the course writes arc sen" },
    { "sólo", Language::Castilian, uR"(\bs[óÓ]lo\b)", u"the adverb solo takes no accent" },
    { "aquest", Language::Valencian, uR"(\baquest(?:a|s|es)?\b)",
        u"one demonstrative throughout: este, esta, estos, estes" },
    // in both languages the controls keep the names the panel prints
    { "INVERT", Language::Both, uR"(\bINVERT\b)", u"the panel has INV I and INV II", true },
    { "CHOP", Language::Both, uR"(\bCHOP\b)", u"the panel has no CHOP: chopped is DUAL + ADD", true },
    { "Level", Language::Both, uR"(\bLevel\b)", u"the knob is printed LEVEL", true },
    { "hold-off", Language::Both, uR"(\bhold-off\b)", u"the knob is printed HOLD OFF" },
    { "full stops", Language::Both, uR"(\b(?:TRIG|INP|EXT|INTENS)\b(?!\.))",
        u"the panel prints TRIG., TRIG. INP., EXT. and INTENS. with their full stops", true },
    { "MAG ×", Language::Both, uR"(MAG\W*×\d+)", u"the buttons are printed X-MAG x10 and Y-MAG x5" },
    { "CA-CC", Language::Both,
        uR"(\b(?:(?:CA|CC|AF|BF|GD)[ ,/-]+)+(?:CA|CC|AF|BF)\b|\b(?:CA|CC|AF|BF)[ ,/-]+GD\b|\ben (?:CA|CC|AF|BF)\b)",
        u"the panel prints the couplings AC, DC, GD, HF and LF", true },
    // an abbreviation's full stop closing a sentence is the sentence's own ("suelta EXT.")
    { "double full stop", Language::Both, uR"(\.[ \t\x{00A0}]*\.)", u"a sentence ends with one full stop" },
    { "0,6 V", Language::Both,
        uR"(0,6[ \x{00A0}]?V(?![p/\w])[^.\n]*\bVpp\b|\bVpp\b[^.\n]*0,6[ \x{00A0}]?V(?![p/\w]))",
        u"beside other peak-to-peak values the trigger's 0,6 V is written 0,6 Vpp" },
};

QRegularExpression expressionOf(const Slip &slip)
{
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!slip.caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(QString::fromUtf16(slip.pattern), options);
}

/** Some text of ours: where it comes from, its language and what it says as plain text. */
struct Source
{
    QString name;
    Language language;
    QString text;
    bool readWhole; // false when the reader stopped early or found no RTF
};

QString appFile(const QString &name)
{
    return QDir(QStringLiteral(VANTELA_APP_DIR)).filePath(name);
}

QByteArray readAll(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

/** A window's rich text as the window shows it, through the program's own reader. */
Source richText(const char *window, const char *file, Language language)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    Rtf::TextWriter writer(&out);
    const Rtf::ReadResult result = Rtf::read(readAll(appFile(QLatin1String(file))), writer);
    return { QStringLiteral("%1 (%2)").arg(QLatin1String(file), QLatin1String(window)), language,
        QString::fromUtf8(out.data()), result.isRtf && result.complete && writer.ok() };
}

/** The end of the element whose start tag ends at `from`, counting elements of its kind inside. */
qsizetype elementEnd(const QString &html, const QString &tag, qsizetype from)
{
    const QRegularExpression mark(QStringLiteral("<(/?)%1\\b[^>]*>").arg(tag));
    int depth = 1;
    for (QRegularExpressionMatchIterator it = mark.globalMatch(html, from); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        depth += match.captured(1).isEmpty() ? 1 : -1;
        if (depth == 0)
            return match.capturedEnd();
    }
    return html.size();
}

/**
 * The help's two languages: the Valencian is what stands in elements marked lang="ca-valencia",
 * the Castilian all the rest. The menu entries and window texts it quotes (menu spans and italics)
 * are the windows' words, not ours, and are left out.
 */
QList<Source> helpTexts()
{
    const QString html = QString::fromLatin1(readAll(appFile(QLatin1String(kHelpFile))));
    static const QRegularExpression valencianStart(
        QStringLiteral(R"(<(\w+)\b[^>]*\blang="ca-valencia"[^>]*>)"));
    QString castilian;
    QString valencian;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = valencianStart.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch start = it.next();
        if (start.capturedStart() < done)
            continue;
        const qsizetype end = elementEnd(html, start.captured(1), start.capturedEnd());
        castilian += html.mid(done, start.capturedStart() - done);
        valencian += html.mid(start.capturedStart(), end - start.capturedStart());
        done = end;
    }
    castilian += html.mid(done);

    static const QRegularExpression quotation(QStringLiteral(R"(<span class="menu">.*?</span>|<i>.*?</i>)"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto plain
        = [](QString part) { return QTextDocumentFragment::fromHtml(part.remove(quotation)).toPlainText(); };
    const QString name = QLatin1String(kHelpFile);
    return {
        { name + QStringLiteral(" (castellano)"), Language::Castilian, plain(castilian), !html.isEmpty() },
        { name + QStringLiteral(" (valencià)"), Language::Valencian, plain(valencian), !valencian.isEmpty() }
    };
}

/**
 * What the live oscilloscope says in a language: its tasks' goals, the verdicts its judges give and
 * its explanations of why the trace cannot be seen, over many states a student can reach (warming up,
 * every control anywhere, answers typed or not), and the readings of every control at every position.
 */
Source instrumentTexts(Language language)
{
    const bool castilian = language == Language::Castilian;
    QStringList said;
    QRandomGenerator random(2024);
    for (const Hm203Task &task : hm203Tasks()) {
        said << (castilian ? task.goal.castilian : task.goal.valencian);
        // Each task's signal, or none, also reaches the trigger through TRIG. INP., in AT and in NORM:
        // states the random turns below seldom reach.
        for (const int state : { 0, 1, 2, 3 }) {
            const int norm = state % 2;
            Hm203 external;
            GeneratorSettings generator;
            task.prepare(generator, 0);
            if (state >= 2)
                generator.amplitudeIVpp = 0.0;
            external.setGenerator(generator);
            external.setValue(Hm203Control::ExtTrigger, 1);
            external.setValue(Hm203Control::AtNorm, norm);
            const BeamMoment moment { 0.0, 1e9 };
            const TaskVerdict verdict = judgeTask(task, external, moment, std::nullopt);
            const TraceExplanation explanation = explainTrace(external, moment);
            said << (castilian ? verdict.castilian : verdict.valencian)
                 << (castilian ? explanation.castilian : explanation.valencian);
        }
        for (int round = 0; round < 300; ++round) {
            Hm203 scope;
            GeneratorSettings generator;
            task.prepare(generator, random.generate());
            if (round % 3 == 0)
                generator.hookup = Hookup(random.bounded(4));
            scope.setGenerator(generator);
            for (int turn = 0; turn < round % 8; ++turn) {
                const Hm203ControlInfo &info = hm203Controls().at(random.bounded(kHm203ControlCount));
                scope.setValue(info.id, random.bounded(info.minimum, info.maximum + 1));
            }
            const std::optional<double> answer
                = round % 2 ? std::optional<double>(random.bounded(200.0) - 100.0) : std::nullopt;
            const BeamMoment moment { 0.0, round % 10 ? 1e9 : 1.0 };
            const TaskVerdict verdict = judgeTask(task, scope, moment, answer);
            said << (castilian ? verdict.castilian : verdict.valencian);
            // The explanation reads the same states; a sixth of them hold all its wordings.
            if (round % 6 == 0) {
                const TraceExplanation explanation = explainTrace(scope, moment);
                said << (castilian ? explanation.castilian : explanation.valencian);
            }
        }
    }
    const ::Language reading = castilian ? ::Language::Castilian : ::Language::Valencian;
    const Hm203 scope;
    for (const Hm203ControlInfo &info : hm203Controls())
        for (int position = info.minimum; position <= info.maximum; ++position) {
            Hm203 turned = scope;
            turned.setValue(info.id, position);
            said << turned.valueText(info.id, reading) << turned.spokenValueText(info.id, reading);
            if (position == info.minimum || position == info.maximum) {
                const TraceExplanation explanation = explainTrace(turned);
                said << (castilian ? explanation.castilian : explanation.valencian);
            }
        }
    said.removeDuplicates();
    return { castilian ? QStringLiteral("the virtual oscilloscope (castellano)")
                       : QStringLiteral("the virtual oscilloscope (valencià)"),
        language, said.join(QLatin1Char('\n')), true };
}

/** The sentence under each behaviour-case picture. */
Source behaviourTexts(Language language)
{
    QStringList said;
    for (const BehaviourCase &row : behaviourCases())
        said << (language == Language::Castilian ? row.castilian : row.valencian);
    said << (language == Language::Castilian ? restingScreen().castilian : restingScreen().valencian);
    return { QStringLiteral("the behaviour cases (%1)")
                 .arg(language == Language::Castilian ? QStringLiteral("castellano")
                                                      : QStringLiteral("valencià")),
        language, said.join(QLatin1Char('\n')), true };
}

/** The words of the block diagrams: every box, arrow and note, one label a line. */
Source diagramTexts(Language language)
{
    const ::Language art = language == Language::Castilian ? ::Language::Castilian : ::Language::Valencian;
    QStringList said;
    for (const ReferenceDiagram &picture : referenceDiagrams()) {
        const Diagram diagram = picture.build();
        for (const DiagramBox &box : diagram.boxes)
            said << box.label.in(art);
        for (const DiagramArrow &arrow : diagram.arrows)
            said << arrow.label.in(art);
        for (const DiagramNote &note : diagram.notes)
            said << note.text.in(art);
    }
    said.removeAll(QString());
    return { QStringLiteral("the block diagrams (%1)")
                 .arg(language == Language::Castilian ? QStringLiteral("castellano")
                                                      : QStringLiteral("valencià")),
        language, said.join(QLatin1Char('\n')), true };
}

/** Every Valencian text we write: a further source of it joins here, and every slip is checked in it. */
QList<Source> valencianTexts()
{
    QList<Source> sources;
    for (const RichTextPair &pair : kRichTexts)
        sources << richText(pair.window, pair.valencian, Language::Valencian);
    sources << helpTexts().at(1) << instrumentTexts(Language::Valencian)
            << behaviourTexts(Language::Valencian) << diagramTexts(Language::Valencian);
    return sources;
}

/** Every Castilian text we write, as valencianTexts() gathers the Valencian. */
QList<Source> castilianTexts()
{
    QList<Source> sources;
    for (const RichTextPair &pair : kRichTexts)
        sources << richText(pair.window, pair.castilian, Language::Castilian);
    sources << helpTexts().at(0) << instrumentTexts(Language::Castilian)
            << behaviourTexts(Language::Castilian) << diagramTexts(Language::Castilian);
    return sources;
}

bool applies(const Slip &slip, Language language)
{
    return slip.language == Language::Both || slip.language == language;
}

const Slip *slipNamed(const QString &name)
{
    for (const Slip &slip : kSlips)
        if (name == QLatin1String(slip.name))
            return &slip;
    return nullptr;
}

} // namespace

class TestTextStyle : public QObject
{
    Q_OBJECT

private slots:
    void everyRichTextBelongsToAWindow();
    void everySourceReads_data();
    void everySourceReads();
    void textsAvoidTheirSlips_data();
    void textsAvoidTheirSlips();
    void slipsAreToldFromTheNorm_data();
    void slipsAreToldFromTheNorm();
};

void TestTextStyle::everyRichTextBelongsToAWindow()
{
    // a new rich text has to be placed in a window's pair, and so in its language, to be read here
    QStringList listed;
    for (const RichTextPair &pair : kRichTexts)
        listed << QLatin1String(pair.castilian) << QLatin1String(pair.valencian);
    const QStringList present
        = QDir(QStringLiteral(VANTELA_APP_DIR)).entryList({ QStringLiteral("*.rtf") }, QDir::Files);
    for (const QString &file : present)
        QVERIFY2(listed.count(file) == 1, qPrintable(file + QStringLiteral(" is not in one window's pair")));
    for (const QString &file : listed)
        QVERIFY2(present.contains(file), qPrintable(file + QStringLiteral(" is missing")));
    QVERIFY(QFile::exists(appFile(QLatin1String(kHelpFile))));
}

void TestTextStyle::everySourceReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readWhole");
    for (const Source &source : valencianTexts() + castilianTexts())
        QTest::newRow(qPrintable(source.name)) << source.text << source.readWhole;
}

void TestTextStyle::everySourceReads()
{
    // a text that fails to read would pass every check below without saying a word
    QFETCH(QString, text);
    QFETCH(bool, readWhole);
    QVERIFY(readWhole);
    QVERIFY(text.simplified().size() > 40);
}

void TestTextStyle::textsAvoidTheirSlips_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRegularExpression>("slip");
    QTest::addColumn<QString>("why");
    for (const Source &source : valencianTexts() + castilianTexts())
        for (const Slip &slip : kSlips)
            if (applies(slip, source.language))
                QTest::addRow("%s: %s", qPrintable(source.name), slip.name)
                    << source.name << source.text << expressionOf(slip) << QString::fromUtf16(slip.why);
}

void TestTextStyle::textsAvoidTheirSlips()
{
    QFETCH(QString, source);
    QFETCH(QString, text);
    QFETCH(QRegularExpression, slip);
    QFETCH(QString, why);
    QStringList found;
    for (const QRegularExpressionMatch &match : slip.globalMatch(text))
        found << match.captured();
    found.removeDuplicates();
    QVERIFY2(found.isEmpty(),
        qPrintable(
            QStringLiteral("%1 writes \"%2\": %3").arg(source, found.join(QStringLiteral("\", \"")), why)));
}

void TestTextStyle::slipsAreToldFromTheNorm_data()
{
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("caught");
    const auto row = [](const char *slip, const char16_t *sample, bool caught) {
        QTest::addRow("%s: %s", slip, qPrintable(QString::fromUtf16(sample)))
            << QString::fromLatin1(slip) << QString::fromUtf16(sample) << caught;
    };
    row("l.l", u"Oscil.loscopis de doble canal", true);
    row("l.l", u"una el.lipse inclinada", true);
    row("l.l", u"l'oscil·loscopi i l'el·lipse", false);
    row("l.l", u"1 MHz aprox. la traça", false);
    row("escaneig", u"el generador d'escaneig", true);
    row("escaneig", u"Amb escanejos ràpids", true);
    row("escaneig", u"el senyal escanejat", true);
    row("escaneig", u"l'escombratge i els escombratges", false);
    row("sinusoidal", u"senyals sinusoidals", true);
    row("sinusoidal", u"un senyal sinusoïdal, dues sinusoides", false);
    row("senoidal", u"Característiques d'un senyal senoidal", true);
    row("-eix", u"el circuit que decideix", true);
    row("-eix", u"les imatges que produeixen", true);
    row("-eix", u"INV I i INV II inverteixen el seu canal", true);
    row("-eix", u"decidix, dividix, produïx, expandix", false);
    row("-eix", u"el mateix feix en l'eix vertical", false);
    row("llegeix", u"el que es llegeix", true);
    row("llegeix", u"el que es llig, el que lliges", false);
    row("provador", u"El provador de components", true);
    row("provador", u"el comprovador de components", false);
    row("tester", u"tester de componentes", true);
    row("tester", u"COMPONENT TESTER pulsado: el comprobador de componentes", false);
    row("arcsin", u"φ = arcsin (a / b)", true);
    row("arcsin", u"φ = arc sen (a / b)", false);
    row("INVERT", u"con INVERT pulsado", true);
    row("INVERT", u"con INV II, invertido", false);
    row("CHOP", u"troceada (CHOP)", true);
    row("CHOP", u"troceada (DUAL + ADD), chopper", false);
    row("Level", u"SLOPE y Level", true);
    row("Level", u"SLOPE y LEVEL", false);
    row("hold-off", u"el tiempo de hold-off", true);
    row("hold-off", u"el tiempo que fija HOLD OFF", false);
    row("full stops", u"(TRIG INP, con EXT pulsado)", true);
    row("full stops", u"El mando INTENS regula", true);
    row("full stops", u"(TRIG. INP., con EXT. pulsado); INTENS.", false);
    row("MAG ×", u"X-MAG ×10 expande", true);
    row("MAG ×", u"X-MAG x10 e Y-MAG x5; una sonda ×10", false);
    row("sólo", u"sólo se ve el canal I", true);
    row("sólo", u"solo se ve el canal I, un sólido", false);
    row("aquest", u"torna a posar aquesta amplitud", true);
    row("aquest", u"reté el senyal aquest temps", true);
    row("aquest", u"torna a posar esta amplitud, este temps", false);
    row("CA-CC", u"Acoplamiento CA-CC-GD", true);
    row("CA-CC", u"Acoblament CA-CC-AF-BF", true);
    row("CA-CC", u"TRIG. en AF deja fuera el zumbido", true);
    row("CA-CC", u"Acoplamiento AC-DC-GD; TRIG. en AC, DC, HF, LF o ~; la cara", false);
    row("CA-CC", u"máx. 400 V (CC + pico CA)", false);
    row("double full stop", u"o en AT el barrido arranca: suelta EXT..", true);
    row("double full stop", u"deixa anar EXT. .", true);
    row("double full stop", u"suelta EXT. Luego, y así…", false);
    row("0,6 V", u"el disparo necesita 0,6 V, y la señal solo tiene 0,4 Vpp", true);
    row("0,6 V", u"Los 6 Vpp llegan como 0,6 V: 0,6 divisiones", true);
    row("0,6 V", u"el disparo necesita 0,6 Vpp, y la señal solo tiene 0,4 Vpp", false);
    row("0,6 V", u"6 Vpp a 0,6 V/div. Por TRIG. INP. necesita 0,6 V", false);
}

void TestTextStyle::slipsAreToldFromTheNorm()
{
    QFETCH(QString, slip);
    QFETCH(QString, sample);
    QFETCH(bool, caught);
    const Slip *rule = slipNamed(slip);
    QVERIFY(rule);
    const QRegularExpression expression = expressionOf(*rule);
    QVERIFY2(expression.isValid(), qPrintable(expression.errorString()));
    QCOMPARE(expression.match(sample).hasMatch(), caught);
}

QTEST_MAIN(TestTextStyle)
#include "tst_textstyle.moc"
