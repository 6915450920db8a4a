#include "hm203tasks.h"

#include "problemjudge.h"
#include "taskjudging.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace TaskJudging;

// Time base: five periods of 500 Hz fill the ten divisions at 1 ms/div.

constexpr double kTimeBaseHz = 500.0;

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
    if (Problem p = periodsProblem(look, *extent, 5))
        return *p;
    return wellDone();
}

// Time base and sensitivity together: the 10 Vpp signal overdrives the screen at 1 V/div.

constexpr double kTwoPeriodsHz = 1000.0;

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
    if (Problem p = peakToPeakProblem(*extent, 5.0))
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
        return notMet(text(u"La traza se sale por arriba de la retícula: bájala con Y-POS I o redúcela con "
                           u"VOLTS/DIV."),
            text(u"La traça ix per dalt de la retícula: baixa-la amb Y-POS I o reduïx-la amb VOLTS/DIV."));
    const double above = extent->minY + ScreenGeometry::halfHeight;
    if (above > kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por encima de la línea inferior: "
                           u"bájala con Y-POS I.")
                          .arg(fixedDecimal(above, 1)),
            text(u"Els mínims de la traça queden %1 divisions per damunt de la línia inferior: "
                 u"baixa-la amb Y-POS I.")
                .arg(fixedDecimal(above, 1)));
    if (above < -kLineTolerance)
        return notMet(text(u"Los mínimos de la traza quedan %1 divisiones por debajo de la línea inferior: "
                           u"súbela con Y-POS I.")
                          .arg(fixedDecimal(-above, 1)),
            text(u"Els mínims de la traça queden %1 divisions per davall de la línia inferior: "
                 u"puja-la amb Y-POS I.")
                .arg(fixedDecimal(-above, 1)));
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

/** The voltage channel I's trace shows at a moment, measured from its zero line as the screen shows it. */
double shownVolts(const ChannelSettings &channel, double seconds)
{
    return (channelDivisions(channel, seconds) - channel.position) * channel.voltsPerDiv;
}

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
        return notMet(text(u"La traza del canal I no está disparada: ajusta LEVEL."),
            text(u"La traça del canal I no està disparada: ajusta LEVEL."));
    const double dt = period * 1e-3;
    const double level = shownVolts(s.channelI, *start);
    if (shownVolts(s.channelI, *start + dt) >= shownVolts(s.channelI, *start - dt))
        return notMet(text(u"El barrido empieza en el flanco ascendente: cambia la pendiente con SLOPE."),
            text(u"L'escombratge comença en el flanc ascendent: canvia el pendent amb SLOPE."));
    if (level < kTriggerVolts - kTriggerTolerance)
        return notMet(text(u"El barrido empieza a %1 V; la tarea pide 1 V o más: sube el nivel con LEVEL.")
                          .arg(fixedDecimal(level, 1)),
            text(u"L'escombratge comença a %1 V; la tasca en demana 1 V o més: puja el nivell amb LEVEL.")
                .arg(fixedDecimal(level, 1)));
    return met(text(u"¡Conseguido! El barrido empieza bajando, a %1 V.").arg(fixedDecimal(level, 1)),
        text(u"Aconseguit! L'escombratge comença baixant, a %1 V.").arg(fixedDecimal(level, 1)));
}

// AC coupling: a small signal riding on a large DC level.

constexpr double kRidingVpp = 1.0;
constexpr double kRidingOffset = 4.0;

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
            text(u"La tarea es con la señal de 1 Vpp: vuelve a poner esa amplitud en el generador."),
            text(u"La tasca és amb el senyal d'1 Vpp: torna a posar aquesta amplitud en el generador."));
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
    if (Problem p = peakToPeakProblem(*extent, 5.0))
        return *p;
    return wellDone();
}

// Measuring a DC level: GD marks the zero line, DC shows how far the level lifts the trace.

constexpr std::array kHiddenOffsets { 1.5, -2.0, 2.5, -1.5, 3.0, 2.0 };

void prepareDcLevel(GeneratorSettings &generator, quint32 draw)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 1.0;
    generator.offsetIVolts = kHiddenOffsets[draw % kHiddenOffsets.size()];
}

TaskVerdict judgeDcLevel(const Hm203 &scope, std::optional<double> answer)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (!answer)
        return askFor(u"Escribe la tensión continua que mides, en voltios.",
            u"Escriu la tensió contínua que mesures, en volts.");
    const double offset = scope.generator().offsetIVolts;
    const double tolerance = std::max(0.15, kRelativeTolerance * std::abs(offset));
    if (std::abs(*answer - offset) <= tolerance)
        return met(text(u"¡Correcto! La tensión continua vale %1 V.").arg(fixedDecimal(offset, 1)),
            text(u"Correcte! La tensió contínua val %1 V.").arg(fixedDecimal(offset, 1)));
    if (std::abs(*answer + offset) <= tolerance)
        return notMet(
            text(u"El valor es correcto, pero el signo no: fíjate en si la traza sube o baja al pasar "
                 u"de GD a DC."),
            text(u"El valor és correcte, però el signe no: fixa't si la traça puja o baixa en passar de GD a "
                 u"DC."));
    return notMet(
        text(u"Has escrito %1 V; no es la tensión continua de la señal. Con GD marca el cero con Y-POS I, "
             u"pasa a DC y mide cuántas divisiones se desplaza la traza: multiplícalas por VOLTS/DIV.")
            .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1 V; no és la tensió contínua del senyal. Amb GD marca el zero amb Y-POS I, "
             u"passa a DC "
             u"i mesura quantes divisions es desplaça la traça: multiplica-les per VOLTS/DIV.")
            .arg(formatDecimal(*answer, kAsTyped)));
}

// The calibrator: a calibrated 0.5 V/div shows its 2 V square over four divisions.

void prepareCalibrator(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.hookup = Hookup::Calibrator2;
}

/** True when the VOLTS/DIV CAL knob of channel I stands at its calibrated stop (where the instrument opens).
 */
bool voltsCalibratedI(const Hm203 &scope)
{
    Hm203 calibrated = scope;
    calibrated.setValue(Hm203Control::VoltsCalI, controlInfo(Hm203Control::VoltsCalI).initial);
    const double now = scope.scopeSettings().channelI.voltsPerDiv;
    const double atStop = calibrated.scopeSettings().channelI.voltsPerDiv;
    return std::abs(now - atStop) <= 1e-9 * atStop;
}

TaskVerdict judgeCalibrator(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Calibrator2, extent))
        return *p;
    if (!voltsCalibratedI(scope))
        return notMet(text(u"El mando CAL de VOLTS/DIV no está en su tope calibrado: gíralo hasta el tope."),
            text(u"El comandament CAL de VOLTS/DIV no està en el seu topall calibrat: gira'l fins al "
                 u"topall."));
    if (Problem p = graticuleProblem(*extent))
        return *p;
    // A calibrated instrument shows the calibrator exactly; only the line's width blurs the reading.
    if (Problem p = peakToPeakProblem(*extent, 4.0, kEdgeTolerance))
        return *p;
    return met(text(u"¡Conseguido! 2 V a 0,5 V/div son 4 divisiones: la sensibilidad es correcta."),
        text(u"Aconseguit! 2 V a 0,5 V/div són 4 divisions: la sensibilitat és correcta."));
}

// Measuring a period: the divisions one period spans, times TIME/DIV.

constexpr std::array kHiddenPeriodFrequencies { 400.0, 250.0, 1250.0, 200.0, 625.0, 2500.0 };

void preparePeriod(GeneratorSettings &generator, quint32 draw)
{
    generator = {};
    generator.waveform = Waveform::Triangle;
    generator.frequencyHz = kHiddenPeriodFrequencies[draw % kHiddenPeriodFrequencies.size()];
    generator.amplitudeIVpp = 4.0;
}

/** True when a typed value is within reading error of the expected one. */
bool closeTo(double typed, double expected)
{
    return std::abs(typed - expected) <= kRelativeTolerance * std::abs(expected);
}

TaskVerdict judgePeriod(const Hm203 &scope, std::optional<double> answer)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (!answer)
        return askFor(u"Escribe el periodo que mides, en ms.", u"Escriu el període que mesures, en ms.");
    const double frequency = scope.generator().frequencyHz;
    const double periodMs = 1000.0 / frequency;
    if (closeTo(*answer, periodMs))
        return met(text(u"¡Correcto! El periodo vale %1 ms.").arg(formatDecimal(periodMs, kAsTyped)),
            text(u"Correcte! El període val %1 ms.").arg(formatDecimal(periodMs, kAsTyped)));
    if (closeTo(*answer, frequency))
        return notMet(text(u"Eso es la frecuencia, en Hz; la tarea pide el periodo, en ms."),
            text(u"Això és la freqüència, en Hz; la tasca demana el període, en ms."));
    return notMet(text(u"Has escrito %1 ms; no coincide. Mide cuántas divisiones ocupa un periodo y "
                       u"multiplícalas por TIME/DIV.")
                      .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1 ms; no coincideix. Mesura quantes divisions ocupa un període i multiplica-les "
             u"per TIME/DIV.")
            .arg(formatDecimal(*answer, kAsTyped)));
}

// Measuring a frequency: the period read on the graticule, its inverse worked out.

constexpr std::array kHiddenFrequencies { 250.0, 400.0, 1250.0, 2000.0, 500.0, 800.0, 2500.0, 200.0 };

void prepareFrequency(GeneratorSettings &generator, quint32 draw)
{
    generator = {};
    generator.frequencyHz = kHiddenFrequencies[draw % kHiddenFrequencies.size()];
    generator.amplitudeIVpp = 4.0;
}

TaskVerdict judgeFrequency(const Hm203 &scope, std::optional<double> answer)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (!answer)
        return askFor(
            u"Escribe la frecuencia que mides, en Hz.", u"Escriu la freqüència que mesures, en Hz.");
    const double frequency = scope.generator().frequencyHz;
    if (closeTo(*answer, frequency))
        return met(text(u"¡Correcto! La frecuencia vale %1 Hz.").arg(formatDecimal(frequency, kAsTyped)),
            text(u"Correcte! La freqüència val %1 Hz.").arg(formatDecimal(frequency, kAsTyped)));
    if (closeTo(*answer, 1000.0 / frequency))
        return notMet(text(u"Eso es el periodo, en ms; la tarea pide la frecuencia: f = 1/T, en Hz."),
            text(u"Això és el període, en ms; la tasca demana la freqüència: f = 1/T, en Hz."));
    return notMet(text(u"Has escrito %1 Hz; no coincide. Mide cuántas divisiones ocupa un periodo, "
                       u"multiplícalas por TIME/DIV para obtener T y calcula f = 1/T.")
                      .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1 Hz; no coincideix. Mesura quantes divisions ocupa un període, multiplica-les "
             u"per TIME/DIV per a obtindre T i calcula f = 1/T.")
            .arg(formatDecimal(*answer, kAsTyped)));
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
        const QString channel = second ? QStringLiteral("II") : QStringLiteral("I");
        const QString es = second ? text(u"La traza del canal II debe quedar entera en la mitad inferior: ")
                                  : text(u"La traza del canal I debe quedar entera en la mitad superior: ");
        const QString va = second
            ? text(u"La traça del canal II ha de quedar sencera en la meitat inferior: ")
            : text(u"La traça del canal I ha de quedar sencera en la meitat superior: ");
        if (tooTall)
            return notMet(es + text(u"redúcela con VOLTS/DIV %1.").arg(channel),
                va + text(u"reduïx-la amb VOLTS/DIV %1.").arg(channel));
        if (tooHigh)
            return notMet(es + text(u"bájala con Y-POS %1 o redúcela con VOLTS/DIV %1.").arg(channel),
                va + text(u"baixa-la amb Y-POS %1 o reduïx-la amb VOLTS/DIV %1.").arg(channel));
        return notMet(es + text(u"súbela con Y-POS %1 o redúcela con VOLTS/DIV %1.").arg(channel),
            va + text(u"puja-la amb Y-POS %1 o reduïx-la amb VOLTS/DIV %1.").arg(channel));
    }
    if (extent.height() < kDualMinimum - kEdgeTolerance) {
        const QString channel = second ? QStringLiteral("II") : QStringLiteral("I");
        return notMet(
            text(u"La traza del canal %1 mide %2 divisiones de pico a pico; la tarea pide al menos 2.")
                .arg(channel, fixedDecimal(extent.height(), 1)),
            text(u"La traça del canal %1 fa %2 divisions de pic a pic; la tasca en demana almenys 2.")
                .arg(channel, fixedDecimal(extent.height(), 1)));
    }
    return std::nullopt;
}

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
        return notMet(text(u"Pulsa DUAL para ver los dos canales a la vez."),
            text(u"Polsa DUAL per a veure els dos canals alhora."));
    const std::optional<Extent> first = extentOf(look.traces, TraceKind::ChannelI);
    const std::optional<Extent> second = extentOf(look.traces, TraceKind::ChannelII);
    if (Problem p = visibleProblem(look, first))
        return *p;
    if (Problem p = visibleProblem(look, second, u"Y-POS II"))
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
        return notMet(
            text(u"Con DUAL y ADD pulsados, los canales se dibujan a trozos: suelta DUAL para sumarlos."),
            text(u"Amb DUAL i ADD polsats, els canals es dibuixen a trossos: deixa anar DUAL per a "
                 u"sumar-los."));
    if (s.mode != DisplayMode::Add)
        return notMet(text(u"Pulsa ADD para ver los dos canales sumados en una sola traza."),
            text(u"Polsa ADD per a veure els dos canals sumats en una sola traça."));
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
        return notMet(text(u"La traza es la suma CH I + CH II: invierte CH II con INV II."),
            text(u"La traça és la suma CH I + CH II: invertix CH II amb INV II."));
    const double ratio = s.channelI.voltsPerDiv / s.channelII.voltsPerDiv;
    if (!(std::abs(ratio - 1.0) <= 1e-6))
        return notMet(
            text(u"Los dos canales tienen sensibilidades distintas: pon el mismo VOLTS/DIV y los dos "
                 u"CAL en su tope."),
            text(
                u"Els dos canals tenen sensibilitats distintes: posa el mateix VOLTS/DIV i els dos CAL en el "
                u"seu topall."));
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::Sum);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    return wellDone();
}

// X-Y: the phase read from the ellipse, sin φ = a / b.

// Beyond about 60° the ellipse barely changes with the phase, and a reading on the graticule says little.
constexpr std::array kHiddenPhases { -45.0, -60.0, -30.0, -50.0 };

void preparePhaseXY(GeneratorSettings &generator, quint32 draw)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.amplitudeIIVpp = 4.0;
    generator.phaseIIDegrees = kHiddenPhases[draw % kHiddenPhases.size()];
}

TaskVerdict judgePhaseXY(const Hm203 &scope, std::optional<double> answer)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = sineProblem(look))
        return *p;
    if (look.settings.mode != DisplayMode::XY)
        return notMet(text(u"Pulsa X-Y para ver la elipse."), text(u"Polsa X-Y per a veure l'el·lipse."));
    if (Problem p = groundProblem(look.settings.channelI, false))
        return *p;
    if (Problem p = groundProblem(look.settings.channelII, true))
        return *p;
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (!extent->onGraticule())
        return notMet(text(u"La elipse se sale de la retícula: redúcela con VOLTS/DIV de los dos canales y "
                           u"céntrala con Y-POS I y X-POS."),
            text(u"L'el·lipse ix de la retícula: reduïx-la amb VOLTS/DIV dels dos canals i centra-la amb "
                 u"Y-POS I i X-POS."));
    if (!answer)
        return askFor(u"Escribe el desfase que lees en la elipse, en grados.",
            u"Escriu el desfasament que lliges en l'el·lipse, en graus.");
    // The ellipse shows the phase between the deflections: an inverted channel turns it by 180°.
    const ScopeSettings &s = look.settings;
    const double generated = std::abs(scope.generator().phaseIIDegrees);
    const bool turned = s.channelI.inverted != s.channelII.inverted;
    const double shown = turned ? 180.0 - generated : generated;
    const PhaseRange readable = ellipsePhaseRange(shown, extent->height() / 2.0);
    const QString inverted = s.channelII.inverted ? QStringLiteral("INV II") : QStringLiteral("INV I");
    if (readable.contains(std::abs(*answer))) {
        if (!turned)
            return met(text(u"¡Correcto! El desfase vale %1°.").arg(fixedDecimal(shown, 0)),
                text(u"Correcte! El desfasament val %1°.").arg(fixedDecimal(shown, 0)));
        return met(
            text(u"¡Correcto! La elipse muestra %1°; con %2 pulsado, entre las salidas del generador hay "
                 u"180° − %1° = %3°.")
                .arg(fixedDecimal(shown, 0), inverted, fixedDecimal(generated, 0)),
            text(u"Correcte! L'el·lipse mostra %1°; amb %2 polsat, entre les eixides del generador hi ha "
                 u"180° − %1° = %3°.")
                .arg(fixedDecimal(shown, 0), inverted, fixedDecimal(generated, 0)));
    }
    if (turned && ellipsePhaseRange(generated, extent->height() / 2.0).contains(std::abs(*answer)))
        return notMet(text(u"%1 está pulsado: invierte un canal y la elipse se inclina hacia el otro lado, "
                           u"así que muestra 180° menos el desfase de las salidas. Lee la elipse tal como se "
                           u"ve, o suelta %1.")
                          .arg(inverted),
            text(u"%1 està polsat: invertix un canal i l'el·lipse s'inclina cap a l'altre costat, així que "
                 u"mostra 180° menys el desfasament de les eixides. Llig l'el·lipse tal com es veu, o deixa "
                 u"anar %1.")
                .arg(inverted));
    return notMet(text(u"Has escrito %1°, pero la elipse da otro desfase: sen φ = a/b, con a el corte de la "
                       u"elipse con el eje vertical y b su altura máxima, ambos medidos desde el centro.")
                      .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1°, però l'el·lipse dona un altre desfasament: sen φ = a/b, amb a el tall de "
             u"l'el·lipse amb l'eix vertical i b la seua altura màxima, tots dos mesurats des del centre.")
            .arg(formatDecimal(*answer, kAsTyped)));
}

// The practice circuit: the voltage across R leads the input by atan(1 / ωRC).

void prepareRcLead(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.hookup = Hookup::RcCircuit;
}

/** How far the voltage across R leads the generator's, in degrees, at the generator's frequency. */
double rcLeadDegrees(double frequencyHz)
{
    const double omegaRc = 2.0 * std::numbers::pi * frequencyHz * PracticeCircuit::timeConstant;
    return std::atan2(1.0, omegaRc) * 180.0 / std::numbers::pi;
}

TaskVerdict judgeRcLead(const Hm203 &scope, std::optional<double> answer)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::RcCircuit))
        return *p;
    if (Problem p = sineProblem(look))
        return *p;
    if (!answer)
        return askFor(u"Escribe cuántos grados va adelantada Ur respecto a Ue.",
            u"Escriu quants graus va avançada Ur respecte a Ue.");
    const double lead = rcLeadDegrees(scope.generator().frequencyHz);
    // What the reading allows depends on how large the student shows it: the ellipse in X-Y, or the
    // period on the time base in DUAL.
    const ScopeSettings &s = look.settings;
    PhaseRange readable;
    if (s.mode == DisplayMode::XY) {
        const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
        readable = ellipsePhaseRange(lead, extent ? extent->height() / 2.0 : 0.0);
    } else {
        const double zoom = s.xMagnified ? 10.0 : 1.0;
        readable = sweptPhaseRange(
            lead, zoom * divisionsPerPeriod(scope.generator().frequencyHz, s.secondsPerDiv));
    }
    if (readable.contains(*answer))
        return met(text(u"¡Correcto! Ur va adelantada %1° respecto a Ue.").arg(fixedDecimal(lead, 0)),
            text(u"Correcte! Ur va avançada %1° respecte a Ue.").arg(fixedDecimal(lead, 0)));
    if (readable.contains(-*answer))
        return notMet(text(u"Ur va adelantada respecto a Ue: el desfase es positivo."),
            text(u"Ur va avançada respecte a Ue: el desfasament és positiu."));
    return notMet(
        text(u"Has escrito %1°; no es el adelanto de Ur. En DUAL, mide la distancia Δt entre los pasos "
             u"por cero de las dos señales y el periodo T: φ = 360° · Δt / T.")
            .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1°; no és l'avançament d'Ur. En DUAL, mesura la distància Δt entre els passos per "
             u"zero dels dos senyals i el període T: φ = 360° · Δt / T.")
            .arg(formatDecimal(*answer, kAsTyped)));
}

/** A unit a student may type after a number, and what it is worth in the task's unit. */
struct UnitSpelling
{
    const char16_t *unit;
    const char16_t *spelling;
    double factor;
};

// Longer spellings first, so that "ms" is not read as "s" after an "m".
constexpr UnitSpelling kSpellings[] {
    { u"°", u"grados", 1.0 },
    { u"°", u"graus", 1.0 },
    { u"°", u"°", 1.0 },
    { u"°", u"º", 1.0 },
    { u"Hz", u"kHz", 1000.0 },
    { u"Hz", u"Hz", 1.0 },
    { u"V", u"mV", 1e-3 },
    { u"V", u"V", 1.0 },
    { u"ms", u"µs", 1e-3 },
    { u"ms", u"us", 1e-3 },
    { u"ms", u"ms", 1.0 },
    { u"ms", u"s", 1000.0 },
};

/** No measurement a student types is longer than this; a longer text is a paste, not an answer. */
constexpr qsizetype kLongestAnswer = 40;

} // namespace

std::optional<double> readTypedNumber(const QString &typed, const char16_t *unit)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > kLongestAnswer)
        return std::nullopt;
    // A minus sign from a word processor reads like the hyphen.
    QString text = trimmed;
    text.replace(u'\u2212', u'-');
    double factor = 1.0;
    if (unit) {
        const QStringView wanted(unit);
        for (const UnitSpelling &spelling : kSpellings) {
            const QStringView spelt(spelling.spelling);
            if (wanted == QStringView(spelling.unit) && text.endsWith(spelt, Qt::CaseInsensitive)) {
                // "ms" also ends in "s": a letter left before the unit means another unit was typed.
                const QString rest = text.left(text.size() - spelt.size());
                if (!rest.isEmpty() && rest.back().isLetter())
                    return std::nullopt;
                text = rest;
                factor = spelling.factor;
                break;
            }
        }
    }
    const std::optional<double> value = ProblemJudge::readQuantity(text);
    if (!value || !std::isfinite(*value * factor))
        return std::nullopt;
    return *value * factor;
}

TaskVerdict judgeTask(
    const Hm203Task &task, const Hm203 &scope, const BeamMoment &moment, std::optional<double> answer)
{
    if (scope.isPressed(Hm203Control::Power) && moment.warming())
        return notMet(text(u"El tubo se está calentando: la traza aparecerá en unos segundos."),
            text(u"El tub s'està escalfant: la traça apareixerà d'ací a uns segons."));
    return task.judge(scope, answer);
}

const QList<Hm203Task> &hm203Tasks()
{
    static const QList<Hm203Task> tasks {
        { .castilian = u"Ajusta TIME/DIV para ver cinco periodos completos de la señal de 500 Hz.",
            .valencian = u"Ajusta TIME/DIV per a veure cinc períodes complets del senyal de 500 Hz.",
            .prepare = prepareTimeBase,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeTimeBase },
        { .castilian = u"Muestra dos periodos de la señal de 1 kHz con 5 divisiones de pico a pico.",
            .valencian = u"Mostra dos períodes del senyal d'1 kHz amb 5 divisions de pic a pic.",
            .prepare = prepareTwoPeriods,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeTwoPeriods },
        { .castilian
            = u"Con Y-POS I, lleva la traza hasta que sus mínimos toquen la línea inferior de la retícula.",
            .valencian = u"Amb Y-POS I, porta la traça fins que els seus mínims toquen la línia inferior de "
                         u"la retícula.",
            .prepare = prepareBottomLine,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeBottomLine },
        { .castilian = u"Haz que el barrido empiece en el flanco descendente de la señal, a 1 V o más.",
            .valencian = u"Fes que l'escombratge comence en el flanc descendent del senyal, a 1 V o més.",
            .prepare = prepareFallingStart,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeFallingStart },
        { .castilian
            = u"La señal de 1 Vpp va montada sobre una tensión continua de 4 V: acopla CH I en AC y haz que "
              u"ocupe 5 divisiones de pico a pico.",
            .valencian
            = u"El senyal d'1 Vpp va muntat sobre una tensió contínua de 4 V: acobla CH I en AC i fes que "
              u"ocupe 5 divisions de pic a pic.",
            .prepare = prepareAcCoupling,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeAcCoupling },
        { .castilian
            = u"Mide en voltios la tensión continua que lleva la señal de CH I: GD marca el cero y DC "
              u"muestra cuánto se desplaza la traza.",
            .valencian
            = u"Mesura en volts la tensió contínua que porta el senyal de CH I: GD marca el zero i DC "
              u"mostra quant es desplaça la traça.",
            .prepare = prepareDcLevel,
            .answerUnit = u"V",
            .hidden = HiddenReading::OffsetI,
            .judge = judgeDcLevel },
        { .castilian
            = u"Con CH I en el borne de 2 V del calibrador, comprueba la sensibilidad: con VOLTS/DIV I en "
              u"0,5 V/div y su CAL en el tope, la onda cuadrada debe ocupar 4 divisiones de pico a pico.",
            .valencian
            = u"Amb CH I en el born de 2 V del calibrador, comprova la sensibilitat: amb VOLTS/DIV I en "
              u"0,5 V/div i el seu CAL en el topall, l'ona quadrada ha d'ocupar 4 divisions de pic a pic.",
            .prepare = prepareCalibrator,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeCalibrator },
        { .castilian = u"Mide el periodo de la señal triangular de la salida I del generador, en ms.",
            .valencian = u"Mesura el període del senyal triangular de l'eixida I del generador, en ms.",
            .prepare = preparePeriod,
            .answerUnit = u"ms",
            .hidden = HiddenReading::FrequencyI,
            .judge = judgePeriod },
        { .castilian = u"Mide la frecuencia de la señal de la salida I del generador, en Hz.",
            .valencian = u"Mesura la freqüència del senyal de l'eixida I del generador, en Hz.",
            .prepare = prepareFrequency,
            .answerUnit = u"Hz",
            .hidden = HiddenReading::FrequencyI,
            .judge = judgeFrequency },
        { .castilian
            = u"Pulsa DUAL y muestra las dos señales a la vez: la del canal I en la mitad superior de la "
              u"pantalla y la del canal II en la inferior, cada una con al menos 2 divisiones de pico a "
              u"pico.",
            .valencian
            = u"Polsa DUAL i mostra els dos senyals alhora: el del canal I en la meitat superior de la "
              u"pantalla i el del canal II en la inferior, cadascun amb almenys 2 divisions de pic a pic.",
            .prepare = prepareDual,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeDual },
        { .castilian = u"Muestra en una sola traza la diferencia CH I − CH II con ADD e INV II.",
            .valencian = u"Mostra en una sola traça la diferència CH I − CH II amb ADD i INV II.",
            .prepare = prepareDifference,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeDifference },
        { .castilian = u"Mide el desfase en X-Y entre las dos salidas del generador, en grados.",
            .valencian = u"Mesura el desfasament en X-Y entre les dues eixides del generador, en graus.",
            .prepare = preparePhaseXY,
            .answerUnit = u"°",
            .hidden = HiddenReading::PhaseII,
            .judge = judgePhaseXY },
        { .castilian
            = u"Circuito RC de prácticas: la salida I del generador alimenta 1 kΩ y 100 nF en serie. CH I "
              u"mide la tensión de entrada Ue y CH II la tensión Ur en la resistencia. Mide cuántos grados "
              u"va adelantada Ur respecto a Ue.",
            .valencian
            = u"Circuit RC de pràctiques: l'eixida I del generador alimenta 1 kΩ i 100 nF en sèrie. CH I "
              u"mesura la tensió d'entrada Ue i CH II la tensió Ur en la resistència. Mesura quants graus "
              u"va avançada Ur respecte a Ue.",
            .prepare = prepareRcLead,
            .answerUnit = u"°",
            .hidden = HiddenReading::None,
            .judge = judgeRcLead },
    };
    return tasks;
}
