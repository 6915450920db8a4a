#include "frontpanellayout.h"

#include "frontpanelspots.h"

#include <QLatin1String>

namespace {

// clang-format off
constexpr AnchoredControl kLayout[] = {
    // Beam and horizontal deflection, top row.
    {"Interruptor",  "Interruptor",     4,     7,  17,  13,    0},
    {"lamp",         "Interruptor",    26,     9,   6,   6,    0},
    {"xmag",         "xmag",            7,     8,  19,  12,    0},
    {"xy",           "xy",              2,     8,  13,  12,    0},
    {"intensidad",   "intensidad",      3,  11.5,  19,  19,   40},
    {"traza",        "traza",           1,     4,   7,  17,   30},
    {"xpos",         "xpos",          2.5,    14,  20,  20,  -20},
    {"holdoff",      "holdoff",       5.5,    11,  22,  22, -135},
    {"focus",        "focus",           6,  10.5,  21,  21,   25},
    // Time base and trigger.
    {"trigger",      "trigger",         2,     5,   7,  56,    0},
    {"time",         "cal1",        -12.5, -12.5,  50,  50,   60},
    {"cal1",         "cal1",          2.5,   2.5,  20,  20,  135},
    {"atnorm",       "atnorm",          7,     8,  19,  12,    0},
    {"level",        "level",        10.5,   2.5,  20,  20,    0},
    {"triggerimp",   "triggerimp",    9.5,     9,  22,  22,    0},
    {"alt",          "alt",             2,    11,  13,  11,    0},
    {"flanco",       "flanco",          2,    11,  13,  11,    0},
    {"ext",          "ext",             5,    11,  15,  11,    0},
    // Channel I.
    {"ypos",         "ypos",          5.5,     8,  22,  22,  -30},
    {"volts1",       "cal2",        -11.5, -11.5,  48,  48,  -30},
    {"cal2",         "cal2",            3,     3,  19,  19,  135},
    {"gd1",          "gd1",             2,    11,  13,  11,    0},
    {"acdc1",        "acdc1",           2,    11,  13,  11,    0},
    {"input1",       "input1",        1.5,     7,  22,  22,    0},
    {"inv1",         "inv1",            5,    12,  15,  11,    0},
    {"ymag1",        "ymag1",           3,     5,  11,  11,    0},
    // Channel II and the channel mode.
    {"ymag2",        "ymag2",           3,     5,  11,  11,    0},
    {"volts2",       "cal3",        -11.5, -11.5,  48,  48,   15},
    {"cal3",         "cal3",            3,     3,  19,  19,  135},
    {"ypos2",        "ypos2",         6.5,     4,  20,  20,   20},
    {"acdc2",        "acdc2",           2,    11,  13,  11,    0},
    {"gd2",          "gd2",             2,    11,  13,  11,    0},
    {"ch12",         "ch12",            5,    12,  15,  11,    0},
    {"dual",         "dual",            5,    12,  15,  11,    0},
    {"add",          "add",             5,    12,  15,  11,    0},
    {"inv2",         "inv2",            5,    12,  15,  11,    0},
    {"imp2",         "imp2",           10,   3.5,  21,  21,    0},
    // Along the bottom edge.
    {"tester",       "tester",          4,     7,  15,  11,    0},
    {"testersocket", "tester",         30,   6.5,  12,  12,    0},
    {"calibracion",  "calibracion",     0,     1,  73,  23,    0},
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
        const Hm203Part *part = hm203Part(row.name);
        Q_ASSERT(part);
        PanelControl c;
        c.name = QString::fromLatin1(row.name);
        c.kind = part->kind;
        const QRectF anchor = anchorRect(row.anchor);
        c.rect = QRectF(anchor.left() + row.dx, anchor.top() + row.dy, row.width, row.height);
        c.label = QString::fromLatin1(part->printed);
        c.labelSide = part->printedSide;
        c.angle = row.angle;
        c.positions = printedPositions(*part);
        c.position = 0;
        model.controls.append(c);
    }
}
