#include "sim/notification_bus.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace marlowick::sim {
namespace {

using platform::Subscription;
using platform::UserInfo;

TEST(SimNotificationBus, DeliversByNameInOrderUntilTheHandleIsDropped) {
    SimRunLoop loop(0);
    SimNotificationBus bus(loop);
    std::vector<std::string> calls;
    auto first = bus.observe("a", [&](const UserInfo& info) {
        calls.push_back("first " + std::get<std::string>(info.at("name")));
    });
    auto other = bus.observe("b", [&](const UserInfo&) { calls.push_back("other"); });
    auto second = bus.observe("a", [&](const UserInfo&) { calls.push_back("second"); });

    bus.post("a", {{"name", std::string("toggleSwitch")}});
    EXPECT_EQ(calls, (std::vector<std::string>{"first toggleSwitch", "second"}));

    calls.clear();
    first = {};
    bus.post("a");
    bus.post("unobserved");
    EXPECT_EQ(calls, (std::vector<std::string>{"second"}));
    second.cancel();
    other.cancel();
    EXPECT_EQ(bus.observerCount("a"), 0u);
    EXPECT_EQ(bus.observerCount("b"), 0u);
}

TEST(SimNotificationBus, ChangesDuringAPostTakeEffectAtOnceForRemovalAndNextPostForAddition) {
    SimRunLoop loop(0);
    SimNotificationBus bus(loop);
    std::vector<std::string> calls;
    Subscription victim, self;
    std::optional<Subscription> added;
    auto remover = bus.observe("n", [&](const UserInfo&) {
        calls.push_back("remover");
        victim = {}; // observes after this one: must not be called any more
        if (!added) added = bus.observe("n", [&](const UserInfo&) { calls.push_back("added"); });
    });
    victim = bus.observe("n", [&](const UserInfo&) { calls.push_back("victim"); });
    self = bus.observe("n", [&](const UserInfo&) {
        calls.push_back("self");
        self = {}; // drops its own handle while it runs
    });

    bus.post("n");
    EXPECT_EQ(calls, (std::vector<std::string>{"remover", "self"}));
    calls.clear();
    bus.post("n");
    EXPECT_EQ(calls, (std::vector<std::string>{"remover", "added"}));
}

TEST(SimNotificationBus, HandlesOutlivingTheBusAreHarmless) {
    Subscription survivor;
    SimRunLoop loop(0);
    {
        SimNotificationBus bus(loop);
        survivor = bus.observe("n", [](const UserInfo&) {});
    }
    survivor.cancel();
    EXPECT_FALSE(survivor.isActive());
}

// A framework that writes the defaults from its own queue must not run our observers there.
TEST(SimNotificationBus, APostFromAnotherThreadReachesObserversOnTheMainRunLoop) {
    SimRunLoop loop(0);
    std::vector<bool> onMainThread;
    Subscription observer;
    {
        SimNotificationBus bus(loop);
        observer = bus.observe("n", [&](const UserInfo& info) {
            onMainThread.push_back(loop.isMainThread() && std::get<bool>(info.at("isActive")));
        });
        loop.runOnBackgroundQueue([&] { bus.post("n", {{"isActive", true}}); });
        EXPECT_TRUE(onMainThread.empty()) << "not on the posting thread";
        loop.runUntilIdle();
        EXPECT_EQ(onMainThread, std::vector<bool>{true});

        loop.runOnBackgroundQueue([&] { bus.post("n", {{"isActive", true}}); });
    }
    loop.runUntilIdle(); // the bus went before the main queue's turn
    EXPECT_EQ(onMainThread.size(), 1u);
}

} // namespace
} // namespace marlowick::sim
