#pragma once

#include <QDir>

/** Where the generator writes: data files read at run time, and pictures compiled into the program. */
struct ArtOutput
{
    QDir data;
    QDir embedded;
};

/** The application icon, the tool glyphs, the About emblem, the button glyphs and the hand cursor. */
void generateShellArt(const ArtOutput &out);
/** The front-panel photograph and the tube drawing of the apparatus description. */
void generateDescriptionArt(const ArtOutput &out);
/** The behaviour-case screens and the spot-deflection frames. */
void generateDemoArt(const ArtOutput &out);
/** The application icon at the sizes desktop menus use, into a hicolor icon theme folder. */
void generateDesktopArt(const QDir &iconTheme);
/** The switch-on photographs and the practice circuit. */
void generatePracticeArt(const ArtOutput &out);
/** The pictures of the utilities book, and the two screens it loads. */
void generateUtilitiesArt(const ArtOutput &out);
/** The front-panel photograph of the self-evaluation and the glyph of its mark button. */
void generateEvaluationArt(const ArtOutput &out);
/** The pictures of the questions and problems windows. */
void generateExercisesArt(const ArtOutput &out);
/** The block diagrams, figures and front-panel views of the reference pages, and the detailed tube. */
void generateReferenceArt(const ArtOutput &out);
