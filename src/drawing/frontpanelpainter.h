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
    /** Everything that never moves: the panel, shadows, plates, the empty screen, and all the print. */
    static void paintBackground(QPainter &p, const FrontPanelModel &model);
    /** One control's body in its present state, over the background. */
    static void paintControl(QPainter &p, const PanelControl &control);
    /** A window's reflection on the screen's glass, drawn over whatever the face shows. */
    static void paintGlass(QPainter &p, const PanelScreen &screen);
    /** The rectangle a control's drawing stays inside, its body and what it prints beside it. */
    static QRectF controlBounds(const PanelControl &control);
    /** The model drawn on a picture of the model's size. */
    static QImage render(const FrontPanelModel &model);
    /** The printed panel's base colour, before its faint texture. */
    static QColor faceColour();
    /** The square of graticule divisions on the screen, 10 × 8 divisions, in picture coordinates. */
    static QRectF graticule(const PanelScreen &screen);
    /** Where the print stands: the bounding box of every control's name and printed position. */
    static QList<QRectF> printBoxes(const FrontPanelModel &model);
};
