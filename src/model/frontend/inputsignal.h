#pragma once

#include <memory>

class PeriodicWave;

/** The shape of a periodic test signal. */
enum class Waveform { Sine, Square, Triangle };

/**
 * The mains the bench runs from: the hum the leads pick up, the ~ position of TRIG. and the component
 * tester all follow it. The generator's oscillator runs free of it, and the grid keeps only within ±50 mHz
 * of its 50 Hz, wandering in that band (ENTSO-E's standard frequency range for Continental Europe), so no
 * setting of the generator stays a whole multiple of it. The model keeps the generator's clock and puts
 * the difference on the mains: 5 mHz under 50 Hz, a part in 10⁴, which slides a 5 kHz signal half a
 * period a second past a sweep that follows the mains.
 */
namespace Mains {
inline constexpr double hz = 49.995;
inline constexpr double periodSeconds = 1.0 / hz;
} // namespace Mains

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
    /** When positive, the signal reaches the input through a series C and a resistor to ground with this
     * time constant (RC, seconds): what the input sees is the voltage across the resistor, with no mean. */
    double highPassSeconds = 0.0;
    /** The 50 Hz hum riding on the signal, the mains (Mains::hz) picked up by the leads: its peak, in volts.
     */
    double humVolts = 0.0;
    /** Noise riding on the signal, its rms in volts; the seed picks which stretch of noise a sweep sees. */
    double noiseVolts = 0.0;
    unsigned noiseSeed = 0;
    /** A burst: the waveform runs this many cycles, then rests at its mean until burstPeriodCycles have
     * passed, and again. 0: it runs all the time. */
    int burstCycles = 0;
    int burstPeriodCycles = 0;
    /** When positive, AC coupling's series capacitor into the input's resistance, another high-pass after
     * the first, with this time constant. */
    double couplingSeconds = 0.0;
    /** A ×10 probe's trimmer: an edge first steps by this much of its height, then settles to it with
     * compensationSeconds (1 is a probe correctly compensated). */
    double compensation = 1.0;
    double compensationSeconds = 0.0;
    /** When positive, a first-order low-pass (one RC: a ×1 probe's cable against the source) with this
     * time constant, in series with the Gaussian band limit. */
    double lowPassSeconds = 0.0;
    /** The σ of the Gaussian band limit the signal has passed (the generator's edges, the amplifier); 0
     * for an ideal signal. */
    double smoothingSeconds = 0.0;
    /** How late the signal comes out of its path, in seconds. */
    double delaySeconds = 0.0;
    /** A simulated signal: one period of what a circuit puts out, which then takes the waveform's place. Its
     * shape is scaled to amplitudeVpp and stands on offsetVolts, so that a probe's divider and every reading
     * of the height work on it as on the generator's; sampledSignal() fills all three in. */
    std::shared_ptr<const PeriodicWave> wave {};

    /** The voltage at time t (seconds). Sine, square and triangle all start at their mean, rising, at phase
     * 0. Behind a high-pass RC it is the steady-state voltage across the resistor. */
    double valueAt(double seconds) const;
    /** The same without the hum and the noise riding on it. */
    double waveformAt(double seconds) const;
    /** The mean over a period, what AC coupling takes away. */
    double meanVolts() const { return highPassSeconds > 0.0 || couplingSeconds > 0.0 ? 0.0 : offsetVolts; }
    /** How long an edge takes to settle through the signal's band limits, for a drawing to place its points
     * by: the Gaussian's σ and the low-pass's RC together. */
    double edgeSeconds() const;
    /** The first moment after t where a square has an edge or a triangle a corner (infinity for a sine or
     * a steady level): where a drawing needs its points closest. */
    double nextCornerAfter(double seconds) const;
    /** The period in seconds (of the whole burst, for a burst), or 0 for a signal that does not repeat
     * (no frequency). Hum and noise are not counted: see isClean(). */
    double periodSeconds() const;
    /** The most the noise riding on the signal ever moves it, in volts. */
    double noisePeakVolts() const;
    /** True when nothing rides on the signal: every period is the same. */
    bool isClean() const { return !(humVolts > 0.0) && !(noiseVolts > 0.0); }
    /** True when the signal has both an amplitude and a frequency, so it crosses levels. */
    bool isAlternating() const;
};

/** A signal that repeats one simulated period over periodSeconds: its shape, height and mean from the wave.
 */
InputSignal sampledSignal(std::shared_ptr<const PeriodicWave> wave, double periodSeconds);
