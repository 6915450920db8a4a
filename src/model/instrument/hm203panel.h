#pragma once

#include <QStringList>
#include <QStringView>

#include <array>

/** What a part of the HM-203's front is; the painter has one way of drawing each. */
enum class ControlKind {
    /** Large rotary step switch with a skirt and index marks (TIME/DIV, VOLTS/DIV). */
    RotarySwitch,
    /** Ordinary round knob with a skirt and a pointer line. */
    Knob,
    /** Small red fine-adjustment knob with a triangle pointer, sitting inside a rotary switch. */
    CalKnob,
    /** Screwdriver adjustment in a recess. */
    TrimPot,
    /** Square push button in its bezel; may be pressed in. */
    PushButton,
    /** Lever switch moving in a slot between printed positions. */
    SlideSwitch,
    /** BNC input connector. */
    Bnc,
    /** Pilot lamp; may be lit. */
    Lamp,
    /** Row of small metal test terminals (one per position name) on an insulating plate. */
    TestTerminals,
    /** 4 mm banana socket. */
    Socket,
};

/** Where a part's printed name stands relative to the part. */
enum class LabelSide { None, Above, Below, Left, Right };

/**
 * One part of the HM-203's front: the name the front-panel pictures and their hot-spots know it by,
 * what it is, and what the panel prints beside it. Where each picture draws it is that picture's own.
 */
struct Hm203Part
{
    const char *panelName;
    ControlKind kind;
    /** Printed on the panel by the part ("VOLTS/DIV" by each channel's switch); empty for none. */
    const char *printed;
    LabelSide printedSide;
    /** A slide switch's or terminal row's printed positions, top to bottom or left to right, between
     * bars; empty for other parts. */
    const char *positions = "";
};

// clang-format off
/** Every part of the front: the catalogue both front-panel pictures, the reference views, the live
 * panel and the instrument model read. */
inline constexpr std::array<Hm203Part, 40> kHm203Parts = { {
    {"Interruptor",  ControlKind::PushButton,    "POWER",      LabelSide::Above},
    {"lamp",         ControlKind::Lamp,          "",           LabelSide::None},
    {"xmag",         ControlKind::PushButton,    "X-MAG x10",  LabelSide::Above},
    {"xy",           ControlKind::PushButton,    "X-Y",        LabelSide::Above},
    {"intensidad",   ControlKind::Knob,          "INTENS.",    LabelSide::Above},
    {"traza",        ControlKind::TrimPot,       "TR",         LabelSide::Below},
    {"xpos",         ControlKind::Knob,          "X-POS",      LabelSide::Above},
    {"holdoff",      ControlKind::Knob,          "HOLD OFF",   LabelSide::Above},
    {"focus",        ControlKind::Knob,          "FOCUS",      LabelSide::Above},
    {"trigger",      ControlKind::SlideSwitch,   "TRIG.",      LabelSide::Above, "AC|DC|HF|LF|~"},
    {"time",         ControlKind::RotarySwitch,  "TIME/DIV",   LabelSide::Above},
    {"cal1",         ControlKind::CalKnob,       "",           LabelSide::None},
    {"atnorm",       ControlKind::PushButton,    "AT/NORM",    LabelSide::Above},
    {"level",        ControlKind::Knob,          "LEVEL",      LabelSide::Below},
    {"triggerimp",   ControlKind::Bnc,           "TRIG. INP.", LabelSide::Above},
    {"alt",          ControlKind::PushButton,    "ALT",        LabelSide::Above},
    {"flanco",       ControlKind::PushButton,    "SLOPE",      LabelSide::Above},
    {"ext",          ControlKind::PushButton,    "EXT.",       LabelSide::Above},
    {"ypos",         ControlKind::Knob,          "Y-POS I",    LabelSide::Above},
    {"volts1",       ControlKind::RotarySwitch,  "VOLTS/DIV",  LabelSide::Above},
    {"cal2",         ControlKind::CalKnob,       "",           LabelSide::None},
    {"gd1",          ControlKind::PushButton,    "GD",         LabelSide::Above},
    {"acdc1",        ControlKind::PushButton,    "AC/DC",      LabelSide::Above},
    {"input1",       ControlKind::Bnc,           "CH I",       LabelSide::Below},
    {"inv1",         ControlKind::PushButton,    "INV I",      LabelSide::Above},
    {"ymag1",        ControlKind::PushButton,    "x5",         LabelSide::Above},
    {"ymag2",        ControlKind::PushButton,    "x5",         LabelSide::Above},
    {"volts2",       ControlKind::RotarySwitch,  "VOLTS/DIV",  LabelSide::Above},
    {"cal3",         ControlKind::CalKnob,       "",           LabelSide::None},
    {"ypos2",        ControlKind::Knob,          "Y-POS II",   LabelSide::Above},
    {"acdc2",        ControlKind::PushButton,    "AC/DC",      LabelSide::Above},
    {"gd2",          ControlKind::PushButton,    "GD",         LabelSide::Above},
    {"ch12",         ControlKind::PushButton,    "CH I/II",    LabelSide::Above},
    {"dual",         ControlKind::PushButton,    "DUAL",       LabelSide::Above},
    {"add",          ControlKind::PushButton,    "ADD",        LabelSide::Above},
    {"inv2",         ControlKind::PushButton,    "INV II",     LabelSide::Above},
    {"imp2",         ControlKind::Bnc,           "CH II",      LabelSide::Below},
    {"tester",       ControlKind::PushButton,    "",           LabelSide::None},
    {"testersocket", ControlKind::Socket,        "",           LabelSide::None},
    {"calibracion",  ControlKind::TestTerminals, "CAL.",       LabelSide::Left, "0.2V|2V"},
} };
// clang-format on

/** True when two names are the same, as a constant expression. */
constexpr bool samePanelName(const char *a, const char *b)
{
    for (; *a && *a == *b; ++a, ++b) { }
    return *a == *b;
}

/** The part of that name, or nullptr. */
constexpr const Hm203Part *hm203Part(const char *panelName)
{
    for (const Hm203Part &part : kHm203Parts) {
        if (samePanelName(part.panelName, panelName))
            return &part;
    }
    return nullptr;
}
const Hm203Part *hm203Part(QStringView panelName);

/** A slide switch's or terminal row's printed positions; empty for other parts. */
QStringList printedPositions(const Hm203Part &part);
