// The labels of Notification Center's own custom actions (Close, Clear All, Show) in the language
// it speaks. They come from its bundle's strings table: the keys whose English text is the label,
// taken in the user's preferred language that the table holds. Where the table cannot be read, a
// table of known translations stands in. English always matches as well.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "notificationcenter/ax.h"
#include "platform/bundle_strings.h"

namespace marlowick {

struct ActionLabels {
    std::vector<std::string> close;    // the language's texts first, then "Close"
    std::vector<std::string> clearAll; // "Clear All"
    std::vector<std::string> show;     // "Show"
    std::string language;              // the table's language chosen, "en" when none matched
    bool fromBundle = false;           // read from Notification Center's strings, or the known table
};

// The labels for the running Notification Center, worked out once per process (and logged then).
const ActionLabels& notificationCenterLabels();

// The row's own custom actions, in its order: every one but Notification Center's Close, Clear All
// and Show (its Show Details stays). One request, for the row's action names.
std::vector<CustomAction> ownActions(const platform::Element& row);

// The parts above, for tests.
// The table language that best serves the preferred ones: an exact match, else the preferred one
// cut at its last "-" or "_" (so "de-DE" takes "de", "zh-Hans-CN" takes "zh-Hans"); none when no
// preferred language is held.
std::optional<std::string> chooseLanguage(std::span<const std::string> preferred,
                                          std::span<const std::string> available);
// Labels from a bundle's table; none when the table has no English key for any of the labels.
std::optional<ActionLabels> labelsFromTable(const platform::StringsTable& table,
                                            std::span<const std::string> preferred);
// Labels from the translations known here.
ActionLabels knownLabels(std::span<const std::string> preferred);
// "Close \"Schließen\", Clear All \"Alle entfernen\", Show \"Anzeigen\"", texts escaped.
std::string describeLabels(const ActionLabels& labels);

} // namespace marlowick
