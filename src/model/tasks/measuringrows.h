#pragma once

#include "measuringjudge.h"

#include <optional>

/**
 * The measuring tasks' rows, for the lab files' quantities (labcatalogue.h) to pick from: each reads either
 * channel where the quantity allows, and the phases take what a lab file asks of them as well.
 */
namespace MeasuringRows {

using MeasuringJudge::Asked;
using MeasuringJudge::MeasuringTask;

/** The voltages at a channel's probe tip, and the time of its signal (channel I unless second). */
const MeasuringTask &peakToPeak(bool second);
const MeasuringTask &amplitude(bool second);
const MeasuringTask &dcLevel(bool second);
const MeasuringTask &period(bool second);
const MeasuringTask &frequency(bool second);
/** The peak-to-peak voltage at the tip of the ×10 probe on CH I, which the task needs on it. */
const MeasuringTask &probeVoltage();
/** The 10 to 90 % rise of CH I's edge at the fastest sweep. */
const MeasuringTask &riseTime();

/** The phase between the generator's outputs, read off the X-Y ellipse. */
TaskVerdict judgePhaseXY(const Hm203 &scope, std::optional<double> answer, const Asked &asked);
/** How far the voltage across R leads the input in the practice circuit. */
TaskVerdict judgeRcLead(const Hm203 &scope, std::optional<double> answer, const Asked &asked);

/** The signal at a channel's probe tip, as the wiring brings it there. */
InputSignal tipSignal(const Hm203 &scope, bool second);
/** Its peak-to-peak voltage: behind the practice circuit's high-pass, as the steady state swings. */
double tipPeakToPeak(const InputSignal &signal);

} // namespace MeasuringRows
