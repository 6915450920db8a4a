#include "labreport.h"
#include "livepanel.h"
#include "phosphorlit.h"
#include "program.h"
#include "reportdialog.h"
#include "screenface.h"
#include "taskprediction.h"
#include "taskstestsupport.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <poppler-qt6.h>

#include <memory>

namespace {

/** A lab a teacher might write: two questions on a generator set once. */
const char kGoodLab[] = R"(# Una práctica corta para probar la ventana.
titulo = { es = "Barrido y sensibilidad", va = "Escombratge i sensibilitat" }
introduccion = { es = "Dos preguntas sobre una senoide de 4 Vpp.", va = "Dues preguntes sobre una sinusoide de 4 Vpp." }

[[tarea]]
id = "barrido"
objetivo = { es = "Pon TIME/DIV en 1 µs/div y mira la senoide.", va = "Posa TIME/DIV en 1 µs/div i mira la sinusoide." }
[tarea.generador]
frecuencia = "1 kHz"
amplitud_1 = "4 Vpp"
[tarea.prediccion]
pregunta = { es = "¿Qué verás con TIME/DIV en 1 µs/div?", va = "Què veuràs amb TIME/DIV en 1 µs/div?" }
cambio = { mando = "TIME/DIV", posicion = "1 µs" }
explicacion = { es = "Solo un trozo del periodo.", va = "Només un tros del període." }

[[tarea]]
id = "sensibilidad"
objetivo = { es = "Pon VOLTS/DIV I en 0,5 V/div.", va = "Posa VOLTS/DIV I en 0,5 V/div." }
[tarea.generador]
frecuencia = "400 Hz"
amplitud_1 = "4 Vpp"
[tarea.prediccion]
pregunta = { es = "¿Qué verás con VOLTS/DIV I en 0,5 V/div?", va = "Què veuràs amb VOLTS/DIV I en 0,5 V/div?" }
cambio = { mando = "VOLTS/DIV I", posicion = "0,5 V" }
explicacion = { es = "El doble de alta.", va = "El doble d'alta." }
)";
/** The text of every page of a PDF, its blanks run together. */
QString pdfText(Poppler::Document &document)
{
    QStringList pages;
    for (int i = 0; i < document.numPages(); ++i)
        pages << std::unique_ptr<Poppler::Page>(document.page(i))->text(QRectF());
    return pages.join(QLatin1Char(' ')).simplified();
}

/** How many pixels of a page the phosphor's green lights. */
int litPixels(const QImage &image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += isPhosphorLit(image.pixel(x, y));
    return lit;
}

} // namespace

/** The lab's actions of the virtual oscilloscope as a student uses them: opening a lab file, handing in the
 * report of what they did, and saving a picture of the screen. */
class TestLabWindow : public WindowSuite
{
    Q_OBJECT

private:
    QTemporaryDir m_files;

    Tosciloscopio *open()
    {
        menu("Osciloscopiovirtual1");
        Tosciloscopio *window = osciloscopio;
        window->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window)); }();
        return window;
    }
    QString filePath(const QString &name) const { return m_files.filePath(name); }
    QString writeLab(const QString &name, const QByteArray &text)
    {
        QFile file(filePath(name));
        [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
        file.write(text);
        return file.fileName();
    }
    /** The dialog of that name the window has open, once it shows. */
    template <class Dialog> Dialog *dialog(const char *name)
    {
        Dialog *found = nullptr;
        [&] {
            QTRY_VERIFY(
                (found = osciloscopio->findChild<Dialog *>(QLatin1String(name))) && found->isVisible());
        }();
        return found;
    }
    /** Types a file's path into a file dialog and presses Enter, as a student does. */
    void chooseFile(const char *name, const QString &path)
    {
        auto *files = dialog<QFileDialog>(name);
        QVERIFY(files);
        auto *edit = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        // Pasted whole, as a path is; typed, the completer's list would take the Enter.
        edit->setText(path);
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY(!osciloscopio->findChild<QFileDialog *>(QLatin1String(name)));
    }
    /** Moves the strip on to a task with its Siguiente button. */
    static void goTo(TaskStrip *strip, int task)
    {
        while (strip->taskIndex() < task)
            QTest::mouseClick(strip->next(), Qt::LeftButton);
    }
    /** Types a reading into the answer and presses Enter. */
    static void typeReading(TaskStrip *strip, const QString &reading)
    {
        strip->answer()->setFocus(Qt::TabFocusReason);
        strip->answer()->selectAll();
        QTest::keyClicks(strip->answer(), reading);
        QTest::keyClick(strip->answer(), Qt::Key_Return);
    }
    /** Types any text, letters outside ASCII too, one key per character. */
    static void typeText(QWidget *widget, const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    /** Answers the next question box with the button of that text, once it shows; returns what it asked. */
    std::shared_ptr<QString> answerNextQuestion(const QString &button)
    {
        auto asked = std::make_shared<QString>();
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, button, asked] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            *asked = box->text();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == button)
                    b->click();
            poll->deleteLater();
        });
        poll->start(10);
        return asked;
    }
    static QString decimal(double value) { return QString::number(value).replace(u'.', u','); }

private Q_SLOTS:
    void initTestCase()
    {
        startSuite();
        QVERIFY(m_files.isValid());
    }
    void cleanupTestCase() { endSuite(); }
    void init() { startCase(); }
    void cleanup()
    {
        if (osciloscopio)
            osciloscopio->close();
    }

    void theButtonOffersTheThreeActions_data() { languages(); }
    void theButtonOffersTheThreeActions()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        QPushButton *button = window->bpractica;
        QCOMPARE(button->text(), castilian ? QStringLiteral("&Práctica") : QStringLiteral("&Pràctica"));
        // At the foot of the strip's box, beside Cerrar and level with it.
        QCOMPARE(button->parentWidget(), window->bcerrar->parentWidget());
        QCOMPARE(button->y(), window->bcerrar->y());
        QVERIFY(button->geometry().right() < window->bcerrar->x());
        QVERIFY(!button->geometry().intersects(window->tarea->geometry()));
        const QStringList expected = castilian
            ? QStringList { QStringLiteral("Abrir práctica…"), QStringLiteral("Informe…"),
                  QStringLiteral("Guardar imagen de la pantalla…") }
            : QStringList { QStringLiteral("Obri pràctica…"), QStringLiteral("Informe…"),
                  QStringLiteral("Guarda imatge de la pantalla…") };
        // The menu drops from the button as it is clicked, one entry per action, each with its key.
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            QMenu *menu = button->menu();
            if (menu->isVisible())
                for (QAction *action : menu->actions())
                    shown << action->text() + QLatin1Char(' ') + action->shortcut().toString();
            menu->close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(shown,
            (QStringList { expected.at(0) + QStringLiteral(" Ctrl+O"),
                expected.at(1) + QStringLiteral(" Ctrl+R"), expected.at(2) + QStringLiteral(" Ctrl+S") }));
        saveGrab(window, QStringLiteral("practica-") + suffix(castilian));
    }

    void eachKeyOpensItsDialog_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("title");
        QTest::addRow("abrir castellano") << true << int(Qt::Key_O) << "archivoPractica"
                                          << "Abrir práctica";
        QTest::addRow("obri valencià") << false << int(Qt::Key_O) << "archivoPractica"
                                       << "Obri pràctica";
        QTest::addRow("informe castellano") << true << int(Qt::Key_R) << "datosInforme"
                                            << "Informe";
        QTest::addRow("informe valencià") << false << int(Qt::Key_R) << "datosInforme"
                                          << "Informe";
        QTest::addRow("imagen castellano") << true << int(Qt::Key_S) << "archivoImagen"
                                           << "Guardar imagen de la pantalla";
        QTest::addRow("imatge valencià") << false << int(Qt::Key_S) << "archivoImagen"
                                         << "Guarda imatge de la pantalla";
    }
    void eachKeyOpensItsDialog()
    {
        QFETCH(bool, castilian);
        QFETCH(int, key);
        QFETCH(QString, dialog);
        QFETCH(QString, title);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        QTest::keyClick(window, Qt::Key(key), Qt::ControlModifier);
        auto *shown = this->dialog<QDialog>(qPrintable(dialog));
        QVERIFY(shown);
        QCOMPARE(shown->windowTitle(), title);
        // A file dialog speaks the student's language on its buttons and asks for the right kind of file.
        if (auto *files = qobject_cast<QFileDialog *>(shown)) {
            const bool saving = files->acceptMode() == QFileDialog::AcceptSave;
            QCOMPARE(files->labelText(QFileDialog::Accept),
                saving ? (castilian ? QStringLiteral("Guardar") : QStringLiteral("Guarda"))
                       : (castilian ? QStringLiteral("Abrir") : QStringLiteral("Obri")));
            QCOMPARE(files->labelText(QFileDialog::Reject),
                castilian ? QStringLiteral("Cancelar") : QStringLiteral("Cancel·la"));
            QCOMPARE(files->nameFilters().size(), 1);
            if (!saving)
                QCOMPARE(files->nameFilters().first(),
                    castilian ? QStringLiteral("Prácticas (*.toml)") : QStringLiteral("Pràctiques (*.toml)"));
        }
        saveGrab(shown, dialog + QLatin1Char('-') + suffix(castilian));
        QTest::keyClick(shown, Qt::Key_Escape);
        QTRY_VERIFY(!window->findChild<QDialog *>(dialog));
        QVERIFY(m_errors.isEmpty());
    }

    void aGoodLabRunsInTheStrip_data() { languages(); }
    void aGoodLabRunsInTheStrip()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        goTo(strip, 2);
        const QString path = writeLab(QStringLiteral("medidas.toml"), kGoodLab);
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        chooseFile("archivoPractica", path);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        // The lab's title and introduction, before its first task.
        QCOMPARE(strip->title()->text(),
            castilian ? QStringLiteral("Barrido y sensibilidad")
                      : QStringLiteral("Escombratge i sensibilitat"));
        QCOMPARE(strip->goal()->text(),
            castilian ? QStringLiteral("Dos preguntas sobre una senoide de 4 Vpp.")
                      : QStringLiteral("Dues preguntes sobre una sinusoide de 4 Vpp."));
        QCOMPARE(strip->taskIndex(), -1);
        QCOMPARE(strip->lab().tasks.size(), 2);
        QVERIFY(!strip->previous()->isEnabled());
        saveGrab(window, QStringLiteral("practica-abierta-") + suffix(castilian));
        QTest::mouseClick(strip->next(), Qt::LeftButton);
        QCOMPARE(strip->goal()->text(),
            castilian ? QStringLiteral("¿Qué verás con TIME/DIV en 1 µs/div?")
                      : QStringLiteral("Què veuràs amb TIME/DIV en 1 µs/div?"));
        QVERIFY(strip->predicting());
    }

    void aBadLabIsToldAndChangesNothing_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        QByteArray unknownControl(kGoodLab);
        unknownControl.replace("mando = \"VOLTS/DIV I\"", "mando = \"anchura\"");
        const int controlLine = int(unknownControl.left(unknownControl.indexOf("anchura")).count('\n')) + 1;
        QByteArray badFrequency(kGoodLab);
        badFrequency.replace("frecuencia = \"400 Hz\"", "frecuencia = \"mucha\"");
        const int frequencyLine = int(badFrequency.left(badFrequency.indexOf("mucha")).count('\n')) + 1;
        for (const bool castilian : { true, false }) {
            const char *language = castilian ? "castellano" : "valencià";
            QTest::addRow("mando %s", language) << castilian << unknownControl << controlLine << "mando";
            QTest::addRow("frecuencia %s", language)
                << castilian << badFrequency << frequencyLine << "frecuencia";
        }
    }
    void aBadLabIsToldAndChangesNothing()
    {
        QFETCH(bool, castilian);
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, key);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        goTo(strip, 2);
        const QString title = strip->title()->text();
        const QString goal = strip->goal()->text();
        const qsizetype tasks = strip->lab().tasks.size();
        const QString path = writeLab(QStringLiteral("mala.toml"), text);
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        chooseFile("archivoPractica", path);
        // One message, in the student's language, that points at the line and the key.
        QCOMPARE(m_errors.size(), 1);
        const QString told = m_errors.first();
        QVERIFY2(told.startsWith(castilian ? QStringLiteral("No se ha podido abrir la práctica:")
                                           : QStringLiteral("No s'ha pogut obrir la pràctica:")),
            qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("mala.toml")), qPrintable(told));
        QVERIFY2(
            told.contains((castilian ? QStringLiteral("línea %1") : QStringLiteral("línia %1")).arg(line)),
            qPrintable(told));
        QVERIFY2(told.contains(key), qPrintable(told));
        // The strip goes on with its lab, on its task.
        QCOMPARE(strip->taskIndex(), 2);
        QCOMPARE(strip->title()->text(), title);
        QCOMPARE(strip->goal()->text(), goal);
        QCOMPARE(strip->lab().tasks.size(), tasks);
        QVERIFY(strip->lab().fileName.isEmpty());
    }

    void theReportHoldsWhatTheStudentDid_data() { languages(); }
    void theReportHoldsWhatTheStudentDid()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;

        // A question answered: the right choice, confirmed.
        goTo(strip, PredictSweep);
        QVERIFY(strip->predicting());
        int right = 0;
        while (!strip->choices().at(right).correct)
            ++right;
        const QString chosen = strip->choices().at(right).in(rowLanguage(castilian));
        QTest::mouseClick(strip->choiceButton(right), Qt::LeftButton);
        QTest::mouseClick(strip->confirm(), Qt::LeftButton);
        QVERIFY(!strip->predicting());

        // A measurement: half the value first (the amplitude read for the peak-to-peak), then the value.
        goTo(strip, PeakToPeak);
        const double peakToPeak = window->panel->scope().generator().amplitudeIVpp;
        typeReading(strip, decimal(peakToPeak / 2));
        QVERIFY(!strip->isMet());
        const QString slip = strip->verdict()->text();
        typeReading(strip, decimal(peakToPeak));
        QTRY_VERIFY(strip->isMet());
        const QString praise = strip->verdict()->text();
        const TaskRecord &record = strip->records().at(PeakToPeak);
        QCOMPARE(record.readings.size(), 2);
        QVERIFY(!record.readings.first().met && record.readings.last().met);
        QCOMPARE(record.readings.first().verdict, slip);
        QCOMPARE(record.readings.last().verdict, praise);
        QVERIFY(!record.screen.isNull());
        // Typed on while it stays met, the reading counts once Enter is pressed; Enter again and leaving the
        // answer add nothing.
        QTest::keyClicks(strip->answer(), QStringLiteral(" V"));
        QVERIFY(strip->isMet());
        QCOMPARE(record.readings.size(), 2);
        QTest::keyClick(strip->answer(), Qt::Key_Return);
        QTest::keyClick(strip->answer(), Qt::Key_Return);
        strip->next()->setFocus(Qt::TabFocusReason);
        QCOMPARE(record.readings.size(), 3);
        QCOMPARE(record.readings.last().typed, decimal(peakToPeak) + QStringLiteral(" V"));
        QCOMPARE(strip->records().at(PredictSweep).predictions.size(), 1);

        // Who hands it in, then where it goes.
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        auto *about = dialog<ReportDialog>("datosInforme");
        QVERIFY(about);
        QVERIFY(!about->acceptButton()->isEnabled());
        typeText(about->name(), QStringLiteral("Ana Pérez Ñúñez"));
        typeText(about->group(), QStringLiteral("2.º B"));
        saveGrab(about, QStringLiteral("informe-datos-") + suffix(castilian));
        QTest::mouseClick(about->acceptButton(), Qt::LeftButton);
        const QString path = filePath(QStringLiteral("informe-%1.pdf").arg(suffix(castilian)));
        chooseFile("archivoInforme", path);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QVERIFY(QFile::exists(path));

        std::unique_ptr<Poppler::Document> document(Poppler::Document::load(path));
        QVERIFY(document && !document->isLocked());
        const QString text = pdfText(*document);
        const Language language = rowLanguage(castilian);
        const QStringList expected {
            courseLab().title.in(language),
            QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
            QStringLiteral("Ana Pérez Ñúñez"),
            QStringLiteral("2.º B"),
            taskHeading(PredictSweep, int(courseLab().tasks.size()), language),
            taskHeading(PeakToPeak, int(courseLab().tasks.size()), language),
            chosen.simplified(),
            castilian ? QStringLiteral("acertada") : QStringLiteral("encertada"),
            QStringLiteral("«%1»").arg(decimal(peakToPeak / 2)),
            QStringLiteral("«%1»").arg(decimal(peakToPeak)),
            slip.simplified(),
            praise.simplified(),
        };
        for (const QString &said : expected)
            QVERIFY2(text.contains(said), qPrintable(said + QStringLiteral("\n---\n") + text));
        // A task never opened is not in it.
        QVERIFY(!text.contains(taskHeading(PeakToPeak + 1, int(courseLab().tasks.size()), language)));
        // The screen as the task was met: the trace's green on the page that shows it.
        int lit = 0;
        for (int i = 0; i < document->numPages(); ++i)
            lit += litPixels(std::unique_ptr<Poppler::Page>(document->page(i))->renderToImage(50, 50));
        QVERIFY2(lit > 20, qPrintable(QString::number(lit)));
        const QString grabs = qEnvironmentVariable("VANTELA_GRAB_DIR");
        for (int i = 0; !grabs.isEmpty() && i < document->numPages(); ++i)
            std::unique_ptr<Poppler::Page>(document->page(i))
                ->renderToImage(100, 100)
                .save(QDir(grabs).filePath(
                    QStringLiteral("informe-%1-%2.png").arg(suffix(castilian)).arg(i + 1)));
        // A4 pages.
        const QSizeF page = std::unique_ptr<Poppler::Page>(document->page(0))->pageSizeF();
        QCOMPARE(qRound(page.width() * 25.4 / 72), 210);
        QCOMPARE(qRound(page.height() * 25.4 / 72), 297);
    }

    void theNameIsAskedForAndBounded()
    {
        Tosciloscopio *window = open();
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        auto *about = dialog<ReportDialog>("datosInforme");
        QVERIFY(about);
        // Blanks are no name; a name as long as any is cut where the report's room ends.
        QTest::keyClicks(about->name(), QStringLiteral("   "));
        QVERIFY(!about->acceptButton()->isEnabled());
        QTest::keyClicks(about->name(), QString(80, u'a'));
        QVERIFY(about->acceptButton()->isEnabled());
        QCOMPARE(about->name()->text().size(), LabReport::maximumName);
        QTest::keyClicks(about->group(), QString(50, u'g'));
        QCOMPARE(about->group()->text().size(), LabReport::maximumGroup);
        QCOMPARE(about->author().name, QString(LabReport::maximumName - 3, u'a'));
        QTest::mouseClick(about->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ReportDialog *>());
        QVERIFY(!window->findChild<QFileDialog *>());
    }

    void whatIsTypedIsPrintedSafely_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("printed");
        QTest::newRow("plain") << "Ana" << 60 << "Ana";
        QTest::newRow("blanks") << "  Ana   Pérez " << 60 << "Ana Pérez";
        QTest::newRow("controls") << QStringLiteral("A\tna\nP\u0007é\u2028rez\r") << 60 << "A na P é rez";
        QTest::newRow("bounded") << QString(70, u'x') << 60 << QString(60, u'x');
        QTest::newRow("no half character") << QStringLiteral("ab\U0001F600") << 3 << "ab";
        QTest::newRow("whole character")
            << QStringLiteral("ab\U0001F600") << 4 << QStringLiteral("ab\U0001F600");
        QTest::newRow("markup stays text") << "<b>Ana</b> & %1" << 60 << "<b>Ana</b> & %1";
    }
    void whatIsTypedIsPrintedSafely()
    {
        QFETCH(QString, typed);
        QFETCH(int, length);
        QFETCH(QString, printed);
        QCOMPARE(LabReport::cleaned(typed, length), printed);
    }

    void aFileThatCannotBeWrittenIsToldAndNothingChanges_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<bool>("report");
        QTest::addColumn<QString>("path");
        const QString missing = m_files.filePath(QStringLiteral("no-existe/salida"));
        const QString underAFile = m_files.filePath(QStringLiteral("un-archivo/salida"));
        for (const bool castilian : { true, false }) {
            const char *language = castilian ? "castellano" : "valencià";
            QTest::addRow("informe sin carpeta %s", language) << castilian << true << missing + ".pdf";
            QTest::addRow("informe bajo un archivo %s", language) << castilian << true << underAFile + ".pdf";
            QTest::addRow("imagen sin carpeta %s", language) << castilian << false << missing + ".png";
            QTest::addRow("imagen bajo un archivo %s", language) << castilian << false << underAFile + ".png";
        }
    }
    void aFileThatCannotBeWrittenIsToldAndNothingChanges()
    {
        QFETCH(bool, castilian);
        QFETCH(bool, report);
        QFETCH(QString, path);
        writeLab(QStringLiteral("un-archivo"), "no es una carpeta");
        setLanguage(castilian);
        Tosciloscopio *window = open();
        TaskStrip *strip = window->tarea;
        goTo(strip, 1);
        const bool written = report ? window->writeReport(path, ReportAuthor { QStringLiteral("Ana"), {} })
                                    : window->saveScreen(path);
        QVERIFY(!written);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().contains(QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path))),
            qPrintable(m_errors.first()));
        QVERIFY2(m_errors.first().startsWith(castilian ? QStringLiteral("No se ha podido guardar")
                                                       : QStringLiteral("No s'ha pogut guardar")),
            qPrintable(m_errors.first()));
        QCOMPARE(strip->taskIndex(), 1);
        QVERIFY(strip->records().at(1).tried);
        QVERIFY(QDir(m_files.path()).entryList({ QStringLiteral("salida*") }).isEmpty());
    }

    void theScreenIsSavedAsThePictureOfTheFace()
    {
        Tosciloscopio *window = open();
        QTRY_VERIFY(!window->panel->framePending());
        const QString path = filePath(QStringLiteral("pantalla.png"));
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        chooseFile("archivoImagen", path);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QImage saved;
        QVERIFY(saved.load(path, "PNG"));
        QCOMPARE(saved.size(), window->panel->screenFace()->size());
        // The 1 kHz sine the instrument opens with, lit across the face, on the dark glass.
        int lit = 0;
        for (int x = 0; x < saved.width(); ++x) {
            int column = 0;
            for (int y = 0; y < saved.height(); ++y)
                column += isPhosphorLit(saved.pixel(x, y));
            lit += column > 0;
        }
        QVERIFY2(lit > saved.width() * 3 / 4, qPrintable(QString::number(lit)));
        QVERIFY(!isPhosphorLit(saved.pixel(2, 2)));
    }

    void anExistingFileIsReplacedOnlyWhenSaidSo_data() { languages(); }
    void anExistingFileIsReplacedOnlyWhenSaidSo()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        Tosciloscopio *window = open();
        const QString path = writeLab(QStringLiteral("ya-existe.png"), "antes");
        std::shared_ptr<QString> asked
            = answerNextQuestion(castilian ? QStringLiteral("Cancelar") : QStringLiteral("Cancel·la"));
        QVERIFY(!window->saveScreen(path));
        QVERIFY2(
            asked->contains(QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path))), qPrintable(*asked));
        QVERIFY(asked->contains(castilian ? QStringLiteral("ya existe") : QStringLiteral("ja existix")));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("antes"));
        kept.close();
        answerNextQuestion(castilian ? QStringLiteral("Reemplazar") : QStringLiteral("Reemplaça"));
        QVERIFY(window->saveScreen(path));
        QCOMPARE(QImage(path).size(), window->panel->screenFace()->size());
        QVERIFY(m_errors.isEmpty());
    }

    void theCommandLineOpensALab_data() { languages(); }
    void theCommandLineOpensALab()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        writeLab(QStringLiteral("linea.toml"), kGoodLab);
        // Named as from the folder the launcher was called in, which is not where the program runs.
        qputenv("VANTELA_CALLED_FROM", QFile::encodeName(m_files.path()));
        openFromCommandLine(
            { QStringLiteral("vantela"), QStringLiteral("--lab"), QStringLiteral("linea.toml") });
        qunsetenv("VANTELA_CALLED_FROM");
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QVERIFY(osciloscopio && osciloscopio->isVisible());
        QCOMPARE(osciloscopio->tarea->title()->text(),
            castilian ? QStringLiteral("Barrido y sensibilidad")
                      : QStringLiteral("Escombratge i sensibilitat"));
        osciloscopio->close();

        // A bad file: told, and the program goes on at its main window with no oscilloscope opened.
        QByteArray broken(kGoodLab);
        broken.replace("mando = \"VOLTS/DIV I\"", "mando = \"anchura\"");
        const QString bad = writeLab(QStringLiteral("rota.toml"), broken);
        const QPointer<Tosciloscopio> before = osciloscopio;
        openFromCommandLine({ QStringLiteral("vantela"), QStringLiteral("--lab=") + bad });
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains(QStringLiteral("rota.toml")));
        QCOMPARE(osciloscopio, before);
        QVERIFY(!osciloscopio->isVisible());
        QVERIFY(fichaprincipal->isVisible());
        // Without the option, nothing opens.
        openFromCommandLine({ QStringLiteral("vantela") });
        QCOMPARE(osciloscopio, before);
    }
};

QTEST_MAIN(TestLabWindow)
#include "tst_labwindow.moc"
