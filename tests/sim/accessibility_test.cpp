// The simulated accessibility service where the simulated Mac arranges the world: elements of a
// replaced Notification Center, a hung process costing its time-out on every request, the
// permission, failures injected per notification, and the accounting of requests. What the real
// service promises as well is in tests/platform/accessibility_contract_test.cpp.
#include "platform/accessibility.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

using sim::AXNode;
using sim::SimMac;

Accessibility& service() {
    return *current().accessibility;
}

// A process of its own: an application holding one button with a description and an empty value.
struct Process {
    std::int32_t pid;
    std::shared_ptr<AXNode> root = AXNode::make("AXApplication");
    std::shared_ptr<AXNode> button = AXNode::make("AXButton");
    int presses = 0;

    explicit Process(SimMac& mac) : pid(mac.workspace().launchApplication("com.example.app")) {
        button->set("AXDescription", std::string("OK")).set("AXValue", std::monostate{});
        button->addAction("AXPress", [this] {
            ++presses;
            return kAXErrorSuccess;
        });
        root->addChild(button);
        mac.accessibility().registerProcess(pid, root);
    }
    Element app() { return service().application(pid); }
    Element buttonElement() {
        AXValue children;
        service().copyAttributeValue(app(), "AXChildren", children);
        return std::get<std::vector<Element>>(children).at(0);
    }
};

// One request of every kind on the element, with the codes they gave.
std::array<AXError, 4> everyRequest(const Element& element) {
    AXValue value;
    std::vector<AXAttributeResult> slots;
    std::vector<std::string> actions;
    std::array<std::string_view, 1> names{"AXRole"};
    return {service().copyAttributeValue(element, "AXRole", value),
            service().copyMultipleAttributeValues(element, names, slots),
            service().copyActionNames(element, actions), service().performAction(element, "AXPress")};
}

constexpr std::array<AXError, 4> all(AXError code) {
    return {code, code, code, code};
}

TEST(SimAccessibility, RemovedElementsAndThoseOfAReplacedProcessAreStale) {
    SimMac mac;
    Process process(mac);
    Element button = process.buttonElement();
    EXPECT_EQ(everyRequest(button), all(kAXErrorSuccess));
    process.root->removeChild(process.button);
    process.button->destroy();
    EXPECT_EQ(everyRequest(button), all(kAXErrorInvalidUIElement));
    EXPECT_EQ(process.presses, 1) << "a stale element's action must not run";

    auto& nc = mac.notificationCenter();
    auto oldPid = nc.pid();
    Element oldApp = service().application(oldPid);
    nc.restart();
    EXPECT_EQ(everyRequest(oldApp)[0], kAXErrorInvalidUIElement);
    EXPECT_EQ(everyRequest(service().application(oldPid))[0], kAXErrorInvalidUIElement);
    EXPECT_EQ(everyRequest(service().application(nc.pid()))[0], kAXErrorSuccess);
}

TEST(SimAccessibility, AHungProcessFailsEveryRequestAfterTheTimeoutAndCostsItsTimeEachTime) {
    SimMac mac;
    auto& nc = mac.notificationCenter();
    Element app = service().application(nc.pid());
    ASSERT_EQ(service().setMessagingTimeout(service().systemWide(), 0.5), kAXErrorSuccess);
    nc.hang();
    double before = mac.now();
    EXPECT_EQ(everyRequest(app), all(kAXErrorCannotComplete));
    EXPECT_DOUBLE_EQ(mac.now() - before, 4 * 0.5);

    nc.answer();
    before = mac.now();
    EXPECT_EQ(everyRequest(app)[0], kAXErrorSuccess);
    EXPECT_EQ(mac.now(), before);
}

TEST(SimAccessibility, NothingIsReadOrObservedWithoutThePermission) {
    SimMac mac({.trusted = false});
    auto pid = mac.notificationCenter().pid();
    EXPECT_FALSE(service().isProcessTrusted());
    for (AXError code : everyRequest(service().application(pid)))
        EXPECT_NE(code, kAXErrorSuccess);
    std::unique_ptr<AXObserver> observer;
    EXPECT_NE(service().createObserver(
                  pid, [](const Element&, std::string_view) {}, observer),
              kAXErrorSuccess);

    mac.accessibility().setTrusted(true);
    EXPECT_TRUE(service().isProcessTrusted());
    EXPECT_EQ(everyRequest(service().application(pid))[0], kAXErrorSuccess);
}

// Whether a real Mac queues what happens before an observer's source is added is not known; the
// simulated one delivers nothing of it.
TEST(SimAccessibility, ObserversHearNothingBeforeTheirSourceIsAddedAndInjectedFailuresRefuseOneName) {
    SimMac mac;
    auto& nc = mac.notificationCenter();
    Element app = service().application(nc.pid());
    mac.accessibility().failNotification("AXWindowCreated", kAXErrorCannotComplete);
    int received = 0;
    std::unique_ptr<AXObserver> observer;
    ASSERT_EQ(service().createObserver(
                  nc.pid(), [&](const Element&, std::string_view) { ++received; }, observer),
              kAXErrorSuccess);
    EXPECT_EQ(observer->addNotification(app, "AXWindowCreated"), kAXErrorCannotComplete);
    ASSERT_EQ(observer->addNotification(app, "AXLayoutChanged"), kAXErrorSuccess);
    nc.post({.app = "Mail", .title = "Changed"});
    observer->addRunLoopSource();
    mac.runUntilIdle();
    EXPECT_EQ(received, 0);
    nc.post({.app = "Mail", .title = "Changed again"});
    mac.runUntilIdle();
    EXPECT_EQ(received, 1);
}

TEST(SimAccessibility, ABatchedReadIsOneCountedRequestPricedByTheLatency) {
    SimMac mac;
    Process process(mac);
    Element button = process.buttonElement();
    std::array<std::string_view, 4> names{"AXRole", "AXNoSuchAttribute", "AXValue", "AXDescription"};
    std::vector<AXAttributeResult> slots;
    mac.accessibility().resetRequestCount();
    mac.accessibility().setRequestLatency(0.0001);
    double before = mac.now();
    ASSERT_EQ(service().copyMultipleAttributeValues(button, names, slots), kAXErrorSuccess);
    EXPECT_EQ(mac.accessibility().requestCount(), 1u);
    EXPECT_NEAR(mac.now() - before, 0.0001, 1e-12) << "the latency prices each request";
    ASSERT_EQ(slots.size(), 4u);
    EXPECT_EQ(slots[2].error, kAXErrorNoValue) << "an empty value has a code of its own";

    everyRequest(button);
    EXPECT_EQ(mac.accessibility().requestCount(), 5u);
    process.button->destroy();
    EXPECT_EQ(service().copyMultipleAttributeValues(button, names, slots), kAXErrorInvalidUIElement);
    EXPECT_TRUE(slots.empty());
}

} // namespace
} // namespace marlowick::platform
