#pragma once

#include "screentraces.h"

#include <QList>
#include <QPointF>

/**
 * The screen's phosphor. The HM-203's P31 tube gives light while the beam excites it and then fades;
 * what the eye sees of that fading tail lasts tens of milliseconds, so a fast sweep repeated many
 * times a second looks steady while a slow one is a moving spot with a short glowing tail.
 */
namespace Afterglow {
/** The time the seen light takes to fall to 1/e once the beam has gone. */
inline constexpr double seconds = 0.02;
/** A picture that repeats at least this often a second stands still to the eye: the phosphor holds it
 * from one writing to the next (as a 2 ms/div sweep does), and the eye fuses what flicker is left. */
inline constexpr double steadyRate = 35.0;
} // namespace Afterglow

/** The electron beam: its current, set by INTENS through the grid, and the spot FOCUS makes of it. */
namespace Beam {
/** The current, 0 (no light) to 1 (INTENS at its stop), for an INTENS knob turned from 0 to 1: the
 * tube's current grows much faster than the grid voltage the knob turns. */
double currentAt(double intensity);
/** The current of the instrument as it opens (INTENS at 70 %), at which the prepared pictures are drawn. */
inline constexpr double openingCurrent = 0.2401;
/** The sharpest spot the tube focuses, as the spread of its profile in divisions (about 0,25 mm). */
inline constexpr double sharpestSpot = 0.025;
/** The spot's spread, in divisions, for a current and a FOCUS knob turned from 0 to 1: sharpest in the
 * middle, wider both ways, and a little wider as the current grows. */
double spotSpread(double current, double focus);
} // namespace Beam

/** How the time base repeats its sweep. */
struct SweepTiming
{
    /** One sweep across the ten divisions; with X-MAG the face shows a tenth of it. */
    double sweepSeconds = 0.0;
    /** The retrace and the hold-off after it, the beam dark and the time base deaf to triggers. */
    double deadSeconds = 0.0;
    /** From one sweep's start to the next: the dead time, then the wait for the next trigger. */
    double cycleSeconds = 0.0;
    /** Every sweep starts at the same point of the signal; else each starts where the free-running time
     * base is, and the trace runs. */
    bool triggered = false;
    /** Every sweep draws the same picture: it is triggered, or nothing the shown channels carry changes
     * with time (GD, a steady level), so where a free-running sweep starts does not show. */
    bool alike = false;
    /** Nothing is swept: NORM with no trigger, or X-Y. */
    bool dark = false;

    /** The share of the time the beam writes. */
    double dutyCycle() const { return cycleSeconds > 0.0 ? sweepSeconds / cycleSeconds : 0.0; }
};

/**
 * The time base's rhythm for a setting: the sweep takes ten divisions of TIME/DIV; retrace and hold-off
 * follow (hold-off at least a tenth of the sweep, up to ten times that with HOLD OFF, as time bases
 * switch their hold-off capacitor with the range); a triggered sweep then waits for the next trigger, a
 * period of its source later, while a free-running one starts again at once.
 */
SweepTiming sweepTiming(const ScopeSettings &settings);

/** How many sweeps in a run meet the hum at every phase of the mains at the sweeps the tasks use. */
namespace SweepRun {
inline constexpr int judged = 32;
} // namespace SweepRun

/**
 * The moments a run of sweeps starts, as the time base runs: each, after the last one's hold-off, waits
 * for its own trigger and sees its own stretch of noise. The run ends at a sweep that finds no trigger,
 * which in AT runs free and in NORM stays dark.
 */
QList<double> sweepStarts(const ScopeSettings &settings, int sweeps);

/** How far apart, in divisions of the screen, sweeps starting at these moments start on channel I's
 * waveform. */
double startSpread(const ScopeSettings &settings, const QList<double> &starts);

/** One stretch of the beam's path, in the order it is written, each point at its moment. */
struct BeamStroke
{
    TraceKind kind = TraceKind::ChannelI;
    /** Where the spot is, in screen divisions. */
    QList<QPointF> points;
    /** When it is there, in seconds of instrument time; rising. */
    QList<double> times;
    /** How many times this very stretch is written (a steady picture folds all its repeats into one). */
    double repeats = 1.0;
    /**
     * For a sweep far denser than its points: the trace's height over one repeat of its signal at equal
     * steps of time, and how many repeats a division of the sweep holds. A face too coarse to follow each
     * period lights the band these heights fill, as the beam does. Empty otherwise.
     */
    QList<double> repeatHeights;
    double repeatsPerDivision = 0.0;

    double startSeconds() const { return times.isEmpty() ? 0.0 : times.first(); }
    double endSeconds() const { return times.isEmpty() ? 0.0 : times.last(); }
};

/** What the beam writes over a stretch of time. */
struct BeamWriting
{
    QList<BeamStroke> strokes;
    /**
     * The picture repeats far faster than the phosphor fades: the strokes are what the beam writes over
     * one afterglow time (repeats included), and the face shows them as they are, at rest.
     */
    bool steady = true;
};

/**
 * What the beam writes between two moments of instrument time. A steady picture is given once, as its
 * writing over one afterglow time whatever the moments; else the strokes are the parts of the sweeps (or
 * the figure) that fall between them, a running trace's many sweeps folded into a few with their repeats.
 */
BeamWriting beamWriting(const ScopeSettings &settings, double fromSeconds, double toSeconds);
