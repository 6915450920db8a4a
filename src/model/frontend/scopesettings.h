#pragma once

#include "inputsignal.h"

#include <QList>
#include <QString>

/** The input coupling switch of a channel: AC blocks the mean, DC passes everything, GD grounds the
 * amplifier. */
enum class Coupling { AC, DC, Ground };

/** The vertical mode buttons: one channel, both channels chopped or alternated, their sum, or X-Y. */
enum class DisplayMode { ChannelI, ChannelII, Dual, Add, XY };

/** Where the sweep is triggered from: one of the channels, or the TRIG. INP. socket (EXT.). */
enum class TriggerSource { ChannelI, ChannelII, External };

/** The TRIG. selector: how the trigger circuit is coupled to its source. AC and DC pass the signal with
 * or without its mean; HF passes only fast signals, LF only slow ones; the mains position (~) triggers on
 * the 50 Hz line instead of the signal. */
enum class TriggerCoupling { AC, DC, HF, LF, Line };

/** The SLOPE button: the sweep starts on a rising (+) or falling (−) crossing of the level. */
enum class TriggerSlope { Rising, Falling };

/** AT runs the sweep freely when nothing triggers it; NORM leaves the screen dark instead. */
enum class TriggerMode { Automatic, Normal };

/** The controls of one vertical channel and the signal at its input. */
struct ChannelSettings
{
    InputSignal signal;
    double voltsPerDiv = 1.0;
    Coupling coupling = Coupling::DC;
    /** The Y-POS. knob, in divisions, positive upwards. */
    double position = 0.0;
    bool inverted = false;
    /** With AC coupling just switched in, the part of the signal's mean its capacitor has not yet taken
     * up, in volts: the trace still stands this much off and settles to its place. */
    double settlingVolts = 0.0;
};

/** The trigger controls. The level is in volts at the source channel's input, after its coupling. */
struct TriggerSettings
{
    TriggerSource source = TriggerSource::ChannelI;
    double levelVolts = 0.0;
    TriggerSlope slope = TriggerSlope::Rising;
    TriggerMode mode = TriggerMode::Automatic;
    TriggerCoupling coupling = TriggerCoupling::DC;
    /** ALT.: with both channels alternating, each sweep is triggered from the channel it draws. */
    bool alternate = false;
};

/** Every control of the HM-203 that changes the picture, and the two input signals. */
struct ScopeSettings
{
    ChannelSettings channelI;
    ChannelSettings channelII;
    DisplayMode mode = DisplayMode::ChannelI;
    double secondsPerDiv = 1e-3;
    /** The X-POS. knob, in divisions, positive to the right. */
    double xPosition = 0.0;
    TriggerSettings trigger;
    /** The signal at the TRIG. INP. socket, which EXT. triggers from. */
    InputSignal externalTrigger;
    /** X-MAG x10: the middle tenth of the sweep spread over the whole screen (X-POS. picks the tenth). */
    bool xMagnified = false;
    /** With both channels shown, the beam switches between them many times a sweep instead of drawing
     * whole sweeps in turn. */
    bool chopped = false;
    /** Where a sweep that nothing triggered starts, in seconds of signal time: it changes from sweep to
     * sweep, so an untriggered trace runs. */
    double freeRunSeconds = 0.0;
    /** The HOLD OFF knob, from 0 (its shortest hold-off) to 1 (ten times as long). */
    double holdOff = 0.0;
    /** From when, in seconds of signal time, the time base waits for its trigger: after the last sweep's
     * hold-off. Only a signal whose periods differ (a burst, hum, noise) shows the difference. */
    double armedSeconds = 0.0;
};

/** The calibrated VOLTS/DIV steps of the HM-203, 5 mV to 20 V in a 1-2-5 sequence, smallest first. */
const QList<double> &voltsPerDivSteps();
/** The calibrated TIME/DIV steps, 0.5 µs to 0.2 s in a 1-2-5 sequence, shortest first. */
const QList<double> &secondsPerDivSteps();
/** True when the value is one of the calibrated steps (to within rounding). */
bool isCalibratedStep(const QList<double> &steps, double value);

/** A value to three significant digits with a decimal comma, in the unit prefix (a power of ten of 0, −3,
 * −6 or −9, no lower than smallestExponent) that keeps its number between 0,1 and 999: the one choice the
 * printed scales and their spoken words share. */
struct PrefixedNumber
{
    QString digits;
    int exponent = 0;
};
PrefixedNumber prefixedNumber(double value, int smallestExponent);

/** The number and prefix of a VOLTS/DIV or TIME/DIV step as the panel prints it, for its symbols and its
 * spoken words alike. */
PrefixedNumber voltsPerDivNumber(double voltsPerDiv);
PrefixedNumber secondsPerDivNumber(double secondsPerDiv);
/** A VOLTS/DIV step as the panel prints it with its unit, with a decimal comma: "5 mV/div", "0,2 V/div". */
QString formatVoltsPerDiv(double voltsPerDiv);
/** A TIME/DIV step with its unit and a decimal comma: "0,5 µs/div", "0,2 ms/div", "10 ms/div". */
QString formatSecondsPerDiv(double secondsPerDiv);
/** A quantity with the unit prefix that keeps its number between 0,1 and 999, to three significant digits
 * and with a decimal comma: "1 ms", "0,4 V", "50 mV", "2,5 µs". */
QString formatQuantity(double value, const QString &unit);
/** The scale line drawn under a screen: the sensitivities of the shown channels and the time base. */
QString scaleLegend(const ScopeSettings &settings);
