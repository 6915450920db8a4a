#include "circuit.h"
#include "circuitreadings.h"
#include "predictionchanges.h"
#include "taskfamilies.h"
#include "taskjudging.h"

// The changes of the generator's a prediction may ask on a bench circuit: another circuit chosen on the
// generator's "Conexión" list, or another frequency. The circuit's signals exist only once the simulator has
// worked them out, so every instrument a choice pictures is settled here, and the judge waits for the
// student's own to be.

namespace {

using namespace TaskJudging;
using namespace PredictionJudging;
using namespace PredictionChanges;
using C = Hm203Control;

/** Volts read off the screen, as a student reads them: two significant digits ("8,9", "1,1", "0,5"). */
constexpr DecimalStyle kVoltsStyle { .significantDigits = 2 };
/** The most divisions a load's crest may stand above the centre line and stay well inside the graticule. */
constexpr double kCrestDivisions = 3.5;
/** A load that swings less than this share of its crest is taken for a nearly steady voltage. */
constexpr double kNearlySteady = 0.5;
/** How many periods of the load the choices show: a whole one holds every crest and trough, and a slower
 * sweep would flicker. */
constexpr double kPeriodsShown = 1.0;
/** A trace's bottom this near the centre line, in divisions, stands on 0 V. */
constexpr double kOnZero = 0.05;

/** A frequency change taken the wrong way round: as many times lower as it is higher, or the reverse. */
double reversedHz(double from, double to)
{
    return from * from / to;
}

/** The instrument a choice pictures, its circuit worked out: the probes show nothing before. */
Hm203 settled(Hm203 scope)
{
    scope.settleCircuit();
    return scope;
}

/** The finest TIME/DIV step whose ten divisions hold a whole period. */
int periodsFit(double hz)
{
    const Hm203ControlInfo &info = controlInfo(C::TimeDiv);
    std::optional<int> best;
    for (int p = info.minimum; p <= info.maximum; ++p) {
        const double step = Hm203::secondsPerDivAt(p);
        if (periodsOnScreen(hz, step) >= kPeriodsShown && (!best || step < Hm203::secondsPerDivAt(*best)))
            best = p;
    }
    return best.value_or(info.initial);
}

/** CH II shown at a VOLTS/DIV II step, DC or AC coupled, on a generator's circuit, a whole period wide. */
Hm203 loadShown(const GeneratorSettings &generator, int voltsPosition, bool ac)
{
    Hm203 scope = predictionStart(generator);
    scope.setValue(C::ChannelII, 1);
    scope.setValue(C::TimeDiv, periodsFit(generator.frequencyHz));
    scope.setValue(C::VoltsDivII, voltsPosition);
    if (ac)
        scope.setValue(C::DcII, 0);
    return settled(scope);
}

/** The finest VOLTS/DIV II step that keeps a crest well inside the graticule; the coarsest where none does.
 */
int crestFits(double crestVolts)
{
    const Hm203ControlInfo &info = controlInfo(C::VoltsDivII);
    std::optional<int> best;
    int coarsest = info.minimum;
    for (int p = info.minimum; p <= info.maximum; ++p) {
        const double step = Hm203::voltsPerDivAt(p);
        if (step > Hm203::voltsPerDivAt(coarsest))
            coarsest = p;
        if (crestVolts / step <= kCrestDivisions && (!best || step < Hm203::voltsPerDivAt(*best)))
            best = p;
    }
    return best.value_or(coarsest);
}

QString voltsRead(double divisions, double voltsPerDiv)
{
    return formatDecimal(divisions * voltsPerDiv, kVoltsStyle);
}

/**
 * What CH II shows of a circuit's load, in volts read off its screen: crests that fall back to 0 V, a
 * nearly steady voltage with its ripple, or a ripple around 0 V once its mean is taken away.
 */
PredictionChoice load(const Hm203 &pictured, bool correct)
{
    const ScreenReading reading(pictured);
    const double step = reading.settings().channelII.voltsPerDiv;
    const Extent extent = reading.extent(TraceKind::ChannelII).value_or(Extent {});
    const QString crest = voltsRead(extent.maxY, step);
    const QString swing = voltsRead(extent.height(), step);
    const auto said = [&](const QString &castilian, const QString &valencian) {
        return PredictionChoice { { castilian, valencian }, correct, pictured };
    };
    if (std::abs(extent.minY) < kOnZero)
        return said(text(u"CH II: crestas que llegan a %1 V y vuelven a 0 V.").arg(crest),
            text(u"CH II: crestes que arriben a %1 V i tornen a 0 V.").arg(crest));
    if (extent.minY < 0.0 && extent.maxY > 0.0)
        return said(text(u"CH II: %1 V de rizado alrededor de 0 V.").arg(swing),
            text(u"CH II: %1 V d'arrissat al voltant de 0 V.").arg(swing));
    if (extent.height() < kNearlySteady * extent.maxY)
        return said(text(u"CH II: casi continua, %1 V con %2 V de rizado.").arg(crest, swing),
            text(u"CH II: quasi contínua, %1 V amb %2 V d'arrissat.").arg(crest, swing));
    const QString bottom = voltsRead(extent.minY, step);
    return said(text(u"CH II: una onda entre %1 V y %2 V.").arg(bottom, crest),
        text(u"CH II: una ona entre %1 V i %2 V.").arg(bottom, crest));
}

Wording circuitName(const QString &id)
{
    const Circuit *circuit = benchCircuit(id);
    return circuit ? circuit->name : Wording { id, id };
}

/** What a judge of a generator's change checks first: a lit screen, the circuit's hookup, output I's
 * amplitude as the question set it. */
Problem benchProblem(const Look &look, const LabBench &bench)
{
    if (Problem p = beamProblem(look))
        return p;
    if (Problem p = hookupProblem(look, Hookup::Circuit))
        return p;
    return amplitudeProblem(look.scope, bench, kChannelI);
}

/** The generator must be at the frequency wanted, the question's or the change's. */
Problem hertzProblem(const Hm203 &scope, double wanted, bool changed)
{
    const double now = scope.generator().frequencyHz;
    if (atStep(now, wanted))
        return std::nullopt;
    const QString is = hertz(now);
    const QString want = hertz(wanted);
    if (changed)
        return notMet(text(u"El generador está en %1: ponlo en %2 y mira la figura.").arg(is, want),
            text(u"El generador està en %1: posa'l en %2 i mira la figura.").arg(is, want));
    return notMet(text(u"La pregunta se plantea con el generador en %1: vuelve a ponerlo en %1.").arg(want),
        text(u"La pregunta es planteja amb el generador en %1: torna a posar-lo en %1.").arg(want));
}

/** The screen shows the circuit the generator is set to now, not the last one's signals. */
Problem simulatedProblem(const Hm203 &scope)
{
    if (scope.circuitSettled())
        return std::nullopt;
    return notMet(text(u"El circuito se está simulando; espera un momento."),
        text(u"El circuit s'està simulant; espera un moment."));
}

/** Another circuit on the list: what its load shows on CH II. */
PredictionParts circuitChange(const LabPrediction &asked, const LabBench &bench)
{
    const QString target = asked.change.circuit;
    const Choices choices = [target](const GeneratorSettings &generator, quint32 draw) {
        GeneratorSettings changed = generator;
        changed.circuit = target;
        // One step for every choice, the one that shows the bench's own circuit whole.
        const int step
            = crestFits(CircuitReadings::peakVolts(settled(predictionStart(generator)).signalII()));
        // The new part thought to change nothing, and a capacitor taken to block the load's DC as AC does.
        return offered(
            { load(loadShown(changed, step, false), true), load(loadShown(generator, step, false), false),
                load(loadShown(changed, step, true), false) },
            draw);
    };
    const Judge judge = [bench, target, praise = asked.explanation](
                            const Hm203 &scope, std::optional<double>) {
        const Look look(scope);
        if (Problem p = benchProblem(look, bench))
            return *p;
        if (Problem p = hertzProblem(scope, bench.frequencyHz, false))
            return *p;
        if (scope.generator().circuit != target) {
            const Wording now = circuitName(scope.generator().circuit);
            const Wording wanted = circuitName(target);
            return notMet(text(u"En la lista Conexión del generador está «%1»: elige «%2» y mira CH II.")
                              .arg(now.castilian, wanted.castilian),
                text(u"En la llista Conexión del generador està «%1»: tria «%2» i mira CH II.")
                    .arg(now.valencian, wanted.valencian));
        }
        if (Problem p = simulatedProblem(scope))
            return *p;
        if (Problem p = channelIIProblem(look))
            return *p;
        // In AC the load's own DC, which the question is about, is taken away before the screen.
        if (look.settings.channelII.coupling != Coupling::DC) {
            const QString coupling = panelLabel(C::DcII);
            return notMet(
                text(u"CH II está en AC: pásalo a DC con %1 para ver la tensión de la carga desde 0 V.")
                    .arg(coupling),
                text(u"CH II està en AC: passa'l a DC amb %1 per a veure la tensió de la càrrega des de 0 V.")
                    .arg(coupling));
        }
        const std::optional<Extent> extent = extentOf(look.traces, TraceKind::ChannelII);
        if (Problem p = visibleProblem(look, extent, TraceKind::ChannelII))
            return *p;
        // A nearly flat line looks still wherever its sweeps start: a trigger it cannot catch moves nothing.
        if (extent->height() >= 2.0 * kDivisionTolerance)
            if (Problem p = steadyProblem(look))
                return *p;
        return met(praise.castilian, praise.valencian);
    };
    // The choices read the load from 0 V, as CH II in DC on its centre line shows it, over whole periods.
    return parts(asked, choices, { C::DcII, C::GroundII, C::YPositionII, C::TimeDiv }, judge, {});
}

/** Another frequency: the X-Y figure of the circuit's input against its output there. */
PredictionParts frequencyChange(const LabPrediction &asked, const LabBench &bench)
{
    const double wanted = *asked.change.frequencyHz;
    const Choices choices = [wanted](const GeneratorSettings &generator, quint32 draw) {
        const auto figureAt = [&generator](double hz, bool correct) {
            GeneratorSettings changed = generator;
            changed.frequencyHz = hz;
            Hm203 scope = predictionStart(changed);
            scope.setValue(C::XY, 1);
            return Describe::figure(settled(scope), correct);
        };
        // The circuit thought to pass every frequency alike, and the change taken the wrong way round.
        return offered({ figureAt(wanted, true), figureAt(generator.frequencyHz, false),
                           figureAt(reversedHz(generator.frequencyHz, wanted), false) },
            draw);
    };
    const Judge judge
        = [bench, wanted, praise = asked.explanation](const Hm203 &scope, std::optional<double>) {
              const Look look(scope);
              if (Problem p = benchProblem(look, bench))
                  return *p;
              if (scope.generator().circuit != bench.circuit)
                  return notMet(text(u"Vuelve a conectar el circuito de la tarea."),
                      text(u"Torna a connectar el circuit de la tasca."));
              if (Problem p = hertzProblem(scope, wanted, true))
                  return *p;
              if (Problem p = simulatedProblem(scope))
                  return *p;
              if (Problem p = xyFigureProblem(look))
                  return *p;
              if (Problem p = groundProblem(look.settings.channelI, false))
                  return *p;
              if (Problem p = groundProblem(look.settings.channelII, true))
                  return *p;
              const std::optional<Extent> extent = extentOf(look.traces, TraceKind::XY);
              if (Problem p = visibleProblem(look, extent, TraceKind::XY))
                  return *p;
              if (Problem p = graticuleProblem(*extent))
                  return *p;
              return met(praise.castilian, praise.valencian);
          };
    // The choices picture the figure at the sensitivities the instrument opens with.
    return parts(asked, choices,
        { C::VoltsDivI, C::VoltsDivII, C::VoltsCalI, C::VoltsCalII, C::MagnifyI, C::MagnifyII }, judge,
        { C::XY });
}

} // namespace

bool PredictionChanges::changesGenerator(const LabChange &change)
{
    return !change.circuit.isEmpty() || change.frequencyHz.has_value();
}

std::optional<PredictionParts> PredictionChanges::generatorChange(
    const LabPrediction &asked, const LabBench &bench, Wording &why)
{
    if (bench.hookup != Hookup::Circuit) {
        why = Wording::of(
            u"Un cambio de circuito o de frecuencia se pregunta con un circuito en el banco: pon conexion = "
            u"\"circuito\" y su circuito.",
            u"Un canvi de circuit o de freqüència es pregunta amb un circuit en el banc: posa conexion = "
            u"\"circuito\" i el seu circuit.");
        return std::nullopt;
    }
    const LabChange &change = asked.change;
    // Neither is worked out here: the choices need the simulator, which waits until the question is asked.
    if (!change.circuit.isEmpty()) {
        if (change.circuit == bench.circuit) {
            why = {
                text(u"El circuito «%1» ya está en el banco: la pregunta no cambiaría nada.")
                    .arg(bench.circuit),
                text(u"El circuit «%1» ja està en el banc: la pregunta no canviaria res.").arg(bench.circuit)
            };
            return std::nullopt;
        }
        return circuitChange(asked, bench);
    }
    if (atStep(*change.frequencyHz, bench.frequencyHz)) {
        const QString hz = hertz(bench.frequencyHz);
        why = { text(u"El generador ya está en %1: la pregunta no cambiaría nada.").arg(hz),
            text(u"El generador ja està en %1: la pregunta no canviaria res.").arg(hz) };
        return std::nullopt;
    }
    return frequencyChange(asked, bench);
}
