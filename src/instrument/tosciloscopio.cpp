#include "tosciloscopio.h"

#include "benchbox.h"
#include "benchnews.h"
#include "embeddedpictures.h"
#include "generatorpanel.h"
#include "livepanel.h"
#include "screennote.h"
#include "taskstrip.h"

#include <QLabel>

namespace {

/** The panel drawn 1.75 times the size of the front-panel photograph. */
constexpr double kPanelScale = 1.75;
constexpr int kMargin = 8;
/** The generator and the task strip: room in the strip for a question with its choices and verdict. */
constexpr int kLowerHeight = 232;
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

    connect(generador, &GeneratorPanel::settingsChanged, panel, &LivePanel::setGenerator);
    connect(tarea, &TaskStrip::prepareGenerator, this,
        [this](const GeneratorSettings &settings, HiddenReading hidden) {
            generador->setHidden(HiddenReading::None);
            generador->setSettings(settings);
            generador->setHidden(hidden);
            panel->setGenerator(settings);
        });
    connect(panel, &LivePanel::instrumentChanged, this, [this] {
        showReadout();
        tarea->judge(panel->scope(), panel->moment());
    });
    connect(tarea, &TaskStrip::needsJudging, this, [this] { tarea->judge(panel->scope(), panel->moment()); });
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
