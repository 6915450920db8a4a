#pragma once

#include "tubepainter.h"

#include <array>

/** The parts of the tube that the detailed tube window names. */
enum class TubeDetailPart {
    Filament,
    Cathode,
    Grid,
    PreAccelerator,
    Focus,
    SecondAnode,
    HorizontalPlates,
    VerticalPlates,
    FinalAccelerator,
    Screen,
};

/**
 * A name or arrow laid over the detailed tube drawing, in the window's client coordinates, and the
 * part it stands for. Names size themselves to their text from the left edge; arrows are one
 * character of the symbol face, pointing up at a part above them or down at a part below them.
 */
struct TubeDetailPlace
{
    const char *name;
    int left, top, width, height;
    TubeDetailPart part;
    enum class Arrow { None, Up, Down } arrow = Arrow::None;
    /** Arrows: the character's height in pixels. */
    int characterHeight = 0;
};

/** Where the 503 × 202 drawing lies in the window: drawn at the picture control's top-left corner. */
inline constexpr int kTubeDetailPictureLeft = 24;
inline constexpr int kTubeDetailPictureTop = 0;
inline constexpr int kTubeDetailWidth = 503;
inline constexpr int kTubeDetailHeight = 202;

using TP = TubeDetailPart;
using TA = TubeDetailPlace::Arrow;

// clang-format off
/** Every part name and arrow of the window, with the part it points out. */
inline constexpr std::array<TubeDetailPlace, 23> kTubeDetailPlaces = {{
    {"efil",     8,  96, 55, 13, TP::Filament},
    {"ecat",    48, 128, 41, 13, TP::Cathode},
    {"erej",    80,  48, 36, 13, TP::Grid},
    {"eelec",   88, 152, 59, 13, TP::PreAccelerator},
    {"Label7",  72, 168, 79, 13, TP::PreAccelerator},
    {"Label5", 128,  32, 59, 13, TP::Focus},
    {"Label6", 128,  48, 47, 13, TP::Focus},
    {"Label9", 160, 152, 51, 13, TP::SecondAnode},
    {"Label10", 168, 168, 36, 13, TP::SecondAnode},
    {"Label12", 208,  32, 94, 13, TP::HorizontalPlates},
    {"Label13", 216,  48, 56, 13, TP::HorizontalPlates},
    {"Label15", 248, 160, 94, 13, TP::VerticalPlates},
    {"Label16", 272, 176, 43, 13, TP::VerticalPlates},
    {"Label18", 320,  24, 90, 13, TP::FinalAccelerator},
    {"Label19", 472, 136, 47, 13, TP::Screen},
    {"Label1",   80, 112, 17, 17, TP::Cathode, TA::Up, 12},
    {"Label2",   96,  72, 17, 15, TP::Grid, TA::Down, 12},
    {"Label3",  112, 128, 17, 27, TP::PreAccelerator, TA::Up, 24},
    {"Label4",  144,  64, 13, 23, TP::Focus, TA::Down, 19},
    {"Label8",  176, 128, 17, 27, TP::SecondAnode, TA::Up, 24},
    {"Label11", 232,  64, 13, 23, TP::HorizontalPlates, TA::Down, 19},
    {"Label14", 288, 128, 17, 27, TP::VerticalPlates, TA::Up, 24},
    {"Label17", 360,  40, 13, 23, TP::FinalAccelerator, TA::Down, 19},
}};
// clang-format on

/** The tube of the detailed description, every part under the name and arrow that point it out. */
TubeLayout detailedTubeLayout();
/** The rectangle a part is drawn in, in the picture's coordinates. */
QRectF detailedTubePart(const TubeLayout &layout, TubeDetailPart part);
/** The detailed tube drawing: 503 × 202, the beam running to the centre of the screen. */
QImage renderDetailedTube();
