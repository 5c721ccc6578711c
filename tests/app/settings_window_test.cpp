// The settings window on a simulated Mac: the window and its tabs, what each row shows and writes,
// the flags that force a setting, the restore buttons, launch at login and the General pane's poll.
#include <gtest/gtest.h>

#include "app/settings_world.h"
#include "input/settings_rows.h"

namespace marlowick::testing {
namespace {

using platform::LoginItemStatus;
using sim::SimLoginItems;

TEST(SettingsWindowTest, OneWindowWhoseTabsResizeItUnderAFixedTopEdge) {
    SettingsWorld world;
    world.open();
    auto window = world.window();
    EXPECT_EQ(window->title(), "General");
    EXPECT_TRUE(window->styleMask() & platform::kWindowStyleFullSizeContentView);
    const auto first = window->frame();
    EXPECT_DOUBLE_EQ(first.width(), 552);

    world.app->settings()->selectTab(SettingsTab::shortcuts);
    world.mac.runFor(1);
    EXPECT_EQ(window->title(), "Shortcuts");
    EXPECT_DOUBLE_EQ(window->frame().height() - first.height(), 652 - 544);
    EXPECT_DOUBLE_EQ(window->frame().maxY(), first.maxY());
    world.app->settings()->selectTab(SettingsTab::behavior);
    world.mac.runFor(1);
    EXPECT_DOUBLE_EQ(window->frame().height() - first.height(), 340 - 544);
    EXPECT_DOUBLE_EQ(window->frame().maxY(), first.maxY());
    EXPECT_DOUBLE_EQ(window->frame().width(), 552);
    const auto* selected = world.button("Behavior");
    ASSERT_TRUE(selected);
    EXPECT_TRUE(selected->isSelected);
    EXPECT_FALSE(world.button("General")->isSelected);

    // Closing keeps the window and its tab for the next opening.
    window->performClose();
    world.mac.runUntilIdle();
    world.app->showSettings();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.window(), window);
    EXPECT_EQ(window->title(), "Behavior");
    EXPECT_TRUE(world.row("Stacks"));
}

TEST(SettingsWindowTest, FlagsShowTheForcedValueCannotBeChangedAndLeaveTheStoredOneAlone) {
    SettingsWorld world({"--mode", "bogus", "--no-auto-badges", "--vim-keys", "--no-picker-keys", "--color",
                         "#ff8800", "--stack-style", "dotted"});
    world.mac.defaults().set("openMode", std::string("next"));
    world.open(SettingsTab::behavior);

    // An invalid value still marks the row, which shows the stored mode.
    const auto& mode = world.controlAs<platform::PickerView>("With no banner");
    EXPECT_EQ(mode.selectedIndex, 2);
    EXPECT_FALSE(mode.onSelect);
    EXPECT_TRUE(world.control("With no banner").disabled);
    EXPECT_EQ(world.rowTexts("With no banner"),
              std::vector<std::string>({"\u2691 Set by --mode until the next launch."}));
    EXPECT_FALSE(world.row("Open the newest")->disabled);
    EXPECT_FALSE(world.controlAs<platform::SwitchView>("Show badges on swipe or clock click").isOn);
    EXPECT_TRUE(world.shows("\u2691 Off by --no-auto-badges until the next launch."));

    world.app->settings()->selectTab(SettingsTab::shortcuts);
    world.mac.runUntilIdle();
    EXPECT_TRUE(world.controlAs<platform::SwitchView>("Use Vim keys in the picker").isOn);
    EXPECT_TRUE(world.shows("\u2691 On by --vim-keys until the next launch."));
    EXPECT_FALSE(world.controlAs<platform::SwitchView>("Show picker keys").isOn);
    EXPECT_TRUE(world.shows("\u2691 Off by --no-picker-keys until the next launch."));
    EXPECT_TRUE(world.control("Show picker keys").disabled);

    world.app->settings()->selectTab(SettingsTab::appearance);
    world.mac.runUntilIdle();
    EXPECT_TRUE(world.control("Highlight color").disabled);
    EXPECT_TRUE(world.shows("\u2691 Set by --color until the next launch."));
    EXPECT_TRUE(world.shows("\u2691 Set by --stack-style until the next launch."));
    EXPECT_FALSE(world.mac.defaults().object("vimKeys"));
    EXPECT_FALSE(world.mac.defaults().object("highlightColor"));
}

TEST(SettingsWindowTest, TheNewestRowDimsOutsideNextModeAndTheVimSwitchRewritesTheBadgesNote) {
    SettingsWorld world;
    world.open(SettingsTab::behavior);
    const auto* newest = world.row("Open the newest");
    ASSERT_TRUE(newest);
    EXPECT_TRUE(newest->disabled);
    EXPECT_DOUBLE_EQ(newest->opacity, kDimmedRowOpacity);

    world.choose("With no banner", 2);
    EXPECT_EQ(world.mac.defaults().string("openMode"), "next");
    EXPECT_FALSE(world.row("Open the newest")->disabled);
    EXPECT_DOUBLE_EQ(world.row("Open the newest")->opacity, 1);

    EXPECT_TRUE(world.shows("The picker then takes 1\u20139, \u2191/\u2193, Return and Esc."));
    world.mac.defaults().set("vimKeys", true);
    world.mac.runUntilIdle();
    EXPECT_TRUE(
        world.shows("The picker then takes 1\u20139, \u2191/\u2193, Return, Esc and the Vim letters."));
}

TEST(SettingsWindowTest, ACustomColourBecomesASixthSwatchThatStaysAfterAnotherIsChosen) {
    SettingsWorld world;
    world.mac.defaults().set("highlightColor", std::string("#FF8800"));
    world.open(SettingsTab::appearance);
    auto swatchNames = [&] {
        std::vector<std::string> names;
        const auto* colors = world.row("Highlight color");
        std::function<void(const platform::ViewNode&)> walk = [&](const platform::ViewNode& node) {
            if (const auto* swatch = node.as<platform::SwatchView>())
                names.push_back(swatch->name + (swatch->isSelected ? "*" : ""));
            if (const auto* stack = node.as<platform::StackView>())
                for (const auto& child : stack->children)
                    walk(child);
        };
        if (colors) walk(*colors);
        return names;
    };
    EXPECT_EQ(swatchNames(),
              (std::vector<std::string>{"green", "blue", "violet", "pink", "amber", "#ff8800*"}));

    std::function<void()> chooseBlue;
    std::function<void(const platform::ViewNode&)> find = [&](const platform::ViewNode& node) {
        if (const auto* swatch = node.as<platform::SwatchView>(); swatch && swatch->name == "blue")
            chooseBlue = swatch->action;
        if (const auto* stack = node.as<platform::StackView>())
            for (const auto& child : stack->children)
                find(child);
    };
    find(world.content());
    ASSERT_TRUE(chooseBlue);
    chooseBlue();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.mac.defaults().string("highlightColor"), "blue");
    EXPECT_EQ(swatchNames(),
              (std::vector<std::string>{"green", "blue*", "violet", "pink", "amber", "#ff8800"}));
}

TEST(SettingsWindowTest, RestoreButtonsFollowTheDefaultsAndTheGeneralOneAsksFirst) {
    SettingsWorld world;
    world.open(SettingsTab::appearance);
    EXPECT_TRUE(world.buttonDisabled("Restore Defaults"));
    // A change from outside the window counts at once.
    world.mac.defaults().set("ringReveal", std::string("glow"));
    world.mac.defaults().set("stacks", std::string("keep"));
    world.mac.runUntilIdle();
    EXPECT_FALSE(world.buttonDisabled("Restore Defaults"));
    // A pane restores its own group at once.
    world.click("Restore Defaults");
    EXPECT_FALSE(world.window()->hasAlert());
    EXPECT_FALSE(world.mac.defaults().object("ringReveal"));
    EXPECT_EQ(world.mac.defaults().string("stacks"), "keep");
    EXPECT_TRUE(world.buttonDisabled("Restore Defaults"));

    // The General pane's covers all three groups and asks before it restores anything.
    world.app->settings()->selectTab(SettingsTab::general);
    world.mac.runUntilIdle();
    EXPECT_FALSE(world.buttonDisabled("Restore Defaults"));
    world.mac.defaults().set("isOn", false);
    world.click("Restore Defaults");
    EXPECT_TRUE(world.app->settings()->isConfirmingRestore());
    ASSERT_TRUE(sim::SimTitledWindows::pressAlertButton(*world.window(), "Cancel"));
    world.mac.runUntilIdle();
    EXPECT_EQ(world.mac.defaults().string("stacks"), "keep");
    world.click("Restore Defaults");
    ASSERT_TRUE(sim::SimTitledWindows::pressAlertButton(*world.window(), "Restore Defaults"));
    world.mac.runUntilIdle();
    EXPECT_FALSE(world.mac.defaults().object("stacks"));
    EXPECT_EQ(world.mac.defaults().object("isOn"), platform::DefaultsValue(false)) << "the switch stays";
    EXPECT_TRUE(world.buttonDisabled("Restore Defaults"));
}

TEST(SettingsWindowTest, LaunchAtLoginShowsEachAnswerOfTheServiceAndLogsIt) {
    SettingsWorld world;
    world.open();
    world.flip("Launch at login", true);
    EXPECT_TRUE(world.controlAs<platform::SwitchView>("Launch at login").isOn);
    EXPECT_EQ(world.rowTexts("Launch at login"),
              std::vector<std::string>{"Starts Marlowick when you log in."});
    EXPECT_EQ(world.count("Launch at login: status 1"), 1);

    world.mac.loginItems().setAnswer(SimLoginItems::Answer::Refuse);
    world.flip("Launch at login", false);
    EXPECT_TRUE(world.controlAs<platform::SwitchView>("Launch at login").isOn)
        << "the switch shows the service";
    EXPECT_EQ(world.rowTexts("Launch at login"), std::vector<std::string>{"macOS refused the change."});
    EXPECT_EQ(world.countStartingWith("Launch at login: unregister failed: "), 1);
    EXPECT_EQ(world.count("Launch at login: status 1"), 2);

    // The user switches Marlowick off in Login Items: the poll sees it within a second.
    world.mac.loginItems().setAnswer(SimLoginItems::Answer::Disabled);
    world.mac.runFor(1.01);
    EXPECT_FALSE(world.controlAs<platform::SwitchView>("Launch at login").isOn);
    EXPECT_TRUE(world.shows("Turned off in Login Items."));
    world.click("Open Login Items\u2026");
    EXPECT_EQ(world.mac.loginItems().loginItemsPageOpenings(), 1);
}

TEST(SettingsWindowTest, TheGeneralPanePollsOnlyWhileItShows) {
    SettingsWorld world({}, sim::SimMac::Options{.trusted = false});
    world.open();
    EXPECT_TRUE(world.app->settings()->isPolling());
    EXPECT_TRUE(world.shows("Needed to read and press notifications."));
    ASSERT_TRUE(world.button("Allow"));
    world.mac.accessibility().setTrusted(true);
    world.mac.runFor(1.01);
    EXPECT_TRUE(world.shows("Done. Marlowick can read and press notifications."));
    EXPECT_FALSE(world.button("Allow"));

    world.app->settings()->selectTab(SettingsTab::shortcuts);
    EXPECT_FALSE(world.app->settings()->isPolling());
    world.app->settings()->selectTab(SettingsTab::general);
    EXPECT_TRUE(world.app->settings()->isPolling());
    world.window()->performClose();
    EXPECT_FALSE(world.app->settings()->isPolling());
}

TEST(SettingsWindowTest, UpdateRowsFollowTheUpdater) {
    SettingsWorld off;
    off.mac.process().setBundleValue("CFBundleShortVersionString", std::string("1.2"));
    off.open();
    EXPECT_TRUE(off.shows("Updates are off in this build. Version 1.2 (?)"));
    EXPECT_TRUE(off.control("Check automatically").disabled);
    EXPECT_TRUE(off.buttonDisabled("Check Now"));

    SettingsWorld on;
    on.mac.process().setBundleValue("SUFeedURL", std::string("https://example.com/appcast.xml"));
    on.mac.process().setBundleValue("SUPublicEDKey", std::string("key"));
    on.mac.process().setBundleValue("CFBundleShortVersionString", std::string("1.2"));
    on.mac.process().setBundleValue("CFBundleVersion", std::string("34"));
    on.open();
    EXPECT_TRUE(on.shows("Version 1.2 (34). Last checked never"));
    on.flip("Check automatically", false);
    EXPECT_FALSE(on.controlAs<platform::SwitchView>("Check automatically").isOn);
    on.click("Check Now");
    on.mac.runFor(1.01);
    EXPECT_FALSE(on.shows("Version 1.2 (34). Last checked never")) << "the poll reads the new check date";
}

} // namespace
} // namespace marlowick::testing
