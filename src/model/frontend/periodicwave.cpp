#include "periodicwave.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

constexpr std::size_t kFewestSamples = 64;

std::size_t powerOfTwoAtLeast(std::size_t n)
{
    std::size_t size = kFewestSamples;
    while (size < n)
        size *= 2;
    return size;
}

/** The voltage of evenly spaced samples of one period at a fraction of it, straight between samples. */
double interpolated(const std::vector<double> &samples, double fraction)
{
    const std::size_t n = samples.size();
    const double position = (fraction - std::floor(fraction)) * double(n);
    const double floor = std::floor(position);
    const std::size_t i = std::size_t(floor) % n;
    const double k = position - floor;
    return samples[i] * (1.0 - k) + samples[(i + 1) % n] * k;
}

/** An in-place radix-2 FFT (inverse when asked, unscaled) of a power-of-two length. */
void fft(std::vector<std::complex<double>> &a, bool inverse)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = 2.0 * std::numbers::pi / double(length) * (inverse ? 1.0 : -1.0);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += length) {
            std::complex<double> w(1.0);
            for (std::size_t j = 0; j < length / 2; ++j) {
                const std::complex<double> u = a[i + j];
                const std::complex<double> v = a[i + j + length / 2] * w;
                a[i + j] = u + v;
                a[i + j + length / 2] = u - v;
                w *= step;
            }
        }
    }
}

} // namespace

PeriodicWave::PeriodicWave(std::vector<double> samples)
{
    std::erase_if(samples, [](double v) { return !std::isfinite(v); });
    if (samples.empty())
        return;
    const std::size_t size = powerOfTwoAtLeast(samples.size());
    if (size == samples.size()) {
        m_samples = std::move(samples);
    } else {
        m_samples.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            m_samples[i] = interpolated(samples, double(i) / double(size));
    }
    m_mean = std::accumulate(m_samples.begin(), m_samples.end(), 0.0) / double(m_samples.size());
    const auto [low, high] = std::minmax_element(m_samples.begin(), m_samples.end());
    m_lowest = *low;
    m_highest = *high;
}

double PeriodicWave::at(double fraction) const
{
    if (m_samples.empty() || !std::isfinite(fraction))
        return 0.0;
    return interpolated(m_samples, fraction);
}

PeriodicWave PeriodicWave::filtered(const std::function<std::complex<double>(int harmonic)> &gain) const
{
    if (m_samples.empty())
        return {};
    const std::size_t n = m_samples.size();
    std::vector<std::complex<double>> spectrum(m_samples.begin(), m_samples.end());
    fft(spectrum, false);
    spectrum[0] *= gain(0);
    // A real wave's spectrum is mirrored: harmonic k sits at k and, conjugated, at n − k.
    for (std::size_t k = 1; k <= n / 2; ++k) {
        const std::complex<double> g = gain(int(k));
        spectrum[k] *= k == n / 2 ? std::complex<double>(std::real(g)) : g;
        if (k != n / 2)
            spectrum[n - k] *= std::conj(g);
    }
    fft(spectrum, true);
    std::vector<double> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = spectrum[i].real() / double(n);
    return PeriodicWave(std::move(out));
}
