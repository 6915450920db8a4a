#include "labcatalogue.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include "scopesettings.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace TaskJudging;
using C = Hm203Control;

// The checks a setting goal is made of, as lab files name them. Each reads its numbers from the file's
// value or from the bench the task wires, so that a teacher's goal is judged as the course's own are.

bool isSecond(const CheckArgs &args)
{
    return args.channel == LabChannel::II;
}

TraceKind traceOf(bool second)
{
    return second ? TraceKind::ChannelII : TraceKind::ChannelI;
}

QString channelNumber(bool second)
{
    return second ? QStringLiteral("II") : QStringLiteral("I");
}

/**
 * "de 4 Vpp" or "d'1 Vpp": Valencian drops the vowel of "de" before a number said with a vowel, as "u",
 * "onze" and "huit" are, and the thousands and millions they start.
 */
QString valencianOf(const QString &number)
{
    const QString whole = number.section(QLatin1Char(' '), 0, 0).section(QLatin1Char(','), 0, 0);
    const bool vowel = whole.startsWith(u'8') || whole == QLatin1String("1") || whole == QLatin1String("11")
        || (whole.size() == 5 && whole.startsWith(QLatin1String("11")))
        || (whole.size() == 7 && whole.startsWith(u'1'));
    return (vowel ? QStringLiteral("d'") : QStringLiteral("de ")) + number;
}

/** A channel's trace drawn on its own sweep, not grounded and on the face; extent is where it lies. */
Problem shownProblem(const Look &look, bool second, std::optional<Extent> &extent)
{
    if (Problem p = second ? channelIIProblem(look) : channelIProblem(look))
        return p;
    extent = extentOf(look.traces, traceOf(second));
    return visibleProblem(look, extent, traceOf(second));
}

Problem channelCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    std::optional<Extent> extent;
    return shownProblem(look, isSecond(args), extent);
}

Problem steadyCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    return steadyProblem(look);
}

Problem steadyChannelCheck(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    std::optional<Extent> extent;
    if (!isSecond(args))
        return steadyChannelIProblem(look, bench.hookup, extent);
    if (Problem p = beamProblem(look))
        return p;
    if (Problem p = hookupProblem(look, bench.hookup))
        return p;
    if (Problem p = shownProblem(look, true, extent))
        return p;
    return steadyProblem(look);
}

Problem graticuleCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, isSecond(args), extent))
        return p;
    return graticuleProblem(*extent, isSecond(args));
}

/** A single number asks for that height within a quarter division; a range for any height between. */
Problem heightCheck(const Look &look, const CheckArgs &args, bool second)
{
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, second, extent))
        return p;
    return heightProblem(*extent, args.low, args.high, second);
}

Problem heightICheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    return heightCheck(look, args, false);
}

Problem heightIICheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    return heightCheck(look, args, true);
}

Problem periodsCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, false, extent))
        return p;
    return periodsProblem(look, *extent, args.low, args.high);
}

/** The middle of the trace's height on the centre line, within what a reading allows. */
Problem centredCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const bool second = isSecond(args);
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, second, extent))
        return p;
    const double middle = (extent->minY + extent->maxY) / 2.0;
    if (std::abs(middle) <= kDivisionTolerance)
        return std::nullopt;
    const QString channel = channelNumber(second);
    const QString position = panelLabel(second ? C::YPositionII : C::YPositionI);
    const QString off = fixedDecimal(std::abs(middle), 1);
    if (middle > 0.0)
        return notMet(text(u"El centro de la traza del canal %1 queda %2 divisiones por encima de la línea "
                           u"central: bájala con %3.")
                          .arg(channel, off, position),
            text(u"El centre de la traça del canal %1 queda %2 divisions per damunt de la línia central: "
                 u"baixa-la amb %3.")
                .arg(channel, off, position));
    return notMet(text(u"El centro de la traza del canal %1 queda %2 divisiones por debajo de la línea "
                       u"central: súbela con %3.")
                      .arg(channel, off, position),
        text(u"El centre de la traça del canal %1 queda %2 divisions per davall de la línia central: puja-la "
             u"amb %3.")
            .arg(channel, off, position));
}

Problem xyCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    return xyFigureProblem(look);
}

/** A control where the goal wants it: where it is and where it should be, as the panel reads them. */
Problem controlCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const Hm203 &scope = look.scope;
    if (scope.value(args.control) == args.position)
        return std::nullopt;
    const QString name = panelLabel(args.control);
    if (controlInfo(args.control).style == ControlStyle::Button) {
        if (args.position != 0)
            return notMet(
                text(u"%1 está suelto: púlsalo.").arg(name), text(u"%1 està solt: polsa'l.").arg(name));
        return notMet(
            text(u"%1 está pulsado: suéltalo.").arg(name), text(u"%1 està polsat: deixa'l anar.").arg(name));
    }
    // Where it should be is said of the switch alone: its fine knob is base_calibrada's business.
    Hm203 calibrated = scope;
    if (const std::optional<Hm203Control> cal = calKnobOf(args.control))
        calibrated.setValue(*cal, controlInfo(*cal).maximum);
    const auto wanted
        = [&](Language language) { return calibrated.readingAt(args.control, args.position, language); };
    return notMet(
        text(u"%1 está en %2: ponlo en %3.")
            .arg(name, scope.valueText(args.control, Language::Castilian), wanted(Language::Castilian)),
        text(u"%1 està en %2: posa'l en %3.")
            .arg(name, scope.valueText(args.control, Language::Valencian), wanted(Language::Valencian)));
}

Problem timeCalibratedCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    return timeCalibratedProblem(look);
}

Problem voltsCalibratedCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    return voltsCalibratedProblem(look, isSecond(args));
}

Problem generatorFrequencyCheck(const Look &look, const LabBench &bench, const CheckArgs &)
{
    return frequencyProblem(look, bench.frequencyHz);
}

/** The goal names the signal: a height must come from the sensitivity, not from a larger signal. */
Problem generatorAmplitudeCheck(const Look &look, const LabBench &bench, const CheckArgs &)
{
    const double wanted = bench.amplitudeIVpp;
    if (std::abs(look.scope.generator().amplitudeIVpp - wanted) <= 1e-9 * std::max(1.0, wanted))
        return std::nullopt;
    const QString signal = volts(wanted, QStringLiteral("Vpp"));
    return notMet(text(u"La tarea se hace con la señal de %1: vuelve a poner esa amplitud en el generador.")
                      .arg(signal),
        text(u"La tasca es fa amb el senyal %1: torna a posar esta amplitud en el generador.")
            .arg(valencianOf(signal)));
}

Problem sineCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    return sineProblem(look);
}

Problem alternateTriggerCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    return alternateTriggerProblem(look);
}

// Vertical position: the lowest points of a trace on the bottom line of the graticule.

Problem bottomLineCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const bool second = isSecond(args);
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, second, extent))
        return p;
    const QString position = panelLabel(second ? C::YPositionII : C::YPositionI);
    if (extent->maxY > ScreenGeometry::halfHeight + kEdgeTolerance)
        return notMet(
            text(u"La traza se sale por arriba de la retícula: bájala con %1 o redúcela con VOLTS/DIV.")
                .arg(position),
            text(u"La traça ix per dalt de la retícula: baixa-la amb %1 o reduïx-la amb VOLTS/DIV.")
                .arg(position));
    const double above = extent->minY + ScreenGeometry::halfHeight;
    if (above > kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por encima de la línea inferior: "
                           u"bájala con %2.")
                          .arg(fixedDecimal(above, 1), position),
            text(u"Els mínims de la traça queden %1 divisions per damunt de la línia inferior: baixa-la amb "
                 u"%2.")
                .arg(fixedDecimal(above, 1), position));
    if (above < -kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por debajo de la línea inferior: "
                           u"súbela con %2.")
                          .arg(fixedDecimal(-above, 1), position),
            text(u"Els mínims de la traça queden %1 divisions per davall de la línia inferior: puja-la amb "
                 u"%2.")
                .arg(fixedDecimal(-above, 1), position));
    return std::nullopt;
}

// Trigger level and slope: the sweep starts on a falling slope, at a level or above it.

/** How far below the asked level a start still counts: LEVEL's knob turns in steps of about this much. */
constexpr double kTriggerTolerance = 0.1;

/** The voltage channel I's trace shows at a moment, measured from its zero line as the screen shows it. */
double shownVolts(const ChannelSettings &channel, double seconds)
{
    return (channelDivisions(channel, seconds) - channel.position) * channel.voltsPerDiv;
}

/** Where channel I's trace starts: going down or not, at what voltage. */
struct SweepStart
{
    bool falling = false;
    double level = 0.0;
};

/** Nothing while no sweep starts on channel I's signal. */
std::optional<SweepStart> sweepStartI(const Look &look)
{
    const ScopeSettings &s = look.settings;
    // Alternating sweeps start channel I's trace on its own trigger.
    std::optional<double> start = look.traces.sweepStartSeconds;
    if (s.mode == DisplayMode::Dual && !s.chopped && s.trigger.alternate)
        start = triggerTimeFrom(s, TriggerSource::ChannelI);
    const double period = s.channelI.signal.periodSeconds();
    if (!start || period <= 0.0)
        return std::nullopt;
    const double dt = period * 1e-3;
    return SweepStart { shownVolts(s.channelI, *start + dt) < shownVolts(s.channelI, *start - dt),
        shownVolts(s.channelI, *start) };
}

Problem fallingStartCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const std::optional<SweepStart> start = sweepStartI(look);
    if (!start)
        return untriggered(look, TriggerSource::ChannelI);
    if (!start->falling)
        return notMet(text(u"El barrido empieza en el flanco de subida: cambia de flanco con %1.")
                          .arg(panelLabel(C::Slope)),
            text(u"L'escombratge comença en el flanc de pujada: canvia de flanc amb %1.")
                .arg(panelLabel(C::Slope)));
    if (start->level < args.value - kTriggerTolerance)
        return notMet(text(u"El barrido empieza a %1 V; la tarea pide %2 o más: sube el nivel con %3.")
                          .arg(fixedDecimal(start->level, 1), volts(args.value), panelLabel(C::Level)),
            text(u"L'escombratge comença a %1 V; la tasca en demana %2 o més: puja el nivell amb %3.")
                .arg(fixedDecimal(start->level, 1), volts(args.value), panelLabel(C::Level)));
    return std::nullopt;
}

std::optional<Wording> fallingStartPraise(const Look &look, const LabBench &, const CheckArgs &)
{
    const std::optional<SweepStart> start = sweepStartI(look);
    if (!start)
        return std::nullopt;
    const QString level = fixedDecimal(start->level, 1);
    return Wording { text(u"¡Conseguido! El barrido empieza bajando, a %1 V.").arg(level),
        text(u"Aconseguit! L'escombratge comença baixant, a %1 V.").arg(level) };
}

// AC coupling: a small signal riding on a large DC level.

/** The DC the bench puts on output I must still be there, at least half of it: AC is to block it. */
Problem generatorOffsetCheck(const Look &look, const LabBench &bench, const CheckArgs &)
{
    if (std::abs(look.scope.generator().offsetIVolts) >= std::abs(bench.offsetIVolts) / 2.0)
        return std::nullopt;
    return notMet(text(u"Has quitado la tensión continua del generador; la tarea es bloquearla con el "
                       u"acoplamiento AC."),
        text(u"Has llevat la tensió contínua del generador; la tasca és bloquejar-la amb l'acoblament AC."));
}

/** The channel shown on its sweep and coupled AC, so that its DC does not move the trace. */
Problem blockedDcCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const bool second = isSecond(args);
    if (Problem p = second ? channelIIProblem(look) : channelIProblem(look))
        return p;
    const ChannelSettings &channel = second ? look.settings.channelII : look.settings.channelI;
    if (channel.coupling != Coupling::DC)
        return std::nullopt;
    const QString name = QStringLiteral("CH ") + channelNumber(second);
    return notMet(
        text(u"Con el acoplamiento DC, la tensión continua desplaza la traza: pasa %1 a AC.").arg(name),
        text(u"Amb l'acoblament DC, la tensió contínua desplaça la traça: passa %1 a AC.").arg(name));
}

// The calibrator: at a calibrated sensitivity its square spans its terminal's voltage over it.

/** The voltage of the calibrator's terminal CH I is wired to; nothing when it is wired to another thing. */
std::optional<double> calibratorVolts(const LabBench &bench)
{
    switch (bench.hookup) {
    case Hookup::Calibrator02:
        return CalTerminals::lowVolts;
    case Hookup::Calibrator2:
        return CalTerminals::highVolts;
    case Hookup::Generator:
    case Hookup::RcCircuit:
    case Hookup::Circuit:
        break;
    }
    return std::nullopt;
}

Problem calibratorCheck(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    const std::optional<double> terminal = calibratorVolts(bench);
    if (!terminal || !(args.value > 0.0))
        return notMet(text(u"Esta comprobación necesita CH I conectado a un borne del calibrador."),
            text(u"Esta comprovació necessita CH I connectat a un born del calibrador."));
    std::optional<Extent> extent;
    if (Problem p = shownProblem(look, false, extent))
        return p;
    // A calibrated instrument shows the calibrator exactly; only the line's width blurs the reading.
    return peakToPeakProblem(*extent, *terminal / args.value, kEdgeTolerance);
}

std::optional<Wording> calibratorPraise(const Look &, const LabBench &bench, const CheckArgs &args)
{
    const std::optional<double> terminal = calibratorVolts(bench);
    if (!terminal || !(args.value > 0.0))
        return std::nullopt;
    const QString calibrator = volts(*terminal);
    const QString perDiv = formatVoltsPerDiv(args.value);
    const QString divisions = formatDecimal(*terminal / args.value);
    return Wording { text(u"¡Conseguido! %1 a %2 son %3 divisiones: la sensibilidad es correcta.")
                         .arg(calibrator, perDiv, divisions),
        text(u"Aconseguit! %1 a %2 són %3 divisions: la sensibilitat és correcta.")
            .arg(calibrator, perDiv, divisions) };
}

// DUAL: both signals at once, one in each half of the screen.

Problem dualCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    if (Problem p = xyProblem(look))
        return p;
    if (look.settings.mode != DisplayMode::Dual)
        return notMet(text(u"Pulsa %1 para ver los dos canales a la vez.").arg(panelLabel(C::Dual)),
            text(u"Polsa %1 per a veure els dos canals alhora.").arg(panelLabel(C::Dual)));
    if (Problem p = alternateTriggerProblem(look))
        return p;
    if (Problem p = visibleProblem(look, extentOf(look.traces, TraceKind::ChannelI)))
        return p;
    return visibleProblem(look, extentOf(look.traces, TraceKind::ChannelII), TraceKind::ChannelII);
}

/** One channel's trace must lie whole in its half of the screen and span at least minimum divisions. */
Problem halfProblem(const Extent &extent, bool second, double minimum)
{
    // The half's edges: the centre line and the top or bottom line of the graticule.
    const double top = second ? 0.0 : ScreenGeometry::halfHeight;
    const double bottom = second ? -ScreenGeometry::halfHeight : 0.0;
    const bool tooHigh = extent.maxY > top + kEdgeTolerance;
    const bool tooLow = extent.minY < bottom - kEdgeTolerance;
    if (tooHigh || tooLow) {
        // Taller than the half: only the sensitivity helps. Else it moves the way it sticks out.
        const bool tooTall = extent.height() > top - bottom + 2 * kEdgeTolerance;
        const QString position = panelLabel(second ? C::YPositionII : C::YPositionI);
        const QString sensitivity = panelLabel(second ? C::VoltsDivII : C::VoltsDivI);
        const QString es = second ? text(u"La traza del canal II debe quedar entera en la mitad inferior: ")
                                  : text(u"La traza del canal I debe quedar entera en la mitad superior: ");
        const QString va = second
            ? text(u"La traça del canal II ha de quedar sencera en la meitat inferior: ")
            : text(u"La traça del canal I ha de quedar sencera en la meitat superior: ");
        if (tooTall)
            return notMet(es + text(u"redúcela con %1.").arg(sensitivity),
                va + text(u"reduïx-la amb %1.").arg(sensitivity));
        if (tooHigh)
            return notMet(es + text(u"bájala con %1 o redúcela con %2.").arg(position, sensitivity),
                va + text(u"baixa-la amb %1 o reduïx-la amb %2.").arg(position, sensitivity));
        return notMet(es + text(u"súbela con %1 o redúcela con %2.").arg(position, sensitivity),
            va + text(u"puja-la amb %1 o reduïx-la amb %2.").arg(position, sensitivity));
    }
    if (extent.height() < minimum - kEdgeTolerance) {
        const QString channel = channelNumber(second);
        return notMet(
            text(u"La traza del canal %1 mide %2 divisiones de pico a pico; la tarea pide al menos %3.")
                .arg(channel, fixedDecimal(extent.height(), 1), formatDecimal(minimum)),
            text(u"La traça del canal %1 fa %2 divisions de pic a pic; la tasca en demana almenys %3.")
                .arg(channel, fixedDecimal(extent.height(), 1), formatDecimal(minimum)));
    }
    return std::nullopt;
}

Problem halvesCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const std::optional<Extent> first = extentOf(look.traces, TraceKind::ChannelI);
    const std::optional<Extent> second = extentOf(look.traces, TraceKind::ChannelII);
    if (Problem p = visibleProblem(look, first))
        return p;
    if (Problem p = visibleProblem(look, second, TraceKind::ChannelII))
        return p;
    if (Problem p = halfProblem(*first, false, args.value))
        return p;
    return halfProblem(*second, true, args.value);
}

// ADD and INV: channel I minus channel II as one trace.

Problem differenceCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    const ScopeSettings &s = look.settings;
    if (Problem p = xyProblem(look))
        return p;
    // With DUAL pressed too, ADD makes the beam chop between the channels instead of adding them.
    if (look.scope.isPressed(C::Dual) && look.scope.isPressed(C::Add))
        return notMet(text(u"Con %1 y %2 pulsados, los canales se dibujan a trozos: suelta %1 para sumarlos.")
                          .arg(panelLabel(C::Dual), panelLabel(C::Add)),
            text(u"Amb %1 i %2 polsats, els canals es dibuixen a trossos: deixa anar %1 per a sumar-los.")
                .arg(panelLabel(C::Dual), panelLabel(C::Add)));
    if (s.mode != DisplayMode::Add)
        return notMet(
            text(u"Pulsa %1 para ver los dos canales sumados en una sola traza.").arg(panelLabel(C::Add)),
            text(u"Polsa %1 per a veure els dos canals sumats en una sola traça.").arg(panelLabel(C::Add)));
    if (Problem p = groundProblem(s.channelI, false))
        return p;
    if (Problem p = groundProblem(s.channelII, true))
        return p;
    if (s.channelI.inverted && s.channelII.inverted)
        return notMet(
            text(u"Has invertido los dos canales: la traza es −(CH I + CH II). Deja invertido solo CH II."),
            text(u"Has invertit els dos canals: la traça és −(CH I + CH II). Deixa invertit només CH II."));
    if (s.channelI.inverted)
        return notMet(text(u"Has invertido CH I: la traza es CH II − CH I. Invierte CH II en lugar de CH I."),
            text(u"Has invertit CH I: la traça és CH II − CH I. Invertix CH II en lloc de CH I."));
    if (!s.channelII.inverted)
        return notMet(
            text(u"La traza es la suma CH I + CH II: invierte CH II con %1.").arg(panelLabel(C::InvertII)),
            text(u"La traça és la suma CH I + CH II: invertix CH II amb %1.").arg(panelLabel(C::InvertII)));
    const double ratio = s.channelI.voltsPerDiv / s.channelII.voltsPerDiv;
    if (!(std::abs(ratio - 1.0) <= 1e-6))
        return notMet(
            text(u"Los dos canales tienen sensibilidades distintas: pon el mismo VOLTS/DIV y los dos "
                 u"mandos CAL en su tope."),
            text(u"Els dos canals tenen sensibilitats distintes: posa el mateix VOLTS/DIV i els dos "
                 u"comandaments CAL en el topall."));
    return visibleProblem(look, extentOf(look.traces, TraceKind::Sum));
}

/** The one trace ADD draws between the graticule's top and bottom lines. */
Problem sumGraticuleCheck(const Look &look, const LabBench &, const CheckArgs &)
{
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::Sum);
    if (Problem p = visibleProblem(look, extent))
        return p;
    return graticuleProblem(*extent);
}

/** The checks of this family, in the order docs/labs.md lists them: those any goal may use, then those the
 * course's own setting goals are made of. */
constexpr LabCheck kSettingChecks[] {
    { "canal", CheckValue::Channel, channelCheck },
    { "estable", CheckValue::Yes, steadyCheck },
    { "canal_estable", CheckValue::Channel, steadyChannelCheck },
    { "en_reticula", CheckValue::Channel, graticuleCheck },
    { "altura_1", CheckValue::Range, heightICheck },
    { "altura_2", CheckValue::Range, heightIICheck },
    { "periodos", CheckValue::Range, periodsCheck },
    { "centrada", CheckValue::Channel, centredCheck },
    { "xy", CheckValue::Yes, xyCheck },
    { "mando", CheckValue::Position, controlCheck },
    { "base_calibrada", CheckValue::Yes, timeCalibratedCheck },
    { "sensibilidad_calibrada", CheckValue::Channel, voltsCalibratedCheck },
    { "frecuencia_generador", CheckValue::Yes, generatorFrequencyCheck },
    { "amplitud_generador", CheckValue::Yes, generatorAmplitudeCheck },
    { "senoidal", CheckValue::Yes, sineCheck },
    { "disparo_alternado", CheckValue::Yes, alternateTriggerCheck },
    { "linea_inferior", CheckValue::Channel, bottomLineCheck },
    { "comienzo_en_bajada", CheckValue::Volts, fallingStartCheck, fallingStartPraise },
    { "continua_generador", CheckValue::Yes, generatorOffsetCheck },
    { "continua_bloqueada", CheckValue::Channel, blockedDcCheck },
    { "sensibilidad_calibrador", CheckValue::Volts, calibratorCheck, calibratorPraise },
    { "dos_canales", CheckValue::Yes, dualCheck },
    { "mitades", CheckValue::Number, halvesCheck },
    { "diferencia", CheckValue::Yes, differenceCheck },
    { "suma_en_reticula", CheckValue::Yes, sumGraticuleCheck },
};

} // namespace

std::span<const LabCheck> settingChecks()
{
    return kSettingChecks;
}
