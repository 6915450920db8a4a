#include "traceexplanation.h"

#include "circuitwording.h"
#include "facereading.h"
#include "remedies.h"
#include "screenreading.h"
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

/** Brightness: the beam's current, and the share of the time a triggered sweep writes. */
void lookAtBrightness(const ScreenReading &reading, Findings &found)
{
    // A still spot is better faint: its own words say so.
    if (reading.stillSpot())
        return;
    switch (reading.dimness()) {
    case Dimness::None:
        break;
    case Dimness::Intensity:
        found.add(TraceCause::IntensityLow, intensityLow());
        break;
    case Dimness::ShortDuty:
        found.add(TraceCause::FastSweepDim,
            fastSweepDim(reading.timing().dutyCycle(), reading.settings().xMagnified));
        break;
    }
}

/** What is shown, where, and whether it runs or crawls. */
void lookAtTraces(const ScreenReading &reading, ScreenReadings readings, Findings &found)
{
    const ScopeSettings &s = reading.settings();
    const bool spot = reading.stillSpot();
    for (TraceKind kind : reading.shownKinds()) {
        if (std::optional<OffFace> off = sidewaysOff(reading, kind))
            found.add(off->cause, offFace(reading, readings, kind, *off));
        else if (std::optional<OffFace> away = verticallyOff(reading, kind))
            found.add(away->cause, offFace(reading, readings, kind, *away));
        else if (std::optional<Clipping> clip = spot ? std::nullopt : clippingOf(reading, kind))
            found.add(TraceCause::Clipped, clipped(*clip));
    }
    const bool isGround[2] { s.channelI.coupling == Coupling::Ground,
        s.channelII.coupling == Coupling::Ground };
    // The spot's words say what holds each axis still.
    if (spot)
        found.add(TraceCause::StillSpot, stillSpot(isGround[0], isGround[1], isFaint(reading.brightness())));
    const QList<bool> shown = reading.shownChannels();
    for (bool second : shown)
        if (isGround[second])
            found.add(TraceCause::Grounded, spot ? Wording {} : grounded(second));
    const auto empty = [&](bool second) { return !isGround[second] && reading.stillChannel(second); };
    if (!reading.swept()) {
        if (!spot && (empty(false) || empty(true)))
            found.add(TraceCause::XYAxisEmpty, xyAxisEmpty(empty(false)));
    } else if (std::all_of(shown.begin(), shown.end(), empty)) {
        const bool second = shown.first();
        found.add(TraceCause::NoSignal,
            noSignal(second, s.mode == DisplayMode::ChannelII && s.channelI.signal.isAlternating()));
    }

    const SweepTiming &t = reading.timing();
    if (reading.pace() != SweepPace::Steady) {
        // Too seldom for the afterglow to hold the picture: the eye follows the spot.
        const bool byTurns = s.mode == DisplayMode::Dual && !s.chopped;
        found.add(TraceCause::CrawlingSpot,
            crawlingSpot(reading.pace() == SweepPace::Crawling, byTurns, sweepAdvice(reading)));
    } else if (reading.swept() && !t.dark && !t.triggered) {
        if (reading.trigger().mains) {
            if (reading.slidesWithMains())
                found.add(TraceCause::LineTrigger,
                    lineTrigger(s.trigger.coupling == TriggerCoupling::LF,
                        triggerChannel(s, s.trigger.source).signal));
        } else if (reading.running()) {
            const TriggerReason reason = triggerReason(triggerContext(reading, s.trigger.source));
            found.add(TraceCause::Running, running(reason));
            found.add(reason.cause, {});
        }
    } else if (reading.jitters()) {
        found.add(TraceCause::Jitter, jitter(triggerChannel(s, s.trigger.source).signal, s.trigger.coupling));
    }

    const GeneratorSettings &g = reading.scope().generator();
    for (bool second : shown) {
        const ChannelSettings &c = channelSettings(s, second);
        const double height = reading.heightSpan(second ? TraceKind::ChannelII : TraceKind::ChannelI);
        if ((second ? g.probeII : g.probeI) == Probe::Times10 && c.coupling != Coupling::Ground
            && c.signal.isAlternating() && height < kReadableHeight)
            found.add(TraceCause::ProbeTenth, probeTenth(second, height));
    }
}

/** How the spot draws: its focus and the picture's turn against the graticule. */
void lookAtSpot(const ScreenReading &reading, Findings &found)
{
    // A spot spread wider than a graticule line blurs the trace; a turn that lifts the ends of a
    // horizontal line off its graticule line by more than that width shows.
    if (reading.spot().spotSpread > kEdgeTolerance)
        found.add(TraceCause::Defocused, defocused(reading.stillSpot()));
    const double turn = reading.spot().rotationDegrees;
    if (ScreenGeometry::halfWidth * std::tan(std::abs(turn) * std::numbers::pi / 180.0) > kEdgeTolerance)
        found.add(TraceCause::Rotated, rotated(turn));
}

} // namespace

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
    const ScreenReading reading(on, BeamMoment { moment.seconds });
    lookAtBrightness(reading, found);
    if (reading.tester()) {
        found.add(TraceCause::Tester,
            tester(testerFigureMeaning(reading.figure(), readings == ScreenReadings::Worked)));
    } else if (reading.darkInNorm()) {
        const TriggerReason reason
            = triggerReason(triggerContext(reading, reading.settings().trigger.source));
        found.add(reason.cause, darkInNormWords(reason));
    } else {
        lookAtTraces(reading, readings, found);
        lookAtSpot(reading, found);
    }
    TraceExplanation e = explanation(found.list(), !reading.swept());
    // A bench circuit's CH II can look wrong to a student when it is just what the circuit does.
    const GeneratorSettings &g = scope.generator();
    if (g.hookup == Hookup::Circuit && scope.isPressed(C::Power) && !reading.tester()
        && reading.shownChannels().contains(true))
        if (const std::optional<Wording> seen = circuitChannelII(g.circuit)) {
            const Wording said = Wording { e.castilian, e.valencian }.then(*seen);
            e.castilian = said.castilian;
            e.valencian = said.valencian;
        }
    return e;
}
