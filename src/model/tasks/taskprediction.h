#pragma once

#include "hm203tasks.h"
#include "taskjudging.h"

#include <QList>
#include <QString>

#include <functional>

/**
 * One answer a prediction offers: what the screen shows with the instrument as the choice pictures it,
 * in a plain sentence with the numbers a student would read off the graticule.
 */
struct PredictionChoice : Wording
{
    /** True for the one choice that pictures the setting the question asks about. */
    bool correct = false;
    /**
     * The instrument the choice pictures: the asked setting, or what a wrong idea of the change turns it
     * into (1 µs read as 1 ms, AC taken for GD). The texts describe its screen.
     */
    Hm203 pictured;
};

/**
 * What a task asks before the student may touch the instrument: what the screen will show after one
 * change from where it stands. Every choice is worked out from the instrument's model at a candidate
 * setting, so a wrong choice is what a wrong idea of the change really draws.
 */
struct TaskPrediction
{
    /** The question, shown in the strip while the prediction is open. */
    Wording question;
    /** The choices for the generator the task prepared, in an order the draw picks. */
    std::function<QList<PredictionChoice>(const GeneratorSettings &generator, quint32 draw)> choices;
    /**
     * The controls the question is about, brought back to where the instrument opens when it is asked:
     * the screen must not give the answer away, and the choices start from there.
     */
    QList<Hm203Control> asked;
};

/** The instrument a prediction's choices start from: as it opens, fed by the generator. */
Hm203 predictionStart(const GeneratorSettings &generator);

/**
 * The choices, the correct one first, turned round by the draw: as the draw runs through the number of
 * choices, the correct one takes every place once.
 */
QList<PredictionChoice> inDrawnOrder(QList<PredictionChoice> choices, quint32 draw);

/**
 * What the strip says once a prediction is confirmed, with the task's own verdict on the instrument:
 * whether the choice was right, then how the instrument stands or, once met, why the screen looks so.
 */
TaskVerdict predictionVerdict(const PredictionChoice &chosen, const TaskVerdict &task);

/**
 * The choices a question offers, each saying in the words of one kind of question what a pictured
 * instrument's screen shows, with the numbers read off its traces.
 */
namespace Describe {
/** How many periods of channel I's signal the sweep shows: "Se ven 2 periodos…", "Un trozo casi recto…". */
PredictionChoice periods(const Hm203 &pictured, bool correct);
/** How tall a channel's trace stands, or would stand where it runs off the screen. */
PredictionChoice height(const Hm203 &pictured, bool correct, TraceKind channel = TraceKind::ChannelI);
/** Where a channel's trace stands: its height and how far its middle is off the centre line. */
PredictionChoice level(const Hm203 &pictured, bool correct, TraceKind channel = TraceKind::ChannelI);
/** The figure of an X-Y picture by its shape (line, ellipse, circle), or the two sines of a swept one and
 * how far apart they are. */
PredictionChoice figure(const Hm203 &pictured, bool correct);
/** The component tester's figure for the part in the pictured socket: a line that bends at a knee, an
 * ellipse or a sloping line, with where it bends or how large it is. */
PredictionChoice testerShape(const Hm203 &pictured, bool correct);
} // namespace Describe

/**
 * What the judges of predictions check on the channel a question is about and on the generator the
 * question set: each check gives why the task is not met, or nothing.
 */
namespace PredictionJudging {

/** One channel's controls and trace, as a question about either channel reads them. */
struct Channel
{
    bool second;
    Hm203Control voltsDiv;
    Hm203Control voltsCal;
    Hm203Control magnify;
    Hm203Control coupling;
    Hm203Control ground;
    Hm203Control position;
    TraceKind trace;
    /** The channel as the panel and the verdicts name it: "CH I". */
    const char16_t *name;
};

inline constexpr Channel kChannelI { false, Hm203Control::VoltsDivI, Hm203Control::VoltsCalI,
    Hm203Control::MagnifyI, Hm203Control::DcI, Hm203Control::GroundI, Hm203Control::YPositionI,
    TraceKind::ChannelI, u"CH I" };
inline constexpr Channel kChannelII { true, Hm203Control::VoltsDivII, Hm203Control::VoltsCalII,
    Hm203Control::MagnifyII, Hm203Control::DcII, Hm203Control::GroundII, Hm203Control::YPositionII,
    TraceKind::ChannelII, u"CH II" };

/** True when a calibrated step is the one wanted (to within rounding). */
bool atStep(double step, double wanted);
/** A generator's setting kept as the question set it, to within rounding. */
bool kept(double value, double asked);

/** The generator must still give the amplitude the question was about on the channel's output. */
TaskJudging::Problem amplitudeProblem(
    const Hm203 &scope, const GeneratorSettings &bench, const Channel &channel);
/** The generator must still give the DC level the question was about on the channel's output. */
TaskJudging::Problem offsetProblem(
    const Hm203 &scope, const GeneratorSettings &bench, const Channel &channel);
/** The channel's sensitivity as the question asked it: a calibrated step, not magnified by Y-MAG. */
TaskJudging::Problem voltsProblem(const Hm203 &scope, const Channel &channel, double wanted);
/** The channel's trace must be drawn on its own sweep, not grounded. */
TaskJudging::Problem shownProblem(const TaskJudging::Look &look, const Channel &channel);
/** The channel's trace on, visible and steady, the inputs wired as hookup: what a question about its
 * height needs first. */
TaskJudging::Problem steadyChannelProblem(const TaskJudging::Look &look, Hookup hookup,
    const Channel &channel, std::optional<TaskJudging::Extent> &extent);
/** The whole trace between the graticule's top and bottom lines, where its height can be read. */
TaskJudging::Problem withinProblem(const TaskJudging::Extent &extent, const Channel &channel);

} // namespace PredictionJudging
