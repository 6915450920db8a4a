#include "inputsignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double InputSignal::valueAt(double seconds) const
{
    if (!isAlternating())
        return offsetVolts;
    const double theta
        = 2.0 * std::numbers::pi * frequencyHz * seconds + phaseDegrees * std::numbers::pi / 180.0;
    const double half = amplitudeVpp / 2.0;
    double shape = 0.0;
    switch (waveform) {
    case Waveform::Sine:
        shape = std::sin(theta);
        break;
    case Waveform::Square:
        shape = std::sin(theta) >= 0.0 ? 1.0 : -1.0;
        break;
    case Waveform::Triangle:
        shape = 2.0 / std::numbers::pi * std::asin(std::clamp(std::sin(theta), -1.0, 1.0));
        break;
    }
    return offsetVolts + half * shape;
}

double InputSignal::periodSeconds() const
{
    return frequencyHz > 0.0 && std::isfinite(frequencyHz) ? 1.0 / frequencyHz : 0.0;
}

bool InputSignal::isAlternating() const
{
    return amplitudeVpp > 0.0 && std::isfinite(amplitudeVpp) && periodSeconds() > 0.0;
}
