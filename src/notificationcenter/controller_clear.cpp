// Closing one row of the picker, clearing every notification in rounds, and noticing (and sampling)
// a Notification Center that does not run or does not answer.
#include <algorithm>

#include "app/log.h"
#include "notificationcenter/action_labels.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "platform/iso8601.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;

namespace {

constexpr int kClearRounds = 20;
constexpr double kClearRoundDelay = 0.3;
constexpr std::string_view kSampleTool = "/usr/bin/sample";
constexpr std::string_view kSampleSeconds = "3";

// A stack's "Clear All" takes all of its notifications; a single row only has "Close". Either in
// Notification Center's language or in English; a row offering neither is left alone.
std::optional<std::string> dismissingAction(const Element& row) {
    const auto& labels = notificationCenterLabels();
    if (auto clear = customActionName(row, labels.clearAll)) return clear;
    return customActionName(row, labels.close);
}

std::string missingDismissingLabels() {
    const auto& labels = notificationCenterLabels();
    std::vector<std::string> all = labels.clearAll;
    all.insert(all.end(), labels.close.begin(), labels.close.end());
    std::string names;
    for (const auto& label : all)
        names += (names.empty() ? "\"" : " or \"") + escapeUntrusted(label) + "\"";
    return "no action labelled " + names;
}

} // namespace

void Controller::closeSelected() {
    if (sidebarIndex < 0 || sidebarIndex >= static_cast<int>(sidebarItems.size())) return;
    auto index = static_cast<std::size_t>(sidebarIndex);
    Element item = sidebarItems[index];
    std::string description = escapeUntrusted(stringAttribute(item, "AXDescription").value_or("?"));
    auto action = dismissingAction(item);
    if (!action) {
        log("Close: nothing to close on item " + std::to_string(sidebarIndex) + ": " + description);
        log("Close: " + missingDismissingLabels());
        return;
    }
    log("Closing item " + std::to_string(sidebarIndex) + ": " + description);
    auto code = performAction(item, *action);
    if (code != platform::kAXErrorSuccess) log("Close returned " + std::to_string(code) + "; carrying on");
    closingRows.push_back(item);
    closingAt = now();
    sidebarItems.erase(sidebarItems.begin() + static_cast<std::ptrdiff_t>(index));
    sidebarItemIsStack.erase(sidebarItemIsStack.begin() + static_cast<std::ptrdiff_t>(index));
    if (sidebarItems.empty()) {
        log("Close: no rows left");
        hidePanel();
        // The sidebar stays open and empty; the next hot key closes it.
        openedSidebar = true;
        return;
    }
    sidebarIndex = std::min(static_cast<int>(sidebarItems.size()) - 1, sidebarIndex);
    positionRing();
}

void Controller::clearAll() {
    if (!ensureResponding()) return;
    // A picker run still waiting for rows would otherwise show its panel over rows being cleared.
    // As when the picker is closed, the watch must not take the sidebar for one the user opened.
    ++pickerRun;
    openTopAfterSlideIn = false;
    sidebarWasOpen = true;
    bool open = sidebarOpenNow();
    auto afterwards =
        openedSidebar || !open ? AfterClearing::CloseSidebar : AfterClearing::LeaveOpenIfRowsRemain;
    expandedApps.clear();
    hidePanel();
    openedSidebar = false;
    if (!open) toggleSidebar();
    setWaiting(true);
    clearAllStep(kSidebarWaitAttempts, kClearRounds, 0, afterwards);
}

void Controller::clearAllStep(int waitAttempts, int rounds, int dismissed, AfterClearing afterwards) {
    // The clearing waits until its last round, even when a retry of an ended run gave up its wait.
    setWaiting(true);
    auto rows = sidebarOpenNow() ? sidebarNotifications() : std::vector<Notification>{};
    if (rows.empty() && dismissed == 0 && waitAttempts >= 1) {
        // The sidebar may still be sliding in.
        after(kRetryDelay, [waitAttempts, rounds, afterwards](Controller& self) {
            self.clearAllStep(waitAttempts - 1, rounds, 0, afterwards);
        });
        return;
    }
    int count = 0;
    int unlabelled = 0;
    for (const auto& row : rows) {
        auto action = dismissingAction(row.element);
        if (!action) ++unlabelled;
        if (action && performAction(row.element, *action) == platform::kAXErrorSuccess) ++count;
    }
    if (unlabelled > 0) {
        log("Clear all: " + std::to_string(unlabelled) + " row(s) with " + missingDismissingLabels());
    }
    bool progress = count > 0;
    if (count == 0) {
        // Older notifications wait behind the history button; showing them gives the next round work.
        auto application = notificationCenterApp();
        if (auto button = application ? historyButton(*application) : std::nullopt) {
            progress = performAction(*button, "AXPress") == platform::kAXErrorSuccess;
        }
    }
    if (progress && rounds >= 1) {
        after(kClearRoundDelay, [rounds, total = dismissed + count, afterwards](Controller& self) {
            self.clearAllStep(0, rounds - 1, total, afterwards);
        });
        return;
    }
    setWaiting(false);
    log("Clear all: dismissed " + std::to_string(dismissed + count) + " item(s)");
    if (!sidebarOpenNow()) return;
    if (afterwards == AfterClearing::LeaveOpenIfRowsRemain && !sidebarNotifications().empty()) return;
    toggleSidebar();
}

Controller::Reply Controller::probe(const Element& application) {
    platform::AXValue ignored;
    auto& services = platform::current();
    double start = services.runLoop->now();
    auto code = services.accessibility->copyAttributeValue(application, "AXChildren", ignored);
    if (code == platform::kAXErrorInvalidUIElement) return Reply::Gone;
    if (code != platform::kAXErrorCannotComplete) return Reply::Answers;
    return services.runLoop->now() - start >= kHungReplyAfter ? Reply::Hung : Reply::Gone;
}

bool Controller::ensureResponding() {
    auto application = notificationCenterApp();
    auto reply = application ? probe(*application) : Reply::Gone;
    if (reply == Reply::Answers) return true;
    stalledAt = now();
    if (reply == Reply::Hung) {
        log("Notification Center is not responding (restart it: killall NotificationCenter)");
        sampleNotificationCenter();
    } else {
        log("Notification Center is not running");
    }
    return false;
}

void Controller::applyStallRule(bool running, double sinceRestart) {
    if (sinceRestart >= kRestartGrace) {
        stalledAt = now();
        if (running) sampleNotificationCenter();
    } else {
        scheduleCheck(0.25);
    }
}

void Controller::sampleNotificationCenter() {
    if (!(now() - sampledAt > kSampleInterval)) return;
    auto process = notificationCenterProcess();
    if (!process) return;
    auto pid = process->processIdentifier();
    sampledAt = now();

    auto& services = platform::current();
    std::string folder = logDirectory();
    services.files->createDirectory(folder);
    std::string stamp = platform::iso8601(services.runLoop->secondsSince1970());
    std::replace(stamp.begin(), stamp.end(), ':', '-');
    std::string file = folder + "/NotificationCenter-" + stamp + ".sample.txt";
    // The launch only starts the tool; its exit status says whether the file was written.
    if (services.workspace->launchTask(std::string(kSampleTool),
                                       {std::to_string(pid), std::string(kSampleSeconds), "-file", file},
                                       [](int status) {
                                           if (status != 0)
                                               log("Sampling Notification Center failed with status " +
                                                   std::to_string(status) + "; no file was written");
                                       })) {
        log("Sampling Notification Center to " + file);
    }
}

} // namespace marlowick
