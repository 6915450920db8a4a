#pragma once

#include "componenttester.h"
#include "inputsignal.h"

#include <optional>

/**
 * What a student reads off the bench circuits' waves and the component tester's figures, worked out from the
 * simulated signals themselves: the figures the circuits' tasks judge a reading against.
 */
namespace CircuitReadings {

/** The highest voltage a signal reaches over a period, from ground. */
double peakVolts(const InputSignal &signal);
/** How far it swings from its lowest to its highest over a period: a rectifier's ripple. */
double swingVolts(const InputSignal &signal);
/**
 * How often the wave repeats itself: the signal's own frequency, or a whole multiple of it where a part of
 * the period repeats (a bridge rectifier's output repeats every half period of its input).
 */
double repetitionHz(const InputSignal &signal);
/** The phase of a signal's fundamental, in degrees, against a sine starting at 0 rising. */
double fundamentalDegrees(const InputSignal &signal);
/** How far the second signal lags the first, in degrees (−180 to 180; negative: it leads). */
double lagDegrees(const InputSignal &first, const InputSignal &second);

/** The bends of a tester's figure: the voltage where the current turns steep, each side it does. */
struct TesterKnees
{
    /** The bend nearest the centre, signed: positive right of it (the socket's side positive). */
    std::optional<double> forward;
    /** A second bend, on the other side, farther out: a Zener's breakdown. */
    std::optional<double> reverse;
};
TesterKnees testerKnees(const TesterSolution &solution);

} // namespace CircuitReadings
