#include "diagrampainter.h"
#include "referencefigures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {

/** The heading over the circuit, as the figure window writes it in Castilian, and where it starts. */
const QString kHeading = QStringLiteral("   Selector     Atenuador     Sensibilidad");
const qreal kHeadingLeft = 40;

const QColor kActive(28, 84, 200);

/** The centre of the n-th word of the heading, in the picture's coordinates (picture and window share x). */
qreal headingWordCentre(int n)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(15);
    font.setBold(true);
    const QFontMetricsF fm(font);
    int start = 0;
    for (int word = 0; word <= n; ++word) {
        while (start < kHeading.size() && kHeading.at(start) == QLatin1Char(' '))
            ++start;
        int end = start;
        while (end < kHeading.size() && kHeading.at(end) != QLatin1Char(' '))
            ++end;
        if (word == n) {
            const qreal left = fm.horizontalAdvance(kHeading.left(start));
            const qreal right = fm.horizontalAdvance(kHeading.left(end));
            return kHeadingLeft + (left + right) / 2;
        }
        start = end;
    }
    return 0;
}

void ground(QPainter &p, QPointF top)
{
    p.drawLine(top, top + QPointF(0, 3));
    p.drawLine(top + QPointF(-5, 3), top + QPointF(5, 3));
    p.drawLine(top + QPointF(-3.2, 5), top + QPointF(3.2, 5));
    p.drawLine(top + QPointF(-1.4, 7), top + QPointF(1.4, 7));
}

/** A resistor (IEC box) with a capacitor in parallel, between two points on one horizontal or vertical line.
 */
void resistorWithCapacitor(QPainter &p, QPointF a, QPointF b, bool horizontal)
{
    const QPointF mid = (a + b) / 2;
    const QPointF along = horizontal ? QPointF(1, 0) : QPointF(0, 1);
    const QPointF across = horizontal ? QPointF(0, -1) : QPointF(1, 0);
    const qreal half = 7, bridge = 7;
    // The resistor on the line.
    p.drawLine(a, mid - along * half);
    p.drawLine(mid + along * half, b);
    const QRectF box = horizontal ? QRectF(mid.x() - half, mid.y() - 2.5, 2 * half, 5)
                                  : QRectF(mid.x() - 2.5, mid.y() - half, 5, 2 * half);
    p.setBrush(Qt::white);
    p.drawRect(box);
    // The capacitor on a bridge beside it.
    const QPointF s = a + along * 3, e = b - along * 3;
    const QPointF gap = along * 1.6;
    p.drawLine(s, s + across * bridge);
    p.drawLine(e, e + across * bridge);
    p.drawLine(s + across * bridge, mid + across * bridge - gap);
    p.drawLine(e + across * bridge, mid + across * bridge + gap);
    const QPointF plate = across * 4;
    p.drawLine(mid + across * bridge - gap - plate, mid + across * bridge - gap + plate);
    p.drawLine(mid + across * bridge + gap - plate, mid + across * bridge + gap + plate);
}

} // namespace

AttenuatorLayout attenuatorLayout()
{
    AttenuatorLayout l;
    l.size = QSize(345, 153);
    l.selector = headingWordCentre(0);
    l.attenuator = headingWordCentre(1);
    l.sensitivity = headingWordCentre(2);
    l.rows = { 18, 52, 86, 120 };
    l.activeRow = 1;
    l.coupling = { 51, 69, 87 };
    l.couplingPosition = 0;
    return l;
}

QImage renderAttenuatorCircuit()
{
    const AttenuatorLayout l = attenuatorLayout();
    QImage image(l.size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QPen ink(ReferenceStyle::ink(), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen active(kActive, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // The input socket, and the coupling switch: straight through (DC), through a series capacitor
    // that blocks the mean (AC), or the amplifier's side to ground (GD).
    const qreal middle = l.coupling.at(1);
    const QPointF socket(12, middle);
    p.setPen(QPen(ReferenceStyle::ink(), 1.2));
    p.setBrush(QColor(222, 226, 232));
    p.drawEllipse(socket, 6, 6);
    p.setBrush(QColor(200, 160, 60));
    p.drawEllipse(socket, 2, 2);
    p.setFont(ReferenceStyle::labelFont(8.5));
    p.setPen(ReferenceStyle::ink());
    p.drawText(QRectF(0, middle + 9, 44, 11), Qt::AlignCenter, QStringLiteral("1 MΩ"));
    p.drawText(QRectF(0, middle + 19, 44, 11), Qt::AlignCenter, QStringLiteral("30 pF"));
    const qreal busX = 28, contact = l.selector - 12;
    const QPointF couplingPivot(l.selector + 16, middle);
    const bool ac = l.couplingPosition == 1, dc = l.couplingPosition == 0;
    p.setBrush(Qt::NoBrush);
    p.setPen(active);
    p.drawLine(socket + QPointF(6, 0), QPointF(busX, middle));
    p.setPen(dc ? active : ink);
    p.drawLine(QPointF(busX, middle), QPointF(busX, l.coupling.at(0)));
    p.drawLine(QPointF(busX, l.coupling.at(0)), QPointF(contact - 2.4, l.coupling.at(0)));
    p.setPen(ac ? active : ink);
    const qreal capacitor = (busX + contact) / 2;
    p.drawLine(QPointF(busX, middle), QPointF(capacitor - 2, middle));
    p.drawLine(QPointF(capacitor + 2, middle), QPointF(contact - 2.4, middle));
    p.drawLine(QPointF(capacitor - 2, middle - 5), QPointF(capacitor - 2, middle + 5));
    p.drawLine(QPointF(capacitor + 2, middle - 5), QPointF(capacitor + 2, middle + 5));
    p.setPen(ink);
    p.drawLine(QPointF(contact, l.coupling.at(2) + 2.4), QPointF(contact, l.coupling.at(2) + 6));
    ground(p, QPointF(contact, l.coupling.at(2) + 6));
    static const char *couplingNames[] = { "DC", "AC", "GD" };
    for (int i = 0; i < 3; ++i) {
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(contact, l.coupling.at(i)), 2.4, 2.4);
        p.setFont(ReferenceStyle::labelFont(7.5, true));
        p.setPen(i == l.couplingPosition ? kActive : ReferenceStyle::ink());
        p.drawText(QRectF(contact - 14, l.coupling.at(i) - 13, 28, 9), Qt::AlignCenter,
            QLatin1String(couplingNames[i]));
    }
    p.setPen(QPen(kActive, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(couplingPivot, QPointF(contact + 2.4, l.coupling.at(l.couplingPosition)));
    // From the coupling switch to the range switch, whose wiper picks one divider.
    const QPointF pivot(l.attenuator - 50, middle);
    p.setPen(active);
    p.drawLine(couplingPivot, pivot);
    p.setPen(QPen(ReferenceStyle::ink(), 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(couplingPivot, 3, 3);

    static const char16_t *ratios[] = { u"1:1", u"1:10", u"1:100", u"1:1000" };
    static const char16_t *ranges[]
        = { u"5–10–20 mV/div", u"50–100–200 mV/div", u"0,5–1–2 V/div", u"5–10–20 V/div" };
    const qreal contactX = l.attenuator - 26;
    const qreal node = l.attenuator + 34;
    const qreal outEnd = l.sensitivity - 44;
    for (int i = 0; i < l.rows.size(); ++i) {
        const qreal y = l.rows.at(i);
        const bool on = i == l.activeRow;
        p.setPen(on ? active : ink);
        p.setBrush(Qt::NoBrush);
        if (i == 0) {
            p.drawLine(QPointF(contactX, y), QPointF(outEnd, y));
        } else {
            resistorWithCapacitor(p, QPointF(contactX + 4, y), QPointF(node, y), true);
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(node, y), QPointF(outEnd, y));
            resistorWithCapacitor(p, QPointF(node, y), QPointF(node, y + 17), false);
            ground(p, QPointF(node, y + 17));
            p.setBrush(on ? kActive : ReferenceStyle::ink());
            p.drawEllipse(QPointF(node, y), 1.8, 1.8);
        }
        // The contact, and the arrow into the sensitivities.
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(contactX, y), 2.4, 2.4);
        p.setBrush(on ? kActive : ReferenceStyle::ink());
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF { QPointF(outEnd + 6, y), QPointF(outEnd, y - 3), QPointF(outEnd, y + 3) });
        QFont ratio = ReferenceStyle::labelFont(8.5);
        ratio.setItalic(true);
        p.setFont(ratio);
        p.setPen(on ? kActive : ReferenceStyle::ink());
        // The division ratio, under the series branch.
        p.drawText(QRectF(contactX + 4, y + 3, node - contactX - 10, 11), Qt::AlignCenter,
            QString::fromUtf16(ratios[i]));
        const QFont range = ReferenceStyle::labelFont(10, on);
        p.setFont(range);
        const qreal width = QFontMetricsF(range).horizontalAdvance(QString::fromUtf16(ranges[i]));
        p.drawText(QRectF(qMax(outEnd + 9, l.sensitivity - width / 2), y - 7, width + 2, 14),
            Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf16(ranges[i]));
    }
    // The wiper on the chosen contact, and the arc it turns along.
    p.setPen(QPen(ReferenceStyle::ink(), 0.9, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    const qreal reach = contactX - pivot.x();
    const qreal spread = (l.rows.last() - l.rows.first()) / 2 + 6;
    p.drawArc(
        QRectF(pivot.x() - reach + 7, middle - spread, 2 * (reach - 7), 2 * spread), -60 * 16, 120 * 16);
    p.setPen(QPen(kActive, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, QPointF(contactX - 2.4, l.rows.at(l.activeRow)));
    p.setPen(QPen(ReferenceStyle::ink(), 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(pivot, 3, 3);
    p.end();
    return image;
}
