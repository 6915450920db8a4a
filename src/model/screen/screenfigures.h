#pragma once

#include "screentraces.h"

#include <QList>

/**
 * What a trace looks like, told from the points the model draws: the shape a swept trace's heights take
 * over one repeat, and the figure an X-Y trace or the component tester draws. Nothing here knows the
 * settings behind the points, so a description cannot say more than the face shows.
 */

/** The shape of a swept trace. */
enum class TraceShape { Sine, Square, Triangle, FlatLine, Other };

/** The figures an X-Y picture or the component tester draws. */
enum class FigureKind {
    /** The beam stands still. */
    Spot,
    /** The beam rests at a few places and jumps between them (two squares against each other). */
    Dots,
    /** A straight line, the beam going along it and back. */
    Line,
    /** A line with a bend or a curve in it, the beam going along it and back: one bend, a flat arm and a
     * steep one (a diode on the tester), or a curve whose arms the eye cannot tell apart. */
    BentLine,
    /** A line with two bends, a flat arm between two steep ones, the beam going along it and back (a Zener
     * or a junction that breaks down the other way on the tester). */
    TwiceBentLine,
    Ellipse,
    Circle,
    /** Any other figure (signals of different frequencies, or a figure the amplifiers clip). */
    Other,
};

/** Thinner than this, in divisions, a trace is a line to the eye: about the width of the focused spot. */
inline constexpr double kLineWidthDivisions = 0.05;

/** A stretch of a bent line shorter than this, in divisions, is part of the bend, not an arm of its own. */
inline constexpr double kArmDivisions = 0.5;

/**
 * The shape of a swept trace from its heights at equal steps over one repeat (traceHeights): their sorted
 * values against those of a sine, a triangle and a square of the same extremes. A flat line when they span
 * less than kLineWidthDivisions; Other when they are clipped at the amplifiers' limit, since a clipped sine
 * draws a square.
 */
TraceShape shapeOfHeights(const QList<double> &heights);

/** A figure, as its points lie on the screen, in divisions. */
struct FigureShape
{
    FigureKind kind = FigureKind::Other;
    /** How many places the beam rests at, for Dots. */
    int dots = 0;
    /** The angle of the line's or the ellipse's long axis over the horizontal, anticlockwise positive, in
     * degrees from -90 to 90. */
    double tiltDegrees = 0.0;
    /** The figure's middle. */
    double centreX = 0.0;
    double centreY = 0.0;
    /** For Other, how many times the beam reaches the figure's top and its right-hand side while it closes:
     * a Lissajous figure's fy / fx is the first over the second. */
    int touchesTop = 0;
    int touchesSide = 0;
    /** For a bent line, where its steep arms stand across the face, left to right, in divisions: one for a
     * single bend, two for a line bent twice, none for a curve without clear arms. */
    QList<double> steepArms;
    /** With a single bend, whether the steep arm lies right of the flat one. */
    bool steepRight = false;
};

/**
 * The figure a trace of X-Y points draws, its points in the order the beam writes them over one repeat.
 * An ellipse is a figure all of whose points lie on the quadric its second moments give (x, y)ᵀ C⁻¹ (x, y)
 * = 2, which holds for x = a sin ωt, y = b sin(ωt + φ); a line has a second moment across it of nothing; a
 * figure the beam writes back along itself is the same path reflected in time about a turning point. Such
 * a figure's arms are its stretches running more across than up (flat) or more up than across (steep),
 * each at least kArmDivisions long; a bend lies between two of them.
 */
FigureShape shapeOfFigure(const Trace &trace);
