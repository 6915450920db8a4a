#pragma once

#include <complex>
#include <functional>
#include <vector>

/**
 * One period of a voltage that repeats, at even steps: what a circuit simulation leaves once the circuit has
 * settled. The period starts at the first sample; between samples the voltage runs straight.
 */
class PeriodicWave
{
public:
    PeriodicWave() = default;
    /** The samples are resampled to a power of two (at least 64) so that filtering stays quick. */
    explicit PeriodicWave(std::vector<double> samples);

    const std::vector<double> &samples() const { return m_samples; }
    bool isEmpty() const { return m_samples.empty(); }
    double mean() const { return m_mean; }
    double lowest() const { return m_lowest; }
    double highest() const { return m_highest; }

    /** The voltage at a fraction of the period (any real number: whole periods are taken off). */
    double at(double fraction) const;

    /**
     * The same wave through a linear filter, in its steady state: each harmonic k times its gain at k
     * times the fundamental (the gain of a function of the harmonic's number), the mean times the gain at 0.
     */
    PeriodicWave filtered(const std::function<std::complex<double>(int harmonic)> &gain) const;

private:
    std::vector<double> m_samples;
    double m_mean = 0.0;
    double m_lowest = 0.0;
    double m_highest = 0.0;
};
