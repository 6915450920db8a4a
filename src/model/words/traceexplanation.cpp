#include "traceexplanation.h"

#include "facereading.h"
#include "tracewording.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace {

using C = Hm203Control;
using namespace FaceReading;
using namespace TraceWording;

/** A trace that spends less than this share of its time within the face's rows is off the face: what is
 * left of it there is the tips of its peaks, or the fast and faint edges between them. */
constexpr double kSeenShare = 0.25;
/** The heights over one repeat that a trace's place on the face is judged from. */
constexpr int kHeightSamples = 128;
/** How far inside the face's edge sampled heights must stay to rule clipping out without drawing the trace:
 * a quarter of a division covers what falls between two samples. */
constexpr double kClipMargin = 0.25;
/** A trace lower than this is hard to read: a quarter of a division is then a quarter of its height. */
constexpr double kReadableHeight = 4.0 * kDivisionTolerance;

/** The causes found so far, each once, in the order they were found. */
class Findings
{
public:
    void add(TraceCause cause, const Wording &words)
    {
        for (const Finding &f : m_list)
            if (f.cause == cause)
                return;
        m_list.append({ cause, words });
    }
    void add(const Finding &finding) { add(finding.cause, finding.words); }
    const QList<Finding> &list() const { return m_list; }

private:
    QList<Finding> m_list;
};

/**
 * The instrument as it stands, worked out once: its settings, how bright and sharp its beam is, the time
 * base's rhythm and what the trigger finds. The traces themselves, costly for slow sweeps, are drawn only
 * when a question needs them.
 */
class Scene
{
public:
    Scene(const Hm203 &on, double seconds, ScreenReadings readings = ScreenReadings::Worked)
        : m_scope(on)
        , m_seconds(seconds)
        , m_readings(readings)
        , m_settings(on.scopeSettings())
        , m_brightness(on.brightness())
        , m_spot(on.beamSpot())
        , m_timing(sweepTiming(m_settings))
        , m_trigger(searchTrigger(m_settings, m_settings.trigger.source))
    {
    }
    const Hm203 &scope() const { return m_scope; }
    double seconds() const { return m_seconds; }
    /** Whether the words may give the values the divisions stand for. */
    ScreenReadings readings() const { return m_readings; }
    const ScopeSettings &settings() const { return m_settings; }
    double brightness() const { return m_brightness; }
    const BeamFrame &spot() const { return m_spot; }
    const SweepTiming &timing() const { return m_timing; }
    const TriggerSearch &trigger() const { return m_trigger; }
    bool swept() const { return m_settings.mode != DisplayMode::XY; }
    /** Sweeps come too seldom for the afterglow to hold the picture still; alternating, each channel's
     * sweeps, as the beam writes them. */
    bool slow() const
    {
        if (!swept() || m_timing.dark)
            return false;
        const bool alternating = m_settings.mode == DisplayMode::Dual && !m_settings.chopped;
        return m_timing.cycleSeconds * Afterglow::steadyRate > 1.0
            || (alternating && m_timing.triggered && !writing().writing.steady);
    }
    /** What the beam writes over the afterglow time up to the moment. */
    const BeamFrame &writing() const
    {
        if (!m_writing)
            m_writing = m_scope.beam(m_seconds - Afterglow::seconds, m_seconds);
        return *m_writing;
    }
    const ScreenTraces &traces() const
    {
        if (!m_traces)
            m_traces = computeTraces(m_settings);
        return *m_traces;
    }

private:
    const Hm203 &m_scope;
    double m_seconds;
    ScreenReadings m_readings;
    ScopeSettings m_settings;
    double m_brightness;
    BeamFrame m_spot;
    SweepTiming m_timing;
    TriggerSearch m_trigger;
    mutable std::optional<ScreenTraces> m_traces;
    mutable std::optional<BeamFrame> m_writing;
};

const ChannelSettings &settingsOf(const ScopeSettings &s, bool second)
{
    return second ? s.channelII : s.channelI;
}

QList<TraceKind> shownKinds(DisplayMode mode)
{
    switch (mode) {
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

/** The channels (false for I, true for II) whose controls move a trace of a kind up and down. */
QList<bool> verticalChannels(TraceKind kind)
{
    switch (kind) {
    case TraceKind::ChannelII:
        return { true };
    case TraceKind::Sum:
        return { false, true };
    case TraceKind::ChannelI:
    case TraceKind::XY:
        break;
    }
    return { false };
}

/** The channels whose signals the screen shows. */
QList<bool> shownChannels(DisplayMode mode)
{
    switch (mode) {
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

/** A trace's heights over one repeat, as the face shows them; for a figure, its vertical ones (channel I's).
 */
QList<double> heightsOf(const ScopeSettings &s, TraceKind kind)
{
    return traceHeights(s, kind == TraceKind::XY ? TraceKind::ChannelI : kind, kHeightSamples);
}

/** The share of its time a trace spends within the rows the face shows. */
double shareOnFace(const ScopeSettings &s, TraceKind kind)
{
    const QList<double> heights = heightsOf(s, kind);
    if (heights.isEmpty())
        return 1.0;
    const QRectF face = ScreenGeometry::visibleArea();
    const auto on = std::count_if(
        heights.begin(), heights.end(), [&](double y) { return y >= face.top() && y <= face.bottom(); });
    return double(on) / double(heights.size());
}

double meanHeight(const QList<double> &heights)
{
    double sum = 0.0;
    for (double y : heights)
        sum += y;
    return heights.isEmpty() ? 0.0 : sum / double(heights.size());
}

double heightSpan(const QList<double> &heights)
{
    if (heights.isEmpty())
        return 0.0;
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    return *high - *low;
}

/** A channel that moves the beam nowhere: grounded, or carrying nothing that changes. */
bool stillChannel(const ScopeSettings &s, bool second)
{
    const ChannelSettings &c = settingsOf(s, second);
    return c.coupling == Coupling::Ground || !c.signal.isAlternating();
}

/** In X-Y with neither channel moving the beam, all it writes is one still spot. */
bool showsStillSpot(const Scene &scene)
{
    return !scene.swept() && !scene.scope().isPressed(C::Tester) && stillChannel(scene.settings(), false)
        && stillChannel(scene.settings(), true);
}

/** Brightness: the beam's current, and the share of the time a triggered sweep writes. */
void lookAtBrightness(const Scene &scene, Findings &found)
{
    // A still spot is better faint: its own words say so.
    if (showsStillSpot(scene))
        return;
    if (isFaint(scene.brightness())) {
        found.add(TraceCause::IntensityLow, intensityLow());
        return;
    }
    const SweepTiming &t = scene.timing();
    // Only a triggered sweep repeating faster than the eye follows writes a steady line of one brightness.
    if (!scene.swept() || scene.scope().isPressed(C::Tester) || !t.triggered || scene.slow())
        return;
    const double energy = sweptEnergyPerDivision(scene.writing());
    if (!(energy > 0.0) || energy >= faintSweepEnergy())
        return;
    // A sweep that spends longer waiting for its trigger than sweeping and recovering writes a small share
    // of the time, however bright its beam.
    if (t.cycleSeconds > 2.0 * (t.sweepSeconds + t.deadSeconds))
        found.add(TraceCause::FastSweepDim, fastSweepDim(t.dutyCycle()));
    else
        found.add(TraceCause::IntensityLow, intensityLow());
}

/** Where a trace went when it is off the face sideways: X-POS (with X-MAG), or a figure's X-POS. */
std::optional<Finding> sidewaysFinding(const Scene &scene, TraceKind kind)
{
    // Unmagnified, the ten divisions of a sweep always overlap the face: X-POS moves them at most as far as
    // the amplifier's limit.
    if (scene.swept() && !scene.settings().xMagnified)
        return std::nullopt;
    const QRectF face = ScreenGeometry::visibleArea();
    std::optional<Extent> extent = extentOf(scene.traces(), kind);
    double zoom = 1.0;
    if (!extent && scene.settings().xMagnified) {
        // X-MAG x10 spreads the sweep ten times about the centre: where the whole sweep lies unmagnified
        // tells where its magnified part went.
        ScopeSettings whole = scene.settings();
        whole.xMagnified = false;
        extent = extentOf(computeTraces(whole), kind);
        zoom = 10.0;
    }
    if (!extent)
        return std::nullopt;
    const bool left = zoom * extent->maxX < face.left();
    if (!left && !(zoom * extent->minX > face.right()))
        return std::nullopt;
    return Finding { left ? TraceCause::BeamLeft : TraceCause::BeamRight,
        sideways(kind, left, scene.settings().xMagnified) };
}

/**
 * Why a trace lies above or below the face, found by trying on a copy of the instrument what a student
 * would: Y-POS back to the centre, then AC instead of DC, then the least sensitive VOLTS/DIV.
 */
std::optional<Finding> verticalFinding(const Scene &scene, TraceKind kind)
{
    const ScopeSettings &s = scene.settings();
    if (shareOnFace(s, kind) >= kSeenShare)
        return std::nullopt;
    const bool above = meanHeight(heightsOf(s, kind)) > 0.0;
    const QList<bool> channels = verticalChannels(kind);
    const TraceCause side = above ? TraceCause::BeamAbove : TraceCause::BeamBelow;
    Hm203 trial = scene.scope();
    const auto back = [&] { return shareOnFace(trial.scopeSettings(), kind) >= kSeenShare; };

    for (bool second : channels)
        trial.setValue(channelControls(second).position, 0);
    if (back())
        return Finding { side, offVertically(kind, above) };

    std::optional<bool> offset;
    for (bool second : channels) {
        const ChannelControls c = channelControls(second);
        const ChannelSettings &was = settingsOf(s, second);
        if (was.coupling == Coupling::DC && was.signal.meanVolts() != 0.0) {
            trial.setValue(c.dc, 0);
            offset = offset.value_or(second);
        }
    }
    if (offset && back())
        return Finding { TraceCause::OffsetOffFace,
            offsetOffFace(kind, *offset,
                scene.readings() == ScreenReadings::Worked
                    ? std::optional<double>(settingsOf(s, *offset).signal.meanVolts())
                    : std::nullopt,
                above) };

    for (bool second : channels) {
        const ChannelControls c = channelControls(second);
        trial.setValue(c.volts, controlInfo(c.volts).minimum);
        trial.setValue(c.cal, controlInfo(c.cal).maximum);
        trial.setValue(c.magnify, 0);
    }
    if (back())
        return Finding { TraceCause::TooSensitive,
            tooSensitive(kind, channels.first(), settingsOf(s, channels.first()).voltsPerDiv) };
    return Finding { side, offVertically(kind, above) };
}

/** Whether a trace's heights over a repeat all lie within the face's rows. */
bool wholeOnFace(const ScopeSettings &s, TraceKind kind)
{
    const QList<double> heights = heightsOf(s, kind);
    if (heights.isEmpty())
        return true;
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    Extent extent;
    extent.minY = *low;
    extent.maxY = *high;
    return !extent.clipped();
}

/**
 * A trace mostly on the face with part of it past the top or the bottom, and the control that brings it
 * all back, tried on a copy of the instrument as a student would: AC where DC lets the mean lift it, Y-POS
 * moved to centre it, a less sensitive VOLTS/DIV.
 */
std::optional<Finding> clippedFinding(const Scene &scene, TraceKind kind)
{
    // The heights over one repeat bound what any sweep of it shows: a trace that stays well inside the face
    // is not clipped, and the costly drawing is left for the few that come near its edges.
    if (scene.swept()) {
        const QList<double> heights = traceHeights(scene.settings(), kind, kHeightSamples);
        const double inside = ScreenGeometry::halfHeight + ScreenGeometry::overscan - kClipMargin;
        if (!heights.isEmpty() && std::all_of(heights.begin(), heights.end(), [inside](double y) {
                return std::abs(y) < inside;
            }))
            return std::nullopt;
    }
    const std::optional<Extent> extent = extentOf(scene.traces(), kind);
    if (!extent || !extent->clipped())
        return std::nullopt;
    const ScopeSettings &s = scene.settings();
    const bool second = kind == TraceKind::ChannelII;
    const ChannelControls c = channelControls(second);
    const ChannelSettings &channel = settingsOf(s, second);
    Clipping clipping { .kind = kind,
        .above = extent->clippedAbove(),
        .below = extent->clippedBelow(),
        .second = second,
        .voltsPerDiv = channel.voltsPerDiv };

    // Y-POS turned to the position nearest the one that centres the trace's heights.
    const auto centred = [&](Hm203 &trial) {
        const QList<double> heights = heightsOf(trial.scopeSettings(), kind);
        if (heights.isEmpty())
            return;
        const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
        const double wanted = settingsOf(trial.scopeSettings(), second).position - (*low + *high) / 2.0;
        const Hm203ControlInfo &info = controlInfo(c.position);
        int best = trial.value(c.position);
        double gap = std::numeric_limits<double>::infinity();
        for (int p = info.minimum; p <= info.maximum; ++p) {
            trial.setValue(c.position, p);
            const double off = std::abs(settingsOf(trial.scopeSettings(), second).position - wanted);
            if (off < gap) {
                gap = off;
                best = p;
            }
        }
        trial.setValue(c.position, best);
    };
    Hm203 moved = scene.scope();
    centred(moved);
    const bool positionMends = wholeOnFace(moved.scopeSettings(), kind);

    if (channel.coupling == Coupling::DC && channel.signal.meanVolts() != 0.0) {
        Hm203 ac = scene.scope();
        ac.setValue(c.dc, 0);
        if (wholeOnFace(ac.scopeSettings(), kind)) {
            clipping.mend = ClipMend::Offset;
            clipping.positionToo = positionMends;
            return Finding { TraceCause::Clipped, clipped(clipping) };
        }
    }
    if (positionMends)
        return Finding { TraceCause::Clipped, clipped(clipping) };
    // The least sensitive step that shows it whole where it stands, or else once centred.
    Hm203 lower = scene.scope();
    lower.setValue(c.volts, controlInfo(c.volts).minimum);
    lower.setValue(c.cal, controlInfo(c.cal).maximum);
    lower.setValue(c.magnify, 0);
    clipping.mend = ClipMend::Sensitivity;
    if (!wholeOnFace(lower.scopeSettings(), kind)) {
        centred(lower);
        clipping.positionToo = wholeOnFace(lower.scopeSettings(), kind);
    }
    return Finding { TraceCause::Clipped, clipped(clipping) };
}

/**
 * What TIME/DIV can do for a picture too slow to stand still, tried step by step on a copy: a faster sweep
 * helps only if it stands still while it shows a whole period of the slowest signal shown. A signal
 * slower than that crawls by nature, and the sweep that shows one period of it whole is its best.
 */
SweepAdvice sweepAdvice(const Scene &scene)
{
    const ScopeSettings &s = scene.settings();
    SweepAdvice advice;
    for (TraceKind kind : shownKinds(s.mode))
        advice.periodSeconds = std::max(advice.periodSeconds, repeatSeconds(s, kind));
    if (!(advice.periodSeconds > 0.0))
        return advice;
    const auto whole = [&advice](const ScopeSettings &t) {
        const double shown = ScreenGeometry::columns * t.secondsPerDiv / (t.xMagnified ? 10.0 : 1.0);
        return shown >= advice.periodSeconds * (1.0 - 1e-9);
    };
    advice.faster = false;
    advice.showsAPeriod = whole(s);
    Hm203 trial = scene.scope();
    const Hm203ControlInfo &time = controlInfo(C::TimeDiv);
    for (int p = time.minimum; p <= time.maximum; ++p) {
        trial.setValue(C::TimeDiv, p);
        const ScopeSettings t = trial.scopeSettings();
        if (!whole(t))
            continue;
        if (advice.wholePeriodPerDiv == 0.0 || t.secondsPerDiv < advice.wholePeriodPerDiv)
            advice.wholePeriodPerDiv = t.secondsPerDiv;
        if (t.secondsPerDiv < s.secondsPerDiv && !Scene(trial, scene.seconds()).slow())
            advice.faster = true;
    }
    // Nothing shows a whole period: only a faster sweep can steady what is shown.
    advice.faster = advice.faster || advice.wholePeriodPerDiv == 0.0;
    return advice;
}

/**
 * Whether two free-running sweeps, one after the other as the time base starts them, draw different
 * traces: when they do not, neither does any later one, and the picture stands still though untriggered.
 */
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

/** Whether hum or noise that reaches the trigger moves the point of the wave the sweeps start at by more
 * than a graticule line's width, over a run of sweeps that meets the hum at every phase. */
bool jitters(const ScopeSettings &s)
{
    const InputSignal &signal = triggerChannel(s, s.trigger.source).signal;
    const bool hum = signal.humVolts > 0.0 && s.trigger.coupling != TriggerCoupling::HF;
    const bool noise = signal.noiseVolts > 0.0 && s.trigger.coupling != TriggerCoupling::LF;
    if ((!hum && !noise) || signal.burstCycles > 0)
        return false;
    const QList<double> starts = sweepStarts(s, SweepRun::judged);
    return starts.size() < SweepRun::judged || startSpread(s, starts) > kEdgeTolerance;
}

/** What the trigger circuit makes of its source. */
TriggerContext triggerContext(const Scene &scene)
{
    const ScopeSettings &s = scene.settings();
    const TriggerSource source = s.trigger.source;
    TriggerContext context;
    context.miss = scene.trigger().miss;
    context.external = source == TriggerSource::External;
    context.second = source == TriggerSource::ChannelII;
    context.highPass = s.trigger.coupling == TriggerCoupling::HF;
    context.heightDivisions = heightSpan(
        traceHeights(s, context.second ? TraceKind::ChannelII : TraceKind::ChannelI, kHeightSamples));
    const GeneratorSettings &g = scene.scope().generator();
    context.tenthProbe = (context.second ? g.probeII : g.probeI) == Probe::Times10;
    context.externalWired = g.outputIToTriggerInput;
    return context;
}

/** What is shown, where, and whether it runs or crawls. */
void lookAtTraces(const Scene &scene, Findings &found)
{
    const ScopeSettings &s = scene.settings();
    const bool spot = showsStillSpot(scene);
    for (TraceKind kind : shownKinds(s.mode)) {
        if (std::optional<Finding> f = sidewaysFinding(scene, kind))
            found.add(*f);
        else if (std::optional<Finding> g = verticalFinding(scene, kind))
            found.add(*g);
        else if (std::optional<Finding> h = spot ? std::nullopt : clippedFinding(scene, kind))
            found.add(*h);
    }
    const bool isGround[2] { s.channelI.coupling == Coupling::Ground,
        s.channelII.coupling == Coupling::Ground };
    // The spot's words say what holds each axis still.
    if (spot)
        found.add(TraceCause::StillSpot, stillSpot(isGround[0], isGround[1], isFaint(scene.brightness())));
    const QList<bool> shown = shownChannels(s.mode);
    for (bool second : shown)
        if (isGround[second])
            found.add(TraceCause::Grounded, spot ? Wording {} : grounded(second));
    const auto empty = [&](bool second) { return !isGround[second] && stillChannel(s, second); };
    if (!scene.swept()) {
        if (!spot && (empty(false) || empty(true)))
            found.add(TraceCause::XYAxisEmpty, xyAxisEmpty(empty(false)));
    } else if (std::all_of(shown.begin(), shown.end(), empty)) {
        const bool second = shown.first();
        found.add(TraceCause::NoSignal,
            noSignal(second, s.mode == DisplayMode::ChannelII && s.channelI.signal.isAlternating()));
    }

    const SweepTiming &t = scene.timing();
    if (scene.slow()) {
        // Too seldom for the afterglow to hold the picture: the eye follows the spot.
        const double perDivision = s.secondsPerDiv / (s.xMagnified ? 10.0 : 1.0);
        const bool byTurns = s.mode == DisplayMode::Dual && !s.chopped;
        found.add(TraceCause::CrawlingSpot,
            crawlingSpot(Afterglow::seconds / perDivision, byTurns, sweepAdvice(scene)));
    } else if (scene.swept() && !t.dark && !t.triggered) {
        if (scene.trigger().mains) {
            // A sweep that follows the mains meets the signal a little further on each time: sweeps a
            // second apart show how far it slides.
            const double second = t.cycleSeconds * std::max(1.0, std::round(1.0 / t.cycleSeconds));
            if (sweepsDiffer(s, second))
                found.add(TraceCause::LineTrigger,
                    lineTrigger(s.trigger.coupling == TriggerCoupling::LF,
                        triggerChannel(s, s.trigger.source).signal));
        } else if (sweepsDiffer(s, t.cycleSeconds)) {
            const TriggerContext context = triggerContext(scene);
            const TriggerReason reason = triggerReason(context);
            found.add(TraceCause::Running, running(reason));
            found.add(reason.cause, {});
        }
    } else if (scene.swept() && !t.dark && t.triggered && jitters(s)) {
        found.add(TraceCause::Jitter, jitter(triggerChannel(s, s.trigger.source).signal, s.trigger.coupling));
    }

    const GeneratorSettings &g = scene.scope().generator();
    for (bool second : shown) {
        const ChannelSettings &c = settingsOf(s, second);
        const double height = heightSpan(
            traceHeights(s, second ? TraceKind::ChannelII : TraceKind::ChannelI, kHeightSamples));
        if ((second ? g.probeII : g.probeI) == Probe::Times10 && c.coupling != Coupling::Ground
            && c.signal.isAlternating() && height < kReadableHeight)
            found.add(TraceCause::ProbeTenth, probeTenth(second, height));
    }
}

/** How the spot draws: its focus and the picture's turn against the graticule. */
void lookAtSpot(const Scene &scene, Findings &found)
{
    // A spot spread wider than a graticule line blurs the trace; a turn that lifts the ends of a
    // horizontal line off its graticule line by more than that width shows.
    if (scene.spot().spotSpread > kEdgeTolerance)
        found.add(TraceCause::Defocused, defocused(showsStillSpot(scene)));
    const double turn = scene.spot().rotationDegrees;
    if (ScreenGeometry::halfWidth * std::tan(std::abs(turn) * std::numbers::pi / 180.0) > kEdgeTolerance)
        found.add(TraceCause::Rotated, rotated(turn));
}

} // namespace

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

TraceExplanation explainTrace(const Hm203 &scope, const BeamMoment &moment, ScreenReadings readings)
{
    Findings found;
    if (!scope.isPressed(C::Power))
        found.add(TraceCause::PowerOff, powerOff());
    else if (moment.warming())
        found.add(TraceCause::WarmingUp, warmingUp(WarmUp::seconds - std::max(0.0, moment.sincePowerOn)));

    // Everything else is what the instrument would show switched on and warm.
    Hm203 on = scope;
    on.setValue(C::Power, 1);
    const Scene scene(on, std::isfinite(moment.seconds) ? moment.seconds : 0.0, readings);
    lookAtBrightness(scene, found);
    if (on.isPressed(C::Tester)) {
        found.add(TraceCause::Tester, tester());
    } else if (darkInNorm(scene.settings(), scene.trigger().time.has_value())) {
        const TriggerReason reason = triggerReason(triggerContext(scene));
        found.add(reason.cause, darkInNormWords(reason));
    } else {
        lookAtTraces(scene, found);
        lookAtSpot(scene, found);
    }
    return explanation(found.list(), !scene.swept());
}
