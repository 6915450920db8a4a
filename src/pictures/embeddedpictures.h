#pragma once

#include <array>

/**
 * The pictures compiled into the program, the ones that belong to the window descriptions: the
 * picture generator draws each under its name here, the build compiles every name written in this
 * file into the program's resources (it reads the list from here), and the windows load them by it.
 */
namespace EmbeddedPictures {

// The main window and the About box.
inline constexpr char icon[] = "icon.bmp";
inline constexpr char calculatorGlyph[] = "glyph_calc.bmp";
inline constexpr char noteGlyph[] = "glyph_note.bmp";
inline constexpr char emblem[] = "emblem.bmp";

// Glyphs of the buttons every window has.
inline constexpr char closeGlyph[] = "glyph_close.bmp";
inline constexpr char okGlyph[] = "glyph_ok.bmp";
inline constexpr char cancelGlyph[] = "glyph_cancel.bmp";
inline constexpr char caseGlyph[] = "glyph_case.bmp";
inline constexpr char figureGlyph[] = "glyph_figure.bmp";
inline constexpr char backGlyph[] = "glyph_back.bmp";
inline constexpr char markGlyph[] = "glyph_mark.bmp";

// The apparatus description.
inline constexpr char frontPanel[] = "frontpanel.bmp";
inline constexpr char tube[] = "tube.bmp";

// The practice and the utilities book.
inline constexpr char practiceCircuit[] = "circuito.bmp";
inline constexpr char utilitiesSine[] = "util_sine.bmp";
inline constexpr char utilitiesDual[] = "util_dual.bmp";
inline constexpr char utilitiesXy[] = "util_xy.bmp";
inline constexpr char utilitiesSineWave[] = "util_sinewave.bmp";
inline constexpr char utilitiesPhase[] = "util_phase.bmp";
inline constexpr char utilitiesScope[] = "util_scope.bmp";
inline constexpr char utilitiesDualMeasure[] = "util_dualmeasure.bmp";
inline constexpr char utilitiesXyMeasure[] = "util_xymeasure.bmp";
inline constexpr char utilitiesScreen[] = "util_screen.bmp";

// The exercises and the self-evaluation.
inline constexpr char evaluationPanel[] = "evaluationpanel.bmp";
inline constexpr char questionTube[] = "q_tube.bmp";
inline constexpr char questionEllipse[] = "q_ellipse.bmp";
inline constexpr char questionLissajous[] = "q_lissajous.bmp";
inline constexpr char questionLevel1[] = "q_level1.bmp";
inline constexpr char questionLevel2[] = "q_level2.bmp";
/** The figure of each problem, problem 1 first. */
inline constexpr std::array<const char *, 7> problemFigures { "problem1.bmp", "problem2.bmp", "problem3.bmp",
    "problem4.bmp", "problem5.bmp", "problem6.bmp", "problem7.bmp" };

// The reference pages.
inline constexpr char tubeDetail[] = "tubedetail.bmp";

} // namespace EmbeddedPictures
