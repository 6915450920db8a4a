#include "circuitsolver.h"

#include "periodicwave.h"
#include "spiceengine.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>

namespace {

/** The most solutions kept: every circuit at a handful of settings, far less than a megabyte. */
constexpr int kKeptSolutions = 96;

struct Store
{
    std::mutex lock;
    std::list<std::pair<QString, CircuitSolution>> solutions;

    std::optional<CircuitSolution> find(const QString &key)
    {
        std::lock_guard guard(lock);
        for (auto it = solutions.begin(); it != solutions.end(); ++it) {
            if (it->first == key) {
                solutions.splice(solutions.begin(), solutions, it);
                return it->second;
            }
        }
        return std::nullopt;
    }
    void keep(const QString &key, const CircuitSolution &solution)
    {
        std::lock_guard guard(lock);
        solutions.emplace_front(key, solution);
        while (int(solutions.size()) > kKeptSolutions)
            solutions.pop_back();
    }
};

Store &store()
{
    static Store s;
    return s;
}

/** The netlist as ngspice runs it: a title, the generator's outputs behind their resistance, the circuit. */
QStringList drivenNetlist(const Circuit &circuit, const CircuitDrive &drive)
{
    QStringList lines { QStringLiteral("* %1").arg(circuit.id) };
    const auto output = [&](const QString &node, int n, double vpp, double offset, double phase) {
        if (node.isEmpty())
            return;
        lines << QStringLiteral("Vgen%1 gen%1_src 0 %2")
                     .arg(n)
                     .arg(generatorSource(drive.waveform, drive.frequencyHz, vpp, offset, phase));
        lines
            << QStringLiteral("Rgen%1 gen%1_src %2 %3").arg(n).arg(node, spiceNumber(GeneratorOutput::ohms));
    };
    output(circuit.outputI, 1, drive.amplitudeIVpp, drive.offsetIVolts, 0.0);
    output(circuit.outputII, 2, drive.amplitudeIIVpp, drive.offsetIIVolts, drive.phaseIIDegrees);
    lines << circuit.netlist;
    return lines;
}

/** The largest difference between the last period and the one before it, as a share of their height (or
 * of a millivolt, for a node that hardly moves). */
double drift(const std::vector<double> &volts, int perPeriod)
{
    const std::size_t n = volts.size();
    const std::size_t period = std::size_t(perPeriod);
    if (n < 2 * period)
        return 1.0;
    double most = 0.0;
    double low = volts[n - 1];
    double high = low;
    for (std::size_t i = n - period; i < n; ++i) {
        most = std::max(most, std::abs(volts[i] - volts[i - period]));
        low = std::min(low, volts[i]);
        high = std::max(high, volts[i]);
    }
    return most / std::max(1e-3 / CircuitSolving::settledShare, high - low);
}

/** The last period of a node's voltages: ngspice keeps the moments from the start up to a step short of
 * the stop, so the last samples are one whole period, from a whole number of periods on. */
std::shared_ptr<const PeriodicWave> lastPeriod(const std::vector<double> &volts, int perPeriod)
{
    const std::size_t period = std::size_t(perPeriod);
    std::vector<double> one(volts.end() - std::ptrdiff_t(period), volts.end());
    return std::make_shared<const PeriodicWave>(std::move(one));
}

} // namespace

QString generatorSource(
    Waveform waveform, double frequencyHz, double amplitudeVpp, double offsetVolts, double phaseDegrees)
{
    const double half = amplitudeVpp / 2.0;
    const double period = 1.0 / frequencyHz;
    // A lead of φ is the same wave started (1 − φ/360) of a period late.
    const double lead = phaseDegrees / 360.0;
    const double delay = (lead > 0.0 ? 1.0 - (lead - std::floor(lead)) : -lead - std::floor(-lead)) * period;
    const QString level = spiceNumber(offsetVolts);
    switch (waveform) {
    case Waveform::Sine:
        return QStringLiteral("SIN(%1 %2 %3 0 0 %4)")
            .arg(level, spiceNumber(half), spiceNumber(frequencyHz), spiceNumber(phaseDegrees));
    case Waveform::Square: {
        // High for the first half period, as the generator's square starts; its edges take 5 ns.
        const double edge = std::min(5e-9, period / 1000.0);
        const QString high = spiceNumber(offsetVolts + half);
        const QString low = spiceNumber(offsetVolts - half);
        return QStringLiteral("PWL(0 %1 %2 %3 %4 %3 %5 %1 %6 %1) r=0 td=%7")
            .arg(low, spiceNumber(edge), high, spiceNumber(period / 2.0), spiceNumber(period / 2.0 + edge),
                spiceNumber(period), spiceNumber(delay));
    }
    case Waveform::Triangle:
        // From its mean, rising, to the top a quarter period on, the bottom at three quarters.
        return QStringLiteral("PWL(0 %1 %2 %3 %4 %5 %6 %1) r=0 td=%7")
            .arg(level, spiceNumber(period / 4.0), spiceNumber(offsetVolts + half),
                spiceNumber(3.0 * period / 4.0), spiceNumber(offsetVolts - half), spiceNumber(period),
                spiceNumber(delay));
    }
    return level;
}

SettledWaves settledWaves(const QStringList &netlist, double periodSeconds, const QStringList &nodes)
{
    SettledWaves out;
    const int perPeriod = CircuitSolving::samplesPerPeriod;
    SpiceRun run;
    run.netlist = netlist;
    run.nodes = nodes;
    run.stepSeconds = periodSeconds / perPeriod;
    run.maxStepSeconds = run.stepSeconds;
    // Four periods first; twice as many until the last two are alike, or until running longer no longer
    // brings them closer (what is left is the solver's own step, not the circuit still settling).
    QList<double> before;
    for (int periods = 4; periods <= CircuitSolving::mostPeriods; periods *= 2) {
        run.stopSeconds = periods * periodSeconds;
        run.startSeconds = (periods - 2) * periodSeconds;
        const SpiceResult result = SpiceEngine::instance().run(run);
        if (!result.ok) {
            out.message = result.message;
            return out;
        }
        QList<double> drifts;
        for (const std::vector<double> &v : result.volts)
            drifts << drift(v, perPeriod);
        bool done = true;
        for (qsizetype i = 0; i < drifts.size(); ++i) {
            const bool alike = drifts[i] <= CircuitSolving::settledShare;
            const bool stalled = !before.isEmpty() && drifts[i] > CircuitSolving::stalledShrink * before[i]
                && drifts[i] <= CircuitSolving::floorShare;
            done = done && (alike || stalled);
        }
        before = drifts;
        if (done || periods * 2 > CircuitSolving::mostPeriods) {
            for (const std::vector<double> &volts : result.volts)
                out.waves << lastPeriod(volts, perPeriod);
            out.ok = true;
            return out;
        }
    }
    return out;
}

CircuitSolution solveCircuitAfresh(const Circuit &circuit, const CircuitDrive &drive)
{
    CircuitSolution solution;
    if (!(drive.frequencyHz > 0.0) || !std::isfinite(drive.frequencyHz)) {
        solution.message = QStringLiteral("no frequency");
        return solution;
    }
    solution.periodSeconds = 1.0 / drive.frequencyHz;
    QStringList nodes;
    for (const QString &node : { circuit.probeI, circuit.probeII }) {
        if (!node.isEmpty() && !nodes.contains(node))
            nodes << node;
    }
    if (nodes.isEmpty()) {
        solution.ok = true;
        return solution;
    }
    const SettledWaves settled = settledWaves(drivenNetlist(circuit, drive), solution.periodSeconds, nodes);
    solution.message = settled.message;
    if (!settled.ok)
        return solution;
    solution.probeI = circuit.probeI.isEmpty() ? nullptr : settled.waves[nodes.indexOf(circuit.probeI)];
    solution.probeII = circuit.probeII.isEmpty() ? nullptr : settled.waves[nodes.indexOf(circuit.probeII)];
    solution.ok = true;
    return solution;
}

CircuitSolution solveCircuit(const Circuit &circuit, const CircuitDrive &drive)
{
    const QString key = drivenNetlist(circuit, drive).join(QLatin1Char('\n')) + QLatin1Char('|')
        + circuit.probeI + QLatin1Char('|') + circuit.probeII;
    if (std::optional<CircuitSolution> kept = store().find(key))
        return *kept;
    CircuitSolution solution = solveCircuitAfresh(circuit, drive);
    // A run halted for its time may go through another time; only what ngspice settled is kept.
    if (solution.ok)
        store().keep(key, solution);
    return solution;
}

InputSignal solvedSignal(const CircuitSolution &solution, bool second)
{
    const std::shared_ptr<const PeriodicWave> &wave = second ? solution.probeII : solution.probeI;
    if (!solution.ok || !wave)
        return {};
    return sampledSignal(wave, solution.periodSeconds);
}
