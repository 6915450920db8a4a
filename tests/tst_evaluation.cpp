#include "cursors.h"
#include "evaluationtestsupport.h"

class TestEvaluation : public EvaluationSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void questionnaireTexts_data();
    void questionnaireTexts();
    void everyHotSpotOnEveryPage_data();
    void everyHotSpotOnEveryPage();
    void stackedHotSpots_data();
    void stackedHotSpots();
    void screenAndPhotographDoNothing();
    void scoreAfterAllTen();
    void rightAnswerCountsOnce();
    void pageChangeHidesTheStripOnly();
    void activationOfAnyWindowResets();
    void handPointerWhereItBelongs();
    void pointerWithoutTheCursorFile();
    void hintsShownAsDesigned();
    void everyPageGrabbed();
    void tabMeetsTheControlsInReadingOrder();
    void keysAnswerAsClicksDo_data();
    void keysAnswerAsClicksDo();
    void keyboardOnlyStudentScores();
    void focusRingShowsWhereTheKeyboardIs();

private:
    /** The questionnaire active, with the keyboard on the photograph's first control. */
    Tevaluacion *openForKeyboard(bool castilian);
};

// ---- the questionnaire ----

void TestEvaluation::questionnaireTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("question1");
    QTest::addColumn<QString>("question9");
    QTest::newRow("castilian") << true << "Autoevaluación"
                               << "&Cerrar"
                               << "Cuestión "
                               << "Indicar sobre la imagen qué botón se ha de pulsar para visualizar las "
                                  "ondas de los canales I y II "
                                  "simultáneamente."
                               << "¿Qué botón conecta a tierra al canal I?";
    QTest::newRow("valencian")
        << false << "Autoevaluació"
        << "Tancar"
        << "Qüestió "
        << "Indicar sobre la imatge què botó s'ha de polsar per a visualitzar les ones dels canals I i II "
           "simultàniament."
        << "¿Qué botó connecta a terra el canal I?";
}

void TestEvaluation::questionnaireTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, close);
    QFETCH(QString, tab);
    QFETCH(QString, question1);
    QFETCH(QString, question9);
    Tevaluacion *form = openQuestionnaire(castilian);
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->BitBtn2->text(), close);
    QCOMPARE(form->BitBtn1->text(), QStringLiteral("Nota Final"));
    QCOMPARE(form->paginas->count(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(form->paginas->tabText(i), tab + QString::number(i + 1));
    // all ten tabs stand side by side, none scrolled out of sight
    QTabBar *tabs = form->paginas->tabBar();
    QVERIFY(tabs->tabRect(9).right() < tabs->width());
    for (int i = 0; i < 10; ++i)
        QVERIFY(tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) < tabs->tabRect(i).width());
    auto sentence = [form](int question) {
        QString text;
        for (Label *label : form->questionLabels(question))
            text += label->text();
        return text;
    };
    QCOMPARE(sentence(1), question1);
    QCOMPARE(sentence(9), question9);
    // two-line questions read on; every line lies whole within its page
    for (int question = 1; question <= 10; ++question) {
        const QList<Label *> labels = form->questionLabels(question);
        QVERIFY(!labels.isEmpty());
        if (labels.size() == 2)
            QVERIFY(labels[1]->y() > labels[0]->y() + labels[0]->height() - 1);
        for (Label *label : labels) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                qPrintable(label->objectName()));
            QVERIFY2(
                label->x() + label->width() <= form->paginas->width() - 4, qPrintable(label->objectName()));
            QVERIFY(label->font().bold());
        }
    }
    // the hints read the same in both languages
    QCOMPARE(form->BitBtn1->toolTip(), QStringLiteral("Pulsar al finalizar todas las cuestiones"));
    QCOMPARE(form->Panel1->toolTip(), QStringLiteral("Los mensajes sobre las cuestiones aparecen aquí"));
    QCOMPARE(form->hotSpot(QStringLiteral("Image12"))->toolTip(), QStringLiteral("Trigger Imput"));
    // the window's frame and the photograph at its own size
    QCOMPARE(form->size(), QSize(630, 345));
    QCOMPARE(form->pos(), QPoint(0, 85));
    QCOMPARE(form->Image1->picture().size(), QSize(535, 239));
    // drawn unscaled from the control's corner, so every hot-spot lies on the control it names
    const QImage photograph = form->Image1->picture().convertToFormat(QImage::Format_RGB32);
    const QImage shown = form->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(photograph.rect()), photograph);
    // the verdicts speak the window's language
    turnTo(form, 4);
    clickSpot(form, QStringLiteral("Image10"));
    QCOMPARE(strip(form), castilian ? kRight : QStringLiteral("Resposta Correcta"));
    clickSpot(form, QStringLiteral("Image11"));
    QCOMPARE(strip(form), castilian ? kWrong : QStringLiteral("Resposta Incorrecta"));
    QCOMPARE(mark(form), castilian ? QStringLiteral("1   puntos") : QStringLiteral("1   punts"));
    form->close();
}

void TestEvaluation::everyHotSpotOnEveryPage_data()
{
    QTest::addColumn<QString>("name");
    for (const EvaluationSpot &spot : kEvaluationSpots)
        QTest::newRow(spot.name) << QString::fromLatin1(spot.name);
}

void TestEvaluation::everyHotSpotOnEveryPage()
{
    QFETCH(QString, name);
    static QPointer<Tevaluacion> form;
    if (!form)
        form = openQuestionnaire(true);
    const int answers = kAnswerKey.indexOf(name) + 1;
    for (int question = 1; question <= 10; ++question) {
        comeBack(form);
        QCOMPARE(form->paginas->currentWidget(), form->page(1));
        QVERIFY(!form->Panel1->isVisible());
        turnTo(form, question);
        QCOMPARE(form->paginas->currentWidget(), form->page(question));
        QWidget *target = clickSpot(form, name);
        QVERIFY(target);
        QCOMPARE(target->objectName(), name);
        const bool right = question == answers;
        QVERIFY2(
            strip(form) == (right ? kRight : kWrong), qPrintable(QStringLiteral("page %1").arg(question)));
        QCOMPARE(mark(form), right ? QStringLiteral("1   puntos") : QStringLiteral("0   puntos"));
        // a wrong answer leaves the page where it was
        QCOMPARE(form->paginas->currentWidget(), form->page(question));
    }
}

void TestEvaluation::stackedHotSpots_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("onTop");
    QTest::addColumn<QString>("verdict");
    // The bottom row of Time/div is also the top row of trig. ext.
    QTest::newRow("time base above its overlap") << QPoint(500, 87) << 6 << "Image9" << kRight;
    QTest::newRow("trigger input over the time base") << QPoint(500, 88) << 6 << "Image13" << kWrong;
    // The right column of Dual is also the left column of Add.
    QTest::newRow("add over dual, on dual's page") << QPoint(456, 210) << 1 << "Image25" << kWrong;
    QTest::newRow("add over dual, on add's page") << QPoint(456, 210) << 3 << "Image25" << kRight;
    QTest::newRow("dual beside the overlap") << QPoint(455, 210) << 1 << "Image24" << kRight;
    // Alt lies over the left column of Slope and the bottom row of the trigger switch.
    QTest::newRow("alt over slope") << QPoint(464, 110) << 7 << "Image15" << kWrong;
    QTest::newRow("slope beside alt") << QPoint(465, 110) << 7 << "Image14" << kRight;
    QTest::newRow("alt over the trigger switch") << QPoint(440, 88) << 1 << "Image15" << kWrong;
    // The two GD buttons of channel II's row lie over the top row of its input.
    QTest::newRow("GD over input II") << QPoint(560, 192) << 9 << "Image34" << kWrong;
    QTest::newRow("input II below") << QPoint(560, 193) << 9 << "Image22" << kWrong;
    QTest::newRow("channel I GD") << QPoint(328, 192) << 9 << "Image30" << kRight;
    QTest::newRow("input I below GD") << QPoint(328, 193) << 9 << "Image21" << kWrong;
    // Invert Ch I lies over the right column of Input Ch I.
    QTest::newRow("invert I over input I") << QPoint(352, 210) << 5 << "Image27" << kWrong;
}

void TestEvaluation::stackedHotSpots()
{
    QFETCH(QPoint, point);
    QFETCH(int, question);
    QFETCH(QString, onTop);
    QFETCH(QString, verdict);
    Tevaluacion *form = openQuestionnaire(true);
    turnTo(form, question);
    QWidget *target = clickAt(form, point);
    QVERIFY(target);
    QCOMPARE(target->objectName(), onTop);
    QCOMPARE(strip(form), verdict);
    form->close();
}

void TestEvaluation::screenAndPhotographDoNothing()
{
    Tevaluacion *form = openQuestionnaire(true);
    turnTo(form, 2);
    QCOMPARE(clickAt(form, QPoint(180, 100)), form->ipant);
    QVERIFY(!form->Panel1->isVisible());
    // the panel's plain print, between the controls
    QCOMPARE(clickAt(form, QPoint(200, 220)), form->Image1);
    // the strip keeps what it showed
    clickSpot(form, QStringLiteral("Image2"));
    QCOMPARE(clickAt(form, QPoint(100, 40)), form->ipant);
    QCOMPARE(strip(form), kWrong);
    QCOMPARE(mark(form), QStringLiteral("0   puntos"));
    form->close();
}

void TestEvaluation::scoreAfterAllTen()
{
    Tevaluacion *form = openQuestionnaire(true);
    QCOMPARE(mark(form), QStringLiteral("0   puntos"));
    for (int question = 1; question <= 10; ++question) {
        turnTo(form, question);
        // wrong answers first: the channel II twins of the channel I controls among them
        for (const char *wrong : { "Image19", "Image34", "Image13", "Image2" }) {
            clickSpot(form, QLatin1String(wrong));
            QCOMPARE(strip(form), kWrong);
        }
        clickSpot(form, kAnswerKey[question - 1]);
        QCOMPARE(strip(form), kRight);
        QCOMPARE(mark(form), QStringLiteral("%1   puntos").arg(question));
    }
    // nothing ends with the mark: a further click on a right answer adds nothing
    turnTo(form, 10);
    clickSpot(form, QStringLiteral("Image12"));
    QCOMPARE(mark(form), QStringLiteral("10   puntos"));
    saveGrab(form, QStringLiteral("evaluacion-ten-points"));
    form->close();

    Tevaluacion *valencian = openQuestionnaire(false);
    for (int question = 1; question <= 10; ++question) {
        turnTo(valencian, question);
        clickSpot(valencian, kAnswerKey[question - 1]);
    }
    QCOMPARE(mark(valencian), QStringLiteral("10   punts"));
    valencian->close();
}

void TestEvaluation::rightAnswerCountsOnce()
{
    Tevaluacion *form = openQuestionnaire(true);
    clickSpot(form, QStringLiteral("Image24"));
    QCOMPARE(strip(form), kRight);
    QCOMPARE(mark(form), QStringLiteral("1   puntos"));
    clickSpot(form, QStringLiteral("Image24"));
    QCOMPARE(strip(form), QStringLiteral("1   puntos"));
    // a wrong answer in between stays shown when the right one is clicked again
    clickSpot(form, QStringLiteral("Image23"));
    QCOMPARE(strip(form), kWrong);
    clickSpot(form, QStringLiteral("Image24"));
    QCOMPARE(strip(form), kWrong);
    QCOMPARE(mark(form), QStringLiteral("1   puntos"));
    // a hidden strip stays hidden
    turnTo(form, 2);
    turnTo(form, 1);
    clickSpot(form, QStringLiteral("Image24"));
    QVERIFY(!form->Panel1->isVisible());
    // after a wrong answer the question can still be answered right
    turnTo(form, 5);
    clickSpot(form, QStringLiteral("Image19"));
    QCOMPARE(strip(form), kWrong);
    clickSpot(form, QStringLiteral("Image20"));
    QCOMPARE(strip(form), kRight);
    QCOMPARE(mark(form), QStringLiteral("2   puntos"));
    form->close();
}

void TestEvaluation::pageChangeHidesTheStripOnly()
{
    Tevaluacion *form = openQuestionnaire(true);
    turnTo(form, 2);
    clickSpot(form, QStringLiteral("Image4"));
    QVERIFY(form->Panel1->isVisible());
    turnTo(form, 3);
    QVERIFY(!form->Panel1->isVisible());
    // by keyboard too
    clickSpot(form, QStringLiteral("Image2"));
    QVERIFY(form->Panel1->isVisible());
    form->paginas->tabBar()->setFocus();
    QTest::keyClick(form->paginas->tabBar(), Qt::Key_Right);
    QCOMPARE(form->paginas->currentWidget(), form->page(4));
    QVERIFY(!form->Panel1->isVisible());
    // an unanswered page may be left
    turnTo(form, 1);
    QCOMPARE(mark(form), QStringLiteral("1   puntos"));
    form->close();
}

void TestEvaluation::activationOfAnyWindowResets()
{
    QPointer<Tevaluacion> first = openQuestionnaire(true);
    turnTo(first, 2);
    clickSpot(first, QStringLiteral("Image4"));
    turnTo(first, 3);
    clickSpot(first, QStringLiteral("Image25"));
    QCOMPARE(mark(first), QStringLiteral("2   puntos"));

    // switching to the main window and back starts over, on the first question
    comeBack(first);
    QCOMPARE(first->paginas->currentWidget(), first->page(1));
    QVERIFY(!first->Panel1->isVisible());
    QCOMPARE(mark(first), QStringLiteral("0   puntos"));
    // the answered flags went too: the same question earns its point again
    turnTo(first, 2);
    clickSpot(first, QStringLiteral("Image4"));
    QCOMPARE(strip(first), kRight);
    turnTo(first, 3);

    // a second questionnaire's activation clears the score that both share
    QPointer<Tevaluacion> second = openQuestionnaire(true);
    QCOMPARE(mark(second), QStringLiteral("0   puntos"));
    QCOMPARE(mark(first), QStringLiteral("0   puntos"));
    // but only the activated window goes back to its first page
    QCOMPARE(first->paginas->currentWidget(), first->page(3));
    // points earned in either window add up
    turnTo(second, 4);
    clickSpot(second, QStringLiteral("Image10"));
    clickSpot(first, QStringLiteral("Image25"));
    QCOMPARE(mark(first), QStringLiteral("2   puntos"));
    QCOMPARE(mark(second), QStringLiteral("2   puntos"));
    // a question answered in one window is answered in the other
    turnTo(second, 3);
    QCOMPARE(mark(second), QStringLiteral("2   puntos"));
    clickSpot(second, QStringLiteral("Image25"));
    QCOMPARE(strip(second), QStringLiteral("2   puntos"));

    // coming back from another program keeps everything
    QEvent deactivate(QEvent::WindowDeactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(second, &deactivate);
    QCoreApplication::sendEvent(second, &activate);
    QCOMPARE(mark(second), QStringLiteral("2   puntos"));
    first->close();
    second->close();
}

void TestEvaluation::handPointerWhereItBelongs()
{
    Tevaluacion *form = openQuestionnaire(true);
    QVERIFY(CursorTable::has(CursorTable::kHand));
    for (const EvaluationSpot &spot : kEvaluationSpots) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(spot.name));
        QVERIFY(!hotSpot->testAttribute(Qt::WA_SetCursor));
        pointerOver(hotSpot);
        QVERIFY2(showsHand(hotSpot), spot.name);
    }
    QCOMPARE(int(kEvaluationSpots.size()), 33);
    for (QWidget *plain : { static_cast<QWidget *>(form->ipant), static_cast<QWidget *>(form->Image1),
             static_cast<QWidget *>(form->Panel1), static_cast<QWidget *>(form->paginas) }) {
        pointerOver(plain);
        QVERIFY2(plain->cursor().shape() == Qt::ArrowCursor, qPrintable(plain->objectName()));
    }
    form->close();
}

void TestEvaluation::pointerWithoutTheCursorFile()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("handgrab.cur"))));
    Tevaluacion *form = openQuestionnaire(true);
    QVERIFY(!CursorTable::has(CursorTable::kHand));
    for (const char *name : { "Image2", "Image24", "Image34" }) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(name));
        pointerOver(hotSpot);
        QVERIFY2(hotSpot->cursor().shape() == Qt::ArrowCursor, name);
    }
    // the questionnaire still works
    clickSpot(form, QStringLiteral("Image24"));
    QCOMPARE(strip(form), kRight);
    form->close();
    m_dir->restore(QStringLiteral("handgrab.cur"));
}

void TestEvaluation::hintsShownAsDesigned()
{
    Tevaluacion *form = openQuestionnaire(false);
    const QStringList silent = { "Image16", "Image19" };
    for (const EvaluationSpot &spot : kEvaluationSpots) {
        HotSpot *hotSpot = form->hotSpot(QLatin1String(spot.name));
        const QString hint = QString::fromUtf16(spot.hint);
        // every hot-spot names its control to a screen reader, in either language
        QCOMPARE(hotSpot->accessibleName(), hint);
        QCOMPARE(hotSpot->toolTip().isEmpty(), silent.contains(QLatin1String(spot.name)));
    }
    QCOMPARE(form->hotSpot(QStringLiteral("Image19"))->accessibleName(), QStringLiteral("Volts / div "));
    QCOMPARE(form->ipant->toolTip(), QStringLiteral("Pantalla"));
    QCOMPARE(form->BitBtn1->toolTip(), QStringLiteral("Pulsar al finalizar todas las cuestiones"));
    form->close();
}

void TestEvaluation::everyPageGrabbed()
{
    for (const bool castilian : { true, false }) {
        Tevaluacion *form = openQuestionnaire(castilian);
        const QString language = castilian ? QStringLiteral("castilian") : QStringLiteral("valencian");
        for (int question = 1; question <= 10; ++question) {
            turnTo(form, question);
            clickSpot(form, kAnswerKey[question - 1]);
            QVERIFY(form->Panel1->isVisible());
            saveGrab(form, QStringLiteral("evaluacion-%1-c%2").arg(language).arg(question));
        }
        clickSpot(form, QStringLiteral("Image2"));
        saveGrab(form, QStringLiteral("evaluacion-%1-wrong").arg(language));
        mark(form);
        saveGrab(form, QStringLiteral("evaluacion-%1-mark").arg(language));
        form->close();
    }
}

// ---- the keyboard ----

Tevaluacion *TestEvaluation::openForKeyboard(bool castilian)
{
    Tevaluacion *form = openQuestionnaire(castilian);
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form))
        return nullptr;
    form->BitBtn2->setFocus(Qt::TabFocusReason);
    // From the last button, Tab comes round to the top of the photograph.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return form;
}

void TestEvaluation::tabMeetsTheControlsInReadingOrder()
{
    Tevaluacion *form = openForKeyboard(true);
    QVERIFY(form);
    QList<HotSpot *> reached;
    while (auto *spot = qobject_cast<HotSpot *>(QApplication::focusWidget())) {
        QVERIFY2(!reached.contains(spot), qPrintable(spot->objectName()));
        reached << spot;
        QTest::keyClick(spot, Qt::Key_Tab);
    }
    QCOMPARE(reached.size(), qsizetype(kEvaluationSpots.size()));
    QCOMPARE(reached.first()->objectName(), QStringLiteral("Image2"));
    // Along a line the keyboard goes right; a new line starts below the one it leaves.
    for (qsizetype i = 1; i < reached.size(); ++i) {
        const QRect before = reached[i - 1]->geometry();
        const QRect after = reached[i]->geometry();
        QVERIFY2(after.left() > before.left() || after.center().y() > before.bottom(),
            qPrintable(reached[i - 1]->objectName() + QStringLiteral(" → ") + reached[i]->objectName()));
    }
    // After the photograph, the questions' tabs, then the buttons.
    QCOMPARE(QApplication::focusWidget(), form->paginas->tabBar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form->BitBtn1);
    // The screen's area names the screen and nothing more: the keyboard passes it by.
    QCOMPARE(form->ipant->focusPolicy(), Qt::NoFocus);
    form->close();
}

void TestEvaluation::keysAnswerAsClicksDo_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("spot");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Space on DUAL, question 1") << true << 1 << "Image24" << int(Qt::Key_Space) << kRight;
    QTest::newRow("Enter on X-Y, question 2") << true << 2 << "Image4" << int(Qt::Key_Return) << kRight;
    QTest::newRow("keypad Enter on SLOPE, question 7")
        << true << 7 << "Image14" << int(Qt::Key_Enter) << kRight;
    QTest::newRow("Space on DUAL, question 2") << true << 2 << "Image24" << int(Qt::Key_Space) << kWrong;
    QTest::newRow("Space on the switch") << true << 1 << "Image2" << int(Qt::Key_Space) << kWrong;
    QTest::newRow("valencian, Enter on GD I, question 9")
        << false << 9 << "Image30" << int(Qt::Key_Return) << QStringLiteral("Resposta Correcta");
    QTest::newRow("valencian, Space on GD II, question 9")
        << false << 9 << "Image34" << int(Qt::Key_Space) << QStringLiteral("Resposta Incorrecta");
    QTest::newRow("a letter answers nothing") << true << 1 << "Image24" << int(Qt::Key_A) << QString();
}

void TestEvaluation::keysAnswerAsClicksDo()
{
    QFETCH(bool, castilian);
    QFETCH(int, question);
    QFETCH(QString, spot);
    QFETCH(int, key);
    QFETCH(QString, shown);
    Tevaluacion *form = openForKeyboard(castilian);
    QVERIFY(form);
    turnTo(form, question);
    HotSpot *hotSpot = form->hotSpot(spot);
    hotSpot->setFocus(Qt::TabFocusReason);
    QTest::keyClick(hotSpot, Qt::Key(key));
    QCOMPARE(strip(form), shown);
    form->close();
}

void TestEvaluation::keyboardOnlyStudentScores()
{
    Tevaluacion *form = openForKeyboard(false);
    QVERIFY(form);
    const auto press = [](Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(QApplication::focusWidget(), key);
    };
    // Tab to the questions' tabs (past the 33 controls), then the arrow turns to question 2.
    press(Qt::Key_Tab, int(kEvaluationSpots.size()));
    QCOMPARE(QApplication::focusWidget(), form->paginas->tabBar());
    press(Qt::Key_Right);
    QCOMPARE(form->paginas->currentWidget(), form->page(2));
    // On past the two buttons and round to the top of the photograph: X - Y is its third control.
    press(Qt::Key_Tab, 5);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Image4"));
    press(Qt::Key_Space);
    QCOMPARE(strip(form), QStringLiteral("Resposta Correcta"));
    // "Nota Final" by the keyboard too.
    while (QApplication::focusWidget() != form->BitBtn1)
        press(Qt::Key_Tab);
    press(Qt::Key_Space);
    QCOMPARE(strip(form), QStringLiteral("1   punts"));
    form->close();
}

void TestEvaluation::focusRingShowsWhereTheKeyboardIs()
{
    Tevaluacion *form = openForKeyboard(true);
    QVERIFY(form);
    HotSpot *dual = form->hotSpot(QStringLiteral("Image24"));
    form->BitBtn1->setFocus(Qt::TabFocusReason);
    const QImage without = form->client()->grab().toImage();
    dual->setFocus(Qt::TabFocusReason);
    const QImage with = form->client()->grab().toImage();
    saveGrab(form, QStringLiteral("evaluacion-keyboard-focus"));
    // The ring is drawn on the control's edge, and nothing else on the photograph changes.
    const QRect ringArea = dual->geometry();
    const QRect buttons = form->BitBtn1->geometry().united(form->BitBtn2->geometry()).adjusted(-4, -4, 4, 4);
    int changedOnEdge = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y) || buttons.contains(x, y))
                continue;
            QVERIFY2(ringArea.contains(x, y), qPrintable(QStringLiteral("changed at %1, %2").arg(x).arg(y)));
            if (x <= ringArea.left() + 3 || x >= ringArea.right() - 3 || y <= ringArea.top() + 3
                || y >= ringArea.bottom() - 3)
                ++changedOnEdge;
        }
    }
    // All round the control: at least its perimeter.
    QVERIFY2(changedOnEdge >= 2 * (ringArea.width() + ringArea.height()),
        qPrintable(QString::number(changedOnEdge)));
    form->close();
}

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
