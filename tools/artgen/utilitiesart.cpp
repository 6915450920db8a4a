#include "utilitiesart.h"

#include "artgen.h"
#include "bmpwriter.h"
#include "embeddedpictures.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "screenpainter.h"
#include "screentraces.h"
#include "sinezones.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

namespace {

const QColor kWave(0, 0, 150);
const QColor kMark(200, 0, 0);
const QColor kGuide(150, 150, 150);
const QColor kSecondWave(0, 120, 0);
/** Marks drawn over a screen's dark face. */
const QColor kScreenMark(255, 196, 64);

/** The size of each of the index's three small screens. */
const QSize kIndexScreen(129, 105);

void write(const QImage &image, const QDir &dir, const char *name)
{
    if (!writeBmp(image, dir.filePath(QLatin1String(name)), 24))
        std::fprintf(stderr, "vantela_artgen: cannot write %s\n", name);
}

QImage whiteCanvas(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont mathFont(int pixels, bool italic = true)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixels);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

/** A piece of a formula: its text, and whether it is a subscript. */
struct Piece
{
    QString text;
    bool subscript = false;
    /** Names of functions stand upright among the italic letters. */
    bool upright = false;
};

QFont pieceFont(const QFont &font, const Piece &piece)
{
    QFont shaped = font;
    if (piece.subscript)
        shaped.setPixelSize(font.pixelSize() * 2 / 3);
    if (piece.upright)
        shaped.setItalic(false);
    return shaped;
}

/** The width of a formula set from pieces in a font. */
double piecesWidth(const QFont &font, const QList<Piece> &pieces)
{
    double width = 0;
    for (const Piece &piece : pieces)
        width += QFontMetricsF(pieceFont(font, piece)).horizontalAdvance(piece.text);
    return width;
}

/** Writes a formula whose ink is centred on a point; subscripts sit lower and smaller. */
void drawPieces(QPainter &p, const QFont &font, const QList<Piece> &pieces, QPointF centre)
{
    const QFontMetricsF metrics(font);
    // Centred on the capitals' height, which is where the eye finds a formula's middle.
    const double capital = metrics.tightBoundingRect(QStringLiteral("U")).height();
    double x = centre.x() - piecesWidth(font, pieces) / 2.0;
    const double baseline = centre.y() + capital / 2.0;
    for (const Piece &piece : pieces) {
        p.setFont(pieceFont(font, piece));
        const double y = piece.subscript ? baseline + font.pixelSize() * 0.22 : baseline;
        p.drawText(QPointF(x, y), piece.text);
        x += QFontMetricsF(p.font()).horizontalAdvance(piece.text);
    }
}

/** One letter whose ink is centred on a point. */
void drawLetter(QPainter &p, const QFont &font, const QString &letter, QPointF centre)
{
    p.setFont(font);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(letter);
    p.drawText(centre - ink.center(), letter);
}

void arrowHead(QPainter &p, QPointF tip, QPointF from, double size)
{
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << tip << tip - u * size + n * size * 0.4 << tip - u * size - n * size * 0.4;
    p.save();
    p.setBrush(p.pen().color());
    p.setPen(QPen(p.pen().color(), 1));
    p.drawPolygon(head);
    p.restore();
}

/** A measured length: a line with an arrow at both ends. */
void dimension(QPainter &p, QPointF a, QPointF b, double head = 6)
{
    p.drawLine(a, b);
    arrowHead(p, a, b, head);
    arrowHead(p, b, a, head);
}

/** An axis with its arrow. */
void axis(QPainter &p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    arrowHead(p, to, from, 8);
}

QRectF pictureRect(const SineZone &zone)
{
    return QRectF(zone.rect.left - kSinePictureLeft, zone.rect.top - kSinePictureTop, zone.rect.width,
        zone.rect.height);
}

const SineZone &sineZone(const char *name)
{
    for (const SineZone &zone : kSineZones)
        if (QLatin1String(zone.name) == QLatin1String(name))
            return zone;
    return kSineZones.front();
}

// ---- the annotated sine wave ----

/** Where the wave of the annotated picture lies: its zero line, amplitude, period and first rising zero. */
struct SineFigure
{
    double axisY = 160;
    double amplitude = 78;
    double period = 104;
    double risingZero = 250;
    /** Where t = 0 stands: the rising zero comes before it by the initial phase. */
    double origin = 270;

    double y(double x) const
    {
        return axisY - amplitude * std::sin(2 * std::numbers::pi * (x - risingZero) / period);
    }
};

void drawSineFigure(QPainter &p, const QString &without)
{
    const SineFigure f;
    p.setRenderHint(QPainter::Antialiasing, true);

    // The axes: time across, the voltage up through t = 0.
    p.setPen(QPen(Qt::black, 1.2));
    axis(p, QPointF(20, f.axisY), QPointF(602, f.axisY));
    axis(p, QPointF(f.origin, 252), QPointF(f.origin, 64));
    drawLetter(p, mathFont(16), QStringLiteral("t"), QPointF(596, f.axisY + 14));

    // The wave.
    QPainterPath wave;
    wave.moveTo(28, f.y(28));
    for (double x = 29; x <= 590; x += 1)
        wave.lineTo(x, f.y(x));
    p.setPen(QPen(kWave, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);

    // The marks the annotations name: the amplitude, the initial phase and the period.
    const double peakX = f.risingZero + f.period / 4;
    const double peakY = f.axisY - f.amplitude;
    p.setPen(QPen(kGuide, 1, Qt::DashLine));
    p.drawLine(QPointF(peakX, peakY), QPointF(336, peakY));
    p.setPen(QPen(kMark, 1.2));
    const double amplitudeX = 326;
    dimension(p, QPointF(amplitudeX, f.axisY - 1), QPointF(amplitudeX, peakY + 1));
    const double phaseY = f.axisY + 6;
    dimension(p, QPointF(f.risingZero, phaseY), QPointF(f.origin, phaseY), 5);
    const double periodY = f.axisY + 20;
    const double periodEnd = f.risingZero + f.period;
    p.drawLine(QPointF(f.risingZero, f.axisY + 3), QPointF(f.risingZero, periodY + 4));
    p.drawLine(QPointF(periodEnd, f.axisY + 3), QPointF(periodEnd, periodY + 4));
    dimension(p, QPointF(f.risingZero, periodY), QPointF(periodEnd, periodY));

    // The annotations, each in the middle of the zone that explains it.
    const auto wanted = [&without](const char *zone) { return without != QLatin1String(zone); };
    const auto centre = [](const char *zone) { return pictureRect(sineZone(zone)).center(); };
    if (wanted("iut")) {
        p.setPen(Qt::black);
        drawPieces(p, mathFont(17),
            { { QStringLiteral("U(t) = U") }, { QStringLiteral("m"), true },
                { QStringLiteral(" sen "), false, true }, { QStringLiteral("(\u03c9t + \u03c6)") } },
            centre("iut"));
    }
    p.setPen(kMark);
    if (wanted("ium")) {
        const QRectF zone = pictureRect(sineZone("ium"));
        drawPieces(p, mathFont(17), { { QStringLiteral("U") }, { QStringLiteral("m"), true } },
            QPointF(amplitudeX + 17, zone.center().y() + 2));
    }
    if (wanted("ij"))
        drawLetter(p, mathFont(17), QStringLiteral("\u03c6"), QPointF(263.5, 149));
    if (wanted("it"))
        drawLetter(p, mathFont(17), QStringLiteral("T"), QPointF(288, 171));
    if (wanted("iw")) {
        // The angular speed: a turning arrow round its letter.
        const QPointF c = centre("iw");
        const double r = 12;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 200);
        arc.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 200, 290);
        p.setPen(QPen(kMark, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        const QPointF end = arc.currentPosition();
        const double angle = (200 + 290) * std::numbers::pi / 180;
        // Counter-clockwise: the arrow points along the circle's tangent.
        const QPointF tangent(-std::sin(angle), -std::cos(angle));
        arrowHead(p, end, end - tangent * 6, 6);
        drawLetter(p, mathFont(15), QStringLiteral("\u03c9"), c);
    }
}

// ---- the phase between two waves ----

QImage drawPhaseAngle()
{
    QImage image = whiteCanvas(QSize(281, 281));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double phi1 = 60, phi2 = 20;
    const double rad = std::numbers::pi / 180;

    // Above: the two rotating vectors at t = 0, at their phases from the reference line.
    const QPointF c(110, 98);
    const double r1 = 70, r2 = 48;
    p.setPen(QPen(Qt::black, 1));
    axis(p, QPointF(c.x() - 24, c.y()), QPointF(c.x() + 92, c.y()));
    axis(p, QPointF(c.x(), c.y() + 18), QPointF(c.x(), c.y() - 80));
    p.setPen(QPen(kGuide, 1, Qt::DotLine));
    p.drawEllipse(c, r1, r1);
    const auto tip = [&](double r, double degrees) {
        return QPointF(c.x() + r * std::cos(degrees * rad), c.y() - r * std::sin(degrees * rad));
    };
    p.setPen(QPen(kWave, 2));
    p.drawLine(c, tip(r1, phi1));
    arrowHead(p, tip(r1, phi1), c, 9);
    p.setPen(QPen(kSecondWave, 2));
    p.drawLine(c, tip(r2, phi2));
    arrowHead(p, tip(r2, phi2), c, 9);
    // The phase arcs.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kWave, 1.2));
    p.drawArc(QRectF(c.x() - 30, c.y() - 30, 60, 60), 0, int(phi1 * 16));
    p.setPen(QPen(kSecondWave, 1.2));
    p.drawArc(QRectF(c.x() - 20, c.y() - 20, 40, 40), 0, int(phi2 * 16));
    p.setPen(kWave);
    drawPieces(p, mathFont(14), { { QStringLiteral("\u03c6") }, { QStringLiteral("1"), true } }, tip(40, 50));
    drawPieces(
        p, mathFont(14), { { QStringLiteral("U") }, { QStringLiteral("1m"), true } }, tip(r1 + 14, phi1 + 6));
    p.setPen(kSecondWave);
    drawPieces(p, mathFont(14), { { QStringLiteral("\u03c6") }, { QStringLiteral("2"), true } }, tip(60, 7));
    drawPieces(p, mathFont(14), { { QStringLiteral("U") }, { QStringLiteral("2m"), true } },
        tip(r2 + 16, phi2 + 14));
    // Both turn together at the same angular speed.
    p.setPen(QPen(Qt::black, 1.2));
    QPainterPath turn;
    const QRectF ring(c.x() - r1 - 8, c.y() - r1 - 8, 2 * r1 + 16, 2 * r1 + 16);
    turn.arcMoveTo(ring, 100);
    turn.arcTo(ring, 100, 40);
    p.drawPath(turn);
    const QPointF turnEnd = turn.currentPosition();
    arrowHead(p, turnEnd, turnEnd + QPointF(6, -3), 6);
    p.setPen(Qt::black);
    drawLetter(p, mathFont(14), QStringLiteral("\u03c9"), QPointF(c.x() - 62, c.y() - 66));

    // Below: the two waves against time; each crosses zero when its angle reaches 90°.
    const double axisY = 226, left = 16, period = 220;
    const double a1 = 40, a2 = 27;
    p.setPen(QPen(Qt::black, 1));
    axis(p, QPointF(left - 6, axisY), QPointF(274, axisY));
    axis(p, QPointF(left, axisY + 48), QPointF(left, axisY - 52));
    drawLetter(p, mathFont(13), QStringLiteral("t"), QPointF(270, axisY + 10));
    const auto wave = [&](double amplitude, double phase, const QColor &colour) {
        QPainterPath path;
        for (double x = left; x <= 262; x += 1) {
            const double y
                = axisY - amplitude * std::cos(2 * std::numbers::pi * (x - left) / period + phase * rad);
            if (x == left)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.setPen(QPen(colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    wave(a1, phi1, kWave);
    wave(a2, phi2, kSecondWave);
    const double t1 = left + (90 - phi1) / 360 * period;
    const double t2 = left + (90 - phi2) / 360 * period;
    p.setPen(QPen(kMark, 1));
    p.drawLine(QPointF(t1, axisY - 4), QPointF(t1, axisY + 30));
    p.drawLine(QPointF(t2, axisY - 4), QPointF(t2, axisY + 30));
    p.setPen(kMark);
    drawPieces(p, mathFont(13), { { QStringLiteral("t") }, { QStringLiteral("1"), true } },
        QPointF(t1 - 6, axisY + 38));
    drawPieces(p, mathFont(13), { { QStringLiteral("t") }, { QStringLiteral("2"), true } },
        QPointF(t2 + 6, axisY + 38));
    // Which wave is which, under the time axis's end.
    const auto legend = [&](double x, const QColor &colour, const QString &index) {
        p.setPen(QPen(colour, 2));
        p.drawLine(QPointF(x, 270), QPointF(x + 12, 270));
        drawPieces(p, mathFont(13), { { QStringLiteral("U") }, { index, true } }, QPointF(x + 24, 270));
    };
    legend(182, kWave, QStringLiteral("1"));
    legend(226, kSecondWave, QStringLiteral("2"));
    return image;
}

// ---- screens ----

ChannelSettings sineChannel(double vpp, double hz, double phase)
{
    ChannelSettings channel;
    channel.signal.waveform = Waveform::Sine;
    channel.signal.amplitudeVpp = vpp;
    channel.signal.frequencyHz = hz;
    channel.signal.phaseDegrees = phase;
    channel.voltsPerDiv = 1.0;
    channel.coupling = Coupling::AC;
    return channel;
}

/** The rising zero crossings of a trace, in divisions across the screen. */
QList<double> risingZeros(const Trace &trace)
{
    QList<double> zeros;
    for (qsizetype i = 1; i < trace.points.size(); ++i) {
        const QPointF a = trace.points[i - 1], b = trace.points[i];
        if (a.y() < 0 && b.y() >= 0)
            zeros << a.x() + (b.x() - a.x()) * (-a.y()) / (b.y() - a.y());
    }
    return zeros;
}

QImage drawDualMeasure()
{
    const QSize size(360, 290);
    QImage image = whiteCanvas(size);
    QPainter p(&image);
    const QRectF target(QPointF(0, 0), size);
    const ScopeSettings settings = UtilitiesArt::dualSettings();
    const ScreenTraces traces = computeTraces(settings);
    ScreenPainter::paintTraces(p, target, traces);
    const QRectF g = ScreenPainter::graticuleRect(target);
    const QList<double> first = risingZeros(traces.traces.at(0));
    const QList<double> second = risingZeros(traces.traces.at(1));
    if (first.isEmpty() || second.size() < 2 || second.first() < first.first())
        return image;
    // t: from channel I's rising zero to channel II's next one; T: between two of channel II's.
    const double lead = first.first();
    const double lag = second.first();
    const auto at = [&g](double x, double y) { return ScreenPainter::toPixels(g, QPointF(x, y)); };
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kScreenMark, 1, Qt::DashLine));
    for (double x : { lead, lag })
        p.drawLine(at(x, 0), at(x, 3.6));
    for (double x : { second.first(), second.at(1) })
        p.drawLine(at(x, 0), at(x, -3.6));
    p.setPen(QPen(kScreenMark, 1.4));
    dimension(p, at(lead, 3.5), at(lag, 3.5), 5);
    dimension(p, at(second.first(), -3.5), at(second.at(1), -3.5));
    p.setPen(kScreenMark);
    drawLetter(p, mathFont(18), QStringLiteral("t"), at(lag, 3.5) + QPointF(12, 0));
    drawLetter(p, mathFont(18), QStringLiteral("T"),
        at((second.first() + second.at(1)) / 2, -3.5) + QPointF(0, -11));
    return image;
}

QImage drawXyMeasure()
{
    const QSize size(260, 200);
    QImage image = whiteCanvas(size);
    QPainter p(&image);
    const QRectF target(QPointF(0, 0), size);
    const ScopeSettings settings = UtilitiesArt::xySettings();
    ScreenPainter::paint(p, target, settings);
    const QRectF g = ScreenPainter::graticuleRect(target);
    const auto at = [&g](double x, double y) { return ScreenPainter::toPixels(g, QPointF(x, y)); };
    const double b = settings.channelI.signal.amplitudeVpp / 2 / settings.channelI.voltsPerDiv;
    const double a = b * std::sin(UtilitiesArt::kPhaseDegrees * std::numbers::pi / 180);
    const double topX = settings.channelII.signal.amplitudeVpp / 2 / settings.channelII.voltsPerDiv
        * std::cos(UtilitiesArt::kPhaseDegrees * std::numbers::pi / 180);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kScreenMark, 1, Qt::DashLine));
    p.drawLine(at(topX, b), at(3.3, b));
    p.setPen(QPen(kScreenMark, 1.4));
    dimension(p, at(0, 0), at(0, a), 5);
    dimension(p, at(3.0, 0), at(3.0, b), 5);
    p.setPen(kScreenMark);
    drawLetter(p, mathFont(17), QStringLiteral("a"), at(-0.85, a / 2 + 0.1));
    drawLetter(p, mathFont(17), QStringLiteral("b"), at(3.4, b / 2));
    return image;
}

QImage screen(const ScopeSettings &settings, QSize size)
{
    return ScreenPainter::render(settings, size);
}

/** The screen picture before either button is pressed: the instrument on, no signal, the trace at rest. */
QImage restingScreen(QSize size)
{
    ScopeSettings settings;
    settings.channelI.coupling = Coupling::Ground;
    settings.mode = DisplayMode::ChannelI;
    return ScreenPainter::render(settings, size);
}

ScopeSettings singleSine()
{
    ScopeSettings settings;
    settings.channelI = sineChannel(6, 1000, 0);
    settings.mode = DisplayMode::ChannelI;
    settings.secondsPerDiv = 0.2e-3;
    return settings;
}

ScopeSettings figureOfTwo()
{
    ScopeSettings settings;
    settings.channelI = sineChannel(6, 2000, 0);
    settings.channelII = sineChannel(8, 1000, 0);
    settings.mode = DisplayMode::XY;
    return settings;
}

/** The instrument as the measurement page shows it: DUAL pressed, both signals on the screen. */
QImage drawScope()
{
    FrontPanelModel model = frontPanelLayout();
    if (PanelControl *dual = model.control(QStringLiteral("dual")))
        dual->pressed = true;
    if (PanelControl *power = model.control(QStringLiteral("Interruptor")))
        power->pressed = true;
    if (PanelControl *lamp = model.control(QStringLiteral("lamp")))
        lamp->lit = true;
    const ScreenTraces traces = computeTraces(UtilitiesArt::dualSettings());
    model.screen.traces.clear();
    for (const Trace &trace : traces.traces) {
        ScreenTrace drawn;
        for (const QPointF &point : trace.points)
            drawn.points << QPointF(point.x() + ScreenGeometry::halfWidth, point.y());
        model.screen.traces << drawn;
    }
    QImage image = whiteCanvas(QSize(561, 249));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // The page shows the picture from 8 pixels down: the instrument starts below that.
    const double scale = 233.0 / model.size.height();
    p.translate((561 - model.size.width() * scale) / 2, 12);
    p.scale(scale, scale);
    FrontPanelPainter::paint(p, model);
    return image;
}

/** The back buttons' glyph: an arrow pointing left, and its greyed twin. */
QImage drawBackGlyph()
{
    QImage pair(32, 16, QImage::Format_RGB32);
    pair.fill(QColor(192, 192, 192));
    QPainter p(&pair);
    p.setRenderHint(QPainter::Antialiasing, true);
    const auto arrow = [&p](double dx, const QColor &body, const QColor &rim) {
        QPolygonF shape;
        shape << QPointF(dx + 2, 8) << QPointF(dx + 8, 2) << QPointF(dx + 8, 5.5) << QPointF(dx + 14, 5.5)
              << QPointF(dx + 14, 10.5) << QPointF(dx + 8, 10.5) << QPointF(dx + 8, 14);
        p.setPen(QPen(rim, 1));
        p.setBrush(body);
        p.drawPolygon(shape);
    };
    arrow(0, QColor(0, 128, 0), QColor(0, 64, 0));
    arrow(16, QColor(160, 160, 160), QColor(128, 128, 128));
    return pair;
}

} // namespace

namespace UtilitiesArt {

ScopeSettings dualSettings()
{
    ScopeSettings settings;
    // A period of six divisions, so that 30° is half a division and both traces cross on marks.
    const double hz = 1.0 / 3e-3;
    settings.channelI = sineChannel(6, hz, kPhaseDegrees);
    settings.channelII = sineChannel(4, hz, 0);
    settings.mode = DisplayMode::Dual;
    settings.secondsPerDiv = 0.5e-3;
    // Channel II falling through zero starts the sweep, so both rising zeros lie well inside.
    settings.trigger.source = TriggerSource::ChannelII;
    settings.trigger.levelVolts = 0.0;
    settings.trigger.slope = TriggerSlope::Falling;
    return settings;
}

ScopeSettings xySettings()
{
    ScopeSettings settings = dualSettings();
    settings.mode = DisplayMode::XY;
    return settings;
}

QImage annotatedSine(const QString &without)
{
    QImage image = whiteCanvas(QSize(kSinePictureWidth, kSinePictureHeight));
    QPainter p(&image);
    drawSineFigure(p, without);
    return image;
}

} // namespace UtilitiesArt

void generateUtilitiesArt(const ArtOutput &out)
{
    write(screen(singleSine(), kIndexScreen), out.embedded, EmbeddedPictures::utilitiesSine);
    write(screen(UtilitiesArt::dualSettings(), kIndexScreen), out.embedded, EmbeddedPictures::utilitiesDual);
    write(screen(figureOfTwo(), kIndexScreen), out.embedded, EmbeddedPictures::utilitiesXy);
    write(UtilitiesArt::annotatedSine(), out.embedded, EmbeddedPictures::utilitiesSineWave);
    write(drawPhaseAngle(), out.embedded, EmbeddedPictures::utilitiesPhase);
    write(drawScope(), out.embedded, EmbeddedPictures::utilitiesScope);
    write(drawDualMeasure(), out.embedded, EmbeddedPictures::utilitiesDualMeasure);
    write(drawXyMeasure(), out.embedded, EmbeddedPictures::utilitiesXyMeasure);
    write(restingScreen(UtilitiesArt::kScreenSize), out.embedded, EmbeddedPictures::utilitiesScreen);
    write(drawBackGlyph(), out.embedded, EmbeddedPictures::backGlyph);
    write(screen(UtilitiesArt::dualSettings(), UtilitiesArt::kScreenSize), out.data, "pdual.bmp");
    write(screen(UtilitiesArt::xySettings(), UtilitiesArt::kScreenSize), out.data, "plis.bmp");
}
