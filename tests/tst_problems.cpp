#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tproblemas.h"
#include "windowtestsupport.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

/** The page and check button of each problem, 1 to 7. */
struct ProblemPage
{
    int page;
    const char *button;
};
constexpr ProblemPage kProblem[8] = { {}, { 0, "BitBtn1" }, { 1, "BitBtn2" }, { 2, "BitBtn4" },
    { 3, "BitBtn3" }, { 4, "BitBtn5" }, { 5, "BitBtn6" }, { 6, "BitBtn7" } };

QString verdictText(bool castilian, bool right)
{
    if (castilian)
        return right ? QStringLiteral("Respuesta correcta") : QStringLiteral("Respuesta incorrecta");
    return right ? QStringLiteral("Resposta correcta") : QStringLiteral("Resposta incorrecta");
}

} // namespace

class TestProblems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void texts_data();
    void texts();
    void typedAnswersAreJudged_data();
    void typedAnswersAreJudged();
    void enterChecksTheProblem();
    void pastedBadInputGetsAVerdict_data();
    void pastedBadInputGetsAVerdict();
    void pageChangeHidesTheStripAndKeepsTheAnswers();
    void activationShowsTheFirstPageAndKeepsTheAnswers();
    void eachAnswerHasItsUnitBesideIt();
    void wordBoxesStandOnTheirMarks();
    void figuresAreShownWhole();
    void closeButtonHidesTheWindow();
    void grabEveryPage_data();
    void grabEveryPage();

private:
    void setLanguage(bool castilian);
    Tproblemas *open(bool castilian);
    void showPage(Tproblemas *window, int page);
    void type(QLineEdit *box, const QString &text);
    QString check(Tproblemas *window, int problem);

    ScratchAppDir *m_dir = nullptr;
};

void TestProblems::initTestCase()
{
    m_dir = new ScratchAppDir;
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestProblems::init()
{
    setLanguage(true);
}

void TestProblems::cleanupTestCase()
{
    Form::destroyAll();
    delete m_dir;
}

void TestProblems::setLanguage(bool castilian)
{
    chooseLanguage(castilian);
    QCOMPARE(ProgramLanguage::current(), rowLanguage(castilian));
}

Tproblemas *TestProblems::open(bool castilian)
{
    setLanguage(castilian);
    fichaprincipal->menuItem(QStringLiteral("Problemas3"))->trigger();
    return problemas;
}

void TestProblems::showPage(Tproblemas *window, int page)
{
    QTabBar *tabs = window->problema->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    QCOMPARE(window->problema->currentIndex(), page);
}

void TestProblems::type(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QCOMPARE(box->text(), text);
}

QString TestProblems::check(Tproblemas *window, int problem)
{
    auto *button = qobject_cast<QPushButton *>(window->control(QLatin1String(kProblem[problem].button)));
    if (!button || !button->isVisible())
        return QStringLiteral("(no visible check button)");
    QTest::mouseClick(button, Qt::LeftButton);
    return window->Panel1->isVisible() ? window->Panel1->text() : QString();
}

void TestProblems::texts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const auto row = [](bool castilian, const char *name, const char16_t *text) {
        QTest::addRow("%s %s", castilian ? "cas" : "val", name)
            << castilian << QString::fromLatin1(name) << QString::fromUtf16(text);
    };
    row(true, "Label2", u"señala 0,2 ms/div  y el selector de escala del canal I  5 volts/div?");
    row(false, "Label2", u"assenyala 0,2 ms/div i el selector d'escala del canal I  5 volts/div?");
    row(true, "Label6",
        u"Indicar el desfase entre las señales suponiendo que la base de tiempos  señala 0,1 ms/div");
    row(false, "Label6",
        u"Indiqueu el desfasament entre els senyals suposant que la base de temps  senyala 0,1 ms/div");
    row(true, "Label11", u"Indicar el período de la señal de la figura.La base de tiempos marca 1ms/div.");
    row(false, "Label11", u"Indicar el període del senyal de la figura.La base de temps marca 1ms/div.");
    row(true, "Label13", u" Suponiendo que la base de tiempos es 1 ms/div.");
    row(false, "Label13", u" Suposant que la base de temps és 1 ms/div.");
    row(true, "Label17", u" la base de tiempos es 1 ms/div.");
    row(false, "Label17", u" la base de temps és 1 ms/div.");
    row(true, "Label21", u"Nota: Escribir donde proceda, fase, amplitud, o periodo.");
    row(false, "Label21", u"Nota: Escriure on calga, fase, amplitud, o periode.");
    row(true, "bcerrar", u"&Cerrar");
    row(false, "bcerrar", u"&Tancar");
    row(true, "BitBtn4", u"Comprobar");
    row(false, "BitBtn4", u"Comprovar");
}

void TestProblems::texts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(QString, text);
    Tproblemas *window = open(castilian);
    QCOMPARE(window->windowTitle(), castilian ? QStringLiteral("Problemas") : QStringLiteral("Problemes"));
    QWidget *control = window->control(name);
    QVERIFY(control);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        // Shown whole inside its page.
        QVERIFY(label->geometry().right() < control->parentWidget()->width());
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= label->width() + 1);
    } else {
        QCOMPARE(qobject_cast<QPushButton *>(control)->text(), text);
    }
    QCOMPARE(window->problema->count(), 7);
    QVERIFY(!window->Panel1->isVisible());
}

void TestProblems::typedAnswersAreJudged_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("right");
    const auto rows = [](int problem, std::initializer_list<const char16_t *> texts, bool right) {
        for (const char16_t *text : texts) {
            const QString answer = QString::fromUtf16(text);
            for (bool castilian : { true, false })
                QTest::addRow("%s p%d '%s'", castilian ? "cas" : "val", problem, qPrintable(answer))
                    << castilian << problem << QStringList { answer } << right;
        }
    };
    rows(1, { u"10" }, true);
    rows(1, { u" 10", u"10 ", u"10,0", u"10V", u"" }, false);
    rows(2, { u"60" }, true);
    rows(2, { u"61", u"60 " }, false);
    rows(3, { u"53", u"59" }, true);
    rows(3, { u"56", u"" }, false);
    rows(4, { u"3" }, true);
    rows(4, { u"3,0", u"4" }, false);
    rows(5, { u"333", u"333,3", u"333.33", u"334", u"333 Hz" }, true);
    rows(5, { u"3330", u"3335", u"335", u"33", u"1/3", u"334,5", u"" }, false);
    rows(6, { u"1047", u"1047,2", u"1050 rad/s" }, true);
    rows(6, { u"1", u"1,5", u"1 rad/s", u"2094", u"0,9", u"2", u" 1", u"" }, false);
    const auto words = [](bool castilian, const char *name, QStringList boxes, bool right) {
        QTest::addRow("%s p7 %s", castilian ? "cas" : "val", name) << castilian << 7 << boxes << right;
    };
    for (bool castilian : { true, false }) {
        words(castilian, "right", { "amplitud", "periodo", "fase" }, true);
        words(castilian, "right, capitals and blanks", { " Amplitud", "PERÍODO ", "Fase" }, true);
        words(castilian, "old rule's pairing", { "periodo", "fase", "amplitud" }, false);
        words(castilian, "swapped", { "fase", "periodo", "amplitud" }, false);
        words(castilian, "empty", { "", "", "" }, false);
    }
}

void TestProblems::typedAnswersAreJudged()
{
    QFETCH(bool, castilian);
    QFETCH(int, problem);
    QFETCH(QStringList, answers);
    QFETCH(bool, right);
    Tproblemas *window
        = problemas && Tproblemas::language() == rowLanguage(castilian) ? problemas.data() : open(castilian);
    showPage(window, kProblem[problem].page);
    const QList<QLineEdit *> boxes = window->answerBoxes(problem);
    QCOMPARE(boxes.size(), answers.size());
    for (int i = 0; i < boxes.size(); ++i) {
        QVERIFY(boxes[i]->isVisible());
        type(boxes[i], answers[i]);
    }
    QCOMPARE(check(window, problem), verdictText(castilian, right));
    // The boxes keep what was typed, and checking again gives the same verdict.
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(boxes[i]->text(), answers[i]);
    QCOMPARE(check(window, problem), verdictText(castilian, right));
}

void TestProblems::enterChecksTheProblem()
{
    Tproblemas *window = open(true);
    showPage(window, 4);
    QLineEdit *box = window->answerBoxes(5).first();
    type(box, QStringLiteral("333,3 Hz"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(window->isVisible());
    QCOMPARE(window->Panel1->text(), verdictText(true, true));
    type(box, QStringLiteral("3330"));
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(window->Panel1->text(), verdictText(true, false));
    QVERIFY(window->isVisible());
}

void TestProblems::pastedBadInputGetsAVerdict_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one megabyte") << QString(1 << 20, QLatin1Char('7'));
    QTest::newRow("control characters") << QStringLiteral("1\x01\x02\x1b[2J\t\r\n0");
    QTest::newRow("non-latin letters") << QStringLiteral("振幅 амплитуда πλάτος");
    QTest::newRow("1e308") << QStringLiteral("1e308");
    QTest::newRow("NaN") << QStringLiteral("NaN");
    QTest::newRow("-0") << QStringLiteral("-0");
    QTest::newRow("inf") << QStringLiteral("inf");
}

void TestProblems::pastedBadInputGetsAVerdict()
{
    QFETCH(QString, text);
    Tproblemas *window = open(true);
    for (int problem = 1; problem <= 7; ++problem) {
        showPage(window, kProblem[problem].page);
        for (QLineEdit *box : window->answerBoxes(problem)) {
            box->setFocus();
            box->selectAll();
            box->insert(text);
        }
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(check(window, problem), verdictText(true, false));
        QVERIFY(clock.elapsed() < 1000);
    }
}

void TestProblems::pageChangeHidesTheStripAndKeepsTheAnswers()
{
    Tproblemas *window = open(true);
    type(window->answerBoxes(1).first(), QStringLiteral("10"));
    QCOMPARE(check(window, 1), verdictText(true, true));
    showPage(window, 6);
    QVERIFY(!window->Panel1->isVisible());
    const QList<QLineEdit *> words = window->answerBoxes(7);
    type(words[0], QStringLiteral("amplitud"));
    // By keyboard as well.
    window->problema->setFocus();
    QTest::keyClick(window->problema, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(window->problema->currentIndex(), 0);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(window->answerBoxes(1).first()->text(), QStringLiteral("10"));
    QCOMPARE(words[0]->text(), QStringLiteral("amplitud"));
}

void TestProblems::activationShowsTheFirstPageAndKeepsTheAnswers()
{
    Tproblemas *window = open(false);
    showPage(window, 5);
    type(window->answerBoxes(6).first(), QStringLiteral("1047"));
    QCOMPARE(check(window, 6), verdictText(false, true));
    activate(fichaprincipal);
    QCOMPARE(window->problema->currentIndex(), 5);
    activate(window);
    QCOMPARE(window->problema->currentIndex(), 0);
    QVERIFY(!window->Panel1->isVisible());
    QCOMPARE(window->answerBoxes(6).first()->text(), QStringLiteral("1047"));
    showPage(window, 5);
    QCOMPARE(check(window, 6), verdictText(false, true));
    // A new window starts with empty boxes.
    Tproblemas *fresh = open(true);
    QVERIFY(fresh != window);
    for (int problem = 1; problem <= 7; ++problem)
        for (QLineEdit *box : fresh->answerBoxes(problem))
            QVERIFY(box->text().isEmpty());
}

void TestProblems::eachAnswerHasItsUnitBesideIt()
{
    Tproblemas *window = open(true);
    struct Unit
    {
        int problem;
        const char *label;
        const char *unit;
    };
    const Unit units[] = { { 1, "Label3", "V" }, { 2, "Label8", "°" }, { 3, "Label10", "°" },
        { 4, "Label5", "ms" }, { 5, "Label15", "Hz" }, { 6, "Label19", "rad/s" } };
    for (const Unit &u : units) {
        showPage(window, kProblem[u.problem].page);
        QLineEdit *box = window->answerBoxes(u.problem).first();
        auto *label = qobject_cast<QLabel *>(window->control(QLatin1String(u.label)));
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->text(), QString::fromUtf8(u.unit));
        QCOMPARE(label->parentWidget(), box->parentWidget());
        // Right of the box, on its line.
        QVERIFY(label->x() >= box->geometry().right() && label->x() - box->geometry().right() < 16);
        QVERIFY(std::abs(label->geometry().center().y() - box->geometry().center().y()) <= 3);
        QVERIFY(!box->accessibleName().isEmpty());
    }
}

void TestProblems::wordBoxesStandOnTheirMarks()
{
    Tproblemas *window = open(true);
    showPage(window, 6);
    auto *figure = qobject_cast<Picture *>(window->control(QStringLiteral("Image7")));
    QVERIFY(figure);
    const QImage picture = figure->picture();
    QCOMPARE(figure->size(), picture.size());
    const QList<QLineEdit *> boxes = window->answerBoxes(7);
    for (QLineEdit *box : boxes) {
        QVERIFY(figure->geometry().contains(box->geometry()));
        // Each box has a dimension line beside it: dark ink within a few pixels of its edge.
        const QRect around = box->geometry().translated(-figure->pos()).adjusted(-12, -12, 12, 12);
        int ink = 0;
        for (int y = std::max(0, around.top()); y <= std::min(picture.height() - 1, around.bottom()); ++y)
            for (int x = std::max(0, around.left()); x <= std::min(picture.width() - 1, around.right()); ++x)
                if (!box->geometry().translated(-figure->pos()).contains(x, y)
                    && qGray(picture.pixel(x, y)) < 120)
                    ++ink;
        QVERIFY2(ink > 10, qPrintable(box->objectName()));
    }
    // Tab takes the student from the top box down, then to the check button.
    QCOMPARE(boxes[2]->nextInFocusChain(), boxes[0]);
    QCOMPARE(boxes[0]->nextInFocusChain(), boxes[1]);
    QCOMPARE(boxes[1]->nextInFocusChain(), window->control(QStringLiteral("BitBtn7")));
    // Amplitude right, period under, phase over the screen.
    QVERIFY(boxes[0]->x() > boxes[1]->geometry().right() || boxes[0]->x() > boxes[2]->geometry().right());
    QVERIFY(boxes[1]->y() > boxes[0]->geometry().bottom());
    QVERIFY(boxes[2]->geometry().bottom() < boxes[0]->y());
}

void TestProblems::figuresAreShownWhole()
{
    Tproblemas *window = open(true);
    for (int i = 0; i < 7; ++i) {
        showPage(window, i);
        auto *figure = qobject_cast<Picture *>(window->control(QStringLiteral("Image%1").arg(i + 1)));
        QVERIFY(figure && figure->isVisible());
        QVERIFY(!figure->picture().isNull());
        QVERIFY(
            figure->width() >= figure->picture().width() && figure->height() >= figure->picture().height());
        QVERIFY(QRect(QPoint(0, 0), window->pages[i]->size()).contains(figure->geometry()));
        // Nothing else on the page covers the figure, except problem 7's boxes, which stand beside the
        // screen.
        for (QWidget *other : window->pages[i]->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (other == figure || (i == 6 && qobject_cast<QLineEdit *>(other)))
                continue;
            QVERIFY2(!other->geometry().intersects(figure->geometry()), qPrintable(other->objectName()));
        }
    }
}

void TestProblems::closeButtonHidesTheWindow()
{
    Tproblemas *window = open(true);
    QTest::mouseClick(window->bcerrar, Qt::LeftButton);
    QVERIFY(!window->isVisible());
}

void TestProblems::grabEveryPage_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("cas") << true;
    QTest::newRow("val") << false;
}

void TestProblems::grabEveryPage()
{
    QFETCH(bool, castilian);
    Tproblemas *window = open(castilian);
    const QStringList answers[8] = { {}, { "10" }, { "60" }, { "53" }, { "3" }, { "333,3" }, { "1047 rad/s" },
        { "amplitud", "periodo", "fase" } };
    for (int problem = 1; problem <= 7; ++problem) {
        showPage(window, kProblem[problem].page);
        const QList<QLineEdit *> boxes = window->answerBoxes(problem);
        for (int i = 0; i < boxes.size(); ++i)
            type(boxes[i], answers[problem][i]);
        QCOMPARE(check(window, problem), verdictText(castilian, true));
        saveGrab(window, QStringLiteral("problems-%1-%2").arg(castilian ? "cas" : "val").arg(problem));
    }
}

QTEST_MAIN(TestProblems)
#include "tst_problems.moc"
