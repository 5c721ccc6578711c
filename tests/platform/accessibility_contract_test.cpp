// What the accessibility service promises when it reads another application: roles, geometry as
// values, children, a batched read with a result per attribute, element identity, the stale
// elements of a closed window, a dead process told from a stopped one by how long a request takes,
// and observers, one of them dropped inside its own callback. Runs against the helper application
// of platform_under_test.h: modelled on the simulated Mac, a process of its own on a Mac.
#include "platform/accessibility.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform_under_test.h"

namespace marlowick::platform {
namespace {

using testing::HelperApplication;
using testing::PlatformUnderTest;

// Short enough to keep the tests quick, long enough to tell a time-out from an answer.
constexpr double kTimeOut = 1.0;
// A request to a process that is gone fails within this; one to a stopped process takes the time-out.
constexpr double kAtOnce = 0.25;

class AccessibilityContract : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto reason = platform_->accessibilityUnavailable()) {
            GTEST_SKIP() << *reason;
        }
        std::string whyNot;
        helper_ = platform_->launchHelper(whyNot);
        if (!helper_) {
            GTEST_SKIP() << "the helper application did not start: " << whyNot;
        }
        ASSERT_EQ(ax().setMessagingTimeout(ax().systemWide(), kTimeOut), kAXErrorSuccess);
        app_ = ax().application(helper_->pid());
        for (const Element& child : children(app_)) {
            if (text(child, "AXRole") == "AXWindow" && text(child, "AXTitle") == testing::kHelperTitle)
                window_ = child;
        }
        ASSERT_TRUE(window_) << "the helper shows its window";
    }

    static Accessibility& ax() { return *current().accessibility; }
    static std::optional<AXValue> read(const Element& element, std::string_view name) {
        AXValue value;
        if (ax().copyAttributeValue(element, name, value) != kAXErrorSuccess) return std::nullopt;
        return value;
    }
    static std::string text(const Element& element, std::string_view name) {
        auto value = read(element, name);
        return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : "";
    }
    static std::vector<Element> children(const Element& element) {
        auto value = read(element, "AXChildren");
        return value && std::holds_alternative<std::vector<Element>>(*value)
                   ? std::get<std::vector<Element>>(*value)
                   : std::vector<Element>{};
    }
    Element button(std::string_view title) const {
        for (const Element& child : children(window_)) {
            if (text(child, "AXRole") == "AXButton" && text(child, "AXTitle") == title) return child;
        }
        return {};
    }
    double now() const { return current().runLoop->now(); }

    std::unique_ptr<PlatformUnderTest> platform_ = PlatformUnderTest::make();
    std::unique_ptr<HelperApplication> helper_;
    Element app_;
    Element window_;
};

bool inside(Point point, Point origin, Size size) {
    return point.x >= origin.x && point.x <= origin.x + size.width && point.y >= origin.y &&
           point.y <= origin.y + size.height;
}

TEST_F(AccessibilityContract, ReadsRolesGeometryAsValuesChildrenAndTellsElementsApart) {
    EXPECT_EQ(text(app_, "AXRole"), "AXApplication");
    auto position = read(window_, "AXPosition");
    auto size = read(window_, "AXSize");
    ASSERT_TRUE(position && std::holds_alternative<Point>(*position));
    ASSERT_TRUE(size && std::holds_alternative<Size>(*size));
    EXPECT_GT(std::get<Size>(*size).width, 0);
    EXPECT_GT(std::get<Size>(*size).height, 0);

    Element rename = button(testing::kRenameButton);
    ASSERT_TRUE(rename);
    EXPECT_TRUE(button(testing::kCloseButton));
    auto buttonPosition = read(rename, "AXPosition");
    ASSERT_TRUE(buttonPosition && std::holds_alternative<Point>(*buttonPosition));
    EXPECT_TRUE(inside(std::get<Point>(*buttonPosition), std::get<Point>(*position), std::get<Size>(*size)))
        << "a button lies inside its window, in the same screen coordinates";

    auto parent = read(rename, "AXParent");
    ASSERT_TRUE(parent && std::holds_alternative<Element>(*parent));
    EXPECT_TRUE(std::get<Element>(*parent) == window_);
    EXPECT_TRUE(rename == button(testing::kRenameButton)) << "two reads, one element";
    EXPECT_FALSE(rename == button(testing::kCloseButton));
    EXPECT_FALSE(rename == window_);
    EXPECT_TRUE(ax().application(helper_->pid()) == app_);
}

TEST_F(AccessibilityContract, ABatchedReadGivesEachAttributeItsOwnResult) {
    Element rename = button(testing::kRenameButton);
    std::array<std::string_view, 3> names{"AXRole", "AXNoSuchAttribute", "AXTitle"};
    std::vector<AXAttributeResult> slots;
    ASSERT_EQ(ax().copyMultipleAttributeValues(rename, names, slots), kAXErrorSuccess);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].value, AXValue(std::string("AXButton")));
    EXPECT_EQ(slots[1].error, kAXErrorAttributeUnsupported);
    EXPECT_EQ(slots[2].value, AXValue(std::string(testing::kRenameButton)));
}

TEST_F(AccessibilityContract, TheElementsOfAClosedWindowAreStaleAndStillEqual) {
    Element close = button(testing::kCloseButton);
    Element rename = button(testing::kRenameButton);
    Element again = button(testing::kRenameButton);
    ASSERT_EQ(ax().performAction(close, "AXPress"), kAXErrorSuccess);
    platform_->runFor(0.5);
    AXValue value;
    std::vector<AXAttributeResult> slots;
    std::vector<std::string> actions;
    std::array<std::string_view, 1> role{"AXRole"};
    EXPECT_EQ(ax().copyAttributeValue(window_, "AXTitle", value), kAXErrorInvalidUIElement);
    EXPECT_EQ(ax().copyMultipleAttributeValues(rename, role, slots), kAXErrorInvalidUIElement);
    EXPECT_EQ(ax().copyActionNames(rename, actions), kAXErrorInvalidUIElement);
    EXPECT_EQ(ax().performAction(rename, "AXPress"), kAXErrorInvalidUIElement);
    EXPECT_TRUE(rename == again) << "handles of one element stay equal once it has gone";
    EXPECT_FALSE(rename == close);
    EXPECT_EQ(text(app_, "AXRole"), "AXApplication") << "the application still answers";
}

TEST_F(AccessibilityContract, AStoppedProcessFailsAfterTheTimeOutAndADeadOneAtOnce) {
    helper_->stop();
    double start = now();
    AXValue value;
    EXPECT_EQ(ax().copyAttributeValue(app_, "AXRole", value), kAXErrorCannotComplete);
    EXPECT_GE(now() - start, kTimeOut - platform_->clockTolerance());
    helper_->resume();
    EXPECT_EQ(text(app_, "AXRole"), "AXApplication");

    helper_->kill();
    start = now();
    EXPECT_EQ(ax().copyAttributeValue(ax().application(helper_->pid()), "AXRole", value),
              kAXErrorCannotComplete)
        << "a fresh element of a dead process";
    AXError old = ax().copyAttributeValue(window_, "AXTitle", value);
    EXPECT_TRUE(old == kAXErrorInvalidUIElement || old == kAXErrorCannotComplete) << old;
    EXPECT_LT(now() - start, 2 * kAtOnce) << "nobody is there to wait for";
    RecordProperty("deadProcessOldElementCode", old);
}

TEST_F(AccessibilityContract, ObserversDeliverThroughTheRunLoopAndMayBeDroppedInTheirCallback) {
    std::vector<Element> heard;
    std::unique_ptr<AXObserver> observer;
    ASSERT_EQ(ax().createObserver(
                  helper_->pid(), [&](const Element& element, std::string_view) { heard.push_back(element); },
                  observer),
              kAXErrorSuccess);
    ASSERT_EQ(observer->addNotification(window_, "AXTitleChanged"), kAXErrorSuccess);
    EXPECT_EQ(observer->addNotification(window_, "AXTitleChanged"), kAXErrorNotificationAlreadyRegistered);
    int dropperCalls = 0;
    std::unique_ptr<AXObserver> dropper;
    ASSERT_EQ(ax().createObserver(
                  helper_->pid(),
                  [&](const Element&, std::string_view) {
                      ++dropperCalls;
                      dropper.reset();
                  },
                  dropper),
              kAXErrorSuccess);
    ASSERT_EQ(dropper->addNotification(window_, "AXTitleChanged"), kAXErrorSuccess);
    Element rename = button(testing::kRenameButton);

    observer->addRunLoopSource();
    dropper->addRunLoopSource();
    ASSERT_EQ(ax().performAction(rename, "AXPress"), kAXErrorSuccess);
    EXPECT_TRUE(heard.empty()) << "never delivered inside the change";
    platform_->runFor(0.5);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0] == window_);
    EXPECT_EQ(dropperCalls, 1);
    EXPECT_EQ(dropper, nullptr);

    ASSERT_EQ(ax().performAction(rename, "AXPress"), kAXErrorSuccess);
    platform_->runFor(0.5);
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_EQ(dropperCalls, 1) << "dropped, it hears nothing more";
    observer->removeRunLoopSource();
    ASSERT_EQ(ax().performAction(rename, "AXPress"), kAXErrorSuccess);
    platform_->runFor(0.5);
    EXPECT_EQ(heard.size(), 2u);
}

} // namespace
} // namespace marlowick::platform
