#include "notificationcenter/observer.h"

#include <array>
#include <string>
#include <string_view>

#include "app/log.h"
#include "notificationcenter/reader.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

constexpr std::array<std::string_view, 4> kObservedNotifications = {
    "AXLayoutChanged",
    "AXUIElementDestroyed",
    "AXFocusedWindowChanged",
    "AXWindowCreated",
};

// The callback may replace itself while it runs, so a copy is what gets called.
void notify(const std::function<void()>& callback) {
    if (auto copy = callback) copy();
}

std::optional<std::int32_t> runningNotificationCenterPID() {
    if (auto process = notificationCenterProcess()) return process->processIdentifier();
    return std::nullopt;
}

} // namespace

std::shared_ptr<NotificationCenterObserver> NotificationCenterObserver::create() {
    std::shared_ptr<NotificationCenterObserver> observer(new NotificationCenterObserver());
    observer->runningPID_ = runningNotificationCenterPID();
    observer->appsWatch_ =
        platform::current().workspace->observeRunningApplications([weak = observer->weak_from_this()] {
            if (auto self = weak.lock()) self->checkProcess();
        });
    return observer;
}

void NotificationCenterObserver::checkProcess() {
    auto pid = runningNotificationCenterPID();
    if (pid) {
        if (runningPID_ == pid) return;
        runningPID_ = pid;
        stopObserving();
        notify(onRestart);
    } else if (runningPID_) {
        runningPID_.reset();
        stopObserving();
    }
}

bool NotificationCenterObserver::observe() {
    auto process = notificationCenterProcess();
    if (!process) return false;
    std::int32_t pid = process->processIdentifier();
    if (observedPID_ == pid) return true;
    stopObserving();

    auto& accessibility = *platform::current().accessibility;
    std::unique_ptr<platform::AXObserver> observer;
    auto callback = [weak = weak_from_this()](const platform::Element&, std::string_view) {
        if (auto self = weak.lock()) notify(self->onChange);
    };
    if (accessibility.createObserver(pid, callback, observer) != platform::kAXErrorSuccess || !observer) {
        return false;
    }
    auto application = accessibility.application(pid);
    for (auto notification : kObservedNotifications) {
        auto error = observer->addNotification(application, notification);
        if (error != platform::kAXErrorSuccess) {
            log("Could not observe " + std::string(notification) + " (" + std::to_string(error) + ")");
            return false;
        }
    }
    observer->addRunLoopSource();
    observer_ = std::move(observer);
    observedPID_ = pid;
    log("Observing Notification Center (pid " + std::to_string(pid) + ")");
    return true;
}

void NotificationCenterObserver::stopObserving() {
    if (observer_) observer_->removeRunLoopSource();
    observer_.reset();
    observedPID_.reset();
}

} // namespace marlowick
