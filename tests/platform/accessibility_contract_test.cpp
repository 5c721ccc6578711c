// What the accessibility service promises its callers: stale elements, time-outs of a process that
// does not answer, the permission, observers, batched reads, request accounting and element
// identity. Runs against the simulated Mac, which arranges the processes.
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

TEST(AccessibilityContract, RemovedElementsAndThoseOfAReplacedProcessAreStale) {
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

TEST(AccessibilityContract, AHungProcessFailsEveryRequestAfterTheTimeoutAndCostsItsTimeEachTime) {
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

TEST(AccessibilityContract, NothingIsReadOrObservedWithoutThePermission) {
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

TEST(AccessibilityContract, ObserversDeliverThroughTheRunLoopOnlyWhileTheirSourceIsAdded) {
    SimMac mac;
    auto& nc = mac.notificationCenter();
    Element app = service().application(nc.pid());
    int received = 0;
    std::unique_ptr<AXObserver> observer;
    ASSERT_EQ(service().createObserver(
                  nc.pid(), [&](const Element&, std::string_view) { ++received; }, observer),
              kAXErrorSuccess);
    ASSERT_EQ(observer->addNotification(app, "AXLayoutChanged"), kAXErrorSuccess);
    EXPECT_EQ(observer->addNotification(app, "AXLayoutChanged"), kAXErrorNotificationAlreadyRegistered);
    auto change = [&] {
        nc.post({.app = "Mail", .title = "Changed"});
        EXPECT_EQ(received, 0) << "never delivered inside the change";
    };

    change();
    mac.runUntilIdle();
    EXPECT_EQ(received, 0) << "no source on the run loop yet";
    observer->addRunLoopSource();
    change();
    mac.runUntilIdle();
    EXPECT_EQ(received, 1);
    received = 0;
    change();
    observer->removeRunLoopSource(); // before the loop runs
    mac.runUntilIdle();
    EXPECT_EQ(received, 0);
    observer->addRunLoopSource();
    change();
    observer.reset();
    mac.runUntilIdle();
    EXPECT_EQ(received, 0) << "a dropped observer delivers nothing";

    mac.accessibility().failNotification("AXWindowCreated", kAXErrorCannotComplete);
    ASSERT_EQ(service().createObserver(
                  nc.pid(), [](const Element&, std::string_view) {}, observer),
              kAXErrorSuccess);
    EXPECT_EQ(observer->addNotification(app, "AXWindowCreated"), kAXErrorCannotComplete);
}

TEST(AccessibilityContract, ABatchedReadIsOneCountedRequestWithAResultPerSlot) {
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
    EXPECT_EQ(slots[0].value, AXValue(std::string("AXButton")));
    EXPECT_EQ(slots[1].error, kAXErrorAttributeUnsupported);
    EXPECT_EQ(slots[2].error, kAXErrorNoValue);
    EXPECT_EQ(slots[3].value, AXValue(std::string("OK")));

    everyRequest(button);
    EXPECT_EQ(mac.accessibility().requestCount(), 5u);
    process.button->destroy();
    EXPECT_EQ(service().copyMultipleAttributeValues(button, names, slots), kAXErrorInvalidUIElement);
    EXPECT_TRUE(slots.empty());
}

TEST(AccessibilityContract, HandlesOfOneElementAreEqualEvenOnceStaleAndOthersAreNot) {
    SimMac mac;
    Process process(mac);
    Element button = process.buttonElement();
    EXPECT_TRUE(button == process.buttonElement());
    EXPECT_FALSE(button == process.app());
    AXValue parent;
    ASSERT_EQ(service().copyAttributeValue(button, "AXParent", parent), kAXErrorSuccess);
    EXPECT_TRUE(std::get<Element>(parent) == process.app());
    EXPECT_FALSE(service().application(mac.notificationCenter().pid()) == process.app());
    process.button->destroy();
    EXPECT_TRUE(button == process.buttonElement());
}

} // namespace
} // namespace marlowick::platform
