#include "diagrampainter.h"
#include "phosphorscreen.h"
#include "referencefigures.h"
#include "screenpainter.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kFace(14, 28, 24);

void caption(QPainter &p, const QRectF &over, const QString &text, bool bold = true)
{
    p.setFont(ReferenceStyle::labelFont(10, bold));
    p.setPen(ReferenceStyle::ink());
    p.drawText(QRectF(over.left() - 10, over.top() - 15, over.width() + 20, 13), Qt::AlignCenter, text);
}

const Trace *traceOf(const ScreenTraces &screen, TraceKind kind)
{
    for (const Trace &t : screen.traces) {
        if (t.kind == kind)
            return &t;
    }
    return nullptr;
}

ScreenTraces only(const ScreenTraces &screen, TraceKind kind)
{
    ScreenTraces one = screen;
    one.traces.clear();
    if (const Trace *t = traceOf(screen, kind))
        one.traces.append(*t);
    return one;
}

/** The trace's height at a horizontal place, by straight lines between its points. */
double heightAt(const Trace &trace, double x)
{
    const QList<QPointF> &pts = trace.points;
    for (int i = 0; i + 1 < pts.size(); ++i) {
        const QPointF a = pts.at(i), b = pts.at(i + 1);
        if (x >= a.x() && x <= b.x()) {
            if (b.x() - a.x() < 1e-12)
                return b.y();
            return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
        }
    }
    return pts.isEmpty() ? 0 : pts.last().y();
}

/** The part of a trace between two horizontal places, its ends cut where the places fall. */
Trace piece(const Trace &trace, double from, double to)
{
    Trace part;
    part.kind = trace.kind;
    part.points.append(QPointF(from, heightAt(trace, from)));
    for (const QPointF &pt : trace.points) {
        if (pt.x() > from && pt.x() < to)
            part.points.append(pt);
    }
    part.points.append(QPointF(to, heightAt(trace, to)));
    return part;
}

/** A small timeline: the sawtooth of successive sweeps with the channel each one writes. */
void paintAlternateTimeline(QPainter &p, const QRectF &r, Language language)
{
    const int sweeps = 4;
    const qreal labelWidth = 0;
    const qreal left = r.left() + labelWidth, width = r.right() - left;
    const qreal period = width / sweeps;
    const qreal low = r.top() + 40, high = r.top() + 16;
    QPolygonF saw { QPointF(left, low) };
    for (int i = 0; i < sweeps; ++i) {
        const qreal start = left + i * period + 4;
        saw << QPointF(start, low) << QPointF(start + period * 0.8, high)
            << QPointF(start + period * 0.86, low);
    }
    saw << QPointF(r.right(), low);
    p.setPen(
        QPen(ReferenceStyle::border(BoxGroup::Horizontal), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(saw);
    // The channel switch flips at the end of every sweep.
    const qreal top = r.top() + 52, bottom = r.top() + 64;
    QPolygonF gate { QPointF(left, top) };
    for (int i = 0; i < sweeps; ++i) {
        const qreal flip = left + i * period + 4 + period * 0.83;
        const qreal from = i % 2 == 0 ? top : bottom, to = i % 2 == 0 ? bottom : top;
        gate << QPointF(flip, from) << QPointF(flip, to);
    }
    gate << QPointF(r.right(), sweeps % 2 == 0 ? top : bottom);
    p.setPen(
        QPen(ReferenceStyle::border(BoxGroup::Vertical), 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(gate);
    p.setFont(ReferenceStyle::labelFont(9.5, true));
    for (int i = 0; i < sweeps; ++i) {
        const qreal start = left + i * period + 4;
        p.setPen(ReferenceStyle::ink());
        p.drawText(QRectF(start, r.top() + 2, period * 0.8, 12), Qt::AlignCenter,
            i % 2 == 0 ? QStringLiteral("I") : QStringLiteral("II"));
    }
    QFont small = ReferenceStyle::labelFont(8.5);
    small.setItalic(true);
    p.setFont(small);
    p.setPen(ReferenceStyle::ink());
    p.drawText(QRectF(r.left(), bottom + 1, r.width(), 12), Qt::AlignLeft | Qt::AlignVCenter,
        Wording::of(u"conmutador: cambia de canal al final de cada barrido",
            u"commutador: canvia de canal al final de cada escombratge")
            .in(language));
}

} // namespace

ScopeSettings dualSweepSettings()
{
    ScopeSettings s;
    s.mode = DisplayMode::Dual;
    s.secondsPerDiv = 0.2e-3;
    s.channelI.signal = InputSignal { Waveform::Sine, 2.6, 1000.0, 0.0, 0.0 };
    s.channelI.voltsPerDiv = 1.0;
    s.channelI.position = 2.0;
    s.channelII.signal = InputSignal { Waveform::Square, 2.0, 1000.0, 0.0, 0.0 };
    s.channelII.voltsPerDiv = 1.0;
    s.channelII.position = -2.0;
    s.trigger.source = TriggerSource::ChannelI;
    s.trigger.mode = TriggerMode::Automatic;
    return s;
}

QList<Trace> chopTraces(const Trace &first, const Trace &second, double pieceDivisions)
{
    QList<Trace> pieces;
    if (first.points.isEmpty() || second.points.isEmpty() || pieceDivisions <= 0)
        return pieces;
    const double from = std::max(first.points.first().x(), second.points.first().x());
    const double to = std::min(first.points.last().x(), second.points.last().x());
    int n = 0;
    for (double x = from; x < to - 1e-9; x += pieceDivisions, ++n)
        pieces.append(piece(n % 2 == 0 ? first : second, x, std::min(x + pieceDivisions, to)));
    return pieces;
}

AlternateFigureLayout alternateFigureLayout()
{
    AlternateFigureLayout l;
    l.size = QSize(312, 372);
    l.firstSweep = QRectF(4, 18, 148, 116);
    l.secondSweep = QRectF(160, 18, 148, 116);
    l.timeline = QRectF(8, 140, 296, 78);
    l.result = QRectF(46, 236, 220, 134);
    return l;
}

QImage renderAlternateFigure(Language language)
{
    const AlternateFigureLayout l = alternateFigureLayout();
    const ScreenTraces both = computeTraces(dualSweepSettings());
    QImage image(l.size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    ScreenPainter::paintTraces(p, l.firstSweep, only(both, TraceKind::ChannelI));
    ScreenPainter::paintTraces(p, l.secondSweep, only(both, TraceKind::ChannelII));
    ScreenPainter::paintTraces(p, l.result, both);
    caption(p, l.firstSweep, Wording::of(u"1.er barrido: canal I", u"1r escombratge: canal I").in(language));
    caption(
        p, l.secondSweep, Wording::of(u"2.º barrido: canal II", u"2n escombratge: canal II").in(language));
    paintAlternateTimeline(p, l.timeline, language);
    caption(p, l.result,
        Wording::of(u"En pantalla, los dos canales a la vez", u"En pantalla, els dos canals alhora")
            .in(language));
    p.end();
    return image;
}

ChoppedFigureLayout choppedFigureLayout()
{
    ChoppedFigureLayout l;
    l.size = QSize(312, 372);
    l.screen = QRectF(36, 18, 240, 160);
    l.zoom = QRectF(20, 206, 284, 106);
    l.chopper = QRectF(20, 318, 284, 20);
    l.pieceDivisions = 0.25;
    l.zoomFrom = 0.25;
    l.zoomTo = 2.25;
    return l;
}

QImage renderChoppedFigure(Language language)
{
    const ChoppedFigureLayout l = choppedFigureLayout();
    const ScreenTraces both = computeTraces(dualSweepSettings());
    const Trace *first = traceOf(both, TraceKind::ChannelI);
    const Trace *second = traceOf(both, TraceKind::ChannelII);
    QImage image(l.size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (!first || !second)
        return image;
    const QList<Trace> pieces = chopTraces(*first, *second, l.pieceDivisions);
    ScreenTraces chopped = both;
    chopped.traces = pieces;
    ScreenPainter::paintTraces(p, l.screen, chopped);
    caption(p, l.screen,
        Wording::of(u"Los dos canales, a trozos alternos", u"Els dos canals, a trossos alterns")
            .in(language));

    // The magnified stretch: the same pieces, with the switching moments, while the beam is dark, dotted.
    const QRectF g = ScreenPainter::graticuleRect(l.screen);
    const QRectF source(ScreenPainter::toPixels(g, QPointF(l.zoomFrom, 3.9)),
        ScreenPainter::toPixels(g, QPointF(l.zoomTo, -3.9)));
    p.setPen(QPen(QColor(255, 150, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(source);
    p.drawLine(source.bottomLeft(), l.zoom.topLeft());
    p.drawLine(source.bottomRight(), l.zoom.topRight());
    p.setBrush(kFace);
    p.drawRect(l.zoom);
    caption(p, QRectF(l.zoom.left(), l.zoom.top() + 2, l.zoom.width(), 0),
        Wording::of(u"ampliado", u"ampliat").in(language), false);
    const auto zx = [&l](double x) {
        return l.zoom.left() + (x - l.zoomFrom) / (l.zoomTo - l.zoomFrom) * l.zoom.width();
    };
    // The magnified view spans the heights the two traces reach in its stretch, with a margin.
    double lowest = 1e9, highest = -1e9;
    for (const Trace &pc : pieces) {
        for (const QPointF &pt : pc.points) {
            if (pt.x() >= l.zoomFrom && pt.x() <= l.zoomTo) {
                lowest = std::min(lowest, pt.y());
                highest = std::max(highest, pt.y());
            }
        }
    }
    const double middle = (lowest + highest) / 2, span = (highest - lowest) * 1.5 + 0.5;
    const auto zy = [&l, middle, span](
                        double y) { return l.zoom.center().y() - (y - middle) / span * l.zoom.height(); };
    p.save();
    p.setClipRect(l.zoom.adjusted(1, 1, -1, -1));
    QPen dark(QColor(90, 130, 110), 0.8);
    dark.setDashPattern({ 1.5, 2 });
    // The pieces lit as the screen lights them, magnified, each as bright as on the screen above: the
    // stretch spreads a piece's time over a longer line, so it is given that much more.
    const double ppd = g.width() / ScreenGeometry::columns;
    const double stretch = l.zoom.width() / (l.zoomTo - l.zoomFrom) / ppd;
    const QRect zoomArea = l.zoom.toAlignedRect();
    QList<Trace> shown;
    for (const Trace &pc : pieces)
        if (pc.points.last().x() >= l.zoomFrom && pc.points.first().x() <= l.zoomTo)
            shown << pc;
    BeamWriting writing = sweptWriting(shown);
    for (BeamStroke &stroke : writing.strokes) {
        for (QPointF &pt : stroke.points)
            pt = QPointF((zx(pt.x()) - zoomArea.left()) / ppd, -(zy(pt.y()) - zoomArea.top()) / ppd);
        for (double &t : stroke.times)
            t *= stretch;
    }
    PhosphorScreen face;
    face.setGeometry(zoomArea.size(), FaceMapping { QPointF(0, 0), ppd, 0.0 });
    face.write(writing, BeamSpot { Beam::openingCurrent, Beam::spotSpread(Beam::openingCurrent, 0.5) });
    face.paint(p, QRectF(zoomArea));
    // Between the pieces the beam is dark while it jumps to the other channel.
    for (int i = 0; i + 1 < pieces.size(); ++i) {
        const Trace &pc = pieces.at(i);
        if (pc.points.last().x() < l.zoomFrom || pc.points.first().x() > l.zoomTo)
            continue;
        p.setPen(dark);
        const QPointF from(zx(pc.points.last().x()), zy(pc.points.last().y()));
        const QPointF to(zx(pieces.at(i + 1).points.first().x()), zy(pieces.at(i + 1).points.first().y()));
        p.drawLine(from, to);
    }
    p.setFont(ReferenceStyle::labelFont(9.5, true));
    p.setPen(QColor(220, 240, 225));
    // Each trace named above its first piece.
    p.drawText(QRectF(zx(l.zoomFrom) + 3, zy(heightAt(*first, l.zoomFrom)) - 17, 20, 12), Qt::AlignLeft,
        QStringLiteral("I"));
    p.drawText(QRectF(zx(l.zoomFrom) + 3, zy(heightAt(*second, l.zoomFrom)) - 17, 20, 12), Qt::AlignLeft,
        QStringLiteral("II"));
    p.restore();

    // The switching signal in step with the pieces.
    const qreal top = l.chopper.top() + 2, bottom = l.chopper.bottom() - 2;
    QPolygonF gate;
    int n = 0;
    for (const Trace &pc : pieces) {
        const double a = std::max(pc.points.first().x(), l.zoomFrom),
                     b = std::min(pc.points.last().x(), l.zoomTo);
        if (b > a) {
            const qreal y = n % 2 == 0 ? top : bottom;
            gate << QPointF(zx(a), y) << QPointF(zx(b), y);
        }
        ++n;
    }
    p.setPen(
        QPen(ReferenceStyle::border(BoxGroup::Vertical), 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(gate);
    p.setFont(ReferenceStyle::labelFont(8.5, true));
    p.setPen(ReferenceStyle::border(BoxGroup::Vertical));
    p.drawText(QRectF(l.chopper.left() - 11, top - 6, 10, 12), Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("I"));
    p.drawText(QRectF(l.chopper.left() - 12, bottom - 6, 11, 12), Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("II"));
    QFont small = ReferenceStyle::labelFont(8.5);
    small.setItalic(true);
    p.setFont(small);
    p.setPen(ReferenceStyle::ink());
    p.drawText(QRectF(l.chopper.left(), l.chopper.bottom() + 2, l.chopper.width(), 24),
        Qt::AlignLeft | Qt::TextWordWrap,
        Wording::of(u"conmutador: cambia de canal a ≈1 MHz; el haz se apaga en cada cambio",
            u"commutador: canvia de canal a ≈1 MHz; el feix s'apaga a cada canvi")
            .in(language));
    p.end();
    return image;
}
