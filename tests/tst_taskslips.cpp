#include "taskmetstates.h"
#include "taskstestsupport.h"

#include <QRegularExpression>

namespace {

/** The numbers a text writes, in order: both languages must say the same ones. */
QStringList numbersIn(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(\d+(?:,\d+)?)"));
    QStringList found;
    for (QRegularExpressionMatchIterator it = number.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

/** Judges a task as the strip does, the answer read as typed. */
TaskVerdict judged(int task, const Hm203 &scope, const QString &answer, const BeamMoment &moment = {})
{
    const Hm203Task &t = hm203Tasks().at(task);
    const std::optional<double> typed
        = answer.isEmpty() ? std::nullopt : readTypedNumber(answer, t.answerUnit);
    return judgeTask(t, scope, moment, typed);
}

/** A verdict that is not met and says, in both languages, the words that name its cause. */
void checkNamed(const TaskVerdict &verdict, const QStringList &castilian, const QStringList &valencian)
{
    QVERIFY2(!verdict.met, qPrintable(verdict.castilian));
    for (const QString &word : castilian)
        QVERIFY2(verdict.castilian.contains(word), qPrintable(verdict.castilian));
    for (const QString &word : valencian)
        QVERIFY2(verdict.valencian.contains(word), qPrintable(verdict.valencian));
    QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
    QCOMPARE(numbersIn(verdict.valencian), numbersIn(verdict.castilian));
}

bool times10(Hm203 &scope)
{
    return changeGenerator(scope, [](GeneratorSettings &g) { g.probeI = Probe::Times10; });
}

} // namespace

/** The verdicts that name the student's mistake instead of only saying the answer is wrong. */
class TestTaskSlips : public QObject
{
    Q_OBJECT

private slots:
    void readingSlipsAreNamed_data();
    void readingSlipsAreNamed();
    void slipsMeetingTheRightReadingAreNotNamed_data();
    void slipsMeetingTheRightReadingAreNotNamed();
    void untriggeredSweepsSayWhy_data();
    void untriggeredSweepsSayWhy();
    void everyTaskHasAMetState();
    void nothingIsMetUntilTheTubeIsWarm_data();
    void nothingIsMetUntilTheTubeIsWarm();
};

void TestTaskSlips::readingSlipsAreNamed_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    const auto add = [](const char *name, int task, quint32 draw, Setup setup, const char *slip,
                         const char *right, const char16_t *castilian, const char16_t *valencian) {
        QTest::newRow(name) << task << draw << setup << QString::fromUtf8(slip) << QString::fromUtf8(right)
                            << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
    };
    const Setup probeAt50mV = [](Hm203 &s) { return times10(s) && setVolts(s, false, 0.05); };
    const Setup at02V = [](Hm203 &s) { return setVolts(s, false, 0.2); };
    const Setup at05ms = [](Hm203 &s) { return setTime(s, 0.5e-3); };
    const Setup xyAt05V = [](Hm203 &s) { return setMode(s, DisplayMode::XY) && setVolts(s, false, 0.5); };

    // 3 Vpp at 1 V/div; through a ×10 probe, 6 divisions at 50 mV/div.
    add("pp the peak", PeakToPeak, 0, untouched, "1,5", "3", u"mitad", u"meitat");
    add("pp doubled", PeakToPeak, 0, untouched, "6", "3", u"doble", u"doble");
    add("pp in mV", PeakToPeak, 0, untouched, "3000", "3", u"en mV:", u"en mV:");
    add("pp ×10 probe forgotten", PeakToPeak, 0, probeAt50mV, "0,3", "3", u"divide por 10",
        u"dividix per 10");
    add("pp ×10 probe twice", PeakToPeak, 0, probeAt50mV, "30", "3", u"dos veces", u"dues vegades");
    // Six divisions at a 1 V/div step whose fine knob makes it 0,5 V/div: read as 6 V, which is not
    // taken for the doubled peak-to-peak, since the knob voids the reading.
    add(
        "pp off CAL", PeakToPeak, 0, [](Hm203 &s) { return uncalibratedVoltsI(s, 0.5); }, "6", "3",
        u"no está en su tope calibrado: la lectura no vale",
        u"no està en el seu topall calibrat: la lectura no val");

    // 8 Vpp at the ×10 probe's tip, 4 divisions at 0,2 V/div.
    add("tip the screen's reading", ProbeVoltage, 0, at02V, "0,8", "8", u"divide por 10", u"dividix per 10");
    add("tip ×10 twice", ProbeVoltage, 0, at02V, "80", "8", u"dos veces", u"dues vegades");
    add("tip the peak", ProbeVoltage, 0, at02V, "4", "8", u"mitad", u"meitat");
    add("tip doubled", ProbeVoltage, 0, at02V, "16", "8", u"doble", u"doble");
    add("tip in mV", ProbeVoltage, 0, at02V, "8000", "8", u"en mV:", u"en mV:");
    // 4 divisions at a 0,5 V/div step turned to 0,2 V/div, read as 4 · 0,5 · 10 = 20 V.
    add(
        "tip off CAL", ProbeVoltage, 0, [](Hm203 &s) { return uncalibratedVoltsI(s, 0.2); }, "20", "8",
        u"mando CAL de VOLTS/DIV I", u"comandament CAL de VOLTS/DIV I");

    // Its rms value, 3 / (2√2) = 1,06 V. 1,6 Vpp (the fifth draw) spans 8 divisions at 0,2 V/div.
    add("pp the rms value", PeakToPeak, 0, untouched, "1,06", "3", u"valor eficaz", u"valor eficaç");
    add("pp in divisions", PeakToPeak, 4, at02V, "8", "1,6", u"has escrito divisiones, no la tensión",
        u"has escrit divisions, no la tensió");
    // The tip's 8 Vpp: an rms value of 2,83 V; 0,8 V on the screen, 1,6 divisions at 0,5 V/div.
    add("tip the rms value", ProbeVoltage, 0, at02V, "2,83", "8", u"0,707", u"0,707");
    add(
        "tip in divisions", ProbeVoltage, 0, [](Hm203 &s) { return setVolts(s, false, 0.5); }, "1,6", "8",
        u"VOLTS/DIV I y por 10", u"VOLTS/DIV I i per 10");

    // 1,5 V of DC (-2 V at the second draw); through a ×10 probe, 3 divisions at 50 mV/div.
    add("DC in mV", DcLevel, 0, untouched, "1500", "1,5", u"en mV:", u"en mV:");
    add("DC negative in mV", DcLevel, 1, untouched, "-2000", "-2", u"-2000 mV son -2 V",
        u"-2000 mV són -2 V");
    add("DC ×10 probe forgotten", DcLevel, 0, probeAt50mV, "0,15", "1,5", u"divide por 10",
        u"dividix per 10");
    add("DC ×10 probe twice", DcLevel, 0, probeAt50mV, "15", "1,5", u"dos veces", u"dues vegades");
    // 1,5 V lifts the trace 3 divisions at 0,5 V/div.
    add(
        "DC in divisions", DcLevel, 0, [](Hm203 &s) { return setVolts(s, false, 0.5); }, "3", "1,5",
        u"has escrito divisiones, no la tensión continua", u"has escrit divisions, no la tensió contínua");
    add(
        "DC off CAL", DcLevel, 0, [](Hm203 &s) { return uncalibratedVoltsI(s, 0.5); }, "3", "1,5",
        u"la lectura no vale", u"la lectura no val");

    // 2,5 ms at the first draw, 4 ms at the second.
    add("period in s", Period, 0, untouched, "0,0025", "2,5", u"en s: 0,0025 s son 2,5 ms",
        u"en s: 0,0025 s");
    add("period in s at the second draw", Period, 1, untouched, "0,004", "4", u"en s:", u"en s:");
    add("period in µs", Period, 0, untouched, "2500", "2,5", u"en µs:", u"en µs:");
    add("period the frequency", Period, 0, untouched, "400", "2,5", u"frecuencia", u"freqüència");
    add("period the half period", Period, 0, untouched, "1,25", "2,5", u"medio periodo", u"mig període");
    // 2,5 ms spans 5 divisions at 0,5 ms/div; 4 ms, 8 divisions.
    add("period in divisions", Period, 0, at05ms, "5", "2,5", u"divisiones, no el periodo en ms",
        u"divisions, no el període en ms");
    // At a 1 ms/div step turned 1,75 times faster a period spans 4,375 divisions: read as 4,4 ms.
    add(
        "period off CAL", Period, 0,
        [](Hm203 &s) { return setTime(s, 1e-3) && s.setValue(Hm203Control::TimeCal, 50); }, "4,4", "2,5",
        u"mando CAL de TIME/DIV no está en su tope", u"comandament CAL de TIME/DIV no està en el seu topall");

    // 2000 Hz at the fourth draw, 1250 Hz at the third, 250 Hz at the first.
    add("frequency in kHz", Frequency, 3, untouched, "2", "2000", u"en kHz: 2 kHz son 2000 Hz", u"en kHz:");
    add("frequency 1,25 in kHz", Frequency, 2, untouched, "1,25", "1250", u"en kHz:", u"en kHz:");
    add("frequency the period", Frequency, 0, untouched, "4", "250", u"periodo", u"període");
    add("frequency from half a period", Frequency, 0, untouched, "500", "250", u"medio periodo",
        u"mig període");
    add("frequency in divisions", Frequency, 0, at05ms, "8", "250", u"divisiones que ocupa un periodo",
        u"divisions que ocupa un període");
    // 4 ms at 1 ms/div turned 1,75 times faster: 7 divisions, read as 1/7 ms, 143 Hz.
    add(
        "frequency off CAL", Frequency, 0,
        [](Hm203 &s) { return setTime(s, 1e-3) && s.setValue(Hm203Control::TimeCal, 50); }, "143", "250",
        u"mando CAL de TIME/DIV no está en su tope", u"comandament CAL de TIME/DIV no està en el seu topall");

    // 45° on an ellipse 2 divisions high from the centre: sin 45° = 0,71.
    add(
        "phase the ratio a/b", PhaseXY, 0, [](Hm203 &s) { return setMode(s, DisplayMode::XY); }, "0,71", "45",
        u"arcsen(a/b)", u"arcsen(a/b)");
    // Ur leads by atan(1 / (2π · 1 kHz · 0,1 ms)) = 57,9°, its complement 32,1°; at 0,1 ms/div a period spans
    // all ten divisions. On the ellipse, Ue 8 divisions high at 0,5 V/div, a/b = sin 57,9° = 0,85.
    add(
        "RC the complement", RcLead, 0, [](Hm203 &s) { return setTime(s, 0.1e-3); }, "32", "58", u"90° − φ",
        u"90° − φ");
    add("RC the complement on the ellipse", RcLead, 0, xyAt05V, "32", "58", u"corte de la elipse",
        u"tall de l'el·lipse");
    add("RC the ratio a/b", RcLead, 0, xyAt05V, "0,85", "58", u"seno del desfase", u"sinus del desfasament");

    // The edge's 18 ns at 50 ns a division.
    add("rise in µs", RiseTime, 0, fastestSweep, "0,018", "18", u"en µs:", u"en µs:");
    add("rise on TIME/DIV's scale", RiseTime, 0, fastestSweep, "180", "18", u"50 ns por", u"50 ns per");
    // Turned 1,75 times faster, 28,6 ns a division: the edge spans 0,62 of one, read as 31 ns.
    add(
        "rise off CAL", RiseTime, 0,
        [](Hm203 &s) { return fastestSweep(s) && s.setValue(Hm203Control::TimeCal, 50); }, "31", "18",
        u"la lectura no vale", u"la lectura no val");
}

void TestTaskSlips::readingSlipsAreNamed()
{
    QFETCH(int, task);
    QFETCH(quint32, draw);
    QFETCH(Setup, setup);
    QFETCH(QString, slip);
    QFETCH(QString, right);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);

    Hm203 scope = startedTask(task, draw);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    checkNamed(judged(task, scope, slip), { castilian }, { valencian });
    // The right reading still passes; worked round a fine knob out of CAL, with a reminder to turn it back.
    const TaskVerdict praise = judged(task, scope, right);
    QVERIFY2(praise.met, qPrintable(praise.castilian));
    const bool offCal = !TaskJudging::atCal(scope, Hm203Control::TimeCal)
        || !TaskJudging::atCal(scope, Hm203Control::VoltsCalI);
    QCOMPARE(praise.castilian.contains(QStringLiteral("mando CAL")), offCal);
    QCOMPARE(praise.valencian.contains(QStringLiteral("comandament CAL")), offCal);
}

void TestTaskSlips::slipsMeetingTheRightReadingAreNotNamed_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    const auto add = [](const char *name, int task, Setup setup, const char *typed, bool met,
                         const char16_t *castilian, const char16_t *valencian) {
        QTest::newRow(name) << task << setup << QString::fromUtf8(typed) << met
                            << QString::fromUtf16(castilian) << QString::fromUtf16(valencian);
    };
    // At 1 V/div the 3 divisions of 3 Vpp are 3 V: the right answer. A reading 0,4 off is wrong, but
    // nothing says it was divisions rather than volts.
    add("3 divisions at 1 V/div", PeakToPeak, untouched, "3", true, u"", u"");
    add("3,4 at 1 V/div", PeakToPeak, untouched, "3,4", false, u"has escrito divisiones",
        u"has escrit divisions");
    // At 1 ms/div the 2,5 ms period spans 2,5 divisions.
    add(
        "2,5 divisions at 1 ms/div", Period, [](Hm203 &s) { return setTime(s, 1e-3); }, "2,5", true, u"",
        u"");
    add(
        "2,7 at 1 ms/div", Period, [](Hm203 &s) { return setTime(s, 1e-3); }, "2,7", false,
        u"has escrito divisiones", u"has escrit divisions");
    // At 0,2 ms/div a period spans 5 divisions: the lead reads anywhere from 38° to 80°, its complement
    // from 10° to 52°, and 32° may be either.
    add("32° read roughly", RcLead, untouched, "32", false, u"90° − φ", u"90° − φ");
}

void TestTaskSlips::slipsMeetingTheRightReadingAreNotNamed()
{
    QFETCH(int, task);
    QFETCH(Setup, setup);
    QFETCH(QString, typed);
    QFETCH(bool, met);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);

    Hm203 scope = startedTask(task);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    const TaskVerdict verdict = judged(task, scope, typed);
    QVERIFY2(verdict.met == met, qPrintable(verdict.castilian));
    if (!met) {
        QVERIFY2(!verdict.castilian.contains(castilian), qPrintable(verdict.castilian));
        QVERIFY2(!verdict.valencian.contains(valencian), qPrintable(verdict.valencian));
    }
}

void TestTaskSlips::untriggeredSweepsSayWhy_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("castilian");
    QTest::addColumn<QStringList>("valencian");
    const auto add = [](const char *name, int task, Setup setup, const QStringList &castilian,
                         const QStringList &valencian) {
        QTest::newRow(name) << task << setup << castilian << valencian;
    };
    // 4 Vpp of 500 Hz at 1 V/div and 1 ms/div: its peaks at ±2 V.
    add("level above the peaks", TimeBase, [](Hm203 &s) { return setTime(s, 1e-3) && setLevel(s, 2.6); },
        { "corre", "LEVEL queda por encima de los picos" }, { "corre", "LEVEL queda per damunt dels pics" });
    add("level below the peaks", TimeBase, [](Hm203 &s) { return setTime(s, 1e-3) && setLevel(s, -2.6); },
        { "por debajo", "hacia arriba" }, { "per davall", "cap amunt" });
    add("level above the peaks in NORM", TimeBase,
        [](Hm203 &s) { return setTime(s, 1e-3) && press(s, Hm203Control::AtNorm) && setLevel(s, 2.6); },
        { "en NORM", "por encima" }, { "en NORM", "per damunt" });
    add("channel II with nothing on it", TimeBase,
        [](Hm203 &s) {
            return setTime(s, 1e-3) && press(s, Hm203Control::Dual) && press(s, Hm203Control::ChannelII)
                && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = 0.0; });
        },
        { "CH II", "no lleva ninguna", "CH I/II" }, { "CH II", "no en porta cap", "CH I/II" });
    add("channel II on GD", TimeBase,
        [](Hm203 &s) {
            return setTime(s, 1e-3) && press(s, Hm203Control::Dual) && press(s, Hm203Control::ChannelII)
                && press(s, Hm203Control::GroundII);
        },
        { "CH II", "GD" }, { "CH II", "GD" });
    add("below the trigger's half division", TimeBase,
        [](Hm203 &s) {
            return setTime(s, 1e-3)
                && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 0.4; });
        },
        { "0,5 que necesita", "VOLTS/DIV I" }, { "0,5 que necessita", "VOLTS/DIV I" });
    add("below the 0,6 V of TRIG. INP.", TimeBase,
        [](Hm203 &s) {
            return setTime(s, 1e-3) && press(s, Hm203Control::ExtTrigger)
                && changeGenerator(s, [](GeneratorSettings &g) {
                       g.amplitudeIVpp = 0.4;
                       g.outputIToTriggerInput = true;
                   });
        },
        { "TRIG. INP.", "0,6 V", "EXT." }, { "TRIG. INP.", "0,6 V", "EXT." });
    add("500 Hz kept out by HF", TimeBase,
        [](Hm203 &s) { return setTime(s, 1e-3) && setTrigger(s, TriggerCoupling::HF); },
        { "TRIG. en HF solo deja pasar", "TRIG. en AC" },
        { "TRIG. en HF només deixa passar", "TRIG. en AC" });
    // 10 V of DC at 2 V/div lifts the signal to 4 to 6 divisions, past LEVEL's 4; Y-POS I brings it back.
    add("the mean beyond LEVEL's reach in DC", TimeBase,
        [](Hm203 &s) {
            return setTime(s, 1e-3) && setVolts(s, false, 2.0) && setPositionI(s, -5.0)
                && setTrigger(s, TriggerCoupling::DC)
                && changeGenerator(s, [](GeneratorSettings &g) { g.offsetIVolts = 10.0; });
        },
        { "TRIG. en DC", "alcance de LEVEL" }, { "TRIG. en DC", "abast de LEVEL" });
    // With ALT. each channel triggers on its own: 1,5 V cuts channel I's 4 Vpp, not channel II's 2 Vpp.
    add("DUAL with ALT. and the level above channel II", Dual,
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::AltTrigger) && setPositionI(s, 2.0)
                && setPositionII(s, -2.0) && setLevel(s, 1.5);
        },
        { "corre", "por encima" }, { "corre", "per damunt" });
    add("bursts with the level above", Burst, [](Hm203 &s) { return setHoldOff(s, 50) && setLevel(s, 2.6); },
        { "por encima" }, { "per damunt" });
    // 0,4 Vpp at 0,5 V/div swings enough to trigger, but 0,3 V is above its peaks.
    add("small signal with the level above", SmallSignal,
        [](Hm203 &s) {
            return press(s, Hm203Control::AtNorm) && setVolts(s, false, 0.5) && setLevel(s, 0.3);
        },
        { "en NORM", "por encima" }, { "en NORM", "per damunt" });
}

void TestTaskSlips::untriggeredSweepsSayWhy()
{
    QFETCH(int, task);
    QFETCH(Setup, setup);
    QFETCH(QStringList, castilian);
    QFETCH(QStringList, valencian);

    Hm203 scope = startedTask(task);
    QVERIFY2(setup(scope), "the setting could not be reached with the controls");
    checkNamed(judged(task, scope, QString()), castilian, valencian);
}

void TestTaskSlips::everyTaskHasAMetState()
{
    // Each task of the strip, a new one too, is shown to wait for the warm-up from a state that meets it.
    QList<int> tasks;
    for (const MetState &state : kMetStates)
        tasks << state.task;
    QList<int> all;
    for (int i = 0; i < hm203Tasks().size(); ++i)
        all << i;
    QCOMPARE(tasks, all);
}

void TestTaskSlips::nothingIsMetUntilTheTubeIsWarm_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("met");
    for (int i = 0; i < int(std::size(kMetStates)); ++i) {
        const QByteArray task = QByteArrayLiteral("task ") + QByteArray::number(kMetStates[i].task + 1);
        // Each stretch judged at both its ends; warm from WarmUp::seconds on.
        QTest::newRow(task + " dark") << i << 0.0 << WarmUp::darkSeconds - 0.01 << false;
        QTest::newRow(task + " fading") << i << WarmUp::darkSeconds + 0.01 << WarmUp::seconds - 0.01 << false;
        QTest::newRow(task + " warm") << i << WarmUp::seconds << WarmUp::seconds + 0.01 << true;
    }
}

void TestTaskSlips::nothingIsMetUntilTheTubeIsWarm()
{
    QFETCH(int, state);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, met);

    const MetState &s = kMetStates[state];
    Hm203 scope = startedTask(s.task);
    QVERIFY2(s.setup(scope), "the setting could not be reached with the controls");
    const double full = scope.screen().brightness;
    for (double since : { from, to }) {
        const BeamMoment moment { 0.0, since };
        // What the face shows: nothing while dark, less than the full trace while fading in.
        const double brightness = scope.screen(moment).brightness;
        if (since < WarmUp::darkSeconds)
            QCOMPARE(brightness, 0.0);
        else
            QVERIFY(brightness > 0.0 && (met ? brightness == full : brightness < full));
        const TaskVerdict verdict = judged(s.task, scope, QString::fromLatin1(s.answer), moment);
        QVERIFY2(verdict.met == met,
            qPrintable(QString::number(since) + QStringLiteral(": ") + verdict.castilian));
        if (!met) {
            QVERIFY(verdict.castilian.contains(QStringLiteral("se calienta")));
            QVERIFY(verdict.valencian.contains(QStringLiteral("s'escalfa")));
        }
    }
}

QTEST_GUILESS_MAIN(TestTaskSlips)
#include "tst_taskslips.moc"
