#include "cursors.h"
#include "datafile.h"
#include "errorbox.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "practiceart.h"
#include "taparato.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tform4.h"
#include "tform7.h"
#include "tpractica.h"
#include "windowtestsupport.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

namespace {

/** One step as the student reads it: photograph, both lines, the next button's caption. */
struct StepView
{
    QString picture;
    QString first;
    QString second;
    QString next;
};

using Walk = QList<StepView>;

Walk castilianWalk()
{
    const QString next = QStringLiteral("Siguiente");
    return {
        { "antes-0.bmp", "Primer paso: Comprobar que todos los botones estén hacia afuera", "", next },
        { "antes-1.bmp", "Segundo paso: Poner los mandos en posición vertical hacia arriba", "", next },
        { "antes-2.bmp", "Tercer paso: Poner el selector en su posición más alta", "", next },
        { "antes3.bmp", "Cuarto paso: Pulsar GD", "", next },
        { "antes-4.bmp", "Quinto paso: Rotar los triángulos a su posición de calibrado", "", next },
        { "antes5.bmp", "Sexto paso: Presionar POWER", "", next },
        { "antes-6.bmp", " Debe verse la traza de la linea base, ajustar la INTENSIDAD,el FOCUS",
            " y las posiciones X e Y (con los mandos X-POS, Y-POS I e Y-POS II)", "Fin" },
    };
}

Walk valencianWalk()
{
    const QString next = QStringLiteral("Següent");
    return {
        { "antes-0.bmp", "Primer pas: Comprovar que tots els botons són cap a fora", "", next },
        { "antes-1.bmp", "Segon pas: Posar els comandaments en posició vertical cap a dalt", "", next },
        { "antes-2.bmp", "Tercer pas: Posar el selector en la posició més alta", "", next },
        { "antes3.bmp", "Quart pas: Polsar GD", "", next },
        { "antes-4.bmp", "Quint pas: Rotar els triàngles a la posició de calibrat", "", next },
        { "antes5.bmp", "Sext pas: Pressionar POWER", "", next },
        { "antes-6.bmp", " Deu veure's la traça de la línia base, ajustar la INTENSITAT,el FOCUS",
            " i les posicions X i Y (amb els comandaments X-POS, Y-POS I i Y-POS II)", "Fi" },
    };
}

const QString kWarningCastilian
    = QStringLiteral("¡¡ NO DEJAR UN PUNTO FIJO EN LA PANTALLA YA QUE ESTA PODRIA QUEMARSE !!");
const QString kWarningValencian
    = QStringLiteral("¡¡ NO DEIXAR UN PUNT FIXE A LA PANTALLA JA QUE AQUESTA PODRIA CREMAR-SE !!");

/** Lets the window system finish showing and hiding, as it does before the student's next click. */
void settle()
{
    QTest::qWait(20);
}

/** The student goes to the main window and comes back to this one. */
void returnTo(Form *form)
{
    fichaprincipal->showWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &activate);
}

/** Whether a label's whole text is drawn inside the window's client area. */
bool insideClient(Form *form, const Label *label)
{
    return label->x() >= 0 && label->fontMetrics().horizontalAdvance(label->text()) < label->width()
        && label->geometry().right() < form->client()->width();
}

bool isMark(QRgb c)
{
    return qBlue(c) > 170 && qRed(c) < 90 && qGreen(c) > 60 && qGreen(c) < 170 && qBlue(c) - qGreen(c) > 70;
}

/** A place on the front panel's layout, where a photograph drawn at its own size shows it. */
QRectF onPicture(const QRectF &layoutRect, const QImage &picture)
{
    const QSize layout = frontPanelLayout().size;
    const qreal sx = qreal(picture.width()) / layout.width();
    const qreal sy = qreal(picture.height()) / layout.height();
    return QRectF(
        layoutRect.left() * sx, layoutRect.top() * sy, layoutRect.width() * sx, layoutRect.height() * sy);
}

} // namespace

Q_DECLARE_METATYPE(Walk)

class TestPractice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void menuOpensChoosers();
    void chooserTexts_data();
    void chooserTexts();
    void chooserReadsLikeTheDescriptionChooser();
    void chooserLinksOpenOneMoreWindowEach();

    void walkthroughBeforeAndAtItsFirstShowing();
    void walkForwardAndBack_data();
    void walkForwardAndBack();
    void enterPressesNext();
    void finClosesAndTheNextWalkthroughStartsAgain();
    void warningBlinksOnlyOnTheLastStep();
    void warningBlinksInRealTime();
    void activationStartsTheWalkAgain();
    void missingStepPictureLeavesTheStepsTexts();
    void missingFirstPictureLeavesTheDesignTexts();
    void spoiltStepPictureIsReported();
    void walkNeverGoesBelowTheFirstStep();

    void practiceTexts_data();
    void practiceTexts();
    void oscilloscopeNameLiesOnItsBox_data();
    void oscilloscopeNameLiesOnItsBox();
    void commonGroundStaysInViewOverAProblem();
    void problemLinks_data();
    void problemLinks();
    void activationHidesTheProblem();
    void practiceCloses();
    void pointersWithAndWithoutTheCursorFile();

    void stepPicturesFitAndDiffer();
    void markRingsTheControlsItsStepChanges_data();
    void markRingsTheControlsItsStepChanges();
    void lastStepPointsAtTheTrace();

private:
    void setLanguage(bool castilian);
    Tpractica *openChooser(bool castilian);
    TForm4 *openWalkthrough(bool castilian);
    TForm7 *openPractice(bool castilian);
    void checkStep(TForm4 *form, const StepView &step, int index);

    ScratchAppDir *m_dir = nullptr;
    QStringList m_errors;
};

void TestPractice::initTestCase()
{
    m_dir = new ScratchAppDir;
    ErrorBox::setRecorder([this](const QString &text) { m_errors << text; });
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestPractice::init()
{
    m_errors.clear();
}

void TestPractice::cleanup()
{
    setLanguage(true);
    // every file a test removed or spoilt is back for the next one
    for (const StepView &step : castilianWalk())
        m_dir->restore(step.picture);
    m_dir->restore(QStringLiteral("handgrab.cur"));
    // the choosers the helpers opened
    for (Form *form : Form::allForms())
        if (qobject_cast<Tpractica *>(form))
            form->close();
}

void TestPractice::cleanupTestCase()
{
    ErrorBox::setRecorder({});
    Form::destroyAll();
    delete m_dir;
}

void TestPractice::setLanguage(bool castilian)
{
    chooseLanguage(castilian);
}

Tpractica *TestPractice::openChooser(bool castilian)
{
    setLanguage(castilian);
    fichaprincipal->menuItem(QStringLiteral("Realizacindelaprctica1"))->trigger();
    settle();
    return practica;
}

TForm4 *TestPractice::openWalkthrough(bool castilian)
{
    Tpractica *chooser = openChooser(castilian);
    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    settle();
    return Form4;
}

TForm7 *TestPractice::openPractice(bool castilian)
{
    Tpractica *chooser = openChooser(castilian);
    QTest::mouseClick(chooser->Label3, Qt::LeftButton);
    settle();
    return Form7;
}

// ---- the chooser ----

void TestPractice::menuOpensChoosers()
{
    QPointer<Tpractica> first = openChooser(true);
    QPointer<Tpractica> second = openChooser(true);
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QTest::mouseClick(first->BitBtn1, Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QVERIFY(second->isVisible());
    second->close();
}

void TestPractice::chooserTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("walkthrough");
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("close");
    QTest::newRow("castilian") << true << "Práctica"
                               << "Puesta en funcionamiento del osciloscopio"
                               << "Descripción de la práctica"
                               << "&Cerrar";
    QTest::newRow("valencian") << false << "Pràctica"
                               << "Posta en funcionamient de l'oscil.loscopi"
                               << "Descripció de la pràctica"
                               << "Tancar";
}

void TestPractice::chooserTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, walkthrough);
    QFETCH(QString, practice);
    QFETCH(QString, close);
    Tpractica *chooser = openChooser(castilian);
    QCOMPARE(chooser->windowTitle(), title);
    QCOMPARE(chooser->Label2->text(), walkthrough);
    QCOMPARE(chooser->Label3->text(), practice);
    QCOMPARE(chooser->Label2->accessibleName(), walkthrough);
    QCOMPARE(chooser->BitBtn1->text(), close);
    const int middle = chooser->client()->width() / 2;
    for (Label *link : { chooser->Label2, chooser->Label3 }) {
        QVERIFY2(insideClient(chooser, link), qPrintable(link->text()));
        // centred, and only the words take the click
        QVERIFY(qAbs(link->geometry().center().x() - middle) <= 1);
        QVERIFY(link->width() <= link->fontMetrics().horizontalAdvance(link->text()) + 2);
    }
    QVERIFY(qAbs(chooser->BitBtn1->geometry().center().x() - middle) <= 1);
    QVERIFY(chooser->Label2->geometry().bottom() < chooser->Label3->y());
    QVERIFY(chooser->Label3->geometry().bottom() < chooser->BitBtn1->y());
    saveGrab(
        chooser, castilian ? QStringLiteral("practica-castilian") : QStringLiteral("practica-valencian"));
    chooser->close();
}

void TestPractice::chooserReadsLikeTheDescriptionChooser()
{
    Tpractica *chooser = openChooser(true);
    fichaprincipal->menuItem(QStringLiteral("Descripcindelaparato1"))->trigger();
    Taparato *description = aparato;
    for (Label *link : { chooser->Label2, chooser->Label3 }) {
        QCOMPARE(link->font().family(), description->Label1->font().family());
        QCOMPARE(link->font().pixelSize(), description->Label1->font().pixelSize());
        QVERIFY(link->font().bold() && link->font().underline());
        QCOMPARE(link->palette().color(QPalette::WindowText),
            description->Label1->palette().color(QPalette::WindowText));
        pointerOver(link);
        QVERIFY(showsHand(link));
    }
    QCOMPARE(chooser->BitBtn1->size(), description->BitBtn1->size());
    QVERIFY(!chooser->BitBtn1->icon().isNull());
    QCOMPARE(chooser->client()->height(), description->client()->height());
    QCOMPARE(chooser->BitBtn1->y(), description->BitBtn1->y());
    description->close();
    chooser->close();
}

void TestPractice::chooserLinksOpenOneMoreWindowEach()
{
    Tpractica *chooser = openChooser(true);
    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    QPointer<TForm4> walk1 = Form4;
    QTest::mouseClick(chooser->Label2, Qt::LeftButton);
    QPointer<TForm4> walk2 = Form4;
    QTest::mouseClick(chooser->Label3, Qt::LeftButton);
    QPointer<TForm7> practice1 = Form7;
    QTest::mouseClick(chooser->Label3, Qt::LeftButton);
    QPointer<TForm7> practice2 = Form7;
    QVERIFY(walk1 && walk2 && walk1 != walk2);
    QVERIFY(practice1 && practice2 && practice1 != practice2);
    for (QWidget *window : std::initializer_list<QWidget *> { walk1, walk2, practice1, practice2, chooser })
        QVERIFY(window->isVisible());
    // each walkthrough keeps its own step
    QTest::mouseClick(walk1->BitBtn1, Qt::LeftButton);
    QCOMPARE(walk1->pasos->text(), castilianWalk()[1].first);
    QCOMPARE(walk2->pasos->text(), castilianWalk()[0].first);
    for (QWidget *window : std::initializer_list<QWidget *> { walk1, walk2, practice1, practice2, chooser })
        window->close();
}

// ---- the walkthrough ----

void TestPractice::checkStep(TForm4 *form, const StepView &step, int index)
{
    const QString where = QStringLiteral("step %1").arg(index);
    QVERIFY2(form->Image1->fileName() == step.picture,
        qPrintable(where + QStringLiteral(": ") + form->Image1->fileName()));
    QCOMPARE(form->pasos->text(), step.first);
    QCOMPARE(form->pasos2->text(), step.second);
    QCOMPARE(form->BitBtn1->text(), step.next);
    QCOMPARE(form->BitBtn3->text(), QStringLiteral("Anterior"));
    QVERIFY2(form->BitBtn3->isVisible() == (index != 0), qPrintable(where));
    QVERIFY2(insideClient(form, form->pasos), qPrintable(where));
    if (!step.second.isEmpty())
        QVERIFY2(insideClient(form, form->pasos2), qPrintable(where));
    QVERIFY(form->pasos->geometry().bottom() < form->pasos2->y() || step.second.isEmpty());
    // the picture, centred in its place, leaves the second line clear above it
    const int pictureTop
        = form->Image1->y() + (form->Image1->height() - form->Image1->picture().height()) / 2;
    QVERIFY2(form->pasos2->y() + form->pasos2->fontMetrics().height() <= pictureTop, qPrintable(where));
}

void TestPractice::walkthroughBeforeAndAtItsFirstShowing()
{
    setLanguage(false);
    TForm4 *form = createWindow(Form4);
    // as designed, until the window first becomes the active one
    QCOMPARE(form->BitBtn1->text(), QStringLiteral("Siguente "));
    QCOMPARE(form->pasos->text(), castilianWalk()[0].first);
    QVERIFY(form->Image1->picture().isNull());
    QCOMPARE(form->PASOS3->text(), kWarningValencian);
    QCOMPARE(form->windowTitle(), QStringLiteral("Posta en funcionament de l'oscil.loscopi"));
    QVERIFY(form->Timer1->isActive());
    QCOMPARE(form->Timer1->interval(), 1000);

    form->showWindow();
    checkStep(form, valencianWalk()[0], 0);
    QVERIFY(form->PASOS3->isHidden());
    QCOMPARE(form->size(), QSize(594, 339));
    QCOMPARE(form->Image1->geometry(), QRect(24, 40, 545, 240));
    QVERIFY(form->Image1->picture().width() <= 545 && form->Image1->picture().height() <= 240);
    QVERIFY(m_errors.isEmpty());
    form->close();
}

void TestPractice::walkForwardAndBack_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<Walk>("walk");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("title");
    QTest::newRow("castilian") << true << castilianWalk() << kWarningCastilian
                               << "Puesta en funcionamiento del osciloscopio";
    QTest::newRow("valencian") << false << valencianWalk() << kWarningValencian
                               << "Posta en funcionament de l'oscil.loscopi";
}

void TestPractice::walkForwardAndBack()
{
    QFETCH(bool, castilian);
    QFETCH(Walk, walk);
    QFETCH(QString, warning);
    QFETCH(QString, title);
    TForm4 *form = openWalkthrough(castilian);
    form->Timer1->stop();
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->PASOS3->text(), warning);
    QVERIFY(form->PASOS3->geometry().right() <= form->Image1->geometry().right() + 1);
    QVERIFY(form->PASOS3->fontMetrics().horizontalAdvance(warning) < form->PASOS3->width());
    const QString language = castilian ? QStringLiteral("cas") : QStringLiteral("val");

    for (int i = 0; i < walk.size(); ++i) {
        if (i > 0)
            QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        checkStep(form, walk[i], i);
        QVERIFY(form->PASOS3->isHidden());
        saveGrab(form, QStringLiteral("form4-%1-step%2").arg(language).arg(i));
    }
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isVisible());
    saveGrab(form, QStringLiteral("form4-%1-warning").arg(language));
    for (int i = walk.size() - 2; i >= 0; --i) {
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        checkStep(form, walk[i], i);
        QVERIFY(form->PASOS3->isHidden());
    }
    QVERIFY(form->isVisible());
    QVERIFY(m_errors.isEmpty());
    form->close();
}

void TestPractice::enterPressesNext()
{
    TForm4 *form = openWalkthrough(true);
    QTest::keyClick(form, Qt::Key_Return);
    QTRY_COMPARE(form->pasos->text(), castilianWalk()[1].first);
    QTest::keyClick(form, Qt::Key_Enter);
    QTRY_COMPARE(form->pasos->text(), castilianWalk()[2].first);
    form->close();
}

void TestPractice::finClosesAndTheNextWalkthroughStartsAgain()
{
    QPointer<TForm4> form = openWalkthrough(false);
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QCOMPARE(form->BitBtn1->text(), QStringLiteral("Fi"));
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(form && !form->isVisible());
    TForm4 *next = openWalkthrough(false);
    QVERIFY(next != form.data());
    checkStep(next, valencianWalk()[0], 0);
    QVERIFY(!form->isVisible());
    next->close();
}

void TestPractice::warningBlinksOnlyOnTheLastStep()
{
    TForm4 *form = openWalkthrough(true);
    form->Timer1->stop();
    // ticks on every other step leave the warning hidden
    for (int i = 0; i < 6; ++i) {
        for (int tick = 0; tick < 3; ++tick) {
            form->Timer1Timer();
            QVERIFY2(form->PASOS3->isHidden(), qPrintable(QString::number(i)));
        }
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    }
    // the last step starts hidden; each tick turns it over, one second on, one off
    QVERIFY(form->PASOS3->isHidden());
    for (int tick = 1; tick <= 4; ++tick) {
        form->Timer1Timer();
        QCOMPARE(form->PASOS3->isVisible(), tick % 2 == 1);
    }
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isVisible());
    // back to step 5: the warning goes and stays gone
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    QVERIFY(form->PASOS3->isHidden());
    form->Timer1Timer();
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isHidden());
    // forward again: hidden until the next tick
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(form->PASOS3->isHidden());
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isVisible());
    form->close();
}

void TestPractice::warningBlinksInRealTime()
{
    TForm4 *form = openWalkthrough(true);
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(form->PASOS3->isHidden());
    // the free-running timer shows it within a second, then hides it a second later
    QTRY_VERIFY_WITH_TIMEOUT(form->PASOS3->isVisible(), 2000);
    QElapsedTimer shown;
    shown.start();
    QTRY_VERIFY_WITH_TIMEOUT(form->PASOS3->isHidden(), 2000);
    // a second, give or take what a busy machine delays a timer by
    QVERIFY2(shown.elapsed() > 700 && shown.elapsed() < 1600, qPrintable(QString::number(shown.elapsed())));
    form->close();
}

void TestPractice::activationStartsTheWalkAgain()
{
    TForm4 *form = openWalkthrough(true);
    form->Timer1->stop();
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isVisible());
    returnTo(form);
    checkStep(form, castilianWalk()[0], 0);
    QVERIFY(form->PASOS3->isHidden());
    form->Timer1Timer();
    QVERIFY(form->PASOS3->isHidden());
    // "next" carries on from step 0
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, castilianWalk()[1], 1);

    // leaving for another program and coming straight back keeps the step
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QEvent deactivate(QEvent::WindowDeactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &deactivate);
    QCoreApplication::sendEvent(form, &activate);
    checkStep(form, castilianWalk()[2], 2);
    form->close();
}

void TestPractice::missingStepPictureLeavesTheStepsTexts()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("antes-4.bmp"))));
    TForm4 *form = openWalkthrough(true);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, castilianWalk()[3], 3);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QCOMPARE(m_errors, QStringList { QStringLiteral("Cannot open file antes-4.bmp.") });
    // the step before stays on show, texts and picture
    checkStep(form, castilianWalk()[3], 3);
    QVERIFY(form->isVisible());
    // the window goes on: past the missing step, and back
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, castilianWalk()[5], 5);
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 2);
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    checkStep(form, castilianWalk()[3], 3);
    m_dir->restore(QStringLiteral("antes-4.bmp"));
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, castilianWalk()[4], 4);
    form->close();
}

void TestPractice::missingFirstPictureLeavesTheDesignTexts()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("antes-0.bmp"))));
    TForm4 *form = openWalkthrough(false);
    QCOMPARE(m_errors, QStringList { QStringLiteral("Cannot open file antes-0.bmp.") });
    QVERIFY(form->isVisible());
    QVERIFY(form->Image1->picture().isNull());
    QCOMPARE(form->BitBtn1->text(), QStringLiteral("Siguente "));
    QCOMPARE(form->pasos->text(), castilianWalk()[0].first);
    // the texts set at creation are there
    QCOMPARE(form->PASOS3->text(), kWarningValencian);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, valencianWalk()[1], 1);
    saveGrab(form, QStringLiteral("form4-missing-first"));
    form->close();
    m_dir->restore(QStringLiteral("antes-0.bmp"));
}

void TestPractice::spoiltStepPictureIsReported()
{
    QFile spoilt(m_dir->filePath(QStringLiteral("antes5.bmp")));
    QVERIFY(spoilt.open(QIODevice::WriteOnly | QIODevice::Truncate));
    spoilt.write("BM this is no picture");
    spoilt.close();
    TForm4 *form = openWalkthrough(true);
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("antes5.bmp")));
    checkStep(form, castilianWalk()[4], 4);
    form->close();
    m_dir->restore(QStringLiteral("antes5.bmp"));
}

void TestPractice::walkNeverGoesBelowTheFirstStep()
{
    TForm4 *form = openWalkthrough(true);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    // back at the window without its first photograph: step 0, but step 3 stays on show
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("antes-0.bmp"))));
    returnTo(form);
    QCOMPARE(m_errors.size(), 1);
    checkStep(form, castilianWalk()[3], 3);
    // "previous", still on show, cannot take the walk below its first step
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 3);
    m_dir->restore(QStringLiteral("antes-0.bmp"));
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    checkStep(form, castilianWalk()[1], 1);
    form->close();
}

// ---- the practice ----

void TestPractice::practiceTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("close");
    QTest::newRow("castilian")
        << true << "Realizar el circuito de la figura, teniendo en cuenta que las conexiones a tierra"
        << "del generador de funciones y de los canales I y II deben coincidir."
        << "Osciloscopio"
        << "&Cerrar";
    QTest::newRow("valencian")
        << false << "Realitzar el circuit de la figura, tenint en compte que les conexions a terra"
        << "del generador de funcions i dels canals I i II han de coincidir."
        << "Oscil.loscopi"
        << "Tancar";
}

void TestPractice::practiceTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QFETCH(QString, scope);
    QFETCH(QString, close);
    TForm7 *form = openPractice(castilian);
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Realización de la práctica"));
    QCOMPARE(form->Label1->text(), line1);
    QCOMPARE(form->Label2->text(), line2);
    QCOMPARE(form->Label5->text(), scope);
    QCOMPARE(form->BitBtn1->text(), close);
    QCOMPARE(form->Label3->text(), QStringLiteral("Problema 1"));
    QCOMPARE(form->Label4->text(), QStringLiteral("Problema 2"));
    QVERIFY(!form->pprobl->isVisible());
    QCOMPARE(form->size(), QSize(530, 339));
    QCOMPARE(form->Image1->picture().size(), QSize(345, 217));
    QVERIFY(!form->BitBtn1->icon().isNull());
    for (Label *label : { form->Label1, form->Label2, form->Label3, form->Label4, form->Label5 })
        QVERIFY2(insideClient(form, label), qPrintable(label->text()));
    QVERIFY(form->Label1->geometry().bottom() < form->Label2->y());
    saveGrab(form, castilian ? QStringLiteral("form7-castilian") : QStringLiteral("form7-valencian"));
    form->close();
}

void TestPractice::oscilloscopeNameLiesOnItsBox_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castilian") << true;
    QTest::newRow("valencian") << false;
}

void TestPractice::oscilloscopeNameLiesOnItsBox()
{
    QFETCH(bool, castilian);
    TForm7 *form = openPractice(castilian);
    const QImage circuit = form->Image1->picture();
    // the name stands on the picture, on a clear patch of the oscilloscope's box
    QVERIFY(form->Image1->geometry().contains(form->Label5->geometry()));
    const QRect text = QRect(form->Label5->pos(),
        QSize(form->Label5->fontMetrics().horizontalAdvance(form->Label5->text()),
            form->Label5->fontMetrics().height()))
                           .translated(-form->Image1->pos());
    int clear = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            clear += qGray(circuit.pixel(x, y)) > 235 ? 1 : 0;
    QVERIFY2(clear == text.width() * text.height(), qPrintable(QString::number(clear)));
    // and the box goes round it: its dark outline lies left, right, above and below the name
    auto darkAlong = [&](int x0, int y0, int dx, int dy) {
        for (int x = x0, y = y0; circuit.rect().contains(x, y); x += dx, y += dy)
            if (qGray(circuit.pixel(x, y)) < 160)
                return true;
        return false;
    };
    const QPoint centre = text.center();
    QVERIFY(darkAlong(text.left() - 1, centre.y(), -1, 0));
    QVERIFY(darkAlong(centre.x(), text.top() - 1, 0, -1));
    QVERIFY(darkAlong(centre.x(), text.bottom() + 1, 0, 1));
    form->close();
}

void TestPractice::commonGroundStaysInViewOverAProblem()
{
    TForm7 *form = openPractice(true);
    const QImage circuit = form->Image1->picture();
    // the common ground is the longest dark line across the picture
    int groundRow = -1;
    int longest = 0;
    for (int y = 0; y < circuit.height(); ++y) {
        int run = 0;
        for (int x = 0; x < circuit.width(); ++x) {
            run = qGray(circuit.pixel(x, y)) < 90 ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                groundRow = y;
            }
        }
    }
    QVERIFY2(longest > circuit.width() / 2, qPrintable(QString::number(longest)));
    // a problem's statement, shown over the foot of the picture, leaves it in view
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QVERIFY(form->pprobl->isVisible());
    QVERIFY2(form->Image1->y() + groundRow < form->pprobl->y(), qPrintable(QString::number(groundRow)));
    form->close();
}

void TestPractice::problemLinks_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("castilian")
        << true << "Hallar la amplitud (Ue y Ur), el periodo, la frecuencia, y la pulsación de ambas señales."
        << "Hallar el ángulo de desfase entre las dos señales por el métododual y el de las figuras de "
           "lissajous.";
    QTest::newRow("valencian")
        << false << "Hallar l'amplitud (Ue i Ur), el periode, la freqüència, i la polsació de ambdós senyals."
        << "Hallar l'àngle de desfasament entre els dos senyals pel mètodedual i el de les figures de "
           "lissajous.";
}

void TestPractice::problemLinks()
{
    QFETCH(bool, castilian);
    QFETCH(QString, first);
    QFETCH(QString, second);
    TForm7 *form = openPractice(castilian);
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QVERIFY(form->pprobl->isVisible());
    QCOMPARE(form->pprobl->text(), first);
    // on top of the picture, where the student clicks it away
    QCOMPARE(form->client()->childAt(form->pprobl->geometry().center()), form->pprobl);
    const QString language = castilian ? QStringLiteral("cas") : QStringLiteral("val");
    saveGrab(form, QStringLiteral("form7-%1-problem1").arg(language));
    QTest::mouseClick(form->Label4, Qt::LeftButton);
    QVERIFY(form->pprobl->isVisible());
    QCOMPARE(form->pprobl->text(), second);
    // the whole statement in the panel's room, inside its border
    QVERIFY2(form->pprobl->fontMetrics().horizontalAdvance(second) <= form->pprobl->width() - 8,
        qPrintable(QString::number(form->pprobl->fontMetrics().horizontalAdvance(second))));
    saveGrab(form, QStringLiteral("form7-%1-problem2").arg(language));
    QTest::mouseClick(form->pprobl, Qt::LeftButton);
    QVERIFY(!form->pprobl->isVisible());
    QTest::mouseClick(form->Label4, Qt::LeftButton);
    QCOMPARE(form->pprobl->text(), second);
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QCOMPARE(form->pprobl->text(), first);
    QVERIFY(form->pprobl->fontMetrics().horizontalAdvance(first) <= form->pprobl->width() - 8);
    form->close();
}

void TestPractice::activationHidesTheProblem()
{
    TForm7 *form = openPractice(true);
    QTest::mouseClick(form->Label4, Qt::LeftButton);
    QVERIFY(form->pprobl->isVisible());
    returnTo(form);
    QVERIFY(!form->pprobl->isVisible());
    // and a link shows it again
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QVERIFY(form->pprobl->isVisible());
    form->close();
}

void TestPractice::practiceCloses()
{
    TForm7 *form = openPractice(false);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(!form->isVisible());
    TForm7 *byKey = openPractice(true);
    QTest::keyClick(byKey, Qt::Key_Return);
    QTRY_VERIFY(!byKey->isVisible());
}

void TestPractice::pointersWithAndWithoutTheCursorFile()
{
    TForm7 *form = openPractice(true);
    for (Label *link : { form->Label3, form->Label4 }) {
        pointerOver(link);
        QVERIFY(showsHand(link));
    }
    pointerOver(form->Image1);
    QCOMPARE(form->Image1->cursor().shape(), Qt::ArrowCursor);
    form->close();

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("handgrab.cur"))));
    Tpractica *chooser = openChooser(true);
    QVERIFY(!CursorTable::has(CursorTable::kHand));
    pointerOver(chooser->Label2);
    QCOMPARE(chooser->Label2->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(chooser->Label3, Qt::LeftButton);
    TForm7 *bare = Form7;
    QVERIFY(bare->isVisible());
    pointerOver(bare->Label3);
    QCOMPARE(bare->Label3->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(bare->Label3, Qt::LeftButton);
    QVERIFY(bare->pprobl->isVisible());
    QVERIFY(m_errors.isEmpty());
    bare->close();
    chooser->close();
    m_dir->restore(QStringLiteral("handgrab.cur"));
}

// ---- the photographs ----

void TestPractice::stepPicturesFitAndDiffer()
{
    QImage previous;
    for (const StepView &step : castilianWalk()) {
        const std::optional<QImage> image = DataFile::loadPicture(step.picture);
        QVERIFY2(image, qPrintable(step.picture));
        QVERIFY(image->width() <= 545 && image->height() <= 240);
        QVERIFY(image->width() >= 500 && image->height() >= 220);
        QVERIFY2(*image != previous, qPrintable(step.picture));
        previous = *image;
    }
}

void TestPractice::markRingsTheControlsItsStepChanges_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("controls");
    QStringList buttons;
    for (const PanelControl &c : frontPanelLayout().controls)
        if (c.kind == ControlKind::PushButton)
            buttons << c.name;
    QCOMPARE(buttons.size(), 19);
    QTest::newRow("0 every button out") << 0 << buttons;
    QTest::newRow("1 position knobs upright") << 1 << QStringList { "xpos", "ypos", "ypos2" };
    QTest::newRow("2 trigger selector at the top") << 2 << QStringList { "trigger" };
    QTest::newRow("3 GD in") << 3 << QStringList { "gd1", "gd2" };
    QTest::newRow("4 CAL triangles calibrated") << 4 << QStringList { "cal1", "cal2", "cal3" };
    QTest::newRow("5 POWER in") << 5 << QStringList { "Interruptor" };
    QTest::newRow("6 beam adjusted") << 6 << QStringList { "intensidad", "focus", "xpos", "ypos", "ypos2" };
}

void TestPractice::markRingsTheControlsItsStepChanges()
{
    QFETCH(int, step);
    QFETCH(QStringList, controls);
    const QImage image = DataFile::loadPicture(castilianWalk()[step].picture).value_or(QImage());
    QVERIFY(!image.isNull());
    const FrontPanelModel layout = frontPanelLayout();
    QList<QRect> rings;
    for (const QString &name : controls) {
        QVERIFY2(layout.control(name), qPrintable(name));
        const PanelControl &drawn = *layout.control(name);
        const QRectF shown = onPicture(drawn.rect, image);
        const QRect control = shown.toAlignedRect();
        const bool round = drawn.kind != ControlKind::PushButton && drawn.kind != ControlKind::SlideSwitch;
        const QPointF centre = shown.center();
        const qreal radius = qMin(shown.width(), shown.height()) / 2;
        // the mark goes round the control: marked pixels left, right and below it, none on it
        int left = 0, right = 0, below = 0, on = 0;
        // the trigger selector's ring takes in the positions printed on its right
        const bool selector = name == QLatin1String("trigger");
        const QRect around = control.adjusted(-6, -6, selector ? 20 : 6, 6);
        for (int y = around.top(); y <= around.bottom(); ++y) {
            for (int x = around.left(); x <= around.right(); ++x) {
                if (!isMark(image.pixel(x, y)))
                    continue;
                left += x < control.left() && y >= control.top() && y <= control.bottom();
                right += x > control.right() + (selector ? 12 : 0) && y >= control.top()
                    && y <= control.bottom();
                below += y > control.bottom();
                on += round ? QLineF(centre, QPointF(x + 0.5, y + 0.5)).length() < radius - 1
                            : control.adjusted(1, 1, -1, -1).contains(x, y);
            }
        }
        QVERIFY2(left > 0 && below > 0, qPrintable(name));
        QVERIFY2(right > 0 && on == 0, qPrintable(name));
        rings << around;
    }
    // nothing else is marked, apart from the trace on the last step's screen
    const QRect screen = onPicture(layout.screen.face, image).toAlignedRect();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isMark(image.pixel(x, y)))
                continue;
            bool near = step == 6 && screen.contains(x, y);
            for (const QRect &ring : rings)
                near = near || ring.contains(x, y);
            QVERIFY2(near, qPrintable(QStringLiteral("stray mark at %1,%2").arg(x).arg(y)));
        }
    }
}

void TestPractice::lastStepPointsAtTheTrace()
{
    const QImage last = DataFile::loadPicture(QStringLiteral("antes-6.bmp")).value_or(QImage());
    const QImage before = DataFile::loadPicture(QStringLiteral("antes5.bmp")).value_or(QImage());
    QVERIFY(!last.isNull() && !before.isNull());
    const QRectF graticule = onPicture(FrontPanelPainter::graticule(frontPanelLayout().screen), last);
    // the resting trace lies along the screen's middle line, from edge to edge, and only on the last step
    const int row = qRound(graticule.center().y());
    auto glowing = [](QRgb c) { return qGreen(c) > 170 && qGreen(c) > qRed(c) + 25; };
    int lit = 0, litBefore = 0;
    for (int x = qCeil(graticule.left()) + 2; x < graticule.right() - 2; ++x) {
        bool here = false;
        for (int dy = -1; dy <= 1; ++dy)
            here = here || glowing(last.pixel(x, row + dy));
        lit += here;
        litBefore += glowing(before.pixel(x, row)) ? 1 : 0;
    }
    QVERIFY2(lit > 0.95 * (graticule.width() - 4), qPrintable(QString::number(lit)));
    QCOMPARE(litBefore, 0);
    // the arrow on the screen comes down to just above the trace
    int lowest = -1;
    for (int y = qCeil(graticule.top()); y < graticule.bottom(); ++y)
        for (int x = qCeil(graticule.left()); x < graticule.right(); ++x)
            if (isMark(last.pixel(x, y)))
                lowest = qMax(lowest, y);
    QVERIFY(lowest > 0);
    QVERIFY2(row - lowest >= 1 && row - lowest <= 8, qPrintable(QString::number(row - lowest)));
}

QTEST_MAIN(TestPractice)
#include "tst_practice.moc"
