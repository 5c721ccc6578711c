#include "app/app_delegate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/updater.h"
#include "app_world.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "platform/platform.h"

namespace marlowick {
namespace {

using platform::ActivationPolicy;
using testing::AppWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::kKeyN;
using testing::kOption;

std::vector<std::string> submenuTitles(const platform::Menu& main, std::size_t index) {
    std::vector<std::string> titles;
    for (const auto& item : main.items()[index]->submenu()->items()) {
        titles.push_back(item->isSeparator() ? "---" : item->title() + " " + item->keyEquivalent());
    }
    return titles;
}

TEST(LaunchTest, SetsUpTheShellThenStartsAtOnceWhenTrusted) {
    AppWorld world;
    world.mac.process().setBundleValue("CFBundleShortVersionString", std::string("2.3"));
    world.launch();

    EXPECT_TRUE(world.mac.process().isLineBuffered());
    ASSERT_EQ(world.mac.statusBar().items().size(), 1u);
    EXPECT_EQ(world.mac.statusBar().imageChanges(), std::vector<int>{1});
    EXPECT_EQ(world.mac.statusBar().items()[0]->menu(), world.app->statusMenu());
    EXPECT_FALSE(world.app->statusMenu()->autoenablesItems());
    auto main = world.mac.application().mainMenu();
    ASSERT_TRUE(main);
    EXPECT_THAT(submenuTitles(*main, 0), ElementsAre("Settings ,", "---", "Quit q"));
    EXPECT_THAT(submenuTitles(*main, 1), ElementsAre("Close w"));
    EXPECT_DOUBLE_EQ(world.mac.accessibility().messagingTimeout(), 0.5);

    // The update wrapper starts before the services; the permission is there, so nobody waits.
    EXPECT_THAT(
        world.mac.logLines(),
        ElementsAre("Updates off: no feed in this build",
                    "Marlowick 2.3 running. Open notification \u2325N, clear all \u2325\u21E7N, on/off "
                    "\u2303\u2325\u21E7N.",
                    "Mode badges, next style direct, stacks expand, auto badges on"));
    EXPECT_EQ(world.mac.defaults().boolean(AppDelegate::kAccessibilityWasGrantedKey), true);
    ASSERT_EQ(world.mac.application().activities().size(), 1u);
    // Responsive hot keys, without keeping the Mac awake for as long as Marlowick runs.
    EXPECT_EQ(world.mac.application().activities()[0].options & platform::kActivityLatencyCritical,
              platform::kActivityLatencyCritical);
    EXPECT_FALSE(world.mac.application().preventsIdleSystemSleep());
    EXPECT_EQ(world.mac.application().activities()[0].reason, "Hotkeys and the picker must respond at once");
    EXPECT_TRUE(world.mac.application().activities()[0].active);
    EXPECT_EQ(world.mac.application().activationPolicy(), ActivationPolicy::Accessory);
    // A first launch stores every initial chord, so that one the user clears stays cleared.
    for (const auto& name : Hotkeys::allNames()) {
        auto stored = world.mac.defaults().string(name.userDefaultsKey());
        ASSERT_TRUE(stored) << name.rawValue;
        EXPECT_EQ(KeyboardShortcuts::decodeShortcut(*stored), name.initialShortcut) << name.rawValue;
    }

    world.mac.runFor(3);
    EXPECT_EQ(world.app->onboarding(), nullptr);
    EXPECT_EQ(world.count("Waiting for Accessibility permission"), 0);
}

TEST(LaunchTest, AppSwitchedOffKeepsTheEngineSilentUntilTurnedOn) {
    AppWorld world;
    world.mac.defaults().set("isOn", false);
    world.launch();
    world.press(kKeyN, kOption);
    EXPECT_EQ(world.countStartingWith("Hotkey: found"), 0);

    world.press(kKeyN, platform::kFlagControl | kOption | platform::kFlagShift);
    EXPECT_EQ(world.count("Turned on"), 1);
    world.press(kKeyN, kOption);
    EXPECT_EQ(world.countStartingWith("Hotkey: found"), 1);
}

TEST(StartServicesTest, RunsOnceWhateverCallsItAgain) {
    AppWorld world;
    world.launch();
    auto linesBefore = world.mac.logLines().size();
    world.app->startServices();
    world.mac.runFor(2);
    EXPECT_EQ(world.mac.application().activities().size(), 1u);
    EXPECT_EQ(world.countStartingWith("Marlowick "), 1);

    // One registration of the hot key: one press, one picker.
    world.press(kKeyN, kOption);
    EXPECT_EQ(world.countStartingWith("Hotkey: found"), 1);
    EXPECT_GT(world.mac.logLines().size(), linesBefore);
}

TEST(StartServicesTest, StartLinesShowMissingVersionClearedShortcutsAndTheSettings) {
    AppWorld world;
    for (const auto& name : Hotkeys::allNames())
        KeyboardShortcuts::setShortcut(std::nullopt, name);
    world.mac.process().setBundleValue("CFBundleShortVersionString", std::int64_t{3});
    world.mac.defaults().set("openMode", std::string("next"));
    world.mac.defaults().set("nextStyle", std::string("show"));
    world.mac.defaults().set("stacks", std::string("keep"));
    world.mac.defaults().set("autoBadges", false);
    world.launch();
    EXPECT_EQ(world.count("Marlowick ? running. Open notification none, clear all none, on/off none."), 1);
    EXPECT_EQ(world.count("Mode next, next style show, stacks keep, auto badges off"), 1);
}

class ActivationPolicyTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.mac.process().setBundleValue("SUFeedURL", std::string("https://example.com/appcast.xml"));
        world.mac.process().setBundleValue("SUPublicEDKey", std::string("key"));
        world.launch();
    }
    ActivationPolicy policy() { return world.mac.application().activationPolicy(); }
    AppWorld world;
};

TEST_F(ActivationPolicyTest, SettingsWindowMakesTheAppRegularUntilItCloses) {
    world.app->showSettings();
    EXPECT_EQ(world.count("Opening Settings"), 1);
    auto window = world.app->settingsWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title(), "General");
    EXPECT_TRUE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->frame().width(), 552);
    EXPECT_EQ(policy(), ActivationPolicy::Regular);
    EXPECT_TRUE(world.mac.application().isActive());

    // The main menu's Close (⌘W) reaches the key window while the app is regular and active.
    world.press(13, platform::kFlagCommand);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(policy(), ActivationPolicy::Accessory);

    // Reopening shows the same window and tracks it again.
    world.app->showSettings();
    EXPECT_EQ(world.app->settingsWindow(), window);
    EXPECT_EQ(policy(), ActivationPolicy::Regular);
    window->performClose();
    EXPECT_EQ(policy(), ActivationPolicy::Accessory);
    EXPECT_EQ(world.app->openWindowCount(), 0u);
}

TEST_F(ActivationPolicyTest, UpdateSessionKeepsTheAppRegularPastTheLastWindow) {
    world.mac.application().deactivate();
    world.app->showSettings();
    world.mac.updates().setAvailableVersion("1.4");
    world.app->checkForUpdates();
    EXPECT_TRUE(world.mac.updates().isSessionActive());
    EXPECT_EQ(policy(), ActivationPolicy::Regular);

    world.app->settingsWindow()->performClose();
    EXPECT_EQ(policy(), ActivationPolicy::Regular);
    world.mac.updates().endSession();
    EXPECT_EQ(policy(), ActivationPolicy::Accessory);
}

TEST_F(ActivationPolicyTest, SessionEndingWithSettingsOpenLeavesTheAppRegular) {
    world.app->checkForUpdates();
    auto activations = world.mac.application().activationCount();
    world.mac.runFor(0.19);
    EXPECT_EQ(world.mac.application().activationCount(), activations);
    world.mac.runFor(0.02);
    EXPECT_EQ(world.mac.application().activationCount(), activations + 1);

    world.app->showSettings();
    world.mac.updates().endSession();
    EXPECT_EQ(policy(), ActivationPolicy::Regular);
    world.app->settingsWindow()->close();
    EXPECT_EQ(policy(), ActivationPolicy::Accessory);
}

TEST(AppDelegateLifetimeTest, CallbacksDoNothingOnceTheDelegateIsGone) {
    AppWorld world(sim::SimMac::Options{.trusted = false});
    world.launch();
    std::weak_ptr<AppDelegate> weak = world.app;
    world.app.reset();
    EXPECT_TRUE(weak.expired());
    world.mac.defaults().set("isOn", false);
    world.mac.runFor(3);
    EXPECT_THAT(world.mac.titledWindows().visibleWindows(), IsEmpty());
    Updater::shared()->onPendingChange();
    Updater::shared()->onSession(true);
    world.mac.runFor(1);
}

} // namespace
} // namespace marlowick
