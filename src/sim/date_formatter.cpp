#include "sim/date_formatter.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace marlowick::sim {

namespace {

using Months = std::array<const char*, 12>;
constexpr Months kEnglishMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr Months kFrenchMonths{"janv.", "f\u00E9vr.", "mars", "avr.",  "mai",  "juin",
                               "juil.", "ao\u00FBt",  "sept.", "oct.", "nov.", "d\u00E9c."};

constexpr std::array<std::string_view, 5> kLocales{"en_US", "en_GB", "de_DE", "fr_FR", "ja_JP"};

} // namespace

std::vector<std::string_view> SimDateFormatter::locales() {
    return {kLocales.begin(), kLocales.end()};
}

bool SimDateFormatter::setLocale(std::string_view code) {
    for (auto known : kLocales) {
        if (known == code) {
            locale_ = std::string(code);
            return true;
        }
    }
    return false;
}

std::string SimDateFormatter::abbreviatedDateShortTime(double secondsSince1970) {
    auto date = platform::clampedDate(secondsSince1970);
    if (!date) return {};
    const auto seconds = static_cast<std::time_t>(std::floor(*date));
    std::tm t{};
    if (!localtime_r(&seconds, &t)) return {};
    const int year = t.tm_year + 1900, month = t.tm_mon % 12, day = t.tm_mday;
    const auto monthIndex = static_cast<std::size_t>(month);
    char text[96];
    if (locale_ == "en_GB") {
        std::snprintf(text, sizeof text, "%d %s %d at %02d:%02d", day, kEnglishMonths[monthIndex], year,
                      t.tm_hour, t.tm_min);
    } else if (locale_ == "de_DE") {
        std::snprintf(text, sizeof text, "%02d.%02d.%d, %02d:%02d", day, month + 1, year, t.tm_hour, t.tm_min);
    } else if (locale_ == "fr_FR") {
        std::snprintf(text, sizeof text, "%d %s %d \u00E0 %02d:%02d", day, kFrenchMonths[monthIndex], year,
                      t.tm_hour, t.tm_min);
    } else if (locale_ == "ja_JP") {
        std::snprintf(text, sizeof text, "%d/%02d/%02d %d:%02d", year, month + 1, day, t.tm_hour, t.tm_min);
    } else {
        const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        std::snprintf(text, sizeof text, "%s %d, %d at %d:%02d %s", kEnglishMonths[monthIndex], day, year, hour,
                      t.tm_min, t.tm_hour < 12 ? "AM" : "PM");
    }
    return text;
}

} // namespace marlowick::sim
