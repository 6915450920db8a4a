#include "screentraces.h"

#include <algorithm>
#include <cmath>

namespace {

const ChannelSettings &sourceChannel(const ScopeSettings &settings)
{
    return settings.trigger.source == TriggerSource::ChannelI ? settings.channelI : settings.channelII;
}

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

bool crossesBetween(double before, double after, double level, TriggerSlope slope)
{
    return slope == TriggerSlope::Rising ? (before < level && after >= level)
                                         : (before > level && after <= level);
}

/** Enough samples to follow every period smoothly, but bounded for absurd settings. */
int sampleCount(const ScopeSettings &settings, double spanSeconds)
{
    double periods = 0.0;
    for (const ChannelSettings *channel : { &settings.channelI, &settings.channelII }) {
        const double period = channel->signal.periodSeconds();
        if (period > 0.0)
            periods = std::max(periods, spanSeconds / period);
    }
    const double wanted = std::max(800.0, periods * 200.0);
    return int(std::min(wanted, 20000.0));
}

Trace sweepTrace(const ScopeSettings &settings, TraceKind kind, double start)
{
    const double span = ScreenGeometry::columns * settings.secondsPerDiv;
    const int samples = sampleCount(settings, span);
    Trace trace;
    trace.kind = kind;
    trace.points.reserve(samples + 1);
    for (int i = 0; i <= samples; ++i) {
        const double fraction = double(i) / samples;
        const double t = start + fraction * span;
        double y = 0.0;
        switch (kind) {
        case TraceKind::ChannelI:
            y = channelDivisions(settings.channelI, t);
            break;
        case TraceKind::ChannelII:
            y = channelDivisions(settings.channelII, t);
            break;
        case TraceKind::Sum:
            y = channelDivisions(settings.channelI, t) + channelDivisions(settings.channelII, t);
            break;
        case TraceKind::XY:
            break;
        }
        const double x
            = -ScreenGeometry::halfWidth + saturate(settings.xPosition) + fraction * ScreenGeometry::columns;
        trace.points.append(QPointF(x, saturate(y)));
    }
    return trace;
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
        return channel.signal.valueAt(seconds) - channel.signal.meanVolts();
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

std::optional<double> triggerTime(const ScopeSettings &settings)
{
    const ChannelSettings &source = sourceChannel(settings);
    if (source.coupling == Coupling::Ground || !source.signal.isAlternating())
        return std::nullopt;
    const double period = source.signal.periodSeconds();
    const double level = settings.trigger.levelVolts;
    const TriggerSlope slope = settings.trigger.slope;
    // One full period holds every crossing there is; scanning a little more than one catches the
    // crossing that falls exactly on the period's end.
    const int steps = 4000;
    const double dt = 1.05 * period / steps;
    double before = triggerVolts(source, 0.0);
    if (before == level) {
        // Starting exactly on the level counts when the signal moves the right way from there.
        const double after = triggerVolts(source, period * 1e-6);
        if ((slope == TriggerSlope::Rising && after > level)
            || (slope == TriggerSlope::Falling && after < level))
            return 0.0;
    }
    for (int i = 1; i <= steps; ++i) {
        const double t = i * dt;
        const double after = triggerVolts(source, t);
        if (crossesBetween(before, after, level, slope)) {
            double lo = t - dt;
            double hi = t;
            for (int k = 0; k < 50; ++k) {
                const double mid = (lo + hi) / 2.0;
                if (crossesBetween(triggerVolts(source, lo), triggerVolts(source, mid), level, slope))
                    hi = mid;
                else
                    lo = mid;
            }
            return hi;
        }
        before = after;
    }
    return std::nullopt;
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
    screen.sweepStartSeconds = start.value_or(0.0);
    switch (settings.mode) {
    case DisplayMode::ChannelI:
        screen.traces.append(sweepTrace(settings, TraceKind::ChannelI, screen.sweepStartSeconds));
        break;
    case DisplayMode::ChannelII:
        screen.traces.append(sweepTrace(settings, TraceKind::ChannelII, screen.sweepStartSeconds));
        break;
    case DisplayMode::Dual:
        screen.traces.append(sweepTrace(settings, TraceKind::ChannelI, screen.sweepStartSeconds));
        screen.traces.append(sweepTrace(settings, TraceKind::ChannelII, screen.sweepStartSeconds));
        break;
    case DisplayMode::Add:
        screen.traces.append(sweepTrace(settings, TraceKind::Sum, screen.sweepStartSeconds));
        break;
    case DisplayMode::XY:
        break;
    }
    return screen;
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
