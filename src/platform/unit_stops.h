// Where the items of a list stand along a whole, as fractions from 0 to 1: a gradient's colours, a
// keyframe animation's values. Every renderer takes them from here, so they all draw the same.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace marlowick::platform {

enum class StopEnds {
    Free,      // the first stop may come after 0 and the last before 1 (a gradient pads)
    ZeroToOne, // the stops start at 0 and end at 1 (key times cover the whole duration)
};

// The given stops when there is one per item, each finite, within 0…1 and none before the one ahead
// of it (and from 0 to 1 where the ends say so); otherwise `count` stops spread evenly from 0 to 1.
std::vector<double> unitStops(std::span<const double> given, std::size_t count, StopEnds ends);

} // namespace marlowick::platform
