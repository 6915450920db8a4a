#pragma once

#include "wording.h"

#include <QString>

/**
 * The units a screen reader's voice is given in words. Synthesisers read symbols badly: espeak-ng's
 * Spanish voice says "µs" as the English "micro", drops a hyphen before a number and says "−" and "×"
 * in English or not at all. So what a voice is to say carries its units, signs and factors as words.
 */
enum class SpokenUnit {
    /** The number alone (a trimmer's setting, a ratio). */
    None,
    Second,
    Volt,
    /** Volts from peak to peak. */
    VoltPeakToPeak,
    /** Effective (rms) volts. */
    VoltRms,
    Hertz,
    Degree,
    Division,
    Percent,
};

/**
 * A number as it is written for the eye, followed by its unit in words: "0,2 milisegundos",
 * "1 voltio", "0,5 voltios", "70 por ciento", "1000 hertzs". exponent is the power of ten of the
 * unit's prefix (−9, −6, −3, 0 or 3). The unit is singular only after a bare 1 ("1 voltio",
 * "1,0 divisiones"), as the grammars of both languages have it. A minus sign or hyphen before the
 * number is said as a word ("menos 1,00 voltios", "menys 1,00 volts"); a plus sign is dropped.
 */
QString spokenQuantity(const QString &number, SpokenUnit unit, Language language, int exponent = 0);

/** "por división" or "per divisió": what follows a scale's unit. */
QString spokenPerDivision(Language language);

/** A symbol a voice spells out rather than reads as a word ("AC" is heard as the syllable "ac"): its
 * letters apart, "A C". */
QString spelledOut(const QString &symbol);
