#pragma once

#include <QRgb>

/**
 * A pixel of a screen that the phosphor lights: clearly greener than the dark face, the graticule's lines
 * and the glass's glow round bright parts, as a trace of the opening brightness is along all its length.
 */
inline bool isPhosphorLit(QRgb c)
{
    return qGreen(c) >= 100 && qGreen(c) - qBlue(c) >= 40;
}
