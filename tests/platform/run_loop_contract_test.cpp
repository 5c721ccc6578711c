// What the main run loop promises: order of delayed work, timers in their modes, and time that
// passes inside a task. Runs against the simulated Mac, which arranges menu tracking and the clock.
#include "platform/run_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

using sim::SimMac;

TEST(RunLoopContract, FiresInDueOrderWithTiesInSchedulingOrder) {
    SimMac mac;
    RunLoop& loop = *current().runLoop;
    std::vector<std::string> fired;
    loop.asyncAfter(0.2, [&] { fired.push_back("b"); });
    loop.asyncAfter(0.1, [&] { fired.push_back("a"); });
    loop.asyncAfter(0.2, [&] { fired.push_back("c"); });
    loop.async([&] { fired.push_back("now"); });
    auto cancelled = loop.asyncAfter(0.15, [&] { fired.push_back("cancelled"); });
    cancelled.cancel();
    mac.runFor(0.15);
    EXPECT_EQ(fired, (std::vector<std::string>{"now", "a"}));
    EXPECT_DOUBLE_EQ(mac.now(), 0.15);
    mac.runFor(1);
    EXPECT_EQ(fired, (std::vector<std::string>{"now", "a", "b", "c"}));
}

TEST(RunLoopContract, TimersRespectModesAndSkipMissedFirings) {
    SimMac mac;
    RunLoop& loop = *current().runLoop;
    int defaultFirings = 0, commonFirings = 0, trackingFirings = 0;
    auto defaultTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Default, [&] { ++defaultFirings; });
    auto commonTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Common, [&] { ++commonFirings; });
    auto trackingTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::EventTracking, [&] { ++trackingFirings; });

    mac.beginMenuTracking(); // a menu tracks for 3.5 s
    mac.runFor(3.5);
    EXPECT_EQ(defaultFirings, 0);
    EXPECT_EQ(commonFirings, 3);
    EXPECT_EQ(trackingFirings, 3);

    mac.endMenuTracking();
    mac.runUntilIdle();
    EXPECT_EQ(defaultFirings, 1) << "the missed firings coalesce into one";
    mac.runFor(0.6);
    EXPECT_EQ(defaultFirings, 2) << "then the timer keeps its rhythm (4.0)";
    EXPECT_EQ(trackingFirings, 3);

    defaultTimer = {}; // dropping the handle invalidates
    mac.runFor(5);
    EXPECT_EQ(defaultFirings, 2);
    EXPECT_EQ(commonFirings, 9);
}

TEST(RunLoopContract, TimersEndWhenInvalidatedInTheirCallbackOrOnceFiredIfOneShot) {
    SimMac mac;
    int firings = 0;
    platform::Timer timer;
    timer = current().runLoop->scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Common, [&] {
        if (++firings == 2) timer.invalidate();
    });
    mac.runFor(10);
    EXPECT_EQ(firings, 2);
    EXPECT_FALSE(timer.isValid());

    // A one-shot timer is spent once it fires, and already so while its callback runs.
    bool validInCallback = true;
    timer = current().runLoop->scheduleTimer(1.0, TimerKind::OneShot, RunLoopMode::Common,
                                             [&] { validInCallback = timer.isValid(); });
    EXPECT_TRUE(timer.isValid());
    mac.runFor(5);
    EXPECT_FALSE(validInCallback);
    EXPECT_FALSE(timer.isValid());
}

TEST(RunLoopContract, TimePassingInsideATaskDelaysLaterWork) {
    SimMac mac;
    RunLoop& loop = *current().runLoop;
    double ranAt = -1;
    loop.asyncAfter(0.1, [&] { mac.runLoop().advanceClock(0.5); }); // a blocking request
    loop.asyncAfter(0.2, [&] { ranAt = loop.now(); });
    mac.runFor(1);
    EXPECT_DOUBLE_EQ(ranAt, 0.6);
    EXPECT_DOUBLE_EQ(mac.now(), 1.0);
}

} // namespace
} // namespace marlowick::platform
