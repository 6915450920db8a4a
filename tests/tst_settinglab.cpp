#include "labcatalogue.h"
#include "labfile.h"
#include "taskmetstates.h"

#include <QRegularExpression>
#include <QSet>

#include <cstring>

/**
 * The settings lab: the shipped file's tasks judge every state as the setting tasks' table does, and
 * each check a teacher may list judges worked-out states as its key says.
 */
class TestSettingLab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void checksJudgeWorkedOutStates_data();
    void checksJudgeWorkedOutStates();
    void checkKeysAreWrittenAsFilesWriteThem();

private:
    Lab m_lab;
};

namespace {

/** The shipped file's ids of the course's setting tasks, with their places in the strip. */
struct SettingId
{
    const char *id;
    int task;
};

constexpr SettingId kSettingIds[] {
    { "base_de_tiempos", TimeBase },
    { "dos_periodos", TwoPeriods },
    { "linea_inferior", BottomLine },
    { "flanco_de_bajada", FallingStart },
    { "acoplamiento_ac", AcCoupling },
    { "calibrador", Calibrator },
    { "dos_canales", Dual },
    { "diferencia", Difference },
};
const LabCheck *checkWithKey(const char *key)
{
    for (const LabCheck &check : labChecks())
        if (std::strcmp(check.key, key) == 0)
            return &check;
    return nullptr;
}
/** A student's moves, each a reachable state from the task's start, and each spoiling or mending a goal. */
const Setup kMoves[] {
    untouched,
    [](Hm203 &s) { return setTime(s, 1e-3); },
    [](Hm203 &s) { return setTime(s, 0.5e-3); },
    [](Hm203 &s) { return setTime(s, 10e-3) && press(s, Hm203Control::XMagnifier); },
    [](Hm203 &s) { return setVolts(s, false, 2.0); },
    [](Hm203 &s) { return setVolts(s, false, 0.5); },
    [](Hm203 &s) { return setVolts(s, false, 0.2); },
    [](Hm203 &s) { return uncalibratedVoltsI(s, 0.5); },
    [](Hm203 &s) { return setPositionI(s, -2.0); },
    [](Hm203 &s) { return setPositionI(s, 5.5); },
    [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5); },
    [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 0.5); },
    [](Hm203 &s) { return setLevel(s, 3.5); },
    [](Hm203 &s) { return press(s, Hm203Control::AtNorm) && setLevel(s, 3.5); },
    [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && setVolts(s, false, 0.2); },
    [](Hm203 &s) { return setCoupling(s, false, Coupling::Ground); },
    [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0) && setPositionII(s, -2.0); },
    [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::AltTrigger); },
    [](Hm203 &s) { return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertII); },
    [](Hm203 &s) { return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertI); },
    [](Hm203 &s) { return press(s, Hm203Control::Dual) && press(s, Hm203Control::Add); },
    [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII); },
    [](Hm203 &s) { return press(s, Hm203Control::XY); },
    [](Hm203 &s) { return press(s, Hm203Control::Power, false); },
    [](Hm203 &s) { return press(s, Hm203Control::Tester); },
    [](Hm203 &s) {
        s.setValue(Hm203Control::Intensity, 15);
        return true;
    },
    [](Hm203 &s) { return setFrequency(s, 2000.0); },
    [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 5.0; }); },
    [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.offsetIVolts = 0.0; }); },
    [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Generator; }); },
};

/** Where a check leaves a state: met with nothing to say, or its reason. */
TaskVerdict judgedBy(const LabCheck &check, const Hm203 &scope, const LabBench &bench, const CheckArgs &args)
{
    const TaskJudging::Look look(scope);
    if (TaskJudging::Problem p = check.check(look, bench, args))
        return *p;
    return TaskJudging::wellDone();
}

CheckArgs channel(LabChannel which)
{
    CheckArgs args;
    args.channel = which;
    return args;
}

CheckArgs range(double low, double high)
{
    CheckArgs args;
    args.value = low;
    args.low = low;
    args.high = high;
    return args;
}

CheckArgs position(Hm203Control control, int at)
{
    CheckArgs args;
    args.control = control;
    args.position = at;
    return args;
}

/** X-Y pressed and output II at its own frequency (0: output I's). */
template <int hz> bool xyWithOutputII(Hm203 &scope)
{
    return setMode(scope, DisplayMode::XY)
        && changeGenerator(scope, [](GeneratorSettings &g) { g.frequencyIIHz = hz; });
}

/** The bench as the instrument opens with it: a 4 Vpp, 1 kHz sine on CH I, 2 Vpp on CH II. */
LabBench openingBench()
{
    return {};
}

} // namespace

Q_DECLARE_METATYPE(CheckArgs)
Q_DECLARE_METATYPE(LabBench)

void TestSettingLab::initTestCase()
{
    const LabReading reading = readLabFile(QStringLiteral(VANTELA_LABS_DIR "/ajustes.toml"));
    for (const LabError &error : reading.errors)
        qWarning() << describeLabError(error, QStringLiteral("ajustes.toml"), Language::Castilian);
    QVERIFY(reading.lab);
    m_lab = *reading.lab;
    QCOMPARE(m_lab.tasks.size(), qsizetype(std::size(kSettingIds)));
    QVERIFY(!m_lab.title.castilian.isEmpty() && !m_lab.title.valencian.isEmpty());
    QVERIFY(!m_lab.introduction.castilian.isEmpty() && !m_lab.introduction.valencian.isEmpty());
}

void TestSettingLab::checksJudgeWorkedOutStates_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<CheckArgs>("args");
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("met");
    /** When not met, words the Castilian reason holds, and the Valencian. */
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");

    const LabBench opening = openingBench();
    const auto row = [&](const char *name, const char *key, const CheckArgs &args, Setup setup, bool met,
                         const char16_t *castilian = u"", const char16_t *valencian = u"") {
        QTest::newRow(name) << QString::fromLatin1(key) << args << opening << setup << met
                            << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
    };
    const CheckArgs one = channel(LabChannel::I);
    const CheckArgs two = channel(LabChannel::II);
    const CheckArgs yes;

    // The instrument opens on CH I: channel II is drawn with CH I/II or DUAL.
    row("canal CH II as opened", "canal", two, untouched, false, u"solo el canal I: pulsa CH I/II o DUAL",
        u"només el canal I: polsa CH I/II o DUAL");
    row(
        "canal CH II in DUAL", "canal", two, [](Hm203 &s) { return setMode(s, DisplayMode::Dual); }, true);
    row(
        "canal CH II grounded", "canal", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII) && setCoupling(s, true, Coupling::Ground); },
        false, u"GD", u"GD");
    row(
        "canal CH II in ADD", "canal", two, [](Hm203 &s) { return setMode(s, DisplayMode::Add); }, false,
        u"ADD suma", u"ADD suma");
    row(
        "canal CH I in X-Y", "canal", one, [](Hm203 &s) { return press(s, Hm203Control::XY); }, false, u"X-Y",
        u"X-Y");
    // The 4 Vpp sine's peaks are at ±2 V: LEVEL beyond them leaves the sweep free-running.
    row("estable as opened", "estable", yes, untouched, true);
    row(
        "estable above the peaks", "estable", yes, [](Hm203 &s) { return setLevel(s, 3.0); }, false, u"LEVEL",
        u"LEVEL");
    row(
        "canal_estable CH II in DUAL", "canal_estable", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); }, true);
    row(
        "canal_estable CH II switched off", "canal_estable", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::Power, false); }, false,
        u"POWER", u"POWER");
    // Output II's 2 Vpp spans ten divisions at 0,2 V/div: more than the graticule's eight.
    row(
        "en_reticula CH II at 0.2 V/div", "en_reticula", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII) && setVolts(s, true, 0.2); }, false,
        u"redúcela con VOLTS/DIV II o céntrala con Y-POS II",
        u"reduïx-la amb VOLTS/DIV II o centra-la amb Y-POS II");
    row(
        "en_reticula CH II at 0.5 V/div", "en_reticula", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII) && setVolts(s, true, 0.5); }, true);
    // 4 Vpp at 1 V/div: four divisions; a quarter division either way of a range's ends still counts.
    row("altura_1 4 in [3, 5]", "altura_1", range(3.0, 5.0), untouched, true);
    row("altura_1 4 against 4,2", "altura_1", range(4.2, 4.2), untouched, true);
    row("altura_1 4 in [5, 6]", "altura_1", range(5.0, 6.0), untouched, false,
        u"mide 4,0 divisiones de pico a pico; la tarea pide entre 5 y 6. Ajusta VOLTS/DIV I",
        u"fa 4,0 divisions de pic a pic; la tasca en demana entre 5 i 6. Ajusta VOLTS/DIV I");
    row("altura_1 4 against 2,5", "altura_1", range(2.5, 2.5), untouched, false, u"la tarea pide 2,5.",
        u"la tasca en demana 2,5.");
    // Output II's 2 Vpp at 1 V/div: two divisions.
    row(
        "altura_2 2 in DUAL", "altura_2", range(2.0, 2.0),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); }, true);
    row(
        "altura_2 2 against 4", "altura_2", range(4.0, 4.0),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); }, false,
        u"La traza del canal II mide 2,0 divisiones de pico a pico; la tarea pide 4. Ajusta VOLTS/DIV II.",
        u"La traça del canal II fa 2,0 divisions de pic a pic; la tasca en demana 4. Ajusta VOLTS/DIV II.");
    // 1 kHz at 0,2 ms/div: ten divisions are 2 ms, two periods.
    row("periodos 2 in [1,5, 2,5]", "periodos", range(1.5, 2.5), untouched, true);
    row("periodos 2 in [3, 4]", "periodos", range(3.0, 4.0), untouched, false,
        u"Se ven 2 periodos; la tarea pide entre 3 y 4. Ajusta TIME/DIV.",
        u"Es veuen 2 períodes; la tasca en demana entre 3 i 4. Ajusta TIME/DIV.");
    row(
        "periodos 10 against 2", "periodos", range(2.0, 2.0), [](Hm203 &s) { return setTime(s, 1e-3); },
        false, u"Se ven 10 periodos; la tarea pide 2.", u"Es veuen 10 períodes; la tasca en demana 2.");
    row("centrada as opened", "centrada", one, untouched, true);
    row(
        "centrada lifted a division", "centrada", one, [](Hm203 &s) { return setPositionI(s, 1.0); }, false,
        u"queda 1,0 divisiones por encima de la línea central: bájala con Y-POS I",
        u"queda 1,0 divisions per damunt de la línia central: baixa-la amb Y-POS I");
    row(
        "centrada CH II lowered", "centrada", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && setPositionII(s, -2.0); }, false,
        u"canal II queda 2,0 divisiones por debajo de la línea central: súbela con Y-POS II",
        u"canal II queda 2,0 divisions per davall de la línia central: puja-la amb Y-POS II");
    row(
        "centrada a fifth of a division off", "centrada", one, [](Hm203 &s) { return setPositionI(s, 0.2); },
        true);
    row("xy as opened", "xy", yes, untouched, false, u"Pulsa X-Y para ver la figura X-Y.",
        u"Polsa X-Y per a veure la figura X-Y.");
    row(
        "xy pressed", "xy", yes, [](Hm203 &s) { return press(s, Hm203Control::XY); }, true);
    // The fine knob is told where TIME/DIV is, not where it should be.
    row(
        "mando TIME/DIV uncalibrated", "mando", position(Hm203Control::TimeDiv, Hm203::timeDivPosition(1e-3)),
        [](Hm203 &s) { return s.setValue(Hm203Control::TimeCal, 50); }, false,
        u"TIME/DIV está en 0,2 ms/div, sin calibrar: ponlo en 1 ms/div.",
        u"TIME/DIV està en 0,2 ms/div, sense calibrar: posa'l en 1 ms/div.");
    row("mando TIME/DIV as opened", "mando", position(Hm203Control::TimeDiv, Hm203::timeDivPosition(1e-3)),
        untouched, false, u"TIME/DIV está en 0,2 ms/div: ponlo en 1 ms/div.",
        u"TIME/DIV està en 0,2 ms/div: posa'l en 1 ms/div.");
    row(
        "mando TIME/DIV set", "mando", position(Hm203Control::TimeDiv, Hm203::timeDivPosition(1e-3)),
        [](Hm203 &s) { return setTime(s, 1e-3); }, true);
    row("mando DUAL released", "mando", position(Hm203Control::Dual, 1), untouched, false,
        u"DUAL está suelto: púlsalo.", u"DUAL està solt: polsa'l.");
    row(
        "mando INV I pressed", "mando", position(Hm203Control::InvertI, 0),
        [](Hm203 &s) { return press(s, Hm203Control::InvertI); }, false, u"INV I está pulsado: suéltalo.",
        u"INV I està polsat: deixa'l anar.");
    row(
        "base_calibrada turned", "base_calibrada", yes,
        [](Hm203 &s) { return s.setValue(Hm203Control::TimeCal, 50); }, false, u"mando CAL de TIME/DIV",
        u"comandament CAL de TIME/DIV");
    row(
        "sensibilidad_calibrada CH II turned", "sensibilidad_calibrada", two,
        [](Hm203 &s) { return s.setValue(Hm203Control::VoltsCalII, 50); }, false,
        u"mando CAL de VOLTS/DIV II", u"comandament CAL de VOLTS/DIV II");
    row(
        "sensibilidad_calibrada CH II turned, CH I asked", "sensibilidad_calibrada", one,
        [](Hm203 &s) { return s.setValue(Hm203Control::VoltsCalII, 50); }, true);
    row(
        "frecuencia_generador changed", "frecuencia_generador", yes,
        [](Hm203 &s) { return setFrequency(s, 2000.0); }, false, u"a 1 kHz", u"a 1 kHz");
    row("frecuencia_generador as set", "frecuencia_generador", yes, untouched, true);
    // The Valencian "de" loses its vowel before "u" (1), "onze" (11) and "huit" (8), and keeps it elsewhere.
    row(
        "amplitud_generador 4 Vpp", "amplitud_generador", yes,
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 5.0; }); },
        false, u"la señal de 4 Vpp", u"el senyal de 4 Vpp");
    row(
        "senoidal with a square", "senoidal", yes,
        [](Hm203 &s) {
            return changeGenerator(s, [](GeneratorSettings &g) { g.waveform = Waveform::Square; });
        },
        false, u"senoidales", u"sinusoïdals");
    row(
        "disparo_alternado with output II off", "disparo_alternado", yes,
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::AltTrigger)
                && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
        },
        false, u"CH II", u"CH II");
    row(
        "disparo_alternado with both outputs", "disparo_alternado", yes,
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::AltTrigger); }, true);
    // The opening 4 Vpp sine's minima are two divisions below the centre: two above the bottom line.
    row(
        "linea_inferior CH II in DUAL", "linea_inferior", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && setPositionII(s, -3.0); }, true);
    row(
        "comienzo_en_bajada at 1,5 V for 2 V", "comienzo_en_bajada", range(2.0, 2.0),
        [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5); }, false,
        u"la tarea pide 2 V o más: sube el nivel con LEVEL",
        u"la tasca en demana 2 V o més: puja el nivell amb LEVEL");
    row(
        "continua_bloqueada CH II on DC", "continua_bloqueada", two,
        [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII); }, false, u"pasa CH II a AC",
        u"passa CH II a AC");
    row("sensibilidad_calibrador off the calibrator", "sensibilidad_calibrador", range(0.5, 0.5), untouched,
        false, u"borne del calibrador", u"born del calibrador");
    row(
        "mitades 3 at 1 V/div", "mitades", range(3.0, 3.0),
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0) && setPositionII(s, -2.0);
        },
        false, u"canal II mide 2,0 divisiones de pico a pico; la tarea pide al menos 3.",
        u"canal II fa 2,0 divisions de pic a pic; la tasca en demana almenys 3.");
    row(
        "suma_en_reticula at 0,5 V/div", "suma_en_reticula", yes,
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Add) && setVolts(s, false, 0.5) && setVolts(s, true, 0.5);
        },
        false, u"se sale de la retícula", u"ix de la retícula");

    // Benches of other signals: the words say the bench's numbers.
    const auto benchRow
        = [&](const char *name, double amplitude, const char16_t *castilian, const char16_t *valencian) {
              LabBench bench;
              bench.amplitudeIVpp = amplitude;
              QTest::newRow(name) << QStringLiteral("amplitud_generador") << CheckArgs {} << bench
                                  << Setup([](Hm203 &s) {
                                         return changeGenerator(
                                             s, [](GeneratorSettings &g) { g.amplitudeIVpp = 3.0; });
                                     })
                                  << false << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
          };
    benchRow("amplitud_generador 1 Vpp", 1.0, u"la señal de 1 Vpp", u"el senyal d'1 Vpp");
    benchRow("amplitud_generador 1,5 Vpp", 1.5, u"la señal de 1,5 Vpp", u"el senyal d'1,5 Vpp");
    benchRow("amplitud_generador 8 Vpp", 8.0, u"la señal de 8 Vpp", u"el senyal d'8 Vpp");
    benchRow("amplitud_generador 10 Vpp", 10.0, u"la señal de 10 Vpp", u"el senyal de 10 Vpp");
    benchRow("amplitud_generador 11 Vpp", 11.0, u"la señal de 11 Vpp", u"el senyal d'11 Vpp");
    benchRow("amplitud_generador 0,5 Vpp", 0.5, u"la señal de 0,5 Vpp", u"el senyal de 0,5 Vpp");
    // A Lissajous figure: output I at 1 kHz on CH I (vertical), output II at 2 Vpp on CH II (horizontal).
    row("figura_xy 2 as opened", "figura_xy", range(2.0, 2.0), untouched, false, u"Pulsa X-Y", u"Polsa X-Y");
    row("figura_xy 2 with one frequency", "figura_xy", range(2.0, 2.0), xyWithOutputII<0>, false,
        u"entre la de CH I (eje Y) es 1; la figura pedida necesita 2",
        u"entre la de CH I (eix Y) és 1; la figura demanada necessita 2");
    row("figura_xy 2 at 500 Hz, upside down", "figura_xy", range(2.0, 2.0), xyWithOutputII<500>, false,
        u"es 0,5; la figura pedida necesita 2", u"és 0,5; la figura demanada necessita 2");
    row("figura_xy 2 at 2001 Hz turns", "figura_xy", range(2.0, 2.0), xyWithOutputII<2001>, false,
        u"gira poco a poco", u"gira a poc a poc");
    row("figura_xy 2 at 2 kHz", "figura_xy", range(2.0, 2.0), xyWithOutputII<2000>, true,
        u"arriba: 1; en el de la derecha: 2. fy/fx = 1/2.", u"dalt: 1; en la de la dreta: 2. fy/fx = 1/2.");
    row("figura_xy 1,5 at 1,5 kHz", "figura_xy", range(1.5, 1.5), xyWithOutputII<1500>, true,
        u"arriba: 2; en el de la derecha: 3. fy/fx = 2/3.", u"dalt: 2; en la de la dreta: 3. fy/fx = 2/3.");
    row(
        "figura_xy with CH II on GD", "figura_xy", range(2.0, 2.0),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY) && setCoupling(s, true, Coupling::Ground); }, false,
        u"GD", u"GD");
    // 4 Vpp at 0,2 V/div spans 20 divisions.
    row(
        "figura_xy past the graticule", "figura_xy", range(2.0, 2.0),
        [](Hm203 &s) {
            return setMode(s, DisplayMode::XY) && setVolts(s, false, 0.2)
                && changeGenerator(s, [](GeneratorSettings &g) { g.frequencyIIHz = 2000.0; });
        },
        false, u"se sale de la retícula", u"ix de la retícula");
    {
        LabBench calibrator;
        calibrator.hookup = Hookup::Calibrator02;
        // The 0,2 V terminal at 50 mV/div: four divisions, and the praise says so.
        QTest::newRow("sensibilidad_calibrador 0,2 V at 50 mV/div")
            << QStringLiteral("sensibilidad_calibrador") << range(0.05, 0.05) << calibrator
            << Setup([](Hm203 &s) {
                   return changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Calibrator02; })
                       && setVolts(s, false, 0.05);
               })
            << true << QStringLiteral("0,2 V a 50 mV/div son 4 divisiones")
            << QStringLiteral("0,2 V a 50 mV/div són 4 divisions");
    }
}

void TestSettingLab::checksJudgeWorkedOutStates()
{
    QFETCH(QString, key);
    QFETCH(CheckArgs, args);
    QFETCH(LabBench, bench);
    QFETCH(Setup, setup);
    QFETCH(bool, met);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);

    const LabCheck *check = checkWithKey(qPrintable(key));
    QVERIFY(check);
    Hm203 scope;
    scope.setGenerator(bench);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const TaskVerdict verdict = judgedBy(*check, scope, bench, args);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
    if (met) {
        // A met check with praise words it with the numbers it judged.
        if (!castilian.isEmpty()) {
            QVERIFY(check->praise);
            const TaskJudging::Look look(scope);
            const std::optional<Wording> praise = check->praise(look, bench, args);
            QVERIFY(praise);
            QVERIFY2(praise->castilian.contains(castilian), qPrintable(praise->castilian));
            QVERIFY2(praise->valencian.contains(valencian), qPrintable(praise->valencian));
        }
        return;
    }
    QVERIFY2(verdict.castilian.contains(castilian), qPrintable(verdict.castilian));
    QVERIFY2(verdict.valencian.contains(valencian), qPrintable(verdict.valencian));
}

void TestSettingLab::checkKeysAreWrittenAsFilesWriteThem()
{
    // Keys a teacher types: lower-case Castilian words without accents, joined by "_", each once.
    const QRegularExpression written(QStringLiteral("^[a-z]+(_[a-z0-9]+)*$"));
    QSet<QString> seen;
    for (const LabCheck &check : settingChecks()) {
        const QString key = QString::fromLatin1(check.key);
        QVERIFY2(written.match(key).hasMatch(), check.key);
        QVERIFY2(!seen.contains(key), check.key);
        seen.insert(key);
        QVERIFY(check.check);
    }
    QVERIFY(seen.size() >= 20);
}

QTEST_GUILESS_MAIN(TestSettingLab)
#include "tst_settinglab.moc"
