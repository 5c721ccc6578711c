// The Behavior pane: what the hot key does without a banner, how the newest one opens, stacks, and
// automatic badges.
#include "input/settings_rows.h"
#include "input/settings_window.h"

namespace marlowick {

using platform::ViewNode;

std::vector<ViewNode> SettingsWindow::behaviorPane() {
    std::vector<ViewNode> rows;
    rows.push_back(choiceRow(makeChoiceRow(
        "With no banner", SettingsKey::openMode, AppSettings::openMode(), OverrideFlag::mode,
        {"Show badges", "Open a lone notification, else show badges", "Open the newest notification"})));
    // The effective mode: with "--mode" among the arguments it may differ from the stored one.
    auto newest = makeChoiceRow("Open the newest", SettingsKey::nextStyle, AppSettings::nextStyle(),
                                OverrideFlag::nextStyle, {"At once", "After ringing it"});
    newest.isOff = AppSettings::openMode() != OpenMode::next;
    rows.push_back(choiceRow(newest));
    rows.push_back(choiceRow(makeChoiceRow("Stacks", SettingsKey::stacks, AppSettings::stacks(),
                                           OverrideFlag::stacks, {"Expand them all", "Keep them collapsed"},
                                           "Expanded, each notification in a stack gets its own number.")));
    const char* picks =
        AppSettings::vimKeys()
            ? "The picker then takes 1\u20139, \u2191/\u2193, Return, Esc and the Vim letters."
            : "The picker then takes 1\u20139, \u2191/\u2193, Return and Esc.";
    rows.push_back(flagSwitchRow({"Show badges on swipe or clock click", SettingsKey::autoBadges,
                                  storedBoolean(SettingsKey::autoBadges, true), OverrideFlag::noAutoBadges,
                                  false, picks}));

    std::vector<ViewNode> parts;
    parts.push_back(rowGroup(std::nullopt, std::move(rows)));
    parts.push_back(ViewNode::make(platform::SpacerView{}));
    parts.push_back(restoreButton(AppSettings::isAtDefaults(RestoreGroup::behavior),
                                  [] { AppSettings::restoreDefaults(RestoreGroup::behavior); }));
    return parts;
}

} // namespace marlowick
