#pragma once

#include "controls.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <array>

/**
 * The design of the utilities book's pages (the window TForm8): every label with its page, place,
 * look and design-time caption; the texts the creation handler sets, in both languages side by
 * side; and the lines along which formula fragments and sentences are set. The window makes its
 * labels from these rows and sets its texts from them, so the rows are the one place to read or
 * change what the book says and where.
 */
namespace UtilitiesPages {

/** How a label looks: the book's titles, links, running text and the two kinds of formula. */
enum class Look {
    Title, ///< bold, underlined, black
    Title12, ///< the same, a point larger
    Link, ///< bold, underlined, blue, with the hand over it
    Text, ///< plain black text
    Text12, ///< plain black text, a point larger
    Formula, ///< red, a point larger
    Symbol, ///< the Symbol face, black: w and j read as omega and phi
    SymbolRed, ///< the Symbol face, red
};

/** One label: its name, the number of the page it stands on (1, 3 to 7), its place and look. */
struct LabelRow
{
    const char *name;
    int page;
    Geometry geometry;
    Look look;
    const char16_t *caption;
};

/**
 * Every label of the book. A label whose text changes with the language has no caption here and
 * starts with the Castilian text of kTexts; the labels of the two measurement pages are placed by
 * kLines once their texts are known.
 */
extern const std::array<LabelRow, 62> kLabels;

/** One line of labels set side by side on their common baseline. */
struct LineRow
{
    /** Where the line starts; a negative left centres it on the page. */
    int left;
    int top;
    /** Each fragment keeps its design place unless the one before it reaches that far. */
    bool designPlaces;
    /** The labels from left to right; an empty name leaves a wider space. */
    std::array<const char *, 6> names;
};

/** The left of a line that is centred on the page. */
inline constexpr int kCentred = -1;
/** The wider space an empty name leaves between two formulas of one line. */
inline constexpr int kFormulaSpace = 40;

/** The lines of the phase page and of the two measurement pages. */
extern const std::array<LineRow, 17> kLines;

/** A text that changes with the language: the control it goes to and its two versions. */
struct TextRow
{
    const char *name;
    const char16_t *castilian;
    const char16_t *valencian;
};

/**
 * The texts the creation handler sets, in the order it sets them; two rows stand for the close
 * button and the index's text file.
 */
extern const std::array<TextRow, 29> kTexts;

/** The row of kTexts for a label or control; null for one whose text never changes. */
const TextRow *textRow(const char *name);
/** The row of kLabels of that name; null for an unknown name. */
const LabelRow *labelRow(const QString &name);

/** The face, size and style of a look. */
QFont lookFont(Look look);
/** The colour of a look's text. */
QColor lookColour(Look look);
/** Whether a look is set in the Symbol face, whose caption is spelt in Latin letters. */
bool isSymbol(Look look);

} // namespace UtilitiesPages
