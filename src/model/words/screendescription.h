#pragma once

#include "hm203.h"
#include "screenfigures.h"
#include "screenreading.h"
#include "wording.h"

#include <QList>
#include <QString>

#include <optional>

/**
 * The HM-203's face in words, for screen readers and for whoever wants it said: what each trace looks
 * like, how high it is, how many periods it shows, where it sits and whether it stands still. Every fact
 * is read off the traces the model draws and the beam's brightness, so the words cannot tell a different
 * story from the picture.
 */

/** One swept trace as the face shows it. */
struct TraceDescription
{
    TraceKind kind = TraceKind::ChannelI;
    TraceShape shape = TraceShape::Other;
    /** Peak to peak as the face shows it (the part beyond the face left out), in divisions. */
    double heightDivisions = 0.0;
    /** What that height is at the channel's input socket, VOLTS/DIV, CAL and Y-MAG as set; 0 for a sum of
     * channels at different sensitivities, which has no one scale. */
    double inputVoltsPp = 0.0;
    /** The same at the tip of a ×10 probe; 0 with a plain cable. */
    double tipVoltsPp = 0.0;
    /** How many periods the graticule's ten columns show, and the period; 0 when nothing repeats. */
    double periodsShown = 0.0;
    double periodSeconds = 0.0;
    /** Where its middle sits, in divisions above the centre. */
    double offsetDivisions = 0.0;
    /** Every sweep starts at the same point of the signal, so the trace stands still; else it runs. */
    bool triggered = false;
    /** How it is triggered: the slope, or the mains (~, or LF letting only the hum through), and whether
     * from the TRIG. INP. socket (EXT.). */
    TriggerSlope slope = TriggerSlope::Rising;
    bool mains = false;
    bool external = false;
    /** It runs off the face above, below. */
    bool clippedAbove = false;
    bool clippedBelow = false;
    /** The beam is too faint to work with. */
    bool dim = false;
    /** The sweep is so slow that the face shows a spot crawling across, not a trace; and how long it takes.
     */
    bool crawling = false;
    double sweepSeconds = 0.0;

    bool clipped() const { return clippedAbove || clippedBelow; }
};

/** The figure of X-Y, or of the component tester. */
struct FigureDescription
{
    FigureShape shape;
    bool tester = false;
    /** How far it spans across and up the face, the part beyond the face left out, in divisions. */
    double widthDivisions = 0.0;
    double heightDivisions = 0.0;
    /** Some of it lies beyond the face. */
    bool clipped = false;
    bool dim = false;
};

/** What the words tell besides the divisions read on the graticule and the switches' positions. */
enum class ScreenReadings {
    /** Also the volts and times the divisions stand for at the scales set, and at a ×10 probe's tip. */
    Worked,
    /** Only divisions and switch positions: while a task asks the student to work the values out. */
    Withheld,
};

/** What the face shows, as facts and in words. */
struct ScreenDescription : Wording
{
    /** Whether the texts give the values worked out from the divisions; the facts always hold them. */
    ScreenReadings readings = ScreenReadings::Worked;
    /** Nothing shows on the face (see faceIsDark). */
    bool dark = true;
    /** The swept traces, in the order the beam draws them. */
    QList<TraceDescription> traces;
    /** In X-Y or with the component tester, the figure instead. */
    std::optional<FigureDescription> figure;
};

/** The face is dark when the beam writes nothing on it: no current, or no stretch of any trace within the
 * part of the plane the tube face shows. */
bool faceIsDark(const LiveScreen &screen);

/** Whether a stretch of a trace, from a to b in divisions, crosses the part of the plane the face shows. */
bool meetsFace(const QPointF &a, const QPointF &b);

/** The face of the instrument at a moment, described: one short sentence for each trace or the figure,
 * or only that the face is dark; with readings withheld, in divisions and switch positions only. */
ScreenDescription describeScreen(
    const Hm203 &scope, const BeamMoment &moment, ScreenReadings readings = ScreenReadings::Worked);
/** The same, from the screen's reading at the moment. */
ScreenDescription describeScreen(
    const ScreenReading &reading, ScreenReadings readings = ScreenReadings::Worked);
