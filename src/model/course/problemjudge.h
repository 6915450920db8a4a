#pragma once

#include <QString>
#include <QStringView>

#include <optional>

/** The judgement of one answer. */
enum class Verdict { Right, Wrong };

/**
 * The answer key of the problems window and the rules that judge a typed answer. Pure functions:
 * any text, however long or strange, gets a verdict at once.
 */
namespace ProblemJudge {

/** How many problems there are, numbered from 1. */
inline constexpr int problemCount = 7;

/**
 * Reads a typed quantity: blanks around it ignored, an optional sign, decimal digits with at most one
 * decimal comma or point (no thousands separators, no exponent), then optionally the given unit,
 * with or without a blank before it and in any case. Nothing else may follow. Returns nothing for
 * any text that is not such a number, and for numbers too large to be finite.
 */
std::optional<double> readQuantity(QStringView text, QStringView unit = {});

/** Problem 1, the signal's peak voltage: exactly "10". */
Verdict judgeVoltage(QStringView answer);
/** Problem 2, the phase difference in degrees: exactly "60". */
Verdict judgePhaseDifference(QStringView answer);
/** Problem 3, the angle read from the ellipse: exactly "53" or "59". */
Verdict judgeEllipseAngle(QStringView answer);
/** Problem 4, the period in milliseconds: exactly "3". */
Verdict judgePeriod(QStringView answer);
/** Problem 5, the frequency: a number from 333 to 334, in hertz. */
Verdict judgeFrequency(QStringView answer);
/** Problem 6, the angular frequency: within 2 % of the one the figure shows, in rad/s. */
Verdict judgeAngularFrequency(QStringView answer);
/**
 * Problem 7, the three words written where the figure marks the amplitude, the period and the
 * phase: "amplitud", "periodo" and "fase", blanks around and case ignored; the accented and the
 * Valencian spellings of the period ("período", "periode", "període") count as well.
 */
Verdict judgeWords(QStringView amplitudeBox, QStringView periodBox, QStringView phaseBox);

/**
 * Judges problem 1 to 7 from the texts of its answer boxes (three for problem 7, in the order
 * amplitude, period, phase; one for the others). Missing boxes count as empty; an unknown problem
 * is wrong.
 */
Verdict judge(int problem, const QStringList &answers);

/** The angular frequency, in rad/s, that problem 6's figure shows. */
double expectedAngularFrequency();
/** The relative tolerance on problem 6's answer. */
inline constexpr double angularFrequencyTolerance = 0.02;
/** The accepted frequency range of problem 5, in hertz. */
inline constexpr double lowestFrequency = 333.0;
inline constexpr double highestFrequency = 334.0;

} // namespace ProblemJudge
