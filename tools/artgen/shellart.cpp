#include "artgen.h"
#include "bmpwriter.h"
#include "curwriter.h"
#include "embeddedpictures.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

/** The button face colour that glyph backgrounds use; a glyph's bottom-left pixel names it. */
const QColor kGlyphBackground(192, 192, 192);

QImage canvas(int width, int height, const QColor &fill)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

/**
 * The disabled look of a sixteen-colour glyph: every pixel darker than the button face becomes a
 * grey engraving with a white highlight one pixel down and right, the way greyed buttons are drawn.
 */
QImage engravedTwin(const QImage &normal)
{
    QImage twin = canvas(normal.width(), normal.height(), kGlyphBackground);
    QList<QPoint> marked;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            if (qGray(normal.pixel(x, y)) < 150)
                marked.append(QPoint(x, y));
        }
    }
    for (const QPoint &p : marked) {
        const QPoint below = p + QPoint(1, 1);
        if (twin.rect().contains(below))
            twin.setPixel(below, qRgb(255, 255, 255));
    }
    for (const QPoint &p : marked)
        twin.setPixel(p, qRgb(128, 128, 128));
    return twin;
}

/**
 * The disabled look of a true-colour glyph: the picture without its colours, its contrast
 * pressed towards the button face, so every detail stays but nothing stands out.
 */
QImage fadedTwin(const QImage &normal)
{
    QImage twin = normal.convertToFormat(QImage::Format_ARGB32);
    const int face = qGray(kGlyphBackground.rgb());
    for (int y = 0; y < twin.height(); ++y) {
        for (int x = 0; x < twin.width(); ++x) {
            const int g = qBound(0, face + (qGray(twin.pixel(x, y)) - face) * 45 / 100, 255);
            twin.setPixel(x, y, qRgb(g, g, g));
        }
    }
    return twin;
}

enum class GlyphDepth { SixteenColours, TrueColour };

/** Puts the normal image and its greyed twin side by side, as two-image glyphs are stored. */
QImage glyphPair(const QImage &normal, GlyphDepth depth)
{
    QImage pair = canvas(2 * normal.width(), normal.height(), kGlyphBackground);
    QPainter p(&pair);
    p.drawImage(0, 0, normal);
    p.drawImage(
        normal.width(), 0, depth == GlyphDepth::SixteenColours ? engravedTwin(normal) : fadedTwin(normal));
    return pair;
}

void fillCircle(QPainter &p, QPointF centre, qreal radius, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

/** An oscilloscope seen from the front: grey case, black screen with two green square waves, red knobs. */
QImage drawIcon()
{
    QImage image = canvas(32, 32, Qt::white);
    QPainter p(&image);
    // Feet, then the case with light top-left edges and dark bottom-right edges.
    p.fillRect(QRect(3, 27, 4, 2), Qt::black);
    p.fillRect(QRect(25, 27, 4, 2), Qt::black);
    p.fillRect(QRect(1, 4, 30, 24), Qt::black);
    p.fillRect(QRect(2, 5, 28, 22), QColor(192, 192, 192));
    p.fillRect(QRect(2, 5, 28, 1), Qt::white);
    p.fillRect(QRect(2, 5, 1, 22), Qt::white);
    p.fillRect(QRect(2, 26, 28, 1), QColor(128, 128, 128));
    p.fillRect(QRect(29, 5, 1, 22), QColor(128, 128, 128));
    // Screen bezel and screen.
    p.fillRect(QRect(3, 7, 17, 17), QColor(128, 128, 128));
    p.fillRect(QRect(4, 8, 15, 15), Qt::black);
    p.fillRect(QRect(4, 22, 15, 1), QColor(0, 0, 0));
    // Dim graticule dots.
    for (int y = 10; y <= 20; y += 5)
        for (int x = 6; x <= 17; x += 3)
            image.setPixel(x, y, qRgb(0, 128, 0));
    // Two square-wave traces, upper one faster.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0, 255, 0), 1));
    const int upperHigh = 9, upperLow = 13;
    QPolygon upper;
    int level = upperHigh;
    for (int x = 4; x < 19; x += 4) {
        upper << QPoint(x, level);
        const int next = qMin(x + 4, 18);
        upper << QPoint(next, level);
        level = level == upperHigh ? upperLow : upperHigh;
        upper << QPoint(next, level);
    }
    p.drawPolyline(upper);
    const int lowerHigh = 16, lowerLow = 20;
    QPolygon lower;
    level = lowerLow;
    for (int x = 4; x < 19; x += 7) {
        lower << QPoint(x, level);
        const int next = qMin(x + 7, 18);
        lower << QPoint(next, level);
        level = level == lowerHigh ? lowerLow : lowerHigh;
        lower << QPoint(next, level);
    }
    p.drawPolyline(lower);
    // Red knobs: black rim, dark red shade on the lower right, white pointer line.
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF knobs[] = { { 24.5, 10.5 }, { 24.5, 18.5 } };
    for (const QPointF &k : knobs) {
        fillCircle(p, k, 3.8, Qt::black);
        fillCircle(p, k + QPointF(0.4, 0.4), 3.0, QColor(128, 0, 0));
        fillCircle(p, k - QPointF(0.3, 0.3), 2.6, QColor(255, 0, 0));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(k.x() - 0.5, k.y() - 3, 1, 3), Qt::white);
        p.setRenderHint(QPainter::Antialiasing, true);
    }
    // A small lamp and two push buttons under the knobs.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(21, 23, 2, 2), Qt::black);
    p.fillRect(QRect(21, 23, 1, 1), Qt::white);
    p.fillRect(QRect(25, 23, 2, 2), Qt::black);
    p.fillRect(QRect(25, 23, 1, 1), Qt::white);
    image.setPixel(28, 7, qRgb(0, 255, 0));
    return image;
}

/** A pocket calculator: dark case, lit display, rows of keys. */
QImage drawCalculator()
{
    QImage image = canvas(16, 16, kGlyphBackground);
    QPainter p(&image);
    p.fillRect(QRect(2, 0, 12, 16), Qt::black);
    p.fillRect(QRect(3, 1, 10, 14), QColor(128, 128, 128));
    p.fillRect(QRect(3, 1, 10, 1), Qt::white);
    p.fillRect(QRect(3, 1, 1, 14), Qt::white);
    // Display with a few dark digit segments.
    p.fillRect(QRect(4, 2, 8, 4), Qt::black);
    p.fillRect(QRect(5, 3, 6, 2), QColor(0, 255, 255));
    p.fillRect(QRect(7, 3, 1, 2), QColor(0, 128, 128));
    p.fillRect(QRect(9, 3, 1, 2), QColor(0, 128, 128));
    // Keys: three rows of white keys, the last column red.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect key(4 + 3 * col, 7 + 2 * row, 2, 1);
            const QColor colour = col == 2 ? QColor(255, 0, 0) : Qt::white;
            p.fillRect(key, colour);
            p.fillRect(QRect(key.left(), key.top() + 1, 2, 1), Qt::black);
        }
    }
    return image;
}

/** A ruled note pad with a yellow pencil lying across it. */
QImage drawNotePad()
{
    QImage image = canvas(16, 16, kGlyphBackground);
    QPainter p(&image);
    // Pad with its shadow and binding rings.
    p.fillRect(QRect(2, 2, 10, 13), QColor(128, 128, 128));
    p.fillRect(QRect(1, 1, 10, 13), Qt::black);
    p.fillRect(QRect(2, 2, 8, 11), Qt::white);
    for (int x = 2; x <= 9; x += 2)
        p.fillRect(QRect(x, 0, 1, 3), Qt::black);
    for (int y = 5; y <= 11; y += 2)
        p.fillRect(QRect(3, y, 6, 1), QColor(0, 0, 255));
    p.fillRect(QRect(3, 5, 1, 7), QColor(255, 0, 0));
    // Pencil from upper right to its tip in the middle of the pad.
    const QPoint path[] = { { 14, 3 }, { 13, 4 }, { 12, 5 }, { 11, 6 }, { 10, 7 }, { 9, 8 } };
    for (const QPoint &c : path) {
        image.setPixel(c + QPoint(-1, 0), qRgb(0, 0, 0));
        image.setPixel(c + QPoint(0, 1), qRgb(0, 0, 0));
        image.setPixel(c, qRgb(255, 255, 0));
        image.setPixel(c + QPoint(1, 0), qRgb(128, 128, 0));
        image.setPixel(c + QPoint(0, -1), qRgb(0, 0, 0));
        image.setPixel(c + QPoint(1, 1), qRgb(0, 0, 0));
    }
    image.setPixel(15, 2, qRgb(255, 0, 0));
    image.setPixel(14, 1, qRgb(255, 0, 0));
    image.setPixel(15, 1, qRgb(128, 0, 0));
    image.setPixel(14, 2, qRgb(255, 0, 0));
    // Sharpened wood and the lead.
    image.setPixel(8, 9, qRgb(128, 128, 0));
    image.setPixel(8, 8, qRgb(255, 255, 0));
    image.setPixel(9, 9, qRgb(0, 0, 0));
    image.setPixel(7, 10, qRgb(0, 0, 0));
    return image;
}

/** A small instrument for the About box: rounded case, green screen with a sine trace, two knobs. */
QImage drawEmblem()
{
    const QColor face(212, 208, 200);
    QImage image = canvas(41, 26, face);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Case with a soft vertical gradient and an outline.
    QLinearGradient caseShade(0, 0, 0, 26);
    caseShade.setColorAt(0, QColor(236, 234, 226));
    caseShade.setColorAt(1, QColor(168, 164, 154));
    p.setPen(QPen(QColor(60, 60, 64), 1));
    p.setBrush(caseShade);
    p.drawRoundedRect(QRectF(0.5, 0.5, 40, 23), 3, 3);
    p.fillRect(QRectF(4, 23.5, 5, 2), QColor(40, 40, 40));
    p.fillRect(QRectF(32, 23.5, 5, 2), QColor(40, 40, 40));
    // Screen bezel and glowing screen.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 48, 52));
    p.drawRoundedRect(QRectF(2.5, 2.5, 24, 19), 2, 2);
    QRadialGradient glow(QPointF(14.5, 12), 12);
    glow.setColorAt(0, QColor(20, 96, 52));
    glow.setColorAt(1, QColor(6, 40, 22));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(4, 4, 21, 16), 1.5, 1.5);
    p.setPen(QPen(QColor(60, 140, 90, 140), 0.5));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(4 + i * 5.25, 4), QPointF(4 + i * 5.25, 20));
    p.drawLine(QPointF(4, 12), QPointF(25, 12));
    // The sine trace with a faint halo.
    QPainterPath sine;
    for (int i = 0; i <= 84; ++i) {
        const qreal x = 4.5 + i * 0.24;
        const qreal y = 12 - 5.5 * std::sin(i / 84.0 * 4 * M_PI);
        if (i == 0)
            sine.moveTo(x, y);
        else
            sine.lineTo(x, y);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 255, 120, 90), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(sine);
    p.setPen(QPen(QColor(190, 255, 190), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(sine);
    // Two knobs with pointer lines and a red power lamp.
    const QPointF knobs[] = { { 33.5, 8 }, { 33.5, 16.5 } };
    for (const QPointF &k : knobs) {
        QRadialGradient shade(k - QPointF(1, 1), 4);
        shade.setColorAt(0, QColor(110, 110, 116));
        shade.setColorAt(1, QColor(20, 20, 24));
        p.setPen(QPen(QColor(10, 10, 10), 0.6));
        p.setBrush(shade);
        p.drawEllipse(k, 3.2, 3.2);
        p.setPen(QPen(Qt::white, 0.8));
        p.drawLine(k, k + QPointF(1.6, -2.2));
    }
    QRadialGradient lamp(QPointF(29, 20.5), 1.6);
    lamp.setColorAt(0, QColor(255, 200, 180));
    lamp.setColorAt(1, QColor(220, 30, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawEllipse(QPointF(29, 20.5), 1.3, 1.3);
    return image;
}

/** An open door: the dark doorway in its frame and the leaf swung out towards the viewer. */
QImage drawOpenDoor()
{
    QImage image = canvas(18, 18, kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Frame and the dark room behind it.
    p.setPen(QPen(QColor(40, 24, 8), 1));
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(6.5, 0.5, 10, 17));
    QLinearGradient room(8, 2, 15, 16);
    room.setColorAt(0, QColor(20, 24, 60));
    room.setColorAt(1, QColor(0, 0, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(room);
    p.drawRect(QRectF(8, 2, 7.5, 15.5));
    // The leaf, hinged on the left post, in perspective.
    const QPolygonF leaf { QPointF(7.5, 2), QPointF(1.5, 0.5), QPointF(1.5, 17.5), QPointF(7.5, 16.5) };
    QLinearGradient wood(1, 0, 8, 0);
    wood.setColorAt(0, QColor(232, 168, 88));
    wood.setColorAt(1, QColor(168, 104, 40));
    p.setPen(QPen(QColor(60, 30, 0), 1));
    p.setBrush(wood);
    p.drawPolygon(leaf);
    p.setPen(QPen(QColor(120, 70, 20), 0.8));
    p.drawLine(QPointF(3, 4), QPointF(6, 4.8));
    p.drawLine(QPointF(3, 14.5), QPointF(6, 14.2));
    // Door knob.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 40));
    p.drawEllipse(QPointF(3, 9.5), 1, 1);
    return image;
}

/** Strokes a glyph's path twice: a wide dark rim, then its narrower body in the glyph's colour. */
void strokeWithRim(QPainter &p, const QPainterPath &path, const QColor &rim, qreal rimWidth,
    const QColor &body, qreal bodyWidth)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, rimWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(body, bodyWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

/** A bold green check mark with a darker rim. */
QImage drawCheckMark()
{
    QImage image = canvas(18, 18, kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath tick;
    tick.moveTo(2.5, 9.5);
    tick.lineTo(7, 14.5);
    tick.lineTo(15.5, 3.5);
    strokeWithRim(p, tick, QColor(0, 80, 0), 4.2, QColor(20, 200, 40), 2.4);
    p.setPen(QPen(QColor(150, 255, 150), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(-0.4, -0.5));
    return image;
}

/** A bold red cross with a darker rim. */
QImage drawCross()
{
    QImage image = canvas(18, 18, kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath cross;
    cross.moveTo(4, 4);
    cross.lineTo(14, 14);
    cross.moveTo(14, 4);
    cross.lineTo(4, 14);
    strokeWithRim(p, cross, QColor(100, 0, 0), 4.4, QColor(230, 30, 30), 2.6);
    p.setPen(QPen(QColor(255, 150, 140), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.6, 4.2), QPointF(8.5, 8.1));
    p.drawLine(QPointF(13.4, 4.2), QPointF(9.5, 8.1));
    return image;
}

/** A red tick mark with a darker rim, for the buttons that show a figure. */
QImage drawFigureTick()
{
    QImage image = canvas(16, 16, kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.5, 12.8);
    tick.lineTo(13.5, 3);
    strokeWithRim(p, tick, QColor(110, 0, 0), 4.0, QColor(225, 24, 24), 2.2);
    p.setPen(QPen(QColor(255, 150, 140), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(-0.35, -0.45));
    return image;
}

/** A tiny oscilloscope screen with a green trace, for the buttons that show a case on the screen. */
QImage drawCaseScreen()
{
    QImage image = canvas(16, 16, kGlyphBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(24, 24, 28), 1));
    p.setBrush(QColor(80, 82, 88));
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(4, 44, 24));
    p.drawRect(QRectF(2, 3, 12, 10));
    p.setPen(QPen(QColor(40, 110, 70), 0.5));
    p.drawLine(QPointF(2, 8), QPointF(14, 8));
    p.drawLine(QPointF(8, 3), QPointF(8, 13));
    QPainterPath wave;
    for (int i = 0; i <= 48; ++i) {
        const qreal x = 2.5 + i * 0.229;
        const qreal y = 8 - 3.4 * std::sin(i / 48.0 * 2 * M_PI);
        if (i == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 255, 90, 110), 2.2));
    p.drawPath(wave);
    p.setPen(QPen(QColor(180, 255, 170), 1.0));
    p.drawPath(wave);
    return image;
}

/**
 * A pointing hand, black outline on white, index finger up. Its hot spot is the tip of the
 * index finger, returned through hotSpot.
 */
QImage drawHand(QPoint *hotSpot)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);

    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    // Index finger, then the three bent fingers, each a rounded bar that runs into the palm.
    hand.addRoundedRect(QRectF(9.5, 0.5, 5, 18), 2.5, 2.5);
    hand.addRoundedRect(QRectF(14.5, 9.5, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(19.5, 10.5, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(24.5, 12.5, 4.5, 9), 2.25, 2.25);
    // Palm and wrist.
    QPainterPath palm;
    palm.moveTo(9.5, 14);
    palm.lineTo(29, 16);
    palm.lineTo(29, 22);
    palm.cubicTo(29, 26, 27, 27.5, 25.5, 28);
    palm.lineTo(25.5, 31.5);
    palm.lineTo(12.5, 31.5);
    palm.lineTo(12.5, 28);
    palm.cubicTo(10, 26.5, 6.5, 23, 3.5, 19.5);
    palm.cubicTo(2, 17.5, 3.5, 15, 6, 16.5);
    palm.lineTo(9.5, 19);
    palm.closeSubpath();
    hand.addPath(palm);
    const QPainterPath outline = hand.simplified();

    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    // Creases between the fingers and a cuff line at the wrist.
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 12), QPointF(14.5, 17));
    p.drawLine(QPointF(19.5, 12.5), QPointF(19.5, 17.5));
    p.drawLine(QPointF(24.5, 14), QPointF(24.5, 18.5));
    p.drawLine(QPointF(12.5, 28.5), QPointF(25.5, 28.5));
    p.end();
    // The hot spot is the first solid pixel at the top of the index finger.
    const int fingerX = 12;
    int tip = 0;
    while (tip < image.height() - 1 && qAlpha(image.pixel(fingerX, tip)) < 128)
        ++tip;
    *hotSpot = QPoint(fingerX, tip);
    return image;
}

} // namespace

void generateShellArt(const ArtOutput &out)
{
    struct Glyph
    {
        const char *name;
        QImage (*draw)();
        GlyphDepth depth;
    };
    static const Glyph glyphs[] = {
        { EmbeddedPictures::calculatorGlyph, drawCalculator, GlyphDepth::SixteenColours },
        { EmbeddedPictures::noteGlyph, drawNotePad, GlyphDepth::SixteenColours },
        { EmbeddedPictures::closeGlyph, drawOpenDoor, GlyphDepth::TrueColour },
        { EmbeddedPictures::okGlyph, drawCheckMark, GlyphDepth::TrueColour },
        { EmbeddedPictures::cancelGlyph, drawCross, GlyphDepth::TrueColour },
        { EmbeddedPictures::caseGlyph, drawCaseScreen, GlyphDepth::TrueColour },
        { EmbeddedPictures::figureGlyph, drawFigureTick, GlyphDepth::TrueColour },
    };
    const auto embedded = [&out](const char *name) { return out.embedded.filePath(QLatin1String(name)); };
    writeBmp(drawIcon(), embedded(EmbeddedPictures::icon), 4);
    writeBmp(drawEmblem(), embedded(EmbeddedPictures::emblem), 24);
    for (const Glyph &g : glyphs)
        writeBmp(
            glyphPair(g.draw(), g.depth), embedded(g.name), g.depth == GlyphDepth::SixteenColours ? 4 : 24);

    QPoint hotSpot;
    const QImage hand = drawHand(&hotSpot);
    writeCursor(hand, hotSpot, out.data.filePath(QStringLiteral("handgrab.cur")), 32);
}
