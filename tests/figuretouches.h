#pragma once
// Counting a Lissajous figure's touching points as a student does, for the tests of the instrument and of its
// tasks.
#include "screentraces.h"

#include <algorithm>

/**
 * How many times a closed X-Y figure touches its right-hand edge (the maxima of x along it) or its top (the
 * maxima of y): each cycle of the signal on that axis reaches its peak once while the figure closes.
 */
inline int edgeTouches(const Trace &figure, bool top)
{
    const qsizetype n = figure.points.size() - 1; // the last point closes on the first
    const auto at = [&](qsizetype i) {
        const QPointF p = figure.points.at((i + n) % n);
        return top ? p.y() : p.x();
    };
    double highest = at(0);
    for (qsizetype i = 1; i < n; ++i)
        highest = std::max(highest, at(i));
    int touches = 0;
    for (qsizetype i = 0; i < n; ++i)
        touches += at(i) > at(i - 1) && at(i) >= at(i + 1) && at(i) > highest - 0.05;
    return touches;
}
