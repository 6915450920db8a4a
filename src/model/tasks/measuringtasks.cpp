#include "labcatalogue.h"
#include "measuringrows.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace TaskJudging;
using namespace MeasuringJudge;
using C = Hm203Control;
using MeasuringRows::tipPeakToPeak;
using MeasuringRows::tipSignal;

// Measuring a DC level: GD marks the zero line, DC shows how far the level lifts the trace.

constexpr MeasuringJudge::ReadyCheck kGeneratorReady[] { beamReady, hookupReady };

/** The sign slip first: the level's size read right, its direction not. */
Problem signSlip(const Look &, double typed, double expected, double tolerance)
{
    if (std::abs(typed + expected) > tolerance)
        return std::nullopt;
    return notMet(text(u"El valor es correcto, pero el signo no: fíjate en si la traza sube o baja al pasar "
                       u"de GD a DC."),
        text(u"El valor és correcte, però el signe no: fixa't si la traça puja o baixa en passar de GD a "
             u"DC."));
}
// A sign is not one of the slips a lab file lists: it is always told.
constexpr OwnSlip kDcLevelSlips[] { { signSlip } };

template <bool second>
constexpr MeasuringTask kDcLevelOn {
    .ready = kGeneratorReady,
    .ask = { u"Escribe la tensión continua que mides, en voltios.",
        u"Escriu la tensió contínua que mesures, en volts." },
    .fineKnob = second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI,
    .expected = [](const Look &look) { return tipSignal(look.scope, second).meanVolts(); },
    .tolerance
    = [](const Look &, double offset) { return std::max(0.15, kRelativeTolerance * std::abs(offset)); },
    .praise = [](double offset) -> Said {
        return { text(u"¡Correcto! La tensión continua vale %1 V.").arg(fixedDecimal(offset, 1)),
            text(u"Correcte! La tensió contínua val %1 V.").arg(fixedDecimal(offset, 1)) };
    },
    .slips = kDcLevelSlips,
    .measured = [](const Look &look, double offset) -> Measured {
        const Probe probe = second ? look.scope.generator().probeII : look.scope.generator().probeI;
        return { .castilian = u"la tensión continua",
            .valencian = u"la tensió contínua",
            .unit = u"V",
            .thousandth = u"mV",
            .probe = probe,
            .divisions = divisionsOfTipVolts(look.settings, probe, offset, second),
            .second = second };
    },
    .wrong = [](const Look &, const QString &typed) -> Said {
        const QString position = panelLabel(second ? C::YPositionII : C::YPositionI);
        return {
            text(u"Has escrito %1 V; no es la tensión continua de la señal. Con GD marca el cero con %2, "
                 u"pasa a DC y mide cuántas divisiones se desplaza la traza: multiplícalas por VOLTS/DIV.")
                .arg(typed, position),
            text(u"Has escrit %1 V; no és la tensió contínua del senyal. Amb GD marca el zero amb %2, passa "
                 u"a DC i mesura quantes divisions es desplaça la traça: multiplica-les per VOLTS/DIV.")
                .arg(typed, position)
        };
    },
};

// Measuring a peak-to-peak voltage: the divisions the trace spans from peak to peak, times VOLTS/DIV.

template <bool second>
constexpr MeasuringTask kPeakToPeakOn {
    .ready = kGeneratorReady,
    .ask = { u"Escribe la tensión de pico a pico que mides, en voltios.",
        u"Escriu la tensió de pic a pic que mesures, en volts." },
    .fineKnob = second ? Hm203Control::VoltsCalII : Hm203Control::VoltsCalI,
    .expected = [](const Look &look) { return tipPeakToPeak(tipSignal(look.scope, second)); },
    .tolerance = second ? tipVoltsToleranceII : tipVoltsTolerance,
    .praise = [](double vpp) -> Said {
        return { text(u"¡Correcto! La señal mide %1 Vpp.").arg(formatDecimal(vpp, kAsTyped)),
            text(u"Correcte! El senyal fa %1 Vpp.").arg(formatDecimal(vpp, kAsTyped)) };
    },
    .slips = {},
    .measured = [](const Look &look, double vpp) { return peakToPeakOn(look.scope, vpp, second); },
    .wrong = [](const Look &, const QString &typed) -> Said {
        const QString voltsDiv = panelLabel(second ? C::VoltsDivII : C::VoltsDivI);
        return { text(u"Has escrito %1 V; no coincide. Mide cuántas divisiones ocupa la traza de pico a pico "
                      u"y multiplícalas por %2.")
                     .arg(typed, voltsDiv),
            text(u"Has escrit %1 V; no coincideix. Mesura quantes divisions ocupa la traça de pic a pic i "
                 u"multiplica-les per %2.")
                .arg(typed, voltsDiv) };
    },
};

// Measuring a period: the divisions one period spans, times TIME/DIV.

/** A period asked in ms may come in s or µs; a frequency asked in Hz, in kHz. Both are read as the
 * divisions one period spans at the sweep shown. */
Measured measuredPeriod(const Look &look, double periodMs)
{
    return { .castilian = u"el periodo",
        .valencian = u"el període",
        .unit = u"ms",
        .thousandfold = u"s",
        .thousandth = u"µs",
        .period = PeriodRead::Period,
        .divisions = periodMs / 1000.0 / shownSecondsPerDiv(look.settings) };
}
Measured measuredFrequency(const Look &look, double frequency)
{
    return { .castilian = u"la frecuencia",
        .valencian = u"la freqüència",
        .unit = u"Hz",
        .thousandfold = u"kHz",
        .period = PeriodRead::Frequency,
        .divisions = 1.0 / frequency / shownSecondsPerDiv(look.settings) };
}

/** True when a typed value is within reading error of another quantity than the one asked. */
bool closeTo(double typed, double other)
{
    return std::abs(typed - other) <= kRelativeTolerance * std::abs(other);
}

/** The frequency typed where the period is asked, and the other way round. */
Problem frequencyForPeriod(const Look &, double typed, double periodMs, double)
{
    if (!closeTo(typed, 1000.0 / periodMs))
        return std::nullopt;
    return notMet(text(u"Eso es la frecuencia, en Hz; la tarea pide el periodo, en ms."),
        text(u"Això és la freqüència, en Hz; la tasca demana el període, en ms."));
}
Problem periodForFrequency(const Look &, double typed, double frequency, double)
{
    if (!closeTo(typed, 1000.0 / frequency))
        return std::nullopt;
    return notMet(text(u"Eso es el periodo, en ms; la tarea pide la frecuencia: f = 1/T, en Hz."),
        text(u"Això és el període, en ms; la tasca demana la freqüència: f = 1/T, en Hz."));
}
/** How a Lissajous figure gives the ratio of the frequencies, on the HM-203 with CH I up and down, CH II
 * sideways. */
Said lissajousRatio()
{
    return {
        text(
            u"fy/fx es el número de veces que la figura llega al borde de arriba entre el de veces que llega "
            u"al de la derecha, con fy la frecuencia de CH I y fx la de CH II."),
        text(u"fy/fx és el nombre de vegades que la figura arriba a la vora de dalt entre el de vegades que "
             u"arriba a la de la dreta, amb fy la freqüència de CH I i fx la de CH II.")
    };
}

/**
 * A frequency worked out from an X-Y figure against the other channel's known one, with the ratio upside
 * down: fy / fx is the number of times the figure touches a horizontal edge over the number of times it
 * touches a vertical one, and on the HM-203 CH I drives the beam up and down, CH II sideways. Read the other
 * way round, the answer is the known frequency squared over the right one. Nothing to tell where both
 * channels run at one frequency, as there the two ratios are the same.
 */
template <bool second>
Problem invertedRatio(const Look &look, double typed, double frequency, double tolerance)
{
    const double known = tipSignal(look.scope, !second).frequencyHz;
    if (!(frequency > 0.0) || std::abs(known - frequency) <= tolerance
        || !closeTo(typed, known * known / frequency))
        return std::nullopt;
    const Said rule = lissajousRatio();
    return notMet(text(u"Has invertido la razón de las frecuencias. ") + rule.castilian,
        text(u"Has invertit la raó de les freqüències. ") + rule.valencian);
}
constexpr OwnSlip kPeriodSlips[] { { frequencyForPeriod, ReadingSlip::Period } };
template <bool second>
constexpr OwnSlip kFrequencySlips[] { { periodForFrequency, ReadingSlip::Period },
    { invertedRatio<second>, ReadingSlip::Ratio } };

template <bool second>
constexpr MeasuringTask kPeriodOn {
    .ready = kGeneratorReady,
    .ask = { u"Escribe el periodo que mides, en ms.", u"Escriu el període que mesures, en ms." },
    .fineKnob = Hm203Control::TimeCal,
    .expected = [](const Look &look) { return 1000.0 / tipSignal(look.scope, second).frequencyHz; },
    .tolerance = relativeTolerance,
    .praise = [](double periodMs) -> Said {
        return { text(u"¡Correcto! El periodo vale %1 ms.").arg(formatDecimal(periodMs, kAsTyped)),
            text(u"Correcte! El període val %1 ms.").arg(formatDecimal(periodMs, kAsTyped)) };
    },
    .slips = kPeriodSlips,
    .measured = measuredPeriod,
    .wrong = [](const Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 ms; no coincide. Mide cuántas divisiones ocupa un periodo y "
                      u"multiplícalas por %2.")
                     .arg(typed, panelLabel(C::TimeDiv)),
            text(u"Has escrit %1 ms; no coincideix. Mesura quantes divisions ocupa un període i "
                 u"multiplica-les per %2.")
                .arg(typed, panelLabel(C::TimeDiv)) };
    },
};

// Measuring a frequency: the period read on the graticule, its inverse worked out.

template <bool second>
constexpr MeasuringTask kFrequencyOn {
    .ready = kGeneratorReady,
    .ask = { u"Escribe la frecuencia que mides, en Hz.", u"Escriu la freqüència que mesures, en Hz." },
    .fineKnob = Hm203Control::TimeCal,
    .expected = [](const Look &look) { return tipSignal(look.scope, second).frequencyHz; },
    .tolerance = relativeTolerance,
    .praise = [](double frequency) -> Said {
        return { text(u"¡Correcto! La frecuencia vale %1 Hz.").arg(formatDecimal(frequency, kAsTyped)),
            text(u"Correcte! La freqüència val %1 Hz.").arg(formatDecimal(frequency, kAsTyped)) };
    },
    .slips = kFrequencySlips<second>,
    .measured = measuredFrequency,
    .wrong = [](const Look &look, const QString &typed) -> Said {
        // In X-Y the frequencies are read off the figure, against the other channel's.
        if (look.settings.mode == DisplayMode::XY) {
            const Said rule = lissajousRatio();
            return { text(u"Has escrito %1 Hz; no coincide. ").arg(typed) + rule.castilian,
                text(u"Has escrit %1 Hz; no coincideix. ").arg(typed) + rule.valencian };
        }
        return { text(u"Has escrito %1 Hz; no coincide. Mide cuántas divisiones ocupa un periodo, "
                      u"multiplícalas por %2 para obtener T y calcula f = 1/T.")
                     .arg(typed, panelLabel(C::TimeDiv)),
            text(u"Has escrit %1 Hz; no coincideix. Mesura quantes divisions ocupa un període, "
                 u"multiplica-les per %2 per a obtindre T i calcula f = 1/T.")
                .arg(typed, panelLabel(C::TimeDiv)) };
    },
};

// X-Y: the phase read from the ellipse, sin φ = a / b.

// Beyond about 60° the ellipse barely changes with the phase, and a reading on the graticule says little.

} // namespace

TaskVerdict MeasuringRows::judgePhaseXY(const Hm203 &scope, std::optional<double> answer, const Asked &asked)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = sineProblem(look))
        return *p;
    if (look.settings.mode != DisplayMode::XY)
        return notMet(text(u"Pulsa %1 para ver la elipse.").arg(panelLabel(C::XY)),
            text(u"Polsa %1 per a veure l'el·lipse.").arg(panelLabel(C::XY)));
    if (Problem p = groundProblem(look.settings.channelI, false))
        return *p;
    if (Problem p = groundProblem(look.settings.channelII, true))
        return *p;
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (!extent->onGraticule())
        return notMet(text(u"La elipse se sale de la retícula: redúcela con VOLTS/DIV de los dos canales y "
                           u"céntrala con %1 y %2.")
                          .arg(panelLabel(C::YPositionI), panelLabel(C::XPosition)),
            text(u"L'el·lipse ix de la retícula: reduïx-la amb VOLTS/DIV dels dos canals i centra-la amb %1 "
                 u"i %2.")
                .arg(panelLabel(C::YPositionI), panelLabel(C::XPosition)));
    if (!answer)
        return askFor(u"Escribe el desfase que lees en la elipse, en grados.",
            u"Escriu el desfasament que lliges en l'el·lipse, en graus.");
    // The task asks for the phase between the generator's outputs. The ellipse shows the phase between
    // the deflections: an inverted channel adds 180° to it, and the ellipse leans the other way.
    const ScopeSettings &s = look.settings;
    const double generated = std::abs(asked.expected ? *asked.expected : scope.generator().phaseIIDegrees);
    const bool turned = s.channelI.inverted != s.channelII.inverted;
    const double shown = turned ? 180.0 - generated : generated;
    const double height = extent->height() / 2.0;
    // A lab file's margin stands for what the ellipse's height allows.
    const auto range = [&](double degrees) {
        return asked.tolerance ? PhaseRange { degrees - *asked.tolerance, degrees + *asked.tolerance }
                               : ellipsePhaseRange(degrees, height);
    };
    const PhaseRange readable = range(generated);
    const QString inverted = panelLabel(s.channelII.inverted ? C::InvertII : C::InvertI);
    if (readable.contains(std::abs(*answer))) {
        if (!turned)
            return met(text(u"¡Correcto! El desfase vale %1°.").arg(fixedDecimal(generated, 0)),
                text(u"Correcte! El desfasament val %1°.").arg(fixedDecimal(generated, 0)));
        return met(
            text(u"¡Correcto! Entre las salidas del generador hay %1°; con %2 pulsado la elipse se inclina "
                 u"hacia el otro lado, como para 180° − %1° = %3°.")
                .arg(fixedDecimal(generated, 0), inverted, fixedDecimal(shown, 0)),
            text(u"Correcte! Entre les eixides del generador hi ha %1°; amb %2 polsat l'el·lipse s'inclina "
                 u"cap a l'altre costat, com per a 180° − %1° = %3°.")
                .arg(fixedDecimal(generated, 0), inverted, fixedDecimal(shown, 0)));
    }
    if (turned && range(shown).contains(std::abs(*answer)))
        return notMet(
            text(u"Eso es lo que muestra la elipse, no el desfase entre las salidas: %1 invierte el "
                 u"canal, lo que equivale a desfasarlo 180°, y la elipse se inclina hacia el otro lado. "
                 u"Réstalo de "
                 u"180°, o suelta %1 y léela de nuevo.")
                .arg(inverted),
            text(u"Això és el que mostra l'el·lipse, no el desfasament entre les eixides: %1 invertix el "
                 u"canal, cosa que equival a desfasar-lo 180°, i l'el·lipse s'inclina cap a l'altre costat. "
                 u"Resta-ho de "
                 u"180°, o deixa anar %1 i torna a llegir-la.")
                .arg(inverted));
    if (asked.slips.has(ReadingSlip::Unit))
        if (Problem p = sineRatioProblem(*answer, readable))
            return *p;
    return notMet(text(u"Has escrito %1°, pero la elipse da otro desfase: sen φ = a/b, con a el corte de la "
                       u"elipse con el eje vertical y b su altura máxima, ambos medidos desde el centro.")
                      .arg(formatDecimal(*answer, kAsTyped)),
        text(u"Has escrit %1°, però l'el·lipse dona un altre desfasament: sen φ = a/b, amb a el tall de "
             u"l'el·lipse amb l'eix vertical i b la seua altura màxima, tots dos mesurats des del centre.")
            .arg(formatDecimal(*answer, kAsTyped)));
}

namespace {

// The practice circuit: the voltage across R leads the input by atan(1 / ωRC).

/** How far the voltage across R leads the generator's, in degrees, at the generator's frequency. */
double rcLeadDegrees(double frequencyHz)
{
    const double omegaRc = 2.0 * std::numbers::pi * frequencyHz * PracticeCircuit::timeConstant;
    return std::atan2(1.0, omegaRc) * 180.0 / std::numbers::pi;
}

/**
 * The complementary angle, 90° − φ, typed for the lead: how far the capacitor's voltage lags Ue. Nothing
 * where its readings meet the right ones, as they do near 45°.
 */
Problem complementProblem(double typed, const PhaseRange &readable, bool ellipse)
{
    const PhaseRange complement { 90.0 - readable.high, 90.0 - readable.low };
    if (!complement.contains(typed) || (complement.low <= readable.high && readable.low <= complement.high))
        return std::nullopt;
    const QString es = ellipse
        ? text(u"sen φ = a/b, con a el corte de la elipse con el eje vertical y b su altura máxima")
        : text(u"φ = 360° · Δt / T, con Δt entre los pasos por cero de Ue y Ur");
    const QString va = ellipse
        ? text(u"sen φ = a/b, amb a el tall de l'el·lipse amb l'eix vertical i b la seua altura màxima")
        : text(u"φ = 360° · Δt / T, amb Δt entre els passos per zero d'Ue i Ur");
    return notMet(
        text(u"Eso es el complementario del adelanto, 90° − φ: lo que la tensión del condensador va "
             u"retrasada respecto a Ue. La tarea pide el adelanto de Ur, la tensión en la "
             u"resistencia: %1.")
            .arg(es),
        text(u"Això és el complementari de l'avançament, 90° − φ: el que la tensió del condensador va "
             u"retardada respecte a Ue. La tasca demana l'avançament d'Ur, la tensió en la resistència: %1.")
            .arg(va));
}

} // namespace

TaskVerdict MeasuringRows::judgeRcLead(const Hm203 &scope, std::optional<double> answer, const Asked &asked)
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
    const double lead = asked.expected ? *asked.expected : rcLeadDegrees(scope.generator().frequencyHz);
    // What the reading allows depends on how large the student shows it: the ellipse in X-Y, or the
    // period on the time base in DUAL.
    const ScopeSettings &s = look.settings;
    PhaseRange readable;
    if (asked.tolerance) {
        readable = { lead - *asked.tolerance, lead + *asked.tolerance };
    } else if (s.mode == DisplayMode::XY) {
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
    if (Problem p = complementProblem(*answer, readable, s.mode == DisplayMode::XY))
        return *p;
    if (s.mode == DisplayMode::XY && asked.slips.has(ReadingSlip::Unit))
        if (Problem p = sineRatioProblem(*answer, readable))
            return *p;
    return notMet(
        text(u"Has escrito %1°; no es el adelanto de Ur. En %2, mide la distancia Δt entre los pasos "
             u"por cero de las dos señales y el periodo T: φ = 360° · Δt / T.")
            .arg(formatDecimal(*answer, kAsTyped), panelLabel(C::Dual)),
        text(u"Has escrit %1°; no és l'avançament d'Ur. En %2, mesura la distància Δt entre els passos per "
             u"zero dels dos senyals i el període T: φ = 360° · Δt / T.")
            .arg(formatDecimal(*answer, kAsTyped), panelLabel(C::Dual)));
}

namespace {

} // namespace

const MeasuringTask &MeasuringRows::peakToPeak(bool second)
{
    return second ? kPeakToPeakOn<true> : kPeakToPeakOn<false>;
}

const MeasuringTask &MeasuringRows::dcLevel(bool second)
{
    return second ? kDcLevelOn<true> : kDcLevelOn<false>;
}

const MeasuringTask &MeasuringRows::period(bool second)
{
    return second ? kPeriodOn<true> : kPeriodOn<false>;
}

const MeasuringTask &MeasuringRows::frequency(bool second)
{
    return second ? kFrequencyOn<true> : kFrequencyOn<false>;
}

InputSignal MeasuringRows::tipSignal(const Hm203 &scope, bool second)
{
    return second ? scope.signalII() : scope.signalI();
}

double MeasuringRows::tipPeakToPeak(const InputSignal &signal)
{
    if (!(signal.highPassSeconds > 0.0))
        return signal.amplitudeVpp;
    // Behind the high-pass the waveform's shape changes (a square's corners spike, a sine shrinks): its
    // swing over one steady period, sampled finely enough for the spikes' tops.
    const double period = 1.0 / signal.frequencyHz;
    constexpr int samples = 4000;
    double low = signal.waveformAt(0.0);
    double high = low;
    for (int i = 1; i < samples; ++i) {
        const double v = signal.waveformAt(period * i / samples);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return high - low;
}
