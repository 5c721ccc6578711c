#include "sim/titled_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

using platform::Rect;
using platform::ViewNode;

constexpr auto kTitledClosable = platform::kWindowStyleTitled | platform::kWindowStyleClosable;

ViewNode button(std::string title, std::function<void()> action, bool isDefault) {
    platform::ButtonView view;
    view.title = std::move(title);
    view.action = std::move(action);
    view.isDefault = isDefault;
    return ViewNode::make(std::move(view));
}

TEST(SimTitledWindowsTest, AutosavedFrameIsRestoredInTheNextRun) {
    SimMac first;
    {
        auto window =
            first.titledWindows().makeWindow(Rect(0, 0, 552, 544), kTitledClosable, platform::Defer::No);
        window->center();
        EXPECT_DOUBLE_EQ(window->frame().midX(), SimScreens::kWidth / 2);
        EXPECT_DOUBLE_EQ(window->frame().height(), 544 + SimTitledWindows::kTitleBarHeight);
        window->setFrameAutosaveName("Settings");
        window->setFrame(Rect(100, 120, 552, 572));
        first.runFor(1);
        // The second run shares the first one's home folder.
        SimMac second(SimMac::Options{.home = first.home()});
        auto again =
            second.titledWindows().makeWindow(Rect(0, 0, 552, 544), kTitledClosable, platform::Defer::No);
        again->center();
        again->setFrameAutosaveName("Settings");
        EXPECT_EQ(again->frame(), Rect(100, 120, 552, 572));
        // A corrupt saved frame is ignored.
        second.defaults().set("NSWindow Frame Other", std::string("12 x"));
        auto other =
            second.titledWindows().makeWindow(Rect(5, 6, 70, 80), kTitledClosable, platform::Defer::No);
        other->setFrameAutosaveName("Other");
        EXPECT_EQ(other->frame(), Rect(5, 6, 70, 108));
    }
}

TEST(SimTitledWindowsTest, CloseNotifiesOnceAndOnlyClosableWindowsCloseByTheButton) {
    SimMac mac;
    auto plain = mac.titledWindows().makeWindow(Rect(0, 0, 100, 100), platform::kWindowStyleTitled,
                                                platform::Defer::No);
    auto closable =
        mac.titledWindows().makeWindow(Rect(0, 0, 100, 100), kTitledClosable, platform::Defer::No);
    int closes = 0;
    auto watch = closable->observeWillClose([&] { ++closes; });
    plain->makeKeyAndOrderFront();
    closable->makeKeyAndOrderFront();
    EXPECT_EQ(mac.titledWindows().keyWindow(), closable);
    plain->performClose();
    EXPECT_TRUE(plain->isVisible());
    closable->performClose();
    closable->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(closable->isVisible());
    EXPECT_EQ(mac.titledWindows().keyWindow(), nullptr);
    watch.cancel();
    closable->makeKeyAndOrderFront();
    closable->close();
    EXPECT_EQ(closes, 1);
}

TEST(SimTitledWindowsTest, ReturnPressesTheKeyWindowsDefaultButtonOnly) {
    SimMac mac;
    auto window = mac.titledWindows().makeWindow(Rect(0, 0, 0, 0), kTitledClosable, platform::Defer::Yes);
    std::vector<std::string> pressed;
    platform::StackView stack;
    stack.children.push_back(button(
        "Cancel", [&] { pressed.push_back("Cancel"); }, false));
    stack.children.push_back(button(
        "OK", [&] { pressed.push_back("OK"); }, true));
    window->setContent(ViewNode::makeStack(stack));
    EXPECT_GT(window->frame().width(), 0);

    mac.application().activateIgnoringOtherApps();
    mac.keyboard().type({36, 0});
    mac.runUntilIdle();
    EXPECT_TRUE(pressed.empty()); // not key yet
    window->makeKeyAndOrderFront();
    mac.keyboard().type({36, 0});
    mac.keyboard().type({76, platform::kFlagNumericPad});
    mac.runUntilIdle();
    EXPECT_EQ(pressed, (std::vector<std::string>{"OK", "OK"}));
}

} // namespace
} // namespace marlowick::sim
