#include "screenpainter.h"

#include "phosphorscreen.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBezel(38, 40, 44);
const QColor kBezelEdge(86, 90, 96);
const QColor kFaceCentre(18, 34, 30);
const QColor kFaceEdge(6, 14, 12);
const QColor kGraticule(78, 104, 96);
const QColor kLegend(196, 204, 200);

/** Room under the face for the scale line, in pixels, for a given target height. */
double legendHeight(const QRectF &target, const ScreenOptions &options)
{
    return options.scaleLegend ? std::clamp(target.height() * 0.1, 9.0, 16.0) : 0.0;
}

double bezelMargin(const QRectF &target, const ScreenOptions &options)
{
    return options.bezel ? std::clamp(std::min(target.width(), target.height()) * 0.02, 1.0, 8.0) : 0.0;
}

QRectF faceRect(const QRectF &graticule)
{
    const double perDiv = graticule.width() / ScreenGeometry::columns;
    const double extra = ScreenGeometry::overscan * perDiv;
    return graticule.adjusted(-extra, -extra, extra, extra);
}

void paintFace(QPainter &p, const QRectF &face)
{
    QRadialGradient glass(face.center(), std::max(face.width(), face.height()) * 0.65);
    glass.setColorAt(0.0, kFaceCentre);
    glass.setColorAt(1.0, kFaceEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    const double radius = face.width() * 0.04;
    p.drawRoundedRect(face, radius, radius);
}

void paintGraticule(QPainter &p, const QRectF &g)
{
    const double perDiv = g.width() / ScreenGeometry::columns;
    // Lines on half pixels stay one pixel wide and sharp.
    const auto crisp = [](double v) { return std::floor(v) + 0.5; };
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kGraticule, 1));
    for (int i = 0; i <= int(ScreenGeometry::columns); ++i) {
        const double x = crisp(g.left() + i * perDiv);
        p.drawLine(QPointF(x, crisp(g.top())), QPointF(x, crisp(g.bottom())));
    }
    for (int i = 0; i <= int(ScreenGeometry::rows); ++i) {
        const double y = crisp(g.top() + i * perDiv);
        p.drawLine(QPointF(crisp(g.left()), y), QPointF(crisp(g.right()), y));
    }
    // Five sub-divisions per division on the two centre lines.
    const double tick = std::max(1.0, perDiv * 0.12);
    const double cx = crisp(g.center().x());
    const double cy = crisp(g.center().y());
    for (int i = 0; i <= int(ScreenGeometry::columns) * 5; ++i) {
        const double x = crisp(g.left() + i * perDiv / 5.0);
        p.drawLine(QPointF(x, cy - tick), QPointF(x, cy + tick));
    }
    for (int i = 0; i <= int(ScreenGeometry::rows) * 5; ++i) {
        const double y = crisp(g.top() + i * perDiv / 5.0);
        p.drawLine(QPointF(cx - tick, y), QPointF(cx + tick, y));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
}

/** The face lit by what the beam writes, at the opening current and the sharpest focus. */
void paintLight(QPainter &p, const QRectF &face, const QRectF &g, const BeamWriting &writing, double now)
{
    const QRect area = face.toAlignedRect();
    PhosphorScreen phosphor;
    const QPointF centre = ScreenPainter::toPixels(g, QPointF(0, 0)) - QPointF(area.topLeft());
    phosphor.setGeometry(area.size(), FaceMapping { centre, g.width() / ScreenGeometry::columns, 0.0 });
    phosphor.write(
        writing, BeamSpot { Beam::openingCurrent, Beam::spotSpread(Beam::openingCurrent, 0.5) }, now);
    phosphor.paint(p, QRectF(area));
}

void paintScreen(QPainter &p, const QRectF &target, const BeamWriting &writing, double now,
    const ScreenOptions &options, const QString &legend)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(target);
    const QRectF g = ScreenPainter::graticuleRect(target, options);
    const QRectF face = faceRect(g);
    if (options.bezel) {
        p.fillRect(target, kBezel);
        p.setPen(QPen(kBezelEdge, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(target.adjusted(0.5, 0.5, -0.5, -0.5));
        // A dark recess round the face, like the mask of the tube.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(10, 10, 12));
        const double r = face.width() * 0.05;
        p.drawRoundedRect(face.adjusted(-1.5, -1.5, 1.5, 1.5), r, r);
    }
    paintFace(p, face);
    paintGraticule(p, g);
    p.save();
    QPainterPath clip;
    const double radius = face.width() * 0.04;
    clip.addRoundedRect(face, radius, radius);
    p.setClipPath(clip, Qt::IntersectClip);
    paintLight(p, face, g, writing, now);
    p.restore();
    if (options.scaleLegend && !legend.isEmpty()) {
        const double strip = legendHeight(target, options);
        const QRectF area(target.left(), target.bottom() - strip - bezelMargin(target, options) * 0.5,
            target.width(), strip);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(std::max(7, int(strip * 0.62)));
        font.setStyleStrategy(QFont::PreferAntialias);
        p.setFont(font);
        p.setPen(kLegend);
        p.drawText(area, Qt::AlignCenter, legend);
    }
    p.restore();
}

} // namespace

QRectF ScreenPainter::graticuleRect(const QRectF &target, const ScreenOptions &options)
{
    const double margin = bezelMargin(target, options);
    const double strip = legendHeight(target, options);
    const double spanX = ScreenGeometry::columns + 2 * ScreenGeometry::overscan;
    const double spanY = ScreenGeometry::rows + 2 * ScreenGeometry::overscan;
    double perDiv
        = std::min((target.width() - 2 * margin) / spanX, (target.height() - 2 * margin - strip) / spanY);
    perDiv = std::max(perDiv, 0.1);
    if (perDiv >= 6.0)
        perDiv = std::floor(perDiv);
    const double width = perDiv * ScreenGeometry::columns;
    const double height = perDiv * ScreenGeometry::rows;
    const double left = std::round(target.left() + (target.width() - width) / 2.0);
    const double availableTop = target.top() + margin;
    const double availableHeight = target.height() - 2 * margin - strip;
    const double top = std::round(availableTop + (availableHeight - height) / 2.0);
    return QRectF(left, top, width, height);
}

QPointF ScreenPainter::toPixels(const QRectF &graticule, QPointF divisions)
{
    const double perDiv = graticule.width() / ScreenGeometry::columns;
    // Pixel centres: a point on a graticule line lands on the middle of that line's pixel.
    return QPointF(std::floor(graticule.center().x()) + 0.5 + divisions.x() * perDiv,
        std::floor(graticule.center().y()) + 0.5 - divisions.y() * perDiv);
}

void ScreenPainter::paint(
    QPainter &painter, const QRectF &target, const ScopeSettings &settings, const ScreenOptions &options)
{
    const QString legend = options.legendText.isEmpty() ? scaleLegend(settings) : options.legendText;
    // A picture that moves by itself is shown as it stands after a few afterglow times.
    const double now = 4.0 * Afterglow::seconds;
    paintScreen(painter, target, beamWriting(settings, 0.0, now), now, options, legend);
}

void ScreenPainter::paintTraces(
    QPainter &painter, const QRectF &target, const ScreenTraces &traces, const ScreenOptions &options)
{
    paintScreen(painter, target, sweptWriting(traces.traces), 0.0, options, options.legendText);
}

QImage ScreenPainter::render(const ScopeSettings &settings, QSize size, const ScreenOptions &options)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), settings, options);
    return image;
}
