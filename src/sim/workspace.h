// The simulated workspace: the running applications, their observation, and the URLs and tools the
// program asked to open or launch (recorded, never executed).
// Models: live records whose terminated flag flips, key-value observation of the list through the
// run loop, the launch and termination notifications, which an application without a Dock icon
// (an accessory or background process, as Notification Center is) never gets, fresh process
// identifiers per launch, tools that are missing and so cannot be launched, and tools that end,
// on a later turn of the run loop, with the exit status set for them. Not modelled:
// activation, hiding, application icons.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/workspace.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

class SimWorkspace final : public platform::Workspace {
public:
    struct LaunchedTask {
        std::string executable;
        std::vector<std::string> arguments;
    };

    explicit SimWorkspace(SimRunLoop& loop) : loop_(loop) {}
    ~SimWorkspace() override;

    std::vector<std::shared_ptr<const platform::RunningApplication>> runningApplications() override;
    platform::Subscription observeRunningApplications(std::function<void()> onChange) override;
    bool openURL(const std::string& url) override;
    bool launchTask(const std::string& executable, const std::vector<std::string>& arguments,
                    std::function<void(int exitStatus)> onExit = {}) override;

    // Starts an application and returns its new process identifier.
    std::int32_t launchApplication(const std::string& bundleIdentifier,
                                   platform::ActivationPolicy policy = platform::ActivationPolicy::Regular);
    void terminateApplication(std::int32_t pid);

    // The workspace's launch and termination notifications (the process identifier, and whether it
    // was a launch), on the main run loop.
    platform::Subscription observeLaunchNotifications(std::function<void(std::int32_t, bool launched)> handler);

    // Launching this executable fails from now on (or works again).
    void setToolMissing(const std::string& executable, bool missing);
    // The executable ends with this status from now on (0, doing its work, unless set).
    void setToolExitStatus(const std::string& executable, int status);

    const std::vector<std::string>& openedURLs() const { return openedURLs_; }
    const std::vector<LaunchedTask>& launchedTasks() const { return launchedTasks_; }

private:
    class Application;
    void announceChange(const Application& application, bool launched);

    SimRunLoop& loop_;
    std::int32_t nextPid_ = 400;
    std::vector<std::shared_ptr<Application>> running_;
    std::map<std::uint64_t, std::function<void()>> observers_;
    std::map<std::uint64_t, std::function<void(std::int32_t, bool)>> launchObservers_;
    std::uint64_t nextObserver_ = 1;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::vector<std::string> openedURLs_;
    std::vector<LaunchedTask> launchedTasks_;
    std::vector<std::string> missingTools_;
    std::map<std::string, int> exitStatuses_;
};

} // namespace marlowick::sim
