#include "generatorpanel.h"

#include "language.h"
#include "spokentext.h"

#include "circuitschematic.h"
#include "componenttester.h"
#include "radiogroup.h"
#include "spokenwords.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace {

/** What output II's frequency box shows at 0, where output II follows output I. */
QString sameAsI(Language language)
{
    return Wording::of(u"igual que I", u"igual que I").in(language);
}

/**
 * A generator value that screen readers hear with its unit in words. Orca reads a spin box by the text
 * its Text interface gives, on focus and on every change of its value, and Qt's own interface gives the
 * box's text as shown: "1000 Hz", "-1,00 V". A voice says "Hz" as letters and drops the hyphen, so the
 * text a screen reader gets is the spoken form, "1000 hercios", "menos 1,00 voltios", while the box
 * shows what it always did.
 */
class SpokenSpinBox : public QDoubleSpinBox
{
public:
    SpokenSpinBox(QWidget *parent, SpokenUnit unit, Language language)
        : QDoubleSpinBox(parent)
        , m_unit(unit)
        , m_language(language)
    {
    }

    /** The value as a voice says it, the number as the box writes it. */
    QString spokenText() const
    {
        // A hidden reading shows only its special text, "?".
        if (!specialValueText().isEmpty() && value() == minimum())
            return specialValueText();
        return spokenQuantity(cleanText(), m_unit, m_language);
    }

    /** Where the caret of the shown text falls in the spoken one: in the same digit of the number. */
    int spokenOffset(int shownOffset) const
    {
        const QString clean = cleanText();
        const QString digits = clean.startsWith(u'-') ? clean.mid(1) : clean;
        const QString shown = text();
        const qsizetype shownStart = shown.indexOf(digits);
        const qsizetype spokenStart = spokenText().indexOf(digits);
        if (shownStart < 0 || spokenStart < 0)
            return 0;
        return int(spokenStart + std::clamp<qsizetype>(shownOffset - shownStart, 0, digits.size()));
    }

    int shownCursor() const { return lineEdit()->cursorPosition(); }
    Language language() const { return m_language; }

private:
    SpokenUnit m_unit;
    Language m_language;
};

/** The spoken box to screen readers: a spin button whose value is the box's and whose text is the spoken
 * form, read-only to them (the student types into the box itself). */
class SpokenSpinBoxAccessible : public QAccessibleWidget, public QAccessibleValueInterface, public SpokenText
{
public:
    explicit SpokenSpinBoxAccessible(SpokenSpinBox *box)
        : QAccessibleWidget(box, QAccessible::SpinBox)
    {
    }

    SpokenSpinBox *box() const { return static_cast<SpokenSpinBox *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<SpokenText *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->spokenText();
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return box()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        if (box()->isEnabled())
            box()->setValue(value.toDouble());
    }
    QVariant maximumValue() const override { return box()->maximum(); }
    QVariant minimumValue() const override { return box()->minimum(); }
    QVariant minimumStepSize() const override { return box()->singleStep(); }

    QString spoken() const override { return box()->spokenText(); }
    QString spokenLanguage() const override { return languageTag(box()->language()); }
    // The caret the student moves in the box, in the same digit of the spoken text.
    int cursorPosition() const override { return box()->spokenOffset(box()->shownCursor()); }
};

QAccessibleInterface *spokenSpinBoxAccessible(const QString &, QObject *object)
{
    if (auto *box = dynamic_cast<SpokenSpinBox *>(object))
        return new SpokenSpinBoxAccessible(box);
    return nullptr;
}

/** The hookups before the bench's circuits in the list, in Hookup's order. */
constexpr int kFixedHookups = int(Hookup::Circuit);

/** Where a part's id is kept in the tester's list; the last entry, which asks for a file, has none. */
constexpr int kPartIdRole = Qt::UserRole;

/** A list the student picks from, named for screen readers by its label, which stands above it or, with
 * beside, on its left. */
QComboBox *choiceBox(QWidget *parent, QGridLayout *grid, const char *name, const QString &caption, int row,
    int column, bool beside)
{
    auto *label = new QLabel(caption, parent);
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    label->setBuddy(box);
    box->setAccessibleName(caption);
    // Long circuit names are cut in the box, shown whole in the open list.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(10);
    if (beside) {
        auto *line = new QHBoxLayout;
        line->addWidget(label);
        line->addWidget(box, 1);
        grid->addLayout(line, row, column);
    } else {
        grid->addWidget(label, row, column);
        grid->addWidget(box, row + 1, column);
    }
    return box;
}

} // namespace

GeneratorPanel::GeneratorPanel(QWidget *parent, Language language)
    : QWidget(parent)
    , m_language(language)
{
    setObjectName(QStringLiteral("generator"));
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(spokenSpinBoxAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // Numbers read with a decimal comma in both languages.
    const QLocale locale(inLanguage(language, QLocale::Spanish, QLocale::Catalan), QLocale::Spain);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);

    auto *title
        = new QLabel(Wording::of(u"Generador de funciones", u"Generador de funcions").in(language), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 4);

    m_waveform
        = new RadioGroup(this, { 0, 0, 120, 76 }, Wording::of(u"Forma de onda", u"Forma d'ona").in(language),
            { Wording::of(u"Senoidal", u"Sinusoïdal").in(language),
                Wording::of(u"Cuadrada", u"Quadrada").in(language), QStringLiteral("Triangular") });
    m_waveform->setObjectName(QStringLiteral("waveform"));
    grid->addWidget(m_waveform, 1, 0, 3, 1);
    m_tester = choiceBox(this, grid, "testerLoad",
        Wording::of(u"En el comprobador", u"En el comprovador").in(language), 4, 0, false);
    m_tester->addItem(Wording::of(u"Nada", u"Res").in(language), QString());
    for (const TesterPart &part : testerParts()) {
        m_tester->addItem(part.name.in(language), part.id);
        m_tester->setItemData(m_tester->count() - 1, part.description.in(language), Qt::ToolTipRole);
    }
    m_tester->addItem(Wording::of(u"Componente propio…", u"Component propi…").in(language));

    auto spin = [&](const char *name, const char16_t *es, const char16_t *va, double low, double high,
                    double step, int decimals, const QString &suffix, SpokenUnit unit, int row) {
        auto *box = new SpokenSpinBox(this, unit, language);
        box->setObjectName(QLatin1String(name));
        box->setLocale(locale);
        box->setRange(low, high);
        box->setDecimals(decimals);
        box->setSingleStep(step);
        box->setSuffix(suffix);
        box->setKeyboardTracking(false);
        box->setAccelerated(true);
        box->setMinimumWidth(104);
        auto *label = new QLabel(Wording::of(es, va).in(language), this);
        label->setBuddy(box);
        box->setAccessibleName(label->text());
        grid->addWidget(label, row, 1);
        grid->addWidget(box, row, 2);
        return box;
    };
    using namespace GeneratorLimits;
    m_frequency = spin("frequency", u"Frecuencia", u"Freqüència", minimumHz, maximumHz, 1, 0,
        QStringLiteral(" Hz"), SpokenUnit::Hertz, 1);
    // Each step of the arrows is about a tenth of the value, so 1 Hz to 50 MHz is a few turns.
    m_frequency->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    m_amplitudeI = spin("amplitudeI", u"Amplitud I", u"Amplitud I", 0, maximumVpp, 0.1, 2,
        QStringLiteral(" Vpp"), SpokenUnit::VoltPeakToPeak, 2);
    m_offsetI = spin("offsetI", u"Continua I", u"Contínua I", -maximumOffset, maximumOffset, 0.1, 2,
        QStringLiteral(" V"), SpokenUnit::Volt, 3);
    // Output II runs at output I's frequency until it is given its own; its lowest step says so.
    m_frequencyII = spin("frequencyII", u"Frecuencia II", u"Freqüència II", 0, maximumHz, 1, 0,
        QStringLiteral(" Hz"), SpokenUnit::Hertz, 4);
    m_frequencyII->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    m_frequencyII->setSpecialValueText(sameAsI(language));
    m_amplitudeII = spin("amplitudeII", u"Amplitud II", u"Amplitud II", 0, maximumVpp, 0.1, 2,
        QStringLiteral(" Vpp"), SpokenUnit::VoltPeakToPeak, 5);
    m_offsetII = spin("offsetII", u"Continua II", u"Contínua II", -maximumOffset, maximumOffset, 0.1, 2,
        QStringLiteral(" V"), SpokenUnit::Volt, 6);
    m_phaseII = spin("phaseII", u"Fase de II", u"Fase de II", -maximumPhase, maximumPhase, 5, 0,
        QStringLiteral("°"), SpokenUnit::Degree, 7);

    // What rides on both outputs: noise, the 50 Hz hum the leads pick up, and bursts.
    m_noise = spin("noise", u"Ruido", u"Soroll", 0, maximumNoise, 0.01, 2, QStringLiteral(" V ef."),
        SpokenUnit::VoltRms, 8);
    m_hum = spin("hum", u"Zumbido 50 Hz", u"Brunzit 50 Hz", 0, maximumHum, 0.05, 2, QStringLiteral(" V"),
        SpokenUnit::Volt, 9);
    m_burst = new QCheckBox(Wording::of(u"Ráfagas: %1 ciclos de cada %2", u"Ràfegues: %1 cicles de cada %2")
                                .in(language)
                                .arg(burstCycles)
                                .arg(burstPeriodCycles),
        this);
    m_burst->setObjectName(QStringLiteral("burst"));
    grid->addWidget(m_burst, 10, 1, 1, 2);

    m_hookup
        = choiceBox(this, grid, "hookup", Wording::of(u"Conexión", u"Connexió").in(language), 1, 3, true);
    m_hookup->addItems({ Wording::of(u"Salidas I y II a CH I y CH II", u"Eixides I i II a CH I i CH II")
                             .in(language),
        Wording::of(u"Circuito RC: Ue a CH I, Ur a CH II", u"Circuit RC: Ue a CH I, Ur a CH II").in(language),
        QStringLiteral("CAL 0,2 V a CH I"), QStringLiteral("CAL 2 V a CH I") });
    for (const Circuit &circuit : benchCircuits()) {
        m_hookup->addItem(circuit.name.in(language));
        m_hookup->setItemData(m_hookup->count() - 1, circuit.description.in(language), Qt::ToolTipRole);
    }
    m_schematic = new CircuitSchematic(this, language);
    m_schematic->setObjectName(QStringLiteral("schematic"));
    grid->addWidget(m_schematic, 2, 3, 5, 1);
    // EXT. triggers from the TRIG. INP. socket, which carries only what a lead brings to it.
    m_triggerInput = new QCheckBox(
        Wording::of(u"Salida I también a TRIG. INP.", u"Eixida I també a TRIG. INP.").in(language), this);
    m_triggerInput->setObjectName(QStringLiteral("triggerInput"));
    grid->addWidget(m_triggerInput, 11, 1, 1, 2);

    // Beside the hookup, the probe on each channel; a ×10 probe's trimmer is turned at its head.
    auto *probes = new QGridLayout;
    probes->setHorizontalSpacing(6);
    probes->setVerticalSpacing(2);
    const auto probeGroup = [&](const char *name, const char16_t *es, const char16_t *va) {
        auto *group = new RadioGroup(this, { 0, 0, 100, 48 }, Wording::of(es, va).in(language),
            { QStringLiteral("Sonda ×1"), QStringLiteral("Sonda ×10") });
        group->setObjectName(QLatin1String(name));
        group->setMinimumHeight(50);
        return group;
    };
    m_probeI = probeGroup("probeI", u"Sonda en CH I", u"Sonda en CH I");
    m_probeII = probeGroup("probeII", u"Sonda en CH II", u"Sonda en CH II");
    // The group above a trimmer names its channel; a screen reader hears the whole name.
    const auto trimmer = [&](const char *name, const QString &channel) {
        // The name says what it is; the number alone follows.
        auto *box = new SpokenSpinBox(this, SpokenUnit::None, language);
        box->setObjectName(QLatin1String(name));
        box->setLocale(locale);
        box->setRange(Probes::minimumCompensation, Probes::maximumCompensation);
        box->setDecimals(2);
        box->setSingleStep(0.05);
        // Short, to fit beside its twin; the name a screen reader hears and the tip say it whole.
        box->setPrefix(QStringLiteral("Comp. "));
        box->setKeyboardTracking(false);
        const QString heard
            = Wording::of(u"Compensación de la sonda ", u"Compensació de la sonda ").in(language) + channel;
        box->setAccessibleName(heard);
        box->setToolTip(Wording::of(u"%1: 1 es la sonda bien compensada", u"%1: 1 és la sonda ben compensada")
                            .in(language)
                            .arg(heard));
        return box;
    };
    m_compensationI = trimmer("compensationI", QStringLiteral("I"));
    m_compensationII = trimmer("compensationII", QStringLiteral("II"));
    probes->addWidget(m_probeI, 0, 0);
    probes->addWidget(m_probeII, 0, 1);
    probes->addWidget(m_compensationI, 1, 0);
    probes->addWidget(m_compensationII, 1, 1);
    grid->addLayout(probes, 7, 3, 5, 1);
    grid->setRowStretch(12, 1);
    grid->setColumnStretch(3, 1);

    setSettings(m_settings);
    for (QDoubleSpinBox *box : { m_frequency, m_amplitudeI, m_offsetI, m_frequencyII, m_amplitudeII,
             m_offsetII, m_phaseII, m_compensationI, m_compensationII, m_noise, m_hum })
        connect(box, &QDoubleSpinBox::valueChanged, this, &GeneratorPanel::read);
    for (RadioGroup *group : { m_waveform, m_probeI, m_probeII })
        connect(group, &RadioGroup::clicked, this, &GeneratorPanel::read);
    connect(m_hookup, &QComboBox::activated, this, &GeneratorPanel::read);
    connect(m_tester, &QComboBox::activated, this, &GeneratorPanel::testerChosen);
    for (QCheckBox *box : { m_burst, m_triggerInput })
        connect(box, &QCheckBox::toggled, this, &GeneratorPanel::read);
}

void GeneratorPanel::followChoices(const GeneratorSettings &settings)
{
    const bool showing = m_showing;
    m_showing = true;
    for (QDoubleSpinBox *box : { m_frequency, m_frequencyII })
        if (box->isEnabled())
            box->setMaximum(GeneratorLimits::maximumHzOf(settings.waveform));
    m_compensationI->setEnabled(settings.probeI == Probe::Times10);
    m_compensationII->setEnabled(settings.probeII == Probe::Times10);
    m_showing = showing;
}

void GeneratorPanel::setSettings(const GeneratorSettings &settings)
{
    m_showing = true;
    m_settings = settings;
    m_waveform->setItemIndex(int(settings.waveform));
    showWiring(settings);
    m_probeI->setItemIndex(int(settings.probeI));
    m_probeII->setItemIndex(int(settings.probeII));
    m_compensationI->setValue(settings.compensationI);
    m_compensationII->setValue(settings.compensationII);
    followChoices(settings);
    m_frequency->setValue(settings.frequencyHz);
    m_frequencyII->setValue(settings.frequencyIIHz);
    m_amplitudeI->setValue(settings.amplitudeIVpp);
    m_offsetI->setValue(settings.offsetIVolts);
    m_amplitudeII->setValue(settings.amplitudeIIVpp);
    m_offsetII->setValue(settings.offsetIIVolts);
    m_phaseII->setValue(settings.phaseIIDegrees);
    m_noise->setValue(settings.noiseVolts);
    m_hum->setValue(settings.humVolts);
    m_burst->setChecked(settings.burst);
    m_triggerInput->setChecked(settings.outputIToTriggerInput);
    m_showing = false;
}

void GeneratorPanel::read()
{
    if (m_showing)
        return;
    GeneratorSettings s = m_settings;
    s.waveform = Waveform(std::max(0, m_waveform->itemIndex()));
    const int hookup = std::max(0, m_hookup->currentIndex());
    s.hookup = Hookup(std::min(hookup, kFixedHookups));
    s.circuit = hookup >= kFixedHookups ? benchCircuits().value(hookup - kFixedHookups).id : QString();
    s.testerPart = m_tester->currentData(kPartIdRole).toString();
    s.probeI = Probe(std::max(0, m_probeI->itemIndex()));
    s.probeII = Probe(std::max(0, m_probeII->itemIndex()));
    s.compensationI = m_compensationI->value();
    s.compensationII = m_compensationII->value();
    // A square or a triangle goes less high than a sine: the box keeps to what the waveform allows.
    followChoices(s);
    s.frequencyHz = m_frequency->value();
    s.frequencyIIHz = m_frequencyII->value();
    s.amplitudeIVpp = m_amplitudeI->value();
    s.offsetIVolts = m_offsetI->value();
    s.amplitudeIIVpp = m_amplitudeII->value();
    s.offsetIIVolts = m_offsetII->value();
    s.phaseIIDegrees = m_phaseII->value();
    s.noiseVolts = m_noise->value();
    s.humVolts = m_hum->value();
    s.burst = m_burst->isChecked();
    s.outputIToTriggerInput = m_triggerInput->isChecked();
    m_settings = s;
    showWiring(s);
    Q_EMIT settingsChanged(s);
}

void GeneratorPanel::showWiring(const GeneratorSettings &settings)
{
    int hookup = int(settings.hookup);
    if (settings.hookup == Hookup::Circuit) {
        const QList<Circuit> &circuits = benchCircuits();
        const auto found = std::find_if(circuits.begin(), circuits.end(),
            [&](const Circuit &circuit) { return circuit.id == settings.circuit; });
        hookup = found == circuits.end() ? 0 : kFixedHookups + int(found - circuits.begin());
    }
    m_hookup->setCurrentIndex(hookup);
    // The box's tip: the chosen circuit's description. What screen readers add to the box's label: the
    // choice itself and that description, since Orca reads a closed list's label and role but not its
    // choice.
    const auto describe = [](QComboBox *box) {
        const QString tip = box->currentData(Qt::ToolTipRole).toString();
        const QString heard
            = tip.isEmpty() ? box->currentText() : box->currentText() + QStringLiteral(". ") + tip;
        box->setToolTip(tip);
        if (heard == box->accessibleDescription())
            return;
        box->setAccessibleDescription(heard);
        // A choice moved by the arrows on a closed list: its new name is what a screen reader says.
        if (box->hasFocus()) {
            QAccessibleEvent changed(box, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    };
    describe(m_hookup);
    m_tester->setCurrentIndex(std::max(0, m_tester->findData(settings.testerPart, kPartIdRole)));
    describe(m_tester);
    m_schematic->showWiring(settings);
}

void GeneratorPanel::testerChosen(int index)
{
    // The last entry is not a part: it asks for a file, and the socket keeps its part meanwhile.
    if (index == m_tester->count() - 1) {
        showWiring(m_settings);
        Q_EMIT ownPartAsked();
        return;
    }
    read();
}

void GeneratorPanel::addOwnPart(const QString &id)
{
    const TesterPart *part = testerPart(id);
    if (!part)
        return;
    const int at = m_tester->count() - 1;
    m_tester->insertItem(at, part->name.in(m_language), id);
    m_tester->setItemData(at, part->description.in(m_language), Qt::ToolTipRole);
    m_tester->setCurrentIndex(at);
    read();
}

void GeneratorPanel::setHidden(HiddenReading hidden)
{
    m_hidden = hidden;
    // Each box with the reading it shows and its lowest value, with what that lowest value says.
    struct Hideable
    {
        QDoubleSpinBox *box;
        HiddenReading reading;
        double minimum;
        QString lowest = QString();
    };
    using namespace GeneratorLimits;
    const Hideable boxes[] = { { m_frequency, HiddenReading::FrequencyI, minimumHz },
        { m_offsetI, HiddenReading::OffsetI, -maximumOffset },
        { m_phaseII, HiddenReading::PhaseII, -maximumPhase },
        { m_amplitudeI, HiddenReading::AmplitudeI, 0.0 }, { m_amplitudeII, HiddenReading::AmplitudeII, 0.0 },
        { m_offsetII, HiddenReading::OffsetII, -maximumOffset },
        { m_frequencyII, HiddenReading::FrequencyII, 0.0, sameAsI(m_language) } };
    for (const Hideable &entry : boxes) {
        QDoubleSpinBox *box = entry.box;
        const bool hide = entry.reading == hidden;
        // The box stays where it is, locked and showing only a question mark.
        box->setEnabled(!hide);
        if (hide) {
            box->setSpecialValueText(QStringLiteral("?"));
            m_showing = true;
            const double keep = box->value();
            box->setMinimum(keep);
            box->setValue(keep);
            m_showing = false;
        } else {
            // The minimum first: its own words apply to the value once it stands at the lowest step, and a
            // box left at the value it hid must show that value.
            box->setMinimum(entry.minimum);
            box->setSpecialValueText(entry.lowest);
        }
    }
}
