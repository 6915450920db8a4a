#include "behaviourcases.h"
#include "componenttester.h"
#include "figuretouches.h"
#include "hm203.h"
#include "screenpainter.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using C = Hm203Control;

namespace {

/** The prepared pictures show an ideal instrument; the live one has its amplifier's band limit and delay
 * line, 90 ns late, with the sweep starting 25 ns before the edge that fires it: at the pictures' 0,2 ms/div
 * that moves a trace a ten-thousandth of a division, and a point of a 1 kHz X-Y figure a thousandth or
 * two along it. */
constexpr double kAmplifierShift = 3e-3;
/** What that shift does to a drawn picture: the edge of a line a few levels lighter or darker. */
constexpr int kAmplifierShade = 6;

/** True when two pictures differ nowhere by more than a few grey levels. */
bool nearlyEqual(const QImage &first, const QImage &second, int greyLevels)
{
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > greyLevels || std::abs(qGreen(p) - qGreen(q)) > greyLevels
                || std::abs(qBlue(p) - qBlue(q)) > greyLevels)
                return false;
        }
    }
    return true;
}

/** The drawn trace's rising crossings of a height, counted along the sweep. */
int risingCrossings(const Trace &trace, double level)
{
    int count = 0;
    for (qsizetype i = 1; i < trace.points.size(); ++i)
        if (trace.points.at(i - 1).y() < level && trace.points.at(i).y() >= level)
            ++count;
    return count;
}

double height(const Trace &trace)
{
    const QRectF r = traceBounds(trace);
    return r.height();
}

/** The instrument set to show a setting of the controls: the inverse of Hm203::scopeSettings(). */
Hm203 instrumentShowing(const ScopeSettings &s)
{
    Hm203 scope;
    GeneratorSettings g;
    g.waveform = s.channelI.signal.waveform;
    g.frequencyHz = s.channelI.signal.frequencyHz;
    g.amplitudeIVpp = s.channelI.signal.amplitudeVpp;
    g.offsetIVolts = s.channelI.signal.offsetVolts;
    g.amplitudeIIVpp = s.channelII.signal.amplitudeVpp;
    g.offsetIIVolts = s.channelII.signal.offsetVolts;
    g.phaseIIDegrees = s.channelII.signal.phaseDegrees;
    g.outputIToTriggerInput = true;
    scope.setGenerator(g);
    const auto channel = [&scope](const ChannelSettings &c, C volts, C ground, C dc, C invert, C position) {
        scope.setValue(volts, Hm203::voltsDivPosition(c.voltsPerDiv));
        scope.setValue(ground, c.coupling == Coupling::Ground);
        scope.setValue(dc, c.coupling == Coupling::DC);
        scope.setValue(invert, c.inverted);
        scope.setValue(position, int(std::lround(c.position * 10)));
    };
    channel(s.channelI, C::VoltsDivI, C::GroundI, C::DcI, C::InvertI, C::YPositionI);
    channel(s.channelII, C::VoltsDivII, C::GroundII, C::DcII, C::InvertII, C::YPositionII);
    scope.setValue(C::TimeDiv, Hm203::timeDivPosition(s.secondsPerDiv));
    scope.setValue(C::XY, s.mode == DisplayMode::XY);
    scope.setValue(C::Dual, s.mode == DisplayMode::Dual);
    scope.setValue(C::Add, s.mode == DisplayMode::Add);
    scope.setValue(C::ChannelII, s.mode == DisplayMode::ChannelII);
    // CH I/II also moves the trigger to channel II; a picture of channel II triggered from channel I is
    // what EXT. shows with output I on TRIG. INP.
    scope.setValue(
        C::ExtTrigger, s.mode == DisplayMode::ChannelII && s.trigger.source == TriggerSource::ChannelI);
    scope.setValue(C::TriggerCoupling, 1); // DC
    const double sourceVolts
        = s.trigger.source == TriggerSource::ChannelII ? s.channelII.voltsPerDiv : s.channelI.voltsPerDiv;
    scope.setValue(C::Level, int(std::lround(s.trigger.levelVolts / sourceVolts * 10)));
    scope.setValue(C::Slope, s.trigger.slope == TriggerSlope::Falling);
    scope.setValue(C::AtNorm, s.trigger.mode == TriggerMode::Normal);
    return scope;
}

/** A steady instrument with only the controls given changed. */
Hm203 with(std::initializer_list<std::pair<C, int>> moves, GeneratorSettings g = {})
{
    Hm203 scope;
    scope.setGenerator(g);
    for (const auto &[control, value] : moves)
        scope.setValue(control, value);
    return scope;
}

} // namespace

class TestHm203 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensReady()
    {
        const Hm203 scope;
        QVERIFY(scope.isPressed(C::Power));
        QCOMPARE(scope.valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,2 ms/div"));
        QCOMPARE(scope.valueText(C::VoltsDivI, Language::Castilian), QStringLiteral("1 V/div"));
        const LiveScreen live = scope.screen();
        QVERIFY(live.traces.triggered);
        QVERIFY(!live.moving);
        QCOMPARE(live.traces.traces.size(), 1);
        // 4 Vpp at 1 V/div, two periods at 0.2 ms/div.
        QCOMPARE(qRound(height(live.traces.traces.first()) * 10), 40);
        QCOMPARE(risingCrossings(live.traces.traces.first(), 1.0), 2);
    }

    void valuesReadAloud_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        QTest::newRow("DUAL in") << int(C::Dual) << 1 << "pulsado"
                                 << "polsat";
        QTest::newRow("DUAL out") << int(C::Dual) << 0 << "suelto"
                                  << "solt";
        QTest::newRow("fastest sweep") << int(C::TimeDiv) << 17 << "0,5 µs/div"
                                       << "0,5 µs/div";
        QTest::newRow("slowest sweep") << int(C::TimeDiv) << 0 << "0,2 s/div"
                                       << "0,2 s/div";
        QTest::newRow("5 mV") << int(C::VoltsDivII) << 11 << "5 mV/div"
                              << "5 mV/div";
        QTest::newRow("20 V") << int(C::VoltsDivI) << 0 << "20 V/div"
                              << "20 V/div";
        QTest::newRow("CAL") << int(C::TimeCal) << 100 << "CAL"
                             << "CAL";
        QTest::newRow("uncalibrated") << int(C::VoltsCalI) << 0 << "sin calibrar ×2,5"
                                      << "sense calibrar ×2,5";
        QTest::newRow("part way") << int(C::TimeCal) << 40 << "sin calibrar ×1,9"
                                  << "sense calibrar ×1,9";
        QTest::newRow("level") << int(C::Level) << -15 << "\u22121,5 div"
                               << "\u22121,5 div";
        QTest::newRow("position") << int(C::YPositionII) << 20 << "+2,0 div"
                                  << "+2,0 div";
        QTest::newRow("centred") << int(C::XPosition) << 0 << "centro"
                                 << "centre";
        QTest::newRow("mains") << int(C::TriggerCoupling) << 4 << "~ (red)"
                               << "~ (xarxa)";
        QTest::newRow("intensity") << int(C::Intensity) << 35 << "35 %"
                                   << "35 %";
        QTest::newRow("rotation") << int(C::TraceRotation) << -20 << "\u22121,00°"
                                  << "\u22121,00°";
    }
    void valuesReadAloud()
    {
        QFETCH(int, control);
        QFETCH(int, value);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        Hm203 scope;
        scope.setValue(C(control), value);
        QCOMPARE(scope.valueText(C(control), Language::Castilian), castilian);
        QCOMPARE(scope.valueText(C(control), Language::Valencian), valencian);
    }

    void aReadingComesFromThePositionAskedFor()
    {
        // A knob that has just turned is read before the instrument hears of it.
        Hm203 scope;
        QCOMPARE(scope.readingAt(C::TimeDiv, Hm203::timeDivPosition(1e-3), Language::Castilian),
            QStringLiteral("1 ms/div"));
        QCOMPARE(scope.readingAt(C::GroundI, 1, Language::Valencian), QStringLiteral("polsat"));
        QCOMPARE(scope.valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,2 ms/div"));
        QCOMPARE(scope.valueText(C::GroundI, Language::Valencian), QStringLiteral("solt"));
    }

    void aRangeSwitchSaysWhenItsFineKnobIsOff_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("cal");
        QTest::addColumn<QString>("calibrated");
        QTest::newRow("TIME/DIV") << int(C::TimeDiv) << int(C::TimeCal) << "0,2 ms/div";
        QTest::newRow("VOLTS/DIV I") << int(C::VoltsDivI) << int(C::VoltsCalI) << "1 V/div";
        QTest::newRow("VOLTS/DIV II") << int(C::VoltsDivII) << int(C::VoltsCalII) << "1 V/div";
    }
    void aRangeSwitchSaysWhenItsFineKnobIsOff()
    {
        QFETCH(int, range);
        QFETCH(int, cal);
        QFETCH(QString, calibrated);
        Hm203 scope;
        QCOMPARE(scope.valueText(C(range), Language::Castilian), calibrated);
        scope.setValue(C(cal), 99);
        QCOMPARE(
            scope.valueText(C(range), Language::Castilian), calibrated + QStringLiteral(", sin calibrar"));
        QCOMPARE(
            scope.valueText(C(range), Language::Valencian), calibrated + QStringLiteral(", sense calibrar"));
        // The other switches keep their plain reading.
        for (const C other : { C::TimeDiv, C::VoltsDivI, C::VoltsDivII }) {
            if (other != C(range))
                QVERIFY(!scope.valueText(other, Language::Castilian).contains(QStringLiteral("calibrar")));
        }
    }

    void everyControlStaysInItsRange()
    {
        Hm203 scope;
        for (const Hm203ControlInfo &info : hm203Controls()) {
            QVERIFY(info.minimum < info.maximum);
            QVERIFY(info.initial >= info.minimum && info.initial <= info.maximum);
            scope.setValue(info.id, info.maximum + 1000);
            QCOMPARE(scope.value(info.id), info.maximum);
            scope.setValue(info.id, info.minimum - 1000);
            QCOMPARE(scope.value(info.id), info.minimum);
            QVERIFY(!scope.setValue(info.id, info.minimum)); // no change, no report
        }
    }

    void generatorKeepsToItsRanges()
    {
        Hm203 scope;
        GeneratorSettings g;
        g.frequencyHz = 5e9;
        g.amplitudeIVpp = -3;
        g.offsetIIVolts = 1e6;
        g.phaseIIDegrees = std::nan("");
        QVERIFY(scope.setGenerator(g));
        QCOMPARE(scope.generator().frequencyHz, GeneratorLimits::maximumHz);
        QCOMPARE(scope.generator().amplitudeIVpp, 0.0);
        QCOMPARE(scope.generator().offsetIIVolts, GeneratorLimits::maximumOffset);
        QCOMPARE(scope.generator().phaseIIDegrees, 0.0); // not a number: the old phase stays
        QVERIFY(!scope.setGenerator(scope.generator()));
    }

    void outputIIRunsAtItsOwnFrequency_data()
    {
        QTest::addColumn<int>("waveform");
        QTest::addColumn<double>("asked");
        QTest::addColumn<double>("kept");
        QTest::addColumn<double>("runs");
        // Output I at 1 kHz throughout.
        QTest::newRow("unset: output I's") << int(Waveform::Sine) << 0.0 << 0.0 << 1000.0;
        QTest::newRow("its own") << int(Waveform::Sine) << 2500.0 << 2500.0 << 2500.0;
        QTest::newRow("below the lowest") << int(Waveform::Sine) << 0.2 << 1.0 << 1.0;
        QTest::newRow("negative") << int(Waveform::Sine) << -5.0 << 1.0 << 1.0;
        QTest::newRow("above a sine's top") << int(Waveform::Sine) << 60e6 << 50e6 << 50e6;
        QTest::newRow("above a square's top") << int(Waveform::Square) << 20e6 << 10e6 << 10e6;
        QTest::newRow("not a number: unset stays") << int(Waveform::Sine) << std::nan("") << 0.0 << 1000.0;
    }
    void outputIIRunsAtItsOwnFrequency()
    {
        QFETCH(int, waveform);
        QFETCH(double, asked);
        QFETCH(double, kept);
        QFETCH(double, runs);
        Hm203 scope;
        GeneratorSettings g;
        g.waveform = Waveform(waveform);
        g.frequencyHz = 1000.0;
        g.frequencyIIHz = asked;
        scope.setGenerator(g);
        QCOMPARE(scope.generator().frequencyIIHz, kept);
        QCOMPARE(scope.signalII().frequencyHz, runs);
        QCOMPARE(scope.signalI().frequencyHz, 1000.0);
    }

    void outputIIAtOutputIsFrequencyKeepsItsPhase()
    {
        // Given output I's frequency as its own, output II is the same wave as when it follows output I: the
        // phase means what it always did.
        GeneratorSettings following;
        following.frequencyHz = 1500.0;
        following.phaseIIDegrees = -60.0;
        GeneratorSettings own = following;
        own.frequencyIIHz = 1500.0;
        Hm203 a;
        Hm203 b;
        a.setGenerator(following);
        b.setGenerator(own);
        for (int i = 0; i < 50; ++i) {
            const double t = i * 1.7e-5;
            QCOMPARE(a.signalII().valueAt(t), b.signalII().valueAt(t));
        }
        // Where output II, 60° behind, crosses zero rising, output I is 60° into its cycle: at sin 60° of its
        // peak.
        const InputSignal one = b.signalI();
        const InputSignal two = b.signalII();
        double rising = 0.0;
        for (int i = 1; i < 10000; ++i)
            if (two.valueAt((i - 1) * 1e-7) < 0.0 && two.valueAt(i * 1e-7) >= 0.0)
                rising = i * 1e-7;
        QVERIFY(std::abs(one.valueAt(rising) / (one.amplitudeVpp / 2.0) - std::sin(M_PI / 3.0)) < 0.01);
    }

    void timeBaseSetsThePeriodsShown_data()
    {
        QTest::addColumn<double>("secondsPerDiv");
        QTest::addColumn<int>("periods");
        QTest::newRow("0.1 ms") << 0.1e-3 << 1;
        QTest::newRow("0.2 ms") << 0.2e-3 << 2;
        QTest::newRow("0.5 ms") << 0.5e-3 << 5;
        QTest::newRow("1 ms") << 1e-3 << 10;
        QTest::newRow("2 ms") << 2e-3 << 20;
    }
    void timeBaseSetsThePeriodsShown()
    {
        QFETCH(double, secondsPerDiv);
        QFETCH(int, periods);
        const Hm203 scope = with({ { C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv) } });
        const Trace trace = scope.screen().traces.traces.value(0);
        // Triggered on the rising zero: each whole period crosses half its height once on the way up.
        QCOMPARE(risingCrossings(trace, 1.0), periods);
        // The fine knob turned fully away from CAL speeds the sweep up 2,5 times (0,5 µs/cm becomes
        // 0,2 µs/cm in the technical data): fewer periods, each one wider.
        Hm203 fast = scope;
        fast.setValue(C::TimeCal, 0);
        QCOMPARE(periodsOnScreen(1000, fast.scopeSettings().secondsPerDiv), periods / 2.5);
        QCOMPARE(risingCrossings(fast.screen().traces.traces.value(0), 1.0), int(std::ceil(periods / 2.5)));
        // X-MAG spreads a tenth of the sweep over the screen.
        Hm203 magnified = scope;
        magnified.setValue(C::XMagnifier, 1);
        QCOMPARE(magnified.scopeSettings().xMagnified, true);
        const QList<Trace> spread = magnified.screen().traces.traces;
        QCOMPARE(spread.size(), 1);
        QVERIFY(traceBounds(spread.first()).width() > 10.0);
        if (periods >= 10)
            QCOMPARE(risingCrossings(spread.first(), 1.0), periods / 10);
    }

    void sensitivitySetsTheDivisions_data()
    {
        QTest::addColumn<double>("voltsPerDiv");
        QTest::addColumn<bool>("magnified");
        QTest::addColumn<double>("divisions");
        QTest::newRow("0.5 V") << 0.5 << false << 8.0;
        QTest::newRow("1 V") << 1.0 << false << 4.0;
        QTest::newRow("2 V") << 2.0 << false << 2.0;
        QTest::newRow("5 V") << 5.0 << false << 0.8;
        QTest::newRow("5 V x5") << 5.0 << true << 4.0;
    }
    void sensitivitySetsTheDivisions()
    {
        QFETCH(double, voltsPerDiv);
        QFETCH(bool, magnified);
        QFETCH(double, divisions);
        Hm203 scope
            = with({ { C::VoltsDivI, Hm203::voltsDivPosition(voltsPerDiv) }, { C::MagnifyI, magnified } });
        const Trace trace = scope.screen().traces.traces.value(0);
        QVERIFY(std::abs(height(trace) - divisions) < 0.01);
        // The fine knob turned fully away from CAL raises the sensitivity 2,5 times (5 mV/cm reads as
        // 2 mV/cm in the technical data): the trace grows, up to where the amplifier runs out.
        scope.setValue(C::VoltsCalI, 0);
        QCOMPARE(scope.scopeSettings().channelI.voltsPerDiv, voltsPerDiv / 2.5 / (magnified ? 5.0 : 1.0));
        const double grown = std::min(divisions * 2.5, 2 * ScreenGeometry::amplifierLimit);
        QVERIFY(std::abs(height(scope.screen().traces.traces.value(0)) - grown) < 0.01);
    }

    void levelAndSlopePlaceTheStart_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("falling");
        QTest::newRow("0 rising") << 0 << false;
        QTest::newRow("+1.5 rising") << 15 << false;
        QTest::newRow("-1 rising") << -10 << false;
        QTest::newRow("0 falling") << 0 << true;
        QTest::newRow("+1.5 falling") << 15 << true;
    }
    void levelAndSlopePlaceTheStart()
    {
        QFETCH(int, level);
        QFETCH(bool, falling);
        const Hm203 scope = with({ { C::Level, level }, { C::Slope, falling } });
        const LiveScreen live = scope.screen();
        QVERIFY(live.traces.triggered);
        const QList<QPointF> &points = live.traces.traces.value(0).points;
        QVERIFY(std::abs(points.first().y() - level / 10.0) < 0.02);
        QCOMPARE(points.at(5).y() < points.first().y(), falling);
        // Beyond the peaks nothing triggers: AT runs free, NORM goes dark.
        Hm203 beyond = scope;
        beyond.setValue(C::Level, 30);
        QVERIFY(!beyond.screen().traces.triggered);
        QVERIFY(beyond.screen(BeamMoment { 1.0 }).moving);
        beyond.setValue(C::AtNorm, 1);
        QVERIFY(beyond.screen().traces.traces.isEmpty());
    }

    void aSmallSignalDoesNotTrigger_data()
    {
        QTest::addColumn<double>("voltsPeakToPeak");
        QTest::addColumn<bool>("external");
        QTest::addColumn<bool>("triggers");
        // At 10 V/div: 4 V is a trace 0,4 div high, 6 V one of 0,6 div; TRIG. INP. needs 0,6 V.
        QTest::newRow("0,4 div on CH I") << 4.0 << false << false;
        QTest::newRow("0,6 div on CH I") << 6.0 << false << true;
        QTest::newRow("0,5 V at TRIG. INP.") << 0.5 << true << false;
        QTest::newRow("0,7 V at TRIG. INP.") << 0.7 << true << true;
    }

    void theTriggerStopsAt40MHz_data()
    {
        QTest::addColumn<double>("hertz");
        QTest::addColumn<bool>("triggers");
        QTest::newRow("35 MHz") << 35e6 << true;
        QTest::newRow("45 MHz") << 45e6 << false;
    }
    void theTriggerStopsAt40MHz()
    {
        QFETCH(double, hertz);
        QFETCH(bool, triggers);
        // Through a ×10 probe, whose band reaches past the amplifier's: 35 MHz still stands 1,7 div high.
        GeneratorSettings g;
        g.frequencyHz = hertz;
        g.amplitudeIVpp = 10.0;
        g.probeI = Probe::Times10;
        g.compensationI = 1.0;
        const Hm203 scope = with({ { C::TimeDiv, Hm203::timeDivPosition(0.5e-6) },
                                     { C::VoltsDivI, Hm203::voltsDivPosition(0.2) } },
            g);
        QCOMPARE(scope.screen().traces.triggered, triggers);
    }
    void aSmallSignalDoesNotTrigger()
    {
        QFETCH(double, voltsPeakToPeak);
        QFETCH(bool, external);
        QFETCH(bool, triggers);
        GeneratorSettings g;
        g.amplitudeIVpp = voltsPeakToPeak;
        g.outputIToTriggerInput = true;
        const Hm203 scope = with(
            { { C::VoltsDivI, Hm203::voltsDivPosition(10.0) }, { C::ExtTrigger, external ? 1 : 0 } }, g);
        QCOMPARE(scope.screen().traces.triggered, triggers);
        // Below the threshold AT runs free and NORM leaves the screen dark.
        Hm203 normal = scope;
        normal.setValue(C::AtNorm, 1);
        QCOMPARE(normal.screen().traces.traces.isEmpty(), !triggers);
    }

    void acCouplingSettlesAfterTheSwitch_data()
    {
        QTest::addColumn<double>("after");
        QTest::addColumn<double>("divisions");
        // A 1 kHz sine on 2 V of offset, at 1 V/div, switched from DC to AC at 1 s: the trace starts 2 div
        // up, where DC had it, and falls with the coupling's 0,1 s.
        QTest::newRow("at the switch") << 0.0 << 2.0;
        QTest::newRow("one time constant on") << 0.1 << 2.0 / std::numbers::e;
        QTest::newRow("half a second on") << 0.5 << 2.0 * std::exp(-5.0);
        QTest::newRow("0,7 s on: settled, under a hundredth of a division off")
            << 0.7 << 2.0 * std::exp(-7.0);
    }
    void acCouplingSettlesAfterTheSwitch()
    {
        QFETCH(double, after);
        QFETCH(double, divisions);
        GeneratorSettings g;
        g.offsetIVolts = 2.0;
        Hm203 scope = with({ { C::DcI, 1 } }, g);
        QVERIFY(scope.setValueAt(C::DcI, 0, 1.0));
        const Trace trace = computeTraces(scope.scopeSettingsAt(1.0 + after)).traces.value(0);
        const QRectF bounds = traceBounds(trace);
        QVERIFY2(std::abs(bounds.center().y() - divisions) < 0.02,
            qPrintable(QString::number(bounds.center().y())));
        QCOMPARE(scope.settlingAt(1.0 + after), after < 0.6);
        // Back to DC, the capacitor is bypassed: the trace is at once where its mean puts it.
        scope.setValueAt(C::DcI, 1, 1.0 + after);
        QVERIFY(
            std::abs(
                traceBounds(computeTraces(scope.scopeSettingsAt(1.0 + after)).traces.value(0)).center().y()
                - 2.0)
            < 0.02);
    }

    void aBurstNeedsHoldOff_data()
    {
        QTest::addColumn<int>("holdOff");
        QTest::addColumn<int>("images");
        // Four cycles of 1 kHz every 10 ms, a 2 ms sweep: at the shortest hold-off the time base is ready
        // again 2,3 ms on, within the burst, and the fourth cycle starts a sweep of its own; with HOLD OFF
        // past 40 % it waits out the burst and every sweep starts on the first cycle.
        QTest::newRow("shortest hold-off: two pictures over each other") << 0 << 2;
        QTest::newRow("HOLD OFF at 50 %: one") << 50 << 1;
    }
    void aBurstNeedsHoldOff()
    {
        QFETCH(int, holdOff);
        QFETCH(int, images);
        GeneratorSettings g;
        g.burst = true;
        const Hm203 scope = with({ { C::HoldOff, holdOff } }, g);
        const BeamFrame frame = scope.beam(0.0, 0.08);
        QVERIFY(frame.writing.steady);
        // Pictures told apart by where the trace stands 1,25 ms after its start: on a crest for a sweep the
        // burst's first cycle starts, at rest for one its fourth starts.
        QList<int> heights;
        for (const BeamStroke &stroke : frame.writing.strokes) {
            const int at = int(std::lround(stroke.points.at(stroke.points.size() * 5 / 8).y() * 20.0));
            if (!heights.contains(at))
                heights << at;
        }
        QCOMPARE(heights.size(), images);
    }

    void theTriggerCouplingFiltersWhatRidesOnTheSignal_data()
    {
        QTest::addColumn<double>("humVolts");
        QTest::addColumn<double>("noiseVolts");
        QTest::addColumn<int>("coupling");
        QTest::addColumn<bool>("steady");
        // A 5 kHz sine of 2 Vpp: 1 V of hum moves the moment it crosses the level from sweep to sweep,
        // unless HF keeps the hum out of the trigger; 0,2 V rms of noise makes it jitter, unless LF does.
        QTest::newRow("hum, DC") << 1.0 << 0.0 << int(TriggerCoupling::DC) << false;
        QTest::newRow("hum, HF") << 1.0 << 0.0 << int(TriggerCoupling::HF) << true;
        QTest::newRow("noise, DC") << 0.0 << 0.2 << int(TriggerCoupling::DC) << false;
        QTest::newRow("noise, LF") << 0.0 << 0.2 << int(TriggerCoupling::LF) << true;
    }
    void theTriggerCouplingFiltersWhatRidesOnTheSignal()
    {
        QFETCH(double, humVolts);
        QFETCH(double, noiseVolts);
        QFETCH(int, coupling);
        QFETCH(bool, steady);
        GeneratorSettings g;
        g.frequencyHz = coupling == int(TriggerCoupling::LF) ? 500.0 : 5000.0;
        g.amplitudeIVpp = 2.0;
        g.humVolts = humVolts;
        g.noiseVolts = noiseVolts;
        ScopeSettings settings = with({ { C::TriggerCoupling, coupling } }, g).scopeSettings();
        // Where in the signal's period each of a few sweeps starts.
        double least = 1.0;
        double most = 0.0;
        for (int k = 0; k < 8; ++k) {
            settings.armedSeconds = 0.0031 * k;
            settings.channelI.signal.noiseSeed = unsigned(k + 1);
            const std::optional<double> start = triggerTime(settings);
            QVERIFY(start);
            const double cycles = *start * g.frequencyHz;
            const double phase = cycles - std::floor(cycles + 0.5);
            least = std::min(least, phase);
            most = std::max(most, phase);
        }
        QVERIFY2((most - least < 0.002) == steady, qPrintable(QString::number(most - least)));
    }

    void aNoisyTraceIsASteadyBlur()
    {
        GeneratorSettings g;
        g.noiseVolts = 0.2;
        const BeamFrame frame = with({}, g).beam(0.0, 0.08);
        QVERIFY(frame.writing.steady);
        QVERIFY(frame.writing.strokes.size() >= 4);
        // The sweeps differ where the noise differs: the same point of the trace at several heights.
        double lowest = 1e9;
        double highest = -1e9;
        for (const BeamStroke &stroke : frame.writing.strokes) {
            const double y = stroke.points.at(stroke.points.size() / 3).y();
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
        QVERIFY(highest - lowest > 0.05);
    }

    void anUntriggeredTraceRuns()
    {
        // HF passes nothing as slow as 1 kHz: the sweep starts anywhere, and the picture moves.
        const Hm203 scope = with({ { C::TriggerCoupling, 2 } });
        const LiveScreen a = scope.screen(BeamMoment { 10.0 });
        const LiveScreen b = scope.screen(BeamMoment { 10.0337 });
        QVERIFY(!a.traces.triggered);
        QVERIFY(a.moving);
        QVERIFY(a.traces.traces.value(0).points.first() != b.traces.traces.value(0).points.first());
        // The mains position follows the mains, which a generator running free of them never quite keeps
        // step with: 1 kHz slides past the sweep as 1010 Hz does, only slower.
        GeneratorSettings g;
        QVERIFY(with({ { C::TriggerCoupling, 4 } }, g).screen(BeamMoment { 3.0 }).moving);
        g.frequencyHz = 1010;
        QVERIFY(with({ { C::TriggerCoupling, 4 } }, g).screen(BeamMoment { 3.0 }).moving);
        // EXT. hears output I wired to TRIG. INP.: channel II shown steady, delayed by its phase.
        g.frequencyHz = 1000;
        g.outputIToTriggerInput = true;
        g.phaseIIDegrees = -90;
        g.amplitudeIIVpp = 4;
        const LiveScreen ext = with({ { C::ChannelII, 1 }, { C::ExtTrigger, 1 } }, g).screen();
        QVERIFY(ext.traces.triggered);
        QVERIFY(std::abs(ext.traces.traces.value(0).points.first().y() + 2.0) < 0.02);
    }

    void positionsCouplingAndInversion()
    {
        GeneratorSettings g;
        g.offsetIVolts = 1.0;
        const auto middle = [](const Hm203 &scope) {
            const QRectF r = traceBounds(scope.screen().traces.traces.value(0));
            return r.center().y();
        };
        QVERIFY(std::abs(middle(with({}, g)) - 1.0) < 0.02); // DC shows the offset
        QVERIFY(std::abs(middle(with({ { C::DcI, 0 } }, g))) < 0.02); // AC takes it away
        QVERIFY(std::abs(middle(with({ { C::YPositionI, 25 } }, g)) - 3.5) < 0.02);
        const Hm203 grounded = with({ { C::GroundI, 1 }, { C::YPositionI, -10 } }, g);
        QCOMPARE(height(grounded.screen().traces.traces.value(0)), 0.0);
        QVERIFY(std::abs(middle(grounded) + 1.0) < 1e-9);
        // X-POS. moves the whole sweep sideways.
        QCOMPARE(traceBounds(with({ { C::XPosition, 20 } }).screen().traces.traces.value(0)).left(), -3.0);
        // INV turns the trace upside down.
        const QList<QPointF> upright = with({}).screen().traces.traces.value(0).points;
        const QList<QPointF> inverted = with({ { C::InvertI, 1 } }).screen().traces.traces.value(0).points;
        QCOMPARE(upright.size(), inverted.size());
        QVERIFY(std::abs(upright.at(40).y() + inverted.at(40).y()) < 1e-9);
    }

    void twoChannels()
    {
        GeneratorSettings g;
        g.amplitudeIIVpp = 4;
        g.phaseIIDegrees = 180;
        // DUAL alternates whole sweeps: both traces at 0.2 ms/div, one at a time at 5 ms/div.
        QCOMPARE(with({ { C::Dual, 1 } }, g).screen().traces.traces.size(), 2);
        // A 50 ms sweep, then 7,5 ms of retrace and hold-off and the wait for the next trigger: 58 ms.
        const Hm203 slow = with({ { C::Dual, 1 }, { C::TimeDiv, Hm203::timeDivPosition(5e-3) } }, g);
        QVERIFY(slow.screen().moving);
        const auto written = [&slow](double t) {
            QList<TraceKind> kinds;
            for (const BeamStroke &stroke : slow.beam(t - 0.005, t).writing.strokes)
                if (!kinds.contains(stroke.kind))
                    kinds << stroke.kind;
            return kinds;
        };
        QCOMPARE(written(0.01), QList<TraceKind> { TraceKind::ChannelI });
        QCOMPARE(written(0.065), QList<TraceKind> { TraceKind::ChannelII });
        // DUAL and ADD chop: at 1 µs/div the switching shows as pieces of both channels.
        const LiveScreen chopped
            = with({ { C::Dual, 1 }, { C::Add, 1 }, { C::TimeDiv, Hm203::timeDivPosition(1e-6) } }, g)
                  .screen();
        QVERIFY(chopped.traces.traces.size() > 4);
        // ADD of opposite sines of equal size cancels; INV II makes it twice as tall.
        QVERIFY(height(with({ { C::Add, 1 } }, g).screen().traces.traces.value(0)) < 1e-6);
        QVERIFY(
            std::abs(
                height(with({ { C::Add, 1 }, { C::InvertII, 1 } }, g).screen().traces.traces.value(0)) - 8.0)
            < 0.01);
    }

    void xyFiguresFollowThePhase_data()
    {
        QTest::addColumn<double>("phase");
        QTest::newRow("0°") << 0.0;
        QTest::newRow("-30°") << -30.0;
        QTest::newRow("-60°") << -60.0;
        QTest::newRow("-90°") << -90.0;
    }
    void xyFiguresFollowThePhase()
    {
        QFETCH(double, phase);
        GeneratorSettings g;
        g.amplitudeIIVpp = 4;
        g.phaseIIDegrees = phase;
        const Trace figure = with({ { C::XY, 1 } }, g).screen().traces.traces.value(0);
        QCOMPARE(figure.kind, TraceKind::XY);
        // sin φ = a / b: where the figure crosses the vertical centre line against its full height.
        double crossing = 0.0;
        for (qsizetype i = 1; i < figure.points.size(); ++i) {
            const QPointF p = figure.points.at(i - 1), q = figure.points.at(i);
            if ((p.x() < 0) != (q.x() < 0))
                crossing = std::max(crossing, std::abs(p.y() + (q.y() - p.y()) * (-p.x()) / (q.x() - p.x())));
        }
        const double b = height(figure) / 2.0;
        QVERIFY2(std::abs(std::asin(std::min(1.0, crossing / b)) * 180 / M_PI - std::abs(phase)) < 1.0,
            qPrintable(QString::number(crossing / b)));
    }

    void xyFigureTouchesItsEdgesAsTheRatioSays_data()
    {
        QTest::addColumn<double>("vertical");
        QTest::addColumn<double>("horizontal");
        QTest::addColumn<double>("phase");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("side");
        // fy / fx = touches on the top / touches on the right-hand edge, CH I (output I) vertical; 0 for
        // output II runs it at output I's frequency.
        QTest::newRow("1:1 following output I") << 1000.0 << 0.0 << -45.0 << 1 << 1;
        QTest::newRow("1:1 in phase, a line") << 1000.0 << 1000.0 << 0.0 << 1 << 1;
        QTest::newRow("1:2") << 1000.0 << 2000.0 << 0.0 << 1 << 2;
        QTest::newRow("1:2 at -30°") << 1000.0 << 2000.0 << -30.0 << 1 << 2;
        QTest::newRow("2:1") << 1000.0 << 500.0 << -30.0 << 2 << 1;
        QTest::newRow("2:3") << 1000.0 << 1500.0 << -30.0 << 2 << 3;
        QTest::newRow("2:3 slow") << 20.0 << 30.0 << 0.0 << 2 << 3;
        QTest::newRow("3:4") << 3000.0 << 4000.0 << -30.0 << 3 << 4;
    }
    void xyFigureTouchesItsEdgesAsTheRatioSays()
    {
        QFETCH(double, vertical);
        QFETCH(double, horizontal);
        QFETCH(double, phase);
        QFETCH(int, top);
        QFETCH(int, side);
        GeneratorSettings g;
        g.frequencyHz = vertical;
        g.frequencyIIHz = horizontal;
        g.amplitudeIIVpp = 4;
        g.phaseIIDegrees = phase;
        const Trace figure = with({ { C::XY, 1 } }, g).screen().traces.traces.value(0);
        QCOMPARE(figure.kind, TraceKind::XY);
        // It closes after the common period: the beam comes back where it started.
        QVERIFY(QLineF(figure.points.first(), figure.points.last()).length() < 1e-6);
        // Each axis's signal reaches its peak once a cycle, as many cycles as the common period holds.
        QCOMPARE(edgeTouches(figure, true), top);
        QCOMPARE(edgeTouches(figure, false), side);
        QVERIFY(std::abs(double(top) / side - vertical / (horizontal > 0.0 ? horizontal : vertical)) < 1e-9);
    }

    void thePracticeCircuitLeads()
    {
        GeneratorSettings g;
        g.hookup = Hookup::RcCircuit;
        Hm203 scope;
        scope.setGenerator(g);
        const InputSignal ue = scope.signalI();
        const InputSignal ur = scope.signalII();
        // 1 kΩ and 100 nF at 1 kHz: Ur leads Ue by atan(1 / ωRC) = 57.9° and is 0.847 times as large.
        const double wt = 2 * M_PI * 1000 * 1e-4;
        double peak = 0.0;
        double peakTime = 0.0;
        for (int i = 0; i < 10000; ++i) {
            const double t = i * 1e-7;
            if (ur.valueAt(t) > peak) {
                peak = ur.valueAt(t);
                peakTime = t;
            }
        }
        QVERIFY(std::abs(peak - 2.0 * wt / std::sqrt(1 + wt * wt)) < 1e-3);
        const double lead = (0.25e-3 - peakTime) * 360 / 1e-3;
        QVERIFY2(std::abs(lead - 57.86) < 0.2, qPrintable(QString::number(lead)));
        QCOMPARE(ue.amplitudeVpp, 4.0);
        // A square comes through as spikes that decay with RC and never keep a mean.
        g.waveform = Waveform::Square;
        g.offsetIVolts = 3;
        scope.setGenerator(g);
        const InputSignal spikes = scope.signalII();
        QVERIFY(spikes.valueAt(1e-6) > 3.5);
        QVERIFY(std::abs(spikes.valueAt(0.45e-3)) < spikes.valueAt(1e-6) * 0.05);
        g.waveform = Waveform::Triangle;
        scope.setGenerator(g);
        double mean = 0.0;
        for (int i = 0; i < 1000; ++i)
            mean += scope.signalII().valueAt(i * 1e-6) / 1000;
        QVERIFY(std::abs(mean) < 0.01);
    }

    void theCalibratorSquare()
    {
        for (const auto &[hookup, volts] :
            { std::pair { Hookup::Calibrator02, 0.2 }, std::pair { Hookup::Calibrator2, 2.0 } }) {
            GeneratorSettings g;
            g.hookup = hookup;
            Hm203 scope;
            scope.setGenerator(g);
            QCOMPARE(scope.signalI().waveform, Waveform::Square);
            QCOMPARE(scope.signalI().frequencyHz, 1000.0);
            QCOMPARE(scope.signalI().valueAt(0.1e-3), volts);
            QCOMPARE(scope.signalI().valueAt(0.6e-3), 0.0);
        }
    }

    void beamPowerTesterAndLooks()
    {
        Hm203 off = with({ { C::Power, 0 } });
        QVERIFY(off.screen().traces.traces.isEmpty());
        QCOMPARE(off.screen().brightness, 0.0);
        // After POWER the tube warms up: nothing for two seconds, then the trace fades in.
        const Hm203 on;
        QCOMPARE(on.screen(BeamMoment { 5.0, 1.0 }).brightness, 0.0);
        QVERIFY(on.screen(BeamMoment { 5.0, 1.0 }).moving);
        QVERIFY(on.screen(BeamMoment { 5.0, 10.0 }).brightness > 0.6);
        QCOMPARE(with({ { C::Intensity, 0 } }).screen().brightness, 0.0);
        QVERIFY(with({ { C::Focus, 0 } }).screen().spread > with({}).screen().spread * 5);
        QCOMPARE(with({ { C::TraceRotation, 50 } }).screen().rotationDegrees, 2.5);
        // The component tester: flat when open, a slope for a resistor, an ellipse for a capacitor, a
        // bent line for a diode.
        QCOMPARE(height(testerFigure(QString())), 0.0);
        const Trace resistor = testerFigure(QStringLiteral("r1k"));
        // The slope is the short's (3,5 div up for 4,5 across) scaled by the tester's 354 Ω over the 1 kΩ.
        const double slope = resistor.points.at(60).y() / resistor.points.at(60).x();
        QVERIFY(std::abs(slope / (3.5 / 4.5 * TesterSource::ohms / 1000.0) - 1.0) < 0.01);
        QVERIFY(height(testerFigure(QStringLiteral("c10u"))) > 3.0);
        const QRectF diode = traceBounds(testerFigure(QStringLiteral("d1n4148")));
        QVERIFY(diode.right() < 0.5 && diode.left() < -4.0 && diode.bottom() > 3.0);
        GeneratorSettings g;
        g.testerPart = QStringLiteral("c10u");
        const LiveScreen tester = with({ { C::Tester, 1 } }, g).screen();
        QCOMPARE(tester.traces.traces.size(), 1);
        QCOMPARE(tester.traces.traces.first().kind, TraceKind::XY);
    }

    /** The instrument set like each prepared picture of the behaviour window draws that very trace. */
    void drawsTheBehaviourPictures_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < behaviourCases().size(); ++i)
            QTest::newRow(qPrintable(behaviourCases().at(i).fileName)) << i;
    }
    void drawsTheBehaviourPictures()
    {
        QFETCH(int, row);
        const BehaviourCase &picture = behaviourCases().at(row);
        const Hm203 scope = instrumentShowing(picture.settings);
        const ScreenTraces expected = computeTraces(picture.settings);
        const ScreenTraces live = scope.screen().traces;
        QCOMPARE(live.triggered, expected.triggered);
        QCOMPARE(live.traces.size(), expected.traces.size());
        for (qsizetype t = 0; t < live.traces.size(); ++t) {
            QCOMPARE(live.traces.at(t).kind, expected.traces.at(t).kind);
            QCOMPARE(live.traces.at(t).points.size(), expected.traces.at(t).points.size());
            for (qsizetype i = 0; i < live.traces.at(t).points.size(); ++i) {
                const QPointF d = live.traces.at(t).points.at(i) - expected.traces.at(t).points.at(i);
                QVERIFY2(std::abs(d.x()) < kAmplifierShift && std::abs(d.y()) < kAmplifierShift,
                    qPrintable(QString::number(i)));
            }
        }
        // And the picture file the program shows is what the instrument's screen draws.
        QImage file(QStringLiteral(VANTELA_APP_DIR "/") + picture.fileName);
        QVERIFY(!file.isNull());
        ScreenOptions options;
        options.scaleLegend = true;
        const QImage drawn = ScreenPainter::render(scope.scopeSettings(), file.size(), options);
        QVERIFY(nearlyEqual(drawn, file, kAmplifierShade));
    }

    /** Thousands of random turns, as fast as they come: the model stays drawable and sane. */
    void randomTurnsKeepTheInstrumentSane()
    {
        QRandomGenerator random(203);
        Hm203 scope;
        QElapsedTimer clock;
        clock.start();
        for (int turn = 0; turn < 4000; ++turn) {
            const Hm203ControlInfo &info = hm203Controls().at(random.bounded(kHm203ControlCount));
            scope.setValue(info.id, random.bounded(info.minimum - 3, info.maximum + 4));
            QVERIFY(scope.value(info.id) >= info.minimum && scope.value(info.id) <= info.maximum);
            if (turn % 7 == 0) {
                GeneratorSettings g = scope.generator();
                g.waveform = Waveform(random.bounded(3));
                g.frequencyHz = std::pow(10.0, random.bounded(7.0));
                g.amplitudeIVpp = random.bounded(25.0);
                g.amplitudeIIVpp = random.bounded(25.0);
                g.offsetIVolts = random.bounded(30.0) - 15;
                g.phaseIIDegrees = random.bounded(400.0) - 200;
                g.hookup = Hookup(random.bounded(4));
                g.testerPart = QStringList { QString(), QStringLiteral("r1k"), QStringLiteral("c10u"),
                    QStringLiteral("d1n4148") }
                                   .value(int(random.bounded(4)));
                scope.setGenerator(g);
            }
            if (turn % 4 != 0)
                continue;
            const LiveScreen live = scope.screen(BeamMoment { random.bounded(100.0), random.bounded(10.0) });
            QVERIFY(live.brightness >= 0.0 && live.brightness <= 1.0);
            QVERIFY(std::isfinite(live.spread) && std::isfinite(live.rotationDegrees));
            for (const Trace &trace : live.traces.traces) {
                QVERIFY(trace.points.size() <= 20001);
                for (const QPointF &p : trace.points) {
                    QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
                    // Inside the amplifiers' reach (the face clips what lies past its edge); X-MAG
                    // computes only what the face shows.
                    QVERIFY2(std::abs(p.y()) <= ScreenGeometry::amplifierLimit + 1e-9,
                        qPrintable(QString::number(p.y())));
                    QVERIFY2(
                        std::abs(p.x()) <= ScreenGeometry::amplifierLimit + ScreenGeometry::halfWidth + 1e-9,
                        qPrintable(QString::number(p.x())));
                }
            }
        }
        QVERIFY2(clock.elapsed() < 60000, "no turn hangs the model");
    }
};

QTEST_MAIN(TestHm203)
#include "tst_hm203.moc"
