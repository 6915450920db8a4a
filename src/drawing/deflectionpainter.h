#pragma once

#include "deflectiondemo.h"

#include <QImage>
#include <QPainter>
#include <QRectF>

/**
 * Draws one frame of the spot-deflection demonstration: the tube in side view with its gun, the
 * vertical-deflection plates (Pv) and the horizontal-deflection plates (Ph), the beam and the
 * spot; beside it the screen seen from the front; under both, the plate voltages and the
 * deflections they give. Charged plates carry their signs, + in red and − in blue.
 */
class DeflectionPainter
{
public:
    /** Draws a frame into target, scaled from its 282 by 114 layout. */
    static void paint(QPainter &painter, const QRectF &target, const DeflectionDemo::Frame &frame);
    /** A finished picture of a frame. */
    static QImage render(const DeflectionDemo::Frame &frame, QSize size);

    /** Where the spot of a frame falls in the front view, in layout pixels of the 282 by 114 frame. */
    static QPointF frontSpot(QPointF spotCm);
    /** The centre of the front view's screen, in layout pixels. */
    static QPointF frontCentre();
    /** Layout pixels per centimetre in the front view. */
    static double frontPixelsPerCm();
};
