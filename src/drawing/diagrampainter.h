#pragma once

#include "diagrammodel.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;

/** The colours and type the reference figures share, so the diagrams, waveforms and circuit look alike. */
namespace ReferenceStyle {
/** Ink of lines, arrows and text. */
QColor ink();
/** A block's fill and border for its group. */
QColor fill(BoxGroup group);
QColor border(BoxGroup group);
/** The sans-serif face of the labels at a pixel size, narrowed when condensed. */
QFont labelFont(qreal pixelSize, bool bold = false, bool condensed = false);
} // namespace ReferenceStyle

/** Draws a Diagram on white: tinted blocks, labelled sockets, switches, plates, the tube, and arrows between
 * them. */
class DiagramPainter
{
public:
    static void paint(QPainter &p, const Diagram &diagram, Language language);
    static QImage render(const Diagram &diagram, Language language);
    /**
     * The largest label face, at most the given pixel size, in which every line of a text fits a
     * room; below 9 pixels the condensed face is tried first, as it stays larger.
     */
    static QFont fittingFont(const QString &text, qreal width, qreal height, qreal largest, bool bold);
};
