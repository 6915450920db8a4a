#pragma once

#include "circuit.h"
#include "inputsignal.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class PeriodicWave;

/** What the generator puts into a circuit: the waveform of both outputs, each output's height and level. */
struct CircuitDrive
{
    Waveform waveform = Waveform::Sine;
    double frequencyHz = 1000.0;
    double amplitudeIVpp = 0.0;
    double offsetIVolts = 0.0;
    double amplitudeIIVpp = 0.0;
    double offsetIIVolts = 0.0;
    /** Output II against output I, in degrees; positive leads. */
    double phaseIIDegrees = 0.0;

    bool operator==(const CircuitDrive &) const = default;
};

/** The generator's output resistance, which every circuit it drives sees in series (the usual 50 Ω of a
 * function generator's output). */
namespace GeneratorOutput {
inline constexpr double ohms = 50.0;
} // namespace GeneratorOutput

/** A circuit settled: one period of the voltage at each probe's tip, or why there is none. */
struct CircuitSolution
{
    bool ok = false;
    /** Why not: ngspice's own words, or what the program found wrong. */
    QString message;
    double periodSeconds = 0.0;
    /** Null for a channel whose probe is on nothing. */
    std::shared_ptr<const PeriodicWave> probeI;
    std::shared_ptr<const PeriodicWave> probeII;
};

/** The settings a solution is steadiest over: how many samples a period keeps, and the most periods run
 * before the circuit is taken as settled. */
namespace CircuitSolving {
inline constexpr int samplesPerPeriod = 512;
inline constexpr int mostPeriods = 64;
/** Two periods that differ by less than this share of their height (or a millivolt) are the same. */
inline constexpr double settledShare = 0.001;
/** The solver's own steps leave a few thousandths between periods at a diode's turn-on however long it
 * runs: a difference under floorShare that running twice as long shrinks by less than stalledShrink is
 * that floor, a hundredth of a trace eight divisions high, well under what the graticule reads. */
inline constexpr double floorShare = 0.02;
inline constexpr double stalledShrink = 0.6;
} // namespace CircuitSolving

/**
 * Simulates the circuit driven by the generator until one period is like the last (its periodic steady
 * state) and returns that period. Solutions are kept, so the same circuit and drive come back at once; any
 * thread may ask, and waits while ngspice runs another's.
 */
CircuitSolution solveCircuit(const Circuit &circuit, const CircuitDrive &drive);

/** The same, without looking in or filling the store of solutions (for the bench's timing). */
CircuitSolution solveCircuitAfresh(const Circuit &circuit, const CircuitDrive &drive);

/** Node voltages over one period of a netlist's periodic steady state, or why there are none. */
struct SettledWaves
{
    bool ok = false;
    QString message;
    /** One per node asked, in the order asked. */
    QList<std::shared_ptr<const PeriodicWave>> waves;
};
/** Runs a netlist (with its sources) period by period until its last period is like the one before. */
SettledWaves settledWaves(const QStringList &netlist, double periodSeconds, const QStringList &nodes);

/** The SPICE source of a generator output: its waveform as ngspice takes it. */
QString generatorSource(
    Waveform waveform, double frequencyHz, double amplitudeVpp, double offsetVolts, double phaseDegrees);

/** A simulated signal for a probe: the wave repeated over its period (a plain 0 V where there is none). */
InputSignal solvedSignal(const CircuitSolution &solution, bool second);
