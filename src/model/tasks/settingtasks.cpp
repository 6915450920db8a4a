#include "taskfamilies.h"
#include "taskjudging.h"

#include "scopesettings.h"

#include <cmath>

namespace {

using namespace TaskJudging;
using C = Hm203Control;

// Time base: five periods of 500 Hz fill the ten divisions at 1 ms/div.

constexpr double kTimeBaseHz = 500.0;
constexpr int kTimeBasePeriods = 5;

void prepareTimeBase(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = kTimeBaseHz;
    generator.amplitudeIVpp = 4.0;
}

TaskVerdict judgeTimeBase(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Generator, extent))
        return *p;
    if (Problem p = frequencyProblem(look, kTimeBaseHz))
        return *p;
    // Five whole periods must be seen whole, and counted against a calibrated time base.
    if (Problem p = graticuleProblem(*extent))
        return *p;
    if (Problem p = timeCalibratedProblem(look))
        return *p;
    if (Problem p = periodsProblem(look, *extent, kTimeBasePeriods))
        return *p;
    return wellDone();
}

// Time base and sensitivity together: the 10 Vpp signal overdrives the screen at 1 V/div.

constexpr double kTwoPeriodsHz = 1000.0;
constexpr double kTwoPeriodsDivisions = 5.0;

void prepareTwoPeriods(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = kTwoPeriodsHz;
    generator.amplitudeIVpp = 10.0;
}

TaskVerdict judgeTwoPeriods(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Generator, extent))
        return *p;
    if (Problem p = frequencyProblem(look, kTwoPeriodsHz))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    if (Problem p = peakToPeakProblem(*extent, kTwoPeriodsDivisions))
        return *p;
    if (Problem p = timeCalibratedProblem(look))
        return *p;
    if (Problem p = periodsProblem(look, *extent, 2))
        return *p;
    return wellDone();
}

// Vertical position: the lowest points of the trace on the bottom line of the graticule.

void prepareBottomLine(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
}

TaskVerdict judgeBottomLine(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = channelIProblem(look))
        return *p;
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (extent->maxY > ScreenGeometry::halfHeight + kEdgeTolerance)
        return notMet(
            text(u"La traza se sale por arriba de la retícula: bájala con %1 o redúcela con VOLTS/DIV.")
                .arg(panelLabel(C::YPositionI)),
            text(u"La traça ix per dalt de la retícula: baixa-la amb %1 o reduïx-la amb VOLTS/DIV.")
                .arg(panelLabel(C::YPositionI)));
    const double above = extent->minY + ScreenGeometry::halfHeight;
    if (above > kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por encima de la línea inferior: "
                           u"bájala con %2.")
                          .arg(fixedDecimal(above, 1), panelLabel(C::YPositionI)),
            text(u"Els mínims de la traça queden %1 divisions per damunt de la línia inferior: baixa-la amb "
                 u"%2.")
                .arg(fixedDecimal(above, 1), panelLabel(C::YPositionI)));
    if (above < -kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por debajo de la línea inferior: "
                           u"súbela con %2.")
                          .arg(fixedDecimal(-above, 1), panelLabel(C::YPositionI)),
            text(u"Els mínims de la traça queden %1 divisions per davall de la línia inferior: puja-la amb "
                 u"%2.")
                .arg(fixedDecimal(-above, 1), panelLabel(C::YPositionI)));
    return wellDone();
}

// Trigger level and slope: the sweep starts on a falling slope, 1 V or more above zero.

constexpr double kTriggerVolts = 1.0;
constexpr double kTriggerTolerance = 0.1;

void prepareFallingStart(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 6.0;
}

namespace {

/** The voltage channel I's trace shows at a moment, measured from its zero line as the screen shows it. */
double shownVolts(const ChannelSettings &channel, double seconds)
{
    return (channelDivisions(channel, seconds) - channel.position) * channel.voltsPerDiv;
}

} // namespace

TaskVerdict judgeFallingStart(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Generator, extent))
        return *p;
    const ScopeSettings &s = look.settings;
    // Alternating sweeps start channel I's trace on its own trigger.
    std::optional<double> start = look.traces.sweepStartSeconds;
    if (s.mode == DisplayMode::Dual && !s.chopped && s.trigger.alternate)
        start = triggerTimeFrom(s, TriggerSource::ChannelI);
    const double period = s.channelI.signal.periodSeconds();
    if (!start || period <= 0.0)
        return untriggered(look, TriggerSource::ChannelI);
    const double dt = period * 1e-3;
    const double level = shownVolts(s.channelI, *start);
    if (shownVolts(s.channelI, *start + dt) >= shownVolts(s.channelI, *start - dt))
        return notMet(text(u"El barrido empieza en el flanco de subida: cambia de flanco con %1.")
                          .arg(panelLabel(C::Slope)),
            text(u"L'escombratge comença en el flanc de pujada: canvia de flanc amb %1.")
                .arg(panelLabel(C::Slope)));
    if (level < kTriggerVolts - kTriggerTolerance)
        return notMet(text(u"El barrido empieza a %1 V; la tarea pide %2 o más: sube el nivel con %3.")
                          .arg(fixedDecimal(level, 1), volts(kTriggerVolts), panelLabel(C::Level)),
            text(u"L'escombratge comença a %1 V; la tasca en demana %2 o més: puja el nivell amb %3.")
                .arg(fixedDecimal(level, 1), volts(kTriggerVolts), panelLabel(C::Level)));
    return met(text(u"¡Conseguido! El barrido empieza bajando, a %1 V.").arg(fixedDecimal(level, 1)),
        text(u"Aconseguit! L'escombratge comença baixant, a %1 V.").arg(fixedDecimal(level, 1)));
}

// AC coupling: a small signal riding on a large DC level.

constexpr double kRidingVpp = 1.0;
constexpr double kRidingOffset = 4.0;
constexpr double kRidingDivisions = 5.0;

void prepareAcCoupling(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kRidingVpp;
    generator.offsetIVolts = kRidingOffset;
}

TaskVerdict judgeAcCoupling(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (std::abs(scope.generator().offsetIVolts) < kRidingOffset / 2.0)
        return notMet(text(u"Has quitado la tensión continua del generador; la tarea es bloquearla con el "
                           u"acoplamiento AC."),
            text(u"Has llevat la tensió contínua del generador; la tasca és bloquejar-la amb l'acoblament "
                 u"AC."));
    // The goal names the signal: five divisions must come from the sensitivity, not a larger signal.
    if (std::abs(scope.generator().amplitudeIVpp - kRidingVpp) > 1e-9)
        return notMet(
            text(u"La tarea se hace con la señal de %1: vuelve a poner esa amplitud en el generador.")
                .arg(volts(kRidingVpp, QStringLiteral("Vpp"))),
            text(u"La tasca es fa amb el senyal d'%1: torna a posar esta amplitud en el generador.")
                .arg(volts(kRidingVpp, QStringLiteral("Vpp"))));
    if (Problem p = channelIProblem(look))
        return *p;
    if (look.settings.channelI.coupling == Coupling::DC)
        return notMet(text(u"Con el acoplamiento DC, la tensión continua desplaza la traza: pasa CH I a AC."),
            text(u"Amb l'acoblament DC, la tensió contínua desplaça la traça: passa CH I a AC."));
    std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    if (Problem p = peakToPeakProblem(*extent, kRidingDivisions))
        return *p;
    return wellDone();
}

// The calibrator: a calibrated 0.5 V/div shows its 2 V square over four divisions.

/** The calibrator's terminal the task wires CH I to (Hookup::Calibrator2), and the sensitivity asked. */
constexpr double kCalibratorVolts = CalTerminals::highVolts;
constexpr double kCalibratorVoltsPerDiv = 0.5;
constexpr double kCalibratorDivisions = kCalibratorVolts / kCalibratorVoltsPerDiv;

void prepareCalibrator(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.hookup = Hookup::Calibrator2;
}

TaskVerdict judgeCalibrator(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Calibrator2, extent))
        return *p;
    if (Problem p = voltsCalibratedProblem(look, false))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    // A calibrated instrument shows the calibrator exactly; only the line's width blurs the reading.
    if (Problem p = peakToPeakProblem(*extent, kCalibratorDivisions, kEdgeTolerance))
        return *p;
    const QString calibrator = volts(kCalibratorVolts);
    const QString perDiv = formatVoltsPerDiv(kCalibratorVoltsPerDiv);
    const QString divisions = formatDecimal(kCalibratorDivisions);
    return met(text(u"¡Conseguido! %1 a %2 son %3 divisiones: la sensibilidad es correcta.")
                   .arg(calibrator, perDiv, divisions),
        text(u"Aconseguit! %1 a %2 són %3 divisions: la sensibilitat és correcta.")
            .arg(calibrator, perDiv, divisions));
}

// DUAL: both signals at once, one in each half of the screen.

constexpr double kDualMinimum = 2.0;

void prepareDual(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.amplitudeIIVpp = 2.0;
    generator.phaseIIDegrees = -90.0;
}

namespace {

/** One channel's trace must lie whole in its half of the screen and be tall enough to read. */
Problem halfProblem(const Extent &extent, bool second)
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
    if (extent.height() < kDualMinimum - kEdgeTolerance) {
        const QString channel = second ? QStringLiteral("II") : QStringLiteral("I");
        return notMet(
            text(u"La traza del canal %1 mide %2 divisiones de pico a pico; la tarea pide al menos %3.")
                .arg(channel, fixedDecimal(extent.height(), 1), formatDecimal(kDualMinimum)),
            text(u"La traça del canal %1 fa %2 divisions de pic a pic; la tasca en demana almenys %3.")
                .arg(channel, fixedDecimal(extent.height(), 1), formatDecimal(kDualMinimum)));
    }
    return std::nullopt;
}

} // namespace

TaskVerdict judgeDual(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = xyProblem(look))
        return *p;
    if (look.settings.mode != DisplayMode::Dual)
        return notMet(text(u"Pulsa %1 para ver los dos canales a la vez.").arg(panelLabel(C::Dual)),
            text(u"Polsa %1 per a veure els dos canals alhora.").arg(panelLabel(C::Dual)));
    if (Problem p = alternateTriggerProblem(look))
        return *p;
    const std::optional<Extent> first = extentOf(look.traces, TraceKind::ChannelI);
    const std::optional<Extent> second = extentOf(look.traces, TraceKind::ChannelII);
    if (Problem p = visibleProblem(look, first))
        return *p;
    if (Problem p = visibleProblem(look, second, TraceKind::ChannelII))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    if (Problem p = halfProblem(*first, false))
        return *p;
    if (Problem p = halfProblem(*second, true))
        return *p;
    return wellDone();
}

// ADD and INV: channel I minus channel II as one trace.

void prepareDifference(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.amplitudeIIVpp = 4.0;
    generator.phaseIIDegrees = -60.0;
}

TaskVerdict judgeDifference(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    const ScopeSettings &s = look.settings;
    if (Problem p = xyProblem(look))
        return *p;
    // With DUAL pressed too, ADD makes the beam chop between the channels instead of adding them.
    if (scope.isPressed(Hm203Control::Dual) && scope.isPressed(Hm203Control::Add))
        return notMet(text(u"Con %1 y %2 pulsados, los canales se dibujan a trozos: suelta %1 para sumarlos.")
                          .arg(panelLabel(C::Dual), panelLabel(C::Add)),
            text(u"Amb %1 i %2 polsats, els canals es dibuixen a trossos: deixa anar %1 per a sumar-los.")
                .arg(panelLabel(C::Dual), panelLabel(C::Add)));
    if (s.mode != DisplayMode::Add)
        return notMet(
            text(u"Pulsa %1 para ver los dos canales sumados en una sola traza.").arg(panelLabel(C::Add)),
            text(u"Polsa %1 per a veure els dos canals sumats en una sola traça.").arg(panelLabel(C::Add)));
    if (Problem p = groundProblem(s.channelI, false))
        return *p;
    if (Problem p = groundProblem(s.channelII, true))
        return *p;
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
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::Sum);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    return wellDone();
}

} // namespace

const SettingTasks &settingTasks()
{
    static const SettingTasks tasks {
        .timeBase
        = { .goal = Wording::of(goalText(text(u"Ajusta %1 para ver cinco periodos completos de la señal de %2.")
                                      .arg(panelLabel(C::TimeDiv), hertz(kTimeBaseHz))), goalText(text(u"Ajusta %1 per a veure cinc períodes complets del senyal de %2.")
                                      .arg(panelLabel(C::TimeDiv), hertz(kTimeBaseHz)))),
            .prepare = prepareTimeBase,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeTimeBase,
            .about = { C::TimeDiv } },
        .twoPeriods = { .goal = Wording::of(goalText(text(u"Muestra dos periodos de la señal de %1 con %2 divisiones de pico a pico.")
                           .arg(hertz(kTwoPeriodsHz), formatDecimal(kTwoPeriodsDivisions))), goalText(text(u"Mostra dos períodes del senyal d'%1 amb %2 divisions de pic a pic.")
                                      .arg(hertz(kTwoPeriodsHz), formatDecimal(kTwoPeriodsDivisions)))),
            .prepare = prepareTwoPeriods,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeTwoPeriods,
            .about = { C::VoltsDivI } },
        .bottomLine
        = { .goal = Wording::of(goalText(
                text(u"Con %1, lleva la traza hasta que sus mínimos toquen la línea inferior de la retícula.")
                    .arg(panelLabel(C::YPositionI))), goalText(text(
                u"Amb %1, porta la traça fins que els seus mínims toquen la línia inferior de la retícula.")
                                      .arg(panelLabel(C::YPositionI)))),
            .prepare = prepareBottomLine,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeBottomLine,
            .about = { C::YPositionI } },
        .fallingStart = { .goal = Wording::of(goalText(text(u"Haz que el barrido empiece en el flanco descendente de la señal, a %1 o más.")
                           .arg(volts(kTriggerVolts))), goalText(text(u"Fes que l'escombratge comence en el flanc descendent del senyal, a %1 o més.")
                           .arg(volts(kTriggerVolts)))),
            .prepare = prepareFallingStart,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeFallingStart,
            .about = { C::Slope, C::Level } },
        .acCoupling
        = { .goal = Wording::of(goalText(text(u"La señal de %1 va montada sobre una tensión continua de %2: acopla "
                                       u"CH I en AC y haz que ocupe %3 divisiones de pico a pico.")
                                      .arg(volts(kRidingVpp, QStringLiteral("Vpp")), volts(kRidingOffset),
                                          formatDecimal(kRidingDivisions))), goalText(text(u"El senyal d'%1 va muntat sobre una tensió contínua de %2: acobla CH "
                                       u"I en AC i fes que ocupe %3 divisions de pic a pic.")
                                      .arg(volts(kRidingVpp, QStringLiteral("Vpp")), volts(kRidingOffset),
                                          formatDecimal(kRidingDivisions)))),
            .prepare = prepareAcCoupling,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeAcCoupling,
            .about = { C::DcI, C::VoltsDivI } },
        .calibrator
        = { .goal = Wording::of(goalText(
                text(u"Con CH I en el borne de %1 del calibrador, comprueba la sensibilidad: con %2 en %3 y "
                     u"su mando CAL en el tope, la onda cuadrada debe ocupar %4 divisiones de pico a pico.")
                    .arg(volts(kCalibratorVolts), panelLabel(C::VoltsDivI),
                        formatVoltsPerDiv(kCalibratorVoltsPerDiv), formatDecimal(kCalibratorDivisions))), goalText(text(
                u"Amb CH I en el born de %1 del calibrador, comprova la sensibilitat: amb %2 en %3 i el seu "
                u"comandament CAL en el topall, l'ona quadrada ha d'ocupar %4 divisions de pic a pic.")
                                      .arg(volts(kCalibratorVolts), panelLabel(C::VoltsDivI),
                                          formatVoltsPerDiv(kCalibratorVoltsPerDiv),
                                          formatDecimal(kCalibratorDivisions)))),
            .prepare = prepareCalibrator,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeCalibrator,
            .about = { C::VoltsDivI, C::VoltsCalI } },
        .dual = { .goal = Wording::of(goalText(text(u"Pulsa %1 y muestra las dos señales a la vez: la del canal I "
                                             u"en la mitad superior de la pantalla y la del canal II en la "
                                             u"inferior, cada una con al menos %2 divisiones de pico a pico.")
                                            .arg(panelLabel(C::Dual), formatDecimal(kDualMinimum))), goalText(text(
                u"Polsa %1 i mostra els dos senyals alhora: el del canal I en la meitat superior de la "
                u"pantalla i el del canal II en la inferior, cadascun amb almenys %2 divisions de pic a pic.")
                                      .arg(panelLabel(C::Dual), formatDecimal(kDualMinimum)))),
            .prepare = prepareDual,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeDual,
            .about = { C::Dual, C::YPositionI, C::YPositionII } },
        .difference
        = { .goal = Wording::of(goalText(text(u"Muestra en una sola traza la diferencia CH I − CH II con %1 e %2.")
                                      .arg(panelLabel(C::Add), panelLabel(C::InvertII))), goalText(text(u"Mostra en una sola traça la diferència CH I − CH II amb %1 i %2.")
                                      .arg(panelLabel(C::Add), panelLabel(C::InvertII)))),
            .prepare = prepareDifference,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeDifference,
            .about = { C::Add, C::InvertII } },
    };
    return tasks;
}
