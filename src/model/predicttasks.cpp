#include "taskgoals.h"

#include "taskjudging.h"
#include "taskprediction.h"

#include <cmath>
#include <limits>

namespace TaskGoals {

using namespace TaskJudging;
using C = Hm203Control;

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
    return PredictionChoice { castilian, valencian, correct, pictured };
}

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

/** How many periods of channel I's signal the ten divisions show. */
PredictionChoice periodsChoice(const Hm203 &pictured, bool correct)
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

/** How tall channel I's sine stands, or would stand where the amplifier lets it run off the screen. */
PredictionChoice heightChoice(const Hm203 &pictured, bool correct)
{
    const ScopeSettings s = pictured.scopeSettings();
    const std::optional<Extent> extent = extentOf(computeTraces(s), TraceKind::ChannelI);
    if (extent && !extent->withinRows()) {
        const QString would
            = formatDecimal(peakToPeakDivisions(s.channelI.signal.amplitudeVpp, s.channelI.voltsPerDiv));
        return said(pictured, correct,
            text(u"La senoide mediría %1 divisiones: se sale de la pantalla.").arg(would),
            text(u"La sinusoide faria %1 divisions: ix de la pantalla.").arg(would));
    }
    const QString shown = formatDecimal(extent ? extent->height() : 0.0);
    return said(pictured, correct, text(u"La senoide mide %1 divisiones de pico a pico.").arg(shown),
        text(u"La sinusoide fa %1 divisions de pic a pic.").arg(shown));
}

/** Where channel I's trace stands: its height and how far its middle is off the centre line. */
PredictionChoice levelChoice(const Hm203 &pictured, bool correct)
{
    const std::optional<Extent> extent
        = extentOf(computeTraces(pictured.scopeSettings()), TraceKind::ChannelI);
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

/** The figure the screen shows: an X-Y figure by its shape, or the two sines of a swept picture. */
PredictionChoice figureChoice(const Hm203 &pictured, bool correct)
{
    const ScreenTraces screen = computeTraces(pictured.scopeSettings());
    if (pictured.scopeSettings().mode != DisplayMode::XY) {
        const std::optional<Extent> first = extentOf(screen, TraceKind::ChannelI);
        const QString tall = formatDecimal(first ? first->height() : 0.0);
        return said(pictured, correct, text(u"Dos senoides de %1 divisiones, una tras otra.").arg(tall),
            text(u"Dues sinusoides de %1 divisions, l'una rere l'altra.").arg(tall));
    }
    const Trace figure = screen.traces.value(0);
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

/** The generator must still give the amplitude the question was about. */
Problem amplitudeProblem(const Hm203 &scope, double vpp)
{
    if (std::abs(scope.generator().amplitudeIVpp - vpp) <= 1e-9)
        return std::nullopt;
    const QString asked = formatDecimal(vpp);
    return notMet(text(u"La pregunta es con la señal de %1 Vpp: vuelve a poner esa amplitud en el generador.")
                      .arg(asked),
        text(u"La pregunta és amb el senyal de %1 Vpp: torna a posar aquesta amplitud en el generador.")
            .arg(asked));
}

/** Channel I's sensitivity as the question asked it: a calibrated step, not magnified by Y-MAG. */
Problem voltsIProblem(const Hm203 &scope, double wanted)
{
    const double step = Hm203::voltsPerDivAt(scope.value(C::VoltsDivI));
    if (!atStep(step, wanted))
        return notMet(text(u"VOLTS/DIV I está en %1: ponlo en %2 y mira la traza.")
                          .arg(formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)),
            text(u"VOLTS/DIV I està en %1: posa'l en %2 i mira la traça.")
                .arg(formatVoltsPerDiv(step), formatVoltsPerDiv(wanted)));
    if (scope.isPressed(C::MagnifyI))
        return notMet(text(u"Y-MAG x5 I está pulsado y quintuplica la altura: suéltalo."),
            text(u"Y-MAG x5 I està polsat i quintuplica l'altura: deixa'l anar."));
    if (scope.value(C::VoltsCalI) != controlInfo(C::VoltsCalI).maximum)
        return notMet(
            text(u"El mando CAL de VOLTS/DIV I no está en su tope calibrado: gíralo hasta el tope."),
            text(u"El comandament CAL de VOLTS/DIV I no està en el seu topall calibrat: gira'l fins al "
                 u"topall."));
    return std::nullopt;
}

} // namespace

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
    return inDrawnOrder(
        { periodsChoice(withTime(start, kSweepAsked), true),
            periodsChoice(withTime(start, kSweepAsked * 1000.0), false), periodsChoice(start, false) },
        draw);
}

} // namespace

const TaskPrediction *sweepPrediction()
{
    static const TaskPrediction prediction {
        .castilian = u"Con la senoide de 1 kHz, ¿qué verás si pones TIME/DIV en 1 µs/div?",
        .valencian = u"Amb la sinusoide d'1 kHz, què veuràs si poses TIME/DIV en 1 µs/div?",
        .choices = sweepChoices,
        .asked = { C::TimeDiv, C::TimeCal, C::XMagnifier },
    };
    return &prediction;
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
            text(u"TIME/DIV está en %1: ponlo en 1 µs/div y mira la traza.").arg(formatSecondsPerDiv(step)),
            text(u"TIME/DIV està en %1: posa'l en 1 µs/div i mira la traça.").arg(formatSecondsPerDiv(step)));
    if (look.settings.xMagnified)
        return notMet(text(u"X-MAG x10 está pulsado y estira el barrido diez veces: suéltalo."),
            text(u"X-MAG x10 està polsat i estira l'escombratge deu vegades: deixa'l anar."));
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
    return inDrawnOrder(
        { heightChoice(withVoltsI(start, kSensitivityAsked), true),
            heightChoice(withVoltsI(start, 4.0 * kSensitivityAsked), false), heightChoice(start, false) },
        draw);
}

} // namespace

const TaskPrediction *sensitivityPrediction()
{
    static const TaskPrediction prediction {
        .castilian
        = u"La senoide de 3 Vpp ocupa 3 divisiones a 1 V/div. ¿Qué verás con VOLTS/DIV I en 0,5 V/div?",
        .valencian
        = u"La sinusoide de 3 Vpp ocupa 3 divisions a 1 V/div. Què veuràs amb VOLTS/DIV I en 0,5 V/div?",
        .choices = sensitivityChoices,
        .asked = { C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    };
    return &prediction;
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
    return inDrawnOrder({ levelChoice(withControl(start, C::DcI, 0), true), levelChoice(start, false),
                            levelChoice(withControl(start, C::GroundI, 1), false) },
        draw);
}

} // namespace

const TaskPrediction *acPrediction()
{
    static const TaskPrediction prediction {
        .castilian = u"La senoide de 2 Vpp va montada sobre 3 V de continua y CH I está en DC. ¿Qué verás al "
                     u"pasarlo a AC?",
        .valencian
        = u"La sinusoide de 2 Vpp va muntada sobre 3 V de contínua i CH I està en DC. Què veuràs en "
          u"passar-lo a AC?",
        .choices = acChoices,
        .asked = { C::DcI, C::GroundI, C::YPositionI, C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    };
    return &prediction;
}

TaskVerdict judgePredictAc(const Hm203 &scope, std::optional<double>)
{
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, Hookup::Generator))
        return *p;
    if (std::abs(scope.generator().offsetIVolts - kLevelOffset) > 1e-9)
        return notMet(
            text(u"La pregunta es con 3 V de continua en la señal: vuelve a ponerlos en el generador."),
            text(u"La pregunta és amb 3 V de contínua en el senyal: torna a posar-los en el generador."));
    if (Problem p = amplitudeProblem(scope, kLevelVpp))
        return *p;
    if (Problem p = channelIProblem(look))
        return *p;
    if (look.settings.channelI.coupling == Coupling::DC)
        return notMet(text(u"CH I sigue en DC: pásalo a AC con AC/DC I y mira la traza."),
            text(u"CH I continua en DC: passa'l a AC amb AC/DC I i mira la traça."));
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
    return inDrawnOrder({ figureChoice(withControl(start, C::XY, 1), true),
                            figureChoice(withControl(predictionStart(inStep), C::XY, 1), false),
                            figureChoice(withControl(start, C::Dual, 1), false) },
        draw);
}

} // namespace

const TaskPrediction *xyPrediction()
{
    static const TaskPrediction prediction {
        .castilian = u"Las dos salidas dan senoides de 4 Vpp desfasadas 90°. ¿Qué verás al pulsar X-Y?",
        .valencian = u"Les dues eixides donen sinusoides de 4 Vpp desfasades 90°. Què veuràs en polsar X-Y?",
        .choices = xyChoices,
        .asked = { C::XY, C::Dual, C::Add, C::ChannelII, C::VoltsDivI, C::VoltsDivII, C::VoltsCalI,
            C::VoltsCalII, C::MagnifyI, C::MagnifyII },
    };
    return &prediction;
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
        return notMet(text(u"La pregunta es con 90° de desfase: vuelve a poner −90° en la fase de II."),
            text(u"La pregunta és amb 90° de desfasament: torna a posar −90° en la fase de II."));
    if (std::abs(g.amplitudeIVpp - kCircleVpp) > 1e-9 || std::abs(g.amplitudeIIVpp - kCircleVpp) > 1e-9)
        return notMet(
            text(u"La pregunta es con dos senoides de 4 Vpp: vuelve a poner esa amplitud en las dos "
                 u"salidas."),
            text(u"La pregunta és amb dues sinusoides de 4 Vpp: torna a posar aquesta amplitud en les dues "
                 u"eixides."));
    if (look.settings.mode != DisplayMode::XY)
        return notMet(text(u"Pulsa X-Y y mira la figura."), text(u"Polsa X-Y i mira la figura."));
    if (Problem p = groundProblem(look.settings.channelI, false))
        return *p;
    if (Problem p = groundProblem(look.settings.channelII, true))
        return *p;
    if (std::abs(look.settings.channelI.voltsPerDiv / look.settings.channelII.voltsPerDiv - 1.0) > 1e-6)
        return notMet(
            text(u"Con sensibilidades distintas el círculo se estira: pon el mismo VOLTS/DIV en los dos "
                 u"canales, con los CAL en su tope."),
            text(u"Amb sensibilitats distintes el cercle s'estira: posa el mateix VOLTS/DIV en els dos "
                 u"canals, "
                 u"amb els CAL en el topall."));
    const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
    if (Problem p = visibleProblem(look, extent))
        return *p;
    if (Problem p = graticuleProblem(*extent))
        return *p;
    return met(
        text(u"En X-Y el canal II mueve el haz de lado a lado y el canal I de arriba abajo. Desfasadas "
             u"90°, cuando una tensión está en su máximo la otra pasa por cero: el punto recorre un "
             u"círculo."),
        text(
            u"En X-Y el canal II mou el feix de costat a costat i el canal I de dalt a baix. Desfasades 90°, "
            u"quan una tensió està en el seu màxim l'altra passa per zero: el punt recorre un cercle."));
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
    return inDrawnOrder({ heightChoice(predictionStart(times10), true), heightChoice(start, false),
                            heightChoice(withVoltsI(start, kTenthVolts / 10.0), false) },
        draw);
}

} // namespace

const TaskPrediction *probePrediction()
{
    static const TaskPrediction prediction {
        .castilian
        = u"La senoide de 6 Vpp ocupa 6 divisiones con la sonda ×1. ¿Qué verás con la sonda ×10 en "
          u"CH I?",
        .valencian
        = u"La sinusoide de 6 Vpp ocupa 6 divisions amb la sonda ×1. Què veuràs amb la sonda ×10 en "
          u"CH I?",
        .choices = probeChoices,
        .asked = { C::VoltsDivI, C::VoltsCalI, C::MagnifyI },
    };
    return &prediction;
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
                    u"una décima de la tensión. Los 6 Vpp llegan como 0,6 V: 0,6 divisiones a 1 V/div."),
        text(u"La sonda ×10 és un divisor: 9 MΩ en el seu cap sobre l'1 MΩ de l'entrada deixen arribar una "
             u"dècima de la tensió. Els 6 Vpp arriben com a 0,6 V: 0,6 divisions a 1 V/div."));
}

} // namespace TaskGoals
