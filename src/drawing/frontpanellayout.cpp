#include "frontpanellayout.h"

#include "frontpanelspots.h"

#include <QLatin1String>

namespace {

using K = ControlKind;
using S = LabelSide;

// clang-format off
constexpr AnchoredControl kLayout[] = {
    // Beam and horizontal deflection, top row.
    {"Interruptor", "Interruptor", K::PushButton,   4,    7,   17, 13, "POWER",     S::Above, 0},
    {"lamp",        "Interruptor", K::Lamp,        26,    9,    6,  6, "",          S::None,  0},
    {"xmag",        "xmag",        K::PushButton,   7,    8,   19, 12, "X-MAG x10", S::Above, 0},
    {"xy",          "xy",          K::PushButton,   2,    8,   13, 12, "X-Y",       S::Above, 0},
    {"intensidad",  "intensidad",  K::Knob,         3,   11.5, 19, 19, "INTENS.",   S::Above, 40},
    {"traza",       "traza",       K::TrimPot,      1,    4,    7, 17, "TR",        S::Below, 30},
    {"xpos",        "xpos",        K::Knob,         2.5, 14,   20, 20, "X-POS",     S::Above, -20},
    {"holdoff",     "holdoff",     K::Knob,         5.5, 11,   22, 22, "HOLD OFF",  S::Above, -135},
    {"focus",       "focus",       K::Knob,         6,   10.5, 21, 21, "FOCUS",     S::Above, 25},
    // Time base and trigger.
    {"trigger",     "trigger",     K::SlideSwitch,  2,    5,    7, 56, "TRIG.",     S::Above, 0},
    {"time",        "cal1",        K::RotarySwitch, -12.5, -12.5, 50, 50, "TIME/DIV", S::Above, 60},
    {"cal1",        "cal1",        K::CalKnob,      2.5,  2.5, 20, 20, "",          S::None,  135},
    {"atnorm",      "atnorm",      K::PushButton,   7,    8,   19, 12, "AT/NORM",   S::Above, 0},
    {"level",       "level",       K::Knob,        10.5,  2.5, 20, 20, "LEVEL",     S::Below, 0},
    {"triggerimp",  "triggerimp",  K::Bnc,          9.5,  9,   22, 22, "TRIG. INP.", S::Above, 0},
    {"alt",         "alt",         K::PushButton,   2,   11,   13, 11, "ALT",       S::Above, 0},
    {"flanco",      "flanco",      K::PushButton,   2,   11,   13, 11, "SLOPE",     S::Above, 0},
    {"ext",         "ext",         K::PushButton,   5,   11,   15, 11, "EXT.",      S::Above, 0},
    // Channel I.
    {"ypos",        "ypos",        K::Knob,         5.5,  8,   22, 22, "Y-POS I",   S::Above, -30},
    {"volts1",      "cal2",        K::RotarySwitch, -11.5, -11.5, 48, 48, "VOLTS/DIV", S::Above, -30},
    {"cal2",        "cal2",        K::CalKnob,      3,    3,   19, 19, "",          S::None,  135},
    {"gd1",         "gd1",         K::PushButton,   2,   11,   13, 11, "GD",        S::Above, 0},
    {"acdc1",       "acdc1",       K::PushButton,   2,   11,   13, 11, "AC/DC",     S::Above, 0},
    {"input1",      "input1",      K::Bnc,          1.5,  7,   22, 22, "CH I",      S::Below, 0},
    {"inv1",        "inv1",        K::PushButton,   5,   12,   15, 11, "INV I",     S::Above, 0},
    {"ymag1",       "ymag1",       K::PushButton,   3,    5,   11, 11, "x5",        S::Above, 0},
    // Channel II and the channel mode.
    {"ymag2",       "ymag2",       K::PushButton,   3,    5,   11, 11, "x5",        S::Above, 0},
    {"volts2",      "cal3",        K::RotarySwitch, -11.5, -11.5, 48, 48, "VOLTS/DIV", S::Above, 15},
    {"cal3",        "cal3",        K::CalKnob,      3,    3,   19, 19, "",          S::None,  135},
    {"ypos2",       "ypos2",       K::Knob,         6.5,  4,   20, 20, "Y-POS II",  S::Above, 20},
    {"acdc2",       "acdc2",       K::PushButton,   2,   11,   13, 11, "AC/DC",     S::Above, 0},
    {"gd2",         "gd2",         K::PushButton,   2,   11,   13, 11, "GD",        S::Above, 0},
    {"ch12",        "ch12",        K::PushButton,   5,   12,   15, 11, "CH I/II",   S::Above, 0},
    {"dual",        "dual",        K::PushButton,   5,   12,   15, 11, "DUAL",      S::Above, 0},
    {"add",         "add",         K::PushButton,   5,   12,   15, 11, "ADD",       S::Above, 0},
    {"inv2",        "inv2",        K::PushButton,   5,   12,   15, 11, "INV II",    S::Above, 0},
    {"imp2",        "imp2",        K::Bnc,         10,    3.5, 21, 21, "CH II",     S::Below, 0},
    // Along the bottom edge.
    {"tester",      "tester",      K::PushButton,   4,    7,   15, 11, "",          S::None,  0},
    {"testersocket", "tester",     K::Socket,      30,    6.5, 12, 12, "",          S::None,  0},
    {"calibracion", "calibracion", K::TestTerminals, 0,   1,   73, 23, "CAL.",      S::Left,  0},
};
// clang-format on

QRectF spotRect(const char *name)
{
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        if (QLatin1String(spot.name) == QLatin1String(name))
            return QRectF(spot.rect.left - kFrontPanelPictureLeft, spot.rect.top - kFrontPanelPictureTop,
                spot.rect.width, spot.rect.height);
    }
    return {};
}

PrintedText print(const char *text, QRectF rect, qreal pixelSize = 5, bool white = false)
{
    return PrintedText { QString::fromLatin1(text), rect, pixelSize, true, white };
}

} // namespace

FrontPanelModel frontPanelLayout()
{
    FrontPanelModel model;
    model.size = QSize(kFrontPanelPictureWidth, kFrontPanelPictureHeight);
    model.screen.face = spotRect("pantalla");
    model.screen.bezel = model.screen.face.adjusted(-12, -12, 12, 12);

    placeAnchoredControls(model, kLayout, spotRect);

    // The component tester's button and socket share one insulating plate.
    model.plates.append(spotRect("tester").adjusted(0, 1, 0, -1));

    model.texts = {
        print("HM 203", QRectF(100, 208, 72, 14), 12),
        print("20 MHz  OSCILLOSCOPE", QRectF(100, 223, 72, 7), 4.5),
        print("COMPONENT", QRectF(226, 213, 44, 6)),
        print("TESTER", QRectF(226, 220, 44, 6)),
        print("CAL", QRectF(452, 79, 17, 6)),
        print("CAL", QRectF(340, 190, 17, 6)),
        print("CAL", QRectF(452, 190, 17, 6)),
        print("Y-MAG", QRectF(380, 168, 34, 6)),
    };
    return model;
}

void placeAnchoredControls(FrontPanelModel &model, std::span<const AnchoredControl> controls,
    const std::function<QRectF(const char *anchor)> &anchorRect)
{
    for (const AnchoredControl &row : controls) {
        PanelControl c;
        c.name = QString::fromLatin1(row.name);
        c.kind = row.kind;
        const QRectF anchor = anchorRect(row.anchor);
        c.rect = QRectF(anchor.left() + row.dx, anchor.top() + row.dy, row.width, row.height);
        c.label = QString::fromLatin1(row.label);
        c.labelSide = row.side;
        c.angle = row.angle;
        if (row.kind == ControlKind::SlideSwitch) {
            c.positions = { QStringLiteral("AC"), QStringLiteral("DC"), QStringLiteral("HF"),
                QStringLiteral("LF"), QStringLiteral("~") };
            c.position = 0;
        }
        if (row.kind == ControlKind::TestTerminals)
            c.positions = { QStringLiteral("0.2V"), QStringLiteral("2V") };
        model.controls.append(c);
    }
}
