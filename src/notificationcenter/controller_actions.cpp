// A notification's own actions from the picker: the list of the selected row's custom actions
// (Reply, Mark as Read, Show Details…) without Notification Center's Close, Clear All and Show, and
// performing one of them.
#include <algorithm>

#include "app/log.h"
#include "notificationcenter/action_labels.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "overlay/action_list.h"
#include "overlay/sidebar_overlay.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;
using platform::Rect;

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
    layoutActionList();
}

void Controller::layoutActionList() {
    if (!panel || !overlay || overlay->actionLabels.empty()) return;
    const auto index = static_cast<std::size_t>(overlay->selected);
    if (overlay->selected < 0 || index >= overlay->itemFrames.size()) return;
    // Without a list the panel is the scroll area grown by the margin (layoutPanel).
    const Rect shown = panel->frame();
    const Rect sidebar = shown.insetBy(kPanelMargin, kPanelMargin);
    const Rect item = overlay->itemFrames[index].offsetBy(shown.minX(), shown.minY());
    const Rect list = actionListBeside(item, sidebar, overlay->actionLabels);
    const Rect bounds = unionOf(shown, list);
    const double dx = shown.minX() - bounds.minX();
    const double dy = shown.minY() - bounds.minY();
    for (auto& frame : overlay->itemFrames)
        frame = frame.offsetBy(dx, dy);
    overlay->actionListFrame = list.offsetBy(-bounds.minX(), -bounds.minY());
    panel->setFrame(bounds, platform::Display::Later);
    overlay->setNeedsDisplay();
}

Rect Controller::actionListBeside(const Rect& item, const Rect& sidebar,
                                  const std::vector<std::string>& labels) {
    auto* screens = platform::current().screens;
    auto frames = screens ? screens->screenFrames() : std::vector<Rect>{};
    // The screen the sidebar stands on; with none known, room to its left.
    Rect screen{sidebar.minX() - 1000, sidebar.minY(), sidebar.width() + 1000, sidebar.height()};
    if (!frames.empty()) screen = frames.front();
    for (const auto& frame : frames) {
        if (frame.contains({sidebar.midX(), sidebar.midY()})) screen = frame;
    }
    return placeActionList(item, sidebar, actionListSize(labels), screen);
}

Rect Controller::unionOf(const Rect& a, const Rect& b) {
    double minX = std::min(a.minX(), b.minX());
    double minY = std::min(a.minY(), b.minY());
    return {minX, minY, std::max(a.maxX(), b.maxX()) - minX, std::max(a.maxY(), b.maxY()) - minY};
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
