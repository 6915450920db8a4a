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
/** How far a straight stroke may pass from the points it stands for. */
constexpr double kSleeve = kBeamPathTolerance - kStripWidth;

double cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

/**
 * The fewest points, in order, whose straight strokes pass within kSleeve of every point of a path:
 * from each point kept, the stroke runs on as long as one direction out of it still passes that close
 * to every point on the way and the path keeps moving away (a path that turns back keeps its turn).
 */
QPolygonF sleeved(const QPolygonF &path)
{
    if (path.isEmpty())
        return path;
    QPolygonF kept;
    kept << path.first();
    qsizetype next = 1;
    while (next < path.size()) {
        const QPointF anchor = kept.last();
        // The directions out of the anchor that pass close enough to every point so far, between lo and
        // hi anticlockwise; open once a point stands far enough away to narrow them.
        QPointF lo;
        QPointF hi;
        bool open = false;
        double reach = 0.0;
        qsizetype end = next;
        for (; end < path.size(); ++end) {
            const QPointF v = path.at(end) - anchor;
            const double d = std::hypot(v.x(), v.y());
            if (d <= kSleeve && reach <= kSleeve)
                continue;
            if (d < reach)
                break;
            const QPointF u = v / d;
            if (open && (cross(lo, u) < 0.0 || cross(u, hi) < 0.0))
                break;
            const double s = kSleeve / d;
            const double c = std::sqrt(1.0 - s * s);
            const QPointF a(u.x() * c + u.y() * s, u.y() * c - u.x() * s);
            const QPointF b(u.x() * c - u.y() * s, u.y() * c + u.x() * s);
            if (!open || cross(lo, a) > 0.0)
                lo = a;
            if (!open || cross(b, hi) > 0.0)
                hi = b;
            open = true;
            reach = d;
        }
        const qsizetype last = end - 1;
        kept << path.at(last);
        next = last + 1;
    }
    // A beam that never moves writes one spot.
    if (kept.size() == 2) {
        const QPointF d = kept.last() - kept.first();
        if (std::hypot(d.x(), d.y()) <= kSleeve)
            kept.removeLast();
    }
    return kept;
}

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
    // Then straight strokes stand for whatever lies within a fraction of a pixel of them.
    return sleeved(strips);
}
