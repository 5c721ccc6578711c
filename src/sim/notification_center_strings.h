// The labels the simulated Notification Center shows, in the languages its bundle ships, and the
// strings table a reader of its bundle finds. Every label has a key; the English text of a key is
// what the other languages translate.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bundle_strings.h"

namespace marlowick::sim {

enum class NCLabel { Close, ClearAll, Show, ShowDetails, ShowLess, Clear, OlderNotifications, EditWidgets };

class NotificationCenterStrings {
public:
    // The languages the table holds, English first.
    static const std::vector<std::string>& shippedLanguages();
    static bool ships(std::string_view language);

    // Speaks a shipped language (false, and nothing changes, for any other).
    bool setLanguage(std::string_view language);
    // Speaks a language the table lacks, with these three labels; the rest stay English.
    void setCustomLanguage(std::string language, std::string close, std::string clearAll, std::string show);
    const std::string& language() const { return language_; }

    std::string label(NCLabel label) const;
    // Every shipped language, plus the custom one when it is spoken.
    platform::StringsTable table() const;

private:
    struct Custom {
        std::string close, clearAll, show;
    };
    std::string language_ = "en";
    std::optional<Custom> custom_;
};

} // namespace marlowick::sim
