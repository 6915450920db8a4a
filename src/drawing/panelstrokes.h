#pragma once

#include "frontpanelmodel.h"

#include <QColor>
#include <QFont>
#include <QPainter>

/**
 * What the front-panel painter and its control painters share: the panel's print and the few shapes
 * every part is built from. Only the painter's own files use it.
 */
namespace PanelStrokes {

/** The height of a control's printed name, in panel pixels. */
inline constexpr qreal kLabelHeight = 7;
inline const QColor kPrint(24, 24, 26);
inline const QColor kWhitePrint(236, 236, 230);
inline const QColor kPlate(44, 44, 48);

QPointF centreOf(const QRectF &r);
qreal radiusOf(const QRectF &r);
/** A point at the given distance from the centre, in the direction of a pointer angle. */
QPointF polar(QPointF centre, qreal radius, qreal angleDegrees);
QColor shade(const QColor &c, int delta);
QFont printFont(qreal pixelSize, bool bold);
void printText(QPainter &p, const QRectF &rect, const QString &text, qreal pixelSize, bool bold,
    const QColor &colour, Qt::Alignment align = Qt::AlignCenter);

/** A dark insulating plate under some controls. */
void paintPlate(QPainter &p, const QRectF &plate);

/** One part's body in its present state: a knob, switch, button, connector, lamp or terminal. */
void paintControlBody(QPainter &p, const PanelControl &c);

} // namespace PanelStrokes
