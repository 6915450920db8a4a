#pragma once

#include "scopesettings.h"

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

/**
 * What the pictures of the questions and problems show, as settings of the instrument, so that a
 * figure and the answer it illustrates come from one place.
 */
namespace ExerciseFigures {

/** The size of problems 1 to 6's screens. */
inline constexpr QSize problemScreenSize(300, 246);

/**
 * The screen of a problem, 1 to 7: problem 1 a sine of 10 V peak at 5 V/div and 0.2 ms/div;
 * problem 2 two sines 60° apart at 0.1 ms/div; problem 3 an X-Y ellipse whose crossings of the
 * vertical axis stand a = 4 div apart in a height of b = 5 div (sin φ = a / b, φ ≈ 53°); problem 4 a
 * period of 3 div at 1 ms/div; problem 5 a triangle of period 3 ms; problem 6 a period of 6 ms at
 * 1 ms/div; problem 7 a sine whose trace starts 60° before its rising zero crossing.
 */
ScopeSettings problemScreen(int problem);

/** Question 2's screen: an X-Y ellipse of two signals 45° apart. */
ScopeSettings ellipseScreen();
/** One of question 6's X-Y figures: two equal sines the given number of degrees apart. */
ScopeSettings lissajousScreen(double phaseDegrees);
/** The four phase differences of question 6's figures, left to right; option 2 names them in this order. */
inline constexpr double lissajousPhases[4] = { 0.0, 35.0, 90.0, 180.0 };
/** Question 7's two screens of one sine, triggered at two levels (index 0 at 0 V, index 1 higher). */
ScopeSettings triggerLevelScreen(int index);

/** Where problem 3's ellipse crosses the vertical axis (a, in divisions between the crossings) and its
 * height (b, in divisions). */
inline constexpr double ellipseChord = 4.0;
inline constexpr double ellipseHeight = 5.0;

/**
 * Problem 7's figure: the screen in the middle of a white picture, with the amplitude marked on its
 * right, the period under it and the phase above it, each with an answer box beside its mark. All
 * rectangles are in the picture's pixels.
 */
struct SineFigure
{
    QSize size;
    /** Where the screen is drawn (without bezel); its graticule sits inside at graticule(). */
    QRectF screenTarget;
    /** The graticule's outer lines: 10 by 8 divisions of pixelsPerDivision each. */
    QRectF graticule;
    /** The boxes for the amplitude, the period and the phase. */
    QRect amplitudeBox;
    QRect periodBox;
    QRect phaseBox;

    /** A point given in divisions (origin at the screen's centre, y upwards) in the picture's pixels. */
    QPointF toPixels(QPointF divisions) const;
};
SineFigure sineFigure();

/** The marks of problem 7's sine in divisions: the zero level, its peak, two rising zero crossings one
 * period apart, and the start of the trace at the left edge. */
struct SineMarks
{
    double peakX;
    double peakY;
    double firstRisingX;
    double secondRisingX;
    double startX;
};
SineMarks sineMarks();

} // namespace ExerciseFigures
