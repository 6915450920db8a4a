#include "circuitreadings.h"
#include "labcatalogue.h"
#include "measuringjudge.h"
#include "measuringrows.h"
#include "taskjudging.h"
#include "tracewording.h"

#include <cmath>
#include <numbers>

// The quantities of the bench's circuits and the component tester: each judged against what the simulated
// waves show, never against a figure typed into a file.

namespace {

using namespace TaskJudging;
using namespace MeasuringJudge;
using namespace CircuitReadings;
using MeasuringRows::tipSignal;

constexpr ReadyCheck kCircuitReady[] { beamReady, hookupReady };

/** A ratio of two heights, each read within a quarter division on a trace some five divisions high. */
/** A ratio of two heights, in percent: a quarter division each way on a trace five divisions high. */
constexpr double kRatioTolerance = kDivisionTolerance / 5.0 * 100.0;
/** A phase read off the ellipse or the two traces: a quarter division on a period of some 18 divisions. */
constexpr double kDegreesTolerance = kDivisionTolerance / 18.0 * 360.0;

/** The tester's volts per division across: the open socket's peak over its half width. */
double testerVoltsPerDivision()
{
    return TesterSource::rmsVolts * std::numbers::sqrt2 / TesterSource::halfWidthDivisions;
}

Measured voltsOn(
    const Look &look, double volts, bool second, const char16_t *castilian, const char16_t *valencian)
{
    const Probe probe = second ? look.scope.generator().probeII : look.scope.generator().probeI;
    return { .castilian = castilian,
        .valencian = valencian,
        .unit = u"V",
        .thousandth = u"mV",
        .probe = probe,
        .divisions = divisionsOfTipVolts(look.settings, probe, volts, second),
        .second = second };
}

template <bool second>
const MeasuringTask kPeakOn {
    .hookup = Hookup::Circuit,
    .ready = kCircuitReady,
    .ask = { u"Escribe la tensión de cresta que mides, desde masa, en voltios.",
        u"Escriu la tensió de cresta que mesures, des de massa, en volts." },
    .fineKnob = second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI,
    .expected = [](const Look &look) { return peakVolts(tipSignal(look.scope, second)); },
    .tolerance = second ? tipVoltsToleranceII : tipVoltsTolerance,
    .praise = [](double volts) -> Said {
        return { text(u"¡Correcto! Las crestas llegan a %1 V.").arg(formatDecimal(volts, kAsTyped)),
            text(u"Correcte! Les crestes arriben a %1 V.").arg(formatDecimal(volts, kAsTyped)) };
    },
    .slips = {},
    .measured =
        [](const Look &look, double volts) {
            return voltsOn(look, volts, second, u"la tensión de cresta", u"la tensió de cresta");
        },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 V; no coincide. Con DC y GD marca el cero y cuenta las divisiones "
                      u"hasta la cresta.")
                     .arg(typed),
            text(u"Has escrit %1 V; no coincideix. Amb DC i GD marca el zero i compta les divisions fins a "
                 u"la cresta.")
                .arg(typed) };
    },
};

template <bool second>
const MeasuringTask kRippleOn {
    .hookup = Hookup::Circuit,
    .ready = kCircuitReady,
    .ask = { u"Escribe el rizado que mides, de pico a pico, en voltios.",
        u"Escriu l'arrissat que mesures, de pic a pic, en volts." },
    .fineKnob = second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI,
    .expected = [](const Look &look) { return swingVolts(tipSignal(look.scope, second)); },
    .tolerance = second ? tipVoltsToleranceII : tipVoltsTolerance,
    .praise = [](double volts) -> Said {
        return { text(u"¡Correcto! El rizado es de %1 Vpp.").arg(formatDecimal(volts, kAsTyped)),
            text(u"Correcte! L'arrissat és de %1 Vpp.").arg(formatDecimal(volts, kAsTyped)) };
    },
    .slips = {},
    .measured =
        [](const Look &look, double volts) {
            Measured measured = voltsOn(look, volts, second, u"el rizado", u"l'arrissat");
            measured.peakToPeak = true;
            return measured;
        },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        return { text(
                     u"Has escrito %1 V; no coincide. Con AC la traza se centra: baja VOLTS/DIV y cuenta las "
                     u"divisiones del rizado de pico a pico.")
                     .arg(typed),
            text(u"Has escrit %1 V; no coincideix. Amb AC la traça se centra: baixa VOLTS/DIV i compta les "
                 u"divisions de l'arrissat de pic a pic.")
                .arg(typed) };
    },
};

template <bool second>
const MeasuringTask kRippleFrequencyOn {
    .hookup = Hookup::Circuit,
    .ready = kCircuitReady,
    .ask = { u"Escribe la frecuencia del rizado, en Hz.", u"Escriu la freqüència de l'arrissat, en Hz." },
    .fineKnob = Hm203Control::TimeCal,
    .expected = [](const Look &look) { return repetitionHz(tipSignal(look.scope, second)); },
    .tolerance = relativeTolerance,
    .praise = [](double hz) -> Said {
        return {
            text(u"¡Correcto! El rizado se repite %1 veces por segundo.").arg(formatDecimal(hz, kAsTyped)),
            text(u"Correcte! L'arrissat es repetix %1 vegades per segon.").arg(formatDecimal(hz, kAsTyped))
        };
    },
    .slips = {},
    .measured = [](const Look &look, double hz) -> Measured {
        return { .castilian = u"la frecuencia del rizado",
            .valencian = u"la freqüència de l'arrissat",
            .unit = u"Hz",
            .thousandfold = u"kHz",
            .period = PeriodRead::Frequency,
            .divisions = 1.0 / hz / shownSecondsPerDiv(look.settings) };
    },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 Hz; no coincide. Mide con TIME/DIV el tiempo de una cresta a la "
                      u"siguiente de CH II: la frecuencia es su inverso.")
                     .arg(typed),
            text(
                u"Has escrit %1 Hz; no coincideix. Mesura amb TIME/DIV el temps d'una cresta a la següent de "
                u"CH II: la freqüència és el seu invers.")
                .arg(typed) };
    },
};

const MeasuringTask kRatio {
    .hookup = Hookup::Circuit,
    .ready = kCircuitReady,
    .ask
    = { u"Escribe qué porcentaje de la altura de CH I es la de CH II: la de CH II dividida por la de CH I, "
        u"por 100.",
        u"Escriu quin percentatge de l'altura de CH I és la de CH II: la de CH II dividida per la de CH I, "
        u"per 100." },
    .fineKnob = Hm203Control::VoltsCalII,
    .expected =
        [](const Look &look) {
            return 100.0 * swingVolts(tipSignal(look.scope, true)) / swingVolts(tipSignal(look.scope, false));
        },
    .tolerance = [](const Look &, double) { return kRatioTolerance; },
    .praise = [](double ratio) -> Said {
        return { text(u"¡Correcto! CH II es el %1 % de CH I.").arg(fixedDecimal(ratio, 0)),
            text(u"Correcte! CH II és el %1 % de CH I.").arg(fixedDecimal(ratio, 0)) };
    },
    .slips = {},
    .measured = [](const Look &, double) -> Measured {
        return { .castilian = u"la relación", .valencian = u"la relació", .unit = u"%" };
    },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 %; no coincide. Mide las dos alturas de pico a pico, cada una con su "
                      u"VOLTS/DIV, y divide la de CH II por la de CH I.")
                     .arg(typed),
            text(
                u"Has escrit %1 %; no coincideix. Mesura les dues altures de pic a pic, cadascuna amb el seu "
                u"VOLTS/DIV, i dividix la de CH II per la de CH I.")
                .arg(typed) };
    },
};

const MeasuringTask kLag {
    .hookup = Hookup::Circuit,
    .ready = kCircuitReady,
    .ask = { u"Escribe cuántos grados va CH II retrasada respecto de CH I (adelantada: en negativo).",
        u"Escriu quants graus va CH II endarrerida respecte de CH I (avançada: en negatiu)." },
    .fineKnob = Hm203Control::TimeCal,
    .expected
    = [](const Look &look) { return lagDegrees(tipSignal(look.scope, false), tipSignal(look.scope, true)); },
    .tolerance = [](const Look &, double) { return kDegreesTolerance; },
    .praise = [](double degrees) -> Said {
        return { text(u"¡Correcto! CH II va %1° retrasada.").arg(fixedDecimal(degrees, 0)),
            text(u"Correcte! CH II va %1° endarrerida.").arg(fixedDecimal(degrees, 0)) };
    },
    .slips = {},
    .measured = [](const Look &, double) -> Measured {
        return { .castilian = u"el desfase", .valencian = u"el desfasament", .unit = u"°" };
    },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        return {
            text(u"Has escrito %1°; no coincide. En X-Y, el seno del desfase es el corte de la elipse con "
                 u"el eje vertical dividido por su altura; en DUAL, el retraso por 360° y por el periodo.")
                .arg(typed),
            text(u"Has escrit %1°; no coincideix. En X-Y, el sinus del desfasament és el tall de l'el·lipse "
                 u"amb "
                 u"l'eix vertical dividit per la seua altura; en DUAL, el retard per 360° i pel període.")
                .arg(typed)
        };
    },
};

// The tester's figure: the part's voltage across, its current up and down.

/** The tester on, a part in its socket. */
Problem testerReady(const Look &look, Hookup)
{
    if (!look.scope.isPressed(Hm203Control::Power))
        return notMet(TraceCause::PowerOff, TraceWording::powerOff());
    if (!look.scope.isPressed(Hm203Control::Tester))
        return notMet(text(u"Pulsa COMPONENT TESTER para ver la figura de la pieza."),
            text(u"Polsa COMPONENT TESTER per a veure la figura de la peça."));
    return std::nullopt;
}
constexpr ReadyCheck kTesterReady[] { testerReady };

TesterKnees kneesOf(const Look &look)
{
    return testerKnees(solveTester(testerPart(look.scope.generator().testerPart)));
}

template <bool reverse>
const MeasuringTask kKnee {
    .ready = kTesterReady,
    .ask
    = { u"Escribe en voltios, con su signo, dónde se dobla la figura (a la derecha del centro, positivo).",
        u"Escriu en volts, amb el seu signe, on es doblega la figura (a la dreta del centre, positiu)." },
    .fineKnob = Hm203Control::Tester,
    .expected =
        [](const Look &look) {
            const TesterKnees knees = kneesOf(look);
            return (reverse ? knees.reverse : knees.forward).value_or(0.0);
        },
    // A quarter division of the tester's own horizontal scale.
    .tolerance = [](const Look &, double) { return kDivisionTolerance * testerVoltsPerDivision(); },
    .praise = [](double volts) -> Said {
        return { text(u"¡Correcto! La figura se dobla en %1 V.").arg(fixedDecimal(volts, 1)),
            text(u"Correcte! La figura es doblega en %1 V.").arg(fixedDecimal(volts, 1)) };
    },
    .slips = {},
    // No divisions: the tester's scale is no VOLTS/DIV a student could have forgotten to multiply by.
    .measured = [](const Look &, double) -> Measured {
        return { .castilian = u"la tensión del codo",
            .valencian = u"la tensió del colze",
            .unit = u"V",
            .thousandth = u"mV" };
    },
    .wrong = [](const TaskJudging::Look &, const QString &typed) -> Said {
        const QString scale = fixedDecimal(testerVoltsPerDivision(), 2);
        return { text(u"Has escrito %1 V; no coincide. Cuenta las divisiones del centro al tramo vertical y "
                      u"multiplícalas por %2 V: la línea abierta llega a 4,5 divisiones con la cresta del "
                      u"comprobador.")
                     .arg(typed, scale),
            text(u"Has escrit %1 V; no coincideix. Compta les divisions del centre al tram vertical i "
                 u"multiplica-les per %2 V: la línia oberta arriba a 4,5 divisions amb la cresta del "
                 u"comprovador.")
                .arg(typed, scale) };
    },
};

/** Why a circuit's quantity needs a circuit on the bench. */
Wording needsCircuit()
{
    return Wording::of(u"Esta magnitud se mide en un circuito: pon conexion = \"circuito\" y su circuito.",
        u"Esta magnitud es mesura en un circuit: posa conexion = \"circuito\" i el seu circuit.");
}

/** The parts of a circuit's row: judged once the probes show the bench's circuit as the simulator settled it.
 */
MeasuringParts circuitParts(
    const MeasuringTask &row, const LabMeasurement &measurement, const LabBench &bench, const char16_t *unit)
{
    Asked asked;
    asked.expected = measurement.expected;
    asked.tolerance = measurement.tolerance;
    if (measurement.slips)
        asked.slips = SlipSet(*measurement.slips);
    const QString circuit = bench.circuit;
    return { QString::fromUtf16(unit), HiddenReading::None,
        [&row, asked, circuit](const Hm203 &scope, std::optional<double> answer) -> TaskVerdict {
            // A dark or unreadable screen first: that is what the student sees while the simulator works.
            if (Problem p = beamProblem(Look(scope)))
                return *p;
            if (scope.generator().hookup == Hookup::Circuit && scope.generator().circuit != circuit)
                return notMet(text(u"Vuelve a conectar el circuito de la tarea."),
                    text(u"Torna a connectar el circuit de la tasca."));
            if (scope.generator().hookup == Hookup::Circuit && !scope.circuitSettled())
                return notMet(text(u"El circuito se está simulando; espera un momento."),
                    text(u"El circuit s'està simulant; espera un moment."));
            return judgeMeasuring(row, scope, answer, asked);
        } };
}

template <const MeasuringTask &onI, const MeasuringTask &onII, const char16_t *unit>
std::optional<MeasuringParts> makeOnChannel(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    if (bench.hookup != Hookup::Circuit) {
        why = needsCircuit();
        return std::nullopt;
    }
    return circuitParts(measurement.channel == LabChannel::II ? onII : onI, measurement, bench, unit);
}

template <const MeasuringTask &row, const char16_t *unit>
std::optional<MeasuringParts> makeBetween(
    const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    return makeOnChannel<row, row, unit>(measurement, bench, why);
}

template <bool reverse>
std::optional<MeasuringParts> makeKnee(const LabMeasurement &measurement, const LabBench &bench, Wording &why)
{
    if (bench.testerPart.isEmpty()) {
        why = Wording::of(u"El codo se lee en la figura de una pieza: pon comprobador = \"…\" con su pieza.",
            u"El colze es llig en la figura d'una peça: posa comprobador = \"…\" amb la seua peça.");
        return std::nullopt;
    }
    Asked asked;
    asked.expected = measurement.expected;
    asked.tolerance = measurement.tolerance;
    if (measurement.slips)
        asked.slips = SlipSet(*measurement.slips);
    const QString part = bench.testerPart;
    return MeasuringParts { QStringLiteral("V"), HiddenReading::None,
        [asked, part](const Hm203 &scope, std::optional<double> answer) -> TaskVerdict {
            if (scope.generator().testerPart != part)
                return notMet(text(u"Vuelve a poner en el zócalo la pieza de la tarea."),
                    text(u"Torna a posar en el sòcol la peça de la tasca."));
            const TesterKnees knees = testerKnees(solveTester(testerPart(part)));
            if (!(reverse ? knees.reverse : knees.forward))
                return notMet(text(u"La figura de esta pieza no se dobla por ese lado."),
                    text(u"La figura d'esta peça no es doblega per eixe costat."));
            return judgeMeasuring(kKnee<reverse>, scope, answer, asked);
        } };
}

constexpr char16_t kVolts[] = u"V";
constexpr char16_t kHertz[] = u"Hz";
constexpr char16_t kDegrees[] = u"°";
constexpr char16_t kPercent[] = u"%";

} // namespace

std::span<const LabQuantity> circuitQuantities()
{
    static const LabQuantity quantities[] {
        { "pico", CheckValue::Volts, true, makeOnChannel<kPeakOn<false>, kPeakOn<true>, kVolts> },
        { "rizado", CheckValue::Volts, true, makeOnChannel<kRippleOn<false>, kRippleOn<true>, kVolts> },
        { "frecuencia_del_rizado", CheckValue::Hertz, true,
            makeOnChannel<kRippleFrequencyOn<false>, kRippleFrequencyOn<true>, kHertz> },
        { "relacion", CheckValue::Number, false, makeBetween<kRatio, kPercent> },
        { "retraso", CheckValue::Degrees, false, makeBetween<kLag, kDegrees> },
        { "codo_directo", CheckValue::Volts, false, makeKnee<false> },
        { "codo_inverso", CheckValue::Volts, false, makeKnee<true> },
    };
    return quantities;
}
