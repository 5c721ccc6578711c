// Tells its owner (the controller) when something changed in Notification Center's windows and when
// the Notification Center process was replaced. When to check and what to do about it is the owner's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/accessibility.h"
#include "platform/subscription.h"

namespace marlowick {

class NotificationCenterObserver : public std::enable_shared_from_this<NotificationCenterObserver> {
public:
    // Remembers the Notification Center that runs now and starts watching the running applications.
    static std::shared_ptr<NotificationCenterObserver> create();
    NotificationCenterObserver(const NotificationCenterObserver&) = delete;
    NotificationCenterObserver& operator=(const NotificationCenterObserver&) = delete;

    // Called for every accessibility notification received.
    std::function<void()> onChange = [] {};
    // Called when a Notification Center process other than the one last seen appears.
    std::function<void()> onRestart = [] {};

    // Compares the running Notification Center with the one last seen; a new process is a restart,
    // a process that is gone only ends the subscription.
    void checkProcess();
    // Makes sure the subscription exists for the running process; true when it does.
    bool observe();
    void stopObserving();

    std::optional<std::int32_t> observedPID() const { return observedPID_; }
    std::optional<std::int32_t> runningPID() const { return runningPID_; }

private:
    NotificationCenterObserver() = default;

    std::unique_ptr<platform::AXObserver> observer_;
    std::optional<std::int32_t> observedPID_;
    std::optional<std::int32_t> runningPID_;
    platform::Subscription appsWatch_;
};

} // namespace marlowick
