#pragma once

#include <QString>

/** Which zeros at the end of a number's decimals are written. */
enum class TrailingZeros {
    /** "0,5", "2": only the digits the value needs. */
    Drop,
    /** "0,50", "2,00": every place asked for, so that a column of readings lines up. */
    Keep,
    /** "0,50", "2": every place asked for, but a whole number stands bare. */
    KeepUnlessWhole,
};

/** How a number is rounded and written for the student. */
struct DecimalStyle
{
    /** The places after the comma the number is rounded to. */
    int decimals = 1;
    /**
     * When above zero, the number is rounded to this many significant digits instead, written with the
     * fewest digits it needs whatever zeros says, and numbers too large or too small for that many digits
     * go over to an exponent ("1e+06"), as a calculator shows them.
     */
    int significantDigits = 0;
    TrailingZeros zeros = TrailingZeros::Drop;
    /**
     * Writes "+" before a positive number and the true minus sign "−" before a negative one: speech
     * synthesisers read it as a word where they skip a hyphen. Without it a negative number takes the
     * hyphen a student types.
     */
    bool signShown = false;
    /**
     * With significantDigits, never goes over to an exponent: the number is written out in full, as a
     * student types it ("1000000", "0,0000025").
     */
    bool plainDigits = false;
};

/**
 * A number as the student reads it, in either language: both write a decimal comma. A number that rounds
 * to zero is written as zero, never "-0", and has no sign.
 */
QString formatDecimal(double value, const DecimalStyle &style = {});

/** A number with exactly this many places after the comma, zeros kept: "1,50", "-0,5", "12". */
QString fixedDecimal(double value, int decimals);
/** The number fixedDecimal writes, as a number: what a reader takes from the text. */
double fixedDecimalValue(double value, int decimals);

/** How many periods a trace shows, as the words and the verdicts both say it: a tenth below ten ("2,5"),
 * whole numbers from there on ("1000"). */
QString formatPeriodCount(double periods);
