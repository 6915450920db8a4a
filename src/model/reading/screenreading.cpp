#include "screenreading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using C = Hm203Control;
using namespace FaceReading;

/** The heights over one repeat that a trace's place on the face is judged from. */
constexpr int kHeightSamples = 128;
/** The face holds what the beam wrote over the last four afterglow times (its light falls to e⁻⁴, 2 %):
 * a sweep whose spot covers less than half the face in that time shows as a spot crawling across. */
constexpr double kSeenAfterglows = 4.0;
/** Outside these shares of the faint line, the light worked out from the sweep's timing decides a sweep
 * dim or not without drawing what the beam writes; between them the writing decides. */
constexpr double kSureBelow = 0.5;
constexpr double kSureAbove = 2.0;

std::size_t slot(TraceKind kind)
{
    return std::size_t(kind);
}

} // namespace

QList<double> faceHeights(const ScopeSettings &settings, TraceKind kind)
{
    return traceHeights(settings, kind == TraceKind::XY ? TraceKind::ChannelI : kind, kHeightSamples);
}

double shareOnFace(const QList<double> &heights)
{
    if (heights.isEmpty())
        return 1.0;
    const QRectF face = ScreenGeometry::visibleArea();
    const auto on = std::count_if(
        heights.begin(), heights.end(), [&](double y) { return y >= face.top() && y <= face.bottom(); });
    return double(on) / double(heights.size());
}

bool wholeOnFace(const QList<double> &heights)
{
    if (heights.isEmpty())
        return true;
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    Extent extent;
    extent.minY = *low;
    extent.maxY = *high;
    return !extent.clipped();
}

const ChannelSettings &channelSettings(const ScopeSettings &settings, bool second)
{
    return second ? settings.channelII : settings.channelI;
}

ScreenReading::ScreenReading(const Hm203 &scope, const BeamMoment &moment)
    : m_scope(scope)
    , m_moment { std::isfinite(moment.seconds) ? moment.seconds : 0.0, moment.sincePowerOn }
    , m_settings(scope.scopeSettings())
    , m_brightness(scope.brightness(m_moment))
    , m_spot(scope.beamSpot())
    , m_timing(sweepTiming(m_settings))
{
}

const TriggerSearch &ScreenReading::trigger() const
{
    if (!m_trigger)
        m_trigger = searchTrigger(m_settings, m_settings.trigger.source);
    return *m_trigger;
}

const ScreenTraces &ScreenReading::traces() const
{
    if (!m_traces)
        m_traces = computeTraces(m_settings);
    return *m_traces;
}

const BeamFrame &ScreenReading::writing() const
{
    if (!m_writing)
        m_writing = m_scope.beam(seconds() - Afterglow::seconds, seconds());
    return *m_writing;
}

const LiveScreen &ScreenReading::live() const
{
    if (!m_live)
        m_live = m_scope.screen(m_moment);
    return *m_live;
}

const ScopeSettings &ScreenReading::liveSettings() const
{
    if (!m_liveSettings) {
        m_liveSettings = m_scope.scopeSettingsAt(seconds());
        m_liveSettings->freeRunSeconds = seconds();
    }
    return *m_liveSettings;
}

const FigureShape &ScreenReading::figure() const
{
    if (!m_figure) {
        const QList<Trace> &drawn = live().traces.traces;
        m_figure = drawn.isEmpty() ? FigureShape {} : shapeOfFigure(drawn.first());
    }
    return *m_figure;
}

bool ScreenReading::triggered(TraceKind kind) const
{
    // With ALT each channel's sweep waits for its own signal; else one trigger starts both.
    const ScopeSettings &s = liveSettings();
    const TriggerSettings &trigger = s.trigger;
    const bool all = m_timing.triggered;
    if (s.mode != DisplayMode::Dual || s.chopped || !trigger.alternate)
        return all;
    const TriggerSource own
        = kind == TraceKind::ChannelII ? TriggerSource::ChannelII : TriggerSource::ChannelI;
    return triggerTimeFrom(s, own).has_value() && (trigger.coupling != TriggerCoupling::Line || all);
}

QList<TraceKind> ScreenReading::shownKinds() const
{
    switch (m_settings.mode) {
    case DisplayMode::ChannelI:
        return { TraceKind::ChannelI };
    case DisplayMode::ChannelII:
        return { TraceKind::ChannelII };
    case DisplayMode::Dual:
        return { TraceKind::ChannelI, TraceKind::ChannelII };
    case DisplayMode::Add:
        return { TraceKind::Sum };
    case DisplayMode::XY:
        break;
    }
    return { TraceKind::XY };
}

QList<bool> ScreenReading::shownChannels() const
{
    switch (m_settings.mode) {
    case DisplayMode::ChannelI:
        return { false };
    case DisplayMode::ChannelII:
        return { true };
    case DisplayMode::Dual:
    case DisplayMode::Add:
    case DisplayMode::XY:
        break;
    }
    return { false, true };
}

std::optional<Extent> ScreenReading::extent(TraceKind kind) const
{
    return extentOf(traces(), kind);
}

const QList<double> &ScreenReading::heights(TraceKind kind) const
{
    std::optional<QList<double>> &kept = m_heights[slot(kind)];
    if (!kept)
        kept = faceHeights(m_settings, kind);
    return *kept;
}

double ScreenReading::shareOnFace(TraceKind kind) const
{
    return ::shareOnFace(heights(kind));
}

double ScreenReading::heightSpan(TraceKind kind) const
{
    const QList<double> &ys = heights(kind);
    if (ys.isEmpty())
        return 0.0;
    const auto [low, high] = std::minmax_element(ys.begin(), ys.end());
    return *high - *low;
}

bool ScreenReading::wholeOnFace(TraceKind kind) const
{
    return ::wholeOnFace(heights(kind));
}

double ScreenReading::periodSeconds(TraceKind kind) const
{
    std::optional<double> &kept = m_periods[slot(kind)];
    if (!kept) {
        const ScopeSettings &s = m_settings;
        const bool onlyII = kind == TraceKind::Sum && s.channelI.coupling == Coupling::Ground;
        const bool onlyI = kind == TraceKind::Sum && s.channelII.coupling == Coupling::Ground;
        kept = repeatSeconds(s, onlyII ? TraceKind::ChannelII : onlyI ? TraceKind::ChannelI : kind);
    }
    return *kept;
}

double ScreenReading::periodsSpanning(TraceKind kind, double spanX) const
{
    const double period = periodSeconds(kind);
    if (!(period > 0.0))
        return 0.0;
    // X-MAG spreads each period over ten times as many divisions.
    const double zoom = m_settings.xMagnified ? 10.0 : 1.0;
    return periodsSpanned(spanX, period / m_settings.secondsPerDiv * zoom);
}

bool ScreenReading::darkInNorm() const
{
    return FaceReading::darkInNorm(m_settings, trigger().time.has_value());
}

bool ScreenReading::stillChannel(bool second) const
{
    const ChannelSettings &c = channelSettings(m_settings, second);
    return c.coupling == Coupling::Ground || !c.signal.isAlternating();
}

bool ScreenReading::stillSpot() const
{
    return !swept() && !tester() && stillChannel(false) && stillChannel(true);
}

Dimness ScreenReading::dimness() const
{
    if (m_dimness)
        return *m_dimness;
    m_dimness = [this] {
        if (isFaint(m_brightness))
            return Dimness::Intensity;
        // Only a triggered sweep repeating faster than the eye follows writes a steady line of one
        // brightness, which the light it leaves per division measures.
        const SweepTiming &t = m_timing;
        if (!swept() || tester() || !t.triggered)
            return Dimness::None;
        // The light a division gets is the current times the time the spot spends on it over an afterglow
        // time: a division's worth of the sweep, once a cycle, each channel half of it in DUAL. Only near
        // the faint line is the writing itself drawn to tell.
        if (pace() != SweepPace::Steady)
            return Dimness::None;
        const double zoom = m_settings.xMagnified ? 10.0 : 1.0;
        const double share = m_settings.mode == DisplayMode::Dual ? 0.5 : 1.0;
        const double estimate = t.cycleSeconds > 0.0
            ? m_spot.current * Afterglow::seconds * share * m_settings.secondsPerDiv / zoom / t.cycleSeconds
            : 0.0;
        const double faint = faintSweepEnergy();
        double energy = estimate;
        if (estimate > kSureBelow * faint && estimate < kSureAbove * faint)
            energy = sweptEnergyPerDivision(writing());
        if (!(energy > 0.0) || energy >= faint)
            return Dimness::None;
        // A sweep that spends longer waiting for its trigger than sweeping and recovering writes a small
        // share of the time, however bright its beam.
        return t.cycleSeconds > 2.0 * (t.sweepSeconds + t.deadSeconds) ? Dimness::ShortDuty
                                                                       : Dimness::Intensity;
    }();
    return *m_dimness;
}

bool ScreenReading::crawling() const
{
    const SweepTiming &t = m_timing;
    if (!swept() || t.dark || !(t.sweepSeconds > 0.0))
        return false;
    // The face shows the middle tenth of the sweep with X-MAG. A sweep this long comes far too seldom for
    // the afterglow to hold it.
    const double zoom = m_settings.xMagnified ? 10.0 : 1.0;
    return ScreenGeometry::columns * zoom * kSeenAfterglows * Afterglow::seconds / t.sweepSeconds
        < ScreenGeometry::halfWidth;
}

SweepPace ScreenReading::pace() const
{
    if (m_pace)
        return *m_pace;
    m_pace = [this] {
        const SweepTiming &t = m_timing;
        if (!swept() || t.dark)
            return SweepPace::Steady;
        if (crawling())
            return SweepPace::Crawling;
        // Sweeps too seldom for the afterglow to hold the picture; alternating, each channel's sweeps, as
        // the beam writes them.
        const bool alternating = m_settings.mode == DisplayMode::Dual && !m_settings.chopped;
        const bool seldom = t.cycleSeconds * Afterglow::steadyRate > 1.0
            || (alternating && t.triggered && !writing().writing.steady);
        return seldom ? SweepPace::Flickering : SweepPace::Steady;
    }();
    return *m_pace;
}

bool ScreenReading::running() const
{
    if (m_running)
        return *m_running;
    const SweepTiming &t = m_timing;
    m_running = swept() && !t.dark && !t.triggered && pace() == SweepPace::Steady && !trigger().mains
        && sweepsDiffer(m_settings, t.cycleSeconds);
    return *m_running;
}

bool ScreenReading::slidesWithMains() const
{
    const SweepTiming &t = m_timing;
    if (!swept() || t.dark || t.triggered || pace() != SweepPace::Steady || !trigger().mains)
        return false;
    // A sweep that follows the mains meets the signal a little further on each time: sweeps a second apart
    // show how far it slides.
    const double second = t.cycleSeconds * std::max(1.0, std::round(1.0 / t.cycleSeconds));
    return sweepsDiffer(m_settings, second);
}

bool ScreenReading::jitters() const
{
    const ScopeSettings &s = m_settings;
    if (!swept() || m_timing.dark || !m_timing.triggered || pace() != SweepPace::Steady)
        return false;
    const InputSignal &signal = triggerChannel(s, s.trigger.source).signal;
    const bool hum = signal.humVolts > 0.0 && s.trigger.coupling != TriggerCoupling::HF;
    const bool noise = signal.noiseVolts > 0.0 && s.trigger.coupling != TriggerCoupling::LF;
    if ((!hum && !noise) || signal.burstCycles > 0)
        return false;
    const QList<double> starts = sweepStarts(s, SweepRun::judged);
    return starts.size() < SweepRun::judged || startSpread(s, starts) > kEdgeTolerance;
}

double sweptEnergyPerDivision(const BeamFrame &frame)
{
    double brightest = 0.0;
    for (TraceKind kind : { TraceKind::ChannelI, TraceKind::ChannelII, TraceKind::Sum }) {
        double seconds = 0.0;
        double left = std::numeric_limits<double>::infinity();
        double right = -left;
        for (const BeamStroke &stroke : frame.writing.strokes) {
            if (stroke.kind != kind || stroke.points.size() < 2)
                continue;
            seconds += stroke.repeats * (stroke.endSeconds() - stroke.startSeconds());
            for (const QPointF &p : stroke.points) {
                left = std::min(left, p.x());
                right = std::max(right, p.x());
            }
        }
        if (right > left)
            brightest = std::max(brightest, frame.current * seconds / (right - left));
    }
    return brightest;
}

double faintSweepEnergy()
{
    static const double energy = [] {
        Hm203 opening;
        opening.setValue(C::Intensity, int(std::lround(kFaintBeam * controlInfo(C::Intensity).maximum)));
        return sweptEnergyPerDivision(opening.beam(0.0, Afterglow::seconds));
    }();
    return energy;
}

bool sweepsDiffer(const ScopeSettings &settings, double cycleSeconds)
{
    // The sweeps run free whatever the trigger listens to: give it nothing to search.
    ScopeSettings sweep = settings;
    sweep.trigger.source = TriggerSource::External;
    sweep.externalTrigger = {};
    const ScreenTraces first = computeTraces(sweep);
    sweep.freeRunSeconds = cycleSeconds;
    sweep.armedSeconds = cycleSeconds;
    const ScreenTraces next = computeTraces(sweep);
    if (next.traces.size() != first.traces.size())
        return true;
    for (qsizetype i = 0; i < first.traces.size(); ++i) {
        const QList<QPointF> &a = first.traces.at(i).points;
        const QList<QPointF> &b = next.traces.at(i).points;
        if (a.size() != b.size())
            return true;
        for (qsizetype j = 0; j < a.size(); ++j)
            if (std::abs(a.at(j).y() - b.at(j).y()) > kLineTolerance)
                return true;
    }
    return false;
}
