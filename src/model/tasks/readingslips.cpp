#include "taskjudging.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// The slips a typed reading shows: what the student most likely did, told without the right value.

namespace TaskJudging {

namespace {

/** A unit slip: the typed number read in another unit a thousand times larger or smaller. */
TaskVerdict unitSlip(double typed, double factor, const char16_t *slipped, const Measured &measured)
{
    const QString as = formatDecimal(typed, kAsTyped);
    const QString meant = formatDecimal(typed * factor, kAsTyped);
    return notMet(text(u"Parece que has escrito %1 en %2: %3 %2 son %4 %5. Escribe el valor en %5.")
                      .arg(text(measured.castilian), text(slipped), as, meant, text(measured.unit)),
        text(u"Sembla que has escrit %1 en %2: %3 %2 són %4 %5. Escriu el valor en %5.")
            .arg(text(measured.valencian), text(slipped), as, meant, text(measured.unit)));
}

/** Divisions typed for the quantity, and what turns them into it. */
TaskVerdict divisionsSlip(const Measured &measured)
{
    if (measured.period == PeriodRead::Frequency)
        return notMet(text(u"Parece que has escrito las divisiones que ocupa un periodo, no la frecuencia: "
                           u"multiplícalas por TIME/DIV para obtener T y calcula f = 1/T."),
            text(u"Sembla que has escrit les divisions que ocupa un període, no la freqüència: "
                 u"multiplica-les per TIME/DIV per a obtindre T i calcula f = 1/T."));
    if (measured.period == PeriodRead::Period)
        return notMet(text(u"Parece que has escrito divisiones, no %1 en %2: multiplícalas por TIME/DIV.")
                          .arg(text(measured.castilian), text(measured.unit)),
            text(u"Sembla que has escrit divisions, no %1 en %2: multiplica-les per TIME/DIV.")
                .arg(text(measured.valencian), text(measured.unit)));
    const bool times10 = measured.probe == Probe::Times10;
    return notMet(text(u"Parece que has escrito divisiones, no %1 en %2: multiplícalas por VOLTS/DIV I%3.")
                      .arg(text(measured.castilian), text(measured.unit),
                          times10 ? text(u" y por 10, lo que divide la sonda") : QString()),
        text(u"Sembla que has escrit divisions, no %1 en %2: multiplica-les per VOLTS/DIV I%3.")
            .arg(text(measured.valencian), text(measured.unit),
                times10 ? text(u" i per 10, el que dividix la sonda") : QString()));
}

} // namespace

Problem readingSlipProblem(double typed, double expected, double tolerance, const Measured &measured)
{
    // The factor that puts the slip right, applied to what was typed.
    const auto slip = [=](double factor) { return std::abs(typed * factor - expected) <= tolerance; };
    const bool times10 = measured.probe == Probe::Times10;
    if (times10 && slip(Probes::times10Ratio))
        return notMet(text(u"Eso es lo que muestra la pantalla: la sonda ×10 divide por 10 la tensión de la "
                           u"punta. Multiplica tu lectura por 10."),
            text(u"Això és el que mostra la pantalla: la sonda ×10 dividix per 10 la tensió de la punta. "
                 u"Multiplica la teua lectura per 10."));
    if (times10 && slip(1.0 / Probes::times10Ratio))
        return notMet(text(u"Has multiplicado por 10 dos veces: la lectura de la pantalla por 10 ya es la "
                           u"tensión en la punta de la sonda ×10."),
            text(
                u"Has multiplicat per 10 dues vegades: la lectura de la pantalla per 10 ja és la tensió a la "
                u"punta de la sonda ×10."));
    if (measured.peakToPeak && slip(2.0))
        return notMet(
            text(u"Eso es la tensión de pico, la mitad de la de pico a pico: mide la traza de un pico "
                 u"al otro."),
            text(u"Això és la tensió de pic, la meitat de la de pic a pic: mesura la traça d'un pic a "
                 u"l'altre."));
    if (measured.peakToPeak && slip(0.5))
        return notMet(
            text(u"Eso es el doble de la tensión de pico a pico: la altura de la traza de un pico al "
                 u"otro, por VOLTS/DIV, ya la da."),
            text(u"Això és el doble de la tensió de pic a pic: l'altura de la traça d'un pic a l'altre, per "
                 u"VOLTS/DIV, ja la dona."));
    // A voltmeter's reading of a sine: its peak over √2, a peak-to-peak's 1 / (2√2).
    if (measured.peakToPeak && measured.sine && slip(2.0 * std::numbers::sqrt2)) {
        const QString rms = formatDecimal(1.0 / std::numbers::sqrt2, { .significantDigits = 3 });
        return notMet(
            text(u"Eso parece el valor eficaz, %1 de la tensión de pico, el que da un voltímetro "
                 u"de alterna: la tarea pide la tensión de pico a pico, la altura de la traza de un "
                 u"pico al otro por VOLTS/DIV.")
                .arg(rms),
            text(u"Això sembla el valor eficaç, %1 de la tensió de pic, el que dona un voltímetre d'altern: "
                 u"la tasca demana la tensió de pic a pic, l'altura de la traça d'un pic a l'altre per "
                 u"VOLTS/DIV.")
                .arg(rms));
    }
    if (measured.period == PeriodRead::Period && slip(2.0))
        return notMet(text(u"Eso es medio periodo: de un paso por cero al siguiente la señal solo hace medio "
                           u"ciclo. Mide entre dos pasos por cero en el mismo sentido."),
            text(u"Això és mig període: d'un pas per zero al següent el senyal només fa mig cicle. Mesura "
                 u"entre dos passos per zero en el mateix sentit."));
    if (measured.period == PeriodRead::Frequency && slip(0.5))
        return notMet(
            text(u"Eso es el doble de la frecuencia: has tomado por periodo medio periodo, de un paso "
                 u"por cero al siguiente. Mide T entre dos pasos por cero en el mismo sentido y "
                 u"calcula f = 1/T."),
            text(u"Això és el doble de la freqüència: has pres per període mig període, d'un pas per zero al "
                 u"següent. Mesura T entre dos passos per zero en el mateix sentit i calcula f = 1/T."));
    if (measured.thousandfold && slip(1000.0))
        return unitSlip(typed, 1000.0, measured.thousandfold, measured);
    if (measured.thousandth && slip(1e-3))
        return unitSlip(typed, 1e-3, measured.thousandth, measured);
    // Divisions typed as read: a quarter division either way, as any length on the graticule. Where the
    // scale makes them near the right value, a reading between the two says nothing of which was meant.
    const double divisions = measured.divisions;
    if (divisions != 0.0 && std::abs(typed - divisions) <= kDivisionTolerance
        && std::abs(expected - divisions) > tolerance + kDivisionTolerance)
        return divisionsSlip(measured);
    return std::nullopt;
}

Measured peakToPeakI(const Hm203 &scope, double tipVolts)
{
    const Probe probe = scope.generator().probeI;
    return { .castilian = u"la tensión de pico a pico",
        .valencian = u"la tensió de pic a pic",
        .unit = u"V",
        .thousandth = u"mV",
        .probe = probe,
        .peakToPeak = true,
        .sine = scope.generator().waveform == Waveform::Sine,
        .divisions = divisionsOfTipVolts(scope.scopeSettings(), probe, tipVolts) };
}

double divisionsOfTipVolts(const ScopeSettings &settings, Probe probe, double volts)
{
    const double ratio = probe == Probe::Times10 ? Probes::times10Ratio : 1.0;
    return volts / ratio / settings.channelI.voltsPerDiv;
}

Problem sineRatioProblem(double typed, const PhaseRange &readable)
{
    // The ratios the readings behind the right angles give: the sine rises to 1 at 90° and falls beyond.
    const double nearest = std::min(std::abs(readable.low), std::abs(readable.high));
    const double farthest = std::max(std::abs(readable.low), std::abs(readable.high));
    const auto sine = [](double degrees) { return std::sin(degrees * std::numbers::pi / 180.0); };
    const double low = std::min(sine(nearest), sine(farthest));
    const double high = nearest <= 90.0 && farthest >= 90.0 ? 1.0 : std::max(sine(nearest), sine(farthest));
    const double ratio = std::abs(typed);
    // Below a degree an angle could be its own sine's reading: nothing to tell apart.
    if (ratio < low - 1e-9 || ratio > high + 1e-9 || nearest <= high)
        return std::nullopt;
    return notMet(text(u"Eso es el cociente a/b, el seno del desfase, no el desfase: el desfase es el ángulo "
                       u"cuyo seno vale a/b, φ = arcsen(a/b), en grados."),
        text(u"Això és el quocient a/b, el sinus del desfasament, no el desfasament: el desfasament és "
             u"l'angle "
             u"el sinus del qual val a/b, φ = arcsen(a/b), en graus."));
}

double tipVoltsTolerance(const Look &look, double volts)
{
    const double ratio = look.scope.generator().probeI == Probe::Times10 ? Probes::times10Ratio : 1.0;
    return std::max(kRelativeTolerance * std::abs(volts),
        ratio * kDivisionTolerance * look.settings.channelI.voltsPerDiv);
}

} // namespace TaskJudging
