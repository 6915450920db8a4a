#pragma once

#include "hm203.h"
#include "tracecause.h"
#include "wording.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

/** How a task stands: met or not, and what to tell the student: when not met, what is wrong in the
 * student's terms; when met, a short word of praise. */
struct TaskVerdict : Wording
{
    bool met = false;
    /** When not met for something the explanation of the screen also finds, that cause. */
    std::optional<TraceCause> cause;
};

struct TaskPrediction;

/** The generator reading a task keeps from the student, because it is the answer to be measured. */
enum class HiddenReading {
    None,
    FrequencyI,
    OffsetI,
    PhaseII,
    AmplitudeI,
    AmplitudeII,
    OffsetII,
    FrequencyII
};

/**
 * One small goal of the live oscilloscope: what the student is asked, the generator it starts from and
 * how the instrument's state is judged. Judges look at what the screen really shows, so every setting
 * that shows the goal is right, not only the one the author thought of.
 */
struct Hm203Task
{
    /** The goal, shown in the task strip. */
    Wording goal;
    /**
     * Wires and sets the generator the task starts from (the student may change it afterwards unless the
     * goal forbids). A measuring task picks the value to be measured among a few with draw, so that a
     * second attempt asks for a new measurement; any number will do.
     */
    std::function<void(GeneratorSettings &generator, quint32 draw)> prepare;
    /** For a measuring task, the unit of the typed answer ("°", "Hz", "V", "ns"); empty when nothing is
     * typed.
     */
    QString answerUnit;
    /** The generator reading the window must not show while the task runs. */
    HiddenReading hidden = HiddenReading::None;
    /** Judges the instrument as it stands, with the typed answer (already read) of a measuring task; a
     * measuring task's judge is its row's, read by the measuring judge (measuringjudge.h). */
    std::function<TaskVerdict(const Hm203 &scope, std::optional<double> answer)> judge;
    /**
     * The controls the goal is about: those it names, or where it names none, those the student sets to
     * meet it. They stay where the student has them when the task opens; every other control goes back to
     * where the instrument opens, so that what an earlier task left can neither meet nor spoil this one.
     */
    QList<Hm203Control> about;
    /**
     * For a task that first asks what the screen will show (taskprediction.h), its question; the goal
     * above is then what the student does once the prediction is made. Null for every other task.
     */
    std::shared_ptr<const TaskPrediction> prediction = nullptr;
    /** The name its lab file gives the task, where it gives one ("base_de_tiempos"). */
    QString id = {};
};

/** The course's tasks, in teaching order, from the labs it ships (courseLab() in lab.h). */
const QList<Hm203Task> &hm203Tasks();

/**
 * The controls a task leaves where the student has them when it opens: those it is about, less those its
 * prediction asks about, which go back with the rest so that the screen does not answer the question.
 */
QList<Hm203Control> keptControls(const Hm203Task &task);
/** The controls that go back to where the instrument opens when a task opens: all but the kept ones. */
QList<Hm203Control> startingControls(const Hm203Task &task);

/**
 * Judges a task at a moment of the instrument's life: nothing is met while the tube is still dark or
 * fading in after POWER, since the student cannot see the trace yet; then the task's own judge decides.
 */
TaskVerdict judgeTask(
    const Hm203Task &task, const Hm203 &scope, const BeamMoment &moment, std::optional<double> answer);

/**
 * Reads a typed number: blanks around it trimmed, an optional sign, a decimal comma or point, then
 * optionally the unit (in any case, with or without a blank). Where unit is given, its usual
 * alternatives count too and are converted to it: "º" and "grados"/"graus" for "°", "kHz" for "Hz",
 * "mV" for "V", "s" and "µs" for "ms", "µs" for "ns". Returns nothing for anything else: garbage, another
 * unit, a number too large to be finite, or a text far longer than any measurement.
 */
std::optional<double> readTypedNumber(const QString &typed, QStringView unit = {});
