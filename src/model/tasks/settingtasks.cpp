#include "labcatalogue.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include <cstring>
#include <initializer_list>

namespace {

using namespace TaskJudging;
using C = Hm203Control;

// The course's own setting goals, judged by the same checks their lab file lists, in the same order.

/** One line of a goal's checks: a key of settingChecks() and its value. */
struct Step
{
    const char *key;
    CheckArgs args = {};
};

CheckArgs onChannel(LabChannel channel)
{
    CheckArgs args;
    args.channel = channel;
    return args;
}

/** A number, or a range's single number, or a quantity in its base unit. */
CheckArgs number(double value)
{
    CheckArgs args;
    args.value = value;
    args.low = value;
    args.high = value;
    return args;
}

const LabCheck &settingCheck(const char *key)
{
    for (const LabCheck &check : settingChecks())
        if (std::strcmp(check.key, key) == 0)
            return check;
    Q_UNREACHABLE();
}

/** As a lab file's goal is judged: the beam and the wiring, then each check; the last praise found wins. */
TaskVerdict judgeSteps(
    const Hm203 &scope, void (*prepare)(GeneratorSettings &, quint32), std::initializer_list<Step> steps)
{
    LabBench bench;
    prepare(bench, 0);
    const Look look(scope);
    if (Problem p = beamProblem(look))
        return *p;
    if (Problem p = hookupProblem(look, bench.hookup))
        return *p;
    std::optional<Wording> praise;
    for (const Step &step : steps) {
        const LabCheck &check = settingCheck(step.key);
        if (Problem p = check.check(look, bench, step.args))
            return *p;
        if (check.praise)
            if (std::optional<Wording> words = check.praise(look, bench, step.args))
                praise = words;
    }
    return praise ? met(praise->castilian, praise->valencian) : wellDone();
}

const CheckArgs kChannelI = onChannel(LabChannel::I);

// Time base: five periods of 500 Hz fill the ten divisions at 1 ms/div.

constexpr double kTimeBaseHz = 500.0;
constexpr int kTimeBasePeriods = 5;

void prepareTimeBase(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = kTimeBaseHz;
    generator.amplitudeIVpp = 4.0;
}

TaskVerdict judgeTimeBase(const Hm203 &scope, std::optional<double>)
{
    // Five whole periods must be seen whole, and counted against a calibrated time base.
    return judgeSteps(scope, prepareTimeBase,
        { { "canal_estable", kChannelI }, { "frecuencia_generador" }, { "en_reticula", kChannelI },
            { "base_calibrada" }, { "periodos", number(kTimeBasePeriods) } });
}

// Time base and sensitivity together: the 10 Vpp signal overdrives the screen at 1 V/div.

constexpr double kTwoPeriodsHz = 1000.0;
constexpr double kTwoPeriodsDivisions = 5.0;

void prepareTwoPeriods(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = kTwoPeriodsHz;
    generator.amplitudeIVpp = 10.0;
}

TaskVerdict judgeTwoPeriods(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(scope, prepareTwoPeriods,
        { { "canal_estable", kChannelI }, { "frecuencia_generador" }, { "en_reticula", kChannelI },
            { "altura_1", number(kTwoPeriodsDivisions) }, { "base_calibrada" }, { "periodos", number(2) } });
}

// Vertical position: the lowest points of the trace on the bottom line of the graticule.

void prepareBottomLine(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
}

TaskVerdict judgeBottomLine(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(scope, prepareBottomLine, { { "canal", kChannelI }, { "linea_inferior", kChannelI } });
}

// Trigger level and slope: the sweep starts on a falling slope, 1 V or more above zero.

constexpr double kTriggerVolts = 1.0;

void prepareFallingStart(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 6.0;
}

TaskVerdict judgeFallingStart(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(scope, prepareFallingStart,
        { { "canal_estable", kChannelI }, { "comienzo_en_bajada", number(kTriggerVolts) } });
}

// AC coupling: a small signal riding on a large DC level.

constexpr double kRidingVpp = 1.0;
constexpr double kRidingOffset = 4.0;
constexpr double kRidingDivisions = 5.0;

void prepareAcCoupling(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = kRidingVpp;
    generator.offsetIVolts = kRidingOffset;
}

TaskVerdict judgeAcCoupling(const Hm203 &scope, std::optional<double>)
{
    // The goal names the signal: five divisions must come from the sensitivity, not a larger signal.
    return judgeSteps(scope, prepareAcCoupling,
        { { "continua_generador" }, { "amplitud_generador" }, { "continua_bloqueada", kChannelI },
            { "canal", kChannelI }, { "estable" }, { "en_reticula", kChannelI },
            { "altura_1", number(kRidingDivisions) } });
}

// The calibrator: a calibrated 0.5 V/div shows its 2 V square over four divisions.

/** The calibrator's terminal the task wires CH I to (Hookup::Calibrator2), and the sensitivity asked. */
constexpr double kCalibratorVolts = CalTerminals::highVolts;
constexpr double kCalibratorVoltsPerDiv = 0.5;
constexpr double kCalibratorDivisions = kCalibratorVolts / kCalibratorVoltsPerDiv;

void prepareCalibrator(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.hookup = Hookup::Calibrator2;
}

TaskVerdict judgeCalibrator(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(scope, prepareCalibrator,
        { { "canal_estable", kChannelI }, { "sensibilidad_calibrada", kChannelI },
            { "en_reticula", kChannelI }, { "sensibilidad_calibrador", number(kCalibratorVoltsPerDiv) } });
}

// DUAL: both signals at once, one in each half of the screen.

constexpr double kDualMinimum = 2.0;

void prepareDual(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.amplitudeIIVpp = 2.0;
    generator.phaseIIDegrees = -90.0;
}

TaskVerdict judgeDual(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(
        scope, prepareDual, { { "dos_canales" }, { "estable" }, { "mitades", number(kDualMinimum) } });
}

// ADD and INV: channel I minus channel II as one trace.

void prepareDifference(GeneratorSettings &generator, quint32)
{
    generator = {};
    generator.frequencyHz = 1000.0;
    generator.amplitudeIVpp = 4.0;
    generator.amplitudeIIVpp = 4.0;
    generator.phaseIIDegrees = -60.0;
}

TaskVerdict judgeDifference(const Hm203 &scope, std::optional<double>)
{
    return judgeSteps(scope, prepareDifference, { { "diferencia" }, { "estable" }, { "suma_en_reticula" } });
}

} // namespace

const SettingTasks &settingTasks()
{
    static const SettingTasks tasks {
        .timeBase = { .goal
            = Wording::of(goalText(text(u"Ajusta %1 para ver cinco periodos completos de la señal de %2.")
                                       .arg(panelLabel(C::TimeDiv), hertz(kTimeBaseHz))),
                goalText(text(u"Ajusta %1 per a veure cinc períodes complets del senyal de %2.")
                             .arg(panelLabel(C::TimeDiv), hertz(kTimeBaseHz)))),
            .prepare = prepareTimeBase,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeTimeBase,
            .about = { C::TimeDiv } },
        .twoPeriods
        = { .goal = Wording::of(
                goalText(text(u"Muestra dos periodos de la señal de %1 con %2 divisiones de pico a pico.")
                             .arg(hertz(kTwoPeriodsHz), formatDecimal(kTwoPeriodsDivisions))),
                goalText(text(u"Mostra dos períodes del senyal d'%1 amb %2 divisions de pic a pic.")
                             .arg(hertz(kTwoPeriodsHz), formatDecimal(kTwoPeriodsDivisions)))),
            .prepare = prepareTwoPeriods,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeTwoPeriods,
            .about = { C::VoltsDivI } },
        .bottomLine
        = { .goal = Wording::of(
                goalText(text(
                    u"Con %1, lleva la traza hasta que sus mínimos toquen la línea inferior de la retícula.")
                             .arg(panelLabel(C::YPositionI))),
                goalText(text(u"Amb %1, porta la traça fins que els seus mínims toquen la línia inferior de "
                              u"la retícula.")
                             .arg(panelLabel(C::YPositionI)))),
            .prepare = prepareBottomLine,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeBottomLine,
            .about = { C::YPositionI } },
        .fallingStart
        = { .goal = Wording::of(
                goalText(text(u"Haz que el barrido empiece en el flanco descendente de la señal, a %1 o más.")
                             .arg(volts(kTriggerVolts))),
                goalText(text(u"Fes que l'escombratge comence en el flanc descendent del senyal, a %1 o més.")
                             .arg(volts(kTriggerVolts)))),
            .prepare = prepareFallingStart,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeFallingStart,
            .about = { C::Slope, C::Level } },
        .acCoupling = { .goal
            = Wording::of(goalText(text(u"La señal de %1 va montada sobre una tensión continua de %2: acopla "
                                        u"CH I en AC y haz que ocupe %3 divisiones de pico a pico.")
                                       .arg(volts(kRidingVpp, QStringLiteral("Vpp")), volts(kRidingOffset),
                                           formatDecimal(kRidingDivisions))),
                goalText(text(u"El senyal d'%1 va muntat sobre una tensió contínua de %2: acobla CH "
                              u"I en AC i fes que ocupe %3 divisions de pic a pic.")
                             .arg(volts(kRidingVpp, QStringLiteral("Vpp")), volts(kRidingOffset),
                                 formatDecimal(kRidingDivisions)))),
            .prepare = prepareAcCoupling,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeAcCoupling,
            .about = { C::DcI, C::VoltsDivI } },
        .calibrator
        = { .goal = Wording::of(
                goalText(text(
                    u"Con CH I en el borne de %1 del calibrador, comprueba la sensibilidad: con %2 en %3 y "
                    u"su mando CAL en el tope, la onda cuadrada debe ocupar %4 divisiones de pico a pico.")
                             .arg(volts(kCalibratorVolts), panelLabel(C::VoltsDivI),
                                 formatVoltsPerDiv(kCalibratorVoltsPerDiv),
                                 formatDecimal(kCalibratorDivisions))),
                goalText(text(
                    u"Amb CH I en el born de %1 del calibrador, comprova la sensibilitat: amb %2 en %3 i el "
                    u"seu "
                    u"comandament CAL en el topall, l'ona quadrada ha d'ocupar %4 divisions de pic a pic.")
                             .arg(volts(kCalibratorVolts), panelLabel(C::VoltsDivI),
                                 formatVoltsPerDiv(kCalibratorVoltsPerDiv),
                                 formatDecimal(kCalibratorDivisions)))),
            .prepare = prepareCalibrator,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeCalibrator,
            .about = { C::VoltsDivI, C::VoltsCalI } },
        .dual = { .goal
            = Wording::of(goalText(text(u"Pulsa %1 y muestra las dos señales a la vez: la del canal I "
                                        u"en la mitad superior de la pantalla y la del canal II en la "
                                        u"inferior, cada una con al menos %2 divisiones de pico a pico.")
                                       .arg(panelLabel(C::Dual), formatDecimal(kDualMinimum))),
                goalText(text(
                    u"Polsa %1 i mostra els dos senyals alhora: el del canal I en la meitat superior de la "
                    u"pantalla i el del canal II en la inferior, cadascun amb almenys %2 divisions de pic a "
                    u"pic.")
                             .arg(panelLabel(C::Dual), formatDecimal(kDualMinimum)))),
            .prepare = prepareDual,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeDual,
            .about = { C::Dual, C::YPositionI, C::YPositionII } },
        .difference = { .goal
            = Wording::of(goalText(text(u"Muestra en una sola traza la diferencia CH I − CH II con %1 e %2.")
                                       .arg(panelLabel(C::Add), panelLabel(C::InvertII))),
                goalText(text(u"Mostra en una sola traça la diferència CH I − CH II amb %1 i %2.")
                             .arg(panelLabel(C::Add), panelLabel(C::InvertII)))),
            .prepare = prepareDifference,
            .answerUnit = {},
            .hidden = HiddenReading::None,
            .judge = judgeDifference,
            .about = { C::Add, C::InvertII } },
    };
    return tasks;
}
