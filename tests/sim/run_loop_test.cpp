// The simulated run loop's clock: a request that blocks inside a task costs its time.
#include "sim/run_loop.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

TEST(SimRunLoop, TimePassingInsideATaskDelaysLaterWork) {
    SimMac mac;
    platform::RunLoop& loop = *platform::current().runLoop;
    double ranAt = -1;
    loop.asyncAfter(0.1, [&] { mac.runLoop().advanceClock(0.5); }); // a blocking request
    loop.asyncAfter(0.2, [&] { ranAt = loop.now(); });
    mac.runFor(1);
    EXPECT_DOUBLE_EQ(ranAt, 0.6);
    EXPECT_DOUBLE_EQ(mac.now(), 1.0);
}

} // namespace
} // namespace marlowick::sim
