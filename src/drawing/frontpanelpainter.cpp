#include "frontpanelpainter.h"

#include "panelstrokes.h"
#include "phosphorscreen.h"
#include "screentraces.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace {

using namespace PanelStrokes;

/** Box blur of the alpha channel, a few passes, which is close enough to a soft shadow. */
QImage blurred(const QImage &source, int radius, int passes)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    QList<int> alpha(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            alpha[y * w + x] = qAlpha(image.pixel(x, y));
    QList<int> tmp(w * h);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += alpha[y * w + qBound(0, x + k, w - 1)];
                tmp[y * w + x] = sum / (2 * radius + 1);
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += tmp[qBound(0, y + k, h - 1) * w + x];
                alpha[y * w + x] = sum / (2 * radius + 1);
            }
        }
    }
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.setPixel(x, y, qRgba(0, 0, 0, alpha[y * w + x]));
    return out;
}

// ---- the panel -------------------------------------------------------------------------------

/** A faint grain for the panel, the same on every run. */
QImage grain(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    QRandomGenerator noise(203);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int d = int(noise.bounded(7)) - 3;
            line[x] = d >= 0 ? qRgba(255, 255, 255, 4 * d) : qRgba(0, 0, 0, -4 * d);
        }
    }
    return image;
}

void paintFace(QPainter &p, const FrontPanelModel &model)
{
    const QRectF all(QPointF(0, 0), QSizeF(model.size));
    // The instrument's case shows as a dark rim round the panel.
    p.fillRect(all, QColor(52, 52, 56));
    const QRectF face = all.adjusted(4, 4, -4, -4);
    QLinearGradient light(face.topLeft(), face.bottomRight());
    light.setColorAt(0, shade(FrontPanelPainter::faceColour(), 5));
    light.setColorAt(1, shade(FrontPanelPainter::faceColour(), -5));
    p.fillRect(face, light);
    p.drawImage(face.topLeft(), grain(face.size().toSize()));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(face.topLeft() + QPointF(0.5, 0.5), face.topRight() + QPointF(-0.5, 0.5));
    p.drawLine(face.topLeft() + QPointF(0.5, 0.5), face.bottomLeft() + QPointF(0.5, -0.5));
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.drawLine(face.bottomLeft() + QPointF(0.5, -0.5), face.bottomRight() + QPointF(-0.5, -0.5));
    p.drawLine(face.topRight() + QPointF(-0.5, 0.5), face.bottomRight() + QPointF(-0.5, -0.5));
}

/** The shapes that throw a shadow on the panel. */
void paintShadowShapes(QPainter &p, const FrontPanelModel &model)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 200));
    p.drawRoundedRect(model.screen.bezel, 8, 8);
    for (const QRectF &plate : model.plates)
        p.drawRoundedRect(plate, 2, 2);
    for (const PanelControl &c : model.controls) {
        switch (c.kind) {
        case ControlKind::RotarySwitch:
        case ControlKind::Knob:
        case ControlKind::Bnc:
        case ControlKind::Lamp:
            p.drawEllipse(centreOf(c.rect), radiusOf(c.rect) + 0.5, radiusOf(c.rect) + 0.5);
            break;
        case ControlKind::PushButton:
            p.setBrush(QColor(0, 0, 0, c.pressed ? 90 : 200));
            p.drawRect(c.rect.adjusted(-1, -1, 1, 1));
            p.setBrush(QColor(0, 0, 0, 200));
            break;
        case ControlKind::SlideSwitch:
        case ControlKind::TestTerminals:
            p.drawRoundedRect(c.rect, 2, 2);
            break;
        case ControlKind::CalKnob:
        case ControlKind::TrimPot:
        case ControlKind::Socket:
            break;
        }
    }
}

// ---- the screen ------------------------------------------------------------------------------

void paintScreenFace(QPainter &p, const PanelScreen &screen)
{
    // Bezel: black moulding with a lit upper edge and four screws.
    QLinearGradient bezel(screen.bezel.topLeft(), screen.bezel.bottomLeft());
    bezel.setColorAt(0, QColor(64, 64, 68));
    bezel.setColorAt(0.08, QColor(40, 40, 44));
    bezel.setColorAt(1, QColor(24, 24, 26));
    p.setPen(QPen(QColor(12, 12, 12), 1));
    p.setBrush(bezel);
    p.drawRoundedRect(screen.bezel.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const qreal inset = 5;
    const QPointF screws[] = { screen.bezel.topLeft() + QPointF(inset, inset),
        screen.bezel.topRight() + QPointF(-inset, inset), screen.bezel.bottomLeft() + QPointF(inset, -inset),
        screen.bezel.bottomRight() + QPointF(-inset, -inset) };
    for (const QPointF &s : screws) {
        QRadialGradient head(s - QPointF(0.8, 0.8), 3);
        head.setColorAt(0, QColor(220, 220, 216));
        head.setColorAt(1, QColor(90, 90, 92));
        p.setPen(QPen(QColor(10, 10, 10), 0.5));
        p.setBrush(head);
        p.drawEllipse(s, 2.2, 2.2);
        p.setPen(QPen(QColor(30, 30, 30), 0.7));
        p.drawLine(s + QPointF(-1.5, 1.5), s + QPointF(1.5, -1.5));
    }
    // The tube face, dark with a faint green cast, a shade lighter in the middle.
    p.setPen(QPen(QColor(6, 6, 8), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(screen.face.adjusted(-1, -1, 1, 1), 7, 7);
    QRadialGradient glass(screen.face.center(), screen.face.width() * 0.62);
    glass.setColorAt(0, QColor(46, 60, 56));
    glass.setColorAt(0.7, QColor(30, 40, 38));
    glass.setColorAt(1, QColor(16, 20, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRoundedRect(screen.face, 6, 6);

    // Graticule: 10 × 8 divisions, fine marks on the two centre lines.
    const QRectF g = FrontPanelPainter::graticule(screen);
    const qreal div = g.width() / ScreenGeometry::columns;
    const int columns = int(ScreenGeometry::columns);
    const int rows = int(ScreenGeometry::rows);
    p.setPen(QPen(QColor(170, 190, 180, 120), 0.7));
    for (int i = 0; i <= columns; ++i)
        p.drawLine(QPointF(g.left() + i * div, g.top()), QPointF(g.left() + i * div, g.bottom()));
    for (int j = 0; j <= rows; ++j)
        p.drawLine(QPointF(g.left(), g.top() + j * div), QPointF(g.right(), g.top() + j * div));
    p.setPen(QPen(QColor(170, 190, 180, 140), 0.7));
    for (int i = 0; i <= 5 * columns; ++i) {
        const qreal x = g.left() + i * div / 5;
        p.drawLine(QPointF(x, g.center().y() - 1.6), QPointF(x, g.center().y() + 1.6));
    }
    for (int j = 0; j <= 5 * rows; ++j) {
        const qreal y = g.top() + j * div / 5;
        p.drawLine(QPointF(g.center().x() - 1.6, y), QPointF(g.center().x() + 1.6, y));
    }
    // Dotted lines for the rise-time marks.
    p.setPen(QPen(QColor(170, 190, 180, 100), 0.6, Qt::DotLine));
    p.drawLine(QPointF(g.left(), g.top() + 0.6 * div), QPointF(g.right(), g.top() + 0.6 * div));
    p.drawLine(QPointF(g.left(), g.bottom() - 0.6 * div), QPointF(g.right(), g.bottom() - 0.6 * div));
}

/** The traces, the phosphor lit where the beam writes them. */
void paintTraces(QPainter &p, const PanelScreen &screen, const QList<ScreenTrace> &traces)
{
    if (traces.isEmpty())
        return;
    // The face is lit at the resolution the painter draws at.
    const qreal scale = std::max<qreal>(1.0, p.transform().m11());
    const QRectF face = screen.face;
    const QRectF g = FrontPanelPainter::graticule(screen);
    const qreal div = g.width() / ScreenGeometry::columns;
    PhosphorScreen phosphor;
    phosphor.setGeometry((face.size() * scale).toSize(),
        FaceMapping { (g.center() - face.topLeft()) * scale, div * scale, 0.0 });
    for (const ScreenTrace &t : traces) {
        // The picture's traces run from the graticule's left edge; the face measures from its centre.
        Trace trace;
        for (const QPointF &d : t.points)
            trace.points.append(QPointF(d.x() - ScreenGeometry::halfWidth, d.y()));
        const double current = Beam::openingCurrent * qBound(0.0, t.intensity, 1.0) / 0.8;
        const double spread = Beam::spotSpread(current, 0.5) * t.width / 1.2;
        phosphor.write(sweptWriting({ trace }), BeamSpot { current, spread });
    }
    phosphor.paint(p, face);
}

/** A window's reflection on the glass, over everything the face shows. */
void paintGlassOver(QPainter &p, const PanelScreen &screen)
{
    // Reflection of a window on the glass.
    p.save();
    QPainterPath face;
    face.addRoundedRect(screen.face, 6, 6);
    p.setClipPath(face);
    QLinearGradient sheen(screen.face.topLeft(), screen.face.topLeft() + QPointF(52, 52));
    sheen.setColorAt(0, QColor(255, 255, 255, 40));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    const QPointF o = screen.face.topLeft();
    p.drawPolygon(QPolygonF { o, o + QPointF(110, 0), o + QPointF(0, 90) });
    p.restore();
}

// ---- print -----------------------------------------------------------------------------------

QRectF labelRect(const PanelControl &c)
{
    const QPointF centre = centreOf(c.rect);
    const qreal gap = c.kind == ControlKind::RotarySwitch ? 5 : 0.5;
    switch (c.labelSide) {
    case LabelSide::Above:
        return QRectF(centre.x() - 30, c.rect.top() - gap - kLabelHeight, 60, kLabelHeight);
    case LabelSide::Below:
        return QRectF(centre.x() - 30, c.rect.bottom() + gap, 60, kLabelHeight);
    case LabelSide::Left:
        return QRectF(c.rect.left() - 2 - 40, centre.y() - kLabelHeight / 2, 40, kLabelHeight);
    case LabelSide::Right:
        return QRectF(c.rect.right() + 2, centre.y() - kLabelHeight / 2, 40, kLabelHeight);
    case LabelSide::None:
        break;
    }
    return {};
}

Qt::Alignment labelAlignment(LabelSide side)
{
    switch (side) {
    case LabelSide::Left:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LabelSide::Right:
        return Qt::AlignLeft | Qt::AlignVCenter;
    default:
        return Qt::AlignCenter;
    }
}

} // namespace

QColor FrontPanelPainter::faceColour()
{
    return QColor(200, 198, 188);
}

QRectF FrontPanelPainter::graticule(const PanelScreen &screen)
{
    // A whole number of pixels a division, with a little of the face left round it.
    const qreal div = std::floor(qMin((screen.face.width() - 16) / ScreenGeometry::columns,
        (screen.face.height() - 8) / ScreenGeometry::rows));
    QRectF g(0, 0, ScreenGeometry::columns * div, ScreenGeometry::rows * div);
    g.moveCenter(screen.face.center());
    return QRectF(std::round(g.left()) + 0.5, std::round(g.top()) + 0.5, g.width(), g.height());
}

QList<QRectF> FrontPanelPainter::printBoxes(const FrontPanelModel &model)
{
    QList<QRectF> boxes;
    const QFontMetricsF labels(printFont(6, true));
    const QFontMetricsF positions(printFont(4.5, true));
    for (const PanelControl &c : model.controls) {
        if (c.labelSide != LabelSide::None && !c.label.isEmpty())
            boxes << labels.boundingRect(
                labelRect(c), int(labelAlignment(c.labelSide)) | Qt::TextDontClip, c.label);
        if (c.kind != ControlKind::SlideSwitch)
            continue;
        // The same places paintSlideSwitch() prints the positions at.
        const int count = qMax(1, int(c.positions.size()));
        for (int i = 0; i < c.positions.size(); ++i) {
            const qreal y = count == 1 ? c.rect.center().y()
                                       : c.rect.top() + 4 + (c.rect.height() - 8) * i / (count - 1);
            boxes << positions.boundingRect(QRectF(c.rect.right() + 3.2, y - 3, 12, 6),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, c.positions.at(i));
        }
    }
    return boxes;
}

void FrontPanelPainter::paint(QPainter &p, const FrontPanelModel &model)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintFace(p, model);

    QImage shadows(model.size, QImage::Format_ARGB32);
    shadows.fill(Qt::transparent);
    {
        QPainter sp(&shadows);
        sp.setRenderHint(QPainter::Antialiasing, true);
        paintShadowShapes(sp, model);
    }
    p.setOpacity(0.55);
    p.drawImage(QPointF(1.2, 1.8), blurred(shadows, 1, 2));
    p.setOpacity(1);

    for (const QRectF &plate : model.plates)
        paintPlate(p, plate);
    paintScreenFace(p, model.screen);
    paintTraces(p, model.screen, model.screen.traces);
    paintGlassOver(p, model.screen);
    for (const PanelControl &c : model.controls) {
        paintControlBody(p, c);
        if (c.labelSide != LabelSide::None && !c.label.isEmpty())
            printText(p, labelRect(c), c.label, 6, true, kPrint, labelAlignment(c.labelSide));
    }
    for (const PrintedText &t : model.texts)
        printText(p, t.rect, t.text, t.pixelSize, t.bold, t.white ? kWhitePrint : kPrint);
    p.restore();
}

void FrontPanelPainter::paintBackground(QPainter &p, const FrontPanelModel &model)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintFace(p, model);
    QImage shadows(model.size, QImage::Format_ARGB32);
    shadows.fill(Qt::transparent);
    {
        QPainter sp(&shadows);
        sp.setRenderHint(QPainter::Antialiasing, true);
        paintShadowShapes(sp, model);
    }
    p.setOpacity(0.55);
    p.drawImage(QPointF(1.2, 1.8), blurred(shadows, 1, 2));
    p.setOpacity(1);
    for (const QRectF &plate : model.plates)
        paintPlate(p, plate);
    paintScreenFace(p, model.screen);
    for (const PanelControl &c : model.controls) {
        if (c.labelSide != LabelSide::None && !c.label.isEmpty())
            printText(p, labelRect(c), c.label, 6, true, kPrint, labelAlignment(c.labelSide));
    }
    for (const PrintedText &t : model.texts)
        printText(p, t.rect, t.text, t.pixelSize, t.bold, t.white ? kWhitePrint : kPrint);
    p.restore();
}

void FrontPanelPainter::paintControl(QPainter &p, const PanelControl &control)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintControlBody(p, control);
    p.restore();
}

void FrontPanelPainter::paintGlass(QPainter &p, const PanelScreen &screen)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    paintGlassOver(p, screen);
    p.restore();
}

QRectF FrontPanelPainter::controlBounds(const PanelControl &control)
{
    // Knob skirts, bezels and the switch's printed positions reach a little past the body.
    QRectF bounds = control.rect.adjusted(-2, -2, 2, 2);
    if (control.kind == ControlKind::SlideSwitch)
        bounds.setRight(bounds.right() + 16);
    return bounds;
}

QImage FrontPanelPainter::render(const FrontPanelModel &model)
{
    QImage image(model.size, QImage::Format_ARGB32);
    image.fill(faceColour());
    QPainter p(&image);
    paint(p, model);
    p.end();
    return image;
}
