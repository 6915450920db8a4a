#include "labcatalogue.h"
#include "labfile.h"
#include "taskmetstates.h"

#include <QList>

#include <cstring>

/** The trigger's lab file and the checks its setting goals are made of: its tasks are the course's, judged as
 * they have always been, and on a teacher's bench the checks read the signal from the bench. */
class TestTriggerLab : public QObject
{
    Q_OBJECT

private slots:
    void everyCheckIsListedOnce();
    void checksReadTheBench_data();
    void checksReadTheBench();
};

namespace {

using C = Hm203Control;

const LabCheck *triggerCheck(const char *key)
{
    for (const LabCheck &check : triggerChecks())
        if (std::strcmp(check.key, key) == 0)
            return &check;
    return nullptr;
}

/** The family's tasks: where the course's table has them, and their ids in the lab file. */
struct FamilyTask
{
    int task;
    const char *id;
};

constexpr FamilyTask kFamily[] {
    { Hum, "zumbido" },
    { Noise, "ruido" },
    { Burst, "rafagas" },
    { SmallSignal, "senal_pequena" },
};
Hm203 startedFrom(const Hm203Task &task, quint32 draw = 0)
{
    Hm203 scope;
    GeneratorSettings generator;
    task.prepare(generator, draw);
    scope.setGenerator(generator);
    return scope;
}
/** A teacher's lab of one setting task: a bench and the checks, as the file writes them. */
QByteArray teachersLab(const QByteArray &bench, const QByteArray &checks)
{
    return "titulo = { es = \"Prueba\", va = \"Prova\" }\n"
           "introduccion = { es = \"Una prueba.\", va = \"Una prova.\" }\n"
           "[[tarea]]\n"
           "objetivo = { es = \"Haz algo.\", va = \"Fes alguna cosa.\" }\n"
           "[tarea.generador]\n"
        + bench + "\n[tarea.ajuste]\ncomprobar = [ " + checks + " ]\n";
}

/** The states the task suites reach, each verdict's branch at least once. */
struct Reached
{
    const char *name;
    int task;
    Setup setup;
};

const Reached kReached[] {
    { "hum as prepared: DC", Hum, untouched },
    { "hum with AC", Hum, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::AC); } },
    { "hum with LF", Hum, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF); } },
    { "hum with ~", Hum, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::Line); } },
    { "hum HF at 0,1 ms/div, falling", Hum,
        [](Hm203 &s) {
            return setTrigger(s, TriggerCoupling::HF) && setTime(s, 0.1e-3)
                && setSlope(s, TriggerSlope::Falling);
        } },
    { "hum HF at 4 kHz", Hum,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setFrequency(s, 4e3); } },
    { "hum HF with the level above", Hum,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setLevel(s, 3.5); } },
    { "hum HF on CH II", Hum,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setMode(s, DisplayMode::ChannelII); } },
    { "hum HF grounded", Hum,
        [](Hm203 &s) {
            return setTrigger(s, TriggerCoupling::HF) && setCoupling(s, false, Coupling::Ground);
        } },
    { "hum HF on the RC circuit", Hum,
        [](Hm203 &s) {
            return setTrigger(s, TriggerCoupling::HF)
                && changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::RcCircuit; });
        } },
    { "hum HF with Y-POS I at its stop", Hum,
        [](Hm203 &s) {
            s.setValue(C::YPositionI, controlInfo(C::YPositionI).maximum);
            return setTrigger(s, TriggerCoupling::HF);
        } },
    { "hum off", Hum, [](Hm203 &s) { return press(s, C::Power, false); } },
    { "noise as prepared: DC", Noise, untouched },
    { "noise LF at 0,5 ms/div", Noise,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setTime(s, 0.5e-3); } },
    { "noise with AC", Noise, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::AC); } },
    { "noise with HF", Noise, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); } },
    { "noise with ~", Noise, [](Hm203 &s) { return setTrigger(s, TriggerCoupling::Line); } },
    { "noise LF at 1 kHz", Noise,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setFrequency(s, 1e3); } },
    { "noise LF with the level above", Noise,
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setLevel(s, 3.0); } },
    { "noise LF in NORM with the level above", Noise,
        [](Hm203 &s) {
            return setTrigger(s, TriggerCoupling::LF) && press(s, C::AtNorm) && setLevel(s, 3.0);
        } },
    { "burst as prepared: two pictures", Burst, untouched },
    { "burst HOLD OFF at 30 %", Burst, [](Hm203 &s) { return setHoldOff(s, 30); } },
    { "burst HOLD OFF at its stop, falling", Burst,
        [](Hm203 &s) { return setHoldOff(s, 100) && setSlope(s, TriggerSlope::Falling); } },
    { "burst at 0,5 ms/div", Burst, [](Hm203 &s) { return setTime(s, 0.5e-3); } },
    { "burst with the level above", Burst, [](Hm203 &s) { return setHoldOff(s, 50) && setLevel(s, 2.6); } },
    { "burst TIME/DIV out of CAL", Burst,
        [](Hm203 &s) { return setHoldOff(s, 50) && (s.setValue(C::TimeCal, 0), true); } },
    { "burst HOLD OFF with the bursts switched off", Burst,
        [](Hm203 &s) {
            return setHoldOff(s, 50) && changeGenerator(s, [](GeneratorSettings &g) { g.burst = false; });
        } },
    { "small as prepared: AT", SmallSignal, untouched },
    { "small in NORM: dark", SmallSignal, [](Hm203 &s) { return press(s, C::AtNorm); } },
    { "small with Y-MAG x5 in NORM", SmallSignal,
        [](Hm203 &s) { return press(s, C::AtNorm) && press(s, C::MagnifyI); } },
    { "small from TRIG. INP.", SmallSignal,
        [](Hm203 &s) { return press(s, C::AtNorm) && press(s, C::ExtTrigger) && setVolts(s, false, 0.5); } },
    { "small with a larger signal", SmallSignal,
        [](Hm203 &s) {
            return press(s, C::AtNorm)
                && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 1.0; });
        } },
    { "small with the level above", SmallSignal,
        [](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.5) && setLevel(s, 0.3); } },
    { "small at 50 mV/div: off the graticule", SmallSignal,
        [](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.05); } },
    { "small in NORM from CH II", SmallSignal,
        [](Hm203 &s) {
            return press(s, C::AtNorm) && setVolts(s, false, 0.5) && setMode(s, DisplayMode::ChannelII);
        } },
};

} // namespace

void TestTriggerLab::everyCheckIsListedOnce()
{
    QSet<QString> keys;
    for (const LabCheck &check : labChecks()) {
        const QString key = QString::fromLatin1(check.key);
        QVERIFY2(!keys.contains(key), check.key);
        keys.insert(key);
    }
    for (const LabCheck &check : triggerChecks()) {
        // Keys a teacher types: lower-case Castilian words without accents, joined by underscores.
        for (QChar c : QString::fromLatin1(check.key))
            QVERIFY2((c >= u'a' && c <= u'z') || c == u'_', check.key);
        QVERIFY(check.check);
        QVERIFY(triggerCheck(check.key) == &check);
    }
}

void TestTriggerLab::checksReadTheBench_data()
{
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<QByteArray>("checks");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("met");
    /** When not met, what the Castilian reason must hold. */
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const char *bench, const char *checks, Setup setup, bool met,
                         const char16_t *reason = u"") {
        QTest::newRow(name) << QByteArray(bench) << QByteArray(checks) << setup << met
                            << QString::fromUtf16(reason);
    };

    // 20 kHz is well above the 1,5 kHz HF lets through to the trigger, the 50 Hz hum well below.
    const char *hum = "frecuencia = \"20 kHz\"\namplitud_1 = \"1 Vpp\"\nzumbido = \"1 V\"";
    row(
        "hum on 20 kHz kept out by HF", hum, "{ zumbido_fuera_del_disparo = true }",
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setTime(s, 20e-6); }, true);
    row(
        "hum on 20 kHz, the generator at 5 kHz", hum, "{ zumbido_fuera_del_disparo = true }",
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setFrequency(s, 5e3); }, false,
        u"20 kHz");
    row(
        "hum on 20 kHz with LF", hum, "{ zumbido_fuera_del_disparo = true }",
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF); }, false, u"en HF");

    // 200 Hz is below the 1 kHz LF lets through.
    const char *noise = "frecuencia = \"200 Hz\"\namplitud_1 = \"2 Vpp\"\nruido = \"0,3 V\"";
    row(
        "noise on 200 Hz kept out by LF", noise, "{ ruido_fuera_del_disparo = true }",
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setTime(s, 1e-3); }, true);
    row(
        "noise on 200 Hz with HF", noise, "{ ruido_fuera_del_disparo = true }",
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); }, false, u"la señal de 200 Hz no llega");

    // Four 1 ms cycles every 10 ms: a 5 ms sweep ends in the pause and waits for the next burst on its own,
    // a 2 ms one is ready again within the burst.
    const char *burst = "rafagas = true";
    row(
        "burst at 0,5 ms/div needs no HOLD OFF", burst, "{ rafagas_imagen_unica = \"0,5 ms\" }",
        [](Hm203 &s) { return setTime(s, 0.5e-3); }, true);
    row(
        "burst at 0,2 ms/div asked at 0,5", burst, "{ rafagas_imagen_unica = \"0,5 ms\" }",
        [](Hm203 &s) { return setTime(s, 0.2e-3); }, false, u"TIME/DIV en 0,5 ms/div");
    row(
        "burst at 0,2 ms/div without HOLD OFF", burst, "{ rafagas_imagen_unica = \"0,2 ms\" }",
        [](Hm203 &s) { return setTime(s, 0.2e-3); }, false, u"dos imágenes");
    // 0,3 ms is nearer 0,2 than 0,5 on TIME/DIV's 1-2-5 steps.
    row(
        "burst asked between steps", burst, "{ rafagas_imagen_unica = \"0,3 ms\" }",
        [](Hm203 &s) { return setTime(s, 0.5e-3); }, false, u"TIME/DIV en 0,2 ms/div");

    const char *two = "amplitud_2 = \"3 Vpp\"";
    row(
        "CH II's amplitude changed", two, "{ amplitud_sin_tocar = \"CH II\" }",
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 1.0; }); },
        false, u"señal de 3 Vpp");
    row(
        "CH I's changed, CH II's asked", two, "{ amplitud_sin_tocar = \"CH II\" }",
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 1.0; }); },
        true);

    // The internal trigger needs half a division: 0,2 Vpp is 0,4 of one at 0,5 V/div and 1 at 0,2 V/div.
    const char *small = "amplitud_1 = \"0,2 Vpp\"";
    const char *smallChecks = "{ amplitud_sin_tocar = \"CH I\" }, { senal_pequena_disparada = true }";
    row(
        "0,2 Vpp at 0,5 V/div in NORM", small, smallChecks,
        [](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.5); }, false,
        u"una traza de 0,4 divisiones");
    row(
        "0,2 Vpp at 0,2 V/div in NORM", small, smallChecks,
        [](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.2); }, true);
    row(
        "0,2 Vpp at 0,2 V/div in AT", small, smallChecks, [](Hm203 &s) { return setVolts(s, false, 0.2); },
        false, u"En AT");
}

void TestTriggerLab::checksReadTheBench()
{
    QFETCH(QByteArray, bench);
    QFETCH(QByteArray, checks);
    QFETCH(Setup, setup);
    QFETCH(bool, met);
    QFETCH(QString, reason);

    const LabReading reading = readLab(teachersLab(bench, checks), QStringLiteral("prueba.toml"));
    QVERIFY(reading.errors.isEmpty() && reading.lab && reading.lab->tasks.size() == 1);
    const Hm203Task &task = reading.lab->tasks.first();
    Hm203 scope = startedFrom(task);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const TaskVerdict verdict = task.judge(scope, std::nullopt);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
    if (!met)
        QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
}

QTEST_MAIN(TestTriggerLab)
#include "tst_triggerlab.moc"
