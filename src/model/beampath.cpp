#include "beampath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

/**
 * The width of the strips in which runs of points are cut down to their ends, lowest and highest one:
 * every point left out lies in the strip, between the lowest and the highest, so within this of the
 * stroke that joins them.
 */
constexpr double kStripWidth = 0.5;
/** Points closer than this to the last one kept add nothing a pixel can show. */
constexpr double kMergeDistance = kBeamPathTolerance - kStripWidth;

} // namespace

QPointF FaceMapping::toPixels(QPointF divisions) const
{
    const double turn = rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    return centre
        + QPointF(divisions.x() * c - divisions.y() * s, -(divisions.x() * s + divisions.y() * c))
        * pixelsPerDivision;
}

QPolygonF beamPolyline(const QList<QPointF> &points, const FaceMapping &mapping)
{
    const double turn = mapping.rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(turn) * mapping.pixelsPerDivision;
    const double s = std::sin(turn) * mapping.pixelsPerDivision;
    QPolygonF pixels;
    pixels.reserve(points.size());
    for (const QPointF &p : points)
        pixels << mapping.centre + QPointF(p.x() * c - p.y() * s, -(p.x() * s + p.y() * c));

    QPolygonF strips;
    strips.reserve(pixels.size());
    // Runs of successive points in one narrow vertical strip keep their ends and their lowest and highest
    // point, in the order the beam reaches them: a sweep crossing a pixel column many times becomes one
    // stroke up it, and a jump to a far strip still leaves from where the beam does.
    qsizetype i = 0;
    while (i < pixels.size()) {
        const double strip = std::floor(pixels.at(i).x() / kStripWidth);
        qsizetype lowAt = i;
        qsizetype highAt = i;
        qsizetype next = i + 1;
        for (; next < pixels.size() && std::floor(pixels.at(next).x() / kStripWidth) == strip; ++next) {
            if (pixels.at(next).y() < pixels.at(lowAt).y())
                lowAt = next;
            if (pixels.at(next).y() > pixels.at(highAt).y())
                highAt = next;
        }
        const qsizetype kept[] { i, std::min(lowAt, highAt), std::max(lowAt, highAt), next - 1 };
        qsizetype previous = -1;
        for (qsizetype k : kept) {
            if (k != previous)
                strips << pixels.at(k);
            previous = k;
        }
        i = next;
    }
    if (strips.isEmpty())
        return strips;
    // Then points that lie on top of the last one kept go; the last point stays unless it is the very
    // one kept before it, so the path ends where the beam does, and a beam that never moves is one spot.
    QPolygonF kept;
    kept.reserve(strips.size());
    kept << strips.first();
    for (qsizetype k = 1; k < strips.size(); ++k) {
        const QPointF d = strips.at(k) - kept.last();
        const double apart = std::hypot(d.x(), d.y());
        if (apart > kMergeDistance || (k + 1 == strips.size() && apart > 0.0))
            kept << strips.at(k);
    }
    return kept;
}
