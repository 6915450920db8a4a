#pragma once

#include <QString>

/**
 * Text written for the "Symbol" typeface: each byte of the Symbol encoding stands for a Greek
 * letter, an arrow or a mathematical sign. Mapping it to Unicode lets formulas and arrows read
 * right with any font.
 */
namespace SymbolFont {

/** The Unicode character the Symbol encoding puts at the code (0 to 255). */
char32_t toUnicode(unsigned char code);

/** Maps every character of a Symbol-encoded text (codes below 256; Unicode private-use F0xx too). */
QString toUnicode(const QString &symbolText);

} // namespace SymbolFont
