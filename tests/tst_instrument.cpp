#include "benchnews.h"
#include "frontpanellayout.h"
#include "generatorpanel.h"
#include "hm203tasks.h"
#include "livepanel.h"
#include "panelcontrol.h"
#include "radiogroup.h"
#include "screenface.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <QWheelEvent>

using C = Hm203Control;

/** The virtual oscilloscope as a student works it: with the mouse, the keyboard and a screen reader. */
class TestInstrument : public WindowSuite
{
    Q_OBJECT

private:
    Tosciloscopio *open()
    {
        menu("Osciloscopiovirtual1");
        return osciloscopio;
    }
    LivePanel *panel() { return osciloscopio->panel; }
    PanelControlWidget *knob(C control) { return panel()->controlWidget(control); }
    /** Lets the pending display frame happen. */
    void settle() { QTRY_VERIFY(!panel()->framePending()); }
    /** How many pixels of an area the phosphor lights. */
    static int litPixels(const QImage &image, const QRect &area)
    {
        int lit = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (isPhosphorLit(image.pixel(x, y)))
                    ++lit;
        return lit;
    }

    /** How many rows the lit part of the screen spans. */
    static int litHeight(const QImage &image, const QRect &area)
    {
        int top = area.bottom() + 1;
        int bottom = area.top() - 1;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (isPhosphorLit(image.pixel(x, y))) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return std::max(0, bottom - top + 1);
    }

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void cleanupTestCase() { endSuite(); }
    void init() { startCase(); }

    void opensReadyInEitherLanguage_data() { languages(); }
    void opensReadyInEitherLanguage()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        QCOMPARE(fichaprincipal->menuItem(QStringLiteral("Osciloscopiovirtual1"))->text(),
            castilian ? QStringLiteral("Osciloscopio virtual") : QStringLiteral("Oscil·loscopi virtual"));
        Tosciloscopio *window = open();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(),
            castilian ? QStringLiteral("Osciloscopio virtual") : QStringLiteral("Oscil·loscopi virtual"));
        // Switched on, a 1 kHz sine on CH I, AT, triggered and steady.
        const Hm203 &scope = window->panel->scope();
        QVERIFY(scope.isPressed(C::Power));
        QCOMPARE(scope.signalI().frequencyHz, 1000.0);
        QCOMPARE(scope.signalI().waveform, Waveform::Sine);
        const LiveScreen &live = window->panel->liveScreen();
        QVERIFY(live.traces.triggered);
        QCOMPARE(live.traces.traces.size(), 1);
        QVERIFY(!live.moving);
        QVERIFY(live.brightness > 0.5);
        // The task strip offers its tasks without touching the instrument yet.
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("title"))->text(),
            castilian ? QStringLiteral("Tareas") : QStringLiteral("Tasques"));
        QVERIFY(window->tarea->goal()->text().contains(
            castilian ? QStringLiteral("Siguiente") : QStringLiteral("Següent")));
        QVERIFY(!window->tarea->previous()->isEnabled());
        saveGrab(window, QStringLiteral("osciloscopio-") + suffix(castilian));
        window->close();
    }

    void mouseWorksEveryKindOfControl()
    {
        open();
        // A push button: in with one click, out with the next.
        PanelControlWidget *dual = knob(C::Dual);
        QTest::mouseClick(dual, Qt::LeftButton, {}, dual->rect().center());
        QVERIFY(panel()->scope().isPressed(C::Dual));
        settle();
        QCOMPARE(panel()->liveScreen().traces.traces.size(), 2);
        QTest::mouseClick(dual, Qt::LeftButton, {}, dual->rect().center());
        QVERIFY(!panel()->scope().isPressed(C::Dual));
        // A step switch: a click on its right half turns it a step clockwise, on its left half back.
        PanelControlWidget *time = knob(C::TimeDiv);
        const int start = time->value();
        QTest::mouseClick(time, Qt::LeftButton, {}, QPoint(time->width() - 4, time->height() / 2));
        QCOMPARE(panel()->scope().value(C::TimeDiv), start + 1);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,1 ms/div"));
        QTest::mouseClick(time, Qt::LeftButton, {}, QPoint(4, time->height() / 2));
        QCOMPARE(panel()->scope().value(C::TimeDiv), start);
        // Dragged round its centre, a quarter turn clockwise moves it several steps.
        const QPoint top(time->width() / 2, 3);
        const QPoint right(time->width() - 3, time->height() / 2);
        QTest::mousePress(time, Qt::LeftButton, {}, top);
        QTest::mouseMove(time, QPoint(time->width() * 3 / 4, 8));
        QTest::mouseMove(time, right);
        QTest::mouseRelease(time, Qt::LeftButton, {}, right);
        QVERIFY2(time->value() >= start + 4, qPrintable(QString::number(time->value())));
        // The CAL knob sits inside TIME/DIV and turns on its own.
        QCOMPARE(panel()->childAt(time->geometry().center()), knob(C::TimeCal));
        // The wheel turns a knob.
        PanelControlWidget *level = knob(C::Level);
        QWheelEvent up(QPointF(level->rect().center()), level->mapToGlobal(QPointF(level->rect().center())),
            {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(level, &up);
        QVERIFY(panel()->scope().value(C::Level) > 0);
        // The slide switch follows the pointer to its lowest position.
        PanelControlWidget *trigger = knob(C::TriggerCoupling);
        QTest::mouseClick(trigger, Qt::LeftButton, {}, QPoint(trigger->width() / 2, trigger->height() - 2));
        QCOMPARE(
            panel()->scope().valueText(C::TriggerCoupling, Language::Castilian), QStringLiteral("~ (red)"));
        osciloscopio->close();
    }

    void everyControlHasItsPlaceOnThePanel_data()
    {
        QTest::addColumn<int>("control");
        for (const Hm203ControlInfo &info : hm203Controls())
            QTest::newRow(info.panelName) << int(info.id);
    }
    void everyControlHasItsPlaceOnThePanel()
    {
        // Each control of the instrument lies over the part the panel draws for it, so that a click on
        // the drawing reaches it; a CAL knob lies within its switch.
        QFETCH(int, control);
        open();
        const Hm203ControlInfo &info = controlInfo(C(control));
        PanelControlWidget *widget = knob(C(control));
        QVERIFY(widget);
        const FrontPanelModel drawn = frontPanelLayout();
        const PanelControl *part = drawn.control(QLatin1String(info.panelName));
        QVERIFY(part);
        const double scale = double(panel()->width()) / drawn.size.width();
        const QRectF where(part->rect.topLeft() * scale, part->rect.size() * scale);
        QVERIFY2(
            QRectF(widget->geometry()).adjusted(-1, -1, 1, 1).contains(where), qPrintable(info.panelName));
        QVERIFY(widget->isVisible());
        // A switch that carries a CAL knob is reached on its ring, outside the knob.
        const QPoint ring = widget->geometry().center() + QPoint(widget->width() * 2 / 5, 0);
        const bool carriesCal = info.style == ControlStyle::Switch && part->kind == ControlKind::RotarySwitch;
        QCOMPARE(panel()->childAt(carriesCal ? ring : widget->geometry().center()), widget);
    }

    void keyboardReachesAndWorksEveryControl()
    {
        Tosciloscopio *window = open();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        knob(C::Power)->setFocus(Qt::TabFocusReason);
        // Tab walks the controls in the panel's order.
        QList<C> reached { C::Power };
        for (int i = 1; i < kHm203ControlCount; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto *control = qobject_cast<PanelControlWidget *>(QApplication::focusWidget());
            QVERIFY2(control, "Tab stays on the panel until its last control");
            reached << control->control();
        }
        for (int i = 0; i < kHm203ControlCount; ++i)
            QCOMPARE(int(reached.at(i)), i);
        // Arrows turn, Page turns further, Home and End reach the ends; Space presses a button.
        PanelControlWidget *time = knob(C::TimeDiv);
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Right);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,1 ms/div"));
        QTest::keyClick(time, Qt::Key_Left);
        QTest::keyClick(time, Qt::Key_Left);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,5 ms/div"));
        QTest::keyClick(time, Qt::Key_End);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("0,5 µs/div"));
        PanelControlWidget *trigger = knob(C::TriggerCoupling);
        trigger->setFocus();
        QTest::keyClick(trigger, Qt::Key_Down);
        QCOMPARE(panel()->scope().valueText(C::TriggerCoupling, Language::Castilian), QStringLiteral("DC"));
        PanelControlWidget *xy = knob(C::XY);
        xy->setFocus();
        QTest::keyClick(xy, Qt::Key_Space);
        QVERIFY(panel()->scope().isPressed(C::XY));
        QTest::keyClick(xy, Qt::Key_Right); // a button does not turn
        QCOMPARE(xy->value(), 1);
        QTest::keyClick(xy, Qt::Key_Space);
        QVERIFY(!panel()->scope().isPressed(C::XY));
        window->close();
    }

    void screenReadersMeetNamesAndValues_data() { languages(); }
    void screenReadersMeetNamesAndValues()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        for (PanelControlWidget *control : panel()->controlWidgets()) {
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(control);
            QVERIFY(reader);
            QCOMPARE(reader->text(QAccessible::Name), QString::fromUtf16(control->info().label));
            // Screen readers get the reading in words; the tooltip keeps it as the panel writes it.
            QCOMPARE(reader->text(QAccessible::Value),
                panel()->scope().spokenValueText(control->control(), rowLanguage(castilian)));
            QCOMPARE(control->toolTip(),
                control->label() + QStringLiteral(": ")
                    + panel()->scope().valueText(control->control(), rowLanguage(castilian)));
            // A button only in or out is a check box; one whose positions have names reads them as a
            // spin button does.
            QVERIFY(reader->text(QAccessible::Description).isEmpty());
            if (control->isOnOff()) {
                QVERIFY(control->isButton());
                QCOMPARE(reader->role(), QAccessible::CheckBox);
                QVERIFY(reader->state().checkable);
                QCOMPARE(reader->state().checked, control->value() != 0);
                QVERIFY(!reader->valueInterface());
            } else {
                QCOMPARE(reader->role(), QAccessible::SpinBox);
                QVERIFY(reader->textInterface());
                QCOMPARE(reader->textInterface()->text(0, -1), reader->text(QAccessible::Value));
                QAccessibleValueInterface *value = reader->valueInterface();
                QVERIFY(value);
                QCOMPARE(value->minimumValue().toInt(), control->info().minimum);
                QCOMPARE(value->maximumValue().toInt(), control->info().maximum);
                QCOMPARE(value->currentValue().toInt(), control->value());
            }
        }
        QAccessibleInterface *time = QAccessible::queryAccessibleInterface(knob(C::TimeDiv));
        QCOMPARE(time->text(QAccessible::Name) + QStringLiteral(", ") + time->text(QAccessible::Value),
            castilian ? QString::fromUtf16(u"TIME/DIV, 0,2 milisegundos por división")
                      : QString::fromUtf16(u"TIME/DIV, 0,2 mil·lisegons per divisió"));
        time->valueInterface()->setCurrentValue(Hm203::timeDivPosition(1e-3));
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("1 ms/div"));
        QAccessibleInterface *dual = QAccessible::queryAccessibleInterface(knob(C::Dual));
        dual->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(dual->state().checked);
        // Only in or out, DUAL says it by its checked state alone.
        QCOMPARE(dual->text(QAccessible::Name), QStringLiteral("DUAL"));
        QVERIFY(dual->text(QAccessible::Value).isEmpty());
        QCOMPARE(knob(C::Dual)->toolTip(),
            castilian ? QStringLiteral("DUAL: pulsado") : QStringLiteral("DUAL: polsat"));
        settle();
        saveGrab(window, QStringLiteral("osciloscopio-dual-") + suffix(castilian));
        dual->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!dual->state().checked);
        window->close();
    }

    void theScreenIsAPictureDescribedInWords_data() { languages(); }
    void theScreenIsAPictureDescribedInWords()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        open();
        ScreenFace *face = panel()->screenFace();
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(face);
        QCOMPARE(reader->role(), QAccessible::Graphic);
        QCOMPARE(reader->text(QAccessible::Name),
            castilian ? QStringLiteral("Pantalla del osciloscopio")
                      : QStringLiteral("Pantalla de l'oscil·loscopi"));
        const QString words = describeScreen(panel()->scope(), panel()->moment()).in(rowLanguage(castilian));
        QCOMPARE(reader->text(QAccessible::Description), words);
        QCOMPARE(panel()->screenDescription(rowLanguage(castilian)), words);
        // It takes neither the focus nor the pointer; nor does the notification that tells the bench's news.
        QAccessibleInterface *news = QAccessible::queryAccessibleInterface(osciloscopio->aviso);
        QCOMPARE(news->role(), QAccessible::Notification);
        QVERIFY(!reader->state().focusable && !news->state().focusable);
        QVERIFY(face->geometry().contains(panel()->screenRect().adjusted(4, 4, -4, -4)));
        QCOMPARE(panel()->childAt(panel()->screenRect().center()), nullptr);
        // Grounded, the channel shows its zero line, and the words follow in the window's language.
        QSignalSpy said(panel(), &LivePanel::screenDescriptionChanged);
        panel()->setControlValue(C::GroundI, 1);
        QTRY_COMPARE(said.size(), 1);
        QCOMPARE(reader->text(QAccessible::Description),
            castilian ? QStringLiteral("CH I: línea horizontal, centrada.")
                      : QStringLiteral("CH I: línia horitzontal, centrada."));
        panel()->setControlValue(C::GroundI, 0);
        osciloscopio->close();
    }

    void theWordsFollowATraceSettlingAfterACouplingSwitch()
    {
        open();
        GeneratorSettings g = panel()->scope().generator();
        g.offsetIVolts = 2.0;
        panel()->setGenerator(g);
        QTRY_VERIFY(
            panel()->screenDescription(Language::Castilian).contains(QStringLiteral("2,0 div por encima")));
        // Switched to AC, the trace starts where the mean put it and settles to the centre with τ = 0,1 s:
        // the words follow it there though no control moves.
        panel()->setControlValue(C::DcI, 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            panel()->screenDescription(Language::Castilian).contains(QStringLiteral(", centrada,")), 3000);
        panel()->setControlValue(C::DcI, 1);
        osciloscopio->close();
    }

    void theScreenFollowsAndRestsWhenSteady()
    {
        Tosciloscopio *window = open();
        activate(window);
        settle();
        // A steady picture draws no further frames.
        const int frames = panel()->frameCount();
        QTest::qWait(250);
        QCOMPARE(panel()->frameCount(), frames);
        QVERIFY(!panel()->framePending());
        // Many turns in one go are drawn in one frame.
        for (int i = 0; i < 6; ++i)
            panel()->setControlValue(C::YPositionI, i * 5);
        QVERIFY(panel()->framePending());
        settle();
        QCOMPARE(panel()->frameCount(), frames + 1);
        // The drawn trace grows with the sensitivity: taller at 0,5 V/div than at 2 V/div.
        const QRect face = panel()->screenRect().adjusted(8, 8, -8, -8);
        panel()->setControlValue(C::YPositionI, 0);
        panel()->setControlValue(C::VoltsDivI, Hm203::voltsDivPosition(2.0));
        settle();
        const int small = litHeight(panel()->grab().toImage(), face);
        panel()->setControlValue(C::VoltsDivI, Hm203::voltsDivPosition(0.5));
        settle();
        const int large = litHeight(panel()->grab().toImage(), face);
        QVERIFY2(large > small * 3 / 2, qPrintable(QStringLiteral("%1 %2").arg(small).arg(large)));
        // An untriggered trace runs: frames keep coming without a touch.
        panel()->setControlValue(C::TriggerCoupling, 2); // HF, and the signal is 1 kHz
        QTRY_VERIFY(panel()->liveScreen().moving);
        const int running = panel()->frameCount();
        QTest::qWait(200);
        QVERIFY(panel()->frameCount() >= running + 3);
        // Hidden, it stops.
        window->hide();
        QTest::qWait(100);
        const int hidden = panel()->frameCount();
        QTest::qWait(200);
        QCOMPARE(panel()->frameCount(), hidden);
        panel()->setControlValue(C::TriggerCoupling, 0);
    }

    void powerLampAndWarmUp()
    {
        Tosciloscopio *window = open();
        activate(window);
        settle();
        PanelControlWidget *power = knob(C::Power);
        const QRect face = panel()->screenRect().adjusted(8, 8, -8, -8);
        QVERIFY(litPixels(panel()->grab().toImage(), face) > 100);
        QTest::mouseClick(power, Qt::LeftButton, {}, power->rect().center());
        settle();
        QCOMPARE(litPixels(panel()->grab().toImage(), face), 0);
        QCOMPARE(window->lectura->text(), QStringLiteral("Apagado"));
        // Switched on again, the tube warms up before the trace comes back.
        const int frames = panel()->frameCount();
        QTest::mouseClick(power, Qt::LeftButton, {}, power->rect().center());
        QTRY_VERIFY(panel()->frameCount() > frames);
        QVERIFY(panel()->liveScreen().moving);
        QCOMPARE(panel()->liveScreen().brightness, 0.0);
        saveGrab(window, QStringLiteral("osciloscopio-warming"));
        QTRY_VERIFY_WITH_TIMEOUT(panel()->liveScreen().brightness > 0.5, 6000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel()->liveScreen().moving, 2000);
        window->close();
    }

    void theGeneratorFeedsTheInputs()
    {
        Tosciloscopio *window = open();
        GeneratorPanel *generator = window->generador;
        generator->setHidden(HiddenReading::None);
        generator->frequency()->setValue(2000);
        QCOMPARE(panel()->scope().signalI().frequencyHz, 2000.0);
        generator->waveform()->button(1)->click();
        QCOMPARE(panel()->scope().signalI().waveform, Waveform::Square);
        chooseByKeys(generator->hookup(), 1);
        QCOMPARE(panel()->scope().signalII().highPassSeconds, PracticeCircuit::timeConstant);
        panel()->setControlValue(C::Dual, 1);
        settle();
        saveGrab(window, QStringLiteral("osciloscopio-rc"));
        chooseByKeys(generator->hookup(), 3);
        QCOMPARE(panel()->scope().signalI().amplitudeVpp, 2.0);
        chooseByKeys(generator->testerLoad(), generator->testerLoad()->findData(QStringLiteral("c10u")));
        QCOMPARE(panel()->scope().generator().testerPart, QStringLiteral("c10u"));
        panel()->setControlValue(C::Tester, 1);
        settle();
        QCOMPARE(panel()->liveScreen().traces.traces.value(0).kind, TraceKind::XY);
        saveGrab(window, QStringLiteral("osciloscopio-tester"));
        panel()->setControlValue(C::Tester, 0);
        panel()->setControlValue(C::Dual, 0);
        // Every waveform reaches screen readers as a radio button; each list as a combo box whose label is
        // its name (Qt on Linux relates the label, as Orca reads it) and whose value is the entry chosen.
        for (int i = 0; i < generator->waveform()->count(); ++i)
            QCOMPARE(QAccessible::queryAccessibleInterface(generator->waveform()->button(i))->role(),
                QAccessible::RadioButton);
        const std::pair<QComboBox *, QString> lists[] { { generator->hookup(), QStringLiteral("Conexión") },
            { generator->testerLoad(), QStringLiteral("En el comprobador") } };
        for (const auto &[box, caption] : lists) {
            QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(box);
            QCOMPARE(heard->role(), QAccessible::ComboBox);
            QCOMPARE(heard->text(QAccessible::Value), box->currentText());
            QStringList labels;
            for (const auto &[label, relation] : heard->relations(QAccessible::Label))
                labels << label->text(QAccessible::Name);
            QVERIFY2(labels.contains(caption), qPrintable(labels.join(u'|')));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(generator->testerLoad())->text(QAccessible::Value),
            QStringLiteral("Condensador de 10 µF"));
        chooseByKeys(generator->hookup(), 0);
        generator->phaseII()->setValue(-60);
        generator->amplitudeII()->setValue(4);
        panel()->setControlValue(C::XY, 1);
        settle();
        saveGrab(window, QStringLiteral("osciloscopio-xy"));
        panel()->setControlValue(C::XY, 0);
        window->close();
    }

    /** Output II's frequency, typed in its own box: "igual que I" at its lowest step, a Lissajous figure once
     * it differs, and a "?" while a task keeps it from the student. */
    void outputIIHasItsOwnFrequency_data() { languages(); }
    void outputIIHasItsOwnFrequency()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        GeneratorPanel *generator = window->generador;
        generator->setHidden(HiddenReading::None);
        QDoubleSpinBox *box = generator->frequencyII();
        QCOMPARE(box->accessibleName(),
            castilian ? QStringLiteral("Frecuencia II") : QStringLiteral("Freqüència II"));
        QCOMPARE(box->text(), QStringLiteral("igual que I"));
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value),
            QStringLiteral("igual que I"));
        // Reached from output I's offset with the keyboard, as the boxes are laid out.
        generator->offsetI()->setFocus();
        QTRY_VERIFY(generator->offsetI()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("2000"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(panel()->scope().generator().frequencyIIHz, 2000.0);
        QCOMPARE(panel()->scope().signalII().frequencyHz, 2000.0);
        QCOMPARE(panel()->scope().signalI().frequencyHz, 1000.0);
        QVERIFY(QAccessible::queryAccessibleInterface(box)
                    ->text(QAccessible::Value)
                    .startsWith(QStringLiteral("2000 ")));
        panel()->setControlValue(C::XY, 1);
        settle();
        saveGrab(window, QStringLiteral("osciloscopio-lissajous-") + suffix(castilian));
        // A task hides it: locked, "?", and the instrument keeps running at it.
        generator->setHidden(HiddenReading::FrequencyII);
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->text(), QStringLiteral("?"));
        QVERIFY(generator->frequency()->isEnabled());
        QCOMPARE(panel()->scope().signalII().frequencyHz, 2000.0);
        // Shown again, it reads its value and goes down to "igual que I" by keys.
        generator->setHidden(HiddenReading::None);
        QVERIFY(box->isEnabled());
        QCOMPARE(box->value(), 2000.0);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("igual que I"));
        QCOMPARE(panel()->scope().signalII().frequencyHz, 1000.0);
        panel()->setControlValue(C::XY, 0);
        window->close();
    }

    /** A ×10 probe on the calibrator, as on the first day: picked at the generator, its trimmer turned
     * until the square's corners are square. The screen shows a tenth, and the line under the panel
     * what the tip sees. */
    void noiseHumAndBurstsRideOnTheOutputs_data() { languages(); }
    void noiseHumAndBurstsRideOnTheOutputs()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        GeneratorPanel *generator = window->generador;
        generator->setHidden(HiddenReading::None);
        QCOMPARE(generator->burst()->text(),
            castilian ? QStringLiteral("Ráfagas: 4 ciclos de cada 10")
                      : QStringLiteral("Ràfegues: 4 cicles de cada 10"));
        // Typed in and confirmed, as a student does.
        generator->noise()->setFocus();
        generator->noise()->selectAll();
        QTest::keyClicks(generator->noise(), QStringLiteral("0,2"));
        QTest::keyClick(generator->noise(), Qt::Key_Return);
        QCOMPARE(panel()->scope().generator().noiseVolts, 0.2);
        // A noisy trace is a steady blur: once drawn, the window rests.
        settle();
        const int frames = panel()->frameCount();
        QTest::qWait(150);
        QCOMPARE(panel()->frameCount(), frames);
        generator->hum()->stepUp();
        QVERIFY(panel()->scope().generator().humVolts > 0.0);
        QTest::mouseClick(
            generator->burst(), Qt::LeftButton, {}, QPoint(6, generator->burst()->height() / 2));
        QVERIFY(panel()->scope().generator().burst);
        settle();
        saveGrab(window, QStringLiteral("osciloscopio-ruido-") + suffix(castilian));
        QVERIFY(litHeight(panel()->grab().toImage(), panel()->screenRect().adjusted(8, 8, -8, -8)) > 20);
        window->close();
    }

    /** EXT. takes its trigger from TRIG. INP., which carries output I once the student wires it there. */
    void theTriggerInputIsWiredAtTheGenerator_data() { languages(); }
    void theTriggerInputIsWiredAtTheGenerator()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        QCheckBox *wiring = window->generador->triggerInput();
        QCOMPARE(wiring->text(),
            castilian ? QStringLiteral("Salida I también a TRIG. INP.")
                      : QStringLiteral("Eixida I també a TRIG. INP."));
        QCOMPARE(QAccessible::queryAccessibleInterface(wiring)->role(), QAccessible::CheckBox);
        // Nothing on TRIG. INP.: AT runs the sweep free, and the trace runs.
        panel()->setControlValue(C::ExtTrigger, 1);
        QVERIFY(!panel()->liveScreen().traces.triggered);
        QVERIFY(panel()->liveScreen().moving);
        QTest::mouseClick(wiring, Qt::LeftButton, {}, QPoint(6, wiring->height() / 2));
        QVERIFY(panel()->scope().generator().outputIToTriggerInput);
        QVERIFY(panel()->liveScreen().traces.triggered);
        QVERIFY(!panel()->liveScreen().moving);
        // Once drawn, the steady picture rests.
        settle();
        window->close();
    }

    void aProbeIsPickedAndTrimmed_data() { languages(); }
    void aProbeIsPickedAndTrimmed()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        GeneratorPanel *generator = window->generador;
        generator->setHidden(HiddenReading::None);
        QCOMPARE(generator->probe(false)->button(1)->text(), QStringLiteral("Sonda ×10"));
        QCOMPARE(generator->compensation(false)->accessibleName(),
            castilian ? QStringLiteral("Compensación de la sonda I")
                      : QStringLiteral("Compensació de la sonda I"));
        // A radio button takes a click on its round mark.
        const auto click = [](RadioGroup *group, int item) {
            QRadioButton *button = group->button(item);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        };
        chooseByKeys(generator->hookup(), 2);
        panel()->setControlValue(C::VoltsDivI, Hm203::voltsDivPosition(0.005));
        // A ×1 probe has no trimmer to turn.
        QVERIFY(!generator->compensation(false)->isEnabled());
        click(generator->probe(false), 1);
        QCOMPARE(panel()->scope().generator().probeI, Probe::Times10);
        QVERIFY(generator->compensation(false)->isEnabled());
        QTRY_VERIFY(window->lectura->text().contains(QStringLiteral("sonda ×10: 50 mV/div")));
        // The square's corner just after the edge (0,1 div, 20 µs on) against its level further on.
        const auto corner = [this] {
            settle();
            const Trace trace = panel()->liveScreen().traces.traces.value(0);
            const auto heightAt = [&trace](double x) {
                for (const QPointF &p : trace.points)
                    if (p.x() >= x)
                        return p.y();
                return 0.0;
            };
            return heightAt(-4.9) - heightAt(-3.0);
        };
        // The 0,2 V calibrator through the divider: 20 mV, four divisions at 5 mV/div.
        settle();
        QVERIFY(std::abs(visiblePeakToPeak(panel()->liveScreen().traces.traces.value(0)) - 4.0) < 0.1);
        QVERIFY2(corner() < -0.3, "rounded at first");
        QSignalSpy changes(generator, &GeneratorPanel::settingsChanged);
        generator->compensation(false)->setFocus();
        for (int turn = 0; turn < 8; ++turn)
            QTest::keyClick(generator->compensation(false), Qt::Key_Up);
        QCOMPARE(changes.size(), 8);
        QCOMPARE(panel()->scope().generator().compensationI, 1.2);
        QVERIFY2(corner() > 0.3, "pointed when trimmed too far");
        for (int turn = 0; turn < 4; ++turn)
            QTest::keyClick(generator->compensation(false), Qt::Key_Down);
        QVERIFY2(std::abs(corner()) < 0.05, "square when trimmed right");
        saveGrab(window, QStringLiteral("osciloscopio-sonda-") + suffix(castilian));
        click(generator->probe(false), 0);
        QTRY_VERIFY(!window->lectura->text().contains(QStringLiteral("sonda")));
        window->close();
    }

    /** A square or a triangle goes to 10 MHz, a sine to 50 MHz: the frequency box follows the waveform. */
    void theFrequencyBoxFollowsTheWaveform()
    {
        Tosciloscopio *window = open();
        GeneratorPanel *generator = window->generador;
        generator->setHidden(HiddenReading::None);
        generator->waveform()->button(0)->click();
        generator->frequency()->setValue(40e6);
        QCOMPARE(panel()->scope().generator().frequencyHz, 40e6);
        generator->waveform()->button(1)->click();
        QCOMPARE(generator->frequency()->value(), GeneratorLimits::maximumPulseHz);
        QCOMPARE(panel()->scope().generator().frequencyHz, GeneratorLimits::maximumPulseHz);
        generator->frequency()->setValue(1000);
        window->close();
    }

    void theTaskStripSetsAndJudgesGoals_data() { languages(); }
    void theTaskStripSetsAndJudgesGoals()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        QVERIFY(hm203Tasks().size() >= 8);
        QVERIFY(!strip->previous()->isEnabled());
        strip->next()->click();
        // The first task, judged live: five periods of 500 Hz need 1 ms/div, whichever way it is reached.
        QVERIFY(!strip->isMet());
        knob(C::TimeDiv)->setFocus();
        QTest::keyClick(knob(C::TimeDiv), Qt::Key_Left);
        QTest::keyClick(knob(C::TimeDiv), Qt::Key_Left);
        QCOMPARE(panel()->scope().valueText(C::TimeDiv, Language::Castilian), QStringLiteral("1 ms/div"));
        QTRY_VERIFY(strip->isMet());
        // Off its stop, the fine knob makes TIME/DIV lie: the readout says so, and the task is not met.
        knob(C::TimeCal)->setFocus();
        QTest::keyClick(knob(C::TimeCal), Qt::Key_PageDown);
        QTRY_VERIFY(!strip->isMet());
        QVERIFY(window->lectura->text().contains(
            castilian ? QStringLiteral("ms/div (sin calibrar)") : QStringLiteral("ms/div (sense calibrar)")));
        QVERIFY(strip->verdict()->text().contains(QStringLiteral("CAL")));
        QTest::keyClick(knob(C::TimeCal), Qt::Key_End);
        QTRY_VERIFY(strip->isMet());
        // Switched off and on, nothing is met until the tube has warmed up and the trace is back.
        PanelControlWidget *power = knob(C::Power);
        QTest::mouseClick(power, Qt::LeftButton, {}, power->rect().center());
        QTest::mouseClick(power, Qt::LeftButton, {}, power->rect().center());
        QTRY_VERIFY(!strip->isMet());
        QVERIFY(strip->verdict()->text().contains(
            castilian ? QStringLiteral("se calienta") : QStringLiteral("s'escalfa")));
        QTRY_VERIFY_WITH_TIMEOUT(strip->isMet(), 6000);
        QVERIFY(panel()->liveScreen().brightness > 0.5);
        QStringList goals;
        for (int i = 0; i < hm203Tasks().size(); ++i) {
            QCOMPARE(strip->taskIndex(), i);
            goals << strip->goal()->text();
            QVERIFY(!strip->verdict()->text().isEmpty());
            const Hm203Task &task = hm203Tasks().at(i);
            // A measuring task is never met before anything is typed, and what is not a number is
            // told as such.
            if (!task.answerUnit.isEmpty()) {
                QVERIFY(!strip->isMet());
                strip->answer()->setText(QStringLiteral("doce"));
                QVERIFY(strip->verdict()->text().contains(QStringLiteral("«doce»")));
                strip->answer()->clear();
            }
            QCOMPARE(strip->answer()->isVisible(), task.answerUnit != nullptr);
            if (task.hidden == HiddenReading::PhaseII) {
                QVERIFY(!window->generador->phaseII()->isEnabled());
                QCOMPARE(window->generador->phaseII()->text(), QStringLiteral("?"));
            }
            if (task.hidden == HiddenReading::FrequencyII) {
                QVERIFY(!window->generador->frequencyII()->isEnabled());
                QCOMPARE(window->generador->frequencyII()->text(), QStringLiteral("?"));
            }
            if (task.hidden == HiddenReading::AmplitudeI) {
                QVERIFY(!window->generador->amplitudeI()->isEnabled());
                QCOMPARE(window->generador->amplitudeI()->text(), QStringLiteral("?"));
            }
            saveGrab(window, QStringLiteral("osciloscopio-task%1-%2").arg(i + 1).arg(suffix(castilian)));
            if (i + 1 < hm203Tasks().size())
                strip->next()->click();
        }
        QCOMPARE(QSet<QString>(goals.cbegin(), goals.cend()).size(), goals.size());
        saveGrab(window, QStringLiteral("osciloscopio-lasttask-") + suffix(castilian));
        // After the last task, the summary, and no further.
        strip->next()->click();
        QVERIFY(strip->summarising() && !strip->next()->isEnabled());
        strip->previous()->click();
        while (strip->previous()->isEnabled())
            strip->previous()->click();
        QCOMPARE(strip->taskIndex(), 0);
        QCOMPARE(strip->goal()->text(), goals.first());
        window->close();
    }
};

QTEST_MAIN(TestInstrument)
#include "tst_instrument.moc"
