#pragma once

#include "wording.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

class QPainter;

/** A component's value as printed beside its symbol: "1 kΩ", "100 nF", "10 mH", "1N4007". */
namespace ComponentValue {
/** The value a SPICE number stands for: "4k7" is not SPICE, "4.7k", "100n", "10Meg", "2.2u" are. */
std::optional<double> spiceNumber(const QString &text);
/** A value with its unit and prefix, as a schematic prints it: 4700, "Ω" gives "4,7 kΩ". */
QString withUnit(double value, const QString &unit);
/** What a netlist line prints beside its element: "RL carga 0 1k" gives "1 kΩ", "D1 a k D1N4007" the
 * diode's type "1N4007"; empty for a line that is no resistor, capacitor, inductor or diode. */
QString ofLine(const QString &line);
/** Each element's printed value by the element's name ("RL" -> "1 kΩ"), from a netlist's lines. */
QHash<QString, QString> ofNetlist(const QStringList &netlist);
} // namespace ComponentValue

/**
 * Draws a bench circuit as a textbook schematic, black on white: the generator's output I on the left,
 * the components with their names and values, the ground, and where the tips of CH I and CH II go. Each
 * circuit's layout is drawn from a table by its id; the values come from its netlist.
 */
namespace SchematicPainter {
/** The id of the practice RC circuit's layout (it has no netlist: its values are PracticeCircuit's). */
inline const QString practiceCircuit = QStringLiteral("rc_practica");
/** The circuits there is a layout for. */
QStringList layouts();
bool hasLayout(const QString &id);
/** The elements a layout draws, by name: those with a symbol of their own, then those a block such as the
 * transformer stands for. */
QStringList elementsOf(const QString &id);
/** The printed values of a layout's circuit: from the bench circuit's netlist, or the practice circuit's. */
QHash<QString, QString> valuesOf(const QString &id);
/** Paints the layout scaled into the rectangle, keeping its proportions; nothing for an unknown id. */
void paint(QPainter &p, const QRectF &rect, const QString &id, const QHash<QString, QString> &values,
    Language language);
QImage render(const QString &id, QSize size, Language language);
} // namespace SchematicPainter
