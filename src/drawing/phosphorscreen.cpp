#include "phosphorscreen.h"

#include "phosphortone.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>

namespace {

/**
 * The energy, per square division, at which the phosphor gives 63 % of the light it can: a line of the
 * opening picture (1 kHz at 0,2 ms/div, two thirds of the time written) stores about twice
 * this on its peaks, so it shines bright green, and a brighter one turns white.
 */
constexpr double kSaturationEnergy = 0.0022;
/** The halation: the glass's glow round bright parts, its spread in divisions and its strength. */
constexpr double kGlowSpread = 0.12;
constexpr double kGlowStrength = 0.03;
/** The glow is worked out on a face this many times coarser. */
constexpr int kGlowShrink = 4;
/** A sweep with more repeats than this a pixel column is lit as the band its heights fill. */
constexpr double kBandRepeatsPerColumn = 0.5;
/** A spot wider than this many pixels is spread on a coarser face, where it is this narrow again. */
constexpr double kWidestFineSpread = 1.5;
/** Below this density (in saturation energies) a pixel gives less light than the screen's faintest shade
 * (with its gamma, a few millionths of full light). */
constexpr double kNothingLeft = 5e-6;

} // namespace

using namespace PhosphorTone;

BeamWriting sweptWriting(const QList<Trace> &traces)
{
    // The opening picture's sweep is written two thirds of the time: 2 ms of every 3.
    constexpr double kWrittenShare = 2.0 / 3.0;
    constexpr double kWritten = kWrittenShare * Afterglow::seconds;
    BeamWriting writing;
    for (const Trace &trace : traces) {
        if (trace.points.size() < 2)
            continue;
        BeamStroke stroke;
        stroke.kind = trace.kind;
        stroke.points = trace.points;
        const qsizetype last = trace.points.size() - 1;
        const bool swept = trace.kind != TraceKind::XY
            && std::is_sorted(
                trace.points.begin(), trace.points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
        for (qsizetype i = 0; i <= last; ++i) {
            // A sweep crosses the ten divisions at an even pace, so a piece of one takes its share of the
            // time; a figure is written evenly along its points.
            const double share = swept
                ? (trace.points.at(i).x() + ScreenGeometry::halfWidth) / ScreenGeometry::columns
                : double(i) / last;
            stroke.times.append(kWritten * share);
        }
        writing.strokes.append(stroke);
    }
    return writing;
}

QPointF FaceMapping::toPixels(QPointF divisions) const
{
    const double turn = rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    return centre
        + QPointF(divisions.x() * c - divisions.y() * s, -(divisions.x() * s + divisions.y() * c))
        * pixelsPerDivision;
}

double PhosphorScreen::saturationEnergy()
{
    return kSaturationEnergy;
}

void PhosphorScreen::setGeometry(QSize pixels, const FaceMapping &mapping)
{
    m_outMapping = mapping;
    // A sharp spot thinner than the picture's pixels is lit at a finer grain, so that the phosphor
    // saturates where the spot is, not over a pixel's average.
    const double spot = Beam::sharpestSpot * mapping.pixelsPerDivision;
    const int over = spot < 0.6 ? std::min(4, int(std::ceil(0.9 / std::max(spot, 0.05)))) : 1;
    m_mapping
        = FaceMapping { mapping.centre * over, mapping.pixelsPerDivision * over, mapping.rotationDegrees };
    const double turn = mapping.rotationDegrees * std::numbers::pi / 180.0;
    m_cos = std::cos(turn) * m_mapping.pixelsPerDivision;
    m_sin = std::sin(turn) * m_mapping.pixelsPerDivision;
    const QSize out = pixels.expandedTo(QSize(1, 1));
    if (out != m_outSize || over != m_over) {
        m_outSize = out;
        m_over = over;
        m_size = out * over;
        m_energy = QList<float>(qsizetype(m_size.width()) * m_size.height(), 0.0f);
        m_fresh = m_energy;
        m_freshLeft = m_freshTop = INT_MAX;
        m_freshRight = m_freshBottom = -1;
        m_litArea = QRect();
    }
}

void PhosphorScreen::clear()
{
    if (!m_litArea.isEmpty())
        std::fill(m_energy.begin(), m_energy.end(), 0.0f);
    m_litArea = QRect();
}

void PhosphorScreen::fade(double seconds)
{
    if (m_litArea.isEmpty() || !(seconds > 0.0))
        return;
    const float keep = float(std::exp(-seconds / Afterglow::seconds));
    // What has faded below the faintest shade the screen can show is gone; the lit area shrinks to what
    // is left.
    const double ppd = m_mapping.pixelsPerDivision;
    const float gone = float(kNothingLeft * kSaturationEnergy / (ppd * ppd));
    int left = INT_MAX;
    int right = -1;
    int top = INT_MAX;
    int bottom = -1;
    for (int y = m_litArea.top(); y <= m_litArea.bottom(); ++y) {
        float *row = m_energy.data() + qsizetype(y) * m_size.width();
        bool any = false;
        for (int x = m_litArea.left(); x <= m_litArea.right(); ++x) {
            if (row[x] == 0.0f)
                continue;
            row[x] *= keep;
            if (row[x] < gone) {
                row[x] = 0.0f;
                continue;
            }
            any = true;
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (any) {
            top = std::min(top, y);
            bottom = y;
        }
    }
    m_litArea = right >= left ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

void PhosphorScreen::splat(QPointF pixel, double energy)
{
    // Pixel centres stand at half pixels: the energy is shared among the four nearest.
    const double fx = pixel.x() - 0.5;
    const double fy = pixel.y() - 0.5;
    const int w = m_size.width();
    const int h = m_size.height();
    if (!(fx >= -1.0 && fy >= -1.0 && fx < w && fy < h))
        return;
    const int x = int(std::floor(fx));
    const int y = int(std::floor(fy));
    const float kx = float(fx - x);
    const float ky = float(fy - y);
    const float e = float(energy);
    if (x >= 0 && y >= 0 && x + 1 < w && y + 1 < h) {
        float *p = m_fresh.data() + qsizetype(y) * w + x;
        p[0] += e * (1 - kx) * (1 - ky);
        p[1] += e * kx * (1 - ky);
        p[w] += e * (1 - kx) * ky;
        p[w + 1] += e * kx * ky;
    } else {
        const auto add = [&](int px, int py, float share) {
            if (px >= 0 && py >= 0 && px < w && py < h)
                m_fresh[qsizetype(py) * w + px] += e * share;
        };
        add(x, y, (1 - kx) * (1 - ky));
        add(x + 1, y, kx * (1 - ky));
        add(x, y + 1, (1 - kx) * ky);
        add(x + 1, y + 1, kx * ky);
    }
    m_freshLeft = std::min(m_freshLeft, std::max(0, x));
    m_freshTop = std::min(m_freshTop, std::max(0, y));
    m_freshRight = std::max(m_freshRight, std::min(w - 1, x + 1));
    m_freshBottom = std::max(m_freshBottom, std::min(h - 1, y + 1));
}

void PhosphorScreen::depositSegment(QPointF a, QPointF b, double energy)
{
    // The spot crosses the segment at an even pace: its energy lies evenly along it, half a pixel at a
    // time, however finely or coarsely the path was sampled.
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const int steps = std::max(1, int(std::ceil(length * 2.0)));
    const double share = energy / steps;
    for (int k = 0; k < steps; ++k)
        splat(a + d * ((k + 0.5) / steps), share);
}

void PhosphorScreen::depositBand(
    const BeamStroke &stroke, double weight, const std::function<double(double)> &faded)
{
    // Many repeats a pixel column: in each column the spot runs through the whole repeat many times, so
    // every column holds the same share of each height. Between two heights a step of time apart the spot
    // moves evenly, leaving that step's energy evenly over the rows it crosses; the turning points, where
    // it slows, come out brighter.
    const double ppd = m_mapping.pixelsPerDivision;
    const double rowStep = 1.0 / ppd;
    // Only what falls on the face (and a little beyond, for the spot's spread) is worth sharing out.
    const double reach = ScreenGeometry::halfWidth + 1.0;
    const double lowest = -reach;
    const int rows = int(std::ceil(2.0 * reach / rowStep));
    QList<double> profile(rows, 0.0);
    const qsizetype steps = stroke.repeatHeights.size();
    for (qsizetype i = 0; i < steps; ++i) {
        // The repeat closes on itself: its last height runs back to its first.
        const double a = (stroke.repeatHeights.at(i) - lowest) / rowStep;
        const double b = (stroke.repeatHeights.at((i + 1) % steps) - lowest) / rowStep;
        const double lo = std::min(a, b);
        const double hi = std::max(a, b);
        const double share = 1.0 / double(steps);
        if (hi - lo < 1e-9) {
            const int row = int(std::floor(lo));
            if (row >= 0 && row < rows)
                profile[row] += share;
            continue;
        }
        const int first = std::max(0, int(std::floor(lo)));
        const int last = std::min(rows - 1, int(std::floor(hi)));
        for (int row = first; row <= last; ++row) {
            const double covered = std::min(hi, row + 1.0) - std::max(lo, double(row));
            if (covered > 0.0)
                profile[row] += share * covered / (hi - lo);
        }
    }
    // The sweep crosses the columns at an even pace; each holds its share of the time, faded by its age.
    const double x0 = stroke.points.first().x();
    const double x1 = stroke.points.last().x();
    const int columns = std::max(1, int(std::ceil(std::abs(x1 - x0) * ppd)));
    const double t0 = stroke.startSeconds();
    const double t1 = stroke.endSeconds();
    QList<double> perColumn(columns);
    for (int c = 0; c < columns; ++c)
        perColumn[c] = weight * (t1 - t0) / columns * faded(t0 + (t1 - t0) * (c + 0.5) / columns);
    for (int row = 0; row < rows; ++row) {
        if (profile[row] <= 0.0)
            continue;
        const double y = lowest + (row + 0.5) * rowStep;
        for (int c = 0; c < columns; ++c)
            splat(toFine(QPointF(x0 + (x1 - x0) * (c + 0.5) / columns, y)), perColumn[c] * profile[row]);
    }
}

void PhosphorScreen::spreadFresh(double sigmaPixels)
{
    if (m_freshRight < m_freshLeft || m_freshBottom < m_freshTop)
        return;
    const QRect fresh(QPoint(m_freshLeft, m_freshTop), QPoint(m_freshRight, m_freshBottom));
    // A wide spot is spread on a face a few times coarser, where it is narrow, and its energy shared back
    // out to the fine pixels: the boxes gathering and the shares given back widen it by a quarter of a
    // coarse pixel's square, which the coarse spread leaves out.
    const int shrink = sigmaPixels > kWidestFineSpread ? int(std::ceil(sigmaPixels / kWidestFineSpread)) : 1;
    const double coarse = sigmaPixels / shrink;
    const double sigma = shrink == 1 ? sigmaPixels : std::sqrt(std::max(0.09, coarse * coarse - 0.25));
    const int reach = (int(std::ceil(PhosphorTone::spreads * std::max(sigma, 0.3))) + 2) * shrink;
    const QRect area = fresh.adjusted(-reach, -reach, reach, reach) & QRect(QPoint(0, 0), m_size);
    const int w = m_size.width();
    QList<float> scratch;
    if (shrink == 1) {
        spreadArea(m_fresh.data() + qsizetype(area.top()) * w + area.left(), area.width(), area.height(), w,
            sigma, scratch);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            float *fresh = m_fresh.data() + qsizetype(y) * w;
            float *stored = m_energy.data() + qsizetype(y) * w;
            for (int x = area.left(); x <= area.right(); ++x) {
                stored[x] += fresh[x];
                fresh[x] = 0.0f;
            }
        }
    } else {
        const int cw = (area.width() + shrink - 1) / shrink;
        const int ch = (area.height() + shrink - 1) / shrink;
        QList<float> cells(qsizetype(cw) * ch, 0.0f);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            float *fresh = m_fresh.data() + qsizetype(y) * w;
            float *row = cells.data() + qsizetype((y - area.top()) / shrink) * cw;
            for (int x = area.left(); x <= area.right(); ++x) {
                row[(x - area.left()) / shrink] += fresh[x];
                fresh[x] = 0.0f;
            }
        }
        spreadArea(cells.data(), cw, ch, cw, sigma, scratch);
        const float perPixel = 1.0f / float(shrink * shrink);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const double cy = std::clamp((y - area.top() + 0.5) / shrink - 0.5, 0.0, ch - 1.0);
            const int iy = std::min(int(cy), ch - 1);
            const int ny = std::min(iy + 1, ch - 1);
            const float ky = float(cy - iy);
            float *stored = m_energy.data() + qsizetype(y) * w;
            const float *upper = cells.constData() + qsizetype(iy) * cw;
            const float *lower = cells.constData() + qsizetype(ny) * cw;
            for (int x = area.left(); x <= area.right(); ++x) {
                const double cx = std::clamp((x - area.left() + 0.5) / shrink - 0.5, 0.0, cw - 1.0);
                const int ix = std::min(int(cx), cw - 1);
                const int nx = std::min(ix + 1, cw - 1);
                const float kx = float(cx - ix);
                const float top = upper[ix] + (upper[nx] - upper[ix]) * kx;
                const float bottom = lower[ix] + (lower[nx] - lower[ix]) * kx;
                stored[x] += (top + (bottom - top) * ky) * perPixel;
            }
        }
    }
    m_litArea |= area;
    m_freshLeft = m_freshTop = INT_MAX;
    m_freshRight = m_freshBottom = -1;
}

void PhosphorScreen::write(const BeamWriting &writing, const BeamSpot &spot, double now)
{
    if (!(spot.current > 0.0) || m_size.isEmpty())
        return;
    // What was written a while ago has faded by now.
    const auto faded = [&](double when) {
        return writing.steady ? 1.0 : std::exp(-std::max(0.0, now - when) / Afterglow::seconds);
    };
    const double ppd = m_mapping.pixelsPerDivision;
    for (const BeamStroke &stroke : writing.strokes) {
        if (stroke.points.size() < 2 || stroke.times.size() != stroke.points.size())
            continue;
        const double weight = spot.current * stroke.repeats;
        if (!stroke.repeatHeights.isEmpty() && stroke.repeatsPerDivision / ppd > kBandRepeatsPerColumn) {
            depositBand(stroke, weight, faded);
            continue;
        }
        QPointF previous = toFine(stroke.points.first());
        for (qsizetype i = 1; i < stroke.points.size(); ++i) {
            const QPointF next = toFine(stroke.points.at(i));
            const double t0 = stroke.times.at(i - 1);
            const double t1 = stroke.times.at(i);
            if (t1 > t0)
                depositSegment(previous, next, weight * (t1 - t0) * faded((t0 + t1) / 2.0));
            previous = next;
        }
    }
    spreadFresh(spot.spreadDivisions * ppd);
}

double PhosphorScreen::energyAt(QPoint pixel) const
{
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= m_outSize.width() || pixel.y() >= m_outSize.height())
        return 0.0;
    double sum = 0.0;
    for (int dy = 0; dy < m_over; ++dy)
        for (int dx = 0; dx < m_over; ++dx)
            sum += m_energy[qsizetype(pixel.y() * m_over + dy) * m_size.width() + pixel.x() * m_over + dx];
    // Per square division: the fine pixels are a fraction of a division each.
    const double ppd = m_mapping.pixelsPerDivision;
    return sum / (m_over * m_over) * ppd * ppd;
}

double PhosphorScreen::totalEnergy() const
{
    double sum = 0.0;
    for (float e : m_energy)
        sum += e;
    return sum;
}

QImage PhosphorScreen::light() const
{
    QImage image(m_outSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (m_litArea.isEmpty())
        return image;
    const int w = m_size.width();
    const double ppd = m_mapping.pixelsPerDivision;
    const double toDensity = ppd * ppd / kSaturationEnergy;

    // The glow: what the bright parts give, gathered on a coarse face and spread by the glass.
    const QRect glowArea = m_litArea;
    const int gw = glowArea.width() / kGlowShrink + 3;
    const int gh = glowArea.height() / kGlowShrink + 3;
    QList<float> glow(qsizetype(gw) * gh, 0.0f);
    for (int y = glowArea.top(); y <= glowArea.bottom(); ++y) {
        const float *row = m_energy.constData() + qsizetype(y) * w;
        float *cells = glow.data() + qsizetype((y - glowArea.top()) / kGlowShrink + 1) * gw;
        for (int x = glowArea.left(); x <= glowArea.right(); ++x) {
            if (row[x] > 0.0f)
                cells[(x - glowArea.left()) / kGlowShrink + 1]
                    += float(saturated(row[x] * toDensity / 3.0) / (kGlowShrink * kGlowShrink));
        }
    }
    QList<float> scratch;
    spreadArea(glow.data(), gw, gh, gw, kGlowSpread * ppd / kGlowShrink, scratch);

    // Where only the glow shines, it is drawn coarse and enlarged, smooth as it is.
    QImage halo(gw, gh, QImage::Format_ARGB32_Premultiplied);
    halo.fill(Qt::transparent);
    for (int cy = 0; cy < gh; ++cy) {
        auto *out = reinterpret_cast<QRgb *>(halo.scanLine(cy));
        const float *cells = glow.constData() + qsizetype(cy) * gw;
        for (int cx = 0; cx < gw; ++cx) {
            const double v = kGlowStrength * cells[cx];
            if (v < 2e-5)
                continue;
            const int ri = encoded(v * glowColour.r);
            const int gi = encoded(v * glowColour.g);
            const int bi = encoded(v * glowColour.b);
            out[cx] = qRgba(ri, gi, bi, std::max({ ri, gi, bi }));
        }
    }
    const int over = m_over;
    {
        // Cell i gathered the fine pixels from (i − 1) to i cells past the lit area's corner.
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(
            QRectF(double(glowArea.left() - kGlowShrink) / over, double(glowArea.top() - kGlowShrink) / over,
                double(gw * kGlowShrink) / over, double(gh * kGlowShrink) / over),
            halo);
    }

    // Where the beam left energy: the phosphor's own light, added to the glow over it.
    const QRect outArea(glowArea.left() / over, glowArea.top() / over,
        glowArea.right() / over - glowArea.left() / over + 1,
        glowArea.bottom() / over - glowArea.top() / over + 1);
    if (over == 1) {
        for (int y = outArea.top(); y <= outArea.bottom(); ++y) {
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            const float *row = m_energy.constData() + qsizetype(y) * w;
            for (int x = outArea.left(); x <= outArea.right(); ++x)
                if (row[x] > 0.0f)
                    out[x] = added(out[x], shade(row[x] * toDensity));
        }
        return image;
    }
    // A face lit finer than its pixels: each pixel shows the mean light of its fine ones.
    const double perPixel = 1.0 / (over * over);
    for (int oy = outArea.top(); oy <= outArea.bottom(); ++oy) {
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(oy));
        for (int ox = outArea.left(); ox <= outArea.right(); ++ox) {
            Rgb sum { 0.0, 0.0, 0.0 };
            bool any = false;
            for (int sy = 0; sy < over; ++sy) {
                const float *row = m_energy.constData() + qsizetype(oy * over + sy) * w + ox * over;
                for (int sx = 0; sx < over; ++sx) {
                    if (!(row[sx] > 0.0f))
                        continue;
                    any = true;
                    const Rgb c = linearShade(row[sx] * toDensity);
                    sum = { sum.r + c.r, sum.g + c.g, sum.b + c.b };
                }
            }
            if (!any)
                continue;
            const int ri = encoded(sum.r * perPixel);
            const int gi = encoded(sum.g * perPixel);
            const int bi = encoded(sum.b * perPixel);
            out[ox] = added(out[ox], qRgba(ri, gi, bi, std::max({ ri, gi, bi })));
        }
    }
    return image;
}

void PhosphorScreen::paint(QPainter &painter, const QRectF &target) const
{
    // Light adds to the dark face and to the graticule under it.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, light());
    painter.restore();
}
