#include "benchchecks.h"
#include "measuringrows.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include "scopesettings.h"

#include <array>
#include <cmath>
#include <numbers>
#include <span>

namespace {

using namespace TaskJudging;
using namespace MeasuringJudge;
using C = Hm203Control;

// Measuring through the ×10 probe: the screen shows a tenth of the voltage at the tip.

constexpr ReadyCheck kProbeReady[] { beamReady, hookupReady, times10Ready };

constexpr MeasuringTask kProbeVoltage {
    .ready = kProbeReady,
    .ask = { u"Escribe la tensión de pico a pico en la punta de la sonda, en voltios.",
        u"Escriu la tensió de pic a pic a la punta de la sonda, en volts." },
    .fineKnob = Hm203Control::VoltsCalI,
    .expected =
        [](const Look &look) {
            return MeasuringRows::tipPeakToPeak(MeasuringRows::tipSignal(look.scope, false));
        },
    .tolerance = tipVoltsTolerance,
    .praise = [](double tip) -> Said {
        return { text(u"¡Correcto! En la punta hay %1 Vpp.").arg(fixedDecimal(tip, 0)),
            text(u"Correcte! A la punta hi ha %1 Vpp.").arg(fixedDecimal(tip, 0)) };
    },
    .slips = {},
    .measured = [](const Look &look, double tip) { return peakToPeakI(look.scope, tip); },
    .wrong = [](const Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 V; no coincide. Mide cuántas divisiones ocupa la traza de pico a "
                      u"pico, multiplícalas por VOLTS/DIV y por 10, lo que divide la sonda.")
                     .arg(typed),
            text(u"Has escrit %1 V; no coincideix. Mesura quantes divisions ocupa la traça de pic a pic, "
                 u"multiplica-les per VOLTS/DIV i per 10, el que dividix la sonda.")
                .arg(typed) };
    },
};

// The rise time: a fast square's edge, spread by X-MAG, read from 10 to 90 % of its height.

constexpr double kRiseSquareHz = 1e6;
/** The fastest sweep the HM-203 shows: 0,5 µs/div spread ten times by X-MAG, 50 ns a division. */
constexpr double kFastestTimeDiv = 0.5e-6;
constexpr double kFastestShown = kFastestTimeDiv / 10.0;
/** The rise time of our technical data, the generator's edges, and both one after the other. */
constexpr double kAmplifierRiseNs = 17.5;
constexpr double kGeneratorRiseNs = GeneratorEdges::riseSeconds * 1e9;
const double kCombinedRiseNs = std::hypot(kAmplifierRiseNs, kGeneratorRiseNs);
/** A rise asked in ns may come in µs. */
constexpr Measured kRiseNs { .castilian = u"el tiempo de subida",
    .valencian = u"el temps de pujada",
    .unit = u"ns",
    .thousandfold = u"µs" };

namespace {

/** The 10 to 90 % rise of channel I's rising edge, as the trace draws it. */
double shownRiseSeconds(const ChannelSettings &channel)
{
    const InputSignal &signal = channel.signal;
    const double period = signal.periodSeconds();
    if (!(period > 0.0))
        return 0.0;
    // The edge comes at the period's start, late by the path's delay; a quarter period either side it
    // has settled.
    const double edge = signal.delaySeconds;
    const double low = signal.waveformAt(edge - period / 4.0);
    const double high = signal.waveformAt(edge + period / 4.0);
    const double step = period / 20000.0;
    std::optional<double> t10;
    for (double t = edge - period / 4.0; t <= edge + period / 4.0; t += step) {
        const double share = (signal.waveformAt(t) - low) / (high - low);
        if (!t10 && share >= 0.1)
            t10 = t;
        if (t10 && share >= 0.9)
            return t - *t10;
    }
    return 0.0;
}

/** Whether channel I's trace climbs through the middle of its height somewhere on the face: a rising edge
 * the student can read. */
bool risingEdgeShown(const Look &look)
{
    const ChannelSettings &channel = look.settings.channelI;
    const double period = channel.signal.periodSeconds();
    const double edge = channel.signal.delaySeconds;
    const double middle
        = (channelDivisions(channel, edge - period / 4.0) + channelDivisions(channel, edge + period / 4.0))
        / 2.0;
    const QRectF face = ScreenGeometry::visibleArea();
    for (const Trace &trace : look.traces.traces) {
        if (trace.kind != TraceKind::ChannelI)
            continue;
        for (qsizetype i = 0; i + 1 < trace.points.size(); ++i) {
            const QPointF &a = trace.points.at(i);
            const QPointF &b = trace.points.at(i + 1);
            if (a.y() < middle && b.y() >= middle && b.x() >= face.left() && a.x() <= face.right())
                return true;
        }
    }
    return false;
}

} // namespace

/** The edge spread enough to read: at the fastest sweep, a division of 50 ns. */
Problem sweepReady(const Look &look, Hookup)
{
    const double perDiv = shownSecondsPerDiv(look.settings);
    if (perDiv <= kFastestShown * 1.001)
        return std::nullopt;
    const double rise = shownRiseSeconds(look.settings.channelI);
    const QString shown = formatQuantity(perDiv, QStringLiteral("s"));
    const QString spread = fixedDecimal(rise / perDiv, 2);
    const QString timeDiv = panelLabel(C::TimeDiv);
    const QString fastest = formatSecondsPerDiv(kFastestTimeDiv);
    const QString magnifier = panelLabel(C::XMagnifier);
    return notMet(text(u"A %1 por división el flanco ocupa %2 divisiones y no se puede leer: pon %3 en %4 y "
                       u"pulsa %5.")
                      .arg(shown, spread, timeDiv, fastest, magnifier),
        text(u"A %1 per divisió el flanc ocupa %2 divisions i no es pot llegir: posa %3 en %4 i polsa %5.")
            .arg(shown, spread, timeDiv, fastest, magnifier));
}

/** A rising edge on the face, where the student reads it. */
Problem edgeReady(const Look &look, Hookup)
{
    if (risingEdgeShown(look))
        return std::nullopt;
    return notMet(
        text(u"En la pantalla no hay ningún flanco de subida: gira %1 hacia la derecha hasta ver el "
             u"comienzo de la traza, donde el flanco de subida dispara el barrido.")
            .arg(panelLabel(C::XPosition)),
        text(u"En la pantalla no hi ha cap flanc de pujada: gira %1 cap a la dreta fins a veure el "
             u"començament "
             u"de la traça, on el flanc de pujada dispara l'escombratge.")
            .arg(panelLabel(C::XPosition)));
}

/** Read on TIME/DIV's own scale, the edge comes out ten times too slow. */
Problem magnifierSlip(const Look &look, double typed, double riseNs, double tolerance)
{
    if (!look.settings.xMagnified || typed <= 5.0 * riseNs
        || std::abs(typed - 10.0 * riseNs) > 10.0 * tolerance)
        return std::nullopt;
    return notMet(
        text(u"Con %1 cada división vale la décima parte de lo que marca %2: %3 son %4 por división.")
            .arg(panelLabel(C::XMagnifier), panelLabel(C::TimeDiv), formatSecondsPerDiv(kFastestTimeDiv),
                formatQuantity(kFastestShown, QStringLiteral("s"))),
        text(u"Amb %1 cada divisió val la desena part del que marca %2: %3 són %4 per divisió.")
            .arg(panelLabel(C::XMagnifier), panelLabel(C::TimeDiv), formatSecondsPerDiv(kFastestTimeDiv),
                formatQuantity(kFastestShown, QStringLiteral("s"))));
}

constexpr ReadyCheck kRiseReady[] { steadyChannelIReady, graticuleReady, sweepReady, edgeReady };
// Reading the division's value off the wrong scale is the unit's slip.
constexpr OwnSlip kRiseSlips[] { { magnifierSlip, ReadingSlip::Unit } };

constexpr MeasuringTask kRiseTime {
    .ready = kRiseReady,
    .ask = { u"Escribe el tiempo de subida del 10 al 90 % de la altura, en ns.",
        u"Escriu el temps de pujada del 10 al 90 % de l'altura, en ns." },
    .fineKnob = Hm203Control::TimeCal,
    .expected = [](const Look &look) { return shownRiseSeconds(look.settings.channelI) * 1e9; },
    // Each end of the edge read within a quarter division.
    .tolerance
    = [](const Look &look, double) { return kDivisionTolerance * shownSecondsPerDiv(look.settings) * 1e9; },
    .praise = [](double riseNs) -> Said {
        return { text(u"¡Correcto! El flanco sube en unos %1 ns, un poco más que los %2 ns del amplificador: "
                      u"los %3 ns del generador apenas cuentan, porque se suman los cuadrados de los tiempos "
                      u"de subida (t² = t₁² + t₂²): √(%2² + %3²) ≈ %4 ns.")
                     .arg(fixedDecimal(riseNs, 0), formatDecimal(kAmplifierRiseNs),
                         formatDecimal(kGeneratorRiseNs), formatDecimal(kCombinedRiseNs)),
            text(u"Correcte! El flanc puja en uns %1 ns, un poc més que els %2 ns de l'amplificador: els "
                 u"%3 ns del generador amb prou feines compten, perquè se sumen els quadrats dels temps de "
                 u"pujada (t² = t₁² + t₂²): √(%2² + %3²) ≈ %4 ns.")
                .arg(fixedDecimal(riseNs, 0), formatDecimal(kAmplifierRiseNs),
                    formatDecimal(kGeneratorRiseNs), formatDecimal(kCombinedRiseNs)) };
    },
    .slips = kRiseSlips,
    .measured = [](const Look &, double) { return kRiseNs; },
    .wrong = [](const Look &, const QString &typed) -> Said {
        return { text(u"Has escrito %1 ns; no coincide. Lleva la base y el techo de la onda a dos líneas de "
                      u"la retícula y mide el tiempo entre el 10 y el 90 % de la altura.")
                     .arg(typed),
            text(u"Has escrit %1 ns; no coincideix. Porta la base i el sostre de l'ona a dues línies de la "
                 u"retícula i mesura el temps entre el 10 i el 90 % de l'altura.")
                .arg(typed) };
    },
};

} // namespace

const MeasuringTask &MeasuringRows::probeVoltage()
{
    return kProbeVoltage;
}

const MeasuringTask &MeasuringRows::riseTime()
{
    return kRiseTime;
}
