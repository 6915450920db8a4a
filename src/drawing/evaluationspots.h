#pragma once

#include <array>

/**
 * The hot-spots of the self-evaluation photograph, in stacking order (a later row lies on top and
 * takes the click where two share pixels). Shared by the window and by the picture generator, so
 * that every hot-spot lies on the control the picture draws under it. Rectangles are in the
 * window's client coordinates.
 */
struct EvaluationSpot
{
    const char *name;
    const char16_t *hint;
    struct
    {
        int left, top, width, height;
    } rect;
    /** Whether the hint shows as a tooltip when the pointer rests on the hot-spot. */
    bool hintShown;
    /** The question (1 to 10) this control answers; 0 for a control that answers none. */
    int question;
    /** The control the photograph shows under the hot-spot, named as the front-panel model names it. */
    const char *control;
};

/** Where the photograph lies in the window's client area: at the top-left of its control, unscaled. */
inline constexpr int kEvaluationPictureLeft = 48;
inline constexpr int kEvaluationPictureTop = 0;
inline constexpr int kEvaluationPictureWidth = 535;
inline constexpr int kEvaluationPictureHeight = 239;

/** The area over the photograph's screen: a hint and nothing else. */
inline constexpr struct
{
    int left, top, width, height;
} kEvaluationScreen = { 88, 32, 193, 153 };

/** How many questions the self-evaluation asks. */
inline constexpr int kEvaluationQuestions = 10;

// clang-format off
inline constexpr std::array<EvaluationSpot, 33> kEvaluationSpots = {{
    {"Image2",  u"Interruptor",   {320,   8, 33, 25}, true,   0, "Interruptor"},
    {"Image3",  u"X Mag",         {360,   8, 33, 33}, true,   0, "xmag"},
    {"Image4",  u"X - Y",         {408,   8, 25, 25}, true,   2, "xy"},
    {"Image5",  u"Intensidad",    {320,  40, 25, 33}, true,   0, "intensidad"},
    {"Image6",  u"X Pos",         {360,  40, 33, 33}, true,   0, "xpos"},
    {"Image7",  u"Hold off",      {400,  40, 33, 33}, true,   0, "holdoff"},
    {"Image8",  u"Trigger",       {432,  32, 25, 57}, true,   0, "trigger"},
    {"Image9",  u"Time/div",      {464,  24, 65, 65}, true,   6, "time"},
    {"Image10", u"at/norm",       {528,  16, 41, 25}, true,   4, "atnorm"},
    {"Image11", u"level",         {528,  40, 41, 33}, true,   0, "level"},
    {"Image12", u"Trigger Imput", {536,  72, 33, 41}, true,  10, "triggerimp"},
    {"Image13", u"trig. ext.",    {496,  88, 33, 33}, true,   0, "ext"},
    {"Image14", u"Slope",         {464,  96, 25, 25}, true,   7, "flanco"},
    {"Image15", u"Alt",           {432,  88, 33, 33}, true,   0, "alt"},
    {"Image16", u"Focus",         {320,  80, 41, 33}, false,  0, "focus"},
    {"Image17", u"Y pos I",       {320, 120, 33, 33}, true,   0, "ypos"},
    {"Image18", u"Y pos II",      {528, 120, 49, 41}, true,   0, "ypos2"},
    {"Image19", u"Volts / div ",  {472, 136, 49, 57}, false,  0, "volts2"},
    {"Image20", u"Volts / div",   {368, 136, 49, 57}, true,   5, "volts1"},
    {"Image21", u"Input Ch I",    {320, 192, 33, 33}, true,   0, "input1"},
    {"Image22", u"Input Ch II",   {536, 192, 33, 41}, true,   0, "imp2"},
    {"Image23", u"Ch I / II",     {392, 200, 33, 25}, true,   0, "ch12"},
    {"Image24", u"Dual",          {432, 200, 25, 25}, true,   1, "dual"},
    {"Image25", u"Add",           {456, 200, 33, 25}, true,   3, "add"},
    {"Image26", u"Invert ChII",   {512, 200, 25, 25}, true,   8, "inv2"},
    {"Image27", u"Invert Ch I",   {352, 200, 25, 25}, true,   0, "inv1"},
    {"Image28", u"Tester",        {240, 208, 49, 25}, true,   0, "tester"},
    {"Image29", u"Cal",           { 72, 208, 105, 25}, true,  0, "calibracion"},
    {"Image30", u"GD",            {320, 168, 17, 25}, true,   9, "gd1"},
    {"Image31", u"AC/ DC",        {336, 168, 17, 25}, true,   0, "acdc1"},
    {"Image32", u"Y Mag",         {424, 168, 41, 25}, true,   0, "ymag1"},
    {"Image33", u"AC / DC",       {536, 168, 17, 25}, true,   0, "acdc2"},
    {"Image34", u"GD",            {552, 168, 25, 25}, true,   0, "gd2"},
}};
// clang-format on
