// The trigger's half of screentraces.h: what the trigger circuit takes from its source through the TRIG.
// selector, and the moment it starts a sweep.
#include "screentraces.h"

#include "verticalpath.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace {

/** The steps a search scans a period of its source in: a crossing falls between two of them. */
constexpr int kStepsPerSearch = 4000;
/** The samples over a swing that find the lowest and highest volts the trigger hears. */
constexpr int kSpanSamples = 1024;
/** A search that waits for the hum to bring the signal to LEVEL looks at no more than this many stretches of
 * time, each a period of the signal or longer, and scans closely only those where the two can meet. */
constexpr int kMostHumStretches = 4096;
/** Where a stretch holds several periods, each is scanned in at least this many steps. */
constexpr int kStepsPerPeriod = 64;

bool crossesBetween(double before, double after, double level, TriggerSlope slope)
{
    // The trigger fires when the signal passes the level the slope's way; one that only reaches it (a
    // burst's last cycle ending on its mean) or rests on it (the pause) does not, until it moves on.
    return slope == TriggerSlope::Rising ? (before <= level && after > level)
                                         : (before >= level && after < level);
}

} // namespace

bool reachesSensitivity(
    const ChannelSettings &source, bool external, const std::function<double(double)> &sense, double period)
{
    constexpr int kSamples = 512;
    double lowest = sense(0.0);
    double highest = lowest;
    for (int i = 1; i < kSamples; ++i) {
        const double v = sense(period * i / kSamples);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    const double swing = highest - lowest;
    return external ? swing >= TriggerSensitivity::externalVolts
                    : swing / std::abs(source.voltsPerDiv) >= TriggerSensitivity::internalDivisions;
}

std::optional<double> triggerTime(const ScopeSettings &settings)
{
    return triggerTimeFrom(settings, settings.trigger.source);
}

ChannelSettings triggerChannel(const ScopeSettings &settings, TriggerSource source)
{
    switch (source) {
    case TriggerSource::ChannelI:
        return settings.channelI;
    case TriggerSource::ChannelII:
        return settings.channelII;
    case TriggerSource::External:
        break;
    }
    ChannelSettings external;
    external.signal = settings.externalTrigger;
    external.coupling = Coupling::DC;
    return external;
}

std::optional<double> triggerTimeFrom(const ScopeSettings &settings, TriggerSource from)
{
    return searchTrigger(settings, from).time;
}

namespace {

/** What reaches the trigger circuit from its source through the TRIG. selector's filter. */
struct Heard
{
    /** The source with what the filter keeps out taken off. */
    ChannelSettings channel;
    /** Why nothing that could trigger the sweep gets through; None when something does. */
    TriggerMiss miss = TriggerMiss::None;
    /** The signal stays out and only its hum gets through: the sweep follows the mains. */
    bool mains = false;
    /** The hum gets through riding on the signal. */
    bool hum = false;
};

Heard heardFrom(const ScopeSettings &settings, TriggerSource from)
{
    Heard heard { triggerChannel(settings, from) };
    // A channel's trigger signal leaves the preamplifier ahead of the delay line, so the sweep has started
    // by the time the edge that fires it reaches the plates.
    if (from != TriggerSource::External)
        heard.channel.signal = aheadOfDelayLine(heard.channel.signal);
    if (heard.channel.coupling == Coupling::Ground) {
        heard.miss = TriggerMiss::Grounded;
        return heard;
    }
    InputSignal &signal = heard.channel.signal;
    const TriggerCoupling coupling = settings.trigger.coupling;
    // HF's high-pass shuts the 50 Hz hum out of the trigger circuit, LF's low-pass the noise.
    if (coupling == TriggerCoupling::HF)
        signal.humVolts = 0.0;
    if (coupling == TriggerCoupling::LF)
        signal.noiseVolts = 0.0;
    const bool hum = signal.humVolts > 0.0 && std::isfinite(signal.humVolts);
    const double frequency = signal.frequencyHz;
    TriggerMiss kept = TriggerMiss::None;
    if (!signal.isAlternating())
        kept = TriggerMiss::NoSignal;
    else if (frequency > TriggerBand::highestHz)
        kept = TriggerMiss::TooFast;
    else if ((coupling == TriggerCoupling::HF && frequency < TriggerBand::highPassHz)
        || (coupling == TriggerCoupling::LF && frequency > TriggerBand::lowPassHz))
        kept = TriggerMiss::Filtered;
    if (kept == TriggerMiss::None) {
        heard.hum = hum;
        return heard;
    }
    if (!hum) {
        heard.miss = kept;
        return heard;
    }
    // The signal stays out and its hum comes in: the trigger fires on the mains. Noise alone, with no signal
    // under it, would fire the sweep at random moments, a trace that runs as if nothing triggered it.
    signal.amplitudeVpp = 0.0;
    signal.noiseVolts = 0.0;
    signal.burstCycles = 0;
    heard.mains = true;
    return heard;
}

/** The first moment between from and to, on steps of (to − from) / steps, at which sense crosses the level
 * on the slope, refined to within rounding; nothing when it does not. */
std::optional<double> firstCrossing(const std::function<double(double)> &sense, double from, double to,
    int steps, double level, TriggerSlope slope)
{
    const double dt = (to - from) / steps;
    double before = sense(from);
    for (int i = 1; i <= steps; ++i) {
        const double t = from + i * dt;
        const double after = sense(t);
        if (crossesBetween(before, after, level, slope)) {
            double lo = t - dt;
            double hi = t;
            for (int k = 0; k < 50; ++k) {
                const double mid = (lo + hi) / 2.0;
                if (crossesBetween(sense(lo), sense(mid), level, slope))
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

/**
 * The first crossing of a signal with hum on it, within a mains period and a signal period: the hum may hold
 * the signal clear of LEVEL for much of its period. A stretch is scanned only where the signal's own swing,
 * moved by what the hum and the noise can add there, reaches the level.
 */
std::optional<double> firstCrossingThroughHum(const ChannelSettings &source, double mean,
    const std::function<double(double)> &sense, double armed, double period, double level, TriggerSlope slope)
{
    ChannelSettings clean = source;
    clean.signal.humVolts = 0.0;
    clean.signal.noiseVolts = 0.0;
    constexpr int kSamples = 512;
    const double first = triggerVolts(clean, armed);
    double low = first;
    double high = first;
    for (int i = 1; i < kSamples; ++i) {
        const double v = triggerVolts(clean, armed + period * i / kSamples);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    // What the samples may miss of a peak.
    const double margin = 0.02 * (high - low);
    const double hum = source.signal.humVolts;
    const double omega = 2.0 * std::numbers::pi * Mains::hz;
    const double noise = source.signal.noisePeakVolts();
    const double total = 1.05 * std::max(period, Mains::periodSeconds);
    const double stretch = std::max(period, total / kMostHumStretches);
    for (double from = 0.0; from < total; from += stretch) {
        const double to = std::min(from + stretch, total);
        const double atStart = hum * std::sin(omega * (armed + from));
        const double atEnd = hum * std::sin(omega * (armed + to));
        // The hum moves no faster than hum · ω: between the stretch's ends it strays at most this far.
        const double stray = hum * omega * (to - from) / 2.0 + noise + margin;
        if (level < low - mean + std::min(atStart, atEnd) - stray
            || level > high - mean + std::max(atStart, atEnd) + stray)
            continue;
        const int steps = std::max(kStepsPerSearch, int(std::ceil(kStepsPerPeriod * (to - from) / period)));
        if (const std::optional<double> t = firstCrossing(sense, from, to, steps, level, slope))
            return t;
    }
    return std::nullopt;
}

/** What the trigger circuit hears from a source, from the moment it is armed: the signal less the mean it
 * does not see, and how long the signal takes to swing through all it does. */
struct Listening
{
    Heard heard;
    double armed = 0.0;
    double mean = 0.0;
    double period = 0.0;
    double swingSpan = 0.0;

    double sense(double t) const { return triggerVolts(heard.channel, armed + t) - mean; }
};

Listening listenTo(const ScopeSettings &settings, TriggerSource from, double armed)
{
    Listening l { heardFrom(settings, from), armed };
    const ChannelSettings &source = l.heard.channel;
    // Only DC coupling lets the trigger circuit see the signal's mean.
    l.mean = settings.trigger.coupling == TriggerCoupling::DC || source.coupling == Coupling::AC
        ? 0.0
        : source.signal.meanVolts();
    l.period = l.heard.mains ? Mains::periodSeconds : source.signal.periodSeconds();
    // With hum on it, the signal swings over a mains period as much as the two add up to.
    l.swingSpan = l.heard.hum ? std::max(l.period, Mains::periodSeconds) : l.period;
    return l;
}

} // namespace

bool followsMains(const ScopeSettings &settings, TriggerSource source)
{
    return settings.trigger.coupling == TriggerCoupling::Line || heardFrom(settings, source).mains;
}

TriggerSearch searchTrigger(const ScopeSettings &settings, TriggerSource from)
{
    const auto missed = [](TriggerMiss why) { return TriggerSearch { std::nullopt, why }; };
    // The time base is ready for a trigger from the search's start on (for a signal whose periods all
    // look alike, any start finds the same picture).
    const double armed = std::isfinite(settings.armedSeconds) ? settings.armedSeconds : 0.0;
    if (settings.trigger.coupling == TriggerCoupling::Line) {
        // Locked to the mains: every sweep starts on a rising zero of the line, whatever the signal.
        const double zero = Mains::periodSeconds * std::ceil(armed / Mains::periodSeconds - 1e-9);
        return { zero, TriggerMiss::None, true };
    }
    const Listening listening = listenTo(settings, from, armed);
    const Heard &heard = listening.heard;
    if (heard.miss != TriggerMiss::None)
        return missed(heard.miss);
    // The sweep starts its own start-up time after the moment the trigger fires.
    const auto found = [&heard](double t) {
        return TriggerSearch { t + DelayLine::sweepStartSeconds, TriggerMiss::None, heard.mains };
    };
    const ChannelSettings &source = heard.channel;
    const double mean = listening.mean;
    const auto sense = [&listening](double t) { return listening.sense(t); };
    const double period = listening.period;
    const double swingSpan = listening.swingSpan;
    if (!reachesSensitivity(source, from == TriggerSource::External, sense, swingSpan))
        return missed(TriggerMiss::TooSmall);
    const double level = settings.trigger.levelVolts;
    const TriggerSlope slope = settings.trigger.slope;
    if (sense(0.0) == level) {
        // Starting exactly on the level counts when the signal moves the right way from there.
        const double after = sense(period * 1e-6);
        if ((slope == TriggerSlope::Rising && after > level)
            || (slope == TriggerSlope::Falling && after < level))
            return found(armed);
    }
    if (heard.hum) {
        if (const std::optional<double> t
            = firstCrossingThroughHum(source, mean, sense, armed, period, level, slope))
            return found(armed + *t);
        return missed(TriggerMiss::LevelOutside);
    }
    // One full period holds every crossing there is; scanning a little more than one catches the
    // crossing that falls exactly on the period's end.
    if (const std::optional<double> t
        = firstCrossing(sense, 0.0, 1.05 * period, kStepsPerSearch, level, slope))
        return found(armed + *t);
    return missed(TriggerMiss::LevelOutside);
}

TriggerHeard triggerHeard(const ScopeSettings &settings, TriggerSource from)
{
    const Listening listening = listenTo(settings, from, 0.0);
    TriggerHeard span { std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() };
    if (listening.heard.miss != TriggerMiss::None || !(listening.swingSpan > 0.0))
        return {};
    for (int i = 0; i <= kSpanSamples; ++i) {
        const double v = listening.sense(listening.swingSpan * i / kSpanSamples);
        span.low = std::min(span.low, v);
        span.high = std::max(span.high, v);
    }
    return span;
}
