#pragma once

#include "screenreading.h"
#include "tracecause.h"

#include <optional>

/**
 * What would mend a picture, found by trying on a copy of the instrument what a student would: Y-POS back
 * to the centre, AC instead of DC, a less sensitive VOLTS/DIV, another TIME/DIV, LEVEL turned one way or
 * the other. The explanation and the task judges both ask here, so they name the same control.
 */

/** Where LEVEL stands against the positions that would trigger the sweep, every other control as it is. */
enum class LevelStand { Among, AbovePeaks, BelowPeaks, Nowhere };

/** The controls of one channel. */
struct ChannelControls
{
    Hm203Control position;
    Hm203Control volts;
    Hm203Control cal;
    Hm203Control magnify;
    Hm203Control ground;
    Hm203Control dc;
};
ChannelControls channelControls(bool second);

/** What the trigger circuit makes of its source: why it finds no trigger, and what would mend it. */
struct TriggerContext
{
    TriggerMiss miss = TriggerMiss::None;
    bool external = false;
    /** The source is channel II. */
    bool second = false;
    /** TRIG. at HF (else, when filtered, LF). */
    bool highPass = false;
    /** The source channel's probe is the ×10 one. */
    bool tenthProbe = false;
    /** The source channel's trace, from peak to peak. */
    double heightDivisions = 0.0;
    /** Something is wired to TRIG. INP. (output I of the generator). */
    bool externalWired = true;
    /** Where LEVEL stands, when it is what keeps the trigger from firing. */
    LevelStand level = LevelStand::Nowhere;
    /** TRIG. at DC lets in the signal's mean, which carries it out of LEVEL's reach; at AC it would
     * trigger. */
    bool meanOutOfReach = false;
    /** TRIG. at HF or LF keeps the signal's own frequency out; at AC it would trigger. */
    bool filteredOut = false;
};

/** How a trace clipped by the face's edge is brought back whole, as a student would try it. */
enum class ClipMend {
    /** Y-POS moves it onto the face. */
    Position,
    /** AC keeps out the mean that DC lets lift it; Y-POS may do as well. */
    Offset,
    /** It is higher than the face: VOLTS/DIV, less sensitive. */
    Sensitivity,
};
/** A trace mostly on the face with part of it past the top or the bottom. */
struct Clipping
{
    TraceKind kind = TraceKind::ChannelI;
    bool above = false;
    bool below = false;
    ClipMend mend = ClipMend::Position;
    /** The channel whose controls mend it (II for its own trace). */
    bool second = false;
    /** The scale, for Sensitivity. */
    double voltsPerDiv = 0.0;
    /** Y-POS also brings it back, for Offset; is also needed, for Sensitivity. */
    bool positionToo = false;
};

/** What TIME/DIV can do for a picture that crawls or flickers. */
struct SweepAdvice
{
    /** A faster sweep stands still and still shows a whole period of what is shown. */
    bool faster = true;
    /** The longest period shown, and the fastest TIME/DIV that shows one of them whole. */
    double periodSeconds = 0.0;
    double wholePeriodPerDiv = 0.0;
    /** The sweep as set shows a whole period. */
    bool showsAPeriod = true;
};

/** Where LEVEL stands against what the trigger hears, and whether its reach meets the signal. */
LevelStand levelStand(const Hm203 &scope, TriggerSource source);
/** The same, from the search the settings already made. */
LevelStand levelStand(
    const Hm203 &scope, const ScopeSettings &settings, TriggerSource source, const TriggerSearch &search);
/** Why the trigger finds nothing on a source, and what would mend it. */
TriggerContext triggerContext(const ScreenReading &reading, TriggerSource source);

/** A trace's side of the face it left, and why: moved there, lifted by its mean, or too sensitive. */
struct OffFace
{
    /** BeamAbove, BeamBelow, BeamLeft, BeamRight, OffsetOffFace or TooSensitive. */
    TraceCause cause;
    bool above = false;
    /** For OffsetOffFace, the channel whose mean lifts it; for TooSensitive, the first channel moving it. */
    bool second = false;
};
/** A trace off the face sideways (only with X-MAG, or a figure moved by X-POS). */
std::optional<OffFace> sidewaysOff(const ScreenReading &reading, TraceKind kind);
/** A trace off the face above or below: less than a quarter of its time within the face's rows. */
std::optional<OffFace> verticallyOff(const ScreenReading &reading, TraceKind kind);
/** A trace mostly on the face with part of it past the top or the bottom, and what brings it all back. */
std::optional<Clipping> clippingOf(const ScreenReading &reading, TraceKind kind);
/** What TIME/DIV can do for a picture that flickers or crawls. */
SweepAdvice sweepAdvice(const ScreenReading &reading);
