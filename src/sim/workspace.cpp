#include "sim/workspace.h"

#include <algorithm>

namespace marlowick::sim {

class SimWorkspace::Application final : public platform::RunningApplication {
public:
    Application(std::string bundleIdentifier, std::int32_t pid)
        : bundle_(std::move(bundleIdentifier)), pid_(pid) {}
    std::string bundleIdentifier() const override { return bundle_; }
    std::int32_t processIdentifier() const override { return pid_; }
    bool isTerminated() const override { return terminated_; }
    void terminate() { terminated_ = true; }

private:
    std::string bundle_;
    std::int32_t pid_;
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

bool SimWorkspace::openURL(const std::string& url) {
    openedURLs_.push_back(url);
    return true;
}

bool SimWorkspace::launchTask(const std::string& executable, const std::vector<std::string>& arguments) {
    if (std::find(missingTools_.begin(), missingTools_.end(), executable) != missingTools_.end())
        return false;
    launchedTasks_.push_back({executable, arguments});
    return true;
}

void SimWorkspace::setToolMissing(const std::string& executable, bool missing) {
    std::erase(missingTools_, executable);
    if (missing) missingTools_.push_back(executable);
}

std::int32_t SimWorkspace::launchApplication(const std::string& bundleIdentifier) {
    auto pid = nextPid_++;
    running_.push_back(std::make_shared<Application>(bundleIdentifier, pid));
    announceChange();
    return pid;
}

void SimWorkspace::terminateApplication(std::int32_t pid) {
    auto it = std::find_if(running_.begin(), running_.end(),
                           [&](const auto& app) { return app->processIdentifier() == pid; });
    if (it == running_.end()) return;
    (*it)->terminate();
    running_.erase(it);
    announceChange();
}

void SimWorkspace::announceChange() {
    // Key-value observation of the list reaches observers on the main queue.
    loop_.async([this, alive = alive_] {
        if (!*alive) return;
        std::vector<std::uint64_t> ids;
        for (const auto& entry : observers_)
            ids.push_back(entry.first);
        for (auto id : ids) {
            if (auto it = observers_.find(id); it != observers_.end()) {
                auto callback = it->second;
                callback();
            }
        }
    });
}

} // namespace marlowick::sim
