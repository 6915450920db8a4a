#include "inputsignal.h"

#include "periodicwave.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
/** Edges and corners further away than this many σ leave no mark on a smoothed signal. */
constexpr double kReachSigmas = 6.0;
/** With more edges than this within reach, all a band limit leaves of a square or a triangle is its
 * fundamental. */
constexpr int kMostEdges = 64;

/** The phase angle at time t, in radians, folded into [0, 2π). */
double foldedAngle(double theta)
{
    const double folded = std::fmod(theta, kTwoPi);
    const double positive = folded < 0.0 ? folded + kTwoPi : folded;
    // A hair below zero rounds up to 2π, which is the start of the next period.
    return positive < kTwoPi ? positive : 0.0;
}

double normalCdf(double x)
{
    return 0.5 * std::erfc(-x / std::numbers::sqrt2);
}

double normalPdf(double x)
{
    return std::exp(-0.5 * x * x) / std::sqrt(kTwoPi);
}

/**
 * What a Gaussian band limit of σ changes in a decay e^(−d/τ) that starts at an edge d = 0: the RC's step
 * behind the Gaussian, e^(σ²/2τ² − d/τ)·Φ(d/σ − σ/τ), less its far form, the same without Φ after the edge
 * (scale is e^(σ²/2τ²)). Asked for within a few σ of an edge, and for τ no shorter than σ/20, the
 * exponential stays far from overflow.
 */
double decayNearEdge(double d, double sigma, double tau, double scale)
{
    const double x = d / sigma - sigma / tau;
    // After the edge, 1 − Φ(x) is Φ(−x), which keeps its digits where Φ(x) is close to 1.
    const double share = d >= 0.0 ? -normalCdf(-x) : normalCdf(x);
    return scale * std::exp(-d / tau) * share;
}

/** Beyond this many σ a decay is slower than a band limit can see: exp(σ²/2τ²) stays far from overflow. */
constexpr double kSlowestSmoothedDecay = 20.0;

bool positiveFinite(double value)
{
    return value > 0.0 && std::isfinite(value);
}

/** One first-order high-pass of the path, with the share of the signal that goes through it. */
struct HighPassTerm
{
    double weight = 0.0;
    double seconds = 0.0;
};

/**
 * A chain of first-order sections (series capacitors into resistors, a compensated divider) as what it
 * passes straight through plus a sum of single high-passes: partial fractions take every such chain
 * apart that way, and each high-pass has its steady state in closed form.
 */
struct FirstOrderPath
{
    double direct = 1.0;
    std::array<HighPassTerm, 5> terms {};
    int count = 0;

    void add(double weight, double seconds)
    {
        for (int i = 0; i < count; ++i) {
            if (terms[i].seconds == seconds) {
                terms[i].weight += weight;
                return;
            }
        }
        if (count < int(terms.size()))
            terms[std::size_t(count++)] = { weight, seconds };
    }

    /** The chain followed by one more high-pass: Ha·Hb = (τa·Hb − τb·Ha)/(τa − τb). */
    FirstOrderPath highPassed(double tau) const
    {
        FirstOrderPath out;
        out.direct = 0.0;
        out.add(direct, tau);
        for (int i = 0; i < count; ++i) {
            // Two equal time constants a hair apart draw the same curve without the special case.
            const double own = terms[i].seconds == tau ? tau * (1.0 + 1e-6) : terms[i].seconds;
            out.add(-terms[i].weight * tau / (own - tau), own);
            out.add(terms[i].weight * own / (own - tau), tau);
        }
        return out;
    }

    /** The chain followed by a low-pass, which passes what a high-pass of its RC takes away. */
    FirstOrderPath lowPassed(double tau) const
    {
        FirstOrderPath out = *this;
        const FirstOrderPath high = highPassed(tau);
        for (int i = 0; i < high.count; ++i)
            out.add(-high.terms[i].weight, high.terms[i].seconds);
        return out;
    }

    std::complex<double> gainAt(double omega) const
    {
        std::complex<double> gain = direct;
        for (int i = 0; i < count; ++i) {
            const std::complex<double> jwt(0.0, omega * terms[i].seconds);
            gain += terms[i].weight * jwt / (1.0 + jwt);
        }
        return gain;
    }
};

FirstOrderPath pathOf(const InputSignal &s)
{
    FirstOrderPath path;
    if (positiveFinite(s.highPassSeconds))
        path = path.highPassed(s.highPassSeconds);
    if (positiveFinite(s.couplingSeconds))
        path = path.highPassed(s.couplingSeconds);
    // A compensated divider passes the signal and adds (k − 1) of it through a high-pass.
    if (std::isfinite(s.compensation) && s.compensation != 1.0 && positiveFinite(s.compensationSeconds)) {
        const FirstOrderPath extra = path.highPassed(s.compensationSeconds);
        for (int i = 0; i < extra.count; ++i)
            path.add((s.compensation - 1.0) * extra.terms[i].weight, extra.terms[i].seconds);
    }
    if (positiveFinite(s.lowPassSeconds))
        path = path.lowPassed(s.lowPassSeconds);
    return path;
}

/** A sine's gain and lead through a path and a band limit, and what they were worked out for. */
struct SineResponse
{
    double omega = std::numeric_limits<double>::quiet_NaN();
    double sigma = 0.0;
    double highPass = 0.0;
    double coupling = 0.0;
    double compensation = 0.0;
    double compensationSeconds = 0.0;
    double lowPass = 0.0;
    double gain = 1.0;
    double lead = 0.0;
};

/** The response for a signal, worked out once for the run of samples a trace takes of it. */
const SineResponse &sineResponse(const InputSignal &s, const FirstOrderPath &path, double omega, double sigma)
{
    thread_local SineResponse cached;
    if (!(cached.omega == omega && cached.sigma == sigma && cached.highPass == s.highPassSeconds
            && cached.coupling == s.couplingSeconds && cached.compensation == s.compensation
            && cached.compensationSeconds == s.compensationSeconds && cached.lowPass == s.lowPassSeconds)) {
        const std::complex<double> gain = path.gainAt(omega) * std::exp(-0.5 * std::pow(omega * sigma, 2.0));
        cached = { omega, sigma, s.highPassSeconds, s.couplingSeconds, s.compensation, s.compensationSeconds,
            s.lowPassSeconds, std::abs(gain), std::arg(gain) };
    }
    return cached;
}

/** One high-pass's steady state for a square: a decaying spike at each edge. */
double squareThrough(double tau, double since, bool positive, double halfPeriod, double half)
{
    const double jump = 2.0 * half / (1.0 + std::exp(-halfPeriod / tau));
    return (positive ? jump : -jump) * std::exp(-since / tau);
}

/** One high-pass's steady state for a triangle: rounded steps, each settling towards slope × τ. The decay
 * is scaled by decayScale, what a band limit makes of it. */
double triangleThrough(
    double tau, double since, bool rising, double halfPeriod, double amplitudeVpp, double decayScale)
{
    const double decay = std::exp(-halfPeriod / tau);
    const double plateau = amplitudeVpp / halfPeriod * tau;
    const double start = -plateau * (1.0 - decay) / (1.0 + decay);
    const double value = plateau + decayScale * (start - plateau) * std::exp(-since / tau);
    return rising ? value : -value;
}

/**
 * What a Gaussian band limit makes of each high-pass's decays. Far from their edges a decay is scaled by
 * e^(σ²/2τ²); near them it is an RC's step behind the Gaussian. A decay far slower than the band limit
 * (τ above a thousand σ) is the plain jump smoothed, and joins the edge that passes straight through; one
 * too fast for the band limit to pass is left out (its scale 0).
 */
struct SmoothedTerms
{
    std::array<double, 5> scale {};
    /** The weights of the decays worked out whole near an edge (0 for the others). */
    std::array<double, 5> exactWeight {};
    /** The share of a jump that is only smoothed: what passes straight through and the slow decays. */
    double edgeGain = 0.0;
    /** How long after an edge its decays still differ from their far form. */
    double lag = 0.0;
};

/** Below this σ/τ a decay over an edge's few σ is a constant, e^(σ²/2τ²) one within a millionth. */
constexpr double kSlowDecay = 1e-3;

SmoothedTerms smoothedTerms(const FirstOrderPath &path, double sigma)
{
    SmoothedTerms out;
    out.edgeGain = path.direct;
    for (int i = 0; i < path.count; ++i) {
        const std::size_t k = std::size_t(i);
        const double ratio = sigma > 0.0 ? sigma / path.terms[i].seconds : 0.0;
        if (ratio > kSlowestSmoothedDecay)
            continue;
        if (ratio < kSlowDecay) {
            out.scale[k] = 1.0;
            out.edgeGain += path.terms[i].weight;
            continue;
        }
        out.scale[k] = std::exp(0.5 * ratio * ratio);
        out.exactWeight[k] = path.terms[i].weight;
        out.lag = std::max(out.lag, ratio * sigma);
    }
    return out;
}

/**
 * A time since the period's start, kept inside the period: an angle a hair below 2π can divide out to the
 * period's end, which is the next period's start. Left there, it would count the edge at the end as both
 * to come and passed, and draw a spike of the whole step on the edge.
 */
double withinPeriod(double u, double halfPeriod)
{
    return u < 2.0 * halfPeriod ? u : 0.0;
}

bool evenIndex(int n)
{
    return n % 2 == 0;
}

/**
 * A square through the path. Away from its edges each high-pass decays on its own; near one, the band
 * limit turns the jump into the Gaussian's erf step and each decay into an RC's step behind a Gaussian,
 * which only edges within a few σ take part in.
 */
double squareWave(const InputSignal &s, const FirstOrderPath &path, double theta, double sigma)
{
    const double omega = kTwoPi * s.frequencyHz;
    const double halfPeriod = 0.5 / s.frequencyHz;
    const double half = s.amplitudeVpp / 2.0;
    const double u = withinPeriod(foldedAngle(theta) / omega, halfPeriod);
    const bool positive = u < halfPeriod;
    const double since = positive ? u : u - halfPeriod;
    const SmoothedTerms smoothed = smoothedTerms(path, sigma);
    double value = path.direct * (positive ? half : -half);
    for (int i = 0; i < path.count; ++i) {
        const std::size_t k = std::size_t(i);
        value += path.terms[i].weight * smoothed.scale[k]
            * squareThrough(path.terms[i].seconds, since, positive, halfPeriod, half);
    }
    if (sigma > 0.0) {
        const double reach = kReachSigmas * sigma;
        const int last = int(std::floor((u + reach) / halfPeriod));
        for (int n = int(std::ceil((u - reach - smoothed.lag) / halfPeriod)); n <= last; ++n) {
            const double d = u - n * halfPeriod;
            const double jump = evenIndex(n) ? 2.0 * half : -2.0 * half;
            const double after = d >= 0.0 ? 1.0 : 0.0;
            value += smoothed.edgeGain * jump * (normalCdf(d / sigma) - after);
            for (int i = 0; i < path.count; ++i) {
                const std::size_t k = std::size_t(i);
                if (smoothed.exactWeight[k] == 0.0)
                    continue;
                const double tau = path.terms[i].seconds;
                value += smoothed.exactWeight[k] * jump * decayNearEdge(d, sigma, tau, smoothed.scale[k]);
            }
        }
    }
    return value;
}

/** A triangle through the path; the band limit rounds each corner as a ramp through a Gaussian,
 * u·Φ(u/σ) + σ·φ(u/σ), and each high-pass's answer to it, τ·(1 − e^(−u/τ)), as the same behind a Gaussian. */
double triangleWave(const InputSignal &s, const FirstOrderPath &path, double theta, double sigma)
{
    const double omega = kTwoPi * s.frequencyHz;
    const double halfPeriod = 0.5 / s.frequencyHz;
    const double half = s.amplitudeVpp / 2.0;
    const double slope = s.amplitudeVpp / halfPeriod;
    // The triangle rises from its lowest point at -π/2 to its highest at +π/2.
    const double u = withinPeriod(foldedAngle(theta + std::numbers::pi / 2.0) / omega, halfPeriod);
    const bool rising = u < halfPeriod;
    const double since = rising ? u : u - halfPeriod;
    const SmoothedTerms smoothed = smoothedTerms(path, sigma);
    double value = path.direct * (rising ? slope * since - half : half - slope * since);
    for (int i = 0; i < path.count; ++i) {
        const std::size_t k = std::size_t(i);
        if (smoothed.scale[k] == 0.0)
            continue;
        value += path.terms[i].weight
            * triangleThrough(
                path.terms[i].seconds, since, rising, halfPeriod, s.amplitudeVpp, smoothed.scale[k]);
    }
    if (sigma > 0.0) {
        const double reach = kReachSigmas * sigma;
        const int last = int(std::floor((u + reach) / halfPeriod));
        for (int n = int(std::ceil((u - reach - smoothed.lag) / halfPeriod)); n <= last; ++n) {
            const double d = u - n * halfPeriod;
            const double bend = evenIndex(n) ? 2.0 * slope : -2.0 * slope;
            const double after = d >= 0.0 ? 1.0 : 0.0;
            const double step = normalCdf(d / sigma) - after;
            value += smoothed.edgeGain * bend
                * (d * normalCdf(d / sigma) + sigma * normalPdf(d / sigma) - std::max(d, 0.0));
            for (int i = 0; i < path.count; ++i) {
                const std::size_t k = std::size_t(i);
                if (smoothed.exactWeight[k] == 0.0)
                    continue;
                const double tau = path.terms[i].seconds;
                const double decay = decayNearEdge(d, sigma, tau, smoothed.scale[k]);
                value += smoothed.exactWeight[k] * bend * tau * (step - decay);
            }
        }
    }
    return value;
}

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

/**
 * A simulated period through the path, its mean taken off and scaled to the signal's height: each harmonic
 * through the path's gain and the band limit's. Worked out once for the run of samples a trace takes, and
 * kept for the few signals (both channels, the trigger's) a picture reads in turn.
 */
const PeriodicWave &filteredWave(const InputSignal &s, const FirstOrderPath &path, double sigma)
{
    struct Entry
    {
        std::shared_ptr<const PeriodicWave> source;
        double scale, sigma, highPass, coupling, compensation, compensationSeconds, lowPass, omega;
        PeriodicWave filtered;
    };
    thread_local std::array<Entry, 6> cache {};
    thread_local std::size_t next = 0;
    const double span = s.wave->highest() - s.wave->lowest();
    const double scale = span > 0.0 ? s.amplitudeVpp / span : 0.0;
    const double omega = kTwoPi * s.frequencyHz;
    for (const Entry &e : cache) {
        if (e.source == s.wave && e.scale == scale && e.sigma == sigma && e.highPass == s.highPassSeconds
            && e.coupling == s.couplingSeconds && e.compensation == s.compensation
            && e.compensationSeconds == s.compensationSeconds && e.lowPass == s.lowPassSeconds
            && e.omega == omega)
            return e.filtered;
    }
    Entry &entry = cache[next];
    next = (next + 1) % cache.size();
    entry = { s.wave, scale, sigma, s.highPassSeconds, s.couplingSeconds, s.compensation,
        s.compensationSeconds, s.lowPassSeconds, omega, {} };
    const double mean = s.wave->mean();
    std::vector<double> shape = s.wave->samples();
    for (double &v : shape)
        v = (v - mean) * scale;
    entry.filtered = PeriodicWave(std::move(shape)).filtered([&](int k) {
        if (k == 0)
            return std::complex<double>(0.0);
        const double w = k * omega;
        return path.gainAt(w) * std::exp(-0.5 * (w * sigma) * (w * sigma));
    });
    return entry.filtered;
}

} // namespace

InputSignal sampledSignal(std::shared_ptr<const PeriodicWave> wave, double periodSeconds)
{
    InputSignal s;
    if (!wave || wave->isEmpty() || !positiveFinite(periodSeconds))
        return s;
    s.frequencyHz = 1.0 / periodSeconds;
    s.amplitudeVpp = wave->highest() - wave->lowest();
    s.offsetVolts = wave->mean();
    s.wave = std::move(wave);
    return s;
}

double InputSignal::noisePeakVolts() const
{
    // Three uniforms of ±1 at a knot, scaled as noiseAt scales them.
    return noiseVolts > 0.0 && std::isfinite(noiseVolts) ? noiseVolts * 3.0 * std::sqrt(1.5) : 0.0;
}

double InputSignal::valueAt(double seconds) const
{
    double riding = 0.0;
    if (humVolts > 0.0 && std::isfinite(humVolts))
        riding += humVolts * std::sin(kTwoPi * Mains::hz * seconds);
    if (noiseVolts > 0.0 && std::isfinite(noiseVolts))
        riding += noiseVolts * noiseAt(seconds, noiseSeed);
    return riding + waveformAt(seconds);
}

double InputSignal::waveformAt(double seconds) const
{
    if (!isAlternating())
        return meanVolts();
    const double lag = std::isfinite(delaySeconds) ? delaySeconds : 0.0;
    if (burstCycles > 0 && burstPeriodCycles > burstCycles) {
        // Between bursts the output rests at its mean.
        const double cycles = frequencyHz * (seconds - lag) + phaseDegrees / 360.0;
        const double within = cycles - std::floor(cycles / burstPeriodCycles) * burstPeriodCycles;
        if (within >= burstCycles)
            return meanVolts();
    }
    const double sigma = positiveFinite(smoothingSeconds) ? smoothingSeconds : 0.0;
    const double omega = kTwoPi * frequencyHz;
    const double theta = omega * (seconds - lag) + phaseDegrees * std::numbers::pi / 180.0;
    const FirstOrderPath path = pathOf(*this);
    if (wave && !wave->isEmpty()) {
        // A simulated period starts at its first sample; high-passes pass none of its mean.
        const double fraction = foldedAngle(theta) / kTwoPi;
        return path.direct * offsetVolts + filteredWave(*this, path, sigma).at(fraction);
    }
    const double half = amplitudeVpp / 2.0;
    if (path.count == 0 && sigma == 0.0) {
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
    // High-passes pass no DC; what comes through straight keeps the offset.
    const double mean = path.direct * offsetVolts;
    const auto fundamental = [&](double share) {
        const SineResponse &response = sineResponse(*this, path, omega, sigma);
        return mean + share * half * response.gain * std::sin(theta + response.lead);
    };
    const bool crowded = 2.0 * kReachSigmas * sigma > kMostEdges * 0.5 / frequencyHz;
    switch (waveform) {
    case Waveform::Sine:
        return fundamental(1.0);
    case Waveform::Square:
        return crowded ? fundamental(4.0 / std::numbers::pi) : mean + squareWave(*this, path, theta, sigma);
    case Waveform::Triangle:
        return crowded ? fundamental(8.0 / (std::numbers::pi * std::numbers::pi))
                       : mean + triangleWave(*this, path, theta, sigma);
    }
    return mean;
}

double InputSignal::edgeSeconds() const
{
    const double sigma = positiveFinite(smoothingSeconds) ? smoothingSeconds : 0.0;
    const double tau = positiveFinite(lowPassSeconds) ? lowPassSeconds : 0.0;
    return std::hypot(sigma, tau);
}

double InputSignal::nextCornerAfter(double seconds) const
{
    if (!isAlternating() || waveform == Waveform::Sine || wave || !std::isfinite(seconds))
        return std::numeric_limits<double>::infinity();
    const double omega = kTwoPi * frequencyHz;
    const double halfPeriod = 0.5 / frequencyHz;
    const double lag = std::isfinite(delaySeconds) ? delaySeconds : 0.0;
    // A square's edges fall where its phase is a multiple of π, a triangle's corners a quarter period on.
    const double shift = waveform == Waveform::Triangle ? std::numbers::pi / 2.0 : 0.0;
    const double u
        = foldedAngle(omega * (seconds - lag) + phaseDegrees * std::numbers::pi / 180.0 + shift) / omega;
    return seconds + (halfPeriod - std::fmod(u, halfPeriod));
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
