// The central object of Notification Center access: runs the picker (opens the sidebar, unfolds
// stacks, lays the overlay panel over it, follows the slide-in and the ring), opens, closes and clears
// notifications, backs off from a stalled Notification Center, and watches the sidebar. Reading and
// pressing elements is reader.h's and ax.h's; drawing the overlay and turning keys into callbacks is
// the overlay's; the hot keys only call the entry points below.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "notificationcenter/ax.h"
#include "notificationcenter/observer.h"
#include "notificationcenter/reader.h"
#include "platform/accessibility.h"
#include "platform/geometry.h"
#include "platform/run_loop.h"
#include "platform/windows.h"

namespace marlowick {

class SidebarOverlay;

class Controller : public std::enable_shared_from_this<Controller> {
public:
    // Polls for rows after the sidebar was toggled open, 0.05 s apart.
    static constexpr int kSidebarWaitAttempts = 15;
    static constexpr double kRetryDelay = 0.05;
    static constexpr double kWatchInterval = 5.0;
    static constexpr double kWatchIntervalWhileShown = 0.2;
    static constexpr double kStallBackOff = 5.0;
    static constexpr double kRestartGrace = 3.0;
    static constexpr double kSampleInterval = 600.0;
    // A time-out that came back sooner than this (half the messaging time-out) is a dead process.
    static constexpr double kHungReplyAfter = 0.25;
    // The panel stands this far out from the scroll area on every side, room for badges and ring.
    static constexpr double kPanelMargin = 26;
    // Pages scrolled up, at most, to bring a lazy list's first rows back before the ring wraps.
    static constexpr int kMaxPagesToTop = 50;

    // Notes the running Notification Center and starts watching the running applications.
    static std::shared_ptr<Controller> create();
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // Once, after start-up: the observer's callbacks, the watch timer and a first check. Also routes
    // the picker keys to the overlay while one is shown.
    void start();
    // The open-notification hot key and menu item.
    void openPicker();
    // The clear-all hot key and menu item.
    void clearAll();
    // Ends a run from outside (before the settings show, when Marlowick is switched off).
    void closePicker();

    // The overlay while the picker's panel exists; none otherwise.
    std::shared_ptr<SidebarOverlay> shownOverlay() const { return panel ? overlay : nullptr; }
    // The picker's selected item while one is shown.
    std::optional<platform::Element> selectedItem() const {
        if (!panel || sidebarIndex < 0 || sidebarIndex >= static_cast<int>(sidebarItems.size()))
            return std::nullopt;
        return sidebarItems[static_cast<std::size_t>(sidebarIndex)];
    }
    // Whether a hot-key action is still waiting for Notification Center.
    bool isWaiting() const { return waiting; }

private:
    // Why the picker is shown: the hot key, or the watch saw the user open the sidebar.
    enum class Trigger { HotKey, UserOpenedSidebar };
    // A first call starts a run; a retry belongs to the run it carries.
    enum class Attempt { First, Retry };
    enum class AfterClearing { CloseSidebar, LeaveOpenIfRowsRemain };

    Controller();

    // Picker run (controller_picker.cpp).
    void showPicker(int attempts, Trigger trigger, std::int64_t run, Attempt attempt);
    void expandStacksThenShow(std::vector<Notification> rows, int attempts, std::int64_t run);
    // Presses every folded stack among the rows, remembering its application; answers how many.
    int pressStacks(const std::vector<Notification>& rows);
    void presentPanel();
    void reloadItems();
    void setItems(std::vector<platform::Element> items);
    void awaitSlideIn(platform::Element element, std::optional<platform::Rect> previous, int attempts);
    void positionRing();
    void layoutPanel();
    void moveSelection(int delta);
    bool revealRowsBelow();
    void revealTopRows();
    void hidePanel();
    void cancelPicker();
    void toggleSidebar();
    void closeSidebarIfOpen();
    void startWatchTimer();
    void scheduleCheck(double delay);
    // Every change of `waiting` goes through here, so that the end of a wait prompts a check.
    void setWaiting(bool value);
    void kickCheck(bool previous);

    // Opening (controller_open.cpp).
    void press(const Notification& notification);
    void findInSidebar(Notification target, int attempts);
    void openTop(int attempts);
    void expandStack(const platform::Element& element);
    void pickSelected();

    // A notification's own actions (controller_actions.cpp).
    void openActions();
    void performShownAction(int index);
    // The items changed: a list of actions whose row has gone is closed.
    void forgetActionsUnlessListed();
    // Widens the panel to the list just shown, from the frames it already has: no request.
    void layoutActionList();
    // Where the list stands for the item and the sidebar's scroll area, in screen coordinates.
    static platform::Rect actionListBeside(const platform::Rect& item, const platform::Rect& sidebar,
                                           const std::vector<std::string>& labels);
    static platform::Rect unionOf(const platform::Rect& a, const platform::Rect& b);

    // Closing, clearing and stalls (controller_clear.cpp).
    void closeSelected();
    void clearAllStep(int waitAttempts, int rounds, int dismissed, AfterClearing afterwards);
    bool ensureResponding();
    void sampleNotificationCenter();
    // How the application element answers "AXChildren". A time-out is a hang only when it took
    // about the messaging time-out: a process that has just died fails the same way at once (or
    // with a stale element), and a crash must never pass for a hang.
    enum class Reply { Answers, Hung, Gone };
    static Reply probe(const platform::Element& application);
    // A Notification Center that is gone or does not answer pauses the watch, unless it was
    // restarted just now; `sinceRestart` is noted before the request that timed out.
    void applyStallRule(bool running, double sinceRestart);

    // Sidebar watch (controller_watch.cpp).
    void watchCheck();
    void refreshRows();
    void unfoldNewStacks(const std::vector<Notification>& rows);
    void collapseExpanded(const platform::Element& application, const std::set<std::string>& names);

    // Runs work on the main queue after the delay, unless the controller is gone by then.
    void after(double delay, std::function<void(Controller&)> work);
    // Notification Center runs and its sidebar is open (the "widget-editor-button" is there).
    static bool sidebarOpenNow();
    static double now();

    static constexpr double kDistantPast = -std::numeric_limits<double>::infinity();

    std::shared_ptr<platform::Panel> panel;
    // The panel's content view; kept with the panel and dropped with it.
    std::shared_ptr<SidebarOverlay> overlay;
    std::shared_ptr<NotificationCenterObserver> notificationCenter;
    std::optional<platform::Timer> watchTimer;
    bool watchPending = false;
    bool openedSidebar = false;
    std::vector<platform::Element> sidebarItems;
    // Whether each item is a stack, read once when the items change rather than at every layout.
    std::vector<bool> sidebarItemIsStack;
    int sidebarIndex = 0;
    std::vector<platform::Element> closingRows;
    double closingAt = kDistantPast;
    bool sidebarWasOpen = false;
    bool waiting = false;
    double stalledAt = kDistantPast;
    double restartedAt = kDistantPast;
    double sampledAt = kDistantPast;
    bool openTopAfterSlideIn = false;
    double expandedAt = kDistantPast;
    // Stacks were seen while the last unfolding was too recent; a later check unfolds them.
    bool stacksAwaitUnfolding = false;
    std::int64_t pickerRun = 0;
    std::set<std::string> expandedApps;
    // The row whose actions the overlay lists, and those actions with their full names.
    std::optional<platform::Element> actionsRow;
    std::vector<CustomAction> shownActions;
};

} // namespace marlowick
