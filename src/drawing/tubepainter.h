#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

class QPainter;

/**
 * Where the parts of a cathode-ray tube seen from the side lie, in the picture's coordinates.
 * The beam runs along axisY from the gun on the left to the screen on the right.
 */
struct TubeLayout
{
    QSizeF size;
    qreal axisY = 0;
    /** Glass neck: from its closed left end to where the funnel begins; half its outer height. */
    qreal neckLeft = 0;
    qreal neckRight = 0;
    qreal neckHalfHeight = 0;
    /** The screen: its rim's x, half its height, and how far its face bulges out at the centre. */
    qreal screenX = 0;
    qreal screenHalfHeight = 0;
    qreal screenBulge = 0;
    /** The parts, each the rectangle it is drawn in. */
    QRectF base;
    QRectF filament;
    QRectF cathode;
    QRectF grid;
    QRectF focusAnode;
    QRectF acceleratingAnode;
    /** The pair above and below the beam, which moves the spot up and down. */
    QRectF verticalPlates;
    /** The pair on either side of the beam, which moves the spot sideways; drawn in perspective. */
    QRectF horizontalPlates;
    /** Optional: the pre-accelerating electrode between the grid and the focusing electrode. */
    QRectF preAccelerator;
    /** Optional: the final accelerator's connector on the funnel, over the graphite coating it feeds. */
    QRectF finalAnodeCap;

    QRectF anodes() const { return focusAnode.united(acceleratingAnode); }
    QRectF plates() const { return verticalPlates.united(horizontalPlates); }
    /** The screen's glass, rim to bulge. */
    QRectF screen() const;
};

/** What the tube is doing. */
struct TubeState
{
    /** The spot's height on the screen, from -1 (bottom edge) to 1 (top edge). */
    qreal verticalDeflection = 0;
    /** The spot's sideways place, from -1 to 1; in side view it moves across the face's thickness. */
    qreal horizontalDeflection = 0;
    bool beamOn = true;
    bool heaterGlow = true;
    /** Print "+" and "-" on the vertical plates, the plus on the side the beam bends to. */
    bool plateCharges = false;
    /** Print "Pv" and "Ph" over the two pairs of plates. */
    bool plateNames = true;
};

/** The tube of the cathode-ray-tube description: 536 × 268, gun on the left, screen on the right. */
TubeLayout descriptionTubeLayout();

/** Draws a cathode-ray tube in side view: glass, electron gun, plates, the beam as a dashed line, the glowing
 * spot. */
class TubePainter
{
public:
    static void paint(QPainter &p, const TubeLayout &layout, const TubeState &state);
    /** The tube on a white picture of the layout's size. */
    static QImage render(const TubeLayout &layout, const TubeState &state);
    /** Where the beam strikes the screen. */
    static QPointF spotPosition(const TubeLayout &layout, const TubeState &state);
    /** The beam's path from the grid's aperture to the spot. */
    static QPainterPath beamPath(const TubeLayout &layout, const TubeState &state);
};
