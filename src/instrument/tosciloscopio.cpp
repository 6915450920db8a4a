#include "tosciloscopio.h"

#include "benchbox.h"
#include "benchnews.h"
#include "circuitbench.h"
#include "componenttester.h"
#include "embeddedpictures.h"
#include "errorbox.h"
#include "generatorpanel.h"
#include "labfile.h"
#include "livepanel.h"
#include "reportdialog.h"
#include "screennote.h"
#include "taskstrip.h"

#include <QAction>
#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

/** The panel drawn 1.75 times the size of the front-panel photograph. */
constexpr double kPanelScale = 1.75;
constexpr int kMargin = 8;
/** The generator and the task strip: room in the strip for a question with its choices and verdict. */
constexpr int kLowerHeight = 258;
constexpr int kGeneratorWidth = 566;
constexpr int kReadoutHeight = 18;
/** The note under the screen: three lines of words beside its two buttons. */
constexpr int kNoteHeight = 50;

FormDesign formDesign()
{
    const QSize panel = (QSizeF(535, 239) * kPanelScale).toSize();
    const QSize client(panel.width() + 2 * kMargin,
        panel.height() + kReadoutHeight + kNoteHeight + kLowerHeight + 3 * kMargin + kMargin / 2);
    // The outer frame is the client area with the classic frame round it, as every window's design gives.
    return FormDesign {
        .width = client.width() + 8,
        .height = client.height() + 27,
        .caption = QStringLiteral("Osciloscopio virtual"),
        .color = QColor(0xd4, 0xd0, 0xc8),
        .centred = true,
        .clientSize = client,
    };
}

} // namespace

Tosciloscopio::Tosciloscopio()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("osciloscopio"));
    panel = new LivePanel(client(), kPanelScale);
    panel->move(kMargin, kMargin);
}

void Tosciloscopio::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Osciloscopio virtual", u"Oscil·loscopi virtual"));
    panel->setLanguage(language());

    const int width = design().clientSize.width();
    lectura = new QLabel(client());
    lectura->setObjectName(QStringLiteral("lectura"));
    lectura->setGeometry(kMargin, panel->geometry().bottom() + 3, width - 2 * kMargin, kReadoutHeight);
    lectura->setTextFormat(Qt::PlainText);
    showReadout();

    auto *noteFrame = new BenchBox(client(),
        QRect(kMargin, lectura->geometry().bottom() + 1 + kMargin / 2, width - 2 * kMargin, kNoteHeight),
        pick(u"Nota bajo la pantalla", u"Nota davall de la pantalla"));
    nota = new ScreenNote(noteFrame, language());
    nota->setGeometry(noteFrame->contentsRect());

    const int top = noteFrame->geometry().bottom() + 1 + kMargin / 2;
    auto *bench = new BenchBox(client(), QRect(kMargin, top, kGeneratorWidth, kLowerHeight),
        pick(u"Generador de funciones", u"Generador de funcions"));
    generador = new GeneratorPanel(bench, language());
    generador->setGeometry(bench->contentsRect());
    generador->setSettings(panel->scope().generator());

    const int stripLeft = kMargin + kGeneratorWidth + kMargin;
    auto *strip = new BenchBox(client(), QRect(stripLeft, top, width - stripLeft - kMargin, kLowerHeight),
        pick(u"Tareas", u"Tasques"));
    tarea = new TaskStrip(strip, language());
    tarea->setGeometry(strip->contentsRect().adjusted(0, 0, 0, -34));

    bcerrar = new GlyphButton(strip, { strip->width() - 86, kLowerHeight - 33, 78, 25 },
        pick(u"&Cerrar", u"&Tancar"), ButtonKind::Close);
    bcerrar->setObjectName(QStringLiteral("bcerrar"));
    bcerrar->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));

    // The lab's three actions, beside Cerrar under the strip they work on, and on the window's keys.
    bpractica = new QPushButton(pick(u"&Práctica", u"&Pràctica"), strip);
    bpractica->setObjectName(QStringLiteral("bpractica"));
    bpractica->setGeometry(bcerrar->x() - kMargin - 96, bcerrar->y(), 96, bcerrar->height());
    bpractica->setToolTip(pick(u"Abrir una práctica, escribir su informe o guardar la pantalla",
        u"Obrir una pràctica, escriure'n l'informe o guardar la pantalla"));
    auto *menu = new QMenu(bpractica);
    menu->setObjectName(QStringLiteral("menuPractica"));
    const auto action
        = [&](const char *name, const QString &text, QKeyCombination key, void (Tosciloscopio::*run)()) {
              auto *item = new QAction(text, this);
              item->setObjectName(QLatin1String(name));
              item->setShortcut(key);
              connect(item, &QAction::triggered, this, run);
              menu->addAction(item);
              addAction(item);
              return item;
          };
    abrirPractica = action("abrirPractica", pick(u"Abrir práctica…", u"Obri pràctica…"), Qt::CTRL | Qt::Key_O,
        &Tosciloscopio::openLabClick);
    informe = action(
        "informe", pick(u"Informe…", u"Informe…"), Qt::CTRL | Qt::Key_R, &Tosciloscopio::reportClick);
    guardarImagen
        = action("guardarImagen", pick(u"Guardar imagen de la pantalla…", u"Guarda imatge de la pantalla…"),
            Qt::CTRL | Qt::Key_S, &Tosciloscopio::saveScreenClick);
    bpractica->setMenu(menu);

    // One message per change, in the order a student reads the bench: the task, the note, the face.
    aviso = new BenchNews(client());
    aviso->move(width - 1, 0);
    aviso->setLanguage(language());
    aviso->addSource([this] { return tarea->untold(); });
    aviso->addSource([this] { return nota->untold(); });
    aviso->addSource([this] { return panel->untoldWords(); });
    for (auto moved : { &LivePanel::instrumentChanged, &LivePanel::screenDescriptionChanged })
        connect(panel, moved, aviso, &BenchNews::changed);
    connect(tarea, &TaskStrip::hasNews, aviso, &BenchNews::changed);
    connect(nota, &ScreenNote::asked, aviso, &BenchNews::asked);

    // A circuit on the bench is simulated beside the window: the generator's change shows at once, the
    // circuit's signals once ngspice has settled them, and only if the generator is still set so by then.
    banco = new CircuitBench(this, language());
    const auto rewire = [this](const GeneratorSettings &settings) {
        // A part not yet simulated waits for the bench before it goes in the socket, so that drawing the
        // tester never waits for ngspice; the socket keeps its part until then.
        GeneratorSettings now = settings;
        if (!now.testerPart.isEmpty() && !banco->warmed(now.testerPart)) {
            m_waitingPart = now.testerPart;
            now.testerPart = panel->scope().generator().testerPart;
        } else {
            m_waitingPart.clear();
        }
        panel->setGenerator(now);
        banco->follow(panel->scope().generator());
    };
    connect(generador, &GeneratorPanel::settingsChanged, this, rewire);
    connect(tarea, &TaskStrip::prepareGenerator, this,
        [this, rewire](const GeneratorSettings &settings, HiddenReading hidden) {
            generador->setHidden(HiddenReading::None);
            generador->setSettings(settings);
            generador->setHidden(hidden);
            rewire(settings);
        });
    connect(banco, &CircuitBench::solved, panel, &LivePanel::adoptCircuit);
    connect(banco, &CircuitBench::failed, this, [](const QString &message) { ErrorBox::show(message); });
    connect(
        banco, &CircuitBench::partWarmed, this, [this, rewire](const QString &id, const QString &message) {
            if (id == m_waitingPart && generador->settings().testerPart == id)
                rewire(generador->settings());
            const bool own = m_ownParts.remove(id);
            if (!message.isEmpty())
                ErrorBox::show(message);
            else if (own)
                generador->addOwnPart(id);
        });
    connect(generador, &GeneratorPanel::ownPartAsked, this, &Tosciloscopio::ownPartClick);
    // Every shipped part is simulated while the student looks around, so the tester never waits for one.
    QStringList parts;
    for (const TesterPart &part : testerParts())
        parts << part.id;
    banco->warmParts(parts);
    banco->follow(panel->scope().generator());
    connect(panel, &LivePanel::instrumentChanged, this, [this] {
        showReadout();
        tarea->judge(panel->scope(), panel->moment());
    });
    connect(tarea, &TaskStrip::needsJudging, this, [this] { tarea->judge(panel->scope(), panel->moment()); });
    connect(tarea, &TaskStrip::measurementMet, this, [this] { tarea->keepScreen(panel->facePicture()); });
    // The note follows the instrument once asked, and the words of the face as they change by themselves
    // (the tube warming up, a trace settling after AC).
    const auto followNote = [this] { nota->follow(*panel); };
    for (auto changed : { &LivePanel::instrumentChanged, &LivePanel::screenDescriptionChanged })
        connect(panel, changed, this, followNote);
    connect(nota, &ScreenNote::needsInstrument, this, followNote);
    // A task opens on a known panel: the controls it is not about go back where the instrument opens, and
    // for a question the asked ones too. While a prediction is open the instrument and the generator keep
    // still, so the screen does not answer the question before the student does.
    connect(tarea, &TaskStrip::resetControls, this, [this](const QList<Hm203Control> &controls) {
        for (Hm203Control control : controls)
            panel->setControlValue(control, controlInfo(control).initial);
    });
    // Only what the student does can meet a task.
    connect(panel, &LivePanel::studentMovedControl, tarea, &TaskStrip::studentChanged);
    connect(generador, &GeneratorPanel::settingsChanged, tarea, &TaskStrip::studentChanged);
    // While a measurement is asked for, the face's words and the readout keep to divisions and switches.
    connect(tarea, &TaskStrip::readingsWithheld, this, [this](bool withheld) {
        panel->setScreenReadings(withheld ? ScreenReadings::Withheld : ScreenReadings::Worked);
        showReadout();
    });
    connect(tarea, &TaskStrip::lockControls, this, [this](bool locked) {
        panel->setControlsLocked(locked);
        generador->setEnabled(!locked);
    });
    tarea->showTask(-1);
}

void Tosciloscopio::showReadout()
{
    // What the switches are set to, as the knob skirts would print it: the ranges in use and the trigger.
    const Hm203 &scope = panel->scope();
    const ScopeSettings s = scope.scopeSettings();
    QStringList parts;
    const bool xy = s.mode == DisplayMode::XY;
    const auto uncalibrated = [&](Hm203Control cal) {
        return scope.value(cal) != controlInfo(cal).maximum
            ? QStringLiteral(" (") + pick(u"sin calibrar", u"sense calibrar") + QLatin1Char(')')
            : QString();
    };
    // The HM-203 does not know a ×10 probe is there: the line adds what each division is at the tip, unless
    // that is what the student is asked to work out.
    const auto probeTip = [&](Probe probe, const ChannelSettings &c) {
        if (probe != Probe::Times10 || panel->screenReadings() == ScreenReadings::Withheld)
            return QString();
        return pick(u" (sonda ×10: %1 en la punta)", u" (sonda ×10: %1 a la punta)")
            .arg(formatVoltsPerDiv(c.voltsPerDiv * Probes::times10Ratio));
    };
    const auto channel = [&](const char *name, Hm203Control cal, Probe probe, const ChannelSettings &c) {
        return QLatin1String(name) + QStringLiteral(": ") + formatVoltsPerDiv(c.voltsPerDiv)
            + uncalibrated(cal) + probeTip(probe, c);
    };
    if (!scope.isPressed(Hm203Control::Power)) {
        lectura->setText(pick(u"Apagado", u"Apagat"));
        return;
    }
    if (scope.isPressed(Hm203Control::Tester)) {
        lectura->setText(pick(u"Comprobador de componentes", u"Comprovador de components"));
        return;
    }
    if (s.mode != DisplayMode::ChannelII || xy)
        parts << channel(xy ? "Y (I)" : "I", Hm203Control::VoltsCalI, scope.generator().probeI, s.channelI);
    if (s.mode != DisplayMode::ChannelI || xy)
        parts << channel(
            xy ? "X (II)" : "II", Hm203Control::VoltsCalII, scope.generator().probeII, s.channelII);
    if (!xy) {
        QString time = formatSecondsPerDiv(s.secondsPerDiv) + uncalibrated(Hm203Control::TimeCal);
        if (s.xMagnified)
            time += QStringLiteral(" (x10)");
        parts << time;
        parts << (s.trigger.mode == TriggerMode::Automatic ? QStringLiteral("AT") : QStringLiteral("NORM"));
        parts << QStringLiteral("TRIG. ") + scope.valueText(Hm203Control::TriggerCoupling, language());
        parts << (s.trigger.slope == TriggerSlope::Rising ? QStringLiteral("SLOPE +")
                                                          : QStringLiteral("SLOPE −"));
    }
    lectura->setText(parts.join(QStringLiteral("   ·   ")));
}

std::optional<Lab> Tosciloscopio::readLab(const QString &path, Language language)
{
    LabReading reading = readLabFile(path);
    if (reading.lab && reading.errors.isEmpty())
        return std::move(reading.lab);
    QStringList told { textIn(
        language, u"No se ha podido abrir la práctica:", u"No s'ha pogut obrir la pràctica:") };
    const QString name = QFileInfo(path).fileName();
    for (const LabError &error : std::as_const(reading.errors))
        told << QStringLiteral("• ") + describeLabError(error, name, language);
    ErrorBox::show(told.join(QLatin1Char('\n')));
    return std::nullopt;
}

QFileDialog *Tosciloscopio::fileDialog(const char *name, bool saving, const QString &caption,
    const QString &filter, const QString &suffix, const QString &fileName)
{
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
        m_folder = QDir::homePath();
    auto *dialog = new QFileDialog(this, caption, m_folder, filter);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Qt's own dialog, so that its labels speak the student's language as the rest of the window does; a
    // file about to be replaced is asked about in that language too.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(suffix);
    if (!fileName.isEmpty())
        dialog->selectFile(fileName);
    dialog->setLabelText(QFileDialog::LookIn, pick(u"Buscar en:", u"Busca en:"));
    dialog->setLabelText(QFileDialog::FileName, pick(u"Nombre del archivo:", u"Nom del fitxer:"));
    dialog->setLabelText(QFileDialog::FileType, pick(u"Tipo:", u"Tipus:"));
    dialog->setLabelText(QFileDialog::Accept, saving ? pick(u"Guardar", u"Guarda") : pick(u"Abrir", u"Obri"));
    dialog->setLabelText(QFileDialog::Reject, pick(u"Cancelar", u"Cancel·la"));
    connect(dialog, &QFileDialog::fileSelected, this,
        [this](const QString &path) { m_folder = QFileInfo(path).absolutePath(); });
    return dialog;
}

void Tosciloscopio::openLabClick()
{
    QFileDialog *dialog = fileDialog("archivoPractica", false, pick(u"Abrir práctica", u"Obri pràctica"),
        pick(u"Prácticas (*.toml)", u"Pràctiques (*.toml)"), QStringLiteral("toml"));
    connect(dialog, &QFileDialog::fileSelected, this, &Tosciloscopio::openLab);
    dialog->open();
}

bool Tosciloscopio::openLab(const QString &path)
{
    std::optional<Lab> lab = readLab(path, language());
    if (!lab)
        return false;
    tarea->setLab(*lab);
    return true;
}

void Tosciloscopio::ownPartClick()
{
    QFileDialog *dialog = fileDialog("archivoComponente", false,
        pick(u"Componente propio para el comprobador", u"Component propi per al comprovador"),
        pick(u"Componentes (*.toml *.cir *.sp *.net)", u"Components (*.toml *.cir *.sp *.net)"),
        QStringLiteral("toml"));
    connect(dialog, &QFileDialog::fileSelected, this, &Tosciloscopio::openTesterPart);
    dialog->open();
}

bool Tosciloscopio::openTesterPart(const QString &path)
{
    const TesterPartReading reading = readTesterPartFile(path);
    if (!reading.part || !reading.errors.isEmpty()) {
        QStringList told { pick(
            u"No se ha podido leer el componente:", u"No s'ha pogut llegir el component:") };
        const QString name = QFileInfo(path).fileName();
        for (const LabError &error : reading.errors)
            told << QStringLiteral("• ") + describeLabError(error, name, language());
        ErrorBox::show(told.join(QLatin1Char('\n')));
        return false;
    }
    // Registered so the simulator can find it, but offered only once ngspice has drawn its figure.
    const QString id = addTesterPart(*reading.part);
    m_ownParts.insert(id);
    banco->warmParts({ id });
    return true;
}

void Tosciloscopio::reportClick()
{
    auto *dialog = new ReportDialog(this, language());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const ReportAuthor author = dialog->author();
        QFileDialog *files
            = fileDialog("archivoInforme", true, pick(u"Guardar el informe", u"Guarda l'informe"),
                pick(u"Documentos PDF (*.pdf)", u"Documents PDF (*.pdf)"), QStringLiteral("pdf"),
                pick(u"informe.pdf", u"informe.pdf"));
        connect(files, &QFileDialog::fileSelected, this,
            [this, author](const QString &path) { writeReport(path, author); });
        files->open();
    });
    dialog->open();
}

bool Tosciloscopio::writeReport(const QString &path, const ReportAuthor &author)
{
    return writeFile(
        path, LabReport::pdf(tarea->lab(), tarea->records(), author, QDate::currentDate(), language()));
}

void Tosciloscopio::saveScreenClick()
{
    QFileDialog *dialog = fileDialog("archivoImagen", true,
        pick(u"Guardar imagen de la pantalla", u"Guarda imatge de la pantalla"),
        pick(u"Imágenes PNG (*.png)", u"Imatges PNG (*.png)"), QStringLiteral("png"),
        pick(u"pantalla.png", u"pantalla.png"));
    connect(dialog, &QFileDialog::fileSelected, this, &Tosciloscopio::saveScreen);
    dialog->open();
}

bool Tosciloscopio::saveScreen(const QString &path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    panel->facePicture().save(&buffer, "PNG");
    return writeFile(path, bytes);
}

bool Tosciloscopio::writeFile(const QString &path, const QByteArray &bytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)) {
        QMessageBox ask(QMessageBox::Question, windowTitle(),
            pick(u"«%1» ya existe. ¿Quieres reemplazarlo?", u"«%1» ja existix. Vols reemplaçar-lo?")
                .arg(shown),
            QMessageBox::NoButton, this);
        QPushButton *replace = ask.addButton(pick(u"Reemplazar", u"Reemplaça"), QMessageBox::AcceptRole);
        ask.setDefaultButton(ask.addButton(pick(u"Cancelar", u"Cancel·la"), QMessageBox::RejectRole));
        ask.exec();
        if (ask.clickedButton() != replace)
            return false;
    }
    // Written whole beside the file, then put in its place: a full disk never leaves half a file.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    file.cancelWriting();
    ErrorBox::show(
        pick(u"No se ha podido guardar «%1»: comprueba que la carpeta existe, que puedes escribir en "
             u"ella y que queda espacio en el disco.",
            u"No s'ha pogut guardar «%1»: comprova que la carpeta existix, que hi pots escriure i que queda "
            u"espai en "
            u"el disc.")
            .arg(shown));
    return false;
}
