// The face in words: worked-out screens said exactly, the shapes and figures told from points, and random
// states of the instrument whose words must agree with the traces the model draws.
#include "hm203.h"
#include "hm203tasks.h"
#include "screendescription.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <numbers>

using C = Hm203Control;

namespace {

/** An instrument as a row sets it: controls moved from the opening, the generator, and the warm-up. */
struct Setup
{
    Setup(QList<std::pair<C, int>> moved = {}, GeneratorSettings wired = {}, double warm = 1e9)
        : controls(std::move(moved))
        , generator(wired)
        , sincePowerOn(warm)
    {
    }
    QList<std::pair<C, int>> controls;
    GeneratorSettings generator;
    double sincePowerOn;
};

ScreenDescription describe(const Setup &setup)
{
    Hm203 scope;
    scope.setGenerator(setup.generator);
    for (const auto &[control, value] : setup.controls)
        scope.setValue(control, value);
    return describeScreen(scope, BeamMoment { 0.0, setup.sincePowerOn });
}

/** The numbers a text says, in order: the same numbers must be said in both languages. */
QStringList numbersIn(const QString &text)
{
    QStringList numbers;
    static const QRegularExpression number(QStringLiteral("[+\u2212]?\\d+(,\\d+)?"));
    for (const QRegularExpressionMatch &m : number.globalMatch(text))
        numbers << m.captured();
    return numbers;
}

double readNumber(const QString &text)
{
    return QString(text).replace(u',', u'.').replace(QChar(0x2212), u'-').toDouble();
}

Trace traceOf(const std::function<QPointF(double)> &path, int samples = 400)
{
    Trace trace;
    trace.kind = TraceKind::XY;
    for (int i = 0; i <= samples; ++i)
        trace.points << path(2.0 * std::numbers::pi * i / samples);
    return trace;
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Trace)

class TestScreenWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedOutScreensAreSaidExactly_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row = [](const char *name, const Setup &setup, const char16_t *es, const char16_t *va) {
            QTest::newRow(name) << setup << QString::fromUtf16(es) << QString::fromUtf16(va);
        };
        // 4 Vpp at 1 V/div is 4 div; 1 kHz at 0,2 ms/div shows 10 × 0,2 ms / 1 ms = 2 periods.
        row("opening", {},
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, disparada en "
            u"flanco de subida.",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, disparada en "
            u"flanc de pujada.");
        GeneratorSettings square;
        square.waveform = Waveform::Square;
        row("square", { {}, square },
            u"CH I: cuadrada, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, disparada en "
            u"flanco de subida.",
            u"CH I: quadrada, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, disparada en "
            u"flanc de pujada.");
        // 2,5 kHz at 0,5 V/div (4 Vpp → 8 div): 10 × 0,2 ms × 2,5 kHz = 5 periods of 0,4 ms.
        GeneratorSettings triangle;
        triangle.waveform = Waveform::Triangle;
        triangle.frequencyHz = 2500.0;
        row("triangle", { { { C::VoltsDivI, Hm203::voltsDivPosition(0.5) } }, triangle },
            u"CH I: triangular, 8,0 div de pico a pico (4 V), 5 periodos (T = 0,4 ms), centrada, disparada "
            u"en flanco de subida.",
            u"CH I: triangular, 8,0 div de pic a pic (4 V), 5 períodes (T = 0,4 ms), centrada, disparada en "
            u"flanc de pujada.");
        row("DUAL", { { { C::Dual, 1 } } },
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, disparada en "
            u"flanco de subida. "
            u"CH II: senoidal, 2,0 div de pico a pico (2 V), 2 periodos (T = 1 ms), centrada, disparada en "
            u"flanco de subida.",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, disparada en "
            u"flanc de pujada. "
            u"CH II: sinusoïdal, 2,0 div de pic a pic (2 V), 2 períodes (T = 1 ms), centrada, disparada en "
            u"flanc de pujada.");
        row("GD", { { { C::GroundI, 1 }, { C::YPositionI, -15 } } },
            u"CH I: línea horizontal, 1,5 div por debajo del centro.",
            u"CH I: línia horitzontal, 1,5 div per davall del centre.");
        row("Y-POS lifts", { { { C::YPositionI, 20 } } },
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), 2,0 div por encima del "
            u"centro, disparada en flanco de subida.",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), 2,0 div per damunt del "
            u"centre, disparada en flanc de pujada.");
        // 4 Vpp at 5 mV/div would be 800 div: the amplifiers clip it far beyond the face both ways.
        row("clipped", { { { C::VoltsDivI, Hm203::voltsDivPosition(0.005) } } },
            u"CH I: recortada, se sale de la pantalla por arriba y por abajo, 2 periodos (T = 1 ms), "
            u"disparada en flanco de subida.",
            u"CH I: retallada, ix de la pantalla per dalt i per baix, 2 períodes (T = 1 ms), disparada en "
            u"flanc de pujada.");
        // 5 V of DC lifts the sine to 3 to 7 div; the amplifiers stop it at 6, its middle 4,5 div up.
        GeneratorSettings lifted;
        lifted.offsetIVolts = 5.0;
        row("5 V offset through DC", { {}, lifted },
            u"CH I: recortada, se sale de la pantalla por arriba, 2 periodos (T = 1 ms), 4,5 div por encima "
            u"del "
            u"centro, disparada en flanco de subida.",
            u"CH I: retallada, ix de la pantalla per dalt, 2 períodes (T = 1 ms), 4,5 div per damunt del "
            u"centre, "
            u"disparada en flanc de pujada.");
        row("HF runs", { { { C::TriggerCoupling, 2 } } },
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, sin disparar "
            u"(la traza corre).",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, sense disparar "
            u"(la traça corre).");
        // The mains fire the sweep, and the generator runs free of them: the signal slides past.
        row("~ slides", { { { C::TriggerCoupling, 4 } } },
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, disparada al "
            u"ritmo de la red, que la señal no sigue (la traza se desliza).",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, disparada al "
            u"ritme de la xarxa, que el senyal no seguix (la traça es llisca).");
        // 0,2 s/div: a 2 s sweep, 2000 periods of 1 kHz, the spot far slower than the afterglow.
        row("crawling", { { { C::TimeDiv, Hm203::timeDivPosition(0.2) } } },
            u"CH I: un punto que cruza la pantalla despacio (cada barrido dura 2 s); senoidal, 4,0 div de "
            u"pico a pico (4 V), 2000 periodos (T = 1 ms), centrada, disparada en flanco de subida.",
            u"CH I: un punt que creua la pantalla a poc a poc (cada escombratge dura 2 s); sinusoïdal, 4,0 "
            u"div de pic a pic (4 V), 2000 períodes (T = 1 ms), centrada, disparada en flanc de pujada.");
        // 5 Hz at 50 ms/div: a 0,5 s sweep shows 2,5 periods of 0,2 s, a spot crawling across.
        GeneratorSettings slow;
        slow.frequencyHz = 5.0;
        row("5 Hz at 50 ms/div", { { { C::TimeDiv, Hm203::timeDivPosition(50e-3) } }, slow },
            u"CH I: un punto que cruza la pantalla despacio (cada barrido dura 0,5 s); senoidal, 4,0 div de "
            u"pico a pico (4 V), 2,5 periodos (T = 0,2 s), centrada, disparada en flanco de subida.",
            u"CH I: un punt que creua la pantalla a poc a poc (cada escombratge dura 0,5 s); sinusoïdal, 4,0 "
            u"div de pic a pic (4 V), 2,5 períodes (T = 0,2 s), centrada, disparada en flanc de pujada.");
        // The 0,2 V calibrator through a trimmed ×10 probe: 20 mV, 4 div at 5 mV/div, from 0 up to +4 div.
        GeneratorSettings probe;
        probe.hookup = Hookup::Calibrator02;
        probe.probeI = Probe::Times10;
        probe.compensationI = 1.0;
        row("×10 probe", { { { C::VoltsDivI, Hm203::voltsDivPosition(0.005) } }, probe },
            u"CH I: cuadrada, 4,0 div de pico a pico (20 mV; 0,2 V en la punta de la sonda ×10), 2 periodos "
            u"(T = 1 ms), 2,0 div por encima del centro, disparada en flanco de subida.",
            u"CH I: quadrada, 4,0 div de pic a pic (20 mV; 0,2 V a la punta de la sonda ×10), 2 períodes (T "
            u"= 1 ms), 2,0 div per damunt del centre, disparada en flanc de pujada.");
        row("INTENS low", { { { C::Intensity, 15 } } },
            u"CH I: senoidal, 4,0 div de pico a pico (4 V), 2 periodos (T = 1 ms), centrada, disparada en "
            u"flanco de subida, muy tenue.",
            u"CH I: sinusoïdal, 4,0 div de pic a pic (4 V), 2 períodes (T = 1 ms), centrada, disparada en "
            u"flanc de pujada, molt tènue.");

        // X-Y: CH II across, CH I up, both 4 Vpp at 1 V/div.
        const auto xy = [](double phase) {
            GeneratorSettings g;
            g.amplitudeIIVpp = 4.0;
            g.phaseIIDegrees = phase;
            return Setup { { { C::XY, 1 } }, g };
        };
        row("X-Y 90°", xy(90.0), u"X-Y: un círculo de 4,0 div de diámetro, en el centro de la pantalla.",
            u"X-Y: un cercle de 4,0 div de diàmetre, en el centre de la pantalla.");
        row("X-Y 0°", xy(0.0),
            u"X-Y: una línea recta de 4,0 div de ancho y 4,0 div de alto, inclinada 45° (sube hacia la "
            u"derecha), en el centro de la pantalla.",
            u"X-Y: una línia recta de 4,0 div d'ample i 4,0 div d'alt, inclinada 45° (puja cap a la dreta), "
            u"en el centre de la pantalla.");
        row("X-Y 180°", xy(180.0),
            u"X-Y: una línea recta de 4,0 div de ancho y 4,0 div de alto, inclinada 45° (baja hacia la "
            u"derecha), en el centro de la pantalla.",
            u"X-Y: una línia recta de 4,0 div d'ample i 4,0 div d'alt, inclinada 45° (baixa cap a la dreta), "
            u"en el centre de la pantalla.");
        row("X-Y −60°", xy(-60.0),
            u"X-Y: una elipse de 4,0 div de ancho y 4,0 div de alto, inclinada 45° (sube hacia la derecha), "
            u"en el centro de la pantalla.",
            u"X-Y: una el·lipse de 4,0 div d'ample i 4,0 div d'alt, inclinada 45° (puja cap a la dreta), en "
            u"el centre de la pantalla.");

        // Output II at twice output I's frequency: CH I reaches the top once while CH II reaches the side
        // twice.
        GeneratorSettings twice;
        twice.amplitudeIIVpp = 4.0;
        twice.frequencyIIHz = 2000.0;
        row("X-Y 1:2", { { { C::XY, 1 } }, twice },
            u"X-Y: una figura de 4,0 div de ancho y 4,0 div de alto que llega 1 vez al borde de arriba y 2 "
            u"veces al "
            u"de la derecha, en el centro de la pantalla.",
            u"X-Y: una figura de 4,0 div d'ample i 4,0 div d'alt que arriba 1 vegada a la vora de dalt i 2 "
            u"vegades a la de la dreta, en el centre de la pantalla.");

        // Both channels on GD: the beam stands still in the middle.
        row("X-Y, both on GD", { { { C::XY, 1 }, { C::GroundI, 1 }, { C::GroundII, 1 } } },
            u"X-Y: un punto fijo, en el centro de la pantalla.",
            u"X-Y: un punt fix, en el centre de la pantalla.");

        // The tester's figures (testerFigure): the load's voltage across, its current up, 4,5 and 3,5 div at
        // full.
        const auto tester = [](const QString &load) {
            GeneratorSettings g;
            g.testerPart = load;
            return Setup { { { C::Tester, 1 } }, g };
        };
        row("tester open", tester(QString()),
            u"COMPONENT TESTER: una línea horizontal de 9,0 div, en el centro de la pantalla. No pasa "
            u"corriente: "
            u"el zócalo está abierto, o lo que hay en él es una resistencia muy grande.",
            u"COMPONENT TESTER: una línia horitzontal de 9,0 div, en el centre de la pantalla. No passa "
            u"corrent: "
            u"el sòcol està obert, o el que hi ha és una resistència molt gran.");
        // 1 kΩ behind the tester's 354 Ω: 1000/1354 of the voltage, 2 × 4,5 × 0,739 = 6,6 div across, and
        // 354/1354 of the short's current, 2 × 3,5 × 0,261 = 1,8 div up; atan(1,8 / 6,6) = 15°.
        row("tester resistor", tester(QStringLiteral("r1k")),
            u"COMPONENT TESTER: una línea recta de 6,6 div de ancho y 1,8 div de alto, inclinada 15° (sube "
            u"hacia la derecha), en el centro de la pantalla. Una resistencia: la recta es más empinada "
            u"cuanto "
            u"más pequeña es, vertical en un cortocircuito y horizontal con el zócalo abierto.",
            u"COMPONENT TESTER: una línia recta de 6,6 div d'ample i 1,8 div d'alt, inclinada 15° (puja cap "
            u"a la dreta), en el centre de la pantalla. Una resistència: la recta és més empinada com més "
            u"xicoteta és, vertical en un curtcircuit i horitzontal amb el sòcol obert.");
        // 10 µF at 50 Hz is 318 Ω, 90° from the tester's 354 Ω: |Z| = 476 Ω, so 318/476 of the voltage,
        // 2 × 4,5 × 0,668 = 6,0 div across, and 354/476 of the short's current, 2 × 3,5 × 0,744 = 5,2 div up.
        row("tester capacitor", tester(QStringLiteral("c10u")),
            u"COMPONENT TESTER: una elipse de 6,0 div de ancho y 5,2 div de alto, con los ejes horizontal y "
            u"vertical, en el centro de la pantalla. Un condensador o una bobina: la corriente y la tensión "
            u"van "
            u"90° desfasadas.",
            u"COMPONENT TESTER: una el·lipse de 6,0 div d'ample i 5,2 div d'alt, amb els eixos horitzontal i "
            u"vertical, en el centre de la pantalla. Un condensador o una bobina: el corrent i la tensió van "
            u"90° "
            u"desfasats.");
        // Flat from -4,5 div to the 0,27 div drop, then up to 3,5 × 0,94 = 3,29 div.
        row("tester diode", tester(QStringLiteral("d1n4148")),
            u"COMPONENT TESTER: una línea con un codo de 4,8 div de ancho y 3,3 div de alto, con el centro "
            u"en "
            u"x = \u22122,1 div, y = +1,6 div. Un diodo: conduce en un solo sentido, a partir de unos 0,7 V; "
            u"el "
            u"codo a la derecha dice que el ánodo está en el zócalo.",
            u"COMPONENT TESTER: una línia amb un colze de 4,8 div d'ample i 3,3 div d'alt, amb el centre en "
            u"x = "
            u"\u22122,1 div, y = +1,6 div. Un díode: conduïx en un sol sentit, a partir d'uns 0,7 V; el "
            u"colze a "
            u"la dreta diu que l'ànode està en el sòcol.");

        const char16_t *darkEs = u"La pantalla no muestra ninguna traza.";
        const char16_t *darkVa = u"La pantalla no mostra cap traça.";
        row("POWER off", { { { C::Power, 0 } } }, darkEs, darkVa);
        row("warming up", { {}, {}, 1.0 }, darkEs, darkVa);
        row("NORM without trigger", { { { C::AtNorm, 1 }, { C::TriggerCoupling, 2 } } }, darkEs, darkVa);
        row("Y-POS off the face",
            { { { C::YPositionI, 60 }, { C::VoltsDivI, Hm203::voltsDivPosition(5.0) } } }, darkEs, darkVa);
    }
    void workedOutScreensAreSaidExactly()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        const ScreenDescription d = describe(setup);
        QCOMPARE(d.castilian, castilian);
        QCOMPARE(d.valencian, valencian);
        QCOMPARE(d.dark, castilian.startsWith(QStringLiteral("La pantalla")));
    }

    /** The rise-time task's 1 MHz square of 0,8 V, at 0,2 V/div: 4 div, centred, whichever part of the
     * sweep the face shows. A sample landing on an edge's very instant once read as a spike of the whole
     * step below the base, and the words said 6 div, 1 div below the centre. */
    void riseTaskSquareIsSaidAsDrawn_data()
    {
        QTest::addColumn<int>("secondsPerDivStep");
        QTest::addColumn<bool>("magnified");
        QTest::addColumn<int>("xPosition");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const int fast = Hm203::timeDivPosition(0.5e-6);
        QTest::newRow("0,5 µs/div") << fast << false << 0 << QStringLiteral("4,0 div de pico a pico")
                                    << QStringLiteral("4,0 div de pic a pic");
        QTest::newRow("X-MAG") << fast << true << 0 << QStringLiteral("4,0 div de alto")
                               << QStringLiteral("4,0 div d'alt");
        QTest::newRow("X-MAG, the sweep's start")
            << fast << true << 45 << QStringLiteral("4,0 div de alto") << QStringLiteral("4,0 div d'alt");
    }
    void riseTaskSquareIsSaidAsDrawn()
    {
        QFETCH(int, secondsPerDivStep);
        QFETCH(bool, magnified);
        QFETCH(int, xPosition);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        const auto &tasks = hm203Tasks();
        const auto rise = std::find_if(tasks.cbegin(), tasks.cend(),
            [](const Hm203Task &task) { return QStringView(task.answerUnit) == u"ns"; });
        QVERIFY(rise != tasks.cend());
        GeneratorSettings g;
        rise->prepare(g, 0);
        const ScreenDescription d
            = describe({ { { C::TimeDiv, secondsPerDivStep }, { C::VoltsDivI, Hm203::voltsDivPosition(0.2) },
                             { C::XMagnifier, magnified }, { C::XPosition, xPosition } },
                g });
        QVERIFY2(d.castilian.contains(castilian) && d.castilian.contains(QStringLiteral("centrada")),
            qPrintable(d.castilian));
        QVERIFY2(d.valencian.contains(valencian) && d.valencian.contains(QStringLiteral("centrada")),
            qPrintable(d.valencian));
    }

    void aSweepCrawlsWhenTheFaceHoldsLessThanHalfOfIt_data()
    {
        QTest::addColumn<double>("secondsPerDiv");
        QTest::addColumn<bool>("magnified");
        QTest::addColumn<bool>("crawls");
        // Over four afterglow times (0,08 s) the spot covers 10 div × 0,08 s / (10 × TIME/DIV), ten times
        // as much with X-MAG: crawling when that is less than half the face.
        QTest::newRow("10 ms/div: 8 div") << 10e-3 << false << false;
        QTest::newRow("20 ms/div: 4 div") << 20e-3 << false << true;
        QTest::newRow("50 ms/div, X-MAG: 16 div") << 50e-3 << true << false;
        QTest::newRow("0,2 s/div, X-MAG: 4 div") << 0.2 << true << true;
    }
    void aSweepCrawlsWhenTheFaceHoldsLessThanHalfOfIt()
    {
        QFETCH(double, secondsPerDiv);
        QFETCH(bool, magnified);
        QFETCH(bool, crawls);
        const ScreenDescription d = describe(
            { { { C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv) }, { C::XMagnifier, magnified } } });
        QCOMPARE(d.traces.size(), 1);
        QCOMPARE(d.traces.first().crawling, crawls);
        QCOMPARE(d.castilian.contains(QStringLiteral("un punto que cruza la pantalla despacio")), crawls);
    }

    void withheldReadingsKeepToDivisions_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row = [](const char *name, const Setup &setup, const char16_t *es, const char16_t *va) {
            QTest::newRow(name) << setup << QString::fromUtf16(es) << QString::fromUtf16(va);
        };
        // The opening's 4,0 div and 2 periods, without the 4 V and the 1 ms they stand for.
        row("opening", {},
            u"CH I: senoidal, 4,0 div de pico a pico, 2 periodos, centrada, disparada en flanco de subida.",
            u"CH I: sinusoïdal, 4,0 div de pic a pic, 2 períodes, centrada, disparada en flanc de pujada.");
        // 12 Vpp through a ×10 probe at 0,2 V/div: 6,0 div, neither 1,2 V nor the 12 V at the tip.
        GeneratorSettings probe;
        probe.amplitudeIVpp = 12.0;
        probe.probeI = Probe::Times10;
        probe.compensationI = 1.0;
        row("×10 probe", { { { C::VoltsDivI, Hm203::voltsDivPosition(0.2) } }, probe },
            u"CH I: senoidal, 6,0 div de pico a pico, 2 periodos, centrada, disparada en flanco de subida.",
            u"CH I: sinusoïdal, 6,0 div de pic a pic, 2 períodes, centrada, disparada en flanc de pujada.");
        // At 0,2 s/div a sweep lasts 2 s and runs over 2000 periods of 1 kHz: the spot crawls, and how long
        // it takes is for TIME/DIV to tell.
        row("crawling", { { { C::TimeDiv, Hm203::timeDivPosition(0.2) } } },
            u"CH I: un punto que cruza la pantalla despacio; senoidal, 4,0 div de pico a pico, 2000 "
            u"periodos, "
            u"centrada, disparada en flanco de subida.",
            u"CH I: un punt que creua la pantalla a poc a poc; sinusoïdal, 4,0 div de pic a pic, 2000 "
            u"períodes, centrada, disparada en flanc de pujada.");
    }
    void withheldReadingsKeepToDivisions()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        Hm203 scope;
        scope.setGenerator(setup.generator);
        for (const auto &[control, value] : setup.controls)
            scope.setValue(control, value);
        const BeamMoment moment { 0.0, setup.sincePowerOn };
        const ScreenDescription withheld = describeScreen(scope, moment, ScreenReadings::Withheld);
        QCOMPARE(withheld.castilian, castilian);
        QCOMPARE(withheld.valencian, valencian);
        // The facts stay whole: only the words keep the values back, and give them once asked.
        const ScreenDescription worked = describeScreen(scope, moment);
        QCOMPARE(withheld.traces.size(), worked.traces.size());
        QCOMPARE(withheld.traces.first().inputVoltsPp, worked.traces.first().inputVoltsPp);
        QVERIFY(worked.castilian != withheld.castilian);
    }

    void withheldWordsNeverGiveAValue()
    {
        // Whatever the instrument shows, the withheld words say no volts, seconds or hertz, and only numbers
        // the full words say too, in the same order.
        static const QRegularExpression value(QStringLiteral("\\d ?(µ|m|k)?(V|s|Hz)\\b"));
        QRandomGenerator random(20261209);
        for (int state = 0; state < 200; ++state) {
            Hm203 scope;
            for (const Hm203ControlInfo &info : hm203Controls())
                scope.setValue(info.id, random.bounded(info.minimum, info.maximum + 1));
            scope.setValue(C::Tester, 0);
            scope.setValue(C::Power, 1);
            GeneratorSettings g;
            g.waveform = Waveform(random.bounded(3));
            g.frequencyHz = std::pow(10.0, random.bounded(6.0));
            g.amplitudeIVpp = random.bounded(GeneratorLimits::maximumVpp);
            g.amplitudeIIVpp = random.bounded(GeneratorLimits::maximumVpp);
            g.probeI = Probe(random.bounded(2));
            g.probeII = Probe(random.bounded(2));
            scope.setGenerator(g);
            const BeamMoment moment { random.bounded(5.0), 1e9 };
            const ScreenDescription withheld = describeScreen(scope, moment, ScreenReadings::Withheld);
            const ScreenDescription worked = describeScreen(scope, moment);
            for (Language language : { Language::Castilian, Language::Valencian }) {
                const QString said = withheld.in(language);
                QVERIFY2(!value.match(said).hasMatch(), qPrintable(said));
                QStringList all = numbersIn(worked.in(language));
                for (const QString &number : numbersIn(said)) {
                    const qsizetype at = all.indexOf(number);
                    QVERIFY2(at >= 0, qPrintable(said));
                    all = all.mid(at + 1);
                }
            }
        }
    }

    void shapesAreToldFromHeights_data()
    {
        QTest::addColumn<QList<double>>("heights");
        QTest::addColumn<int>("shape");
        const auto sampled = [](const std::function<double(double)> &f) {
            QList<double> h;
            for (int i = 0; i < 256; ++i)
                h << f(i / 256.0);
            return h;
        };
        const double pi = std::numbers::pi;
        QTest::newRow("sine, lifted")
            << sampled([&](double t) { return 1.0 + 2.0 * std::sin(2 * pi * t + 1.0); })
            << int(TraceShape::Sine);
        QTest::newRow("triangle") << sampled([](double t) { return 3.0 * (1.0 - 4.0 * std::abs(t - 0.5)); })
                                  << int(TraceShape::Triangle);
        QTest::newRow("square") << sampled([](double t) { return t < 0.5 ? -2.0 : 2.0; })
                                << int(TraceShape::Square);
        QTest::newRow("a sine clipped by the amplifiers")
            << sampled([&](double t) { return std::clamp(8.0 * std::sin(2 * pi * t), -6.0, 6.0); })
            << int(TraceShape::Other);
        QTest::newRow("spikes") << sampled([](double t) { return std::exp(-20.0 * t); })
                                << int(TraceShape::Other);
        QTest::newRow("a sine thinner than the spot")
            << sampled([&](double t) { return 0.01 * std::sin(2 * pi * t); }) << int(TraceShape::FlatLine);
    }
    void shapesAreToldFromHeights()
    {
        QFETCH(QList<double>, heights);
        QFETCH(int, shape);
        QCOMPARE(int(shapeOfHeights(heights)), shape);
    }

    void figuresAreToldFromPoints_data()
    {
        QTest::addColumn<Trace>("trace");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("dots");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("side");
        // A 2:1 figure of eight crosses itself but never goes back along itself: it is no bent line.
        QTest::newRow("figure of eight")
            << traceOf([](double t) { return QPointF(3 * std::sin(t), 2 * std::sin(2 * t)); })
            << int(FigureKind::Other) << 0 << 2 << 1;
        // 3:2 with a little phase: three peaks of y, two of x, while the figure closes.
        QTest::newRow("3:2") << traceOf(
            [](double t) { return QPointF(2 * std::sin(2 * t + 0.3), 2 * std::sin(3 * t)); })
                             << int(FigureKind::Other) << 0 << 3 << 2;
        // x = sin t, y = cos 2t is a parabola's arc the beam goes along and back.
        QTest::newRow("parabola") << traceOf(
            [](double t) { return QPointF(3 * std::sin(t), 2 * std::cos(2 * t)); })
                                  << int(FigureKind::BentLine) << 0 << 0 << 0;
        QTest::newRow("squares in step")
            << traceOf([](double t) { return std::sin(t) >= 0 ? QPointF(2, 2) : QPointF(-2, -2); })
            << int(FigureKind::Dots) << 2 << 0 << 0;
        QTest::newRow("squares 90° apart")
            << traceOf([](double t) { return QPointF(std::sin(t) >= 0 ? 2 : -2, std::cos(t) >= 0 ? 2 : -2); })
            << int(FigureKind::Dots) << 4 << 0 << 0;
        QTest::newRow("a thin ellipse is a line")
            << traceOf([](double t) { return QPointF(3 * std::sin(t), 3 * std::sin(t + 0.005)); })
            << int(FigureKind::Line) << 0 << 0 << 0;
        QTest::newRow("an ellipse the amplifiers clip") << traceOf([](double t) {
            return QPointF(3 * std::sin(t), std::clamp(8 * std::sin(t + 1.0), -6.0, 6.0));
        }) << int(FigureKind::Other) << 0 << 1 << 1;
        QTest::newRow("still") << traceOf([](double) { return QPointF(1, -1); }) << int(FigureKind::Spot) << 0
                               << 0 << 0;
    }
    void figuresAreToldFromPoints()
    {
        QFETCH(Trace, trace);
        QFETCH(int, kind);
        QFETCH(int, dots);
        QFETCH(int, top);
        QFETCH(int, side);
        const FigureShape shape = shapeOfFigure(trace);
        QCOMPARE(int(shape.kind), kind);
        QCOMPARE(shape.dots, dots);
        QCOMPARE(shape.touchesTop, top);
        QCOMPARE(shape.touchesSide, side);
    }

    void randomStatesAreSaidAsTheyAreDrawn()
    {
        QRandomGenerator random(20240611);
        const QRectF face = ScreenGeometry::visibleArea();
        int dark = 0;
        int swept = 0;
        for (int state = 0; state < 300; ++state) {
            Hm203 scope;
            for (const Hm203ControlInfo &info : hm203Controls())
                scope.setValue(info.id, random.bounded(info.minimum, info.maximum + 1));
            // The tester and X-Y take the whole face: leave room for swept pictures.
            scope.setValue(C::Tester, random.bounded(8) == 0);
            scope.setValue(C::XY, random.bounded(6) == 0);
            scope.setValue(C::Power, random.bounded(10) != 0);
            GeneratorSettings g;
            g.waveform = Waveform(random.bounded(3));
            g.frequencyHz
                = std::pow(10.0, random.bounded(std::log10(GeneratorLimits::maximumHzOf(g.waveform))));
            g.amplitudeIVpp = random.bounded(GeneratorLimits::maximumVpp);
            g.amplitudeIIVpp = random.bounded(GeneratorLimits::maximumVpp);
            g.offsetIVolts = random.bounded(3) == 0 ? random.bounded(20.0) - 10.0 : 0.0;
            g.offsetIIVolts = random.bounded(3) == 0 ? random.bounded(20.0) - 10.0 : 0.0;
            g.phaseIIDegrees = random.bounded(360.0) - 180.0;
            g.hookup = Hookup(random.bounded(4));
            g.testerPart = QStringList { QString(), QStringLiteral("r1k"), QStringLiteral("c10u"),
                QStringLiteral("d1n4148") }
                               .value(int(random.bounded(4)));
            g.noiseVolts = random.bounded(5) == 0 ? random.bounded(0.5) : 0.0;
            g.humVolts = random.bounded(5) == 0 ? random.bounded(0.5) : 0.0;
            g.burst = random.bounded(5) == 0;
            g.probeI = Probe(random.bounded(2));
            g.probeII = Probe(random.bounded(2));
            scope.setGenerator(g);
            const BeamMoment moment { random.bounded(5.0),
                random.bounded(10) == 0 ? random.bounded(5.0) : 1e9 };
            const QString tag = QStringLiteral("state %1").arg(state);

            const ScreenDescription d = describeScreen(scope, moment);
            const LiveScreen live = scope.screen(moment);
            QCOMPARE(d.dark, faceIsDark(live));
            QCOMPARE(numbersIn(d.castilian), numbersIn(d.valencian));
            // The beam over a frame agrees: a steady face it lights is a face the words call lit.
            const BeamFrame frame = scope.beam(moment.seconds - 0.08, moment.seconds, moment.sincePowerOn);
            if (frame.writing.steady) {
                bool written = false;
                for (const BeamStroke &stroke : frame.writing.strokes)
                    for (qsizetype i = 0; i + 1 < stroke.points.size(); ++i)
                        written = written || meetsFace(stroke.points.at(i), stroke.points.at(i + 1));
                QVERIFY2(d.dark == !(written && frame.current > 0.0), qPrintable(tag));
            }
            if (d.dark) {
                ++dark;
                QCOMPARE(d.castilian, QStringLiteral("La pantalla no muestra ninguna traza."));
                QVERIFY(d.traces.isEmpty() && !d.figure);
                continue;
            }
            if (d.figure) {
                QVERIFY(d.traces.isEmpty());
                continue;
            }
            QCOMPARE(d.castilian.count(QStringLiteral(": ")), d.traces.size());
            ScopeSettings settings = scope.scopeSettingsAt(moment.seconds);
            const double zoom = settings.xMagnified ? 10.0 : 1.0;
            static const QRegularExpression nextSentence(QStringLiteral("\\. (?=CH |ADD)"));
            const QStringList sentences = d.castilian.split(nextSentence);
            for (qsizetype k = 0; k < d.traces.size(); ++k) {
                const TraceDescription &t = d.traces.at(k);
                ++swept;
                // What the face shows of that kind: its heights within the face, its run over the columns.
                double low = 0.0, high = 0.0, left = 0.0, right = 0.0;
                bool any = false, across = false;
                for (const Trace &trace : live.traces.traces) {
                    if (trace.kind != t.kind)
                        continue;
                    for (const QPointF &p : trace.points) {
                        if (p.x() >= face.left() && p.x() <= face.right()) {
                            const double y = std::clamp(p.y(), face.top(), face.bottom());
                            low = any ? std::min(low, y) : y;
                            high = any ? std::max(high, y) : y;
                            any = true;
                        }
                        if (std::abs(p.x()) <= ScreenGeometry::halfWidth) {
                            left = across ? std::min(left, p.x()) : p.x();
                            right = across ? std::max(right, p.x()) : p.x();
                            across = true;
                        }
                    }
                }
                QVERIFY2(std::abs(t.heightDivisions - (high - low)) < 1e-9, qPrintable(tag));
                const QString &sentence = sentences.at(k);
                static const QRegularExpression height(
                    QStringLiteral("(\\d+,\\d) div de (pico a pico|alto)"));
                const QRegularExpressionMatch said = height.match(sentence);
                QCOMPARE(said.hasMatch(), !t.clipped() && t.shape != TraceShape::FlatLine);
                if (said.hasMatch())
                    QVERIFY2(std::abs(readNumber(said.captured(1)) - t.heightDivisions) <= 0.05 + 1e-9,
                        qPrintable(sentence));
                // Periods: the columns the trace runs over, over the divisions one period takes.
                const bool bothChannels = t.kind == TraceKind::Sum;
                if (t.periodSeconds > 0.0 && !bothChannels) {
                    const double period = repeatSeconds(settings, t.kind);
                    QCOMPARE(t.periodSeconds, period);
                    const double expected = (right - left) / (period / settings.secondsPerDiv * zoom);
                    // Counted as the eye counts against the graticule: the span to a hundredth of a division.
                    const double perPeriod = period / settings.secondsPerDiv * zoom;
                    QVERIFY2(
                        std::abs(t.periodsShown - expected) <= 0.005 / perPeriod + 1e-6, qPrintable(tag));
                    static const QRegularExpression periods(QStringLiteral("(\\d+(,\\d)?) periodos?"));
                    const QRegularExpressionMatch count = periods.match(sentence);
                    if (count.hasMatch())
                        QVERIFY2(std::abs(readNumber(count.captured(1)) - expected)
                                <= 0.5 * (expected < 10 ? 0.1 : 1.0) + 0.005 / perPeriod + 1e-6,
                            qPrintable(sentence));
                    QVERIFY2(sentence.contains(
                                 QStringLiteral("T = ") + formatQuantity(period, QStringLiteral("s"))),
                        qPrintable(sentence));
                }
                // A sweep the model finds no trigger for is never said to be triggered.
                if (!live.traces.triggered && !settings.trigger.alternate)
                    QVERIFY2(!t.triggered, qPrintable(sentence));
            }
        }
        // The states reach both dark and lit faces, and many swept traces.
        QVERIFY(dark >= 20);
        QVERIFY(swept >= 100);
    }
};

QTEST_MAIN(TestScreenWords)
#include "tst_screenwords.moc"
