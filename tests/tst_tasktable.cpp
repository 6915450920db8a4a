#include "taskfamilies.h"
#include "taskprediction.h"
#include "taskstestsupport.h"

#include <QRegularExpression>

namespace {

void goal(int task, const char16_t *castilian, const char16_t *valencian)
{
    QTest::newRow(qPrintable(QString::number(task)))
        << task << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
}

/** What a goal says, worked out from the generator the task prepares or the bench it wires. */
using Named = QString (*)(const GeneratorSettings &generator);

void named(const char *name, int task, Named number)
{
    QTest::newRow(name) << task << number;
}

/** A reading typed into a measuring task in a state the student reaches, and the whole verdict shown. */
void verdict(
    const char *name, int task, quint32 draw, Setup setup, const QString &typed, const char16_t *castilian)
{
    QTest::newRow(name) << task << draw << setup << typed << QString::fromUtf16(castilian);
}

bool probeTakenOff(Hm203 &scope)
{
    return changeGenerator(scope, [](GeneratorSettings &g) { g.probeI = Probe::Times1; });
}

bool atFiveVoltsPerDiv(Hm203 &scope)
{
    return setVolts(scope, false, 5.0);
}

} // namespace

Q_DECLARE_METATYPE(Named)

/** The strip's table: each goal says the numbers its task works with, and each measuring row its slips. */
class TestTaskTable : public QObject
{
    Q_OBJECT

private slots:
    void goalsReadAsWritten_data();
    void goalsReadAsWritten();
    void questionsReadAsWritten_data();
    void questionsReadAsWritten();
    void goalsNameTheNumbersTheirTasksWorkWith_data();
    void goalsNameTheNumbersTheirTasksWorkWith();
    void goalsNameOnlyControlsTheyAreAbout_data();
    void goalsNameOnlyControlsTheyAreAbout();
    void measuringRowsTellTheStudent_data();
    void measuringRowsTellTheStudent();
};

void TestTaskTable::goalsReadAsWritten_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    goal(TimeBase, u"Ajusta TIME/DIV para ver cinco periodos completos de la señal de 500 Hz.",
        u"Ajusta TIME/DIV per a veure cinc períodes complets del senyal de 500 Hz.");
    goal(PredictSweep, u"Pon TIME/DIV en 1 µs/div y mira la senoide de 1 kHz.",
        u"Posa TIME/DIV en 1 µs/div i mira la sinusoide d'1 kHz.");
    goal(TwoPeriods, u"Muestra dos periodos de la señal de 1 kHz con 5 divisiones de pico a pico.",
        u"Mostra dos períodes del senyal d'1 kHz amb 5 divisions de pic a pic.");
    goal(PredictSensitivity, u"Pon VOLTS/DIV I en 0,5 V/div y mira la altura de la senoide de 3 Vpp.",
        u"Posa VOLTS/DIV I en 0,5 V/div i mira l'altura de la sinusoide de 3 Vpp.");
    goal(BottomLine,
        u"Con Y-POS I, lleva la traza hasta que sus mínimos toquen la línea inferior de la retícula.",
        u"Amb Y-POS I, porta la traça fins que els seus mínims toquen la línia inferior de la retícula.");
    goal(FallingStart, u"Haz que el barrido empiece en el flanco descendente de la señal, a 1 V o más.",
        u"Fes que l'escombratge comence en el flanc descendent del senyal, a 1 V o més.");
    goal(AcCoupling,
        u"La señal de 1 Vpp va montada sobre una tensión continua de 4 V: acopla CH I en AC y haz que ocupe "
        u"5 divisiones de pico a pico.",
        u"El senyal d'1 Vpp va muntat sobre una tensió contínua de 4 V: acobla CH I en AC i fes que ocupe 5 "
        u"divisions de pic a pic.");
    goal(PredictAc, u"Pasa CH I de DC a AC con AC/DC I y mira dónde queda la senoide.",
        u"Passa CH I de DC a AC amb AC/DC I i mira on queda la sinusoide.");
    goal(PeakToPeak, u"Mide la tensión de pico a pico de la señal de la salida I del generador, en V.",
        u"Mesura la tensió de pic a pic del senyal de l'eixida I del generador, en V.");
    goal(DcLevel,
        u"Mide en voltios la tensión continua que lleva la señal de CH I: GD marca el cero y DC muestra "
        u"cuánto se desplaza la traza.",
        u"Mesura en volts la tensió contínua que porta el senyal de CH I: GD marca el zero i DC mostra quant "
        u"es desplaça la traça.");
    goal(Calibrator,
        u"Con CH I en el borne de 2 V del calibrador, comprueba la sensibilidad: con VOLTS/DIV I en 0,5 "
        u"V/div y su mando CAL en el tope, la onda cuadrada debe ocupar 4 divisiones de pico a pico.",
        u"Amb CH I en el born de 2 V del calibrador, comprova la sensibilitat: amb VOLTS/DIV I en 0,5 V/div "
        u"i el seu comandament CAL en el topall, l'ona quadrada ha d'ocupar 4 divisions de pic a pic.");
    goal(Period, u"Mide el periodo de la señal triangular de la salida I del generador, en ms.",
        u"Mesura el període del senyal triangular de l'eixida I del generador, en ms.");
    goal(Frequency, u"Mide la frecuencia de la señal de la salida I del generador, en Hz.",
        u"Mesura la freqüència del senyal de l'eixida I del generador, en Hz.");
    goal(Dual,
        u"Pulsa DUAL y muestra las dos señales a la vez: la del canal I en la mitad superior de la pantalla "
        u"y la del canal II en la inferior, cada una con al menos 2 divisiones de pico a pico.",
        u"Polsa DUAL i mostra els dos senyals alhora: el del canal I en la meitat superior de la pantalla i "
        u"el del canal II en la inferior, cadascun amb almenys 2 divisions de pic a pic.");
    goal(Difference, u"Muestra en una sola traza la diferencia CH I − CH II con ADD e INV II.",
        u"Mostra en una sola traça la diferència CH I − CH II amb ADD i INV II.");
    goal(PhaseXY, u"Mide el desfase en X-Y entre las dos salidas del generador, en grados.",
        u"Mesura el desfasament en X-Y entre les dues eixides del generador, en graus.");
    goal(PredictXY, u"Pulsa X-Y y mira la figura que dibujan las dos senoides desfasadas 90°.",
        u"Polsa X-Y i mira la figura que dibuixen les dues sinusoides desfasades 90°.");
    goal(RcLead,
        u"Circuito RC de prácticas: la salida I del generador alimenta 1 kΩ y 100 nF en serie. CH I mide la "
        u"tensión de entrada Ue y CH II la tensión Ur en la resistencia. Mide cuántos grados va adelantada "
        u"Ur respecto a Ue.",
        u"Circuit RC de pràctiques: l'eixida I del generador alimenta 1 kΩ i 100 nF en sèrie. CH I mesura la "
        u"tensió d'entrada Ue i CH II la tensió Ur en la resistència. Mesura quants graus va avançada Ur "
        u"respecte a Ue.");
    goal(Compensation,
        u"Con la sonda ×10 en CH I y su punta en el borne de 0,2 V del calibrador, compénsala con su "
        u"condensador de ajuste (trimmer): la onda cuadrada debe verse con las esquinas rectas y el techo "
        u"plano.",
        u"Amb la sonda ×10 en CH I i la punta en el born de 0,2 V del calibrador, compensa-la amb el seu "
        u"condensador d'ajust (trimmer): l'ona quadrada s'ha de veure amb les cantonades rectes i el sostre "
        u"pla.");
    goal(PredictProbe, u"Elige la sonda ×10 para CH I en el generador y mira la altura de la senoide.",
        u"Tria la sonda ×10 per a CH I en el generador i mira l'altura de la sinusoide.");
    goal(ProbeVoltage, u"Mide con la sonda ×10 la tensión de pico a pico de la salida I del generador, en V.",
        u"Mesura amb la sonda ×10 la tensió de pic a pic de l'eixida I del generador, en V.");
    goal(RiseTime,
        u"Mide el tiempo de subida de la onda cuadrada de 1 MHz, del 10 al 90 % de su altura: pon TIME/DIV "
        u"en 0,5 µs/div, pulsa X-MAG x10 y gira X-POS hacia la derecha hasta ver el comienzo de la traza, "
        u"donde el flanco de subida dispara el barrido.",
        u"Mesura el temps de pujada de l'ona quadrada d'1 MHz, del 10 al 90 % de la seua altura: posa "
        u"TIME/DIV en 0,5 µs/div, polsa X-MAG x10 i gira X-POS cap a la dreta fins a veure el començament de "
        u"la traça, on el flanc de pujada dispara l'escombratge.");
    goal(Bandwidth,
        u"Busca el ancho de banda: sube la frecuencia de la senoide hasta que la traza mida 0,7 de su altura "
        u"a 1 kHz.",
        u"Busca l'amplada de banda: puja la freqüència de la sinusoide fins que la traça faça 0,7 de la seua "
        u"altura a 1 kHz.");
    goal(Hum,
        u"La señal de 5 kHz lleva un fuerte zumbido de red de 50 Hz: haz que quede quieta en la pantalla con "
        u"el acoplamiento de TRIG.",
        u"El senyal de 5 kHz porta un fort brunzit de xarxa de 50 Hz: fes que quede quiet en la pantalla amb "
        u"l'acoblament de TRIG.");
    goal(Noise,
        u"La señal de 500 Hz lleva mucho ruido y la traza tiembla de lado a lado: haz que quede quieta con "
        u"el acoplamiento de TRIG.",
        u"El senyal de 500 Hz porta molt de soroll i la traça tremola de costat a costat: fes que quede "
        u"quieta amb l'acoblament de TRIG.");
    goal(Burst,
        u"El generador da ráfagas de 4 ciclos de cada 10: con TIME/DIV en 0,2 ms/div, haz con HOLD OFF que "
        u"se vea una sola imagen.",
        u"El generador dona ràfegues de 4 cicles de cada 10: amb TIME/DIV en 0,2 ms/div, fes amb HOLD OFF "
        u"que es veja una sola imatge.");
    goal(SmallSignal,
        u"Pulsa AT/NORM para pasar a NORM: la señal de 0,4 Vpp no dispara el barrido y la pantalla queda "
        u"oscura. Consigue una traza disparada sin tocar el generador.",
        u"Polsa AT/NORM per a passar a NORM: el senyal de 0,4 Vpp no dispara l'escombratge i la pantalla "
        u"queda fosca. Aconseguix una traça disparada sense tocar el generador.");
}

void TestTaskTable::goalsReadAsWritten()
{
    QFETCH(int, task);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    QCOMPARE(hm203Tasks().size(), 46);
    QCOMPARE(hm203Tasks().at(task).goal.castilian, castilian);
    QCOMPARE(hm203Tasks().at(task).goal.valencian, valencian);
}

void TestTaskTable::questionsReadAsWritten_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    goal(PredictSweep, u"Con la senoide de 1 kHz, ¿qué verás si pones TIME/DIV en 1 µs/div?",
        u"Amb la sinusoide d'1 kHz, què veuràs si poses TIME/DIV en 1 µs/div?");
    goal(PredictSensitivity,
        u"La senoide de 3 Vpp ocupa 3 divisiones a 1 V/div. ¿Qué verás con VOLTS/DIV I en 0,5 V/div?",
        u"La sinusoide de 3 Vpp ocupa 3 divisions a 1 V/div. Què veuràs amb VOLTS/DIV I en 0,5 V/div?");
    goal(PredictXY, u"Las dos salidas dan senoides de 4 Vpp desfasadas 90°. ¿Qué verás al pulsar X-Y?",
        u"Les dues eixides donen sinusoides de 4 Vpp desfasades 90°. Què veuràs en polsar X-Y?");
}

void TestTaskTable::questionsReadAsWritten()
{
    QFETCH(int, task);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    const TaskPrediction *prediction = hm203Tasks().at(task).prediction.get();
    QVERIFY(prediction);
    QCOMPARE(prediction->question.castilian, castilian);
    QCOMPARE(prediction->question.valencian, valencian);
}

void TestTaskTable::goalsNameTheNumbersTheirTasksWorkWith_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Named>("number");
    named("time base's frequency", TimeBase, [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("sweep question's frequency", PredictSweep,
        [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("two periods' frequency", TwoPeriods,
        [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("sensitivity question's amplitude", PredictSensitivity,
        [](const GeneratorSettings &g) { return volts(g.amplitudeIVpp, QStringLiteral("Vpp")); });
    named("riding signal's amplitude", AcCoupling,
        [](const GeneratorSettings &g) { return volts(g.amplitudeIVpp, QStringLiteral("Vpp")); });
    named("riding signal's level", AcCoupling,
        [](const GeneratorSettings &g) { return volts(g.offsetIVolts); });
    named("circle's phase", PredictXY,
        [](const GeneratorSettings &g) { return formatDecimal(std::abs(g.phaseIIDegrees)) + u'°'; });
    named("practice circuit's capacitor", RcLead, [](const GeneratorSettings &) {
        return formatDecimal(PracticeCircuit::farads * 1e9) + QStringLiteral(" nF");
    });
    named("rise time's square", RiseTime, [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named(
        "bandwidth's reference", Bandwidth, [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("hummed signal", Hum, [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("noisy signal", Noise, [](const GeneratorSettings &g) { return hertz(g.frequencyHz); });
    named("burst's cycles", Burst,
        [](const GeneratorSettings &) { return QString::number(GeneratorLimits::burstCycles) + u' '; });
    named("small signal", SmallSignal,
        [](const GeneratorSettings &g) { return volts(g.amplitudeIVpp, QStringLiteral("Vpp")); });
}

void TestTaskTable::goalsNameTheNumbersTheirTasksWorkWith()
{
    QFETCH(int, task);
    QFETCH(Named, number);
    const Hm203Task &t = hm203Tasks().at(task);
    GeneratorSettings generator;
    t.prepare(generator, 0);
    const QString said = number(generator);
    QVERIFY2(t.goal.castilian.contains(said), qPrintable(said));
    QVERIFY2(t.goal.valencian.contains(said), qPrintable(said));
}

void TestTaskTable::goalsNameOnlyControlsTheyAreAbout_data()
{
    QTest::addColumn<int>("task");
    for (int task = 0; task < hm203Tasks().size(); ++task)
        QTest::newRow(qPrintable(QString::number(task))) << task;
}

void TestTaskTable::goalsNameOnlyControlsTheyAreAbout()
{
    // A control the goal tells the student to work must stay where the student has it when the task opens.
    QFETCH(int, task);
    const Hm203Task &t = hm203Tasks().at(task);
    for (const Hm203ControlInfo &info : hm203Controls()) {
        // The whole label, not a part of a longer one: "Y-POS I" is not in "Y-POS II", nor "TR" in "TRIG.".
        const QRegularExpression named(QStringLiteral(R"((?<![\w/-])%1(?![\w/-]))")
                                           .arg(QRegularExpression::escape(QString::fromUtf16(info.label))));
        for (const QString &goal : { t.goal.castilian, t.goal.valencian })
            if (goal.contains(named))
                QVERIFY2(t.about.contains(info.id), qPrintable(QString::fromUtf16(info.label)));
    }
}

void TestTaskTable::measuringRowsTellTheStudent_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("castilian");
    // A measurement: 3 Vpp at the first draw, 6 Vpp at the fourth; a period of 2,5 ms.
    verdict("measuring: asks once ready", PeakToPeak, 0, untouched, QString(),
        u"Escribe la tensión de pico a pico que mides, en voltios.");
    verdict("measuring: the peak for the peak-to-peak", PeakToPeak, 0, untouched, QStringLiteral("1,5"),
        u"Eso es la tensión de pico, la mitad de la de pico a pico: mide la traza de un pico al otro.");
    verdict("measuring: divisions typed", PeakToPeak, 3, atFiveVoltsPerDiv, QStringLiteral("1,2"),
        u"Parece que has escrito divisiones, no la tensión de pico a pico en V: multiplícalas por VOLTS/DIV "
        u"I.");
    verdict("measuring: half a period", Period, 0, untouched, QStringLiteral("1,25"),
        u"Eso es medio periodo: de un paso por cero al siguiente la señal solo hace medio ciclo. Mide entre "
        u"dos "
        u"pasos por cero en el mismo sentido.");
    verdict("measuring: the period for the frequency", Frequency, 0, untouched, QStringLiteral("4"),
        u"Eso es el periodo, en ms; la tarea pide la frecuencia: f = 1/T, en Hz.");
    // The probe's bench: 8 Vpp at the tip of the ×10 probe.
    verdict("bench: the probe taken off", ProbeVoltage, 0, probeTakenOff, QStringLiteral("8"),
        u"La tarea se hace con la sonda ×10 en CH I: vuelve a ponerla.");
    verdict("bench: the ×10 probe forgotten", ProbeVoltage, 0, untouched, QStringLiteral("0,8"),
        u"Eso es lo que muestra la pantalla: la sonda ×10 divide por 10 la tensión de la punta. Multiplica "
        u"tu "
        u"lectura por 10.");
    verdict("bench: the ×10 counted twice", ProbeVoltage, 0, untouched, QStringLiteral("80"),
        u"Has multiplicado por 10 dos veces: la lectura de la pantalla por 10 ya es la tensión en la punta "
        u"de "
        u"la sonda ×10.");
    verdict("bench: right at the tip", ProbeVoltage, 0, untouched, QStringLiteral("8"),
        u"¡Correcto! En la punta hay 8 Vpp.");
}

void TestTaskTable::measuringRowsTellTheStudent()
{
    QFETCH(int, task);
    QFETCH(quint32, draw);
    QFETCH(Setup, setup);
    QFETCH(QString, typed);
    QFETCH(QString, castilian);
    const Hm203Task &t = hm203Tasks().at(task);
    Hm203 scope = startedTask(task, draw);
    QVERIFY(setup(scope));
    const std::optional<double> answer
        = typed.isEmpty() ? std::nullopt : readTypedNumber(typed, t.answerUnit);
    QVERIFY(typed.isEmpty() || answer);
    const TaskVerdict shown = t.judge(scope, answer);
    QCOMPARE(shown.castilian, castilian);
    QVERIFY2(inTheirLanguages(shown.castilian, shown.valencian), qPrintable(shown.valencian));
}

QTEST_GUILESS_MAIN(TestTaskTable)
#include "tst_tasktable.moc"
