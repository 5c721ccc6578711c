// The Appearance pane: the highlight colour, its style and animation, the menu-bar icon, and the
// live example of the picker with its replay button.
#include "input/settings_rows.h"
#include "input/settings_window.h"
#include "overlay/appearance_preview.h"
#include "overlay/menu_bar_icon.h"
#include "platform/platform.h"

namespace marlowick {

using platform::ViewNode;

namespace {

constexpr double kPreviewHeight = 150;

ViewNode menuBarIconRow() {
    platform::PickerView picker;
    picker.label = "Menu bar icon";
    for (auto style : allCases<MenuBarIcon>())
        picker.options.push_back({std::string(menuBarIconLabel(style)), menuBarIconImage(style, true)});
    picker.selectedIndex = static_cast<int>(AppSettings::menuBarIcon());
    picker.onSelect = [](int index) {
        auto cases = allCases<MenuBarIcon>();
        if (index < 0 || static_cast<std::size_t>(index) >= cases.size()) return;
        platform::current().defaults->set(SettingsKey::menuBarIcon,
                                          std::string(rawValue(cases[static_cast<std::size_t>(index)])));
    };
    return row({"Menu bar icon", std::nullopt, ViewNode::make(std::move(picker)), {}});
}

} // namespace

std::vector<ViewNode> SettingsWindow::appearancePane() {
    std::vector<ViewNode> rows;

    Swatches colors;
    colors.names = {"green", "blue", "violet", "pink", "amber"};
    if (state.customColor()) colors.names.push_back(*state.customColor());
    colors.selected = AppSettings::highlightColor();
    colors.disabled = AppSettings::hasOverride(OverrideFlag::color);
    colors.select = [](const std::string& name) {
        platform::current().defaults->set(SettingsKey::highlightColor, name);
    };
    Row color{"Highlight color", std::nullopt, swatches(colors), {}};
    if (colors.disabled) color.details.push_back(note(flagNote(OverrideFlag::color)));
    rows.push_back(row(std::move(color)));

    rows.push_back(choiceRow(makeChoiceRow(
        "Highlight style", SettingsKey::stackStyle, AppSettings::stackStyle(), OverrideFlag::stackStyle,
        {"Expand pill", "Fading peek", "Silhouette", "Dotted", "Echo rings", "Tint and lip"},
        "Shows only on collapsed stacks, with Stacks set to Keep them collapsed. Tint and lip also tints "
        "single "
        "rows.")));
    rows.push_back(choiceRow(makeChoiceRow("Highlight animation", SettingsKey::ringReveal,
                                           AppSettings::ringReveal(), OverrideFlag::ringReveal,
                                           {"Trace", "Fade", "Pop", "Tighten", "Glow", "None"})));
    rows.push_back(menuBarIconRow());

    std::vector<ViewNode> parts;
    parts.push_back(rowGroup(std::nullopt, std::move(rows)));

    // The example replays its reveal whenever the look changes or the user asks.
    if (!preview_) preview_ = ExamplePreviewView::create();
    preview_->update({AppSettings::highlightColor(), std::string(rawValue(AppSettings::stackStyle())),
                      std::string(rawValue(AppSettings::ringReveal()))},
                     replays_);
    platform::HostedView example;
    example.content = preview_;
    example.size = platform::Size{kSettingsRowWidth + 2 * kSettingsGroupPadding, kPreviewHeight};
    platform::ButtonView replay;
    replay.title = "Replay";
    replay.symbol = platform::SymbolView{"arrow.clockwise", 12, platform::ForegroundStyle::Primary};
    replay.action = [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self) return;
        ++self->replays_;
        self->setNeedsRebuild();
    };
    platform::StackView exampleGroup;
    exampleGroup.alignment = platform::StackAlignment::Trailing;
    exampleGroup.spacing = 8;
    exampleGroup.children.push_back(ViewNode::make(std::move(example)));
    exampleGroup.children.push_back(ViewNode::makeButton(std::move(replay)));
    parts.push_back(ViewNode::makeStack(std::move(exampleGroup)));

    parts.push_back(ViewNode::make(platform::SpacerView{}));
    parts.push_back(restoreButton(AppSettings::isAtDefaults(RestoreGroup::appearance),
                                  [] { AppSettings::restoreDefaults(RestoreGroup::appearance); }));
    return parts;
}

} // namespace marlowick
