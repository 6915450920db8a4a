#include "traceexplanation.h"

#include "screendescription.h"
#include "taskjudging.h"

#include <QtTest>

#include <cmath>

namespace {

using C = Hm203Control;

/** Sets the instrument from its opening state as a student would, through its controls and the generator. */
using Setup = void (*)(Hm203 &);

template <typename Change> void generator(Hm203 &scope, Change change)
{
    GeneratorSettings g = scope.generator();
    change(g);
    scope.setGenerator(g);
}

void setTime(Hm203 &scope, double secondsPerDiv)
{
    scope.setValue(C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv));
}

void amplitudeI(Hm203 &scope, double vpp)
{
    generator(scope, [vpp](GeneratorSettings &g) { g.amplitudeIVpp = vpp; });
}

QString label(C control)
{
    return QString::fromUtf16(controlInfo(control).label);
}

/** A state a student can reach, the cause it must be explained by first, and the words that mend it. */
struct Case
{
    const char *name;
    Setup setup;
    TraceCause first;
    C mends;
    BeamMoment moment {};
};

// clang-format off
const QList<Case> &cases()
{
    static const QList<Case> table {
        { "switched off", [](Hm203 &s) { s.setValue(C::Power, 0); }, TraceCause::PowerOff, C::Power },
        { "just switched on, dark", [](Hm203 &) {}, TraceCause::WarmingUp, C::Power, { 0.0, 1.0 } },
        { "fading in", [](Hm203 &) {}, TraceCause::WarmingUp, C::Power, { 0.0, 3.0 } },
        { "INTENS turned down", [](Hm203 &s) { s.setValue(C::Intensity, 15); }, TraceCause::IntensityLow,
            C::Intensity },
        // 0,5 µs/div of a 1 kHz sine: a 5 µs sweep once a millisecond.
        { "fast sweep of a slow signal", [](Hm203 &s) { s.setValue(C::Intensity, 60); setTime(s, 0.5e-6); },
            TraceCause::FastSweepDim, C::Intensity },
        { "component tester", [](Hm203 &s) { s.setValue(C::Tester, 1); }, TraceCause::Tester, C::Tester },
        { "NORM, LEVEL above the peaks", [](Hm203 &s) { s.setValue(C::AtNorm, 1); s.setValue(C::Level, 30); },
            TraceCause::LevelOutside, C::Level },
        { "NORM, a signal under half a division",
            [](Hm203 &s) { s.setValue(C::AtNorm, 1); amplitudeI(s, 0.45); }, TraceCause::BelowTriggerThreshold,
            C::VoltsDivI },
        { "NORM, EXT. with nothing at TRIG. INP.", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Calibrator2; g.amplitudeIVpp = 0.0; });
              s.setValue(C::AtNorm, 1);
              s.setValue(C::ExtTrigger, 1);
          }, TraceCause::TriggerSourceEmpty, C::ExtTrigger },
        { "NORM, DUAL triggered from an empty CH II", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
              s.setValue(C::AtNorm, 1);
              s.setValue(C::Dual, 1);
              s.setValue(C::ChannelII, 1);
          }, TraceCause::TriggerSourceEmpty, C::ChannelII },
        { "NORM, HF keeps 1 kHz out", [](Hm203 &s) { s.setValue(C::AtNorm, 1); s.setValue(C::TriggerCoupling, 2); },
            TraceCause::TriggerFiltered, C::TriggerCoupling },
        // 50 MHz is past the trigger circuit's band: no LEVEL and no TRIG. position finds a crossing.
        { "NORM, a signal too fast to trigger", [](Hm203 &s) {
              s.setValue(C::AtNorm, 1);
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 50e6; });
          }, TraceCause::TriggerTooFast, C::AtNorm },
        { "NORM, CH I on GD", [](Hm203 &s) { s.setValue(C::AtNorm, 1); s.setValue(C::GroundI, 1); },
            TraceCause::Grounded, C::GroundI },
        { "AT, LEVEL above the peaks", [](Hm203 &s) { s.setValue(C::Level, 30); }, TraceCause::Running, C::Level },
        { "AT, HF keeps 1 kHz out", [](Hm203 &s) { s.setValue(C::TriggerCoupling, 2); }, TraceCause::Running,
            C::TriggerCoupling },
        { "AT, LF keeps 5 kHz out", [](Hm203 &s) {
              s.setValue(C::TriggerCoupling, 3);
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 5000.0; });
          }, TraceCause::Running, C::TriggerCoupling },
        { "AT, a signal under half a division", [](Hm203 &s) { amplitudeI(s, 0.45); }, TraceCause::Running,
            C::VoltsDivI },
        { "AT, DUAL triggered from an empty CH II", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
              s.setValue(C::Dual, 1);
              s.setValue(C::ChannelII, 1);
          }, TraceCause::Running, C::ChannelII },
        { "Y-POS I at the top", [](Hm203 &s) { s.setValue(C::YPositionI, 60); }, TraceCause::BeamAbove,
            C::YPositionI },
        { "Y-POS I at the bottom", [](Hm203 &s) { s.setValue(C::YPositionI, -60); }, TraceCause::BeamBelow,
            C::YPositionI },
        { "DUAL, Y-POS II at the top", [](Hm203 &s) { s.setValue(C::Dual, 1); s.setValue(C::YPositionII, 60); },
            TraceCause::BeamAbove, C::YPositionII },
        { "X-MAG, X-POS far left", [](Hm203 &s) { s.setValue(C::XMagnifier, 1); s.setValue(C::XPosition, -60); },
            TraceCause::BeamLeft, C::XPosition },
        { "X-MAG, X-POS far right", [](Hm203 &s) { s.setValue(C::XMagnifier, 1); s.setValue(C::XPosition, 60); },
            TraceCause::BeamRight, C::XPosition },
        { "X-Y, X-POS far right with CH II empty", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
              s.setValue(C::XY, 1);
              s.setValue(C::XPosition, 60);
          }, TraceCause::BeamRight, C::XPosition },
        { "8 V offset through DC",
            [](Hm203 &s) { generator(s, [](GeneratorSettings &g) { g.offsetIVolts = 8.0; }); },
            TraceCause::OffsetOffFace, C::DcI },
        { "5 mV/div", [](Hm203 &s) { s.setValue(C::VoltsDivI, Hm203::voltsDivPosition(5e-3)); },
            TraceCause::TooSensitive, C::VoltsDivI },
        // 5 V of DC lifts the 4 Vpp sine to 3 to 7 divisions: its foot on the face, its top past it.
        { "5 V offset through DC", [](Hm203 &s) { generator(s, [](GeneratorSettings &g) { g.offsetIVolts = 5.0; }); },
            TraceCause::Clipped, C::DcI },
        { "GD I", [](Hm203 &s) { s.setValue(C::GroundI, 1); }, TraceCause::Grounded, C::GroundI },
        { "CH II shown with nothing on it", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
              s.setValue(C::ChannelII, 1);
          }, TraceCause::NoSignal, C::ChannelII },
        { "X-Y with CH II empty", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
              s.setValue(C::XY, 1);
          }, TraceCause::XYAxisEmpty, C::XY },
        { "X-Y with both channels on GD", [](Hm203 &s) {
              s.setValue(C::XY, 1);
              s.setValue(C::GroundI, 1);
              s.setValue(C::GroundII, 1);
          }, TraceCause::StillSpot, C::Intensity },
        { "0,2 s/div", [](Hm203 &s) { setTime(s, 0.2); }, TraceCause::CrawlingSpot, C::TimeDiv },
        // Alternating, each channel is written every other sweep: 2 ms/div repeats each 21 times a second.
        { "DUAL at 2 ms/div", [](Hm203 &s) { s.setValue(C::Dual, 1); setTime(s, 2e-3); }, TraceCause::CrawlingSpot,
            C::Add },
        // The generator runs free of the mains: even 1 kHz slides past a sweep that follows them.
        { "~ with 1 kHz", [](Hm203 &s) { s.setValue(C::TriggerCoupling, 4); }, TraceCause::LineTrigger,
            C::TriggerCoupling },
        { "~ with 1234 Hz", [](Hm203 &s) {
              s.setValue(C::TriggerCoupling, 4);
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 1234.0; });
          }, TraceCause::LineTrigger, C::TriggerCoupling },
        { "DC lets the hum on 5 kHz into the trigger", [](Hm203 &s) {
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 5000.0; g.humVolts = 1.0; });
          }, TraceCause::Jitter, C::TriggerCoupling },
        { "AC lets the noise on 500 Hz into the trigger", [](Hm203 &s) {
              s.setValue(C::TriggerCoupling, 0);
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 500.0; g.noiseVolts = 0.3; });
          }, TraceCause::Jitter, C::TriggerCoupling },
        { "LF lets only the hum of 5 kHz through", [](Hm203 &s) {
              s.setValue(C::TriggerCoupling, 3);
              generator(s, [](GeneratorSettings &g) { g.frequencyHz = 5000.0; g.humVolts = 1.0; });
          }, TraceCause::LineTrigger, C::TriggerCoupling },
        { "×10 probe on an 8 Vpp signal",
            [](Hm203 &s) { generator(s, [](GeneratorSettings &g) { g.probeI = Probe::Times10; g.amplitudeIVpp = 8.0; }); },
            TraceCause::ProbeTenth, C::VoltsDivI },
        { "FOCUS at its stop", [](Hm203 &s) { s.setValue(C::Focus, 0); }, TraceCause::Defocused, C::Focus },
        { "TR at its stop", [](Hm203 &s) { s.setValue(C::TraceRotation, 50); }, TraceCause::Rotated,
            C::TraceRotation },
    };
    return table;
}
// clang-format on

TraceExplanation explained(Setup setup, const BeamMoment &moment = {})
{
    Hm203 scope;
    setup(scope);
    return explainTrace(scope, moment);
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(TraceCause)
Q_DECLARE_METATYPE(QList<TraceCause>)
Q_DECLARE_METATYPE(BeamMoment)

/** Why the trace cannot be seen: each cause from a state the controls reach, its order and its words. */
class TestExplanation : public QObject
{
    Q_OBJECT

private slots:
    void namesTheCauseAndItsControl_data();
    void namesTheCauseAndItsControl();
    void everyCauseIsReachable();
    void openingStateIsFine();
    void staysFine_data();
    void staysFine();
    void causesComeInOrder_data();
    void causesComeInOrder();
    void dimSweepLeavesLessThanTheFaceNeeds();
    void triggerThresholdIsHalfADivision_data();
    void triggerThresholdIsHalfADivision();
    void everyControlAtItsStopsIsExplained();
    void clippedTracesNameTheControlThatBringsThemBack_data();
    void clippedTracesNameTheControlThatBringsThemBack();
    void aStillSpotIsASpotThatCanBurn_data();
    void aStillSpotIsASpotThatCanBurn();
    void slowSignalsAreNotSweptFaster_data();
    void slowSignalsAreNotSweptFaster();
    void warmUpSaysWhatTheRealTubeTakes();
    void anOffsetToMeasureIsNotGivenAway();
};

void TestExplanation::namesTheCauseAndItsControl_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<BeamMoment>("moment");
    QTest::addColumn<TraceCause>("first");
    QTest::addColumn<QString>("mends");
    for (const Case &c : cases())
        QTest::newRow(c.name) << c.setup << c.moment << c.first << label(c.mends);
}

void TestExplanation::namesTheCauseAndItsControl()
{
    QFETCH(Setup, setup);
    QFETCH(BeamMoment, moment);
    QFETCH(TraceCause, first);
    QFETCH(QString, mends);
    const TraceExplanation e = explained(setup, moment);
    QVERIFY(!e.fine());
    QCOMPARE(e.causes.first(), first);
    QVERIFY2(e.castilian.contains(mends), qPrintable(e.castilian));
    QVERIFY2(e.valencian.contains(mends), qPrintable(e.valencian));
    QVERIFY(e.castilian != e.valencian);
}

void TestExplanation::everyCauseIsReachable()
{
    for (int i = 0; i < kTraceCauseCount; ++i) {
        const auto reached = std::any_of(
            cases().begin(), cases().end(), [i](const Case &c) { return c.first == TraceCause(i); });
        QVERIFY2(reached, qPrintable(QStringLiteral("cause %1 first in no row").arg(i)));
    }
}

void TestExplanation::openingStateIsFine()
{
    const TraceExplanation e = explainTrace(Hm203());
    QVERIFY(e.fine());
    QVERIFY(e.castilian.startsWith(QStringLiteral("Nada impide ver la traza")));
    QVERIFY(e.valencian.startsWith(QStringLiteral("Res no impedix veure la traça")));
}

void TestExplanation::staysFine_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<BeamMoment>("moment");
    const BeamMoment warm;
    QTest::newRow("warm just after the fade") << Setup([](Hm203 &) {}) << BeamMoment { 0.0, 3.6 };
    // The top peak at 2 + 2 divisions stays on the face.
    QTest::newRow("Y-POS I up two divisions")
        << Setup([](Hm203 &s) { s.setValue(C::YPositionI, 20); }) << warm;
    QTest::newRow("5 V offset through AC") << Setup([](Hm203 &s) {
        generator(s, [](GeneratorSettings &g) { g.offsetIVolts = 5.0; });
        s.setValue(C::DcI, 0);
    }) << warm;
    QTest::newRow("1 V offset through DC")
        << Setup([](Hm203 &s) { generator(s, [](GeneratorSettings &g) { g.offsetIVolts = 1.0; }); }) << warm;
    // The fast sweep is bright enough again with INTENS up.
    QTest::newRow("fast sweep, INTENS at its stop") << Setup([](Hm203 &s) {
        s.setValue(C::Intensity, 100);
        setTime(s, 0.5e-6);
    }) << warm;
    QTest::newRow("DUAL") << Setup([](Hm203 &s) { s.setValue(C::Dual, 1); }) << warm;
    QTest::newRow("X-Y") << Setup([](Hm203 &s) { s.setValue(C::XY, 1); }) << warm;
    // HF keeps the hum out of the trigger: every sweep starts at one point of the 5 kHz.
    QTest::newRow("HF on 5 kHz under hum") << Setup([](Hm203 &s) {
        s.setValue(C::TriggerCoupling, 2);
        generator(s, [](GeneratorSettings &g) {
            g.frequencyHz = 5000.0;
            g.humVolts = 0.5;
        });
    }) << warm;
    // A 1° turn lifts the ends of a line 5 · tan 1° = 0,09 divisions: within the line's width.
    QTest::newRow("TR at 1°") << Setup([](Hm203 &s) { s.setValue(C::TraceRotation, 20); }) << warm;
    QTest::newRow("FOCUS a little off") << Setup([](Hm203 &s) { s.setValue(C::Focus, 40); }) << warm;
    QTest::newRow("×10 probe on a 20 Vpp signal") << Setup([](Hm203 &s) {
        generator(s, [](GeneratorSettings &g) {
            g.probeI = Probe::Times10;
            g.amplitudeIVpp = 20.0;
        });
    }) << warm;
}

void TestExplanation::staysFine()
{
    QFETCH(Setup, setup);
    QFETCH(BeamMoment, moment);
    const TraceExplanation e = explained(setup, moment);
    QVERIFY2(e.fine(), qPrintable(e.castilian));
}

void TestExplanation::causesComeInOrder_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QList<TraceCause>>("causes");
    QTest::addColumn<QStringList>("mends");
    using T = TraceCause;
    QTest::newRow("faint and above") << Setup([](Hm203 &s) {
        s.setValue(C::Intensity, 15);
        s.setValue(C::YPositionI, 60);
    }) << QList { T::IntensityLow, T::BeamAbove }
                                     << QStringList { label(C::Intensity), label(C::YPositionI) };
    QTest::newRow("off with the tester on") << Setup([](Hm203 &s) {
        s.setValue(C::Power, 0);
        s.setValue(C::Tester, 1);
    }) << QList { T::PowerOff, T::Tester } << QStringList { label(C::Power), label(C::Tester) };
    QTest::newRow("grounded and blurred") << Setup([](Hm203 &s) {
        s.setValue(C::GroundI, 1);
        s.setValue(C::Focus, 100);
    }) << QList { T::Grounded, T::Defocused }
                                          << QStringList { label(C::GroundI), label(C::Focus) };
    // The reason a trace runs is given in the running trace's own words.
    QTest::newRow("running over LEVEL")
        << Setup([](Hm203 &s) { s.setValue(C::Level, -30); }) << QList { T::Running, T::LevelOutside }
        << QStringList { label(C::Level) };
    QTest::newRow("above, running and turned")
        << Setup([](Hm203 &s) {
               s.setValue(C::YPositionI, -60);
               s.setValue(C::TriggerCoupling, 2);
               s.setValue(C::TraceRotation, -50);
           })
        << QList { T::BeamBelow, T::Running, T::TriggerFiltered, T::Rotated }
        << QStringList { label(C::YPositionI), label(C::TriggerCoupling) };
}

void TestExplanation::causesComeInOrder()
{
    QFETCH(Setup, setup);
    QFETCH(QList<TraceCause>, causes);
    QFETCH(QStringList, mends);
    const TraceExplanation e = explained(setup);
    QCOMPARE(e.causes, causes);
    for (const QString &text : { e.castilian, e.valencian }) {
        qsizetype at = -1;
        for (const QString &mend : mends) {
            const qsizetype next = text.indexOf(mend, at + 1);
            QVERIFY2(next > at, qPrintable(text));
            at = next;
        }
    }
}

void TestExplanation::dimSweepLeavesLessThanTheFaceNeeds()
{
    // A steady sweep leaves current × (share of the time written) × afterglow on each of the ten divisions.
    const auto expected = [](double intensity, double duty) {
        return Beam::currentAt(intensity) * duty * Afterglow::seconds / ScreenGeometry::columns;
    };
    const Hm203 opening;
    const double ms = 1e-3;
    // The opening sweep: 2 ms written, then 0,3 ms of retrace and hold-off, then a wait for the next
    // rising crossing, a period (1 ms) after the last: 2 of every 3 ms.
    QCOMPARE(sweptEnergyPerDivision(opening.beam(0.0, 1.0)), expected(0.7, 2.0 / 3.0));
    QCOMPARE(faintSweepEnergy(), expected(TaskJudging::kFaintBeam, 2.0 / 3.0));

    // At 0,5 µs/div the 5 µs sweep comes once a period: 0,5 % of the time.
    Hm203 fast;
    fast.setValue(C::Intensity, 60);
    setTime(fast, 0.5e-6);
    const double dim = sweptEnergyPerDivision(fast.beam(0.0, 1.0));
    QCOMPARE(dim, expected(0.6, 5e-6 / ms));
    QVERIFY(dim < faintSweepEnergy());
    QVERIFY(explainTrace(fast).castilian.contains(QStringLiteral("0,5 %")));
    fast.setValue(C::Intensity, 100);
    QVERIFY(sweptEnergyPerDivision(fast.beam(0.0, 1.0)) > faintSweepEnergy());
}

void TestExplanation::triggerThresholdIsHalfADivision_data()
{
    QTest::addColumn<double>("vpp");
    QTest::addColumn<bool>("external");
    QTest::addColumn<bool>("fine");
    // At 1 V/div a channel needs 0,5 Vpp; TRIG. INP. needs 0,6 V whatever VOLTS/DIV says.
    QTest::newRow("channel, just under") << 0.48 << false << false;
    QTest::newRow("channel, just over") << 0.52 << false << true;
    QTest::newRow("EXT., just under") << 0.58 << true << false;
    QTest::newRow("EXT., just over") << 0.62 << true << true;
}

void TestExplanation::triggerThresholdIsHalfADivision()
{
    QFETCH(double, vpp);
    QFETCH(bool, external);
    QFETCH(bool, fine);
    Hm203 scope;
    amplitudeI(scope, vpp);
    generator(scope, [](GeneratorSettings &g) { g.outputIToTriggerInput = true; });
    scope.setValue(C::ExtTrigger, external ? 1 : 0);
    scope.setValue(C::AtNorm, 1);
    const TraceExplanation e = explainTrace(scope);
    QCOMPARE(e.fine(), fine);
    if (!fine) {
        QCOMPARE(e.causes, QList { TraceCause::BelowTriggerThreshold });
        QVERIFY(e.castilian.contains(label(external ? C::ExtTrigger : C::VoltsDivI)));
    }
}

void TestExplanation::everyControlAtItsStopsIsExplained()
{
    for (const Hm203ControlInfo &info : hm203Controls()) {
        for (int position : { info.minimum, info.maximum }) {
            Hm203 scope;
            scope.setValue(info.id, position);
            const TraceExplanation e = explainTrace(scope);
            const QString where
                = QString::fromUtf16(info.label) + QLatin1Char(' ') + QString::number(position);
            QVERIFY2(!e.castilian.isEmpty() && !e.valencian.isEmpty(), qPrintable(where));
            QVERIFY2(e.castilian != e.valencian, qPrintable(where));
            QCOMPARE(e.fine(), e.castilian.startsWith(QStringLiteral("Nada impide")));
        }
    }
}

void TestExplanation::clippedTracesNameTheControlThatBringsThemBack_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("castilian");
    QTest::addColumn<QStringList>("valencian");
    QTest::addColumn<bool>("acMends");
    // The 4 Vpp sine at 1 V/div spans 4 divisions: Y-POS I 3 divisions up puts its top at +5, past the face's
    // +4,25, and AC would not help.
    QTest::newRow("Y-POS I 3 divisions up") << Setup([](Hm203 &s) { s.setValue(C::YPositionI, 30); })
                                            << QStringList { "por arriba", "bájala con Y-POS I" }
                                            << QStringList { "per dalt", "baixa-la amb Y-POS I" } << false;
    QTest::newRow("Y-POS I 3 divisions down") << Setup([](Hm203 &s) { s.setValue(C::YPositionI, -30); })
                                              << QStringList { "por abajo", "súbela con Y-POS I" }
                                              << QStringList { "per baix", "puja-la amb Y-POS I" } << false;
    // 5 V of DC: AC takes the mean out, and Y-POS I, 4,5 divisions down, brings it back as well.
    QTest::newRow("5 V offset through DC")
        << Setup([](Hm203 &s) { generator(s, [](GeneratorSettings &g) { g.offsetIVolts = 5.0; }); })
        << QStringList { "por arriba", "componente continua", "suelta AC/DC I", "bájala con Y-POS I" }
        << QStringList { "per dalt", "component contínua", "deixa anar AC/DC I", "baixa-la amb Y-POS I" }
        << true;
    // −5 V of DC at 2 V/div: the 2 divisions of the sine sit at −3,5 to −1,5, Y-POS I down 2 takes its foot
    // off the face.
    QTest::newRow("−5 V offset through DC, Y-POS I down")
        << Setup([](Hm203 &s) {
               generator(s, [](GeneratorSettings &g) { g.offsetIVolts = -5.0; });
               s.setValue(C::VoltsDivI, Hm203::voltsDivPosition(2.0));
               s.setValue(C::YPositionI, -20);
           })
        << QStringList { "por abajo", "la baja", "AC/DC I", "súbela con Y-POS I" }
        << QStringList { "per baix", "la baixa", "AC/DC I", "puja-la amb Y-POS I" } << true;
    // At 0,2 V/div the sine would span 20 divisions: the amplifiers stop it at ±6, the face shows ±4,25 and
    // the trace spends more than a quarter of its time on it.
    QTest::newRow("0,2 V/div") << Setup([](Hm203 &s) {
        s.setValue(C::VoltsDivI, Hm203::voltsDivPosition(0.2));
    }) << QStringList { "por arriba y por abajo", "a 0,2 V/div es más alta", "gira VOLTS/DIV I" }
                               << QStringList { "per dalt i per baix", "a 0,2 V/div és més alta",
                                      "gira VOLTS/DIV I" }
                               << false;
}

void TestExplanation::clippedTracesNameTheControlThatBringsThemBack()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, castilian);
    QFETCH(QStringList, valencian);
    QFETCH(bool, acMends);
    Hm203 scope;
    setup(scope);
    const TraceExplanation e = explainTrace(scope);
    QCOMPARE(e.causes, QList { TraceCause::Clipped });
    for (const QString &words : castilian)
        QVERIFY2(e.castilian.contains(words), qPrintable(e.castilian));
    for (const QString &words : valencian)
        QVERIFY2(e.valencian.contains(words), qPrintable(e.valencian));
    // No volts: where the level is what a task asks, the words must not give it away.
    static const QRegularExpression volts(QStringLiteral("\\d V(?!/div)"));
    QVERIFY2(!volts.match(e.castilian).hasMatch() && !volts.match(e.valencian).hasMatch(),
        qPrintable(e.castilian));
    // What the words say the face shows: part of the trace past its edge.
    QVERIFY(describeScreen(scope, {}).traces.first().clipped());
    // The control named does bring the whole trace back.
    Hm203 mended = scope;
    if (acMends)
        mended.setValue(C::DcI, 0);
    else if (e.castilian.contains(label(C::VoltsDivI)))
        mended.setValue(C::VoltsDivI, Hm203::voltsDivPosition(1.0));
    else
        mended.setValue(C::YPositionI, 0);
    QVERIFY2(explainTrace(mended).fine(), qPrintable(explainTrace(mended).castilian));
    QVERIFY(!describeScreen(mended, {}).traces.first().clipped());
}

void TestExplanation::aStillSpotIsASpotThatCanBurn_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("mends");
    QTest::newRow("both channels empty") << Setup([](Hm203 &s) {
        generator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = g.amplitudeIIVpp = 0.0; });
        s.setValue(C::XY, 1);
    }) << QStringList { "CH I", "CH II", "generador" };
    QTest::newRow("both channels on GD") << Setup([](Hm203 &s) {
        s.setValue(C::XY, 1);
        s.setValue(C::GroundI, 1);
        s.setValue(C::GroundII, 1);
    }) << QStringList { label(C::GroundI), label(C::GroundII) };
    QTest::newRow("CH I on GD, CH II empty") << Setup([](Hm203 &s) {
        generator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
        s.setValue(C::XY, 1);
        s.setValue(C::GroundI, 1);
    }) << QStringList { label(C::GroundI), "CH II" };
}

void TestExplanation::aStillSpotIsASpotThatCanBurn()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, mends);
    Hm203 scope;
    setup(scope);
    const TraceExplanation e = explainTrace(scope);
    QCOMPARE(e.causes.first(), TraceCause::StillSpot);
    const QString intens = label(C::Intensity);
    for (const QString &words : { QStringLiteral("punto quieto"), QStringLiteral("puede quemar el fósforo"),
             QStringLiteral("baja ") + intens })
        QVERIFY2(e.castilian.contains(words), qPrintable(e.castilian));
    for (const QString &words : { QStringLiteral("punt quiet"), QStringLiteral("pot cremar el fòsfor"),
             QStringLiteral("baixa ") + intens })
        QVERIFY2(e.valencian.contains(words), qPrintable(e.valencian));
    for (const QString &mend : mends)
        QVERIFY2(e.castilian.contains(mend) && e.valencian.contains(mend), qPrintable(e.castilian));
    // A spot, never a line, in the explanation and in the face's words.
    QVERIFY2(!e.castilian.contains(QStringLiteral("línea")), qPrintable(e.castilian));
    QVERIFY2(!e.valencian.contains(QStringLiteral("línia")), qPrintable(e.valencian));
    const ScreenDescription face = describeScreen(scope, {});
    QVERIFY(face.figure && face.figure->shape.kind == FigureKind::Spot);
    QVERIFY2(face.castilian.contains(QStringLiteral("un punto fijo")), qPrintable(face.castilian));
    QVERIFY2(face.valencian.contains(QStringLiteral("un punt fix")), qPrintable(face.valencian));

    // Turned down, the spot is not told to be brightened: it still warns against it.
    scope.setValue(C::Intensity, 15);
    const TraceExplanation faint = explainTrace(scope);
    QCOMPARE(faint.causes.first(), TraceCause::StillSpot);
    QVERIFY(!faint.causes.contains(TraceCause::IntensityLow));
    QVERIFY2(faint.castilian.contains(QStringLiteral("no subas ") + intens), qPrintable(faint.castilian));
    QVERIFY2(faint.valencian.contains(QStringLiteral("no puges ") + intens), qPrintable(faint.valencian));
}

void TestExplanation::slowSignalsAreNotSweptFaster_data()
{
    QTest::addColumn<double>("hertz");
    QTest::addColumn<double>("secondsPerDiv");
    QTest::addColumn<bool>("dual");
    QTest::addColumn<bool>("faster");
    QTest::addColumn<QStringList>("castilian");
    QTest::addColumn<QStringList>("valencian");
    // 1 kHz at 0,2 s/div: at 0,2 ms/div the same signal stands still, two periods of it.
    QTest::newRow("1 kHz at 0,2 s/div")
        << 1000.0 << 0.2 << false << true << QStringList { "barridos más rápidos" }
        << QStringList { "escombratges més ràpids" };
    // 5 Hz: a triggered sweep waits its 0,2 s period, slower than the 35 repeats a second that stand still,
    // at any TIME/DIV. 10 × 20 ms/div is the fastest sweep that shows a whole period.
    QTest::newRow("5 Hz at 50 ms/div")
        << 5.0 << 50e-3 << false << false
        << QStringList { "T = 0,2 s", "Sigue el punto", "más rápido que 20 ms/div" }
        << QStringList { "T = 0,2 s", "Segueix el punt", "més ràpid que 20 ms/div" };
    QTest::newRow("5 Hz at 20 ms/div") << 5.0 << 20e-3 << false << false << QStringList { "Sigue el punto" }
                                       << QStringList { "Segueix el punt" };
    QTest::newRow("5 Hz at 10 ms/div, half a period")
        << 5.0 << 10e-3 << false << false << QStringList { "barridos más lentos, hasta 20 ms/div" }
        << QStringList { "escombratges més lents, fins a 20 ms/div" };
    // At 20 ms/div the face holds less than half a sweep, a spot, which ADD's chopping cannot join into a
    // line; at 10 ms/div it is a trace in pieces, blinking a channel at a time.
    QTest::newRow("5 Hz in DUAL at 10 ms/div")
        << 5.0 << 10e-3 << true << false << QStringList { "pulsa también ADD" }
        << QStringList { "polsa també ADD" };
}

void TestExplanation::slowSignalsAreNotSweptFaster()
{
    QFETCH(double, hertz);
    QFETCH(double, secondsPerDiv);
    QFETCH(bool, dual);
    QFETCH(bool, faster);
    QFETCH(QStringList, castilian);
    QFETCH(QStringList, valencian);
    Hm203 scope;
    generator(scope, [hertz](GeneratorSettings &g) { g.frequencyHz = hertz; });
    scope.setValue(C::Dual, dual);
    setTime(scope, secondsPerDiv);
    const TraceExplanation e = explainTrace(scope);
    QVERIFY2(e.causes.contains(TraceCause::CrawlingSpot), qPrintable(e.castilian));
    for (const QString &words : castilian)
        QVERIFY2(e.castilian.contains(words), qPrintable(e.castilian));
    for (const QString &words : valencian)
        QVERIFY2(e.valencian.contains(words), qPrintable(e.valencian));
    QCOMPARE(e.castilian.contains(QStringLiteral("más rápidos")), faster);
    QCOMPARE(e.valencian.contains(QStringLiteral("més ràpids")), faster);
    // The advice holds on the instrument: a faster sweep the words turn down either still crawls or shows
    // less than a period; one they advise stands still somewhere with a whole period on the face.
    bool steadyWithAPeriod = false;
    for (double step : secondsPerDivSteps()) {
        if (step >= secondsPerDiv)
            continue;
        Hm203 swept = scope;
        setTime(swept, step);
        const bool crawls = explainTrace(swept).causes.contains(TraceCause::CrawlingSpot);
        steadyWithAPeriod = steadyWithAPeriod || (!crawls && 10.0 * step * hertz >= 1.0);
    }
    QCOMPARE(steadyWithAPeriod, faster);
}

void TestExplanation::warmUpSaysWhatTheRealTubeTakes()
{
    // The model's warm-up is kept short; the words give the real tube's.
    QVERIFY(WarmUp::seconds < WarmUp::realTubeSeconds / 4.0);
    const TraceExplanation e = explainTrace(Hm203(), { 0.0, 1.0 });
    QCOMPARE(e.causes.first(), TraceCause::WarmingUp);
    const QString real = QString::number(int(WarmUp::realTubeSeconds));
    QVERIFY2(e.castilian.contains(QStringLiteral("Un tubo real tarda unos %1 s en calentarse").arg(real)),
        qPrintable(e.castilian));
    QVERIFY2(e.valencian.contains(QStringLiteral("Un tub real tarda uns %1 s a escalfar-se").arg(real)),
        qPrintable(e.valencian));
    // What is left of the model's own warm-up, one second in.
    const QString left
        = QStringLiteral("%1 s").arg(QString::number(WarmUp::seconds - 1.0).replace(u'.', u','));
    QVERIFY2(e.castilian.contains(left) && e.valencian.contains(left), qPrintable(e.castilian));
}

void TestExplanation::anOffsetToMeasureIsNotGivenAway()
{
    // The DC-level task hides the offset: the note names the cause and the switch, not the volts.
    Hm203 scope;
    generator(scope, [](GeneratorSettings &g) { g.offsetIVolts = 8.0; });
    const TraceExplanation worked = explainTrace(scope, {}, ScreenReadings::Worked);
    const TraceExplanation withheld = explainTrace(scope, {}, ScreenReadings::Withheld);
    QCOMPARE(withheld.causes.first(), TraceCause::OffsetOffFace);
    QVERIFY2(worked.castilian.contains(QStringLiteral("8 V")), qPrintable(worked.castilian));
    for (const QString &text : { withheld.castilian, withheld.valencian }) {
        QVERIFY2(!text.contains(QLatin1Char('8')) && !text.contains(QStringLiteral(" V ")), qPrintable(text));
        QVERIFY2(text.contains(label(C::DcI)), qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(TestExplanation)
#include "tst_explanation.moc"
