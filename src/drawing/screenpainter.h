#pragma once

#include "screentraces.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

/** How a screen is dressed: with or without the bezel around the tube face and the scale line under it. */
struct ScreenOptions
{
    /** Draws the dark instrument bezel round the face; without it the face fills the target. */
    bool bezel = true;
    /** Writes a scale line (for instance "2 V/div   0,2 ms/div") in a strip under the face. */
    bool scaleLegend = false;
    /** The scale line; when empty and scaleLegend is set, the settings' own scale line is used. */
    QString legendText;
};

/**
 * Draws the HM-203's screen at any size: the dark tube face, the 10 by 8 division graticule
 * with the fine ticks on its centre lines, and the phosphor lit by what the beam writes (the same face
 * as the live screen's). Traces that leave the face are cut off at its edge.
 */
class ScreenPainter
{
public:
    /** Draws the screen for a setting of the instrument into target. */
    static void paint(QPainter &painter, const QRectF &target, const ScopeSettings &settings,
        const ScreenOptions &options = {});
    /** Draws the screen with traces computed elsewhere (the legend then comes from the options only). */
    static void paintTraces(QPainter &painter, const QRectF &target, const ScreenTraces &traces,
        const ScreenOptions &options = {});
    /** A finished picture of a screen. */
    static QImage render(const ScopeSettings &settings, QSize size, const ScreenOptions &options = {});

    /** Where the graticule's outer lines fall inside target, in pixels; a whole number of pixels per division
     * when it can. */
    static QRectF graticuleRect(const QRectF &target, const ScreenOptions &options = {});
    /** The pixel position of a point given in divisions (origin at the centre, y upwards). */
    static QPointF toPixels(const QRectF &graticule, QPointF divisions);
};
