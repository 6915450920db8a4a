#pragma once

#include "inputsignal.h"
#include "scopesettings.h"

/**
 * The way from a probe's tip to the deflection plates: the probe, the input's coupling and the vertical
 * amplifier, each as what it does to a periodic signal. The amplifier and the generator's edges are
 * Gaussian responses: no overshoot, |H(f)| = exp(-2π²σ²f²) and a step rising as ½(1 + erf(t/σ√2)), so
 * their σ add in quadrature and their rise times as the root of the sum of squares. A ×1 probe's cable is
 * a single RC instead, which the signal carries apart (InputSignal::lowPassSeconds).
 */

/** Which probe a channel's cable ends in. */
enum class Probe {
    /** A plain cable: the tip's voltage, but the cable's capacitance narrows the band. */
    Times1,
    /** A 10 MΩ divider with a trimmer across it: a tenth of the tip's voltage, and the full band when
     * compensated. */
    Times10,
};

/** A Gaussian response's σ from its -3 dB frequency. */
double gaussianSigmaForBandwidth(double hz);
/** A Gaussian response's gain at a frequency. */
double gaussianGain(double sigmaSeconds, double hz);
/** The 10 to 90 % rise of a Gaussian response's step, and the σ of a rise. */
double gaussianRiseSeconds(double sigmaSeconds);
double gaussianSigmaForRise(double riseSeconds);
/** The σ of two Gaussian responses one after the other. */
double combinedSigma(double first, double second);

/** The vertical amplifier: 0 to 20 MHz at -3 dB, 28 MHz at -6 dB, 17,5 ns rise (our technical data). */
namespace VerticalAmplifier {
inline constexpr double bandwidthHz = 20e6;
/** σ so that |H(20 MHz)| = 1/√2; then |H(28,3 MHz)| = 1/2 and the rise is 17,0 ns. */
double sigmaSeconds();
/** The amplifier's own lag, three σ: the Gaussian's centre late enough that nothing comes out before its
 * cause. */
double delaySeconds();
} // namespace VerticalAmplifier

/**
 * The delay line between the preamplifier and the final amplifier. The trigger takes its signal from the
 * preamplifier, ahead of the line, and the sweep needs a moment to start after it fires: the line holds
 * the signal back a little longer than that, so the edge that fires the sweep is drawn after the sweep's
 * start, its foot before it.
 */
namespace DelayLine {
/** A comparator, the sweep's gate and the ramp's start in the circuits of a 20 MHz instrument: a few
 * tens of ns, two or three times its 17,5 ns rise. */
inline constexpr double sweepStartSeconds = 45e-9;
/** The line's delay: the start-up and one more rise and its foot (25 ns, half a division at 50 ns/div). */
inline constexpr double seconds = 70e-9;
} // namespace DelayLine

/** The inputs: 1 MΩ in parallel with 30 pF (our technical data). */
namespace VerticalInput {
inline constexpr double ohms = 1e6;
inline constexpr double farads = 30e-12;
/** AC coupling is a 0,1 µF capacitor in series with the 1 MΩ: τ = 0,1 s, a low cut-off of 1,6 Hz. */
inline constexpr double couplingFarads = 0.1e-6;
inline constexpr double couplingSeconds = ohms * couplingFarads;
} // namespace VerticalInput

/** The probes on the bench. */
namespace Probes {
/** A ×1 probe's cable (about 100 pF) across the source's resistance narrows the band to some 6 MHz at
 * -3 dB: one RC, a first-order low-pass (20 dB a decade beyond), in series with the amplifier. */
inline constexpr double times1BandwidthHz = 6e6;
/** The ×1 probe's RC, from its -3 dB frequency: 26,5 ns, an edge of 2,2 RC = 58 ns. */
double times1Seconds();
/** A ×10 probe is 10 MΩ at the tip: 9 MΩ in its head over the input's 1 MΩ. */
inline constexpr double times10Ratio = 10.0;
inline constexpr double headOhms = (times10Ratio - 1.0) * VerticalInput::ohms;
/** The distributed capacitance of a ×10 probe's cable: 58 pF measured on a 150 MHz probe (B&K Precision
 * 2125A manual, on probes); cheaper cables have more, up to 200 pF. */
inline constexpr double cableFarads = 58e-12;
/** What the head's trimmer stands against at the scope's end: the cable and the input's 30 pF. */
inline constexpr double baseFarads = cableFarads + VerticalInput::farads;
/**
 * The compensation's time constant for a trimmer setting: the head's capacitance C₁ makes the edge's
 * share k = 10·C₁/(C₁ + C₂) against the resistors' tenth, and both capacitors charge through 9 MΩ ∥ 1 MΩ:
 * τ = 0,9 MΩ · (C₁ + C₂). Compensated, the trimmer stands at C₁ = C₂/9 = 9,8 pF (the same manual puts a
 * probe's trimmer "on the order of 10 pF") and τ is 1 MΩ · 88 pF = 88 µs.
 */
double compensationSeconds(double compensation);
/** The trimmer's range: the step an edge makes, against the step it settles to. */
inline constexpr double minimumCompensation = 0.5;
inline constexpr double maximumCompensation = 1.5;
} // namespace Probes

/** The generator's square and triangle have edges of their own: 5 ns from 10 to 90 %. */
namespace GeneratorEdges {
inline constexpr double riseSeconds = 5e-9;
} // namespace GeneratorEdges

/** The signal at a channel's input socket: the tip's signal through the probe. */
InputSignal throughProbe(InputSignal tip, Probe probe, double compensation);
/** The signal the plates follow: through the input coupling (AC's high-pass), the amplifier and the delay
 * line. */
InputSignal throughAmplifier(InputSignal input, Coupling coupling);
/** The same signal as the trigger takes it from the preamplifier, ahead of the delay line. */
InputSignal aheadOfDelayLine(InputSignal plates);
