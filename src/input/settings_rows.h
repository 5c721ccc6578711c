// The settings window's building blocks: rows (title, leading view, control, details), titled groups,
// panes, notes, status circles, and the rows that stand for one setting (a choice, a switch that a
// flag can force, a key legend, the swatches, "Restore Defaults"). They only describe views; what a
// control writes is the closure it is given.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/legend.h"
#include "input/settings.h"
#include "platform/view_tree.h"

namespace marlowick {

// Widths of the window's columns, in points.
inline constexpr double kSettingsSidebarWidth = 150;
inline constexpr double kSettingsPaneWidth = 552 - kSettingsSidebarWidth - 1;
inline constexpr double kSettingsPanePadding = 16;
inline constexpr double kSettingsGroupPadding = 10;
inline constexpr double kSettingsRowWidth =
    kSettingsPaneWidth - 2 * kSettingsPanePadding - 2 * kSettingsGroupPadding;
// The content runs under the transparent title bar, which keeps this much room for the window buttons.
inline constexpr double kSettingsTitleBarInset = 28;
// Dimmed rows (a choice that does nothing in the current mode) draw at this opacity.
inline constexpr double kDimmedRowOpacity = 0.42;

// A text in the role, weight and colour.
platform::ViewNode label(std::string text, platform::FontRole role = platform::FontRole::Body,
                         std::optional<platform::FontWeight> weight = std::nullopt,
                         platform::ForegroundStyle style = platform::ForegroundStyle::Primary);
// Empty room of a fixed height in a vertical stack.
platform::ViewNode gap(double height);
// A secondary-coloured line of text under a row or a group.
platform::ViewNode note(std::string text);
platform::ViewNode statusCircle(bool done);

struct Row {
    std::string title;
    std::optional<platform::ViewNode> leading;
    std::optional<platform::ViewNode> control;
    std::vector<platform::ViewNode> details;
};
// A row node is labelled with its title; the control sits on the right, or under the title when the
// two do not fit side by side.
platform::ViewNode row(Row content);
// A titled group of rows on a group box, with a divider between rows when asked.
platform::ViewNode rowGroup(std::optional<std::string> title, std::vector<platform::ViewNode> rows,
                            bool dividers = true);

// "⚑ Set by --mode until the next launch."
std::string flagNote(std::string_view flag);
// "⚑ On by --vim-keys until the next launch."
std::string forcedSwitchNote(bool value, std::string_view flag);

// A picker over an enumeration's cases for one user-defaults key.
struct ChoiceRow {
    std::string title;
    std::string_view key;
    // The cases' raw values and titles, in case order.
    std::vector<std::string_view> rawValues;
    std::vector<std::string> optionTitles;
    // The effective case for this run.
    int current = 0;
    std::string_view flag;
    std::optional<std::string> note;
    bool isOff = false;
};
platform::ViewNode choiceRow(const ChoiceRow& choice);

template <typename Enum>
ChoiceRow makeChoiceRow(std::string title, std::string_view key, Enum current, std::string_view flag,
                        std::vector<std::string> optionTitles,
                        std::optional<std::string> note = std::nullopt) {
    ChoiceRow choice{std::move(title), key,  {}, std::move(optionTitles), static_cast<int>(current), flag,
                     std::move(note),  false};
    for (auto raw : SettingCases<Enum>::rawValues)
        choice.rawValues.push_back(raw);
    return choice;
}

// A switch for a Boolean key that a flag can force for the run.
struct FlagSwitchRow {
    std::string title;
    std::string_view key;
    // The stored value (shown while the flag is absent).
    bool isOn = false;
    std::string_view flag;
    bool flagValue = false;
    std::optional<std::string> note;
};
platform::ViewNode flagSwitchRow(const FlagSwitchRow& row);

// A legend row: the title and the caps, drawn by a hosted caps view.
platform::ViewNode legendRow(const LegendEntry& entry, std::shared_ptr<platform::HostedContent> caps);

struct Swatches {
    std::vector<std::string> names;
    std::string selected;
    std::function<void(const std::string&)> select;
    bool disabled = false;
};
platform::ViewNode swatches(const Swatches& swatches);

// "Restore Defaults", disabled while the groups are at their defaults; the action restores or asks.
platform::ViewNode restoreButton(bool isAtDefaults, std::function<void()> action);

// The value of a Boolean key as stored, or its default.
bool storedBoolean(std::string_view key, bool fallback);

} // namespace marlowick
