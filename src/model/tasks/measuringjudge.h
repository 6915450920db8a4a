#pragma once

#include "taskjudging.h"

#include <QString>

#include <optional>
#include <span>

/**
 * One judge for every task that asks the student to read a value off the screen. Each such task is a row
 * saying what is measured and how; the judge walks the same path for all of them: the instrument ready,
 * the answer asked for, the reading compared, the slips told, the right reading praised.
 */
namespace MeasuringJudge {

using TaskJudging::Look;
using TaskJudging::Measured;
using TaskJudging::Problem;
using TaskJudging::SlipSet;

/** A sentence in both languages, as authored; %1 where the judge fills in a number. */
struct Sentence
{
    const char16_t *castilian;
    const char16_t *valencian;
};

/** A sentence in both languages, its numbers already written in. */
struct Said
{
    QString castilian;
    QString valencian;
};

/** Something the instrument must show before a value can be read off it; hookup is the row's wiring. */
using ReadyCheck = Problem (*)(const Look &look, Hookup hookup);
/** A slip only this task's reading invites, told before the round-factor slips every reading shares. */
using SlipCheck = Problem (*)(const Look &look, double typed, double expected, double tolerance);

/** A task's own slip, and the kind a lab file lists it under; a slip of no listed kind is always told. */
struct OwnSlip
{
    SlipCheck check;
    std::optional<ReadingSlip> kind = std::nullopt;
};

/** A task that measures: what it reads, how it is worked out and judged, and the slips it recognises. */
struct MeasuringTask
{
    /** How the inputs must be wired. */
    Hookup hookup = Hookup::Generator;
    /** The checks the instrument must pass, in order, before the answer is asked for. */
    std::span<const ReadyCheck> ready;
    /** What to type, once the instrument is ready. */
    Sentence ask;
    /** The fine knob the reading counts on: out of CAL it is to blame for any wrong reading. */
    Hm203Control fineKnob;
    /** The right value, in the answer's unit, worked out from the generator and the instrument. */
    double (*expected)(const Look &look);
    /** How far a reading may stand from the right value. */
    double (*tolerance)(const Look &look, double expected);
    /** The praise of the right value. */
    Said (*praise)(double expected);
    /** The task's own slips, in order. */
    std::span<const OwnSlip> slips;
    /** The quantity as readingSlipProblem tells its slips. */
    Measured (*measured)(const Look &look, double expected);
    /** The reply to any other value: what was typed, as typed, and how the value is read off the picture the
     * instrument shows. */
    Said (*wrong)(const Look &look, const QString &typed);
};

/** What a lab file may ask of a row beyond it: its own right value and margin, and fewer slips told. */
struct Asked
{
    /** The right value in the answer's unit, instead of the one the row works out. */
    std::optional<double> expected = std::nullopt;
    /** How far a reading may stand from it, instead of the row's margin. */
    std::optional<double> tolerance = std::nullopt;
    /** The slips told; ReadingSlip::Cal is the fine knob's blame. */
    SlipSet slips = {};
};

/** Judges the instrument as it stands, and the typed answer, against a measuring task's row. */
TaskVerdict judgeMeasuring(
    const MeasuringTask &task, const Hm203 &scope, std::optional<double> answer, const Asked &asked = {});

/** The judge of one row, as a task's judge: a plain function, one per row. */
template <const MeasuringTask &task> TaskVerdict judgeBy(const Hm203 &scope, std::optional<double> answer)
{
    return judgeMeasuring(task, scope, answer);
}

/** The tube lit and showing the inputs. */
Problem beamReady(const Look &look, Hookup hookup);
/** The inputs wired as the row says. */
Problem hookupReady(const Look &look, Hookup hookup);
/** Channel I's trace wired, on, visible and steady. */
Problem steadyChannelIReady(const Look &look, Hookup hookup);
/** Channel I's trace between the graticule's top and bottom lines; asked only once it is visible. */
Problem graticuleReady(const Look &look, Hookup hookup);
/** The ×10 probe on CH I, which the probe's tasks are about. */
Problem times10Ready(const Look &look, Hookup hookup);

/** Within kRelativeTolerance of the right value: a reading of a time off a calibrated sweep. */
double relativeTolerance(const Look &look, double expected);

} // namespace MeasuringJudge
