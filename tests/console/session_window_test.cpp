#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/session.h"
#include "input/titled_window_controller.h"

namespace marlowick::console {
namespace {

using platform::ViewNode;
using ::testing::HasSubstr;

Command parsed(std::string_view line) {
    auto result = parseLine(line, 1);
    return std::get<std::optional<Command>>(result).value();
}

ViewNode text(std::string value) {
    platform::TextView view;
    view.text = std::move(value);
    return ViewNode::make(std::move(view));
}

// A row as the settings window builds one: a titled column of the title and control's line, then
// the details.
ViewNode row(std::string title, ViewNode control, bool dimmed = false) {
    platform::StackView line;
    line.axis = platform::Axis::Horizontal;
    line.children.push_back(text(title));
    line.children.push_back(ViewNode::make(platform::SpacerView{}));
    line.children.push_back(std::move(control));
    platform::StackView column;
    column.children.push_back(ViewNode::make(std::move(line)));
    if (dimmed) column.children.push_back(text("Only when the mode opens the newest."));
    ViewNode node = ViewNode::make(std::move(column));
    node.accessibilityLabel = std::move(title);
    node.disabled = dimmed;
    node.opacity = dimmed ? 0.42 : 1;
    return node;
}

// A small window whose controls write into `state`, rebuilt after every change as the product does.
struct Pane {
    bool on = false;
    int mode = 0;
    std::string colour = "green";
    std::vector<std::string> events;
    std::shared_ptr<TitledWindowController> controller;
    std::shared_ptr<platform::Window> window;

    void attach(std::shared_ptr<platform::Window> made) {
        controller = TitledWindowController::attach(std::move(made));
        window = controller->window();
    }
    void rebuild() {
        platform::StackView stack;
        stack.padding = 20;
        stack.width = 400;
        platform::SwitchView toggle;
        toggle.isOn = on;
        toggle.onChange = [this](bool value) { on = value, rebuild(); };
        stack.children.push_back(row("Show picker keys", ViewNode::make(toggle)));
        platform::PickerView picker;
        picker.options = {{"Show badges", {}}, {"Open the newest notification", {}}};
        picker.selectedIndex = mode;
        picker.onSelect = [this](int index) { mode = index, rebuild(); };
        stack.children.push_back(row("With no banner", ViewNode::make(picker)));
        stack.children.push_back(row("Open the newest", ViewNode::make(platform::PickerView{}), mode == 0));
        platform::StackView swatches;
        swatches.axis = platform::Axis::Horizontal;
        for (std::string name : {"green", "blue"}) {
            platform::SwatchView swatch;
            swatch.name = name;
            swatch.isSelected = colour == name;
            swatch.action = [this, name] { colour = name, rebuild(); };
            swatches.children.push_back(ViewNode::make(swatch));
        }
        stack.children.push_back(row("Highlight color", ViewNode::make(std::move(swatches))));
        platform::ShortcutFieldView field;
        field.identifier = "clearAll";
        field.onBecomeFirstResponder = [this] { events.push_back("recording"); };
        // The product rebuilds its tree when recording ends, under the click that ended it.
        field.onResignFirstResponder = [this] { events.push_back("stopped"), rebuild(); };
        stack.children.push_back(row("Clear all", ViewNode::make(field)));
        platform::ButtonView restore;
        restore.title = "Restore Defaults";
        restore.action = [this] {
            controller->beginAlert(
                {"Restore all settings?",
                 "This can't be undone.",
                 {{"Cancel", platform::ButtonRole::Cancel},
                  {"Restore Defaults", platform::ButtonRole::Destructive}}},
                [this](std::size_t answer) { events.push_back("answer " + std::to_string(answer)); });
        };
        stack.children.push_back(ViewNode::make(restore));
        controller->setContent(ViewNode::make(std::move(stack)));
    }
};

TEST(SessionWindowTest, CommandsWorkTheFrontWindowsRowsAndReadThemBack) {
    Session session{{.world = Session::World::Bare, .echoLog = false}};
    auto run = [&](std::string_view line) { return session.run(parsed(line)); };
    Pane pane;
    pane.attach(session.mac().titledWindows().makeWindow(
        platform::Rect(100, 300, 0, 0), platform::kWindowStyleTitled | platform::kWindowStyleClosable,
        platform::Defer::No));
    pane.window->setTitle("General");
    pane.rebuild();
    pane.window->makeKeyAndOrderFront();

    for (auto line :
         {"window switch \"Show picker keys\" on", "expect window-value \"Show picker keys\" \"On\"",
          "expect window-row \"Open the newest\" dimmed",
          "window choose \"With no banner\" \"Open the newest notification\"",
          "expect window-row \"Open the newest\" enabled", "window swatch \"blue\"",
          "expect window-value \"Highlight color\" \"blue\"", "expect window-text \"With no banner\"",
          "window record \"Clear all\"", "window click \"Restore Defaults\"",
          "expect alert \"can't be undone\"", "window click \"Cancel\"", "expect no-alert",
          "window record \"Clear all\"", "key tab", "expect window \"General\" shown",
          "expect window-top kept", "window close", "expect window \"General\" hidden"}) {
        auto result = run(line);
        ASSERT_TRUE(result.ok) << line << ": " << result.message;
    }
    EXPECT_TRUE(pane.on);
    EXPECT_EQ(pane.mode, 1);
    EXPECT_EQ(pane.events,
              (std::vector<std::string>{"recording", "stopped", "answer 0", "recording", "stopped"}));
}

TEST(SessionWindowTest, FailuresNameWhatTheWindowShows) {
    Session session{{.world = Session::World::Bare, .echoLog = false}};
    auto run = [&](std::string_view line) { return session.run(parsed(line)); };
    EXPECT_THAT(run("window tab general").message, HasSubstr("no window is on screen"));
    Pane pane;
    pane.attach(session.mac().titledWindows().makeWindow(platform::Rect(0, 0, 0, 0),
                                                         platform::kWindowStyleTitled, platform::Defer::No));
    pane.rebuild();
    pane.window->makeKeyAndOrderFront();
    EXPECT_THAT(run("expect window-value \"With no banner\" \"Pick\"").message, HasSubstr("\"Show badges\""));
    EXPECT_THAT(run("window choose \"With no banner\" \"Never\"").message,
                HasSubstr("has no option \"Never\""));
    EXPECT_THAT(run("expect window-row \"Show picker keys\" disabled").message, HasSubstr("is enabled"));
    EXPECT_THAT(run("window switch \"Nope\" on").message, HasSubstr("no switch in a row \"Nope\""));
    // A dimmed row's control takes no click: the command says so and nothing changes.
    EXPECT_THAT(run("window choose \"Open the newest\" \"x\"").message, HasSubstr("has no option"));
    EXPECT_THAT(run("show").message, HasSubstr("Open the newest  <> (disabled)  (dimmed)\n  Only when"));
    EXPECT_THAT(run("expect window-height 10").message, HasSubstr("points high"));
    EXPECT_THAT(run("expect alert \"x\"").message, HasSubstr("no alert is shown"));
    // A sheet that waits keeps its window open, as on a Mac.
    ASSERT_TRUE(run("window click \"Restore Defaults\"").ok);
    EXPECT_THAT(run("window close").message, HasSubstr("stays open"));
    pane.window->performClose();
    EXPECT_TRUE(pane.window->isVisible());
    ASSERT_TRUE(run("window click \"Cancel\"").ok);
    for (auto bad : {"window tab settings", "window switch \"A\" maybe", "expect window-top high",
                     "login-item sometimes", "appearance blue", "expect window-row \"A\" grey",
                     // A misspelt or short expectation must not pass as `expect no-alert`.
                     "expect window-txt", "expect window-text", "expect window-tops 3", "expect no-alert now"}) {
        EXPECT_TRUE(std::holds_alternative<ParseError>(parseLine(bad, 1))) << bad;
    }
}

// The login-item commands are read back through the settings window by the launch-at-login scenario.
TEST(SessionWindowTest, TheAppearanceCommandSetsTheSimulatedAppearance) {
    Session session{{.world = Session::World::Bare, .echoLog = false}};
    auto run = [&](std::string_view line) { return session.run(parsed(line)); };
    int changes = 0;
    auto watch = session.mac().appearance().observe([&] { ++changes; });
    ASSERT_TRUE(run("appearance dark").ok);
    EXPECT_EQ(session.mac().appearance().current(), platform::Appearance::Dark);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace marlowick::console
