// A notification's own actions from the picker: the list of the selected row's custom actions
// (Reply, Mark as Read, Show Details…) without Notification Center's Close, Clear All and Show, and
// performing one of them.
#include <algorithm>

#include "app/log.h"
#include "notificationcenter/action_labels.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;

namespace {

std::string quoted(const std::string& text) {
    return "\"" + escapeUntrusted(text) + "\"";
}

} // namespace

void Controller::openActions() {
    auto item = selectedItem();
    if (!item || !overlay) return;
    auto actions = ownActions(*item);
    if (actions.empty()) {
        platform::current().windows->beep();
        log("Actions: none for " + quoted(readNotification(*item).title));
        return;
    }
    // Nine have number keys; a row offering more is not known to exist.
    if (actions.size() > static_cast<std::size_t>(SidebarOverlay::kMaxBadges))
        actions.resize(static_cast<std::size_t>(SidebarOverlay::kMaxBadges));
    actionsRow = *item;
    shownActions = std::move(actions);
    std::vector<std::string> labels;
    for (const auto& action : shownActions)
        labels.push_back(action.label);
    overlay->showActions(std::move(labels));
    layoutPanel();
}

void Controller::performShownAction(int index) {
    if (!actionsRow || index < 0 || index >= static_cast<int>(shownActions.size())) return;
    Element row = *actionsRow;
    CustomAction action = shownActions[static_cast<std::size_t>(index)];
    // The title first: the action may take the row away.
    std::string title = readNotification(row).title;
    performAction(row, action.name);
    log("Action " + quoted(action.label) + " on " + quoted(title));
    openedSidebar = false;
    hidePanel();
}

void Controller::forgetActionsUnlessListed() {
    if (!actionsRow || std::find(sidebarItems.begin(), sidebarItems.end(), *actionsRow) != sidebarItems.end())
        return;
    actionsRow.reset();
    shownActions.clear();
    if (overlay) overlay->closeActions();
}

} // namespace marlowick
