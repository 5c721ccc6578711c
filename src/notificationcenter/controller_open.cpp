// Opening notifications: pressing a row, looking again for a banner that went away, opening the top
// row, and what picking an item of the picker does.
#include "app/log.h"
#include "notificationcenter/action_labels.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;

namespace {

constexpr int kSidebarSearchAttempts = 20;
constexpr double kUnfoldWait = 0.4;

// "Show" (in Notification Center's language or in English) when the row offers it, so Notification
// Center opens the notification the way a click would.
std::string openingAction(const Element& row) {
    return customActionName(row, notificationCenterLabels().show).value_or("AXPress");
}

bool bodiesMatch(const std::string& a, const std::string& b) {
    return a.starts_with(b) || b.starts_with(a);
}

// Ids decide when both sides have one; otherwise the title and a body that one side may cut short.
bool isSameNotification(const Notification& row, const Notification& target) {
    if (row.id && target.id) return *row.id == *target.id;
    return row.title == target.title && bodiesMatch(row.body, target.body);
}

} // namespace

void Controller::press(const Notification& notification) {
    auto code = performAction(notification.element, openingAction(notification.element));
    openedSidebar = false;
    if (code == platform::kAXErrorSuccess) return;
    log("Press failed (" + std::to_string(code) + ") for: " + escapeUntrusted(notification.title) +
        "; looking for it in the sidebar");
    if (!sidebarOpenNow()) {
        toggleSidebar();
        openedSidebar = true;
    }
    findInSidebar(notification, kSidebarSearchAttempts);
}

void Controller::findInSidebar(Notification target, int attempts) {
    setWaiting(true);
    auto rows = sidebarOpenNow() ? sidebarNotifications() : std::vector<Notification>{};
    for (const auto& row : rows) {
        if (!isSameNotification(row, target)) continue;
        setWaiting(false);
        sidebarWasOpen = true;
        log("Found in the sidebar: " + escapeUntrusted(row.title));
        auto code = performAction(row.element, openingAction(row.element));
        openedSidebar = false;
        if (code != platform::kAXErrorSuccess) {
            platform::current().windows->beep();
            log("Press failed (" + std::to_string(code) + ") in the sidebar too");
        }
        return;
    }
    if (attempts <= 0) {
        platform::current().windows->beep();
        log("Not in the sidebar: " + escapeUntrusted(target.title));
        showPicker(kSidebarWaitAttempts, Trigger::HotKey, 0, Attempt::First);
        return;
    }
    after(kRetryDelay, [target = std::move(target), attempts](Controller& self) {
        self.findInSidebar(target, attempts - 1);
    });
}

void Controller::openTop(int attempts) {
    auto rows = sidebarNotifications();
    if (rows.empty()) {
        log("Open top: sidebar is empty");
        return;
    }
    const auto& top = rows.front();
    if (isStack(top.element) && attempts >= 1) {
        expandStack(top.element);
        after(kUnfoldWait, [attempts, run = pickerRun](Controller& self) {
            // Not once the run has ended meanwhile: the user no longer wants a row opened.
            if (run == self.pickerRun) self.openTop(attempts - 1);
        });
        return;
    }
    log("Open top: " + escapeUntrusted(top.title));
    press(top);
}

void Controller::expandStack(const Element& element) {
    if (auto app = stackAppName(element)) expandedApps.insert(*app);
    performAction(element, "AXPress");
}

void Controller::pickSelected() {
    if (sidebarIndex < 0 || sidebarIndex >= static_cast<int>(sidebarItems.size())) return;
    Element item = sidebarItems[static_cast<std::size_t>(sidebarIndex)];
    auto application = notificationCenterApp();
    auto history = application ? historyButton(*application) : std::nullopt;
    if (isStack(item) || (history && *history == item)) {
        performAction(item, "AXPress");
        after(kUnfoldWait, [](Controller& self) {
            // The picker may have ended meanwhile; then there is nothing to follow.
            if (!self.panel) return;
            self.reloadItems();
            self.positionRing();
        });
        return;
    }
    performAction(item, openingAction(item));
    openedSidebar = false;
    hidePanel();
}

} // namespace marlowick
