#include "labcatalogue.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include "scopesettings.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace {

using namespace TaskJudging;
using C = Hm203Control;

// The checks a lab file's setting goal may put the trigger's awkward signals to. Like every check, each runs
// once the tube is lit and the inputs are wired as the bench wires them, and reads what it asks for from the
// bench the task prepared, so that a teacher's own bench is judged by the same words.

/** Channel I's trace, on and visible, whether or not the sweep is triggered. */
Problem shownChannelIProblem(const Look &look)
{
    if (Problem p = channelIProblem(look))
        return p;
    return visibleProblem(look, extentOf(look.traces, TraceKind::ChannelI));
}

/** Before asking whether a signal with something riding on it stands still: channel I shown, at the
 * frequency the bench set. */
Problem riddenSignalProblem(const Look &look, const LabBench &bench)
{
    if (Problem p = shownChannelIProblem(look))
        return p;
    return frequencyProblem(look, bench.frequencyHz);
}

/** True when a run of sweeps all trigger and start within the edge tolerance of one point of channel I's
 * waveform. */
bool sweepsStandStill(const ScopeSettings &settings)
{
    const QList<double> starts = sweepStarts(settings, SweepRun::judged);
    return starts.size() == SweepRun::judged && startSpread(settings, starts) <= kEdgeTolerance;
}

// Hum: the 50 Hz the leads pick up moves the moment the signal crosses the level, unless HF keeps it
// out of the trigger. LF and ~ make the sweep follow the mains instead, and the signal slides past it.

Problem humProblem(const Look &look, const LabBench &bench, const CheckArgs &)
{
    if (Problem p = riddenSignalProblem(look, bench))
        return p;
    // Untriggered, or following the mains (~, or LF, which keeps the signal out and lets the hum in).
    if (Problem p = steadyProblem(look))
        return p;
    const ScopeSettings &s = look.settings;
    if (s.trigger.coupling == TriggerCoupling::HF) {
        if (sweepsStandStill(s))
            return std::nullopt;
        return untriggered(look, s.trigger.source);
    }
    return notMet(
        text(u"El zumbido de %1 sube y baja la señal que llega al disparo: en cada barrido la señal, con "
             u"su zumbido, cruza el nivel de %2 en otro punto de la onda, y la traza no se está quieta. "
             u"Pon %3 en HF, que deja fuera el zumbido.")
            .arg(hertz(Mains::hz), panelLabel(C::Level), panelLabel(C::TriggerCoupling)),
        text(u"El brunzit de %1 puja i baixa el senyal que arriba al disparament: en cada escombratge el "
             u"senyal, amb el seu brunzit, creua el nivell de %2 en un altre punt de l'ona, i la traça no "
             u"està quieta. Posa %3 en HF, que deixa fora el brunzit.")
            .arg(hertz(Mains::hz), panelLabel(C::Level), panelLabel(C::TriggerCoupling)));
}

std::optional<Wording> humPraise(const Look &, const LabBench &, const CheckArgs &)
{
    return Wording::of(u"¡Conseguido! El zumbido ya no llega al disparo y cada barrido empieza en el mismo "
                       u"punto de la onda. El zumbido sigue en la señal: por eso la traza aún sube y baja.",
        u"Aconseguit! El brunzit ja no arriba al disparament i cada escombratge comença en el mateix punt de "
        u"l'ona. El brunzit continua en el senyal: per això la traça encara puja i baixa.");
}

// Noise: near the level it moves the moment the sweep starts from sweep to sweep (jitter), unless LF keeps it
// out of the trigger.

Problem noiseProblem(const Look &look, const LabBench &bench, const CheckArgs &)
{
    if (Problem p = riddenSignalProblem(look, bench))
        return p;
    const ScopeSettings &s = look.settings;
    if (s.trigger.coupling == TriggerCoupling::HF)
        return notMet(text(u"%1 en HF solo deja pasar lo rápido: la señal de %2 no llega al disparo. "
                           u"Prueba otra posición de %1")
                          .arg(panelLabel(C::TriggerCoupling), hertz(bench.frequencyHz)),
            text(u"%1 en HF només deixa passar el que és ràpid: el senyal de %2 no arriba al "
                 u"disparament. Prova una altra posició de %1")
                .arg(panelLabel(C::TriggerCoupling), hertz(bench.frequencyHz)));
    // Untriggered, or following the mains (~).
    if (Problem p = steadyProblem(look))
        return p;
    if (s.trigger.coupling == TriggerCoupling::LF) {
        if (sweepsStandStill(s))
            return std::nullopt;
        return untriggered(look, s.trigger.source);
    }
    return notMet(text(u"El ruido mueve la señal cerca de %1: cada barrido empieza un poco antes o después "
                       u"y la traza tiembla de lado a lado. Pon %2 en LF, que deja fuera el ruido.")
                      .arg(panelLabel(C::Level), panelLabel(C::TriggerCoupling)),
        text(u"El soroll mou el senyal prop de %1: cada escombratge comença un poc abans o després i la "
             u"traça tremola de costat a costat. Posa %2 en LF, que deixa fora el soroll.")
            .arg(panelLabel(C::Level), panelLabel(C::TriggerCoupling)));
}

std::optional<Wording> noisePraise(const Look &, const LabBench &, const CheckArgs &)
{
    return Wording::of(
        u"¡Conseguido! El ruido ya no llega al disparo y cada barrido empieza en el mismo punto "
        u"de la onda. El ruido sigue en la señal: por eso la traza se ve gruesa.",
        u"Aconseguit! El soroll ja no arriba al disparament i cada escombratge comença en el mateix punt de "
        u"l'ona. El soroll continua en el senyal: per això la traça es veu gruixuda.");
}

// Bursts: HOLD OFF makes the time base wait out the burst, so that every sweep starts on its first cycle.

/** True when every sweep starts within the first cycle of its burst, as the generator makes bursts (with
 * them switched off, the cycles a burst would span still tell the sweeps' starts apart). */
bool startsOnFirstCycle(const InputSignal &signal, const QList<double> &starts)
{
    const double cycle = 1.0 / signal.frequencyHz;
    const double burst = cycle * GeneratorLimits::burstPeriodCycles;
    return std::all_of(starts.cbegin(), starts.cend(), [&](double start) {
        const double within = std::fmod(start - signal.delaySeconds, burst);
        const double wrapped = within < 0.0 ? within + burst : within;
        return wrapped < cycle * 1.001 || wrapped > burst - cycle * 0.001;
    });
}

/** The value is the time per division the task is done at, which the single picture depends on; a time
 * between TIME/DIV's steps asks for the nearest step, which the student can set. */
Problem burstProblem(const Look &look, const LabBench &, const CheckArgs &args)
{
    if (Problem p = shownChannelIProblem(look))
        return p;
    if (Problem p = timeCalibratedProblem(look))
        return p;
    if (Problem p = steadyProblem(look))
        return p;
    const ScopeSettings &s = look.settings;
    const double asked = Hm203::secondsPerDivAt(Hm203::timeDivPosition(args.value));
    if (std::abs(s.secondsPerDiv - asked) > 1e-6 * asked)
        return notMet(text(u"La tarea se hace con %1 en %2: vuelve a ponerlo y busca la imagen única con %3.")
                          .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(asked), panelLabel(C::HoldOff)),
            text(u"La tasca es fa amb %1 en %2: torna a posar-lo i busca la imatge única amb %3.")
                .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(asked), panelLabel(C::HoldOff)));
    const QList<double> starts = sweepStarts(s, SweepRun::judged);
    if (starts.size() < SweepRun::judged)
        return notMet(
            text(u"La traza no está disparada y corre por la pantalla: ajusta %1.").arg(panelLabel(C::Level)),
            text(u"La traça no està disparada i corre per la pantalla: ajusta %1.")
                .arg(panelLabel(C::Level)));
    if (!startsOnFirstCycle(s.channelI.signal, starts))
        return notMet(
            text(u"Se ven dos imágenes una sobre otra: el barrido vuelve a estar listo dentro de la "
                 u"ráfaga y un ciclo posterior al primero dispara otro barrido. Sube %1 hasta "
                 u"que espere al final de la ráfaga.")
                .arg(panelLabel(C::HoldOff)),
            text(u"Es veuen dues imatges una damunt de l'altra: l'escombratge torna a estar llest dins de la "
                 u"ràfega i un cicle posterior al primer dispara un altre escombratge. Puja %1 fins "
                 u"que espere al final de la ràfega.")
                .arg(panelLabel(C::HoldOff)));
    return std::nullopt;
}

std::optional<Wording> burstPraise(const Look &, const LabBench &, const CheckArgs &)
{
    return Wording { text(
                         u"¡Conseguido! Con %1 el barrido espera al final de la ráfaga: todos empiezan en su "
                         u"primer ciclo y se ve una sola imagen.")
                         .arg(panelLabel(C::HoldOff)),
        text(u"Aconseguit! Amb %1 l'escombratge espera al final de la ràfega: tots comencen en el seu "
             u"primer cicle i es veu una sola imatge.")
            .arg(panelLabel(C::HoldOff)) };
}

// A signal too small to trigger: in NORM the screen stays dark until the trace swings half a division.

/** The value is the output whose amplitude must stay as the bench set it. */
Problem untouchedAmplitudeProblem(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    const bool second = args.channel == LabChannel::II;
    const GeneratorSettings &generator = look.scope.generator();
    const double wanted = second ? bench.amplitudeIIVpp : bench.amplitudeIVpp;
    if (std::abs((second ? generator.amplitudeIIVpp : generator.amplitudeIVpp) - wanted) <= 1e-9)
        return std::nullopt;
    return notMet(text(u"La tarea se hace con la señal de %1 Vpp: vuelve a poner esa amplitud en el "
                       u"generador.")
                      .arg(formatDecimal(wanted)),
        text(u"La tasca es fa amb el senyal de %1 Vpp: torna a posar esta amplitud en el generador.")
            .arg(formatDecimal(wanted)));
}

/** Why a sweep in NORM finds no trigger in a signal too small for it: through TRIG. INP. below the external
 * input's sensitivity, or on the screen below the half division the internal trigger needs. */
Problem tooSmallToTriggerProblem(const ScopeSettings &s)
{
    if (s.trigger.source == TriggerSource::External && s.externalTrigger.isAlternating()
        && s.externalTrigger.amplitudeVpp < TriggerSensitivity::externalVolts)
        return notMet(text(u"Por TRIG. INP. el disparo necesita %1 Vpp, y la señal solo tiene %2 Vpp: "
                           u"suelta %3 y dispara desde el canal I.")
                          .arg(formatDecimal(TriggerSensitivity::externalVolts),
                              formatDecimal(s.externalTrigger.amplitudeVpp), panelLabel(C::ExtTrigger)),
            text(u"Per TRIG. INP. el disparament necessita %1 Vpp, i el senyal només té %2 Vpp: deixa "
                 u"anar %3 i dispara des del canal I.")
                .arg(formatDecimal(TriggerSensitivity::externalVolts),
                    formatDecimal(s.externalTrigger.amplitudeVpp), panelLabel(C::ExtTrigger)));
    if (s.trigger.source == TriggerSource::External)
        return std::nullopt;
    const ChannelSettings &source = s.trigger.source == TriggerSource::ChannelII ? s.channelII : s.channelI;
    const double swing = source.signal.amplitudeVpp / source.voltsPerDiv;
    if (swing >= TriggerSensitivity::internalDivisions)
        return std::nullopt;
    return notMet(text(u"En NORM el barrido solo arranca con un disparo, y una traza de %1 divisiones "
                       u"no llega a la media división (5 mm) que necesita el disparo: la pantalla queda "
                       u"oscura. Sube la sensibilidad con VOLTS/DIV.")
                      .arg(fixedDecimal(swing, 1)),
        text(u"En NORM l'escombratge només arranca amb un disparament, i una traça de %1 divisions no "
             u"arriba a la mitja divisió (5 mm) que necessita el disparament: la pantalla queda "
             u"fosca. Puja la sensibilitat amb VOLTS/DIV.")
            .arg(fixedDecimal(swing, 1)));
}

Problem smallSignalProblem(const Look &look, const LabBench &, const CheckArgs &)
{
    const ScopeSettings &s = look.settings;
    if (s.trigger.mode != TriggerMode::Normal)
        return notMet(text(u"En AT el barrido corre solo aunque nada lo dispare: pulsa %1 para pasar a "
                           u"NORM, donde solo se ve una traza disparada.")
                          .arg(panelLabel(C::AtNorm)),
            text(u"En AT l'escombratge corre tot sol encara que res no el dispare: polsa %1 per a "
                 u"passar a NORM, on només es veu una traça disparada.")
                .arg(panelLabel(C::AtNorm)));
    if (Problem p = channelIProblem(look))
        return p;
    if (!look.traces.triggered)
        if (Problem p = tooSmallToTriggerProblem(s))
            return p;
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return p;
    return graticuleProblem(*extent);
}

std::optional<Wording> smallSignalPraise(const Look &, const LabBench &, const CheckArgs &)
{
    return Wording::of(u"¡Conseguido! Con más sensibilidad la traza pasa de la media división y dispara: en "
                       u"NORM la pantalla ya no queda oscura.",
        u"Aconseguit! Amb més sensibilitat la traça passa de la mitja divisió i dispara: en NORM la pantalla "
        u"ja no queda fosca.");
}

const LabCheck kTriggerChecks[] {
    { "zumbido_fuera_del_disparo", CheckValue::Yes, humProblem, humPraise },
    { "ruido_fuera_del_disparo", CheckValue::Yes, noiseProblem, noisePraise },
    { "rafagas_imagen_unica", CheckValue::Seconds, burstProblem, burstPraise },
    { "amplitud_sin_tocar", CheckValue::Channel, untouchedAmplitudeProblem },
    { "senal_pequena_disparada", CheckValue::Yes, smallSignalProblem, smallSignalPraise },
};

} // namespace

std::span<const LabCheck> triggerChecks()
{
    return kTriggerChecks;
}
