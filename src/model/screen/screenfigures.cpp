#include "screenfigures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

namespace {

/** How far, in the root mean square, sorted heights scaled to -1…1 may stand off a shape's own and still
 * be that shape: a twentieth of the half height, what the eye takes for the same curve. */
constexpr double kShapeTolerance = 0.06;
/** How far the quadric (x, y)ᵀ C⁻¹ (x, y) may stray from 2 at any point of an ellipse: 5 % of it. */
constexpr double kEllipseTolerance = 0.1;
/** A circle's two axes differ by at most this share of the longer one. */
constexpr double kCircleTolerance = 0.05;
/** Where the beam rests: the radius of a resting place, the share of the points one must hold, the most
 * places told apart, the share all of them together hold, and how far apart they lie at least. */
constexpr double kRestRadius = 0.1;
constexpr double kRestShare = 0.02;
constexpr int kMostRests = 6;
constexpr double kRestedShare = 0.9;
constexpr double kRestSpacing = 0.5;
/** A figure is told from at most this many of its points, evenly spread over its time: enough for every
 * test here, and a few hundred microseconds whatever the signals. */
constexpr qsizetype kMostFigurePoints = 2000;
/** An arm of a bent line is straight when its ends lie at least this share of its length apart; an arc
 * turning through 60° has them 0,95 of its length apart, a tester part's arms more. */
constexpr double kArmStraightness = 0.95;

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

/** The root-mean-square gap between sorted values and a shape's own sorted values at the same ranks. */
template <typename Quantile> double gapTo(const QList<double> &sorted, Quantile quantile)
{
    double sum = 0.0;
    const qsizetype n = sorted.size();
    for (qsizetype k = 0; k < n; ++k) {
        const double gap = sorted.at(k) - quantile((k + 0.5) / double(n));
        sum += gap * gap;
    }
    return std::sqrt(sum / double(n));
}

/** How many places the beam rests at and jumps between, or 0 when it does not. */
int restingPlaces(const QList<QPointF> &points)
{
    QList<QPointF> centres;
    QList<int> counts;
    qsizetype stray = 0;
    for (const QPointF &p : points) {
        qsizetype i = 0;
        while (i < centres.size() && distance(centres.at(i), p) > kRestRadius)
            ++i;
        if (i < centres.size()) {
            ++counts[i];
        } else if (centres.size() < 2 * kMostRests) {
            centres.append(p);
            counts.append(1);
        } else if (++stray > (1.0 - kRestedShare) * points.size()) {
            return 0; // the beam goes everywhere
        }
    }
    QList<QPointF> places;
    qsizetype held = 0;
    for (qsizetype i = 0; i < centres.size(); ++i) {
        if (counts.at(i) >= kRestShare * points.size()) {
            places.append(centres.at(i));
            held += counts.at(i);
        }
    }
    if (places.size() < 2 || places.size() > kMostRests || held < kRestedShare * points.size())
        return 0;
    for (qsizetype i = 0; i < places.size(); ++i)
        for (qsizetype j = i + 1; j < places.size(); ++j)
            if (distance(places.at(i), places.at(j)) < kRestSpacing)
                return 0;
    return int(places.size());
}

/** Where the beam turns back to write the path along itself, or nothing when it does not: reflected in
 * time about the turning point, where the beam moves least, every point meets its twin to within a step of
 * the path. */
std::optional<qsizetype> turningPoint(const QList<QPointF> &points)
{
    const qsizetype n = points.size();
    if (n < 8)
        return std::nullopt;
    const auto at = [&](qsizetype i) { return points.at(((i % n) + n) % n); };
    double longestStep = 0.0;
    qsizetype turn = 0;
    double slowest = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < n; ++i) {
        longestStep = std::max(longestStep, distance(at(i), at(i + 1)));
        const double speed = distance(at(i - 1), at(i + 1));
        if (speed < slowest) {
            slowest = speed;
            turn = i;
        }
    }
    for (qsizetype j = 1; j <= n / 2; ++j)
        if (distance(at(turn + j), at(turn - j)) > longestStep + kLineWidthDivisions)
            return std::nullopt;
    return turn;
}

/** A stretch of a bent line running one way: its ends, its length and where it stands across, weighted by
 * length. */
struct Arm
{
    bool steep = false;
    QPointF from;
    QPointF to;
    double length = 0.0;
    double weightedX = 0.0;

    double meanX() const { return weightedX / length; }
    /** Nearly as long from end to end as along itself: a straight arm, not a stretch of a curve. */
    bool straight() const { return distance(from, to) >= kArmStraightness * length; }
    void join(const Arm &other)
    {
        to = other.to;
        length += other.length;
        weightedX += other.weightedX;
    }
};

/** The arms of a retraced path, along the half of it from the turning point to the other end. */
QList<Arm> armsOf(const QList<QPointF> &points, qsizetype turn)
{
    const qsizetype n = points.size();
    const auto at = [&](qsizetype i) { return points.at(((i % n) + n) % n); };
    QList<Arm> steps;
    for (qsizetype j = 0; j < n / 2; ++j) {
        const QPointF a = at(turn + j);
        const QPointF b = at(turn + j + 1);
        const double length = distance(a, b);
        if (!(length > 0.0))
            continue;
        const Arm step { std::abs(b.y() - a.y()) > std::abs(b.x() - a.x()), a, b, length,
            length * (a.x() + b.x()) / 2.0 };
        if (!steps.isEmpty() && steps.last().steep == step.steep)
            steps.last().join(step);
        else
            steps.append(step);
    }
    // What is too short to be an arm belongs to the bend; the arms either side of it may then be one.
    QList<Arm> arms;
    for (const Arm &arm : std::as_const(steps)) {
        if (arm.length < kArmDivisions)
            continue;
        if (!arms.isEmpty() && arms.last().steep == arm.steep)
            arms.last().join(arm);
        else
            arms.append(arm);
    }
    return arms;
}

/** A retraced path's bends: one between a flat arm and a steep one, two where a flat arm lies between two
 * steep ones; any other path keeps no arms. */
void readBends(const QList<QPointF> &points, qsizetype turn, FigureShape &shape)
{
    const QList<Arm> arms = armsOf(points, turn);
    // A parabola's arc has a flat middle and steep ends too, but they curve into each other: no bends.
    if (!std::all_of(arms.cbegin(), arms.cend(), [](const Arm &arm) { return arm.straight(); }))
        return;
    if (arms.size() == 2) {
        const Arm &steep = arms.at(0).steep ? arms.at(0) : arms.at(1);
        const Arm &flat = arms.at(0).steep ? arms.at(1) : arms.at(0);
        shape.steepArms = { steep.meanX() };
        shape.steepRight = steep.meanX() > flat.meanX();
    } else if (arms.size() == 3 && arms.at(0).steep && arms.at(2).steep) {
        shape.kind = FigureKind::TwiceBentLine;
        shape.steepArms = { arms.at(0).meanX(), arms.at(2).meanX() };
        std::sort(shape.steepArms.begin(), shape.steepArms.end());
    }
}

/** How many times a closed path comes up to its highest value of a coordinate, within a line's width: each
 * cycle of the signal on that axis brings the beam there once. */
template <class Coordinate> int peaksAlong(const QList<QPointF> &points, Coordinate coordinate)
{
    const qsizetype n = points.size();
    const auto at = [&](qsizetype i) { return coordinate(points.at((i + n) % n)); };
    double highest = at(0);
    for (qsizetype i = 1; i < n; ++i)
        highest = std::max(highest, at(i));
    int peaks = 0;
    for (qsizetype i = 0; i < n; ++i)
        peaks += at(i) > at(i - 1) && at(i) >= at(i + 1) && at(i) >= highest - kLineWidthDivisions;
    return peaks;
}

} // namespace

TraceShape shapeOfHeights(const QList<double> &heights)
{
    if (heights.isEmpty())
        return TraceShape::Other;
    QList<double> sorted = heights;
    std::sort(sorted.begin(), sorted.end());
    const double low = sorted.first();
    const double high = sorted.last();
    if (high - low < kLineWidthDivisions)
        return TraceShape::FlatLine;
    if (high >= ScreenGeometry::amplifierLimit - 1e-9 || low <= -ScreenGeometry::amplifierLimit + 1e-9)
        return TraceShape::Other;
    for (double &h : sorted)
        h = (2.0 * h - high - low) / (high - low);
    // The values a shape takes at a rank p of its time: a sine's are -cos πp, a triangle's rise evenly, a
    // square's are its two levels.
    const std::pair<TraceShape, double> gaps[] = {
        { TraceShape::Sine, gapTo(sorted, [](double p) { return -std::cos(std::numbers::pi * p); }) },
        { TraceShape::Triangle, gapTo(sorted, [](double p) { return 2.0 * p - 1.0; }) },
        { TraceShape::Square, gapTo(sorted, [](double p) { return p < 0.5 ? -1.0 : 1.0; }) },
    };
    const auto best = std::min_element(
        std::begin(gaps), std::end(gaps), [](const auto &a, const auto &b) { return a.second < b.second; });
    return best->second <= kShapeTolerance ? best->first : TraceShape::Other;
}

FigureShape shapeOfFigure(const Trace &trace)
{
    FigureShape shape;
    QList<QPointF> points;
    qsizetype count = trace.points.size();
    // A closed figure's last point is its first again.
    if (count > 2 && distance(trace.points.first(), trace.points.last()) < 1e-9)
        --count;
    const qsizetype stride = (count + kMostFigurePoints - 1) / kMostFigurePoints;
    points.reserve(count / std::max<qsizetype>(1, stride) + 1);
    for (qsizetype i = 0; i < count; i += stride)
        points.append(trace.points.at(i));
    if (points.isEmpty())
        return shape;
    const QRectF bounds = traceBounds(trace);
    shape.centreX = bounds.center().x();
    shape.centreY = bounds.center().y();
    if (bounds.width() < kLineWidthDivisions && bounds.height() < kLineWidthDivisions) {
        shape.kind = FigureKind::Spot;
        return shape;
    }
    if (const int dots = restingPlaces(points)) {
        shape.kind = FigureKind::Dots;
        shape.dots = dots;
        return shape;
    }
    // The second moments about the mean, and the axes they give.
    double mx = 0.0;
    double my = 0.0;
    for (const QPointF &p : points) {
        mx += p.x();
        my += p.y();
    }
    const double n = double(points.size());
    mx /= n;
    my /= n;
    double cxx = 0.0;
    double cyy = 0.0;
    double cxy = 0.0;
    for (const QPointF &p : points) {
        cxx += (p.x() - mx) * (p.x() - mx);
        cyy += (p.y() - my) * (p.y() - my);
        cxy += (p.x() - mx) * (p.y() - my);
    }
    cxx /= n;
    cyy /= n;
    cxy /= n;
    const double half = std::hypot((cxx - cyy) / 2.0, cxy);
    const double major = (cxx + cyy) / 2.0 + half;
    const double minor = std::max(0.0, (cxx + cyy) / 2.0 - half);
    shape.tiltDegrees = 0.5 * std::atan2(2.0 * cxy, cxx - cyy) * 180.0 / std::numbers::pi;
    // An ellipse's semi-axis along an axis of second moment λ is √(2λ).
    if (2.0 * std::sqrt(2.0 * minor) < kLineWidthDivisions) {
        shape.kind = FigureKind::Line;
        return shape;
    }
    if (const std::optional<qsizetype> turn = turningPoint(points)) {
        shape.kind = FigureKind::BentLine;
        readBends(points, *turn, shape);
        return shape;
    }
    const double determinant = cxx * cyy - cxy * cxy;
    bool ellipse = determinant > 0.0;
    for (qsizetype i = 0; ellipse && i < points.size(); ++i) {
        const double dx = points.at(i).x() - mx;
        const double dy = points.at(i).y() - my;
        const double q = (dx * dx * cyy - 2.0 * dx * dy * cxy + dy * dy * cxx) / determinant;
        ellipse = std::abs(q - 2.0) <= kEllipseTolerance;
    }
    if (!ellipse) {
        shape.touchesTop = peaksAlong(points, [](QPointF p) { return p.y(); });
        shape.touchesSide = peaksAlong(points, [](QPointF p) { return p.x(); });
        return shape;
    }
    const bool round = std::sqrt(major) - std::sqrt(minor) <= kCircleTolerance * std::sqrt(major);
    shape.kind = round ? FigureKind::Circle : FigureKind::Ellipse;
    return shape;
}
