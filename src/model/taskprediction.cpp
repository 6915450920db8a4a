#include "taskprediction.h"

#include <algorithm>

Hm203 predictionStart(const GeneratorSettings &generator)
{
    Hm203 scope;
    scope.setGenerator(generator);
    return scope;
}

QList<PredictionChoice> inDrawnOrder(QList<PredictionChoice> choices, quint32 draw)
{
    if (choices.isEmpty())
        return choices;
    // Turning the list round keeps the wrong ideas in their order and walks the right one through them.
    const qsizetype shift = qsizetype(draw % quint32(choices.size()));
    std::rotate(choices.begin(), choices.end() - shift, choices.end());
    return choices;
}

TaskVerdict predictionVerdict(const PredictionChoice &chosen, const TaskVerdict &task)
{
    const auto joined = [&task](const char16_t *castilian, const char16_t *valencian) {
        return TaskVerdict { task.met, QString::fromUtf16(castilian) + u' ' + task.castilian,
            QString::fromUtf16(valencian) + u' ' + task.valencian };
    };
    if (chosen.correct)
        return joined(u"Has acertado.", u"Has encertat.");
    // A wrong guess is not a fault: the screen is there to tell, and the explanation to say why.
    if (task.met)
        return joined(u"No es lo que esperabas.", u"No és el que esperaves.");
    return joined(u"No es eso: compruébalo en la pantalla.", u"No és això: comprova-ho en la pantalla.");
}
