#include "sim/workspace.h"

#include <algorithm>

namespace marlowick::sim {

class SimWorkspace::Application final : public platform::RunningApplication {
public:
    Application(std::string bundleIdentifier, std::int32_t pid, platform::ActivationPolicy policy)
        : bundle_(std::move(bundleIdentifier)), pid_(pid), policy_(policy) {}
    std::string bundleIdentifier() const override { return bundle_; }
    std::int32_t processIdentifier() const override { return pid_; }
    bool isTerminated() const override { return terminated_; }
    void terminate() { terminated_ = true; }
    platform::ActivationPolicy policy() const { return policy_; }

private:
    std::string bundle_;
    std::int32_t pid_;
    platform::ActivationPolicy policy_;
    bool terminated_ = false;
};

SimWorkspace::~SimWorkspace() {
    *alive_ = false;
}

std::vector<std::shared_ptr<const platform::RunningApplication>> SimWorkspace::runningApplications() {
    return {running_.begin(), running_.end()};
}

platform::Subscription SimWorkspace::observeRunningApplications(std::function<void()> onChange) {
    auto id = nextObserver_++;
    observers_.emplace(id, std::move(onChange));
    return platform::Subscription([this, alive = alive_, id] {
        if (*alive) observers_.erase(id);
    });
}

platform::Subscription
SimWorkspace::observeLaunchNotifications(std::function<void(std::int32_t, bool launched)> handler) {
    auto id = nextObserver_++;
    launchObservers_.emplace(id, std::move(handler));
    return platform::Subscription([this, alive = alive_, id] {
        if (*alive) launchObservers_.erase(id);
    });
}

bool SimWorkspace::openURL(const std::string& url) {
    openedURLs_.push_back(url);
    return true;
}

bool SimWorkspace::launchTask(const std::string& executable, const std::vector<std::string>& arguments,
                              std::function<void(int exitStatus)> onExit) {
    if (std::find(missingTools_.begin(), missingTools_.end(), executable) != missingTools_.end())
        return false;
    launchedTasks_.push_back({executable, arguments});
    auto found = exitStatuses_.find(executable);
    const int status = found == exitStatuses_.end() ? 0 : found->second;
    if (onExit) loop_.async([onExit = std::move(onExit), status] { onExit(status); });
    return true;
}

void SimWorkspace::setToolExitStatus(const std::string& executable, int status) {
    exitStatuses_[executable] = status;
}

void SimWorkspace::setToolMissing(const std::string& executable, bool missing) {
    std::erase(missingTools_, executable);
    if (missing) missingTools_.push_back(executable);
}

std::int32_t SimWorkspace::launchApplication(const std::string& bundleIdentifier,
                                             platform::ActivationPolicy policy) {
    auto pid = nextPid_++;
    running_.push_back(std::make_shared<Application>(bundleIdentifier, pid, policy));
    announceChange(*running_.back(), true);
    return pid;
}

void SimWorkspace::terminateApplication(std::int32_t pid) {
    auto it = std::find_if(running_.begin(), running_.end(),
                           [&](const auto& app) { return app->processIdentifier() == pid; });
    if (it == running_.end()) return;
    auto ended = *it;
    ended->terminate();
    running_.erase(it);
    announceChange(*ended, false);
}

namespace {
// Calls each observer still there when its turn comes; observers may come and go meanwhile.
template <typename Map, typename Call> void callEach(Map& observers, Call call) {
    std::vector<std::uint64_t> ids;
    for (const auto& entry : observers)
        ids.push_back(entry.first);
    for (auto id : ids) {
        if (auto it = observers.find(id); it != observers.end()) {
            auto callback = it->second;
            call(callback);
        }
    }
}
} // namespace

void SimWorkspace::announceChange(const Application& application, bool launched) {
    // Key-value observation of the list reaches observers on the main queue; the notifications only
    // come for applications with a Dock icon.
    const bool notified = application.policy() == platform::ActivationPolicy::Regular;
    loop_.async([this, alive = alive_, pid = application.processIdentifier(), launched, notified] {
        if (!*alive) return;
        callEach(observers_, [](auto& callback) { callback(); });
        if (*alive && notified) callEach(launchObservers_, [&](auto& callback) { callback(pid, launched); });
    });
}

} // namespace marlowick::sim
