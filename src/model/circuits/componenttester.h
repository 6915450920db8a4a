#pragma once

#include "circuit.h"
#include "screentraces.h"

#include <QList>
#include <QString>

#include <memory>
#include <numbers>

class PeriodicWave;

/**
 * The HM-203's component tester, as our technical data give it: a 50 Hz sine of 8,5 V rms without load and
 * at most 24 mA rms into a short, so about 354 Ω in series (testc.rtf). The part's voltage moves the beam
 * sideways and its current up and down: open, a flat line across the screen; shorted, an upright one.
 */
namespace TesterSource {
inline constexpr double rmsVolts = 8.5;
inline constexpr double shortCircuitRmsAmps = 0.024;
inline constexpr double ohms = rmsVolts / shortCircuitRmsAmps;
/** The open line spans this much either side of the centre, the short's line this much up and down. */
inline constexpr double halfWidthDivisions = 4.5;
inline constexpr double halfHeightDivisions = 3.5;
/** The part's volts a division across stands for: the source's peak spans halfWidthDivisions. */
inline constexpr double voltsPerDivision = rmsVolts * std::numbers::sqrt2 / halfWidthDivisions;
} // namespace TesterSource

/** The tester's parts the course ships, in the order the panel offers them (assets/circuits/componentes). */
const QList<TesterPart> &testerParts();
/**
 * A part by its id: a shipped one, or a teacher's added with addTesterPart; null for none (the socket open).
 */
const TesterPart *testerPart(const QString &id);
/** Makes a teacher's part choosable; its id is returned (the file's, made unique among the parts). */
QString addTesterPart(const TesterPart &part);

/** The tester with a part in its socket, settled: the part's voltage and current over one mains period. */
struct TesterSolution
{
    bool ok = false;
    QString message;
    std::shared_ptr<const PeriodicWave> volts;
    std::shared_ptr<const PeriodicWave> amps;
};
/** Simulates the tester with the part (kept, so a part comes back at once); null part: the socket open. */
TesterSolution solveTester(const TesterPart *part);

/** The figure the tester draws for a solution, in divisions; the open line where there is none. */
Trace testerFigure(const TesterSolution &solution);
/** The figure for a part by its id, simulated or taken from what was kept. */
Trace testerFigure(const QString &partId);
