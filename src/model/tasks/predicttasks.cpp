#include "componenttester.h"
#include "labcatalogue.h"
#include "predictionchanges.h"
#include "taskfamilies.h"
#include "taskjudging.h"
#include "taskprediction.h"
#include "tracewording.h"
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
using namespace PredictionJudging;
using namespace PredictionChanges;
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

QString probeName(Probe probe)
{
    return probe == Probe::Times10 ? QStringLiteral("×10") : QStringLiteral("×1");
}

double probeRatio(Probe probe)
{
    return probe == Probe::Times10 ? Probes::times10Ratio : 1.0;
}

/** The instrument a question about a channel pictures: as it opens, showing that channel. */
Hm203 showing(const Hm203 &start, const Channel &channel)
{
    return channel.second ? withControl(start, C::ChannelII, 1) : start;
}

double openingVoltsPerDiv(const Channel &channel)
{
    return Hm203::voltsPerDivAt(controlInfo(channel.voltsDiv).initial);
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
              if (Problem p = steadyChannelProblem(look, bench.hookup, channel, extent))
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

/** The parts a student learns to tell apart by their figures on the tester: each is what a student may take
 * another for. */
constexpr const char16_t *kToldApart[] { u"r1k", u"c10u", u"d1n4007" };

QString testerPartName(const QString &id, Language language)
{
    const TesterPart *part = testerPart(id);
    return part ? part->name.in(language) : id;
}

/** COMPONENT TESTER pressed: the figure of the part in the socket, beside the other kinds' figures. */
PredictionParts testerChange(const LabPrediction &asked, const LabBench &bench)
{
    const Choices choices = [](const GeneratorSettings &generator, quint32 draw) {
        const auto inSocket = [&generator](const QString &part, bool correct) {
            GeneratorSettings placed = generator;
            placed.testerPart = part;
            return Describe::testerShape(withControl(predictionStart(placed), C::Tester, 1), correct);
        };
        // The part taken for a resistor, a capacitor or a diode: what each of those draws.
        QList<PredictionChoice> choices { inSocket(generator.testerPart, true) };
        for (const char16_t *other : kToldApart)
            if (generator.testerPart != QString::fromUtf16(other))
                choices << inSocket(QString::fromUtf16(other), false);
        return offered(choices, draw);
    };
    const Judge judge = [part = bench.testerPart, praise = asked.explanation](
                            const Hm203 &scope, std::optional<double>) {
        if (!scope.isPressed(C::Power))
            return notMet(TraceCause::PowerOff, TraceWording::powerOff());
        if (scope.generator().testerPart != part) {
            const QString now = scope.generator().testerPart;
            return notMet(
                text(u"En el zócalo está «%1»: vuelve a poner «%2», la pieza de la pregunta.")
                    .arg(testerPartName(now, Language::Castilian), testerPartName(part, Language::Castilian)),
                text(u"En el sòcol està «%1»: torna a posar «%2», la peça de la pregunta.")
                    .arg(
                        testerPartName(now, Language::Valencian), testerPartName(part, Language::Valencian)));
        }
        if (!scope.isPressed(C::Tester))
            return notMet(text(u"Pulsa %1 y mira la figura.").arg(panelLabel(C::Tester)),
                text(u"Polsa %1 i mira la figura.").arg(panelLabel(C::Tester)));
        return met(praise.castilian, praise.valencian);
    };
    // The tester goes back off while the question is open: its figure is the answer.
    return parts(asked, choices, { C::Tester }, judge, {});
}

/** The controls a prediction may ask to move, as its changes above know them. */
constexpr C kAskable[] { C::TimeDiv, C::VoltsDivI, C::VoltsDivII, C::DcI, C::DcII, C::XY, C::Tester };

/** The refusal of a prediction, the same in both languages. */
std::optional<PredictionParts> refused(Wording &why, const QString &castilian, const QString &valencian)
{
    why = { castilian, valencian };
    return std::nullopt;
}

} // namespace

QList<PredictionChoice> PredictionChanges::offered(const QList<PredictionChoice> &choices, quint32 draw)
{
    QList<PredictionChoice> distinct;
    for (const PredictionChoice &choice : choices)
        if (std::none_of(distinct.cbegin(), distinct.cend(),
                [&choice](const PredictionChoice &earlier) { return earlier.castilian == choice.castilian; }))
            distinct << choice;
    return inDrawnOrder(distinct, draw);
}

PredictionParts PredictionChanges::parts(
    const LabPrediction &asked, Choices choices, QList<C> reset, Judge judge, QList<C> about)
{
    return { std::make_shared<const TaskPrediction>(TaskPrediction {
                 .question = asked.question, .choices = std::move(choices), .asked = std::move(reset) }),
        std::move(judge), std::move(about) };
}

std::span<const LabCheck> predictChecks()
{
    return {};
}

std::optional<PredictionParts> makePrediction(
    const LabPrediction &prediction, const LabBench &bench, Wording &why)
{
    // The generator's changes are asked of a bench circuit, whose signals are no sines of the generator's.
    if (changesGenerator(prediction.change))
        return generatorChange(prediction, bench, why);
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
        case C::Tester:
            if (bench.testerPart.isEmpty())
                return refused(why,
                    text(u"El zócalo del comprobador está vacío: pon comprobador = \"…\" en el generador."),
                    text(u"El sòcol del comprovador està buit: posa comprobador = \"…\" en el generador."));
            // The figures need the simulator, which draws them when the question is asked.
            return testerChange(prediction, bench);
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
