#include "verticalpath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

/** Where the standard normal distribution reaches 90 %: a Gaussian step rises from 10 to 90 % in twice
 * this many σ. */
constexpr double kNinetyPercentSigmas = 1.2815515655446004;

} // namespace

double gaussianSigmaForBandwidth(double hz)
{
    // exp(-2π²σ²f²) = 1/√2 at the -3 dB frequency.
    return std::sqrt(std::numbers::ln2) / (2.0 * std::numbers::pi * hz);
}

double gaussianGain(double sigmaSeconds, double hz)
{
    const double x = std::numbers::pi * sigmaSeconds * hz;
    return std::exp(-2.0 * x * x);
}

double gaussianRiseSeconds(double sigmaSeconds)
{
    return 2.0 * kNinetyPercentSigmas * sigmaSeconds;
}

double gaussianSigmaForRise(double riseSeconds)
{
    return riseSeconds / (2.0 * kNinetyPercentSigmas);
}

double combinedSigma(double first, double second)
{
    return std::hypot(first, second);
}

double VerticalAmplifier::sigmaSeconds()
{
    return gaussianSigmaForBandwidth(bandwidthHz);
}

double VerticalAmplifier::delaySeconds()
{
    return 3.0 * sigmaSeconds();
}

double Probes::times1Seconds()
{
    return 1.0 / (2.0 * std::numbers::pi * times1BandwidthHz);
}

double Probes::compensationSeconds(double compensation)
{
    const double k = std::isfinite(compensation)
        ? std::clamp(compensation, minimumCompensation, maximumCompensation)
        : 1.0;
    // k = 10·C₁/(C₁ + C₂) gives the head's C₁ = k·C₂/(10 − k).
    const double head = k * baseFarads / (times10Ratio - k);
    const double parallelOhms = headOhms * VerticalInput::ohms / (headOhms + VerticalInput::ohms);
    return parallelOhms * (head + baseFarads);
}

InputSignal throughProbe(InputSignal tip, Probe probe, double compensation)
{
    switch (probe) {
    case Probe::Times1:
        tip.lowPassSeconds = Probes::times1Seconds();
        break;
    case Probe::Times10:
        tip.amplitudeVpp /= Probes::times10Ratio;
        tip.offsetVolts /= Probes::times10Ratio;
        tip.compensation = std::isfinite(compensation)
            ? std::clamp(compensation, Probes::minimumCompensation, Probes::maximumCompensation)
            : 1.0;
        tip.compensationSeconds = Probes::compensationSeconds(tip.compensation);
        break;
    }
    return tip;
}

InputSignal throughAmplifier(InputSignal input, Coupling coupling)
{
    if (coupling == Coupling::AC)
        input.couplingSeconds = VerticalInput::couplingSeconds;
    input.smoothingSeconds = combinedSigma(input.smoothingSeconds, VerticalAmplifier::sigmaSeconds());
    input.delaySeconds += VerticalAmplifier::delaySeconds() + DelayLine::seconds;
    return input;
}

InputSignal aheadOfDelayLine(InputSignal plates)
{
    plates.delaySeconds -= DelayLine::seconds;
    return plates;
}
