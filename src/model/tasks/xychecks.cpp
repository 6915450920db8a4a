#include "labcatalogue.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include <cmath>
#include <optional>

// The checks of a Lissajous figure: two sines at frequencies in a ratio of small whole numbers drawing each
// other in X-Y, CH I up and down, CH II sideways.

namespace {

using namespace TaskJudging;
using C = Hm203Control;

/** The beat between CH II's frequency and the one the ratio asks for, below which the figure turns through
 * a whole cycle in more than a minute and a half: the eye takes it as standing still. */
constexpr double kSteadyBeatHz = 0.01;
/** The most cycles of either signal a figure is counted over before it closes. */
constexpr int kMostCycles = 20;

/** A ratio of CH II's frequency to CH I's: "2", "1,5". */
QString ratioText(double ratio)
{
    return formatDecimal(ratio, { .decimals = 2 });
}

/** The cycles of CH I and of CH II after which a figure with CH II at ratio times CH I's frequency closes:
 * the times it touches a horizontal edge and a vertical one. Nothing for a ratio of no small numbers. */
std::optional<std::pair<int, int>> cyclesToClose(double ratio)
{
    for (int vertical = 1; vertical <= kMostCycles; ++vertical) {
        const double horizontal = ratio * vertical;
        if (std::abs(horizontal - std::round(horizontal)) < 1e-6 && std::round(horizontal) >= 1.0)
            return std::pair { vertical, int(std::round(horizontal)) };
    }
    return std::nullopt;
}

Problem figureCheck(const Look &look, const LabBench &, const CheckArgs &args)
{
    if (Problem p = xyFigureProblem(look))
        return p;
    const ScopeSettings &s = look.settings;
    if (Problem p = groundProblem(s.channelI, false))
        return p;
    if (Problem p = groundProblem(s.channelII, true))
        return p;
    for (const bool second : { false, true }) {
        const ChannelSettings &channel = second ? s.channelII : s.channelI;
        if (!channel.signal.isAlternating() || channel.signal.waveform != Waveform::Sine)
            return notMet(text(u"La figura se dibuja con dos señales senoidales: %1 no recibe ninguna.")
                              .arg(second ? QStringLiteral("CH II") : QStringLiteral("CH I")),
                text(u"La figura es dibuixa amb dos senyals sinusoïdals: %1 no en rep cap.")
                    .arg(second ? QStringLiteral("CH II") : QStringLiteral("CH I")));
    }
    const double vertical = s.channelI.signal.frequencyHz;
    const double horizontal = s.channelII.signal.frequencyHz;
    const double wanted = args.value;
    const double ratio = horizontal / vertical;
    if (!(std::abs(ratio - wanted) <= kRelativeTolerance * wanted))
        return notMet(
            text(u"La frecuencia de CH II (eje X) entre la de CH I (eje Y) es %1; la figura pedida necesita "
                 u"%2: cambia la frecuencia de la salida II en el generador.")
                .arg(ratioText(ratio), ratioText(wanted)),
            text(u"La freqüència de CH II (eix X) entre la de CH I (eix Y) és %1; la figura demanada "
                 u"necessita "
                 u"%2: canvia la freqüència de l'eixida II en el generador.")
                .arg(ratioText(ratio), ratioText(wanted)));
    if (!(std::abs(horizontal - wanted * vertical) <= kSteadyBeatHz))
        return notMet(
            text(u"Casi: la figura gira poco a poco porque las frecuencias no están exactamente en la "
                 u"razón %1. Ajusta la frecuencia de la salida II hasta que se quede quieta.")
                .arg(ratioText(wanted)),
            text(
                u"Quasi: la figura gira a poc a poc perquè les freqüències no estan exactament en la raó %1. "
                u"Ajusta la freqüència de l'eixida II fins que es quede quieta.")
                .arg(ratioText(wanted)));
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
    if (extent && !extent->onGraticule())
        return notMet(
            text(u"La figura se sale de la retícula: redúcela con %1 y %2 para ver dónde toca sus bordes.")
                .arg(panelLabel(C::VoltsDivI), panelLabel(C::VoltsDivII)),
            text(u"La figura ix de la retícula: reduïx-la amb %1 i %2 per a veure on toca les vores.")
                .arg(panelLabel(C::VoltsDivI), panelLabel(C::VoltsDivII)));
    return std::nullopt;
}

std::optional<Wording> figurePraise(const Look &, const LabBench &, const CheckArgs &args)
{
    const std::optional<std::pair<int, int>> cycles = cyclesToClose(args.value);
    if (!cycles)
        return std::nullopt;
    const auto [vertical, horizontal] = *cycles;
    return Wording { text(u"¡Bien! La figura está quieta. Toques en el borde de arriba: %1; en el de la "
                          u"derecha: %2. fy/fx = %1/%2.")
                         .arg(vertical)
                         .arg(horizontal),
        text(u"Molt bé! La figura està quieta. Contactes en la vora de dalt: %1; en la de la dreta: %2. "
             u"fy/fx = %1/%2.")
            .arg(vertical)
            .arg(horizontal) };
}

constexpr LabCheck kXyChecks[] {
    { "figura_xy", CheckValue::Number, figureCheck, figurePraise },
};

} // namespace

std::span<const LabCheck> xyChecks()
{
    return kXyChecks;
}
