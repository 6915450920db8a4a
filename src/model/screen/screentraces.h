#pragma once

#include "scopesettings.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <optional>

/**
 * The HM-203's screen in divisions: 10 across, 8 up, origin at the centre, y positive upwards.
 * The tube face shows a little more than the graticule, and the amplifiers run out of range a
 * couple of divisions beyond it, so an overdriven trace leaves the screen and stays off it.
 */
namespace ScreenGeometry {
inline constexpr double columns = 10.0;
inline constexpr double rows = 8.0;
inline constexpr double halfWidth = columns / 2.0;
inline constexpr double halfHeight = rows / 2.0;
/** How far past the outer graticule lines the beam is still visible, in divisions. */
inline constexpr double overscan = 0.25;
/** Where the deflection amplifiers saturate, in divisions from the centre. */
inline constexpr double amplifierLimit = 6.0;
/** The part of the plane the tube face shows. */
inline QRectF visibleArea()
{
    return QRectF(-halfWidth - overscan, -halfHeight - overscan, columns + 2 * overscan, rows + 2 * overscan);
}
} // namespace ScreenGeometry

/** What a trace shows. */
enum class TraceKind { ChannelI, ChannelII, Sum, XY };

/** One beam path as a polyline in screen divisions, in the order the beam draws it. */
struct Trace
{
    TraceKind kind = TraceKind::ChannelI;
    QList<QPointF> points;
};

/** Everything the beam writes on the screen for one setting of the controls. */
struct ScreenTraces
{
    QList<Trace> traces;
    /** False when no trigger event was found: AT then runs the sweep freely, NORM shows nothing. */
    bool triggered = false;
    /** The signal time, in seconds, at which the sweep starts. */
    double sweepStartSeconds = 0.0;
};

/** Draws the screen of the instrument for a setting of its controls. Bad values give an empty screen, never a
 * fault. */
ScreenTraces computeTraces(const ScopeSettings &settings);

/** The channel's deflection in divisions at time t, coupling, inversion and Y-POS. included, before
 * saturation. */
double channelDivisions(const ChannelSettings &channel, double seconds);

/** The voltage the trigger circuit sees from a channel at time t (after the coupling switch, before INV). */
double triggerVolts(const ChannelSettings &channel, double seconds);

/** The trigger's sensitivity (technical data): from a channel, a trace 5 mm high, half a division; from
 * TRIG. INP., 0,6 V. A smaller signal does not trigger the sweep. */
namespace TriggerSensitivity {
inline constexpr double internalDivisions = 0.5;
inline constexpr double externalVolts = 0.6;
} // namespace TriggerSensitivity

/** What the trigger circuit passes (technical data): nothing faster than 40 MHz triggers the sweep; TRIG. at
 * HF passes only what is faster than 1,5 kHz, at LF only what is slower than 1 kHz. */
namespace TriggerBand {
inline constexpr double highestHz = 40e6;
inline constexpr double highPassHz = 1500.0;
inline constexpr double lowPassHz = 1000.0;
} // namespace TriggerBand

/** Why a trigger source starts no sweep. */
enum class TriggerMiss {
    /** It does start one. */
    None,
    /** The source channel is on GD. */
    Grounded,
    /** Nothing that alternates reaches the source: no signal, or a steady level. */
    NoSignal,
    /** HF keeps a slow signal, LF a fast one, out of the trigger circuit. */
    Filtered,
    /** The signal is faster than the trigger circuit follows. */
    TooFast,
    /** It swings less than the trigger's sensitivity. */
    TooSmall,
    /** LEVEL lies beyond what the signal passes through on the chosen slope. */
    LevelOutside,
};

/** What the trigger circuit finds on a source: the moment the sweep it fires starts, or why it never does. */
struct TriggerSearch
{
    std::optional<double> time;
    TriggerMiss miss = TriggerMiss::None;
    /** It fires on the mains, not on the signal: TRIG. at ~, or a filter that lets only the hum through. */
    bool mains = false;
};

/** The lowest and highest volts the trigger circuit hears from a source over a swing of the signal,
 * against which LEVEL stands; both 0 when it hears nothing. */
struct TriggerHeard
{
    double low = 0.0;
    double high = 0.0;
};
TriggerHeard triggerHeard(const ScopeSettings &settings, TriggerSource from);

/** The channel the trigger circuit listens to; EXT. hears the TRIG. INP. socket as if DC coupled. */
ChannelSettings triggerChannel(const ScopeSettings &settings, TriggerSource source);

/**
 * The trigger search of triggerTimeFrom, with the reason it finds no moment. TRIG.'s filters act on all
 * that rides on the source: HF keeps the hum out, LF the noise, and LF keeps a signal above its band out
 * while it lets the hum through, so that the sweep then follows the mains.
 */
TriggerSearch searchTrigger(const ScopeSettings &settings, TriggerSource source);

/** True when the sweep follows the mains rather than its signal: TRIG. at ~, or a filter that keeps the
 * signal out and lets its hum through. */
bool followsMains(const ScopeSettings &settings, TriggerSource source);

/**
 * The moment the sweep starts after the trigger source (taken ahead of the delay line) first crosses the
 * level on the chosen slope from armedSeconds on, the sweep's own start-up later; or nothing when it never
 * does (no alternating signal, level beyond its peaks, GD, a signal the HF or LF position filters out). At
 * the mains position it is the line's first rising zero from armedSeconds on.
 */
std::optional<double> triggerTime(const ScopeSettings &settings);

/** The same, as if the trigger circuit listened to another source (ALT. triggers each channel from itself).
 */
std::optional<double> triggerTimeFrom(const ScopeSettings &settings, TriggerSource source);

/** Whether a trigger source swings enough to trigger the sweep: half a division of its channel's trace,
 * or 0,6 V at TRIG. INP., over one period of what the trigger circuit hears. */
bool reachesSensitivity(
    const ChannelSettings &source, bool external, const std::function<double(double)> &sense, double period);

/** True when chopping shows its pieces: each lasts long enough on the face for the eye to part them. When
 * not, each channel's trace is drawn whole, the beam on it half the time. */
bool chopsVisibly(const ScopeSettings &settings);

/** A time over which the trace of a kind repeats itself: one period of its signal, or of both for a sum
 * or a figure; 0 when nothing repeats. */
double repeatSeconds(const ScopeSettings &settings, TraceKind kind);

/** A trace's height, in divisions as the face shows it, at equal steps over one repeat of it. */
QList<double> traceHeights(const ScopeSettings &settings, TraceKind kind, int samples);

/** How many horizontal divisions one period of a signal takes. */
double divisionsPerPeriod(double frequencyHz, double secondsPerDiv);
/** How many periods the ten divisions of the sweep show. */
double periodsOnScreen(double frequencyHz, double secondsPerDiv);
/** How many periods a trace spanning so many divisions shows, as the eye counts them against the graticule:
 * the span to a hundredth of a division, so that a trace that starts a few nanoseconds after the sweep is
 * counted as one that fills it, and the count to a millionth, so that every route to it gives one number. */
double periodsSpanned(double spanDivisions, double divisionsPerPeriod);
/** How many vertical divisions a peak-to-peak voltage spans. */
double peakToPeakDivisions(double amplitudeVpp, double voltsPerDiv);

/** The smallest rectangle that holds a trace, in divisions. */
QRectF traceBounds(const Trace &trace);
/** The vertical extent of a trace that the tube face shows, in divisions (clipped to the visible area). */
double visiblePeakToPeak(const Trace &trace);
