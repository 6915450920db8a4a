#pragma once

#include <QStringView>

/**
 * The access code of the self-evaluation.
 *
 * A code opens the questionnaire when it is exactly eight decimal digits ("0" to "9", nothing else:
 * no blanks, signs or digits of other scripts) and lies strictly between "24681357" and "86420975".
 * Between codes of eight such digits the order of the texts is the order of their values, so the
 * bounds read as numbers and are both refused.
 */
namespace AccessCode {

/** The lowest refused code below the accepted range. */
inline constexpr char16_t kLowerBound[] = u"24681357";
/** The lowest refused code above the accepted range. */
inline constexpr char16_t kUpperBound[] = u"86420975";
/** How many digits an access code has. */
inline constexpr int kLength = 8;

/** Whether the typed text, exactly as typed, opens the questionnaire. */
bool accepts(QStringView typed);

} // namespace AccessCode
