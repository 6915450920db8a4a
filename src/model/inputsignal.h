#pragma once

/** The shape of a periodic test signal. */
enum class Waveform { Sine, Square, Triangle };

/**
 * A periodic voltage fed to one input of the oscilloscope: its shape, peak-to-peak amplitude,
 * frequency, phase and DC offset. A signal with no amplitude is a plain DC level (or nothing at all).
 */
struct InputSignal
{
    Waveform waveform = Waveform::Sine;
    double amplitudeVpp = 0.0;
    double frequencyHz = 1000.0;
    double phaseDegrees = 0.0;
    double offsetVolts = 0.0;

    /** The voltage at time t (seconds). Sine, square and triangle all start at their mean, rising, at phase
     * 0. */
    double valueAt(double seconds) const;
    /** The mean over a period, what AC coupling takes away. */
    double meanVolts() const { return offsetVolts; }
    /** The period in seconds, or 0 for a signal that does not repeat (no frequency). */
    double periodSeconds() const;
    /** True when the signal has both an amplitude and a frequency, so it crosses levels. */
    bool isAlternating() const;
};
