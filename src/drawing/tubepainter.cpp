#include "tubepainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

const QColor kGlassEdge(70, 100, 130);
const QColor kCopperLight(236, 160, 90);
const QColor kCopperDark(150, 80, 30);

/** The screen's face at a given height: the rim bulges out towards the centre. */
qreal faceX(const TubeLayout &t, qreal y)
{
    const qreal k = (y - t.axisY) / t.screenHalfHeight;
    return t.screenX + t.screenBulge * (1 - k * k);
}

QPainterPath envelope(const TubeLayout &t)
{
    const qreal top = t.axisY - t.neckHalfHeight;
    const qreal bottom = t.axisY + t.neckHalfHeight;
    const qreal screenTop = t.axisY - t.screenHalfHeight;
    const qreal screenBottom = t.axisY + t.screenHalfHeight;
    const qreal flare = t.screenX - t.neckRight;
    QPainterPath path;
    path.moveTo(t.neckLeft + t.neckHalfHeight, top);
    path.lineTo(t.neckRight, top);
    path.cubicTo(
        t.neckRight + flare * 0.45, top, t.screenX - flare * 0.3, screenTop + 6, t.screenX, screenTop);
    path.quadTo(t.screenX + 2 * t.screenBulge, t.axisY, t.screenX, screenBottom);
    path.cubicTo(
        t.screenX - flare * 0.3, screenBottom - 6, t.neckRight + flare * 0.45, bottom, t.neckRight, bottom);
    path.lineTo(t.neckLeft + t.neckHalfHeight, bottom);
    path.arcTo(QRectF(t.neckLeft, top, 2 * t.neckHalfHeight, 2 * t.neckHalfHeight), 270, -180);
    path.closeSubpath();
    return path;
}

void paintGlass(QPainter &p, const TubeLayout &t)
{
    const QPainterPath glass = envelope(t);
    QLinearGradient fill(0, t.axisY - t.screenHalfHeight, 0, t.axisY + t.screenHalfHeight);
    fill.setColorAt(0, QColor(214, 230, 242));
    fill.setColorAt(0.42, QColor(244, 249, 253));
    fill.setColorAt(0.6, QColor(238, 245, 251));
    fill.setColorAt(1, QColor(206, 222, 236));
    p.setPen(QPen(kGlassEdge, 1.6));
    p.setBrush(fill);
    p.drawPath(glass);
    // The conductive coating inside the funnel, a dark band along its walls.
    p.save();
    p.setClipPath(glass);
    p.setClipRect(
        QRectF(t.neckRight + 4, 0, t.screenX - t.neckRight - 8, t.size.height()), Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(96, 108, 120, 110), 7));
    p.drawPath(glass);
    p.restore();
    // Reflections along the upper side of the neck and funnel.
    p.setPen(QPen(QColor(255, 255, 255, 230), 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal y = t.axisY - t.neckHalfHeight + 3.5;
    p.drawLine(QPointF(t.neckLeft + t.neckHalfHeight, y), QPointF(t.neckRight - 10, y));
    QPainterPath sheen;
    const qreal flare = t.screenX - t.neckRight;
    sheen.moveTo(t.neckRight + 6, y);
    sheen.cubicTo(t.neckRight + flare * 0.45, y, t.screenX - flare * 0.35, t.axisY - t.screenHalfHeight + 12,
        t.screenX - 22, t.axisY - t.screenHalfHeight + 9);
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheen);
}

void paintBase(QPainter &p, const TubeLayout &t)
{
    QLinearGradient g(t.base.topLeft(), t.base.bottomLeft());
    g.setColorAt(0, QColor(110, 100, 90));
    g.setColorAt(0.5, QColor(60, 54, 48));
    g.setColorAt(1, QColor(30, 26, 22));
    p.setPen(QPen(QColor(20, 20, 20), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(t.base, 2, 2);
}

void paintHeater(QPainter &p, const TubeLayout &t, bool glow)
{
    const QRectF f = t.filament;
    // Leads from the base to the coil.
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(t.base.right(), f.top() + 2), QPointF(f.left() + 1, f.top() + 2));
    p.drawLine(QPointF(t.base.right(), f.bottom() - 2), QPointF(f.left() + 1, f.bottom() - 2));
    QPolygonF coil;
    const int turns = 5;
    for (int i = 0; i <= 2 * turns; ++i)
        coil << QPointF(
            f.left() + 1 + i * (f.width() - 2) / (2 * turns), i % 2 ? f.top() + 2 : f.bottom() - 2);
    if (glow) {
        p.setPen(QPen(QColor(255, 150, 40, 90), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(coil);
    }
    p.setPen(QPen(
        glow ? QColor(240, 80, 20) : QColor(110, 100, 90), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(coil);
}

/** A metal cylinder cut along its axis: the two walls and, at its ends, discs with a hole for the beam. */
void paintCylinder(
    QPainter &p, const QRectF &r, const QColor &metal, qreal wall, bool leftDisc, bool rightDisc, qreal hole)
{
    // The far half of the cylinder shows through the cut as a faint tint.
    QColor inside = metal;
    inside.setAlpha(55);
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawRect(r);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, metal.lighter(140));
    g.setColorAt(0.5, metal);
    g.setColorAt(1, metal.darker(150));
    p.setPen(QPen(metal.darker(220), 0.8));
    p.setBrush(g);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), wall));
    p.drawRect(QRectF(r.left(), r.bottom() - wall, r.width(), wall));
    const qreal axis = r.center().y();
    const auto disc = [&](qreal x) {
        p.drawRect(QRectF(x, r.top(), wall, axis - hole / 2 - r.top()));
        p.drawRect(QRectF(x, axis + hole / 2, wall, r.bottom() - axis - hole / 2));
    };
    if (leftDisc)
        disc(r.left());
    if (rightDisc)
        disc(r.right() - wall);
}

void paintCathode(QPainter &p, const TubeLayout &t, bool glow)
{
    const QRectF c = t.cathode;
    paintCylinder(p, c, QColor(160, 160, 166), 2.5, false, false, 0);
    // The emitting face at the front, coated with oxide.
    QLinearGradient coat(c.topRight(), c.bottomRight());
    coat.setColorAt(0, glow ? QColor(255, 140, 70) : QColor(190, 110, 80));
    coat.setColorAt(1, glow ? QColor(200, 50, 20) : QColor(130, 70, 50));
    p.setPen(QPen(QColor(90, 30, 10), 0.8));
    p.setBrush(coat);
    p.drawRect(QRectF(c.right() - 3, c.top(), 3, c.height()));
}

void paintPlates(QPainter &p, const TubeLayout &t, const TubeState &state, const QPainterPath &beam)
{
    const auto copper = [](const QRectF &r, int alpha) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        QColor a = kCopperLight, b = kCopperDark;
        a.setAlpha(alpha);
        b.setAlpha(alpha);
        g.setColorAt(0, a);
        g.setColorAt(1, b);
        return g;
    };
    // Vertical deflection: one plate above and one below the beam.
    const QRectF v = t.verticalPlates;
    const qreal thickness = 3.5;
    const QRectF upper(v.left(), v.top(), v.width(), thickness);
    const QRectF lower(v.left(), v.bottom() - thickness, v.width(), thickness);
    p.setPen(QPen(kCopperDark.darker(160), 0.8));
    p.setBrush(copper(upper, 255));
    p.drawRect(upper);
    p.setBrush(copper(lower, 255));
    p.drawRect(lower);

    // Horizontal deflection: the plate behind the beam, the beam, then the plate in front, see-through.
    const QRectF h = t.horizontalPlates;
    const qreal skew = 5;
    const QPolygonF back { QPointF(h.left() + skew, h.top()), QPointF(h.right(), h.top() - 1),
        QPointF(h.right(), h.bottom() - skew - 1), QPointF(h.left() + skew, h.bottom() - skew) };
    const QPolygonF front { QPointF(h.left(), h.top() + skew), QPointF(h.right() - skew, h.top() + skew - 1),
        QPointF(h.right() - skew, h.bottom() - 1), QPointF(h.left(), h.bottom()) };
    p.setBrush(copper(h, 230));
    p.setPen(QPen(kCopperDark.darker(160), 0.8));
    p.drawPolygon(back);
    if (state.beamOn) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 80, 220), 1.4, Qt::CustomDashLine));
        QPen pen = p.pen();
        pen.setDashPattern({ 3, 2.2 });
        p.setPen(pen);
        p.drawPath(beam);
    }
    p.setBrush(copper(h, 120));
    p.setPen(QPen(kCopperDark.darker(140), 0.8));
    p.drawPolygon(front);

    if (state.plateNames) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(11);
        font.setItalic(true);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(150, 50, 20));
        const qreal y = t.axisY - t.neckHalfHeight - 16;
        p.drawText(QRectF(v.left(), y, v.width(), 13), Qt::AlignCenter, QStringLiteral("Pv"));
        p.drawText(QRectF(h.left(), y, h.width(), 13), Qt::AlignCenter, QStringLiteral("Ph"));
    }
    if (state.plateCharges && state.verticalDeflection != 0) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        const bool upPositive = state.verticalDeflection > 0;
        p.setPen(QColor(200, 20, 20));
        p.drawText(QRectF(v.right() + 1, v.top() - 6, 10, 11), Qt::AlignCenter,
            upPositive ? QStringLiteral("+") : QStringLiteral("\u2212"));
        p.setPen(QColor(20, 40, 200));
        p.drawText(QRectF(v.right() + 1, v.bottom() - 5, 10, 11), Qt::AlignCenter,
            upPositive ? QStringLiteral("\u2212") : QStringLiteral("+"));
    }
}

/** The final accelerator: a dark graphite coating inside the funnel, fed through a metal cap on the glass. */
void paintFinalAccelerator(QPainter &p, const TubeLayout &t)
{
    const QRectF cap = t.finalAnodeCap;
    const QPainterPath glass = envelope(t);
    p.save();
    p.setClipPath(glass);
    p.setClipRect(QRectF(cap.center().x() - 16, 0, t.screenX - cap.center().x() + 4, t.size.height()),
        Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(50, 54, 60, 150), 5));
    p.drawPath(glass);
    p.restore();
    // The stem runs from the cap down to the glass wall under it.
    qreal wall = cap.bottom();
    while (wall < t.axisY && !glass.contains(QPointF(cap.center().x(), wall)))
        wall += 0.5;
    p.setPen(QPen(QColor(90, 90, 96), 1.6));
    p.drawLine(QPointF(cap.center().x(), cap.bottom() - 1), QPointF(cap.center().x(), wall + 2));
    QLinearGradient metal(cap.topLeft(), cap.bottomLeft());
    metal.setColorAt(0, QColor(230, 232, 236));
    metal.setColorAt(1, QColor(120, 124, 132));
    p.setPen(QPen(QColor(60, 62, 68), 0.8));
    p.setBrush(metal);
    p.drawRoundedRect(cap, 2, 2);
}

void paintScreen(QPainter &p, const TubeLayout &t, const TubeState &state)
{
    // Phosphor coating on the inside of the face.
    QPainterPath coating;
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        const qreal y = t.axisY - t.screenHalfHeight + 4 + i * (2 * t.screenHalfHeight - 8) / steps;
        const QPointF pt(faceX(t, y) - 2.2, y);
        if (i == 0)
            coating.moveTo(pt);
        else
            coating.lineTo(pt);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 200, 130), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(coating);
    if (!state.beamOn)
        return;
    const QPointF spot = TubePainter::spotPosition(t, state);
    QRadialGradient glow(spot, 14);
    glow.setColorAt(0, QColor(150, 255, 150, 230));
    glow.setColorAt(0.3, QColor(60, 230, 90, 140));
    glow.setColorAt(1, QColor(40, 200, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(spot, 14, 14);
    p.setBrush(QColor(235, 255, 235));
    p.drawEllipse(spot, 2.4, 2.4);
}

} // namespace

QRectF TubeLayout::screen() const
{
    return QRectF(screenX - 2, axisY - screenHalfHeight, screenBulge + 4, 2 * screenHalfHeight);
}

TubeLayout descriptionTubeLayout()
{
    TubeLayout t;
    t.size = QSizeF(536, 268);
    t.axisY = 112;
    t.neckLeft = 47;
    t.neckRight = 300;
    t.neckHalfHeight = 21;
    t.screenX = 490;
    t.screenHalfHeight = 88;
    t.screenBulge = 17;
    t.base = QRectF(41, 102, 8, 20);
    t.filament = QRectF(51, 106, 14, 12);
    t.cathode = QRectF(53, 102, 18, 20);
    t.grid = QRectF(63, 96, 23, 32);
    t.focusAnode = QRectF(98, 98, 30, 28);
    t.acceleratingAnode = QRectF(136, 98, 26, 28);
    t.verticalPlates = QRectF(184, 97, 44, 30);
    t.horizontalPlates = QRectF(242, 97, 48, 30);
    return t;
}

QPointF TubePainter::spotPosition(const TubeLayout &t, const TubeState &state)
{
    const qreal reach = t.screenHalfHeight - 12;
    const qreal y = t.axisY - qBound(-1.0, state.verticalDeflection, 1.0) * reach;
    const qreal x = faceX(t, y) - 2.2 - qBound(-1.0, state.horizontalDeflection, 1.0) * t.screenBulge * 0.5;
    return QPointF(x, y);
}

QPainterPath TubePainter::beamPath(const TubeLayout &t, const TubeState &state)
{
    const QPointF spot = spotPosition(t, state);
    const qreal left = t.verticalPlates.left();
    const qreal right = t.verticalPlates.right();
    const qreal middle = (left + right) / 2;
    // Past the plates the beam runs straight, on a line that points back to the plates' middle.
    const qreal slope = (spot.y() - t.axisY) / (spot.x() - middle);
    QPainterPath path;
    path.moveTo(t.grid.right(), t.axisY);
    path.lineTo(left, t.axisY);
    path.quadTo(middle, t.axisY, right, t.axisY + slope * (right - middle));
    path.lineTo(spot);
    return path;
}

void TubePainter::paint(QPainter &p, const TubeLayout &t, const TubeState &state)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintGlass(p, t);
    paintBase(p, t);
    paintHeater(p, t, state.heaterGlow);
    paintCathode(p, t, state.heaterGlow);
    paintCylinder(p, t.grid, QColor(96, 104, 116), 2.5, false, true, 5);
    const QColor anode(150, 168, 192);
    if (!t.preAccelerator.isEmpty())
        paintCylinder(p, t.preAccelerator, QColor(128, 146, 172), 2.5, true, true, 4);
    paintCylinder(p, t.focusAnode, anode, 2.5, true, true, 6);
    paintCylinder(p, t.acceleratingAnode, anode, 2.5, true, true, 4);
    const QPainterPath beam = beamPath(t, state);
    paintPlates(p, t, state, beam);
    if (!t.finalAnodeCap.isEmpty())
        paintFinalAccelerator(p, t);
    paintScreen(p, t, state);
    p.restore();
}

QImage TubePainter::render(const TubeLayout &layout, const TubeState &state)
{
    QImage image(layout.size.toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p, layout, state);
    p.end();
    return image;
}
