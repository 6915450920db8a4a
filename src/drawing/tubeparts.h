#pragma once

#include <array>

/**
 * The part names laid over the cathode-ray-tube drawing and the explanation each one opens.
 * Shared by the window and by the tests of the drawing, so that every name stays on its part.
 * Rectangles are in the window's client coordinates; the labels size themselves to their text
 * from the left edge, so the width and height are those of the design.
 */
struct TubePart
{
    /** Which of the two boxes over the drawing the explanation fills. */
    enum class Box { Top, Bottom };

    const char *name;
    struct
    {
        int left, top, width, height;
    } rect;
    /** The label's colour, 0xRRGGBB. */
    unsigned colour;
    const char16_t *captionCastilian;
    const char16_t *captionValencian;
    Box box;
    const char16_t *firstCastilian;
    const char16_t *firstValencian;
    /** The box's second line; null for a one-line explanation. */
    const char16_t *secondCastilian;
    const char16_t *secondValencian;
};

inline constexpr unsigned kTubeBlue = 0x0000ff;
inline constexpr unsigned kTubeRed = 0xff0000;
inline constexpr unsigned kTubeGreen = 0x008000;

inline constexpr std::array<TubePart, 6> kTubeParts = { {
    { "efil", { 8, 112, 59, 16 }, kTubeBlue, u"Filamento", u"Filament", TubePart::Box::Top,
        u"La función del filamento es calentar al cátodo para que emita electrones",
        u"La funció del filament és escalfar el càtode perquè emeta electrons", nullptr, nullptr },
    { "ecat", { 64, 152, 44, 16 }, kTubeBlue, u"Cátodo", u"Càtode", TubePart::Box::Bottom,
        u"El cátodo emite electrones al ser calentado por el filamento",
        u"El càtode emet electrons em ser escalfat pel filament ", nullptr, nullptr },
    { "erej", { 80, 72, 41, 16 }, kTubeBlue, u"Rejilla ", u"Reixa", TubePart::Box::Top,
        u"La misión de la rejilla es regular la intensidad del haz,",
        u"La misió de la reixa és regular la intensitat del feix,",
        u"la rejilla está a potencial negativo con respecto al Cátodo",
        u"la reixa està a potencial negatiu respecte al Càtode" },
    { "Label1", { 128, 160, 43, 16 }, kTubeBlue, u"Anodo ", u"Anode", TubePart::Box::Bottom,
        u"El ánodo está conectado a potencial positivo con respecto al Cátodo, ello acelera los electrones",
        u"L'ànode està connectat a potencial positiu respecte al Càtode, això accelera els electrons",
        u"actuando al mismo tiempo de diafragma, dando lugar a un estrecho haz de electrones ",
        u"actuant alhora de diafragma, donant lloc a un estret feix d'electrons" },
    { "eph", { 208, 160, 121, 16 }, kTubeRed, u"Placas de deflexión ", u"Plaques de deflexió",
        TubePart::Box::Bottom, u"Las placas de deflexión Ph y Pv crean un campo eléctrico horizontal",
        u"Les plaques de deflexió Ph i Pv creen un camp elèctric horitzontal",
        u"y otro vertical que permite desviar el haz a cualquier punto de la pantalla",
        u"i altre vertical que permet desviar el feix a qualsevol punt de la pantalla" },
    { "epan", { 472, 136, 49, 16 }, kTubeGreen, u"Pantalla", u"Pantalla", TubePart::Box::Bottom,
        u"En la pantalla se visualiza el punto en el que incide el haz debido a",
        u"A la pantalla es visualitza el punt en el que incideix el feix debut a",
        u"que está recubierta de fósforo, el cual emite luz en el punto de incidencia",
        u"que està recoberta de fòsfor, el qual emet llum en el punt d'incidència" },
} };

/** The two arrow labels: one above the cathode's name pointing up, one below the grid's pointing down. */
struct TubeArrow
{
    const char *name;
    struct
    {
        int left, top, width, height;
    } rect;
    /** The arrow's code in the Symbol typeface. */
    unsigned char symbolCode;
};

inline constexpr TubeArrow kTubeUpArrow = { "Label2", { 80, 136, 8, 13 }, 173 };
inline constexpr TubeArrow kTubeDownArrow = { "Label3", { 96, 88, 9, 13 }, 175 };

/** Where the drawing lies in the window's client area; the 536 × 268 picture is stretched into it. */
inline constexpr int kTubePictureLeft = 24;
inline constexpr int kTubePictureTop = 8;
inline constexpr int kTubePictureWidth = 529;
inline constexpr int kTubePictureHeight = 265;
