#pragma once

#include <QFont>
#include <QString>

/**
 * The font with its letters set just close enough together for the text to take no more than
 * the given width; the font itself when the text already fits. Lines written for a narrower
 * screen face stay whole and legible instead of losing their ends at a panel's or a window's edge.
 */
QFont fittedFont(const QFont &font, const QString &text, int width);
