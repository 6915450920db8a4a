#include "remedies.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using C = Hm203Control;
using namespace FaceReading;

/** A trace that spends less than this share of its time within the face's rows is off the face: what is
 * left of it there is the tips of its peaks, or the fast and faint edges between them. */
constexpr double kSeenShare = 0.25;
/** How far inside the face's edge sampled heights must stay to rule clipping out without drawing the trace:
 * a quarter of a division covers what falls between two samples. */
constexpr double kClipMargin = 0.25;

bool seen(const ScopeSettings &s, TraceKind kind)
{
    return shareOnFace(faceHeights(s, kind)) >= kSeenShare;
}

bool whole(const ScopeSettings &s, TraceKind kind)
{
    return wholeOnFace(faceHeights(s, kind));
}

double meanHeight(const QList<double> &heights)
{
    double sum = 0.0;
    for (double y : heights)
        sum += y;
    return heights.isEmpty() ? 0.0 : sum / double(heights.size());
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

/** The least sensitive step of a channel, its fine knob at CAL and Y-MAG off. */
void leastSensitive(Hm203 &trial, bool second)
{
    const ChannelControls c = channelControls(second);
    trial.setValue(c.volts, controlInfo(c.volts).minimum);
    trial.setValue(c.cal, controlInfo(c.cal).maximum);
    trial.setValue(c.magnify, 0);
}

} // namespace

ChannelControls channelControls(bool second)
{
    if (second)
        return { C::YPositionII, C::VoltsDivII, C::VoltsCalII, C::MagnifyII, C::GroundII, C::DcII };
    return { C::YPositionI, C::VoltsDivI, C::VoltsCalI, C::MagnifyI, C::GroundI, C::DcI };
}

LevelStand levelStand(const Hm203 &scope, TriggerSource source)
{
    const ScopeSettings settings = scope.scopeSettings();
    return levelStand(scope, settings, source, searchTrigger(settings, source));
}

LevelStand levelStand(
    const Hm203 &scope, const ScopeSettings &settings, TriggerSource source, const TriggerSearch &search)
{
    if (search.miss == TriggerMiss::None)
        return LevelStand::Among;
    if (search.miss != TriggerMiss::LevelOutside)
        return LevelStand::Nowhere;
    // LEVEL's steps are a tenth of a division, finer than any swing loud enough to trigger: where its
    // reach overlaps what the trigger hears, some step cuts the signal.
    const Hm203ControlInfo &level = controlInfo(C::Level);
    Hm203 turned = scope;
    const auto levelAt = [&turned](int position) {
        turned.setValue(C::Level, position);
        return turned.scopeSettings().trigger.levelVolts;
    };
    const double now = settings.trigger.levelVolts;
    const TriggerHeard heard = triggerHeard(settings, source);
    if (now > heard.high && levelAt(level.minimum) < heard.high)
        return LevelStand::AbovePeaks;
    if (now < heard.low && levelAt(level.maximum) > heard.low)
        return LevelStand::BelowPeaks;
    return LevelStand::Nowhere;
}

TriggerContext triggerContext(const ScreenReading &reading, TriggerSource source)
{
    const ScopeSettings &s = reading.settings();
    TriggerContext context;
    const TriggerSearch search = source == s.trigger.source ? reading.trigger() : searchTrigger(s, source);
    context.miss = search.miss;
    context.external = source == TriggerSource::External;
    context.second = source == TriggerSource::ChannelII;
    context.highPass = s.trigger.coupling == TriggerCoupling::HF;
    context.heightDivisions = reading.heightSpan(context.second ? TraceKind::ChannelII : TraceKind::ChannelI);
    const GeneratorSettings &g = reading.scope().generator();
    context.tenthProbe = (context.second ? g.probeII : g.probeI) == Probe::Times10;
    context.externalWired = g.outputIToTriggerInput;
    if (context.miss != TriggerMiss::LevelOutside)
        return context;
    context.level = levelStand(reading.scope(), s, source, search);
    if (context.level != LevelStand::Nowhere)
        return context;
    // With AC the trigger hears the whole signal without its mean: where that would trigger, the TRIG.
    // position is what keeps it out.
    const TriggerCoupling coupling = s.trigger.coupling;
    if (coupling == TriggerCoupling::AC || coupling == TriggerCoupling::Line)
        return context;
    Hm203 withAc = reading.scope();
    withAc.setValue(C::TriggerCoupling, int(TriggerCoupling::AC));
    if (levelStand(withAc, source) != LevelStand::Nowhere) {
        context.meanOutOfReach = coupling == TriggerCoupling::DC;
        context.filteredOut = coupling != TriggerCoupling::DC;
    }
    return context;
}

std::optional<OffFace> sidewaysOff(const ScreenReading &reading, TraceKind kind)
{
    // Unmagnified, the ten divisions of a sweep always overlap the face: X-POS moves them at most as far as
    // the amplifier's limit.
    const ScopeSettings &s = reading.settings();
    if (reading.swept() && !s.xMagnified)
        return std::nullopt;
    const QRectF face = ScreenGeometry::visibleArea();
    std::optional<Extent> extent = reading.extent(kind);
    double zoom = 1.0;
    if (!extent && s.xMagnified) {
        // X-MAG x10 spreads the sweep ten times about the centre: where the whole sweep lies unmagnified
        // tells where its magnified part went.
        ScopeSettings unmagnified = s;
        unmagnified.xMagnified = false;
        extent = extentOf(computeTraces(unmagnified), kind);
        zoom = 10.0;
    }
    if (!extent)
        return std::nullopt;
    const bool left = zoom * extent->maxX < face.left();
    if (!left && !(zoom * extent->minX > face.right()))
        return std::nullopt;
    return OffFace { left ? TraceCause::BeamLeft : TraceCause::BeamRight };
}

std::optional<OffFace> verticallyOff(const ScreenReading &reading, TraceKind kind)
{
    const ScopeSettings &s = reading.settings();
    if (reading.shareOnFace(kind) >= kSeenShare)
        return std::nullopt;
    const bool above = meanHeight(reading.heights(kind)) > 0.0;
    const QList<bool> channels = verticalChannels(kind);
    const OffFace moved { above ? TraceCause::BeamAbove : TraceCause::BeamBelow, above };
    Hm203 trial = reading.scope();
    const auto back = [&] { return seen(trial.scopeSettings(), kind); };

    for (bool second : channels)
        trial.setValue(channelControls(second).position, 0);
    if (back())
        return moved;

    std::optional<bool> offset;
    for (bool second : channels) {
        const ChannelSettings &was = channelSettings(s, second);
        if (was.coupling == Coupling::DC && was.signal.meanVolts() != 0.0) {
            trial.setValue(channelControls(second).dc, 0);
            offset = offset.value_or(second);
        }
    }
    if (offset && back())
        return OffFace { TraceCause::OffsetOffFace, above, *offset };

    for (bool second : channels)
        leastSensitive(trial, second);
    if (back())
        return OffFace { TraceCause::TooSensitive, above, channels.first() };
    return moved;
}

std::optional<Clipping> clippingOf(const ScreenReading &reading, TraceKind kind)
{
    // The heights over one repeat bound what any sweep of it shows: a trace that stays well inside the face
    // is not clipped, and the costly drawing is left for the few that come near its edges.
    if (reading.swept()) {
        const QList<double> &heights = reading.heights(kind);
        const double inside = ScreenGeometry::halfHeight + ScreenGeometry::overscan - kClipMargin;
        if (!heights.isEmpty() && std::all_of(heights.begin(), heights.end(), [inside](double y) {
                return std::abs(y) < inside;
            }))
            return std::nullopt;
    }
    const std::optional<Extent> extent = reading.extent(kind);
    if (!extent || !extent->clipped())
        return std::nullopt;
    const bool second = kind == TraceKind::ChannelII;
    const ChannelControls c = channelControls(second);
    const ChannelSettings &channel = channelSettings(reading.settings(), second);
    Clipping clipping { .kind = kind,
        .above = extent->clippedAbove(),
        .below = extent->clippedBelow(),
        .second = second,
        .voltsPerDiv = channel.voltsPerDiv };

    // Y-POS turned to the position nearest the one that centres the trace's heights.
    const auto centred = [&](Hm203 &trial) {
        const QList<double> heights = faceHeights(trial.scopeSettings(), kind);
        if (heights.isEmpty())
            return;
        const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
        const double wanted = channelSettings(trial.scopeSettings(), second).position - (*low + *high) / 2.0;
        const Hm203ControlInfo &info = controlInfo(c.position);
        int best = trial.value(c.position);
        double gap = std::numeric_limits<double>::infinity();
        for (int p = info.minimum; p <= info.maximum; ++p) {
            trial.setValue(c.position, p);
            const double off = std::abs(channelSettings(trial.scopeSettings(), second).position - wanted);
            if (off < gap) {
                gap = off;
                best = p;
            }
        }
        trial.setValue(c.position, best);
    };
    Hm203 moved = reading.scope();
    centred(moved);
    const bool positionMends = whole(moved.scopeSettings(), kind);

    if (channel.coupling == Coupling::DC && channel.signal.meanVolts() != 0.0) {
        Hm203 ac = reading.scope();
        ac.setValue(c.dc, 0);
        if (whole(ac.scopeSettings(), kind)) {
            clipping.mend = ClipMend::Offset;
            clipping.positionToo = positionMends;
            return clipping;
        }
    }
    if (positionMends)
        return clipping;
    // The least sensitive step that shows it whole where it stands, or else once centred.
    Hm203 lower = reading.scope();
    leastSensitive(lower, second);
    clipping.mend = ClipMend::Sensitivity;
    if (!whole(lower.scopeSettings(), kind)) {
        centred(lower);
        clipping.positionToo = whole(lower.scopeSettings(), kind);
    }
    return clipping;
}

SweepAdvice sweepAdvice(const ScreenReading &reading)
{
    // A faster sweep helps only if it stands still while it shows a whole period of the slowest signal
    // shown. A signal slower than that crawls by nature, and the sweep that shows one period of it whole is
    // its best.
    const ScopeSettings &s = reading.settings();
    SweepAdvice advice;
    for (TraceKind kind : reading.shownKinds())
        advice.periodSeconds = std::max(advice.periodSeconds, repeatSeconds(s, kind));
    if (!(advice.periodSeconds > 0.0))
        return advice;
    const auto showsWhole = [&advice](const ScopeSettings &t) {
        const double shown = ScreenGeometry::columns * t.secondsPerDiv / (t.xMagnified ? 10.0 : 1.0);
        return shown >= advice.periodSeconds * (1.0 - 1e-9);
    };
    advice.faster = false;
    advice.showsAPeriod = showsWhole(s);
    Hm203 trial = reading.scope();
    const Hm203ControlInfo &time = controlInfo(C::TimeDiv);
    for (int p = time.minimum; p <= time.maximum; ++p) {
        trial.setValue(C::TimeDiv, p);
        const ScopeSettings t = trial.scopeSettings();
        if (!showsWhole(t))
            continue;
        if (advice.wholePeriodPerDiv == 0.0 || t.secondsPerDiv < advice.wholePeriodPerDiv)
            advice.wholePeriodPerDiv = t.secondsPerDiv;
        if (t.secondsPerDiv < s.secondsPerDiv
            && ScreenReading(trial, BeamMoment { reading.seconds() }).pace() == SweepPace::Steady)
            advice.faster = true;
    }
    // Nothing shows a whole period: only a faster sweep can steady what is shown.
    advice.faster = advice.faster || advice.wholePeriodPerDiv == 0.0;
    return advice;
}
