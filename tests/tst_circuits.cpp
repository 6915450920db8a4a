// The bench's circuits and the tester's parts, simulated: each circuit's key figure against the textbook,
// within what a reading on the screen allows; the circuit files' errors; a simulated period through the
// input's path against the closed form.
#include "circuit.h"
#include "circuitsolver.h"
#include "componenttester.h"
#include "hm203.h"
#include "labfile.h"
#include "periodicwave.h"
#include "spiceengine.h"
#include "verticalpath.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

/** The k-th harmonic of one period of samples, as a phasor of its peak. */
std::complex<double> harmonic(const PeriodicWave &wave, int k)
{
    const std::vector<double> &v = wave.samples();
    std::complex<double> sum;
    for (std::size_t i = 0; i < v.size(); ++i)
        sum += v[i] * std::polar(1.0, -2.0 * kPi * k * double(i) / double(v.size()));
    return 2.0 * sum / double(v.size());
}

/** How many degrees channel II leads channel I, by their fundamentals. */
double leadDegrees(const CircuitSolution &s)
{
    return std::arg(harmonic(*s.probeII, 1) / harmonic(*s.probeI, 1)) * 180.0 / kPi;
}

double gain(const CircuitSolution &s)
{
    return std::abs(harmonic(*s.probeII, 1)) / std::abs(harmonic(*s.probeI, 1));
}

CircuitSolution solved(const QString &id, double hz, double vpp)
{
    const Circuit *circuit = benchCircuit(id);
    if (!circuit)
        return {};
    CircuitDrive drive;
    drive.frequencyHz = hz;
    drive.amplitudeIVpp = vpp;
    return solveCircuit(*circuit, drive);
}

/** The rectifiers' drive: 50 Hz, 12 V peak. */
CircuitSolution rectified(const QString &id)
{
    return solved(id, 50.0, 24.0);
}

double ripple(const CircuitSolution &s)
{
    return s.probeII->highest() - s.probeII->lowest();
}

/** The smoothed rectifier's textbook ripple, I/(f·C), for a mean load current I through 1 kΩ and 100 µF,
 * recharged f times a second. */
double textbookRipple(const CircuitSolution &s, double rechargesPerSecond)
{
    return s.probeII->mean() / 1e3 / (rechargesPerSecond * 100e-6);
}

const char *kBroken = R"(nombre = { es = "Roto", va = "Trencat" }
salida_1 = "gen"
ch_1 = "gen"
ch_2 = "b"
circuito = '''
R1 gen b 1k
Q1 b 0 0 NOSUCHMODEL
'''
)";

} // namespace

class TestCircuits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!SpiceEngine::instance().available())
            QFAIL(qPrintable(SpiceEngine::instance().unavailableReason()));
    }

    void everyShippedCircuitAndPartReads()
    {
        QCOMPARE(benchCircuits().size(), 7);
        QCOMPARE(testerParts().size(), 14);
        for (const Circuit &c : benchCircuits()) {
            QVERIFY2(!c.name.castilian.isEmpty() && !c.name.valencian.isEmpty(), qPrintable(c.id));
            QVERIFY2(
                !c.description.castilian.isEmpty() && !c.description.valencian.isEmpty(), qPrintable(c.id));
            QVERIFY2(!c.probeI.isEmpty() && !c.probeII.isEmpty(), qPrintable(c.id));
        }
    }

    void halfWaveSeesOnlyOneHalf()
    {
        const CircuitSolution bare = rectified(QStringLiteral("media_onda"));
        QVERIFY(bare.ok);
        // The diode conducts one way: the load never goes more than its leakage below ground, and its top
        // is the input's less a diode's drop (and what the generator's 50 Ω takes).
        QVERIFY(bare.probeII->lowest() > -0.05);
        QVERIFY(bare.probeII->highest() > 10.0 && bare.probeII->highest() < 11.5);
        QVERIFY(bare.probeI->lowest() < -11.0);
    }

    void smoothedRippleIsNearTheTextbooks()
    {
        const CircuitSolution half = rectified(QStringLiteral("media_onda_filtro"));
        const CircuitSolution bridge = rectified(QStringLiteral("puente_filtro"));
        QVERIFY(half.ok && bridge.ok);
        // I/(f·C) takes the capacitor as discharging the whole period; it stops while the diode conducts,
        // so the simulated ripple is a little under the textbook's, never over it.
        const double halfShare = ripple(half) / textbookRipple(half, 50.0);
        const double bridgeShare = ripple(bridge) / textbookRipple(bridge, 100.0);
        QVERIFY2(halfShare > 0.7 && halfShare <= 1.0, qPrintable(QString::number(halfShare)));
        // The bridge's diodes conduct for a larger share of its shorter interval: further under.
        QVERIFY2(bridgeShare > 0.5 && bridgeShare <= 1.0, qPrintable(QString::number(bridgeShare)));
        // The bridge recharges twice a period: its ripple is at 100 Hz, and about half the half-wave's.
        const double at50 = std::abs(harmonic(*bridge.probeII, 1));
        const double at100 = std::abs(harmonic(*bridge.probeII, 2));
        QVERIFY2(at100 > 5.0 * at50, qPrintable(QStringLiteral("%1 %2").arg(at50).arg(at100)));
        QVERIFY(ripple(bridge) < 0.6 * ripple(half));
    }

    void filtersAtTheirCorner_data()
    {
        QTest::addColumn<QString>("circuit");
        QTest::addColumn<double>("lead");
        QTest::newRow("low-pass lags 45°") << "paso_bajo" << -45.0;
        QTest::newRow("high-pass leads 45°") << "paso_alto" << 45.0;
    }
    void filtersAtTheirCorner()
    {
        QFETCH(QString, circuit);
        QFETCH(double, lead);
        // 1 kΩ and 100 nF: the corner is 1/(2πRC) = 1,59 kHz, where the output is 1/√2 of the input.
        const CircuitSolution s = solved(circuit, 1.0 / (2.0 * kPi * 1e3 * 100e-9), 4.0);
        QVERIFY(s.ok);
        QVERIFY2(std::abs(gain(s) - 1.0 / std::sqrt(2.0)) < 0.01, qPrintable(QString::number(gain(s))));
        QVERIFY2(std::abs(leadDegrees(s) - lead) < 1.0, qPrintable(QString::number(leadDegrees(s))));
    }

    void seriesRlcResonates()
    {
        // 10 mH and 100 nF: 1/(2π√(LC)) = 5,03 kHz, where L and C cancel and V(R) is in phase with the input.
        const double f0 = 1.0 / (2.0 * kPi * std::sqrt(10e-3 * 100e-9));
        const CircuitSolution at = solved(QStringLiteral("rlc_serie"), f0, 4.0);
        QVERIFY(at.ok);
        QVERIFY2(std::abs(leadDegrees(at)) < 2.0, qPrintable(QString::number(leadDegrees(at))));
        // Below it the capacitor rules and V(R) leads; above it the coil rules and V(R) lags; the height is
        // at its top between.
        const CircuitSolution below = solved(QStringLiteral("rlc_serie"), 0.8 * f0, 4.0);
        const CircuitSolution above = solved(QStringLiteral("rlc_serie"), 1.25 * f0, 4.0);
        QVERIFY(leadDegrees(below) > 20.0 && leadDegrees(above) < -20.0);
        QVERIFY(gain(at) > gain(below) && gain(at) > gain(above));
        QVERIFY(gain(at) > 0.98);
    }

    void practiceCircuitAgreesWithTheSimulator()
    {
        // The practice circuit (series C and R, CH II across R) in closed form, and the same R and C
        // simulated: Ur leads Ue by atan(1/(ωRC)) = 57,9° at 1 kHz in both.
        const CircuitSolution s = solved(QStringLiteral("paso_alto"), 1000.0, 4.0);
        QVERIFY(s.ok);
        const double expected
            = std::atan(1.0 / (2.0 * kPi * 1000.0 * PracticeCircuit::timeConstant)) * 180.0 / kPi;
        QVERIFY(std::abs(expected - 57.9) < 0.05);
        QVERIFY2(std::abs(leadDegrees(s) - expected) < 0.5, qPrintable(QString::number(leadDegrees(s))));
        Hm203 scope;
        GeneratorSettings g = scope.generator();
        g.hookup = Hookup::RcCircuit;
        g.frequencyHz = 1000.0;
        scope.setGenerator(g);
        const auto period = [](const InputSignal &signal) {
            std::vector<double> samples(512);
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = signal.valueAt(double(i) / 512.0 / 1000.0);
            return PeriodicWave(samples);
        };
        const double closed
            = std::arg(harmonic(period(scope.signalII()), 1) / harmonic(period(scope.signalI()), 1)) * 180.0
            / kPi;
        QVERIFY2(std::abs(closed - leadDegrees(s)) < 0.5,
            qPrintable(QStringLiteral("%1 %2").arg(closed).arg(leadDegrees(s))));
    }

    void testerFigures_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<double>("lowestVolts");
        QTest::addColumn<double>("highestVolts");
        // The Zener breaks down at its 5,1 V (± 0,3 V at the tester's few mA) and conducts forward at a
        // diode's drop; the LED at about 1,8 to 2 V forward; a 1N4148 never breaks down at 12 V.
        QTest::newRow("zener") << "zener5v1" << -5.4 << 0.9;
        QTest::newRow("red LED") << "led_rojo" << -12.1 << 2.1;
        QTest::newRow("1N4148") << "d1n4148" << -12.1 << 0.9;
    }
    void testerFigures()
    {
        QFETCH(QString, part);
        QFETCH(double, lowestVolts);
        QFETCH(double, highestVolts);
        const TesterSolution s = solveTester(testerPart(part));
        QVERIFY(s.ok);
        QVERIFY2(s.volts->lowest() > lowestVolts && s.volts->highest() < highestVolts,
            qPrintable(QStringLiteral("%1 %2").arg(s.volts->lowest()).arg(s.volts->highest())));
        if (part == QLatin1String("zener5v1"))
            QVERIFY(s.volts->lowest() < -4.8);
        if (part == QLatin1String("led_rojo"))
            QVERIFY(s.volts->highest() > 1.6);
    }

    void testerCurrentIsBoundByItsResistance()
    {
        // A short draws 24 mA rms at most: no part draws more than the short's peak, 34 mA.
        for (const TesterPart &part : testerParts()) {
            const TesterSolution s = solveTester(&part);
            QVERIFY2(s.ok, qPrintable(part.id));
            const double peak = TesterSource::shortCircuitRmsAmps * std::sqrt(2.0);
            QVERIFY2(
                s.amps->highest() <= peak * 1.001 && s.amps->lowest() >= -peak * 1.001, qPrintable(part.id));
        }
        // A 100 Ω is nearly a short, a 47 kΩ nearly open (outside the data's 20 Ω to 4,7 kΩ window).
        const Trace low = testerFigure(QStringLiteral("r100"));
        const Trace high = testerFigure(QStringLiteral("r47k"));
        const auto height = [](const Trace &t) {
            double most = 0.0;
            for (const QPointF &p : t.points)
                most = std::max(most, std::abs(p.y()));
            return most;
        };
        QVERIFY(height(low) > 2.5 && height(high) < 0.05);
    }

    void brokenNetlistSaysWhatNgspiceSaid()
    {
        const CircuitReading reading = readCircuit(kBroken, QStringLiteral("roto.toml"));
        QVERIFY(reading.circuit);
        CircuitDrive drive;
        drive.amplitudeIVpp = 4.0;
        const CircuitSolution s = solveCircuit(*reading.circuit, drive);
        QVERIFY(!s.ok);
        QVERIFY2(
            s.message.contains(QLatin1String("nosuchmodel"), Qt::CaseInsensitive), qPrintable(s.message));
        // The engine lives on: the next circuit runs.
        QVERIFY(solved(QStringLiteral("paso_bajo"), 1000.0, 4.0).ok);
    }

    void aFailedCircuitLeavesTheBenchAsItWas()
    {
        Hm203 scope;
        GeneratorSettings g = scope.generator();
        g.hookup = Hookup::Circuit;
        g.circuit = QStringLiteral("paso_bajo");
        scope.setGenerator(g);
        QVERIFY(scope.settleCircuit());
        const double before = scope.signalII().amplitudeVpp;
        QVERIFY(before > 0.0);
        g.frequencyHz = 2000.0;
        scope.setGenerator(g);
        CircuitSolution failed;
        failed.message = QStringLiteral("Error: unknown model");
        QVERIFY(!scope.adoptCircuit(failed, g.circuit, scope.circuitDrive()));
        QCOMPARE(scope.signalII().amplitudeVpp, before);
        QCOMPARE(scope.circuitProblem(), failed.message);
        // A solution worked out for a drive the generator has left is stale, and refused.
        CircuitDrive old = scope.circuitDrive();
        old.frequencyHz = 1000.0;
        QVERIFY(!scope.adoptCircuit(solveCircuit(*benchCircuit(g.circuit), old), g.circuit, old));
        QVERIFY(!scope.circuitSettled());
    }

    void circuitFileErrors_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const QString head = QStringLiteral("nombre = { es = \"A\", va = \"A\" }\nsalida_1 = \"a\"\n");
        QTest::newRow("unknown key") << head + "entrada = \"a\"\ncircuito = 'R1 a 0 1k'\n"
                                     << 3 << "entrada"
                                     << "clave desconocida"
                                     << "clau desconeguda";
        QTest::newRow("a control section") << head + "circuito = '''\nR1 a 0 1k\n.control\n'''\n"
                                           << 5 << "circuito"
                                           << "«.control» no puede ir"
                                           << "«.control» no pot anar";
        QTest::newRow("an include") << head + "circuito = '''\n.include /etc/passwd\n'''\n"
                                    << 4 << "circuito"
                                    << "«.include» no puede ir"
                                    << "«.include» no pot anar";
        QTest::newRow("the generator's own name") << head + "circuito = '''\nVgen1 a 0 1\n'''\n"
                                                  << 4 << "circuito"
                                                  << "nombre que pone el programa"
                                                  << "nom que posa el programa";
        QTest::newRow("a node with a space") << head + "ch_1 = \"a b\"\ncircuito = 'R1 a 0 1k'\n"
                                             << 3 << "ch_1"
                                             << "nudo"
                                             << "nus";
        QTest::newRow("no name") << "salida_1 = \"a\"\ncircuito = 'R1 a 0 1k'\n"
                                 << 1 << "nombre"
                                 << "falta"
                                 << "falta";
        QTest::newRow("no output") << "nombre = { es = \"A\", va = \"A\" }\ncircuito = 'R1 a 0 1k'\n"
                                   << 1 << "salida_1"
                                   << "al menos una salida"
                                   << "almenys una eixida";
        QTest::newRow("an accent in the netlist") << head + "circuito = '''\nR1 a 0 1kΩ\n'''\n"
                                                  << 4 << "circuito"
                                                  << "sin acentos"
                                                  << "sense accents";
    }
    void circuitFileErrors()
    {
        QFETCH(QString, file);
        QFETCH(int, line);
        QFETCH(QString, key);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        const CircuitReading reading = readCircuit(file.toUtf8(), QStringLiteral("mio.toml"));
        QVERIFY(!reading.circuit);
        QVERIFY(!reading.errors.isEmpty());
        const LabError &e = reading.errors.first();
        QCOMPARE(e.line, line);
        QCOMPARE(e.key, key);
        QVERIFY2(e.message.castilian.contains(castilian), qPrintable(e.message.castilian));
        QVERIFY2(e.message.valencian.contains(valencian), qPrintable(e.message.valencian));
        QVERIFY(describeLabError(e, QStringLiteral("mio.toml"), Language::Castilian)
                    .startsWith(QStringLiteral("mio.toml, línea %1").arg(line)));
    }

    void aTeachersBareNetlistIsAPart()
    {
        const TesterPartReading reading
            = readTesterPart("* Dos diodos en antiparalelo\nD1 a 0 DX\nD2 0 a DX\n.model DX D(IS=1e-14)\n",
                QStringLiteral("dos.cir"));
        QVERIFY(reading.part);
        QCOMPARE(reading.part->name.castilian, QStringLiteral("Dos diodos en antiparalelo"));
        const QString id = addTesterPart(*reading.part);
        const TesterSolution s = solveTester(testerPart(id));
        QVERIFY(s.ok);
        // Two bends, symmetric: a diode's drop either way.
        QVERIFY(s.volts->highest() < 1.0 && s.volts->lowest() > -1.0);
        QVERIFY(std::abs(s.volts->highest() + s.volts->lowest()) < 0.05);
    }

    void simulatedPeriodThroughThePathMatchesTheClosedForm_data()
    {
        QTest::addColumn<int>("waveform");
        QTest::addColumn<double>("hz");
        QTest::newRow("sine, 5 Hz through AC") << int(Waveform::Sine) << 5.0;
        QTest::newRow("triangle, 3 Hz through AC") << int(Waveform::Triangle) << 3.0;
        QTest::newRow("triangle, 1 kHz") << int(Waveform::Triangle) << 1000.0;
    }
    void simulatedPeriodThroughThePathMatchesTheClosedForm()
    {
        QFETCH(int, waveform);
        QFETCH(double, hz);
        InputSignal closed;
        closed.waveform = Waveform(waveform);
        closed.frequencyHz = hz;
        closed.amplitudeVpp = 4.0;
        closed.offsetVolts = 1.0;
        std::vector<double> samples(1024);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = closed.valueAt(double(i) / double(samples.size()) / hz);
        InputSignal sampled = sampledSignal(std::make_shared<const PeriodicWave>(samples), 1.0 / hz);
        QCOMPARE(sampled.amplitudeVpp, 4.0);
        const InputSignal a = throughAmplifier(throughProbe(closed, Probe::Times10, 1.0), Coupling::AC);
        const InputSignal b = throughAmplifier(throughProbe(sampled, Probe::Times10, 1.0), Coupling::AC);
        for (int i = 0; i < 50; ++i) {
            const double t = 0.37 / hz + i * 0.021 / hz;
            QVERIFY2(std::abs(a.valueAt(t) - b.valueAt(t)) < 0.004,
                qPrintable(QStringLiteral("%1: %2 %3").arg(t).arg(a.valueAt(t)).arg(b.valueAt(t))));
        }
    }

    void runsOutOfBoundsAreRefused()
    {
        SpiceRun run;
        run.netlist = { QStringLiteral("* x"), QStringLiteral("R1 a 0 1k"), QStringLiteral("V1 a 0 1") };
        run.nodes = { QStringLiteral("a") };
        run.stepSeconds = run.maxStepSeconds = 1e-9;
        run.stopSeconds = 1.0;
        QVERIFY(!SpiceEngine::instance().run(run).ok);
        run.stepSeconds = run.maxStepSeconds = 1e-3;
        run.startSeconds = 2.0;
        QVERIFY(!SpiceEngine::instance().run(run).ok);
        run.startSeconds = 0.0;
        QVERIFY(SpiceEngine::instance().run(run).ok);
    }
};

QTEST_GUILESS_MAIN(TestCircuits)
#include "tst_circuits.moc"
