#pragma once

#include "hm203.h"
#include "remedies.h"
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
QString listed(const QStringList &names, Language language);

/** One cause found, with its words; a cause another one's words already give has none of its own. */
struct Finding
{
    TraceCause cause;
    Wording words;
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
/** dutyCycle: the share of the time the beam writes; magnified: X-MAG spreads it over ten times the
 * length. */
Wording fastSweepDim(double dutyCycle, bool magnified);
/** figure: what the tester's figure tells of the part in its socket (testerFigureMeaning), if it is to be
 * said. */
Wording tester(const Wording &figure = {});
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

/** A trace off the face as the remedies found it; with readings withheld, no mean is given in volts. */
Wording offFace(const ScreenReading &reading, ScreenReadings readings, TraceKind kind, const OffFace &off);
Wording clipped(const Clipping &clipping);
Wording grounded(bool second);
/** otherShows: the other channel carries a signal and CH I/II shows it. */
Wording noSignal(bool second, bool otherShows);
/** One axis carries nothing: channel I (vertical) or, when false, channel II. */
Wording xyAxisEmpty(bool vertical);
/** In X-Y neither channel moves the beam; each is grounded (GD) or carries nothing. faint: the beam is too
 * faint to burn the phosphor as it is. */
Wording stillSpot(bool groundedI, bool groundedII, bool faint);

/** spot: the face holds less than half a sweep, a spot crawling rather than a trace in pieces; byTurns: DUAL
 * draws the channels a sweep each. */
Wording crawlingSpot(bool spot, bool byTurns, const SweepAdvice &advice);
Wording probeTenth(bool second, double heightDivisions);
/** spot: the beam stands still, a spot rather than a line. */
Wording defocused(bool spot);
Wording rotated(double degrees);

/** The explanation of what was found: the first two causes in words, or that the screen is fine. */
TraceExplanation explanation(const QList<Finding> &found, bool figure);

} // namespace TraceWording
