// The Shortcuts pane: the three hot keys, the picker-key legend and the Vim keys.
#include "input/hotkeys.h"
#include "input/settings_rows.h"
#include "input/settings_window.h"
#include "overlay/appearance_preview.h"

namespace marlowick {

using platform::ViewNode;

namespace {

// Legend rows sit close together under their switch, without dividers.
ViewNode legendRows(const std::vector<LegendEntry>& entries,
                    const std::vector<std::shared_ptr<CapsView>>& caps) {
    platform::StackView rows;
    rows.alignment = platform::StackAlignment::Leading;
    rows.spacing = 3;
    for (std::size_t i = 0; i < entries.size() && i < caps.size(); ++i)
        rows.children.push_back(legendRow(entries[i], caps[i]));
    return ViewNode::makeStack(std::move(rows));
}

} // namespace

std::vector<ViewNode> SettingsWindow::shortcutsPane() {
    std::vector<ViewNode> parts;

    std::vector<ViewNode> anywhere;
    for (const auto& field : fields_) {
        Row entry{shortcutTitle(field.name), std::nullopt, ViewNode::make(field.recorder->view()), {}};
        if (field.name == Hotkeys::toggleSwitch)
            entry.details.push_back(note("Works while Marlowick is off."));
        anywhere.push_back(row(std::move(entry)));
    }
    parts.push_back(rowGroup("Anywhere", std::move(anywhere)));

    std::vector<ViewNode> picker;
    picker.push_back(flagSwitchRow(
        {"Show picker keys", SettingsKey::showPickerKeys, storedBoolean(SettingsKey::showPickerKeys, true),
         OverrideFlag::noPickerKeys, false, "The \"In the picker\" section of the status menu."}));
    picker.push_back(legendRows(pickerLegend(), pickerLegendCaps_));
    parts.push_back(rowGroup("In the picker", std::move(picker)));

    std::vector<ViewNode> vim;
    vim.push_back(flagSwitchRow({"Use Vim keys in the picker", SettingsKey::vimKeys,
                                 storedBoolean(SettingsKey::vimKeys, false), OverrideFlag::vimKeys, true,
                                 "Letters follow your keyboard layout."}));
    vim.push_back(legendRows(vimLegend(), vimLegendCaps_));
    parts.push_back(rowGroup("Vim keys", std::move(vim)));

    parts.push_back(ViewNode::make(platform::SpacerView{}));
    parts.push_back(restoreButton(AppSettings::isAtDefaults(RestoreGroup::shortcuts),
                                  [] { AppSettings::restoreDefaults(RestoreGroup::shortcuts); }));
    return parts;
}

} // namespace marlowick
