// The Shortcuts pane: the three hot keys, the picker-key legend and the Vim keys.
#include <algorithm>
#include <cmath>

#include "input/hotkeys.h"
#include "input/keyboardshortcuts/localization.h"
#include "input/settings_rows.h"
#include "input/settings_window.h"
#include "overlay/appearance_preview.h"
#include "platform/platform.h"
#include "platform/view_metrics.h"

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

// One width for the three fields, room for either placeholder and every chord they show, so that
// a field keeps its width when it starts recording and the column lines up.
double fieldWidth(const std::vector<ShortcutField>& fields) {
    auto& fonts = *platform::current().fonts;
    const auto font = platform::fontFor(platform::FontRole::Body);
    double text = std::max(fonts.measureText(KeyboardShortcuts::localized("record_shortcut"), font).width,
                           fonts.measureText(KeyboardShortcuts::localized("press_shortcut"), font).width);
    for (const auto& field : fields)
        text = std::max(text, fonts.measureText(field.recorder->text(), font).width);
    namespace metrics = platform::metrics;
    return std::ceil(metrics::kFieldIconArea + text + metrics::kFieldClearArea + metrics::kFieldPadding);
}

} // namespace

std::vector<ViewNode> SettingsWindow::shortcutsPane() {
    std::vector<ViewNode> parts;

    std::vector<ViewNode> anywhere;
    const double width = fieldWidth(fields_);
    for (const auto& field : fields_) {
        auto view = field.recorder->view();
        view.minimumWidth = std::max(view.minimumWidth, width);
        Row entry{shortcutTitle(field.name), std::nullopt, ViewNode::make(std::move(view)), {}};
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
    // A legend belongs to its switch: no divider between them, which also leaves the pane room for
    // a wrapped line above "Restore Defaults".
    parts.push_back(rowGroup("In the picker", std::move(picker), false));

    std::vector<ViewNode> vim;
    vim.push_back(flagSwitchRow({"Use Vim keys in the picker", SettingsKey::vimKeys,
                                 storedBoolean(SettingsKey::vimKeys, false), OverrideFlag::vimKeys, true,
                                 "Letters follow your keyboard layout."}));
    vim.push_back(legendRows(vimLegend(), vimLegendCaps_));
    parts.push_back(rowGroup("Vim keys", std::move(vim), false));

    parts.push_back(ViewNode::make(platform::SpacerView{}));
    parts.push_back(restoreButton(AppSettings::isAtDefaults(RestoreGroup::shortcuts),
                                  [] { AppSettings::restoreDefaults(RestoreGroup::shortcuts); }));
    return parts;
}

} // namespace marlowick
