#pragma once

#include "screentraces.h"

#include <optional>

/**
 * What a reader of the face, student, judge or words, takes from it before judging anything: where a trace
 * lies against the graticule, how closely a length read on it can match, and when the beam is too faint or
 * the face dark in NORM.
 */
namespace FaceReading {

/** How closely a length read on the graticule must match: a quarter of a division. */
inline constexpr double kDivisionTolerance = 0.25;
/** How closely a trace must sit on a graticule line, in divisions. */
inline constexpr double kLineTolerance = 0.2;
/** How far a trace may stand past the graticule's edge and still count as on it (the line's width). */
inline constexpr double kEdgeTolerance = 0.1;
/** The relative error a value worked out from lengths read on the graticule allows. */
inline constexpr double kRelativeTolerance = 0.05;
/** Below this the beam is too faint to work with. */
inline constexpr double kFaintBeam = 0.2;
/** A beam this bright (Hm203::brightness) is too faint to work with. */
inline bool isFaint(double brightness)
{
    return brightness <= kFaintBeam;
}
/** In NORM a sweep that nothing triggers never starts: the face is dark wherever the traces would be. */
inline bool darkInNorm(const ScopeSettings &settings, bool triggered)
{
    return settings.mode != DisplayMode::XY && settings.trigger.mode == TriggerMode::Normal && !triggered;
}
/** Where one kind of trace lies on the screen, all its pieces together. */
struct Extent
{
    /** Some of it is within the part of the plane the tube face shows. */
    bool visible = false;
    double minY = 0.0;
    double maxY = 0.0;
    double minX = 0.0;
    double maxX = 0.0;
    /** How far across the graticule's ten columns it runs. */
    double spanX = 0.0;

    double height() const { return maxY - minY; }
    /** Part of it runs past the top, or the bottom, of the tube face, where the face cannot show it. */
    bool clippedAbove() const { return maxY > ScreenGeometry::halfHeight + ScreenGeometry::overscan; }
    bool clippedBelow() const { return minY < -ScreenGeometry::halfHeight - ScreenGeometry::overscan; }
    bool clipped() const { return clippedAbove() || clippedBelow(); }
    /** The trace stays between the graticule's top and bottom lines: its heights can all be read. */
    bool withinRows() const
    {
        return minY >= -ScreenGeometry::halfHeight - kEdgeTolerance
            && maxY <= ScreenGeometry::halfHeight + kEdgeTolerance;
    }
    /** The whole trace lies on the graticule, so every part of it can be read. */
    bool onGraticule() const
    {
        return withinRows() && minX >= -ScreenGeometry::halfWidth - kEdgeTolerance
            && maxX <= ScreenGeometry::halfWidth + kEdgeTolerance;
    }
};

/** Where the traces of one kind lie, or nothing when the screen has none of them. */
std::optional<Extent> extentOf(const ScreenTraces &screen, TraceKind kind);

} // namespace FaceReading
