// How long a change of circuit, part or generator setting takes to a settled picture: ngspice run to the
// circuit's periodic steady state, and the screen drawn from it. Each case is simulated afresh (nothing
// kept), as the first visit of a setting is; the median over the bench's circuits is the figure to hold
// under 100 ms.
#include "circuit.h"
#include "circuitsolver.h"
#include "componenttester.h"
#include "hm203.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values[values.size() / 2];
}

/** The drive a circuit is meant for: the rectifiers at 50 Hz, 12 V peak; the filters at their corner. */
CircuitDrive driveFor(const Circuit &c, int variant)
{
    CircuitDrive d;
    const bool rectifier
        = c.id.startsWith(QLatin1String("media")) || c.id.startsWith(QLatin1String("puente"));
    d.frequencyHz = rectifier ? 50.0 : c.id == QLatin1String("rlc_serie") ? 5033.0 : 1592.0;
    d.amplitudeIVpp = rectifier ? 24.0 : 4.0;
    // A student turning the frequency or the amplitude: every variant a setting not seen before.
    d.frequencyHz *= 1.0 + 0.07 * variant;
    d.amplitudeIVpp *= 1.0 - 0.03 * variant;
    return d;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QList<double> circuitMedians;
    for (const Circuit &circuit : benchCircuits()) {
        QList<double> times;
        for (int variant = 0; variant < 5; ++variant) {
            Hm203 scope;
            GeneratorSettings g = scope.generator();
            g.hookup = Hookup::Circuit;
            g.circuit = circuit.id;
            const CircuitDrive d = driveFor(circuit, variant);
            g.frequencyHz = d.frequencyHz;
            g.amplitudeIVpp = d.amplitudeIVpp;
            scope.setGenerator(g);
            QElapsedTimer timer;
            timer.start();
            const CircuitSolution solution = solveCircuitAfresh(circuit, scope.circuitDrive());
            scope.adoptCircuit(solution, circuit.id, scope.circuitDrive());
            const LiveScreen screen = scope.screen();
            times << timer.nsecsElapsed() / 1e6;
            if (!solution.ok || screen.traces.traces.isEmpty())
                out << circuit.id << ": " << solution.message << "\n";
        }
        circuitMedians << median(times);
        out << QStringLiteral("circuit %1: median %2 ms, slowest %3 ms\n")
                   .arg(circuit.id, -18)
                   .arg(median(times), 0, 'f', 1)
                   .arg(*std::max_element(times.begin(), times.end()), 0, 'f', 1);
    }
    QList<double> partTimes;
    for (const TesterPart &part : testerParts()) {
        TesterPart fresh = part;
        // A new id each time, so that nothing kept answers for it.
        fresh.netlist << QStringLiteral("* %1").arg(partTimes.size());
        QElapsedTimer timer;
        timer.start();
        const TesterSolution s = solveTester(&fresh);
        const Trace figure = testerFigure(s);
        partTimes << timer.nsecsElapsed() / 1e6;
        if (!s.ok || figure.points.isEmpty())
            out << part.id << ": " << s.message << "\n";
    }
    out << QStringLiteral("tester parts: median %1 ms, slowest %2 ms\n")
               .arg(median(partTimes), 0, 'f', 1)
               .arg(*std::max_element(partTimes.begin(), partTimes.end()), 0, 'f', 1);
    const double overall = median(circuitMedians);
    out << QStringLiteral("change to a settled picture, median over the circuits: %1 ms (budget 100 ms)\n")
               .arg(overall, 0, 'f', 1);
    return overall <= 100.0 ? 0 : 1;
}
