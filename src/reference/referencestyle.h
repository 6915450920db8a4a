#pragma once

#include "controls.h"
#include "form.h"
#include "richtextpane.h"

#include <QColor>
#include <QRect>

/**
 * The look shared by the reference windows: maroon headings over borderless text panes in the
 * window's colour, small figure buttons with the red tick and close buttons with the door.
 */
namespace ReferenceStyle {

/** The colour of the lit edge of raised elements, the background of the reading windows. */
QColor litEdgeColour();

/** A maroon, bold "Times New Roman" 15-pixel heading that sizes itself to its text. */
Label *heading(QWidget *parent, const char *name, const Geometry &geometry, const QString &text);

/**
 * A borderless rich-text pane in the given background colour, black "Times New Roman" 15 pixels,
 * without scroll bars: the window scrolls over it, not the pane.
 */
RichTextPane *pane(QWidget *parent, const char *name, const Geometry &geometry, const QColor &background);

/** A 25 x 25 button without caption that carries the red tick of the figure buttons. */
GlyphButton *figureButton(QWidget *parent, const char *name, int left, int top);

/** A captioned push button with the door glyph; what it closes is its window's business. */
GlyphButton *closeButton(QWidget *parent, const char *name, const Geometry &geometry);

/**
 * Gives a window a new outer size and screen place, with the same frame as its design (a client
 * area of width - 8 by height - 27).
 */
void setWindowBounds(Form *window, const QRect &outer);

} // namespace ReferenceStyle
