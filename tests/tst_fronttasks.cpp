#include "taskstestsupport.h"

/** The tasks of the bench's front end: the probes, the amplifier's band and rise, and the trigger's
 * sensitivity, filters and hold-off, each judged from what the screen shows. */
class TestFrontEndTasks : public QObject
{
    Q_OBJECT

private slots:
    void judgesWhatTheScreenShows_data();
    void judgesWhatTheScreenShows() { checkJudgedRow(); }
    void riseVerdictAddsTheSquares();
};

/** The edge a little slower than the amplifier's own: the squares of the rise times add, 17,5 and 5 ns
 * making 18,2 ns, in both languages. */
void TestFrontEndTasks::riseVerdictAddsTheSquares()
{
    Hm203 scope = startedTask(RiseTime);
    QVERIFY(fastestSweep(scope));
    const TaskVerdict verdict = hm203Tasks().at(RiseTime).judge(scope, 18.0);
    QVERIFY2(verdict.met, qPrintable(verdict.castilian));
    for (const QString &said : { verdict.castilian, verdict.valencian })
        QVERIFY2(said.contains(QStringLiteral("√(17,5² + 5²) ≈ 18,2 ns")), qPrintable(said));
    QVERIFY(verdict.castilian.contains(QStringLiteral("un poco más que los 17,5 ns")));
    QVERIFY(verdict.castilian.contains(QStringLiteral("se suman los cuadrados de los tiempos de subida")));
    QVERIFY(verdict.valencian.contains(QStringLiteral("un poc més que els 17,5 ns")));
    QVERIFY(verdict.valencian.contains(QStringLiteral("se sumen els quadrats dels temps de pujada")));
}

void TestFrontEndTasks::judgesWhatTheScreenShows_data()
{
    judgedRowColumns();

    // The ×10 probe on the 0,2 V calibrator: 20 mV at the input, 2 divisions at 10 mV/div.
    row("compensated at 10 mV/div", Compensation, true, QString(), [](Hm203 &s) {
        return setVolts(s, false, 0.01)
            && changeGenerator(s, [](GeneratorSettings &g) { g.compensationI = 1.0; });
    });
    row("compensated within 3 % at 5 mV/div, 0.5 ms/div, centred", Compensation, true, QString(),
        [](Hm203 &s) {
            return setVolts(s, false, 0.005) && setPositionI(s, -2.0) && setTime(s, 0.5e-3)
                && changeGenerator(s, [](GeneratorSettings &g) { g.compensationI = 1.02; });
        });
    row("compensation as prepared: a flat line", Compensation, false, QStringLiteral("2 divisiones o más"),
        untouched);
    row("compensation rounded corners", Compensation, false, QStringLiteral("subcompensada"),
        [](Hm203 &s) { return setVolts(s, false, 0.01); });
    row("compensation pointed corners", Compensation, false, QStringLiteral("sobrecompensada"), [](Hm203 &s) {
        return setVolts(s, false, 0.01)
            && changeGenerator(s, [](GeneratorSettings &g) { g.compensationI = 1.2; });
    });
    row("compensation at 5 ms/div", Compensation, false, QStringLiteral("esquinas"), [](Hm203 &s) {
        return setVolts(s, false, 0.01) && setTime(s, 5e-3)
            && changeGenerator(s, [](GeneratorSettings &g) { g.compensationI = 1.0; });
    });
    row("compensation with the ×1 probe", Compensation, false, QStringLiteral("sonda ×10"), [](Hm203 &s) {
        return setVolts(s, false, 0.01)
            && changeGenerator(s, [](GeneratorSettings &g) { g.probeI = Probe::Times1; });
    });

    // The hidden voltage at the ×10 probe's tip: 8 Vpp at draw 0, 12 Vpp at draw 1.
    measure("tip 8", ProbeVoltage, 0, QStringLiteral("8"), true, QString(), untouched);
    measure("tip 8,2 V read at 0,2 V/div", ProbeVoltage, 0, QStringLiteral("8,2 V"), true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.2); });
    measure("tip 12 at the second draw", ProbeVoltage, 1, QStringLiteral("12"), true, QString(), untouched);
    measure("tip what the screen shows", ProbeVoltage, 0, QStringLiteral("0,8"), false,
        QStringLiteral("divide por 10"), [](Hm203 &s) { return setVolts(s, false, 0.2); });
    measure("tip the peak typed", ProbeVoltage, 0, QStringLiteral("4"), false, QStringLiteral("pico a pico"),
        [](Hm203 &s) { return setVolts(s, false, 0.2); });
    measure("tip far off", ProbeVoltage, 0, QStringLiteral("10"), false, QStringLiteral("VOLTS/DIV"),
        [](Hm203 &s) { return setVolts(s, false, 0.2); });
    measure("tip with the ×1 probe", ProbeVoltage, 0, QStringLiteral("8"), false, QStringLiteral("sonda ×10"),
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.probeI = Probe::Times1; }); });
    row("tip nothing typed", ProbeVoltage, false, QStringLiteral("Escribe"), untouched);

    // The 1 MHz square's rising edge, at the sweep's start: √(17² + 5²) ≈ 18 ns, 0,35 div at 50 ns/div.
    measure("rise 18", RiseTime, 0, QStringLiteral("18"), true, QString(), fastestSweep);
    measure("rise 0,025 µs, an honest reading", RiseTime, 0, QStringLiteral("0,025 µs"), true, QString(),
        [](Hm203 &s) { return fastestSweep(s) && setVolts(s, false, 0.2); });
    measure("rise as prepared", RiseTime, 0, QStringLiteral("18"), false, QStringLiteral("X-MAG"), untouched);
    measure("rise at 0,5 µs/div unmagnified", RiseTime, 0, QStringLiteral("18"), false,
        QStringLiteral("X-MAG"), [](Hm203 &s) { return setTime(s, 0.5e-6); });
    measure("rise hint in the formatter's words", RiseTime, 0, QStringLiteral("18"), false,
        QStringLiteral("A 0,2 ms por división"), untouched);
    // X-MAG alone shows the middle of the sweep, 2,5 µs on: the falling edge of the 1 MHz square.
    measure("rise with the sweep's start off the face", RiseTime, 0, QStringLiteral("18"), false,
        QStringLiteral("gira X-POS hacia la derecha"),
        [](Hm203 &s) { return setTime(s, 0.5e-6) && press(s, Hm203Control::XMagnifier); });
    measure("rise read on TIME/DIV's scale", RiseTime, 0, QStringLiteral("180"), false,
        QStringLiteral("50 ns por división"), fastestSweep);
    measure(
        "rise far off", RiseTime, 0, QStringLiteral("60"), false, QStringLiteral("10 y el 90"), fastestSweep);
    row("rise nothing typed", RiseTime, false, QStringLiteral("Escribe"), fastestSweep);

    // The amplifier's −3 dB: 0,7 of the 1 kHz height near 20 MHz with the ×10 probe.
    row("band 20 MHz at 0,2 V/div", Bandwidth, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.2) && setFrequency(s, 20e6); });
    row("band 19 MHz with Y-MAG x5", Bandwidth, true, QString(),
        [](Hm203 &s) { return press(s, Hm203Control::MagnifyI) && setFrequency(s, 19e6); });
    row("band as prepared: too small", Bandwidth, false, QStringLiteral("menos de 4"), untouched);
    row("band 10 MHz: still tall", Bandwidth, false, QStringLiteral("sube la frecuencia"),
        [](Hm203 &s) { return setVolts(s, false, 0.2) && setFrequency(s, 10e6); });
    row("band 30 MHz: fallen too far", Bandwidth, false, QStringLiteral("baja la frecuencia"),
        [](Hm203 &s) { return setVolts(s, false, 0.2) && setFrequency(s, 30e6); });
    // The ×1 probe's cable and the amplifier together fall to 0,7 near 5,75 MHz.
    row("band through the ×1 probe", Bandwidth, false, QStringLiteral("sonda ×1"), [](Hm203 &s) {
        return setVolts(s, false, 2.0) && changeGenerator(s, [](GeneratorSettings &g) {
            g.probeI = Probe::Times1;
            g.frequencyHz = 5.75e6;
        });
    });

    // 1 Vpp at 5 kHz under 1,5 V of hum.
    row("hum kept out by HF", Hum, true, QString(),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); });
    row("hum kept out by HF at 0,1 ms/div, falling", Hum, true, QString(), [](Hm203 &s) {
        return setTrigger(s, TriggerCoupling::HF) && setTime(s, 0.1e-3) && setSlope(s, TriggerSlope::Falling);
    });
    row("hum as prepared: DC", Hum, false, QStringLiteral("HF"), untouched);
    row("hum with AC", Hum, false, QStringLiteral("zumbido"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::AC); });
    row("hum with LF", Hum, false, QStringLiteral("LF"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF); });
    // The sweep follows the mains, and the generator runs free of them: the signal slides past.
    row("hum with ~", Hum, false, QStringLiteral("red"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::Line); });

    // 2 Vpp at 500 Hz under 0,3 V rms of noise.
    row("noise kept out by LF", Noise, true, QString(),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF); });
    row("noise kept out by LF at 0,5 ms/div", Noise, true, QString(),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::LF) && setTime(s, 0.5e-3); });
    row("noise as prepared: DC", Noise, false, QStringLiteral("LF"), untouched);
    row("noise with AC", Noise, false, QStringLiteral("tiembla"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::AC); });
    row("noise with HF", Noise, false, QStringLiteral("HF"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::HF); });
    row("noise with ~", Noise, false, QStringLiteral("en LF"),
        [](Hm203 &s) { return setTrigger(s, TriggerCoupling::Line); });

    // Four cycles of 1 kHz every 10 ms on a 2 ms sweep: past 40 % HOLD OFF waits the burst out.
    row("burst HOLD OFF at 50 %", Burst, true, QString(), [](Hm203 &s) { return setHoldOff(s, 50); });
    row("burst HOLD OFF at its stop, falling", Burst, true, QString(),
        [](Hm203 &s) { return setHoldOff(s, 100) && setSlope(s, TriggerSlope::Falling); });
    row("burst as prepared: two pictures", Burst, false, QStringLiteral("HOLD OFF"), untouched);
    row("burst HOLD OFF at 30 %: still two", Burst, false, QStringLiteral("dos imágenes"),
        [](Hm203 &s) { return setHoldOff(s, 30); });
    row("burst at 0,5 ms/div", Burst, false, QStringLiteral("0,2 ms/div"),
        [](Hm203 &s) { return setTime(s, 0.5e-3); });

    // 0,4 Vpp: 0,4 divisions at 1 V/div, short of the half division the trigger needs.
    row("small at 0,5 V/div in NORM", SmallSignal, true, QString(),
        [](Hm203 &s) { return press(s, Hm203Control::AtNorm) && setVolts(s, false, 0.5); });
    row("small with Y-MAG x5 in NORM", SmallSignal, true, QString(),
        [](Hm203 &s) { return press(s, Hm203Control::AtNorm) && press(s, Hm203Control::MagnifyI); });
    row("small as prepared: AT", SmallSignal, false, QStringLiteral("AT/NORM"), untouched);
    row("small in NORM: dark", SmallSignal, false, QStringLiteral("media división"),
        [](Hm203 &s) { return press(s, Hm203Control::AtNorm); });
    row("small from TRIG. INP.", SmallSignal, false, QStringLiteral("0,6 V"), [](Hm203 &s) {
        return press(s, Hm203Control::AtNorm) && press(s, Hm203Control::ExtTrigger)
            && setVolts(s, false, 0.5);
    });
    row("small with a larger signal", SmallSignal, false, QStringLiteral("0,4 Vpp"), [](Hm203 &s) {
        return press(s, Hm203Control::AtNorm)
            && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 1.0; });
    });
}

QTEST_MAIN(TestFrontEndTasks)
#include "tst_fronttasks.moc"
