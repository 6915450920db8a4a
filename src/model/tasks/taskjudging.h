#pragma once

#include "decimalformat.h"
#include "facereading.h"
#include "hm203tasks.h"
#include "screenreading.h"

#include <QList>
#include <QString>

#include <optional>

/**
 * What the judges of the live oscilloscope's tasks share: how closely a reading must match, the picture as
 * the judges see it, the checks most goals start with and the verdicts' wording. Each check returns the
 * reason a goal is not met, or nothing when that part of the goal is fine.
 */
/** The slips by the names a lab file gives them (labcatalogue.h). */
enum class ReadingSlip;

namespace TaskJudging {

// The judges read the face as everybody else does; the Look overloads below join the face's own.
using namespace FaceReading;
using FaceReading::darkInNorm;
using FaceReading::isFaint;

/** A number written as a student would type it, to echo an answer back: the digits it needs, at most six,
 * and never an exponent. */
inline constexpr DecimalStyle kAsTyped { .significantDigits = 6, .plainDigits = true };

/**
 * The instrument as the judges see it: the screen's one reading, with its settings, the whole traces they
 * draw and how bright the beam is at hand. The traces are the steady picture, without the blinking of slow
 * alternate sweeps or the crawling spot of the slowest ones, which the eye puts together into the same
 * picture.
 */
struct Look
{
    explicit Look(const Hm203 &instrument)
        : reading(instrument)
        , scope(instrument)
        , settings(reading.settings())
        , traces(reading.traces())
        , brightness(reading.brightness())
    {
    }
    Look(const Look &) = delete;
    Look &operator=(const Look &) = delete;
    ScreenReading reading;
    const Hm203 &scope;
    const ScopeSettings &settings;
    const ScreenTraces &traces;
    double brightness;
};

inline bool darkInNorm(const Look &look)
{
    return darkInNorm(look.settings, look.traces.triggered);
}

/** The phases, in degrees, that readings of the lengths behind a phase each kDivisionTolerance off give. */
struct PhaseRange
{
    double low = 0.0;
    double high = 0.0;
    bool contains(double degrees) const { return degrees >= low - 1e-9 && degrees <= high + 1e-9; }
};

/**
 * The phases read off an X-Y ellipse as sin φ = a / b, with a its cut with the vertical axis and b its
 * height, both from the centre; height is b in divisions. Beyond 90° the ellipse leans the other way and
 * reads as 180° less the angle.
 */
PhaseRange ellipsePhaseRange(double degrees, double height);
/** The phases read off two swept traces as φ = 360° · Δt / T, with the period T spanning period divisions. */
PhaseRange sweptPhaseRange(double degrees, double period);

/** A verdict's reason; nothing when the check passes. */
using Problem = std::optional<TaskVerdict>;

QString text(const char16_t *literal);
TaskVerdict notMet(const QString &castilian, const QString &valencian);
/** A goal not met for a cause the explanation of the screen knows, in its words. */
TaskVerdict notMet(TraceCause cause, const Wording &words);
TaskVerdict met(const QString &castilian, const QString &valencian);
/** The praise of a goal with nothing to add. */
TaskVerdict wellDone();
/** A measuring task waits for its answer once the instrument is ready. */
TaskVerdict askFor(const char16_t *castilian, const char16_t *valencian);

/** The instrument must be on, showing the inputs rather than the component tester, and bright enough (as
 * the screen's reading has it: INTENS., or a sweep far shorter than the period it waits for). */
Problem beamProblem(const Look &look);
/** The inputs must be wired as the task wired them. */
Problem hookupProblem(const Look &look, Hookup wanted);
/** The channel must not be grounded, or it shows nothing but its zero line. */
Problem groundProblem(const ChannelSettings &channel, bool second);
/** A swept picture needs X-Y released. */
Problem xyProblem(const Look &look);
/** X-Y must be pressed and its figure on the tube face. */
Problem xyFigureProblem(const Look &look);
/** Channel I must be drawn on its own sweep (CH I or DUAL) and not be grounded. */
Problem channelIProblem(const Look &look);
/** Channel II must be drawn on its own sweep (CH I/II pressed, or DUAL) and not be grounded. */
Problem channelIIProblem(const Look &look);
/** Some of the trace must be on the tube face; where it went is told as the explanation tells it. */
Problem visibleProblem(
    const Look &look, const std::optional<Extent> &extent, TraceKind kind = TraceKind::ChannelI);
/** The sweep must be triggered, so the trace stands still; when it is not, untriggered() says why. */
Problem steadyProblem(const Look &look);
/**
 * Why the sweep finds no trigger from a source, in the words the explanation of the screen gives it: the
 * source on GD or with no alternating signal, LEVEL beyond the signal's peaks, a TRIG. position that keeps
 * the signal out, a signal below the trigger's sensitivity or too fast for it. In AT the trace runs, in
 * NORM the screen is dark.
 */
TaskVerdict untriggered(const Look &look, TriggerSource source);
/** With ALT. pressed in DUAL each channel's sweep waits for its own trigger: each must find one. */
Problem alternateTriggerProblem(const Look &look);
/** The trace must stay between the graticule's top and bottom lines, so all its heights can be read (how
 * far it runs across is the time base's business); second names channel II's controls to mend it. */
Problem graticuleProblem(const Extent &extent, bool second = false);
/** True when a fine knob (TimeCal, VoltsCalI or VoltsCalII) stands at CAL, its calibrated stop. */
bool atCal(const Hm203 &scope, Hm203Control fineKnob);
/** A time counted off the graticule needs the TIME/DIV fine knob at CAL. */
Problem timeCalibratedProblem(const Look &look);
/** A height counted off the graticule needs the fine knob of its channel's VOLTS/DIV at CAL. */
Problem voltsCalibratedProblem(const Look &look, bool second);
/**
 * A reading that came out wrong with the fine knob it counts on out of CAL: the knob is to blame, whatever
 * else went wrong, since the switch's steps no longer hold. Nothing when the knob is at CAL.
 */
Problem uncalibratedReadingProblem(const Look &look, Hm203Control fineKnob);
/**
 * The praise of a right reading. With the fine knob it counts on out of CAL the student has worked round
 * the knob, which passes, but the praise adds a reminder to turn it back before measuring.
 */
TaskVerdict rightReading(
    const Look &look, Hm203Control fineKnob, const QString &castilian, const QString &valencian);
/** Channel I's trace, on, visible and steady: what every task on one swept signal needs first. */
Problem steadyChannelIProblem(const Look &look, Hookup hookup, std::optional<Extent> &extent);
/** A goal that names the signal's frequency asks for that signal, not another one showing as many periods. */
Problem frequencyProblem(const Look &look, double wanted);
/** The phase a task asks about is the phase between two sines; other shapes draw no ellipse to read. */
Problem sineProblem(const Look &look);
/** Channel I's trace must show this many periods, the last one ending within a quarter division of the edge.
 */
Problem periodsProblem(const Look &look, const Extent &extent, int wanted);
/** Channel I's trace must show from low to high periods, each end read within a quarter division. */
Problem periodsProblem(const Look &look, const Extent &extent, double low, double high);
/** The trace must span this many divisions from peak to peak. */
Problem peakToPeakProblem(const Extent &extent, double wanted, double tolerance = kDivisionTolerance);
/** A channel's trace must span from low to high divisions from peak to peak, each end read within
 * tolerance. */
Problem heightProblem(
    const Extent &extent, double low, double high, bool second, double tolerance = kDivisionTolerance);

/** The slips a reading's verdict may tell: every one, unless a lab file lists fewer. */
class SlipSet
{
public:
    SlipSet() = default;
    explicit SlipSet(const QList<ReadingSlip> &slips);
    bool has(ReadingSlip slip) const { return (m_bits >> unsigned(slip)) & 1u; }

private:
    quint32 m_bits = ~0u;
};

/** Whether a reading is a period measured on the graticule, or a frequency worked out from one. */
enum class PeriodRead { No, Period, Frequency };

/** What a measuring task asks for, so that a slip in its answer can be told in the task's terms. */
struct Measured
{
    /** The quantity with its article, as a sentence names it: "el periodo", "el període". */
    const char16_t *castilian;
    const char16_t *valencian;
    /** The unit the answer is asked in. */
    const char16_t *unit;
    /** The units a thousand times larger and smaller than unit a student may have worked in without
     * writing them; nullptr where none is in use. */
    const char16_t *thousandfold = nullptr;
    const char16_t *thousandth = nullptr;
    /** For a voltage, the probe on its channel: a ×10 one puts a tenth of the tip's voltage on the screen. */
    Probe probe = Probe::Times1;
    /** A peak-to-peak voltage, which a student may halve (the peak) or double. */
    bool peakToPeak = false;
    /** Of a sine, whose rms value, 0,707 of its peak, a voltmeter gives and a student may type. */
    bool sine = false;
    /** A time read as one period, which a student may take from one crossing of the centre line to the
     * next: half of it, or, worked out from that, twice the frequency. */
    PeriodRead period = PeriodRead::No;
    /** The divisions the reading spans on the graticule (the trace's height, one period's width), which a
     * student may type without turning them into the unit; 0 where the answer is no length read off it. */
    double divisions = 0.0;
    /** Read on channel II, whose VOLTS/DIV II turns divisions into volts. */
    bool second = false;
    /** A peak voltage, the amplitude, which a student may double (the peak-to-peak) or, of a sine, take
     * the rms value for. */
    bool peak = false;
    /** The slips the verdict may tell. */
    SlipSet slips = {};
};

/**
 * The classic slips that leave a reading off by a round factor: a ×10 probe's ratio forgotten or applied
 * twice, the peak for the peak-to-peak or twice it, a sine's rms value for it, half a period for the
 * period, a unit a thousand times larger or smaller. Says which one when the typed value, put right by that
 * factor, comes within tolerance of the expected one. Divisions typed for the quantity are told when the
 * typed value comes within kDivisionTolerance of them, unless the divisions and the right value are too
 * close for the two to be told apart.
 */
Problem readingSlipProblem(double typed, double expected, double tolerance, const Measured &measured);

/** A peak-to-peak voltage read on channel I, through the probe on it: tipVolts at the probe's tip. */
Measured peakToPeakI(const Hm203 &scope, double tipVolts);
/** The same on either channel. */
Measured peakToPeakOn(const Hm203 &scope, double tipVolts, bool second);

/** The time one division of the sweep shows, X-MAG's spreading included. */
double shownSecondsPerDiv(const ScopeSettings &settings);

/** The divisions a voltage at a channel's probe tip spans, at the channel's sensitivity and the probe's
 * ratio (channel I unless second). */
double divisionsOfTipVolts(const ScopeSettings &settings, Probe probe, double volts, bool second = false);

/**
 * The phase typed as sin φ = a / b, the ratio read off an X-Y ellipse, instead of the angle; readable is
 * what the right reading allows. Nothing where ratio and angle could be mistaken for each other.
 */
Problem sineRatioProblem(double typed, const PhaseRange &readable);

/** How closely a voltage at channel I's probe tip, read off the trace's height, must match: a quarter
 * division at the channel's sensitivity times the probe's ratio, or kRelativeTolerance if larger. */
double tipVoltsTolerance(const Look &look, double volts);
/** The same at channel II's probe tip. */
double tipVoltsToleranceII(const Look &look, double volts);

} // namespace TaskJudging
