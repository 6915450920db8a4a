#include "benchchecks.h"
#include "measuringjudge.h"
#include "measuringrows.h"
#include "taskfamilies.h"

#include "scopesettings.h"

#include <cmath>
#include <cstring>
#include <numbers>

// The checks the probe's and the amplifier's setting goals are made of: a probe compensated on a square's
// corners, a bandwidth found where a sine's trace falls to 0,7 of its height.

namespace {

using namespace TaskJudging;
using C = Hm203Control;

/** How far the trimmer may stand from the right setting: by then no corner shows a step. */
constexpr double kCompensationTolerance = 0.03;
/** Each corner of a square shows when a period spans between one division (all ten periods on the face)
 * and the whole face, ten divisions. */
constexpr double kCornersPeriodsShown = 10.0;
/** How far from the −3 dB frequency looked for the trace's 0,7 may be found, given how closely 0,7 of a
 * height is read: 17 to 23 MHz for the amplifier's 20 MHz. */
constexpr double kBandMargin = 0.15;

bool onChannelII(const CheckArgs &args)
{
    return args.channel == LabChannel::II;
}

/** A channel's trace drawn on its own sweep, not grounded, and some of it on the face. */
Problem channelShownCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    if (!onChannelII(args)) {
        if (Problem p = channelIProblem(look))
            return p;
        return visibleProblem(look, extentOf(look.traces, TraceKind::ChannelI));
    }
    if (Problem p = xyProblem(look))
        return p;
    switch (look.settings.mode) {
    case DisplayMode::ChannelII:
    case DisplayMode::Dual:
        break;
    case DisplayMode::Add:
        return notMet(text(u"%1 suma los dos canales en una sola traza: suelta %1.").arg(panelLabel(C::Add)),
            text(u"%1 suma els dos canals en una sola traça: deixa anar %1.").arg(panelLabel(C::Add)));
    case DisplayMode::ChannelI:
    case DisplayMode::XY:
        return notMet(text(u"La pantalla muestra el canal I: pulsa %1 o %2.")
                          .arg(panelLabel(C::ChannelII), panelLabel(C::Dual)),
            text(u"La pantalla mostra el canal I: polsa %1 o %2.")
                .arg(panelLabel(C::ChannelII), panelLabel(C::Dual)));
    }
    if (Problem p = groundProblem(look.settings.channelII, true))
        return p;
    return visibleProblem(look, extentOf(look.traces, TraceKind::ChannelII), TraceKind::ChannelII);
}

/** The ×10 probe on a channel, which the probe's tasks are about. */
Problem times10Check(const Look &look, const LabBench &, const CheckArgs &args)
{
    if (!onChannelII(args))
        return MeasuringJudge::times10Ready(look, Hookup::Calibrator02);
    if (look.scope.generator().probeII == Probe::Times10)
        return std::nullopt;
    return notMet(text(u"La tarea se hace con la sonda ×10 en CH II: vuelve a ponerla."),
        text(u"La tasca es fa amb la sonda ×10 en CH II: torna a posar-la."));
}

/** A sweep at which every corner of the channel's square shows: from a period a division to a period the
 * whole face, the period as the bench wires it. */
Problem cornersSweepCheck(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    Hm203 wired;
    wired.setGenerator(bench);
    const double slowest = 1.0 / MeasuringRows::tipSignal(wired, onChannelII(args)).frequencyHz;
    const double fastest = slowest / kCornersPeriodsShown;
    const double perDiv = shownSecondsPerDiv(look.settings);
    const QString timeDiv = panelLabel(C::TimeDiv);
    // Both ends in the unit TIME/DIV prints the slower in: "entre 0,1 y 1 ms/div".
    const QString fast = formatDecimal(fastest * std::pow(10.0, -secondsPerDivNumber(slowest).exponent));
    const QString slow = formatSecondsPerDiv(slowest);
    if (perDiv > slowest * 1.001)
        return notMet(text(u"Con tantos periodos en la pantalla no se ven las esquinas de la onda cuadrada: "
                           u"pon %1 entre %2 y %3.")
                          .arg(timeDiv, fast, slow),
            text(u"Amb tants períodes en la pantalla no es veuen les cantonades de l'ona quadrada: posa %1 "
                 u"entre "
                 u"%2 i %3.")
                .arg(timeDiv, fast, slow));
    if (perDiv < fastest * 0.999)
        return notMet(
            text(u"La pantalla no llega a mostrar un periodo entero de la onda cuadrada: pon %1 entre "
                 u"%2 y %3.")
                .arg(timeDiv, fast, slow),
            text(u"La pantalla no arriba a mostrar un període sencer de l'ona quadrada: posa %1 entre %2 i "
                 u"%3.")
                .arg(timeDiv, fast, slow));
    return std::nullopt;
}

/** Channel I's square whole on the graticule, and tall enough, in divisions, to judge its corners. */
Problem cornersHeightCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (!extent)
        return std::nullopt;
    if (Problem p = graticuleProblem(*extent))
        return p;
    if (extent->height() >= args.value - kEdgeTolerance)
        return std::nullopt;
    return notMet(text(u"La onda cuadrada mide %1 divisiones: con tan poca altura no se juzgan sus "
                       u"esquinas. Hazla de %2 divisiones o más con VOLTS/DIV.")
                      .arg(fixedDecimal(extent->height(), 1), formatDecimal(args.value)),
        text(u"L'ona quadrada fa %1 divisions: amb tan poca altura no es jutgen les seues cantonades. "
             u"Fes-la de %2 divisions o més amb VOLTS/DIV.")
            .arg(fixedDecimal(extent->height(), 1), formatDecimal(args.value)));
}

/** The trace standing still, then the channel's trimmer where the square comes out flat. */
Problem compensationCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    // Too small to trigger, the square runs: its height is what to mend first.
    if (Problem p = steadyProblem(look))
        return p;
    const GeneratorSettings &generator = look.scope.generator();
    const double k = onChannelII(args) ? generator.compensationII : generator.compensationI;
    if (k < 1.0 - kCompensationTolerance)
        return notMet(
            text(u"Las esquinas salen redondeadas: la sonda está subcompensada. Gira el condensador "
                 u"de ajuste hacia arriba hasta que la onda quede plana."),
            text(u"Les cantonades ixen arredonides: la sonda està subcompensada. Gira el condensador d'ajust "
                 u"cap amunt fins que l'ona quede plana."));
    if (k > 1.0 + kCompensationTolerance)
        return notMet(text(u"Las esquinas salen en punta: la sonda está sobrecompensada. Gira el condensador "
                           u"de ajuste hacia abajo hasta que la onda quede plana."),
            text(u"Les cantonades ixen en punta: la sonda està sobrecompensada. Gira el condensador d'ajust "
                 u"cap avall fins que l'ona quede plana."));
    return std::nullopt;
}

std::optional<Wording> compensationPraise(const Look &, const LabBench &, const CheckArgs &)
{
    return Wording::of(u"¡Conseguido! Esquinas rectas y techo plano: la sonda está bien compensada.",
        u"Aconseguit! Cantonades rectes i sostre pla: la sonda està ben compensada.");
}

/** The height channel I's trace shows with the same settings at the bench's frequency, where the amplifier
 * passes everything. */
double referenceHeight(const Look &look, const LabBench &bench)
{
    Hm203 reference = look.scope;
    GeneratorSettings slow = look.scope.generator();
    slow.frequencyHz = bench.frequencyHz;
    reference.setGenerator(slow);
    const std::optional<Extent> full
        = extentOf(computeTraces(reference.scopeSettings()), TraceKind::ChannelI);
    return full ? full->height() : 0.0;
}

/** At −3 dB the trace keeps 1/√2 of its height. */
QString halfPowerShare()
{
    return formatDecimal(1.0 / std::numbers::sqrt2, { .significantDigits = 1 });
}

/** A steady sine on channel I, as the bench wires it. */
Problem steadySineCheck(const Look &look, const LabBench &bench, const CheckArgs &)
{
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, bench.hookup, extent))
        return p;
    return sineProblem(look);
}

/** Channel I's trace whole on the graticule, and at the bench's frequency at least this many divisions
 * high. */
Problem referenceHeightCheck(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (!extent)
        return std::nullopt;
    if (Problem p = graticuleProblem(*extent))
        return p;
    const double fullHeight = referenceHeight(look, bench);
    if (fullHeight >= args.value - kEdgeTolerance)
        return std::nullopt;
    return notMet(text(u"A %4 la traza mide %1 divisiones: con menos de %2 no se lee bien %3 de su "
                       u"altura. Auméntala con VOLTS/DIV.")
                      .arg(fixedDecimal(fullHeight, 1), formatDecimal(args.value), halfPowerShare(),
                          hertz(bench.frequencyHz)),
        text(u"A %4 la traça fa %1 divisions: amb menys de %2 no es llig bé %3 de la seua altura. "
             u"Augmenta-la amb VOLTS/DIV.")
            .arg(fixedDecimal(fullHeight, 1), formatDecimal(args.value), halfPowerShare(),
                hertz(bench.frequencyHz)));
}

/** Channel I's trace at 0,7 of its height at the bench's frequency, and the generator near the −3 dB
 * frequency looked for. */
Problem bandwidthCheck(const Look &look, const LabBench &bench, const CheckArgs &args)
{
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    const double fullHeight = referenceHeight(look, bench);
    if (!extent || !(fullHeight > 0.0))
        return std::nullopt;
    const double share = extent->height() / fullHeight;
    const double tolerance = kDivisionTolerance / fullHeight;
    const QString shown = fixedDecimal(share, 2);
    const QString reference = hertz(bench.frequencyHz);
    const double frequency = look.scope.generator().frequencyHz;
    if (share > BenchFigures::halfPowerShare + tolerance)
        return notMet(text(u"La traza aún mide %1 de su altura a %2: sube la frecuencia del generador.")
                          .arg(shown, reference),
            text(u"La traça encara fa %1 de la seua altura a %2: puja la freqüència del generador.")
                .arg(shown, reference));
    if (share < BenchFigures::halfPowerShare - tolerance)
        return notMet(text(u"La traza ya solo mide %1 de su altura a %2: baja la frecuencia del "
                           u"generador.")
                          .arg(shown, reference),
            text(u"La traça ja només fa %1 de la seua altura a %2: baixa la freqüència del generador.")
                .arg(shown, reference));
    if (frequency >= args.value * (1.0 - kBandMargin) && frequency <= args.value * (1.0 + kBandMargin))
        return std::nullopt;
    const QString megahertz = fixedDecimal(frequency / 1e6, 1);
    if (look.scope.generator().probeI == Probe::Times1)
        return notMet(text(u"La traza cae a %2 ya a %1 MHz: es la sonda ×1, cuyo cable limita la banda "
                           u"a unos %3. Pon la sonda ×10 para medir la del osciloscopio.")
                          .arg(megahertz, halfPowerShare(), hertz(Probes::times1BandwidthHz)),
            text(u"La traça cau a %2 ja a %1 MHz: és la sonda ×1, el cable de la qual limita la banda a "
                 u"uns %3. Posa la sonda ×10 per a mesurar la de l'oscil·loscopi.")
                .arg(megahertz, halfPowerShare(), hertz(Probes::times1BandwidthHz)));
    return notMet(text(u"A %1 MHz la traza no es la del ancho de banda del osciloscopio: busca la "
                       u"frecuencia con la sonda ×10.")
                      .arg(megahertz),
        text(u"A %1 MHz la traça no és la de l'amplada de banda de l'oscil·loscopi: busca la freqüència "
             u"amb la sonda ×10.")
            .arg(megahertz));
}

std::optional<Wording> bandwidthPraise(const Look &look, const LabBench &, const CheckArgs &args)
{
    const QString megahertz = fixedDecimal(look.scope.generator().frequencyHz / 1e6, 1);
    Wording praise { text(u"¡Conseguido! A %1 MHz la traza mide %2 de su altura: es −3 dB, la mitad de la "
                          u"potencia.")
                         .arg(megahertz, halfPowerShare()),
        text(u"Aconseguit! A %1 MHz la traça fa %2 de la seua altura: és −3 dB, la meitat de la potència.")
            .arg(megahertz, halfPowerShare()) };
    // What the amplifier's own band is called only where the file looks for it.
    if (std::abs(args.value - VerticalAmplifier::bandwidthHz) <= 1e-6 * VerticalAmplifier::bandwidthHz) {
        praise.castilian
            += text(u" Es el ancho de banda del HM-203, %1.").arg(hertz(VerticalAmplifier::bandwidthHz));
        praise.valencian
            += text(u" És l'amplada de banda de l'HM-203, %1.").arg(hertz(VerticalAmplifier::bandwidthHz));
    }
    return praise;
}

} // namespace

std::span<const LabCheck> benchChecks()
{
    static const LabCheck checks[] {
        { "canal_a_la_vista", CheckValue::Channel, channelShownCheck },
        { "sonda_x10", CheckValue::Channel, times10Check },
        { "esquinas_a_la_vista", CheckValue::Channel, cornersSweepCheck },
        { "altura_para_esquinas", CheckValue::Number, cornersHeightCheck },
        { "compensacion", CheckValue::Channel, compensationCheck, compensationPraise },
        { "senoide_estable", CheckValue::Yes, steadySineCheck },
        { "altura_de_referencia", CheckValue::Number, referenceHeightCheck },
        { "ancho_de_banda", CheckValue::Hertz, bandwidthCheck, bandwidthPraise },
    };
    return checks;
}
