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

/**
 * Reads the system's font configuration and the caches of the installed fonts, which the first text
 * laid out would otherwise read: dozens of configuration files on every start. Safe on any thread
 * and before the application object exists, so start-up can do it on another core while it
 * connects to the display; the font database then finds it done.
 */
void readConfiguration();

/** The installed family that stands in for a face name ("Times New Roman", "MS Sans Serif", ...). */
QString family(const QString &face);

/** A font of the given face and point size, drawn at points * 96 / 72 pixels. */
QFont points(const QString &face, int pointSize, Styles styles = Style::Regular);

/** A font of the given face whose characters are the given number of pixels high. */
QFont pixels(const QString &face, int characterHeight, Styles styles = Style::Regular);

/**
 * The font with its letters set just close enough together for the text to take no more than the
 * given width; the font itself when the text already fits. Lines written for the narrower faces of
 * the original design stay whole and legible instead of losing their ends at a panel's or a
 * window's edge. Letters come closer by at most half a pixel, then the face is condensed to 85 %.
 */
QFont fitted(const QFont &font, const QString &text, int width);

/** The windows' standard font: "MS Sans Serif", 8 point. */
QFont standard(Styles styles = Style::Regular);

} // namespace Fonts

Q_DECLARE_OPERATORS_FOR_FLAGS(Fonts::Styles)
