#include "labcatalogue.h"
#include "taskmetstates.h"

#include <QList>

#include <cstring>

Q_DECLARE_METATYPE(GeneratorSettings)

/** The trigger's checks a lab file's setting goals are made of: on the course's own benches they judge as
 * its tasks have always judged, and on a teacher's bench they read the signal from the bench. */
class TestTriggerLab : public QObject
{
    Q_OBJECT

private slots:
    void everyCheckIsListedOnce();
    void checksJudgeAsTheTasks_data();
    void checksJudgeAsTheTasks();
    void checksJudgeAsTheTasksAnywhere();
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

/** One check as a goal lists it, with its value. */
struct Asked
{
    const char *key;
    CheckArgs args = {};
};

/** A setting goal judged as a lab file's is: the tube lit and the inputs wired as the bench wires them, then
 * each check in order, met with the praise of the last check that has one. */
TaskVerdict judgedByChecks(const Hm203 &scope, const LabBench &bench, const QList<Asked> &asked)
{
    using namespace TaskJudging;
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, bench.hookup))
        return *p;
    std::optional<Wording> praise;
    for (const Asked &a : asked) {
        const LabCheck *check = triggerCheck(a.key);
        if (!check)
            return notMet(QString::fromLatin1(a.key), QString::fromLatin1(a.key));
        if (Problem p = check->check(look, bench, a.args))
            return *p;
        if (check->praise)
            if (const std::optional<Wording> said = check->praise(look, bench, a.args))
                praise = said;
    }
    return praise ? TaskVerdict { *praise, true, std::nullopt } : wellDone();
}

/** The family's tasks and the checks their goals list in the shipped lab file. */
struct FamilyTask
{
    int task;
    QList<Asked> asked;
};

const QList<FamilyTask> &family()
{
    static const QList<FamilyTask> tasks {
        { Hum, { { "zumbido_fuera_del_disparo" } } },
        { Noise, { { "ruido_fuera_del_disparo" } } },
        { Burst, { { "rafagas_imagen_unica", { .value = 0.2e-3 } } } },
        { SmallSignal,
            { { "amplitud_sin_tocar", { .channel = LabChannel::I } }, { "senal_pequena_disparada" } } },
    };
    return tasks;
}

const FamilyTask &familyTask(int task)
{
    for (const FamilyTask &t : family())
        if (t.task == task)
            return t;
    return family().first();
}

LabBench benchOf(int task)
{
    LabBench bench;
    hm203Tasks().at(task).prepare(bench, 0);
    return bench;
}

bool sameVerdict(const TaskVerdict &a, const TaskVerdict &b)
{
    return a.met == b.met && a.castilian == b.castilian && a.valencian == b.valencian;
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
    for (const LabCheck &check : triggerChecks()) {
        const QString key = QString::fromLatin1(check.key);
        QVERIFY2(!keys.contains(key), check.key);
        keys.insert(key);
        // Keys a teacher types: lower-case Castilian words without accents, joined by underscores.
        for (QChar c : key)
            QVERIFY2((c >= u'a' && c <= u'z') || c == u'_', check.key);
        QVERIFY(check.check);
    }
    for (const FamilyTask &task : family())
        for (const Asked &asked : task.asked)
            QVERIFY2(triggerCheck(asked.key), asked.key);
}

void TestTriggerLab::checksJudgeAsTheTasks_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("setup");
    for (const MetState &met : kMetStates)
        if (met.task >= Hum)
            QTest::addRow("met: %d", met.task) << met.task << met.setup;
    for (const Reached &reached : kReached)
        QTest::newRow(reached.name) << reached.task << reached.setup;
}

void TestTriggerLab::checksJudgeAsTheTasks()
{
    QFETCH(int, task);
    QFETCH(Setup, setup);
    Hm203 scope = startedTask(task);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const TaskVerdict today = hm203Tasks().at(task).judge(scope, std::nullopt);
    const TaskVerdict checked = judgedByChecks(scope, benchOf(task), familyTask(task).asked);
    QVERIFY2(
        sameVerdict(today, checked), qPrintable(today.castilian + QStringLiteral(" | ") + checked.castilian));
}

void TestTriggerLab::checksJudgeAsTheTasksAnywhere()
{
    // Random states a student reaches from each task's start or its met state: a few controls moved, now and
    // then the generator too.
    QRandomGenerator random(0x7219);
    const Hookup hookups[] { Hookup::Generator, Hookup::RcCircuit, Hookup::Calibrator02,
        Hookup::Calibrator2 };
    int met = 0;
    for (const FamilyTask &task : family()) {
        for (int run = 0; run < 60; ++run) {
            Hm203 scope = startedTask(task.task);
            if (run % 2 == 0)
                for (const MetState &state : kMetStates)
                    if (state.task == task.task)
                        QVERIFY(state.setup(scope));
            const int moves = 1 + int(random.bounded(4u));
            for (int move = 0; move < moves; ++move) {
                const Hm203ControlInfo &info = hm203Controls().at(random.bounded(kHm203ControlCount));
                if (info.id != C::Power || random.bounded(4u) == 0)
                    scope.setValue(info.id, random.bounded(info.minimum, info.maximum + 1));
                if (random.bounded(5u) == 0) {
                    GeneratorSettings g = scope.generator();
                    switch (random.bounded(5u)) {
                    case 0:
                        g.hookup = hookups[random.bounded(4)];
                        break;
                    case 1:
                        g.frequencyHz = g.frequencyHz * (random.bounded(2u) ? 2.0 : 0.5);
                        break;
                    case 2:
                        g.amplitudeIVpp = random.bounded(4.0);
                        break;
                    case 3:
                        g.burst = !g.burst;
                        break;
                    default:
                        g.outputIToTriggerInput = !g.outputIToTriggerInput;
                        break;
                    }
                    scope.setGenerator(g);
                }
            }
            const TaskVerdict today = hm203Tasks().at(task.task).judge(scope, std::nullopt);
            const TaskVerdict checked = judgedByChecks(scope, benchOf(task.task), task.asked);
            QVERIFY2(sameVerdict(today, checked),
                qPrintable(today.castilian + QStringLiteral(" | ") + checked.castilian));
            met += today.met;
        }
    }
    // The walks reach met states too, not only the ways to fail.
    QVERIFY(met > 0);
}

void TestTriggerLab::checksReadTheBench_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("channel");
    QTest::addColumn<GeneratorSettings>("bench");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("met");
    /** When not met, what the Castilian reason must hold. */
    QTest::addColumn<QString>("reason");

    GeneratorSettings hum;
    hum.frequencyHz = 20e3;
    hum.amplitudeIVpp = 1.0;
    hum.humVolts = 1.0;
    // 20 kHz is well above the 1,5 kHz HF lets through; the 50 Hz hum well below.
    QTest::newRow("hum on 20 kHz kept out by HF")
        << QStringLiteral("zumbido_fuera_del_disparo") << 0.0 << 0 << hum
        << Setup([](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setTime(s, 20e-6); }) << true
        << QString();
    QTest::newRow("hum on 20 kHz, the generator at 5 kHz")
        << QStringLiteral("zumbido_fuera_del_disparo") << 0.0 << 0 << hum
        << Setup([](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF) && setFrequency(s, 5e3); }) << false
        << QStringLiteral("20 kHz");

    GeneratorSettings noise;
    noise.frequencyHz = 200.0;
    noise.amplitudeIVpp = 2.0;
    noise.noiseVolts = 0.3;
    QTest::newRow("noise on 200 Hz kept out by LF")
        << QStringLiteral("ruido_fuera_del_disparo") << 0.0 << 0 << noise
        << Setup([](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setTime(s, 1e-3); }) << true
        << QString();
    QTest::newRow("noise on 200 Hz with HF")
        << QStringLiteral("ruido_fuera_del_disparo") << 0.0 << 0 << noise
        << Setup([](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); }) << false
        << QStringLiteral("la señal de 200 Hz no llega");

    GeneratorSettings burst;
    burst.burst = true;
    // Four 1 ms cycles every 10 ms: a 5 ms sweep ends in the pause and waits for the next burst on its own,
    // a 2 ms one is ready again within the burst.
    QTest::newRow("burst at 0,5 ms/div needs no HOLD OFF")
        << QStringLiteral("rafagas_imagen_unica") << 0.5e-3 << 0 << burst
        << Setup([](Hm203 &s) { return setTime(s, 0.5e-3); }) << true << QString();
    QTest::newRow("burst at 0,2 ms/div asked at 0,5")
        << QStringLiteral("rafagas_imagen_unica") << 0.5e-3 << 0 << burst
        << Setup([](Hm203 &s) { return setTime(s, 0.2e-3); }) << false
        << QStringLiteral("TIME/DIV en 0,5 ms/div");
    QTest::newRow("burst at 0,2 ms/div without HOLD OFF")
        << QStringLiteral("rafagas_imagen_unica") << 0.2e-3 << 0 << burst
        << Setup([](Hm203 &s) { return setTime(s, 0.2e-3); }) << false << QStringLiteral("dos imágenes");

    GeneratorSettings two;
    two.amplitudeIIVpp = 3.0;
    QTest::newRow("CH II's amplitude changed")
        << QStringLiteral("amplitud_sin_tocar") << 0.0 << 1 << two << Setup([](Hm203 &s) {
               return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 1.0; });
           })
        << false << QStringLiteral("señal de 3 Vpp");
    QTest::newRow("CH I's changed, CH II's asked") << QStringLiteral(
        "amplitud_sin_tocar") << 0.0 << 1 << two << Setup([](Hm203 &s) {
        return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 1.0; });
    }) << true << QString();

    GeneratorSettings small;
    small.amplitudeIVpp = 0.2;
    // The internal trigger needs half a division: 0,2 Vpp is 0,4 of one at 0,5 V/div and 1 at 0,2 V/div.
    QTest::newRow("0,2 Vpp at 0,5 V/div in NORM")
        << QStringLiteral("senal_pequena_disparada") << 0.0 << 0 << small
        << Setup([](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.5); }) << false
        << QStringLiteral("una traza de 0,4 divisiones");
    QTest::newRow("0,2 Vpp at 0,2 V/div in NORM")
        << QStringLiteral("senal_pequena_disparada") << 0.0 << 0 << small
        << Setup([](Hm203 &s) { return press(s, C::AtNorm) && setVolts(s, false, 0.2); }) << true
        << QString();
}

void TestTriggerLab::checksReadTheBench()
{
    QFETCH(QString, key);
    QFETCH(double, value);
    QFETCH(int, channel);
    QFETCH(GeneratorSettings, bench);
    QFETCH(Setup, setup);
    QFETCH(bool, met);
    QFETCH(QString, reason);

    Hm203 scope;
    scope.setGenerator(bench);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const QByteArray name = key.toLatin1();
    const CheckArgs args { .channel = channel ? LabChannel::II : LabChannel::I, .value = value };
    const TaskVerdict verdict = judgedByChecks(scope, bench, { { name.constData(), args } });
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
    if (!met)
        QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
}

QTEST_MAIN(TestTriggerLab)
#include "tst_triggerlab.moc"
