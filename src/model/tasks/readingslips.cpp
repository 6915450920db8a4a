#include "taskjudging.h"

#include "labcatalogue.h"

#include <algorithm>
#include <cmath>
#include <functional>
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
    const QString voltsDiv
        = text(controlInfo(measured.second ? Hm203Control::VoltsDivII : Hm203Control::VoltsDivI).label);
    return notMet(text(u"Parece que has escrito divisiones, no %1 en %2: multiplícalas por %4%3.")
                      .arg(text(measured.castilian), text(measured.unit),
                          times10 ? text(u" y por 10, lo que divide la sonda") : QString(), voltsDiv),
        text(u"Sembla que has escrit divisions, no %1 en %2: multiplica-les per %4%3.")
            .arg(text(measured.valencian), text(measured.unit),
                times10 ? text(u" i per 10, el que dividix la sonda") : QString(), voltsDiv));
}

/** The peak-to-peak typed for the amplitude, or a sine's rms value: the slips of a peak voltage. */
Problem peakSlip(const Measured &measured, const std::function<bool(double)> &slip)
{
    if (slip(0.5))
        return notMet(text(u"Eso es la tensión de pico a pico, el doble de la amplitud: mide desde la línea "
                           u"media de la traza hasta un pico."),
            text(u"Això és la tensió de pic a pic, el doble de l'amplitud: mesura des de la línia mitjana de "
                 u"la traça fins a un pic."));
    if (measured.sine && slip(std::numbers::sqrt2)) {
        const QString rms = formatDecimal(1.0 / std::numbers::sqrt2, { .significantDigits = 3 });
        return notMet(
            text(u"Eso parece el valor eficaz, %1 de la tensión de pico, el que da un voltímetro de "
                 u"alterna: la tarea pide la amplitud, la tensión de pico, la mitad de la altura de "
                 u"la traza por VOLTS/DIV.")
                .arg(rms),
            text(u"Això sembla el valor eficaç, %1 de la tensió de pic, el que dona un voltímetre d'altern: "
                 u"la "
                 u"tasca demana l'amplitud, la tensió de pic, la meitat de l'altura de la traça per "
                 u"VOLTS/DIV.")
                .arg(rms));
    }
    return std::nullopt;
}

} // namespace

SlipSet::SlipSet(const QList<ReadingSlip> &slips)
    : m_bits(0u)
{
    for (ReadingSlip slip : slips)
        m_bits |= 1u << unsigned(slip);
}

Problem readingSlipProblem(double typed, double expected, double tolerance, const Measured &measured)
{
    // The factor that puts the slip right, applied to what was typed.
    const auto slip = [=](double factor) { return std::abs(typed * factor - expected) <= tolerance; };
    const SlipSet &told = measured.slips;
    const bool times10 = measured.probe == Probe::Times10 && told.has(ReadingSlip::Probe);
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
    const bool peakToPeak = measured.peakToPeak && told.has(ReadingSlip::Peak);
    if (measured.peak && told.has(ReadingSlip::Peak))
        if (Problem p = peakSlip(measured, slip))
            return p;
    if (peakToPeak && slip(2.0))
        return notMet(
            text(u"Eso es la tensión de pico, la mitad de la de pico a pico: mide la traza de un pico "
                 u"al otro."),
            text(u"Això és la tensió de pic, la meitat de la de pic a pic: mesura la traça d'un pic a "
                 u"l'altre."));
    if (peakToPeak && slip(0.5))
        return notMet(
            text(u"Eso es el doble de la tensión de pico a pico: la altura de la traza de un pico al "
                 u"otro, por VOLTS/DIV, ya la da."),
            text(u"Això és el doble de la tensió de pic a pic: l'altura de la traça d'un pic a l'altre, per "
                 u"VOLTS/DIV, ja la dona."));
    // A voltmeter's reading of a sine: its peak over √2, a peak-to-peak's 1 / (2√2).
    if (peakToPeak && measured.sine && slip(2.0 * std::numbers::sqrt2)) {
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
    const PeriodRead period = told.has(ReadingSlip::Period) ? measured.period : PeriodRead::No;
    if (period == PeriodRead::Period && slip(2.0))
        return notMet(text(u"Eso es medio periodo: de un paso por cero al siguiente la señal solo hace medio "
                           u"ciclo. Mide entre dos pasos por cero en el mismo sentido."),
            text(u"Això és mig període: d'un pas per zero al següent el senyal només fa mig cicle. Mesura "
                 u"entre dos passos per zero en el mateix sentit."));
    if (period == PeriodRead::Frequency && slip(0.5))
        return notMet(
            text(u"Eso es el doble de la frecuencia: has tomado por periodo medio periodo, de un paso "
                 u"por cero al siguiente. Mide T entre dos pasos por cero en el mismo sentido y "
                 u"calcula f = 1/T."),
            text(u"Això és el doble de la freqüència: has pres per període mig període, d'un pas per zero al "
                 u"següent. Mesura T entre dos passos per zero en el mateix sentit i calcula f = 1/T."));
    if (!told.has(ReadingSlip::Unit))
        return std::nullopt;
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
    return peakToPeakOn(scope, tipVolts, false);
}

Measured peakToPeakOn(const Hm203 &scope, double tipVolts, bool second)
{
    const Probe probe = second ? scope.generator().probeII : scope.generator().probeI;
    return { .castilian = u"la tensión de pico a pico",
        .valencian = u"la tensió de pic a pic",
        .unit = u"V",
        .thousandth = u"mV",
        .probe = probe,
        .peakToPeak = true,
        .sine = (second ? scope.signalII() : scope.signalI()).waveform == Waveform::Sine,
        .divisions = divisionsOfTipVolts(scope.scopeSettings(), probe, tipVolts, second),
        .second = second };
}

double divisionsOfTipVolts(const ScopeSettings &settings, Probe probe, double volts, bool second)
{
    const double ratio = probe == Probe::Times10 ? Probes::times10Ratio : 1.0;
    return volts / ratio / (second ? settings.channelII : settings.channelI).voltsPerDiv;
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

namespace {

double tipVoltsToleranceOn(const Look &look, double volts, bool second)
{
    const Probe probe = second ? look.scope.generator().probeII : look.scope.generator().probeI;
    const double ratio = probe == Probe::Times10 ? Probes::times10Ratio : 1.0;
    const ChannelSettings &channel = second ? look.settings.channelII : look.settings.channelI;
    return std::max(kRelativeTolerance * std::abs(volts), ratio * kDivisionTolerance * channel.voltsPerDiv);
}

} // namespace

double tipVoltsTolerance(const Look &look, double volts)
{
    return tipVoltsToleranceOn(look, volts, false);
}

double tipVoltsToleranceII(const Look &look, double volts)
{
    return tipVoltsToleranceOn(look, volts, true);
}

} // namespace TaskJudging
