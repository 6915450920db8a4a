#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "referencefigures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

/** Room for a control's printed name above or below it, in panel pixels. */
const qreal kNameRoom = 8;

/** A control's body with its printed name, padded so the ring clears both. */
QRectF markedArea(const PanelControl &c)
{
    QRectF area = c.rect;
    if (c.labelSide == LabelSide::Above)
        area.setTop(area.top() - (c.kind == ControlKind::RotarySwitch ? kNameRoom + 4 : kNameRoom));
    else if (c.labelSide == LabelSide::Below)
        area.setBottom(area.bottom() + kNameRoom);
    if (!c.label.isEmpty() && c.labelSide != LabelSide::None)
        area = area.adjusted(-qMax(0.0, (c.label.size() * 3.6 - area.width()) / 2), 0,
            qMax(0.0, (c.label.size() * 3.6 - area.width()) / 2), 0);
    return area.adjusted(-3, -3, 3, 3);
}

QTransform viewTransform(const PanelView &view)
{
    QTransform t;
    t.scale(view.size.width() / view.crop.width(), view.size.height() / view.crop.height());
    t.translate(-view.crop.left(), -view.crop.top());
    return t;
}

} // namespace

const QList<PanelView> &panelViews()
{
    // The right half of the panel holds both the vertical channels (lower part) and the trigger and
    // time base (upper part); each view rings what its passage explains.
    const QRectF rightHalf(265, 12, 270, 221);
    static const QList<PanelView> views = {
        { "panel.bmp", rightHalf, QSize(265, 217),
            { "ypos", "volts1", "gd1", "acdc1", "input1", "inv1", "ymag1", "ymag2", "volts2", "ypos2",
                "acdc2", "gd2", "ch12", "dual", "add", "inv2", "imp2" },
            true },
        // The input of each channel: socket, coupling and the attenuator's VOLTS/DIV switch with its CAL
        // knob.
        { "panel1.bmp", rightHalf, QSize(265, 217),
            { "input1", "acdc1", "gd1", "volts1", "imp2", "acdc2", "gd2", "volts2" } },
        // The preamplifier: vertical position of each channel, and the inversion of channel I.
        { "panel2.bmp", rightHalf, QSize(265, 217), { "ypos", "ypos2", "inv1" } },
        // The channel modes: one channel, both (DUAL), their sum (ADD), and X-Y.
        { "panel3.bmp", rightHalf, QSize(265, 217), { "ch12", "dual", "add", "xy" } },
        // The trigger controls on the panel: coupling selector, AT/NORM, level and slope.
        { "panel4.bmp", QRectF(243, 5, 292, 229), QSize(292, 229),
            { "trigger", "atnorm", "level", "flanco" } },
    };
    return views;
}

QColor panelMarkColour()
{
    return QColor(255, 150, 0);
}

QRectF panelViewControl(const PanelView &view, const QString &name)
{
    const FrontPanelModel model = frontPanelLayout();
    const PanelControl *c = model.control(name);
    return c ? viewTransform(view).mapRect(c->rect) : QRectF();
}

QList<QRectF> panelViewMarks(const PanelView &view)
{
    const FrontPanelModel model = frontPanelLayout();
    const QTransform t = viewTransform(view);
    QList<QRectF> marks;
    QRectF all;
    for (const QString &name : view.marked) {
        const PanelControl *c = model.control(name);
        if (!c)
            continue;
        const QRectF area = t.mapRect(markedArea(*c));
        all = all.united(area);
        marks.append(area);
    }
    if (view.grouped)
        marks = { all };
    // The centres of the controls left unringed: a shared ring must not take any of them in.
    QList<QPointF> others;
    for (const PanelControl &c : model.controls) {
        if (!view.marked.contains(c.name) && !(c.kind == ControlKind::CalKnob))
            others.append(t.map(c.rect.center()));
    }
    // Controls that stand side by side share one ring, which keeps their names clear of ring lines.
    for (bool merged = true; merged;) {
        merged = false;
        for (int i = 0; i < marks.size() && !merged; ++i) {
            for (int j = i + 1; j < marks.size() && !merged; ++j) {
                const QRectF both = marks.at(i).united(marks.at(j));
                const bool clear = std::none_of(
                    others.cbegin(), others.cend(), [&both](QPointF c) { return both.contains(c); });
                if (clear && marks.at(i).adjusted(-2, -2, 2, 2).intersects(marks.at(j))) {
                    marks[i] = marks.at(i).united(marks.at(j));
                    marks.removeAt(j);
                    merged = true;
                }
            }
        }
    }
    const QRectF inside = QRectF(QPointF(0, 0), QSizeF(view.size)).adjusted(1.5, 1.5, -1.5, -1.5);
    for (QRectF &mark : marks)
        mark = mark.intersected(inside);
    return marks;
}

QImage renderPanelView(const PanelView &view)
{
    QImage image(view.size, QImage::Format_ARGB32);
    image.fill(FrontPanelPainter::faceColour());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.setTransform(viewTransform(view));
    FrontPanelPainter::paint(p, frontPanelLayout());
    p.restore();
    // Each ring: a soft dark shadow, then the bright ring, so it reads on the light panel and the dark
    // screen.
    for (const QRectF &mark : panelViewMarks(view)) {
        const qreal radius = qMin(8.0, qMin(mark.width(), mark.height()) / 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 30, 0, 110), 3.6));
        p.drawRoundedRect(mark.translated(0.6, 0.8), radius, radius);
        p.setPen(QPen(panelMarkColour(), 2.2));
        p.drawRoundedRect(mark, radius, radius);
    }
    p.end();
    return image;
}
