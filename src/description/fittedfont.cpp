#include "fittedfont.h"

#include <QFontMetrics>

QFont fittedFont(const QFont &font, const QString &text, int width)
{
    if (text.isEmpty() || QFontMetrics(font).horizontalAdvance(text) <= width)
        return font;
    // A tenth of a pixel at a time, and never more than half a pixel: a tighter line would be
    // harder to read than one whose last letters are cut.
    QFont tighter = font;
    for (int tenths = 1; tenths <= 5; ++tenths) {
        tighter.setLetterSpacing(QFont::AbsoluteSpacing, -tenths / 10.0);
        if (QFontMetrics(tighter).horizontalAdvance(text) <= width)
            break;
    }
    return tighter;
}
