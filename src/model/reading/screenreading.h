#pragma once

#include "facereading.h"
#include "hm203.h"
#include "screenfigures.h"

#include <QList>

#include <array>
#include <optional>

/** How the beam's light holds the picture for the eye. */
enum class SweepPace {
    /** The sweeps come often enough for the afterglow to hold the picture still. */
    Steady,
    /** They come too seldom: the trace is drawn in pieces and flickers. */
    Flickering,
    /** So seldom that the face holds less than half of a sweep: a spot crawls across. */
    Crawling,
};

/** Why a picture is too faint to work with. */
enum class Dimness {
    None,
    /** The beam's current: INTENS. */
    Intensity,
    /** A sweep far shorter than the period it waits for writes a small share of the time. */
    ShortDuty,
};

/**
 * The instrument's screen read once: the settings, the traces, the sweep's timing, what the trigger finds,
 * and per trace where it lies, how high it is and how much of it the face shows; then whether the picture
 * is dim, flickers or crawls, and whether it runs. Everybody who says something about the screen (the task
 * judges, the explanation, the face's words, the prediction choices) reads these facts here and decides
 * none of them on their own.
 *
 * What costs (the traces, the beam's writing over an afterglow time, a trace's heights) is worked out the
 * first time it is asked for, and kept.
 */
class ScreenReading
{
public:
    /** The instrument as it stands at a moment of its life (warm unless the moment says otherwise). */
    explicit ScreenReading(const Hm203 &scope, const BeamMoment &moment = {});

    const Hm203 &scope() const { return m_scope; }
    const BeamMoment &moment() const { return m_moment; }
    double seconds() const { return m_moment.seconds; }
    /** The settings the controls make: the steady picture, without a trace still on its way after a
     * coupling switch. */
    const ScopeSettings &settings() const { return m_settings; }
    /** How bright the picture is at the moment, 0 to 1 (Hm203::brightness): the warm-up's fade included. */
    double brightness() const { return m_brightness; }
    /** The beam's current, spot and turn. */
    const BeamFrame &spot() const { return m_spot; }
    const SweepTiming &timing() const { return m_timing; }
    /** What the trigger finds on the source TRIG. is set to. */
    const TriggerSearch &trigger() const;

    bool swept() const { return m_settings.mode != DisplayMode::XY; }
    bool tester() const { return m_scope.isPressed(Hm203Control::Tester); }
    /** The whole traces the settings draw: the steady picture the eye puts together. */
    const ScreenTraces &traces() const;
    /** What the beam writes over the afterglow time up to the moment. */
    const BeamFrame &writing() const;
    /** The face at the moment: each trace where the sweep that runs now draws it, a trace still on its way
     * after a coupling switch, the warm-up's fade. */
    const LiveScreen &live() const;
    /** The settings at the moment, with what is on its way and the free-running sweep's phase. */
    const ScopeSettings &liveSettings() const;
    /** The figure X-Y or the component tester draws on the face at the moment. */
    const FigureShape &figure() const;

    /** The kinds of trace the display mode shows, in the order the beam draws them (XY for a figure). */
    QList<TraceKind> shownKinds() const;
    /** The channels whose signals the screen shows (false for I, true for II). */
    QList<bool> shownChannels() const;
    /** Where the traces of a kind lie; nothing when the screen has none. */
    std::optional<FaceReading::Extent> extent(TraceKind kind) const;
    /** A trace's heights over one repeat, as the face shows them; for a figure, channel I's. */
    const QList<double> &heights(TraceKind kind) const;
    /** The share of its time a trace spends within the rows the face shows. */
    double shareOnFace(TraceKind kind) const;
    /** From its lowest to its highest point over one repeat, in divisions. */
    double heightSpan(TraceKind kind) const;
    /** Its heights over a repeat all lie within the face's rows. */
    bool wholeOnFace(TraceKind kind) const;
    /** The time a swept trace repeats in: a sum with both its signals, unless one of them is grounded out of
     * it; 0 when nothing repeats. */
    double periodSeconds(TraceKind kind) const;
    /** How many of those periods a run of spanX divisions across the graticule holds; 0 when nothing
     * repeats. */
    double periodsSpanning(TraceKind kind, double spanX) const;

    /** In NORM with nothing triggering, the face is dark where the traces would be. */
    bool darkInNorm() const;
    /** In X-Y with neither channel moving the beam, all it writes is one still spot. */
    bool stillSpot() const;
    /** A channel that moves the beam nowhere: grounded, or carrying nothing that changes. */
    bool stillChannel(bool second) const;
    Dimness dimness() const;
    bool dim() const { return dimness() != Dimness::None; }
    SweepPace pace() const;
    /** The face holds less than half a sweep: a spot crawls across (SweepPace::Crawling). */
    bool crawling() const;
    /** A trace's sweeps start at one point of its signal: with ALT. each channel's own trigger. */
    bool triggered(TraceKind kind) const;
    /** Not triggered, and the sweeps, one after another, draw different traces: the picture runs. */
    bool running() const;
    /** The sweep follows the mains, and the signal, not in step with them, slides past it: sweeps a second
     * apart draw different traces. */
    bool slidesWithMains() const;
    /** Hum or noise let into the trigger moves the point each sweep starts at by more than a line's width. */
    bool jitters() const;

private:
    Hm203 m_scope;
    BeamMoment m_moment;
    ScopeSettings m_settings;
    double m_brightness;
    BeamFrame m_spot;
    SweepTiming m_timing;
    mutable std::optional<TriggerSearch> m_trigger;
    mutable std::optional<ScreenTraces> m_traces;
    mutable std::optional<BeamFrame> m_writing;
    mutable std::optional<LiveScreen> m_live;
    mutable std::optional<ScopeSettings> m_liveSettings;
    mutable std::optional<FigureShape> m_figure;
    mutable std::array<std::optional<QList<double>>, 4> m_heights;
    mutable std::array<std::optional<double>, 4> m_periods;
    mutable std::optional<Dimness> m_dimness;
    mutable std::optional<SweepPace> m_pace;
    mutable std::optional<bool> m_running;
};

/** A trace's heights over one repeat, as the face shows them; for a figure, its vertical ones (channel
 * I's). */
QList<double> faceHeights(const ScopeSettings &settings, TraceKind kind);
/** The share of such heights within the rows the face shows; 1 when there are none. */
double shareOnFace(const QList<double> &heights);
/** All such heights lie within the face's rows, none clipped by its edge. */
bool wholeOnFace(const QList<double> &heights);

/** The channel settings of channel I or II. */
const ChannelSettings &channelSettings(const ScopeSettings &settings, bool second);

/**
 * The energy (current × seconds) the beam leaves per division across the face on its brightest swept
 * trace over what the frame holds: the light a line gives grows with it. 0 when no sweep is written.
 */
double sweptEnergyPerDivision(const BeamFrame &frame);

/** Below this a swept trace is too faint to work with: what the opening picture's sweep leaves with INTENS
 * turned down to the faint beam of the face's readers. */
double faintSweepEnergy();

/**
 * Whether two free-running sweeps, one after the other as the time base starts them, draw different
 * traces: when they do not, neither does any later one, and the picture stands still though untriggered.
 */
bool sweepsDiffer(const ScopeSettings &settings, double cycleSeconds);
