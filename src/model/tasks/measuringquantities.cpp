#include "labcatalogue.h"
#include "measuringrows.h"
#include "taskfamilies.h"
#include "taskjudging.h"

// The quantities a lab file may ask a student to measure, each made from the measuring tasks' rows: the
// row of the course's own task where the bench is that task's, the row of either channel otherwise.

namespace {

using namespace TaskJudging;
using namespace MeasuringJudge;
using C = Hm203Control;
using MeasuringRows::tipPeakToPeak;
using MeasuringRows::tipSignal;

// The amplitude: the peak voltage, from the trace's middle line to a peak, half its peak-to-peak.

constexpr ReadyCheck kGeneratorReady[] { beamReady, hookupReady };

template <bool second>
constexpr MeasuringTask kAmplitudeOn {
    .ready = kGeneratorReady,
    .ask = { u"Escribe la amplitud que mides, la tensión de pico, en voltios.",
        u"Escriu l'amplitud que mesures, la tensió de pic, en volts." },
    .fineKnob = second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI,
    .expected = [](const Look &look) { return tipPeakToPeak(tipSignal(look.scope, second)) / 2.0; },
    // A peak is read off the graticule as a peak-to-peak is, within a quarter division.
    .tolerance = second ? tipVoltsToleranceII : tipVoltsTolerance,
    .praise = [](double peak) -> Said {
        return { text(u"¡Correcto! La amplitud vale %1 V.").arg(formatDecimal(peak, kAsTyped)),
            text(u"Correcte! L'amplitud val %1 V.").arg(formatDecimal(peak, kAsTyped)) };
    },
    .slips = {},
    .measured = [](const Look &look, double peak) -> Measured {
        const Probe probe = second ? look.scope.generator().probeII : look.scope.generator().probeI;
        return { .castilian = u"la amplitud",
            .valencian = u"l'amplitud",
            .unit = u"V",
            .thousandth = u"mV",
            .probe = probe,
            .sine = tipSignal(look.scope, second).waveform == Waveform::Sine,
            .divisions = divisionsOfTipVolts(look.settings, probe, peak, second),
            .second = second,
            .peak = true };
    },
    .wrong = [](const Look &, const QString &typed) -> Said {
        const QString voltsDiv = panelLabel(second ? C::VoltsDivII : C::VoltsDivI);
        return { text(
                     u"Has escrito %1 V; no coincide. Mide cuántas divisiones hay desde la línea media de la "
                     u"traza hasta un pico y multiplícalas por %2.")
                     .arg(typed, voltsDiv),
            text(u"Has escrit %1 V; no coincideix. Mesura quantes divisions hi ha des de la línia mitjana de "
                 u"la traça fins a un pic i multiplica-les per %2.")
                .arg(typed, voltsDiv) };
    },
};

const MeasuringTask &amplitudeRow(bool second)
{
    return second ? kAmplitudeOn<true> : kAmplitudeOn<false>;
}

bool onChannelII(const LabMeasurement &measurement)
{
    return measurement.channel == LabChannel::II;
}

/** The instrument wired as the bench wires it, to see what reaches each probe tip. */
Hm203 wired(const LabBench &bench)
{
    Hm203 scope;
    scope.setGenerator(bench);
    return scope;
}

bool onCalibrator(const LabBench &bench)
{
    return bench.hookup == Hookup::Calibrator02 || bench.hookup == Hookup::Calibrator2;
}

/** The channel as the goals name it. */
QString channelName(bool second)
{
    return second ? QStringLiteral("CH II") : QStringLiteral("CH I");
}

/** Why nothing can be measured on a channel whose probe tip sees no alternating signal. */
Wording nothingAlternating(bool second)
{
    return { text(u"%1 no recibe ninguna señal alterna: en su traza no hay nada que medir.")
                 .arg(channelName(second)),
        text(u"%1 no rep cap senyal altern: en la seua traça no hi ha res a mesurar.")
            .arg(channelName(second)) };
}

/**
 * The measuring task a row makes on a bench, judged with the bench's wiring and what the file asks: its
 * values in the quantity's base unit (V, Hz, s, °), turned into the answer's by scale.
 */
MeasuringParts partsOf(const MeasuringTask &row, const LabMeasurement &measurement, const LabBench &bench,
    const char16_t *unit, double scale, HiddenReading hidden)
{
    MeasuringTask task = row;
    task.hookup = bench.hookup;
    Asked asked;
    if (measurement.expected)
        asked.expected = *measurement.expected * scale;
    if (measurement.tolerance)
        asked.tolerance = *measurement.tolerance * scale;
    if (measurement.slips)
        asked.slips = SlipSet(*measurement.slips);
    return { QString::fromUtf16(unit), hidden,
        [task, asked](const Hm203 &scope, std::optional<double> answer) {
            return judgeMeasuring(task, scope, answer, asked);
        } };
}

/**
 * A voltage at a channel's tip is the generator's amplitude or offset of its output, hidden, unless CH I is
 * on the calibrator or CH II sees the circuit rather than output II.
 */
HiddenReading hiddenVoltage(const LabMeasurement &measurement, const LabBench &bench, HiddenReading onOutputI,
    HiddenReading onOutputII)
{
    if (onChannelII(measurement))
        return bench.hookup == Hookup::RcCircuit ? HiddenReading::None : onOutputII;
    return onCalibrator(bench) ? HiddenReading::None : onOutputI;
}

/** The generator's frequency, hidden, unless the channel shows the calibrator's: output II's own where CH II
 * sees output II running at a frequency of its own, output I's otherwise. */
HiddenReading hiddenFrequency(const LabMeasurement &measurement, const LabBench &bench)
{
    if (!onChannelII(measurement))
        return onCalibrator(bench) ? HiddenReading::None : HiddenReading::FrequencyI;
    const bool ownFrequency = bench.hookup != Hookup::RcCircuit && bench.frequencyIIHz > 0.0;
    return ownFrequency ? HiddenReading::FrequencyII : HiddenReading::FrequencyI;
}

std::optional<MeasuringParts> makePeakToPeak(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    const bool second = onChannelII(measurement);
    if (!tipSignal(wired(bench), second).isAlternating()) {
        why = nothingAlternating(second);
        return std::nullopt;
    }
    // Through the ×10 probe on CH I the course's own task asks for the probe to stay on.
    const MeasuringTask &row = !second && bench.probeI == Probe::Times10 ? MeasuringRows::probeVoltage()
                                                                         : MeasuringRows::peakToPeak(second);
    return partsOf(row, measurement, bench, u"V", 1.0,
        hiddenVoltage(measurement, bench, HiddenReading::AmplitudeI, HiddenReading::AmplitudeII));
}

std::optional<MeasuringParts> makeAmplitude(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    const bool second = onChannelII(measurement);
    if (!tipSignal(wired(bench), second).isAlternating()) {
        why = nothingAlternating(second);
        return std::nullopt;
    }
    return partsOf(amplitudeRow(second), measurement, bench, u"V", 1.0,
        hiddenVoltage(measurement, bench, HiddenReading::AmplitudeI, HiddenReading::AmplitudeII));
}

std::optional<MeasuringParts> makeDcLevel(const LabMeasurement &measurement, const LabBench &bench, Wording &)
{
    return partsOf(MeasuringRows::dcLevel(onChannelII(measurement)), measurement, bench, u"V", 1.0,
        hiddenVoltage(measurement, bench, HiddenReading::OffsetI, HiddenReading::OffsetII));
}

std::optional<MeasuringParts> makePeriod(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    const bool second = onChannelII(measurement);
    if (!tipSignal(wired(bench), second).isAlternating()) {
        why = nothingAlternating(second);
        return std::nullopt;
    }
    return partsOf(
        MeasuringRows::period(second), measurement, bench, u"ms", 1e3, hiddenFrequency(measurement, bench));
}

std::optional<MeasuringParts> makeFrequency(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    const bool second = onChannelII(measurement);
    if (!tipSignal(wired(bench), second).isAlternating()) {
        why = nothingAlternating(second);
        return std::nullopt;
    }
    return partsOf(MeasuringRows::frequency(second), measurement, bench, u"Hz", 1.0,
        hiddenFrequency(measurement, bench));
}

std::optional<MeasuringParts> makePhase(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    if (onCalibrator(bench)) {
        why = Wording::of(
            u"Con CH I en el calibrador no llega a los canales ningún desfase que medir: conéctalos a "
            u"las salidas del generador o al circuito RC.",
            u"Amb CH I en el calibrador no arriba als canals cap desfasament que mesurar: connecta'ls a les "
            u"eixides "
            u"del generador o al circuit RC.");
        return std::nullopt;
    }
    if (bench.waveform != Waveform::Sine) {
        why = Wording::of(u"El desfase se mide entre dos senoides: el generador debe dar una señal senoidal.",
            u"El desfasament es mesura entre dues sinusoides: el generador ha de donar un senyal "
            u"sinusoïdal.");
        return std::nullopt;
    }
    const Hm203 scope = wired(bench);
    for (bool second : { false, true })
        if (!tipSignal(scope, second).isAlternating()) {
            why = nothingAlternating(second);
            return std::nullopt;
        }
    Asked asked;
    asked.expected = measurement.expected;
    asked.tolerance = measurement.tolerance;
    if (measurement.slips)
        asked.slips = SlipSet(*measurement.slips);
    // In the practice circuit the phase is how far Ur leads Ue; on the generator, between its outputs.
    const bool circuit = bench.hookup == Hookup::RcCircuit;
    return MeasuringParts { QString::fromUtf16(u"°"), circuit ? HiddenReading::None : HiddenReading::PhaseII,
        [circuit, asked](const Hm203 &scope, std::optional<double> answer) {
            return circuit ? MeasuringRows::judgeRcLead(scope, answer, asked)
                           : MeasuringRows::judgePhaseXY(scope, answer, asked);
        } };
}

std::optional<MeasuringParts> makeRiseTime(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    if (onChannelII(measurement) || tipSignal(wired(bench), false).waveform != Waveform::Square) {
        why = Wording::of(
            u"El tiempo de subida se mide en el flanco de una onda cuadrada en CH I: el generador "
            u"debe dar una señal cuadrada.",
            u"El temps de pujada es mesura en el flanc d'una ona quadrada en CH I: el generador ha de donar "
            u"un "
            u"senyal quadrat.");
        return std::nullopt;
    }
    return partsOf(MeasuringRows::riseTime(), measurement, bench, u"ns", 1e9, HiddenReading::None);
}

} // namespace

std::span<const LabQuantity> labQuantities()
{
    static const LabQuantity own[] {
        { "pico_a_pico", CheckValue::Volts, true, makePeakToPeak },
        { "amplitud", CheckValue::Volts, true, makeAmplitude },
        { "periodo", CheckValue::Seconds, true, makePeriod },
        { "frecuencia", CheckValue::Hertz, true, makeFrequency },
        { "fase", CheckValue::Degrees, false, makePhase },
        { "tiempo_de_subida", CheckValue::Seconds, false, makeRiseTime },
        { "continua", CheckValue::Volts, true, makeDcLevel },
    };
    static const QList<LabQuantity> quantities = [] {
        QList<LabQuantity> all(std::begin(own), std::end(own));
        for (const LabQuantity &quantity : circuitQuantities())
            all << quantity;
        return all;
    }();
    return quantities;
}

std::span<const char *const> readingSlipKeys()
{
    static const char *const keys[] { "sonda", "pico", "unidad", "periodo", "cal", "razon" };
    return keys;
}
