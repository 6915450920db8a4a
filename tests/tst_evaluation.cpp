#include "accesscode.h"
#include "cputimer.h"
#include "cursors.h"
#include "testsupport.h"
#include "tevaluacion.h"
#include "tfichaprincipal.h"
#include "tpw.h"
#include "windowtestsupport.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

// The answer of each question, 1 to 10, as the questionnaire sets them.
const QStringList kAnswerKey = { "Image24", "Image4", "Image25", "Image10", "Image20", "Image9", "Image14",
    "Image26", "Image30", "Image12" };

const QString kRight = QStringLiteral("Respuesta Correcta");
const QString kWrong = QStringLiteral("Respuesta Inorrecta");

QRect spotRect(const EvaluationSpot &spot)
{
    return QRect(spot.rect.left, spot.rect.top, spot.rect.width, spot.rect.height);
}

/** The middle of the part of a hot-spot that no later hot-spot covers. */
QPoint uncoveredPoint(int index)
{
    const QRect own = spotRect(kEvaluationSpots[index]);
    QList<QPoint> free;
    for (int y = own.top(); y <= own.bottom(); ++y) {
        for (int x = own.left(); x <= own.right(); ++x) {
            bool covered = false;
            for (int j = index + 1; j < int(kEvaluationSpots.size()) && !covered; ++j)
                covered = spotRect(kEvaluationSpots[j]).contains(x, y);
            if (!covered)
                free << QPoint(x, y);
        }
    }
    return free.isEmpty() ? QPoint(-1, -1) : free.at(free.size() / 2);
}

int spotIndex(const QString &name)
{
    for (int i = 0; i < int(kEvaluationSpots.size()); ++i)
        if (name == QLatin1String(kEvaluationSpots[i].name))
            return i;
    return -1;
}

QWidget *clickSpot(Tevaluacion *form, const QString &name)
{
    return clickAt(form, uncoveredPoint(spotIndex(name)));
}

/** Picks a page by clicking its tab. */
void turnTo(Tevaluacion *form, int question)
{
    QTabBar *tabs = form->paginas->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(question - 1).center());
}

/** The student goes to the main window and comes back to this one. */
void comeBack(Form *form)
{
    fichaprincipal->showWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &activate);
}

/** The strip's text, or nothing when the strip is hidden. */
QString strip(Tevaluacion *form)
{
    return form->Panel1->isVisible() ? form->Panel1->text() : QString();
}

QString mark(Tevaluacion *form)
{
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    return strip(form);
}

/** A code pasted into the gate's box, as the student pastes it. */
void paste(Tpw *gate, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    gate->Password->setFocus();
    QTest::keyClick(gate->Password, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class TestEvaluation : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void accessCodeVerdict_data();
    void accessCodeVerdict();
    void everyEightDigitCodeBetweenTheBoundsOpens();
    void hugeCodeIsRefusedAtOnce();

    void gateTexts_data();
    void gateTexts();
    void gateRefuses_data();
    void gateRefuses();
    void gateOpensAFreshQuestionnaire();
    void enterAndEscape();
    void twoGatesGiveTwoQuestionnaires();
    void gateLanguageIsTheNewestGates();
    void anythingPastedGetsAVerdict_data();
    void anythingPastedGetsAVerdict();

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

private:
    Tpw *openGate(bool castilian);
    Tevaluacion *openQuestionnaire(bool castilian);
};

Tpw *TestEvaluation::openGate(bool castilian)
{
    setLanguage(castilian);
    menu("Cuestionario1");
    return pw;
}

Tevaluacion *TestEvaluation::openQuestionnaire(bool castilian)
{
    Tpw *gate = openGate(castilian);
    QTest::keyClicks(gate->Password, QStringLiteral("50000000"));
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    return evaluacion;
}

// ---- the access code ----

void TestEvaluation::accessCodeVerdict_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower bound") << "24681357" << false;
    QTest::newRow("just above the lower bound") << "24681358" << true;
    QTest::newRow("upper bound") << "86420975" << false;
    QTest::newRow("just below the upper bound") << "86420974" << true;
    QTest::newRow("middle") << "50000000" << true;
    QTest::newRow("below the range") << "12345678" << false;
    QTest::newRow("above the range") << "99999999" << false;
    QTest::newRow("all zeros") << "00000000" << false;
    // texts that sort between the bounds but are no code of eight digits
    QTest::newRow("one digit") << "3" << false;
    QTest::newRow("seven") << "7" << false;
    QTest::newRow("digit and letters") << "5abc" << false;
    QTest::newRow("seven digits") << "5000000" << false;
    QTest::newRow("nine digits") << "500000000" << false;
    QTest::newRow("bound and one more digit") << "246813570" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("eight blanks") << "        " << false;
    QTest::newRow("leading blank") << " 5000000" << false;
    QTest::newRow("trailing blank") << "5000000 " << false;
    QTest::newRow("blank inside") << "5000 000" << false;
    QTest::newRow("tab") << "\t5000000" << false;
    QTest::newRow("new line") << "5000000\n" << false;
    QTest::newRow("sign") << "+5000000" << false;
    QTest::newRow("decimal point") << "5000000." << false;
    QTest::newRow("exponent") << "5000e+03" << false;
    QTest::newRow("letter o for zero") << "5OOOOOOO" << false;
    QTest::newRow("null character") << QString::fromUtf16(u"5000000\0", 8) << false;
    QTest::newRow("fullwidth digits") << QString::fromUtf16(u"５００００００") + QStringLiteral("0") << false;
    QTest::newRow("arabic-indic digits") << QString::fromUtf16(u"٥٠٠٠٠٠٠٠") << false;
    QTest::newRow("devanagari digits") << QString::fromUtf16(u"५००००००००").left(8) << false;
    QTest::newRow("superscript digit") << QString::fromUtf16(u"5000000²") << false;
}

void TestEvaluation::accessCodeVerdict()
{
    QFETCH(QString, code);
    QFETCH(bool, accepted);
    QCOMPARE(AccessCode::accepts(code), accepted);
}

void TestEvaluation::everyEightDigitCodeBetweenTheBoundsOpens()
{
    // Read as numbers, eight-digit codes open exactly strictly between the bounds: every such code
    // that the comparison of texts let in still opens, and no other.
    QRandomGenerator random(2468);
    QList<qint64> values = { 0, 1, 24681356, 24681357, 24681358, 24681360, 30000000, 86420974, 86420975,
        86420976, 86420980, 99999998, 99999999 };
    for (int i = 0; i < 20000; ++i)
        values << qint64(random.bounded(100000000));
    for (qint64 value : values) {
        const QString code = QStringLiteral("%1").arg(value, 8, 10, QLatin1Char('0'));
        const bool expected = value > 24681357 && value < 86420975;
        QVERIFY2(AccessCode::accepts(code) == expected, qPrintable(code));
    }
}

void TestEvaluation::hugeCodeIsRefusedAtOnce()
{
    const QString huge(1 << 24, QLatin1Char('5'));
    const QString codeAndMore = QStringLiteral("50000000") + huge;
    const CpuTimer clock;
    QVERIFY(!AccessCode::accepts(huge));
    QVERIFY(!AccessCode::accepts(codeAndMore));
    QVERIFY(clock.elapsed() < 50);
}

// ---- the gate ----

void TestEvaluation::gateTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("castilian") << true << "Introduzca su clave"
                               << "Clave incorrecta";
    QTest::newRow("valencian") << false << "Introdueixca la seua clau"
                               << "Clau incorrecta";
}

void TestEvaluation::gateTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, prompt);
    QFETCH(QString, refusal);
    Tpw *gate = openGate(castilian);
    QVERIFY(gate && gate->isVisible());
    QCOMPARE(gate->Label1->text(), prompt);
    QVERIFY(!gate->windowTitle().isEmpty());
    QVERIFY(!gate->OKBtn->text().isEmpty() && !gate->CancelBtn->text().isEmpty());
    // the box hides what is typed, and says what it asks for
    QCOMPARE(gate->Password->echoMode(), QLineEdit::Password);
    QVERIFY(!gate->Password->accessibleName().isEmpty());
    QVERIFY(gate->Password->text().isEmpty());
    // the student types at once: the box has the focus
    QCOMPARE(gate->focusWidget(), gate->Password);
    // everything lies inside the window
    for (QWidget *control : { static_cast<QWidget *>(gate->Label1), static_cast<QWidget *>(gate->Password),
             static_cast<QWidget *>(gate->OKBtn), static_cast<QWidget *>(gate->CancelBtn) })
        QVERIFY2(gate->client()->rect().contains(control->geometry()), qPrintable(control->objectName()));
    QVERIFY(gate->OKBtn->fontMetrics().horizontalAdvance(gate->OKBtn->text()) + 18 < gate->OKBtn->width());
    QVERIFY(gate->CancelBtn->fontMetrics().horizontalAdvance(gate->CancelBtn->text()) + 18
        < gate->CancelBtn->width());
    const QString name = gate->Password->accessibleName();
    saveGrab(gate, castilian ? QStringLiteral("pw-castilian") : QStringLiteral("pw-valencian"));

    QTest::keyClicks(gate->Password, QStringLiteral("1234"));
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QCOMPARE(gate->Label1->text(), refusal);
    QCOMPARE(gate->Password->accessibleName(), name);
    saveGrab(
        gate, castilian ? QStringLiteral("pw-refused-castilian") : QStringLiteral("pw-refused-valencian"));
    gate->close();
}

void TestEvaluation::gateRefuses_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("lower bound") << "24681357";
    QTest::newRow("upper bound") << "86420975";
    QTest::newRow("one digit between the bounds") << "3";
    QTest::newRow("text between the bounds") << "5abc";
    QTest::newRow("seven") << "7";
    QTest::newRow("seven digits") << "5000000";
    QTest::newRow("nine digits") << "500000000";
    QTest::newRow("leading blank") << " 50000000";
    QTest::newRow("trailing blank") << "50000000 ";
    QTest::newRow("empty") << "";
}

void TestEvaluation::gateRefuses()
{
    QFETCH(QString, code);
    QPointer<Tevaluacion> before = evaluacion;
    Tpw *gate = openGate(true);
    QTest::keyClicks(gate->Password, code);
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QCOMPARE(gate->Label1->text(), QStringLiteral("Clave incorrecta"));
    QCOMPARE(gate->Password->text(), code);
    QVERIFY(gate->isVisible());
    QCOMPARE(evaluacion.data(), before.data());
    // another attempt, and the refusal stays until the right code
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QCOMPARE(gate->Label1->text(), QStringLiteral("Clave incorrecta"));
    gate->Password->clear();
    QTest::keyClicks(gate->Password, QStringLiteral("24681358"));
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QVERIFY(evaluacion && evaluacion != before);
    QVERIFY(!gate->isVisible());
    evaluacion->close();
}

void TestEvaluation::gateOpensAFreshQuestionnaire()
{
    QPointer<Tevaluacion> older = openQuestionnaire(true);
    QVERIFY(older && older->isVisible());
    QPointer<Tpw> gate = openGate(true);
    QTest::keyClicks(gate->Password, QStringLiteral("86420974"));
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QVERIFY(evaluacion && evaluacion != older);
    QVERIFY(evaluacion->isVisible());
    QVERIFY(!gate->isVisible());
    // the new window is the active one, on its first question, with nothing shown in the strip
    QCOMPARE(Form::lastActive(), evaluacion.data());
    QCOMPARE(evaluacion->paginas->currentWidget(), evaluacion->page(1));
    QVERIFY(!evaluacion->Panel1->isVisible());
    older->close();
    evaluacion->close();
}

void TestEvaluation::enterAndEscape()
{
    QPointer<Tevaluacion> before = evaluacion;
    Tpw *gate = openGate(true);
    QTest::keyClicks(gate->Password, QStringLiteral("7"));
    QTest::keyClick(gate->Password, Qt::Key_Return);
    QTRY_COMPARE(gate->Label1->text(), QStringLiteral("Clave incorrecta"));
    QCOMPARE(evaluacion.data(), before.data());
    gate->Password->clear();
    QTest::keyClicks(gate->Password, QStringLiteral("50000000"));
    QTest::keyClick(gate->Password, Qt::Key_Enter);
    QTRY_VERIFY(evaluacion != before);
    QVERIFY(!gate->isVisible());
    evaluacion->close();

    before = evaluacion;
    Tpw *other = openGate(false);
    QTest::keyClicks(other->Password, QStringLiteral("50000000"));
    QTest::keyClick(other->Password, Qt::Key_Escape);
    QTRY_VERIFY(!other->isVisible());
    QCOMPARE(evaluacion.data(), before.data());
    // Cancel gives up too, whatever is typed
    Tpw *third = openGate(true);
    QTest::keyClicks(third->Password, QStringLiteral("50000000"));
    QTest::mouseClick(third->CancelBtn, Qt::LeftButton);
    QVERIFY(!third->isVisible());
    QCOMPARE(evaluacion.data(), before.data());
}

void TestEvaluation::twoGatesGiveTwoQuestionnaires()
{
    QPointer<Tpw> first = openGate(true);
    QPointer<Tpw> second = openGate(true);
    QVERIFY(first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QTest::keyClicks(first->Password, QStringLiteral("30000000"));
    QTest::mouseClick(first->OKBtn, Qt::LeftButton);
    QPointer<Tevaluacion> fromFirst = evaluacion;
    QTest::keyClicks(second->Password, QStringLiteral("80000000"));
    QTest::mouseClick(second->OKBtn, Qt::LeftButton);
    QPointer<Tevaluacion> fromSecond = evaluacion;
    QVERIFY(fromFirst && fromSecond && fromFirst != fromSecond);
    QVERIFY(fromFirst->isVisible() && fromSecond->isVisible());
    QVERIFY(!first->isVisible() && !second->isVisible());
    // each window answers its own clicks
    turnTo(fromFirst, 2);
    clickSpot(fromFirst, QStringLiteral("Image4"));
    QCOMPARE(strip(fromFirst), kRight);
    QVERIFY(!fromSecond->Panel1->isVisible());
    fromFirst->close();
    fromSecond->close();
}

void TestEvaluation::gateLanguageIsTheNewestGates()
{
    QPointer<Tpw> valencian = openGate(false);
    QCOMPARE(valencian->Label1->text(), QStringLiteral("Introdueixca la seua clau"));
    QTest::mouseClick(valencian->OKBtn, Qt::LeftButton);
    QCOMPARE(valencian->Label1->text(), QStringLiteral("Clau incorrecta"));
    // a newer gate in Castilian makes the older one refuse in Castilian from then on
    QPointer<Tpw> castilian = openGate(true);
    QTest::mouseClick(valencian->OKBtn, Qt::LeftButton);
    QCOMPARE(valencian->Label1->text(), QStringLiteral("Clave incorrecta"));
    valencian->close();
    castilian->close();
}

void TestEvaluation::anythingPastedGetsAVerdict_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("a megabyte of digits") << QString(1 << 20, QLatin1Char('5'));
    QTest::newRow("a megabyte of text") << QString(1 << 20, QChar(u'ж'));
    QTest::newRow("control characters") << QString::fromUtf16(u"\x01\x02\x1b\x7f\x08\x07\x0c\x0b");
    QTest::newRow("cyrillic") << QString::fromUtf16(u"пароль12");
    QTest::newRow("arabic-indic digits") << QString::fromUtf16(u"٥٠٠٠٠٠٠٠");
    QTest::newRow("fullwidth digits") << QString::fromUtf16(u"５００００００0");
    QTest::newRow("emoji") << QString::fromUtf16(u"5000000😀");
}

void TestEvaluation::anythingPastedGetsAVerdict()
{
    QFETCH(QString, text);
    QPointer<Tevaluacion> before = evaluacion;
    Tpw *gate = openGate(true);
    paste(gate, text);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(gate->Label1->text(), QStringLiteral("Clave incorrecta"));
    QVERIFY(gate->isVisible());
    QCOMPARE(evaluacion.data(), before.data());
    // the gate is still there for the right code
    gate->Password->selectAll();
    QTest::keyClicks(gate->Password, QStringLiteral("50000000"));
    QTest::keyClick(gate->Password, Qt::Key_Return);
    QTRY_VERIFY(evaluacion != before);
    evaluacion->close();
}

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

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
