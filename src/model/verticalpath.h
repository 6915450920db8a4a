#pragma once

#include "inputsignal.h"
#include "scopesettings.h"

/**
 * The way from a probe's tip to the deflection plates: the probe, the input's coupling and the vertical
 * amplifier, each as what it does to a periodic signal. The amplifier and every other band limit on the
 * way are Gaussian responses: no overshoot, |H(f)| = exp(-2π²σ²f²) and a step rising as ½(1 + erf(t/σ√2)),
 * so their σ add in quadrature and their rise times as the root of the sum of squares.
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
/** The delay line's lag, three σ: the Gaussian's centre late enough that nothing comes out before its
 * cause. */
double delaySeconds();
} // namespace VerticalAmplifier

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
 * -3 dB; taken as a Gaussian too, it adds to the amplifier's σ in quadrature. */
inline constexpr double times1BandwidthHz = 6e6;
/** A ×10 probe is 10 MΩ at the tip: 9 MΩ in its head over the input's 1 MΩ. */
inline constexpr double times10Ratio = 10.0;
/** A ×10 probe's time constant: 9 MΩ ∥ 1 MΩ against the input's 30 pF and the cable's ~25 pF,
 * 0,9 MΩ · 55 pF, about 50 µs. */
inline constexpr double compensationSeconds = 50e-6;
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
/** The signal the plates follow: through the input coupling (AC's high-pass) and the amplifier. */
InputSignal throughAmplifier(InputSignal input, Coupling coupling);
