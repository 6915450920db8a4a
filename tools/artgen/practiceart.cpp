#include "practiceart.h"
#include "artgen.h"
#include "behaviourcases.h"
#include "bmpwriter.h"
#include "embeddedpictures.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "screenpainter.h"
#include "switchonsteps.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

/** The CAL triangles' calibrated stop: pointing down, at the printed CAL under each dial. */
constexpr qreal kCalibratedStop = 180;

const QStringList kPositionKnobs { QStringLiteral("xpos"), QStringLiteral("ypos"), QStringLiteral("ypos2") };
const QStringList kCalKnobs { QStringLiteral("cal1"), QStringLiteral("cal2"), QStringLiteral("cal3") };
const QStringList kGroundButtons { QStringLiteral("gd1"), QStringLiteral("gd2") };

QStringList pushButtons(const FrontPanelModel &model)
{
    QStringList names;
    for (const PanelControl &c : model.controls)
        if (c.kind == ControlKind::PushButton)
            names << c.name;
    return names;
}

/** The bench before the first step: a few buttons left in, knobs turned, the selector low. */
FrontPanelModel benchAsFound()
{
    FrontPanelModel model = frontPanelLayout();
    for (const char *name : { "dual", "ymag1", "ext", "gd2" })
        model.control(QLatin1String(name))->pressed = true;
    model.control(QStringLiteral("trigger"))->position = 3;
    return model;
}

/** The beam's resting line, as the instrument's model draws it with no signal on GD. */
QList<ScreenTrace> restingTrace()
{
    QList<ScreenTrace> traces;
    for (const Trace &trace : computeTraces(restingScreen().settings).traces) {
        ScreenTrace shown;
        // The panel's screen counts divisions from its left edge, the model from the centre.
        for (const QPointF &p : trace.points)
            shown.points << QPointF(p.x() + ScreenGeometry::halfWidth, p.y());
        traces << shown;
    }
    return traces;
}

void applyStep(FrontPanelModel &model, int step)
{
    switch (step) {
    case 0:
        for (PanelControl &c : model.controls)
            c.pressed = false;
        break;
    case 1:
        for (const QString &name : kPositionKnobs)
            model.control(name)->angle = 0;
        break;
    case 2:
        model.control(QStringLiteral("trigger"))->position = 0;
        break;
    case 3:
        for (const QString &name : kGroundButtons)
            model.control(name)->pressed = true;
        break;
    case 4:
        for (const QString &name : kCalKnobs)
            model.control(name)->angle = kCalibratedStop;
        break;
    case 5:
        model.control(QStringLiteral("Interruptor"))->pressed = true;
        model.control(QStringLiteral("lamp"))->lit = true;
        break;
    case 6:
        model.screen.traces = restingTrace();
        break;
    default:
        break;
    }
}

bool isRound(ControlKind kind)
{
    switch (kind) {
    case ControlKind::RotarySwitch:
    case ControlKind::Knob:
    case ControlKind::CalKnob:
    case ControlKind::Bnc:
    case ControlKind::Lamp:
    case ControlKind::Socket:
        return true;
    default:
        return false;
    }
}

/** Rings a control; a ring among many neighbours is drawn finer, so that the rings stay apart. */
void paintRing(QPainter &p, const PanelControl &c, bool crowded)
{
    p.setBrush(Qt::NoBrush);
    if (isRound(c.kind)) {
        p.setPen(QPen(switchOnMarkColour(), 2));
        const qreal r = qMin(c.rect.width(), c.rect.height()) / 2 + 3;
        p.drawEllipse(c.rect.center(), r, r);
    } else if (c.kind == ControlKind::PushButton) {
        p.setPen(QPen(switchOnMarkColour(), crowded ? 1.5 : 2.2));
        const qreal margin = crowded ? 2.2 : 2.8;
        p.drawRoundedRect(c.rect.adjusted(-margin, -margin, margin, margin), 2, 2);
    } else {
        // Round the slot, its lever and its printed positions.
        p.setPen(QPen(switchOnMarkColour(), 2));
        p.drawRoundedRect(c.rect.adjusted(-4, -4, 17, 4), 3, 3);
    }
}

/** An arrow from the upper left of the screen down to the middle of the resting trace. */
void paintTraceArrow(QPainter &p, const PanelScreen &screen)
{
    const QRectF g = FrontPanelPainter::graticule(screen);
    const qreal div = g.width() / ScreenGeometry::columns;
    const QPointF tip(g.center().x() - 1.5 * div, g.center().y() - 4);
    const QPointF tail = tip + QPointF(-1.6 * div, -2.2 * div);
    const QLineF shaft(tail, tip);
    const QPointF unit = (tip - tail) / shaft.length();
    const QPointF normal(-unit.y(), unit.x());
    const QPointF base = tip - unit * 9;
    p.setPen(QPen(switchOnMarkColour(), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tail, base);
    p.setPen(Qt::NoPen);
    p.setBrush(switchOnMarkColour());
    p.drawPolygon(QPolygonF { tip, base + normal * 4.5, base - normal * 4.5 });
}

// ---- the practice circuit ----------------------------------------------------------------------

const QColor kInk(24, 24, 28);
const QColor kCase(228, 228, 222);
const QColor kCaseEdge(70, 70, 76);

QFont circuitFont(qreal pixelSize, bool bold = true, bool italic = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void paintCase(QPainter &p, const QRectF &rect)
{
    p.setPen(QPen(kCaseEdge, 1.2));
    p.setBrush(kCase);
    p.drawRoundedRect(rect, 4, 4);
}

void paintTerminal(QPainter &p, QPointF centre, const QColor &colour)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(colour);
    p.drawEllipse(centre, 4, 4);
    p.setBrush(kInk);
    p.drawEllipse(centre, 1.3, 1.3);
}

void paintBnc(QPainter &p, QPointF centre)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(196, 196, 200));
    p.drawEllipse(centre, 6, 6);
    p.setBrush(QColor(236, 230, 210));
    p.drawEllipse(centre, 3.2, 3.2);
    p.setBrush(kInk);
    p.drawEllipse(centre, 1.2, 1.2);
}

void paintNode(QPainter &p, QPointF at)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(at, 2.6, 2.6);
}

/** A voltage arrow beside a branch, pointing at its positive end, with its name. */
void paintVoltage(QPainter &p, qreal x, qreal from, qreal to, const QString &name)
{
    const QColor colour(0, 90, 190);
    p.setPen(QPen(colour, 1.3));
    p.drawLine(QPointF(x, from), QPointF(x, to + 6));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF { QPointF(x, to), QPointF(x - 3.5, to + 7), QPointF(x + 3.5, to + 7) });
    p.setPen(colour);
    p.setFont(circuitFont(12, true, true));
    p.drawText(QRectF(x + 3, (from + to) / 2 - 8, 22, 16), Qt::AlignLeft | Qt::AlignVCenter, name);
}

void paintGenerator(QPainter &p, const QRectF &box)
{
    paintCase(p, box);
    // Its display shows the sine it delivers.
    const QRectF display(box.left() + 8, box.top() + 8, 46, 26);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(30, 44, 40));
    p.drawRoundedRect(display, 2, 2);
    QPainterPath sine;
    for (int i = 0; i <= 40; ++i) {
        const qreal x = display.left() + 4 + i * (display.width() - 8) / 40;
        const qreal y = display.center().y() - 8 * std::sin(i * 2 * M_PI / 20);
        if (i == 0)
            sine.moveTo(x, y);
        else
            sine.lineTo(x, y);
    }
    p.setPen(QPen(QColor(140, 255, 150), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sine);
    // Frequency and amplitude knobs.
    for (qreal dx : { 68.0, 92.0 }) {
        const QPointF c(box.left() + dx, box.top() + 20);
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(40, 40, 44));
        p.drawEllipse(c, 8, 8);
        p.setPen(QPen(QColor(240, 240, 236), 1.4));
        p.drawLine(c, c + QPointF(4, -5));
    }
    // The source symbol on its front.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    const QPointF source(box.left() + 20, box.bottom() - 11);
    p.drawEllipse(source, 7, 7);
    p.drawText(QRectF(source.x() - 7, source.y() - 8, 14, 15), Qt::AlignCenter, QStringLiteral("~"));
}

/** The oscilloscope's box: room for its name, a small screen with both channels, the two inputs. */
void paintOscilloscope(
    QPainter &p, const QRectF &box, const QRectF &nameRoom, QPointF inputI, QPointF inputII)
{
    paintCase(p, box);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(nameRoom.adjusted(-3, -2, 3, 2), 2, 2);

    // The two voltages of the circuit, Ur leading Ue, as the dual screen shows them.
    ScopeSettings dual;
    dual.mode = DisplayMode::Dual;
    dual.secondsPerDiv = 0.2e-3;
    dual.channelI.voltsPerDiv = 2.0;
    dual.channelII.voltsPerDiv = 2.0;
    dual.channelI.signal.amplitudeVpp = 8.0;
    const double phase = std::atan(1.0 / (2 * M_PI * 1000.0 * 1000.0 * 100e-9));
    dual.channelII.signal.amplitudeVpp = 8.0 * std::cos(phase);
    dual.channelII.signal.phaseDegrees = qRadiansToDegrees(phase);
    const QRectF screen(box.left() + 10, nameRoom.bottom() + 8, 82, box.bottom() - nameRoom.bottom() - 18);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(20, 20, 22));
    p.drawRoundedRect(screen.adjusted(-2, -2, 2, 2), 3, 3);
    ScreenOptions options;
    options.bezel = false;
    ScreenPainter::paint(p, screen, dual, options);

    p.setFont(circuitFont(9));
    p.setPen(kInk);
    for (const auto &[at, name] :
        { std::pair { inputI, QStringLiteral("CH I") }, std::pair { inputII, QStringLiteral("CH II") } }) {
        p.drawText(QRectF(screen.right() + 4, at.y() - 6, at.x() - screen.right() - 13, 12),
            Qt::AlignRight | Qt::AlignVCenter, name);
        paintBnc(p, at);
    }
}

void paintCapacitor(QPainter &p, qreal x, qreal top, qreal bottom)
{
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x - 11, top), QPointF(x + 11, top));
    p.drawLine(QPointF(x - 11, bottom), QPointF(x + 11, bottom));
}

void paintResistor(QPainter &p, const QRectF &body)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::white);
    p.drawRect(body);
}

void paintGroundSymbol(QPainter &p, QPointF at)
{
    p.setPen(QPen(kInk, 1.6));
    p.drawLine(at, at + QPointF(0, 4));
    for (int i = 0; i < 3; ++i) {
        const qreal half = 8 - 2.8 * i;
        const qreal y = at.y() + 4 + 3 * i;
        p.drawLine(QPointF(at.x() - half, y), QPointF(at.x() + half, y));
    }
}

void write(const QImage &image, const QDir &dir, const QString &name)
{
    if (!writeBmp(image, dir.filePath(name), 24))
        std::fprintf(stderr, "vantela_artgen: cannot write %s\n", qPrintable(name));
}

} // namespace

FrontPanelModel switchOnPanel(int step)
{
    FrontPanelModel model = benchAsFound();
    for (int s = 0; s <= qMin(step, kSwitchOnStepCount - 1); ++s)
        applyStep(model, s);
    return model;
}

QStringList switchOnMarkedControls(int step)
{
    switch (step) {
    case 0:
        return pushButtons(frontPanelLayout());
    case 1:
        return kPositionKnobs;
    case 2:
        return { QStringLiteral("trigger") };
    case 3:
        return kGroundButtons;
    case 4:
        return kCalKnobs;
    case 5:
        return { QStringLiteral("Interruptor") };
    case 6:
        return QStringList { QStringLiteral("intensidad"), QStringLiteral("focus") } + kPositionKnobs;
    default:
        return {};
    }
}

bool switchOnMarksTrace(int step)
{
    return step == kSwitchOnStepCount - 1;
}

QColor switchOnMarkColour()
{
    return QColor(0, 112, 255);
}

QImage renderSwitchOnStep(int step)
{
    const FrontPanelModel model = switchOnPanel(step);
    QImage image = FrontPanelPainter::render(model);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The marks pass behind the print, so every name stays readable.
    QPainterPath open;
    open.addRect(QRectF(QPointF(0, 0), QSizeF(model.size)));
    QPainterPath print;
    for (const QRectF &box : FrontPanelPainter::printBoxes(model))
        print.addRect(box.adjusted(-0.5, 0, 0.5, 0));
    p.setClipPath(open.subtracted(print));
    const QStringList marked = switchOnMarkedControls(step);
    for (const QString &name : marked)
        paintRing(p, *model.control(name), marked.size() > 5);
    if (switchOnMarksTrace(step))
        paintTraceArrow(p, model.screen);
    p.end();
    // Drawn at the panel's own size, where its print is set crisply, then reduced as a whole.
    return image.scaled(kSwitchOnPictureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QRectF practiceOscilloscopeNameRoom()
{
    // The window's label stands at (128, 128) over the picture at (96, 48), in a 9-point fixed face.
    return QRectF(32, 80, 96, 15);
}

QImage renderPracticeCircuit()
{
    QImage image(kPracticeCircuitSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // The common ground stays above the place where the window shows a problem over the picture.
    const qreal groundY = 190;
    const qreal chainX = 256;
    const QPointF nodeA(chainX, 102);
    const QPointF nodeB(chainX, 139);
    const qreal plateTop = 117;
    const qreal plateBottom = 124;
    const QRectF scope(14, 62, 148, 116);
    const QPointF inputI(scope.right() - 10, nodeA.y());
    const QPointF inputII(scope.right() - 10, nodeB.y());
    const QRectF generator(222, 8, 118, 52);
    const QPointF generatorHot(chainX, generator.bottom());
    const QPointF generatorGround(328, generator.bottom());
    const QRectF resistor(chainX - 6, 148, 12, 30);

    // Wires first, so that cases, parts and terminals sit on their ends.
    p.setPen(QPen(kInk, 1.6));
    p.drawLine(generatorHot, nodeA);
    p.drawLine(nodeA, QPointF(chainX, plateTop));
    p.drawLine(QPointF(chainX, plateBottom), nodeB);
    p.drawLine(nodeB, QPointF(chainX, resistor.top()));
    p.drawLine(QPointF(chainX, resistor.bottom()), QPointF(chainX, groundY));
    p.drawLine(inputI, nodeA);
    p.drawLine(inputII, nodeB);
    p.drawLine(generatorGround, QPointF(generatorGround.x(), groundY));
    const QPointF scopeGround(scope.left() + 48, scope.bottom());
    p.drawLine(scopeGround, QPointF(scopeGround.x(), groundY));
    // The one common ground of generator, circuit and both channels.
    p.setPen(QPen(kInk, 2.2));
    p.drawLine(QPointF(scopeGround.x(), groundY), QPointF(generatorGround.x(), groundY));

    paintGenerator(p, generator);
    paintTerminal(p, generatorHot, QColor(220, 40, 30));
    paintTerminal(p, generatorGround, QColor(40, 40, 44));
    paintOscilloscope(p, scope, practiceOscilloscopeNameRoom(), inputI, inputII);
    paintTerminal(p, scopeGround, QColor(40, 40, 44));
    paintCapacitor(p, chainX, plateTop, plateBottom);
    paintResistor(p, resistor);
    for (const QPointF &node : { nodeA, nodeB, QPointF(chainX, groundY),
             QPointF(generatorGround.x(), groundY), QPointF(scopeGround.x(), groundY) })
        paintNode(p, node);
    paintGroundSymbol(p, QPointF(190, groundY));

    p.setPen(kInk);
    p.setFont(circuitFont(12));
    p.drawText(
        QRectF(chainX - 30, (plateTop + plateBottom) / 2 - 8, 14, 16), Qt::AlignCenter, QStringLiteral("C"));
    p.drawText(QRectF(chainX - 24, resistor.center().y() - 8, 14, 16), Qt::AlignCenter, QStringLiteral("R"));
    p.setFont(circuitFont(9));
    p.drawText(QRectF(nodeA.x() - 18, nodeA.y() - 14, 14, 12), Qt::AlignCenter, QStringLiteral("A"));
    p.drawText(QRectF(nodeB.x() - 18, nodeB.y() - 14, 14, 12), Qt::AlignCenter, QStringLiteral("B"));

    paintVoltage(p, 300, groundY - 4, nodeA.y(), QStringLiteral("Ue"));
    paintVoltage(p, 272, resistor.bottom(), resistor.top(), QStringLiteral("Ur"));
    p.end();
    return image;
}

void generatePracticeArt(const ArtOutput &out)
{
    for (int step = 0; step < kSwitchOnStepCount; ++step)
        write(renderSwitchOnStep(step), out.data, QLatin1String(kSwitchOnSteps[step].picture));
    write(renderPracticeCircuit(), out.embedded, QLatin1String(EmbeddedPictures::practiceCircuit));
}
