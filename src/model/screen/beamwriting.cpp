#include "beamwriting.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

/** The retrace: the sawtooth flies back in a twentieth of the sweep, and never quicker than this. */
constexpr double kRetraceShare = 0.05;
constexpr double kShortestRetrace = 0.5e-6;
/** The shortest hold-off, as a share of the sweep; HOLD OFF lengthens it up to ten times. */
constexpr double kHoldOffShare = 0.1;
constexpr double kHoldOffRange = 10.0;
/** A running trace is drawn as this many of the sweeps a stretch of time holds, each for its share. */
constexpr int kRunningSweeps = 6;
/** A sweep that holds more repeats than this a division also carries its band of heights. */
constexpr double kBandRepeatsPerDivision = 2.0;
/** The heights of one repeat of a dense trace, at equal steps of time. */
constexpr int kRepeatHeights = 256;

/** The period of what the trigger circuit fires on, or nothing when nothing repeats. */
std::optional<double> triggerPeriod(const ScopeSettings &settings, const TriggerSearch &search)
{
    if (search.mains)
        return Mains::periodSeconds;
    const double period = triggerChannel(settings, settings.trigger.source).signal.periodSeconds();
    return period > 0.0 ? std::optional<double>(period) : std::nullopt;
}

/** Whether each sweep starts at the same point of the shown signals: one that follows the mains does only
 * for signals in step with them, which a generator running free of the mains never quite is. */
bool startsInStep(const ScopeSettings &settings, const TriggerSearch &search)
{
    if (!search.mains)
        return true;
    for (const InputSignal *signal : { &settings.channelI.signal, &settings.channelII.signal }) {
        if (signal->periodSeconds() <= 0.0)
            continue;
        const double cycles = Mains::periodSeconds / signal->periodSeconds();
        if (std::abs(cycles - std::round(cycles)) > 1e-9)
            return false;
    }
    return true;
}

/** The sweep fraction a point of a swept trace was written at, from where it stands across the face. */
double sweepFraction(const ScopeSettings &settings, double x)
{
    const double zoom = settings.xMagnified ? 10.0 : 1.0;
    const double xPosition
        = std::clamp(settings.xPosition, -ScreenGeometry::amplifierLimit, ScreenGeometry::amplifierLimit);
    return (x / zoom + ScreenGeometry::halfWidth - xPosition) / ScreenGeometry::columns;
}

/** A swept trace as a stroke of a sweep that starts at a moment. */
BeamStroke sweptStroke(const ScopeSettings &settings, const Trace &trace, double start, double sweep)
{
    BeamStroke stroke;
    stroke.kind = trace.kind;
    stroke.points = trace.points;
    stroke.times.reserve(trace.points.size());
    for (const QPointF &p : trace.points)
        stroke.times.append(start + sweepFraction(settings, p.x()) * sweep);
    // The beam is on a chopped channel half the time, in pieces too short to see.
    if (settings.mode == DisplayMode::Dual && settings.chopped && !chopsVisibly(settings))
        stroke.repeats = 0.5;
    const double repeat = repeatSeconds(settings, trace.kind);
    const double zoom = settings.xMagnified ? 10.0 : 1.0;
    if (repeat > 0.0 && settings.secondsPerDiv / zoom / repeat > kBandRepeatsPerDivision) {
        stroke.repeatsPerDivision = settings.secondsPerDiv / zoom / repeat;
        stroke.repeatHeights = traceHeights(settings, trace.kind, kRepeatHeights);
    }
    return stroke;
}

/** The part of a stroke written between two moments, its ends cut where the moments fall. */
BeamStroke during(const BeamStroke &stroke, double from, double to)
{
    BeamStroke part = stroke;
    part.points.clear();
    part.times.clear();
    const auto at = [&](qsizetype i, double t) {
        const double t0 = stroke.times.at(i);
        const double t1 = stroke.times.at(i + 1);
        const double k = t1 > t0 ? (t - t0) / (t1 - t0) : 0.0;
        return stroke.points.at(i) + (stroke.points.at(i + 1) - stroke.points.at(i)) * k;
    };
    for (qsizetype i = 0; i < stroke.times.size(); ++i) {
        const double t = stroke.times.at(i);
        if (t >= from && t <= to) {
            if (part.points.isEmpty() && i > 0 && stroke.times.at(i - 1) < from) {
                part.points.append(at(i - 1, from));
                part.times.append(from);
            }
            part.points.append(stroke.points.at(i));
            part.times.append(t);
        } else if (t > to) {
            if (i > 0 && stroke.times.at(i - 1) < to) {
                if (part.points.isEmpty() && stroke.times.at(i - 1) < from) {
                    part.points.append(at(i - 1, from));
                    part.times.append(from);
                }
                part.points.append(at(i - 1, to));
                part.times.append(to);
            }
            break;
        }
    }
    return part;
}

/** The figure of X-Y: the two signals drawing each other, all the time. */
BeamWriting figureWriting(const ScopeSettings &settings, double from, double to)
{
    BeamWriting writing;
    const ScreenTraces screen = computeTraces(settings);
    if (screen.traces.isEmpty())
        return writing;
    const Trace &figure = screen.traces.first();
    const double span = repeatSeconds(settings, TraceKind::XY);
    BeamStroke stroke;
    stroke.kind = TraceKind::XY;
    if (span <= 0.0 || figure.points.size() < 2) {
        // Nothing moves the beam: it stands on one spot all the time.
        stroke.points = { figure.points.value(0), figure.points.value(0) };
        stroke.times = { 0.0, Afterglow::seconds };
        writing.strokes.append(stroke);
        return writing;
    }
    stroke.points = figure.points;
    const qsizetype last = figure.points.size() - 1;
    for (qsizetype i = 0; i <= last; ++i)
        stroke.times.append(span * double(i) / last);
    if (1.0 / span >= Afterglow::steadyRate) {
        stroke.repeats = Afterglow::seconds / span;
        writing.strokes.append(stroke);
        return writing;
    }
    // A figure slower than the eye: the spot draws it as time goes by.
    writing.steady = false;
    for (double lap = std::floor(from / span) * span; lap < to; lap += span) {
        BeamStroke shifted = stroke;
        for (double &t : shifted.times)
            t += lap;
        const BeamStroke part = during(shifted, from, to);
        if (part.points.size() >= 2)
            writing.strokes.append(part);
    }
    return writing;
}

/** Whether some signal the picture depends on differs from period to period: a burst, or hum or noise
 * riding on it. Then each sweep waits for its own trigger and shows its own stretch of the signal. */
bool irregular(const ScopeSettings &settings)
{
    for (const InputSignal *signal :
        { &settings.channelI.signal, &settings.channelII.signal, &settings.externalTrigger })
        if (!signal->isClean() || signal->burstCycles > 0)
            return true;
    return false;
}

/** Whether every channel the sweep shows draws a level that does not change with time. */
bool showsOnlySteadyLevels(const ScopeSettings &settings)
{
    const auto steady = [](const ChannelSettings &channel) {
        return channel.coupling == Coupling::Ground
            || (!channel.signal.isAlternating() && channel.signal.isClean()
                && channel.signal.burstCycles == 0);
    };
    switch (settings.mode) {
    case DisplayMode::ChannelI:
        return steady(settings.channelI);
    case DisplayMode::ChannelII:
        return steady(settings.channelII);
    case DisplayMode::Dual:
    case DisplayMode::Add:
        return steady(settings.channelI) && steady(settings.channelII);
    case DisplayMode::XY:
        break;
    }
    return false;
}

/** Whether hum rides on a signal the picture depends on. */
bool humming(const ScopeSettings &settings)
{
    for (const InputSignal *signal :
        { &settings.channelI.signal, &settings.channelII.signal, &settings.externalTrigger })
        if (signal->humVolts > 0.0)
            return true;
    return false;
}

/** Whether a signal the picture depends on comes in bursts. */
bool bursting(const ScopeSettings &settings)
{
    for (const InputSignal *signal :
        { &settings.channelI.signal, &settings.channelII.signal, &settings.externalTrigger })
        if (signal->burstCycles > 0)
            return true;
    return false;
}

/** A sweep's own stretch of noise. */
void seedNoise(ScopeSettings &settings, unsigned seed)
{
    settings.channelI.signal.noiseSeed = seed;
    settings.channelII.signal.noiseSeed = seed;
    settings.externalTrigger.noiseSeed = seed;
}

/**
 * A triggered picture of a signal whose periods differ, as the sweeps come: each waits, after the last
 * one's hold-off, for the next crossing of the level, and shows what the signal does from there. The
 * sweeps a burst's pulses start are drawn over each other; hum and noise blur the trace and the moments
 * it starts (jitter). A few sweeps stand for all; together they repeat far faster than the afterglow, so
 * the eye sees them at rest. Noise and bursts repeat their pattern from run to run, and a run of sweeps in
 * turn stands for them. The sweeps of one afterglow time meet the hum at every point of its period, so the
 * few that stand for them are armed at moments spread evenly over a mains period.
 */
std::optional<BeamWriting> irregularWriting(const ScopeSettings &settings, const SweepTiming &timing)
{
    BeamWriting writing;
    const bool alternate = settings.mode == DisplayMode::Dual && !settings.chopped;
    const bool spread = humming(settings) && !bursting(settings);
    const double busy = timing.sweepSeconds + timing.deadSeconds;
    ScopeSettings sweep = settings;
    double armed = 0.0;
    double waited = 0.0;
    std::optional<double> first;
    QList<ScreenTraces> sweeps;
    for (int k = 0; k < kRunningSweeps; ++k) {
        if (spread)
            armed = Mains::periodSeconds * k / kRunningSweeps;
        sweep.armedSeconds = armed;
        seedNoise(sweep, unsigned(k + 1));
        const std::optional<double> start = triggerTime(sweep);
        if (!start)
            break;
        if (!first)
            first = start;
        waited += *start - armed;
        sweeps.append(computeTraces(sweep));
        armed = *start + busy;
    }
    if (sweeps.isEmpty() || !first)
        return std::nullopt;
    // From one sweep's start to the next: spread over the mains, each sweep's own wait for its trigger after
    // the dead time; in a run, from the first sweep's start to the moment the time base is armed after the
    // last.
    const double cycle = spread ? busy + waited / sweeps.size() : (armed - *first) / sweeps.size();
    const double rate = 1.0 / cycle / (alternate ? 2.0 : 1.0);
    if (!(cycle > 0.0) || rate < Afterglow::steadyRate)
        return std::nullopt;
    for (const ScreenTraces &traces : sweeps)
        for (const Trace &trace : traces.traces) {
            if (trace.points.size() < 2)
                continue;
            BeamStroke stroke = sweptStroke(settings, trace, 0.0, timing.sweepSeconds);
            stroke.repeats *= rate * Afterglow::seconds / sweeps.size();
            writing.strokes.append(stroke);
        }
    return writing;
}

} // namespace

double Beam::currentAt(double intensity)
{
    return std::pow(std::clamp(intensity, 0.0, 1.0), 4.0);
}

double Beam::spotSpread(double current, double focus)
{
    const double defocus = std::abs(std::clamp(focus, 0.0, 1.0) - 0.5) / 0.5;
    return sharpestSpot * (1.0 + 0.5 * std::clamp(current, 0.0, 1.0)) + 0.25 * defocus;
}

SweepTiming sweepTiming(const ScopeSettings &settings)
{
    SweepTiming timing;
    if (settings.mode == DisplayMode::XY || !(settings.secondsPerDiv > 0.0)) {
        timing.dark = true;
        return timing;
    }
    timing.sweepSeconds = ScreenGeometry::columns * settings.secondsPerDiv;
    const double retrace = std::max(kShortestRetrace, kRetraceShare * timing.sweepSeconds);
    const double holdOff = kHoldOffShare * timing.sweepSeconds
        * (1.0 + (kHoldOffRange - 1.0) * std::clamp(settings.holdOff, 0.0, 1.0));
    timing.deadSeconds = retrace + holdOff;
    const TriggerSearch search = searchTrigger(settings, settings.trigger.source);
    const bool fires = search.time.has_value();
    const std::optional<double> period = triggerPeriod(settings, search);
    if (!fires && settings.trigger.mode == TriggerMode::Normal) {
        timing.dark = true;
        return timing;
    }
    const double busy = timing.sweepSeconds + timing.deadSeconds;
    if (fires && period) {
        // Re-armed after the dead time, the sweep waits for the next crossing of the level.
        timing.cycleSeconds = *period * std::ceil(busy / *period - 1e-9);
        timing.triggered = startsInStep(settings, search);
    } else {
        timing.cycleSeconds = busy;
    }
    timing.alike = timing.triggered || showsOnlySteadyLevels(settings);
    return timing;
}

QList<double> sweepStarts(const ScopeSettings &settings, int sweeps)
{
    const SweepTiming timing = sweepTiming(settings);
    QList<double> starts;
    ScopeSettings sweep = settings;
    double armed = 0.0;
    for (int k = 0; k < sweeps; ++k) {
        sweep.armedSeconds = armed;
        seedNoise(sweep, unsigned(k + 1));
        const std::optional<double> start = triggerTime(sweep);
        if (!start)
            break;
        starts << *start;
        armed = *start + timing.sweepSeconds + timing.deadSeconds;
    }
    return starts;
}

double startSpread(const ScopeSettings &settings, const QList<double> &starts)
{
    const double period = settings.channelI.signal.periodSeconds();
    if (starts.isEmpty() || !(period > 0.0))
        return 0.0;
    double lowest = 0.0;
    double highest = 0.0;
    for (double start : starts) {
        const double off = std::remainder(start - starts.first(), period);
        lowest = std::min(lowest, off);
        highest = std::max(highest, off);
    }
    const double perDiv = settings.secondsPerDiv / (settings.xMagnified ? 10.0 : 1.0);
    return (highest - lowest) / perDiv;
}

BeamWriting beamWriting(const ScopeSettings &settings, double fromSeconds, double toSeconds)
{
    const double from = std::isfinite(fromSeconds) ? fromSeconds : 0.0;
    const double to = std::isfinite(toSeconds) ? std::max(toSeconds, from) : from;
    if (settings.mode == DisplayMode::XY)
        return figureWriting(settings, from, to);
    BeamWriting writing;
    const SweepTiming timing = sweepTiming(settings);
    if (timing.dark || timing.cycleSeconds <= 0.0)
        return writing;
    const bool alternate = settings.mode == DisplayMode::Dual && !settings.chopped;
    const double rate = 1.0 / timing.cycleSeconds / (alternate ? 2.0 : 1.0);
    const bool varies = irregular(settings);
    if (timing.triggered && varies) {
        if (std::optional<BeamWriting> steady = irregularWriting(settings, timing))
            return *steady;
    }
    if (timing.alike && !varies && rate >= Afterglow::steadyRate) {
        // Every sweep draws the same picture, many times within the afterglow: one stroke a trace, with
        // all its repeats.
        const ScreenTraces screen = computeTraces(settings);
        for (const Trace &trace : screen.traces) {
            // A chopped piece cut to a single point at the sweep's end takes no time: nothing is written.
            if (trace.points.size() < 2)
                continue;
            BeamStroke stroke = sweptStroke(settings, trace, 0.0, timing.sweepSeconds);
            stroke.repeats *= rate * Afterglow::seconds;
            writing.strokes.append(stroke);
        }
        return writing;
    }
    // A picture the eye sees change: the sweeps, or the parts of them, that fall between the moments.
    writing.steady = false;
    const double cycle = timing.cycleSeconds;
    const qint64 first = qint64(std::floor((from - timing.sweepSeconds) / cycle)) + 1;
    const qint64 last = qint64(std::floor(to / cycle));
    if (last < first)
        return writing;
    const qint64 count = last - first + 1;
    // Triggered sweeps all draw the same trace. A running trace holds many sweeps a frame, each from its
    // own point of the signal: a few of them, evenly spread, stand for all, each with its share.
    const qint64 drawn = timing.triggered ? count : std::min<qint64>(count, kRunningSweeps);
    const double share = double(count) / double(drawn);
    std::optional<ScreenTraces> traces;
    for (qint64 n = 0; n < drawn; ++n) {
        const qint64 k
            = drawn == count ? first + n : first + (n * (count - 1)) / std::max<qint64>(1, drawn - 1);
        const double start = double(k) * cycle;
        ScopeSettings sweep = settings;
        sweep.freeRunSeconds = start;
        sweep.armedSeconds = start;
        seedNoise(sweep, unsigned(k & 0xffff) + 1u);
        if (!timing.triggered || varies || !traces)
            traces = computeTraces(sweep);
        // A sweep that waits for the mains starts where it finds them, a little after the time base is armed.
        const double begins = timing.triggered ? start : traces->sweepStartSeconds;
        for (const Trace &trace : traces->traces) {
            // Alternating, a sweep draws one channel, the next sweep the other.
            if (alternate && traces->traces.size() == 2
                && (trace.kind == TraceKind::ChannelI) != (k % 2 == 0))
                continue;
            BeamStroke stroke = during(sweptStroke(sweep, trace, begins, timing.sweepSeconds), from, to);
            if (stroke.points.size() < 2)
                continue;
            stroke.repeats *= share;
            writing.strokes.append(stroke);
        }
    }
    return writing;
}
