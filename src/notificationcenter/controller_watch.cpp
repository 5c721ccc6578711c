// The sidebar watch: notices the user opening the sidebar, the sidebar closing, and rows that come,
// go or change while the ring is shown; folds back the stacks Marlowick unfolded.
#include <algorithm>

#include "app/log.h"
#include "input/settings.h"
#include "notificationcenter/action_labels.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;

namespace {

// Rows closed by the picker stay out of its items this long, while Notification Center removes them.
constexpr double kClosingMemory = 1.0;
// Newly arrived stacks are unfolded at most this often.
constexpr double kExpansionInterval = 1.0;
// Deeper than any real sidebar nests an unfolded stack's heading.
constexpr int kCollapseMaxDepth = 11;

bool contains(const std::vector<Element>& elements, const Element& element) {
    return std::find(elements.begin(), elements.end(), element) != elements.end();
}

// Depth-first over "AXChildren", with the element budget of one tree walk so that a tree that
// repeats its elements cannot make the fold-back run away.
void collapseBelow(TreeWalker& walker, ElementAttributes& element, int depth,
                   const std::set<std::string>& names) {
    if (depth > kCollapseMaxDepth || element.stringEquals(Attribute::Role, "AXMenuBar")) return;
    std::vector<ElementAttributes> children;
    for (const auto& child : element.children()) {
        children.push_back(walker.read(child, {Attribute::Role, Attribute::Description, Attribute::Title,
                                               Attribute::Identifier, Attribute::Children}));
    }
    // An unfolded stack shows as a heading with the application's name and two buttons, the first
    // of which folds it.
    for (std::size_t i = 0; i + 2 < children.size(); ++i) {
        if (!children[i].stringEquals(Attribute::Role, "AXHeading") ||
            !children[i + 1].stringEquals(Attribute::Role, "AXButton") ||
            !children[i + 2].stringEquals(Attribute::Role, "AXButton")) {
            continue;
        }
        auto name = children[i].string(Attribute::Description);
        if (!name) name = children[i].string(Attribute::Title);
        if (!name || !names.contains(*name)) continue;
        performAction(children[i + 1].element(), "AXPress");
        log("Collapsed " + escapeUntrusted(*name));
    }
    for (auto& child : children) {
        // Widgets hold no stacks.
        auto identifier = child.string(Attribute::Identifier);
        if (!identifier || !identifier->starts_with("widget")) collapseBelow(walker, child, depth + 1, names);
    }
}

} // namespace

void Controller::watchCheck() {
    if (now() - stalledAt < kStallBackOff) return;
    notificationCenter->checkProcess();
    double sinceRestart = now() - restartedAt;
    auto application = notificationCenterApp();
    auto reply = application ? probe(*application) : Reply::Gone;
    if (reply != Reply::Answers) {
        // A Notification Center that is gone took its sidebar with it: the picker over it ends now
        // instead of holding the picker keys until some new process shows up.
        if (reply == Reply::Gone && panel) {
            log("Sidebar closed");
            ++pickerRun;
            openedSidebar = false;
            hidePanel();
        }
        applyStallRule(reply == Reply::Hung, sinceRestart);
        return;
    }
    if (!notificationCenter->observe() && sinceRestart < kRestartGrace) scheduleCheck(0.25);
    // Worked out (and logged) once per process, before anything needs them.
    notificationCenterLabels();

    bool open = sidebarIsOpen(*application);
    if (waiting) {
        sidebarWasOpen = open;
        return;
    }
    if (open) {
        if (panel && overlay) {
            if (overlay->showsRing) {
                refreshRows();
                layoutPanel();
            }
        } else if (AppSettings::autoBadges() && !sidebarWasOpen) {
            log("Sidebar opened without the hotkey");
            showPicker(kSidebarWaitAttempts, Trigger::UserOpenedSidebar, 0, Attempt::First);
        }
        sidebarWasOpen = true;
        return;
    }
    if (panel) {
        log("Sidebar closed");
        hidePanel();
    }
    if (!expandedApps.empty()) {
        auto names = std::exchange(expandedApps, {});
        if (auto running = notificationCenterApp()) collapseExpanded(*running, names);
    }
    openedSidebar = false;
    sidebarWasOpen = false;
}

void Controller::refreshRows() {
    if (now() - closingAt >= kClosingMemory) closingRows.clear();
    auto notifications = sidebarNotifications();
    std::erase_if(notifications, [&](const Notification& row) { return contains(closingRows, row.element); });
    std::vector<Element> rows;
    rows.reserve(notifications.size() + 1);
    for (const auto& row : notifications)
        rows.push_back(row.element);
    if (auto application = notificationCenterApp()) {
        if (auto button = historyButton(*application)) rows.push_back(*button);
    }
    bool changed = rows != sidebarItems;
    if (!changed && !stacksAwaitUnfolding) return;
    unfoldNewStacks(notifications);
    if (!changed) return;

    std::optional<Element> selected;
    if (sidebarIndex >= 0 && sidebarIndex < static_cast<int>(sidebarItems.size()))
        selected = sidebarItems[static_cast<std::size_t>(sidebarIndex)];
    setItems(std::move(rows));
    int count = static_cast<int>(sidebarItems.size());
    auto found =
        selected ? std::find(sidebarItems.begin(), sidebarItems.end(), *selected) : sidebarItems.end();
    if (found != sidebarItems.end()) {
        sidebarIndex = static_cast<int>(found - sidebarItems.begin());
    } else if (now() - closingAt < kClosingMemory) {
        sidebarIndex = std::min(std::max(count - 1, 0), sidebarIndex);
    } else {
        sidebarIndex = 0;
    }
    log("Rows changed: " + std::to_string(count) + " item(s)");
    if (count == 0) {
        // Every row was dismissed with Notification Center's own buttons: nothing is left to pick.
        // As after closing the last row, the next hot key closes the empty sidebar.
        hidePanel();
        openedSidebar = true;
    }
}

void Controller::unfoldNewStacks(const std::vector<Notification>& rows) {
    bool any =
        AppSettings::stacks() != StackMode::keep &&
        std::any_of(rows.begin(), rows.end(), [](const Notification& row) { return isStack(row.element); });
    // Stacks that came too soon after the last unfolding wait for a later check, even one that
    // finds the rows as they were.
    stacksAwaitUnfolding = any && now() - expandedAt <= kExpansionInterval;
    if (!any || stacksAwaitUnfolding) return;
    int stacks = pressStacks(rows);
    expandedAt = now();
    log("Expanding " + std::to_string(stacks) + " new stack(s)");
}

void Controller::collapseExpanded(const Element& application, const std::set<std::string>& names) {
    TreeWalker walker;
    auto root = walker.read(application, {Attribute::Role, Attribute::Children});
    collapseBelow(walker, root, 0, names);
}

} // namespace marlowick
