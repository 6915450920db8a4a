#include "artgen.h"
#include "bmpwriter.h"
#include "embeddedpictures.h"
#include "evaluationlayout.h"
#include "evaluationspots.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"

#include <QLatin1String>
#include <QPainter>
#include <QPainterPath>

namespace {

// clang-format off
constexpr AnchoredControl kLayout[] = {
    // Beam and horizontal deflection.
    {"Interruptor",  "Interruptor",     3,    10,  19,  13,    0},
    {"lamp",         "Interruptor",    25,  13.5,   6,   6,    0},
    {"xmag",         "xmag",            5,    12,  23,  15,    0},
    {"xy",           "xy",              3,    10,  19,  13,    0},
    {"intensidad",   "intensidad",    1.5,    10,  22,  22,   40},
    {"traza",        "intensidad",     29,     8,   7,  17,   30},
    {"xpos",         "xpos",            4,   8.5,  25,  25,  -20},
    {"holdoff",      "holdoff",         4,   8.5,  25,  25, -135},
    {"focus",        "focus",         8.5,     8,  24,  24,   25},
    // Time base and trigger.
    {"trigger",      "trigger",         4,     9,   8,  46,    0},
    {"time",         "time",          7.5,    12,  50,  50,   60},
    {"cal1",         "time",         22.5,    27,  20,  20,  135},
    {"atnorm",       "atnorm",         10,    10,  21,  13,    0},
    {"level",        "level",         9.5,     3,  22,  22,    0},
    {"triggerimp",   "triggerimp",    4.5,    13,  24,  24,    0},
    {"ext",          "ext",             6,    13,  21,  15,    0},
    {"flanco",       "flanco",          3,    10,  19,  13,    0},
    {"alt",          "alt",             6,    13,  21,  15,    0},
    // Channel I.
    {"ypos",         "ypos",          4.5,     9,  24,  24,  -30},
    {"volts1",       "volts1",        2.5,    12,  44,  44,  -30},
    {"cal2",         "volts1",         15,  24.5,  19,  19,  135},
    {"gd1",          "gd1",             2,    11,  13,  11,    0},
    {"acdc1",        "acdc1",           2,    11,  13,  11,    0},
    {"input1",       "input1",          4,     1,  25,  25,    0},
    {"inv1",         "inv1",            3,    10,  19,  13,    0},
    // Channel II and the channel mode.
    {"ymag1",        "ymag1",           4,    11,  13,  11,    0},
    {"ymag2",        "ymag1",          24,    11,  13,  11,    0},
    {"volts2",       "volts2",        2.5,    12,  44,  44,   15},
    {"cal3",         "volts2",         15,  24.5,  19,  19,  135},
    {"ypos2",        "ypos2",         9.5,     9,  30,  30,   20},
    {"acdc2",        "acdc2",           2,    11,  13,  11,    0},
    {"gd2",          "gd2",             6,    11,  13,  11,    0},
    {"imp2",         "imp2",            4,     3,  25,  25,    0},
    {"ch12",         "ch12",            6,    10,  21,  13,    0},
    {"dual",         "dual",            3,    10,  19,  13,    0},
    {"add",          "add",             7,    10,  19,  13,    0},
    {"inv2",         "inv2",            3,    10,  19,  13,    0},
    // Along the bottom edge.
    {"tester",       "tester",          4,     7,  17,  11,    0},
    {"testersocket", "tester",         30,   6.5,  12,  12,    0},
    {"calibracion",  "calibracion",    24,     1,  81,  23,    0},
};
// clang-format on

/** A hot-spot's rectangle in picture coordinates, found by the control it lies on. */
QRectF spotRect(const char *control)
{
    for (const EvaluationSpot &spot : kEvaluationSpots) {
        if (QLatin1String(spot.control) == QLatin1String(control))
            return QRectF(spot.rect.left - kEvaluationPictureLeft, spot.rect.top - kEvaluationPictureTop,
                spot.rect.width, spot.rect.height);
    }
    return {};
}

PrintedText print(const char *text, QRectF rect, qreal pixelSize = 5)
{
    return PrintedText { QString::fromLatin1(text), rect, pixelSize, true, false };
}

/** The button face colour that glyph backgrounds use; a glyph's bottom-left pixel names it. */
const QColor kGlyphBackground(192, 192, 192);

/** A mark sheet: a page with written lines and a red tick, for the button that gives the mark. */
QImage drawMarkSheet()
{
    QImage image(18, 18, QImage::Format_ARGB32);
    image.fill(kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(11.5, 1.5);
    page.lineTo(14.5, 4.5);
    page.lineTo(14.5, 16.5);
    page.lineTo(3.5, 16.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 44), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(210, 210, 206));
    p.drawPolygon(QPolygonF { QPointF(11.5, 1.5), QPointF(11.5, 4.5), QPointF(14.5, 4.5) });
    p.setPen(QPen(QColor(40, 60, 150), 1));
    for (const qreal y : { 6.5, 9.5, 12.5 })
        p.drawLine(QPointF(5.5, y), QPointF(9.5, y));
    QPainterPath tick;
    tick.moveTo(8.5, 11);
    tick.lineTo(11, 14);
    tick.lineTo(16.5, 6.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 0, 0), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(QColor(230, 30, 30), 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return image;
}

/** The glyph and its greyed twin side by side, the twin without colour and with less contrast. */
QImage withGreyedTwin(const QImage &normal)
{
    QImage pair(2 * normal.width(), normal.height(), QImage::Format_ARGB32);
    pair.fill(kGlyphBackground);
    const int face = qGray(kGlyphBackground.rgb());
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            pair.setPixel(x, y, normal.pixel(x, y));
            const int g = qBound(0, face + (qGray(normal.pixel(x, y)) - face) * 45 / 100, 255);
            pair.setPixel(normal.width() + x, y, qRgb(g, g, g));
        }
    }
    return pair;
}

} // namespace

FrontPanelModel evaluationPanelLayout()
{
    FrontPanelModel model;
    model.size = QSize(kEvaluationPictureWidth, kEvaluationPictureHeight);
    model.screen.face = QRectF(kEvaluationScreen.left - kEvaluationPictureLeft,
        kEvaluationScreen.top - kEvaluationPictureTop, kEvaluationScreen.width, kEvaluationScreen.height);
    model.screen.bezel = model.screen.face.adjusted(-12, -12, 12, 12);

    placeAnchoredControls(model, kLayout, spotRect);

    // The component tester's button and socket share one insulating plate.
    model.plates.append(spotRect("tester").adjusted(0, 1, 0, -1));

    const QRectF ymag = spotRect("ymag1");
    const QRectF time = model.control(QStringLiteral("time"))->rect;
    const QRectF volts1 = model.control(QStringLiteral("volts1"))->rect;
    const QRectF volts2 = model.control(QStringLiteral("volts2"))->rect;
    const QRectF tester = spotRect("tester");
    model.texts = {
        print("HM 203", QRectF(133, 205, 56, 14), 12),
        print("20 MHz  OSCILLOSCOPE", QRectF(131, 220, 60, 7), 4.2),
        print("COMPONENT TESTER", QRectF(tester.left() - 4, tester.top() - 8, tester.width() + 8, 6), 4.5),
        print("Y-MAG", QRectF(ymag.left(), ymag.top() - 6, ymag.width(), 6)),
        print("CAL", QRectF(time.center().x() - 8, time.bottom() + 1, 16, 6)),
        print("CAL", QRectF(volts1.center().x() - 8, volts1.bottom() + 1, 16, 6)),
        print("CAL", QRectF(volts2.center().x() - 8, volts2.bottom() + 1, 16, 6)),
    };
    return model;
}

void generateEvaluationArt(const ArtOutput &out)
{
    writeBmp(FrontPanelPainter::render(evaluationPanelLayout()),
        out.embedded.filePath(QLatin1String(EmbeddedPictures::evaluationPanel)));
    writeBmp(
        withGreyedTwin(drawMarkSheet()), out.embedded.filePath(QLatin1String(EmbeddedPictures::markGlyph)));
}
