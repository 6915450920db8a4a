#include "artgen.h"
#include "bmpwriter.h"
#include "embeddedpictures.h"
#include "exercisefigures.h"
#include "screenpainter.h"
#include "screentraces.h"
#include "tubepainter.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

const QColor kLabelInk(20, 40, 120);
const QColor kMarkOnScreen(255, 214, 70);
const QColor kMarkOnPaper(40, 40, 40);

void write(const QImage &image, const QDir &dir, const QString &name)
{
    if (!writeBmp(image, dir.filePath(name), 24))
        std::fprintf(stderr, "vantela_artgen: cannot write %s\n", qPrintable(name));
}

QImage whitePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont labelFont(int pixels, bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

/** A short arrowhead at tip, pointing away from from. */
void arrowHead(QPainter &p, QPointF from, QPointF tip, double size = 5.0)
{
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0.0)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const QPolygonF head { tip, tip - u * size + n * size * 0.45, tip - u * size - n * size * 0.45 };
    p.save();
    p.setBrush(p.pen().color());
    p.setPen(Qt::NoPen);
    p.drawPolygon(head);
    p.restore();
}

/** A dimension line with an arrowhead at each end. */
void dimension(QPainter &p, QPointF a, QPointF b)
{
    p.drawLine(a, b);
    arrowHead(p, a, b);
    arrowHead(p, b, a);
}

// The tube schematic: the description's tube scaled into the part of the picture that both question
// pages show (Image1 shows the top-left 241 by 105 pixels; Image3 starts 8 pixels to the left).
constexpr double kTubeScale = 0.46;
const QPointF kTubeOffset(12.0 - 41.0 * kTubeScale, 10.0 - 24.0 * kTubeScale);

QPointF onTube(QPointF p)
{
    return p * kTubeScale + kTubeOffset;
}

QImage tubeSchematic()
{
    QImage image = whitePicture(QSize(260, 138));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const TubeLayout t = descriptionTubeLayout();
    TubeState state;
    state.verticalDeflection = 0.35;
    state.plateNames = false;
    p.save();
    p.translate(kTubeOffset);
    p.scale(kTubeScale, kTubeScale);
    TubePainter::paint(p, t, state);
    p.restore();

    p.setFont(labelFont(10));
    const QFontMetricsF metrics(p.font());
    // Each letter under or over the neck, its leader line to the part it names.
    struct Mark
    {
        QString text;
        QPointF label; // centre of the letter
        QPointF part; // point on the part, in the description tube's coordinates
    };
    const double below = 82.0;
    const double above = 24.0;
    const Mark marks[] = {
        { QStringLiteral("F"), { 12, below }, { t.filament.center().x() - 2, t.filament.bottom() } },
        { QStringLiteral("C"), { 25, below }, { t.cathode.right() - 3, t.cathode.bottom() } },
        { QStringLiteral("W"), { 39, below }, { t.grid.center().x() + 4, t.grid.bottom() } },
        { QStringLiteral("A"), { 57, below }, { t.anodes().center().x(), t.anodes().bottom() } },
        { QStringLiteral("Pv"), { onTube(t.verticalPlates.center()).x(), above },
            { t.verticalPlates.center().x(), t.verticalPlates.top() } },
        { QStringLiteral("Ph"), { onTube(t.horizontalPlates.center()).x(), above },
            { t.horizontalPlates.center().x(), t.horizontalPlates.top() } },
    };
    for (const Mark &m : marks) {
        const QRectF box(m.label.x() - 9, m.label.y() - 6, 18, 12);
        const QPointF part = onTube(m.part);
        const bool under = m.label.y() > part.y();
        p.setPen(QPen(kLabelInk, 0.8));
        p.drawLine(QPointF(m.label.x(), under ? box.top() : box.bottom()), part);
        p.setPen(kLabelInk);
        p.drawText(box, Qt::AlignCenter, m.text);
    }
    // The screen, named under the bulb.
    const QPointF screenFoot
        = onTube(QPointF(t.screenX + t.screenBulge * 0.5, t.axisY + t.screenHalfHeight - 6));
    const QString screenName = QStringLiteral("Pantalla");
    p.setFont(labelFont(9));
    const double width = QFontMetricsF(p.font()).horizontalAdvance(screenName) + 2;
    const QRectF screenBox(std::min(screenFoot.x() - width / 2, 238.0 - width), 92, width, 12);
    p.setPen(QPen(kLabelInk, 0.8));
    p.drawLine(QPointF(screenBox.center().x(), screenBox.top()), screenFoot);
    p.drawText(screenBox, Qt::AlignCenter, screenName);
    Q_UNUSED(metrics);
    return image;
}

/** One X-Y figure on a small dark face, 7 pixels a division about centre. */
void paintSmallFigure(QPainter &p, const QRectF &face, const Trace &trace)
{
    const double perDiv = 7.0;
    const QPointF centre = face.center() - QPointF(0, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 28, 24));
    p.drawRoundedRect(face, 3, 3);
    p.setPen(QPen(QColor(78, 104, 96), 1));
    p.drawLine(QPointF(face.left() + 2, centre.y()), QPointF(face.right() - 2, centre.y()));
    p.drawLine(QPointF(centre.x(), face.top() + 2), QPointF(centre.x(), face.bottom() - 14));
    QPolygonF line;
    for (const QPointF &d : trace.points)
        line << centre + QPointF(d.x() * perDiv, -d.y() * perDiv);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 230, 90, 90), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
    p.setPen(QPen(QColor(170, 255, 170), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
}

QImage lissajousFigures()
{
    QImage image = whitePicture(QSize(250, 85));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 4; ++k) {
        const double phase = ExerciseFigures::lissajousPhases[k];
        // Under the captions "Figura1" .. "Figura4", which stand 56 pixels apart.
        // The control shows the top 81 rows of the 85.
        const QRectF face(41 + 56 * k - 26, 2, 52, 77);
        const ScreenTraces traces = computeTraces(ExerciseFigures::lissajousScreen(phase));
        paintSmallFigure(p, face, traces.traces.value(0));
        if (phase != 35.0)
            continue;
        // The two heights the angle is read from: a between the crossings of the vertical axis,
        // b the whole height of the ellipse; sin φ = a / b.
        const double perDiv = 7.0;
        const QPointF centre = face.center() - QPointF(0, 6);
        const double peak = ExerciseFigures::lissajousScreen(phase).channelI.signal.amplitudeVpp / 2.0;
        const double crossing = peak * std::sin(phase * std::numbers::pi / 180.0);
        p.setPen(QPen(kMarkOnScreen, 1));
        const double a = crossing * perDiv;
        const double b = peak * perDiv;
        p.drawLine(QPointF(centre.x() - 3, centre.y() - a), QPointF(centre.x() + 3, centre.y() - a));
        p.drawLine(QPointF(centre.x() - 3, centre.y() + a), QPointF(centre.x() + 3, centre.y() + a));
        const double bx = centre.x() + peak * perDiv + 2.5;
        p.drawLine(QPointF(bx, centre.y() - b), QPointF(bx, centre.y() + b));
        p.drawLine(QPointF(bx - 3, centre.y() - b), QPointF(bx + 1, centre.y() - b));
        p.drawLine(QPointF(bx - 3, centre.y() + b), QPointF(bx + 1, centre.y() + b));
        p.setFont(labelFont(9));
        p.drawText(QRectF(centre.x() - 6, face.bottom() - 13, 12, 12), Qt::AlignCenter, QStringLiteral("a"));
        p.drawText(QRectF(bx - 6, face.bottom() - 13, 12, 12), Qt::AlignCenter, QStringLiteral("b"));
    }
    return image;
}

QImage screen(const ScopeSettings &settings, QSize size)
{
    return ScreenPainter::render(settings, size);
}

/** Problem 3's ellipse with a (between its crossings of the vertical axis) and b (its height) marked. */
QImage ellipseProblem()
{
    const QSize size = ExerciseFigures::problemScreenSize;
    QImage image = screen(ExerciseFigures::problemScreen(3), size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF g = ScreenPainter::graticuleRect(QRectF(QPointF(0, 0), QSizeF(size)));
    const auto at = [&g](double x, double y) { return ScreenPainter::toPixels(g, QPointF(x, y)); };
    const double a = ExerciseFigures::ellipseChord / 2.0;
    const double b = ExerciseFigures::ellipseHeight / 2.0;
    p.setPen(QPen(kMarkOnScreen, 1.2));
    dimension(p, at(-0.35, -a), at(-0.35, a));
    dimension(p, at(3.6, -b), at(3.6, b));
    p.setPen(QPen(kMarkOnScreen, 1, Qt::DashLine));
    p.drawLine(at(-0.6, a), at(0.0, a));
    p.drawLine(at(-0.6, -a), at(0.0, -a));
    p.setFont(labelFont(11));
    p.setPen(kMarkOnScreen);
    p.drawText(QRectF(at(-1.2, 0.4), at(-0.5, -0.4)), Qt::AlignCenter, QStringLiteral("a"));
    p.drawText(QRectF(at(3.7, 0.4), at(4.4, -0.4)), Qt::AlignCenter, QStringLiteral("b"));
    return image;
}

/** Problem 7's sine with its amplitude, period and phase marked beside the screen, unlabelled. */
QImage sineProblem()
{
    const ExerciseFigures::SineFigure f = ExerciseFigures::sineFigure();
    const ExerciseFigures::SineMarks m = ExerciseFigures::sineMarks();
    QImage image = whitePicture(f.size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    ScreenOptions options;
    options.bezel = false;
    ScreenPainter::paint(p, f.screenTarget, ExerciseFigures::problemScreen(7), options);
    const auto at = [&f](double x, double y) { return f.toPixels(QPointF(x, y)); };
    const double faceRight = f.screenTarget.right();
    const double faceTop = f.screenTarget.top();
    const double faceBottom = f.screenTarget.bottom();

    // On the screen, dashed: where each mark starts from.
    p.setPen(QPen(kMarkOnScreen, 1, Qt::DashLine));
    p.drawLine(at(m.peakX, m.peakY), QPointF(faceRight, at(0, m.peakY).y()));
    p.drawLine(at(m.firstRisingX, 0), QPointF(at(m.firstRisingX, 0).x(), faceBottom));
    p.drawLine(at(m.secondRisingX, 0), QPointF(at(m.secondRisingX, 0).x(), faceBottom));
    p.drawLine(at(m.firstRisingX, 0), QPointF(at(m.firstRisingX, 0).x(), faceTop));

    // Beside the screen: extension lines and the dimension lines the boxes stand by, on pixel centres
    // so that they stay sharp.
    const auto crisp = [](double v) { return std::floor(v) + 0.5; };
    p.setPen(QPen(kMarkOnPaper, 1));
    const double ampX = crisp(faceRight + 14);
    const double zeroY = crisp(at(0, 0).y());
    const double peakY = crisp(at(0, m.peakY).y());
    p.drawLine(QPointF(faceRight, zeroY), QPointF(ampX + 4, zeroY));
    p.drawLine(QPointF(faceRight, peakY), QPointF(ampX + 4, peakY));
    dimension(p, QPointF(ampX, zeroY), QPointF(ampX, peakY));

    const double periodY = crisp(faceBottom + 10);
    const double firstX = crisp(at(m.firstRisingX, 0).x());
    const double secondX = crisp(at(m.secondRisingX, 0).x());
    for (const double x : { firstX, secondX })
        p.drawLine(QPointF(x, faceBottom), QPointF(x, periodY + 4));
    dimension(p, QPointF(firstX, periodY), QPointF(secondX, periodY));

    const double phaseY = crisp(faceTop - 12);
    const double startX = crisp(at(m.startX, 0).x());
    for (const double x : { startX, firstX })
        p.drawLine(QPointF(x, faceTop), QPointF(x, phaseY - 4));
    dimension(p, QPointF(startX, phaseY), QPointF(firstX, phaseY));
    return image;
}

} // namespace

void generateExercisesArt(const ArtOutput &out)
{
    write(tubeSchematic(), out.embedded, QLatin1String(EmbeddedPictures::questionTube));
    write(screen(ExerciseFigures::ellipseScreen(), QSize(188, 151)), out.embedded,
        QLatin1String(EmbeddedPictures::questionEllipse));
    write(lissajousFigures(), out.embedded, QLatin1String(EmbeddedPictures::questionLissajous));
    write(screen(ExerciseFigures::triggerLevelScreen(0), QSize(110, 86)), out.embedded,
        QLatin1String(EmbeddedPictures::questionLevel1));
    write(screen(ExerciseFigures::triggerLevelScreen(1), QSize(110, 89)), out.embedded,
        QLatin1String(EmbeddedPictures::questionLevel2));
    for (int problem = 1; problem <= 6; ++problem) {
        const QImage figure = problem == 3
            ? ellipseProblem()
            : screen(ExerciseFigures::problemScreen(problem), ExerciseFigures::problemScreenSize);
        write(figure, out.embedded, QLatin1String(EmbeddedPictures::problemFigures.at(problem - 1)));
    }
    write(sineProblem(), out.embedded, QLatin1String(EmbeddedPictures::problemFigures.at(6)));
}
