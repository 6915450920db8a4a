#include "labcatalogue.h"
#include "labfile.h"
#include "taskmetstates.h"
#include "taskprediction.h"
#include "taskstestsupport.h"

namespace {

using C = Hm203Control;
/** A bench for the worked-out rows: the generator's default sines, as changed. */
template <typename Change> LabBench benchWith(Change change)
{
    LabBench bench;
    change(bench);
    return bench;
}

const Wording kExplained = Wording::of(u"Explicación.", u"Explicació.");

} // namespace

Q_DECLARE_METATYPE(LabBench)
Q_DECLARE_METATYPE(LabChange)

/** Predictions made from what a lab file asks: today's five as the strip has them, and the changes a
 * teacher may ask beyond them, with the choices the model draws and the judge that wants the change. */
class TestPredictLab : public QObject
{
    Q_OBJECT

private slots:
    void otherChangesOfferWhatTheModelDraws_data();
    void otherChangesOfferWhatTheModelDraws();
    void aChangeWithNothingToAskIsRefused_data();
    void aChangeWithNothingToAskIsRefused();
    void aTeachersFileAsksAboutEitherChannel();
};

void TestPredictLab::otherChangesOfferWhatTheModelDraws_data()
{
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("position");
    /** What the right choice says, and what the wrong ideas' say, in Castilian. */
    QTest::addColumn<QStringList>("said");
    /** Sets the instrument as the change asks, from where the task opens. */
    QTest::addColumn<Setup>("made");

    // 10 divisions of 1 ms against a period of 1 ms; read as 1 µs, a hundredth of one; and 0,2 ms/div's 2.
    QTest::newRow("TIME/DIV to 1 ms")
        << LabBench {} << int(C::TimeDiv) << Hm203::timeDivPosition(1e-3)
        << QStringList { "Se ven 10 periodos", "0,01 periodos", "Se ven 2 periodos" }
        << Setup([](Hm203 &s) { return setTime(s, 1e-3); });
    // The 2 Vpp of output II over 0,5 V a division, read as 2 V a division, and at 1 V/div.
    QTest::newRow("VOLTS/DIV II to 0,5 V")
        << LabBench {} << int(C::VoltsDivII) << Hm203::voltsDivPosition(0.5)
        << QStringList { "mide 4 divisiones", "mide 1 divisiones", "mide 2 divisiones" }
        << Setup([](Hm203 &s) { return setMode(s, DisplayMode::ChannelII) && setVolts(s, true, 0.5); });
    // Output II's 2 Vpp on 2 V: in AC on the centre line, in DC 2 divisions up, on GD a flat line.
    QTest::newRow("AC/DC II to AC") << benchWith([](LabBench &b) { b.offsetIIVolts = 2.0; }) << int(C::DcII)
                                    << 0
                                    << QStringList { "centrada en la pantalla", "centrada 2 div más arriba",
                                           "línea plana en el centro" }
                                    << Setup([](Hm203 &s) {
                                           return setMode(s, DisplayMode::Dual)
                                               && setCoupling(s, true, Coupling::AC);
                                       });
    // Two 4 Vpp sines in step draw a line 4 divisions tall; the line of the in-step idea is the same
    // choice, and DUAL's two sines stand on one another.
    QTest::newRow("X-Y in step") << benchWith([](LabBench &b) { b.amplitudeIIVpp = 4.0; }) << int(C::XY) << 1
                                 << QStringList { "recta inclinada de 4 divisiones",
                                        "Dos senoides de 4 divisiones, en fase" }
                                 << Setup([](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    // Half a period apart, DUAL shows the two in opposition; the in-step idea's line reads as the right
    // one, which leans the other way, and is left out.
    QTest::newRow("X-Y in opposition")
        << benchWith([](LabBench &b) { b.amplitudeIIVpp = 4.0, b.phaseIIDegrees = 180.0; }) << int(C::XY) << 1
        << QStringList { "recta inclinada de 4 divisiones",
               "Dos senoides de 4 divisiones, en oposición de fase" }
        << Setup([](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    // Sines of 4 and 2 Vpp, 45° apart: an ellipse 2 divisions wide, the line of two in step, and DUAL's
    // two sines of their own heights.
    QTest::newRow("X-Y at 45°") << benchWith([](LabBench &b) { b.phaseIIDegrees = 45.0; }) << int(C::XY) << 1
                                << QStringList { "Una elipse de 2 por 4 divisiones", "recta inclinada",
                                       "Dos senoides, de 4 y 2 divisiones, desfasadas 45°" }
                                << Setup([](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    // The ×10 probe taken off: 6 Vpp at the tip stand 6 divisions, not 0,6, nor 0,06 (read as 0,1) at
    // 10 V/div.
    QTest::newRow("probe ×1 again") << benchWith([](LabBench &b) {
        b.amplitudeIVpp = 6.0, b.probeI = Probe::Times10, b.compensationI = 1.0;
    }) << int(C::Power) << 0
                                    << QStringList { "mide 6 divisiones", "mide 0,6 divisiones",
                                           "mide 0,1 divisiones" }
                                    << Setup([](Hm203 &s) {
                                           return changeGenerator(
                                               s, [](GeneratorSettings &g) { g.probeI = Probe::Times1; });
                                       });
}

void TestPredictLab::otherChangesOfferWhatTheModelDraws()
{
    QFETCH(LabBench, bench);
    QFETCH(int, control);
    QFETCH(int, position);
    QFETCH(QStringList, said);
    QFETCH(Setup, made);

    LabChange change { C(control), position, {}, {}, {} };
    if (change.control == C::Power)
        change.probe = bench.probeI == Probe::Times10 ? Probe::Times1 : Probe::Times10;
    Wording why;
    const std::optional<PredictionParts> parts
        = makePrediction({ Wording::of(u"¿Qué verás?", u"Què veuràs?"), change, kExplained }, bench, why);
    QVERIFY2(parts, qPrintable(why.castilian));

    const QList<PredictionChoice> choices = parts->prediction->choices(bench, 0);
    QCOMPARE(choices.size(), said.size());
    for (qsizetype i = 0; i < choices.size(); ++i) {
        QVERIFY2(choices.at(i).castilian.contains(said.at(i)), qPrintable(choices.at(i).castilian));
        QCOMPARE(choices.at(i).correct, i == 0);
        // Only what the right choice pictures meets the task: no wrong idea gets there by another way.
        QCOMPARE(parts->judge(choices.at(i).pictured, std::nullopt).met, i == 0);
        QVERIFY(inTheirLanguages(choices.at(i).castilian, choices.at(i).valencian));
    }

    // As the task opens, nothing is changed yet; once the student has made the change, the file's
    // explanation is the praise.
    Hm203 scope;
    scope.setGenerator(bench);
    const TaskVerdict before = parts->judge(scope, std::nullopt);
    QVERIFY(!before.met);
    QVERIFY(inTheirLanguages(before.castilian, before.valencian));
    QVERIFY(made(scope));
    const TaskVerdict after = parts->judge(scope, std::nullopt);
    QVERIFY2(after.met, qPrintable(after.castilian));
    QCOMPARE(after.castilian, kExplained.castilian);
    QCOMPARE(after.valencian, kExplained.valencian);
}

void TestPredictLab::aChangeWithNothingToAskIsRefused_data()
{
    QTest::addColumn<LabBench>("bench");
    QTest::addColumn<LabChange>("change");
    /** What the reason must name, in both languages. */
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");

    QTest::newRow("a control no question is about")
        << LabBench {} << LabChange { C::Intensity, 40, {}, {}, {} } << "no por INTENS."
        << "no per INTENS.";
    QTest::newRow("TIME/DIV where it opens")
        << LabBench {} << LabChange { C::TimeDiv, 9, {}, {}, {} } << "ya está en 0,2 ms/div"
        << "ja està en 0,2 ms/div";
    QTest::newRow("X-Y released") << LabBench {} << LabChange { C::XY, 0, {}, {}, {} } << "ya está suelto"
                                  << "ja està solt";
    QTest::newRow("the probe the bench has")
        << LabBench {} << LabChange { C::Power, 0, Probe::Times1, {}, {} } << "ya tiene la sonda ×1"
        << "ja té la sonda ×1";
    // Nothing on the input: every choice a flat line of no height.
    QTest::newRow("no signal") << benchWith([](LabBench &b) { b.amplitudeIVpp = 0.0; })
                               << LabChange { C::VoltsDivI, 6, {}, {}, {} } << "iguales"
                               << "iguals";
    QTest::newRow("a square") << benchWith([](LabBench &b) { b.waveform = Waveform::Square; })
                              << LabChange { C::TimeDiv, 16, {}, {}, {} } << "senoidal"
                              << "senoidal";
    QTest::newRow("the tester's socket empty")
        << LabBench {} << LabChange { C::Tester, 1, {}, {}, {} } << "zócalo del comprobador está vacío"
        << "sòcol del comprovador està buit";
    QTest::newRow("a circuit on the generator's sines")
        << LabBench {} << LabChange { C::Power, 0, {}, QStringLiteral("media_onda_filtro"), {} }
        << "con un circuito en el banco"
        << "amb un circuit en el banc";
    QTest::newRow("the frequency the circuit has") << benchWith([](LabBench &b) {
        b.hookup = Hookup::Circuit;
        b.circuit = QStringLiteral("paso_bajo");
    }) << LabChange { C::Power, 0, {}, {}, 1000.0 } << "ya está en 1 kHz"
                                                   << "ja està en 1 kHz";
    QTest::newRow("the calibrator") << benchWith([](LabBench &b) { b.hookup = Hookup::Calibrator2; })
                                    << LabChange { C::VoltsDivI, 6, {}, {}, {} } << "generador"
                                    << "generador";
}

void TestPredictLab::aChangeWithNothingToAskIsRefused()
{
    QFETCH(LabBench, bench);
    QFETCH(LabChange, change);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    Wording why;
    QVERIFY(!makePrediction({ Wording::of(u"¿Qué verás?", u"Què veuràs?"), change, kExplained }, bench, why));
    QVERIFY2(why.castilian.contains(castilian), qPrintable(why.castilian));
    QVERIFY2(why.valencian.contains(valencian), qPrintable(why.valencian));
    QVERIFY(inTheirLanguages(why.castilian, why.valencian));
}

void TestPredictLab::aTeachersFileAsksAboutEitherChannel()
{
    const QByteArray asked = R"(titulo = { es = "Canal II", va = "Canal II" }
introduccion = { es = "Predicciones.", va = "Prediccions." }

[[tarea]]
objetivo = { es = "Pulsa CH I/II y pon VOLTS/DIV II en 0,5 V/div.", va = "Polsa CH I/II i posa VOLTS/DIV II en 0,5 V/div." }
mandos = ["CH I/II"]
[tarea.generador]
amplitud_2 = "2 Vpp"
[tarea.prediccion]
pregunta = { es = "¿Qué verás?", va = "Què veuràs?" }
cambio = { mando = "VOLTS/DIV II", posicion = "0,5 V" }
explicacion = { es = "El doble de alta.", va = "El doble d'alta." }
)";
    const LabReading reading = readLab(asked, QStringLiteral("canal.toml"));
    QVERIFY(reading.lab && reading.errors.isEmpty());
    const Hm203Task &task = reading.lab->tasks.at(0);
    // The file's controls kept where the student has them, with the switch the question is about.
    QVERIFY(task.about == (QList<Hm203Control> { C::ChannelII, C::VoltsDivII }));
    GeneratorSettings bench;
    task.prepare(bench, 0);
    const QList<PredictionChoice> choices = task.prediction->choices(bench, 0);
    QVERIFY(choices.at(0).correct && choices.at(0).castilian.contains(QStringLiteral("4 divisiones")));
    Hm203 scope;
    scope.setGenerator(bench);
    QVERIFY(setMode(scope, DisplayMode::ChannelII) && setVolts(scope, true, 0.5));
    QCOMPARE(task.judge(scope, std::nullopt).castilian, QStringLiteral("El doble de alta."));

    // Where the switch already stands, the file is told what is wrong with its change.
    QByteArray still = asked;
    still.replace("\"0,5 V\"", "\"1 V\"");
    const LabReading refused = readLab(still, QStringLiteral("canal.toml"));
    QVERIFY(!refused.lab);
    QCOMPARE(refused.errors.size(), 1);
    QCOMPARE(refused.errors.at(0).key, QStringLiteral("cambio"));
    QVERIFY2(refused.errors.at(0).message.castilian.contains(QStringLiteral("ya está en 1 V/div")),
        qPrintable(refused.errors.at(0).message.castilian));
}

QTEST_MAIN(TestPredictLab)
#include "tst_predictlab.moc"
