#include "notificationcenter/action_labels.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "app/log.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/reader.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

constexpr std::string_view kEnglish = "en";
// A label is one line of a custom action's name: anything longer or spanning lines is not one.
constexpr std::size_t kMaxLabelLength = 200;

bool usableLabel(const std::string& text) {
    return !text.empty() && text.size() <= kMaxLabelLength && text.find('\n') == std::string::npos &&
           text.find('\r') == std::string::npos;
}

void addOnce(std::vector<std::string>& labels, const std::string& label) {
    for (const auto& known : labels) {
        if (known == label) return;
    }
    labels.push_back(label);
}

bool holds(std::span<const std::string> available, std::string_view language) {
    for (const auto& candidate : available) {
        if (candidate == language) return true;
    }
    return false;
}

std::string joined(const std::vector<std::string>& labels) {
    std::string out;
    for (const auto& label : labels) {
        if (!out.empty()) out += " or ";
        out += "\"" + escapeUntrusted(label) + "\"";
    }
    return out;
}

} // namespace

std::optional<std::string> chooseLanguage(std::span<const std::string> preferred,
                                          std::span<const std::string> available) {
    for (const auto& wanted : preferred) {
        std::string language = wanted;
        while (!language.empty()) {
            if (holds(available, language)) return language;
            auto cut = language.find_last_of("-_");
            if (cut == std::string::npos) break;
            language.resize(cut);
        }
    }
    return std::nullopt;
}

std::optional<ActionLabels> labelsFromTable(const platform::StringsTable& table,
                                            std::span<const std::string> preferred) {
    auto english = table.languages.find(std::string(kEnglish));
    if (english == table.languages.end()) return std::nullopt;
    std::vector<std::string> available;
    for (const auto& [language, strings] : table.languages)
        available.push_back(language);
    ActionLabels labels;
    labels.language = chooseLanguage(preferred, available).value_or(std::string(kEnglish));
    labels.fromBundle = true;
    const auto& chosen = table.languages.at(labels.language);
    const std::array<std::pair<std::string_view, std::vector<std::string>*>, 3> wanted{
        {{"Close", &labels.close}, {"Clear All", &labels.clearAll}, {"Show", &labels.show}}};
    bool found = false;
    for (const auto& [key, text] : english->second) {
        for (const auto& [englishText, out] : wanted) {
            if (text != englishText) continue;
            found = true;
            auto translated = chosen.find(key);
            if (translated != chosen.end() && usableLabel(translated->second))
                addOnce(*out, translated->second);
        }
    }
    if (!found) return std::nullopt;
    for (const auto& [englishText, out] : wanted)
        addOnce(*out, std::string(englishText));
    return labels;
}

std::vector<CustomAction> ownActions(const platform::Element& row) {
    const auto& labels = notificationCenterLabels();
    auto isOneOf = [](const std::string& label, const std::vector<std::string>& known) {
        return std::find(known.begin(), known.end(), label) != known.end();
    };
    auto actions = customActions(row);
    std::erase_if(actions, [&](const CustomAction& action) {
        return isOneOf(action.label, labels.close) || isOneOf(action.label, labels.clearAll) ||
               isOneOf(action.label, labels.show);
    });
    return actions;
}

std::string describeLabels(const ActionLabels& labels) {
    return "Close " + joined(labels.close) + ", Clear All " + joined(labels.clearAll) + ", Show " +
           joined(labels.show);
}

const ActionLabels& notificationCenterLabels() {
    struct Cache {
        std::uint64_t generation = 0;
        std::int32_t pid = -1;
        ActionLabels labels;
    };
    static Cache cache;
    auto process = notificationCenterProcess();
    std::int32_t pid = process ? process->processIdentifier() : 0;
    if (cache.generation == platform::generation() && cache.pid == pid) return cache.labels;
    cache.generation = platform::generation();
    cache.pid = pid;

    auto& services = platform::current();
    std::vector<std::string> preferred;
    std::optional<platform::StringsTable> table;
    if (services.bundleStrings) {
        preferred = services.bundleStrings->preferredLanguages();
        table = services.bundleStrings->stringsTable(kNotificationCenterBundleID);
    }
    auto fromTable = table ? labelsFromTable(*table, preferred) : std::nullopt;
    cache.labels = fromTable ? std::move(*fromTable) : knownLabels(preferred);
    if (pid != 0) {
        log("Notification Center's labels (" + escapeUntrusted(cache.labels.language) + ", " +
            (cache.labels.fromBundle ? "from its strings table" : "from the known translations") +
            "): " + describeLabels(cache.labels));
    }
    return cache.labels;
}

} // namespace marlowick
