#pragma once

#include "hm203tasks.h"

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
} // namespace Describe
