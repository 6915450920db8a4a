#include "taskfamilies.h"
#include "taskjudging.h"
#include "taskprediction.h"

#include <cmath>

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
        .question = Wording::of(goalText(text(u"Con la senoide de %1, ¿qué verás si pones %2 en %3?")
                       .arg(hertz(kSweepHz), panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked))), goalText(text(u"Amb la sinusoide d'%1, què veuràs si poses %2 en %3?")
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
        .question = Wording::of(goalText(text(u"La senoide de %1 ocupa 3 divisiones a 1 V/div. ¿Qué verás con %2 en %3?")
                                  .arg(volts(kSensitivityVpp, QStringLiteral("Vpp")),
                                      panelLabel(C::VoltsDivI), formatVoltsPerDiv(kSensitivityAsked))), goalText(text(u"La sinusoide de %1 ocupa 3 divisions a 1 V/div. Què veuràs amb %2 en %3?")
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
        .question = Wording::of(u"La senoide de 2 Vpp va montada sobre 3 V de continua y CH I está en DC. ¿Qué verás al "
                     u"pasarlo a AC?", u"La sinusoide de 2 Vpp va muntada sobre 3 V de contínua i CH I està en DC. Què veuràs en "
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
        .question = Wording::of(goalText(text(u"Las dos salidas dan senoides de %1 desfasadas %2°. ¿Qué verás al pulsar %3?")
                       .arg(volts(kCircleVpp, QStringLiteral("Vpp")), formatDecimal(std::abs(kCirclePhase)),
                           panelLabel(C::XY))), goalText(text(u"Les dues eixides donen sinusoides de %1 desfasades %2°. Què veuràs en polsar %3?")
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
        .question = Wording::of(u"La senoide de 6 Vpp ocupa 6 divisiones con la sonda ×1. ¿Qué verás con la sonda ×10 en "
          u"CH I?", u"La sinusoide de 6 Vpp ocupa 6 divisions amb la sonda ×1. Què veuràs amb la sonda ×10 en "
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

} // namespace

const PredictTasks &predictTasks()
{
    static const PredictTasks tasks {
        .sweep = { .goal = Wording::of(goalText(text(u"Pon %1 en %2 y mira la senoide de %3.")
                           .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked), hertz(kSweepHz))), goalText(text(u"Posa %1 en %2 i mira la sinusoide d'%3.")
                           .arg(panelLabel(C::TimeDiv), formatSecondsPerDiv(kSweepAsked), hertz(kSweepHz)))),
            .prepare = preparePredictSweep,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictSweep,
            .about = { C::TimeDiv },
            .prediction = sweepPrediction() },
        .sensitivity
        = { .goal = Wording::of(goalText(text(u"Pon %1 en %2 y mira la altura de la senoide de %3.")
                                      .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(kSensitivityAsked),
                                          volts(kSensitivityVpp, QStringLiteral("Vpp")))), goalText(text(u"Posa %1 en %2 i mira l'altura de la sinusoide de %3.")
                                      .arg(panelLabel(C::VoltsDivI), formatVoltsPerDiv(kSensitivityAsked),
                                          volts(kSensitivityVpp, QStringLiteral("Vpp"))))),
            .prepare = preparePredictSensitivity,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictSensitivity,
            .about = { C::VoltsDivI },
            .prediction = sensitivityPrediction() },
        .ac
        = { .goal = Wording::of(goalText(
                text(u"Pasa CH I de DC a AC con %1 y mira dónde queda la senoide.").arg(panelLabel(C::DcI))), goalText(
                text(u"Passa CH I de DC a AC amb %1 i mira on queda la sinusoide.").arg(panelLabel(C::DcI)))),
            .prepare = preparePredictAc,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictAc,
            .about = { C::DcI },
            .prediction = acPrediction() },
        .xy = { .goal = Wording::of(goalText(text(u"Pulsa %1 y mira la figura que dibujan las dos senoides desfasadas %2°.")
                           .arg(panelLabel(C::XY), formatDecimal(std::abs(kCirclePhase)))), goalText(text(u"Polsa %1 i mira la figura que dibuixen les dues sinusoides desfasades %2°.")
                           .arg(panelLabel(C::XY), formatDecimal(std::abs(kCirclePhase))))),
            .prepare = preparePredictXY,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictXY,
            .about = { C::XY },
            .prediction = xyPrediction() },
        .probe
        = { .goal = Wording::of(u"Elige la sonda ×10 para CH I en el generador y mira la altura de la senoide.", u"Tria la sonda ×10 per a CH I en el generador i mira l'altura de la sinusoide."),
            .prepare = preparePredictProbe,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgePredictProbe,
            .about = {},
            .prediction = probePrediction() },
    };
    return tasks;
}
