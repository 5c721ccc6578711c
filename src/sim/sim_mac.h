// One simulated Mac: builds every simulated service and installs them as the platform in force for
// its lifetime. Tests build one each; the program builds one for the run.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/accessibility.h"
#include "sim/files.h"
#include "sim/process.h"
#include "sim/run_loop.h"
#include "sim/screens.h"
#include "sim/workspace.h"

namespace marlowick::sim {

class SimMac {
public:
    struct Options {
        // The home folder; empty for a fresh temporary one that is removed with the SimMac.
        std::string home;
        // Wall-clock seconds since 1970 at virtual time 0 (1 March 2026, 14:05:09 UTC by default).
        double epoch = 1772373909.0;
        // Whether the user has granted the accessibility permission.
        bool trusted = true;
    };

    SimMac();
    explicit SimMac(Options options);
    ~SimMac();
    SimMac(const SimMac&) = delete;
    SimMac& operator=(const SimMac&) = delete;

    SimRunLoop& runLoop() { return loop_; }
    SimAccessibility& accessibility() { return accessibility_; }
    SimWorkspace& workspace() { return workspace_; }
    SimScreens& screens() { return screens_; }
    SimFiles& files() { return files_; }
    SimProcess& process() { return process_; }
    const std::string& home() const { return home_; }

    void runFor(double seconds) { loop_.runFor(seconds); }
    void runUntilIdle() { loop_.runUntilIdle(); }
    double now() { return loop_.now(); }

    // The messages of the log lines printed so far, without their time stamps.
    std::vector<std::string> logLines() const;

private:
    std::string home_;
    bool ownsHome_;
    SimRunLoop loop_;
    SimAccessibility accessibility_;
    SimWorkspace workspace_;
    SimScreens screens_;
    SimFiles files_;
    SimProcess process_;
    platform::Installation installation_;
};

}  // namespace marlowick::sim
