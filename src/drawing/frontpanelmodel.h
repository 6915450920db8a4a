#pragma once

#include "hm203panel.h"

#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

/** One control of the front panel: what it is, where it is drawn, what is printed by it, and its state. */
struct PanelControl
{
    QString name;
    ControlKind kind = ControlKind::Knob;
    /** The control's body in picture coordinates (for round controls, the square around the circle). */
    QRectF rect;
    QString label;
    LabelSide labelSide = LabelSide::None;
    /** Knobs, switches and trim pots: the pointer, in degrees clockwise from straight up. */
    qreal angle = 0;
    /** Push buttons: pushed in. */
    bool pressed = false;
    /** Lamps: switched on. */
    bool lit = false;
    /** Slide switches and terminal rows: the printed positions, top to bottom or left to right. */
    QStringList positions;
    /** Slide switches: index into positions of the lever. */
    int position = 0;
};

/** Text printed on the panel itself, outside any control. */
struct PrintedText
{
    QString text;
    QRectF rect;
    qreal pixelSize = 5;
    bool bold = true;
    /** White print (on dark plates) instead of black. */
    bool white = false;
};

/** A trace on the screen: points in graticule divisions, x from 0 (left) to 10, y from -4 (bottom) to 4. */
struct ScreenTrace
{
    QPolygonF points;
    /** 0 .. 1; how bright the phosphor glows: 0,8 is the instrument as it opens. */
    qreal intensity = 0.8;
    /** How wide the spot is, 1,2 being the sharpest focus; larger looks out of focus. */
    qreal width = 1.2;
};

/** The cathode-ray screen with its graticule and whatever it shows. */
struct PanelScreen
{
    /** The dark mask around the tube face. */
    QRectF bezel;
    /** The tube face; the graticule of 10 × 8 divisions is centred in it. */
    QRectF face;
    QList<ScreenTrace> traces;
};

/**
 * A picture of the instrument's front, as data: every control with its state, the screen and its
 * traces, the dark plates and the print. The same painter draws any such model, so a second
 * picture of the instrument is a changed copy of a model, not a second drawing.
 */
struct FrontPanelModel
{
    QSize size;
    PanelScreen screen;
    QList<PanelControl> controls;
    /** Dark insulating plates that sit under some controls. */
    QList<QRectF> plates;
    QList<PrintedText> texts;

    /** The control of that name, or nullptr. */
    PanelControl *control(const QString &name);
    const PanelControl *control(const QString &name) const;
};
