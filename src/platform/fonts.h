#pragma once

#include <QFlags>
#include <QFont>
#include <QString>

/**
 * The typefaces named by the window descriptions, mapped to installed families with the same
 * metrics, at the pixel sizes the descriptions give (points at 96 dots per inch, or a character
 * height in pixels).
 */
namespace Fonts {

enum class Style { Regular = 0x0, Bold = 0x1, Italic = 0x2, Underline = 0x4, StrikeOut = 0x8 };
Q_DECLARE_FLAGS(Styles, Style)

/** The installed family that stands in for a face name ("Times New Roman", "MS Sans Serif", ...). */
QString family(const QString &face);

/** A font of the given face and point size, drawn at points * 96 / 72 pixels. */
QFont points(const QString &face, int pointSize, Styles styles = Style::Regular);

/** A font of the given face whose characters are the given number of pixels high. */
QFont pixels(const QString &face, int characterHeight, Styles styles = Style::Regular);

/** The windows' standard font: "MS Sans Serif", 8 point. */
QFont standard(Styles styles = Style::Regular);

} // namespace Fonts

Q_DECLARE_OPERATORS_FOR_FLAGS(Fonts::Styles)
