// The settings window on a simulated Mac: the window and its tabs, what each row shows and writes,
// the flags that force a setting, the restore buttons, launch at login and the General pane's poll.
#include <gtest/gtest.h>

#include <set>

#include "app/settings_world.h"
#include "input/settings_rows.h"
#include "overlay/appearance_preview.h"

namespace marlowick::testing {
namespace {

using platform::LoginItemStatus;
using sim::SimLoginItems;

// The heights and the kept top edge are run by the tabs scenario; here what it cannot see.
TEST(SettingsWindowTest, OneFixedWidthWindowThatKeepsItsTabAcrossClosing) {
    SettingsWorld world;
    world.open();
    auto window = world.window();
    EXPECT_TRUE(window->styleMask() & platform::kWindowStyleFullSizeContentView);
    world.app->settings()->selectTab(SettingsTab::behavior);
    world.mac.runFor(1);
    EXPECT_DOUBLE_EQ(window->frame().width(), 552);
    ASSERT_TRUE(world.button("Behavior"));
    EXPECT_TRUE(world.button("Behavior")->isSelected);
    EXPECT_FALSE(world.button("General")->isSelected);

    window->performClose();
    world.mac.runUntilIdle();
    world.app->showSettings();
    world.mac.runUntilIdle();
    EXPECT_EQ(world.window(), window);
    EXPECT_EQ(window->title(), "Behavior");
}

// What each forced row shows is run by the flag-overrides scenario; here that nothing is stored.
TEST(SettingsWindowTest, FlagsLeaveTheStoredValuesAlone) {
    SettingsWorld world({"--mode", "bogus", "--vim-keys", "--color", "#ff8800"});
    world.mac.defaults().set("openMode", std::string("next"));
    world.open(SettingsTab::behavior);
    EXPECT_FALSE(world.controlAs<platform::PickerView>("With no banner").onSelect);
    for (auto tab : {SettingsTab::shortcuts, SettingsTab::appearance}) {
        world.app->settings()->selectTab(tab);
        world.mac.runUntilIdle();
    }
    EXPECT_EQ(world.mac.defaults().string("openMode"), "next");
    EXPECT_FALSE(world.mac.defaults().object("vimKeys"));
    EXPECT_FALSE(world.mac.defaults().object("highlightColor"));
}

TEST(SettingsWindowTest, RestoreButtonsFollowTheDefaultsAndTheGeneralOneLeavesTheSwitch) {
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

    // The General pane's covers all three groups once its alert is confirmed, as the restore-all
    // scenario shows; the switch belongs to none of them.
    world.app->settings()->selectTab(SettingsTab::general);
    world.mac.runUntilIdle();
    world.mac.defaults().set("isOn", false);
    world.click("Restore Defaults");
    ASSERT_TRUE(sim::SimTitledWindows::pressAlertButton(*world.window(), "Restore Defaults"));
    world.mac.runUntilIdle();
    EXPECT_FALSE(world.mac.defaults().object("stacks"));
    EXPECT_EQ(world.mac.defaults().object("isOn"), platform::DefaultsValue(false)) << "the switch stays";
    EXPECT_TRUE(world.buttonDisabled("Restore Defaults"));
}

// Where controls sit as a Mac user would check them: pop-ups at the trailing edge beside their
// titles whatever option they show, and the three shortcut fields one width, recording or not.
TEST(SettingsWindowTest, PopUpsStayBesideTheirTitlesAndTheShortcutFieldsShareOneWidth) {
    SettingsWorld world;
    world.mac.defaults().set("openMode", std::string("pick")); // its title is the longest option
    world.open(SettingsTab::behavior);
    auto frames = [&] { return platform::layoutViews(world.content(), world.mac.fonts()).views; };
    auto frameOf = [&](const std::function<bool(const platform::ViewNode&)>& match) {
        for (const auto& placed : frames())
            if (match(*placed.node)) return placed.frame;
        ADD_FAILURE() << "no such view";
        return platform::Rect{};
    };
    auto isText = [](std::string text) {
        return [text](const platform::ViewNode& node) {
            return node.as<platform::TextView>() && node.as<platform::TextView>()->text == text;
        };
    };
    const auto title = frameOf(isText("With no banner"));
    const auto picker = frameOf([](const platform::ViewNode& node) { return node.as<platform::PickerView>(); });
    const auto note = frameOf(isText("Expanded, each notification in a stack gets its own number."));
    EXPECT_NEAR(picker.midY(), title.midY(), 1) << "on the title's line, not wrapped under it";
    EXPECT_NEAR(picker.maxX(), note.minX() + kSettingsRowWidth, 1) << "at the row's trailing edge";

    world.app->settings()->selectTab(SettingsTab::shortcuts);
    world.mac.runUntilIdle();
    auto fieldWidths = [&] {
        std::vector<double> widths;
        for (const auto& placed : frames())
            if (placed.node->as<platform::ShortcutFieldView>()) widths.push_back(placed.frame.width());
        return widths;
    };
    const auto idle = fieldWidths();
    ASSERT_EQ(idle.size(), 3u);
    EXPECT_EQ(std::set<double>(idle.begin(), idle.end()).size(), 1u);
    // The tallest pane has room for one more wrapped line before "Restore Defaults" leaves it.
    const auto restore = frameOf([](const platform::ViewNode& node) {
        return node.as<platform::ButtonView>() && node.as<platform::ButtonView>()->title == "Restore Defaults";
    });
    const auto lastRow = frameOf(isText("Go to top, bottom"));
    // Below the last row: the group's padding, the pane's spacing twice, and a footnote line.
    EXPECT_GE(restore.minY() - lastRow.maxY(), kSettingsGroupPadding + 2 * 14 + 16);
    world.window()->makeFirstResponder("shortcut.clearAll");
    world.mac.runUntilIdle();
    EXPECT_EQ(fieldWidths(), idle) << "a field keeps its width when it starts recording";
}

// The example's reveal plays when its pane shows, not off screen behind another pane.
TEST(SettingsWindowTest, TheAppearanceExampleLivesWhileItsPaneShowsAndRevealsThen) {
    SettingsWorld world;
    world.mac.defaults().set("ringReveal", std::string("pop"));
    world.open();
    world.mac.runFor(2);
    EXPECT_FALSE(world.app->settings()->preview()) << "no example behind the General pane";

    world.app->settings()->selectTab(SettingsTab::appearance);
    world.mac.runUntilIdle();
    auto first = world.app->settings()->preview();
    ASSERT_TRUE(first);
    EXPECT_GT(first->size().width, 0) << "laid out at the size the pane gives it";
    EXPECT_TRUE(first->overlay()->showsRing);
    EXPECT_FALSE(first->overlay()->pendingReveal) << "the reveal has begun";

    world.app->settings()->selectTab(SettingsTab::general);
    world.mac.runUntilIdle();
    EXPECT_FALSE(world.app->settings()->preview());
    world.app->settings()->selectTab(SettingsTab::appearance);
    world.mac.runUntilIdle();
    ASSERT_TRUE(world.app->settings()->preview());
    EXPECT_NE(world.app->settings()->preview(), first) << "shown again, a new example reveals again";
}

// The service's answers are run by the launch-at-login scenario; here the log of a refused change
// and the Login Items page it offers once the user has switched Marlowick off there.
TEST(SettingsWindowTest, LaunchAtLoginLogsTheStatusAfterEachChangeAndOpensLoginItems) {
    SettingsWorld world;
    world.open();
    world.flip("Launch at login", true);
    world.mac.loginItems().setAnswer(SimLoginItems::Answer::Refuse);
    world.flip("Launch at login", false);
    EXPECT_EQ(world.count("Launch at login: status 1"), 2);
    world.mac.loginItems().setAnswer(SimLoginItems::Answer::Disabled);
    world.mac.runFor(1.01);
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
