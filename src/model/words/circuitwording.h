#pragma once

#include "screenfigures.h"
#include "wording.h"

#include <QString>

#include <optional>

/**
 * What the parts and the circuits on the bench do, in a teacher's words, both languages side by side: what
 * the component tester's figure says of the part in its socket, and what CH II shows of a bench circuit.
 * A part's behaviour said in both places (a diode conducts one way) is worded here once.
 */
namespace TraceWording {

/**
 * What the tester's figure tells of the part in its socket, as one or two sentences; empty for a figure
 * that tells nothing (the beam running off the face, a curve without clear arms). With worked true, the
 * bends' voltages are given, read off the figure at the tester's scale.
 */
Wording testerFigureMeaning(const FigureShape &figure, bool worked);

/** What CH II shows with a shipped bench circuit on the inputs, and why; nothing for a circuit of a
 * teacher's, whose own description says it. */
std::optional<Wording> circuitChannelII(const QString &circuitId);

} // namespace TraceWording
