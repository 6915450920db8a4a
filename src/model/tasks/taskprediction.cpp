#include "taskprediction.h"

#include "circuitreadings.h"
#include "componenttester.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace TaskJudging;

namespace {

/** Periods on the screen, as a student counts them: two significant digits ("0,01", "2", "10"). */
constexpr DecimalStyle kPeriodStyle { .significantDigits = 2 };
/** Below this share of a period on the ten divisions, the piece of a sine shown looks straight. */
constexpr double kNearlyStraight = 0.1;
/** A trace lower than this, in divisions, is a flat line; a middle nearer the centre than this is on it. */
constexpr double kFlat = 0.05;
/** An X-Y figure this open (its height on the vertical axis over its whole height) is round; one this
 * closed is a line. */
constexpr double kRound = 0.9;
constexpr double kClosed = 0.1;

PredictionChoice said(const Hm203 &pictured, bool correct, const QString &castilian, const QString &valencian)
{
    return PredictionChoice { { castilian, valencian }, correct, pictured };
}

/** How open an X-Y figure is: its height where it crosses the vertical line through its middle, over
 * its whole height. For an ellipse of two sines that is sin φ: 0 for a line, 1 for a circle. */
double openness(const Trace &figure)
{
    const QRectF bounds = traceBounds(figure);
    if (bounds.height() <= 0.0)
        return 0.0;
    const double x0 = bounds.center().x();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (qsizetype i = 1; i < figure.points.size(); ++i) {
        const QPointF a = figure.points.at(i - 1);
        const QPointF b = figure.points.at(i);
        if ((a.x() < x0) == (b.x() < x0))
            continue;
        const double y = a.y() + (x0 - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
        low = std::min(low, y);
        high = std::max(high, y);
    }
    return high > low ? (high - low) / bounds.height() : 0.0;
}

/** How far apart two sines are, as a student who knows the period's fractions says it. */
Wording phaseApart(double degrees)
{
    const double apart = std::abs(degrees);
    // Within what rounds to the fraction's degrees as a generator's phase is shown.
    const auto near = [apart](double quarterTurns) { return std::abs(apart - 90.0 * quarterTurns) < 0.05; };
    if (near(0.0))
        return Wording::of(u"en fase", u"en fase");
    if (near(1.0))
        return Wording::of(u"desfasadas un cuarto de periodo", u"desfasades un quart de període");
    if (near(2.0))
        return Wording::of(u"en oposición de fase", u"en oposició de fase");
    const QString shown = formatDecimal(apart);
    return { text(u"desfasadas %1°").arg(shown), text(u"desfasades %1°").arg(shown) };
}

/** A voltage the question names, with its true minus sign where it is negative. */
QString signedVolts(double value)
{
    return formatDecimal(value, { .signShown = value < 0.0 }) + QStringLiteral(" V");
}

} // namespace

Hm203 predictionStart(const GeneratorSettings &generator)
{
    Hm203 scope;
    scope.setGenerator(generator);
    return scope;
}

QList<PredictionChoice> inDrawnOrder(QList<PredictionChoice> choices, quint32 draw)
{
    if (choices.isEmpty())
        return choices;
    // Turning the list round keeps the wrong ideas in their order and walks the right one through them.
    const qsizetype shift = qsizetype(draw % quint32(choices.size()));
    std::rotate(choices.begin(), choices.end() - shift, choices.end());
    return choices;
}

TaskVerdict predictionVerdict(const PredictionChoice &chosen, const TaskVerdict &task)
{
    const auto joined = [&task](const char16_t *castilian, const char16_t *valencian) {
        return TaskVerdict { { QString::fromUtf16(castilian) + u' ' + task.castilian,
                                 QString::fromUtf16(valencian) + u' ' + task.valencian },
            task.met, task.cause };
    };
    if (chosen.correct)
        return joined(u"Has acertado.", u"Has encertat.");
    // A wrong guess is not a fault: the screen is there to tell, and the explanation to say why.
    if (task.met)
        return joined(u"No es lo que esperabas.", u"No és el que esperaves.");
    return joined(u"No es eso: compruébalo en la pantalla.", u"No és això: comprova-ho en la pantalla.");
}

namespace Describe {

PredictionChoice periods(const Hm203 &pictured, bool correct)
{
    const ScopeSettings s = pictured.scopeSettings();
    const double periods = periodsOnScreen(s.channelI.signal.frequencyHz, s.secondsPerDiv);
    const QString shown = formatDecimal(periods, kPeriodStyle);
    if (periods < kNearlyStraight)
        return said(pictured, correct, text(u"Un trozo casi recto: %1 periodos de la senoide.").arg(shown),
            text(u"Un tros quasi recte: %1 períodes de la sinusoide.").arg(shown));
    return said(pictured, correct, text(u"Se ven %1 periodos de la senoide.").arg(shown),
        text(u"Es veuen %1 períodes de la sinusoide.").arg(shown));
}

PredictionChoice height(const Hm203 &pictured, bool correct, TraceKind channel)
{
    const ScreenReading reading(pictured);
    const ScopeSettings &s = reading.settings();
    const ChannelSettings &settings = channel == TraceKind::ChannelII ? s.channelII : s.channelI;
    const std::optional<Extent> extent = reading.extent(channel);
    if (extent && !extent->withinRows()) {
        const QString would
            = formatDecimal(peakToPeakDivisions(settings.signal.amplitudeVpp, settings.voltsPerDiv));
        return said(pictured, correct,
            text(u"La senoide mediría %1 divisiones: se sale de la pantalla.").arg(would),
            text(u"La sinusoide faria %1 divisions: ix de la pantalla.").arg(would));
    }
    const QString shown = formatDecimal(extent ? extent->height() : 0.0);
    return said(pictured, correct, text(u"La senoide mide %1 divisiones de pico a pico.").arg(shown),
        text(u"La sinusoide fa %1 divisions de pic a pic.").arg(shown));
}

PredictionChoice level(const Hm203 &pictured, bool correct, TraceKind channel)
{
    const std::optional<Extent> extent = ScreenReading(pictured).extent(channel);
    const double height = extent ? extent->height() : 0.0;
    const double middle = extent ? (extent->maxY + extent->minY) / 2.0 : 0.0;
    const QString tall = formatDecimal(height);
    const QString off = formatDecimal(std::abs(middle));
    if (height < kFlat && std::abs(middle) < kFlat)
        return said(pictured, correct, text(u"Una línea plana en el centro de la pantalla."),
            text(u"Una línia plana en el centre de la pantalla."));
    if (height < kFlat)
        return said(pictured, correct, text(u"Una línea plana, %1 div más arriba del centro.").arg(off),
            text(u"Una línia plana, %1 div més amunt del centre.").arg(off));
    if (std::abs(middle) < kFlat)
        return said(pictured, correct, text(u"La senoide de %1 div, centrada en la pantalla.").arg(tall),
            text(u"La sinusoide de %1 div, centrada en la pantalla.").arg(tall));
    if (middle > 0.0)
        return said(pictured, correct,
            text(u"La senoide de %1 div, centrada %2 div más arriba.").arg(tall, off),
            text(u"La sinusoide de %1 div, centrada %2 div més amunt.").arg(tall, off));
    return said(pictured, correct, text(u"La senoide de %1 div, centrada %2 div más abajo.").arg(tall, off),
        text(u"La sinusoide de %1 div, centrada %2 div més avall.").arg(tall, off));
}

PredictionChoice figure(const Hm203 &pictured, bool correct)
{
    const ScreenReading reading(pictured);
    if (reading.swept()) {
        const std::optional<Extent> first = reading.extent(TraceKind::ChannelI);
        const std::optional<Extent> second = reading.extent(TraceKind::ChannelII);
        const double tallI = first ? first->height() : 0.0;
        const double tallII = second ? second->height() : 0.0;
        const Wording apart = phaseApart(pictured.generator().phaseIIDegrees);
        if (std::abs(tallI - tallII) < kFlat) {
            const QString tall = formatDecimal(tallI);
            return said(pictured, correct,
                text(u"Dos senoides de %1 divisiones, %2.").arg(tall, apart.castilian),
                text(u"Dues sinusoides de %1 divisions, %2.").arg(tall, apart.valencian));
        }
        const QString talls[] { formatDecimal(tallI), formatDecimal(tallII) };
        return said(pictured, correct,
            text(u"Dos senoides, de %1 y %2 divisiones, %3.").arg(talls[0], talls[1], apart.castilian),
            text(u"Dues sinusoides, de %1 i %2 divisions, %3.").arg(talls[0], talls[1], apart.valencian));
    }
    const Trace figure = reading.traces().traces.value(0);
    const QRectF bounds = traceBounds(figure);
    const double open = openness(figure);
    const QString tall = formatDecimal(bounds.height());
    if (open < kClosed)
        return said(pictured, correct, text(u"Una recta inclinada de %1 divisiones de alto.").arg(tall),
            text(u"Una recta inclinada de %1 divisions d'alt.").arg(tall));
    if (open > kRound && std::abs(bounds.width() - bounds.height()) <= kDivisionTolerance)
        return said(pictured, correct, text(u"Un círculo de %1 divisiones de diámetro.").arg(tall),
            text(u"Un cercle de %1 divisions de diàmetre.").arg(tall));
    const QString wide = formatDecimal(bounds.width());
    return said(pictured, correct, text(u"Una elipse de %1 por %2 divisiones.").arg(wide, tall),
        text(u"Una el·lipse de %1 per %2 divisions.").arg(wide, tall));
}

PredictionChoice testerShape(const Hm203 &pictured, bool correct)
{
    const QString part = pictured.generator().testerPart;
    const CircuitReadings::TesterKnees knees = CircuitReadings::testerKnees(solveTester(testerPart(part)));
    if (knees.forward) {
        // The tester's scale: the part's volts across, each division TesterSource::voltsPerDivision.
        const double at = *knees.forward / TesterSource::voltsPerDivision;
        const QString off = formatDecimal(std::abs(at));
        if (at > 0.0)
            return said(pictured, correct,
                text(u"Un codo hacia arriba, %1 div a la derecha del centro.").arg(off),
                text(u"Un colze cap amunt, %1 div a la dreta del centre.").arg(off));
        return said(pictured, correct,
            text(u"Un codo hacia abajo, %1 div a la izquierda del centro.").arg(off),
            text(u"Un colze cap avall, %1 div a l'esquerra del centre.").arg(off));
    }
    const Trace figure = ::testerFigure(part);
    const QRectF bounds = traceBounds(figure);
    const QString wide = formatDecimal(bounds.width());
    const QString tall = formatDecimal(bounds.height());
    if (openness(figure) < kClosed)
        return said(pictured, correct, text(u"Una recta inclinada de %1 por %2 divisiones.").arg(wide, tall),
            text(u"Una recta inclinada de %1 per %2 divisions.").arg(wide, tall));
    return said(pictured, correct, text(u"Una elipse de %1 por %2 divisiones.").arg(wide, tall),
        text(u"Una el·lipse de %1 per %2 divisions.").arg(wide, tall));
}

} // namespace Describe

namespace PredictionJudging {

bool atStep(double step, double wanted)
{
    return std::abs(step - wanted) <= 1e-9 * wanted;
}

bool kept(double value, double asked)
{
    return std::abs(value - asked) <= 1e-9;
}

Problem amplitudeProblem(const Hm203 &scope, const GeneratorSettings &bench, const Channel &channel)
{
    const double asked = channel.second ? bench.amplitudeIIVpp : bench.amplitudeIVpp;
    if (kept(channel.second ? scope.generator().amplitudeIIVpp : scope.generator().amplitudeIVpp, asked))
        return std::nullopt;
    const QString vpp = formatDecimal(asked);
    if (channel.second)
        return notMet(
            text(u"La pregunta se plantea con %1 Vpp en la salida II: vuelve a poner esa amplitud en el "
                 u"generador.")
                .arg(vpp),
            text(u"La pregunta es planteja amb %1 Vpp en l'eixida II: torna a posar esta amplitud en el "
                 u"generador.")
                .arg(vpp));
    return notMet(
        text(u"La pregunta se plantea con la señal de %1 Vpp: vuelve a poner esa amplitud en el generador.")
            .arg(vpp),
        text(u"La pregunta es planteja amb el senyal de %1 Vpp: torna a posar esta amplitud en el generador.")
            .arg(vpp));
}

Problem offsetProblem(const Hm203 &scope, const GeneratorSettings &bench, const Channel &channel)
{
    const double asked = channel.second ? bench.offsetIIVolts : bench.offsetIVolts;
    if (kept(channel.second ? scope.generator().offsetIIVolts : scope.generator().offsetIVolts, asked))
        return std::nullopt;
    const QString dc = signedVolts(asked);
    if (channel.second)
        return notMet(
            text(u"La pregunta se plantea con %1 de continua en la salida II: vuelve a ponerlos en el "
                 u"generador.")
                .arg(dc),
            text(u"La pregunta es planteja amb %1 de contínua en l'eixida II: torna a posar-los en el "
                 u"generador.")
                .arg(dc));
    return notMet(
        text(u"La pregunta se plantea con %1 de continua en la señal: vuelve a ponerlos en el generador.")
            .arg(dc),
        text(u"La pregunta es planteja amb %1 de contínua en el senyal: torna a posar-los en el generador.")
            .arg(dc));
}

Problem voltsProblem(const Hm203 &scope, const Channel &channel, double wanted)
{
    const QString switchLabel = panelLabel(channel.voltsDiv);
    const double step = Hm203::voltsPerDivAt(scope.value(channel.voltsDiv));
    if (!atStep(step, wanted))
        return notMet(text(u"%1 está en %2: ponlo en %3 y mira la traza.")
                          .arg(switchLabel, formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)),
            text(u"%1 està en %2: posa'l en %3 i mira la traça.")
                .arg(switchLabel, formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)));
    if (scope.isPressed(channel.magnify))
        return notMet(
            text(u"%1 está pulsado y quintuplica la altura: suéltalo.").arg(panelLabel(channel.magnify)),
            text(u"%1 està polsat i quintuplica l'altura: deixa'l anar.").arg(panelLabel(channel.magnify)));
    if (!atCal(scope, channel.voltsCal))
        return notMet(
            text(u"El mando CAL de %1 no está en su tope calibrado: gíralo hasta el tope.").arg(switchLabel),
            text(u"El comandament CAL de %1 no està en el seu topall calibrat: gira'l fins al topall.")
                .arg(switchLabel));
    return std::nullopt;
}

Problem shownProblem(const Look &look, const Channel &channel)
{
    if (!channel.second)
        return channelIProblem(look);
    if (Problem p = xyProblem(look))
        return p;
    switch (look.settings.mode) {
    case DisplayMode::ChannelII:
    case DisplayMode::Dual:
        break;
    case DisplayMode::Add:
        return notMet(
            text(u"%1 suma los dos canales en una sola traza: suelta %1.").arg(panelLabel(Hm203Control::Add)),
            text(u"%1 suma els dos canals en una sola traça: deixa anar %1.")
                .arg(panelLabel(Hm203Control::Add)));
    case DisplayMode::ChannelI:
    case DisplayMode::XY:
        return notMet(text(u"La pantalla solo muestra el canal I: pulsa %1 o %2 para ver el canal II.")
                          .arg(panelLabel(Hm203Control::ChannelII), panelLabel(Hm203Control::Dual)),
            text(u"La pantalla només mostra el canal I: polsa %1 o %2 per a veure el canal II.")
                .arg(panelLabel(Hm203Control::ChannelII), panelLabel(Hm203Control::Dual)));
    }
    return groundProblem(look.settings.channelII, true);
}

Problem steadyChannelProblem(
    const Look &look, Hookup hookup, const Channel &channel, std::optional<Extent> &extent)
{
    if (!channel.second)
        return steadyChannelIProblem(look, hookup, extent);
    if (Problem p = beamProblem(look))
        return p;
    if (Problem p = hookupProblem(look, hookup))
        return p;
    if (Problem p = shownProblem(look, channel))
        return p;
    extent = extentOf(look.traces, channel.trace);
    if (Problem p = visibleProblem(look, extent, channel.trace))
        return p;
    return steadyProblem(look);
}

Problem withinProblem(const Extent &extent, const Channel &channel)
{
    if (!channel.second || extent.withinRows())
        return graticuleProblem(extent);
    const QString volts = panelLabel(channel.voltsDiv);
    const QString position = panelLabel(channel.position);
    return notMet(
        text(u"La traza se sale de la retícula: redúcela con %1 o céntrala con %2.").arg(volts, position),
        text(u"La traça ix de la retícula: reduïx-la amb %1 o centra-la amb %2.").arg(volts, position));
}

} // namespace PredictionJudging
