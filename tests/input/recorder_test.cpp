// The shortcut recorder in the settings window on a simulated Mac: what recording silences, which
// chords it takes, refuses or asks about, and every way recording ends.
#include "input/keyboardshortcuts/recorder_cocoa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/app_world.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "input/shortcut_field.h"

namespace marlowick::testing {
namespace {

using KeyboardShortcuts::Shortcut;
using platform::kFlagCommand;
using platform::kFlagControl;
using platform::kFlagOption;
using platform::kFlagShift;

constexpr std::uint16_t kC = 8, kQ = 12, kThree = 20, kTab = 48, kDelete = 51, kEscape = 53;

// A window that keeps what the recorder asks of it: the first responder, key status and one sheet.
class AlertWindow final : public platform::Window {
public:
    std::string title() const override { return "Shortcuts"; }
    void setTitle(std::string) override {}
    std::uint64_t styleMask() const override { return platform::kWindowStyleTitled; }
    void setContent(platform::ViewNode content) override { content_ = std::move(content); }
    const platform::ViewNode& content() const override { return content_; }
    platform::Rect frame() const override { return {}; }
    void setFrame(const platform::Rect&) override {}
    void animateFrame(const platform::Rect&) override {}
    void center() override {}
    void setFrameAutosaveName(const std::string&) override {}
    void setTitleVisibility(platform::TitleVisibility) override {}
    void setTitlebarAppearsTransparent(bool) override {}
    void setReleasedWhenClosed(bool) override {}
    std::optional<std::string> firstResponder() const override { return responder; }
    void makeFirstResponder(std::optional<std::string> identifier) override {
        auto old = std::exchange(responder, identifier);
        if (auto field = old ? fields[*old].lock() : nullptr) field->resignFirstResponder();
        if (auto field = identifier ? fields[*identifier].lock() : nullptr) field->becomeFirstResponder();
    }
    // The fields in the order the window lays them out, the first after the last; a loop of one
    // field comes back to it, which changes nothing.
    void selectNextKeyView() override {
        auto at = std::find(loop.begin(), loop.end(), responder.value_or(""));
        auto next = at == loop.end() || std::next(at) == loop.end() ? loop.begin() : std::next(at);
        if (next == loop.end())
            makeFirstResponder(std::nullopt);
        else if (*next != responder)
            makeFirstResponder(*next);
    }
    platform::Subscription observeKeyStatus(std::function<void(bool)> changed) override {
        keyObservers.push_back(std::move(changed));
        return platform::Subscription(
            [this, alive = std::weak_ptr<bool>(alive_), index = keyObservers.size() - 1] {
                if (!alive.expired()) keyObservers[index] = nullptr;
            });
    }
    void showAlert(platform::Alert shown) override { alert = std::move(shown); }
    bool hasAlert() const override { return alert.has_value(); }
    void endAlert(std::size_t button) override {
        if (!alert) return;
        alert.reset();
        if (auto ended = handlers.sheetEnded) ended(static_cast<std::int64_t>(button));
    }
    void setEventHandlers(platform::WindowEventHandlers set) override { handlers = std::move(set); }
    void makeKeyAndOrderFront() override {}
    void orderFrontRegardless() override {}
    bool isVisible() const override { return true; }
    bool isKeyWindow() const override { return true; }
    void performClose() override {}
    void close() override {}
    platform::Subscription observeWillClose(std::function<void()>) override { return {}; }

    void resignKey() {
        for (auto observer : keyObservers)
            if (observer) observer(false);
    }
    void answer(const std::string& button) {
        ASSERT_TRUE(alert);
        const auto& buttons = alert->buttons;
        auto found =
            std::find_if(buttons.begin(), buttons.end(), [&](const auto& b) { return b.title == button; });
        ASSERT_NE(found, buttons.end()) << button;
        endAlert(static_cast<std::size_t>(found - buttons.begin()));
    }

    std::map<std::string, std::weak_ptr<KeyboardShortcuts::RecorderCocoa>> fields;
    std::vector<std::string> loop;
    std::optional<std::string> responder;
    std::vector<std::function<void(bool)>> keyObservers;
    std::optional<platform::Alert> alert;
    platform::WindowEventHandlers handlers;

private:
    platform::ViewNode content_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.launch();
        world.mac.keyboard().setOwnApplicationFrontmost(true);
        for (const auto& name : Hotkeys::allNames()) {
            fields.emplace_back(name);
            fields.back().recorder->setWindow(controller);
            window->fields[fields.back().recorder->identifier()] = fields.back().recorder;
            window->loop.push_back(fields.back().recorder->identifier());
        }
    }
    void record(const KeyboardShortcuts::Name& name) {
        window->makeFirstResponder("shortcut." + name.rawValue);
    }
    void type(std::uint16_t key, platform::ModifierFlags flags = 0) { world.press(key, flags); }
    const KeyboardShortcuts::RecorderCocoa& field(const KeyboardShortcuts::Name& name) {
        return *window->fields.at("shortcut." + name.rawValue).lock();
    }
    bool recording() { return KeyboardShortcuts::RecorderCocoa::activeRecorder() != nullptr; }
    const std::optional<platform::Alert>& alert() { return window->alert; }
    void answer(const std::string& button) {
        window->answer(button);
        world.mac.runUntilIdle();
    }
    bool hotKeyRegistered(std::uint32_t keyCode, std::uint32_t modifiers) {
        for (const auto& registration : world.mac.hotKeys().registrations()) {
            if (registration.keyCode == keyCode && registration.modifiers == modifiers) return true;
        }
        return false;
    }

    AppWorld world;
    std::shared_ptr<AlertWindow> window = std::make_shared<AlertWindow>();
    std::shared_ptr<TitledWindowController> controller = TitledWindowController::attach(window);
    std::vector<ShortcutField> fields;
};

TEST_F(RecorderTest, RecordingSilencesEveryHotKeyUntilEscapeEndsItUnchanged) {
    ASSERT_TRUE(hotKeyRegistered(45, platform::kCarbonOption));
    record(Hotkeys::clearAll);
    EXPECT_TRUE(recording());
    EXPECT_TRUE(KeyboardShortcuts::isPaused());
    EXPECT_EQ(field(Hotkeys::clearAll).placeholder(), "Press Shortcut");
    EXPECT_FALSE(hotKeyRegistered(45, platform::kCarbonOption)) << "Option-N reaches the field";
    EXPECT_FALSE(hotKeyRegistered(45, 6656)) << "so does the on/off chord";

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
    EXPECT_EQ(field(Hotkeys::clearAll).text(), "\u2325\u21E7N");
    EXPECT_EQ(field(Hotkeys::clearAll).placeholder(), "Record Shortcut");
    EXPECT_TRUE(hotKeyRegistered(45, platform::kCarbonOption));
    EXPECT_TRUE(hotKeyRegistered(45, 6656));
}

TEST_F(RecorderTest, AnAcceptedChordIsStoredShownAndLiveAndTheOnOffKeyFollowsItsNewChord) {
    record(Hotkeys::toggleSwitch);
    type(kC, kFlagControl | kFlagOption);
    EXPECT_FALSE(recording());
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::toggleSwitch),
              Shortcut(kC, platform::kCarbonControl | platform::kCarbonOption));
    EXPECT_EQ(field(Hotkeys::toggleSwitch).text(), "\u2303\u2325C");
    EXPECT_TRUE(hotKeyRegistered(kC, platform::kCarbonControl | platform::kCarbonOption));
    EXPECT_FALSE(hotKeyRegistered(45, 6656));

    // A plain letter would take over typing: refused with the reason, still recording.
    record(Hotkeys::openNotification);
    for (auto flags : {platform::ModifierFlags{0}, kFlagShift}) {
        type(kC, flags);
        ASSERT_TRUE(alert());
        EXPECT_EQ(alert()->message, "Add \u2303, \u2325 or \u2318, so that it doesn't take over typing.");
        answer("OK");
        EXPECT_TRUE(recording());
    }
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::openNotification), Hotkeys::openNotification.initialShortcut);
}

TEST_F(RecorderTest, DeleteRemovesTheChordTabMovesTheFocusOnAndLosingKeyStatusEndsRecording) {
    record(Hotkeys::openNotification);
    type(kDelete);
    EXPECT_FALSE(recording());
    EXPECT_EQ(field(Hotkeys::openNotification).text(), "");
    // A name with an initial chord remembers that the user removed it.
    EXPECT_EQ(world.mac.defaults().object("KeyboardShortcuts_openNotification"),
              platform::DefaultsValue(false));
    EXPECT_FALSE(hotKeyRegistered(45, platform::kCarbonOption));

    // Tab ends this field's recording and the next field of the key-view loop starts its own.
    record(Hotkeys::clearAll);
    type(kTab);
    EXPECT_EQ(window->firstResponder(), "shortcut." + Hotkeys::allNames().front().rawValue);
    EXPECT_EQ(KeyboardShortcuts::RecorderCocoa::activeRecorder().get(), &field(Hotkeys::allNames().front()));
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll), Hotkeys::clearAll.initialShortcut);
    type(kEscape);
    EXPECT_FALSE(recording());

    record(Hotkeys::clearAll);
    window->resignKey();
    EXPECT_FALSE(recording());
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
}

// The refusals' texts and "Use Anyway" are run by the refused-recording scenario; here that the
// recorder's own sheet and a Cancel leave the field recording with the old chord.
TEST_F(RecorderTest, TheRecordersOwnAlertsLeaveItRecordingWithTheOldChord) {
    record(Hotkeys::clearAll);
    type(kQ, kFlagCommand);
    ASSERT_TRUE(alert());
    EXPECT_NE(alert()->title.find("\"Quit\""), std::string::npos) << alert()->title;
    window->resignKey(); // the sheet takes key status while it asks
    EXPECT_TRUE(recording());
    answer("OK");

    type(kThree, kFlagCommand | kFlagShift);
    ASSERT_TRUE(alert());
    answer("Cancel");
    EXPECT_TRUE(recording());
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll), Hotkeys::clearAll.initialShortcut);

    // The user switches to another application while the question waits: it is answered as
    // Cancel and the hot keys work again, without waiting for the user to come back.
    world.mac.application().activateIgnoringOtherApps();
    type(kThree, kFlagCommand | kFlagShift);
    ASSERT_TRUE(alert());
    world.mac.application().deactivate();
    world.mac.runUntilIdle();
    EXPECT_FALSE(alert());
    EXPECT_FALSE(recording());
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
    EXPECT_TRUE(hotKeyRegistered(45, 6656)) << "the on/off key is back";
    EXPECT_EQ(KeyboardShortcuts::getShortcut(Hotkeys::clearAll), Hotkeys::clearAll.initialShortcut);
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
