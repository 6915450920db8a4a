#include "tcuestiones.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

/** The right option of each question, from 0, as the answer key has it. */
constexpr int kRight[7] = { 0, 2, 1, 2, 1, 2, 2 };

QString right(bool castilian)
{
    return castilian ? QStringLiteral("Respuesta correcta") : QStringLiteral("Resposta correcta");
}

QString wrong(bool castilian)
{
    return castilian ? QStringLiteral("Respuesta incorrecta") : QStringLiteral("Resposta incorrecta");
}

int checkedCount(const Tcuestiones *window)
{
    int checked = 0;
    for (const RadioGroup *group : window->groups)
        for (int i = 0; i < group->count(); ++i)
            checked += group->button(i)->isChecked() ? 1 : 0;
    return checked;
}

} // namespace

class TestQuestions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void texts_data();
    void texts();
    void everyOptionIsJudged_data();
    void everyOptionIsJudged();
    void onlyAChangeOfSelectionIsJudged();
    void keyboardSelectionIsJudged();
    void pageChangeClearsEveryQuestion();
    void activationStartsAfresh();
    void feedbackFollowsTheNewestWindowsLanguage();
    void optionsReachAssistiveTechnologyAsRadioButtons();
    void picturesFitTheirControls();
    void closeButtonHidesTheWindow();
    void grabEveryPage_data();
    void grabEveryPage();

private:
    void setLanguage(bool castilian);
    Tcuestiones *open(bool castilian);
    void showPage(Tcuestiones *window, int page);
    void pick(Tcuestiones *window, int question, int option);

    ScratchAppDir *m_dir = nullptr;
};

void TestQuestions::initTestCase()
{
    m_dir = new ScratchAppDir;
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestQuestions::init()
{
    setLanguage(true);
}

void TestQuestions::cleanupTestCase()
{
    Form::destroyAll();
    delete m_dir;
}

void TestQuestions::setLanguage(bool castilian)
{
    chooseLanguage(castilian);
    QCOMPARE(ProgramLanguage::current(), rowLanguage(castilian));
}

Tcuestiones *TestQuestions::open(bool castilian)
{
    setLanguage(castilian);
    fichaprincipal->menuItem(QStringLiteral("Problemas2"))->trigger();
    return cuestiones;
}

void TestQuestions::showPage(Tcuestiones *window, int page)
{
    QTabBar *tabs = window->pag->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    QCOMPARE(window->pag->currentIndex(), page);
}

void TestQuestions::pick(Tcuestiones *window, int question, int option)
{
    QRadioButton *button = window->groups[question]->button(option);
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void TestQuestions::texts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("firstTab");
    QTest::addColumn<QString>("lastTab");
    QTest::addColumn<QString>("firstQuestion");
    QTest::addColumn<QString>("rightOfFirst");
    QTest::addColumn<QString>("lastQuestion");
    QTest::newRow("castilian")
        << true << "Cuestiones"
        << "&Cerrar"
        << "Cuestión 1"
        << "Cuestión 7"
        << "¿Cual es la función del filamento (F)?"
        << "Calienta al cátodo para que emita electrones"
        << "Estas dos imágenes corresponden a la misma señal, ¿porqué se visualizan de forma "
           "diferente?";
    QTest::newRow("valencian")
        << false << "Qüestions"
        << "&Tancar"
        << "Qüestió 1"
        << "Qüestió 7"
        << "Qual és la funció del filament (F)?"
        << "Escalfa el càtode perquè emeta electrons"
        << "Estes dues imatges corresponen al mateix senyal, perquè es visualitzen de forma "
           "diferent?";
}

void TestQuestions::texts()
{
    QFETCH(bool, castilian);
    Tcuestiones *window = open(castilian);
    QVERIFY(window && window->isVisible());
    QTEST(window->windowTitle(), "caption");
    QTEST(window->BitBtn1->text(), "close");
    QCOMPARE(window->pag->count(), 7);
    QTEST(window->pag->tabText(0), "firstTab");
    QTEST(window->pag->tabText(6), "lastTab");
    QTEST(window->questionLabels[0]->text(), "firstQuestion");
    QTEST(window->groups[0]->button(0)->text(), "rightOfFirst");
    QTEST(window->questionLabels[6]->text(), "lastQuestion");
    // Question 6 offers four options, the same in both languages; the others three.
    for (int q = 0; q < 7; ++q)
        QCOMPARE(window->groups[q]->count(), q == 5 ? 4 : 3);
    QCOMPARE(window->groups[5]->button(2)->text(),
        QStringLiteral("Figura1=0°,Figura2=35°, Figura3=90°,Figura4=180°"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window->figureCaptions[i]->text(), QStringLiteral("Figura%1").arg(i + 1));
    // Nothing answered yet.
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(checkedCount(window), 0);
    // Every question and option is shown whole, inside its page and group.
    for (int q = 0; q < 7; ++q) {
        showPage(window, q);
        QLabel *label = window->questionLabels[q];
        QVERIFY2(label->geometry().right() < window->pages[q]->width(), qPrintable(label->text()));
        for (int i = 0; i < window->groups[q]->count(); ++i) {
            QRadioButton *button = window->groups[q]->button(i);
            QStyleOptionButton option;
            option.initFrom(button);
            const int needed = button->fontMetrics().horizontalAdvance(button->text())
                + button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, button);
            QVERIFY2(needed <= button->width(), qPrintable(button->text()));
        }
    }
}

void TestQuestions::everyOptionIsJudged_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("option");
    for (bool castilian : { true, false })
        for (int q = 0; q < 7; ++q)
            for (int option = 0; option < (q == 5 ? 4 : 3); ++option)
                QTest::addRow("%s q%d o%d", castilian ? "cas" : "val", q + 1, option)
                    << castilian << q << option;
}

void TestQuestions::everyOptionIsJudged()
{
    QFETCH(bool, castilian);
    QFETCH(int, question);
    QFETCH(int, option);
    Tcuestiones *window = cuestiones && Tcuestiones::language() == rowLanguage(castilian) ? cuestiones.data()
                                                                                          : open(castilian);
    activate(fichaprincipal);
    activate(window);
    showPage(window, question);
    QVERIFY(!window->Panel1->isVisible());
    pick(window, question, option);
    QVERIFY(window->Panel1->isVisible());
    QCOMPARE(window->Panel1->text(), option == kRight[question] ? right(castilian) : wrong(castilian));
    // Another option of the same question, judged afresh in the same strip.
    const int other = option == kRight[question] ? (option + 1) % 3 : kRight[question];
    pick(window, question, other);
    QCOMPARE(window->Panel1->text(), other == kRight[question] ? right(castilian) : wrong(castilian));
    QCOMPARE(checkedCount(window), 1);
}

void TestQuestions::onlyAChangeOfSelectionIsJudged()
{
    Tcuestiones *window = open(true);
    pick(window, 0, 1);
    QCOMPARE(window->Panel1->text(), wrong(true));
    // A newer window in Valencian changes the class's copy: a judgement would now speak Valencian.
    open(false);
    activate(window);
    // FormActivate cleared the page; pick the same option twice.
    pick(window, 0, 1);
    QCOMPARE(window->Panel1->text(), wrong(false));
    open(true);
    activate(window);
    pick(window, 0, 2);
    QCOMPARE(window->Panel1->text(), wrong(true));
    open(false);
    // Clicking the option already selected, with the window active all along, judges nothing.
    window->activateWindow();
    activate(window);
    showPage(window, 0);
    pick(window, 0, 2);
    QCOMPARE(window->Panel1->text(), wrong(false));
    const QString before = window->Panel1->text();
    setLanguage(true);
    fichaprincipal->menuItem(QStringLiteral("Problemas2"))->trigger();
    cuestiones->close();
    // The Castilian copy is in force again, the old window keeps its selection (it was not activated).
    QVERIFY(window->groups[0]->button(2)->isChecked());
    QTest::mouseClick(window->groups[0]->button(2), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(window->Panel1->text(), before);
    QVERIFY(window->groups[0]->button(2)->isChecked());
}

void TestQuestions::keyboardSelectionIsJudged()
{
    Tcuestiones *window = open(true);
    showPage(window, 1);
    QRadioButton *button = window->groups[1]->button(2);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QVERIFY(button->isChecked());
    QCOMPARE(window->Panel1->text(), right(true));
    QRadioButton *other = window->groups[1]->button(0);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Space);
    QCOMPARE(window->Panel1->text(), wrong(true));
    QVERIFY(!button->isChecked());
}

void TestQuestions::pageChangeClearsEveryQuestion()
{
    Tcuestiones *window = open(true);
    showPage(window, 2);
    pick(window, 2, 1);
    QCOMPARE(window->Panel1->text(), right(true));
    // By clicking a tab.
    showPage(window, 3);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(checkedCount(window), 0);
    showPage(window, 2);
    QCOMPARE(checkedCount(window), 0);
    QVERIFY(!window->Panel1->isVisible());
    // By keyboard.
    pick(window, 2, 0);
    QCOMPARE(window->Panel1->text(), wrong(true));
    window->pag->setFocus();
    QTest::keyClick(window->pag, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(window->pag->currentIndex(), 3);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(checkedCount(window), 0);
}

void TestQuestions::activationStartsAfresh()
{
    Tcuestiones *window = open(true);
    showPage(window, 4);
    pick(window, 4, 0);
    QVERIFY(window->Panel1->isVisible());
    activate(fichaprincipal);
    // Nothing changes while another window is active.
    QCOMPARE(window->pag->currentIndex(), 4);
    QVERIFY(window->Panel1->isVisible());
    activate(window);
    QCOMPARE(window->pag->currentIndex(), 0);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(checkedCount(window), 0);
    // Coming back to the first page itself clears it too, and shows no verdict.
    pick(window, 0, 1);
    activate(fichaprincipal);
    activate(window);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(checkedCount(window), 0);
}

void TestQuestions::feedbackFollowsTheNewestWindowsLanguage()
{
    Tcuestiones *older = open(false);
    setLanguage(true);
    // Switching the main window's language leaves the open window as it was.
    pick(older, 0, 0);
    QCOMPARE(older->Panel1->text(), right(false));
    QCOMPARE(older->windowTitle(), QStringLiteral("Qüestions"));
    Tcuestiones *newer = open(true);
    QVERIFY(newer != older);
    activate(older);
    pick(older, 0, 0);
    QCOMPARE(older->Panel1->text(), right(true));
    QCOMPARE(older->windowTitle(), QStringLiteral("Qüestions"));
    QCOMPARE(older->groups[0]->button(0)->text(), QStringLiteral("Escalfa el càtode perquè emeta electrons"));
}

void TestQuestions::optionsReachAssistiveTechnologyAsRadioButtons()
{
    Tcuestiones *window = open(true);
    for (int q = 0; q < 7; ++q) {
        showPage(window, q);
        for (int i = 0; i < window->groups[q]->count(); ++i) {
            QRadioButton *button = window->groups[q]->button(i);
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
            QVERIFY(face);
            QCOMPARE(face->text(QAccessible::Name), button->text());
            QCOMPARE(face->role(), QAccessible::RadioButton);
        }
    }
}

void TestQuestions::picturesFitTheirControls()
{
    Tcuestiones *window = open(true);
    const auto picture
        = [window](const char *name) { return window->findChild<Picture *>(QLatin1String(name))->picture(); };
    QCOMPARE(picture("Image1").size(), QSize(260, 138));
    QCOMPARE(picture("Image2").size(), QSize(188, 151));
    QCOMPARE(picture("Image3"), picture("Image1"));
    QCOMPARE(picture("Image4").size(), QSize(250, 85));
    QCOMPARE(picture("Image5").size(), QSize(110, 86));
    QCOMPARE(picture("Image6").size(), QSize(110, 89));

    // Everything drawn on the tube lies where both of its controls show it: Image1 shows the first
    // 241 by 105 pixels, Image3 stands 8 pixels left of its page.
    const QImage tube = picture("Image1");
    for (int y = 0; y < tube.height(); ++y)
        for (int x = 0; x < tube.width(); ++x)
            if (tube.pixel(x, y) != qRgb(255, 255, 255))
                QVERIFY2(x >= 8 && x < 241 && y < 105, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));

    // Each caption "FiguraN" stands over its own figure: under its middle the picture is the dark face.
    const QImage figures = picture("Image4");
    Picture *image4 = window->findChild<Picture *>(QStringLiteral("Image4"));
    for (Label *caption : window->figureCaptions) {
        const int x = caption->geometry().center().x() - image4->x();
        QVERIFY(qGray(figures.pixel(x, 6)) < 80);
        QVERIFY(qGray(figures.pixel(x, figures.height() - 10)) < 80);
        // and the white gap between figures is outside the caption
        QVERIFY(qGray(figures.pixel(x - 28, 40)) > 200 || x - 28 < 0);
    }
    // The two screens of question 7 differ: the same sine, triggered at two levels.
    QVERIFY(picture("Image5") != picture("Image6").copy(0, 0, 110, 86));
}

void TestQuestions::closeButtonHidesTheWindow()
{
    Tcuestiones *window = open(true);
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(cuestiones == window);
}

void TestQuestions::grabEveryPage_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("cas") << true;
    QTest::newRow("val") << false;
}

void TestQuestions::grabEveryPage()
{
    QFETCH(bool, castilian);
    Tcuestiones *window = open(castilian);
    for (int q = 0; q < 7; ++q) {
        showPage(window, q);
        pick(window, q, kRight[q]);
        saveGrab(window, QStringLiteral("questions-%1-%2").arg(castilian ? "cas" : "val").arg(q + 1));
    }
}

QTEST_MAIN(TestQuestions)
#include "tst_questions.moc"
