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
    EXPECT_EQ(mac.titledWindows().keyWindow(), plain) << "the next visible window becomes key";
    plain->close();
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

ViewNode field(std::string identifier, std::vector<std::string>& log) {
    platform::ShortcutFieldView view;
    view.identifier = identifier;
    view.text = "⌥N";
    view.showsClearButton = true;
    view.onBecomeFirstResponder = [&log, identifier] { log.push_back("become " + identifier); };
    view.onResignFirstResponder = [&log, identifier] { log.push_back("resign " + identifier); };
    view.onClear = [&log, identifier] { log.push_back("clear " + identifier); };
    return ViewNode::make(std::move(view));
}

platform::Point centre(const platform::Window& window, std::size_t index) {
    auto layout = platform::layoutViews(window.content(), *platform::current().fonts);
    auto frame = layout.views.at(index).frame;
    return {frame.midX(), frame.midY()};
}

// What a click does is AppKit's alone here: no controller decides for the window (the controller's
// test sees what its handler is told).
TEST(SimTitledWindowsTest, FirstResponderFollowsClicksAndTabButNotKeyStatusOrClosing) {
    SimMac mac;
    auto window = mac.titledWindows().makeWindow(Rect(0, 0, 0, 0), kTitledClosable, platform::Defer::No);
    auto other = mac.titledWindows().makeWindow(Rect(0, 0, 50, 50), kTitledClosable, platform::Defer::No);
    std::vector<std::string> log;
    platform::StackView stack;
    stack.children.push_back(field("a", log));
    stack.children.push_back(field("b", log));
    platform::SwitchView toggle;
    toggle.onChange = [&](bool on) { log.push_back(on ? "on" : "off"); };
    ViewNode dimmed = ViewNode::make(toggle);
    dimmed.disabled = true;
    platform::StackView row;
    row.children.push_back(std::move(dimmed));
    stack.children.push_back(ViewNode::make(std::move(row)));
    window->setContent(ViewNode::make(stack));
    auto keyStatus = window->observeKeyStatus([&](bool key) { log.push_back(key ? "key" : "not key"); });
    window->makeKeyAndOrderFront();

    EXPECT_TRUE(SimTitledWindows::click(*window, centre(*window, 1)));
    EXPECT_TRUE(SimTitledWindows::click(*window, centre(*window, 2)));
    EXPECT_EQ(window->firstResponder(), "b");
    // A click on a clear button is a click on its field, whose button then clears it.
    auto a = platform::layoutViews(window->content(), mac.fonts()).views[1].frame;
    EXPECT_TRUE(SimTitledWindows::click(*window, {a.maxX() - 4, a.midY()}));
    EXPECT_FALSE(SimTitledWindows::click(*window, centre(*window, 4))) << "a disabled control takes no click";
    EXPECT_EQ(window->firstResponder(), "a");
    other->makeKeyAndOrderFront();
    EXPECT_EQ(window->firstResponder(), "a");
    window->makeKeyAndOrderFront();
    mac.application().activateIgnoringOtherApps();
    mac.keyboard().type({48, 0}); // Tab
    mac.runUntilIdle();
    EXPECT_EQ(window->firstResponder(), "b") << "Tab moves the focus to the next field";
    // Closing leaves the first responder as it was: ending the editing is the window's owner's call.
    window->performClose();
    EXPECT_EQ(window->firstResponder(), "b");
    EXPECT_EQ(log, (std::vector<std::string>{"key", "become a", "resign a", "become b", "resign b",
                                             "become a", "clear a", "not key", "key", "resign a", "become b",
                                             "not key"}));
}

TEST(SimTitledWindowsTest, ASheetTakesTheWindowsClicksUntilAButtonOrItsKeyEndsIt) {
    SimMac mac;
    auto window = mac.titledWindows().makeWindow(Rect(0, 0, 0, 0), kTitledClosable, platform::Defer::No);
    std::vector<std::string> pressed;
    platform::StackView stack;
    stack.children.push_back(button(
        "Restore Defaults", [&] { pressed.push_back("window"); }, true));
    window->setContent(ViewNode::make(stack));
    window->makeKeyAndOrderFront();
    platform::Alert alert{
        "Restore?",
        "Really.",
        {{"Cancel", platform::ButtonRole::Cancel, platform::AlertKey::Escape},
         {"Restore Defaults", platform::ButtonRole::Destructive, platform::AlertKey::Return}}};
    std::vector<std::int64_t> ends;
    platform::WindowEventHandlers handlers;
    handlers.sheetEnded = [&](std::int64_t response) { ends.push_back(response); };
    window->setEventHandlers(handlers);
    auto keyStatus = window->observeKeyStatus([&](bool key) { pressed.push_back(key ? "key" : "not key"); });
    window->showAlert(alert);
    EXPECT_FALSE(window->isKeyWindow()); // the sheet is
    EXPECT_FALSE(SimTitledWindows::clickButton(*window, "Restore Defaults"));
    EXPECT_TRUE(SimTitledWindows::pressAlertButton(*window, "Restore Defaults"));
    EXPECT_FALSE(window->hasAlert());
    window->showAlert(alert);
    window->performClose();
    EXPECT_TRUE(window->isVisible()) << "a sheet that waits keeps its window open";
    mac.application().activateIgnoringOtherApps();
    mac.keyboard().type({53, 0}); // the key equivalent of Cancel, not the window's
    mac.runUntilIdle();
    EXPECT_TRUE(SimTitledWindows::clickButton(*window, "Restore Defaults"));
    EXPECT_EQ(ends, (std::vector<std::int64_t>{1, 0}));
    EXPECT_EQ(pressed, (std::vector<std::string>{"not key", "key", "not key", "key", "window"}));
}

TEST(SimTitledWindowsTest, AnimatedFrameMovesOverTheResizeTimeAndIsSavedAtTheEnd) {
    SimMac mac;
    auto window = mac.titledWindows().makeWindow(Rect(100, 100, 552, 652),
                                                 kTitledClosable | platform::kWindowStyleFullSizeContentView,
                                                 platform::Defer::No);
    window->setFrameAutosaveName("Settings");
    EXPECT_EQ(window->frame(), Rect(100, 100, 552, 652)); // the content runs under the title bar
    window->animateFrame(Rect(100, 412, 552, 340));
    mac.runFor(0.208); // half of 0.2 s per 150 points over 312 points
    EXPECT_NEAR(window->frame().height(), 496, 0.5);
    EXPECT_NEAR(window->frame().maxY(), 752, 1e-9);
    EXPECT_EQ(mac.defaults().string("NSWindow Frame Settings"), "100 100 552 652");
    mac.runFor(0.3);
    EXPECT_EQ(window->frame(), Rect(100, 412, 552, 340));
    EXPECT_EQ(mac.defaults().string("NSWindow Frame Settings"), "100 412 552 340");
}

} // namespace
} // namespace marlowick::sim
