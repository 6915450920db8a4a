#include "hm203.h"
#include "taskjudging.h"
#include "traceexplanation.h"

#include <QtTest>

#include <cmath>

using C = Hm203Control;

namespace {

/** The hum task's signal: 1 Vpp at 5 kHz under 1,5 V of 50 Hz hum, seen at the opening 1 V/div and
 * 0,2 ms/div. */
GeneratorSettings hummingSignal()
{
    GeneratorSettings g;
    g.frequencyHz = 5000.0;
    g.amplitudeIVpp = 1.0;
    g.humVolts = 1.5;
    return g;
}

Hm203 coupled(TriggerCoupling coupling, const GeneratorSettings &g)
{
    Hm203 scope;
    scope.setGenerator(g);
    scope.setValue(C::TriggerCoupling, int(coupling));
    return scope;
}

/** How far apart, in periods of channel I's signal, a few sweeps start when armed at moments spread over a
 * mains period, as the sweeps of one afterglow time are. */
double startSpread(ScopeSettings settings)
{
    const double frequency = settings.channelI.signal.frequencyHz;
    constexpr int kSweeps = 24;
    std::optional<double> first;
    double lowest = 0.0;
    double highest = 0.0;
    for (int k = 0; k < kSweeps; ++k) {
        settings.armedSeconds = k / 50.0 / kSweeps;
        const std::optional<double> start = triggerTime(settings);
        if (!start)
            return -1.0;
        if (!first)
            first = start;
        const double off = std::remainder((*start - *first) * frequency, 1.0);
        lowest = std::min(lowest, off);
        highest = std::max(highest, off);
    }
    return highest - lowest;
}

/** The heights the strokes of a frame start at, lowest to highest. */
std::pair<double, double> startHeights(const BeamFrame &frame)
{
    double lowest = 1e9;
    double highest = -1e9;
    for (const BeamStroke &stroke : frame.writing.strokes) {
        lowest = std::min(lowest, stroke.points.first().y());
        highest = std::max(highest, stroke.points.first().y());
    }
    return { lowest, highest };
}

/** The energy a second of the face's life leaves per division of its brightest swept trace, over a long
 * stretch: a steady picture's writing holds one afterglow time of it. */
double energyPerSecond(const Hm203 &scope)
{
    constexpr double from = 2.0;
    constexpr double stretch = 0.5;
    const BeamFrame frame = scope.beam(from, from + stretch);
    const double energy = sweptEnergyPerDivision(frame);
    return frame.writing.steady ? energy / Afterglow::seconds : energy / stretch;
}

} // namespace

/** The trigger's couplings on a signal with hum, how bright the sweeps they start leave the face, and
 * what EXT. finds at TRIG. INP. */
class TestTriggering : public QObject
{
    Q_OBJECT

private slots:
    void humMovesTheStartUnlessHfKeepsItOut_data();
    void humMovesTheStartUnlessHfKeepsItOut();
    void lfAndMainsFollowTheMains_data();
    void lfAndMainsFollowTheMains();
    void brightnessFollowsTheSweepsASecond_data();
    void brightnessFollowsTheSweepsASecond();
    void aSignalPastTheTriggerIsToldSo_data();
    void aSignalPastTheTriggerIsToldSo();
    void extHearsOnlyWhatIsWired_data();
    void extHearsOnlyWhatIsWired();
};

void TestTriggering::humMovesTheStartUnlessHfKeepsItOut_data()
{
    QTest::addColumn<int>("coupling");
    QTest::addColumn<bool>("jitters");
    QTest::newRow("AC") << int(TriggerCoupling::AC) << true;
    QTest::newRow("DC") << int(TriggerCoupling::DC) << true;
    QTest::newRow("HF") << int(TriggerCoupling::HF) << false;
}

void TestTriggering::humMovesTheStartUnlessHfKeepsItOut()
{
    QFETCH(int, coupling);
    QFETCH(bool, jitters);
    const Hm203 scope = coupled(TriggerCoupling(coupling), hummingSignal());
    const ScopeSettings settings = scope.scopeSettings();
    QVERIFY(!followsMains(settings, settings.trigger.source));
    // With the hum let in, each sweep starts where the signal and its hum together cross LEVEL: at another
    // point of the wave every time. HF keeps the hum out, and every sweep starts at one point.
    const double spread = startSpread(settings);
    QVERIFY2(jitters ? spread > 0.1 : (spread >= 0.0 && spread < 1e-3), qPrintable(QString::number(spread)));
    // Either way the eye sees a steady blur, many sweeps within the afterglow.
    const BeamFrame frame = scope.beam(1.0, 1.02);
    QVERIFY(frame.writing.steady);
    QVERIFY(!frame.moving);
    QVERIFY(frame.writing.strokes.size() >= 4);
    // Jittering, every sweep starts on LEVEL (the centre line) at another point of the wave. Held by HF,
    // every sweep starts at one point of the wave, which the hum carries up and down: the 1,5 V of hum spans
    // 3 divisions at 1 V/div, of which six moments of the mains period give 2,6.
    const auto [lowest, highest] = startHeights(frame);
    if (jitters)
        QVERIFY2(highest - lowest < 0.1, qPrintable(QString::number(highest - lowest)));
    else
        QVERIFY2(highest - lowest > 2.0, qPrintable(QString::number(highest - lowest)));
    // The note under the screen says the trace shakes, and names HF, only while it does.
    const TraceExplanation e = explainTrace(scope, BeamMoment { 1.0 });
    QCOMPARE(e.causes.contains(TraceCause::Jitter), jitters);
    if (jitters)
        QVERIFY2(e.castilian.contains(QStringLiteral("en HF")), qPrintable(e.castilian));
}

void TestTriggering::lfAndMainsFollowTheMains_data()
{
    QTest::addColumn<int>("coupling");
    QTest::newRow("LF") << int(TriggerCoupling::LF);
    QTest::newRow("~") << int(TriggerCoupling::Line);
}

void TestTriggering::lfAndMainsFollowTheMains()
{
    QFETCH(int, coupling);
    // LF keeps the 5 kHz out and lets the hum in; ~ takes the mains themselves. Either way the sweep starts
    // on a rising zero of the mains.
    const Hm203 scope = coupled(TriggerCoupling(coupling), hummingSignal());
    ScopeSettings settings = scope.scopeSettings();
    QVERIFY(followsMains(settings, settings.trigger.source));
    std::optional<double> first;
    for (int k = 0; k < 6; ++k) {
        settings.armedSeconds = 0.0123 * k;
        const std::optional<double> start = triggerTime(settings);
        QVERIFY(start);
        if (!first)
            first = start;
        const double periods = (*start - *first) * Mains::hz;
        QVERIFY2(std::abs(periods - std::round(periods)) < 1e-4, qPrintable(QString::number(periods)));
    }
    // The generator runs free of the mains: 5 kHz is 0,5 Hz more than a hundred times the 49,995 Hz the
    // grid gives, so the signal slides half a period a second past the sweep: a quarter in half a second.
    const LiveScreen now = scope.screen(BeamMoment { 3.0 });
    const LiveScreen later = scope.screen(BeamMoment { 3.5 });
    QVERIFY(now.moving);
    const double slid
        = std::remainder((later.traces.sweepStartSeconds - now.traces.sweepStartSeconds) * 5000.0, 1.0);
    QVERIFY2(std::abs(std::abs(slid) - 0.25) < 0.01, qPrintable(QString::number(slid)));
    QVERIFY(scope.beam(3.0, 3.02).moving);
    // The words say why it runs, and name HF, which keeps the hum out and lets the signal in.
    const TraceExplanation e = explainTrace(scope, BeamMoment { 3.0 });
    QVERIFY(e.causes.contains(TraceCause::LineTrigger));
    QVERIFY2(e.castilian.contains(QStringLiteral("en HF")), qPrintable(e.castilian));
    QVERIFY2(e.valencian.contains(QStringLiteral("en HF")), qPrintable(e.valencian));
}

void TestTriggering::brightnessFollowsTheSweepsASecond_data()
{
    QTest::addColumn<double>("hum");
    QTest::addColumn<int>("fromSignal");
    QTest::newRow("clean, AC") << 0.0 << int(TriggerCoupling::AC);
    QTest::newRow("hum, HF") << 1.5 << int(TriggerCoupling::HF);
}

void TestTriggering::brightnessFollowsTheSweepsASecond()
{
    QFETCH(double, hum);
    QFETCH(int, fromSignal);
    GeneratorSettings g = hummingSignal();
    g.humVolts = hum;
    // At 0,2 ms/div a sweep with its retrace and hold-off takes 2,3 ms: started by the 5 kHz it comes every
    // 2,4 ms, 417 times a second; started by the mains, 50 times. The face's light follows.
    const double bySignal = energyPerSecond(coupled(TriggerCoupling(fromSignal), g));
    const double byMains = energyPerSecond(coupled(TriggerCoupling::Line, g));
    const double expected = 50.0 / 417.0;
    QVERIFY2(
        std::abs(byMains / bySignal / expected - 1.0) < 0.2, qPrintable(QString::number(byMains / bySignal)));
}

void TestTriggering::aSignalPastTheTriggerIsToldSo_data()
{
    QTest::addColumn<bool>("normal");
    QTest::newRow("AT") << false;
    QTest::newRow("NORM") << true;
}

void TestTriggering::aSignalPastTheTriggerIsToldSo()
{
    QFETCH(bool, normal);
    // 45 MHz through a compensated ×10 probe still stands over a division high at 0,2 V/div: no sensitivity
    // is wanting, the trigger circuit stops at 40 MHz.
    GeneratorSettings g;
    g.frequencyHz = 45e6;
    g.amplitudeIVpp = 10.0;
    g.probeI = Probe::Times10;
    g.compensationI = 1.0;
    Hm203 scope;
    scope.setGenerator(g);
    scope.setValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
    scope.setValue(C::VoltsDivI, Hm203::voltsDivPosition(0.2));
    scope.setValue(C::AtNorm, normal ? 1 : 0);
    const TaskJudging::Look look(scope);
    QCOMPARE(searchTrigger(look.settings, TriggerSource::ChannelI).miss, TriggerMiss::TooFast);
    const TaskVerdict verdict = TaskJudging::untriggered(look, TriggerSource::ChannelI);
    QVERIFY(!verdict.met);
    for (const auto &[words, frequency] : { std::pair { verdict.castilian, QStringLiteral("frecuencia") },
             std::pair { verdict.valencian, QStringLiteral("freqüència") } }) {
        QVERIFY2(words.contains(QStringLiteral("40 MHz")), qPrintable(words));
        QVERIFY2(words.contains(frequency), qPrintable(words));
        QVERIFY2(!words.contains(QStringLiteral("VOLTS/DIV")), qPrintable(words));
        // In NORM the other way to a trace is AT, where the sweep runs free.
        QCOMPARE(words.contains(QStringLiteral("AT/NORM")), normal);
    }
    // In NORM the note under the screen gives the same cause; in AT the face shows a steady band.
    if (!normal)
        return;
    const TraceExplanation e = explainTrace(scope);
    QVERIFY2(e.castilian.contains(QStringLiteral("40 MHz")), qPrintable(e.castilian));
    QVERIFY2(e.valencian.contains(QStringLiteral("40 MHz")), qPrintable(e.valencian));
}

void TestTriggering::extHearsOnlyWhatIsWired_data()
{
    QTest::addColumn<bool>("wired");
    QTest::addColumn<bool>("normal");
    QTest::newRow("wired, AT") << true << false;
    QTest::newRow("wired, NORM") << true << true;
    QTest::newRow("nothing on TRIG. INP., AT") << false << false;
    QTest::newRow("nothing on TRIG. INP., NORM") << false << true;
}

void TestTriggering::extHearsOnlyWhatIsWired()
{
    QFETCH(bool, wired);
    QFETCH(bool, normal);
    GeneratorSettings g;
    g.outputIToTriggerInput = wired;
    Hm203 scope;
    scope.setGenerator(g);
    scope.setValue(C::ExtTrigger, 1);
    scope.setValue(C::AtNorm, normal ? 1 : 0);
    // Wired, EXT. triggers on output I; with nothing on TRIG. INP., AT runs the sweep free and NORM is dark.
    const LiveScreen live = scope.screen(BeamMoment { 1.0 });
    QCOMPARE(live.traces.triggered, wired);
    QCOMPARE(live.traces.traces.isEmpty(), !wired && normal);
    QCOMPARE(live.moving, !wired && !normal);
    const TraceExplanation e = explainTrace(scope, BeamMoment { 1.0 });
    QCOMPARE(e.fine(), wired);
    if (wired)
        return;
    QVERIFY(e.causes.contains(TraceCause::TriggerSourceEmpty));
    QVERIFY2(e.castilian.contains(QStringLiteral("no hay nada conectado")), qPrintable(e.castilian));
    QVERIFY2(e.valencian.contains(QStringLiteral("no hi ha res connectat")), qPrintable(e.valencian));
    for (const QString &words : { e.castilian, e.valencian }) {
        QVERIFY2(words.contains(QStringLiteral("TRIG. INP.")), qPrintable(words));
        QVERIFY2(words.contains(QStringLiteral("EXT.")), qPrintable(words));
    }
}

QTEST_GUILESS_MAIN(TestTriggering)
#include "tst_triggering.moc"
