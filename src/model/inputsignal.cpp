#include "inputsignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

/** The phase angle at time t, in radians, folded into [0, 2π). */
double foldedAngle(double theta)
{
    const double folded = std::fmod(theta, kTwoPi);
    return folded < 0.0 ? folded + kTwoPi : folded;
}

/**
 * The steady state across the resistor of a series CR fed with the signal. A sine keeps its shape,
 * smaller and leading; a square turns into decaying spikes at its edges; a triangle into rounded
 * steps. Each half period of the square and the triangle is one exponential, solved in closed form.
 */
double highPassed(const InputSignal &s, double theta)
{
    const double tau = s.highPassSeconds;
    const double omega = kTwoPi * s.frequencyHz;
    const double half = s.amplitudeVpp / 2.0;
    switch (s.waveform) {
    case Waveform::Sine: {
        const double wt = omega * tau;
        const double gain = wt / std::sqrt(1.0 + wt * wt);
        return half * gain * std::sin(theta + std::atan2(1.0, wt));
    }
    case Waveform::Square: {
        const double halfPeriod = 0.5 / s.frequencyHz;
        const double decay = std::exp(-halfPeriod / tau);
        const double jump = 2.0 * half / (1.0 + decay);
        const double u = foldedAngle(theta);
        const bool positive = u < std::numbers::pi;
        const double since = (positive ? u : u - std::numbers::pi) / omega;
        return (positive ? jump : -jump) * std::exp(-since / tau);
    }
    case Waveform::Triangle: {
        const double halfPeriod = 0.5 / s.frequencyHz;
        const double decay = std::exp(-halfPeriod / tau);
        const double slope = s.amplitudeVpp / halfPeriod;
        const double plateau = slope * tau;
        const double start = -plateau * (1.0 - decay) / (1.0 + decay);
        // The triangle rises from its lowest point at -π/2 to its highest at +π/2.
        const double u = foldedAngle(theta + std::numbers::pi / 2.0);
        const bool rising = u < std::numbers::pi;
        const double since = (rising ? u : u - std::numbers::pi) / omega;
        const double value = plateau + (start - plateau) * std::exp(-since / tau);
        return rising ? value : -value;
    }
    }
    return 0.0;
}

} // namespace

double InputSignal::valueAt(double seconds) const
{
    if (!isAlternating())
        return highPassSeconds > 0.0 ? 0.0 : offsetVolts;
    const double theta = kTwoPi * frequencyHz * seconds + phaseDegrees * std::numbers::pi / 180.0;
    if (highPassSeconds > 0.0 && std::isfinite(highPassSeconds))
        return highPassed(*this, theta);
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
