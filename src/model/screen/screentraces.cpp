#include "screentraces.h"

#include "verticalpath.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

/** How long the beam stays on one channel before it switches when chopping: the chopper runs at about
 * 1 MHz (technical data), half a microsecond on each channel. */
constexpr double kChopSeconds = 0.5e-6;
/** Chopped pieces shorter than this, in divisions, run together on the face: the spot is wider than the
 * gaps, and each channel reads as a whole trace. */
constexpr double kChopVisible = 0.05;
/** Fewer samples a period than this cut the peaks off and alias: the sweep is then drawn by its envelope. */
constexpr double kSamplesPerPeriod = 16.0;
/** An edge or corner the even samples would step over gets points of its own, half a σ of its band
 * limit apart, over four σ either side; a sweep with more edges than this has samples enough already. */
constexpr double kCornerStepSigmas = 0.5;
constexpr double kCornerReachSigmas = 4.0;
constexpr int kMostRefinedCorners = 64;
/** Edges narrower than this on the face, in divisions, are drawn as the jumps they look like. */
constexpr double kVisibleCorner = 0.01;
/** The most samples a sweep gets, whatever its settings. */
constexpr int kMostSamples = 20000;

bool finitePositive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

double saturate(double divisions)
{
    if (!std::isfinite(divisions))
        return 0.0;
    return std::clamp(divisions, -ScreenGeometry::amplifierLimit, ScreenGeometry::amplifierLimit);
}

/** How many periods of the faster input a span of time holds. */
double periodsIn(const ScopeSettings &settings, double spanSeconds)
{
    double periods = 0.0;
    for (const ChannelSettings *channel : { &settings.channelI, &settings.channelII }) {
        const double period = channel->signal.periodSeconds();
        if (period > 0.0)
            periods = std::max(periods, spanSeconds / period);
    }
    return periods;
}

/** Enough samples to follow every period smoothly, but bounded for absurd settings. */
int sampleCount(const ScopeSettings &settings, double spanSeconds)
{
    const double wanted = std::max(800.0, periodsIn(settings, spanSeconds) * 200.0);
    return int(std::min(wanted, double(kMostSamples)));
}

double sweepY(const ScopeSettings &settings, TraceKind kind, double t)
{
    switch (kind) {
    case TraceKind::ChannelI:
        return channelDivisions(settings.channelI, t);
    case TraceKind::ChannelII:
        return channelDivisions(settings.channelII, t);
    case TraceKind::Sum:
        return channelDivisions(settings.channelI, t) + channelDivisions(settings.channelII, t);
    case TraceKind::XY:
        break;
    }
    return 0.0;
}

/** The signals a trace of a kind follows. */
QList<const InputSignal *> signalsOf(const ScopeSettings &settings, TraceKind kind)
{
    QList<const InputSignal *> shown;
    if ((kind == TraceKind::ChannelI || kind == TraceKind::Sum)
        && settings.channelI.coupling != Coupling::Ground)
        shown.append(&settings.channelI.signal);
    if ((kind == TraceKind::ChannelII || kind == TraceKind::Sum)
        && settings.channelII.coupling != Coupling::Ground)
        shown.append(&settings.channelII.signal);
    return shown;
}

/**
 * The times between from and to, as fractions of the sweep, at which a trace needs points besides its
 * even samples: round the edges and corners of its signals, when those are narrower than the samples'
 * step. An edge through the amplifier rises in 17,5 ns, which even samples of a slow sweep stride over.
 */
QList<double> cornerFractions(const ScopeSettings &settings, TraceKind kind, double start, double fullSpan,
    double from, double to, int samples)
{
    QList<double> fractions;
    const double step = (to - from) * fullSpan / samples;
    const double divisionsPerSecond = (settings.xMagnified ? 10.0 : 1.0) / settings.secondsPerDiv;
    for (const InputSignal *signal : signalsOf(settings, kind)) {
        const double sigma = signal->edgeSeconds();
        if (!(sigma > 0.0) || !std::isfinite(sigma) || step <= kCornerStepSigmas * sigma
            || 2.0 * kCornerReachSigmas * sigma * divisionsPerSecond < kVisibleCorner)
            continue;
        const double reach = kCornerReachSigmas * sigma;
        double corner = signal->nextCornerAfter(start + from * fullSpan - reach);
        for (int n = 0; n < kMostRefinedCorners && corner < start + to * fullSpan + reach; ++n) {
            for (double d = -reach; d <= reach; d += kCornerStepSigmas * sigma) {
                const double fraction = (corner + d - start) / fullSpan;
                if (fraction > from && fraction < to)
                    fractions.append(fraction);
            }
            // From just past this corner: from the corner itself, rounding may find the same one again.
            corner = signal->nextCornerAfter(corner + kCornerStepSigmas * sigma);
        }
    }
    return fractions;
}

/** A time long enough for an X-Y figure to close on itself (or 20 periods of the slower signal). */
double lissajousSpan(const InputSignal &a, const InputSignal &b)
{
    const double pa = a.periodSeconds();
    const double pb = b.periodSeconds();
    if (pa <= 0.0 && pb <= 0.0)
        return 0.0;
    if (pa <= 0.0 || pb <= 0.0)
        return std::max(pa, pb);
    const double slow = std::max(pa, pb);
    const double fast = std::min(pa, pb);
    for (int k = 1; k <= 20; ++k) {
        const double ratio = k * slow / fast;
        if (std::abs(ratio - std::round(ratio)) < 1e-6)
            return k * slow;
    }
    return 20.0 * slow;
}

} // namespace

double repeatSeconds(const ScopeSettings &settings, TraceKind kind)
{
    const double first = settings.channelI.signal.periodSeconds();
    const double second = settings.channelII.signal.periodSeconds();
    switch (kind) {
    case TraceKind::ChannelI:
        return first;
    case TraceKind::ChannelII:
        return second;
    case TraceKind::Sum:
    case TraceKind::XY:
        break;
    }
    return lissajousSpan(settings.channelI.signal, settings.channelII.signal);
}

namespace {

/** The lowest and highest deflection a trace reaches, found over one repeat of it. */
std::pair<double, double> deflectionRange(const ScopeSettings &settings, TraceKind kind)
{
    const double span = repeatSeconds(settings, kind);
    constexpr int samples = 4096;
    double low = saturate(sweepY(settings, kind, 0.0));
    double high = low;
    for (int i = 1; i <= samples && span > 0.0; ++i) {
        const double y = saturate(sweepY(settings, kind, span * i / samples));
        low = std::min(low, y);
        high = std::max(high, y);
    }
    return { low, high };
}

/**
 * The beam's path for one channel during a sweep that starts at signal time start. Unmagnified, the
 * sweep runs over the ten divisions from X-POS.; with X-MAG it runs ten times as fast round the centre
 * and only the part the face shows is computed. When chopping, only the beam's turns on this channel
 * are drawn (turn 0 or 1 of each chop period), as separate pieces; chopParity -1 draws everything.
 */
QList<Trace> sweepTraces(const ScopeSettings &settings, TraceKind kind, double start, int chopParity = -1)
{
    const double spd = settings.secondsPerDiv;
    const double xPosition = saturate(settings.xPosition);
    const double zoom = settings.xMagnified ? 10.0 : 1.0;
    // Screen x at fraction f of the sweep: zoom * (-5 + X-POS. + 10 f).
    double firstFraction = 0.0;
    double lastFraction = 1.0;
    if (settings.xMagnified) {
        const QRectF visible = ScreenGeometry::visibleArea();
        const auto fractionAt = [&](double x) {
            return (x / zoom + ScreenGeometry::halfWidth - xPosition) / ScreenGeometry::columns;
        };
        firstFraction = std::max(0.0, fractionAt(visible.left()));
        lastFraction = std::min(1.0, fractionAt(visible.right()));
        if (firstFraction >= lastFraction)
            return {};
    }
    const double fullSpan = ScreenGeometry::columns * spd;
    const double span = fullSpan * (lastFraction - firstFraction);
    int samples = sampleCount(settings, span);
    // Pieces too short for the eye to part make whole traces; pieces it can see get samples enough to
    // show each one.
    if (chopParity >= 0 && !chopsVisibly(settings))
        chopParity = -1;
    if (chopParity >= 0)
        samples = std::max(samples, int(std::ceil(8.0 * span / kChopSeconds)));
    QList<Trace> pieces;
    Trace trace;
    trace.kind = kind;
    trace.points.reserve(samples + 1);
    // A sweep holding more periods than its samples can follow is a band between the trace's lowest and
    // highest points, which the beam crosses over and over: drawn as such, it cannot alias.
    const bool dense = periodsIn(settings, span) * kSamplesPerPeriod > samples;
    const std::pair<double, double> range = dense ? deflectionRange(settings, kind) : std::pair { 0.0, 0.0 };
    QList<double> fractions;
    fractions.reserve(samples + 1);
    for (int i = 0; i <= samples; ++i)
        fractions.append(firstFraction + (lastFraction - firstFraction) * double(i) / samples);
    if (!dense) {
        const QList<double> corners
            = cornerFractions(settings, kind, start, fullSpan, firstFraction, lastFraction, samples);
        if (!corners.isEmpty() && fractions.size() + corners.size() <= kMostSamples + 1) {
            fractions.append(corners);
            std::sort(fractions.begin(), fractions.end());
        }
    }
    for (qsizetype i = 0; i < fractions.size(); ++i) {
        const double fraction = fractions.at(i);
        const double t = start + fraction * fullSpan;
        if (chopParity >= 0 && std::abs(std::fmod(std::floor(t / kChopSeconds), 2.0)) != chopParity) {
            if (!trace.points.isEmpty()) {
                pieces.append(trace);
                trace.points.clear();
            }
            continue;
        }
        const double x = zoom * (-ScreenGeometry::halfWidth + xPosition + fraction * ScreenGeometry::columns);
        const double y = dense ? (i % 2 ? range.second : range.first) : saturate(sweepY(settings, kind, t));
        trace.points.append(QPointF(x, y));
    }
    if (!trace.points.isEmpty())
        pieces.append(trace);
    return pieces;
}

Trace lissajousTrace(const ScopeSettings &settings)
{
    Trace trace;
    trace.kind = TraceKind::XY;
    const double span = lissajousSpan(settings.channelI.signal, settings.channelII.signal);
    double fastest = 0.0;
    for (const ChannelSettings *channel : { &settings.channelI, &settings.channelII }) {
        if (channel->signal.periodSeconds() > 0.0)
            fastest = fastest > 0.0 ? std::min(fastest, channel->signal.periodSeconds())
                                    : channel->signal.periodSeconds();
    }
    const int samples = span > 0.0 ? int(std::clamp(span / fastest * 400.0, 400.0, 20000.0)) : 1;
    trace.points.reserve(samples + 1);
    for (int i = 0; i <= samples; ++i) {
        const double t = span * i / samples;
        // Channel I drives the vertical plates, channel II the horizontal ones; X-POS. moves the figure
        // sideways.
        const double x
            = channelDivisions(settings.channelII, t) - settings.channelII.position + settings.xPosition;
        trace.points.append(QPointF(saturate(x), saturate(channelDivisions(settings.channelI, t))));
    }
    return trace;
}

bool settingsUsable(const ScopeSettings &settings)
{
    return finitePositive(settings.secondsPerDiv) && finitePositive(settings.channelI.voltsPerDiv)
        && finitePositive(settings.channelII.voltsPerDiv) && std::isfinite(settings.xPosition)
        && std::isfinite(settings.trigger.levelVolts);
}

} // namespace

double triggerVolts(const ChannelSettings &channel, double seconds)
{
    switch (channel.coupling) {
    case Coupling::Ground:
        return 0.0;
    case Coupling::AC:
        return channel.signal.valueAt(seconds) - channel.signal.meanVolts() + channel.settlingVolts;
    case Coupling::DC:
        break;
    }
    return channel.signal.valueAt(seconds);
}

double channelDivisions(const ChannelSettings &channel, double seconds)
{
    if (!finitePositive(channel.voltsPerDiv))
        return channel.position;
    const double volts = triggerVolts(channel, seconds);
    return (channel.inverted ? -volts : volts) / channel.voltsPerDiv + channel.position;
}

ScreenTraces computeTraces(const ScopeSettings &settings)
{
    ScreenTraces screen;
    if (!settingsUsable(settings))
        return screen;
    if (settings.mode == DisplayMode::XY) {
        // X-Y needs no sweep and no trigger: the two signals draw the figure themselves.
        screen.triggered = true;
        screen.traces.append(lissajousTrace(settings));
        return screen;
    }
    const std::optional<double> start = triggerTime(settings);
    screen.triggered = start.has_value();
    if (!start && settings.trigger.mode == TriggerMode::Normal)
        return screen;
    screen.sweepStartSeconds
        = start.value_or(std::isfinite(settings.freeRunSeconds) ? settings.freeRunSeconds : 0.0);
    const double begin = screen.sweepStartSeconds;
    switch (settings.mode) {
    case DisplayMode::ChannelI:
        screen.traces.append(sweepTraces(settings, TraceKind::ChannelI, begin));
        break;
    case DisplayMode::ChannelII:
        screen.traces.append(sweepTraces(settings, TraceKind::ChannelII, begin));
        break;
    case DisplayMode::Dual:
        if (settings.chopped) {
            screen.traces.append(sweepTraces(settings, TraceKind::ChannelI, begin, 0));
            screen.traces.append(sweepTraces(settings, TraceKind::ChannelII, begin, 1));
        } else if (settings.trigger.alternate) {
            // Each channel's sweep waits for its own signal; one that never comes runs free (AT) or stays
            // dark (NORM).
            for (const auto &[kind, from] : { std::pair { TraceKind::ChannelI, TriggerSource::ChannelI },
                     std::pair { TraceKind::ChannelII, TriggerSource::ChannelII } }) {
                const std::optional<double> own = triggerTimeFrom(settings, from);
                if (own || settings.trigger.mode == TriggerMode::Automatic)
                    screen.traces.append(sweepTraces(settings, kind, own.value_or(begin)));
            }
        } else {
            screen.traces.append(sweepTraces(settings, TraceKind::ChannelI, begin));
            screen.traces.append(sweepTraces(settings, TraceKind::ChannelII, begin));
        }
        break;
    case DisplayMode::Add:
        screen.traces.append(sweepTraces(settings, TraceKind::Sum, begin));
        break;
    case DisplayMode::XY:
        break;
    }
    return screen;
}

QList<double> traceHeights(const ScopeSettings &settings, TraceKind kind, int samples)
{
    QList<double> heights;
    const double span = repeatSeconds(settings, kind);
    if (!(span > 0.0) || samples <= 0)
        return heights;
    heights.reserve(samples);
    for (int i = 0; i < samples; ++i)
        heights.append(saturate(sweepY(settings, kind, span * i / samples)));
    return heights;
}

bool chopsVisibly(const ScopeSettings &settings)
{
    const double zoom = settings.xMagnified ? 10.0 : 1.0;
    return settings.secondsPerDiv > 0.0 && kChopSeconds / settings.secondsPerDiv * zoom >= kChopVisible;
}

double divisionsPerPeriod(double frequencyHz, double secondsPerDiv)
{
    if (!finitePositive(frequencyHz) || !finitePositive(secondsPerDiv))
        return 0.0;
    return 1.0 / (frequencyHz * secondsPerDiv);
}

double periodsOnScreen(double frequencyHz, double secondsPerDiv)
{
    const double perPeriod = divisionsPerPeriod(frequencyHz, secondsPerDiv);
    return perPeriod > 0.0 ? ScreenGeometry::columns / perPeriod : 0.0;
}

double periodsSpanned(double spanDivisions, double divisionsPerPeriod)
{
    if (!finitePositive(divisionsPerPeriod) || !std::isfinite(spanDivisions))
        return 0.0;
    // A count worked out by two routes (a period over seconds per division, or one over a frequency times
    // them) differs in its last bits; a millionth of a period is more than either is worth.
    const double periods = std::round(spanDivisions * 100.0) / 100.0 / divisionsPerPeriod;
    return std::round(periods * 1e6) / 1e6;
}

double peakToPeakDivisions(double amplitudeVpp, double voltsPerDiv)
{
    if (!finitePositive(voltsPerDiv) || !std::isfinite(amplitudeVpp))
        return 0.0;
    return std::abs(amplitudeVpp) / voltsPerDiv;
}

QRectF traceBounds(const Trace &trace)
{
    if (trace.points.isEmpty())
        return {};
    double left = trace.points.first().x();
    double right = left;
    double bottom = trace.points.first().y();
    double top = bottom;
    for (const QPointF &p : trace.points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    }
    return QRectF(QPointF(left, bottom), QPointF(right, top));
}

double visiblePeakToPeak(const Trace &trace)
{
    const QRectF visible = ScreenGeometry::visibleArea();
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (const QPointF &p : trace.points) {
        if (p.x() < visible.left() || p.x() > visible.right())
            continue;
        const double y = std::clamp(p.y(), visible.top(), visible.bottom());
        low = any ? std::min(low, y) : y;
        high = any ? std::max(high, y) : y;
        any = true;
    }
    return any ? high - low : 0.0;
}
