// Dates as the user's locale writes them, in the user's time zone.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace marlowick::platform {

// The dates a formatter takes, in seconds since 1970: 1 January of the year 1 to the end of 9999.
inline constexpr double kEarliestDate = -62135596800.0;
inline constexpr double kLatestDate = 253402300799.0;

// A stored date brought within what a formatter takes; none when it is no date at all (NaN).
// Converting an out-of-range double to a time type would be undefined behaviour.
inline std::optional<double> clampedDate(double secondsSince1970) {
    if (std::isnan(secondsSince1970)) return std::nullopt;
    return std::clamp(secondsSince1970, kEarliestDate, kLatestDate);
}

class DateFormatter {
public:
    virtual ~DateFormatter() = default;
    // The date in the abbreviated style and the time in the short one: "Mar 1, 2026 at 2:05 PM" in
    // the United States, "01.03.2026, 14:05" in Germany. The date is clamped first.
    virtual std::string abbreviatedDateShortTime(double secondsSince1970) = 0;
};

} // namespace marlowick::platform
