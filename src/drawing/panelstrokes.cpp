#include "panelstrokes.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace PanelStrokes {

QPointF centreOf(const QRectF &r)
{
    return r.center();
}

qreal radiusOf(const QRectF &r)
{
    return qMin(r.width(), r.height()) / 2;
}

QPointF polar(QPointF centre, qreal radius, qreal angleDegrees)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

QColor shade(const QColor &c, int delta)
{
    return QColor(qBound(0, c.red() + delta, 255), qBound(0, c.green() + delta, 255),
        qBound(0, c.blue() + delta, 255), c.alpha());
}

QFont printFont(qreal pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void printText(QPainter &p, const QRectF &rect, const QString &text, qreal pixelSize, bool bold,
    const QColor &colour, Qt::Alignment align)
{
    p.save();
    p.setFont(printFont(pixelSize, bold));
    p.setPen(colour);
    p.drawText(rect, int(align) | Qt::TextDontClip, text);
    p.restore();
}

void paintPlate(QPainter &p, const QRectF &plate)
{
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, shade(kPlate, 10));
    g.setColorAt(1, shade(kPlate, -8));
    p.setPen(QPen(QColor(20, 20, 22), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(plate.adjusted(0.4, 0.4, -0.4, -0.4), 2, 2);
    p.setPen(QPen(QColor(255, 255, 255, 40), 0.8));
    p.drawLine(plate.topLeft() + QPointF(2, 1.2), plate.topRight() + QPointF(-2, 1.2));
}

namespace {

void paintKnob(QPainter &p, QPointF c, qreal r, qreal angle)
{
    // Skirt: a dark disc with a lit upper-left rim and a printed index line.
    QRadialGradient skirt(c - QPointF(r * 0.4, r * 0.5), r * 1.4);
    skirt.setColorAt(0, QColor(96, 96, 100));
    skirt.setColorAt(1, QColor(26, 26, 28));
    p.setPen(QPen(QColor(12, 12, 14), 0.7));
    p.setBrush(skirt);
    p.drawEllipse(c, r - 0.35, r - 0.35);
    // Ribbed grip.
    const qreal grip = r * 0.74;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 18, 20));
    p.drawEllipse(c, grip, grip);
    p.setPen(QPen(QColor(110, 110, 116, 150), qMax(0.5, r * 0.05)));
    const int ribs = 20;
    for (int i = 0; i < ribs; ++i) {
        const qreal a = angle + i * 360.0 / ribs;
        p.drawLine(polar(c, grip * 0.8, a), polar(c, grip, a));
    }
    // Top with a soft highlight and a metal cap.
    const qreal top = grip * 0.8;
    QRadialGradient topShade(c - QPointF(top * 0.45, top * 0.5), top * 1.5);
    topShade.setColorAt(0, QColor(120, 120, 126));
    topShade.setColorAt(0.5, QColor(52, 52, 56));
    topShade.setColorAt(1, QColor(22, 22, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(topShade);
    p.drawEllipse(c, top, top);
    QConicalGradient metal(c, 45);
    metal.setColorAt(0, QColor(235, 235, 235));
    metal.setColorAt(0.25, QColor(140, 140, 145));
    metal.setColorAt(0.5, QColor(225, 225, 228));
    metal.setColorAt(0.75, QColor(120, 120, 126));
    metal.setColorAt(1, QColor(235, 235, 235));
    p.setBrush(metal);
    p.drawEllipse(c, top * 0.48, top * 0.48);
    // Pointer line across grip and skirt.
    p.setPen(QPen(QColor(245, 245, 240), qMax(0.9, r * 0.11), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(c, top * 0.55, angle), polar(c, r - 0.8, angle));
}

void paintRotarySwitch(QPainter &p, QPointF c, qreal r, qreal angle)
{
    // Printed index marks round the switch, one per step.
    p.setPen(QPen(kPrint, 0.8));
    const int steps = 18;
    for (int i = 0; i < steps; ++i) {
        const qreal a = -150 + i * 300.0 / (steps - 1);
        const qreal outer = r + (i % 3 == 0 ? 4.5 : 3);
        p.drawLine(polar(c, r + 1.2, a), polar(c, outer, a));
    }
    // Satin metal skirt.
    QConicalGradient skirt(c, 30);
    skirt.setColorAt(0, QColor(214, 214, 210));
    skirt.setColorAt(0.2, QColor(150, 150, 150));
    skirt.setColorAt(0.45, QColor(224, 224, 220));
    skirt.setColorAt(0.7, QColor(128, 128, 130));
    skirt.setColorAt(1, QColor(214, 214, 210));
    p.setPen(QPen(QColor(60, 60, 62), 0.8));
    p.setBrush(skirt);
    p.drawEllipse(c, r - 0.4, r - 0.4);
    // Black index arrow on the skirt.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 10, 10));
    QPolygonF arrow { polar(c, r - 1, angle), polar(c, r * 0.78, angle - 5), polar(c, r * 0.78, angle + 5) };
    p.drawPolygon(arrow);
    // Dark fluted body.
    const qreal body = r * 0.76;
    QRadialGradient bodyShade(c - QPointF(body * 0.4, body * 0.5), body * 1.5);
    bodyShade.setColorAt(0, QColor(104, 104, 110));
    bodyShade.setColorAt(0.55, QColor(40, 40, 44));
    bodyShade.setColorAt(1, QColor(14, 14, 16));
    p.setPen(QPen(QColor(8, 8, 8), 0.8));
    p.setBrush(bodyShade);
    p.drawEllipse(c, body, body);
    p.setPen(QPen(QColor(140, 140, 146, 120), qMax(0.6, r * 0.03)));
    const int flutes = 28;
    for (int i = 0; i < flutes; ++i) {
        const qreal a = angle + i * 360.0 / flutes;
        p.drawLine(polar(c, body * 0.84, a), polar(c, body - 0.5, a));
    }
    // White line on the body towards the index.
    p.setPen(QPen(QColor(245, 245, 240), qMax(1.0, r * 0.07), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(c, body * 0.62, angle), polar(c, body * 0.95, angle));
}

void paintCalKnob(QPainter &p, QPointF c, qreal r, qreal angle)
{
    QRadialGradient red(c - QPointF(r * 0.4, r * 0.45), r * 1.5);
    red.setColorAt(0, QColor(255, 150, 130));
    red.setColorAt(0.35, QColor(214, 40, 32));
    red.setColorAt(1, QColor(96, 6, 6));
    p.setPen(QPen(QColor(50, 0, 0), 0.8));
    p.setBrush(red);
    p.drawEllipse(c, r - 0.4, r - 0.4);
    p.setPen(QPen(QColor(255, 200, 190, 110), 0.6));
    const int ribs = 16;
    for (int i = 0; i < ribs; ++i) {
        const qreal a = angle + i * 360.0 / ribs;
        p.drawLine(polar(c, r * 0.78, a), polar(c, r - 0.8, a));
    }
    // The calibration triangle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 245));
    const QPolygonF triangle { polar(c, r * 0.72, angle), polar(c, r * 0.3, angle - 28),
        polar(c, r * 0.3, angle + 28) };
    p.drawPolygon(triangle);
}

void paintTrimPot(QPainter &p, const QRectF &rect, qreal angle)
{
    QLinearGradient recess(rect.topLeft(), rect.bottomLeft());
    recess.setColorAt(0, QColor(20, 20, 22));
    recess.setColorAt(1, QColor(64, 64, 68));
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.7));
    p.setBrush(recess);
    p.drawRoundedRect(rect, rect.width() / 2, rect.width() / 2);
    const QPointF c = centreOf(rect);
    const qreal r = rect.width() / 2 - 1;
    QRadialGradient head(c - QPointF(r * 0.4, r * 0.4), r * 1.6);
    head.setColorAt(0, QColor(236, 236, 232));
    head.setColorAt(1, QColor(110, 110, 112));
    p.setPen(QPen(QColor(30, 30, 30), 0.5));
    p.setBrush(head);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(30, 30, 30), 0.9));
    p.drawLine(polar(c, r * 0.9, angle), polar(c, r * 0.9, angle + 180));
}

void paintPushButton(QPainter &p, const QRectF &rect, bool pressed)
{
    // Bezel the button sinks into.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 28, 30));
    p.drawRoundedRect(rect.adjusted(-1, -1, 1, 1), 1.5, 1.5);
    const QRectF cap = pressed ? rect.adjusted(0.8, 1.4, -0.8, 0) : rect.adjusted(0, 0, 0, -0.6);
    QLinearGradient face(cap.topLeft(), cap.bottomLeft());
    face.setColorAt(0, pressed ? QColor(190, 190, 184) : QColor(244, 244, 238));
    face.setColorAt(0.55, pressed ? QColor(168, 168, 162) : QColor(212, 212, 206));
    face.setColorAt(1, pressed ? QColor(130, 130, 126) : QColor(160, 160, 154));
    p.setBrush(face);
    p.drawRoundedRect(cap, 1.2, 1.2);
    // Edge light on the top, darker lower lip.
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 60 : 170), 0.7));
    p.drawLine(cap.topLeft() + QPointF(1, 0.5), cap.topRight() + QPointF(-1, 0.5));
    p.setPen(QPen(QColor(0, 0, 0, 90), 0.7));
    p.drawLine(cap.bottomLeft() + QPointF(1, -0.5), cap.bottomRight() + QPointF(-1, -0.5));
    if (pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 110), 1));
        p.drawLine(rect.topLeft() + QPointF(0, 0.5), rect.topRight() + QPointF(0, 0.5));
    }
}

void paintSlideSwitch(QPainter &p, const PanelControl &c)
{
    const QRectF slot = c.rect;
    QLinearGradient g(slot.topLeft(), slot.topRight());
    g.setColorAt(0, QColor(14, 14, 16));
    g.setColorAt(1, QColor(58, 58, 62));
    p.setPen(QPen(QColor(255, 255, 255, 110), 0.6));
    p.setBrush(g);
    p.drawRoundedRect(slot, 2, 2);
    const int count = qMax(1, int(c.positions.size()));
    const qreal travel = slot.height() - 8;
    const auto positionY
        = [&](int i) { return count == 1 ? slot.center().y() : slot.top() + 4 + travel * i / (count - 1); };
    for (int i = 0; i < c.positions.size(); ++i) {
        const qreal y = positionY(i);
        p.setPen(QPen(kPrint, 0.7));
        p.drawLine(QPointF(slot.right() + 0.8, y), QPointF(slot.right() + 2.3, y));
        printText(p, QRectF(slot.right() + 3.2, y - 3, 12, 6), c.positions.at(i), 4.5, true, kPrint,
            Qt::AlignLeft | Qt::AlignVCenter);
    }
    const qreal y = positionY(qBound(0, c.position, count - 1));
    const QRectF lever(slot.left() - 1, y - 3.5, slot.width() + 2, 7);
    QLinearGradient leverShade(lever.topLeft(), lever.bottomLeft());
    leverShade.setColorAt(0, QColor(240, 240, 234));
    leverShade.setColorAt(1, QColor(150, 150, 146));
    p.setPen(QPen(QColor(30, 30, 30), 0.7));
    p.setBrush(leverShade);
    p.drawRoundedRect(lever, 1.2, 1.2);
    p.setPen(QPen(QColor(90, 90, 90), 0.6));
    p.drawLine(QPointF(lever.left() + 1.5, y - 1), QPointF(lever.right() - 1.5, y - 1));
    p.drawLine(QPointF(lever.left() + 1.5, y + 1), QPointF(lever.right() - 1.5, y + 1));
}

void paintBnc(QPainter &p, QPointF c, qreal r)
{
    QConicalGradient flange(c, 60);
    flange.setColorAt(0, QColor(236, 236, 234));
    flange.setColorAt(0.3, QColor(150, 150, 152));
    flange.setColorAt(0.55, QColor(220, 220, 218));
    flange.setColorAt(0.8, QColor(120, 120, 124));
    flange.setColorAt(1, QColor(236, 236, 234));
    p.setPen(QPen(QColor(50, 50, 52), 0.8));
    p.setBrush(flange);
    p.drawEllipse(c, r - 0.4, r - 0.4);
    // Bayonet sleeve with its two studs.
    const qreal sleeve = r * 0.7;
    p.setPen(QPen(QColor(60, 60, 62), 0.6));
    p.setBrush(QColor(96, 96, 98));
    p.drawEllipse(c + QPointF(0.5, 0.7), sleeve, sleeve);
    QRadialGradient sleeveShade(c - QPointF(sleeve * 0.4, sleeve * 0.5), sleeve * 1.6);
    sleeveShade.setColorAt(0, QColor(250, 250, 248));
    sleeveShade.setColorAt(1, QColor(130, 130, 134));
    p.setBrush(sleeveShade);
    p.drawEllipse(c, sleeve, sleeve);
    p.setBrush(QColor(200, 200, 200));
    const qreal stud = qMax(1.0, r * 0.15);
    p.drawEllipse(c + QPointF(-sleeve, 0), stud, stud);
    p.drawEllipse(c + QPointF(sleeve, 0), stud, stud);
    // The socket: dark throat, pale insulator, centre pin.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 24, 24));
    p.drawEllipse(c, sleeve * 0.72, sleeve * 0.72);
    QRadialGradient insulator(c - QPointF(1, 1), sleeve * 0.6);
    insulator.setColorAt(0, QColor(240, 236, 220));
    insulator.setColorAt(1, QColor(160, 154, 136));
    p.setBrush(insulator);
    p.drawEllipse(c, sleeve * 0.5, sleeve * 0.5);
    p.setBrush(QColor(200, 170, 80));
    p.drawEllipse(c, qMax(0.8, r * 0.12), qMax(0.8, r * 0.12));
}

void paintLamp(QPainter &p, QPointF c, qreal r, bool lit)
{
    if (lit) {
        QRadialGradient halo(c, r * 2.6);
        halo.setColorAt(0, QColor(255, 80, 40, 150));
        halo.setColorAt(1, QColor(255, 60, 20, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, r * 2.6, r * 2.6);
    }
    p.setPen(QPen(QColor(40, 40, 40), 0.6));
    p.setBrush(QColor(170, 170, 170));
    p.drawEllipse(c, r, r);
    QRadialGradient lens(c - QPointF(r * 0.3, r * 0.3), r);
    if (lit) {
        lens.setColorAt(0, QColor(255, 240, 220));
        lens.setColorAt(0.45, QColor(255, 80, 40));
        lens.setColorAt(1, QColor(200, 20, 10));
    } else {
        lens.setColorAt(0, QColor(170, 60, 50));
        lens.setColorAt(1, QColor(60, 6, 6));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(lens);
    p.drawEllipse(c, r * 0.72, r * 0.72);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(c - QPointF(r * 0.3, r * 0.3), r * 0.18, r * 0.18);
}

void paintTerminal(QPainter &p, QPointF c, qreal r)
{
    QRadialGradient ring(c - QPointF(r * 0.4, r * 0.4), r * 1.6);
    ring.setColorAt(0, QColor(250, 246, 230));
    ring.setColorAt(1, QColor(120, 110, 90));
    p.setPen(QPen(QColor(20, 20, 20), 0.6));
    p.setBrush(ring);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 28, 26));
    p.drawEllipse(c, r * 0.42, r * 0.42);
}

void paintTestTerminals(QPainter &p, const PanelControl &c)
{
    paintPlate(p, c.rect);
    const int count = qMax(1, int(c.positions.size()));
    const qreal step = c.rect.width() / count;
    for (int i = 0; i < count; ++i) {
        const QPointF centre(c.rect.left() + step * (i + 0.5), c.rect.bottom() - 8);
        paintTerminal(p, centre, 4.2);
        if (i < c.positions.size())
            printText(p, QRectF(centre.x() - step / 2, c.rect.top() + 1, step, kLabelHeight),
                c.positions.at(i), 5, true, kWhitePrint);
    }
}

void paintSocket(QPainter &p, QPointF c, qreal r)
{
    QRadialGradient body(c - QPointF(r * 0.4, r * 0.4), r * 1.5);
    body.setColorAt(0, QColor(110, 110, 114));
    body.setColorAt(1, QColor(14, 14, 16));
    p.setPen(QPen(QColor(0, 0, 0), 0.6));
    p.setBrush(body);
    p.drawEllipse(c, r - 0.3, r - 0.3);
    paintTerminal(p, c, r * 0.55);
}

} // namespace

void paintControlBody(QPainter &p, const PanelControl &c)
{
    const QPointF centre = centreOf(c.rect);
    const qreal r = radiusOf(c.rect);
    switch (c.kind) {
    case ControlKind::RotarySwitch:
        paintRotarySwitch(p, centre, r, c.angle);
        break;
    case ControlKind::Knob:
        paintKnob(p, centre, r, c.angle);
        break;
    case ControlKind::CalKnob:
        paintCalKnob(p, centre, r, c.angle);
        break;
    case ControlKind::TrimPot:
        paintTrimPot(p, c.rect, c.angle);
        break;
    case ControlKind::PushButton:
        paintPushButton(p, c.rect, c.pressed);
        break;
    case ControlKind::SlideSwitch:
        paintSlideSwitch(p, c);
        break;
    case ControlKind::Bnc:
        paintBnc(p, centre, r);
        break;
    case ControlKind::Lamp:
        paintLamp(p, centre, r, c.lit);
        break;
    case ControlKind::TestTerminals:
        paintTestTerminals(p, c);
        break;
    case ControlKind::Socket:
        paintSocket(p, centre, r);
        break;
    }
}

} // namespace PanelStrokes
