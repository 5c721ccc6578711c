// The simulated Mac's date formatter: the user's locale is a setting (en_US at first) and the time
// zone is the process's, as for the log. Models the medium date style and short time style of five
// locales; others are refused.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date_formatter.h"

namespace marlowick::sim {

class SimDateFormatter final : public platform::DateFormatter {
public:
    std::string abbreviatedDateShortTime(double secondsSince1970) override;

    // False, leaving the locale as it was, for a locale the simulated Mac does not know.
    bool setLocale(std::string_view code);
    const std::string& locale() const { return locale_; }
    static std::vector<std::string_view> locales();

private:
    std::string locale_ = "en_US";
};

} // namespace marlowick::sim
