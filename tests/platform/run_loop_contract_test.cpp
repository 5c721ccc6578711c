// What the main run loop promises: order of delayed work, timers in their modes, and timers that
// end. Written against the platform under test, so it runs on the simulated Mac and on a Mac.
#include "platform/run_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform_under_test.h"

namespace marlowick::platform {
namespace {

using testing::PlatformUnderTest;

TEST(RunLoopContract, FiresInDueOrderWithTiesInSchedulingOrder) {
    auto platform = PlatformUnderTest::make();
    RunLoop& loop = *current().runLoop;
    std::vector<std::string> fired;
    double start = loop.now();
    double firstAt = -1;
    loop.asyncAfter(0.2, [&] { fired.push_back("b"); });
    loop.asyncAfter(0.1, [&] {
        fired.push_back("a");
        firstAt = loop.now();
    });
    loop.asyncAfter(0.2, [&] { fired.push_back("c"); });
    loop.async([&] { fired.push_back("now"); });
    auto cancelled = loop.asyncAfter(0.15, [&] { fired.push_back("cancelled"); });
    cancelled.cancel();
    platform->runFor(0.15);
    EXPECT_EQ(fired, (std::vector<std::string>{"now", "a"}));
    EXPECT_GE(firstAt - start, 0.1 - 1e-9) << "never early";
    EXPECT_NEAR(firstAt - start, 0.1, platform->clockTolerance());
    platform->runFor(1);
    EXPECT_EQ(fired, (std::vector<std::string>{"now", "a", "b", "c"}));
}

TEST(RunLoopContract, TimersRespectModesAndSkipMissedFirings) {
    auto platform = PlatformUnderTest::make();
    RunLoop& loop = *current().runLoop;
    int defaultFirings = 0, commonFirings = 0, trackingFirings = 0;
    auto defaultTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Default, [&] { ++defaultFirings; });
    auto commonTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Common, [&] { ++commonFirings; });
    auto trackingTimer =
        loop.scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::EventTracking, [&] { ++trackingFirings; });

    platform->runFor(3.5, RunLoopMode::EventTracking); // a menu tracks for 3.5 s
    EXPECT_EQ(defaultFirings, 0);
    EXPECT_EQ(commonFirings, 3);
    EXPECT_EQ(trackingFirings, 3);

    platform->runFor(0.1);
    EXPECT_EQ(defaultFirings, 1) << "the missed firings coalesce into one";
    platform->runFor(0.6);
    EXPECT_EQ(defaultFirings, 2) << "then the timer keeps its rhythm (4.0)";
    EXPECT_EQ(trackingFirings, 3);

    defaultTimer = {}; // dropping the handle invalidates
    platform->runFor(5);
    EXPECT_EQ(defaultFirings, 2);
    EXPECT_EQ(commonFirings, 9);
}

TEST(RunLoopContract, TimersEndWhenInvalidatedInTheirCallbackOrOnceFiredIfOneShot) {
    auto platform = PlatformUnderTest::make();
    int firings = 0;
    platform::Timer timer;
    // The closure goes on using what it captured after dropping its own timer.
    auto count = std::make_shared<int>(0);
    timer = current().runLoop->scheduleTimer(1.0, TimerKind::Repeating, RunLoopMode::Common, [&, count] {
        if (++*count == 2) timer.invalidate();
        firings = *count;
    });
    count.reset();
    platform->runFor(4);
    EXPECT_EQ(firings, 2);
    EXPECT_FALSE(timer.isValid());

    // A one-shot timer is spent once it fires, and already so while its callback runs.
    bool validInCallback = true;
    timer = current().runLoop->scheduleTimer(0.5, TimerKind::OneShot, RunLoopMode::Common,
                                             [&] { validInCallback = timer.isValid(); });
    EXPECT_TRUE(timer.isValid());
    platform->runFor(1);
    EXPECT_FALSE(validInCallback);
    EXPECT_FALSE(timer.isValid());
}

// What a closure captures (an object kept alive, a weak owner) goes with the task or the timer
// that is called off, not at its due time, which may be far off or never come.
TEST(RunLoopContract, CancelledTasksAndDroppedTimersLetGoOfTheirClosuresAtOnce) {
    auto platform = PlatformUnderTest::make();
    RunLoop& loop = *current().runLoop;
    auto captured = std::make_shared<int>(0);
    const auto holders = [&] { return captured.use_count() - 1; };
    auto task = loop.asyncAfter(600, [captured] {});
    auto repeating = loop.scheduleTimer(600, TimerKind::Repeating, RunLoopMode::Common, [captured] {});
    auto oneShot = loop.scheduleTimer(600, TimerKind::OneShot, RunLoopMode::Default, [captured] {});
    ASSERT_EQ(holders(), 3);

    task.cancel();
    EXPECT_EQ(holders(), 2) << "a cancelled task";
    repeating.invalidate();
    EXPECT_EQ(holders(), 1) << "an invalidated timer";
    oneShot = {};
    EXPECT_EQ(holders(), 0) << "a dropped timer";

    // A task that cancels itself while it runs still runs to its end.
    Cancellable self;
    int ran = 0;
    auto count = std::make_shared<int>(0);
    self = loop.asyncAfter(0.1, [&, count] {
        self.cancel();
        ran = ++*count;
    });
    count.reset();
    platform->runFor(0.5);
    EXPECT_EQ(ran, 1);
}

} // namespace
} // namespace marlowick::platform
