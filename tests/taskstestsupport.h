#pragma once
// What the task suites share: the instrument set as a student sets it, a student's readings of the
// screen, and the check of one judged row.
#include "figuretouches.h"
#include "hm203tasks.h"
#include "taskjudging.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

/** The tasks by what they ask, in the strip's order. */
enum TaskIndex {
    TimeBase,
    PredictSweep,
    TwoPeriods,
    PredictSensitivity,
    BottomLine,
    FallingStart,
    AcCoupling,
    PredictAc,
    PeakToPeak,
    DcLevel,
    Calibrator,
    Period,
    Frequency,
    Dual,
    Difference,
    PhaseXY,
    PredictXY,
    RcLead,
    Lissajous12,
    FrequencyXY,
    Compensation,
    PredictProbe,
    ProbeVoltage,
    RiseTime,
    Bandwidth,
    Hum,
    Noise,
    Burst,
    SmallSignal,
    HalfWavePeak,
    PredictCapacitor,
    SmoothedPeak,
    SmoothedRipple,
    BridgePeak,
    BridgeRipple,
    LowPassDual,
    LowPassXY,
    PredictLowPassXY,
    Resonance,
    TellResistor,
    TellCapacitor,
    TellDiode,
    DiodeKnee,
    ZenerForward,
    ZenerKnee,
    LedLead,
};

/** Sets the instrument as a student would; false when the wanted state could not be reached. */
using Setup = bool (*)(Hm203 &);

inline Hm203 startedTask(int index, quint32 draw = 0)
{
    Hm203 scope;
    GeneratorSettings generator;
    hm203Tasks().at(index).prepare(generator, draw);
    scope.setGenerator(generator);
    return scope;
}

inline bool press(Hm203 &scope, Hm203Control button, bool down = true)
{
    scope.setValue(button, down ? 1 : 0);
    return scope.isPressed(button) == down;
}

/** Tries the vertical mode buttons, fewest pressed first, until the screen shows the mode. */
inline bool setMode(Hm203 &scope, DisplayMode mode)
{
    const Hm203Control buttons[] { Hm203Control::ChannelII, Hm203Control::Dual, Hm203Control::Add,
        Hm203Control::XY };
    for (int pressed = 0; pressed <= 4; ++pressed) {
        for (int combination = 0; combination < 16; ++combination) {
            if (std::popcount(unsigned(combination)) != pressed)
                continue;
            for (int b = 0; b < 4; ++b)
                scope.setValue(buttons[b], (combination >> b) & 1);
            if (scope.scopeSettings().mode == mode)
                return true;
        }
    }
    return false;
}

/** Tries the channel's DC and GD buttons until its coupling is the wanted one. */
inline bool setCoupling(Hm203 &scope, bool second, Coupling coupling)
{
    const Hm203Control dc = second ? Hm203Control::DcII : Hm203Control::DcI;
    const Hm203Control ground = second ? Hm203Control::GroundII : Hm203Control::GroundI;
    for (int combination = 0; combination < 4; ++combination) {
        scope.setValue(ground, combination & 1);
        scope.setValue(dc, (combination >> 1) & 1);
        const ScopeSettings s = scope.scopeSettings();
        if ((second ? s.channelII : s.channelI).coupling == coupling)
            return true;
    }
    return false;
}

inline bool setSlope(Hm203 &scope, TriggerSlope slope)
{
    for (int position : { 0, 1 }) {
        scope.setValue(Hm203Control::Slope, position);
        if (scope.scopeSettings().trigger.slope == slope)
            return true;
    }
    return false;
}

inline bool setVolts(Hm203 &scope, bool second, double voltsPerDiv)
{
    scope.setValue(
        second ? Hm203Control::VoltsDivII : Hm203Control::VoltsDivI, Hm203::voltsDivPosition(voltsPerDiv));
    const ScopeSettings s = scope.scopeSettings();
    return std::abs((second ? s.channelII : s.channelI).voltsPerDiv - voltsPerDiv) < 1e-9;
}

inline bool setTime(Hm203 &scope, double secondsPerDiv)
{
    scope.setValue(Hm203Control::TimeDiv, Hm203::timeDivPosition(secondsPerDiv));
    return std::abs(scope.scopeSettings().secondsPerDiv - secondsPerDiv) < 1e-12;
}

using Reading = double (*)(const Hm203 &);

/** Turns a knob to the position whose reading comes nearest the target; true when within the tolerance. */
inline bool turnTo(Hm203 &scope, Hm203Control knob, Reading reading, double target, double tolerance)
{
    const Hm203ControlInfo &info = controlInfo(knob);
    int best = info.minimum;
    double bestGap = std::numeric_limits<double>::infinity();
    for (int position = info.minimum; position <= info.maximum; ++position) {
        scope.setValue(knob, position);
        const double gap = std::abs(reading(scope) - target);
        if (gap < bestGap) {
            bestGap = gap;
            best = position;
        }
    }
    scope.setValue(knob, best);
    return bestGap <= tolerance;
}

inline double levelVolts(const Hm203 &scope)
{
    return scope.scopeSettings().trigger.levelVolts;
}
inline double positionI(const Hm203 &scope)
{
    return scope.scopeSettings().channelI.position;
}
inline double positionII(const Hm203 &scope)
{
    return scope.scopeSettings().channelII.position;
}
inline double secondsPerDiv(const Hm203 &scope)
{
    return scope.scopeSettings().secondsPerDiv;
}
inline double xPosition(const Hm203 &scope)
{
    return scope.scopeSettings().xPosition;
}
inline double voltsI(const Hm203 &scope)
{
    return scope.scopeSettings().channelI.voltsPerDiv;
}

inline bool setLevel(Hm203 &scope, double volts)
{
    return turnTo(scope, Hm203Control::Level, levelVolts, volts, 0.05);
}

inline bool setPositionI(Hm203 &scope, double divisions)
{
    return turnTo(scope, Hm203Control::YPositionI, positionI, divisions, 0.02);
}

inline bool setPositionII(Hm203 &scope, double divisions)
{
    return turnTo(scope, Hm203Control::YPositionII, positionII, divisions, 0.02);
}

/** Reaches a sensitivity with the CAL knob turned off its stop, from whichever step allows it: the fine
 * knob only raises the sensitivity, so from a less sensitive step. */
inline bool uncalibratedVoltsI(Hm203 &scope, double voltsPerDiv)
{
    for (double step : voltsPerDivSteps()) {
        if (step <= voltsPerDiv * 1.01)
            continue;
        setVolts(scope, false, step);
        if (turnTo(scope, Hm203Control::VoltsCalI, voltsI, voltsPerDiv, 0.01 * voltsPerDiv))
            return true;
    }
    return false;
}

template <typename Change> bool changeGenerator(Hm203 &scope, Change change)
{
    GeneratorSettings generator = scope.generator();
    change(generator);
    scope.setGenerator(generator);
    return true;
}

/**
 * False when a word of one language turns up in the other's text: the texts were swapped, or a word was
 * left untranslated.
 */
inline bool inTheirLanguages(const QString &castilian, const QString &valencian)
{
    for (const char16_t *word :
        { u"señal", u"periodo", u"traza", u"ñ", u" y ", u" con ", u"Pulsa", u"Mide" }) {
        if (valencian.contains(QString::fromUtf16(word)))
            return false;
    }
    for (const char16_t *word : { u"senyal", u"període", u"traça", u" amb ", u" i ", u"Polsa", u"Mesura" }) {
        if (castilian.contains(QString::fromUtf16(word)))
            return false;
    }
    return true;
}

/** The bench circuit worked out, as the window has it once the simulator answers. */
inline bool settled(Hm203 &scope)
{
    return scope.settleCircuit();
}

/** The component tester on, the task's part in its socket. */
inline bool testerOn(Hm203 &scope)
{
    return press(scope, Hm203Control::Tester);
}

/**
 * The half-wave rectifier given its 100 µF on the generator's list, its load shown on CH II at 5 V/div,
 * where the bare rectifier's crest stands whole, and 2 ms/div, where a whole period of 50 Hz does.
 */
inline bool smoothedOnChannelII(Hm203 &scope)
{
    return changeGenerator(
               scope, [](GeneratorSettings &g) { g.circuit = QStringLiteral("media_onda_filtro"); })
        && setMode(scope, DisplayMode::ChannelII) && setVolts(scope, true, 5.0) && setTime(scope, 2e-3)
        && scope.settleCircuit();
}

/** The low-pass filter's generator raised to ten times its corner, 15,9 kHz, the figure in X-Y. */
inline bool lowPassTenfoldXY(Hm203 &scope)
{
    return changeGenerator(scope, [](GeneratorSettings &g) { g.frequencyHz = 15.9e3; })
        && setMode(scope, DisplayMode::XY) && scope.settleCircuit();
}

inline bool untouched(Hm203 &)
{
    return true;
}

/** The screen as the instrument stands. */
inline ScreenTraces picture(const Hm203 &scope)
{
    return computeTraces(scope.scopeSettings());
}

/** Where the traces of one kind cross a height going up, left to right, in divisions. */
inline QList<double> risingCrossings(const ScreenTraces &screen, TraceKind kind, double level = 0.0)
{
    QList<double> xs;
    for (const Trace &trace : screen.traces) {
        if (trace.kind != kind)
            continue;
        for (qsizetype i = 1; i < trace.points.size(); ++i) {
            const QPointF a = trace.points.at(i - 1);
            const QPointF b = trace.points.at(i);
            if (a.y() < level && b.y() >= level)
                xs << a.x() + (level - a.y()) / (b.y() - a.y()) * (b.x() - a.x());
        }
    }
    return xs;
}

/** A student's frequency: the fastest sweep that shows two rising crossings, the period between them. */
inline std::optional<double> readFrequency(Hm203 &scope)
{
    for (double secondsPerDiv : secondsPerDivSteps()) {
        setTime(scope, secondsPerDiv);
        const QList<double> xs = risingCrossings(picture(scope), TraceKind::ChannelI);
        if (xs.size() >= 2)
            return 1.0 / ((xs.at(1) - xs.at(0)) * secondsPerDiv);
    }
    return std::nullopt;
}

/** A student's frequency of output II off the X-Y figure, output I's known: fy / fx = touches on the top
 * over touches on the right-hand edge, with CH I on the vertical plates. */
inline std::optional<double> readXyFrequencyII(Hm203 &scope)
{
    if (!setMode(scope, DisplayMode::XY))
        return std::nullopt;
    const Trace figure = picture(scope).traces.value(0);
    if (figure.points.size() < 3)
        return std::nullopt;
    const int top = edgeTouches(figure, true);
    const int side = edgeTouches(figure, false);
    if (top == 0 || side == 0)
        return std::nullopt;
    return scope.generator().frequencyHz * side / top;
}

/** A student's DC level: the zero line on GD, then how far DC lifts the middle of the trace. */
inline std::optional<double> readDcLevel(Hm203 &scope)
{
    const auto middle = [&scope] {
        const QRectF bounds = traceBounds(picture(scope).traces.value(0));
        return bounds.center().y();
    };
    if (!setCoupling(scope, false, Coupling::Ground))
        return std::nullopt;
    const double zero = middle();
    if (!setCoupling(scope, false, Coupling::DC))
        return std::nullopt;
    return (middle() - zero) * scope.scopeSettings().channelI.voltsPerDiv;
}

/** A student's phase from the ellipse: sin φ = b / a, b where it cuts the vertical axis, a its top. */
inline std::optional<double> readEllipsePhase(Hm203 &scope)
{
    if (!setMode(scope, DisplayMode::XY))
        return std::nullopt;
    const Trace figure = picture(scope).traces.value(0);
    const double top = traceBounds(figure).height() / 2.0;
    double chord = 0.0;
    for (qsizetype i = 1; i < figure.points.size(); ++i) {
        const QPointF a = figure.points.at(i - 1);
        const QPointF b = figure.points.at(i);
        if ((a.x() < 0.0) != (b.x() < 0.0))
            chord = std::max(chord, std::abs(a.y() + (0.0 - a.x()) / (b.x() - a.x()) * (b.y() - a.y())));
    }
    if (top <= 0.0)
        return std::nullopt;
    return std::asin(std::min(1.0, chord / top)) * 180.0 / std::numbers::pi;
}

/** A student's lead of Ur on Ue: in DUAL, how far before Ue's rising zero Ur's comes, over a period. */
inline std::optional<double> readLead(Hm203 &scope)
{
    if (!setMode(scope, DisplayMode::Dual) || !setTime(scope, 0.5e-3))
        return std::nullopt;
    const ScreenTraces screen = picture(scope);
    const QList<double> ue = risingCrossings(screen, TraceKind::ChannelI);
    const QList<double> ur = risingCrossings(screen, TraceKind::ChannelII);
    if (ue.size() < 2 || ur.isEmpty())
        return std::nullopt;
    const double period = ue.at(1) - ue.at(0);
    double ahead = std::fmod(ue.at(0) - ur.at(0), period);
    if (ahead < 0.0)
        ahead += period;
    return 360.0 * ahead / period;
}

inline bool setFrequency(Hm203 &scope, double hz)
{
    return changeGenerator(scope, [hz](GeneratorSettings &g) { g.frequencyHz = hz; });
}

inline bool setTrigger(Hm203 &scope, TriggerCoupling coupling)
{
    scope.setValue(Hm203Control::TriggerCoupling, int(coupling));
    return scope.scopeSettings().trigger.coupling == coupling;
}

inline bool setHoldOff(Hm203 &scope, int percent)
{
    scope.setValue(Hm203Control::HoldOff, percent);
    return std::abs(scope.scopeSettings().holdOff - percent / 100.0) < 1e-9;
}

/** The fastest sweep: 0,5 µs/div spread ten times by X-MAG, and X-POS turned right until the sweep's start,
 * with the edge that fires it, is on the face. */
inline bool fastestSweep(Hm203 &scope)
{
    return setTime(scope, 0.5e-6) && press(scope, Hm203Control::XMagnifier)
        && turnTo(scope, Hm203Control::XPosition, xPosition, 4.5, 0.05);
}

/** A student's peak-to-peak voltage at channel I's probe tip: the tallest whole trace, times ten through a
 * ×10 probe. */
inline std::optional<double> readTipVoltage(Hm203 &scope)
{
    const double ratio = scope.generator().probeI == Probe::Times10 ? 10.0 : 1.0;
    for (double voltsPerDiv : voltsPerDivSteps()) {
        setVolts(scope, false, voltsPerDiv);
        const QRectF bounds = traceBounds(picture(scope).traces.value(0));
        if (bounds.height() > 0.0 && bounds.height() <= ScreenGeometry::rows)
            return bounds.height() * voltsPerDiv * ratio;
    }
    return std::nullopt;
}

/** A student's rise time: where the magnified edge crosses 10 and 90 % of the square's height, in ns. */
inline std::optional<double> readRise(Hm203 &scope)
{
    if (!fastestSweep(scope) || !setVolts(scope, false, 0.1))
        return std::nullopt;
    const ScreenTraces screen = picture(scope);
    const QRectF bounds = traceBounds(screen.traces.value(0));
    const double low = bounds.top() + 0.1 * bounds.height();
    const double high = bounds.top() + 0.9 * bounds.height();
    const QList<double> from = risingCrossings(screen, TraceKind::ChannelI, low);
    const QList<double> to = risingCrossings(screen, TraceKind::ChannelI, high);
    if (from.isEmpty() || to.isEmpty())
        return std::nullopt;
    return (to.first() - from.first()) * 50.0;
}

} // namespace

Q_DECLARE_METATYPE(Setup)

/** The columns of a table of judged rows. */
inline void judgedRowColumns()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("met");
    /** When not met, a word the Castilian reason must hold: the control to turn or the fact to see. */
    QTest::addColumn<QString>("reason");
}

/** A row with a typed answer for a drawn task. */
inline void measure(const char *name, int task, quint32 draw, const QString &answer, bool met,
    const QString &reason, Setup setup)
{
    QTest::newRow(name) << task << draw << setup << answer << met << reason;
}

/** A row of a setting task. */
inline void row(const char *name, int task, bool met, const QString &reason, Setup setup)
{
    measure(name, task, 0, QString(), met, reason, setup);
}

/** Judges the current row: the task started, set as the row says, answered, and its verdict. */
inline void checkJudgedRow()
{
    QFETCH(int, task);
    QFETCH(quint32, draw);
    QFETCH(Setup, setup);
    QFETCH(QString, answer);
    QFETCH(bool, met);
    QFETCH(QString, reason);

    const Hm203Task &t = hm203Tasks().at(task);
    Hm203 scope = startedTask(task, draw);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const std::optional<double> typed
        = answer.isEmpty() ? std::nullopt : readTypedNumber(answer, t.answerUnit);
    QVERIFY(answer.isEmpty() || typed);

    const TaskVerdict verdict = t.judge(scope, typed);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY(!verdict.castilian.isEmpty());
    QVERIFY(!verdict.valencian.isEmpty());
    QVERIFY(verdict.castilian != verdict.valencian);
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
    if (!met)
        QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
}
