#include "measuringjudge.h"

#include "labcatalogue.h"

#include <cmath>

namespace MeasuringJudge {

using namespace TaskJudging;

TaskVerdict judgeMeasuring(
    const MeasuringTask &task, const Hm203 &scope, std::optional<double> answer, const Asked &asked)
{
    const Look look(scope);
    for (ReadyCheck check : task.ready)
        if (Problem p = check(look, task.hookup))
            return *p;
    if (!answer)
        return askFor(task.ask.castilian, task.ask.valencian);
    const double expected = asked.expected ? *asked.expected : task.expected(look);
    const double tolerance = asked.tolerance ? *asked.tolerance : task.tolerance(look, expected);
    if (std::abs(*answer - expected) <= tolerance) {
        const Said praise = task.praise(expected);
        return rightReading(look, task.fineKnob, praise.castilian, praise.valencian);
    }
    // Out of CAL the switch's steps no longer hold: the knob is the slip, whatever the number.
    if (asked.slips.has(ReadingSlip::Cal))
        if (Problem p = uncalibratedReadingProblem(look, task.fineKnob))
            return *p;
    for (const OwnSlip &slip : task.slips)
        if (!slip.kind || asked.slips.has(*slip.kind))
            if (Problem p = slip.check(look, *answer, expected, tolerance))
                return *p;
    Measured measured = task.measured(look, expected);
    measured.slips = asked.slips;
    if (Problem p = readingSlipProblem(*answer, expected, tolerance, measured))
        return *p;
    const Said wrong = task.wrong(look, formatDecimal(*answer, kAsTyped));
    return notMet(wrong.castilian, wrong.valencian);
}

Problem beamReady(const Look &look, Hookup)
{
    return beamProblem(look);
}

Problem hookupReady(const Look &look, Hookup hookup)
{
    return hookupProblem(look, hookup);
}

Problem steadyChannelIReady(const Look &look, Hookup hookup)
{
    std::optional<Extent> extent;
    return steadyChannelIProblem(look, hookup, extent);
}

Problem graticuleReady(const Look &look, Hookup)
{
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (!extent)
        return std::nullopt;
    return graticuleProblem(*extent);
}

Problem times10Ready(const Look &look, Hookup)
{
    if (look.scope.generator().probeI == Probe::Times10)
        return std::nullopt;
    return notMet(text(u"La tarea se hace con la sonda ×10 en CH I: vuelve a ponerla."),
        text(u"La tasca es fa amb la sonda ×10 en CH I: torna a posar-la."));
}

double relativeTolerance(const Look &, double expected)
{
    return kRelativeTolerance * std::abs(expected);
}

} // namespace MeasuringJudge
