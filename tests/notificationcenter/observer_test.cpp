#include "notificationcenter/observer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/sim_mac.h"

namespace marlowick {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

struct ObserverWorld {
    explicit ObserverWorld(bool notificationCenterRunning = true)
        : mac({.notificationCenterRunning = notificationCenterRunning}) {}

    sim::SimMac mac;
    int changes = 0;
    int restarts = 0;

    sim::SimNotificationCenter& center() { return mac.notificationCenter(); }
    std::shared_ptr<NotificationCenterObserver> makeObserver() {
        auto observer = NotificationCenterObserver::create();
        observer->onChange = [this] { ++changes; };
        observer->onRestart = [this] { ++restarts; };
        return observer;
    }
    long linesWith(const std::string& text) const {
        auto lines = mac.logLines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
};

TEST(NotificationCenterObserver, FollowsARestartWithOneCallbackAndANewSubscription) {
    ObserverWorld world;
    auto first = world.center().pid();
    auto observer = world.makeObserver();
    EXPECT_EQ(observer->runningPID(), first);

    ASSERT_TRUE(observer->observe());
    ASSERT_TRUE(observer->observe());
    EXPECT_EQ(world.linesWith("Observing Notification Center"), 1) << "one subscription per process";
    EXPECT_EQ(world.linesWith("Observing Notification Center (pid " + std::to_string(first) + ")"), 1);
    world.center().post({.app = "Mail", .title = "Lunch"});
    world.mac.runUntilIdle();
    EXPECT_GT(world.changes, 0);

    world.center().restart();
    world.mac.runUntilIdle();
    auto second = world.center().pid();
    ASSERT_NE(second, first);
    EXPECT_EQ(world.restarts, 1);
    EXPECT_EQ(observer->runningPID(), second);
    EXPECT_EQ(observer->observedPID(), std::nullopt);

    ASSERT_TRUE(observer->observe());
    EXPECT_EQ(world.linesWith("Observing Notification Center (pid " + std::to_string(second) + ")"), 1);
    int changesBefore = world.changes;
    world.center().post({.app = "Calendar", .title = "Stand-up"});
    world.mac.runUntilIdle();
    EXPECT_GT(world.changes, changesBefore);
    EXPECT_EQ(world.restarts, 1);
}

TEST(NotificationCenterObserver, ALaunchCountsAsARestartAndAQuitOnlyEndsTheSubscription) {
    ObserverWorld world(false);
    auto observer = world.makeObserver();
    EXPECT_EQ(observer->runningPID(), std::nullopt);
    EXPECT_FALSE(observer->observe());

    world.center().launch();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.restarts, 1);
    ASSERT_TRUE(observer->observe());

    world.center().quit();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.restarts, 1);
    EXPECT_EQ(observer->runningPID(), std::nullopt);
    EXPECT_EQ(observer->observedPID(), std::nullopt);
    EXPECT_FALSE(observer->observe());
}

TEST(NotificationCenterObserver, LogsARefusedNotificationAndSubscribesAtTheNextAttempt) {
    ObserverWorld world;
    auto observer = world.makeObserver();
    world.mac.accessibility().failNotification("AXFocusedWindowChanged",
                                               platform::kAXErrorNotificationUnsupported);

    EXPECT_FALSE(observer->observe());
    EXPECT_THAT(world.mac.logLines(), Contains("Could not observe AXFocusedWindowChanged (-25207)"));
    EXPECT_EQ(world.linesWith("Could not observe"), 1) << "the attempt stops at the first refusal";
    EXPECT_EQ(observer->observedPID(), std::nullopt);
    world.center().post({.app = "Mail", .title = "Lunch"});
    world.mac.runUntilIdle();
    EXPECT_EQ(world.changes, 0) << "the partly set-up subscription is dropped";

    world.mac.accessibility().failNotification("AXFocusedWindowChanged", platform::kAXErrorSuccess);
    EXPECT_TRUE(observer->observe());
    EXPECT_EQ(observer->observedPID(), world.center().pid());
    EXPECT_THAT(world.mac.logLines(), Not(Contains(HasSubstr("Could not observe AXLayoutChanged"))));

    // Each of the four notifications is asked for: refusing any one of them fails the attempt.
    const char* names[] = {"AXLayoutChanged", "AXUIElementDestroyed", "AXFocusedWindowChanged",
                           "AXWindowCreated"};
    for (const char* name : names) {
        ObserverWorld other;
        auto refused = other.makeObserver();
        other.mac.accessibility().failNotification(name, platform::kAXErrorCannotComplete);
        EXPECT_FALSE(refused->observe()) << name;
        EXPECT_THAT(other.mac.logLines(),
                    ElementsAre(std::string("Could not observe ") + name + " (-25204)"));
    }
}

TEST(NotificationCenterObserver, CallbacksEndWithTheObserver) {
    ObserverWorld world;
    auto observer = world.makeObserver();
    ASSERT_TRUE(observer->observe());
    world.center().post({.app = "Mail", .title = "Lunch"}); // deliveries queued before the observer goes
    observer.reset();
    world.center().restart();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.changes, 0);
    EXPECT_EQ(world.restarts, 0);
}

} // namespace
} // namespace marlowick
