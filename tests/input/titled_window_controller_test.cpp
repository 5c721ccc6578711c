// The decisions a titled window's controller makes, driven by what the simulated window reports:
// mouse-downs, key-downs while a sheet is up, and the sheet's end.
#include "input/titled_window_controller.h"

#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "sim/sim_mac.h"

namespace marlowick {
namespace {

using platform::Rect;
using platform::ViewNode;
using sim::SimTitledWindows;

constexpr auto kTitledClosable = platform::kWindowStyleTitled | platform::kWindowStyleClosable;

class TitledWindowControllerTest : public ::testing::Test {
protected:
    ViewNode field(const std::string& identifier, bool disabled = false) {
        platform::ShortcutFieldView view;
        view.identifier = identifier;
        view.text = "⌥N";
        view.showsClearButton = true;
        view.onBecomeFirstResponder = [this, identifier] { log.push_back("become " + identifier); };
        view.onResignFirstResponder = [this, identifier] { log.push_back("resign " + identifier); };
        view.onClear = [this, identifier] { log.push_back("clear " + identifier); };
        ViewNode node = ViewNode::make(std::move(view));
        node.disabled = disabled;
        return node;
    }
    Rect placed(std::size_t index) {
        return platform::layoutViews(window->content(), mac.fonts()).views.at(index).frame;
    }
    bool click(platform::Point point) { return SimTitledWindows::click(*window, point); }
    bool clickLeading(std::size_t index) { return click({placed(index).minX() + 8, placed(index).midY()}); }
    bool clickClearButton(std::size_t index) {
        return click({placed(index).maxX() - 4, placed(index).midY()});
    }
    void press(std::uint16_t key, platform::ModifierFlags flags = 0) {
        mac.keyboard().type({key, flags});
        mac.runUntilIdle();
    }

    sim::SimMac mac;
    std::shared_ptr<TitledWindowController> controller = TitledWindowController::attach(
        mac.titledWindows().makeWindow(Rect(0, 0, 0, 0), kTitledClosable, platform::Defer::No));
    std::shared_ptr<platform::Window> window = controller->window();
    std::vector<std::string> log;
};

TEST_F(TitledWindowControllerTest, AClickOutsideTheEditedFieldEndsItsEditingAndAClearButtonClearsInPlace) {
    platform::StackView stack;
    stack.children.push_back(field("a"));
    stack.children.push_back(field("b"));
    stack.children.push_back(field("off", true));
    platform::ButtonView save;
    save.title = "Save";
    save.action = [this] { log.push_back("save"); };
    stack.children.push_back(ViewNode::makeButton(std::move(save)));
    controller->setContent(ViewNode::makeStack(std::move(stack)));
    window->makeKeyAndOrderFront();

    EXPECT_TRUE(clickLeading(1));
    // Another field's clear button and the edited one's own clear without moving the focus.
    EXPECT_TRUE(clickClearButton(2));
    EXPECT_TRUE(clickClearButton(1));
    EXPECT_EQ(window->firstResponder(), "a");
    // A disabled field's clear button takes no click, which still ends the editing.
    EXPECT_FALSE(clickClearButton(3));
    EXPECT_EQ(window->firstResponder(), std::nullopt);
    clickLeading(1);
    EXPECT_TRUE(clickLeading(2)) << "another field moves the editing on";
    EXPECT_TRUE(clickLeading(4));
    clickLeading(1);
    EXPECT_FALSE(click({placed(1).midX(), placed(1).maxY() + 4})) << "the gap between the fields";
    EXPECT_EQ(log,
              (std::vector<std::string>{"become a", "clear b", "clear a", "resign a", "become a", "resign a",
                                        "become b", "resign b", "save", "become a", "resign a"}));
}

TEST_F(TitledWindowControllerTest, TabNeverStartsTheEditedFieldOverAndClosingEndsTheEditing) {
    platform::StackView stack;
    stack.children.push_back(field("a"));
    stack.children.push_back(field("off", true));
    controller->setContent(ViewNode::makeStack(std::move(stack)));
    window->makeKeyAndOrderFront();
    clickLeading(1);
    // The loop holds the one enabled field: Tab comes back to it, and the window then edits none.
    controller->selectNextKeyView();
    EXPECT_EQ(window->firstResponder(), std::nullopt);
    controller->selectNextKeyView();
    EXPECT_EQ(window->firstResponder(), "a") << "with no field edited, Tab starts the loop";
    window->performClose();
    EXPECT_EQ(window->firstResponder(), std::nullopt);
    EXPECT_EQ(log, (std::vector<std::string>{"become a", "resign a", "become a", "resign a"}));
}

TEST_F(TitledWindowControllerTest, AlertsShowOneAfterAnotherAndEscapePressesTheFirstCancelButton) {
    window->makeKeyAndOrderFront();
    mac.application().activateIgnoringOtherApps();
    std::vector<std::string> answers;
    auto answer = [&](std::string name) {
        return
            [&answers, name](std::size_t button) { answers.push_back(name + " " + std::to_string(button)); };
    };
    const platform::AlertButton cancel{"Cancel", platform::ButtonRole::Cancel};
    controller->beginAlert({"first", "", {cancel, {"Use Anyway"}}}, answer("first"));
    controller->beginAlert({"second", "", {{"OK"}, {"Don't Save"}, cancel}}, answer("second"));
    controller->beginAlert({"third", "", {{"OK"}}}, answer("third"));
    ASSERT_EQ(SimTitledWindows::alert(*window)->title, "first");

    // The first button is the cancel one: Return is its key, and Escape presses it too.
    press(platform::kKeyCodeEscape, platform::kFlagCommand);
    EXPECT_TRUE(answers.empty()) << "Command-Escape is no answer";
    press(platform::kKeyCodeEscape);
    ASSERT_EQ(SimTitledWindows::alert(*window)->title, "second");
    EXPECT_EQ(SimTitledWindows::alert(*window)->buttons[0].key, platform::AlertKey::Return);
    press(platform::kKeyCodeEscape);
    // A sheet ended by something else answers nothing, and the next one shows.
    ASSERT_TRUE(controller->hasAlert());
    controller->endAlert(9);
    EXPECT_FALSE(controller->hasAlert());
    EXPECT_EQ(answers, (std::vector<std::string>{"first 0", "second 2"}));
}

TEST_F(TitledWindowControllerTest, AWindowThatFitsItsContentKeepsItsTopEdge) {
    auto content = [](double height) {
        platform::StackView stack;
        stack.width = 300;
        stack.height = height;
        return ViewNode::makeStack(std::move(stack));
    };
    controller->setContent(content(100));
    window->setFrame(Rect(200, 400, 300, 100 + SimTitledWindows::kTitleBarHeight));
    controller->setContent(content(160));
    EXPECT_EQ(window->frame(), Rect(200, 340, 300, 160 + SimTitledWindows::kTitleBarHeight));
}

} // namespace
} // namespace marlowick
