#include "platform/iso8601.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace marlowick::platform {

std::string iso8601(double secondsSince1970) {
    using namespace std::chrono;
    // Outside what the calendar below can hold, the epoch stands in: a stamp is for people to read.
    double whole = std::floor(secondsSince1970);
    if (!std::isfinite(whole) || std::fabs(whole) > 253402300799.0) whole = 0;
    sys_seconds stamp{seconds(static_cast<long long>(whole))};
    auto day = floor<days>(stamp);
    year_month_day date{day};
    hh_mm_ss time{stamp - day};
    char text[64]; // room for any value the compiler cannot rule out
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long long>(time.hours().count()),
                  static_cast<long long>(time.minutes().count()),
                  static_cast<long long>(time.seconds().count()));
    return text;
}

} // namespace marlowick::platform
