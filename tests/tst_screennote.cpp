#include "livepanel.h"
#include "panelcontrol.h"
#include "screennote.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "traceexplanation.h"
#include "windowtestsupport.h"
#include <QLabel>

#include <QPushButton>
#include <QtTest>

using C = Hm203Control;

/** The note under the oscilloscope's screen, as a student uses it: asked why no trace shows, or asked to
 * put the face into words, in either language. */
class TestScreenNote : public WindowSuite
{
    Q_OBJECT

private:
    Tosciloscopio *open(bool castilian)
    {
        setLanguage(castilian);
        menu("Osciloscopiovirtual1");
        settle();
        return osciloscopio;
    }
    LivePanel *panel() { return osciloscopio->panel; }
    ScreenNote *note() { return osciloscopio->nota; }
    QString said() { return note()->text()->text(); }
    void settle() { QTRY_VERIFY(!osciloscopio->panel->framePending()); }
    void ask()
    {
        QTest::mouseClick(note()->why(), Qt::LeftButton);
        settle();
    }

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void nothingAskedShowsAHint_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<QString>("hint");
        QTest::newRow("castilian") << true << QStringLiteral("¿Por qué no veo la traza?");
        QTest::newRow("valencian") << false << QStringLiteral("Per què no veig la traça?");
    }
    void nothingAskedShowsAHint()
    {
        QFETCH(bool, castilian);
        QFETCH(QString, hint);
        open(castilian);
        QCOMPARE(note()->why()->text(), hint);
        QVERIFY(said().contains(hint));
        // Turning a knob before anything is asked leaves the hint alone.
        panel()->setControlValue(C::VoltsDivI, panel()->scope().value(C::VoltsDivI) + 1);
        settle();
        QVERIFY(said().contains(hint));
        osciloscopio->close();
    }

    void whyNamesWhatMendsIt_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("named");
        const auto stop = [](C c, bool top) { return top ? controlInfo(c).maximum : controlInfo(c).minimum; };
        QTest::newRow("POWER off") << true << int(C::Power) << 0 << QStringLiteral("POWER");
        QTest::newRow("INTENS at its stop")
            << true << int(C::Intensity) << stop(C::Intensity, false) << QStringLiteral("INTENS");
        QTest::newRow("GD") << true << int(C::GroundI) << 1 << QStringLiteral("GD");
        QTest::newRow("Y-POS I at its top")
            << true << int(C::YPositionI) << stop(C::YPositionI, true) << QStringLiteral("Y-POS I");
        QTest::newRow("the tester, valencian") << false << int(C::Tester) << 1 << QStringLiteral("TESTER");
        QTest::newRow("GD, valencian") << false << int(C::GroundI) << 1 << QStringLiteral("GD");
    }
    void whyNamesWhatMendsIt()
    {
        QFETCH(bool, castilian);
        QFETCH(int, control);
        QFETCH(int, value);
        QFETCH(QString, named);
        open(castilian);
        panel()->setControlValue(C(control), value);
        settle();
        ask();
        // The note says what the model says, and names the control.
        const TraceExplanation why = explainTrace(panel()->scope(), panel()->moment());
        QVERIFY(!why.fine());
        QCOMPARE(said(), castilian ? why.castilian : why.valencian);
        QVERIFY2(said().contains(named), qPrintable(said()));
        osciloscopio->close();
    }

    void theAnswerFollowsTheMend_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<QString>("fine");
        QTest::newRow("castilian") << true << QStringLiteral("Nada impide ver la traza");
        QTest::newRow("valencian") << false << QStringLiteral("Res no impedix veure la traça");
    }
    void theAnswerFollowsTheMend()
    {
        QFETCH(bool, castilian);
        QFETCH(QString, fine);
        open(castilian);
        const int intensity = panel()->scope().value(C::Intensity);
        panel()->setControlValue(C::Intensity, controlInfo(C::Intensity).minimum);
        settle();
        ask();
        QVERIFY(said().contains(QStringLiteral("INTENS")));
        // INTENS turned back up: the note now says the screen is fine, and what it shows.
        panel()->setControlValue(C::Intensity, intensity);
        settle();
        QVERIFY2(said().startsWith(fine), qPrintable(said()));
        QVERIFY(said().endsWith(panel()->screenDescription(rowLanguage(castilian))));
        QVERIFY(said().contains(QStringLiteral("CH I: ")));
        saveGrab(osciloscopio, QStringLiteral("osciloscopio-why-%1").arg(castilian ? "es" : "va"));
        osciloscopio->close();
    }

    void describeKeepsTheWordsCurrent_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::newRow("castilian") << true;
        QTest::newRow("valencian") << false;
    }
    void describeKeepsTheWordsCurrent()
    {
        QFETCH(bool, castilian);
        open(castilian);
        // By the keyboard: Space on the button.
        note()->describe()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(note()->describe(), Qt::Key_Space);
        QVERIFY(note()->describe()->isChecked());
        QCOMPARE(said(), panel()->screenDescription(rowLanguage(castilian)));
        QVERIFY(said().contains(QStringLiteral("4,0 div")));
        // Twice the sensitivity, twice the height: the words follow the screen.
        panel()->setControlValue(C::VoltsDivI, panel()->scope().value(C::VoltsDivI) + 1);
        settle();
        QVERIFY2(said().contains(QStringLiteral("8,0 div")), qPrintable(said()));
        QCOMPARE(said(), panel()->screenDescription(rowLanguage(castilian)));
        saveGrab(osciloscopio, QStringLiteral("osciloscopio-describe-%1").arg(castilian ? "es" : "va"));
        // Off again: the note goes back to its hint.
        QTest::keyClick(note()->describe(), Qt::Key_Space);
        QVERIFY(said().contains(note()->why()->text()));
        osciloscopio->close();
    }

    void eachNewThingIsToldOnce_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::newRow("castilian") << true;
        QTest::newRow("valencian") << false;
    }
    void eachNewThingIsToldOnce()
    {
        QFETCH(bool, castilian);
        open(castilian);
        QCOMPARE(note()->untold(), QString());
        // Asked, the answer is told once; asked again, again.
        ask();
        const QString answer = said();
        QCOMPARE(note()->untold(), answer);
        QCOMPARE(note()->untold(), QString());
        ask();
        QCOMPARE(note()->untold(), answer);
        // New words under the same answer are the face's to tell, not the note's.
        panel()->setControlValue(C::VoltsDivI, panel()->scope().value(C::VoltsDivI) + 1);
        settle();
        QVERIFY(said() != answer);
        QCOMPARE(note()->untold(), QString());
        // A new answer is told whole.
        panel()->setControlValue(C::Power, 0);
        settle();
        QVERIFY2(note()->untold().contains(QStringLiteral("POWER")), qPrintable(said()));
        panel()->setControlValue(C::Power, 1);
        settle();
        note()->untold();
        // The words switched on say so, then what they are; switched off, only that.
        QTest::mouseClick(note()->describe(), Qt::LeftButton);
        settle();
        const QString words = panel()->screenDescription(rowLanguage(castilian));
        const QString on = castilian ? QStringLiteral("Activado. ") : QStringLiteral("Activat. ");
        QCOMPARE(note()->untold(), on + words);
        QTest::mouseClick(note()->describe(), Qt::LeftButton);
        QCOMPARE(
            note()->untold(), castilian ? QStringLiteral("Desactivado.") : QStringLiteral("Desactivat."));
        QCOMPARE(note()->untold(), QString());
        osciloscopio->close();
    }

    void aDarkScreenIsExplainedNotDescribed()
    {
        open(true);
        QTest::mouseClick(note()->describe(), Qt::LeftButton);
        panel()->setControlValue(C::AtNorm, 1);
        panel()->setControlValue(C::Level, controlInfo(C::Level).maximum);
        settle();
        QCOMPARE(said(), QStringLiteral("La pantalla no muestra ninguna traza."));
        ask();
        // The answer first, the words of the face after it.
        const QStringList lines = said().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.first().contains(QStringLiteral("LEVEL")), qPrintable(lines.first()));
        QCOMPARE(lines.last(), QStringLiteral("La pantalla no muestra ninguna traza."));
        saveGrab(osciloscopio, QStringLiteral("osciloscopio-dark-es"));
        osciloscopio->close();
    }
};

QTEST_MAIN(TestScreenNote)
#include "tst_screennote.moc"
