#include "circuitbench.h"
#include "generatorpanel.h"
#include "hm203tasks.h"
#include "livepanel.h"
#include "panelcontrol.h"
#include "radiogroup.h"
#include "taskprediction.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using C = Hm203Control;

namespace {

/** The first task that asks before the student may look: 1 µs/div on a 1 kHz sine. */
int firstPrediction()
{
    const QList<Hm203Task> &tasks = hm203Tasks();
    for (int i = 0; i < tasks.size(); ++i)
        if (tasks.at(i).prediction)
            return i;
    return -1;
}

/** Where the right choice stands among those offered. */
int rightChoice(const TaskStrip *strip)
{
    const QList<PredictionChoice> &choices = strip->choices();
    for (int i = 0; i < choices.size(); ++i)
        if (choices.at(i).correct)
            return i;
    return -1;
}

/** A label whose wrapped text needs no more height than it has, so no line of it is cut off. */
bool fitsItsText(const QLabel *label)
{
    return label->heightForWidth(label->contentsRect().width()) <= label->contentsRect().height();
}

} // namespace

/** The tasks that ask first what the screen will show, as a student meets them in the window: the
 * question before the knob, the choice made with the keyboard, then the change and the look. */
class TestPredictWindow : public WindowSuite
{
    Q_OBJECT

private:
    Tosciloscopio *open()
    {
        menu("Osciloscopiovirtual1");
        Tosciloscopio *window = osciloscopio;
        window->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window)); }();
        return window;
    }
    LivePanel *panel() { return osciloscopio->panel; }
    PanelControlWidget *knob(C control) { return panel()->controlWidget(control); }
    /** Lets the pending display frame happen, so a picture shows the screen as it stands; a screen that
     * moves by itself (a trace its trigger cannot catch) always has its next frame coming. */
    void settle()
    {
        if (panel()->scope().screen().moving)
            QTest::qWait(100);
        else
            QTRY_VERIFY(!panel()->framePending());
    }
    /** Presses a control's key a number of times, as the student does on the focused knob. */
    void turn(C control, Qt::Key key, int times)
    {
        knob(control)->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(knob(control), key);
    }
    /** Moves the strip on to a task with Space on its Siguiente button. */
    void goTo(TaskStrip *strip, int task)
    {
        while (strip->taskIndex() < task) {
            strip->next()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(strip->next(), Qt::Key_Space);
        }
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

    void theQuestionComesBeforeTheKnob_data() { languages(); }
    void theQuestionComesBeforeTheKnob()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        const int task = firstPrediction();
        QVERIFY(task > 0);
        goTo(strip, task - 1);
        // The sweep left at its fastest by the task before: the question brings it back where it opens.
        turn(C::TimeDiv, Qt::Key_End, 1);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,5 µs/div"));
        goTo(strip, task);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,2 ms/div"));

        // The question, where the keyboard that pressed "Siguiente >" now is; its choices and no way yet
        // to the knob or the generator.
        const Hm203Task &asked = hm203Tasks().at(task);
        QVERIFY(strip->predicting());
        QCOMPARE(QApplication::focusWidget(), strip->goal());
        QCOMPARE(strip->goal()->text(),
            (castilian ? asked.prediction->question.castilian : asked.prediction->question.valencian));
        QCOMPARE(strip->verdict()->text(),
            castilian ? QStringLiteral("Primero elige tu predicción.")
                      : QStringLiteral("Primer tria la teua predicció."));
        QCOMPARE(strip->choices().size(), 3);
        for (int i = 0; i < strip->choices().size(); ++i) {
            QRadioButton *choice = strip->choiceButton(i);
            QVERIFY(choice->isVisible() && choice->isEnabled() && !choice->isChecked());
            QCOMPARE(choice->text(),
                castilian ? strip->choices().at(i).castilian : strip->choices().at(i).valencian);
            QCOMPARE(QAccessible::queryAccessibleInterface(choice)->text(QAccessible::Name), choice->text());
        }
        // Comprobar is there at once; pressed with nothing chosen, it asks for a choice.
        QVERIFY(strip->confirm()->isEnabled());
        QTest::mouseClick(strip->confirm(), Qt::LeftButton);
        QVERIFY(strip->predicting());
        const int before = knob(C::TimeDiv)->value();
        turn(C::TimeDiv, Qt::Key_Right, 3);
        PanelControlWidget *time = knob(C::TimeDiv);
        QTest::mouseClick(time, Qt::LeftButton, {}, QPoint(time->width() - 4, time->height() / 2));
        QCOMPARE(panel()->scope().value(C::TimeDiv), before);
        QVERIFY(QAccessible::queryAccessibleInterface(time)->state().disabled);
        QDoubleSpinBox *frequency = window->generador->frequency();
        QVERIFY(!frequency->isEnabled());
        QTest::keyClick(frequency, Qt::Key_Up);
        QCOMPARE(panel()->scope().generator().frequencyHz, 1000.0);
        settle();
        saveGrab(window, QStringLiteral("prediccion-abierta-") + suffix(castilian));

        // Back on the question, Tab goes on to the first choice, whose arrows choose as they move (Space
        // chooses the first). The right choice in Castilian, a wrong one in Valencian, so that both
        // verdicts are met.
        strip->goal()->setFocus(Qt::BacktabFocusReason);
        QTest::keyClick(strip->goal(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), strip->choiceButton(0));
        const int right = rightChoice(strip);
        const int picked = castilian ? right : (right + 1) % 3;
        if (picked == 0)
            QTest::keyClick(strip->choiceButton(0), Qt::Key_Space);
        for (int i = 0; i < picked; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), strip->choiceButton(picked));
        QVERIFY(strip->choiceButton(picked)->isChecked());
        QVERIFY(strip->predicting());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), strip->confirm());
        QTest::keyClick(strip->confirm(), Qt::Key_Space);
        // The focus goes to the next step, read out there, not to whatever button follows.
        QCOMPARE(QApplication::focusWidget(), strip->goal());

        // Confirmed: judged gently, the choices kept in sight with the chosen one marked, the knob free.
        QVERIFY(!strip->predicting());
        const QString word = castilian ? QStringLiteral("Has acertado.") : QStringLiteral("No és això");
        QTRY_VERIFY2(strip->verdict()->text().startsWith(word), qPrintable(strip->verdict()->text()));
        QCOMPARE(strip->goal()->text(), (castilian ? asked.goal.castilian : asked.goal.valencian));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(strip->choiceButton(i)->isVisible() && !strip->choiceButton(i)->isEnabled());
            QCOMPARE(strip->choiceButton(i)->isChecked(), i == picked);
        }
        QVERIFY(window->generador->isEnabled() && frequency->isEnabled());
        QVERIFY(!strip->isMet());
        // 0,2 ms/div to 1 µs/div: seven steps faster.
        turn(C::TimeDiv, Qt::Key_Right, 7);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("1 µs/div"));
        QTRY_VERIFY(strip->isMet());
        QVERIFY(strip->verdict()->text().startsWith(word.left(5)));
        QVERIFY(strip->verdict()->text().contains(QStringLiteral("10 µs")));
        QVERIFY(fitsItsText(strip->verdict()));
        settle();
        saveGrab(window, QStringLiteral("prediccion-vista-") + suffix(castilian));
    }

    void leavingAnOpenQuestionFreesTheInstrument()
    {
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        const int task = firstPrediction();
        goTo(strip, task);
        QVERIFY(panel()->controlsLocked());
        // On to the next task without a prediction: everything moves again.
        goTo(strip, task + 1);
        QVERIFY(!hm203Tasks().at(task + 1).prediction);
        QVERIFY(!panel()->controlsLocked() && window->generador->isEnabled());
        QVERIFY(knob(C::VoltsDivI)->isEnabled());
        turn(C::VoltsDivI, Qt::Key_Left, 1);
        QCOMPARE(panel()->scope().valueText(C::VoltsDivI, Language::Castilian), QStringLiteral("2 V/div"));
        // Back to it: the question is open again, nothing picked.
        QTest::mouseClick(strip->previous(), Qt::LeftButton);
        QCOMPARE(strip->taskIndex(), task);
        QVERIFY(strip->predicting() && panel()->controlsLocked());
        for (int i = 0; i < strip->choices().size(); ++i)
            QVERIFY(!strip->choiceButton(i)->isChecked());
        // A click on a choice and on Comprobar serve as well as the keys.
        QTest::mouseClick(
            strip->choiceButton(1), Qt::LeftButton, {}, QPoint(6, strip->choiceButton(1)->height() / 2));
        QVERIFY(strip->confirm()->isEnabled());
        QTest::mouseClick(strip->confirm(), Qt::LeftButton);
        QVERIFY(!strip->predicting() && !panel()->controlsLocked());
    }

    void everyQuestionFitsTheStrip_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("task");
        for (int i = 0; i < hm203Tasks().size(); ++i) {
            if (!hm203Tasks().at(i).prediction)
                continue;
            QTest::addRow("task %d castellano", i + 1) << true << i;
            QTest::addRow("task %d valencià", i + 1) << false << i;
        }
    }
    void everyQuestionFitsTheStrip()
    {
        // The strip holds the question, its choices and the longest verdict in either language, no line
        // cut off and no button pushed out of it.
        QFETCH(bool, castilian);
        QFETCH(int, task);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        goTo(strip, task);
        QVERIFY(strip->predicting());
        const auto fits = [strip] {
            for (QWidget *piece :
                std::initializer_list<QWidget *> { strip->next(), strip->confirm(), strip->verdict() })
                if (!strip->rect().contains(piece->geometry()))
                    return false;
            for (int i = 0; i < strip->choices().size(); ++i) {
                const QRadioButton *choice = strip->choiceButton(i);
                if (choice->sizeHint().width() > choice->width()
                    || choice->sizeHint().height() > choice->height())
                    return false;
            }
            return fitsItsText(strip->goal()) && fitsItsText(strip->verdict());
        };
        QVERIFY(fits());
        settle();
        saveGrab(window, QStringLiteral("prediccion-%1-%2").arg(task + 1).arg(suffix(castilian)));
        // The right choice's instrument, set as the student would set it, the controls through their own
        // widgets and the probe on the generator: met, and explained.
        const int right = rightChoice(strip);
        QTest::mouseClick(strip->choiceButton(right), Qt::LeftButton, {},
            QPoint(6, strip->choiceButton(right)->height() / 2));
        QTest::mouseClick(strip->confirm(), Qt::LeftButton);
        const Hm203 &pictured = strip->choices().at(right).pictured;
        GeneratorSettings prepared = pictured.generator();
        prepared.probeI = panel()->scope().generator().probeI;
        window->generador->setSettings(prepared);
        panel()->setGenerator(prepared);
        // A circuit on the inputs reaches the screen once the bench has simulated it.
        window->banco->follow(prepared);
        window->generador->probe(false)->setItemIndex(int(pictured.generator().probeI));
        QVERIFY(panel()->scope().generator() == pictured.generator());
        for (const Hm203ControlInfo &info : hm203Controls())
            knob(info.id)->setValue(pictured.value(info.id));
        QTRY_VERIFY_WITH_TIMEOUT(strip->isMet(), 30000);
        QVERIFY2(fits(), qPrintable(strip->verdict()->text()));
        settle();
        saveGrab(window, QStringLiteral("prediccion-%1-vista-%2").arg(task + 1).arg(suffix(castilian)));
    }
};

QTEST_MAIN(TestPredictWindow)
#include "tst_predictwindow.moc"
