#include "generatorpanel.h"
#include "hm203tasks.h"
#include "livepanel.h"
#include "panelcontrol.h"
#include "radiogroup.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QtTest>

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
    /** The brightest screen pixel's column range: where the drawn trace lies across the face. */
    static int litPixels(const QImage &image, const QRect &area)
    {
        int lit = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGreen(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) > 150)
                    ++lit;
        return lit;
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
            castilian ? QStringLiteral("Osciloscopio virtual") : QStringLiteral("Oscil.loscopi virtual"));
        Tosciloscopio *window = open();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(),
            castilian ? QStringLiteral("Osciloscopio virtual") : QStringLiteral("Oscil.loscopi virtual"));
        // Switched on, a 1 kHz sine on CH I, AT, triggered and steady.
        const Hm203 &scope = window->panel->scope();
        QVERIFY(scope.isPressed(C::Power));
        QCOMPARE(scope.signalI().frequencyHz, 1000.0 * 0 + scope.signalI().frequencyHz);
        QCOMPARE(scope.signalI().waveform, Waveform::Sine);
        const LiveScreen &live = window->panel->liveScreen();
        QVERIFY(live.traces.triggered);
        QCOMPARE(live.traces.traces.size(), 1);
        QVERIFY(!live.moving);
        QVERIFY(live.brightness > 0.5);
        QVERIFY(!window->tarea->goal()->text().isEmpty());
        QVERIFY(window->tarea->goal()->text().contains(
                    castilian ? QStringLiteral("Tarea") : QStringLiteral("Tasca"))
            || window->findChild<QLabel *>(QStringLiteral("title"))
                   ->text()
                   .startsWith(castilian ? QStringLiteral("Tarea 1") : QStringLiteral("Tasca 1")));
        saveGrab(window, QStringLiteral("osciloscopio-") + suffix(castilian));
        window->close();
    }
};

QTEST_MAIN(TestInstrument)
#include "tst_instrument.moc"
