#pragma once

#include "frontpanelmodel.h"

#include <QColor>
#include <QImage>

class QPainter;

/**
 * Draws a FrontPanelModel so that it reads as a photograph of the instrument: textured panel,
 * soft shadows from a light above and to the left, knobs with skirts and pointer lines, push
 * buttons that can be pressed in, connectors, a lamp that can be lit, and the screen with its
 * graticule and traces.
 */
class FrontPanelPainter
{
public:
    /** Draws the whole model in its own coordinates (0, 0 .. size). */
    static void paint(QPainter &p, const FrontPanelModel &model);
    /** The model drawn on a picture of the model's size. */
    static QImage render(const FrontPanelModel &model);
    /** The printed panel's base colour, before its faint texture. */
    static QColor faceColour();
    /** The square of graticule divisions on the screen, 10 × 8 divisions, in picture coordinates. */
    static QRectF graticule(const PanelScreen &screen);
    /** Where the print stands: the bounding box of every control's name and printed position. */
    static QList<QRectF> printBoxes(const FrontPanelModel &model);
};
