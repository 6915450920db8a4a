#pragma once
// A state in which each task of the strip is met, as the task suites and the strip's walk share it.
#include "taskstestsupport.h"

namespace {

/** A state in which each task is met, with its answer: what the warm-up holds back. */
struct MetState
{
    int task;
    Setup setup;
    const char *answer;
};

const MetState kMetStates[] {
    { TimeBase, [](Hm203 &s) { return setTime(s, 1e-3); }, "" },
    { PredictSweep, [](Hm203 &s) { return setTime(s, 1e-6); }, "" },
    { TwoPeriods, [](Hm203 &s) { return setVolts(s, false, 2.0); }, "" },
    { PredictSensitivity, [](Hm203 &s) { return setVolts(s, false, 0.5); }, "" },
    { BottomLine, [](Hm203 &s) { return setPositionI(s, -2.0); }, "" },
    { FallingStart, [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5); }, "" },
    { AcCoupling, [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && setVolts(s, false, 0.2); },
        "" },
    { PredictAc, [](Hm203 &s) { return setCoupling(s, false, Coupling::AC); }, "" },
    { PeakToPeak, untouched, "3" },
    { DcLevel, untouched, "1,5" },
    { Calibrator, [](Hm203 &s) { return setVolts(s, false, 0.5); }, "" },
    { Period, untouched, "2,5" },
    { Frequency, untouched, "250" },
    { Dual,
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0) && setPositionII(s, -2.0);
        },
        "" },
    { Difference, [](Hm203 &s) { return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertII); },
        "" },
    { PhaseXY, [](Hm203 &s) { return setMode(s, DisplayMode::XY); }, "45" },
    { PredictXY, [](Hm203 &s) { return setMode(s, DisplayMode::XY); }, "" },
    { RcLead, untouched, "58" },
    { Lissajous12,
        [](Hm203 &s) {
            return setMode(s, DisplayMode::XY)
                && changeGenerator(s, [](GeneratorSettings &g) { g.frequencyIIHz = 2000.0; });
        },
        "" },
    // Output II at 2 kHz: the figure touches the top once and the right-hand edge twice.
    { FrequencyXY, [](Hm203 &s) { return setMode(s, DisplayMode::XY); }, "2000" },
    { Compensation,
        [](Hm203 &s) {
            return setVolts(s, false, 0.01)
                && changeGenerator(s, [](GeneratorSettings &g) { g.compensationI = 1.0; });
        },
        "" },
    { PredictProbe,
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.probeI = Probe::Times10; }); },
        "" },
    { ProbeVoltage, untouched, "8" },
    { RiseTime, fastestSweep, "18" },
    { Bandwidth, [](Hm203 &s) { return setVolts(s, false, 0.2) && setFrequency(s, 20e6); }, "" },
    { Hum, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); }, "" },
    { Noise, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF); }, "" },
    { Burst, [](Hm203 &s) { return setHoldOff(s, 50); }, "" },
    { SmallSignal, [](Hm203 &s) { return press(s, Hm203Control::AtNorm) && setVolts(s, false, 0.5); }, "" },
    // The circuits' readings with 24 Vpp from output I; the tester's bends as its parts' data sheets give
    // them.
    { HalfWavePeak, settled, "10,8" },
    { PredictCapacitor, smoothedOnChannelII, "" },
    { SmoothedPeak, settled, "9" },
    { SmoothedRipple, settled, "1,3" },
    { BridgePeak, settled, "10,1" },
    { BridgeRipple, settled, "100" },
    { LowPassDual, settled, "71" },
    { LowPassXY, settled, "45" },
    { PredictLowPassXY, lowPassTenfoldXY, "" },
    { Resonance, settled, "0" },
    { TellResistor, testerOn, "" },
    { TellCapacitor, testerOn, "" },
    { TellDiode, testerOn, "" },
    { DiodeKnee, testerOn, "0,7" },
    { ZenerForward, testerOn, "0,8" },
    { ZenerKnee, testerOn, "-5,1" },
    { LedLead, testerOn, "1,9" },
};

} // namespace
