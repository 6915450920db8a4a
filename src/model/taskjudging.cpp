#include "taskjudging.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace TaskJudging {

QString text(const char16_t *literal)
{
    return QString::fromUtf16(literal);
}

TaskVerdict notMet(const QString &castilian, const QString &valencian)
{
    return { false, castilian, valencian };
}

TaskVerdict met(const QString &castilian, const QString &valencian)
{
    return { true, castilian, valencian };
}

TaskVerdict wellDone()
{
    return met(text(u"¡Conseguido!"), text(u"Aconseguit!"));
}

std::optional<Extent> extentOf(const ScreenTraces &screen, TraceKind kind)
{
    const QRectF face = ScreenGeometry::visibleArea();
    Extent extent;
    bool any = false;
    bool anyInColumns = false;
    double left = 0.0;
    double right = 0.0;
    for (const Trace &trace : screen.traces) {
        if (trace.kind != kind)
            continue;
        for (const QPointF &p : trace.points) {
            extent.minY = any ? std::min(extent.minY, p.y()) : p.y();
            extent.maxY = any ? std::max(extent.maxY, p.y()) : p.y();
            extent.minX = any ? std::min(extent.minX, p.x()) : p.x();
            extent.maxX = any ? std::max(extent.maxX, p.x()) : p.x();
            any = true;
            extent.visible = extent.visible || face.contains(p);
            if (std::abs(p.x()) <= ScreenGeometry::halfWidth) {
                left = anyInColumns ? std::min(left, p.x()) : p.x();
                right = anyInColumns ? std::max(right, p.x()) : p.x();
                anyInColumns = true;
            }
        }
    }
    if (!any)
        return std::nullopt;
    extent.spanX = anyInColumns ? right - left : 0.0;
    return extent;
}

Problem timeCalibratedProblem(const Look &look)
{
    if (look.scope.value(Hm203Control::TimeCal) == controlInfo(Hm203Control::TimeCal).maximum)
        return std::nullopt;
    return notMet(text(u"El mando CAL de TIME/DIV no está en su tope calibrado: gíralo hasta el tope, o "
                       u"TIME/DIV no dará el tiempo de cada división."),
        text(u"El comandament CAL de TIME/DIV no està en el seu topall calibrat: gira'l fins al topall, o "
             u"TIME/DIV no donarà el temps de cada divisió."));
}

Problem beamProblem(const Look &look)
{
    if (!look.scope.isPressed(Hm203Control::Power))
        return notMet(text(u"El osciloscopio está apagado: pulsa POWER."),
            text(u"L'oscil·loscopi està apagat: polsa POWER."));
    if (look.scope.isPressed(Hm203Control::Tester))
        return notMet(text(u"El comprobador de componentes ocupa la pantalla: desactiva COMPONENT TESTER."),
            text(u"El comprovador de components ocupa la pantalla: desactiva COMPONENT TESTER."));
    if (isFaint(look))
        return notMet(text(u"La traza apenas se ve: sube INTENS."),
            text(u"La traça amb prou feines es veu: puja INTENS."));
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
    case Hookup::Calibrator02:
        return notMet(text(u"Vuelve a conectar CH I al borne de 0,2 V del calibrador."),
            text(u"Torna a connectar CH I al born de 0,2 V del calibrador."));
    case Hookup::Calibrator2:
        break;
    }
    return notMet(text(u"Vuelve a conectar CH I al borne de 2 V del calibrador."),
        text(u"Torna a connectar CH I al born de 2 V del calibrador."));
}

Problem groundProblem(const ChannelSettings &channel, bool second)
{
    if (channel.coupling != Coupling::Ground)
        return std::nullopt;
    return notMet(text(u"El canal %1 está en GD (a masa): pásalo a DC o AC.").arg(second ? u"II" : u"I"),
        text(u"El canal %1 està en GD (a massa): passa'l a DC o AC.").arg(second ? u"II" : u"I"));
}

Problem xyProblem(const Look &look)
{
    if (look.settings.mode != DisplayMode::XY)
        return std::nullopt;
    return notMet(text(u"El botón X-Y está pulsado y la pantalla muestra una figura X-Y: suéltalo."),
        text(u"El botó X-Y està polsat i la pantalla mostra una figura X-Y: deixa'l anar."));
}

Problem channelIProblem(const Look &look)
{
    if (Problem p = xyProblem(look))
        return p;
    switch (look.settings.mode) {
    case DisplayMode::ChannelI:
    case DisplayMode::Dual:
        break;
    case DisplayMode::Add:
        return notMet(text(u"ADD suma los dos canales en una sola traza: suelta ADD."),
            text(u"ADD suma els dos canals en una sola traça: deixa anar ADD."));
    case DisplayMode::ChannelII:
    case DisplayMode::XY:
        return notMet(text(u"La pantalla muestra el canal II: suelta CH I/II."),
            text(u"La pantalla mostra el canal II: deixa anar CH I/II."));
    }
    return groundProblem(look.settings.channelI, false);
}

Problem visibleProblem(const Look &look, const std::optional<Extent> &extent, const char16_t *position)
{
    if (extent && extent->visible)
        return std::nullopt;
    if (darkInNorm(look))
        return notMet(text(u"No hay traza: en NORM, comprueba que LEVEL corta la señal, o pasa a AT."),
            text(u"No hi ha traça: en NORM, comprova que LEVEL talla el senyal, o passa a AT."));
    return notMet(text(u"No se ve la traza en la pantalla: búscala con %1 y X-POS.").arg(text(position)),
        text(u"No es veu la traça en la pantalla: busca-la amb %1 i X-POS.").arg(text(position)));
}

Problem steadyProblem(const Look &look)
{
    if (look.traces.triggered)
        return std::nullopt;
    return notMet(text(u"La traza no está disparada y corre por la pantalla: ajusta LEVEL."),
        text(u"La traça no està disparada i corre per la pantalla: ajusta LEVEL."));
}

Problem graticuleProblem(const Extent &extent, const char16_t *position)
{
    if (extent.withinRows())
        return std::nullopt;
    return notMet(text(u"La traza se sale de la retícula: redúcela con VOLTS/DIV o céntrala con %1.")
                      .arg(text(position)),
        text(u"La traça ix de la retícula: reduïx-la amb VOLTS/DIV o centra-la amb %1.").arg(text(position)));
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
        text(u"La tasca demana que el generador funcione a %1: torna a posar aquesta freqüència.")
            .arg(asked));
}

Problem sineProblem(const Look &look)
{
    if (look.scope.generator().waveform == Waveform::Sine)
        return std::nullopt;
    return notMet(text(u"La tarea es con señales senoidales: vuelve a elegir la senoide en el generador."),
        text(u"La tasca és amb senyals sinusoïdals: torna a triar la sinusoide en el generador."));
}

Problem periodsProblem(const Look &look, const Extent &extent, int wanted)
{
    // X-MAG spreads each period over ten times as many divisions.
    const double zoom = look.settings.xMagnified ? 10.0 : 1.0;
    const double perPeriod
        = zoom * divisionsPerPeriod(look.scope.signalI().frequencyHz, look.settings.secondsPerDiv);
    if (perPeriod > 0.0 && std::abs(extent.spanX - wanted * perPeriod) <= kDivisionTolerance)
        return std::nullopt;
    // A trace moved sideways leaves part of the graticule empty: that is X-POS, not the time base.
    if (extent.minX > -ScreenGeometry::halfWidth + kDivisionTolerance
        || extent.maxX < ScreenGeometry::halfWidth - kDivisionTolerance)
        return notMet(text(u"La traza no cubre toda la retícula: céntrala con X-POS."),
            text(u"La traça no cobreix tota la retícula: centra-la amb X-POS."));
    const QString shown = fixedDecimal(perPeriod > 0.0 ? extent.spanX / perPeriod : 0.0, 1);
    return notMet(text(u"Se ven %1 periodos; la tarea pide %2. Ajusta TIME/DIV.").arg(shown).arg(wanted),
        text(u"Es veuen %1 períodes; la tasca en demana %2. Ajusta TIME/DIV.").arg(shown).arg(wanted));
}

Problem peakToPeakProblem(const Extent &extent, double wanted, double tolerance)
{
    if (std::abs(extent.height() - wanted) <= tolerance)
        return std::nullopt;
    const QString shown = fixedDecimal(extent.height(), 1);
    const QString asked = fixedDecimal(wanted, 0);
    return notMet(text(u"La traza mide %1 divisiones de pico a pico; la tarea pide %2. Ajusta VOLTS/DIV.")
                      .arg(shown, asked),
        text(u"La traça fa %1 divisions de pic a pic; la tasca en demana %2. Ajusta VOLTS/DIV.")
            .arg(shown, asked));
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

} // namespace TaskJudging
