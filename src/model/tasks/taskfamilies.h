#pragma once

#include "hm203tasks.h"

#include <QString>

/**
 * What the lab catalogue's families share as they word goals and verdicts: the settings the screen must
 * show (settingchecks.cpp), values to measure off it (measuringtasks.cpp, measuringquantities.cpp), the probe
 * and the vertical amplifier (benchtasks.cpp, benchchecks.cpp), the trigger with signals that are not clean
 * and regular (triggertasks.cpp), and a question on what one change will show before the student makes it
 * (predicttasks.cpp). The course's tasks themselves are lab files (assets/labs/).
 */

/** The name printed on the panel for a control, as goals and verdicts name it. */
QString panelLabel(Hm203Control control);
/** A frequency as a goal says it, with the prefix that keeps the number small: "500 Hz", "1 kHz", "1 MHz". */
QString hertz(double frequency);
/** A voltage as a goal says it: "0,5 V"; unit may add to it, as in "Vpp". */
QString volts(double value, const QString &unit = QStringLiteral("V"));
