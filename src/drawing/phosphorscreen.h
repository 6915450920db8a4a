#pragma once

#include "beamwriting.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <climits>
#include <functional>

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

/** How the beam meets the face: its current and the spot it makes. */
struct BeamSpot
{
    /** The beam current: 0 (INTENS at its minimum, no light) to 1 (at its stop). */
    double current = 0.0;
    /** The spot's spread (one standard deviation of its profile), in divisions. */
    double spreadDivisions = 0.03;
};

/**
 * Traces given without their timing, written as a sweep writes them: evenly in time along their points,
 * steady, for the share of the time the opening picture's sweep is written.
 */
BeamWriting sweptWriting(const QList<Trace> &traces);

/**
 * The face of the tube as a phosphor. It takes the energy the beam leaves, the current times the time
 * the spot spends over each point, integrated along the beam's path in time and spread by the spot's
 * profile; it fades with the afterglow; and it gives light as a saturating function of the energy
 * stored, green at first and whiter as it saturates, with the halation of the glass round bright parts.
 * The same face draws the live screen and every prepared screen picture.
 */
class PhosphorScreen
{
public:
    /** A face of the given size in pixels; the mapping places the screen's divisions on it. */
    void setGeometry(QSize pixels, const FaceMapping &mapping);
    QSize size() const { return m_outSize; }
    const FaceMapping &mapping() const { return m_outMapping; }

    /** Everything fades at once: a face that was never written. */
    void clear();
    /** Time passes: what the face holds fades by the afterglow. */
    void fade(double seconds);
    /**
     * Adds what the beam writes with this current and spot. A steady writing is taken as it is (the
     * strokes already hold an afterglow time of repeats); the strokes of a moving one have faded by the
     * time now, each by its own age.
     */
    void write(const BeamWriting &writing, const BeamSpot &spot, double now = 0.0);

    /** The light the face gives: a premultiplied picture of the face's size, to add to the dark face. */
    QImage light() const;
    /** Draws the light onto a painter whose face fills target, adding it to what is there. */
    void paint(class QPainter &painter, const QRectF &target) const;

    /** The energy stored on a pixel, per square division of the face (current × seconds). */
    double energyAt(QPoint pixel) const;
    /** The energy the whole face holds, current × seconds: what the beam left, less what faded. */
    double totalEnergy() const;
    /** The stored energy at which the phosphor has given 63 % of all the light it can. */
    static double saturationEnergy();

private:
    /** Where a point in divisions lands on the fine face. */
    QPointF toFine(QPointF divisions) const
    {
        return m_mapping.centre
            + QPointF(divisions.x() * m_cos - divisions.y() * m_sin,
                -(divisions.x() * m_sin + divisions.y() * m_cos));
    }
    void splat(QPointF pixel, double energy);
    void depositSegment(QPointF a, QPointF b, double energy);
    void depositBand(const BeamStroke &stroke, double weight, const std::function<double(double)> &faded);
    void spreadFresh(double sigmaPixels);

    QSize m_outSize;
    FaceMapping m_outMapping;
    /** The face is lit this many times finer than its pixels, each way, for spots thinner than a pixel. */
    int m_over = 1;
    QSize m_size;
    FaceMapping m_mapping;
    /** TR's turn, times the fine face's pixels a division. */
    double m_cos = 1.0;
    double m_sin = 0.0;
    /** Energy per pixel (current × seconds), spread by the spot. */
    QList<float> m_energy;
    /** This write's energy, before the spot spreads it. */
    QList<float> m_fresh;
    /** The pixels this write has reached so far, corner to corner; empty while right < left. */
    int m_freshLeft = INT_MAX;
    int m_freshTop = INT_MAX;
    int m_freshRight = -1;
    int m_freshBottom = -1;
    QRect m_litArea;
};
