#include "inputsignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

/** The mains frequency the hum comes at. */
constexpr double kHumHz = 50.0;
/** The noise's bandwidth: the generator's output stage lets through about 5 MHz, so its noise changes
 * from one value to an unrelated one in a tenth of a microsecond. */
constexpr double kNoiseStepSeconds = 100e-9;

/** A value of unit variance, the same for the same step and seed, unrelated to the next step's. */
double noiseKnot(long long step, unsigned seed)
{
    // splitmix64 of the step and the seed, then the sum of three uniforms (close enough to a Gaussian).
    std::uint64_t z = std::uint64_t(step) * 0x9e3779b97f4a7c15ull + (std::uint64_t(seed) << 32) + seed;
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        z += 0x9e3779b97f4a7c15ull;
        std::uint64_t x = z;
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
        x ^= x >> 31;
        sum += double(x >> 11) / double(1ull << 53) * 2.0 - 1.0;
    }
    return sum;
}

/** Band-limited noise of unit rms at a moment: the knots joined by straight lines (whose rms is a little
 * less than the knots', made up for). */
double noiseAt(double seconds, unsigned seed)
{
    const double at = seconds / kNoiseStepSeconds;
    const double floor = std::floor(at);
    if (!std::isfinite(floor) || std::abs(floor) > 9e15)
        return 0.0;
    const long long step = (long long)(floor);
    const double k = at - floor;
    // Joining independent unit values linearly leaves a mean square of 2/3 over a step.
    return (noiseKnot(step, seed) * (1.0 - k) + noiseKnot(step + 1, seed) * k) * std::sqrt(1.5);
}

} // namespace

double InputSignal::valueAt(double seconds) const
{
    double riding = 0.0;
    if (humVolts > 0.0 && std::isfinite(humVolts))
        riding += humVolts * std::sin(kTwoPi * kHumHz * seconds);
    if (noiseVolts > 0.0 && std::isfinite(noiseVolts))
        riding += noiseVolts * noiseAt(seconds, noiseSeed);
    return riding + waveformAt(seconds);
}

double InputSignal::waveformAt(double seconds) const
{
    if (!isAlternating())
        return highPassSeconds > 0.0 ? 0.0 : offsetVolts;
    if (burstCycles > 0 && burstPeriodCycles > burstCycles) {
        // Between bursts the output rests at its mean.
        const double cycles = frequencyHz * seconds + phaseDegrees / 360.0;
        const double within = cycles - std::floor(cycles / burstPeriodCycles) * burstPeriodCycles;
        if (within >= burstCycles)
            return highPassSeconds > 0.0 ? 0.0 : offsetVolts;
    }
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
    if (!(frequencyHz > 0.0) || !std::isfinite(frequencyHz))
        return 0.0;
    const int cycles = burstCycles > 0 && burstPeriodCycles > burstCycles ? burstPeriodCycles : 1;
    return cycles / frequencyHz;
}

bool InputSignal::isAlternating() const
{
    return amplitudeVpp > 0.0 && std::isfinite(amplitudeVpp) && periodSeconds() > 0.0;
}
