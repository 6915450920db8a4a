#pragma once

#include "hm203tasks.h"

#include <QString>

/**
 * The tasks of the strip by family, each family's table beside its judges: settings the screen must show
 * (settingtasks.cpp), values to measure off it (measuringtasks.cpp), the probe and the vertical amplifier
 * (benchtasks.cpp), the trigger with signals that are not clean and regular (triggertasks.cpp), and a
 * question on what one change will show before the student makes it (predicttasks.cpp). hm203Tasks() puts
 * them in teaching order.
 */

/** Settings the screen must show. */
struct SettingTasks
{
    Hm203Task timeBase;
    Hm203Task twoPeriods;
    Hm203Task bottomLine;
    Hm203Task fallingStart;
    Hm203Task acCoupling;
    Hm203Task calibrator;
    Hm203Task dual;
    Hm203Task difference;
};
const SettingTasks &settingTasks();

/** Values to measure off the screen. */
struct MeasuringTasks
{
    Hm203Task peakToPeak;
    Hm203Task dcLevel;
    Hm203Task period;
    Hm203Task frequency;
    Hm203Task phaseXY;
    Hm203Task rcLead;
};
const MeasuringTasks &measuringTasks();

/** The probe and the vertical amplifier: what they do to the signal on its way to the screen. */
struct BenchTasks
{
    Hm203Task compensation;
    Hm203Task probeVoltage;
    Hm203Task riseTime;
    Hm203Task bandwidth;
};
const BenchTasks &benchTasks();

/** The trigger with signals that are not clean and regular. */
struct TriggerTasks
{
    Hm203Task hum;
    Hm203Task noise;
    Hm203Task burst;
    Hm203Task smallSignal;
};
const TriggerTasks &triggerTasks();

/** Predict, then look: the met verdict says why the screen looks so. */
struct PredictTasks
{
    Hm203Task sweep;
    Hm203Task sensitivity;
    Hm203Task ac;
    Hm203Task xy;
    Hm203Task probe;
};
const PredictTasks &predictTasks();

/**
 * A goal written from the constants its judge reads, kept for as long as the program runs, since a task's
 * goal is read wherever the strip shows it.
 */
const char16_t *goalText(const QString &text);
/** The name printed on the panel for a control, as goals and verdicts name it. */
QString panelLabel(Hm203Control control);
/** A frequency as a goal says it, with the prefix that keeps the number small: "500 Hz", "1 kHz", "1 MHz". */
QString hertz(double frequency);
/** A voltage as a goal says it: "0,5 V"; unit may add to it, as in "Vpp". */
QString volts(double value, const QString &unit = QStringLiteral("V"));
