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
    SimNotificationBus bus;
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
    SimNotificationBus bus;
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
    {
        SimNotificationBus bus;
        survivor = bus.observe("n", [](const UserInfo&) {});
    }
    survivor.cancel();
    EXPECT_FALSE(survivor.isActive());
}

} // namespace
} // namespace marlowick::sim
