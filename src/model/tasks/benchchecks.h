#pragma once

#include "labcatalogue.h"

#include <span>

/** What −3 dB leaves of a trace's height, as the bandwidth's goal and its check say it. */
namespace BenchFigures {
inline constexpr double halfPowerShare = 0.7071;
} // namespace BenchFigures
