#pragma once

#include "hm203.h"
#include "labcatalogue.h"

#include <QString>
#include <QStringView>

#include <optional>

/**
 * The values of a lab file as a teacher writes them: numbers with their units as a student writes them
 * ("2,5 kHz", "0,2 ms", "50 mV", "4 Vpp", "−90°"), with a decimal comma or point, and the controls and their
 * positions by the names printed on the panel.
 */
namespace LabValues {

/**
 * A number with one of a kind's units, in the kind's base unit (Hz, s, V, °): Hertz takes Hz, kHz and MHz;
 * Seconds s, ms, µs (or us) and ns; Volts V, mV, Vpp and mVpp; Degrees °, º, "grados" and "graus"; Number no
 * unit at all. A blank between number and unit is optional; the minus sign may be the typographic one.
 */
std::optional<double> quantity(QStringView text, CheckValue kind);
/** A plain number, as divisions or periods are counted: "5", "2,5", "−1.5". */
std::optional<double> number(QStringView text);

/** A control by the name printed on the panel ("TIME/DIV", "Y-POS I"), in any case. */
std::optional<Hm203Control> control(QStringView label);
/**
 * A control's position as the file writes it: TIME/DIV and VOLTS/DIV by their step ("0,2 ms", "50 mV");
 * a button "pulsado" or "suelto" (also "polsat" and "deixat anar"); a fine knob "CAL" for its calibrated
 * stop; a switch by what its skirt reads in either language ("AC", "HF", "~"); any control by its position
 * number within its range.
 */
std::optional<int> position(Hm203Control control, QStringView text);
/** What position() takes for a control, for the message when it is not understood. */
Wording positionsOf(Hm203Control control);

} // namespace LabValues
