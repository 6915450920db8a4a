#pragma once

#include "hm203tasks.h"
#include "taskjudging.h"
#include "taskprediction.h"
#include "wording.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>

/**
 * What a lab file may ask of the instrument, as the program knows it: the checks a setting goal is made of,
 * the quantities a student measures, and the changes a prediction asks about. A file names them by their
 * keys and gives their values; each family of tasks keeps its own entries beside its judges
 * (settingchecks.cpp, measuringquantities.cpp, benchchecks.cpp, triggertasks.cpp, predicttasks.cpp), and the
 * reader of lab files (labfile.h) finds them here.
 */

/** The channel a check or a measurement is about, as a file names it: "CH I", "CH II". */
enum class LabChannel { I, II };

/** What a check's value is in a file. */
enum class CheckValue {
    /** `true`: the check has nothing to set. */
    Yes,
    /** A channel: "CH I" or "CH II". */
    Channel,
    /** A plain number, as divisions or periods are counted: "5", "2,5". */
    Number,
    /** Two plain numbers, the least and the most: ["4,5", "5,5"]; a single number means exactly it, within
     * what the check itself allows. */
    Range,
    /** A quantity with its unit (LabUnit), worked out in the unit's base. */
    Volts,
    Hertz,
    Seconds,
    Degrees,
    /** A control and where it stands: { mando = "TIME/DIV", posicion = "0,2 ms" }. */
    Position,
};

/** A check's value as read from the file: the fields its CheckValue fills. */
struct CheckArgs
{
    LabChannel channel = LabChannel::I;
    /** A number, or a quantity in its base unit (V, Hz, s, °). */
    double value = 0.0;
    /** A range's ends; a single number gives both. */
    double low = 0.0;
    double high = 0.0;
    Hm203Control control = Hm203Control::Power;
    int position = 0;
};

/** The bench a task starts from, as its file sets it up (the first of any values to draw among). */
using LabBench = GeneratorSettings;

/**
 * One condition a setting goal may put on the screen, in the order the file lists them: the first that
 * fails is the verdict. The tube lit and the inputs wired as the bench wires them are checked before any.
 */
struct LabCheck
{
    /** The key in a file: "canal_estable", "periodos", … */
    const char *key;
    CheckValue value;
    /** Why the goal is not met, or nothing when this part of it is. */
    TaskJudging::Problem (*check)(
        const TaskJudging::Look &look, const LabBench &bench, const CheckArgs &args);
    /** The praise when the goal is met and this is the last check with one; nullptr for none (the file's own
     * praise, or a plain one, is given then). */
    std::optional<Wording> (*praise)(
        const TaskJudging::Look &look, const LabBench &bench, const CheckArgs &args)
        = nullptr;
};

/** The slips a measurement may recognise in a wrong reading, as a file names them. */
enum class ReadingSlip {
    /** "sonda": the ×10 probe forgotten, or counted twice. */
    Probe,
    /** "pico": the peak for the peak-to-peak value, or the other way round (and the rms value of a sine). */
    Peak,
    /** "unidad": the unit off by a thousand, or divisions typed for the value. */
    Unit,
    /** "periodo": half a period for a period, the period for the frequency. */
    Period,
    /** "cal": the fine knob out of its calibrated stop. */
    Cal,
    /** "razon": a frequency worked out from an X-Y figure with the ratio of touching points upside down. */
    Ratio,
};

/** A measurement as a file asks it. */
struct LabMeasurement
{
    LabChannel channel = LabChannel::I;
    /** The right value in the quantity's base unit; nothing when the model works it out from the bench. */
    std::optional<double> expected;
    /** How far a reading may stand from it, in the same unit; nothing for what a quarter division each way
     * gives. */
    std::optional<double> tolerance;
    /** The slips to recognise; nothing for every slip the quantity knows. */
    std::optional<QList<ReadingSlip>> slips;
};

/** What a measuring task is, made from its file's measurement and bench. */
struct MeasuringParts
{
    /** The unit the answer is typed in: "V", "ms", "Hz", "°", "ns". */
    QString answerUnit;
    /** The generator reading the window must hide, as it is the answer. */
    HiddenReading hidden = HiddenReading::None;
    std::function<TaskVerdict(const Hm203 &scope, std::optional<double> answer)> judge;
};

/** One quantity a student may be asked to measure. */
struct LabQuantity
{
    /** The key in a file: "pico_a_pico", "amplitud", "periodo", "frecuencia", "fase", "tiempo_de_subida",
     * "continua". */
    const char *key;
    /** The unit "esperado" and "tolerancia" are written in: Volts, Seconds, Hertz or Degrees; Number for a
     * ratio. */
    CheckValue unit;
    /** Whether the quantity may be asked of CH II (the phase is between the two and takes no channel). */
    bool onChannelII;
    /** The measuring task for a measurement on a bench; nothing, with the reason, where the bench cannot show
     * the quantity (a phase with one channel unwired). */
    std::optional<MeasuringParts> (*make)(
        const LabMeasurement &measurement, const LabBench &bench, Wording &why);
};

/**
 * The change a prediction asks about: a control to a position, the probe on CH I, or the generator's
 * circuit or frequency.
 */
struct LabChange
{
    /** A control moved to a position (Hm203::setValue's), unless one of the generator's changes is set. */
    Hm203Control control = Hm203Control::Power;
    int position = 0;
    std::optional<Probe> probe;
    /** Another bench circuit on the inputs, by its id (circuit.h); empty for none. */
    QString circuit;
    /** Another frequency on the generator's outputs, in hertz. */
    std::optional<double> frequencyHz;
};

/** A prediction as a file asks it. */
struct LabPrediction
{
    Wording question;
    LabChange change;
    /** Why the screen looks as it does, the praise once the student has made the change and looked. */
    Wording explanation;
};

/** What a prediction task is, made from its file's prediction and bench. */
struct PredictionParts
{
    std::shared_ptr<const TaskPrediction> prediction;
    std::function<TaskVerdict(const Hm203 &scope, std::optional<double> answer)> judge;
    /** The controls the goal is about, which the student then moves. */
    QList<Hm203Control> about;
};

/** The checks, quantities and changes every family offers, each key once. */
std::span<const LabCheck> labChecks();
std::span<const LabQuantity> labQuantities();
/** The slips' keys, in ReadingSlip's order. */
std::span<const char *const> readingSlipKeys();
/**
 * The prediction task for a change on a bench: its choices worked out by the model, as a wrong idea of the
 * change would draw them. Nothing, with the reason, for a change the model cannot offer choices for.
 */
std::optional<PredictionParts> makePrediction(
    const LabPrediction &prediction, const LabBench &bench, Wording &why);

/** The families' own entries, joined by labChecks() and labQuantities(). */
std::span<const LabCheck> settingChecks();
std::span<const LabCheck> benchChecks();
std::span<const LabCheck> triggerChecks();
std::span<const LabCheck> predictChecks();
std::span<const LabCheck> xyChecks();
/** The bench circuits' and the component tester's quantities (circuitquantities.cpp). */
std::span<const LabQuantity> circuitQuantities();
