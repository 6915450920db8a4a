#include "behaviourcases.h"
#include "decimalformat.h"
#include "deflectiondemo.h"
#include "screentraces.h"
#include "verticalpath.h"

#include <QSet>
#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

/** How long after the sweep's start the edge that fired it reaches the plates: the delay line's 70 ns
 * less the 45 ns the trigger and the sweep take to start. */
constexpr double kDelayLineLead = 25e-9;

ChannelSettings channel(
    double vpp, double frequency, double voltsPerDiv, double phase = 0.0, double offset = 0.0)
{
    ChannelSettings c;
    c.signal.amplitudeVpp = vpp;
    c.signal.frequencyHz = frequency;
    c.signal.phaseDegrees = phase;
    c.signal.offsetVolts = offset;
    c.voltsPerDiv = voltsPerDiv;
    return c;
}

ScopeSettings oneChannel(const ChannelSettings &c, double secondsPerDiv)
{
    ScopeSettings s;
    s.channelI = c;
    s.channelII.coupling = Coupling::Ground;
    s.secondsPerDiv = secondsPerDiv;
    return s;
}

/** The x positions where a trace crosses a level going up (or down), by linear interpolation. */
QList<double> crossings(const Trace &trace, double level, bool rising)
{
    QList<double> found;
    for (qsizetype i = 1; i < trace.points.size(); ++i) {
        const QPointF a = trace.points.at(i - 1);
        const QPointF b = trace.points.at(i);
        const bool crosses = rising ? (a.y() < level && b.y() >= level) : (a.y() > level && b.y() <= level);
        if (crosses)
            found.append(a.x() + (level - a.y()) / (b.y() - a.y()) * (b.x() - a.x()));
    }
    return found;
}

double meanY(const Trace &trace)
{
    double sum = 0.0;
    for (const QPointF &p : trace.points)
        sum += p.y();
    return sum / trace.points.size();
}

} // namespace

Q_DECLARE_METATYPE(DecimalStyle)

/** The instrument model: scales, triggering, coupling, modes, the case table and the deflection frames. */
class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void calibratedSteps();
    void decimalTexts_data();
    void decimalTexts();
    void scaleTexts_data();
    void scaleTexts();
    void waveforms_data();
    void waveforms();
    void periodOnScreen_data();
    void periodOnScreen();
    void peakToPeak_data();
    void peakToPeak();
    void overdriveLeavesScreen();
    void triggerStart_data();
    void triggerStart();
    void untriggeredSweep();
    void coupling_data();
    void coupling();
    void modes();
    void xPosition();
    void lissajous_data();
    void lissajous();
    void badSettingsGiveNoFault();

    void caseTableShape();
    void caseTableClaims_data();
    void caseTableClaims();

    void deflectionFiles();
    void deflectionFinalFrames_data();
    void deflectionFinalFrames();
    void deflectionSteps();
};

void TestModel::calibratedSteps()
{
    const QList<double> &volts = voltsPerDivSteps();
    QCOMPARE(volts.size(), 12);
    QCOMPARE(volts.first(), 5e-3);
    QCOMPARE(volts.last(), 20.0);
    const QList<double> &times = secondsPerDivSteps();
    QCOMPARE(times.size(), 18);
    QCOMPARE(times.first(), 0.5e-6);
    QCOMPARE(times.last(), 0.2);
    for (const QList<double> *steps : { &volts, &times }) {
        for (qsizetype i = 1; i < steps->size(); ++i) {
            const double ratio = steps->at(i) / steps->at(i - 1);
            QVERIFY2(std::abs(ratio - 2.0) < 1e-9 || std::abs(ratio - 2.5) < 1e-9, "not a 1-2-5 sequence");
        }
    }
    QVERIFY(isCalibratedStep(volts, 0.2));
    QVERIFY(!isCalibratedStep(volts, 0.3));
    QVERIFY(!isCalibratedStep(times, 0.5));
}

void TestModel::decimalTexts_data()
{
    using Z = TrailingZeros;
    QTest::addColumn<double>("value");
    QTest::addColumn<DecimalStyle>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a half") << 0.5 << DecimalStyle {} << "0,5";
    QTest::newRow("whole, no comma") << 2.0 << DecimalStyle {} << "2";
    QTest::newRow("rounded at two places") << 3.14159 << DecimalStyle { .decimals = 2 } << "3,14";
    QTest::newRow("the places it needs") << 1.25 << DecimalStyle { .decimals = 3 } << "1,25";
    QTest::newRow("no -0") << -0.04 << DecimalStyle {} << "0";
    QTest::newRow("no -0 at no places") << -0.4 << DecimalStyle { .decimals = 0 } << "0";
    QTest::newRow("no -0 with zeros kept") << -0.04 << DecimalStyle { .zeros = Z::Keep } << "0,0";
    QTest::newRow("hyphen when unsigned") << -2.5 << DecimalStyle {} << "-2,5";
    QTest::newRow("12,50 kept") << 12.5 << DecimalStyle { .decimals = 2, .zeros = Z::Keep } << "12,50";
    QTest::newRow("whole kept") << 12.0 << DecimalStyle { .decimals = 2, .zeros = Z::Keep } << "12,00";
    QTest::newRow("12,50 unless whole")
        << 12.5 << DecimalStyle { .decimals = 2, .zeros = Z::KeepUnlessWhole } << "12,50";
    QTest::newRow("whole stands bare")
        << 12.0 << DecimalStyle { .decimals = 2, .zeros = Z::KeepUnlessWhole } << "12";
    QTest::newRow("caption cm: bare zero, not -0")
        << -0.001 << DecimalStyle { .decimals = 2, .zeros = Z::KeepUnlessWhole } << "0";
    QTest::newRow("plus shown") << 1.5 << DecimalStyle { .zeros = Z::Keep, .signShown = true } << "+1,5";
    QTest::newRow("true minus shown")
        << -0.05 << DecimalStyle { .decimals = 2, .zeros = Z::Keep, .signShown = true }
        << QStringLiteral("−0,05");
    QTest::newRow("zero unsigned") << 0.04 << DecimalStyle { .zeros = Z::Keep, .signShown = true } << "0,0";
    QTest::newRow("three significant") << 0.2 / 1.9 << DecimalStyle { .significantDigits = 3 } << "0,105";
    QTest::newRow("significant, whole") << 5e-3 / 1e-3 << DecimalStyle { .significantDigits = 3 } << "5";
    QTest::newRow("significant, zeros dropped")
        << 0.5 << DecimalStyle { .significantDigits = 6, .zeros = Z::Keep } << "0,5";
    QTest::newRow("a million, as a calculator")
        << 1.5e6 << DecimalStyle { .significantDigits = 6 } << "1,5e+06";
    // An answer echoed back reads as the student typed it, however large or small.
    QTest::newRow("a million, as typed")
        << 1e6 << DecimalStyle { .significantDigits = 6, .plainDigits = true } << "1000000";
    QTest::newRow("a typed million rounded to six digits")
        << 1234567.0 << DecimalStyle { .significantDigits = 6, .plainDigits = true } << "1234570";
    QTest::newRow("a few millionths, as typed")
        << 2.5e-6 << DecimalStyle { .significantDigits = 6, .plainDigits = true } << "0,0000025";
    QTest::newRow("as typed, negative")
        << -12.5 << DecimalStyle { .significantDigits = 6, .plainDigits = true } << "-12,5";
    QTest::newRow("as typed, zero") << 0.0 << DecimalStyle { .significantDigits = 6, .plainDigits = true }
                                    << "0";
}

void TestModel::decimalTexts()
{
    QFETCH(double, value);
    QFETCH(DecimalStyle, style);
    QFETCH(QString, expected);
    QCOMPARE(formatDecimal(value, style), expected);
    if (style.zeros == TrailingZeros::Keep && style.significantDigits == 0 && !style.signShown)
        QCOMPARE(fixedDecimal(value, style.decimals), expected);
}

void TestModel::scaleTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("5 mV") << formatVoltsPerDiv(5e-3) << "5 mV/div";
    QTest::newRow("50 mV") << formatVoltsPerDiv(50e-3) << "50 mV/div";
    QTest::newRow("0.1 V") << formatVoltsPerDiv(0.1) << "0,1 V/div";
    QTest::newRow("20 V") << formatVoltsPerDiv(20.0) << "20 V/div";
    QTest::newRow("0.5 us") << formatSecondsPerDiv(0.5e-6) << QString::fromUtf8("0,5 \xc2\xb5s/div");
    QTest::newRow("50 us") << formatSecondsPerDiv(50e-6) << QString::fromUtf8("50 \xc2\xb5s/div");
    QTest::newRow("0.2 ms") << formatSecondsPerDiv(0.2e-3) << "0,2 ms/div";
    QTest::newRow("0.2 s") << formatSecondsPerDiv(0.2) << "0,2 s/div";
    ScopeSettings xy;
    xy.mode = DisplayMode::XY;
    xy.channelI.voltsPerDiv = 2.0;
    xy.channelII.voltsPerDiv = 5.0;
    QTest::newRow("X-Y legend") << scaleLegend(xy) << "Y: 2 V/div   X: 5 V/div";
}

void TestModel::scaleTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestModel::waveforms_data()
{
    QTest::addColumn<int>("waveform");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("expected");
    for (Waveform w : { Waveform::Sine, Waveform::Square, Waveform::Triangle }) {
        const QByteArray name = w == Waveform::Sine ? "sine" : w == Waveform::Square ? "square" : "triangle";
        QTest::newRow(name + " quarter") << int(w) << 0.25 << 5.0;
        QTest::newRow(name + " three quarters") << int(w) << 0.75 << -5.0;
    }
    QTest::newRow("triangle eighth") << int(Waveform::Triangle) << 0.125 << 2.5;
    QTest::newRow("square just after start") << int(Waveform::Square) << 0.01 << 5.0;
}

void TestModel::waveforms()
{
    QFETCH(int, waveform);
    QFETCH(double, fraction);
    QFETCH(double, expected);
    InputSignal s;
    s.waveform = Waveform(waveform);
    s.amplitudeVpp = 10.0;
    s.frequencyHz = 500.0;
    QVERIFY(std::abs(s.valueAt(fraction / s.frequencyHz) - expected) < 1e-6);
    s.offsetVolts = 1.5;
    QVERIFY(std::abs(s.valueAt(fraction / s.frequencyHz) - expected - 1.5) < 1e-6);
}

void TestModel::periodOnScreen_data()
{
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("secondsPerDiv");
    QTest::addColumn<double>("divisions");
    QTest::newRow("1 kHz at 0.2 ms") << 1000.0 << 0.2e-3 << 5.0;
    QTest::newRow("1 kHz at 0.5 ms") << 1000.0 << 0.5e-3 << 2.0;
    QTest::newRow("1 kHz at 0.1 ms") << 1000.0 << 0.1e-3 << 10.0;
    QTest::newRow("50 Hz at 5 ms") << 50.0 << 5e-3 << 4.0;
    QTest::newRow("200 kHz at 1 us") << 200e3 << 1e-6 << 5.0;
}

void TestModel::periodOnScreen()
{
    QFETCH(double, frequency);
    QFETCH(double, secondsPerDiv);
    QFETCH(double, divisions);
    QCOMPARE(divisionsPerPeriod(frequency, secondsPerDiv), divisions);
    QCOMPARE(periodsOnScreen(frequency, secondsPerDiv), 10.0 / divisions);
    // The traced sine repeats at that spacing.
    const ScreenTraces screen = computeTraces(oneChannel(channel(4.0, frequency, 1.0), secondsPerDiv));
    QCOMPARE(screen.traces.size(), 1);
    const QList<double> downs = crossings(screen.traces.first(), 0.0, false);
    QVERIFY(!downs.isEmpty());
    for (qsizetype i = 1; i < downs.size(); ++i)
        QVERIFY(std::abs(downs.at(i) - downs.at(i - 1) - divisions) < 0.02);
    QVERIFY(std::abs(downs.size() - periodsOnScreen(frequency, secondsPerDiv)) <= 1.0);
}

void TestModel::peakToPeak_data()
{
    QTest::addColumn<double>("vpp");
    QTest::addColumn<double>("voltsPerDiv");
    QTest::addColumn<double>("position");
    QTest::addColumn<double>("divisions");
    QTest::newRow("10 Vpp at 5 V") << 10.0 << 5.0 << 0.0 << 2.0;
    QTest::newRow("10 Vpp at 2 V") << 10.0 << 2.0 << 0.0 << 5.0;
    QTest::newRow("40 mVpp at 5 mV") << 0.04 << 5e-3 << 0.0 << 8.0;
    QTest::newRow("3 Vpp at 0.5 V, moved up") << 3.0 << 0.5 << 1.0 << 6.0;
}

void TestModel::peakToPeak()
{
    QFETCH(double, vpp);
    QFETCH(double, voltsPerDiv);
    QFETCH(double, position);
    QFETCH(double, divisions);
    QCOMPARE(peakToPeakDivisions(vpp, voltsPerDiv), divisions);
    ChannelSettings c = channel(vpp, 1000.0, voltsPerDiv);
    c.position = position;
    const ScreenTraces screen = computeTraces(oneChannel(c, 1e-3));
    const QRectF bounds = traceBounds(screen.traces.first());
    QVERIFY(std::abs(bounds.height() - divisions) < 1e-3);
    QVERIFY(std::abs(bounds.center().y() - position) < 1e-3);
    QCOMPARE(bounds.left(), -5.0);
    QCOMPARE(bounds.right(), 5.0);
}

void TestModel::overdriveLeavesScreen()
{
    // 10 Vpp at 1 V/div would need 10 divisions: the beam runs past both edges and is not folded back.
    const ScreenTraces screen = computeTraces(oneChannel(channel(10.0, 1000.0, 1.0), 0.2e-3));
    const Trace &trace = screen.traces.first();
    QVERIFY(std::abs(traceBounds(trace).height() - 10.0) < 1e-3);
    QCOMPARE(visiblePeakToPeak(trace), ScreenGeometry::rows + 2 * ScreenGeometry::overscan);
    // A huge overdrive saturates the amplifier instead of sending the beam to absurd places.
    const ScreenTraces huge = computeTraces(oneChannel(channel(20.0, 1000.0, 5e-3), 0.2e-3));
    QCOMPARE(traceBounds(huge.traces.first()).top(), -ScreenGeometry::amplifierLimit);
    QCOMPARE(traceBounds(huge.traces.first()).bottom(), ScreenGeometry::amplifierLimit);
}

void TestModel::triggerStart_data()
{
    QTest::addColumn<int>("waveform");
    QTest::addColumn<double>("level");
    QTest::addColumn<bool>("rising");
    QTest::addColumn<double>("position");
    QTest::addColumn<bool>("inverted");
    QTest::addColumn<double>("startY");
    QTest::newRow("sine +, 0 V") << int(Waveform::Sine) << 0.0 << true << 0.0 << false << 0.0;
    QTest::newRow("sine -, 0 V") << int(Waveform::Sine) << 0.0 << false << 0.0 << false << 0.0;
    QTest::newRow("sine +, 3 V") << int(Waveform::Sine) << 3.0 << true << 0.0 << false << 1.5;
    QTest::newRow("sine -, -4 V") << int(Waveform::Sine) << -4.0 << false << 0.0 << false << -2.0;
    QTest::newRow("sine +, 2 V, moved down") << int(Waveform::Sine) << 2.0 << true << -1.0 << false << 0.0;
    QTest::newRow("sine +, 2 V, inverted") << int(Waveform::Sine) << 2.0 << true << 0.0 << true << -1.0;
    QTest::newRow("triangle -, 1 V") << int(Waveform::Triangle) << 1.0 << false << 0.0 << false << 0.5;
}

void TestModel::triggerStart()
{
    QFETCH(int, waveform);
    QFETCH(double, level);
    QFETCH(bool, rising);
    QFETCH(double, position);
    QFETCH(bool, inverted);
    QFETCH(double, startY);
    ChannelSettings c = channel(10.0, 1000.0, 2.0);
    c.signal.waveform = Waveform(waveform);
    c.position = position;
    c.inverted = inverted;
    ScopeSettings s = oneChannel(c, 0.2e-3);
    s.trigger.levelVolts = level;
    s.trigger.slope = rising ? TriggerSlope::Rising : TriggerSlope::Falling;
    s.trigger.mode = TriggerMode::Normal;
    const ScreenTraces screen = computeTraces(s);
    QVERIFY(screen.triggered);
    const Trace &trace = screen.traces.first();
    QVERIFY(std::abs(trace.points.first().y() - startY) < 1e-3);
    QCOMPARE(trace.points.first().x(), -5.0);
    // The input moves the chosen way at the start; the picture does the opposite when inverted.
    const double step = trace.points.at(5).y() - trace.points.first().y();
    QCOMPARE(step > 0, rising != inverted);
    // The trigger took the signal ahead of the delay line: the plates see the level the line's lead over
    // the sweep's start-up after the sweep has started.
    const double volts = c.signal.valueAt(screen.sweepStartSeconds + kDelayLineLead);
    QVERIFY(std::abs(volts - level) < 1e-6);
}

void TestModel::untriggeredSweep()
{
    ScopeSettings s = oneChannel(channel(4.0, 1000.0, 1.0), 0.2e-3);
    s.trigger.levelVolts = 3.0; // above the 2 V peak
    s.trigger.mode = TriggerMode::Automatic;
    ScreenTraces screen = computeTraces(s);
    QVERIFY(!screen.triggered);
    QCOMPARE(screen.traces.size(), 1); // AT keeps the sweep running
    s.trigger.mode = TriggerMode::Normal;
    screen = computeTraces(s);
    QVERIFY(!screen.triggered);
    QVERIFY(screen.traces.isEmpty()); // NORM leaves the screen dark
    // A square wave triggers on its edge.
    s.channelI.signal.waveform = Waveform::Square;
    s.trigger.levelVolts = 0.0;
    s.trigger.slope = TriggerSlope::Falling;
    screen = computeTraces(s);
    QVERIFY(screen.triggered);
    QVERIFY(std::abs(screen.sweepStartSeconds + kDelayLineLead - 0.5e-3) < 1e-9);
    // Triggering from channel II sets the start for channel I too.
    ScopeSettings both = oneChannel(channel(4.0, 1000.0, 1.0), 0.2e-3);
    both.channelII = channel(4.0, 1000.0, 1.0, 90.0);
    both.trigger.source = TriggerSource::ChannelII;
    screen = computeTraces(both);
    QVERIFY(std::abs(screen.traces.first().points.first().y() - (-2.0)) < 1e-3);
}

void TestModel::coupling_data()
{
    QTest::addColumn<int>("coupling");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("height");
    QTest::newRow("DC keeps the offset") << int(Coupling::DC) << 1.5 << 2.0;
    QTest::newRow("AC removes the mean") << int(Coupling::AC) << 0.0 << 2.0;
    QTest::newRow("GD draws the position") << int(Coupling::Ground) << -0.5 << 0.0;
}

void TestModel::coupling()
{
    QFETCH(int, coupling);
    QFETCH(double, mean);
    QFETCH(double, height);
    ChannelSettings c = channel(4.0, 1000.0, 2.0, 0.0, 3.0);
    c.coupling = Coupling(coupling);
    c.position = Coupling(coupling) == Coupling::Ground ? -0.5 : 0.0;
    ScopeSettings s = oneChannel(c, 0.5e-3); // five whole periods, so the mean is exact
    s.trigger.levelVolts = Coupling(coupling) == Coupling::DC ? 3.0 : 0.0;
    const ScreenTraces screen = computeTraces(s);
    QCOMPARE(screen.traces.size(), 1);
    QVERIFY(std::abs(meanY(screen.traces.first()) - mean) < 0.01);
    QVERIFY(std::abs(traceBounds(screen.traces.first()).height() - height) < 1e-3);
}

void TestModel::modes()
{
    ScopeSettings s;
    s.channelI = channel(10.0, 1000.0, 5.0);
    s.channelII = channel(10.0, 1000.0, 5.0);
    s.secondsPerDiv = 0.2e-3;
    s.mode = DisplayMode::ChannelII;
    QCOMPARE(computeTraces(s).traces.first().kind, TraceKind::ChannelII);
    s.mode = DisplayMode::Dual;
    ScreenTraces screen = computeTraces(s);
    QCOMPARE(screen.traces.size(), 2);
    QCOMPARE(screen.traces.at(0).kind, TraceKind::ChannelI);
    QCOMPARE(screen.traces.at(1).kind, TraceKind::ChannelII);
    // ADD of two equal signals in phase doubles; with channel II inverted they cancel.
    s.mode = DisplayMode::Add;
    screen = computeTraces(s);
    QCOMPARE(screen.traces.size(), 1);
    QVERIFY(std::abs(traceBounds(screen.traces.first()).height() - 4.0) < 1e-3);
    s.channelII.inverted = true;
    screen = computeTraces(s);
    QVERIFY(traceBounds(screen.traces.first()).height() < 1e-9);
    // Sum and difference of two sines 60 degrees apart.
    s.channelII.signal.phaseDegrees = -60.0;
    s.channelII.inverted = false;
    QVERIFY(std::abs(traceBounds(computeTraces(s).traces.first()).height() - 2.0 * std::sqrt(3.0)) < 1e-3);
    s.channelII.inverted = true;
    QVERIFY(std::abs(traceBounds(computeTraces(s).traces.first()).height() - 2.0) < 1e-3);
}

void TestModel::xPosition()
{
    ScopeSettings s = oneChannel(channel(4.0, 1000.0, 1.0), 0.2e-3);
    s.xPosition = 1.5;
    const Trace trace = computeTraces(s).traces.first();
    QCOMPARE(trace.points.first().x(), -3.5);
    QCOMPARE(trace.points.last().x(), 6.5);
}

void TestModel::lissajous_data()
{
    QTest::addColumn<double>("phase");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>(
        "crossingY"); // the highest point where the figure crosses the vertical centre line
    QTest::newRow("in phase: a line") << 0.0 << 1.0 << 0.0;
    QTest::newRow("90 degrees: a circle") << -90.0 << 1.0 << 2.0;
    QTest::newRow("60 degrees: an ellipse") << -60.0 << 1.0 << 2.0 * std::sin(std::numbers::pi / 3);
    QTest::newRow("1:2 figure") << 0.0 << 2.0 << 2.0;
}

void TestModel::lissajous()
{
    QFETCH(double, phase);
    QFETCH(double, ratio);
    QFETCH(double, crossingY);
    ScopeSettings s;
    s.mode = DisplayMode::XY;
    s.channelI = channel(8.0, 1000.0, 2.0);
    s.channelII = channel(8.0, 1000.0 * ratio, 2.0, phase);
    const ScreenTraces screen = computeTraces(s);
    QCOMPARE(screen.traces.size(), 1);
    const Trace &figure = screen.traces.first();
    QCOMPARE(figure.kind, TraceKind::XY);
    const QRectF bounds = traceBounds(figure);
    QVERIFY(std::abs(bounds.width() - 4.0) < 0.01);
    QVERIFY(std::abs(bounds.height() - 4.0) < 0.01);
    // The figure closes on itself.
    QVERIFY(std::hypot(figure.points.first().x() - figure.points.last().x(),
                figure.points.first().y() - figure.points.last().y())
        < 1e-6);
    // Where it crosses X = 0, the highest crossing.
    double highest = -10.0;
    for (qsizetype i = 1; i < figure.points.size(); ++i) {
        const QPointF a = figure.points.at(i - 1);
        const QPointF b = figure.points.at(i);
        if ((a.x() < 0) != (b.x() < 0))
            highest = std::max(highest, a.y() + (0 - a.x()) / (b.x() - a.x()) * (b.y() - a.y()));
    }
    QVERIFY(std::abs(highest - crossingY) < 0.01);
}

void TestModel::badSettingsGiveNoFault()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : { 0.0, -1.0, nan, inf }) {
        ScopeSettings s = oneChannel(channel(10.0, 1000.0, 1.0), 1e-3);
        s.secondsPerDiv = bad;
        QVERIFY(computeTraces(s).traces.isEmpty());
        s = oneChannel(channel(10.0, 1000.0, bad), 1e-3);
        QVERIFY(computeTraces(s).traces.isEmpty());
        s = oneChannel(channel(bad, bad, 1.0), 1e-3);
        const ScreenTraces screen = computeTraces(s);
        for (const Trace &t : screen.traces) {
            for (const QPointF &p : t.points)
                QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
        }
    }
    // A very fast signal on a slow time base stays bounded in size.
    ScopeSettings fast = oneChannel(channel(1.0, 1e9, 1.0), 0.2);
    QVERIFY(computeTraces(fast).traces.first().points.size() <= 20001);
    QCOMPARE(divisionsPerPeriod(0.0, 1e-3), 0.0);
    QCOMPARE(peakToPeakDivisions(1.0, 0.0), 0.0);
}

void TestModel::caseTableShape()
{
    const QList<BehaviourCase> &rows = behaviourCases();
    QCOMPARE(rows.size(), 14);
    QSet<QString> files;
    for (const BehaviourCase &row : rows) {
        files.insert(row.fileName);
        QVERIFY2(isCalibratedStep(voltsPerDivSteps(), row.settings.channelI.voltsPerDiv),
            qPrintable(row.fileName));
        QVERIFY2(isCalibratedStep(voltsPerDivSteps(), row.settings.channelII.voltsPerDiv),
            qPrintable(row.fileName));
        QVERIFY2(
            isCalibratedStep(secondsPerDivSteps(), row.settings.secondsPerDiv), qPrintable(row.fileName));
        QVERIFY(!row.castilian.isEmpty() && !row.valencian.isEmpty());
        QVERIFY(row.castilian != row.valencian);
        // Every case shows the 10 Vpp sine on channel I.
        QCOMPARE(row.settings.channelI.signal.amplitudeVpp, 10.0);
        QCOMPARE(row.settings.channelI.signal.waveform, Waveform::Sine);
        QCOMPARE(behaviourCaseForFile(row.fileName), &row);
    }
    QSet<QString> expected;
    for (int n : { 1, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 })
        expected.insert(QStringLiteral("p%1.bmp").arg(n));
    QCOMPARE(files, expected);
    const QStringList buttons { "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7", "BitBtn8",
        "BitBtn9", "BitBtn10", "BitBtn10", "BitBtn11", "BitBtn12", "BitBtn13", "BitBtn14" };
    const QStringList order { "p12.bmp", "p11.bmp", "p3.bmp", "p13.bmp", "p10.bmp", "p15.bmp", "p4.bmp",
        "p8.bmp", "p7.bmp", "p16.bmp", "p1.bmp", "p14.bmp", "p5.bmp", "p9.bmp" };
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).button, buttons.at(i));
        QCOMPARE(rows.at(i).fileName, order.at(i));
        const CaseTopic topic = i < 5 ? CaseTopic::TimeAndVolts
            : i < 8                   ? CaseTopic::SlopeAndLevel
                                      : CaseTopic::TwoChannels;
        QCOMPARE(rows.at(i).topic, topic);
    }
    QCOMPARE(restingScreen().fileName, QStringLiteral("papag.bmp"));
    QVERIFY(!behaviourCaseForFile("p2.bmp"));
}

void TestModel::caseTableClaims_data()
{
    // What each sentence of the table promises, checked on the traces the settings give.
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("peakToPeak");
    QTest::addColumn<double>("periodDivisions");
    QTest::addColumn<double>("startY");
    QTest::addColumn<int>("startDirection"); // 1 rising, -1 falling, 0 not checked
    QTest::newRow("p12") << "p12.bmp" << 2.0 << 5.0 << 0.0 << 1;
    QTest::newRow("p11") << "p11.bmp" << 5.0 << 5.0 << 0.0 << 1;
    QTest::newRow("p3") << "p3.bmp" << 10.0 << 5.0 << 0.0 << 1;
    QTest::newRow("p13") << "p13.bmp" << 5.0 << 2.0 << 0.0 << 1;
    QTest::newRow("p10") << "p10.bmp" << 5.0 << 10.0 << 0.0 << 1;
    QTest::newRow("p15") << "p15.bmp" << 5.0 << 5.0 << 0.0 << 1;
    QTest::newRow("p4") << "p4.bmp" << 5.0 << 5.0 << 0.0 << -1;
    QTest::newRow("p8") << "p8.bmp" << 5.0 << 5.0 << 1.5 << 1;
    QTest::newRow("p7") << "p7.bmp" << 5.0 << 5.0 << 0.0 << 1;
    QTest::newRow("p16") << "p16.bmp" << 5.0 << 5.0 << -2.5 * std::sin(std::numbers::pi / 3) << 1;
    QTest::newRow("p14") << "p14.bmp" << 2.0 * std::sqrt(3.0) << 5.0 << -std::sqrt(3.0) * 0.5 << 1;
    QTest::newRow("p5") << "p5.bmp" << 2.0 << 5.0 << std::sin(std::numbers::pi / 3) << 1;
}

void TestModel::caseTableClaims()
{
    QFETCH(QString, file);
    QFETCH(double, peakToPeak);
    QFETCH(double, periodDivisions);
    QFETCH(double, startY);
    QFETCH(int, startDirection);
    const BehaviourCase *row = behaviourCaseForFile(file);
    QVERIFY(row);
    const ScreenTraces screen = computeTraces(row->settings);
    QVERIFY(screen.triggered);
    QCOMPARE(screen.traces.size(), 1);
    const Trace &trace = screen.traces.first();
    QVERIFY(std::abs(traceBounds(trace).height() - peakToPeak) < 1e-3);
    QVERIFY(std::abs(trace.points.first().y() - startY) < 1e-3);
    QCOMPARE(trace.points.at(3).y() > trace.points.first().y(), startDirection > 0);
    const double centre = traceBounds(trace).center().y();
    const QList<double> downs = crossings(trace, centre, false);
    if (downs.size() >= 2)
        QVERIFY(std::abs(downs.at(1) - downs.at(0) - periodDivisions) < 0.02);
    QCOMPARE(divisionsPerPeriod(row->settings.channelI.signal.frequencyHz, row->settings.secondsPerDiv),
        periodDivisions);
}

void TestModel::deflectionFiles()
{
    using namespace DeflectionDemo;
    const QStringList files = allFrameFiles();
    QCOMPARE(files.size(), 53);
    QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), 53);
    QCOMPARE(files.first(), QStringLiteral("cat1.bmp"));
    QCOMPARE(files.at(8), QStringLiteral("cat9.bmp"));
    QCOMPARE(caseFiles(0),
        QStringList({ "caso00.bmp", "caso01.bmp", "caso02.bmp", "caso03.bmp", "caso04.bmp", "caso05.bmp",
            "caso06.bmp", "caso07.bmp", "caso08.bmp" }));
    QCOMPARE(caseFiles(1).size(), 8);
    QCOMPARE(caseFiles(1).last(), QStringLiteral("caso17.bmp"));
    QCOMPARE(caseFiles(2).last(), QStringLiteral("caso28.bmp"));
    QCOMPARE(caseFiles(3).first(), QStringLiteral("caso40.bmp"));
    QCOMPARE(caseFiles(4).last(), QStringLiteral("caso58.bmp"));
    for (const char *absent : { "caso09.bmp", "caso18.bmp", "caso30.bmp", "caso39.bmp", "caso59.bmp" })
        QVERIFY(!files.contains(QLatin1String(absent)));
    QVERIFY(caseFiles(-1).isEmpty());
    QVERIFY(caseFiles(5).isEmpty());
    const QStringList texts { "Pv = 0 V, Ph = 0V", "Pv = 50 V, Ph = 80 V", "Pv = 50V, Ph =160 V",
        "Ph =120 V, Pv = 20V", "Ph = 120 V, Pv = -35 V" };
    QCOMPARE(options().size(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(options().at(i).text, texts.at(i));
    QList<Frame> frames = allFrames();
    QCOMPARE(frames.size(), 53);
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames.at(i).fileName, files.at(i));
}

void TestModel::deflectionFinalFrames_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<double>("xCm");
    QTest::addColumn<double>("yCm");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("horizontal");
    QTest::newRow("item 0") << 0 << 0.0 << 0.0 << QString::fromUtf8("Pv = 0 V \u2192 y = 0 cm")
                            << QString::fromUtf8("Ph = 0 V \u2192 x = 0 cm");
    QTest::newRow("item 1") << 1 << 2.5 << 50.0 / 14.0 << QString::fromUtf8("Pv = 50 V \u2192 y = 3,57 cm")
                            << QString::fromUtf8("Ph = 80 V \u2192 x = 2,50 cm");
    QTest::newRow("item 2") << 2 << 5.0 << 50.0 / 14.0 << QString::fromUtf8("Pv = 50 V \u2192 y = 3,57 cm")
                            << QString::fromUtf8("Ph = 160 V \u2192 x = 5 cm");
    QTest::newRow("item 3") << 3 << 3.75 << 20.0 / 14.0 << QString::fromUtf8("Pv = 20 V \u2192 y = 1,43 cm")
                            << QString::fromUtf8("Ph = 120 V \u2192 x = 3,75 cm");
    QTest::newRow("item 4") << 4 << 3.75 << -2.5 << QString::fromUtf8("Pv = -35 V \u2192 y = -2,50 cm")
                            << QString::fromUtf8("Ph = 120 V \u2192 x = 3,75 cm");
}

void TestModel::deflectionFinalFrames()
{
    using namespace DeflectionDemo;
    QFETCH(int, item);
    QFETCH(double, xCm);
    QFETCH(double, yCm);
    QFETCH(QString, vertical);
    QFETCH(QString, horizontal);
    const Frame last = caseFrame(item, options().at(item).frameCount);
    QCOMPARE(last.fileName, caseFiles(item).last());
    QVERIFY(std::abs(last.spotCm.x() - xCm) < 1e-9);
    QVERIFY(std::abs(last.spotCm.y() - yCm) < 1e-9);
    QVERIFY(onScreen(last.spotCm));
    QCOMPARE(verticalCaption(last), vertical);
    QCOMPARE(horizontalCaption(last), horizontal);
}

void TestModel::deflectionSteps()
{
    using namespace DeflectionDemo;
    for (int step = 1; step <= 9; ++step) {
        const Frame f = leadInFrame(step);
        QCOMPARE(f.item, -1);
        QCOMPARE(f.voltages.vertical, 0.0);
        QCOMPARE(f.beamReach, step / 9.0);
    }
    // The spot moves by equal steps along a straight line from the centre.
    for (int item = 0; item < options().size(); ++item) {
        const int count = options().at(item).frameCount;
        const QPointF target = caseFrame(item, count).spotCm;
        for (int step = 1; step <= count; ++step) {
            const Frame f = caseFrame(item, step);
            QCOMPARE(f.trailCm.size(), step);
            QVERIFY(
                std::hypot(f.spotCm.x() - target.x() * step / count, f.spotCm.y() - target.y() * step / count)
                < 1e-9);
            QCOMPARE(f.beamReach, 1.0);
        }
    }
    QCOMPARE(deflectionCm(14.0, verticalVoltsPerCm), 1.0);
    QCOMPARE(deflectionCm(32.0, horizontalVoltsPerCm), 1.0);
    QCOMPARE(deflectionCm(1.0, 0.0), 0.0);
    QVERIFY(!onScreen(QPointF(5.1, 0)));
    QVERIFY(!onScreen(QPointF(0, -4.2)));
    QCOMPARE(caseFrame(9, 1).fileName, QString());
}

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
