#include "diagrampainter.h"
#include "referencefigures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kSignal(52, 84, 150);
const QColor kSweep(40, 116, 64);
const QColor kUnblank(176, 112, 24);
const QColor kGuide(150, 156, 168);

struct Words
{
    const char16_t *signal, *level, *pulses, *ignored, *sawtooth, *ramp, *flyback, *holdOff, *waiting,
        *unblanking, *visible;
};

const Words &words(Language language)
{
    static const Words castilian { u"Señal de entrada", u"nivel de disparo", u"Impulsos de disparo",
        u"ignorado", u"Diente de sierra (tensión de barrido)", u"barrido", u"retorno", u"HOLD OFF", u"espera",
        u"Desbloqueo (eje Z)", u"traza visible" };
    static const Words valencian { u"Senyal d'entrada", u"nivell de disparament", u"Impulsos de disparament",
        u"ignorat", u"Dent de serra (tensió d'escombratge)", u"escombratge", u"retorn", u"HOLD OFF",
        u"espera", u"Desbloqueig (eix Z)", u"traça visible" };
    return inLanguage(language, castilian, valencian);
}

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

void title(QPainter &p, const QRectF &band, const QString &text)
{
    p.setFont(ReferenceStyle::labelFont(10, true));
    p.setPen(ReferenceStyle::ink());
    p.drawText(QRectF(band.left() - 4, band.top() - 15, band.width() + 8, 13),
        Qt::AlignLeft | Qt::AlignVCenter, text);
}

/** A span under the sawtooth: a bracket from a to b with its name centred under it. */
void span(QPainter &p, double a, double b, double y, const QString &text, const QColor &colour)
{
    p.setPen(QPen(colour, 1));
    p.drawLine(QPointF(a + 0.5, y), QPointF(b - 0.5, y));
    p.drawLine(QPointF(a + 0.5, y - 3), QPointF(a + 0.5, y + 3));
    p.drawLine(QPointF(b - 0.5, y - 3), QPointF(b - 0.5, y + 3));
    QFont font = ReferenceStyle::labelFont(8.5);
    font.setItalic(true);
    p.setFont(font);
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    p.drawText(QRectF((a + b) / 2 - width / 2 - 2, y + 3, width + 4, 12), Qt::AlignCenter, text);
}

} // namespace

SweepTimeline sweepTimeline()
{
    // A sweep lasts 1.6 periods and its hold-off ends 0.6 periods later, so of every three rising
    // crossings one starts a sweep, one falls during the ramp and one during the hold-off.
    SweepTimeline t;
    t.level = 0.35;
    t.duration = 6.2;
    t.phase = 0.3;
    const double ramp = 1.6, flyback = 0.15, holdOff = 0.6;
    const double first = t.phase + std::asin(t.level) / (2 * M_PI);
    double ready = 0;
    for (double c = first; c < t.duration; c += 1.0) {
        t.crossings.append(c);
        const bool starts = c >= ready && c + ramp + flyback < t.duration;
        t.accepted.append(starts);
        if (starts) {
            t.sweeps.append({ c, c + ramp, c + ramp + flyback, c + ramp + holdOff });
            ready = c + ramp + holdOff;
        }
    }
    return t;
}

SweepFigureLayout sweepFigureLayout()
{
    SweepFigureLayout l;
    l.size = QSize(311, 405);
    l.left = 10;
    l.pixelsPerPeriod = (l.size.width() - 2 * l.left) / sweepTimeline().duration;
    const qreal width = l.size.width() - 2 * l.left;
    l.signal = QRectF(l.left, 22, width, 76);
    l.pulses = QRectF(l.left, 126, width, 34);
    l.sawtooth = QRectF(l.left, 188, width, 100);
    l.unblanking = QRectF(l.left, 342, width, 30);
    return l;
}

QImage renderSweepFigure(Language language)
{
    const SweepTimeline t = sweepTimeline();
    const SweepFigureLayout l = sweepFigureLayout();
    const Words &w = words(language);
    QImage image(l.size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Guide lines: each accepted crossing down to the start of its sweep and of its bright trace.
    QPen guide(kGuide, 0.8);
    guide.setDashPattern({ 3, 3 });
    p.setPen(guide);
    for (const SweepTimeline::Sweep &sw : t.sweeps) {
        p.drawLine(QPointF(l.x(sw.start), l.signal.top() + 4), QPointF(l.x(sw.start), l.unblanking.bottom()));
        p.drawLine(
            QPointF(l.x(sw.holdOffEnd), l.sawtooth.top()), QPointF(l.x(sw.holdOffEnd), l.sawtooth.bottom()));
    }

    // The signal and the trigger level.
    title(p, l.signal, s(w.signal));
    const qreal mid = l.signal.center().y(), amp = l.signal.height() / 2 - 4;
    p.setPen(QPen(kGuide, 0.8));
    p.drawLine(QPointF(l.signal.left(), mid), QPointF(l.signal.right(), mid));
    QPainterPath sine;
    for (int i = 0; i <= 600; ++i) {
        const double time = t.duration * i / 600;
        const QPointF pt(l.x(time), mid - amp * std::sin(2 * M_PI * (time - t.phase)));
        i == 0 ? sine.moveTo(pt) : sine.lineTo(pt);
    }
    p.setPen(QPen(kSignal, 1.6));
    p.drawPath(sine);
    QPen level(QColor(200, 40, 30), 1);
    level.setDashPattern({ 5, 3 });
    p.setPen(level);
    const qreal levelY = mid - amp * t.level;
    p.drawLine(QPointF(l.signal.left(), levelY), QPointF(l.signal.right(), levelY));
    QFont small = ReferenceStyle::labelFont(8.5);
    small.setItalic(true);
    p.setFont(small);
    p.setPen(QColor(200, 40, 30));
    p.drawText(QRectF(l.signal.right() - 140, l.signal.bottom() - 2, 140, 12),
        Qt::AlignRight | Qt::AlignVCenter, s(w.level));

    // The trigger pulses: solid where they start a sweep, hollow where they are ignored.
    title(p, l.pulses, s(w.pulses));
    const qreal base = l.pulses.bottom() - 2;
    p.setPen(QPen(kGuide, 0.8));
    p.drawLine(QPointF(l.pulses.left(), base), QPointF(l.pulses.right(), base));
    for (int i = 0; i < t.crossings.size(); ++i) {
        const QRectF pulse(l.x(t.crossings.at(i)) - 2.5, l.pulses.top() + 4, 5, base - l.pulses.top() - 4);
        p.setPen(QPen(ReferenceStyle::ink(), 1));
        p.setBrush(t.accepted.at(i) ? QBrush(ReferenceStyle::ink()) : QBrush(Qt::white));
        p.drawRect(pulse);
    }
    const qreal legendX = l.pulses.right() - 62;
    p.setBrush(Qt::white);
    p.drawRect(QRectF(legendX, l.pulses.top() - 12, 5, 9));
    p.setFont(small);
    p.drawText(
        QRectF(legendX + 8, l.pulses.top() - 14, 60, 12), Qt::AlignLeft | Qt::AlignVCenter, s(w.ignored));
    p.setBrush(Qt::NoBrush);

    // The sawtooth: ramps, fast returns, and the flat wait between sweeps.
    title(p, l.sawtooth, s(w.sawtooth));
    const qreal low = l.sawtooth.bottom() - 30, high = l.sawtooth.top() + 6;
    QPolygonF saw { QPointF(l.x(0), low) };
    for (const SweepTimeline::Sweep &sw : t.sweeps)
        saw << QPointF(l.x(sw.start), low) << QPointF(l.x(sw.rampEnd), high)
            << QPointF(l.x(sw.returnEnd), low);
    saw << QPointF(l.x(t.duration), low);
    p.setPen(QPen(kSweep, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(saw);
    const qreal spanY = low + 10;
    for (int i = 0; i < t.sweeps.size(); ++i) {
        const SweepTimeline::Sweep &sw = t.sweeps.at(i);
        span(p, l.x(sw.start), l.x(sw.rampEnd), spanY, s(w.ramp), kSweep);
        span(p, l.x(sw.rampEnd), l.x(sw.holdOffEnd), spanY + 16, s(w.holdOff), ReferenceStyle::ink());
        const double next = i + 1 < t.sweeps.size() ? t.sweeps.at(i + 1).start : -1;
        if (next > 0)
            span(p, l.x(sw.holdOffEnd), l.x(next), spanY, s(w.waiting), kGuide.darker(130));
    }
    // The return is short: its name goes above the drop of the first sweep.
    p.setFont(small);
    p.setPen(kSweep);
    const qreal drop = l.x(t.sweeps.first().rampEnd);
    p.drawText(QRectF(drop + 3, high - 2, 60, 12), Qt::AlignLeft | Qt::AlignVCenter, s(w.flyback));

    // The unblanking gate: high, and the trace bright, only while a ramp runs.
    title(p, l.unblanking, s(w.unblanking));
    const qreal off = l.unblanking.bottom() - 2, on = l.unblanking.top() + 6;
    QPolygonF gate { QPointF(l.x(0), off) };
    for (const SweepTimeline::Sweep &sw : t.sweeps)
        gate << QPointF(l.x(sw.start), off) << QPointF(l.x(sw.start), on) << QPointF(l.x(sw.rampEnd), on)
             << QPointF(l.x(sw.rampEnd), off);
    gate << QPointF(l.x(t.duration), off);
    for (const SweepTimeline::Sweep &sw : t.sweeps) {
        QColor fill = kUnblank;
        fill.setAlpha(48);
        p.fillRect(QRectF(QPointF(l.x(sw.start), on), QPointF(l.x(sw.rampEnd), off)), fill);
        p.setFont(small);
        p.setPen(kUnblank.darker(130));
        p.drawText(
            QRectF(QPointF(l.x(sw.start), on), QPointF(l.x(sw.rampEnd), off)), Qt::AlignCenter, s(w.visible));
    }
    p.setPen(QPen(kUnblank, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(gate);

    // The common time axis.
    const qreal axisY = l.size.height() - 14;
    p.setPen(QPen(ReferenceStyle::ink(), 1.1));
    p.drawLine(QPointF(l.left, axisY), QPointF(l.size.width() - 8, axisY));
    p.setBrush(ReferenceStyle::ink());
    p.setPen(Qt::NoPen);
    const qreal tip = l.size.width() - 3;
    p.drawPolygon(
        QPolygonF { QPointF(tip, axisY), QPointF(tip - 7, axisY - 3), QPointF(tip - 7, axisY + 3) });
    p.setPen(ReferenceStyle::ink());
    QFont axis = ReferenceStyle::labelFont(10);
    axis.setItalic(true);
    p.setFont(axis);
    p.drawText(QRectF(tip - 14, axisY + 1, 12, 12), Qt::AlignCenter, QStringLiteral("t"));
    p.end();
    return image;
}
