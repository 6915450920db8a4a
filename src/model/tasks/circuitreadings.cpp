#include "circuitreadings.h"

#include "periodicwave.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace CircuitReadings {

namespace {

/** Finer than any simulated period is sampled (CircuitSolving::samplesPerPeriod). */
constexpr int kSamples = 2048;

double periodOf(const InputSignal &signal)
{
    return signal.frequencyHz > 0.0 ? 1.0 / signal.frequencyHz : 0.0;
}

template <class Each> void overAPeriod(const InputSignal &signal, Each each)
{
    const double period = periodOf(signal);
    for (int i = 0; i < kSamples; ++i)
        each(signal.waveformAt(period * i / kSamples));
}

/** A part of the period shows a repetition when the wave shifted by it stays within this share of its swing:
 * alike on the screen, where a twentieth of a ripple a few divisions high is under a quarter division. The
 * bridge's two halves, through two different pairs of diodes, differ by about a hundredth. */
constexpr double kSameShare = 0.05;

} // namespace

double peakVolts(const InputSignal &signal)
{
    double high = -1e300;
    overAPeriod(signal, [&](double v) { high = std::max(high, v); });
    return high;
}

double swingVolts(const InputSignal &signal)
{
    double low = 1e300;
    double high = -1e300;
    overAPeriod(signal, [&](double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    });
    return high - low;
}

double repetitionHz(const InputSignal &signal)
{
    const double period = periodOf(signal);
    const double swing = swingVolts(signal);
    int repeats = 1;
    for (int k = 2; k <= 4 && swing > 0.0; ++k) {
        double worst = 0.0;
        for (int i = 0; i < kSamples; ++i) {
            const double t = period * i / kSamples;
            worst = std::max(worst, std::abs(signal.waveformAt(t + period / k) - signal.waveformAt(t)));
        }
        if (worst <= kSameShare * swing)
            repeats = k;
    }
    return repeats * signal.frequencyHz;
}

double fundamentalDegrees(const InputSignal &signal)
{
    std::complex<double> sum;
    const double period = periodOf(signal);
    for (int i = 0; i < kSamples; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kSamples;
        sum += signal.waveformAt(period * i / kSamples) * std::polar(1.0, -angle);
    }
    // A sine starting rising has its fundamental at −90° against the cosine the sum is taken with.
    return std::arg(sum) * 180.0 / std::numbers::pi + 90.0;
}

double lagDegrees(const InputSignal &first, const InputSignal &second)
{
    const double lag = fundamentalDegrees(first) - fundamentalDegrees(second);
    return std::remainder(lag, 360.0);
}

TesterKnees testerKnees(const TesterSolution &solution)
{
    if (!solution.ok || !solution.volts || !solution.amps)
        return {};
    const std::vector<double> &volts = solution.volts->samples();
    const std::vector<double> &amps = solution.amps->samples();
    const std::size_t n = std::min(volts.size(), amps.size());
    // A side bends where the current grows steeply over a small stretch of voltage: halfway up to its
    // largest current the voltage is already nearly where the largest current puts it. A resistor's straight
    // line is only halfway there, a capacitor's ellipse goes back past the centre.
    constexpr double kNearlyThere = 0.8;
    // Less than this is the leak of a part that does not conduct that way.
    constexpr double kLeastAmps = 1e-3;
    std::optional<double> bends[2];
    for (int side = 0; side < 2; ++side) {
        const double sign = side == 0 ? 1.0 : -1.0;
        double most = 0.0;
        double atMost = 0.0;
        for (std::size_t i = 0; i < n; ++i)
            if (sign * amps[i] > most) {
                most = sign * amps[i];
                atMost = sign * volts[i];
            }
        if (most < kLeastAmps || atMost <= 0.0)
            continue;
        double halfway = 1e300;
        for (std::size_t i = 0; i < n; ++i)
            if (sign * amps[i] >= 0.5 * most)
                halfway = std::min(halfway, sign * volts[i]);
        if (halfway >= kNearlyThere * atMost)
            bends[side] = sign * halfway;
    }
    TesterKnees knees;
    if (bends[0] && bends[1]) {
        const bool rightNearer = std::abs(*bends[0]) <= std::abs(*bends[1]);
        knees.forward = rightNearer ? bends[0] : bends[1];
        knees.reverse = rightNearer ? bends[1] : bends[0];
    } else {
        knees.forward = bends[0] ? bends[0] : bends[1];
    }
    return knees;
}

} // namespace CircuitReadings
