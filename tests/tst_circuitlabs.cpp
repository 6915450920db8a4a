#include "circuitreadings.h"
#include "circuitsolver.h"
#include "labfile.h"
#include "taskprediction.h"
#include "taskstestsupport.h"

#include <QDir>
#include <QTest>

#include <cmath>
#include <numbers>

// The bench circuits' and the tester's labs: the figures their judges read against the textbook's, and each
// task met by a student's right reading and not by a wrong one.

namespace {

using namespace CircuitReadings;
using namespace TaskJudging;

/** The shipped circuits' parts, as their files and docs/circuits.md give them. */
constexpr double kLoadOhms = 1000.0;
constexpr double kFilterFarads = 100e-6;
constexpr double kMainsHz = 50.0;
constexpr double kRectifierVpp = 24.0;
constexpr double kRcOhms = 1000.0;
constexpr double kRcFarads = 100e-9;
constexpr double kLowPassVpp = 8.0;
constexpr double kRlcHenries = 10e-3;
constexpr double kRlcFarads = 100e-9;

/** The instrument with a bench circuit driven by output I and worked out. */
Hm203 onCircuit(const char *circuit, double hz, double vpp)
{
    Hm203 scope;
    GeneratorSettings generator;
    generator.hookup = Hookup::Circuit;
    generator.circuit = QString::fromLatin1(circuit);
    generator.frequencyHz = hz;
    generator.amplitudeIVpp = vpp;
    scope.setGenerator(generator);
    if (!scope.settleCircuit())
        qWarning("%s: %s", circuit, qPrintable(scope.circuitProblem()));
    return scope;
}

/** The plain mean of a signal over its period, taken slowly. */
double slowMean(const InputSignal &signal)
{
    constexpr int samples = 10000;
    double sum = 0.0;
    for (int i = 0; i < samples; ++i)
        sum += signal.waveformAt(i / (samples * signal.frequencyHz));
    return sum / samples;
}

double cornerHz()
{
    return 1.0 / (2.0 * std::numbers::pi * kRcOhms * kRcFarads);
}

double resonanceHz()
{
    return 1.0 / (2.0 * std::numbers::pi * std::sqrt(kRlcHenries * kRlcFarads));
}

} // namespace

class TestCircuitLabs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void smoothedHalfWaveRippleIsUnderTheTextbooks();
    void rippleRepeats_data();
    void rippleRepeats();
    void cornerIsAtSeventyOneHundredthsAndFortyFiveDegrees_data();
    void cornerIsAtSeventyOneHundredthsAndFortyFiveDegrees();
    void resonancePutsThePhaseThroughZero();
    void testerBends_data();
    void testerBends();
    void newLabsLoad_data();
    void newLabsLoad();
    void tasksJudged_data();
    void tasksJudged();
    void predictionsPictureTheChange_data();
    void predictionsPictureTheChange();
    void testerFiguresTellThePartsApart_data();
    void testerFiguresTellThePartsApart();
};

void TestCircuitLabs::smoothedHalfWaveRippleIsUnderTheTextbooks()
{
    // ΔV = I/(f·C) takes the capacitor as losing the mean load current for a whole period; the diode refills
    // it for part of each, and the current falls as the voltage does, so the simulated ripple is a little
    // under it.
    const Hm203 scope = onCircuit("media_onda_filtro", kMainsHz, kRectifierVpp);
    const InputSignal load = scope.signalII();
    const double textbook = slowMean(load) / kLoadOhms / (kMainsHz * kFilterFarads);
    const double ratio = swingVolts(load) / textbook;
    QVERIFY2(ratio > 0.7 && ratio < 1.0, qPrintable(QString::number(ratio)));
}

void TestCircuitLabs::rippleRepeats_data()
{
    QTest::addColumn<QString>("circuit");
    QTest::addColumn<double>("hz");
    // A half-wave rectifier refills once a period of the mains, a bridge twice.
    QTest::newRow("half wave") << QStringLiteral("media_onda") << kMainsHz;
    QTest::newRow("half wave smoothed") << QStringLiteral("media_onda_filtro") << kMainsHz;
    QTest::newRow("bridge") << QStringLiteral("puente") << 2.0 * kMainsHz;
    QTest::newRow("bridge smoothed") << QStringLiteral("puente_filtro") << 2.0 * kMainsHz;
}

void TestCircuitLabs::rippleRepeats()
{
    QFETCH(QString, circuit);
    QFETCH(double, hz);
    const Hm203 scope = onCircuit(qPrintable(circuit), kMainsHz, kRectifierVpp);
    QCOMPARE(repetitionHz(scope.signalII()), hz);
    // The input itself repeats only once a period.
    QCOMPARE(repetitionHz(scope.signalI()), kMainsHz);
}

void TestCircuitLabs::cornerIsAtSeventyOneHundredthsAndFortyFiveDegrees_data()
{
    QTest::addColumn<QString>("circuit");
    QTest::addColumn<double>("hz");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("lag");
    const double h = 1.0 / std::sqrt(1.0 + 100.0);
    const double degrees = std::atan(10.0) * 180.0 / std::numbers::pi;
    QTest::newRow("low-pass corner") << QStringLiteral("paso_bajo") << cornerHz() << std::numbers::sqrt2 / 2.0
                                     << 45.0;
    QTest::newRow("low-pass tenfold") << QStringLiteral("paso_bajo") << 10.0 * cornerHz() << h << degrees;
    QTest::newRow("high-pass corner")
        << QStringLiteral("paso_alto") << cornerHz() << std::numbers::sqrt2 / 2.0 << -45.0;
    QTest::newRow("high-pass tenth") << QStringLiteral("paso_alto") << cornerHz() / 10.0 << h << -degrees;
}

void TestCircuitLabs::cornerIsAtSeventyOneHundredthsAndFortyFiveDegrees()
{
    QFETCH(QString, circuit);
    QFETCH(double, hz);
    QFETCH(double, ratio);
    QFETCH(double, lag);
    const Hm203 scope = onCircuit(qPrintable(circuit), hz, 8.0);
    const double read = swingVolts(scope.signalII()) / swingVolts(scope.signalI());
    QVERIFY2(std::abs(read - ratio) < 0.01, qPrintable(QString::number(read)));
    const double degrees = lagDegrees(scope.signalI(), scope.signalII());
    QVERIFY2(std::abs(degrees - lag) < 1.0, qPrintable(QString::number(degrees)));
}

void TestCircuitLabs::resonancePutsThePhaseThroughZero()
{
    // Below 1/(2π√(LC)) the capacitor wins and the current leads; above it the coil wins and it lags. At it
    // the resistor takes the whole input: CH II is as high as it gets.
    const double f0 = resonanceHz();
    const auto lagAt = [](double hz) {
        const Hm203 scope = onCircuit("rlc_serie", hz, 6.0);
        return std::pair { lagDegrees(scope.signalI(), scope.signalII()),
            swingVolts(scope.signalII()) / swingVolts(scope.signalI()) };
    };
    const auto [below, belowRatio] = lagAt(0.8 * f0);
    const auto [at, atRatio] = lagAt(f0);
    const auto [above, aboveRatio] = lagAt(1.25 * f0);
    QVERIFY2(std::abs(at) < 1.5, qPrintable(QString::number(at)));
    QVERIFY(below < -10.0 && above > 10.0);
    QVERIFY(atRatio > belowRatio && atRatio > aboveRatio);
    QVERIFY2(std::abs(atRatio - 1.0) < 0.02, qPrintable(QString::number(atRatio)));
}

void TestCircuitLabs::testerBends_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<double>("forward");
    QTest::addColumn<double>("reverse");
    QTest::addColumn<double>("within");
    const double none = qQNaN();
    // A silicon junction bends near 0,7 V, a red LED near 1,8 V; the Zener breaks down at its 5,1 V the
    // other way. Straight lines and ellipses do not bend.
    QTest::newRow("1N4148") << QStringLiteral("d1n4148") << 0.7 << none << 0.1;
    QTest::newRow("1N4007") << QStringLiteral("d1n4007") << 0.7 << none << 0.1;
    QTest::newRow("Zener") << QStringLiteral("zener5v1") << 0.75 << -5.1 << 0.3;
    QTest::newRow("red LED") << QStringLiteral("led_rojo") << 1.85 << -5.3 << 0.3;
    QTest::newRow("100 ohms") << QStringLiteral("r100") << none << none << 0.0;
    QTest::newRow("1 kohm") << QStringLiteral("r1k") << none << none << 0.0;
    QTest::newRow("1 uF") << QStringLiteral("c1u") << none << none << 0.0;
    QTest::newRow("10 uF") << QStringLiteral("c10u") << none << none << 0.0;
}

void TestCircuitLabs::testerBends()
{
    QFETCH(QString, part);
    QFETCH(double, forward);
    QFETCH(double, reverse);
    QFETCH(double, within);
    const TesterKnees knees = testerKnees(solveTester(testerPart(part)));
    for (const auto &[read, wanted] :
        { std::pair { knees.forward, forward }, std::pair { knees.reverse, reverse } }) {
        QCOMPARE(read.has_value(), !std::isnan(wanted));
        if (read)
            QVERIFY2(std::abs(*read - wanted) <= within, qPrintable(QString::number(*read)));
    }
}

void TestCircuitLabs::newLabsLoad_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("tasks");
    QTest::newRow("circuits") << QStringLiteral("circuitos.toml") << 10;
    QTest::newRow("tester") << QStringLiteral("comprobador.toml") << 7;
}

void TestCircuitLabs::newLabsLoad()
{
    QFETCH(QString, file);
    QFETCH(int, tasks);
    const LabReading reading = readLabFile(QDir(QStringLiteral(VANTELA_LABS_DIR)).filePath(file));
    QVERIFY(reading.errors.isEmpty());
    QVERIFY(reading.lab);
    QCOMPARE(reading.lab->tasks.size(), tasks);
    // Each is in the course, after every task of the labs before it.
    for (const Hm203Task &task : reading.lab->tasks) {
        const auto found = std::find_if(
            hm203Tasks().begin(), hm203Tasks().end(), [&](const Hm203Task &t) { return t.id == task.id; });
        QVERIFY2(found != hm203Tasks().end(), qPrintable(task.id));
        QVERIFY(found - hm203Tasks().begin() > SmallSignal);
    }
}

void TestCircuitLabs::tasksJudged_data()
{
    judgedRowColumns();
    const auto row = [](const char *name, int task, quint32 draw, const char *answer, bool met,
                         const char *reason, Setup setup) {
        measure(name, task, draw, QString::fromUtf8(answer), met, QString::fromUtf8(reason), setup);
    };
    // Right readings with 24 Vpp from output I, read within a quarter division.
    row("half wave: its crest", HalfWavePeak, 0, "10,8", true, "", settled);
    row("half wave: the input's crest", HalfWavePeak, 0, "12", false, "no coincide", settled);
    row("half wave: not yet worked out", HalfWavePeak, 0, "10,8", false, "simulando", untouched);
    row("smoothed: its crest", SmoothedPeak, 0, "9", true, "", settled);
    row("smoothed: ripple", SmoothedRipple, 0, "1,3", true, "", settled);
    row("smoothed: twice the ripple", SmoothedRipple, 0, "2,6", false, "doble", settled);
    row("smoothed: the level for the ripple", SmoothedRipple, 0, "8,4", false, "no coincide", settled);
    row("bridge: two diodes' drop", BridgePeak, 0, "10,1", true, "", settled);
    row("bridge: one diode's drop", BridgePeak, 0, "10,8", false, "no coincide", settled);
    row("bridge: ripple at twice the mains", BridgeRipple, 0, "100", true, "", settled);
    row("bridge: the mains taken for the ripple", BridgeRipple, 0, "50", false, "", settled);
    row("low-pass: 71 % at the corner", LowPassDual, 0, "71", true, "", settled);
    row("low-pass: half at the corner", LowPassDual, 0, "50 %", false, "no coincide", settled);
    row("low-pass: 45° behind", LowPassXY, 0, "45", true, "", settled);
    row("low-pass: ahead for behind", LowPassXY, 0, "-45", false, "no coincide", settled);
    row("RLC: at resonance", Resonance, 0, "0", true, "", settled);
    row("RLC: below it leads", Resonance, 1, "-45", true, "", settled);
    row("RLC: above it lags", Resonance, 2, "45", true, "", settled);
    row("RLC: in phase off resonance", Resonance, 2, "0", false, "no coincide", settled);
    row("1N4148: its bend", DiodeKnee, 0, "0,7", true, "", testerOn);
    row("1N4148: tester off", DiodeKnee, 0, "0,7", false, "COMPONENT TESTER", untouched);
    row("Zener: forward", ZenerForward, 0, "0,75", true, "", testerOn);
    row("Zener: its breakdown", ZenerKnee, 0, "-5,1", true, "", testerOn);
    row("Zener: the forward bend for the breakdown", ZenerKnee, 0, "0,75", false, "no coincide", testerOn);
    row("LED: anode in the socket", LedLead, 0, "1,85", true, "", testerOn);
    row("LED: the leads the other way", LedLead, 0, "-1,85", false, "no coincide", testerOn);
    row("LED: a silicon diode's bend", LedLead, 0, "0,7", false, "no coincide", testerOn);
    const auto tenfoldSwept = [](Hm203 &s) { return lowPassTenfoldXY(s) && setMode(s, DisplayMode::Dual); };
    const auto smoothedInAc
        = [](Hm203 &s) { return smoothedOnChannelII(s) && setCoupling(s, true, Coupling::AC); };
    const auto smoothedUnsettled = [](Hm203 &s) {
        return changeGenerator(s, [](GeneratorSettings &g) {
            g.circuit = QStringLiteral("media_onda_filtro");
        }) && setMode(s, DisplayMode::ChannelII);
    };
    const auto cornerXY = [](Hm203 &s) { return settled(s) && setMode(s, DisplayMode::XY); };
    row("capacitor: smoothed load on CH II", PredictCapacitor, 0, "", true, "", smoothedOnChannelII);
    row("capacitor: still the bare rectifier", PredictCapacitor, 0, "", false, "Conexión", settled);
    row("capacitor: its DC taken away by AC", PredictCapacitor, 0, "", false, "AC/DC II", smoothedInAc);
    row("capacitor: not yet worked out", PredictCapacitor, 0, "", false, "simulando", smoothedUnsettled);
    const auto otherPart = [](Hm203 &s) {
        return testerOn(s)
            && changeGenerator(s, [](GeneratorSettings &g) { g.testerPart = QStringLiteral("r1k"); });
    };
    row("resistor: its figure", TellResistor, 0, "", true, "", testerOn);
    row("resistor: tester not pressed", TellResistor, 0, "", false, "COMPONENT TESTER", untouched);
    row("capacitor in the tester: its figure", TellCapacitor, 0, "", true, "", testerOn);
    row("capacitor in the tester: a resistor put in", TellCapacitor, 0, "", false, "Condensador de 10 µF",
        otherPart);
    row("diode in the tester: its figure", TellDiode, 0, "", true, "", testerOn);
    row("low-pass tenfold: the figure", PredictLowPassXY, 0, "", true, "", lowPassTenfoldXY);
    row("low-pass tenfold: still at the corner", PredictLowPassXY, 0, "", false, "15,9 kHz", cornerXY);
    row("low-pass tenfold: swept, not X-Y", PredictLowPassXY, 0, "", false, "X-Y", tenfoldSwept);
}

void TestCircuitLabs::tasksJudged()
{
    QFETCH(int, task);
    QFETCH(quint32, draw);
    QFETCH(Setup, setup);
    QFETCH(QString, answer);
    QFETCH(bool, met);
    QFETCH(QString, reason);
    Hm203 scope = startedTask(task, draw);
    QVERIFY(setup(scope));
    std::optional<double> typed;
    if (!answer.isEmpty())
        typed = QLocale(QLocale::Spanish).toDouble(answer);
    const TaskVerdict verdict = hm203Tasks().at(task).judge(scope, typed);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
    QVERIFY(!verdict.valencian.isEmpty());
}

void TestCircuitLabs::predictionsPictureTheChange_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("changed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("said");
    // 100 µF hold the load near its crest: what is left is the ripple the simulated load swings by, read at
    // 5 V/div, the step that shows the bare rectifier's 10,8 V crest whole.
    const QString ripple
        = formatDecimal(swingVolts(onCircuit("media_onda_filtro", kMainsHz, kRectifierVpp).signalII()),
            { .significantDigits = 2 });
    QTest::newRow("100 µF on the half wave")
        << int(PredictCapacitor) << Setup(smoothedOnChannelII) << int(TraceKind::ChannelII)
        << QStringLiteral("%1 V d").arg(ripple);
    // Ten times past the corner CH II is 1/√(1 + 10²) of CH I's 8 Vpp: 0,8 of a division at 1 V/div.
    const QString narrow = formatDecimal(kLowPassVpp / std::sqrt(101.0));
    QTest::newRow("low-pass ten times past its corner") << int(PredictLowPassXY) << Setup(lowPassTenfoldXY)
                                                        << int(TraceKind::XY) << narrow + QStringLiteral(" ");
}

void TestCircuitLabs::predictionsPictureTheChange()
{
    QFETCH(int, task);
    QFETCH(Setup, changed);
    QFETCH(int, kind);
    QFETCH(QString, said);
    const Hm203Task &t = hm203Tasks().at(task);
    QVERIFY(t.prediction);
    GeneratorSettings generator;
    t.prepare(generator, 0);
    const QList<PredictionChoice> choices = t.prediction->choices(generator, 0);
    QCOMPARE(choices.size(), 3);
    QSet<QString> texts;
    for (const PredictionChoice &choice : choices)
        texts << choice.castilian << choice.valencian;
    QCOMPARE(texts.size(), 6);
    // The student's screen once the change is made, as the right choice pictures it.
    Hm203 student = startedTask(task);
    QVERIFY(changed(student));
    const std::optional<Extent> seen = extentOf(picture(student), TraceKind(kind));
    QVERIFY(seen);
    for (const PredictionChoice &choice : choices) {
        const std::optional<Extent> pictured = extentOf(picture(choice.pictured), TraceKind(kind));
        QVERIFY(pictured);
        const double apart
            = std::max({ std::abs(pictured->minY - seen->minY), std::abs(pictured->maxY - seen->maxY),
                std::abs(pictured->minX - seen->minX), std::abs(pictured->maxX - seen->maxX) });
        if (choice.correct) {
            QVERIFY2(apart < 0.01, qPrintable(QString::number(apart)));
            QVERIFY2(choice.castilian.contains(said), qPrintable(choice.castilian));
            QVERIFY2(choice.valencian.contains(said), qPrintable(choice.valencian));
        } else {
            // A wrong idea draws what a student tells apart: more than a quarter of a division off.
            QVERIFY2(apart > kDivisionTolerance, qPrintable(choice.castilian));
        }
        // And only the right one is the screen the task wants.
        QCOMPARE(t.judge(choice.pictured, std::nullopt).met, choice.correct);
    }
}

void TestCircuitLabs::testerFiguresTellThePartsApart_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<double>("wide");
    QTest::addColumn<double>("tall");
    QTest::addColumn<QString>("said");
    // The tester's source drives the part through its own resistance: the part's share of the crest spans
    // the width, the current's share of the short's the height.
    const double rs = TesterSource::ohms;
    const double across = 2.0 * TesterSource::halfWidthDivisions;
    const double upDown = 2.0 * TesterSource::halfHeightDivisions;
    const double r = 1000.0;
    QTest::newRow("1 kΩ: a sloping line") << int(TellResistor) << across * r / (r + rs)
                                          << upDown * rs / (r + rs) << QStringLiteral("Una recta inclinada");
    // 10 µF at the mains' 50 Hz: 318 Ω, a quarter of a period out of step with its current.
    const double xc = 1.0 / (2.0 * std::numbers::pi * kMainsHz * 10e-6);
    const double z = std::hypot(rs, xc);
    QTest::newRow("10 µF: an ellipse")
        << int(TellCapacitor) << across * xc / z << upDown * rs / z << QStringLiteral("Una elipse");
    // A silicon junction bends near 0,7 V: a quarter of a division right of the centre.
    QTest::newRow("1N4007: a knee") << int(TellDiode) << qQNaN() << qQNaN()
                                    << formatDecimal(0.7 / TesterSource::voltsPerDivision)
            + QStringLiteral(" div a la derecha");
}

void TestCircuitLabs::testerFiguresTellThePartsApart()
{
    QFETCH(int, task);
    QFETCH(double, wide);
    QFETCH(double, tall);
    QFETCH(QString, said);
    const Hm203Task &t = hm203Tasks().at(task);
    QVERIFY(t.prediction);
    QVERIFY(t.prediction->asked.contains(Hm203Control::Tester));
    GeneratorSettings generator;
    t.prepare(generator, 0);
    const QList<PredictionChoice> choices = t.prediction->choices(generator, 0);
    // A resistor, a capacitor and a diode: three figures a student tells apart.
    QCOMPARE(choices.size(), 3);
    QSet<QString> parts;
    for (const PredictionChoice &choice : choices) {
        parts << choice.pictured.generator().testerPart;
        QCOMPARE(t.judge(choice.pictured, std::nullopt).met, choice.correct);
        if (!choice.correct)
            continue;
        QCOMPARE(choice.pictured.generator().testerPart, generator.testerPart);
        QVERIFY2(choice.castilian.contains(said), qPrintable(choice.castilian));
        if (std::isnan(wide))
            continue;
        const QRectF bounds = traceBounds(testerFigure(generator.testerPart));
        QVERIFY2(std::abs(bounds.width() - wide) < 0.15, qPrintable(QString::number(bounds.width())));
        QVERIFY2(std::abs(bounds.height() - tall) < 0.15, qPrintable(QString::number(bounds.height())));
    }
    QCOMPARE(parts.size(), 3);
}

QTEST_GUILESS_MAIN(TestCircuitLabs)
#include "tst_circuitlabs.moc"
