#include "behaviourcases.h"
#include "datafile.h"
#include "deflectiondemo.h"
#include "errorbox.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tform10.h"
#include "tform11.h"
#include "tform23.h"
#include "windowtestsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {

// The choices as the student reads them, blanks included, the same in both languages.
const QStringList kRadioItems = {
    QStringLiteral("Pv = 0 V, Ph = 0V"),
    QStringLiteral("Pv = 50 V, Ph = 80 V"),
    QStringLiteral("Pv = 50V, Ph =160 V"),
    QStringLiteral("Ph =120 V, Pv = 20V"),
    QStringLiteral("Ph = 120 V, Pv = -35 V"),
};

bool isBlankFrame(const QImage &image)
{
    if (image.size() != QSize(DeflectionDemo::frameWidth, DeflectionDemo::frameHeight))
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (rgb.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

using TimerHandler = void (TForm23::*)();

struct TimerOfItem
{
    QTimer *TForm23::*timer;
    TimerHandler handler;
};

// Which timer each choice starts, and the handler the timer calls.
const TimerOfItem kTimers[] = {
    { &TForm23::Timer1, &TForm23::Timer1Timer },
    { &TForm23::Timer2, &TForm23::Timer2Timer },
    { &TForm23::Timer3, &TForm23::Timer3Timer },
    { &TForm23::Timer4, &TForm23::Timer4Timer },
    { &TForm23::Timer5, &TForm23::Timer5Timer },
};

QList<int> activeTimers(const TForm23 *form)
{
    QList<int> active;
    for (int i = 0; i < 5; ++i)
        if ((form->*kTimers[i].timer)->isActive())
            active << i;
    return active;
}

/** One period of every running timer: calls their handlers as the timers would. */
int tick(TForm23 *form)
{
    const QList<int> active = activeTimers(form);
    for (int i : active) {
        const TimerHandler handler = kTimers[i].handler;
        (form->*handler)();
    }
    return int(active.size());
}

} // namespace

class TestDemos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void deflectionTexts_data();
    void deflectionTexts();
    void frameTableHoldsEveryFileInOrder();
    void timeline_data();
    void timeline();
    void cancelFreezesAndNewChoiceReplays();
    void newChoiceStopsTheRunningAnimation();
    void onlyANewSelectionStartsAnAnimation();
    void badFrameFileSkipsTheRest_data();
    void badFrameFileSkipsTheRest();
    void realTimeTimeline();
    void instancesShareFramesAndFreeThem();
    void furtherInstancesCostLittleMemory();

    void pairOpensTogether();
    void caseButtons_data();
    void caseButtons();
    void casePictureIsReadAtEveryPress();
    void missingCasePictureKeepsTheScreen();
    void twoChannelButtonAlternatesAndResets();
    void pairClosesTogether_data();
    void pairClosesTogether();
    void eachPairKeepsToItsOwnPartner();
    void behaviourTexts_data();
    void behaviourTexts();
    void missingTextLeavesTheRestEmpty();
    void paragraphsSitBesideTheirButtons_data();
    void paragraphsSitBesideTheirButtons();

private:
    void setLanguage(bool castilian);
    TForm23 *openDeflection(bool slowTimers = true);
    void choose(TForm23 *form, int item);
    void openPair();

    ScratchAppDir *m_dir = nullptr;
    QStringList m_errors;
};

void TestDemos::initTestCase()
{
    m_dir = new ScratchAppDir;
    ErrorBox::setRecorder([this](const QString &text) { m_errors << text; });
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestDemos::init()
{
    m_errors.clear();
    setLanguage(true);
}

void TestDemos::cleanupTestCase()
{
    ErrorBox::setRecorder({});
    Form::destroyAll();
    delete m_dir;
}

void TestDemos::setLanguage(bool castilian)
{
    chooseLanguage(castilian);
    QCOMPARE(ProgramLanguage::current(), rowLanguage(castilian));
}

TForm23 *TestDemos::openDeflection(bool slowTimers)
{
    fichaprincipal->menuItem(QStringLiteral("ComportamientodelTRC1"))->trigger();
    TForm23 *form = Form23;
    if (!form)
        return nullptr;
    for (const TimerOfItem &t : kTimers) {
        QTimer *timer = form->*t.timer;
        if (timer->interval() != 500 || timer->isActive())
            return nullptr;
        // The tests give the ticks themselves; the real timers must not get in between.
        if (slowTimers)
            timer->setInterval(3600 * 1000);
    }
    return form;
}

void TestDemos::choose(TForm23 *form, int item)
{
    QRadioButton *button = form->RadioGroup1->button(item);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QCOMPARE(form->RadioGroup1->itemIndex(), item);
}

void TestDemos::deflectionTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("options");
    QTest::newRow("castellano")
        << true << QStringLiteral("Comportamiento del T.R.C.")
        << QStringList { QStringLiteral("Con este ejemplo se pretende mostrar el comportamiento del T.R.C. "
                                        "según la d.d.p."),
               QStringLiteral(" que  exista entre sus placas de deflexión."),
               QStringLiteral("El COEFICIENTE DE DEFLEXION indica la tensión que se ha de aplicar entre"),
               QStringLiteral(
                   " las placas horizontales o verticales para producir una desviación determinada."),
               QStringLiteral(
                   "Suponemos un coeficiente de deflexión horizontal de 32 V/cm y vertical de 14 V/cm.") }
        << QStringLiteral("&Cerrar") << QStringLiteral("Opciones");
    QTest::newRow("valencia")
        << false << QStringLiteral("Comportament del T.R.C.")
        << QStringList { QStringLiteral("Amb aquest exemple es pretén mostrar el comportament del T.R.C. "
                                        "segons la d.d.p."),
               QStringLiteral(" que  existisca entre les seues plaques de deflexió."),
               QStringLiteral("El COEFICIENT DE DEFLEXIO indica la tensió que s'ha d'aplicar entre"),
               QStringLiteral(
                   " les plaques horitzontals o verticals per a produir una desviació determinada."),
               QStringLiteral(
                   "Suposem un coeficient de deflexió horitzontal de 32 V/cm i vertical de 14 V/cm.") }
        << QStringLiteral("&Tancar") << QStringLiteral("Opcions");
}

void TestDemos::deflectionTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QStringList, labels);
    QFETCH(QString, close);
    QFETCH(QString, options);
    setLanguage(castilian);
    TForm23 *form = openDeflection();
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), title);
    const QList<Label *> shown = { form->Label1, form->Label2, form->Label4, form->Label5, form->Label3 };
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown[i]->text(), labels[i]);
        QVERIFY2(shown[i]->geometry().right() < form->client()->width(), qPrintable(labels[i]));
    }
    QCOMPARE(form->BitBtn1->text(), close);
    QCOMPARE(form->RadioGroup1->title(), options);
    QCOMPARE(form->RadioGroup1->items(), kRadioItems);
    QCOMPARE(form->BitBtn2->text(), QStringLiteral("Cancel"));
    QCOMPARE(form->RadioGroup1->itemIndex(), -1);
    QVERIFY(form->Image1->picture().isNull());
    QCOMPARE(form->client()->size(), QSize(520, 421));
    for (int i = 0; i < form->RadioGroup1->count(); ++i) {
        const QRadioButton *item = form->RadioGroup1->button(i);
        QVERIFY(item->fontMetrics().horizontalAdvance(item->text()) + 20 <= item->width());
        QVERIFY(item->geometry().bottom() < form->RadioGroup1->height());
        // a screen reader hears each option as a radio button named by its text
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(const_cast<QRadioButton *>(item));
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::RadioButton);
        QCOMPARE(face->text(QAccessible::Name), kRadioItems.at(i));
    }
    saveGrab(form, QStringLiteral("form23-") + QLatin1String(QTest::currentDataTag()));
}

void TestDemos::frameTableHoldsEveryFileInOrder()
{
    TForm23 *form = openDeflection();
    QVERIFY(form);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(form->frameCount(), 53);
    const QStringList leadIn = DeflectionDemo::leadInFiles();
    for (int step = 1; step <= leadIn.size(); ++step) {
        QCOMPARE(form->leadInFrame(step).size(), QSize(282, 114));
        QCOMPARE(form->leadInFrame(step), decodedFile(leadIn[step - 1]));
    }
    for (int item = 0; item < 5; ++item) {
        const QStringList files = DeflectionDemo::caseFiles(item);
        for (int step = 1; step <= files.size(); ++step)
            QCOMPARE(form->caseFrame(item, step), decodedFile(files[step - 1]));
        QVERIFY(form->caseFrame(item, int(files.size()) + 1).isNull());
    }
    QVERIFY(form->leadInFrame(0).isNull());
    QVERIFY(form->leadInFrame(10).isNull());
}

void TestDemos::timeline_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("caseFiles");
    for (int item = 0; item < 5; ++item)
        QTest::addRow("item %d", item) << item << DeflectionDemo::caseFiles(item);
}

void TestDemos::timeline()
{
    QFETCH(int, item);
    QFETCH(QStringList, caseFiles);
    TForm23 *form = openDeflection();
    QVERIFY(form);
    choose(form, item);
    // Nothing is shown at the choice itself: the first frame waits for the first tick.
    QVERIFY(form->Image1->picture().isNull());
    QCOMPARE(activeTimers(form), QList<int> { item });

    const QStringList expected = DeflectionDemo::leadInFiles() + caseFiles;
    for (int n = 0; n < expected.size(); ++n) {
        QCOMPARE(tick(form), 1);
        QVERIFY2(form->Image1->picture() == decodedFile(expected[n]), qPrintable(expected[n]));
    }
    // The tick after the last frame stops every timer and leaves the last frame on the screen.
    QCOMPARE(activeTimers(form), QList<int> { item });
    QCOMPARE(tick(form), 1);
    QVERIFY(activeTimers(form).isEmpty());
    QVERIFY(form->Image1->picture() == decodedFile(caseFiles.last()));
    // Item 1 stops at the 18th tick (9 s), the others at the 19th (9.5 s).
    QCOMPARE(expected.size() + 1, item == 1 ? 18 : 19);
    if (item == 3)
        saveGrab(form, QStringLiteral("form23-stopped"));
}

void TestDemos::cancelFreezesAndNewChoiceReplays()
{
    TForm23 *form = openDeflection();
    QVERIFY(form);
    choose(form, 2);
    for (int n = 0; n < 4; ++n)
        tick(form);
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("cat4.bmp")));
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    QVERIFY(activeTimers(form).isEmpty());
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("cat4.bmp")));

    // the next choice starts from the lead-in again, keeping the frozen frame until its first tick
    choose(form, 3);
    QCOMPARE(activeTimers(form), QList<int> { 3 });
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("cat4.bmp")));
    tick(form);
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("cat1.bmp")));

    // Escape presses "Cancel" too
    QTest::keyClick(form, Qt::Key_Escape);
    QTRY_VERIFY(activeTimers(form).isEmpty());
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("cat1.bmp")));
}

void TestDemos::newChoiceStopsTheRunningAnimation()
{
    TForm23 *form = openDeflection();
    QVERIFY(form);
    choose(form, 0);
    for (int n = 0; n < 12; ++n)
        tick(form);
    QVERIFY(form->Image1->picture() == decodedFile(QStringLiteral("caso02.bmp")));
    choose(form, 4);
    QCOMPARE(activeTimers(form), QList<int> { 4 });
    const QStringList expected = DeflectionDemo::leadInFiles() + DeflectionDemo::caseFiles(4);
    for (const QString &file : expected) {
        QCOMPARE(tick(form), 1);
        QVERIFY2(form->Image1->picture() == decodedFile(file), qPrintable(file));
    }
    tick(form);
    QVERIFY(activeTimers(form).isEmpty());
}

void TestDemos::onlyANewSelectionStartsAnAnimation()
{
    TForm23 *form = openDeflection();
    QVERIFY(form);
    QSignalSpy clicks(form->RadioGroup1, &RadioGroup::clicked);
    choose(form, 1);
    QCOMPARE(clicks.count(), 1);
    form->BitBtn2->click();
    // a click on the item already selected changes nothing: it stays selected and nothing plays
    choose(form, 1);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(form->RadioGroup1->button(1)->isChecked());
    QVERIFY(activeTimers(form).isEmpty());
    // the program may select too, which plays like a click; clearing the selection plays nothing
    form->RadioGroup1->setItemIndex(3);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(activeTimers(form), QList<int> { 3 });
    form->RadioGroup1->setItemIndex(-1);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(form->RadioGroup1->itemIndex(), -1);
    for (int i = 0; i < form->RadioGroup1->count(); ++i)
        QVERIFY(!form->RadioGroup1->button(i)->isChecked());
    form->RadioGroup1->setItemIndex(9);
    QCOMPARE(form->RadioGroup1->itemIndex(), -1);
    QCOMPARE(clicks.count(), 2);
}

void TestDemos::badFrameFileSkipsTheRest_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringLiteral("caso20.bmp") << true
                             << QStringLiteral("Cannot open file caso20.bmp.");
    QTest::newRow("not a bitmap") << QStringLiteral("cat5.bmp") << false
                                  << DataFile::invalidPictureText(QStringLiteral("cat5.bmp"));
}

void TestDemos::badFrameFileSkipsTheRest()
{
    QFETCH(QString, file);
    QFETCH(bool, missing);
    QFETCH(QString, message);
    const QStringList files = DeflectionDemo::allFrameFiles();
    const int bad = int(files.indexOf(file));
    QVERIFY(bad > 0);
    QFile::remove(m_dir->filePath(file));
    if (!missing) {
        QFile spoiled(m_dir->filePath(file));
        QVERIFY(spoiled.open(QIODevice::WriteOnly));
        spoiled.write("BM this is no picture at all");
    }
    TForm23 *form = openDeflection();
    m_dir->restore(file);
    QVERIFY(form);
    QCOMPARE(m_errors, QStringList { message });
    QVERIFY(form->isVisible());
    QCOMPARE(form->frameCount(), 53);
    // frames are read in the order of the files: those before the bad one are there, the rest empty
    QList<QImage> table;
    for (int step = 1; step <= 9; ++step)
        table << form->leadInFrame(step);
    for (int item = 0; item < 5; ++item)
        for (int step = 1; step <= int(DeflectionDemo::caseFiles(item).size()); ++step)
            table << form->caseFrame(item, step);
    for (int i = 0; i < table.size(); ++i) {
        if (i < bad)
            QVERIFY2(table[i] == decodedFile(files[i]), qPrintable(files[i]));
        else
            QVERIFY2(isBlankFrame(table[i]), qPrintable(files[i]));
    }
    // the animation still plays, showing the empty frames
    choose(form, 2);
    for (int n = 0; n < 10; ++n)
        tick(form);
    QVERIFY(isBlankFrame(form->Image1->picture()));
}

void TestDemos::realTimeTimeline()
{
    TForm23 *form = openDeflection(false);
    QVERIFY(form);
    QList<QImage> expected;
    for (int step = 1; step <= 9; ++step)
        expected << form->leadInFrame(step);
    for (int step = 1; step <= 8; ++step)
        expected << form->caseFrame(1, step);
    for (int i = 1; i < expected.size(); ++i)
        QVERIFY(expected[i] != expected[i - 1]);

    QElapsedTimer clock;
    choose(form, 1);
    clock.start();
    QList<qint64> shownAt;
    qint64 stoppedAt = -1;
    while (clock.elapsed() < 12000 && stoppedAt < 0) {
        QTest::qWait(2);
        const QImage now = form->Image1->picture();
        const int next = int(shownAt.size());
        if (next < expected.size() && now == expected[next])
            shownAt << clock.elapsed();
        if (activeTimers(form).isEmpty())
            stoppedAt = clock.elapsed();
    }
    QCOMPARE(shownAt.size(), expected.size());
    // Frame n appears n half-seconds after the choice; never early, and late by a little at most.
    for (int n = 0; n < shownAt.size(); ++n) {
        const qint64 due = (n + 1) * 500;
        QVERIFY2(shownAt[n] >= due - 25 && shownAt[n] <= due + 400,
            qPrintable(QStringLiteral("frame %1 at %2 ms").arg(n + 1).arg(shownAt[n])));
    }
    QVERIFY2(stoppedAt >= 9000 - 25 && stoppedAt <= 9000 + 400, qPrintable(QString::number(stoppedAt)));
    QVERIFY(form->Image1->picture() == expected.last());
}

void TestDemos::instancesShareFramesAndFreeThem()
{
    TForm23 *first = openDeflection();
    TForm23 *second = openDeflection();
    QVERIFY(first && second && first != second);
    // the same file gives the same pixels, held once
    QCOMPARE(first->leadInFrame(1).constBits(), second->leadInFrame(1).constBits());
    QCOMPARE(first->caseFrame(4, 9).constBits(), second->caseFrame(4, 9).constBits());

    // the two windows play independently
    choose(first, 0);
    tick(first);
    QVERIFY(second->Image1->picture().isNull());
    QVERIFY(activeTimers(second).isEmpty());

    // destroying a window frees its frames; the picture it showed was its own copy
    first->FormDestroy();
    QCOMPARE(first->frameCount(), 0);
    QVERIFY(first->Image1->picture() == second->leadInFrame(1));
    QCOMPARE(second->frameCount(), 53);
    delete first;
    QVERIFY(!Form::allForms().contains(first));
}

void TestDemos::furtherInstancesCostLittleMemory()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("the address sanitizer's own bookkeeping swamps the measurement");
#endif
    constexpr int kInstances = 20;
    // the first windows settle the fonts, styles and shared pictures
    for (int i = 0; i < 3; ++i)
        QVERIFY(openDeflection());
    QCoreApplication::processEvents();
    const qint64 before = residentBytes();
    QVERIFY(before > 0);
    QList<TForm23 *> opened;
    for (int i = 0; i < kInstances; ++i) {
        opened << openDeflection();
        QVERIFY(opened.last());
        QCoreApplication::processEvents();
    }
    const qint64 perInstance = (residentBytes() - before) / kInstances;
    qInfo("memory per further TForm23: %lld KiB", perInstance / 1024);
    // at most 1 MiB each, with a quarter for what the allocator keeps back
    QVERIFY2(perInstance <= 1280 * 1024, qPrintable(QString::number(perInstance)));
    for (TForm23 *form : opened) {
        form->FormDestroy();
        delete form;
    }
}

void TestDemos::openPair()
{
    fichaprincipal->menuItem(QStringLiteral("Composc"))->trigger();
}

void TestDemos::pairOpensTogether()
{
    openPair();
    QVERIFY(form10 && Form11);
    QVERIFY(form10->isVisible() && Form11->isVisible());
    // the texts window ends in front
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form11.data()));
    QCOMPARE(form10->windowTitle(), QString());
    QCOMPARE(form10->size(), QSize(228, 298));
    QCOMPARE(form10->pantalla->fileName(), QStringLiteral("papag.bmp"));
    QVERIFY(form10->pantalla->picture() == decodedFile(QStringLiteral("papag.bmp")));
    QCOMPARE(Form11->size(), QSize(353, 416));
    QCOMPARE(Form11->client()->height(), 1081);
    QVERIFY(qobject_cast<QScrollArea *>(Form11->client()->parentWidget()->parentWidget()));
    QVERIFY(m_errors.isEmpty());
    saveGrab(form10, QStringLiteral("form10-start"));
    saveGrab(Form11, QStringLiteral("form11-top"));
}

void TestDemos::caseButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picture");
    // The first picture the model draws for each button; the two-picture button is tested apart.
    QStringList buttons;
    for (const BehaviourCase &drawn : behaviourCases()) {
        if (buttons.contains(drawn.button))
            continue;
        buttons << drawn.button;
        QTest::newRow(qPrintable(drawn.button)) << drawn.button << drawn.fileName;
    }
    QCOMPARE(buttons.size(), 13);
}

void TestDemos::caseButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, picture);
    // each button shows the picture that was drawn for it
    const BehaviourCase *drawn = behaviourCaseForFile(picture);
    QVERIFY(drawn);

    openPair();
    auto *button = Form11->findChild<GlyphButton *>(name);
    QVERIFY(button);
    const QRect place = inClient(button, Form11);
    QCOMPARE(place.size(), QSize(25, 25));
    QCOMPARE(place.left(), 0);
    QVERIFY(button->text().isEmpty() && !button->icon().isNull());
    QCOMPARE(button->accessibleName(), drawn->castilian);
    Form11->findChild<QScrollArea *>()->ensureWidgetVisible(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(form10->pantalla->fileName(), picture);
    QVERIFY(form10->pantalla->picture() == decodedFile(picture));
    QVERIFY(m_errors.isEmpty());
    if (name == QLatin1String("BitBtn12"))
        saveGrab(form10, QStringLiteral("form10-p14"));
}

void TestDemos::casePictureIsReadAtEveryPress()
{
    openPair();
    auto *button = Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn2"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(form10->pantalla->picture() == decodedFile(QStringLiteral("p12.bmp")));
    // the file changes on disk between two presses
    QFile::remove(m_dir->filePath(QStringLiteral("p12.bmp")));
    QVERIFY(
        QFile::copy(m_dir->filePath(QStringLiteral("p11.bmp")), m_dir->filePath(QStringLiteral("p12.bmp"))));
    QTest::mouseClick(button, Qt::LeftButton);
    m_dir->restore(QStringLiteral("p12.bmp"));
    QVERIFY(form10->pantalla->picture() == decodedFile(QStringLiteral("p11.bmp")));
    QVERIFY(form10->pantalla->picture() != decodedFile(QStringLiteral("p12.bmp")));
}

void TestDemos::missingCasePictureKeepsTheScreen()
{
    openPair();
    QTest::mouseClick(Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn3")), Qt::LeftButton);
    QFile::remove(m_dir->filePath(QStringLiteral("p3.bmp")));
    QTest::mouseClick(Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn4")), Qt::LeftButton);
    m_dir->restore(QStringLiteral("p3.bmp"));
    QCOMPARE(m_errors, QStringList { QStringLiteral("Cannot open file p3.bmp.") });
    QCOMPARE(form10->pantalla->fileName(), QStringLiteral("p11.bmp"));
    QVERIFY(form10->pantalla->picture() == decodedFile(QStringLiteral("p11.bmp")));
}

void TestDemos::twoChannelButtonAlternatesAndResets()
{
    openPair();
    auto *button = Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn10"));
    auto press = [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        return form10->pantalla->fileName();
    };
    QCOMPARE(press(), QStringLiteral("p7.bmp"));
    QCOMPARE(press(), QStringLiteral("p16.bmp"));
    QCOMPARE(press(), QStringLiteral("p7.bmp"));

    // a visit to the screen window and back starts the turn again
    activate(form10);
    activate(Form11);
    QCOMPARE(press(), QStringLiteral("p7.bmp"));
    activate(form10);
    activate(Form11);
    QCOMPARE(press(), QStringLiteral("p7.bmp"));
    // whatever another button showed in between
    QTest::mouseClick(Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn11")), Qt::LeftButton);
    QCOMPARE(press(), QStringLiteral("p16.bmp"));
    activate(fichaprincipal);
    activate(Form11);
    QCOMPARE(press(), QStringLiteral("p7.bmp"));

    // a picture that cannot be read keeps the screen and the turn
    QFile::remove(m_dir->filePath(QStringLiteral("p16.bmp")));
    QCOMPARE(press(), QStringLiteral("p7.bmp"));
    QCOMPARE(m_errors, QStringList { QStringLiteral("Cannot open file p16.bmp.") });
    m_dir->restore(QStringLiteral("p16.bmp"));
    QCOMPARE(press(), QStringLiteral("p16.bmp"));
}

void TestDemos::pairClosesTogether_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("screen closed") << QStringLiteral("screen");
    QTest::newRow("texts closed") << QStringLiteral("texts");
    QTest::newRow("Cerrar pressed") << QStringLiteral("button");
    QTest::newRow("Enter pressed") << QStringLiteral("enter");
}

void TestDemos::pairClosesTogether()
{
    QFETCH(QString, how);
    openPair();
    QPointer<Tform10> screen = form10;
    QPointer<TForm11> texts = Form11;
    HideCounter screenHides(screen);
    HideCounter textHides(texts);
    if (how == QLatin1String("screen"))
        screen->close();
    else if (how == QLatin1String("texts"))
        texts->close();
    else if (how == QLatin1String("button"))
        QTest::mouseClick(texts->BitBtn1, Qt::LeftButton);
    else
        QTest::keyClick(texts, Qt::Key_Return);
    QTRY_VERIFY(!screen->isVisible());
    QVERIFY(!texts->isVisible());
    // one exchange: each window is hidden once, and closing them again does nothing
    QCOMPARE(screenHides.hides, 1);
    QCOMPARE(textHides.hides, 1);
    screen->close();
    texts->close();
    QCOMPARE(screenHides.hides, 1);
    QCOMPARE(textHides.hides, 1);
    // closed windows stay alive
    QVERIFY(screen && texts);
}

void TestDemos::eachPairKeepsToItsOwnPartner()
{
    openPair();
    QPointer<Tform10> oldScreen = form10;
    QPointer<TForm11> oldTexts = Form11;
    openPair();
    QVERIFY(form10 != oldScreen && Form11 != oldTexts);
    // an older window's buttons show their pictures in its own screen, not the newest one
    QTest::mouseClick(oldTexts->findChild<GlyphButton *>(QStringLiteral("BitBtn5")), Qt::LeftButton);
    QCOMPARE(oldScreen->pantalla->fileName(), QStringLiteral("p13.bmp"));
    QCOMPARE(form10->pantalla->fileName(), QStringLiteral("papag.bmp"));
    QTest::mouseClick(Form11->findChild<GlyphButton *>(QStringLiteral("BitBtn10")), Qt::LeftButton);
    QCOMPARE(form10->pantalla->fileName(), QStringLiteral("p7.bmp"));
    QCOMPARE(oldScreen->pantalla->fileName(), QStringLiteral("p13.bmp"));
    // closing the older screen closes the older texts and leaves the newest pair alone
    oldScreen->close();
    QVERIFY(!oldTexts->isVisible());
    QVERIFY(form10->isVisible() && Form11->isVisible());
    // and the newest pair closes itself from either side
    Form11->close();
    QVERIFY(!form10->isVisible());
}

void TestDemos::behaviourTexts_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("castellano") << true
                                << QStringList { QStringLiteral("Comportamiento del osciloscopio"),
                                       QStringLiteral("  Visualización de una onda senoidal de 10 Vpp"),
                                       QStringLiteral("Estudio de los mandos Time/div y Volts/div"),
                                       QStringLiteral("Estudio de los mandos SLOPE y Level"),
                                       QStringLiteral("Visualización de los dos canales"),
                                       QStringLiteral("&Cerrar") }
                                << QStringList { "estc1.rtf", "estc2.rtf", "estc3.rtf" };
    QTest::newRow("valencia") << false
                              << QStringList { QStringLiteral("Comportament de l'oscil.loscopi"),
                                     QStringLiteral("  Visualització d'una ona senoidal de 10 Vpp"),
                                     QStringLiteral("Estudi dels comandaments Time/div i Volts/div"),
                                     QStringLiteral("Estudi dels comandaments SLOPE i Level"),
                                     QStringLiteral("Visualització dels dos canals"),
                                     QStringLiteral("&Tancar") }
                              << QStringList { "estv1.rtf", "estv2.rtf", "estv3.rtf" };
}

void TestDemos::behaviourTexts()
{
    QFETCH(bool, castilian);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, files);
    setLanguage(castilian);
    openPair();
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(Form11->windowTitle(), texts[0]);
    QCOMPARE(Form11->Label2->text(), texts[1]);
    QCOMPARE(Form11->Label1->text(), texts[2]);
    QCOMPARE(Form11->Label3->text(), texts[3]);
    QCOMPARE(Form11->Label4->text(), texts[4]);
    QCOMPARE(Form11->BitBtn1->text(), texts[5]);
    // the screen window has no title in either language
    QCOMPARE(form10->windowTitle(), QString());
    const QList<RichTextPane *> panes = { Form11->RichEdit1, Form11->RichEdit2, Form11->RichEdit3 };
    for (int i = 0; i < panes.size(); ++i) {
        RichTextPane reference;
        QVERIFY(reference.loadFromFile(files[i]));
        QCOMPARE(panes[i]->toPlainText(), reference.toPlainText());
        QVERIFY(!panes[i]->toPlainText().isEmpty());
    }
    // the headings fit inside the window
    for (const Label *heading : { Form11->Label1, Form11->Label2, Form11->Label3, Form11->Label4 })
        QVERIFY2(heading->geometry().right() < Form11->client()->width(), qPrintable(heading->text()));
    const QString tag = QLatin1String(QTest::currentDataTag());
    auto *scroll = Form11->findChild<QScrollArea *>();
    for (int part = 0; part < 3; ++part) {
        scroll->verticalScrollBar()->setValue(part * 333);
        saveGrab(Form11, QStringLiteral("form11-%1-%2").arg(tag).arg(part));
    }
    saveGrab(Form11->client(), QStringLiteral("form11-%1-whole").arg(tag));
}

void TestDemos::missingTextLeavesTheRestEmpty()
{
    QFile::remove(m_dir->filePath(QStringLiteral("estc2.rtf")));
    openPair();
    m_dir->restore(QStringLiteral("estc2.rtf"));
    QCOMPARE(m_errors, QStringList { QStringLiteral("Cannot open file estc2.rtf.") });
    QVERIFY(!Form11->RichEdit1->toPlainText().isEmpty());
    QVERIFY(Form11->RichEdit2->toPlainText().isEmpty());
    QVERIFY(Form11->RichEdit3->toPlainText().isEmpty());
    QVERIFY(Form11->isVisible() && form10->isVisible());
    QCOMPARE(Form11->windowTitle(), QStringLiteral("Comportamiento del osciloscopio"));
}

void TestDemos::paragraphsSitBesideTheirButtons_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castellano") << true;
    QTest::newRow("valencia") << false;
}

void TestDemos::paragraphsSitBesideTheirButtons()
{
    QFETCH(bool, castilian);
    setLanguage(castilian);
    openPair();
    for (RichTextPane *pane : { Form11->RichEdit1, Form11->RichEdit2, Form11->RichEdit3 }) {
        const QRect area = inClient(pane, Form11);
        QList<GlyphButton *> beside;
        for (GlyphButton *button : Form11->caseButtons)
            if (area.contains(inClient(button, Form11)))
                beside << button;
        QVERIFY(!beside.isEmpty());
        // the whole text fits its pane, which does not scroll
        QTextDocument *document = pane->document();
        QVERIFY2(document->size().height() <= pane->height(), qPrintable(pane->objectName()));
        // an opening paragraph, then one paragraph per button, each starting beside its button
        QList<QTextBlock> paragraphs;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            if (!block.text().trimmed().isEmpty())
                paragraphs << block;
        QCOMPARE(paragraphs.size(), beside.size() + 1);
        for (int i = 0; i < beside.size(); ++i) {
            const QTextBlock block = paragraphs[i + 1];
            const QTextLine firstLine = block.layout()->lineAt(0);
            const qreal blockTop = document->documentLayout()->blockBoundingRect(block).top();
            const qreal lineMiddle = area.top() + blockTop + firstLine.y() + firstLine.height() / 2;
            const QRect button = inClient(beside[i], Form11);
            QVERIFY2(lineMiddle >= button.top() + 4 && lineMiddle <= button.bottom() - 4,
                qPrintable(QStringLiteral("%1 beside %2 at %3: '%4'")
                               .arg(lineMiddle)
                               .arg(beside[i]->objectName())
                               .arg(button.top())
                               .arg(block.text().left(30))));
        }
    }
}

QTEST_MAIN(TestDemos)
#include "tst_demos.moc"
