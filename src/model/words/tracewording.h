#pragma once

#include "hm203.h"
#include "screentraces.h"
#include "traceexplanation.h"
#include "wording.h"

#include <QList>
#include <QString>

#include <optional>

/**
 * The words of the trace explanation, both languages side by side: for each cause what the student sees,
 * why, and the control that mends it, named as the panel prints it.
 */
namespace TraceWording {

/** Closes a sentence whose last words are filled in: a control's label already ends it with its own full
 * stop ("suelta EXT.", "salvo TRIG."), which then is the sentence's. */
QString sentence(const QString &said);

/** Names in a sentence: "A", "A y B", "A, B y C". Castilian writes "e" before a name said with an /i/
 * ("ADD e INV II", "Y-POS I e Y-POS II"). */
QString listed(const QStringList &names, bool castilian);

/** One cause found, with its words; a cause another one's words already give has none of its own. */
struct Finding
{
    TraceCause cause;
    Wording words;
};

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

/** What the trigger circuit makes of its source, for the words of why it finds no trigger. */
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
};

/** Why the trigger finds nothing, as a clause, with the cause it stands for and what mends it. */
struct TriggerReason
{
    TraceCause cause;
    Wording why;
    Wording mend;
};
TriggerReason triggerReason(const TriggerContext &context);

Wording powerOff();
Wording warmingUp(double secondsLeft);
Wording intensityLow();
/** dutyCycle: the share of the time the beam writes. */
Wording fastSweepDim(double dutyCycle);
Wording tester();
Wording darkInNormWords(const TriggerReason &reason);
Wording running(const TriggerReason &reason);
/** The sweep follows the mains: TRIG. at ~, or (lowPass) at LF, which keeps the signal out and lets its hum
 * through. The remedy is the TRIG. position that triggers steadily on the signal the trigger takes. */
Wording lineTrigger(bool lowPass, const InputSignal &signal);
/** Hum or noise on the signal the trigger takes moves the point each sweep starts at. */
Wording jitter(const InputSignal &signal, TriggerCoupling coupling);
Wording sideways(TraceKind kind, bool left, bool magnified);
Wording offVertically(TraceKind kind, bool above);
Wording offsetOffFace(TraceKind kind, bool second, std::optional<double> volts, bool above);
Wording tooSensitive(TraceKind kind, bool second, double voltsPerDiv);

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
Wording clipped(const Clipping &clipping);
Wording grounded(bool second);
/** otherShows: the other channel carries a signal and CH I/II shows it. */
Wording noSignal(bool second, bool otherShows);
/** One axis carries nothing: channel I (vertical) or, when false, channel II. */
Wording xyAxisEmpty(bool vertical);
/** In X-Y neither channel moves the beam; each is grounded (GD) or carries nothing. faint: the beam is too
 * faint to burn the phosphor as it is. */
Wording stillSpot(bool groundedI, bool groundedII, bool faint);

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
/** tailDivisions: how far the spot moves in one afterglow time; byTurns: DUAL draws the channels a sweep
 * each. */
Wording crawlingSpot(double tailDivisions, bool byTurns, const SweepAdvice &advice);
Wording probeTenth(bool second, double heightDivisions);
/** spot: the beam stands still, a spot rather than a line. */
Wording defocused(bool spot);
Wording rotated(double degrees);

/** The explanation of what was found: the first two causes in words, or that the screen is fine. */
TraceExplanation explanation(const QList<Finding> &found, bool figure);

} // namespace TraceWording
