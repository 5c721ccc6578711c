// The platform the contract tests run against, chosen when they are built: the simulated Mac
// (platform_under_test_sim.cpp) or, on a Mac, the real adapters (platform_under_test_mac.mm).
// Tests written against this header alone run on both.
#pragma once

#include <memory>
#include <string>

#include "platform/run_loop.h"

namespace marlowick::sim {
class SimMac;
}

namespace marlowick::platform::testing {

class PlatformUnderTest {
public:
    // Builds the platform and installs its services until it is dropped.
    static std::unique_ptr<PlatformUnderTest> make();
    virtual ~PlatformUnderTest() = default;

    // Runs the main run loop in the mode for this many seconds of its clock: virtual seconds on the
    // simulated Mac (the event-tracking mode as a menu that tracks), real ones on a Mac.
    virtual void runFor(double seconds, RunLoopMode mode = RunLoopMode::Default) = 0;
    // An empty folder of its own, gone with the platform.
    virtual std::string scratchFolder() = 0;
    // How far apart two moments on this clock may be and still count as the same.
    virtual double clockTolerance() const = 0;
};

} // namespace marlowick::platform::testing
