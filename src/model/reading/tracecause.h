#pragma once

/**
 * What keeps the face from showing a steady, readable trace, in the order they are looked for: first what
 * leaves the face dark or empty, then what makes the trace run, crawl or hard to read.
 */
enum class TraceCause {
    PowerOff,
    WarmingUp,
    IntensityLow,
    /** A sweep far shorter than the period it waits for: the beam writes a small share of the time. */
    FastSweepDim,
    Tester,
    /** The trigger finds no crossing: dark in NORM, running in AT. */
    LevelOutside,
    BelowTriggerThreshold,
    TriggerSourceEmpty,
    /** HF, LF or the trigger circuit's bandwidth keeps the signal out. */
    TriggerFiltered,
    /** The signal is faster than the trigger circuit follows: no LEVEL and no TRIG. position mends it. */
    TriggerTooFast,
    BeamAbove,
    BeamBelow,
    BeamLeft,
    BeamRight,
    /** DC coupling lets the signal's mean push the trace off the face. */
    OffsetOffFace,
    /** VOLTS/DIV so sensitive that the amplifier drives the trace beyond the face. */
    TooSensitive,
    /** Most of the trace is on the face, but part of it runs past the top or the bottom. */
    Clipped,
    Grounded,
    /** The shown channels carry nothing: a flat line. */
    NoSignal,
    XYAxisEmpty,
    /** In X-Y neither channel moves the beam: a still spot, which burns the phosphor if bright. */
    StillSpot,
    CrawlingSpot,
    /** Not triggered in AT: each sweep starts at another point of the signal. */
    Running,
    /** The sweep follows the mains (TRIG. at ~, or at LF with only the hum let through), and the signal is
     * not in step with them. */
    LineTrigger,
    /** Hum or noise let into the trigger moves the point of the wave each sweep starts at: the trace shakes.
     */
    Jitter,
    /** The ×10 probe leaves a trace a tenth of what the signal would draw. */
    ProbeTenth,
    Defocused,
    Rotated,
};
inline constexpr int kTraceCauseCount = int(TraceCause::Rotated) + 1;
