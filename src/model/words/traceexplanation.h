#pragma once

#include "hm203.h"
#include "screendescription.h"
#include "tracecause.h"

#include <QList>
#include <QString>

/** Why the screen does not show a steady trace, and what mends it: one to three short sentences in the
 * student's terms, what is wrong and which control mends it. */
struct TraceExplanation : Wording
{
    /** Everything that stands in the way, most likely first; empty when nothing is wrong. */
    QList<TraceCause> causes;
    bool fine() const { return causes.isEmpty(); }
};

/**
 * Looks at the instrument as the screen shows it at a moment and says what keeps the trace from being
 * seen, steady and readable: the same model that draws the screen, asked what it draws. With readings
 * withheld, it names no value the student is asked to work out.
 */
TraceExplanation explainTrace(
    const Hm203 &scope, const BeamMoment &moment = {}, ScreenReadings readings = ScreenReadings::Worked);
