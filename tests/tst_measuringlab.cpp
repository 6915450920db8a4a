#include "labcatalogue.h"
#include "labfile.h"
#include "taskmetstates.h"
#include "taskstestsupport.h"

#include <cstring>

Q_DECLARE_METATYPE(LabMeasurement)
Q_DECLARE_METATYPE(LabBench)
Q_DECLARE_METATYPE(CheckArgs)
Q_DECLARE_METATYPE(HiddenReading)

namespace {

/** The measuring and bench tasks, as the strip orders them. */
const int kFamilyTasks[] { PeakToPeak, DcLevel, Period, Frequency, PhaseXY, RcLead, Compensation,
    ProbeVoltage, RiseTime, Bandwidth };

/** The key a file names a quantity by, and its row. */
const LabQuantity &quantity(const char *key)
{
    for (const LabQuantity &q : labQuantities())
        if (std::strcmp(q.key, key) == 0)
            return q;
    qFatal("no quantity %s", key);
}

const LabCheck &check(const char *key)
{
    for (const LabCheck &c : benchChecks())
        if (std::strcmp(c.key, key) == 0)
            return c;
    qFatal("no check %s", key);
}

/** A measurement as a file asks it. */
LabMeasurement asked(LabChannel channel, std::optional<double> expected = std::nullopt,
    std::optional<double> tolerance = std::nullopt, std::optional<QList<ReadingSlip>> slips = std::nullopt)
{
    LabMeasurement measurement;
    measurement.channel = channel;
    measurement.expected = expected;
    measurement.tolerance = tolerance;
    measurement.slips = slips;
    return measurement;
}

LabMeasurement onChannel(bool second)
{
    return asked(second ? LabChannel::II : LabChannel::I);
}

/** The instrument on a bench, the student's hands not yet on it. */
Hm203 onBench(const LabBench &bench)
{
    Hm203 scope;
    scope.setGenerator(bench);
    return scope;
}

/** A file's measuring task on a bench: its parts, or the reason it has none. */
std::optional<MeasuringParts> measuring(
    const char *key, const LabBench &bench, LabMeasurement measurement = onChannel(false))
{
    Wording why;
    std::optional<MeasuringParts> parts = quantity(key).make(measurement, bench, why);
    if (!parts)
        qWarning("%s", qPrintable(why.castilian));
    return parts;
}
} // namespace

/** The measuring quantities and the bench checks lab files are made of. */
class TestMeasuringLab : public QObject
{
    Q_OBJECT

private slots:
    void keysAreNamedOnce();
    void shippedFilesHoldTheirTasksInOrder();
    void readingsOnEitherChannel_data();
    void readingsOnEitherChannel();
    void fileValuesOverTheModel_data();
    void fileValuesOverTheModel();
    void benchesThatShowNothingToMeasure_data();
    void benchesThatShowNothingToMeasure();
    void hiddenReadingFollowsTheQuantity_data();
    void hiddenReadingFollowsTheQuantity();
    void unknownFrequencyFromTheFigure_data();
    void unknownFrequencyFromTheFigure();
    void benchChecksOnOtherBenches_data();
    void benchChecksOnOtherBenches();
};

void TestMeasuringLab::keysAreNamedOnce()
{
    QSet<QString> keys;
    for (const LabQuantity &q : labQuantities())
        keys << QString::fromLatin1(q.key);
    for (const LabCheck &c : benchChecks())
        keys << QString::fromLatin1(c.key);
    QCOMPARE(keys.size(), qsizetype(labQuantities().size() + benchChecks().size()));
    const QStringList slips { "sonda", "pico", "unidad", "periodo", "cal", "razon" };
    QCOMPARE(qsizetype(readingSlipKeys().size()), slips.size());
    QCOMPARE(QString::fromLatin1(readingSlipKeys()[int(ReadingSlip::Probe)]), QStringLiteral("sonda"));
    QCOMPARE(QString::fromLatin1(readingSlipKeys()[int(ReadingSlip::Cal)]), QStringLiteral("cal"));
    QCOMPARE(QString::fromLatin1(readingSlipKeys()[int(ReadingSlip::Ratio)]), QStringLiteral("razon"));
    // A quantity has a unit, or is a plain number: a ratio of two heights.
    for (const LabQuantity &q : labQuantities())
        QVERIFY(q.unit == CheckValue::Volts || q.unit == CheckValue::Seconds || q.unit == CheckValue::Hertz
            || q.unit == CheckValue::Degrees || q.unit == CheckValue::Number);
}

void TestMeasuringLab::shippedFilesHoldTheirTasksInOrder()
{
    const QStringList measures { "pico_a_pico", "tension_continua", "periodo", "frecuencia", "desfase_xy",
        "desfase_rc" };
    const QStringList lissajous { "figura_1_2", "frecuencia_xy" };
    const QStringList bench { "compensacion", "tension_con_sonda", "tiempo_de_subida", "ancho_de_banda" };
    for (const auto &[file, ids] : { std::pair { QStringLiteral("medidas.toml"), measures },
             std::pair { QStringLiteral("sonda_y_amplificador.toml"), bench },
             std::pair { QStringLiteral("lissajous.toml"), lissajous } }) {
        const LabReading reading = readLabFile(QStringLiteral(VANTELA_LABS_DIR "/") + file);
        QVERIFY(reading.lab);
        QStringList read;
        for (const Hm203Task &task : reading.lab->tasks)
            read << task.id;
        QCOMPARE(read, ids);
        QVERIFY(!reading.lab->title.castilian.isEmpty() && !reading.lab->title.valencian.isEmpty());
        QVERIFY(inTheirLanguages(reading.lab->introduction.castilian, reading.lab->introduction.valencian));
    }
}

void TestMeasuringLab::readingsOnEitherChannel_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("second");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<double>("answer");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("reason");

    // Output II at 1,2 Vpp and −1,5 V, output I at 4 Vpp: each channel reads its own. At 0,2 V/div output II
    // spans 6 divisions, a number no slip's round factor makes of 1,2.
    const Setup two = [](Hm203 &s) { return setVolts(s, true, 0.2) && setMode(s, DisplayMode::ChannelII); };
    QTest::newRow("peak to peak II") << "pico_a_pico" << true << two << 1.2 << true << QString();
    QTest::newRow("peak to peak II, output I's")
        << "pico_a_pico" << true << two << 4.0 << false << "Has escrito";
    QTest::newRow("peak to peak II, its peak")
        << "pico_a_pico" << true << two << 0.6 << false << "tensión de pico";
    QTest::newRow("peak to peak II, divisions")
        << "pico_a_pico" << true << two << 6.0 << false << "VOLTS/DIV II";
    QTest::newRow("dc level II") << "continua" << true << two << -1.5 << true << QString();
    QTest::newRow("dc level II, sign") << "continua" << true << two << 1.5 << false << "signo";
    // The amplitude is half the peak-to-peak: 2 V of output I's 4 Vpp.
    QTest::newRow("amplitude I") << "amplitud" << false << Setup(untouched) << 2.0 << true << QString();
    QTest::newRow("amplitude I, peak to peak")
        << "amplitud" << false << Setup(untouched) << 4.0 << false << "el doble de la amplitud";
    // A voltmeter's rms: 2 V / √2.
    QTest::newRow("amplitude I, rms")
        << "amplitud" << false << Setup(untouched) << 1.414 << false << "valor eficaz";
    QTest::newRow("amplitude II") << "amplitud" << true << two << 0.6 << true << QString();
    QTest::newRow("frequency II") << "frecuencia" << true << two << 1000.0 << true << QString();
    QTest::newRow("period II") << "periodo" << true << two << 1.0 << true << QString();
}

void TestMeasuringLab::readingsOnEitherChannel()
{
    QFETCH(QString, key);
    QFETCH(bool, second);
    QFETCH(Setup, setup);
    QFETCH(double, answer);
    QFETCH(bool, met);
    QFETCH(QString, reason);
    LabBench bench;
    bench.amplitudeIVpp = 4.0;
    bench.amplitudeIIVpp = 1.2;
    bench.offsetIIVolts = -1.5;
    const std::optional<MeasuringParts> parts = measuring(qPrintable(key), bench, onChannel(second));
    QVERIFY(parts);
    Hm203 scope = onBench(bench);
    QVERIFY(setup(scope));
    const TaskVerdict verdict = parts->judge(scope, answer);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
}

void TestMeasuringLab::fileValuesOverTheModel_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("hookup");
    QTest::addColumn<LabMeasurement>("measurement");
    QTest::addColumn<double>("answer");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("reason");

    const int generator = int(Hookup::Generator);
    const int circuit = int(Hookup::RcCircuit);
    // Across R of the practice circuit at 1 kHz: ωRC = 0,628, so Ur = 4 Vpp · ωRC / √(1 + (ωRC)²) = 2,13 Vpp.
    QTest::newRow("ur in the circuit")
        << "pico_a_pico" << circuit << onChannel(true) << 2.13 << true << QString();
    QTest::newRow("ue for ur") << "pico_a_pico" << circuit << onChannel(true) << 4.0 << false << QString();
    // The capacitor keeps the mean from R.
    QTest::newRow("no dc across r") << "continua" << circuit << onChannel(true) << 0.0 << true << QString();
    // The 2 V terminal: a 1 kHz square from 0 to 2 V, whose mean is 1 V.
    const int calibrator = int(Hookup::Calibrator2);
    QTest::newRow("calibrator's volts")
        << "pico_a_pico" << calibrator << onChannel(false) << 2.0 << true << QString();
    QTest::newRow("calibrator's mean")
        << "continua" << calibrator << onChannel(false) << 1.0 << true << QString();
    QTest::newRow("calibrator's period")
        << "periodo" << calibrator << onChannel(false) << 1.0 << true << QString();
    // The file's value is the one judged: 2,5 kHz asked of a 1 kHz bench, within its own 0,2 kHz.
    QTest::newRow("file's frequency")
        << "frecuencia" << generator << asked(LabChannel::I, 2500.0, 200.0) << 2400.0 << true << QString();
    QTest::newRow("file's frequency, model's value")
        << "frecuencia" << generator << asked(LabChannel::I, 2500.0) << 1000.0 << false << "Has escrito";
    // A period written in seconds and answered in ms.
    QTest::newRow("file's period") << "periodo" << generator << asked(LabChannel::I, 2e-3) << 2.0 << true
                                   << QString();
    QTest::newRow("file's tolerance, too tight")
        << "pico_a_pico" << generator << asked(LabChannel::I, std::nullopt, 0.01) << 4.1 << false
        << "Has escrito";
    // Without "pico" among the slips, the peak for the peak-to-peak is only wrong.
    QTest::newRow("peak slip told") << "pico_a_pico" << generator << onChannel(false) << 2.0 << false
                                    << "tensión de pico";
    QTest::newRow("peak slip not listed")
        << "pico_a_pico" << generator
        << asked(LabChannel::I, std::nullopt, std::nullopt, QList { ReadingSlip::Unit }) << 2.0 << false
        << "no coincide";
    QTest::newRow("unit slip listed")
        << "pico_a_pico" << generator
        << asked(LabChannel::I, std::nullopt, std::nullopt, QList { ReadingSlip::Unit }) << 4000.0 << false
        << "mV";
    QTest::newRow("half period not listed")
        << "periodo" << generator << asked(LabChannel::I, std::nullopt, std::nullopt, QList<ReadingSlip> {})
        << 0.5 << false << "no coincide";
}

void TestMeasuringLab::fileValuesOverTheModel()
{
    QFETCH(QString, key);
    QFETCH(int, hookup);
    QFETCH(LabMeasurement, measurement);
    QFETCH(double, answer);
    QFETCH(bool, met);
    QFETCH(QString, reason);
    LabBench bench;
    bench.hookup = Hookup(hookup);
    const std::optional<MeasuringParts> parts = measuring(qPrintable(key), bench, measurement);
    QVERIFY(parts);
    const TaskVerdict verdict = parts->judge(onBench(bench), answer);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(verdict.castilian.contains(reason), qPrintable(verdict.castilian));
}

void TestMeasuringLab::benchesThatShowNothingToMeasure_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<bool>("second");
    QTest::addColumn<QString>("reason");

    QTest::newRow("phase on the calibrator")
        << "fase" << LabBench { .hookup = Hookup::Calibrator02 } << false << "calibrador";
    QTest::newRow("phase of squares")
        << "fase" << LabBench { .waveform = Waveform::Square } << false << "senoides";
    QTest::newRow("phase with output II off")
        << "fase" << LabBench { .amplitudeIIVpp = 0.0 } << false << "CH II";
    QTest::newRow("rise of a sine") << "tiempo_de_subida" << LabBench {} << false << "onda cuadrada";
    QTest::newRow("rise on CH II") << "tiempo_de_subida" << LabBench { .waveform = Waveform::Square } << true
                                   << "CH I";
    QTest::newRow("period of nothing") << "periodo" << LabBench { .amplitudeIIVpp = 0.0 } << true << "CH II";
}

void TestMeasuringLab::benchesThatShowNothingToMeasure()
{
    QFETCH(QString, key);
    QFETCH(LabBench, bench);
    QFETCH(bool, second);
    QFETCH(QString, reason);
    Wording why;
    const std::optional<MeasuringParts> parts = quantity(qPrintable(key)).make(onChannel(second), bench, why);
    QVERIFY(!parts);
    QVERIFY2(why.castilian.contains(reason), qPrintable(why.castilian));
    QVERIFY(!why.valencian.isEmpty() && why.valencian != why.castilian);
    QVERIFY2(inTheirLanguages(why.castilian, why.valencian), qPrintable(why.valencian));
}

void TestMeasuringLab::hiddenReadingFollowsTheQuantity_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<bool>("second");
    QTest::addColumn<HiddenReading>("hidden");

    const LabBench calibrator { .hookup = Hookup::Calibrator2 };
    QTest::newRow("amplitude I") << "amplitud" << LabBench {} << false << HiddenReading::AmplitudeI;
    QTest::newRow("peak to peak II") << "pico_a_pico" << LabBench {} << true << HiddenReading::AmplitudeII;
    QTest::newRow("dc level II") << "continua" << LabBench {} << true << HiddenReading::OffsetII;
    QTest::newRow("calibrator's volts") << "pico_a_pico" << calibrator << false << HiddenReading::None;
    QTest::newRow("calibrator's period") << "periodo" << calibrator << false << HiddenReading::None;
    QTest::newRow("period II beside the calibrator")
        << "periodo" << calibrator << true << HiddenReading::FrequencyI;
    // Output II at a frequency of its own hides its own box; following output I, or behind the circuit,
    // output I's.
    const LabBench ownII { .frequencyIIHz = 1500.0 };
    QTest::newRow("frequency II, its own") << "frecuencia" << ownII << true << HiddenReading::FrequencyII;
    QTest::newRow("period II, its own") << "periodo" << ownII << true << HiddenReading::FrequencyII;
    QTest::newRow("frequency I beside output II's own")
        << "frecuencia" << ownII << false << HiddenReading::FrequencyI;
    QTest::newRow("frequency II following I")
        << "frecuencia" << LabBench {} << true << HiddenReading::FrequencyI;
    QTest::newRow("frequency II behind the circuit")
        << "frecuencia" << LabBench { .frequencyIIHz = 1500.0, .hookup = Hookup::RcCircuit } << true
        << HiddenReading::FrequencyI;
    QTest::newRow("rise time") << "tiempo_de_subida" << LabBench { .waveform = Waveform::Square } << false
                               << HiddenReading::None;
}

void TestMeasuringLab::hiddenReadingFollowsTheQuantity()
{
    QFETCH(QString, key);
    QFETCH(LabBench, bench);
    QFETCH(bool, second);
    QFETCH(HiddenReading, hidden);
    const std::optional<MeasuringParts> parts = measuring(qPrintable(key), bench, onChannel(second));
    QVERIFY(parts);
    QCOMPARE(parts->hidden, hidden);
}

void TestMeasuringLab::unknownFrequencyFromTheFigure_data()
{
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    // Output I at 1 kHz on CH I, the vertical; output II hidden on CH II, the horizontal. Draw 0 is 2 kHz:
    // one touch on the top, two on the right-hand edge, fx = fy · 2 / 1.
    QTest::newRow("2 kHz, right") << 0u << "2000" << true << "2000 Hz"
                                  << "2000 Hz";
    QTest::newRow("2 kHz, in kHz") << 0u << "2 kHz" << true << "2000 Hz"
                                   << "2000 Hz";
    QTest::newRow("2 kHz, read a little off") << 0u << "1950" << true << "2000 Hz"
                                              << "2000 Hz";
    QTest::newRow("2 kHz, the ratio upside down") << 0u << "500" << false << "Has invertido la razón"
                                                  << "Has invertit la raó";
    QTest::newRow("2 kHz, output I's") << 0u << "1000" << false << "Has escrito 1000 Hz"
                                       << "Has escrit 1000 Hz";
    // In X-Y the reply says how the figure is read.
    QTest::newRow("2 kHz, wrong") << 0u << "3000" << false
                                  << "Has escrito 3000 Hz; no coincide. fy/fx es el número de veces"
                                  << "Has escrit 3000 Hz; no coincideix. fy/fx és el nombre de vegades";
    // Draw 1 is 1,5 kHz, a 2:3 figure: upside down, 1 kHz · 2 / 3.
    QTest::newRow("1,5 kHz, right") << 1u << "1500" << true << "1500 Hz"
                                    << "1500 Hz";
    QTest::newRow("1,5 kHz, the ratio upside down") << 1u << "667" << false << "Has invertido la razón"
                                                    << "Has invertit la raó";
    // Draw 3 is 500 Hz, CH I twice as fast: upside down gives 2 kHz.
    QTest::newRow("500 Hz, the ratio upside down") << 3u << "2000" << false << "Has invertido la razón"
                                                   << "Has invertit la raó";
}

void TestMeasuringLab::unknownFrequencyFromTheFigure()
{
    QFETCH(quint32, draw);
    QFETCH(QString, typed);
    QFETCH(bool, met);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    const Hm203Task &task = hm203Tasks().at(FrequencyXY);
    QCOMPARE(task.id, QStringLiteral("frecuencia_xy"));
    QCOMPARE(task.hidden, HiddenReading::FrequencyII);
    Hm203 scope = startedTask(FrequencyXY, draw);
    // Output I's frequency stays in view, the one to work from.
    QCOMPARE(scope.generator().frequencyHz, 1000.0);
    QVERIFY(setMode(scope, DisplayMode::XY));
    const std::optional<double> answer = readTypedNumber(typed, task.answerUnit);
    QVERIFY(answer);
    const TaskVerdict verdict = task.judge(scope, answer);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    QVERIFY2(verdict.castilian.contains(castilian), qPrintable(verdict.castilian));
    QVERIFY2(verdict.valencian.contains(valencian), qPrintable(verdict.valencian));
    // What a student reads off the figure is the answer.
    const std::optional<double> read = readXyFrequencyII(scope);
    QVERIFY(read);
    QVERIFY(task.judge(scope, read).met);
}

void TestMeasuringLab::benchChecksOnOtherBenches_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<CheckArgs>("args");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("reason");

    // A 500 Hz square shows its corners from 0,2 ms/div (a period across the face) to 2 ms/div.
    const LabBench square { .waveform = Waveform::Square, .frequencyHz = 500.0 };
    QTest::newRow("corners, too many periods")
        << "esquinas_a_la_vista" << square << CheckArgs {} << Setup([](Hm203 &s) { return setTime(s, 5e-3); })
        << "entre 0,2 y 2 ms/div";
    QTest::newRow("corners shown") << "esquinas_a_la_vista" << square << CheckArgs {}
                                   << Setup([](Hm203 &s) { return setTime(s, 1e-3); }) << QString();
    const LabBench probeII { .probeII = Probe::Times10, .compensationII = 1.2 };
    const CheckArgs channelII { .channel = LabChannel::II };
    QTest::newRow("probe II overcompensated")
        << "compensacion" << probeII << channelII << Setup(untouched) << "sobrecompensada";
    QTest::newRow("probe II on x1") << "sonda_x10" << LabBench {} << channelII << Setup(untouched) << "CH II";
    QTest::newRow("channel II not shown")
        << "canal_a_la_vista" << LabBench {} << channelII << Setup(untouched) << "pulsa CH I/II";
    QTest::newRow("channel II shown")
        << "canal_a_la_vista" << LabBench {} << channelII
        << Setup([](Hm203 &s) { return setMode(s, DisplayMode::Dual); }) << QString();
    // 10 Vpp through the ×10 probe at 0,2 V/div: 5 divisions, short of the 6 asked.
    const LabBench sine { .amplitudeIVpp = 10.0, .probeI = Probe::Times10, .compensationI = 1.0 };
    QTest::newRow("reference height short")
        << "altura_de_referencia" << sine << CheckArgs { .value = 6.0 }
        << Setup([](Hm203 &s) { return setVolts(s, false, 0.2); }) << "con menos de 6";
    QTest::newRow("reference height enough")
        << "altura_de_referencia" << sine << CheckArgs { .value = 4.0 }
        << Setup([](Hm203 &s) { return setVolts(s, false, 0.2); }) << QString();
    // At 1 kHz the trace keeps all of its height.
    QTest::newRow("bandwidth, frequency too low")
        << "ancho_de_banda" << sine << CheckArgs { .value = 20e6 }
        << Setup([](Hm203 &s) { return setVolts(s, false, 0.2); }) << "sube la frecuencia";
}

void TestMeasuringLab::benchChecksOnOtherBenches()
{
    QFETCH(QString, key);
    QFETCH(LabBench, bench);
    QFETCH(CheckArgs, args);
    QFETCH(Setup, setup);
    QFETCH(QString, reason);
    Hm203 scope = onBench(bench);
    QVERIFY(setup(scope));
    const TaskJudging::Look look(scope);
    const TaskJudging::Problem problem = check(qPrintable(key)).check(look, bench, args);
    if (reason.isEmpty()) {
        QVERIFY2(!problem, qPrintable(problem->castilian));
        return;
    }
    QVERIFY(problem);
    QVERIFY2(problem->castilian.contains(reason), qPrintable(problem->castilian));
    QVERIFY2(inTheirLanguages(problem->castilian, problem->valencian), qPrintable(problem->valencian));
}

QTEST_GUILESS_MAIN(TestMeasuringLab)
#include "tst_measuringlab.moc"
