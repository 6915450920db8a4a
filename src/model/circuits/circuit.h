#pragma once

#include "tomltext.h"
#include "wording.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * A circuit on the bench: a SPICE netlist with its name and description in both languages, and where the
 * generator's outputs and the inputs' tips connect to it. The program adds the generator itself (each
 * output a source behind its 50 Ω), so a netlist holds only the circuit; node 0 is the ground every lead's
 * clip, the generator's return and the oscilloscope's chassis share.
 */
struct Circuit
{
    /** The file's name without its extension: how labs and the panel name the circuit. */
    QString id;
    /** Where it was read from, for messages. */
    QString fileName;
    Wording name;
    Wording description;
    /** The netlist's lines: components, models and subcircuits, no analysis and no .end. */
    QStringList netlist;
    /** The nodes output I and output II drive; empty when an output is not connected. */
    QString outputI;
    QString outputII;
    /** The nodes the tips of CH I and CH II are on; empty when a channel's probe is on nothing. */
    QString probeI;
    QString probeII;
};

/**
 * A part for the component tester: a netlist between the tester's socket (node "a") and its ground socket
 * (node 0), with its name and description.
 */
struct TesterPart
{
    QString id;
    QString fileName;
    Wording name;
    Wording description;
    QStringList netlist;
};

/** Limits no circuit a teacher writes comes near. */
namespace CircuitLimits {
inline constexpr qsizetype maximumBytes = 64 * 1024;
inline constexpr int maximumLines = 400;
} // namespace CircuitLimits

/** A circuit file read: the circuit, or what keeps it from being one (errors name line and key). */
struct CircuitReading
{
    std::optional<Circuit> circuit;
    QList<LabError> errors;
};
struct TesterPartReading
{
    std::optional<TesterPart> part;
    QList<LabError> errors;
};

/** Reads a circuit from a TOML file's bytes (docs/circuits.md gives its keys). */
CircuitReading readCircuit(const QByteArray &bytes, const QString &fileName);
CircuitReading readCircuitFile(const QString &path);
/** Reads a tester part: a TOML file as a circuit's (its netlist between "a" and 0), or a bare SPICE netlist
 * (.cir, .sp, .net) whose title line names it. */
TesterPartReading readTesterPart(const QByteArray &bytes, const QString &fileName);
TesterPartReading readTesterPartFile(const QString &path);

/** The circuits the course ships, in the order the panel offers them (read once, from the resources). */
const QList<Circuit> &benchCircuits();
/** A shipped circuit by its id, or null. */
const Circuit *benchCircuit(const QString &id);
