#pragma once

// What the prediction changes share: the choices as a draw offers them, the parts every change is made
// into, and the changes of the generator's, which live apart from the controls' (circuitpredictions.cpp).

#include "labcatalogue.h"
#include "taskprediction.h"

#include <functional>
#include <optional>

namespace PredictionChanges {

using Judge = std::function<TaskVerdict(const Hm203 &scope, std::optional<double> answer)>;
using Choices = std::function<QList<PredictionChoice>(const GeneratorSettings &generator, quint32 draw)>;

/**
 * The choices in the order a draw gives them, the right one first in the list passed, less any wrong idea
 * that would draw what an earlier choice says: two choices that read alike cannot be told apart.
 */
QList<PredictionChoice> offered(const QList<PredictionChoice> &choices, quint32 draw);

/** The parts every change is made into: its question, choices and judge, and the controls it asks about. */
PredictionParts parts(const LabPrediction &asked, Choices choices, QList<Hm203Control> reset, Judge judge,
    QList<Hm203Control> about);

/** True when a prediction asks for a change of the generator's rather than of a control or the probe. */
bool changesGenerator(const LabChange &change);

/**
 * A change of the generator's on a bench circuit: another circuit from the generator's "Conexión" list, or
 * another frequency. Nothing, with the reason, where the bench has no circuit or the change changes nothing.
 */
std::optional<PredictionParts> generatorChange(
    const LabPrediction &asked, const LabBench &bench, Wording &why);

} // namespace PredictionChanges
