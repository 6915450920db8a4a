#pragma once

#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>

#include "wording.h"

/** How a box is drawn. */
enum class BoxKind {
    /** A functional block: rounded rectangle with its name. */
    Block,
    /** A signal entering or leaving the drawing: a small socket with its name beside it. */
    Terminal,
    /** The cathode-ray tube in outline, screen to the right. */
    Tube,
    /** A pair of deflection plates, named under them. */
    Plates,
    /** An electronic switch: a block with a switch symbol under its name. */
    Switch,
};

/** Which part of the instrument a block belongs to; it chooses the block's tint. */
enum class BoxGroup { Vertical, Horizontal, Supply, Tube, Neutral };

struct DiagramBox
{
    QString id;
    BoxKind kind = BoxKind::Block;
    BoxGroup group = BoxGroup::Neutral;
    QRectF rect;
    Wording label;
};

enum class Side { Left, Right, Top, Bottom };

/**
 * A signal from one box to another. It leaves the side of its source box at a fraction of that
 * side's length and enters its target likewise; the path between them runs in horizontal and
 * vertical runs only, through the given corners or, without them, through one bend half way.
 */
struct DiagramArrow
{
    QString from;
    Side fromSide = Side::Right;
    qreal fromAt = 0.5;
    QString to;
    Side toSide = Side::Left;
    qreal toAt = 0.5;
    /** Corners the path turns at, between the two ends; each run must stay horizontal or vertical. */
    QList<QPointF> via;
    /** Written beside the arrow's first run. */
    Wording label;
    /** Control rather than signal: drawn dashed. */
    bool dashed = false;
};

/** Free text on the drawing, in its own rectangle. */
struct DiagramNote
{
    Wording text;
    QRectF rect;
    int alignment = 0x84; // Qt::AlignCenter
    bool italic = true;
};

/** A block diagram as data: boxes, the arrows between them and a few notes, in picture coordinates. */
struct Diagram
{
    QSize size;
    QList<DiagramBox> boxes;
    QList<DiagramArrow> arrows;
    QList<DiagramNote> notes;

    const DiagramBox *box(const QString &id) const;
    /** The arrow's path from its source's border to its target's border, corners included. */
    QPolygonF route(const DiagramArrow &arrow) const;
};

/** The point at a fraction along one side of a rectangle. */
QPointF pointOnSide(const QRectF &rect, Side side, qreal at);

/** The whole oscilloscope: vertical channel, time base, tube and supplies (369 × 313). */
Diagram oscilloscopeDiagram();
/** The vertical stage of the two channels, from the inputs to the vertical plates (345 × 153). */
Diagram verticalStageDiagram();
/** The horizontal stage from the trigger sources to the horizontal plates (183 × 292). */
Diagram horizontalStageDiagram();
/** How the trigger circuit is organised, from its sources to the start of the sweep (299 × 272). */
Diagram triggerOrganisationDiagram();
/** A dual-channel instrument: two input channels, the electronic switch, time base and tube (312 × 374). */
Diagram dualChannelDiagram();
