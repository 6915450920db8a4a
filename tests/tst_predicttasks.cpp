#include "taskprediction.h"
#include "taskstestsupport.h"

namespace {

/** How far a point lies from a polyline, in divisions. */
double distanceTo(const QPointF &p, const QList<QPointF> &line)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QPointF a = line.at(i);
        const QPointF b = line.at(std::min(i + 1, line.size() - 1));
        const QPointF ab = b - a;
        const double length = QPointF::dotProduct(ab, ab);
        const double t = length > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0.0;
        const QPointF d = p - (a + t * ab);
        nearest = std::min(nearest, std::hypot(d.x(), d.y()));
    }
    return nearest;
}

/** Every point of a kind of trace, the pieces one after another. */
QList<QList<QPointF>> piecesOf(const ScreenTraces &screen, TraceKind kind)
{
    QList<QList<QPointF>> pieces;
    for (const Trace &trace : screen.traces)
        if (trace.kind == kind)
            pieces << trace.points;
    return pieces;
}

/**
 * How far apart two screens' pictures lie: the farthest any drawn point of one is from the nearest line
 * of the same kind on the other, both ways, in divisions. Infinite when one shows a kind of trace the
 * other does not.
 */
double pictureDistance(const Hm203 &first, const Hm203 &second)
{
    const ScreenTraces a = picture(first);
    const ScreenTraces b = picture(second);
    double farthest = 0.0;
    for (TraceKind kind : { TraceKind::ChannelI, TraceKind::ChannelII, TraceKind::Sum, TraceKind::XY }) {
        const QList<QList<QPointF>> here = piecesOf(a, kind);
        const QList<QList<QPointF>> there = piecesOf(b, kind);
        if (here.isEmpty() != there.isEmpty())
            return std::numeric_limits<double>::infinity();
        for (const auto &[from, to] : { std::pair(here, there), std::pair(there, here) })
            for (const QList<QPointF> &piece : from)
                for (const QPointF &p : piece) {
                    double nearest = std::numeric_limits<double>::infinity();
                    for (const QList<QPointF> &line : to)
                        nearest = std::min(nearest, distanceTo(p, line));
                    farthest = std::max(farthest, nearest);
                }
    }
    return farthest;
}

std::optional<TaskJudging::Extent> extentI(const Hm203 &scope)
{
    return TaskJudging::extentOf(picture(scope), TraceKind::ChannelI);
}

double periodsShown(const Hm203 &scope)
{
    const ScopeSettings s = scope.scopeSettings();
    return periodsOnScreen(s.channelI.signal.frequencyHz, s.secondsPerDiv);
}

double heightI(const Hm203 &scope)
{
    return extentI(scope) ? extentI(scope)->height() : 0.0;
}

double middleI(const Hm203 &scope)
{
    const std::optional<TaskJudging::Extent> e = extentI(scope);
    return e ? (e->maxY + e->minY) / 2.0 : 0.0;
}

/** The X-Y figure's height where it crosses the vertical axis: its whole height times sin φ. */
double chordXY(const Hm203 &scope)
{
    const QList<QPointF> figure = picture(scope).traces.value(0).points;
    double low = 1e9;
    double high = -1e9;
    for (qsizetype i = 1; i < figure.size(); ++i) {
        const QPointF a = figure.at(i - 1);
        const QPointF b = figure.at(i);
        if ((a.x() < 0.0) != (b.x() < 0.0)) {
            const double y = a.y() + (0.0 - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
            low = std::min(low, y);
            high = std::max(high, y);
        }
    }
    return high > low ? high - low : 0.0;
}

const TaskPrediction &predictionOf(int task)
{
    return *hm203Tasks().at(task).prediction;
}

QList<PredictionChoice> choicesOf(int task, quint32 draw)
{
    GeneratorSettings generator;
    hm203Tasks().at(task).prepare(generator, draw);
    return predictionOf(task).choices(generator, draw);
}

bool useProbe10(Hm203 &scope)
{
    return changeGenerator(scope, [](GeneratorSettings &g) { g.probeI = Probe::Times10; });
}

} // namespace

Q_DECLARE_METATYPE(Reading)

/** The tasks that ask first what the screen will show: their choices, drawn from the model, and their
 * judges once the student has made the change and looks. */
class TestPredictTasks : public QObject
{
    Q_OBJECT

private slots:
    void theChoicesAreWhatTheModelShows_data();
    void theChoicesAreWhatTheModelShows();
    void theRightChoiceMovesWithTheDraw();
    void onlyTheRightChoiceMeetsTheTask();
    void judgesTheLook_data();
    void judgesTheLook() { checkJudgedRow(); }
    void theMetVerdictExplains_data();
    void theMetVerdictExplains();
    void aConfirmedPredictionIsJudgedGently_data();
    void aConfirmedPredictionIsJudgedGently();
};

void TestPredictTasks::theChoicesAreWhatTheModelShows_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("asked");
    QTest::addColumn<Reading>("reading");
    QTest::addColumn<double>("worked");
    /** What the right choice must say, in both languages. */
    QTest::addColumn<QString>("said");

    // 10 divisions of 1 µs against a period of 1 ms: a hundredth of it.
    QTest::newRow("sweep 1 kHz at 1 µs/div")
        << int(PredictSweep) << Setup([](Hm203 &s) { return setTime(s, 1e-6); }) << Reading(periodsShown)
        << 0.01 << QStringLiteral("0,01");
    // 3 Vpp over 0,5 V a division.
    QTest::newRow("3 Vpp at 0,5 V/div")
        << int(PredictSensitivity) << Setup([](Hm203 &s) { return setVolts(s, false, 0.5); })
        << Reading(heightI) << 6.0 << QStringLiteral("6 ");
    // AC takes the 3 V mean away: the sine's middle on the centre line.
    QTest::newRow("2 Vpp on 3 V through AC")
        << int(PredictAc) << Setup([](Hm203 &s) { return setCoupling(s, false, Coupling::AC); })
        << Reading(middleI) << 0.0 << QStringLiteral("centrada en la pantalla");
    // At 90° the figure crosses the vertical axis at its full height, 4 Vpp over 1 V a division.
    QTest::newRow("4 Vpp in X-Y at 90°")
        << int(PredictXY) << Setup([](Hm203 &s) { return setMode(s, DisplayMode::XY); }) << Reading(chordXY)
        << 4.0 << QStringLiteral("4 ");
    // A tenth of 6 Vpp at 1 V a division.
    QTest::newRow("6 Vpp through ×10")
        << int(PredictProbe) << Setup(useProbe10) << Reading(heightI) << 0.6 << QStringLiteral("0,6 ");
}

void TestPredictTasks::theChoicesAreWhatTheModelShows()
{
    QFETCH(int, task);
    QFETCH(Setup, asked);
    QFETCH(Reading, reading);
    QFETCH(double, worked);
    QFETCH(QString, said);

    const TaskPrediction &prediction = predictionOf(task);
    QVERIFY(prediction.question.castilian.endsWith(u'?') && prediction.question.valencian.endsWith(u'?'));
    QVERIFY(!prediction.asked.isEmpty());
    // The instrument as the question starts from it, then the asked change made as a student makes it.
    Hm203 set = startedTask(task);
    QVERIFY(asked(set));
    QVERIFY2(std::abs(reading(set) - worked) <= 0.02, qPrintable(QString::number(reading(set))));

    const QList<PredictionChoice> choices = choicesOf(task, 0);
    QVERIFY(choices.size() >= 3 && choices.size() <= 4);
    QCOMPARE(
        std::count_if(choices.cbegin(), choices.cend(), [](const PredictionChoice &c) { return c.correct; }),
        1);
    QSet<QString> texts;
    for (const PredictionChoice &choice : choices) {
        QVERIFY(!choice.castilian.isEmpty() && !choice.valencian.isEmpty());
        QVERIFY(choice.castilian != choice.valencian);
        QVERIFY2(inTheirLanguages(choice.castilian, choice.valencian), qPrintable(choice.valencian));
        QVERIFY(choice.castilian.endsWith(u'.') && choice.valencian.endsWith(u'.'));
        texts << choice.castilian << choice.valencian;
        const double apart = pictureDistance(choice.pictured, set);
        if (choice.correct) {
            // The right choice pictures the very screen the change gives, and says its number.
            QVERIFY2(apart < 0.01, qPrintable(QString::number(apart)));
            QVERIFY2(choice.castilian.contains(said), qPrintable(choice.castilian));
            QVERIFY2(choice.valencian.contains(said), qPrintable(choice.valencian));
        } else {
            // A wrong idea draws a picture a student tells apart: more than a quarter of a division off.
            QVERIFY2(apart > TaskJudging::kDivisionTolerance, qPrintable(choice.castilian));
        }
    }
    QCOMPARE(texts.size(), 2 * choices.size());
}

void TestPredictTasks::theRightChoiceMovesWithTheDraw()
{
    for (int task = 0; task < hm203Tasks().size(); ++task) {
        if (!hm203Tasks().at(task).prediction)
            continue;
        const qsizetype count = choicesOf(task, 0).size();
        QSet<qsizetype> places;
        for (quint32 draw = 0; draw < quint32(count); ++draw) {
            const QList<PredictionChoice> choices = choicesOf(task, draw);
            const auto right
                = std::find_if(choices.cbegin(), choices.cend(), [](auto &c) { return c.correct; });
            places << right - choices.cbegin();
            // The same draw, the same order: the strip and a second look agree.
            const QList<PredictionChoice> again = choicesOf(task, draw);
            for (qsizetype i = 0; i < count; ++i)
                QCOMPARE(again.at(i).castilian, choices.at(i).castilian);
        }
        QCOMPARE(places.size(), count);
    }
}

void TestPredictTasks::onlyTheRightChoiceMeetsTheTask()
{
    // What each choice pictures, judged as the task judges the instrument: the right one is the setting
    // asked for, and no wrong idea of it meets the task by another way.
    int predictions = 0;
    for (int task = 0; task < hm203Tasks().size(); ++task) {
        const Hm203Task &t = hm203Tasks().at(task);
        if (!t.prediction)
            continue;
        ++predictions;
        for (quint32 draw : { 0u, 1u, 2u, 0xffffffffu })
            for (const PredictionChoice &choice : choicesOf(task, draw)) {
                const TaskVerdict verdict = t.judge(choice.pictured, std::nullopt);
                QVERIFY2(
                    verdict.met == choice.correct, qPrintable(choice.castilian + u' ' + verdict.castilian));
            }
    }
    QVERIFY(predictions >= 4);
}

void TestPredictTasks::judgesTheLook_data()
{
    judgedRowColumns();

    row("sweep as asked", PredictSweep, false, QStringLiteral("1 µs/div"), untouched);
    row("sweep at 1 µs/div", PredictSweep, true, QString(), [](Hm203 &s) { return setTime(s, 1e-6); });
    row("sweep at 1 µs/div lifted", PredictSweep, true, QString(),
        [](Hm203 &s) { return setTime(s, 1e-6) && setPositionI(s, 2.0); });
    row("sweep at 1 ms/div", PredictSweep, false, QStringLiteral("1 ms/div"),
        [](Hm203 &s) { return setTime(s, 1e-3); });
    row("sweep at 1 µs/div magnified", PredictSweep, false, QStringLiteral("X-MAG"),
        [](Hm203 &s) { return setTime(s, 1e-6) && press(s, Hm203Control::XMagnifier); });
    row("sweep at 1 µs/div off CAL", PredictSweep, false, QStringLiteral("CAL"), [](Hm203 &s) {
        return setTime(s, 1e-6) && turnTo(s, Hm203Control::TimeCal, secondsPerDiv, 0.5e-6, 0.05e-6);
    });
    row("sweep of 2 kHz", PredictSweep, false, QStringLiteral("1 kHz"),
        [](Hm203 &s) { return setTime(s, 1e-6) && setFrequency(s, 2000.0); });

    row("sensitivity as asked", PredictSensitivity, false, QStringLiteral("0,5 V/div"), untouched);
    row("sensitivity at 0,5 V/div", PredictSensitivity, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.5); });
    row("sensitivity at 2 V/div", PredictSensitivity, false, QStringLiteral("2 V/div"),
        [](Hm203 &s) { return setVolts(s, false, 2.0); });
    row("sensitivity with Y-MAG", PredictSensitivity, false, QStringLiteral("Y-MAG"),
        [](Hm203 &s) { return setVolts(s, false, 0.5) && press(s, Hm203Control::MagnifyI); });
    row("sensitivity lifted off the top", PredictSensitivity, false, QStringLiteral("Y-POS I"),
        [](Hm203 &s) { return setVolts(s, false, 0.5) && setPositionI(s, 2.0); });
    row("sensitivity of 6 Vpp", PredictSensitivity, false, QStringLiteral("3 Vpp"), [](Hm203 &s) {
        return setVolts(s, false, 0.5)
            && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 6.0; });
    });

    row("AC as asked: DC", PredictAc, false, QStringLiteral("AC/DC I"), untouched);
    row("AC", PredictAc, true, QString(), [](Hm203 &s) { return setCoupling(s, false, Coupling::AC); });
    row("AC at 0,5 V/div", PredictAc, true, QString(),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && setVolts(s, false, 0.5); });
    row("AC grounded", PredictAc, false, QStringLiteral("GD"),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::Ground); });
    row("AC with the DC taken away", PredictAc, false, QStringLiteral("3 V"), [](Hm203 &s) {
        return setCoupling(s, false, Coupling::AC)
            && changeGenerator(s, [](GeneratorSettings &g) { g.offsetIVolts = 0.0; });
    });

    row("X-Y as asked", PredictXY, false, QStringLiteral("X-Y"), untouched);
    row("X-Y", PredictXY, true, QString(), [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    row("X-Y at 0,5 V/div both", PredictXY, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::XY) && setVolts(s, false, 0.5) && setVolts(s, true, 0.5);
    });
    row("X-Y at unequal sensitivities", PredictXY, false, QStringLiteral("VOLTS/DIV"),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY) && setVolts(s, true, 2.0); });
    row("X-Y in step", PredictXY, false, QStringLiteral("90°"), [](Hm203 &s) {
        return setMode(s, DisplayMode::XY)
            && changeGenerator(s, [](GeneratorSettings &g) { g.phaseIIDegrees = 0.0; });
    });
    row("X-Y in DUAL", PredictXY, false, QStringLiteral("X-Y"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); });

    row("probe as asked: ×1", PredictProbe, false, QStringLiteral("sonda ×1"), untouched);
    row("probe ×10", PredictProbe, true, QString(), useProbe10);
    row("probe ×10 at 0,5 V/div", PredictProbe, false, QStringLiteral("1 V/div"),
        [](Hm203 &s) { return useProbe10(s) && setVolts(s, false, 0.5); });
    row("probe ×10 on the calibrator", PredictProbe, false, QStringLiteral("generador"), [](Hm203 &s) {
        return useProbe10(s)
            && changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Calibrator2; });
    });
}

void TestPredictTasks::theMetVerdictExplains_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("asked");
    /** What the explanation must name in Castilian and in Valencian: the physics behind the picture. */
    QTest::addColumn<QStringList>("castilian");
    QTest::addColumn<QStringList>("valencian");

    QTest::newRow("sweep") << int(PredictSweep) << Setup([](Hm203 &s) { return setTime(s, 1e-6); })
                           << QStringList { "10 µs", "1 ms", "recto" }
                           << QStringList { "10 µs", "1 ms", "recte" };
    QTest::newRow("sensitivity") << int(PredictSensitivity)
                                 << Setup([](Hm203 &s) { return setVolts(s, false, 0.5); })
                                 << QStringList { "mitad", "6 divisiones" }
                                 << QStringList { "meitat", "6 divisions" };
    QTest::newRow("AC") << int(PredictAc)
                        << Setup([](Hm203 &s) { return setCoupling(s, false, Coupling::AC); })
                        << QStringList { "condensador", "3 V", "centro" }
                        << QStringList { "condensador", "3 V", "centre" };
    QTest::newRow("X-Y") << int(PredictXY) << Setup([](Hm203 &s) { return setMode(s, DisplayMode::XY); })
                         << QStringList { "90°", "círculo" } << QStringList { "90°", "cercle" };
    QTest::newRow("probe") << int(PredictProbe) << Setup(useProbe10) << QStringList { "décima", "0,6" }
                           << QStringList { "dècima", "0,6" };
}

void TestPredictTasks::theMetVerdictExplains()
{
    QFETCH(int, task);
    QFETCH(Setup, asked);
    QFETCH(QStringList, castilian);
    QFETCH(QStringList, valencian);
    Hm203 scope = startedTask(task);
    QVERIFY(asked(scope));
    const TaskVerdict verdict = hm203Tasks().at(task).judge(scope, std::nullopt);
    QVERIFY2(verdict.met, qPrintable(verdict.castilian));
    // One to three sentences that say why, not a bare word of praise.
    for (const QString &explanation : { verdict.castilian, verdict.valencian }) {
        const qsizetype sentences = explanation.count(QStringLiteral(". ")) + 1;
        QVERIFY2(sentences <= 3 && explanation.size() > 60, qPrintable(explanation));
        QVERIFY(!explanation.contains(u'!'));
    }
    for (const QString &word : castilian)
        QVERIFY2(verdict.castilian.contains(word), qPrintable(verdict.castilian));
    for (const QString &word : valencian)
        QVERIFY2(verdict.valencian.contains(word), qPrintable(verdict.valencian));
}

void TestPredictTasks::aConfirmedPredictionIsJudgedGently_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    QTest::newRow("right, still to look") << true << false << "Has acertado."
                                          << "Has encertat.";
    QTest::newRow("right, seen") << true << true << "Has acertado."
                                 << "Has encertat.";
    QTest::newRow("wrong, still to look") << false << false << "compruébalo"
                                          << "comprova-ho";
    QTest::newRow("wrong, seen") << false << true << "No es lo que esperabas."
                                 << "No és el que esperaves.";
}

void TestPredictTasks::aConfirmedPredictionIsJudgedGently()
{
    QFETCH(bool, right);
    QFETCH(bool, met);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    PredictionChoice chosen;
    chosen.correct = right;
    const TaskVerdict task { { QStringLiteral("Razón."), QStringLiteral("Raó.") }, met, std::nullopt };
    const TaskVerdict verdict = predictionVerdict(chosen, task);
    // Whether the task is met is the instrument's business alone; the prediction only adds its word first.
    QCOMPARE(verdict.met, met);
    QVERIFY(verdict.castilian.startsWith(castilian) || verdict.castilian.contains(castilian));
    QVERIFY(verdict.valencian.contains(valencian));
    QVERIFY(verdict.castilian.endsWith(QStringLiteral(" Razón.")));
    QVERIFY(verdict.valencian.endsWith(QStringLiteral(" Raó.")));
    QVERIFY(inTheirLanguages(verdict.castilian, verdict.valencian));
}

QTEST_MAIN(TestPredictTasks)
#include "tst_predicttasks.moc"
