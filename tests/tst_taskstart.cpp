// The task strip walked as a student walks it: each task opens on a known panel whatever the one before
// left, nothing is met before the student does something, a measurement is not given away by the words or
// the readout, and the strip ends with what was met.
#include "circuit.h"
#include "generatorpanel.h"
#include "livepanel.h"
#include "panelcontrol.h"
#include "radiogroup.h"
#include "screenface.h"
#include "screennote.h"
#include "taskmetstates.h"
#include "taskprediction.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using C = Hm203Control;

namespace {

/** A number followed by a unit of volts, seconds or hertz: a value worked out from the divisions. */
bool saysAValue(const QString &text)
{
    static const QRegularExpression value(QStringLiteral("\\d ?(µ|m|k)?(V|s|Hz)\\b"));
    return value.match(text).hasMatch();
}

} // namespace

class TestTaskStart : public WindowSuite
{
    Q_OBJECT

private:
    Tosciloscopio *open()
    {
        menu("Osciloscopiovirtual1");
        return osciloscopio;
    }
    LivePanel *panel() { return osciloscopio->panel; }
    TaskStrip *strip() { return osciloscopio->tarea; }
    PanelControlWidget *knob(C control) { return panel()->controlWidget(control); }
    /** Draws the display frame now, so that the strip judges what the panel shows. */
    void settle()
    {
        panel()->advanceFrame();
        QCoreApplication::processEvents();
    }
    /** On with Siguiente to a task. */
    void goTo(int task)
    {
        while (strip()->taskIndex() < task)
            QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QCOMPARE(strip()->taskIndex(), task);
    }
    /** A question open in the strip is answered with its first choice, so the panel can be worked. */
    void answerTheQuestion()
    {
        if (!strip()->predicting())
            return;
        QTest::mouseClick(
            strip()->choiceButton(0), Qt::LeftButton, {}, QPoint(6, strip()->choiceButton(0)->height() / 2));
        QTest::mouseClick(strip()->confirm(), Qt::LeftButton);
        QVERIFY(!strip()->predicting());
    }
    /**
     * Brings the bench to the state a setup reaches on a copy of the instrument, as the student does: each
     * control that differs through its own widget, the generator through its boxes.
     */
    void reach(Setup setup)
    {
        Hm203 wanted = panel()->scope();
        QVERIFY2(setup(wanted), "the setting could not be reached with the controls");
        for (const Hm203ControlInfo &info : hm203Controls())
            if (wanted.value(info.id) != panel()->scope().value(info.id))
                knob(info.id)->setValue(wanted.value(info.id));
        const GeneratorSettings &g = wanted.generator();
        GeneratorPanel *generator = osciloscopio->generador;
        if (g.probeI != panel()->scope().generator().probeI)
            generator->probe(false)->setItemIndex(int(g.probeI));
        if (g.compensationI != panel()->scope().generator().compensationI)
            generator->compensation(false)->setValue(g.compensationI);
        if (g.circuit != panel()->scope().generator().circuit) {
            // The bench's circuits follow the four fixed hookups in the list, by their names.
            const Circuit *circuit = benchCircuit(g.circuit);
            QVERIFY(circuit);
            chooseByKeys(generator->hookup(),
                generator->hookup()->findText(circuit->name.in(ProgramLanguage::current())));
        }
        if (g.frequencyHz != panel()->scope().generator().frequencyHz)
            generator->frequency()->setValue(g.frequencyHz);
        if (g.frequencyIIHz != panel()->scope().generator().frequencyIIHz)
            generator->frequencyII()->setValue(g.frequencyIIHz);
        QVERIFY(panel()->scope().generator() == g);
        for (const Hm203ControlInfo &info : hm203Controls())
            QCOMPARE(panel()->scope().value(info.id), wanted.value(info.id));
    }
    /** The strip's own judge on the bench as it stands, the student's doing or not. */
    bool judgedMet(int task)
    {
        return judgeTask(hm203Tasks().at(task), panel()->scope(), panel()->moment(), std::nullopt).met;
    }

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void cleanupTestCase() { endSuite(); }
    void init() { startCase(); }
    void cleanup()
    {
        if (osciloscopio)
            osciloscopio->close();
    }

    void everyTaskKeepsOnlyWhatItIsAbout()
    {
        // A task opens on the instrument as it opens, but for the controls it is about; a question's asked
        // controls go back too, and POWER is never the student's to keep off.
        for (const Hm203Task &task : hm203Tasks()) {
            const QString goal = task.goal.castilian;
            const QList<Hm203Control> kept = keptControls(task);
            const QList<Hm203Control> reset = startingControls(task);
            QCOMPARE(kept.size() + reset.size(), kHm203ControlCount);
            for (Hm203Control control : kept) {
                QVERIFY2(task.about.contains(control) && !reset.contains(control), qPrintable(goal));
                QVERIFY2(!task.prediction || !task.prediction->asked.contains(control), qPrintable(goal));
            }
            // The tester goes back off, but for a task that keeps it where the student has it.
            QVERIFY2(reset.contains(Hm203Control::Power)
                    && reset.contains(Hm203Control::Tester) != kept.contains(Hm203Control::Tester),
                qPrintable(goal));
            if (task.prediction)
                for (Hm203Control control : task.prediction->asked)
                    QVERIFY2(reset.contains(control), qPrintable(goal));
        }
        // A goal that names a control by its printed name is about it.
        for (const Hm203Task &task : hm203Tasks())
            for (Hm203Control control : { Hm203Control::TimeDiv, Hm203Control::HoldOff, Hm203Control::AtNorm,
                     Hm203Control::XMagnifier, Hm203Control::YPositionI, Hm203Control::InvertII })
                if (task.goal.castilian.contains(QString::fromUtf16(controlInfo(control).label))
                    && !task.prediction)
                    QVERIFY2(task.about.contains(control), qPrintable(task.goal.castilian));
    }

    void theInvertedPhaseIsPraisedForWhatItIs()
    {
        // With INV II the ellipse leans as for 180° − 45°; the right answer, the outputs' 45°, is praised as
        // such in both languages, and the reading as the ellipse leans is told how INV II turned it.
        const Hm203Task &task = hm203Tasks().at(PhaseXY);
        Hm203 scope = startedTask(PhaseXY, 0);
        QVERIFY(setMode(scope, DisplayMode::XY) && press(scope, Hm203Control::InvertII));
        const TaskVerdict right = task.judge(scope, 45.0);
        QVERIFY(right.met);
        QVERIFY2(right.castilian.contains(QStringLiteral("hay 45°")), qPrintable(right.castilian));
        QVERIFY2(right.valencian.contains(QStringLiteral("hi ha 45°")), qPrintable(right.valencian));
        QVERIFY(right.castilian.contains(QStringLiteral("135°"))
            && right.valencian.contains(QStringLiteral("135°")));
        const TaskVerdict shown = task.judge(scope, 135.0);
        QVERIFY(!shown.met);
        for (const QString &said : { shown.castilian, shown.valencian }) {
            QVERIFY2(said.contains(QStringLiteral("INV II")) && said.contains(QStringLiteral("180°")),
                qPrintable(said));
            QVERIFY2(!said.contains(QStringLiteral("45")), qPrintable(said));
        }
    }

    void everyTaskStartsFromAKnownPanel_data() { languages(); }
    void everyTaskStartsFromAKnownPanel()
    {
        // Each task left met, as a student leaves it, then Siguiente: the next opens with every control it
        // is not about where the instrument opens, says so, and is not met.
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        const QList<Hm203Task> &tasks = hm203Tasks();
        QList<int> unanswered;
        for (int i = 0; i < tasks.size(); ++i) {
            const Hm203Task &task = tasks.at(i);
            const QList<C> kept = keptControls(task);
            QHash<int, int> left;
            for (C control : kept)
                left.insert(int(control), panel()->scope().value(control));
            QTest::mouseClick(strip()->next(), Qt::LeftButton);
            QCOMPARE(strip()->taskIndex(), i);
            const QByteArray tag = QByteArrayLiteral("task ") + QByteArray::number(i + 1);
            for (const Hm203ControlInfo &info : hm203Controls()) {
                const int expected = kept.contains(info.id) ? left.value(int(info.id)) : info.initial;
                QVERIFY2(panel()->scope().value(info.id) == expected,
                    tag + ' ' + QString::fromUtf16(info.label).toUtf8());
            }
            const QString line = strip()->start()->accessibleName();
            QCOMPARE(QString(strip()->start()->text()).replace(QChar(0x2011), u'-'), line);
            QVERIFY2(line.startsWith(castilian ? QStringLiteral("Panel en su estado inicial")
                                               : QStringLiteral("Panell en el seu estat inicial")),
                qPrintable(line));
            QCOMPARE(line.contains(castilian ? QStringLiteral(", salvo ") : QStringLiteral(", excepte ")),
                !kept.isEmpty());
            for (C control : kept)
                QVERIFY2(line.contains(QString::fromUtf16(controlInfo(control).label)), qPrintable(line));
            settle();
            QVERIFY2(!judgedMet(i), tag);
            QVERIFY2(!strip()->isMet(), tag);

            answerTheQuestion();
            reach(kMetStates[i].setup);
            if (!task.answerUnit.isEmpty())
                unanswered << i + 1;
            else
                QTRY_VERIFY2(strip()->isMet(), qPrintable(strip()->verdict()->text()));
        }
        // After the last, the summary: the measurements were left unanswered.
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QVERIFY(strip()->summarising());
        QVERIFY(!strip()->next()->isEnabled() && strip()->previous()->isEnabled());
        const QString summary = strip()->goal()->text();
        QVERIFY2(summary.contains(
                     QStringLiteral("%1 de %2").arg(tasks.size() - unanswered.size()).arg(tasks.size())),
            qPrintable(summary));
        for (int number : unanswered)
            QVERIFY2(summary.contains(QString::number(number)), qPrintable(summary));
        saveGrab(osciloscopio, QStringLiteral("osciloscopio-resumen-") + suffix(castilian));
    }

    void theStartLineNamesWhatIsLeft_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("task");
        QTest::addColumn<QString>("line");
        // Castilian joins a name said with an /i/ with "e", as the goals do ("ADD e INV II").
        QTest::newRow("question") << true << int(PredictSweep)
                                  << QStringLiteral("Panel en su estado inicial.");
        QTest::newRow("qüestió") << false << int(PredictSweep)
                                 << QStringLiteral("Panell en el seu estat inicial.");
        QTest::newRow("one") << true << int(BottomLine)
                             << QStringLiteral("Panel en su estado inicial, salvo Y-POS I.");
        QTest::newRow("ADD e INV II")
            << true << int(Difference) << QStringLiteral("Panel en su estado inicial, salvo ADD e INV II.");
        QTest::newRow("ADD i INV II")
            << false << int(Difference)
            << QStringLiteral("Panell en el seu estat inicial, excepte ADD i INV II.");
        QTest::newRow("three") << true << int(Dual)
                               << QStringLiteral(
                                      "Panel en su estado inicial, salvo DUAL, Y-POS I e Y-POS II.");
        QTest::newRow("y before X") << true << int(FallingStart)
                                    << QStringLiteral("Panel en su estado inicial, salvo SLOPE y LEVEL.");
        // "TRIG." ends the sentence with its own full stop.
        QTest::newRow("TRIG.") << true << int(Hum)
                               << QStringLiteral("Panel en su estado inicial, salvo TRIG.");
        QTest::newRow("TRIG. va") << false << int(Noise)
                                  << QStringLiteral("Panell en el seu estat inicial, excepte TRIG.");
    }
    void theStartLineNamesWhatIsLeft()
    {
        QFETCH(bool, castilian);
        QFETCH(int, task);
        QFETCH(QString, line);
        setLanguage(castilian);
        open();
        goTo(task);
        QCOMPARE(strip()->start()->accessibleName(), line);
    }

    void whatATaskLeftIsPutBack_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<Setup>("left");
        QTest::addColumn<int>("control");
        // Each the fault a student met: a control the task before left where it meets or spoils this one.
        QTest::newRow("task 3 after 1 µs/div")
            << int(TwoPeriods) << Setup([](Hm203 &s) { return setTime(s, 1e-6); }) << int(C::TimeDiv);
        QTest::newRow("task 5 after 0,5 V/div")
            << int(BottomLine) << Setup([](Hm203 &s) { return setVolts(s, false, 0.5); })
            << int(C::VoltsDivI);
        QTest::newRow("task 8 after LEVEL at +1,5 div")
            << int(PredictAc) << Setup([](Hm203 &s) { return setLevel(s, 1.5); }) << int(C::Level);
        QTest::newRow("task 16 after INV II") << int(PhaseXY) << Setup([](Hm203 &s) {
            return setMode(s, DisplayMode::Add) && press(s, C::InvertII);
        }) << int(C::InvertII);
        QTest::newRow("task 23 after X-MAG") << int(Bandwidth) << Setup(fastestSweep) << int(C::XMagnifier);
        QTest::newRow("task 27 after 0,5 V/div") << int(SmallSignal) << Setup([](Hm203 &s) {
            return setVolts(s, false, 0.5) && setHoldOff(s, 50);
        }) << int(C::VoltsDivI);
    }
    void whatATaskLeftIsPutBack()
    {
        QFETCH(int, task);
        QFETCH(Setup, left);
        QFETCH(int, control);
        open();
        goTo(task - 1);
        answerTheQuestion();
        reach(left);
        QVERIFY(panel()->scope().value(C(control)) != controlInfo(C(control)).initial);
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QCOMPARE(panel()->scope().value(C(control)), controlInfo(C(control)).initial);
        settle();
        QVERIFY(!judgedMet(task) && !strip()->isMet());
    }

    void aSmallSignalIsMetOnlyByTheSensitivity()
    {
        // Task 27 after 0,5 V/div: NORM leaves the face dark at 1 V/div until the student turns VOLTS/DIV I.
        open();
        goTo(SmallSignal - 1);
        reach([](Hm203 &s) { return setVolts(s, false, 0.5); });
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        PanelControlWidget *norm = knob(C::AtNorm);
        QTest::mouseClick(norm, Qt::LeftButton, {}, norm->rect().center());
        settle();
        QVERIFY(!strip()->isMet());
        QVERIFY2(strip()->verdict()->text().contains(QStringLiteral("VOLTS/DIV")),
            qPrintable(strip()->verdict()->text()));
        knob(C::VoltsDivI)->setFocus();
        QTest::keyClick(knob(C::VoltsDivI), Qt::Key_Right);
        QCOMPARE(panel()->scope().valueText(C::VoltsDivI, Language::Castilian), QStringLiteral("0,5 V/div"));
        QTRY_VERIFY2(strip()->isMet(), qPrintable(strip()->verdict()->text()));
    }

    void thePhaseWithInvIIIsTheOutputs_data() { languages(); }
    void thePhaseWithInvIIIsTheOutputs()
    {
        // Task 16: the outputs' phase, typed with INV II pressed, is right and praised for what it is.
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        goTo(PhaseXY);
        for (C button : { C::XY, C::InvertII })
            QTest::mouseClick(knob(button), Qt::LeftButton, {}, knob(button)->rect().center());
        const double phase = std::abs(panel()->scope().generator().phaseIIDegrees);
        strip()->answer()->setText(QString::number(phase));
        settle();
        QTRY_VERIFY2(strip()->isMet(), qPrintable(strip()->verdict()->text()));
        QVERIFY(strip()->verdict()->text().contains(QStringLiteral("180° − %1°").arg(phase)));
        strip()->answer()->setText(QString::number(180.0 - phase));
        QTRY_VERIFY(!strip()->isMet());
        QVERIFY(strip()->verdict()->text().contains(QStringLiteral("INV II")));
    }

    void aTaskMetOnArrivalWaitsForTheStudent_data() { languages(); }
    void aTaskMetOnArrivalWaitsForTheStudent()
    {
        // 0,5 V/div set while measuring a DC level is what the calibrator's task asks for, and VOLTS/DIV I is
        // that task's own control: the panel meets it, but the student has not done it yet.
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        goTo(DcLevel);
        knob(C::VoltsDivI)->setFocus();
        QTest::keyClick(knob(C::VoltsDivI), Qt::Key_Right);
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QCOMPARE(strip()->taskIndex(), int(Calibrator));
        QCOMPARE(panel()->scope().valueText(C::VoltsDivI, Language::Castilian), QStringLiteral("0,5 V/div"));
        settle();
        QVERIFY(judgedMet(Calibrator));
        QVERIFY(!strip()->isMet());
        QVERIFY2(strip()->verdict()->text().contains(
                     castilian ? QStringLiteral("ya se cumple") : QStringLiteral("ja es complix")),
            qPrintable(strip()->verdict()->text()));
        // The student turns the switch away and back: now it is theirs.
        QTest::keyClick(knob(C::VoltsDivI), Qt::Key_Left);
        QTRY_VERIFY(!judgedMet(Calibrator));
        QTest::keyClick(knob(C::VoltsDivI), Qt::Key_Right);
        QTRY_VERIFY2(strip()->isMet(), qPrintable(strip()->verdict()->text()));
    }

    void aMeasurementIsNotGivenAway_data() { languages(); }
    void aMeasurementIsNotGivenAway()
    {
        // Measuring through the ×10 probe: until the right answer is in, the words and the readout keep to
        // divisions and switch positions; then the volts, at the tip too, come back.
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        ScreenNote *note = osciloscopio->nota;
        QLabel *readout = osciloscopio->lectura;
        const QString tip = castilian ? QStringLiteral("en la punta") : QStringLiteral("a la punta");
        goTo(ProbeVoltage);
        QVERIFY(strip()->withholdsReadings());
        QVERIFY2(!readout->text().contains(tip), qPrintable(readout->text()));
        QTest::mouseClick(note->describe(), Qt::LeftButton);
        QTest::mouseClick(note->why(), Qt::LeftButton);
        settle();
        QTRY_VERIFY(note->text()->text().contains(QStringLiteral(" div ")));
        QVERIFY2(!saysAValue(note->text()->text()), qPrintable(note->text()->text()));
        QVERIFY(!saysAValue(panel()->screenDescription(rowLanguage(castilian))));
        QVERIFY(!saysAValue(panel()->screenFace()->description()));

        const double vpp = panel()->scope().generator().amplitudeIVpp;
        strip()->answer()->setText(formatDecimal(vpp, TaskJudging::kAsTyped));
        QTRY_VERIFY2(strip()->isMet(), qPrintable(strip()->verdict()->text()));
        QVERIFY(!strip()->withholdsReadings());
        QTRY_VERIFY2(note->text()->text().contains(tip), qPrintable(note->text()->text()));
        QVERIFY2(readout->text().contains(tip), qPrintable(readout->text()));

        // The next measurement holds its values back again; a setting task gives them.
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QVERIFY(strip()->withholdsReadings());
        settle();
        QTRY_VERIFY(!saysAValue(note->text()->text()));
        QVERIFY(!readout->text().contains(tip));
        QTest::mouseClick(strip()->next(), Qt::LeftButton);
        QVERIFY(!strip()->withholdsReadings());
        QTRY_VERIFY2(saysAValue(note->text()->text()), qPrintable(note->text()->text()));
        QVERIFY2(readout->text().contains(tip), qPrintable(readout->text()));
    }

    void theSummaryNamesWhatIsLeft_data() { languages(); }
    void theSummaryNamesWhatIsLeft()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        goTo(TimeBase);
        knob(C::TimeDiv)->setFocus();
        QTest::keyClick(knob(C::TimeDiv), Qt::Key_Left);
        QTest::keyClick(knob(C::TimeDiv), Qt::Key_Left);
        QTRY_VERIFY(strip()->isMet());
        const int total = int(hm203Tasks().size());
        goTo(total);
        QVERIFY(strip()->summarising());
        QCOMPARE(strip()->title()->text(), castilian ? QStringLiteral("Resumen") : QStringLiteral("Resum"));
        const QString summary = strip()->goal()->text();
        QVERIFY2(summary.startsWith(
                     (castilian ? QStringLiteral("Has cumplido 1 de %1 tareas. Sin cumplir: 2, 3, ")
                                : QStringLiteral("Has complit 1 de %1 tasques. Sense complir: 2, 3, "))
                         .arg(total)),
            qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("%1 %2 %3.")
                                      .arg(total - 1)
                                      .arg(castilian ? QStringLiteral("y") : QStringLiteral("i"))
                                      .arg(total)),
            qPrintable(summary));
        // Screen readers are told the summary as they are told a goal: with its title.
        QCOMPARE(QAccessible::queryAccessibleInterface(strip()->goal())->text(QAccessible::Name), summary);
        QCOMPARE(strip()->untold(),
            (castilian ? QStringLiteral("Resumen. ") : QStringLiteral("Resum. ")) + summary);
        QCOMPARE(strip()->untold(), QString());
        QVERIFY(strip()->verdict()->text().isEmpty() && strip()->start()->accessibleName().isEmpty());
        QVERIFY(!panel()->controlsLocked() && !strip()->withholdsReadings());
        QTest::mouseClick(strip()->previous(), Qt::LeftButton);
        QCOMPARE(strip()->taskIndex(), total - 1);
    }

    void theTypedAnswerIsEchoedAsTyped_data() { languages(); }
    void theTypedAnswerIsEchoedAsTyped()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        goTo(Frequency);
        strip()->answer()->setText(QStringLiteral("1000 kHz"));
        QTRY_VERIFY(strip()->verdict()->text().contains(QStringLiteral("1000000 Hz")));
        QVERIFY2(!strip()->verdict()->text().contains(QStringLiteral("e+")),
            qPrintable(strip()->verdict()->text()));
    }
};

QTEST_MAIN(TestTaskStart)
#include "tst_taskstart.moc"
