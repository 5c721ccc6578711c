// The contract tests' platform on Linux: a simulated Mac on its virtual clock.
#include "platform/platform.h"
#include "platform_under_test.h"
#include "sim/sim_mac.h"

namespace marlowick::platform::testing {
namespace {

class SimulatedPlatform final : public PlatformUnderTest {
public:
    void runFor(double seconds, RunLoopMode mode) override {
        if (mode == RunLoopMode::EventTracking) mac_.beginMenuTracking();
        mac_.runFor(seconds);
        if (mode == RunLoopMode::EventTracking) mac_.endMenuTracking();
    }
    std::string scratchFolder() override { return mac_.home() + "/scratch"; }
    double clockTolerance() const override { return 1e-9; }

private:
    sim::SimMac mac_;
};

} // namespace

std::unique_ptr<PlatformUnderTest> PlatformUnderTest::make() {
    return std::make_unique<SimulatedPlatform>();
}

} // namespace marlowick::platform::testing
