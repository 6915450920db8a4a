#pragma once

#include "diagrammodel.h"
#include "screentraces.h"

#include <QImage>
#include <QStringList>

#include <functional>

/** A block diagram of the reference pages and the two files it is written to. */
struct ReferenceDiagram
{
    const char *castilian;
    const char *valencian;
    Diagram (*build)();
};

/** Every block diagram of the reference pages, each sized to the picture control that shows it. */
const QList<ReferenceDiagram> &referenceDiagrams();

/**
 * A view of the front panel for the reference pages: a part of the panel, scaled to the picture's
 * size, with the controls a passage speaks of ringed. A grouped view rings them all at once.
 */
struct PanelView
{
    const char *file;
    /** The part of the front-panel picture shown, in its coordinates. */
    QRectF crop;
    QSize size;
    QStringList marked;
    bool grouped = false;
};

/** The front-panel views of the vertical and horizontal stages. */
const QList<PanelView> &panelViews();
/** Where a control of the front panel falls in a view, in the view's coordinates. */
QRectF panelViewControl(const PanelView &view, const QString &name);
/** The rings of a view, in its coordinates: one per marked control, or one round them all. */
QList<QRectF> panelViewMarks(const PanelView &view);
/** The colour of the rings, which the panel itself never shows. */
QColor panelMarkColour();
QImage renderPanelView(const PanelView &view);

/**
 * The input circuit under the vertical-stage heading "Selector  Atenuador  Sensibilidad": the
 * coupling switch (AC, DC, GD), the compensated decade dividers picked by the range switch, one row
 * each, and the sensitivities each divider gives; the three columns stand under the three words.
 */
struct AttenuatorLayout
{
    QSize size;
    /** The centres of the three columns. */
    qreal selector = 0;
    qreal attenuator = 0;
    qreal sensitivity = 0;
    /** The heights of the divider rows, 1:1 first. */
    QList<qreal> rows;
    /** The row the range switch's wiper stands on. */
    int activeRow = 1;
    /** The heights of the coupling switch's contacts, DC, AC and GD, and the one it is set to. */
    QList<qreal> coupling;
    int couplingPosition = 1;
};

AttenuatorLayout attenuatorLayout();
QImage renderAttenuatorCircuit();

/**
 * The time base at work on a sine wave, in periods of the signal: where the signal rises through the
 * trigger level, and the sweeps those crossings start. A sweep is its ramp, its fast return and the
 * hold-off after it; crossings that come before the hold-off ends are ignored.
 */
struct SweepTimeline
{
    struct Sweep
    {
        double start = 0;
        double rampEnd = 0;
        double returnEnd = 0;
        double holdOffEnd = 0;
    };
    /** The trigger level as a fraction of the signal's amplitude. */
    double level = 0;
    /** The signal is sin 2π(t − phase), t in periods. */
    double phase = 0;
    double duration = 0;
    QList<double> crossings;
    QList<bool> accepted;
    QList<Sweep> sweeps;
};

SweepTimeline sweepTimeline();
/** Where the sweep figure draws a moment of the timeline, and the bands of its four traces. */
struct SweepFigureLayout
{
    QSize size;
    double left = 0;
    double pixelsPerPeriod = 0;
    QRectF signal, pulses, sawtooth, unblanking;
    double x(double periods) const { return left + periods * pixelsPerPeriod; }
};
SweepFigureLayout sweepFigureLayout();
QImage renderSweepFigure(Language language);

/** The two channels the dual-trace figures show: a sine on channel I above, a square on channel II below. */
ScopeSettings dualSweepSettings();
/**
 * The chopped picture of two traces: the sweep cut into pieces of a given width in divisions, drawn in
 * turn from channel I and channel II, each piece where its own trace runs.
 */
QList<Trace> chopTraces(const Trace &first, const Trace &second, double pieceDivisions);

/** Where the alternate-sweep figure puts its three screens: one per sweep, then what the eye sees. */
struct AlternateFigureLayout
{
    QSize size;
    QRectF firstSweep, secondSweep, timeline, result;
};
AlternateFigureLayout alternateFigureLayout();
QImage renderAlternateFigure(Language language);

/** Where the chopped-sweep figure puts its screen, the magnified stretch of it and the switching signal. */
struct ChoppedFigureLayout
{
    QSize size;
    QRectF screen, zoom, chopper;
    /** The stretch of the sweep, in divisions from the centre, that the magnified view shows. */
    double zoomFrom = 0, zoomTo = 0;
    double pieceDivisions = 0;
};
ChoppedFigureLayout choppedFigureLayout();
QImage renderChoppedFigure(Language language);
