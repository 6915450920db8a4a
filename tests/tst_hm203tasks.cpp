#include "screendescription.h"
#include "taskprediction.h"
#include "taskstestsupport.h"

/** The live oscilloscope's tasks: each judged from what the screen shows, and the typed-number reader. */
class TestHm203Tasks : public QObject
{
    Q_OBJECT

private slots:
    void judgesWhatTheScreenShows_data();
    void judgesWhatTheScreenShows();
    void theVerdictCountsAsTheWordsDo();
    void freshInstrumentMeetsNoSettingTask();
    void nothingIsMetWhileTheTubeWarms();
    void phaseReadingsAllowAQuarterDivision_data();
    void phaseReadingsAllowAQuarterDivision();
    void everyDrawIsMeasurable();
    void preparedGeneratorsAreWithinLimits();
    void goalsReadInBothLanguages();
    void anyStateGetsAVerdict();
    void readsTypedNumbers_data();
    void readsTypedNumbers();
};

void TestHm203Tasks::theVerdictCountsAsTheWordsDo()
{
    // Every step of TIME/DIV, calibrated and with the fine knob half way: where the verdict counts the
    // periods on the screen, the face's words give the same count.
    const QRegularExpression counted(QStringLiteral("Se ven? (\\S+) periodos?"));
    int compared = 0;
    for (int step = controlInfo(Hm203Control::TimeDiv).minimum;
         step <= controlInfo(Hm203Control::TimeDiv).maximum; ++step) {
        for (const int cal : { 100, 50 }) {
            Hm203 scope = startedTask(TimeBase);
            scope.setValue(Hm203Control::TimeDiv, step);
            scope.setValue(Hm203Control::TimeCal, cal);
            const QString verdict = hm203Tasks().at(TimeBase).judge(scope, std::nullopt).castilian;
            const QRegularExpressionMatch match = counted.match(verdict);
            if (!match.hasMatch())
                continue;
            ++compared;
            const QString words = describeScreen(scope, BeamMoment { 100.0, 100.0 }).castilian;
            QVERIFY2(words.contains(QStringLiteral(", %1 periodo").arg(match.captured(1))),
                qPrintable(verdict + QStringLiteral(" | ") + words));
        }
    }
    QVERIFY(compared > 6);
}

void TestHm203Tasks::judgesWhatTheScreenShows_data()
{
    judgedRowColumns();

    // Five periods of 500 Hz: 1 ms/div, or 10 ms/div spread ten times by X-MAG.
    row("time 1 ms/div", TimeBase, true, QString(), [](Hm203 &s) { return setTime(s, 1e-3); });
    row("time 10 ms/div with X-MAG", TimeBase, true, QString(),
        [](Hm203 &s) { return setTime(s, 10e-3) && press(s, Hm203Control::XMagnifier); });
    // The count is said as the face's words say it: "1 periodo", whole numbers from ten on.
    row("time as opened: one period", TimeBase, false, QStringLiteral("Se ve 1 periodo;"), untouched);
    row("time 0,2 s/div: a thousand periods", TimeBase, false, QStringLiteral("Se ven 1000 periodos"),
        [](Hm203 &s) { return setTime(s, 0.2); });
    row("time 1 µs/div: a small part of one", TimeBase, false,
        QStringLiteral("una pequeña parte de un periodo"), [](Hm203 &s) { return setTime(s, 1e-6); });
    // 2 ms/div sped up twice by the fine knob shows five periods, but TIME/DIV no longer tells the time.
    row("time five periods with CAL turned", TimeBase, false, QStringLiteral("mando CAL de TIME/DIV"),
        [](Hm203 &s) {
            return setTime(s, 2e-3) && turnTo(s, Hm203Control::TimeCal, secondsPerDiv, 1e-3, 0.01e-3);
        });
    row("time right but lifted off the top", TimeBase, false, QStringLiteral("Y-POS I"),
        [](Hm203 &s) { return setTime(s, 1e-3) && setPositionI(s, 5.5); });
    row("time right but no trace in NORM", TimeBase, false, QStringLiteral("NORM"),
        [](Hm203 &s) { return setTime(s, 1e-3) && press(s, Hm203Control::AtNorm) && setLevel(s, 2.6); });
    row("time right but the tester on", TimeBase, false, QStringLiteral("COMPONENT TESTER"),
        [](Hm203 &s) { return setTime(s, 1e-3) && press(s, Hm203Control::Tester); });
    row("time right but too faint", TimeBase, false, QStringLiteral("INTENS"), [](Hm203 &s) {
        s.setValue(Hm203Control::Intensity, 15);
        return setTime(s, 1e-3);
    });
    row("time right but moved sideways", TimeBase, false, QStringLiteral("X-POS"), [](Hm203 &s) {
        return setTime(s, 1e-3) && turnTo(s, Hm203Control::XPosition, xPosition, 1.0, 0.01);
    });
    row("time right but in X-Y", TimeBase, false, QStringLiteral("X-Y"),
        [](Hm203 &s) { return setTime(s, 1e-3) && press(s, Hm203Control::XY); });
    row("time right but added", TimeBase, false, QStringLiteral("ADD"),
        [](Hm203 &s) { return setTime(s, 1e-3) && setMode(s, DisplayMode::Add); });
    row("time 2 ms/div: ten periods", TimeBase, false, QStringLiteral("Se ven 10 periodos"),
        [](Hm203 &s) { return setTime(s, 2e-3); });
    row("time right but switched off", TimeBase, false, QStringLiteral("POWER"),
        [](Hm203 &s) { return setTime(s, 1e-3) && press(s, Hm203Control::Power, false); });
    row("time right but level above the peaks", TimeBase, false, QStringLiteral("LEVEL"),
        [](Hm203 &s) { return setTime(s, 1e-3) && setLevel(s, 2.6); });
    row("time five periods of another frequency", TimeBase, false, QStringLiteral("500 Hz"), [](Hm203 &s) {
        return setTime(s, 0.5e-3) && changeGenerator(s, [](GeneratorSettings &g) { g.frequencyHz = 1000.0; });
    });

    // Two periods of the 10 Vpp, 1 kHz sine over five divisions.
    row("two periods at 2 V/div", TwoPeriods, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 2.0); });
    row("two periods at 1 V/div from a 5 Vpp signal", TwoPeriods, true, QString(),
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 5.0; }); });
    row("two periods with CAL turned", TwoPeriods, true, QString(),
        [](Hm203 &s) { return uncalibratedVoltsI(s, 2.0); });
    row("two periods lifted but whole", TwoPeriods, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 2.0) && setPositionI(s, 1.0); });
    row("two periods of 2 kHz", TwoPeriods, false, QStringLiteral("1 kHz"), [](Hm203 &s) {
        return setVolts(s, false, 2.0) && setTime(s, 0.1e-3)
            && changeGenerator(s, [](GeneratorSettings &g) { g.frequencyHz = 2000.0; });
    });
    row("two periods overdriven at 1 V/div", TwoPeriods, false, QStringLiteral("retícula"), untouched);
    row("two periods at 5 V/div: two divisions", TwoPeriods, false, QStringLiteral("2,0 divisiones"),
        [](Hm203 &s) { return setVolts(s, false, 5.0); });
    row("two periods lifted off the graticule", TwoPeriods, false, QStringLiteral("Y-POS"),
        [](Hm203 &s) { return setVolts(s, false, 2.0) && setPositionI(s, 2.0); });
    row("two periods at 0.5 ms/div: five", TwoPeriods, false, QStringLiteral("Se ven 5 periodos"),
        [](Hm203 &s) { return setVolts(s, false, 2.0) && setTime(s, 0.5e-3); });

    // The minima of a 4 Vpp sine on the bottom line.
    row("bottom line by Y-POS", BottomLine, true, QString(), [](Hm203 &s) { return setPositionI(s, -2.0); });
    row("bottom line by 0.5 V/div", BottomLine, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.5); });
    row("bottom line with the trace running", BottomLine, true, QString(),
        [](Hm203 &s) { return setPositionI(s, -2.0) && setLevel(s, 3.0); });
    row("bottom line as opened", BottomLine, false, QStringLiteral("2,0 divisiones por encima"), untouched);
    row("bottom line too low", BottomLine, false, QStringLiteral("por debajo"),
        [](Hm203 &s) { return setPositionI(s, -3.0); });
    row("bottom line overdriven", BottomLine, false, QStringLiteral("VOLTS/DIV"),
        [](Hm203 &s) { return setVolts(s, false, 0.2); });
    row("bottom line on channel II", BottomLine, false, QStringLiteral("CH I/II"),
        [](Hm203 &s) { return setMode(s, DisplayMode::ChannelII); });

    // The sweep starts going down at 1 V or more.
    row("falling at 1.5 V", FallingStart, true, QString(),
        [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5); });
    row("rising at -1.5 V seen inverted", FallingStart, true, QString(), [](Hm203 &s) {
        return press(s, Hm203Control::InvertI) && setSlope(s, TriggerSlope::Rising) && setLevel(s, -1.5);
    });
    row("falling at 1.5 V in DUAL", FallingStart, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5);
    });
    row("falling at 1.5 V in DUAL with ALT", FallingStart, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::AltTrigger)
            && setSlope(s, TriggerSlope::Falling) && setLevel(s, 1.5);
    });
    row("falling as opened: rising", FallingStart, false, QStringLiteral("SLOPE"), untouched);
    row("falling at 0 V", FallingStart, false, QStringLiteral("0,0 V"),
        [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 0.0); });
    row("falling at 0.5 V", FallingStart, false, QStringLiteral("LEVEL"),
        [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 0.5); });
    row("falling but running", FallingStart, false, QStringLiteral("LEVEL"),
        [](Hm203 &s) { return setSlope(s, TriggerSlope::Falling) && setLevel(s, 3.5); });

    // 1 Vpp on 4 V of DC, AC coupled over five divisions.
    row("AC at 0.2 V/div", AcCoupling, true, QString(),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && setVolts(s, false, 0.2); });
    row("AC at 1 V/div magnified five times", AcCoupling, true, QString(),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && press(s, Hm203Control::MagnifyI); });
    row("AC at 1 V/div from a larger signal", AcCoupling, false, QStringLiteral("1 Vpp"), [](Hm203 &s) {
        return setCoupling(s, false, Coupling::AC)
            && changeGenerator(s, [](GeneratorSettings &g) { g.amplitudeIVpp = 5.0; });
    });
    row("AC as opened: DC", AcCoupling, false, QStringLiteral("AC"),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::DC); });
    row("AC grounded", AcCoupling, false, QStringLiteral("GD"),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::Ground); });
    row("AC with the offset removed", AcCoupling, false, QStringLiteral("generador"), [](Hm203 &s) {
        return setVolts(s, false, 0.2)
            && changeGenerator(s, [](GeneratorSettings &g) { g.offsetIVolts = 0.0; });
    });
    row("AC at 0.5 V/div: two divisions", AcCoupling, false, QStringLiteral("2,0 divisiones"),
        [](Hm203 &s) { return setCoupling(s, false, Coupling::AC) && setVolts(s, false, 0.5); });

    // The hidden DC level: 1.5 V at draw 0, -2 V at draw 1.
    measure("DC 1,5", DcLevel, 0, QStringLiteral("1,5"), true, QString(), untouched);
    measure("DC 1.5 V", DcLevel, 0, QStringLiteral(" 1.5 V "), true, QString(), untouched);
    measure("DC 1550 mV", DcLevel, 0, QStringLiteral("1550 mV"), true, QString(), untouched);
    measure("DC -2 at the second draw", DcLevel, 1, QStringLiteral("-2"), true, QString(), untouched);
    measure("DC wrong sign", DcLevel, 0, QStringLiteral("-1,5"), false, QStringLiteral("signo"), untouched);
    measure("DC wrong value", DcLevel, 0, QStringLiteral("3"), false, QStringLiteral("GD"), untouched);
    measure("DC first draw's value at the second", DcLevel, 1, QStringLiteral("1,5"), false,
        QStringLiteral("1,5"), untouched);
    row("DC nothing typed", DcLevel, false, QStringLiteral("Escribe"), untouched);
    measure("DC right but switched off", DcLevel, 0, QStringLiteral("1,5"), false, QStringLiteral("POWER"),
        [](Hm203 &s) { return press(s, Hm203Control::Power, false); });

    // The 2 V calibrator over four divisions, calibrated.
    row("calibrator at 0.5 V/div", Calibrator, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.5); });
    row("calibrator at 0.5 V/div, AC", Calibrator, true, QString(),
        [](Hm203 &s) { return setVolts(s, false, 0.5) && setCoupling(s, false, Coupling::AC); });
    row("calibrator uncalibrated to 0.5 V/div", Calibrator, false, QStringLiteral("CAL"),
        [](Hm203 &s) { return uncalibratedVoltsI(s, 0.5); });
    row("calibrator at 1 V/div", Calibrator, false, QStringLiteral("2,0 divisiones"), untouched);
    row("calibrator unplugged", Calibrator, false, QStringLiteral("calibrador"), [](Hm203 &s) {
        return setVolts(s, false, 0.5)
            && changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Generator; });
    });

    // The hidden period of a triangle: 2.5 ms at draw 0, 4 ms at draw 1.
    measure("period 2,5", Period, 0, QStringLiteral("2,5"), true, QString(), untouched);
    measure("period 2500 µs", Period, 0, QStringLiteral("2500 µs"), true, QString(), untouched);
    measure("period 0.0025 s", Period, 0, QStringLiteral("0.0025 s"), true, QString(), untouched);
    measure("period 4 ms at the second draw", Period, 1, QStringLiteral("4 ms"), true, QString(), untouched);
    measure("period the frequency typed", Period, 0, QStringLiteral("400"), false,
        QStringLiteral("frecuencia"), untouched);
    measure("period off by a fifth", Period, 0, QStringLiteral("3"), false, QStringLiteral("TIME/DIV"),
        untouched);
    measure("period nothing typed", Period, 0, QString(), false, QStringLiteral("Escribe"), untouched);

    // The hidden frequency: 250 Hz at draw 0, 1250 Hz at draw 2.
    measure("frequency 250", Frequency, 0, QStringLiteral("250"), true, QString(), untouched);
    measure("frequency 0,25 kHz", Frequency, 0, QStringLiteral("0,25 kHz"), true, QString(), untouched);
    measure(
        "frequency within reading error", Frequency, 0, QStringLiteral("260 Hz"), true, QString(), untouched);
    measure("frequency 1,25 kHz at the third draw", Frequency, 2, QStringLiteral("1,25kHz"), true, QString(),
        untouched);
    measure("frequency off by a tenth", Frequency, 0, QStringLiteral("275"), false, QStringLiteral("275"),
        untouched);
    measure("frequency the period typed", Frequency, 0, QStringLiteral("4"), false, QStringLiteral("periodo"),
        untouched);
    row("frequency nothing typed", Frequency, false, QStringLiteral("Escribe"), untouched);

    // Both channels, one in each half.
    row("dual at 1 V/div", Dual, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0) && setPositionII(s, -2.0);
    });
    row("dual at other sensitivities", Dual, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setVolts(s, false, 2.0) && setPositionI(s, 1.0)
            && setVolts(s, true, 0.5) && setPositionII(s, -2.0);
    });
    row("dual chopped at a slow sweep", Dual, true, QString(), [](Hm203 &s) {
        return press(s, Hm203Control::Dual) && press(s, Hm203Control::Add) && setTime(s, 5e-3)
            && setPositionI(s, 2.0) && setPositionII(s, -2.0);
    });
    row("dual alternating at a slow sweep", Dual, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setTime(s, 5e-3) && setPositionI(s, 2.0)
            && setPositionII(s, -2.0);
    });
    row("dual not pressed", Dual, false, QStringLiteral("DUAL"),
        [](Hm203 &s) { return setPositionI(s, 2.0) && setPositionII(s, -2.0); });
    row("dual centred", Dual, false, QStringLiteral("súbela con Y-POS I"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); });
    row("dual channel I out of the top", Dual, false, QStringLiteral("bájala con Y-POS I"), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setPositionI(s, 3.0) && setPositionII(s, -2.0);
    });
    row("dual channel I too tall for its half", Dual, false, QStringLiteral("redúcela con VOLTS/DIV I"),
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Dual) && setVolts(s, false, 0.5) && setPositionI(s, 2.0)
                && setPositionII(s, -2.0);
        });
    row("dual channel II over the centre line", Dual, false, QStringLiteral("bájala con Y-POS II"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0); });
    row("dual channel II too small", Dual, false, QStringLiteral("al menos 2"), [](Hm203 &s) {
        return setMode(s, DisplayMode::Dual) && setPositionI(s, 2.0) && setPositionII(s, -2.0)
            && setVolts(s, true, 2.0);
    });

    // Channel I minus channel II.
    row("difference at 1 V/div", Difference, true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertII); });
    row("difference at 2 V/div", Difference, true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertII) && setVolts(s, false, 2.0)
            && setVolts(s, true, 2.0);
    });
    row("difference without INV", Difference, false, QStringLiteral("INV"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Add); });
    row("difference with channel I inverted", Difference, false, QStringLiteral("CH II − CH I"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertI); });
    row("difference with both inverted", Difference, false, QStringLiteral("−(CH I + CH II)"), [](Hm203 &s) {
        return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertI)
            && press(s, Hm203Control::InvertII);
    });
    row("difference at unequal sensitivities", Difference, false, QStringLiteral("sensibilidades"),
        [](Hm203 &s) {
            return setMode(s, DisplayMode::Add) && press(s, Hm203Control::InvertII) && setVolts(s, true, 2.0);
        });
    row("difference with DUAL and ADD: chopped", Difference, false, QStringLiteral("suelta DUAL"),
        [](Hm203 &s) {
            return press(s, Hm203Control::Dual) && press(s, Hm203Control::Add)
                && press(s, Hm203Control::InvertII);
        });
    row("difference in DUAL", Difference, false, QStringLiteral("ADD"),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual) && press(s, Hm203Control::InvertII); });

    // The hidden phase on X-Y: -45° at draw 0, -60° at draw 1.
    measure("X-Y 45", PhaseXY, 0, QStringLiteral("45"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    measure("X-Y -45°", PhaseXY, 0, QStringLiteral("-45°"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    measure("X-Y 47,5 grados", PhaseXY, 0, QStringLiteral("47,5 grados"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    measure("X-Y 60 at the second draw", PhaseXY, 1, QStringLiteral("60º"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    measure("X-Y 30", PhaseXY, 0, QStringLiteral("30"), false, QStringLiteral("sen φ"),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    // 60°: a = 1,73 and b = 2 div; a read as 1,8 gives 64°, an honest reading.
    measure("X-Y 64 for 60", PhaseXY, 1, QStringLiteral("64"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });
    // Large on the graticule (b = 4 div), a reading of 45° for 60° is off by more than a quarter division.
    measure("X-Y 45 for 60 on a large ellipse", PhaseXY, 1, QStringLiteral("45"), false,
        QStringLiteral("sen φ"), [](Hm203 &s) {
            return setMode(s, DisplayMode::XY) && setVolts(s, false, 0.5) && setVolts(s, true, 0.5);
        });
    // INV II turns channel II by 180°: the ellipse leans as for 180° − 45° = 135°, but the task asks for the
    // phase between the generator's outputs, still 45°.
    measure("X-Y inverted read as the outputs", PhaseXY, 0, QStringLiteral("42"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY) && press(s, Hm203Control::InvertII); });
    measure("X-Y inverted read as shown", PhaseXY, 0, QStringLiteral("138"), false, QStringLiteral("INV II"),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY) && press(s, Hm203Control::InvertII); });
    measure("X-Y both inverted: no turn", PhaseXY, 0, QStringLiteral("45"), true, QString(), [](Hm203 &s) {
        return setMode(s, DisplayMode::XY) && press(s, Hm203Control::InvertI)
            && press(s, Hm203Control::InvertII);
    });
    measure("X-Y with square waves", PhaseXY, 0, QStringLiteral("45"), false, QStringLiteral("senoidales"),
        [](Hm203 &s) {
            return setMode(s, DisplayMode::XY)
                && changeGenerator(s, [](GeneratorSettings &g) { g.waveform = Waveform::Square; });
        });
    measure("X-Y right but not in X-Y", PhaseXY, 0, QStringLiteral("45"), false, QStringLiteral("X-Y"),
        untouched);
    measure("X-Y ellipse off the graticule", PhaseXY, 0, QStringLiteral("45"), false,
        QStringLiteral("se sale"),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY) && setVolts(s, false, 0.2); });
    row("X-Y nothing typed", PhaseXY, false, QStringLiteral("Escribe"),
        [](Hm203 &s) { return setMode(s, DisplayMode::XY); });

    // The RC circuit: Ur leads Ue by atan(1/ωRC), 57.9° at 1 kHz and 38.5° at 2 kHz.
    measure("RC 58", RcLead, 0, QStringLiteral("58"), true, QString(), untouched);
    measure("RC 56 in DUAL", RcLead, 0, QStringLiteral("56°"), true, QString(),
        [](Hm203 &s) { return setMode(s, DisplayMode::Dual); });
    measure("RC 38,5 at 2 kHz", RcLead, 0, QStringLiteral("38,5"), true, QString(),
        [](Hm203 &s) { return changeGenerator(s, [](GeneratorSettings &g) { g.frequencyHz = 2000.0; }); });
    measure("RC 58 at 2 kHz", RcLead, 0, QStringLiteral("58"), false, QStringLiteral("Δt"), [](Hm203 &s) {
        return setTime(s, 0.05e-3)
            && changeGenerator(s, [](GeneratorSettings &g) { g.frequencyHz = 2000.0; });
    });
    // An honest reading at the opening time base: Δt 0,85 div of a 5 div period. Spread over two
    // divisions a period, the same reading is wrong.
    measure("RC 61 read at 0,2 ms/div", RcLead, 0, QStringLiteral("61"), true, QString(), untouched);
    measure("RC 68 read at 0,05 ms/div", RcLead, 0, QStringLiteral("68"), false, QStringLiteral("Δt"),
        [](Hm203 &s) { return setTime(s, 0.05e-3); });
    measure("RC with a triangle", RcLead, 0, QStringLiteral("58"), false, QStringLiteral("senoidales"),
        [](Hm203 &s) {
            return changeGenerator(s, [](GeneratorSettings &g) { g.waveform = Waveform::Triangle; });
        });
    measure("RC lag typed", RcLead, 0, QStringLiteral("-58"), false, QStringLiteral("positivo"), untouched);
    measure(
        "RC the complement typed", RcLead, 0, QStringLiteral("32"), false, QStringLiteral("Δt"), untouched);
    measure("RC unplugged", RcLead, 0, QStringLiteral("58"), false, QStringLiteral("RC"), [](Hm203 &s) {
        return changeGenerator(s, [](GeneratorSettings &g) { g.hookup = Hookup::Generator; });
    });
}

void TestHm203Tasks::judgesWhatTheScreenShows()
{
    checkJudgedRow();
}

void TestHm203Tasks::freshInstrumentMeetsNoSettingTask()
{
    // A task already met when it starts teaches nothing: the generator it prepares must leave the
    // instrument as it opens short of the goal.
    for (int i = 0; i < hm203Tasks().size(); ++i) {
        const Hm203Task &task = hm203Tasks().at(i);
        const Hm203 scope = startedTask(i);
        QVERIFY2(!task.judge(scope, std::nullopt).met, qPrintable(task.goal.castilian));
    }
}

void TestHm203Tasks::nothingIsMetWhileTheTubeWarms()
{
    // Task 1 met at 1 ms/div; just after POWER the screen is still dark, then fading in.
    const Hm203Task &task = hm203Tasks().at(TimeBase);
    Hm203 scope = startedTask(TimeBase);
    QVERIFY(setTime(scope, 1e-3));
    for (double since : { 0.0, 1.0, WarmUp::darkSeconds + 0.5, WarmUp::seconds - 0.01 }) {
        const TaskVerdict warming = judgeTask(task, scope, BeamMoment { 0.0, since }, std::nullopt);
        QVERIFY2(!warming.met, qPrintable(QString::number(since)));
        QVERIFY(warming.castilian.contains(QStringLiteral("se calienta")));
    }
    QVERIFY(judgeTask(task, scope, BeamMoment { 0.0, WarmUp::seconds }, std::nullopt).met);
    // Switched off, the verdict says so rather than wait for a warm-up that is not coming.
    QVERIFY(press(scope, Hm203Control::Power, false));
    QVERIFY(judgeTask(task, scope, BeamMoment { 0.0, 0.5 }, std::nullopt).castilian.contains(u"POWER"));
}

void TestHm203Tasks::phaseReadingsAllowAQuarterDivision_data()
{
    QTest::addColumn<bool>("ellipse");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("size");
    // An ellipse of height b read as sin φ = a / b; a sweep whose period spans size divisions.
    QTest::newRow("ellipse 30° of 2 div") << true << 30.0 << 2.0;
    QTest::newRow("ellipse 60° of 4 div") << true << 60.0 << 4.0;
    QTest::newRow("ellipse 135° of 3 div") << true << 135.0 << 3.0;
    QTest::newRow("sweep 58° over 5 div") << false << 57.9 << 5.0;
    QTest::newRow("sweep 58° over 20 div") << false << 57.9 << 20.0;
}

void TestHm203Tasks::phaseReadingsAllowAQuarterDivision()
{
    QFETCH(bool, ellipse);
    QFETCH(double, degrees);
    QFETCH(double, size);
    const TaskJudging::PhaseRange range = ellipse ? TaskJudging::ellipsePhaseRange(degrees, size)
                                                  : TaskJudging::sweptPhaseRange(degrees, size);
    QVERIFY(range.contains(degrees));
    // Every pair of readings a quarter division off gives a phase within the range, and its ends are
    // such readings: worked out from the lengths as the student reads them.
    const double q = TaskJudging::kDivisionTolerance;
    const double rad = std::numbers::pi / 180.0;
    double low = 180.0;
    double high = 0.0;
    for (int i = -4; i <= 4; ++i)
        for (int j = -4; j <= 4; ++j) {
            double phase = 0.0;
            if (ellipse) {
                const double turned = degrees > 90.0 ? 180.0 - degrees : degrees;
                const double a = size * std::sin(turned * rad) + q * i / 4.0;
                const double b = size + q * j / 4.0;
                phase = std::asin(std::clamp(a / b, 0.0, 1.0)) / rad;
                if (degrees > 90.0)
                    phase = 180.0 - phase;
            } else {
                phase = 360.0 * (degrees / 360.0 * size + q * i / 4.0) / (size + q * j / 4.0);
            }
            QVERIFY2(range.contains(phase), qPrintable(QString::number(phase)));
            low = std::min(low, phase);
            high = std::max(high, phase);
        }
    QVERIFY(std::abs(range.low - low) < 1e-6 && std::abs(range.high - high) < 1e-6);
    // A larger picture reads closer.
    const TaskJudging::PhaseRange larger = ellipse ? TaskJudging::ellipsePhaseRange(degrees, 2 * size)
                                                   : TaskJudging::sweptPhaseRange(degrees, 2 * size);
    QVERIFY(larger.high - larger.low < range.high - range.low);
}

void TestHm203Tasks::everyDrawIsMeasurable()
{
    // Whichever value a measuring task hides, what a student reads off the screen is accepted, and a
    // reading far from it is not: the answer is on the screen, and only there.
    for (int i = 0; i < hm203Tasks().size(); ++i) {
        const Hm203Task &task = hm203Tasks().at(i);
        if (task.answerUnit.isEmpty())
            continue;
        // What a bench circuit or the tester shows is read off simulated waves: tst_circuitlabs reads those.
        const GeneratorSettings bench = startedTask(i).generator();
        if (bench.hookup == Hookup::Circuit || !bench.testerPart.isEmpty())
            continue;
        QSet<double> readings;
        for (quint32 draw = 0; draw < 12; ++draw) {
            Hm203 scope = startedTask(i, draw);
            std::optional<double> reading;
            switch (task.hidden) {
            case HiddenReading::FrequencyI:
                reading = readFrequency(scope);
                if (reading && QStringView(task.answerUnit) == u"ms")
                    reading = 1000.0 / *reading;
                break;
            case HiddenReading::OffsetI:
                reading = readDcLevel(scope);
                break;
            case HiddenReading::PhaseII:
                reading = readEllipsePhase(scope);
                break;
            case HiddenReading::AmplitudeI:
                reading = readTipVoltage(scope);
                break;
            case HiddenReading::None:
                reading = i == RiseTime ? readRise(scope) : readLead(scope);
                break;
            case HiddenReading::FrequencyII:
                reading = readXyFrequencyII(scope);
                break;
            case HiddenReading::AmplitudeII:
            case HiddenReading::OffsetII:
                // The course measures nothing on CH II.
                QFAIL(qPrintable(task.goal.castilian));
            }
            QVERIFY2(reading, qPrintable(task.goal.castilian));
            readings.insert(std::round(*reading * 10.0) / 10.0);
            const TaskVerdict verdict = task.judge(scope, *reading);
            QVERIFY2(verdict.met,
                qPrintable(QString::number(*reading) + QStringLiteral(": ") + verdict.castilian));
            // A phase is told apart from one far from it once the picture is large on the graticule; near
            // 90° the ellipse changes little, so far is lower there.
            double far = *reading * 1.3 + 1.0;
            if (task.hidden == HiddenReading::PhaseII) {
                QVERIFY(setVolts(scope, false, 0.5) && setVolts(scope, true, 0.5));
                far = *reading * 0.6;
            }
            if (i == RcLead)
                QVERIFY(setTime(scope, 0.1e-3));
            // The fastest edge spans a third of a division: only a reading twice as long is told apart.
            if (i == RiseTime)
                far = *reading * 2.0 + 1.0;
            QVERIFY2(!task.judge(scope, far).met, qPrintable(task.goal.castilian));
        }
        if (task.hidden != HiddenReading::None)
            QVERIFY2(readings.size() >= 3, qPrintable(task.goal.castilian));
    }
}

void TestHm203Tasks::preparedGeneratorsAreWithinLimits()
{
    for (int i = 0; i < hm203Tasks().size(); ++i) {
        for (quint32 draw : { 0u, 1u, 7u, 0xffffffffu }) {
            GeneratorSettings g;
            g.phaseIIDegrees = 170.0; // left over from another task: preparing starts afresh
            hm203Tasks().at(i).prepare(g, draw);
            QVERIFY(
                g.frequencyHz >= GeneratorLimits::minimumHz && g.frequencyHz <= GeneratorLimits::maximumHz);
            for (double vpp : { g.amplitudeIVpp, g.amplitudeIIVpp })
                QVERIFY(vpp >= 0.0 && vpp <= GeneratorLimits::maximumVpp);
            for (double offset : { g.offsetIVolts, g.offsetIIVolts })
                QVERIFY(std::abs(offset) <= GeneratorLimits::maximumOffset);
            QVERIFY(std::abs(g.phaseIIDegrees) <= GeneratorLimits::maximumPhase);
            QVERIFY(g.phaseIIDegrees != 170.0);
            // The instrument takes it as it is.
            Hm203 scope;
            scope.setGenerator(g);
            QCOMPARE(scope.generator().frequencyHz, g.frequencyHz);
            QCOMPARE(scope.generator().offsetIVolts, g.offsetIVolts);
            QCOMPARE(scope.generator().phaseIIDegrees, g.phaseIIDegrees);
            QCOMPARE(scope.generator().hookup, g.hookup);
        }
    }
}

void TestHm203Tasks::goalsReadInBothLanguages()
{
    QVERIFY(hm203Tasks().size() >= 10);
    QSet<QString> seen;
    for (const Hm203Task &task : hm203Tasks()) {
        const QString castilian = task.goal.castilian;
        const QString valencian = task.goal.valencian;
        QVERIFY(!castilian.isEmpty() && !valencian.isEmpty());
        QVERIFY(castilian != valencian);
        QVERIFY2(!seen.contains(castilian), qPrintable(castilian));
        seen.insert(castilian);
        for (const QString &goal : { castilian, valencian }) {
            QCOMPARE(goal.trimmed(), goal);
            QVERIFY2(goal.endsWith(u'.'), qPrintable(goal));
            QVERIFY2(!goal.contains(u"  "), qPrintable(goal));
        }
        QVERIFY2(inTheirLanguages(castilian, valencian),
            qPrintable(castilian + QStringLiteral(" / ") + valencian));
        QVERIFY(task.judge && task.prepare);
        // A reading is hidden only because it is the answer to be typed.
        QVERIFY(task.hidden == HiddenReading::None || !task.answerUnit.isEmpty());
    }
}

void TestHm203Tasks::anyStateGetsAVerdict()
{
    // Whatever the student does to the controls and the wiring, every task answers with a reason in
    // both languages.
    QRandomGenerator random(203);
    const Hookup hookups[] { Hookup::Generator, Hookup::RcCircuit, Hookup::Calibrator02,
        Hookup::Calibrator2 };
    for (int i = 0; i < hm203Tasks().size(); ++i) {
        const Hm203Task &task = hm203Tasks().at(i);
        Hm203 scope = startedTask(i, random.generate());
        for (int round = 0; round < 60; ++round) {
            const Hm203ControlInfo &info = hm203Controls().at(random.bounded(kHm203ControlCount));
            scope.setValue(info.id, random.bounded(info.minimum, info.maximum + 1));
            if (round % 15 == 0) {
                GeneratorSettings g = scope.generator();
                g.hookup = hookups[random.bounded(4)];
                g.waveform = Waveform(random.bounded(3));
                scope.setGenerator(g);
            }
            const std::optional<double> answer
                = random.bounded(2) ? std::optional<double>(random.bounded(400.0) - 200.0) : std::nullopt;
            const TaskVerdict verdict = task.judge(scope, answer);
            QVERIFY(!verdict.castilian.isEmpty() && !verdict.valencian.isEmpty());
            QVERIFY2(inTheirLanguages(verdict.castilian, verdict.valencian), qPrintable(verdict.valencian));
            // Nothing is met on a screen the student cannot see; the tester's figure only where a part is
            // in its socket.
            if (verdict.met) {
                QVERIFY(scope.isPressed(Hm203Control::Power));
                QVERIFY(!scope.isPressed(Hm203Control::Tester) || !scope.generator().testerPart.isEmpty());
                QVERIFY(scope.screen().brightness > 0.2);
            }
        }
    }
}

void TestHm203Tasks::readsTypedNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("read");
    QTest::addColumn<double>("value");

    QTest::newRow("whole") << QStringLiteral("45") << QStringLiteral("°") << true << 45.0;
    QTest::newRow("decimal comma") << QStringLiteral("57,9") << QStringLiteral("°") << true << 57.9;
    QTest::newRow("decimal point") << QStringLiteral("57.9") << QStringLiteral("°") << true << 57.9;
    QTest::newRow("blanks around") << QStringLiteral(" \t 12,5 \n") << QString() << true << 12.5;
    QTest::newRow("negative") << QStringLiteral("-45") << QStringLiteral("°") << true << -45.0;
    QTest::newRow("typographic minus") << QStringLiteral("−45") << QStringLiteral("°") << true << -45.0;
    QTest::newRow("plus") << QStringLiteral("+3") << QStringLiteral("V") << true << 3.0;
    QTest::newRow("leading point") << QStringLiteral(",5") << QStringLiteral("V") << true << 0.5;
    QTest::newRow("degree sign") << QStringLiteral("45°") << QStringLiteral("°") << true << 45.0;
    QTest::newRow("ordinal sign for degrees")
        << QStringLiteral("45 º") << QStringLiteral("°") << true << 45.0;
    QTest::newRow("grados") << QStringLiteral("45 grados") << QStringLiteral("°") << true << 45.0;
    QTest::newRow("graus") << QStringLiteral("45 Graus") << QStringLiteral("°") << true << 45.0;
    QTest::newRow("hertz") << QStringLiteral("250 Hz") << QStringLiteral("Hz") << true << 250.0;
    QTest::newRow("hertz in capitals") << QStringLiteral("250HZ") << QStringLiteral("Hz") << true << 250.0;
    QTest::newRow("kilohertz") << QStringLiteral("1,25 kHz") << QStringLiteral("Hz") << true << 1250.0;
    QTest::newRow("millivolts") << QStringLiteral("-1500 mV") << QStringLiteral("V") << true << -1.5;
    QTest::newRow("seconds to ms") << QStringLiteral("0,004 s") << QStringLiteral("ms") << true << 4.0;
    QTest::newRow("microseconds to ms") << QStringLiteral("800 µs") << QStringLiteral("ms") << true << 0.8;
    QTest::newRow("ms") << QStringLiteral("4ms") << QStringLiteral("ms") << true << 4.0;
    QTest::newRow("ns") << QStringLiteral("18 ns") << QStringLiteral("ns") << true << 18.0;
    QTest::newRow("microseconds to ns") << QStringLiteral("0,018 µs") << QStringLiteral("ns") << true << 18.0;
    QTest::newRow("ns where ms is asked") << QStringLiteral("18 ns") << QStringLiteral("ms") << false << 0.0;

    QTest::newRow("empty") << QString() << QStringLiteral("°") << false << 0.0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("°") << false << 0.0;
    QTest::newRow("word") << QStringLiteral("cuarenta") << QStringLiteral("°") << false << 0.0;
    QTest::newRow("unit alone") << QStringLiteral("Hz") << QStringLiteral("Hz") << false << 0.0;
    QTest::newRow("two separators") << QStringLiteral("1,2.5") << QStringLiteral("V") << false << 0.0;
    QTest::newRow("two numbers") << QStringLiteral("45 60") << QStringLiteral("°") << false << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << QStringLiteral("Hz") << false << 0.0;
    QTest::newRow("another unit") << QStringLiteral("45 Hz") << QStringLiteral("°") << false << 0.0;
    QTest::newRow("unit where none is asked") << QStringLiteral("45°") << QString() << false << 0.0;
    QTest::newRow("megahertz") << QStringLiteral("1 MHz") << QStringLiteral("Hz") << false << 0.0;
    QTest::newRow("kiloseconds") << QStringLiteral("1 ks") << QStringLiteral("ms") << false << 0.0;
    QTest::newRow("not a number") << QStringLiteral("nan") << QString() << false << 0.0;
    QTest::newRow("infinity") << QStringLiteral("inf") << QString() << false << 0.0;
    QTest::newRow("infinity sign") << QStringLiteral("∞") << QString() << false << 0.0;
    QTest::newRow("huge paste of digits") << QString(100000, u'9') << QStringLiteral("Hz") << false << 0.0;
    QTest::newRow("huge paste of blanks round a number")
        << QString(5000, u' ') + QStringLiteral("45") + QString(5000, u' ') << QStringLiteral("°") << true
        << 45.0;
    QTest::newRow("number then a pasted page")
        << QStringLiteral("45 ") + QString(3000, u'x') << QStringLiteral("°") << false << 0.0;
}

void TestHm203Tasks::readsTypedNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, unit);
    QFETCH(bool, read);
    QFETCH(double, value);

    const std::optional<double> number
        = readTypedNumber(typed, unit.isEmpty() ? nullptr : reinterpret_cast<const char16_t *>(unit.utf16()));
    QCOMPARE(number.has_value(), read);
    if (read)
        QVERIFY2(std::abs(*number - value) <= 1e-9 * std::max(1.0, std::abs(value)),
            qPrintable(QString::number(*number)));
}

QTEST_GUILESS_MAIN(TestHm203Tasks)
#include "tst_hm203tasks.moc"
