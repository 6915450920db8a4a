// The bench's parts and circuits in words: the component tester's figure of every shipped part, as the
// simulator draws it, said as a teacher would on the face and in the explanation; and what CH II shows of
// every shipped circuit, with the simulated signals that bear the words out.
#include "circuitwording.h"
#include "componenttester.h"
#include "hm203.h"
#include "screendescription.h"
#include "traceexplanation.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>

using C = Hm203Control;

namespace {

Hm203 testerWith(const QString &part)
{
    Hm203 scope;
    GeneratorSettings g = scope.generator();
    g.testerPart = part;
    scope.setGenerator(g);
    scope.setValue(C::Tester, 1);
    return scope;
}

/** Both channels on the face, a shipped circuit on the inputs driven by a sine, settled. */
Hm203 benchWith(const QString &circuit, double hz, double vpp)
{
    Hm203 scope;
    GeneratorSettings g = scope.generator();
    g.hookup = Hookup::Circuit;
    g.circuit = circuit;
    g.frequencyHz = hz;
    g.amplitudeIVpp = vpp;
    scope.setGenerator(g);
    scope.setValue(C::Dual, 1);
    scope.settleCircuit();
    return scope;
}

struct Span
{
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double peakToPeak() const { return high - low; }
};

Span spanOf(const InputSignal &signal, double periodSeconds)
{
    Span span;
    constexpr int samples = 4000;
    for (int i = 0; i < samples; ++i) {
        const double v = signal.valueAt(periodSeconds * i / samples);
        span.low = std::min(span.low, v);
        span.high = std::max(span.high, v);
    }
    return span;
}

/** The part's voltage where a steep arm of its figure stands. */
double armVolts(double armDivisions)
{
    return std::abs(armDivisions) * TesterSource::voltsPerDivision;
}

} // namespace

class TestCircuitWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testerFiguresSayWhatThePartIs_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row
            = [](const char *part, FigureKind kind, const char16_t *castilian, const char16_t *valencian) {
                  QTest::newRow(part) << QString::fromLatin1(part) << int(kind)
                                      << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
              };
        const char16_t *resistorEs
            = u"Una resistencia: la recta es más empinada cuanto más pequeña es, vertical "
              u"en un cortocircuito y horizontal con el zócalo abierto.";
        const char16_t *resistorVa
            = u"Una resistència: la recta és més empinada com més xicoteta és, vertical en "
              u"un curtcircuit i horitzontal amb el sòcol obert.";
        row("r100", FigureKind::Line, resistorEs, resistorVa);
        row("r1k", FigureKind::Line, resistorEs, resistorVa);
        row("r4k7", FigureKind::Line, resistorEs, resistorVa);
        // 47 kΩ behind 354 Ω draws 0,75 % of the short's current: 0,05 div, a line lying flat to the eye.
        row("r47k", FigureKind::Line,
            u"No pasa corriente: el zócalo está abierto, o lo que hay en él es una resistencia muy grande.",
            u"No passa corrent: el sòcol està obert, o el que hi ha és una resistència molt gran.");
        const char16_t *reactanceEs
            = u"Un condensador o una bobina: la corriente y la tensión van 90° desfasadas.";
        const char16_t *reactanceVa
            = u"Un condensador o una bobina: el corrent i la tensió van 90° desfasats.";
        row("c1u", FigureKind::Ellipse, reactanceEs, reactanceVa);
        row("c10u", FigureKind::Ellipse, reactanceEs, reactanceVa);
        const char16_t *leaningEs
            = u"Una resistencia y una reactancia juntas (una resistencia con un condensador, "
              u"o una bobina con la resistencia de su hilo): la corriente y la tensión van "
              u"desfasadas menos de 90° y la elipse se inclina hacia la recta de la "
              u"resistencia.";
        const char16_t *leaningVa
            = u"Una resistència i una reactància juntes (una resistència amb un "
              u"condensador, o una bobina amb la resistència del seu fil): el corrent i la "
              u"tensió van desfasats menys de 90° i l'el·lipse s'inclina cap a la recta de "
              u"la resistència.";
        // 60 Ω of wire against 314 Ω at 50 Hz leans the coil's ellipse.
        row("l1h", FigureKind::Ellipse, leaningEs, leaningVa);
        row("rc_paralelo", FigureKind::Ellipse, leaningEs, leaningVa);
        const char16_t *diodeEs
            = u"Un diodo: conduce en un solo sentido, a partir de unos 0,7 V; el codo a la "
              u"derecha dice que el ánodo está en el zócalo.";
        const char16_t *diodeVa = u"Un díode: conduïx en un sol sentit, a partir d'uns 0,7 V; el colze a la "
                                  u"dreta diu que l'ànode està en el sòcol.";
        row("d1n4148", FigureKind::BentLine, diodeEs, diodeVa);
        row("d1n4007", FigureKind::BentLine, diodeEs, diodeVa);
        row("zener5v1", FigureKind::TwiceBentLine,
            u"Un Zener, un LED o una unión base-emisor: conduce en un sentido a partir de unos 0,8 V y "
            u"también "
            u"rompe en el otro, en el codo de unos 5,1 V.",
            u"Un Zener, un LED o una unió base-emissor: conduïx en un sentit a partir d'uns 0,8 V i també "
            u"trenca "
            u"en l'altre, en el colze d'uns 5,1 V.");
        row("led_rojo", FigureKind::TwiceBentLine,
            u"Un Zener, un LED o una unión base-emisor: conduce en un sentido a partir de unos 1,9 V y "
            u"también "
            u"rompe en el otro, en el codo de unos 5,4 V.",
            u"Un Zener, un LED o una unió base-emissor: conduïx en un sentit a partir d'uns 1,9 V i també "
            u"trenca "
            u"en l'altre, en el colze d'uns 5,4 V.");
        row("npn_be", FigureKind::TwiceBentLine,
            u"Un Zener, un LED o una unión base-emisor: conduce en un sentido a partir de unos 0,9 V y "
            u"también "
            u"rompe en el otro, en el codo de unos 6,2 V.",
            u"Un Zener, un LED o una unió base-emissor: conduïx en un sentit a partir d'uns 0,9 V i també "
            u"trenca "
            u"en l'altre, en el colze d'uns 6,2 V.");
        // Collector on the socket: it conducts only with the collector negative, past the base-emitter
        // breakdown and a base-collector drop.
        row("npn_ce", FigureKind::BentLine,
            u"Un diodo: conduce en un solo sentido, a partir de unos 6,9 V; el codo a la izquierda dice que "
            u"el "
            u"cátodo está en el zócalo.",
            u"Un díode: conduïx en un sol sentit, a partir d'uns 6,9 V; el colze a l'esquerra diu que el "
            u"càtode "
            u"està en el sòcol.");
    }
    void testerFiguresSayWhatThePartIs()
    {
        QFETCH(QString, part);
        QFETCH(int, kind);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        const Hm203 scope = testerWith(part);
        const ScreenDescription face = describeScreen(scope, BeamMoment {});
        QVERIFY(face.figure);
        QCOMPARE(int(face.figure->shape.kind), kind);
        QVERIFY2(face.castilian.endsWith(QStringLiteral(". ") + castilian), qPrintable(face.castilian));
        QVERIFY2(face.valencian.endsWith(QStringLiteral(". ") + valencian), qPrintable(face.valencian));
        // The explanation names the same figure, and still says how to leave the tester.
        const TraceExplanation why = explainTrace(scope);
        QCOMPARE(why.causes.value(0), TraceCause::Tester);
        QVERIFY2(why.castilian.contains(castilian), qPrintable(why.castilian));
        QVERIFY2(why.valencian.contains(valencian), qPrintable(why.valencian));
    }

    /** Where the bends stand, against the parts' textbook values: a silicon junction conducts from about
     * 0,7 V, a red LED from about 1,9 V; the Zener breaks down at 5,1 V, a 2N3904's base-emitter junction at
     * 6 V, and its collector-emitter path past that and a base-collector drop, 6,8 V. A steep arm stands
     * where the part carries milliamps, above the knee by its exponential's rise and its series resistance:
     * within half a volt. */
    void bendsStandAtThePartsVoltages_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<double>("leftVolts");
        QTest::addColumn<double>("rightVolts");
        const double none = 0.0;
        QTest::newRow("1N4148") << QStringLiteral("d1n4148") << none << 0.7;
        QTest::newRow("1N4007") << QStringLiteral("d1n4007") << none << 0.7;
        QTest::newRow("Zener 5,1 V") << QStringLiteral("zener5v1") << 5.1 << 0.7;
        QTest::newRow("red LED") << QStringLiteral("led_rojo") << 5.0 << 1.9;
        QTest::newRow("base-emitter") << QStringLiteral("npn_be") << 6.0 << 0.7;
        QTest::newRow("collector-emitter") << QStringLiteral("npn_ce") << 6.8 << none;
    }
    void bendsStandAtThePartsVoltages()
    {
        QFETCH(QString, part);
        QFETCH(double, leftVolts);
        QFETCH(double, rightVolts);
        const FigureShape figure = shapeOfFigure(testerFigure(part));
        QList<double> expected;
        if (leftVolts > 0.0)
            expected << -leftVolts;
        if (rightVolts > 0.0)
            expected << rightVolts;
        QCOMPARE(figure.steepArms.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const double volts = std::copysign(armVolts(figure.steepArms.at(i)), figure.steepArms.at(i));
            QVERIFY2(std::abs(volts - expected.at(i)) <= 0.5, qPrintable(QString::number(volts)));
        }
        // A single bend's steep arm is the way the part conducts: right when the socket is positive.
        if (expected.size() == 1)
            QCOMPARE(figure.steepRight, rightVolts > 0.0);
    }

    /** While a task asks the student to read the figure, its words give no volts. */
    void withheldReadingsGiveNoKneeVolts()
    {
        for (const char *part : { "d1n4148", "zener5v1", "npn_ce" }) {
            const ScreenDescription face
                = describeScreen(testerWith(QLatin1String(part)), BeamMoment {}, ScreenReadings::Withheld);
            QVERIFY2(!face.castilian.contains(QStringLiteral(" V")), qPrintable(face.castilian));
            QVERIFY2(!face.valencian.contains(QStringLiteral(" V")), qPrintable(face.valencian));
            QVERIFY(face.castilian.contains(QStringLiteral("conduce")));
        }
    }

    void circuitsSayWhatChannelIIShows_data()
    {
        QTest::addColumn<QString>("circuit");
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("lowestRatio");
        QTest::addColumn<double>("highestRatio");
        QTest::addColumn<bool>("neverBelowZero");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row = [](const char *circuit, double hz, double lowest, double highest, bool aboveZero,
                             const char16_t *castilian, const char16_t *valencian) {
            QTest::newRow(circuit) << QString::fromLatin1(circuit) << hz << lowest << highest << aboveZero
                                   << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
        };
        // The rectifiers take 24 Vpp at 50 Hz. A half wave's peak is the input's less a diode's 0,7 V: a
        // little under half the input's peak to peak; the bridge loses two diodes' 1,4 V.
        row("media_onda", 50.0, 0.42, 0.49, true,
            u"CH II ve solo media onda: el diodo conduce en un solo sentido y en los semiciclos negativos la "
            u"carga queda a 0 V.",
            u"CH II veu només mitja ona: el díode conduïx en un sol sentit i en els semicicles negatius la "
            u"càrrega queda a 0 V.");
        // 1 kΩ and 100 µF: the textbook ripple I/(f·C) is 1,7 V, a fourteenth of the input's 24 Vpp.
        row("media_onda_filtro", 50.0, 0.0, 1.0 / 14.0, true,
            u"CH II se queda casi plana, cerca de la cresta de la onda: el condensador se recarga en cada "
            u"cresta a través del diodo, que conduce en un solo sentido, y entre recargas se descarga por la "
            u"carga; lo que ves moverse es el rizado, a la frecuencia de la entrada.",
            u"CH II queda quasi plana, prop de la cresta de l'ona: el condensador es recarrega en cada "
            u"cresta "
            u"a través del díode, que conduïx en un sol sentit, i entre recàrregues es descarrega per la "
            u"càrrega; el que veus moure's és l'arrissat, a la freqüència de l'entrada.");
        row("puente", 50.0, 0.39, 0.47, true,
            u"CH II ve las dos mitades de la onda, las dos hacia arriba: cada diodo del puente conduce en un "
            u"solo sentido y entre los cuatro llevan los dos semiciclos a la carga en el mismo sentido.",
            u"CH II veu les dues meitats de l'ona, les dues cap amunt: cada díode del pont conduïx en un sol "
            u"sentit i entre els quatre porten els dos semicicles a la càrrega en el mateix sentit.");
        // Topped up twice a period: at most half the half wave's ripple.
        row("puente_filtro", 50.0, 0.0, 0.5 / 14.0, true,
            u"CH II se queda casi plana, cerca de la cresta de la onda: el condensador se recarga dos veces "
            u"por periodo a través del puente, una en cada semiciclo, y entre recargas se descarga por la "
            u"carga; lo que ves moverse es el rizado, al doble de la frecuencia de la entrada.",
            u"CH II queda quasi plana, prop de la cresta de l'ona: el condensador es recarrega dues vegades "
            u"per període a través del pont, una en cada semicicle, i entre recàrregues es descarrega per la "
            u"càrrega; el que veus moure's és l'arrissat, al doble de la freqüència de l'entrada.");
        // At the corner, 1/(2π · 1 kΩ · 100 nF) = 1,59 kHz, either filter passes 1/√2 of its input.
        const double corner = 1.0 / (2.0 * M_PI * 1e3 * 100e-9);
        row("paso_bajo", corner, 0.69, 0.72, false,
            u"CH II es la tensión del condensador de un filtro paso bajo RC: copia la entrada a frecuencias "
            u"bajas y, por encima del corte, sale más pequeña y retrasada.",
            u"CH II és la tensió del condensador d'un filtre passabaix RC: copia l'entrada a freqüències "
            u"baixes i, per damunt del tall, ix més xicoteta i endarrerida.");
        row("paso_alto", corner, 0.69, 0.72, false,
            u"CH II es la tensión de la resistencia de un filtro paso alto RC: copia la entrada a "
            u"frecuencias "
            u"altas y, por debajo del corte, sale más pequeña y adelantada.",
            u"CH II és la tensió de la resistència d'un filtre passaalt RC: copia l'entrada a freqüències "
            u"altes i, per davall del tall, ix més xicoteta i avançada.");
        // At resonance, 1/(2π √(10 mH · 100 nF)) = 5,03 kHz, L and C cancel: the resistor has the input.
        row("rlc_serie", 1.0 / (2.0 * M_PI * std::sqrt(10e-3 * 100e-9)), 0.98, 1.01, false,
            u"CH II es la tensión de la resistencia del RLC serie, es decir, su corriente: en la resonancia "
            u"es "
            u"igual a la entrada y está en fase con ella; fuera de ella es más pequeña, adelantada por "
            u"debajo "
            u"y retrasada por encima.",
            u"CH II és la tensió de la resistència del circuit RLC en sèrie, és a dir, el seu corrent: en la "
            u"ressonància és igual que l'entrada i està en fase amb ella; fora d'ella és més xicoteta, "
            u"avançada per davall i endarrerida per damunt.");
    }
    void circuitsSayWhatChannelIIShows()
    {
        QFETCH(QString, circuit);
        QFETCH(double, hz);
        QFETCH(double, lowestRatio);
        QFETCH(double, highestRatio);
        QFETCH(bool, neverBelowZero);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        Hm203 scope = benchWith(circuit, hz, 24.0);
        QVERIFY2(scope.circuitSettled(), qPrintable(scope.circuitProblem()));
        // What the words say CH II shows is what the simulated circuit puts there.
        const Span in = spanOf(scope.signalI(), 1.0 / hz);
        const Span out = spanOf(scope.signalII(), 1.0 / hz);
        const double ratio = out.peakToPeak() / in.peakToPeak();
        QVERIFY2(ratio >= lowestRatio && ratio <= highestRatio, qPrintable(QString::number(ratio)));
        if (neverBelowZero)
            QVERIFY2(out.low > -0.05, qPrintable(QString::number(out.low)));

        const TraceExplanation why = explainTrace(scope);
        QVERIFY2(why.castilian.endsWith(castilian), qPrintable(why.castilian));
        QVERIFY2(why.valencian.endsWith(valencian), qPrintable(why.valencian));
        // With CH I alone on the face, CH II's circuit has nothing to explain.
        scope.setValue(C::Dual, 0);
        scope.setValue(C::ChannelII, 0);
        QVERIFY(!explainTrace(scope).castilian.contains(QStringLiteral("CH II")));
    }

    /** Every circuit the course ships has its words; a teacher's circuit is left to its own description. */
    void everyShippedCircuitIsWorded()
    {
        QVERIFY(!benchCircuits().isEmpty());
        for (const Circuit &circuit : benchCircuits())
            QVERIFY2(TraceWording::circuitChannelII(circuit.id), qPrintable(circuit.id));
        QVERIFY(!TraceWording::circuitChannelII(QStringLiteral("propio:media_onda")));
    }
};

QTEST_GUILESS_MAIN(TestCircuitWords)
#include "tst_circuitwords.moc"
