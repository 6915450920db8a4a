#include "cursors.h"
#include "symbolfont.h"
#include "taparato.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tform5.h"
#include "tform6.h"
#include "windowtestsupport.h"

#include <QtTest>

namespace {

/** A point of the spot's rectangle that no later (higher) hot-spot covers. */
QPoint uncoveredPoint(int index)
{
    const auto &r = kFrontPanelSpots[index].rect;
    for (int y = r.top; y < r.top + r.height; ++y) {
        for (int x = r.left; x < r.left + r.width; ++x) {
            bool covered = false;
            for (int j = index + 1; j < int(kFrontPanelSpots.size()) && !covered; ++j) {
                const auto &o = kFrontPanelSpots[j].rect;
                covered = QRect(o.left, o.top, o.width, o.height).contains(x, y);
            }
            if (!covered)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

int spotIndex(const QString &name)
{
    for (int i = 0; i < int(kFrontPanelSpots.size()); ++i)
        if (name == QLatin1String(kFrontPanelSpots[i].name))
            return i;
    return -1;
}

QList<Panel *> visiblePanels(const QList<Panel *> &panels)
{
    QList<Panel *> shown;
    for (Panel *panel : panels)
        if (panel->isVisible())
            shown << panel;
    return shown;
}

/** Whether a one-line text fits inside a panel and its border, uncut. */
bool fits(const Panel *panel, const QString &text)
{
    return panel->fontMetrics().horizontalAdvance(text) <= panel->width() - 2 * panel->borderWidth();
}

} // namespace

class TestDescription : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void chooserTexts_data();
    void chooserTexts();
    void chooserLinksOpenNewWindows();
    void closedChooserStaysHidden();

    void frontPanelTexts_data();
    void frontPanelTexts();
    void hotSpotsFollowTheTable();
    void hotSpotShowsItsText_data();
    void hotSpotShowsItsText();
    void panelsReplaceEachOther();
    void longLinesAreTightenedNotCut();
    void calWarningOutlivesItsPanel();
    void calKnobsLieOnTheirDials_data();
    void calKnobsLieOnTheirDials();
    void altChangesNothing();
    void activationHidesTheOpenPanel();
    void twoExplorersAreIndependent();
    void pointerOverHotSpots();
    void pointerWithoutTheCursorFile();
    void enterClosesTheExplorer();

    void tubeTexts_data();
    void tubeTexts();
    void tubeArrows();
    void tubePartClick_data();
    void tubePartClick();
    void tubeBoxClickHidesBothLines();
    void tubeTopBoxAfterBottomBox();
    void tubeActivationHidesTheBoxes();
    void tubeInnerPanel();

private:
    Taparato *openChooser(bool castilian);
    TForm5 *openExplorer(bool castilian);
    TForm6 *openTube(bool castilian);
};

Taparato *TestDescription::openChooser(bool castilian)
{
    setLanguage(castilian);
    menu("Descripcindelaparato1");
    return aparato;
}

TForm5 *TestDescription::openExplorer(bool castilian)
{
    Taparato *chooser = openChooser(castilian);
    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    return Form5;
}

TForm6 *TestDescription::openTube(bool castilian)
{
    Taparato *chooser = openChooser(castilian);
    QTest::mouseClick(chooser->Label1, Qt::LeftButton);
    return Form6;
}

// ---- the chooser ----

void TestDescription::chooserTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("tube");
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QString>("close");
    QTest::newRow("castilian") << true << "Descripción del aparato"
                               << "Tubo de rayos catódicos (T.R.C.)"
                               << "Mandos del osciloscopio"
                               << "&Cerrar";
    QTest::newRow("valencian") << false << "Descripció de l'aparell"
                               << "Tub de raigs catòdics (T.R.C.)"
                               << "Comandaments de l'oscil.loscopi"
                               << "Tancar";
}

void TestDescription::chooserTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, tube);
    QFETCH(QString, controls);
    QFETCH(QString, close);
    Taparato *chooser = openChooser(castilian);
    QVERIFY(chooser && chooser->isVisible());
    QCOMPARE(chooser->windowTitle(), title);
    QCOMPARE(chooser->Label1->text(), tube);
    QCOMPARE(chooser->Label2->text(), controls);
    QCOMPARE(chooser->BitBtn1->text(), close);
    QCOMPARE(chooser->size(), QSize(349, 129));
    // the fixed link keeps its design size; the other grows to the right from its left edge
    QCOMPARE(chooser->Label1->geometry(), QRect(32, 24, 297, 33));
    QCOMPARE(chooser->Label2->x(), 88);
    QVERIFY(chooser->Label2->fontMetrics().horizontalAdvance(controls) < chooser->Label2->width());
    if (!castilian)
        QVERIFY(chooser->Label2->width() > 186);
    // both links stay inside the window
    QVERIFY(chooser->Label1->fontMetrics().horizontalAdvance(tube) <= chooser->Label1->width());
    QVERIFY2(chooser->Label2->geometry().right() < chooser->client()->width(),
        qPrintable(QString::number(chooser->Label2->geometry().right())));
    saveGrab(chooser, castilian ? QStringLiteral("aparato-castilian") : QStringLiteral("aparato-valencian"));
    chooser->close();
}

void TestDescription::chooserLinksOpenNewWindows()
{
    Taparato *chooser = openChooser(true);
    pointerOver(chooser->Label2);
    QVERIFY(showsHand(chooser->Label2));

    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    QPointer<TForm5> first = Form5;
    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    QPointer<TForm5> second = Form5;
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());

    QTest::mouseClick(chooser->Label1, Qt::LeftButton);
    QPointer<TForm6> tube = Form6;
    QTest::mouseClick(chooser->Label1, Qt::LeftButton);
    QVERIFY(tube && Form6 && tube != Form6);
    // a choice does not close the chooser
    QVERIFY(chooser->isVisible());
    first->close();
    second->close();
    tube->close();
    Form6->close();
    chooser->close();
}

void TestDescription::closedChooserStaysHidden()
{
    QPointer<Taparato> old = openChooser(true);
    QTest::mouseClick(old->BitBtn1, Qt::LeftButton);
    QVERIFY(old && !old->isVisible());
    Taparato *fresh = openChooser(true);
    QVERIFY(fresh != old.data());
    QVERIFY(fresh->isVisible());
    QVERIFY(!old->isVisible());
    fresh->close();
}

// ---- the front-panel explorer ----

void TestDescription::frontPanelTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("castilian") << true << "Mandos del Osciloscopio"
                               << "&Cerrar"
                               << "Pulsar sobre la zona de la que se desee obtener información";
    QTest::newRow("valencian") << false << "Comandaments de l'oscil.loscopi"
                               << "Tancar"
                               << "Polsar sobre la zona de la que es desitge obtindre informació";
}

void TestDescription::frontPanelTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, button);
    QFETCH(QString, instruction);
    TForm5 *form = openExplorer(castilian);
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->BitBtn1->text(), button);
    QCOMPARE(form->einf1->text(), instruction);
    QCOMPARE(form->einf1->x(), 152);
    QVERIFY(form->einf1->geometry().right() < form->client()->width());
    QCOMPARE(form->size(), QSize(604, 334));
    QCOMPARE(form->Image1->picture().size(), QSize(535, 239));
    QVERIFY(form->einf2->text().isEmpty());
    QCOMPARE(form->einf2->palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0x00));
    QVERIFY(visiblePanels(form->panels()).isEmpty());
    saveGrab(form, castilian ? QStringLiteral("form5-castilian") : QStringLiteral("form5-valencian"));
    form->close();
}

void TestDescription::hotSpotsFollowTheTable()
{
    TForm5 *form = openExplorer(true);
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(spot.name));
        QVERIFY2(hotSpot, spot.name);
        QCOMPARE(
            hotSpot->geometry(), QRect(spot.rect.left, spot.rect.top, spot.rect.width, spot.rect.height));
        QCOMPARE(hotSpot->toolTip(), QString::fromUtf16(spot.hint));
        QCOMPARE(hotSpot->accessibleName(), QString::fromUtf16(spot.hint));
    }
    QCOMPARE(form->panels().size(), 10);
    // an open panel lies above the picture and every hot-spot and takes the clicks in its area
    for (Panel *panel : form->panels()) {
        panel->show();
        QCOMPARE(form->client()->childAt(panel->geometry().center()), panel);
        panel->hide();
    }
    form->close();
}

void TestDescription::hotSpotShowsItsText_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        if (!spot.castilian)
            continue;
        QTest::addRow("%s castilian", spot.name)
            << true << QString::fromLatin1(spot.name) << QString::fromLatin1(spot.panel)
            << QString::fromUtf16(spot.castilian)
            << (spot.warningCastilian ? QString::fromUtf16(spot.warningCastilian) : QString());
        QTest::addRow("%s valencian", spot.name)
            << false << QString::fromLatin1(spot.name) << QString::fromLatin1(spot.panel)
            << QString::fromUtf16(spot.valencian)
            << (spot.warningValencian ? QString::fromUtf16(spot.warningValencian) : QString());
    }
}

void TestDescription::hotSpotShowsItsText()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(QString, panel);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    static QPointer<TForm5> form;
    if (!form || TForm5::language() != rowLanguage(castilian))
        form = openExplorer(castilian);

    const int index = spotIndex(name);
    const QPoint point = uncoveredPoint(index);
    QVERIFY(point.x() >= 0);
    form->inicializacion();
    QWidget *clicked = clickAt(form, point);
    QVERIFY(clicked);
    QCOMPARE(clicked->objectName(), name);

    Panel *shown = form->panel(panel);
    QCOMPARE(visiblePanels(form->panels()), QList<Panel *> { shown });
    QCOMPARE(shown->text(), text);
    QCOMPARE(shown->accessibleName(), text);
    QCOMPARE(form->einf2->text(), warning);
    if (!warning.isEmpty()) {
        QCOMPARE(form->einf2->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(form->einf2->geometry().right() < form->client()->width());
    }
    QVERIFY2(fits(shown, text),
        qPrintable(QStringLiteral("%1: %2 px in %3")
                       .arg(name, QString::number(shown->fontMetrics().horizontalAdvance(text)),
                           QString::number(shown->width()))));
    if (name == QLatin1String("cal2") || name == QLatin1String("acdc2") || name == QLatin1String("trigger"))
        saveGrab(form,
            QStringLiteral("form5-%1-%2")
                .arg(name, castilian ? QStringLiteral("cas") : QStringLiteral("val")));
}

void TestDescription::panelsReplaceEachOther()
{
    TForm5 *form = openExplorer(true);
    QTest::mouseClick(form->hotSpot(QStringLiteral("volts1")), Qt::LeftButton);
    QCOMPARE(visiblePanels(form->panels()), QList<Panel *> { form->pinfc });
    QCOMPARE(form->pinfc->text(), QStringLiteral("Selector de escala V/div en el canal I"));
    QTest::mouseClick(form->hotSpot(QStringLiteral("ymag2")), Qt::LeftButton);
    QCOMPARE(visiblePanels(form->panels()), QList<Panel *> { form->pinfc });
    QCOMPARE(form->pinfc->text(), QStringLiteral("Aumenta la escala Y del canal II en una relación 5:1"));
    QTest::mouseClick(form->hotSpot(QStringLiteral("ypos")), Qt::LeftButton);
    QCOMPARE(visiblePanels(form->panels()), QList<Panel *> { form->pmedioi });
    QCOMPARE(form->pmedioi->text(), QStringLiteral("Posición vertical del canal I"));
    // the Time/Div knob, as the student reads it in Valencian
    TForm5 *valencian = openExplorer(false);
    QTest::mouseClick(valencian->hotSpot(QStringLiteral("time")), Qt::LeftButton);
    QCOMPARE(valencian->psupd->text(),
        QStringLiteral("Base de temps.Regula l'escala de temps de l'eix horitzontal"));
    QTest::mouseClick(valencian->psupd, Qt::LeftButton);
    QVERIFY(!valencian->psupd->isVisible());
    // the power switch reads the same in both languages, leading blank included
    QTest::mouseClick(valencian->hotSpot(QStringLiteral("Interruptor")), Qt::LeftButton);
    QCOMPARE(valencian->ppeq->text(), QStringLiteral(" Interruptor"));
    valencian->close();
    form->close();
}

void TestDescription::longLinesAreTightenedNotCut()
{
    TForm5 *form = openExplorer(false);
    QTest::mouseClick(form->hotSpot(QStringLiteral("trigger")), Qt::LeftButton);
    QVERIFY(form->psupi->font().letterSpacing() < 0);
    QVERIFY(fits(form->psupi, form->psupi->text()));
    // the next line in the same panel fits as it is and is set in the window's own font again
    QTest::mouseClick(form->hotSpot(QStringLiteral("ext")), Qt::LeftButton);
    QCOMPARE(form->psupi->font(), form->font());
    QTest::mouseClick(form->hotSpot(QStringLiteral("time")), Qt::LeftButton);
    QCOMPARE(form->psupd->font(), form->font());
    saveGrab(form, QStringLiteral("form5-time-val"));
    form->close();
}

void TestDescription::calWarningOutlivesItsPanel()
{
    TForm5 *form = openExplorer(true);
    QTest::mouseClick(form->hotSpot(QStringLiteral("cal2")), Qt::LeftButton);
    QVERIFY(form->pmedioi->isVisible());
    QCOMPARE(form->pmedioi->text(), QStringLiteral("Ajuste fino de amplitud"));
    QCOMPARE(form->einf2->text(), QStringLiteral("Para medidas de amplitud ha de estar en la posición CAL"));
    QCOMPARE(form->einf2->palette().color(QPalette::WindowText), QColor(Qt::red));
    saveGrab(form, QStringLiteral("form5-cal2"));

    QTest::mouseClick(form->pmedioi, Qt::LeftButton);
    QVERIFY(!form->pmedioi->isVisible());
    QCOMPARE(form->einf2->text(), QStringLiteral("Para medidas de amplitud ha de estar en la posición CAL"));

    QTest::mouseClick(form->hotSpot(QStringLiteral("gd1")), Qt::LeftButton);
    QVERIFY(form->einf2->text().isEmpty());
    QVERIFY(form->pinfc->isVisible());
    // the next warning is red again
    QTest::mouseClick(form->hotSpot(QStringLiteral("cal1")), Qt::LeftButton);
    QCOMPARE(form->einf2->text(), QStringLiteral("Para medidas de tiempos ha de estar en la posción CAL"));
    QCOMPARE(form->einf2->palette().color(QPalette::WindowText), QColor(Qt::red));
    form->close();
}

void TestDescription::calKnobsLieOnTheirDials_data()
{
    QTest::addColumn<QString>("cal");
    QTest::addColumn<QString>("dial");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("text");
    QTest::newRow("cal1") << "cal1"
                          << "time"
                          << "psupd"
                          << "Control variable de la base de tiempos";
    QTest::newRow("cal2") << "cal2"
                          << "volts1"
                          << "pmedioi"
                          << "Ajuste fino de amplitud";
    QTest::newRow("cal3") << "cal3"
                          << "volts2"
                          << "pmediod"
                          << "Ajuste fino de amplitud del canal II";
}

void TestDescription::calKnobsLieOnTheirDials()
{
    QFETCH(QString, cal);
    QFETCH(QString, dial);
    QFETCH(QString, panel);
    QFETCH(QString, text);
    TForm5 *form = openExplorer(true);
    const QRect calRect = form->hotSpot(cal)->geometry();
    QVERIFY(form->hotSpot(dial)->geometry().contains(calRect));
    // a click inside the CAL knob's square, which lies within the dial, is the CAL knob's
    QWidget *clicked = clickAt(form, calRect.center());
    QCOMPARE(clicked->objectName(), cal);
    QCOMPARE(form->panel(panel)->text(), text);
    QVERIFY(!form->einf2->text().isEmpty());
    // just outside the square, the dial's own text
    form->inicializacion();
    QWidget *outside = clickAt(form, calRect.topLeft() - QPoint(2, 2));
    QCOMPARE(outside->objectName(), dial);
    QVERIFY(form->einf2->text().isEmpty());
    form->close();
}

void TestDescription::altChangesNothing()
{
    TForm5 *form = openExplorer(true);
    HotSpot *alt = form->hotSpot(QStringLiteral("alt"));
    QCOMPARE(alt->toolTip(), QStringLiteral("Alt."));
    QTest::mouseClick(form->hotSpot(QStringLiteral("cal3")), Qt::LeftButton);
    const QString warning = form->einf2->text();
    QVERIFY(clickAt(form, alt->geometry().center()) == alt);
    QCOMPARE(visiblePanels(form->panels()), QList<Panel *> { form->pmediod });
    QCOMPARE(form->pmediod->text(), QStringLiteral("Ajuste fino de amplitud del canal II"));
    QCOMPARE(form->einf2->text(), warning);
    // with nothing open, still nothing
    form->inicializacion();
    QTest::mouseClick(alt, Qt::LeftButton);
    QVERIFY(visiblePanels(form->panels()).isEmpty());
    form->close();
}

void TestDescription::activationHidesTheOpenPanel()
{
    TForm5 *form = openExplorer(true);
    QTest::mouseClick(form->hotSpot(QStringLiteral("cal1")), Qt::LeftButton);
    QVERIFY(form->psupd->isVisible());
    const QString warning = form->einf2->text();

    // the student goes to the main window and comes back
    fichaprincipal->showWindow();
    QVERIFY(form->psupd->isVisible());
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &activate);
    QVERIFY(visiblePanels(form->panels()).isEmpty());
    // the warning keeps its text and its colour
    QCOMPARE(form->einf2->text(), warning);
    QCOMPARE(form->einf2->palette().color(QPalette::WindowText), QColor(Qt::red));

    // coming back from another program to the same window keeps what is open
    QTest::mouseClick(form->hotSpot(QStringLiteral("focus")), Qt::LeftButton);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(form, &deactivate);
    QCoreApplication::sendEvent(form, &activate);
    QVERIFY(form->ppeqi->isVisible());
    form->close();
}

void TestDescription::twoExplorersAreIndependent()
{
    QPointer<TForm5> first = openExplorer(true);
    QTest::mouseClick(first->hotSpot(QStringLiteral("volts1")), Qt::LeftButton);
    QPointer<TForm5> second = openExplorer(true);
    QVERIFY(first != second);
    QVERIFY(visiblePanels(second->panels()).isEmpty());
    QTest::mouseClick(second->hotSpot(QStringLiteral("cal2")), Qt::LeftButton);
    QCOMPARE(visiblePanels(first->panels()), QList<Panel *> { first->pinfc });
    QVERIFY(first->einf2->text().isEmpty());
    QCOMPARE(visiblePanels(second->panels()), QList<Panel *> { second->pmedioi });
    second->close();
    QVERIFY(first->isVisible());

    // a newer instance in Valencian makes the older one's later texts Valencian too
    QPointer<TForm5> valencian = openExplorer(false);
    QTest::mouseClick(first->hotSpot(QStringLiteral("pantalla")), Qt::LeftButton);
    QCOMPARE(first->Ppant->text(), QStringLiteral("Pantalla per a la visualització dels senyals"));
    QCOMPARE(first->windowTitle(), QStringLiteral("Mandos del Osciloscopio"));
    valencian->close();
    first->close();
}

void TestDescription::pointerOverHotSpots()
{
    TForm5 *form = openExplorer(true);
    QVERIFY(CursorTable::has(CursorTable::kHand));
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(spot.name));
        QVERIFY(!hotSpot->testAttribute(Qt::WA_SetCursor));
        pointerOver(hotSpot);
        if (spot.handPointer)
            QVERIFY2(showsHand(hotSpot), spot.name);
        else
            QVERIFY2(showsArrow(hotSpot), spot.name);
    }
    // the arrow over the trace-rotation screw, but its click still explains it
    QTest::mouseClick(form->hotSpot(QStringLiteral("traza")), Qt::LeftButton);
    QCOMPARE(form->psupd->text(), QStringLiteral("Rotación de la traza horizontal"));
    // the photograph itself keeps the arrow
    pointerOver(form->Image1);
    QVERIFY(showsArrow(form->Image1));
    form->close();
}

void TestDescription::pointerWithoutTheCursorFile()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("handgrab.cur"))));
    TForm5 *form = openExplorer(true);
    QVERIFY(!CursorTable::has(CursorTable::kHand));
    for (const char *name : { "time", "alt", "traza", "pantalla" }) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(name));
        pointerOver(hotSpot);
        QVERIFY2(showsArrow(hotSpot), name);
    }
    // the controls still explain themselves
    QTest::mouseClick(form->hotSpot(QStringLiteral("time")), Qt::LeftButton);
    QVERIFY(form->psupd->isVisible());
    TForm6 *tube = openTube(true);
    pointerOver(tube->epan);
    QVERIFY(showsArrow(tube->epan));
    tube->close();
    form->close();
    m_dir->restore(QStringLiteral("handgrab.cur"));
}

void TestDescription::enterClosesTheExplorer()
{
    TForm5 *form = openExplorer(true);
    QTest::keyClick(form, Qt::Key_Return);
    QTRY_VERIFY(!form->isVisible());
    TForm6 *tube = openTube(true);
    QTest::keyClick(tube, Qt::Key_Return);
    QTRY_VERIFY(!tube->isVisible());
}

// ---- the tube description ----

void TestDescription::tubeTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("castilian") << true << "Descripción del tubo de rayos catódicos"
                               << "&Cerrar"
                               << QStringList { "Filamento", "Cátodo", "Rejilla ", "Anodo ",
                                      "Placas de deflexión ", "Pantalla" };
    QTest::newRow("valencian") << false << "Descripció del tub de raigs catòdics"
                               << "Tancar"
                               << QStringList { "Filament", "Càtode", "Reixa", "Anode", "Plaques de deflexió",
                                      "Pantalla" };
}

void TestDescription::tubeTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, button);
    QFETCH(QStringList, labels);
    TForm6 *form = openTube(castilian);
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->BitBtn1->text(), button);
    QCOMPARE(form->size(), QSize(575, 304));
    QCOMPARE(form->Image1->picture().size(), QSize(536, 268));
    QCOMPARE(form->Image1->geometry(), QRect(24, 8, 529, 265));
    const QList<Label *> members { form->efil, form->ecat, form->erej, form->Label1, form->eph, form->epan };
    for (int i = 0; i < int(kTubeParts.size()); ++i) {
        Label *label = members[i];
        QCOMPARE(label, form->partLabel(QLatin1String(kTubeParts[i].name)));
        QCOMPARE(label->text(), labels[i]);
        // sized to its text from its design place
        QCOMPARE(label->pos(), QPoint(kTubeParts[i].rect.left, kTubeParts[i].rect.top));
        QVERIFY(label->fontMetrics().horizontalAdvance(labels[i]) < label->width());
        QVERIFY(label->font().underline());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor::fromRgb(kTubeParts[i].colour));
        pointerOver(label);
        QVERIFY2(showsHand(label), kTubeParts[i].name);
        // no two names run into each other
        for (int j = 0; j < i; ++j)
            QVERIFY2(!members[j]->geometry().intersects(label->geometry()), kTubeParts[i].name);
    }
    QVERIFY(!form->Panel1->isVisible() && !form->Panel2->isVisible());
    saveGrab(form, castilian ? QStringLiteral("form6-castilian") : QStringLiteral("form6-valencian"));
    form->close();
}

void TestDescription::tubeArrows()
{
    TForm6 *form = openTube(true);
    QCOMPARE(form->Label2->text(), SymbolFont::toUnicode(QString(QChar(kTubeUpArrow.symbolCode))));
    QCOMPARE(form->Label2->text(), QString(QChar(0x2191)));
    QCOMPARE(form->Label3->text(), QString(QChar(0x2193)));
    QCOMPARE(form->Label2->geometry(), QRect(80, 136, 8, 13));
    QCOMPARE(form->Label3->geometry(), QRect(96, 88, 9, 13));
    // the up arrow stands just above the cathode's name, the down arrow just below the grid's
    QVERIFY(form->Label2->geometry().bottom() < form->ecat->y());
    QVERIFY(form->ecat->y() - form->Label2->geometry().bottom() < 8);
    QVERIFY(form->Label3->y() > form->erej->geometry().bottom() - 1);
    QVERIFY(form->Label3->y() - form->erej->geometry().bottom() < 8);
    QVERIFY(form->Label2->font().bold());
    // each arrow is drawn, in blue, inside its small label
    for (Label *arrow : { form->Label2, form->Label3 }) {
        const QImage image = arrow->grab().toImage();
        int blue = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                blue += qBlue(image.pixel(x, y)) > 150 && qRed(image.pixel(x, y)) < 120;
        QVERIFY2(blue >= 8, qPrintable(arrow->font().family() + QString::number(blue)));
    }
    form->close();
}

void TestDescription::tubePartClick_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("top");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    for (const TubePart &part : kTubeParts) {
        const bool top = part.box == TubePart::Box::Top;
        QTest::addRow("%s castilian", part.name)
            << true << QString::fromLatin1(part.name) << top << QString::fromUtf16(part.firstCastilian)
            << (part.secondCastilian ? QString::fromUtf16(part.secondCastilian) : QString());
        QTest::addRow("%s valencian", part.name)
            << false << QString::fromLatin1(part.name) << top << QString::fromUtf16(part.firstValencian)
            << (part.secondValencian ? QString::fromUtf16(part.secondValencian) : QString());
    }
}

void TestDescription::tubePartClick()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(bool, top);
    QFETCH(QString, first);
    QFETCH(QString, second);
    static QPointer<TForm6> form;
    if (!form || TForm6::language() != rowLanguage(castilian))
        form = openTube(castilian);
    Label *label = form->partLabel(name);
    // the student clicks the name where it shows, not hidden under anything
    QCOMPARE(form->client()->childAt(label->geometry().center()), label);
    QTest::mouseClick(label, Qt::LeftButton);

    Panel *line1 = top ? form->Panel2 : form->Panel1;
    Panel *line2 = top ? form->Panel4 : form->Panel3;
    Panel *other1 = top ? form->Panel1 : form->Panel2;
    Panel *other2 = top ? form->Panel3 : form->Panel4;
    QVERIFY(line1->isVisible());
    QCOMPARE(line1->text(), first);
    QCOMPARE(line2->isVisible(), !second.isEmpty());
    if (!second.isEmpty())
        QCOMPARE(line2->text(), second);
    QVERIFY(!other1->isVisible() && !other2->isVisible());
    QVERIFY2(fits(line1, first), qPrintable(first));
    QVERIFY2(fits(line2, second), qPrintable(second));
    saveGrab(form,
        QStringLiteral("form6-%1-%2").arg(name, castilian ? QStringLiteral("cas") : QStringLiteral("val")));
}

void TestDescription::tubeBoxClickHidesBothLines()
{
    TForm6 *form = openTube(true);
    QTest::mouseClick(form->erej, Qt::LeftButton);
    QVERIFY(form->Panel2->isVisible() && form->Panel4->isVisible());
    QTest::mouseClick(form->Panel4, Qt::LeftButton);
    QVERIFY(!form->Panel2->isVisible() && !form->Panel4->isVisible());

    QTest::mouseClick(form->eph, Qt::LeftButton);
    QVERIFY(form->Panel1->isVisible() && form->Panel3->isVisible());
    QTest::mouseClick(form->Panel1, Qt::LeftButton);
    QVERIFY(!form->Panel1->isVisible() && !form->Panel3->isVisible());

    QTest::mouseClick(form->Label1, Qt::LeftButton);
    QTest::mouseClick(form->Panel3, Qt::LeftButton);
    QVERIFY(!form->Panel1->isVisible() && !form->Panel3->isVisible());
    form->close();
}

void TestDescription::tubeTopBoxAfterBottomBox()
{
    TForm6 *form = openTube(true);
    QTest::mouseClick(form->epan, Qt::LeftButton);
    QVERIFY(form->Panel1->isVisible() && form->Panel3->isVisible());
    QTest::mouseClick(form->efil, Qt::LeftButton);
    QVERIFY(!form->Panel1->isVisible() && !form->Panel3->isVisible());
    QVERIFY(form->Panel2->isVisible());
    QVERIFY(!form->Panel4->isVisible());
    QCOMPARE(form->Panel2->text(),
        QStringLiteral("La función del filamento es calentar al cátodo para que emita electrones"));
    // a one-line explanation after a two-line one in the same box leaves the old second line hidden
    QTest::mouseClick(form->Label1, Qt::LeftButton);
    QTest::mouseClick(form->ecat, Qt::LeftButton);
    QVERIFY(form->Panel1->isVisible() && !form->Panel3->isVisible());
    form->close();
}

void TestDescription::tubeActivationHidesTheBoxes()
{
    TForm6 *form = openTube(true);
    QTest::mouseClick(form->erej, Qt::LeftButton);
    QVERIFY(form->Panel2->isVisible());
    fichaprincipal->showWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &activate);
    QVERIFY(!form->Panel1->isVisible() && !form->Panel2->isVisible());
    QVERIFY(!form->Panel3->isVisible() && !form->Panel4->isVisible());
    form->close();
}

void TestDescription::tubeInnerPanel()
{
    TForm6 *form = openTube(true);
    QCOMPARE(form->pp->parentWidget(), form->Panel1);
    QCOMPARE(form->pp->geometry(), QRect(8, 24, 185, 41));
    QCOMPARE(form->pp->text(), QStringLiteral("pp"));
    // a click on the strip of it that shows does nothing
    QTest::mouseClick(form->ecat, Qt::LeftButton);
    QTest::mouseClick(form->pp, Qt::LeftButton, {}, QPoint(20, 0));
    QVERIFY(form->Panel1->isVisible());
    form->close();
}

QTEST_MAIN(TestDescription)
#include "tst_description.moc"
