#include "labcatalogue.h"
#include "taskfamilies.h"
#include "taskjudging.h"
#include "taskprediction.h"
#include "verticalpath.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <iterator>

// What a prediction may ask about: one control moved to a position, or the probe on CH I changed, on a
// bench that feeds the generator's sines to the inputs. The choices are what the model draws for the
// asked change and for the wrong ideas of it students have; the judge wants the change made, with what
// the question depends on still as the bench set it.

namespace {

using namespace TaskJudging;
using C = Hm203Control;

Hm203 withControl(Hm203 scope, C control, int value)
{
    scope.setValue(control, value);
    return scope;
}

Hm203 withTime(const Hm203 &scope, double secondsPerDiv)
{
    return withControl(scope, C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv));
}

/** True when a calibrated step is the one wanted (to within rounding). */
bool atStep(double step, double wanted)
{
    return std::abs(step - wanted) <= 1e-9 * wanted;
}

/** A generator's setting kept as the question set it, to within rounding. */
bool kept(double value, double asked)
{
    return std::abs(value - asked) <= 1e-9;
}

/** A voltage the question names, with its true minus sign where it is negative. */
QString signedVolts(double value)
{
    return formatDecimal(value, { .signShown = value < 0.0 }) + QStringLiteral(" V");
}

QString probeName(Probe probe)
{
    return probe == Probe::Times10 ? QStringLiteral("×10") : QStringLiteral("×1");
}

double probeRatio(Probe probe)
{
    return probe == Probe::Times10 ? Probes::times10Ratio : 1.0;
}

/** One channel's controls and trace, as a question about either channel reads them. */
struct Channel
{
    bool second;
    C voltsDiv;
    C voltsCal;
    C magnify;
    C coupling;
    C ground;
    C position;
    TraceKind trace;
    const char16_t *name;
};

constexpr Channel kChannelI { false, C::VoltsDivI, C::VoltsCalI, C::MagnifyI, C::DcI, C::GroundI,
    C::YPositionI, TraceKind::ChannelI, u"CH I" };
constexpr Channel kChannelII { true, C::VoltsDivII, C::VoltsCalII, C::MagnifyII, C::DcII, C::GroundII,
    C::YPositionII, TraceKind::ChannelII, u"CH II" };

/** The instrument a question about a channel pictures: as it opens, showing that channel. */
Hm203 showing(const Hm203 &start, const Channel &channel)
{
    return channel.second ? withControl(start, C::ChannelII, 1) : start;
}

double openingVoltsPerDiv(const Channel &channel)
{
    return Hm203::voltsPerDivAt(controlInfo(channel.voltsDiv).initial);
}

/**
 * The choices in the order a draw gives them, the right one first in the list passed, less any wrong idea
 * that would draw what an earlier choice says: two choices that read alike cannot be told apart.
 */
QList<PredictionChoice> offered(const QList<PredictionChoice> &choices, quint32 draw)
{
    QList<PredictionChoice> distinct;
    for (const PredictionChoice &choice : choices)
        if (std::none_of(distinct.cbegin(), distinct.cend(),
                [&choice](const PredictionChoice &earlier) { return earlier.castilian == choice.castilian; }))
            distinct << choice;
    return inDrawnOrder(distinct, draw);
}

/** The generator must still give the amplitude the question was about. */
Problem amplitudeProblem(const Hm203 &scope, const LabBench &bench, const Channel &channel)
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

/** The generator must still give the DC level the question was about. */
Problem offsetProblem(const Hm203 &scope, const LabBench &bench, const Channel &channel)
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

/** A channel's sensitivity as the question asked it: a calibrated step, not magnified by Y-MAG. */
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

/** The channel's trace must be drawn on its own sweep, not grounded. */
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
        return notMet(text(u"%1 suma los dos canales en una sola traza: suelta %1.").arg(panelLabel(C::Add)),
            text(u"%1 suma els dos canals en una sola traça: deixa anar %1.").arg(panelLabel(C::Add)));
    case DisplayMode::ChannelI:
    case DisplayMode::XY:
        return notMet(text(u"La pantalla solo muestra el canal I: pulsa %1 o %2 para ver el canal II.")
                          .arg(panelLabel(C::ChannelII), panelLabel(C::Dual)),
            text(u"La pantalla només mostra el canal I: polsa %1 o %2 per a veure el canal II.")
                .arg(panelLabel(C::ChannelII), panelLabel(C::Dual)));
    }
    return groundProblem(look.settings.channelII, true);
}

/** The channel's trace on, visible and steady: what a question about its height needs first. */
Problem steadyChannelProblem(
    const Look &look, const LabBench &bench, const Channel &channel, std::optional<Extent> &extent)
{
    if (!channel.second)
        return steadyChannelIProblem(look, bench.hookup, extent);
    if (Problem p = beamProblem(look))
        return p;
    if (Problem p = hookupProblem(look, bench.hookup))
        return p;
    if (Problem p = shownProblem(look, channel))
        return p;
    extent = extentOf(look.traces, channel.trace);
    if (Problem p = visibleProblem(look, extent, channel.trace))
        return p;
    return steadyProblem(look);
}

/** The whole trace between the graticule's top and bottom lines, where its height can be read. */
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

using Judge = std::function<TaskVerdict(const Hm203 &scope, std::optional<double> answer)>;
using Choices = std::function<QList<PredictionChoice>(const GeneratorSettings &generator, quint32 draw)>;

/** The parts every change is made into: its question, choices and judge, and the controls it asks about. */
PredictionParts parts(
    const LabPrediction &asked, Choices choices, QList<C> reset, Judge judge, QList<C> about)
{
    return { std::make_shared<const TaskPrediction>(TaskPrediction {
                 .question = asked.question, .choices = std::move(choices), .asked = std::move(reset) }),
        std::move(judge), std::move(about) };
}

/** TIME/DIV to a step: as many periods as the step shows. */
PredictionParts sweepChange(const LabPrediction &asked, const LabBench &bench)
{
    const int position = asked.change.position;
    const double step = Hm203::secondsPerDivAt(position);
    // The step's number read in the unit beside it: 1 µs taken for 1 ms, 0,5 ms for 0,5 µs.
    const double misread = step < 1e-3 ? step * 1e3 : step / 1e3;
    const Choices choices = [position, misread](const GeneratorSettings &generator, quint32 draw) {
        const Hm203 start = predictionStart(generator);
        // The step read in the wrong unit, and a sweep thought only to draw the same picture faster.
        return offered(
            { Describe::periods(withControl(start, C::TimeDiv, position), true),
                Describe::periods(withTime(start, misread), false), Describe::periods(start, false) },
            draw);
    };
    const Judge judge = [bench, step, praise = asked.explanation](const Hm203 &scope, std::optional<double>) {
        const Look look(scope);
        std::optional<Extent> extent;
        if (Problem p = steadyChannelIProblem(look, bench.hookup, extent))
            return *p;
        if (Problem p = frequencyProblem(look, bench.frequencyHz))
            return *p;
        if (Problem p = sineProblem(look))
            return *p;
        const double now = Hm203::secondsPerDivAt(scope.value(C::TimeDiv));
        if (!atStep(now, step))
            return notMet(
                text(u"%1 está en %2: ponlo en %3 y mira la traza.")
                    .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(now), formatSecondsPerDiv(step)),
                text(u"%1 està en %2: posa'l en %3 i mira la traça.")
                    .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(now), formatSecondsPerDiv(step)));
        if (look.settings.xMagnified)
            return notMet(text(u"%1 está pulsado y estira el barrido diez veces: suéltalo.")
                              .arg(panelLabel(C::XMagnifier)),
                text(u"%1 està polsat i estira l'escombratge deu vegades: deixa'l anar.")
                    .arg(panelLabel(C::XMagnifier)));
        if (Problem p = timeCalibratedProblem(look))
            return *p;
        return met(praise.castilian, praise.valencian);
    };
    return parts(asked, choices, { C::TimeDiv, C::TimeCal, C::XMagnifier }, judge, { C::TimeDiv });
}

/** VOLTS/DIV of either channel to a step: the trace as tall as the step makes it. */
PredictionParts sensitivityChange(const LabPrediction &asked, const LabBench &bench, const Channel &channel)
{
    const int position = asked.change.position;
    const double step = Hm203::voltsPerDivAt(position);
    const double opening = openingVoltsPerDiv(channel);
    // The change taken the wrong way round: as many times the volts per division as the step has fewer.
    const int reversed = Hm203::voltsDivPosition(opening * opening / step);
    const Choices choices = [position, reversed, channel](const GeneratorSettings &generator, quint32 draw) {
        const Hm203 start = showing(predictionStart(generator), channel);
        // Fewer volts per division taken for a smaller trace, and a trace thought to follow only the signal.
        return offered(
            { Describe::height(withControl(start, channel.voltsDiv, position), true, channel.trace),
                Describe::height(withControl(start, channel.voltsDiv, reversed), false, channel.trace),
                Describe::height(start, false, channel.trace) },
            draw);
    };
    const Judge judge
        = [bench, step, channel, praise = asked.explanation](const Hm203 &scope, std::optional<double>) {
              const Look look(scope);
              std::optional<Extent> extent;
              if (Problem p = steadyChannelProblem(look, bench, channel, extent))
                  return *p;
              if (Problem p = amplitudeProblem(scope, bench, channel))
                  return *p;
              if (Problem p = voltsProblem(scope, channel, step))
                  return *p;
              if (Problem p = withinProblem(*extent, channel))
                  return *p;
              return met(praise.castilian, praise.valencian);
          };
    return parts(
        asked, choices, { channel.voltsDiv, channel.voltsCal, channel.magnify }, judge, { channel.voltsDiv });
}

/** AC/DC of either channel from DC to AC: the signal's mean blocked, the trace on the centre line. */
PredictionParts couplingChange(const LabPrediction &asked, const LabBench &bench, const Channel &channel)
{
    const Choices choices = [channel](const GeneratorSettings &generator, quint32 draw) {
        const Hm203 start = showing(predictionStart(generator), channel);
        // AC thought to change nothing, and AC taken to block the whole signal as GD does.
        return offered({ Describe::level(withControl(start, channel.coupling, 0), true, channel.trace),
                           Describe::level(start, false, channel.trace),
                           Describe::level(withControl(start, channel.ground, 1), false, channel.trace) },
            draw);
    };
    const Judge judge = [bench, channel, praise = asked.explanation](
                            const Hm203 &scope, std::optional<double>) {
        const Look look(scope);
        if (Problem p = beamProblem(look))
            return *p;
        if (Problem p = hookupProblem(look, bench.hookup))
            return *p;
        if (Problem p = offsetProblem(scope, bench, channel))
            return *p;
        if (Problem p = amplitudeProblem(scope, bench, channel))
            return *p;
        if (Problem p = shownProblem(look, channel))
            return *p;
        const ChannelSettings &settings = channel.second ? look.settings.channelII : look.settings.channelI;
        if (settings.coupling == Coupling::DC) {
            const QString name = QString::fromUtf16(channel.name);
            const QString coupling = panelLabel(channel.coupling);
            return notMet(text(u"%1 sigue en DC: pásalo a AC con %2 y mira la traza.").arg(name, coupling),
                text(u"%1 continua en DC: passa'l a AC amb %2 i mira la traça.").arg(name, coupling));
        }
        const std::optional<Extent> extent = extentOf(look.traces, channel.trace);
        if (Problem p = visibleProblem(look, extent, channel.trace))
            return *p;
        if (Problem p = steadyProblem(look))
            return *p;
        return met(praise.castilian, praise.valencian);
    };
    return parts(asked, choices,
        { channel.coupling, channel.ground, channel.position, channel.voltsDiv, channel.voltsCal,
            channel.magnify },
        judge, { channel.coupling });
}

/** X-Y pressed: the figure the two sines draw against each other. */
PredictionParts xyChange(const LabPrediction &asked, const LabBench &bench)
{
    const Choices choices = [](const GeneratorSettings &generator, quint32 draw) {
        const Hm203 start = predictionStart(generator);
        GeneratorSettings inStep = generator;
        inStep.phaseIIDegrees = 0.0;
        // The sines thought to draw the line of two sines in step, and X-Y taken to show both against
        // time as DUAL does.
        return offered({ Describe::figure(withControl(start, C::XY, 1), true),
                           Describe::figure(withControl(predictionStart(inStep), C::XY, 1), false),
                           Describe::figure(withControl(start, C::Dual, 1), false) },
            draw);
    };
    const Judge judge = [bench, praise = asked.explanation](const Hm203 &scope, std::optional<double>) {
        const Look look(scope);
        if (Problem p = beamProblem(look))
            return *p;
        if (Problem p = hookupProblem(look, bench.hookup))
            return *p;
        if (Problem p = sineProblem(look))
            return *p;
        const GeneratorSettings &g = scope.generator();
        if (!kept(std::abs(g.phaseIIDegrees), std::abs(bench.phaseIIDegrees))) {
            const QString apart = formatDecimal(std::abs(bench.phaseIIDegrees));
            const QString phase
                = formatDecimal(bench.phaseIIDegrees, { .signShown = bench.phaseIIDegrees < 0.0 });
            return notMet(
                text(u"La pregunta se plantea con %1° de desfase: vuelve a poner %2° en la fase de II.")
                    .arg(apart, phase),
                text(u"La pregunta es planteja amb %1° de desfasament: torna a posar %2° en la fase de II.")
                    .arg(apart, phase));
        }
        const bool equal = kept(bench.amplitudeIVpp, bench.amplitudeIIVpp);
        if (!kept(g.amplitudeIVpp, bench.amplitudeIVpp) || !kept(g.amplitudeIIVpp, bench.amplitudeIIVpp)) {
            const QString vppI = volts(bench.amplitudeIVpp, QStringLiteral("Vpp"));
            const QString vppII = volts(bench.amplitudeIIVpp, QStringLiteral("Vpp"));
            if (equal)
                return notMet(
                    text(u"La pregunta se plantea con dos senoides de %1: vuelve a poner esa amplitud "
                         u"en las dos salidas.")
                        .arg(vppI),
                    text(u"La pregunta es planteja amb dues sinusoides de %1: torna a posar esta amplitud en "
                         u"les dues eixides.")
                        .arg(vppI));
            return notMet(
                text(u"La pregunta se plantea con %1 en la salida I y %2 en la II: vuelve a poner esas "
                     u"amplitudes en el generador.")
                    .arg(vppI, vppII),
                text(u"La pregunta es planteja amb %1 en l'eixida I i %2 en la II: torna a posar estes "
                     u"amplituds "
                     u"en el generador.")
                    .arg(vppI, vppII));
        }
        if (look.settings.mode != DisplayMode::XY)
            return notMet(text(u"Pulsa %1 y mira la figura.").arg(panelLabel(C::XY)),
                text(u"Polsa %1 i mira la figura.").arg(panelLabel(C::XY)));
        if (Problem p = groundProblem(look.settings.channelI, false))
            return *p;
        if (Problem p = groundProblem(look.settings.channelII, true))
            return *p;
        if (std::abs(look.settings.channelI.voltsPerDiv / look.settings.channelII.voltsPerDiv - 1.0) > 1e-6) {
            // Only two equal sines a quarter of a period apart draw a circle to be stretched.
            if (equal && std::abs(std::abs(bench.phaseIIDegrees) - 90.0) <= 1e-9)
                return notMet(
                    text(u"Con sensibilidades distintas el círculo se estira: pon el mismo VOLTS/DIV en "
                         u"los dos canales, con los mandos CAL en su tope."),
                    text(u"Amb sensibilitats distintes el cercle s'estira: posa el mateix VOLTS/DIV en els "
                         u"dos "
                         u"canals, amb els comandaments CAL en el topall."));
            return notMet(text(u"Con sensibilidades distintas la figura se estira: pon el mismo VOLTS/DIV en "
                               u"los dos canales, con los mandos CAL en su tope."),
                text(u"Amb sensibilitats distintes la figura s'estira: posa el mateix VOLTS/DIV en els dos "
                     u"canals, amb els comandaments CAL en el topall."));
        }
        const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
        if (Problem p = visibleProblem(look, extent, TraceKind::XY))
            return *p;
        if (Problem p = graticuleProblem(*extent))
            return *p;
        return met(praise.castilian, praise.valencian);
    };
    return parts(asked, choices,
        { C::XY, C::Dual, C::Add, C::ChannelII, C::VoltsDivI, C::VoltsDivII, C::VoltsCalI, C::VoltsCalII,
            C::MagnifyI, C::MagnifyII },
        judge, { C::XY });
}

/** Another probe on CH I: the tip's voltage divided, or no longer divided, by the probe's ratio. */
PredictionParts probeChange(const LabPrediction &asked, const LabBench &bench)
{
    const Probe probe = *asked.change.probe;
    const double opening = openingVoltsPerDiv(kChannelI);
    // The probe taken to magnify as much as it divides, as that many times fewer volts per division would.
    const int reversed = Hm203::voltsDivPosition(opening * probeRatio(bench.probeI) / probeRatio(probe));
    const Choices choices = [probe, reversed](const GeneratorSettings &generator, quint32 draw) {
        const Hm203 start = predictionStart(generator);
        GeneratorSettings changed = generator;
        changed.probeI = probe;
        // The instrument thought to make up for the probe, and the probe's ratio taken the wrong way round.
        return offered({ Describe::height(predictionStart(changed), true), Describe::height(start, false),
                           Describe::height(withControl(start, C::VoltsDivI, reversed), false) },
            draw);
    };
    const Judge judge = [bench, probe, opening, praise = asked.explanation](
                            const Hm203 &scope, std::optional<double>) {
        const Look look(scope);
        if (Problem p = beamProblem(look))
            return *p;
        if (Problem p = hookupProblem(look, bench.hookup))
            return *p;
        if (Problem p = amplitudeProblem(scope, bench, kChannelI))
            return *p;
        if (scope.generator().probeI != probe) {
            const QString now = probeName(scope.generator().probeI);
            const QString wanted = probeName(probe);
            return notMet(text(u"CH I sigue con la sonda %1: elige la %2 en el generador y mira la traza.")
                              .arg(now, wanted),
                text(u"CH I continua amb la sonda %1: tria la %2 en el generador i mira la traça.")
                    .arg(now, wanted));
        }
        if (Problem p = channelIProblem(look))
            return *p;
        if (Problem p = voltsProblem(scope, kChannelI, opening))
            return *p;
        const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
        if (Problem p = visibleProblem(look, extent))
            return *p;
        if (Problem p = steadyProblem(look))
            return *p;
        return met(praise.castilian, praise.valencian);
    };
    return parts(asked, choices, { C::VoltsDivI, C::VoltsCalI, C::MagnifyI }, judge, {});
}

/** The controls a prediction may ask to move, as its changes above know them. */
constexpr C kAskable[] { C::TimeDiv, C::VoltsDivI, C::VoltsDivII, C::DcI, C::DcII, C::XY };

/** The refusal of a prediction, the same in both languages. */
std::optional<PredictionParts> refused(Wording &why, const QString &castilian, const QString &valencian)
{
    why = { castilian, valencian };
    return std::nullopt;
}

} // namespace

std::span<const LabCheck> predictChecks()
{
    return {};
}

std::optional<PredictionParts> makePrediction(
    const LabPrediction &prediction, const LabBench &bench, Wording &why)
{
    // Every choice describes a sine of the generator's, as the student sees it on the screen.
    if (bench.waveform != Waveform::Sine || bench.hookup != Hookup::Generator)
        return refused(why,
            text(u"Las respuestas de una predicción describen las senoides del generador: pon forma = "
                 u"\"senoidal\" y conexion = \"generador\"."),
            text(u"Les respostes d'una predicció descriuen les sinusoides del generador: posa forma = "
                 u"\"senoidal\" i conexion = \"generador\"."));
    const LabChange &change = prediction.change;
    std::optional<PredictionParts> made;
    if (change.probe) {
        if (*change.probe == bench.probeI) {
            const QString probe = probeName(bench.probeI);
            return refused(why,
                text(u"CH I ya tiene la sonda %1 en el generador: la pregunta no cambiaría nada.").arg(probe),
                text(u"CH I ja té la sonda %1 en el generador: la pregunta no canviaria res.").arg(probe));
        }
        made = probeChange(prediction, bench);
    } else {
        const QString label = panelLabel(change.control);
        if (std::find(std::begin(kAskable), std::end(kAskable), change.control) == std::end(kAskable)) {
            QStringList askable;
            for (C control : kAskable)
                askable << panelLabel(control);
            const QString listed = askable.join(QStringLiteral(", "));
            return refused(why,
                text(u"Una predicción pregunta por %1 o la sonda de CH I, no por %2.").arg(listed, label),
                text(u"Una predicció pregunta per %1 o la sonda de CH I, no per %2.").arg(listed, label));
        }
        const Hm203ControlInfo &info = controlInfo(change.control);
        if (change.position < info.minimum || change.position > info.maximum)
            return refused(why, text(u"%1 no tiene esa posición.").arg(label),
                text(u"%1 no té esta posició.").arg(label));
        if (change.position == info.initial) {
            // A button is said to be pressed or released, a switch to stand at a step.
            const Hm203 opening;
            const bool button = info.style == ControlStyle::Button;
            const QString castilian = opening.readingAt(change.control, change.position, Language::Castilian);
            const QString valencian = opening.readingAt(change.control, change.position, Language::Valencian);
            return refused(why,
                text(button ? u"%1 ya está %2 cuando empieza la tarea: la pregunta no cambiaría nada."
                            : u"%1 ya está en %2 cuando empieza la tarea: la pregunta no cambiaría nada.")
                    .arg(label, castilian),
                text(button ? u"%1 ja està %2 quan comença la tasca: la pregunta no canviaria res."
                            : u"%1 ja està en %2 quan comença la tasca: la pregunta no canviaria res.")
                    .arg(label, valencian));
        }
        const Channel &channel
            = change.control == C::VoltsDivII || change.control == C::DcII ? kChannelII : kChannelI;
        switch (change.control) {
        case C::TimeDiv:
            made = sweepChange(prediction, bench);
            break;
        case C::VoltsDivI:
        case C::VoltsDivII:
            made = sensitivityChange(prediction, bench, channel);
            break;
        case C::DcI:
        case C::DcII:
            made = couplingChange(prediction, bench, channel);
            break;
        default:
            made = xyChange(prediction, bench);
            break;
        }
    }
    // A change the screen does not tell from the wrong ideas of it asks nothing.
    if (made->prediction->choices(bench, 0).size() < 2)
        return refused(why,
            text(u"Con este generador las respuestas se verían iguales en la pantalla: cambia la señal para "
                 u"que se distingan."),
            text(
                u"Amb este generador les respostes es veurien iguals en la pantalla: canvia el senyal perquè "
                u"es distingisquen."));
    return made;
}

namespace {
namespace today {

using namespace TaskJudging;
using C = Hm203Control;

Hm203 withControl(Hm203 scope, C control, int value)
{
    scope.setValue(control, value);
    return scope;
}

Hm203 withTime(const Hm203 &scope, double secondsPerDiv)
{
    return withControl(scope, C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv));
}

Hm203 withVoltsI(const Hm203 &scope, double voltsPerDiv)
{
    return withControl(scope, C::VoltsDivI, Hm203::voltsDivPosition(voltsPerDiv));
}

/** True when a calibrated step is the one wanted (to within rounding). */
bool atStep(double step, double wanted)
{
    return std::abs(step - wanted) <= 1e-9 * wanted;
}

/** The generator must still give the amplitude the question was about. */
Problem amplitudeProblem(const Hm203 &scope, double vpp)
{
    if (std::abs(scope.generator().amplitudeIVpp - vpp) <= 1e-9)
        return std::nullopt;
    const QString asked = formatDecimal(vpp);
    return notMet(
        text(u"La pregunta se plantea con la señal de %1 Vpp: vuelve a poner esa amplitud en el generador.")
            .arg(asked),
        text(u"La pregunta es planteja amb el senyal de %1 Vpp: torna a posar esta amplitud en el generador.")
            .arg(asked));
}

/** Channel I's sensitivity as the question asked it: a calibrated step, not magnified by Y-MAG. */
Problem voltsIProblem(const Hm203 &scope, double wanted)
{
    const double step = Hm203::voltsPerDivAt(scope.value(C::VoltsDivI));
    if (!atStep(step, wanted))
        return notMet(text(u"%1 está en %2: ponlo en %3 y mira la traza.")
                          .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)),
            text(u"%1 està en %2: posa'l en %3 i mira la traça.")
                .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)));
    if (scope.isPressed(C::MagnifyI))
        return notMet(
            text(u"%1 está pulsado y quintuplica la altura: suéltalo.").arg(panelLabel(C::MagnifyI)),
            text(u"%1 està polsat i quintuplica l'altura: deixa'l anar.").arg(panelLabel(C::MagnifyI)));
    if (scope.value(C::VoltsCalI) != controlInfo(C::VoltsCalI).maximum)
        return notMet(text(u"El mando CAL de %1 no está en su tope calibrado: gíralo hasta el tope.")
                          .arg(panelLabel(C::VoltsDivI)),
            text(u"El comandament CAL de %1 no està en el seu topall calibrat: gira'l fins al topall.")
                .arg(panelLabel(C::VoltsDivI)));
    return std::nullopt;
}

// A sweep far too fast for the signal: at 1 µs/div a 1 kHz sine shows a hundredth of its period.

constexpr double kSweepHz = 1000.0;
constexpr double kSweepAsked = 1e-6;

void preparePredictSweep(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = kSweepHz;
    generator.amplitudeIVpp = 4.0;
}

namespace {

QList<PredictionChoice> sweepChoices(const GeneratorSettings &generator, quint32 draw)
{
    const Hm203 start = predictionStart(generator);
    // 1 µs read as 1 ms, and a sweep thought only to draw the same picture faster.
    return inDrawnOrder({ Describe::periods(withTime(start, kSweepAsked), true),
                            Describe::periods(withTime(start, kSweepAsked * 1000.0), false),
                            Describe::periods(start, false) },
        draw);
}

} // namespace

std::shared_ptr<const TaskPrediction> sweepPrediction()
{
    static const auto prediction = std::make_shared<const TaskPrediction>(TaskPrediction {
        .question = Wording::of(
            goalText(text(u"Con la senoide de %1, ¿qué verás si pones %2 en %3?")
                         .arg(hertz(kSweepHz), panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked))),
            goalText(text(u"Amb la sinusoide d'%1, què veuràs si poses %2 en %3?")
                         .arg(hertz(kSweepHz), panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked)))),
        .choices = sweepChoices,
        .asked = { C::TimeDiv, C::TimeCal, C::XMagnifier },
    });
    return prediction;
}

TaskVerdict judgePredictSweep(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Generator, extent))
        return *p;
    if (Problem p = frequencyProblem(look, kSweepHz))
        return *p;
    if (Problem p = sineProblem(look))
        return *p;
    const double step = Hm203::secondsPerDivAt(scope.value(C::TimeDiv));
    if (!atStep(step, kSweepAsked))
        return notMet(
            text(u"%1 está en %2: ponlo en %3 y mira la traza.")
                .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(step), formatSecondsPerDiv(kSweepAsked)),
            text(u"%1 està en %2: posa'l en %3 i mira la traça.")
                .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(step), formatSecondsPerDiv(kSweepAsked)));
    if (look.settings.xMagnified)
        return notMet(
            text(u"%1 está pulsado y estira el barrido diez veces: suéltalo.").arg(panelLabel(C::XMagnifier)),
            text(u"%1 està polsat i estira l'escombratge deu vegades: deixa'l anar.")
                .arg(panelLabel(C::XMagnifier)));
    if (Problem p = timeCalibratedProblem(look))
        return *p;
    return met(text(u"A 1 µs/div las 10 divisiones duran 10 µs, una centésima del periodo de 1 ms: solo ves "
                    u"un trozo casi recto de la senoide."),
        text(u"A 1 µs/div les 10 divisions duren 10 µs, una centèsima del període d'1 ms: només veus un tros "
             u"quasi recte de la sinusoide."));
}

// Sensitivity: halving the volts per division doubles the trace's height.

constexpr double kSensitivityVpp = 3.0;
constexpr double kSensitivityAsked = 0.5;

void preparePredictSensitivity(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kSensitivityVpp;
}

namespace {

QList<PredictionChoice> sensitivityChoices(const GeneratorSettings &generator, quint32 draw)
{
    const Hm203 start = predictionStart(generator);
    // Fewer volts per division taken for a smaller trace, and a trace thought to follow only the signal.
    return inDrawnOrder({ Describe::height(withVoltsI(start, kSensitivityAsked), true),
                            Describe::height(withVoltsI(start, 4.0 * kSensitivityAsked), false),
                            Describe::height(start, false) },
        draw);
}

} // namespace

std::shared_ptr<const TaskPrediction> sensitivityPrediction()
{
    static const auto prediction = std::make_shared<const TaskPrediction>(TaskPrediction {
        .question = Wording::of(
            goalText(text(u"La senoide de %1 ocupa 3 divisiones a 1 V/div. ¿Qué verás con %2 en %3?")
                         .arg(volts(kSensitivityVpp, QStringLiteral("Vpp")), panelLabel(C::VoltsDivI),
                             formatVoltsPerDiv(kSensitivityAsked))),
            goalText(text(u"La sinusoide de %1 ocupa 3 divisions a 1 V/div. Què veuràs amb %2 en %3?")
                         .arg(volts(kSensitivityVpp, QStringLiteral("Vpp")), panelLabel(C::VoltsDivI),
                             formatVoltsPerDiv(kSensitivityAsked)))),
        .choices = sensitivityChoices,
        .asked = { C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    });
    return prediction;
}

TaskVerdict judgePredictSensitivity(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    std::optional<Extent> extent;
    if (Problem p = steadyChannelIProblem(look, Hookup::Generator, extent))
        return *p;
    if (Problem p = amplitudeProblem(scope, kSensitivityVpp))
        return *p;
    if (Problem p = voltsIProblem(scope, kSensitivityAsked))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    return met(
        text(u"A 0,5 V/div cada división vale la mitad que a 1 V/div, así que los 3 Vpp ocupan el doble: "
             u"6 divisiones. Menos voltios por división, traza más alta."),
        text(u"A 0,5 V/div cada divisió val la meitat que a 1 V/div, així que els 3 Vpp ocupen el doble: 6 "
             u"divisions. Menys volts per divisió, traça més alta."));
}

// AC coupling: the DC level a sine rides on is blocked, and the trace drops to the centre.

constexpr double kLevelVpp = 2.0;
constexpr double kLevelOffset = 3.0;

void preparePredictAc(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kLevelVpp;
    generator.offsetIVolts = kLevelOffset;
}

namespace {

QList<PredictionChoice> acChoices(const GeneratorSettings &generator, quint32 draw)
{
    const Hm203 start = predictionStart(generator);
    // AC thought to change nothing, and AC taken to block the whole signal as GD does.
    return inDrawnOrder({ Describe::level(withControl(start, C::DcI, 0), true), Describe::level(start, false),
                            Describe::level(withControl(start, C::GroundI, 1), false) },
        draw);
}

} // namespace

std::shared_ptr<const TaskPrediction> acPrediction()
{
    static const auto prediction = std::make_shared<const TaskPrediction>(TaskPrediction {
        .question = Wording::of(
            u"La senoide de 2 Vpp va montada sobre 3 V de continua y CH I está en DC. ¿Qué verás al "
            u"pasarlo a AC?",
            u"La sinusoide de 2 Vpp va muntada sobre 3 V de contínua i CH I està en DC. Què veuràs en "
            u"passar-lo a AC?"),
        .choices = acChoices,
        .asked = { C::DcI, C::GroundI, C::YPositionI, C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    });
    return prediction;
}

TaskVerdict judgePredictAc(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (std::abs(scope.generator().offsetIVolts - kLevelOffset) > 1e-9)
        return notMet(text(u"La pregunta se plantea con 3 V de continua en la señal: vuelve a ponerlos en el "
                           u"generador."),
            text(u"La pregunta es planteja amb 3 V de contínua en el senyal: torna a posar-los en el "
                 u"generador."));
    if (Problem p = amplitudeProblem(scope, kLevelVpp))
        return *p;
    if (Problem p = channelIProblem(look))
        return *p;
    if (look.settings.channelI.coupling == Coupling::DC)
        return notMet(text(u"CH I sigue en DC: pásalo a AC con %1 y mira la traza.").arg(panelLabel(C::DcI)),
            text(u"CH I continua en DC: passa'l a AC amb %1 i mira la traça.").arg(panelLabel(C::DcI)));
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    return met(text(u"En AC un condensador en serie bloquea los 3 V de continua y solo deja pasar la parte "
                    u"alterna: la senoide baja hasta el centro sin cambiar de altura."),
        text(u"En AC un condensador en sèrie bloqueja els 3 V de contínua i només deixa passar la part "
             u"alterna: la sinusoide baixa fins al centre sense canviar d'altura."));
}

// X-Y: two equal sines a quarter of a period apart draw a circle.

constexpr double kCircleVpp = 4.0;
constexpr double kCirclePhase = -90.0;

void preparePredictXY(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kCircleVpp;
    generator.amplitudeIIVpp = kCircleVpp;
    generator.phaseIIDegrees = kCirclePhase;
}

namespace {

QList<PredictionChoice> xyChoices(const GeneratorSettings &generator, quint32 draw)
{
    const Hm203 start = predictionStart(generator);
    GeneratorSettings inStep = generator;
    inStep.phaseIIDegrees = 0.0;
    // Two equal sines thought to draw the line of two sines in step, and X-Y taken to show both against
    // time as DUAL does.
    return inDrawnOrder({ Describe::figure(withControl(start, C::XY, 1), true),
                            Describe::figure(withControl(predictionStart(inStep), C::XY, 1), false),
                            Describe::figure(withControl(start, C::Dual, 1), false) },
        draw);
}

} // namespace

std::shared_ptr<const TaskPrediction> xyPrediction()
{
    static const auto prediction = std::make_shared<const TaskPrediction>(TaskPrediction {
        .question = Wording::of(
            goalText(text(u"Las dos salidas dan senoides de %1 desfasadas %2°. ¿Qué verás al pulsar %3?")
                         .arg(volts(kCircleVpp, QStringLiteral("Vpp")), formatDecimal(std::abs(kCirclePhase)),
                             panelLabel(C::XY))),
            goalText(text(u"Les dues eixides donen sinusoides de %1 desfasades %2°. Què veuràs en polsar %3?")
                         .arg(volts(kCircleVpp, QStringLiteral("Vpp")), formatDecimal(std::abs(kCirclePhase)),
                             panelLabel(C::XY)))),
        .choices = xyChoices,
        .asked = { C::XY, C::Dual, C::Add, C::ChannelII, C::VoltsDivI, C::VoltsDivII, C::VoltsCalI,
            C::VoltsCalII, C::MagnifyI, C::MagnifyII },
    });
    return prediction;
}

TaskVerdict judgePredictXY(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = sineProblem(look))
        return *p;
    const GeneratorSettings &g = scope.generator();
    if (std::abs(std::abs(g.phaseIIDegrees) - 90.0) > 1e-9)
        return notMet(
            text(u"La pregunta se plantea con 90° de desfase: vuelve a poner −90° en la fase de II."),
            text(u"La pregunta es planteja amb 90° de desfasament: torna a posar −90° en la fase de II."));
    if (std::abs(g.amplitudeIVpp - kCircleVpp) > 1e-9 || std::abs(g.amplitudeIIVpp - kCircleVpp) > 1e-9)
        return notMet(
            text(u"La pregunta se plantea con dos senoides de 4 Vpp: vuelve a poner esa amplitud en las dos "
                 u"salidas."),
            text(u"La pregunta es planteja amb dues sinusoides de 4 Vpp: torna a posar esta amplitud en les "
                 u"dues eixides."));
    if (look.settings.mode != DisplayMode::XY)
        return notMet(text(u"Pulsa %1 y mira la figura.").arg(panelLabel(C::XY)),
            text(u"Polsa %1 i mira la figura.").arg(panelLabel(C::XY)));
    if (Problem p = groundProblem(look.settings.channelI, false))
        return *p;
    if (Problem p = groundProblem(look.settings.channelII, true))
        return *p;
    if (std::abs(look.settings.channelI.voltsPerDiv / look.settings.channelII.voltsPerDiv - 1.0) > 1e-6)
        return notMet(
            text(u"Con sensibilidades distintas el círculo se estira: pon el mismo VOLTS/DIV en los dos "
                 u"canales, con los mandos CAL en su tope."),
            text(u"Amb sensibilitats distintes el cercle s'estira: posa el mateix VOLTS/DIV en els dos "
                 u"canals, "
                 u"amb els comandaments CAL en el topall."));
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
    if (Problem p = visibleProblem(look, extent, TraceKind::XY))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    return met(text(u"En %1 el canal II mueve el haz de lado a lado y el canal I de arriba abajo. Desfasadas "
                    u"90°, cuando una tensión está en su máximo la otra pasa por cero: el punto recorre un "
                    u"círculo.")
                   .arg(panelLabel(C::XY)),
        text(u"En %1 el canal II mou el feix de costat a costat i el canal I de dalt a baix. Desfasades 90°, "
             u"quan una tensió està en el seu màxim l'altra passa per zero: el punt recorre un cercle.")
            .arg(panelLabel(C::XY)));
}

// The ×10 probe: a divider that brings a tenth of the tip's voltage to the input.

constexpr double kTenthVpp = 6.0;
constexpr double kTenthVolts = 1.0;

void preparePredictProbe(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kTenthVpp;
    // Its trimmer set right: the question is about the divider, not about its corners.
    generator.compensationI = 1.0;
}

namespace {

QList<PredictionChoice> probeChoices(const GeneratorSettings &generator, quint32 draw)
{
    const Hm203 start = predictionStart(generator);
    GeneratorSettings times10 = generator;
    times10.probeI = Probe::Times10;
    // The instrument thought to make up for the probe, and ×10 taken to magnify ten times (as a tenth of
    // the volts per division would).
    return inDrawnOrder({ Describe::height(predictionStart(times10), true), Describe::height(start, false),
                            Describe::height(withVoltsI(start, kTenthVolts / 10.0), false) },
        draw);
}

} // namespace

std::shared_ptr<const TaskPrediction> probePrediction()
{
    static const auto prediction = std::make_shared<const TaskPrediction>(TaskPrediction {
        .question = Wording::of(
            u"La senoide de 6 Vpp ocupa 6 divisiones con la sonda ×1. ¿Qué verás con la sonda ×10 en "
            u"CH I?",
            u"La sinusoide de 6 Vpp ocupa 6 divisions amb la sonda ×1. Què veuràs amb la sonda ×10 en "
            u"CH I?"),
        .choices = probeChoices,
        .asked = { C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    });
    return prediction;
}

TaskVerdict judgePredictProbe(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (Problem p = amplitudeProblem(scope, kTenthVpp))
        return *p;
    if (scope.generator().probeI != Probe::Times10)
        return notMet(text(u"CH I sigue con la sonda ×1: elige la ×10 en el generador y mira la traza."),
            text(u"CH I continua amb la sonda ×1: tria la ×10 en el generador i mira la traça."));
    if (Problem p = channelIProblem(look))
        return *p;
    if (Problem p = voltsIProblem(scope, kTenthVolts))
        return *p;
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelI);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = steadyProblem(look))
        return *p;
    return met(text(u"La sonda ×10 es un divisor: 9 MΩ en su cabeza sobre el 1 MΩ de la entrada dejan llegar "
                    u"una décima de la tensión. Los 6 Vpp llegan como 0,6 Vpp: 0,6 divisiones a 1 V/div."),
        text(u"La sonda ×10 és un divisor: 9 MΩ en el seu cap sobre l'1 MΩ de l'entrada deixen arribar una "
             u"dècima de la tensió. Els 6 Vpp arriben com a 0,6 Vpp: 0,6 divisions a 1 V/div."));
}

} // namespace today
} // namespace

using namespace today;

const PredictTasks &predictTasks()
{
    static const PredictTasks tasks {
        .sweep
        = { .goal = Wording::of(
                goalText(text(u"Pon %1 en %2 y mira la senoide de %3.")
                             .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked), hertz(kSweepHz))),
                goalText(
                    text(u"Posa %1 en %2 i mira la sinusoide d'%3.")
                        .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked), hertz(kSweepHz)))),
            .prepare = preparePredictSweep,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictSweep,
            .about = { C::TimeDiv },
            .prediction = sweepPrediction() },
        .sensitivity = { .goal
            = Wording::of(goalText(text(u"Pon %1 en %2 y mira la altura de la senoide de %3.")
                                       .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(kSensitivityAsked),
                                           volts(kSensitivityVpp, QStringLiteral("Vpp")))),
                goalText(text(u"Posa %1 en %2 i mira l'altura de la sinusoide de %3.")
                             .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(kSensitivityAsked),
                                 volts(kSensitivityVpp, QStringLiteral("Vpp"))))),
            .prepare = preparePredictSensitivity,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictSensitivity,
            .about = { C::VoltsDivI },
            .prediction = sensitivityPrediction() },
        .ac
        = { .goal = Wording::of(goalText(text(u"Pasa CH I de DC a AC con %1 y mira dónde queda la senoide.")
                                             .arg(panelLabel(C::DcI))),
                goalText(text(u"Passa CH I de DC a AC amb %1 i mira on queda la sinusoide.")
                             .arg(panelLabel(C::DcI)))),
            .prepare = preparePredictAc,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictAc,
            .about = { C::DcI },
            .prediction = acPrediction() },
        .xy
        = { .goal = Wording::of(
                goalText(text(u"Pulsa %1 y mira la figura que dibujan las dos senoides desfasadas %2°.")
                             .arg(panelLabel(C::XY), formatDecimal(std::abs(kCirclePhase)))),
                goalText(text(u"Polsa %1 i mira la figura que dibuixen les dues sinusoides desfasades %2°.")
                             .arg(panelLabel(C::XY), formatDecimal(std::abs(kCirclePhase))))),
            .prepare = preparePredictXY,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictXY,
            .about = { C::XY },
            .prediction = xyPrediction() },
        .probe = { .goal
            = Wording::of(u"Elige la sonda ×10 para CH I en el generador y mira la altura de la senoide.",
                u"Tria la sonda ×10 per a CH I en el generador i mira l'altura de la sinusoide."),
            .prepare = preparePredictProbe,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictProbe,
            .about = {},
            .prediction = probePrediction() },
    };
    return tasks;
}
