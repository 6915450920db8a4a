#include "accesscode.h"
#include "cputimer.h"
#include "evaluationtestsupport.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

class TestAccessGate : public EvaluationSuite
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
};

// ---- the access code ----

void TestAccessGate::accessCodeVerdict_data()
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

void TestAccessGate::accessCodeVerdict()
{
    QFETCH(QString, code);
    QFETCH(bool, accepted);
    QCOMPARE(AccessCode::accepts(code), accepted);
}

void TestAccessGate::everyEightDigitCodeBetweenTheBoundsOpens()
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

void TestAccessGate::hugeCodeIsRefusedAtOnce()
{
    const QString huge(1 << 24, QLatin1Char('5'));
    const QString codeAndMore = QStringLiteral("50000000") + huge;
    const CpuTimer clock;
    QVERIFY(!AccessCode::accepts(huge));
    QVERIFY(!AccessCode::accepts(codeAndMore));
    QVERIFY(clock.elapsed() < 50);
}

// ---- the gate ----

void TestAccessGate::gateTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("castilian") << true << "Introduzca su clave"
                               << "Clave incorrecta";
    QTest::newRow("valencian") << false << "Introdueixca la seua clau"
                               << "Clau incorrecta";
}

void TestAccessGate::gateTexts()
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

void TestAccessGate::gateRefuses_data()
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

void TestAccessGate::gateRefuses()
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

void TestAccessGate::gateOpensAFreshQuestionnaire()
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

void TestAccessGate::enterAndEscape()
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

void TestAccessGate::twoGatesGiveTwoQuestionnaires()
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

void TestAccessGate::gateLanguageIsTheNewestGates()
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

void TestAccessGate::anythingPastedGetsAVerdict_data()
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

void TestAccessGate::anythingPastedGetsAVerdict()
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

QTEST_MAIN(TestAccessGate)
#include "tst_accessgate.moc"
