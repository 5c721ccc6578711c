// The shortcut recorder in the settings window on a simulated Mac: what recording silences, which
// chords it takes, refuses or asks about, and every way recording ends.
#include "input/keyboardshortcuts/recorder_cocoa.h"

#include <gtest/gtest.h>

#include "app/settings_world.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"

namespace marlowick::testing {
namespace {

using KeyboardShortcuts::Shortcut;
using platform::kFlagCommand;
using platform::kFlagControl;
using platform::kFlagOption;
using platform::kFlagShift;

constexpr std::uint16_t kC = 8, kQ = 12, kThree = 20, kTab = 48, kDelete = 51, kEscape = 53;

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.open(SettingsTab::shortcuts);
        world.mac.keyboard().setOwnApplicationFrontmost(true);
    }
    void record(const KeyboardShortcuts::Name& name) {
        world.window()->makeFirstResponder("shortcut." + name.rawValue);
        world.mac.runUntilIdle();
    }
    void type(std::uint16_t key, platform::ModifierFlags flags = 0) { world.press(key, flags); }
    std::string field(const std::string& title) {
        return world.controlAs<platform::ShortcutFieldView>(title).text;
    }
    bool recording() { return KeyboardShortcuts::RecorderCocoa::activeRecorder() != nullptr; }
    std::optional<platform::Alert> alert() { return world.mac.titledWindows().alertOf(*world.window()); }
    void answer(const std::string& button) {
        ASSERT_TRUE(sim::SimTitledWindows::clickButton(*world.window(), button));
        world.mac.runUntilIdle();
    }
    bool ownHotKeyRegistered(std::uint32_t keyCode, std::uint32_t modifiers) {
        for (const auto& registration : world.mac.hotKeys().registrations()) {
            if (registration.keyCode == keyCode && registration.modifiers == modifiers) return true;
        }
        return false;
    }

    SettingsWorld world;
};

TEST_F(RecorderTest, RecordingSilencesEveryHotKeyUntilEscapeEndsItUnchanged) {
    ASSERT_TRUE(ownHotKeyRegistered(45, platform::kCarbonOption));
    record(Hotkeys::clearAll);
    EXPECT_TRUE(recording());
    EXPECT_TRUE(KeyboardShortcuts::isPaused());
    EXPECT_EQ(world.controlAs<platform::ShortcutFieldView>("Clear all").placeholder, "Press Shortcut");
    EXPECT_FALSE(ownHotKeyRegistered(45, platform::kCarbonOption)) << "Option-N reaches the field";
    EXPECT_FALSE(ownHotKeyRegistered(45, 6656)) << "so does the on/off chord";

    // The on/off chord is refused as the other row's, and Marlowick stays on.
    type(45, kFlagControl | kFlagOption | kFlagShift);
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message, "Already used for Marlowick on or off.");
    EXPECT_TRUE(AppSettings::isOn());
    answer("OK");
    EXPECT_TRUE(recording()) << "a refusal leaves the field recording";

    type(kEscape);
    EXPECT_FALSE(recording());
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
    EXPECT_EQ(field("Clear all"), "\u2325\u21E7N");
    EXPECT_EQ(world.controlAs<platform::ShortcutFieldView>("Clear all").placeholder, "Record Shortcut");
    EXPECT_TRUE(ownHotKeyRegistered(45, platform::kCarbonOption));
    EXPECT_TRUE(ownHotKeyRegistered(45, 6656));
}

TEST_F(RecorderTest, AnAcceptedChordIsStoredShownAndLiveAndTheOnOffKeyFollowsItsNewChord) {
    record(Hotkeys::toggleSwitch);
    type(kC, kFlagControl | kFlagOption);
    EXPECT_FALSE(recording());
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::toggleSwitch),
              Shortcut(kC, platform::kCarbonControl | platform::kCarbonOption));
    EXPECT_EQ(field("Marlowick on or off"), "\u2303\u2325C");
    EXPECT_TRUE(ownHotKeyRegistered(kC, platform::kCarbonControl | platform::kCarbonOption));
    EXPECT_FALSE(ownHotKeyRegistered(45, 6656));

    // A plain letter would take over typing: refused with a beep, still recording.
    record(Hotkeys::openNotification);
    auto beeps = world.mac.windows().beepCount();
    type(kC);
    type(kC, kFlagShift);
    EXPECT_EQ(world.mac.windows().beepCount(), beeps + 2);
    EXPECT_TRUE(recording());
    EXPECT_FALSE(alert());
}

TEST_F(RecorderTest, DeleteRemovesTheChordAndTabOrLosingKeyStatusEndsRecording) {
    record(Hotkeys::openNotification);
    type(kDelete);
    EXPECT_FALSE(recording());
    EXPECT_EQ(field("Open notification"), "");
    // A name with an initial chord remembers that the user removed it.
    EXPECT_EQ(world.mac.defaults().object("KeyboardShortcuts_openNotification"),
              platform::DefaultsValue(false));
    EXPECT_FALSE(ownHotKeyRegistered(45, platform::kCarbonOption));

    record(Hotkeys::clearAll);
    type(kTab);
    EXPECT_FALSE(recording());
    EXPECT_FALSE(world.window()->firstResponder());

    record(Hotkeys::clearAll);
    world.mac.titledWindows().resignKey(*world.window());
    world.mac.runUntilIdle();
    EXPECT_FALSE(recording());
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
}

TEST_F(RecorderTest, MenuAndOtherRowChordsAreRefusedSystemChordsAskFirst) {
    record(Hotkeys::clearAll);
    type(kQ, kFlagCommand);
    ASSERT_TRUE(alert());
    EXPECT_NE(alert()->title.find("\u201CQuit\u201D"), std::string::npos) << alert()->title;
    answer("OK");

    type(45, kFlagOption);
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message, "Already used for Open notification.");
    answer("OK");
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll), Hotkeys::clearAll.initialShortcut);

    // ⌘⇧3 belongs to the system: the user may keep the old chord or take it anyway.
    type(kThree, kFlagCommand | kFlagShift);
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title, "This shortcut is already used by macOS.");
    answer("Cancel");
    EXPECT_TRUE(recording());
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll), Hotkeys::clearAll.initialShortcut);
    type(kThree, kFlagCommand | kFlagShift);
    answer("Use Anyway");
    EXPECT_FALSE(recording());
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll),
              Shortcut(kThree, platform::kCarbonCommand | platform::kCarbonShift));
}

TEST(RecorderLifetime, AFieldThatGoesAwayWhileRecordingReleasesTheHotKeys) {
    sim::SimMac mac;
    int active = 0;
    auto observer = mac.notifications().observe(
        KeyboardShortcuts::kRecorderActiveStatusDidChange,
        [&](const platform::UserInfo& info) { active += std::get<bool>(info.at("isActive")) ? 1 : -1; });
    auto first = KeyboardShortcuts::RecorderCocoa::create(Hotkeys::openNotification);
    auto second = KeyboardShortcuts::RecorderCocoa::create(Hotkeys::clearAll);
    first->becomeFirstResponder();
    second->becomeFirstResponder();
    EXPECT_FALSE(first->isRecording()) << "one recorder at a time";
    EXPECT_EQ(active, 1);
    second.reset();
    EXPECT_EQ(active, 0);
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
}

} // namespace
} // namespace marlowick::testing
