#include "platform/unit_stops.h"

#include <cmath>

namespace marlowick::platform {

namespace {

bool usable(std::span<const double> stops, StopEnds ends) {
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const double stop = stops[i];
        if (!std::isfinite(stop) || stop < 0 || stop > 1) return false;
        if (i > 0 && stop < stops[i - 1]) return false;
    }
    return ends == StopEnds::Free || (stops.front() == 0 && stops.back() == 1);
}

} // namespace

std::vector<double> unitStops(std::span<const double> given, std::size_t count, StopEnds ends) {
    if (count > 0 && given.size() == count && usable(given, ends)) return {given.begin(), given.end()};
    std::vector<double> even(count, 0.0);
    for (std::size_t i = 1; i < count; ++i)
        even[i] = double(i) / double(count - 1);
    return even;
}

} // namespace marlowick::platform
