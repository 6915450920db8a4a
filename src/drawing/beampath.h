#pragma once

#include "screentraces.h"

#include <QPointF>
#include <QPolygonF>

/** Where the tube face lies in a picture: the graticule's centre, the size of a division and TR's turn. */
struct FaceMapping
{
    /** The pixel of the screen's centre. */
    QPointF centre;
    double pixelsPerDivision = 1.0;
    /** TR: the whole picture turned this many degrees, anticlockwise positive. */
    double rotationDegrees = 0.0;

    /** The pixel a point given in divisions (y upwards) lands on. */
    QPointF toPixels(QPointF divisions) const;
};

/** How far the drawn path may stray from the beam's computed path, in pixels. */
inline constexpr double kBeamPathTolerance = 0.75;

/**
 * A trace as the beam draws it, in pixels, in the order the beam runs: every point the model computed
 * lies within kBeamPathTolerance of the drawn polyline, and the polyline goes nowhere the beam does
 * not. Runs of points within one narrow strip keep their ends and extremes, so a dense sweep costs a
 * few points a pixel column; then one straight stroke stands for every stretch it passes within a
 * fraction of a pixel of, so a smooth curve keeps a point every few pixels where it bends and a figure
 * drawn back and forth over itself (a straight X-Y line) keeps its full length and every turn.
 */
QPolygonF beamPolyline(const QList<QPointF> &points, const FaceMapping &mapping);
