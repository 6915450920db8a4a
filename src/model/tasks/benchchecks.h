#pragma once

#include "labcatalogue.h"

#include <span>

/** What −3 dB leaves of a trace's height, as the bandwidth's goal and its check say it. */
namespace BenchFigures {
inline constexpr double halfPowerShare = 0.7071;
} // namespace BenchFigures

/** A check as a lab file lists it: its key and its value. */
struct ListedCheck
{
    const char *key;
    CheckArgs args = {};
};

/**
 * Judges as a lab file's setting goal does: the tube lit, the bench's wiring, then each bench check
 * (benchChecks()) in order; met, with the praise of the last check that has one.
 */
TaskVerdict judgeListed(const Hm203 &scope, const LabBench &bench, std::span<const ListedCheck> checks);
