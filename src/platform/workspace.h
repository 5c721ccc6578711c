// The workspace: the applications that run, opening URLs, and launching helper tools.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/subscription.h"

namespace marlowick::platform {

// The workspace's live record of one running application; isTerminated turns true when it ends.
class RunningApplication {
public:
    virtual ~RunningApplication() = default;
    virtual std::string bundleIdentifier() const = 0;
    virtual std::int32_t processIdentifier() const = 0;
    virtual bool isTerminated() const = 0;
};

class Workspace {
public:
    virtual ~Workspace() = default;
    virtual std::vector<std::shared_ptr<const RunningApplication>> runningApplications() = 0;
    // Calls back on the main run loop whenever the list of running applications changes.
    virtual Subscription observeRunningApplications(std::function<void()> onChange) = 0;
    virtual bool openURL(const std::string& url) = 0;
    // Starts a tool without waiting for it; false when it could not be started. Whether it did its
    // work is its exit status, which `onExit` receives on the main run loop once it has ended.
    virtual bool launchTask(const std::string& executable, const std::vector<std::string>& arguments,
                            std::function<void(int exitStatus)> onExit = {}) = 0;
};

} // namespace marlowick::platform
