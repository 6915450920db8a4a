#include "taskjudging.h"

#include "remedies.h"
#include "tracewording.h"
#include "wordparts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace TaskJudging {

using TraceWording::Parts::label;

QString text(const char16_t *literal)
{
    return QString::fromUtf16(literal);
}

TaskVerdict notMet(const QString &castilian, const QString &valencian)
{
    return { { castilian, valencian }, false, std::nullopt };
}

TaskVerdict notMet(TraceCause cause, const Wording &words)
{
    return { words, false, cause };
}

TaskVerdict met(const QString &castilian, const QString &valencian)
{
    return { { castilian, valencian }, true, std::nullopt };
}

TaskVerdict wellDone()
{
    return met(text(u"¡Conseguido!"), text(u"Aconseguit!"));
}

namespace {

/** The switch whose steps a fine knob turns away from: TIME/DIV, VOLTS/DIV I or VOLTS/DIV II. */
QString switchOf(Hm203Control fineKnob)
{
    switch (fineKnob) {
    case Hm203Control::VoltsCalI:
        return text(controlInfo(Hm203Control::VoltsDivI).label);
    case Hm203Control::VoltsCalII:
        return text(controlInfo(Hm203Control::VoltsDivII).label);
    default:
        break;
    }
    return text(controlInfo(Hm203Control::TimeDiv).label);
}

/** What a switch no longer gives with its fine knob out of CAL. */
Problem calibratedProblem(const Look &look, Hm203Control fineKnob)
{
    if (atCal(look.scope, fineKnob))
        return std::nullopt;
    const QString range = switchOf(fineKnob);
    const bool time = fineKnob == Hm203Control::TimeCal;
    return notMet(text(u"El mando CAL de %1 no está en su tope calibrado: %1 no da %2 de cada división. "
                       u"Gíralo hasta el tope.")
                      .arg(range, time ? text(u"el tiempo") : text(u"los voltios")),
        text(u"El comandament CAL de %1 no està en el seu topall calibrat: %1 no dona %2 de cada divisió. "
             u"Gira'l fins al topall.")
            .arg(range, time ? text(u"el temps") : text(u"els volts")));
}

} // namespace

bool atCal(const Hm203 &scope, Hm203Control fineKnob)
{
    return scope.value(fineKnob) == controlInfo(fineKnob).maximum;
}

Problem timeCalibratedProblem(const Look &look)
{
    return calibratedProblem(look, Hm203Control::TimeCal);
}

Problem voltsCalibratedProblem(const Look &look, bool second)
{
    return calibratedProblem(look, second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI);
}

Problem uncalibratedReadingProblem(const Look &look, Hm203Control fineKnob)
{
    if (atCal(look.scope, fineKnob))
        return std::nullopt;
    const QString range = switchOf(fineKnob);
    return notMet(text(u"El mando CAL de %1 no está en su tope calibrado: la lectura no vale. Gíralo hasta "
                       u"el tope y vuelve a medir.")
                      .arg(range),
        text(u"El comandament CAL de %1 no està en el seu topall calibrat: la lectura no val. Gira'l fins "
             u"al topall i torna a mesurar.")
            .arg(range));
}

TaskVerdict rightReading(
    const Look &look, Hm203Control fineKnob, const QString &castilian, const QString &valencian)
{
    if (atCal(look.scope, fineKnob))
        return met(castilian, valencian);
    const QString range = switchOf(fineKnob);
    return met(castilian
            + text(u" Aun así, el mando CAL de %1 no está en su tope calibrado: gíralo hasta el tope antes "
                   u"de medir.")
                  .arg(range),
        valencian
            + text(u" Tot i això, el comandament CAL de %1 no està en el seu topall calibrat: gira'l fins al "
                   u"topall abans de mesurar.")
                  .arg(range));
}

Problem beamProblem(const Look &look)
{
    const ScreenReading &reading = look.reading;
    if (!look.scope.isPressed(Hm203Control::Power))
        return notMet(TraceCause::PowerOff, TraceWording::powerOff());
    if (reading.tester())
        return notMet(TraceCause::Tester, TraceWording::tester());
    // A still spot is better faint; what holds it still is the goal's business.
    if (reading.stillSpot())
        return std::nullopt;
    switch (reading.dimness()) {
    case Dimness::None:
        break;
    case Dimness::Intensity:
        return notMet(TraceCause::IntensityLow, TraceWording::intensityLow());
    case Dimness::ShortDuty:
        return notMet(TraceCause::FastSweepDim,
            TraceWording::fastSweepDim(reading.timing().dutyCycle(), reading.settings().xMagnified));
    }
    return std::nullopt;
}

Problem hookupProblem(const Look &look, Hookup wanted)
{
    if (look.scope.generator().hookup == wanted)
        return std::nullopt;
    switch (wanted) {
    case Hookup::Generator:
        return notMet(text(u"Vuelve a conectar los canales a las salidas del generador."),
            text(u"Torna a connectar els canals a les eixides del generador."));
    case Hookup::RcCircuit:
        return notMet(text(u"Vuelve a conectar el circuito RC de prácticas."),
            text(u"Torna a connectar el circuit RC de pràctiques."));
    case Hookup::Circuit:
        return notMet(text(u"Vuelve a conectar el circuito de la tarea."),
            text(u"Torna a connectar el circuit de la tasca."));
    case Hookup::Calibrator02:
    case Hookup::Calibrator2:
        break;
    }
    const QString terminal
        = formatDecimal(wanted == Hookup::Calibrator02 ? CalTerminals::lowVolts : CalTerminals::highVolts)
        + QStringLiteral(" V");
    return notMet(text(u"Vuelve a conectar CH I al borne de %1 del calibrador.").arg(terminal),
        text(u"Torna a connectar CH I al born de %1 del calibrador.").arg(terminal));
}

Problem groundProblem(const ChannelSettings &channel, bool second)
{
    if (channel.coupling != Coupling::Ground)
        return std::nullopt;
    return notMet(TraceCause::Grounded, TraceWording::grounded(second));
}

Problem xyProblem(const Look &look)
{
    if (look.settings.mode != DisplayMode::XY)
        return std::nullopt;
    const QString xy = label(Hm203Control::XY);
    return notMet(text(u"El botón %1 está pulsado y la pantalla muestra una figura X-Y: suéltalo.").arg(xy),
        text(u"El botó %1 està polsat i la pantalla mostra una figura X-Y: deixa'l anar.").arg(xy));
}

Problem xyFigureProblem(const Look &look)
{
    if (look.settings.mode != DisplayMode::XY)
        return notMet(text(u"Pulsa %1 para ver la figura X-Y.").arg(label(Hm203Control::XY)),
            text(u"Polsa %1 per a veure la figura X-Y.").arg(label(Hm203Control::XY)));
    return visibleProblem(look, extentOf(look.traces, TraceKind::XY), TraceKind::XY);
}

namespace {

/** ADD draws one trace of both channels, so neither is seen on its own. */
TaskVerdict addedTrace()
{
    return notMet(
        text(u"%1 suma los dos canales en una sola traza: suelta %1.").arg(label(Hm203Control::Add)),
        text(u"%1 suma els dos canals en una sola traça: deixa anar %1.").arg(label(Hm203Control::Add)));
}

} // namespace

Problem channelIProblem(const Look &look)
{
    if (Problem p = xyProblem(look))
        return p;
    switch (look.settings.mode) {
    case DisplayMode::ChannelI:
    case DisplayMode::Dual:
        break;
    case DisplayMode::Add:
        return addedTrace();
    case DisplayMode::ChannelII:
    case DisplayMode::XY:
        return notMet(
            text(u"La pantalla muestra el canal II: suelta %1.").arg(label(Hm203Control::ChannelII)),
            text(u"La pantalla mostra el canal II: deixa anar %1.").arg(label(Hm203Control::ChannelII)));
    }
    return groundProblem(look.settings.channelI, false);
}

Problem channelIIProblem(const Look &look)
{
    if (Problem p = xyProblem(look))
        return p;
    switch (look.settings.mode) {
    case DisplayMode::ChannelII:
    case DisplayMode::Dual:
        break;
    case DisplayMode::Add:
        return addedTrace();
    case DisplayMode::ChannelI:
    case DisplayMode::XY:
        return notMet(text(u"La pantalla muestra solo el canal I: pulsa %1 o %2.")
                          .arg(label(Hm203Control::ChannelII), label(Hm203Control::Dual)),
            text(u"La pantalla mostra només el canal I: polsa %1 o %2.")
                .arg(label(Hm203Control::ChannelII), label(Hm203Control::Dual)));
    }
    return groundProblem(look.settings.channelII, true);
}

Problem visibleProblem(const Look &look, const std::optional<Extent> &extent, TraceKind kind)
{
    if (extent && extent->visible)
        return std::nullopt;
    if (darkInNorm(look))
        return untriggered(look, look.settings.trigger.source);
    // Where it went, and the control that brings it back, as the explanation finds it.
    std::optional<OffFace> off = sidewaysOff(look.reading, kind);
    if (!off)
        off = verticallyOff(look.reading, kind);
    if (off)
        return notMet(off->cause, TraceWording::offFace(look.reading, ScreenReadings::Withheld, kind, *off));
    const QString position
        = label(kind == TraceKind::ChannelII ? Hm203Control::YPositionII : Hm203Control::YPositionI);
    const QString x = label(Hm203Control::XPosition);
    return notMet(text(u"No se ve la traza en la pantalla: búscala con %1 y %2.").arg(position, x),
        text(u"No es veu la traça en la pantalla: busca-la amb %1 i %2.").arg(position, x));
}

Problem steadyProblem(const Look &look)
{
    const ScopeSettings &s = look.settings;
    const ScreenReading &reading = look.reading;
    if (!look.traces.triggered) {
        if (reading.darkInNorm())
            return untriggered(look, s.trigger.source);
        // Sweeps too seldom for the afterglow to hold a picture: whether they are triggered hardly shows.
        if (reading.pace() != SweepPace::Steady)
            return notMet(TraceCause::CrawlingSpot,
                TraceWording::crawlingSpot(reading.pace() == SweepPace::Crawling,
                    s.mode == DisplayMode::Dual && !s.chopped, sweepAdvice(reading)));
        // Free-running sweeps that happen to draw the same trace each time stand still: nothing to mend.
        if (reading.running())
            return untriggered(look, s.trigger.source);
    }
    // A sweep that follows the mains fires, but meets a signal not in step with them at another point
    // every time.
    if (reading.slidesWithMains()) {
        return notMet(TraceCause::LineTrigger,
            TraceWording::lineTrigger(
                s.trigger.coupling == TriggerCoupling::LF, triggerChannel(s, s.trigger.source).signal));
    }
    return std::nullopt;
}

Problem alternateTriggerProblem(const Look &look)
{
    const ScopeSettings &s = look.settings;
    if (s.mode != DisplayMode::Dual || s.chopped || !s.trigger.alternate)
        return std::nullopt;
    for (TriggerSource own : { TriggerSource::ChannelI, TriggerSource::ChannelII })
        if (!triggerTimeFrom(s, own))
            return untriggered(look, own);
    return std::nullopt;
}

Problem graticuleProblem(const Extent &extent, bool second)
{
    if (extent.withinRows())
        return std::nullopt;
    const QString volts = label(second ? Hm203Control::VoltsDivII : Hm203Control::VoltsDivI);
    const QString position = label(second ? Hm203Control::YPositionII : Hm203Control::YPositionI);
    return notMet(
        text(u"La traza se sale de la retícula: redúcela con %1 o céntrala con %2.").arg(volts, position),
        text(u"La traça ix de la retícula: reduïx-la amb %1 o centra-la amb %2.").arg(volts, position));
}

Problem steadyChannelIProblem(const Look &look, Hookup hookup, std::optional<Extent> &extent)
{
    if (Problem p = beamProblem(look))
        return p;
    if (Problem p = hookupProblem(look, hookup))
        return p;
    if (Problem p = channelIProblem(look))
        return p;
    extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return p;
    return steadyProblem(look);
}

Problem frequencyProblem(const Look &look, double wanted)
{
    const double frequency = look.scope.generator().frequencyHz;
    if (std::abs(frequency - wanted) <= 1e-6 * wanted)
        return std::nullopt;
    const QString asked = wanted >= 1000.0 ? fixedDecimal(wanted / 1000.0, 0) + QStringLiteral(" kHz")
                                           : fixedDecimal(wanted, 0) + QStringLiteral(" Hz");
    return notMet(
        text(u"La tarea pide que el generador funcione a %1: vuelve a poner esa frecuencia.").arg(asked),
        text(u"La tasca demana que el generador funcione a %1: torna a posar esta freqüència.").arg(asked));
}

Problem sineProblem(const Look &look)
{
    if (look.scope.generator().waveform == Waveform::Sine)
        return std::nullopt;
    return notMet(
        text(u"La tarea se hace con señales senoidales: vuelve a elegir la senoide en el generador."),
        text(u"La tasca es fa amb senyals sinusoïdals: torna a triar la sinusoide en el generador."));
}

namespace {

/** What a goal asks for as it says it: "5", or "entre 2 y 3" for a range. */
Wording asked(double low, double high)
{
    if (low == high)
        return { formatDecimal(low), formatDecimal(low) };
    return { text(u"entre %1 y %2").arg(formatDecimal(low), formatDecimal(high)),
        text(u"entre %1 i %2").arg(formatDecimal(low), formatDecimal(high)) };
}

} // namespace

Problem periodsProblem(const Look &look, const Extent &extent, int wanted)
{
    return periodsProblem(look, extent, wanted, wanted);
}

Problem periodsProblem(const Look &look, const Extent &extent, double low, double high)
{
    // X-MAG spreads each period over ten times as many divisions.
    const double zoom = look.settings.xMagnified ? 10.0 : 1.0;
    const double perPeriod
        = zoom * divisionsPerPeriod(look.scope.signalI().frequencyHz, look.settings.secondsPerDiv);
    if (perPeriod > 0.0 && extent.spanX >= low * perPeriod - kDivisionTolerance
        && extent.spanX <= high * perPeriod + kDivisionTolerance)
        return std::nullopt;
    // A trace moved sideways leaves part of the graticule empty: that is X-POS, not the time base.
    if (extent.minX > -ScreenGeometry::halfWidth + kDivisionTolerance
        || extent.maxX < ScreenGeometry::halfWidth - kDivisionTolerance)
        return notMet(
            text(u"La traza no cubre toda la retícula: céntrala con %1.").arg(label(Hm203Control::XPosition)),
            text(u"La traça no cobreix tota la retícula: centra-la amb %1.")
                .arg(label(Hm203Control::XPosition)));
    // The count as the face's words give it, so that both say the same number.
    const double periods = look.reading.periodsSpanning(TraceKind::ChannelI, extent.spanX);
    const QString shown = formatPeriodCount(periods);
    const QString time = label(Hm203Control::TimeDiv);
    const Wording wanted = asked(low, high);
    if (shown == QLatin1String("0"))
        return notMet(text(u"Se ve una pequeña parte de un periodo; la tarea pide %1. Ajusta %2.")
                          .arg(wanted.castilian, time),
            text(u"Es veu una xicoteta part d'un període; la tasca en demana %1. Ajusta %2.")
                .arg(wanted.valencian, time));
    if (shown == QLatin1String("1"))
        return notMet(text(u"Se ve 1 periodo; la tarea pide %1. Ajusta %2.").arg(wanted.castilian, time),
            text(u"Es veu 1 període; la tasca en demana %1. Ajusta %2.").arg(wanted.valencian, time));
    return notMet(
        text(u"Se ven %1 periodos; la tarea pide %2. Ajusta %3.").arg(shown, wanted.castilian, time),
        text(u"Es veuen %1 períodes; la tasca en demana %2. Ajusta %3.").arg(shown, wanted.valencian, time));
}

Problem peakToPeakProblem(const Extent &extent, double wanted, double tolerance)
{
    return heightProblem(extent, wanted, wanted, false, tolerance);
}

Problem heightProblem(const Extent &extent, double low, double high, bool second, double tolerance)
{
    if (extent.height() >= low - tolerance && extent.height() <= high + tolerance)
        return std::nullopt;
    const QString shown = fixedDecimal(extent.height(), 1);
    const Wording wanted = asked(low, high);
    const QString volts = label(second ? Hm203Control::VoltsDivII : Hm203Control::VoltsDivI);
    if (second)
        return notMet(text(u"La traza del canal II mide %1 divisiones de pico a pico; la tarea pide %2. "
                           u"Ajusta %3.")
                          .arg(shown, wanted.castilian, volts),
            text(u"La traça del canal II fa %1 divisions de pic a pic; la tasca en demana %2. Ajusta %3.")
                .arg(shown, wanted.valencian, volts));
    return notMet(text(u"La traza mide %1 divisiones de pico a pico; la tarea pide %2. Ajusta %3.")
                      .arg(shown, wanted.castilian, volts),
        text(u"La traça fa %1 divisions de pic a pic; la tasca en demana %2. Ajusta %3.")
            .arg(shown, wanted.valencian, volts));
}

PhaseRange ellipsePhaseRange(double degrees, double height)
{
    const double folded = std::clamp(std::abs(degrees), 0.0, 180.0);
    const bool leansBack = folded > 90.0;
    const double angle = leansBack ? 180.0 - folded : folded;
    const double b = std::abs(height);
    const double a = b * std::sin(angle * std::numbers::pi / 180.0);
    const auto arcSine
        = [](double ratio) { return std::asin(std::clamp(ratio, 0.0, 1.0)) * 180.0 / std::numbers::pi; };
    const double t = kDivisionTolerance;
    const double low = arcSine((a - t) / (b + t));
    const double high = b > t ? arcSine((a + t) / (b - t)) : 90.0;
    return leansBack ? PhaseRange { 180.0 - high, 180.0 - low } : PhaseRange { low, high };
}

PhaseRange sweptPhaseRange(double degrees, double period)
{
    const double t = kDivisionTolerance;
    const double shift = std::abs(degrees) / 360.0 * period;
    const double low = 360.0 * std::max(0.0, shift - t) / (period + t);
    const double high = period > t ? std::min(180.0, 360.0 * (shift + t) / (period - t)) : 180.0;
    return degrees < 0.0 ? PhaseRange { -high, -low } : PhaseRange { low, high };
}

TaskVerdict askFor(const char16_t *castilian, const char16_t *valencian)
{
    return notMet(text(castilian), text(valencian));
}

TaskVerdict untriggered(const Look &look, TriggerSource source)
{
    const TraceWording::TriggerReason reason
        = TraceWording::triggerReason(triggerContext(look.reading, source));
    if (look.settings.trigger.mode == TriggerMode::Normal)
        return notMet(reason.cause, TraceWording::darkInNormWords(reason));
    return notMet(TraceCause::Running, TraceWording::running(reason));
}

double shownSecondsPerDiv(const ScopeSettings &settings)
{
    return settings.secondsPerDiv / (settings.xMagnified ? 10.0 : 1.0);
}

} // namespace TaskJudging
