#include "cursors.h"
#include "datafile.h"
#include "errorbox.h"
#include "screenpainter.h"
#include "screentraces.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tform8.h"
#include "utilitiesart.h"
#include "windowtestsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QStackedWidget>
#include <QTextBlock>
#include <QtTest>

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

QList<Panel *> visiblePanels(const TForm8 *form)
{
    QList<Panel *> shown;
    for (Panel *panel : form->panels())
        if (panel->isVisible())
            shown << panel;
    return shown;
}

/** The points where a trace crosses zero going up, in divisions across the screen. */
QList<double> risingZeros(const Trace &trace)
{
    QList<double> zeros;
    for (qsizetype i = 1; i < trace.points.size(); ++i) {
        const QPointF a = trace.points[i - 1], b = trace.points[i];
        if (a.y() < 0 && b.y() >= 0)
            zeros << a.x() + (b.x() - a.x()) * -a.y() / (b.y() - a.y());
    }
    return zeros;
}

/** Whether a pixel of a screen picture is lit by the beam rather than the graticule or the glass. */
bool lit(QRgb pixel)
{
    return isPhosphorLit(pixel);
}

/** The Greek letters the Symbol face shows for w and j. */
bool readsGreek(const QString &text)
{
    return !text.contains(QLatin1Char('w')) && !text.contains(QLatin1Char('j'))
        && (text.contains(QChar(0x03c9)) || text.contains(QChar(0x03c6)) || text.contains(QChar(0x03d5)));
}

} // namespace

class TestUtilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase()
    {
        Form::destroyAll();
        delete m_dir;
    }
    void init();
    void cleanup();

    void opensOnTheIndex_data();
    void opensOnTheIndex();
    void everyMenuChoiceOpensAnotherBook();
    void walkThroughTheBook_data();
    void walkThroughTheBook();
    void closeButtonAndEnterHide();
    void indexTextsLieBesideTheirPictures_data();
    void indexTextsLieBesideTheirPictures();

    void zoneOpensItsPanel_data();
    void zoneOpensItsPanel();
    void zonesSharePanels();
    void panelsOutlivePageChanges();
    void activationStartsAgain();
    void pointerOverLinksAndZones();
    void pointerWithoutTheCursorFile();

    void formulasReadGreek_data();
    void formulasReadGreek();
    void linesStayOnThePage_data();
    void linesStayOnThePage();

    void missingText_data();
    void missingText();
    void screenButtons();
    void badScreenKeepsThePicture_data();
    void badScreenKeepsThePicture();

    void zoneCoversItsAnnotation_data();
    void zoneCoversItsAnnotation();
    void dualAndXyPhasesAgree();
    void screensShowTheModel();

    void grabEveryPage_data();
    void grabEveryPage();

private:
    void setLanguage(bool castilian);
    TForm8 *openBook(bool castilian);

    ScratchAppDir *m_dir = nullptr;
    QStringList m_errors;
};

void TestUtilities::initTestCase()
{
    m_dir = new ScratchAppDir;
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestUtilities::init()
{
    m_errors.clear();
    ErrorBox::setRecorder([this](const QString &text) { m_errors << text; });
}

void TestUtilities::cleanup()
{
    ErrorBox::setRecorder({});
    setLanguage(true);
    if (Form8)
        Form8->close();
}

void TestUtilities::setLanguage(bool castilian)
{
    chooseLanguage(castilian);
}

TForm8 *TestUtilities::openBook(bool castilian)
{
    setLanguage(castilian);
    fichaprincipal->menuItem(QStringLiteral("Utilidadesdelosciloscopio1"))->trigger();
    activate(Form8);
    return Form8;
}

// ---- the book and its pages ----

void TestUtilities::opensOnTheIndex_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("firstWords");
    QTest::newRow("castilian") << true
                               << QStringList { "Características de una señal senoidal",
                                      "Angulo de desfase entre dos señales", "Medidas con un osciloscopio" }
                               << "&Cerrar"
                               << "La observación de una señal periódica.";
    QTest::newRow("valencian") << false
                               << QStringList { "Característiques d'un senyal senoidal",
                                      "Angle de desfasament entre dos senyals", "Mides amb un oscil.loscopi" }
                               << "Tancar"
                               << "L'observació d'un senyal periòdic.";
}

void TestUtilities::opensOnTheIndex()
{
    QFETCH(bool, castilian);
    QFETCH(QStringList, links);
    QFETCH(QString, close);
    QFETCH(QString, firstWords);
    TForm8 *form = openBook(castilian);
    QVERIFY(form && form->isVisible());
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(form->windowTitle(), QString());
    QCOMPARE(form->size(), QSize(624, 427));
    QCOMPARE(form->PageControl1->currentWidget(), form->pag1);
    QVERIFY(visiblePanels(form).isEmpty());
    QCOMPARE(QStringList({ form->ecarac->text(), form->eang->text(), form->emed->text() }), links);
    QCOMPARE(form->BitBtn1->text(), close);
    QVERIFY(form->RichEdit1->toPlainText().startsWith(firstWords));
    // links are blue, bold and underlined, and each answers where it shows
    for (Label *link : { form->ecarac, form->eang, form->emed }) {
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(link->font().bold() && link->font().underline());
        QCOMPARE(form->pag1->childAt(link->geometry().center()), link);
    }
    // the three index pictures are drawn, at their size
    for (Picture *picture : { form->imsen, form->imdual, form->imlis })
        QCOMPARE(picture->picture().size(), QSize(129, 105));
}

void TestUtilities::everyMenuChoiceOpensAnotherBook()
{
    QPointer<TForm8> first = openBook(true);
    QTest::mouseClick(first->emed, Qt::LeftButton);
    QPointer<TForm8> second = openBook(true);
    QVERIFY(first && second && first != second);
    QCOMPARE(Form8.data(), second.data());
    QCOMPARE(first->PageControl1->currentWidget(), first->pag5);
    QCOMPARE(second->PageControl1->currentWidget(), second->pag1);
    second->close();
    QVERIFY(first->isVisible());
    first->close();
}

void TestUtilities::walkThroughTheBook_data()
{
    // Each step: the control the student clicks, then the page that shows.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("sine and back") << QStringList { "ecarac", "SpeedButton2" }
                                   << QStringList { "pag3", "pag1" };
    QTest::newRow("phase and back") << QStringList { "eang", "SpeedButton3" }
                                    << QStringList { "pag4", "pag1" };
    QTest::newRow("measures and back")
        << QStringList { "emed", "SpeedButton4" } << QStringList { "pag5", "pag1" };
    QTest::newRow("dual measure returns to the measures") << QStringList { "emed", "Label31", "SpeedButton5",
        "SpeedButton4" } << QStringList { "pag5", "pag6", "pag5", "pag1" };
    QTest::newRow("lissajous measure returns to the measures") << QStringList { "emed", "Label34",
        "SpeedButton6", "Label31", "SpeedButton5" } << QStringList { "pag5", "pag7", "pag5", "pag6", "pag5" };
}

void TestUtilities::walkThroughTheBook()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, pages);
    for (bool castilian : { true, false }) {
        TForm8 *form = openBook(castilian);
        for (int i = 0; i < clicks.size(); ++i) {
            auto *control = form->findChild<QWidget *>(clicks[i]);
            QVERIFY2(control, qPrintable(clicks[i]));
            // only what the shown page holds can be clicked
            QVERIFY2(control->isVisible(), qPrintable(clicks[i]));
            QWidget *page = form->PageControl1->currentWidget();
            QCOMPARE(page->childAt(control->geometry().center()), control);
            QTest::mouseClick(control, Qt::LeftButton);
            QCOMPARE(form->PageControl1->currentWidget()->objectName(), pages[i]);
        }
        form->close();
    }
}

void TestUtilities::closeButtonAndEnterHide()
{
    TForm8 *form = openBook(true);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(!form->isVisible());
    // Enter presses the close button only where it shows, on the index
    form = openBook(false);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QTest::keyClick(form, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(form->isVisible());
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    QTest::keyClick(form, Qt::Key_Return);
    QTRY_VERIFY(!form->isVisible());
}

void TestUtilities::indexTextsLieBesideTheirPictures_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castilian") << true;
    QTest::newRow("valencian") << false;
}

void TestUtilities::indexTextsLieBesideTheirPictures()
{
    QFETCH(bool, castilian);
    TForm8 *form = openBook(castilian);
    QTextDocument *document = form->RichEdit1->document();
    const QList<Picture *> pictures { form->imsen, form->imdual, form->imlis };
    QCOMPARE(document->blockCount(), 3);
    QTextBlock block = document->begin();
    for (Picture *picture : pictures) {
        const QRectF box = document->documentLayout()->blockBoundingRect(block);
        const double top = form->RichEdit1->y() + box.top() + document->documentMargin();
        const double bottom = form->RichEdit1->y() + box.bottom();
        // each paragraph starts in the upper part of its picture and ends before the next begins
        QVERIFY2(top >= picture->y() && top <= picture->y() + 40, qPrintable(block.text().left(30)));
        QVERIFY2(bottom <= picture->geometry().bottom() + 6, qPrintable(block.text().left(30)));
        block = block.next();
    }
    // nothing is hidden below the pane
    QVERIFY(document->size().height() <= form->RichEdit1->height());
}

// ---- the sine wave's zones ----

void TestUtilities::zoneOpensItsPanel_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("text");
    for (const SineZone &zone : kSineZones) {
        QTest::addRow("%s castilian", zone.name)
            << true << zone.name << zone.panel << QString::fromUtf16(zone.castilian);
        QTest::addRow("%s valencian", zone.name)
            << false << zone.name << zone.panel << QString::fromUtf16(zone.valencian);
    }
}

void TestUtilities::zoneOpensItsPanel()
{
    QFETCH(bool, castilian);
    QFETCH(QString, zone);
    QFETCH(QString, panel);
    QFETCH(QString, text);
    TForm8 *form = openBook(castilian);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    HotSpot *spot = form->zone(zone);
    QVERIFY(spot);
    // the student clicks the annotation: the zone lies on top of the picture there
    QCOMPARE(clickAt(form->pag3, spot->geometry().center()), spot);
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->panel(panel) });
    QCOMPARE(form->panel(panel)->text(), text);
    // the whole line is shown, inside the panel's border
    Panel *shown = form->panel(panel);
    QVERIFY2(shown->fontMetrics().horizontalAdvance(text) <= shown->width() - 8, qPrintable(text));
    // the zone is named for screen readers
    QVERIFY(!spot->accessibleName().isEmpty());
    QCOMPARE(spot->toolTip(), spot->accessibleName());
    // clicking the panel closes it
    QTest::mouseClick(shown, Qt::LeftButton);
    QVERIFY(visiblePanels(form).isEmpty());
}

void TestUtilities::zonesSharePanels()
{
    TForm8 *form = openBook(true);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    const auto click
        = [form](const char *name) { QTest::mouseClick(form->zone(QLatin1String(name)), Qt::LeftButton); };
    click("iut");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->put });
    // the amplitude replaces the text in the same panel
    click("ium");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->put });
    QVERIFY(form->put->text().startsWith(QStringLiteral("Um es la amplitud")));
    // the phase closes it and opens the shared panel of the phase and the pulsation
    click("ij");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->pw });
    QVERIFY(form->pw->text().startsWith(QStringLiteral("Es la fase inicial")));
    click("iw");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->pw });
    QVERIFY(form->pw->text().startsWith(QStringLiteral("Es la pulsación")));
    click("it");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->pij });
    click("iut");
    QCOMPARE(visiblePanels(form), QList<Panel *> { form->put });
    QVERIFY(form->put->text().startsWith(QStringLiteral("U(t)")));
}

void TestUtilities::panelsOutlivePageChanges()
{
    TForm8 *form = openBook(true);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QTest::mouseClick(form->zone(QStringLiteral("it")), Qt::LeftButton);
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(form->eang, Qt::LeftButton);
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QVERIFY(form->pij->isVisible());
}

void TestUtilities::activationStartsAgain()
{
    TForm8 *form = openBook(false);
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QTest::mouseClick(form->zone(QStringLiteral("iw")), Qt::LeftButton);
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(form->emed, Qt::LeftButton);
    QTest::mouseClick(form->Label34, Qt::LeftButton);
    QCOMPARE(form->PageControl1->currentWidget(), form->pag7);

    // the student goes to the main window and comes back
    fichaprincipal->showWindow();
    activate(form);
    QCOMPARE(form->PageControl1->currentWidget(), form->pag1);
    QVERIFY(visiblePanels(form).isEmpty());
    QCOMPARE(form->windowTitle(), QString());

    // coming back from another program to the same window keeps the page
    QTest::mouseClick(form->eang, Qt::LeftButton);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(form, &deactivate);
    activate(form);
    QCOMPARE(form->PageControl1->currentWidget(), form->pag4);
}

void TestUtilities::pointerOverLinksAndZones()
{
    TForm8 *form = openBook(true);
    QVERIFY(CursorTable::has(CursorTable::kHand));
    QList<QWidget *> controls { form->ecarac, form->eang, form->emed, form->Label31, form->Label34 };
    for (const SineZone &zone : kSineZones)
        controls << form->zone(QLatin1String(zone.name));
    for (QWidget *control : controls) {
        QVERIFY(!control->testAttribute(Qt::WA_SetCursor));
        pointerOver(control);
        QVERIFY2(showsHand(control), qPrintable(control->objectName()));
    }
    // text that is no link keeps the arrow
    pointerOver(form->eutil);
    QVERIFY(!form->eutil->testAttribute(Qt::WA_SetCursor));
}

void TestUtilities::pointerWithoutTheCursorFile()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("handgrab.cur"))));
    TForm8 *form = openBook(true);
    QVERIFY(!CursorTable::has(CursorTable::kHand));
    for (QWidget *control : QList<QWidget *> { form->ecarac, form->zone(QStringLiteral("ium")) }) {
        pointerOver(control);
        QCOMPARE(control->cursor().shape(), Qt::ArrowCursor);
    }
    // nothing is reported and everything still works
    QVERIFY(m_errors.isEmpty());
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QTest::mouseClick(form->zone(QStringLiteral("ium")), Qt::LeftButton);
    QVERIFY(form->put->isVisible());
    m_dir->restore(QStringLiteral("handgrab.cur"));
}

// ---- formulas and lines ----

void TestUtilities::formulasReadGreek_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castilian") << true;
    QTest::newRow("valencian") << false;
}

void TestUtilities::formulasReadGreek()
{
    QFETCH(bool, castilian);
    TForm8 *form = openBook(castilian);
    const QString symbolFamily = Fonts::family(QStringLiteral("Symbol"));
    const QStringList symbolLabels { "Label7", "Label9", "Label11", "Label13", "Label15", "Label17",
        "Label19", "Label21", "Label22", "Label24", "Label26", "Label38", "Label42", "Label44", "Label47",
        "Label50", "Label52", "Label55", "Label59" };
    for (const QString &name : symbolLabels) {
        Label *label = form->label(name);
        QVERIFY2(label, qPrintable(name));
        QVERIFY2(readsGreek(label->text()), qPrintable(name + QStringLiteral(": ") + label->text()));
        QCOMPARE(label->font().family(), symbolFamily);
    }
    const QChar omega(0x03c9);
    QCOMPARE(form->label(QStringLiteral("Label7"))->text(), QString(omega) + QStringLiteral(" :"));
    QCOMPARE(form->label(QStringLiteral("Label19"))->text(), QString(omega));
    // the degree sign and the minus read right through the Symbol face
    QVERIFY(form->label(QStringLiteral("Label21"))->text().endsWith(QStringLiteral("90°")));
    QVERIFY(form->label(QStringLiteral("Label26"))->text().contains(QChar(0x2212)));
    // the red formulas, the black sentence around the phase difference
    QCOMPARE(form->label(QStringLiteral("Label9"))->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(
        form->label(QStringLiteral("Label17"))->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TestUtilities::linesStayOnThePage_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castilian") << true;
    QTest::newRow("valencian") << false;
}

void TestUtilities::linesStayOnThePage()
{
    QFETCH(bool, castilian);
    TForm8 *form = openBook(castilian);
    for (QWidget *page : { form->pag1, form->pag3, form->pag4, form->pag5, form->pag6, form->pag7 }) {
        const QList<Label *> labels = page->findChildren<Label *>(Qt::FindDirectChildrenOnly);
        for (Label *label : labels) {
            const QString name = label->objectName();
            const int inkRight = label->x() + label->fontMetrics().horizontalAdvance(label->text().trimmed());
            QVERIFY2(label->x() >= 0 && inkRight <= page->width(), qPrintable(name));
            // no two texts run into each other
            for (Label *other : labels) {
                if (other == label || other->text().trimmed().isEmpty())
                    continue;
                const QRect a(label->x(), label->y() + 3,
                    label->fontMetrics().horizontalAdvance(label->text().trimmed()), label->height() - 6);
                const QRect b(other->x(), other->y() + 3,
                    other->fontMetrics().horizontalAdvance(other->text().trimmed()), other->height() - 6);
                QVERIFY2(!a.intersects(b), qPrintable(name + QStringLiteral(" and ") + other->objectName()));
            }
            // where a text lies over a picture, the picture leaves it blank
            for (Picture *picture : page->findChildren<Picture *>()) {
                const QRect over = picture->geometry().intersected(label->geometry().adjusted(0, 3, 0, -3));
                const QImage image = picture->picture();
                for (int y = over.top(); y <= over.bottom(); ++y)
                    for (int x = over.left(); x <= over.right(); ++x) {
                        const QPoint at = QPoint(x, y) - picture->pos();
                        QVERIFY2(image.pixel(at) == qRgb(255, 255, 255),
                            qPrintable(name + QStringLiteral(" over ") + picture->objectName()));
                    }
            }
        }
    }
    // a word and the symbol after it stay apart, a symbol and its variable together
    const auto gap = [form](const char *left, const char *right) {
        Label *a = form->label(QLatin1String(left));
        Label *b = form->label(QLatin1String(right));
        return b->x() - (a->x() + a->fontMetrics().horizontalAdvance(a->text()));
    };
    QVERIFY(gap("Label6", "Label7") >= 2);
    QVERIFY(gap("Label46", "Label47") >= 2);
    QVERIFY(gap("Label47", "Label49") <= 1);
    QVERIFY(gap("Label50", "Label51") <= 1);
    // the fragments of a formula stand on one baseline
    const QList<QStringList> formulas { { "Label8", "Label9", "Label10", "Label11" },
        { "Label19", "Label20", "Label21" }, { "Label46", "Label47", "Label49" },
        { "Label50", "Label51", "Label52", "Label53" }, { "Label58", "Label59", "Label60" } };
    for (const QStringList &formula : formulas) {
        Label *first = form->label(formula.first());
        const int baseline = first->y() + first->fontMetrics().ascent();
        for (const QString &name : formula) {
            Label *label = form->label(name);
            QCOMPARE(label->y() + label->fontMetrics().ascent(), baseline);
        }
    }
}

// ---- data files ----

void TestUtilities::missingText_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("asFolder");
    QTest::newRow("castilian missing") << true << "uni8c.rtf" << false;
    QTest::newRow("valencian missing") << false << "uni8v.rtf" << false;
    QTest::newRow("valencian unreadable") << false << "uni8v.rtf" << true;
}

void TestUtilities::missingText()
{
    QFETCH(bool, castilian);
    QFETCH(QString, file);
    QFETCH(bool, asFolder);
    QVERIFY(QFile::remove(m_dir->filePath(file)));
    if (asFolder)
        QVERIFY(QDir(m_dir->path()).mkdir(file));
    TForm8 *form = openBook(castilian);
    QCOMPARE(m_errors, QStringList { ErrorBox::cannotOpenText(file) });
    QCOMPARE(m_errors.first(), QStringLiteral("Cannot open file %1.").arg(file));
    // the window is still shown, with the texts set before the file and the design's after it
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QString());
    QCOMPARE(form->BitBtn1->text(), castilian ? QStringLiteral("&Cerrar") : QStringLiteral("Tancar"));
    QCOMPARE(form->ecarac->text(),
        castilian ? QStringLiteral("Características de una señal senoidal")
                  : QStringLiteral("Característiques d'un senyal senoidal"));
    QCOMPARE(form->label(QStringLiteral("Label2"))->text(),
        QStringLiteral("Pulsar sobre la zona que se desee obtener información."));
    QCOMPARE(form->label(QStringLiteral("Label58"))->text(), QStringLiteral("Entonces sen"));
    // and it still works
    QTest::mouseClick(form->emed, Qt::LeftButton);
    QTest::mouseClick(form->Label34, Qt::LeftButton);
    QCOMPARE(form->PageControl1->currentWidget(), form->pag7);
    if (asFolder)
        QVERIFY(QDir(m_dir->path()).rmdir(file));
    m_dir->restore(file);
}

void TestUtilities::screenButtons()
{
    TForm8 *form = openBook(true);
    QTest::mouseClick(form->emed, Qt::LeftButton);
    QTest::mouseClick(form->Label34, Qt::LeftButton);
    const QImage designed = form->pant->picture();
    QCOMPARE(designed.size(), UtilitiesArt::kScreenSize);
    QTest::mouseClick(form->SpeedButton7, Qt::LeftButton);
    QCOMPARE(form->pant->fileName(), QStringLiteral("pdual.bmp"));
    QCOMPARE(form->pant->picture().size(), UtilitiesArt::kScreenSize);
    QVERIFY(form->pant->picture() != designed);
    QTest::mouseClick(form->SpeedButton8, Qt::LeftButton);
    QCOMPARE(form->pant->fileName(), QStringLiteral("plis.bmp"));
    QVERIFY(m_errors.isEmpty());
    QVERIFY(!form->SpeedButton7->toolTip().isEmpty() && !form->SpeedButton8->toolTip().isEmpty());
}

void TestUtilities::badScreenKeepsThePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("spoilt");
    QTest::newRow("dual missing") << "pdual.bmp" << false;
    QTest::newRow("xy missing") << "plis.bmp" << false;
    QTest::newRow("dual no bitmap") << "pdual.bmp" << true;
    QTest::newRow("xy no bitmap") << "plis.bmp" << true;
}

void TestUtilities::badScreenKeepsThePicture()
{
    QFETCH(QString, file);
    QFETCH(bool, spoilt);
    TForm8 *form = openBook(true);
    QTest::mouseClick(form->emed, Qt::LeftButton);
    QTest::mouseClick(form->Label34, Qt::LeftButton);
    // the other screen is showing when the student presses the button of the bad one
    const bool dual = file == QLatin1String("pdual.bmp");
    QTest::mouseClick(dual ? form->SpeedButton8 : form->SpeedButton7, Qt::LeftButton);
    const QImage before = form->pant->picture();
    const QString beforeFile = form->pant->fileName();
    QVERIFY(QFile::remove(m_dir->filePath(file)));
    if (spoilt) {
        QFile bad(m_dir->filePath(file));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("BM this is no picture");
    }
    QTest::mouseClick(dual ? form->SpeedButton7 : form->SpeedButton8, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(m_errors.first(), spoilt ? DataFile::invalidPictureText(file) : ErrorBox::cannotOpenText(file));
    QCOMPARE(form->pant->picture(), before);
    QCOMPARE(form->pant->fileName(), beforeFile);
    m_dir->restore(file);
}

// ---- the pictures ----

void TestUtilities::zoneCoversItsAnnotation_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QRect>("rect");
    for (const SineZone &zone : kSineZones)
        QTest::newRow(zone.name) << QString::fromLatin1(zone.name)
                                 << QRect(zone.rect.left - kSinePictureLeft, zone.rect.top - kSinePictureTop,
                                        zone.rect.width, zone.rect.height);
}

void TestUtilities::zoneCoversItsAnnotation()
{
    QFETCH(QString, zone);
    QFETCH(QRect, rect);
    const QImage whole = UtilitiesArt::annotatedSine();
    const QImage without = UtilitiesArt::annotatedSine(zone);
    QCOMPARE(whole.size(), QSize(kSinePictureWidth, kSinePictureHeight));
    // what the annotation adds to the picture lies inside the zone that explains it
    int drawn = 0;
    QRect ink;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            if (whole.pixel(x, y) != without.pixel(x, y)) {
                ++drawn;
                ink |= QRect(x, y, 1, 1);
            }
    QVERIFY2(drawn >= 25, qPrintable(QStringLiteral("%1 draws %2 pixels").arg(zone).arg(drawn)));
    QVERIFY2(rect.contains(ink),
        qPrintable(QStringLiteral("%1: ink %2,%3 %4x%5")
                       .arg(zone)
                       .arg(ink.x())
                       .arg(ink.y())
                       .arg(ink.width())
                       .arg(ink.height())));
    // and it is this picture that the window shows
    TForm8 *form = openBook(true);
    QCOMPARE(form->imsenoide->picture().convertToFormat(QImage::Format_RGB32), whole);
}

void TestUtilities::dualAndXyPhasesAgree()
{
    // In dual mode: t between the two rising zeros, T between two of channel II's.
    const ScreenTraces dual = computeTraces(UtilitiesArt::dualSettings());
    QCOMPARE(dual.traces.size(), 2);
    const QList<double> first = risingZeros(dual.traces[0]);
    const QList<double> second = risingZeros(dual.traces[1]);
    QVERIFY(!first.isEmpty() && second.size() >= 2);
    const double period = second[1] - second[0];
    double t = second[0] - first[0];
    if (t < 0)
        t += period;
    const double dualPhase = t / period * 360.0;

    // In X-Y: a where the figure crosses the vertical axis, b at its top.
    const ScreenTraces xy = computeTraces(UtilitiesArt::xySettings());
    QCOMPARE(xy.traces.size(), 1);
    const Trace &figure = xy.traces[0];
    double a = 0, b = 0;
    for (qsizetype i = 1; i < figure.points.size(); ++i) {
        const QPointF p = figure.points[i - 1], q = figure.points[i];
        b = std::max(b, q.y());
        if ((p.x() < 0) != (q.x() < 0))
            a = std::max(a, std::abs(p.y() + (q.y() - p.y()) * -p.x() / (q.x() - p.x())));
    }
    QVERIFY(a > 0 && b > a);
    const double xyPhase = std::asin(a / b) / kDegree;

    // Both are read to the width of the trace, a little under a tenth of a division.
    const double traceDivisions = 0.09;
    const double dualTolerance = traceDivisions / period * 360.0;
    const double xyTolerance
        = (std::asin(std::min(1.0, (a + traceDivisions) / b)) - std::asin(a / b)) / kDegree;
    QVERIFY2(std::abs(dualPhase - xyPhase) <= std::max(dualTolerance, xyTolerance),
        qPrintable(QStringLiteral("dual %1°, X-Y %2°").arg(dualPhase).arg(xyPhase)));
    QVERIFY(std::abs(dualPhase - UtilitiesArt::kPhaseDegrees) <= dualTolerance);
    // The marks fall where a student reads them: whole and half divisions.
    QVERIFY(std::abs(period - std::round(period)) < 0.05);
    QVERIFY(std::abs(2 * t - std::round(2 * t)) < 0.05);
    QVERIFY(std::abs(2 * a - std::round(2 * a)) < 0.05 && std::abs(b - std::round(b)) < 0.05);
}

void TestUtilities::screensShowTheModel()
{
    // The two screens the student loads light the beam where the model puts it.
    const QImage xy = DataFile::loadPicture(QStringLiteral("plis.bmp")).value_or(QImage());
    const QImage dual = DataFile::loadPicture(QStringLiteral("pdual.bmp")).value_or(QImage());
    QCOMPARE(xy.size(), UtilitiesArt::kScreenSize);
    QCOMPARE(dual.size(), UtilitiesArt::kScreenSize);
    const QRectF g = ScreenPainter::graticuleRect(QRectF(QPointF(0, 0), QSizeF(UtilitiesArt::kScreenSize)));
    const auto litNear = [](const QImage &image, QPointF at) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (lit(image.pixel(int(at.x()) + dx, int(at.y()) + dy)))
                    return true;
        return false;
    };
    const double b = 3.0, a = b * std::sin(UtilitiesArt::kPhaseDegrees * kDegree);
    for (const QPointF &point : { QPointF(0, a), QPointF(0, -a) })
        QVERIFY(litNear(xy, ScreenPainter::toPixels(g, point)));
    // the top of the figure is b high, nothing is lit above it
    const QPointF top = ScreenPainter::toPixels(g, QPointF(0, b));
    for (int y = int(g.top()); y < int(top.y()) - 2; ++y)
        for (int x = int(g.left()); x < int(g.right()); ++x)
            QVERIFY(!lit(xy.pixel(x, y)));
    // the dual screen crosses the zero line at the model's rising zeros
    const ScreenTraces traces = computeTraces(UtilitiesArt::dualSettings());
    for (const Trace &trace : traces.traces)
        for (double x : risingZeros(trace))
            QVERIFY(litNear(dual, ScreenPainter::toPixels(g, QPointF(x, 0))));
}

void TestUtilities::grabEveryPage_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::newRow("castilian") << true;
    QTest::newRow("valencian") << false;
}

void TestUtilities::grabEveryPage()
{
    QFETCH(bool, castilian);
    const QString language = castilian ? QStringLiteral("castilian") : QStringLiteral("valencian");
    TForm8 *form = openBook(castilian);
    const auto grab
        = [&](const QString &page) { saveGrab(form, QStringLiteral("form8-%1-%2").arg(page, language)); };
    grab(QStringLiteral("pag1"));
    QTest::mouseClick(form->ecarac, Qt::LeftButton);
    QTest::mouseClick(form->zone(QStringLiteral("it")), Qt::LeftButton);
    grab(QStringLiteral("pag3-period"));
    QTest::mouseClick(form->zone(QStringLiteral("iw")), Qt::LeftButton);
    grab(QStringLiteral("pag3-pulsation"));
    QTest::mouseClick(form->zone(QStringLiteral("ium")), Qt::LeftButton);
    grab(QStringLiteral("pag3-amplitude"));
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(form->eang, Qt::LeftButton);
    grab(QStringLiteral("pag4"));
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    QTest::mouseClick(form->emed, Qt::LeftButton);
    grab(QStringLiteral("pag5"));
    QTest::mouseClick(form->Label31, Qt::LeftButton);
    grab(QStringLiteral("pag6"));
    QTest::mouseClick(form->SpeedButton5, Qt::LeftButton);
    QTest::mouseClick(form->Label34, Qt::LeftButton);
    grab(QStringLiteral("pag7"));
    QTest::mouseClick(form->SpeedButton7, Qt::LeftButton);
    grab(QStringLiteral("pag7-dual"));
    QTest::mouseClick(form->SpeedButton8, Qt::LeftButton);
    grab(QStringLiteral("pag7-xy"));
    QCOMPARE(form->PageControl1->currentWidget(), form->pag7);
}

QTEST_MAIN(TestUtilities)
#include "tst_utilities.moc"
