// Marlowick's own hot keys against the simulated Mac: the on/off key through menus, recorders and
// re-recording, and the picker keys with their numbering, failures and Vim letters per layout.
#include "input/hotkeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "input/keyboardshortcuts/hot_key_center.h"
#include "sim/sim_mac.h"

namespace marlowick {
namespace {

using KeyboardShortcuts::Shortcut;
using sim::KeyChord;
using sim::LayoutId;
using sim::SimMac;

constexpr KeyChord kToggleKeys{45, platform::kFlagControl | platform::kFlagOption | platform::kFlagShift};
constexpr std::uint16_t kA = 0, kB = 11, kC = 8;

struct Registered {
    std::uint32_t keyCode;
    std::uint32_t modifiers;
    std::uint32_t number;
    friend bool operator==(const Registered&, const Registered&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Registered& r) {
        return out << r.keyCode << "/" << r.modifiers << "#" << r.number;
    }
};

std::vector<Registered> ourRegistrations(SimMac& mac) {
    std::vector<Registered> list;
    for (const auto& registration : mac.hotKeys().registrations()) {
        if (registration.id.signature != Hotkeys::signature) continue;
        // Our handler sits on the application; a dispatcher-target key would never reach it.
        EXPECT_EQ(registration.target, platform::EventTarget::Application) << registration.keyCode;
        list.push_back({registration.keyCode, registration.modifiers, registration.id.id});
    }
    return list;
}

std::vector<Registered> vimRegistrations(SimMac& mac) {
    auto all = ourRegistrations(mac);
    std::erase_if(all, [](const Registered& r) { return r.number < Hotkeys::kVimKeyBase; });
    return all;
}

std::vector<std::uint16_t> menuKeyDowns(SimMac& mac) {
    std::vector<std::uint16_t> codes;
    for (const auto& event : mac.events().menuEvents()) {
        if (event.type == platform::EventType::KeyDown) codes.push_back(event.keyCode);
    }
    return codes;
}

class HotkeysTest : public testing::Test {
protected:
    void SetUp() override {
        Hotkeys::installHotkeyEventHandler();
        Hotkeys::install([this] { ++toggles; });
    }

    SimMac mac;
    int toggles = 0;
};

TEST_F(HotkeysTest, TheOnOffChordTogglesOnceWhileAMenuTracksAndOtherKeysKeepTheirOrder) {
    EXPECT_EQ(ourRegistrations(mac), (std::vector<Registered>{{45, 6656, 1}}));
    mac.keyboard().type(kToggleKeys);
    EXPECT_EQ(toggles, 0) << "the handler only schedules the toggle";
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 1);

    mac.beginMenuTracking();
    EXPECT_TRUE(ourRegistrations(mac).empty());
    // Overlapping presses queue several key-downs before the menu's next turn.
    for (KeyChord chord : {KeyChord{kA}, kToggleKeys, KeyChord{kB}})
        mac.keyboard().press(chord);
    for (KeyChord chord : {KeyChord{kA}, kToggleKeys, KeyChord{kB}})
        mac.keyboard().release(chord);
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 2);
    mac.keyboard().hold(kToggleKeys, 1.0);
    mac.keyboard().type({kC});
    mac.runFor(2);
    EXPECT_EQ(toggles, 3) << "a held chord toggles once";
    EXPECT_EQ(menuKeyDowns(mac), (std::vector<std::uint16_t>{kA, kB, kC}));

    // A key-down the drain did not see (here posted behind its back) meets the key filter.
    mac.events().setLocalMonitorsSeeMenuEvents(true);
    auto& events = *platform::current().events;
    auto late = events.addRunLoopObserver(platform::RunLoopMode::EventTracking, [&] {
        static bool posted = false;
        // Not from inside the drain's peeks, which would show the event to the drain.
        if (mac.events().runLoopObserverDepth() > 1 || std::exchange(posted, true)) return;
        events.postEvent(mac.events().makeKeyEvent(platform::EventType::KeyDown, 45,
                                                   sim::SimKeyboard::eventFlags(kToggleKeys), false),
                         platform::QueueEnd::Front);
    });
    mac.keyboard().type({kA});
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 4);
    EXPECT_EQ(menuKeyDowns(mac), (std::vector<std::uint16_t>{kA, kB, kC, kA}));
    late.cancel();

    mac.endMenuTracking();
    EXPECT_EQ(ourRegistrations(mac), (std::vector<Registered>{{45, 6656, 1}}));
    mac.keyboard().type(kToggleKeys);
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 5);
}

// Each peek at the queue runs the run loop once, so work of ours that falls due runs inside the
// drain; the toggle the drain schedules waits until the drain is over.
TEST_F(HotkeysTest, WorkDueDuringTheMenuDrainRunsInItsPeeksButTheToggleWaitsForItsEnd) {
    int toggleDepth = -1;
    Hotkeys::install([&] {
        ++toggles;
        toggleDepth = mac.events().runLoopObserverDepth();
    });
    mac.beginMenuTracking();
    for (KeyChord chord : {KeyChord{kA}, kToggleKeys, KeyChord{kB}})
        mac.keyboard().type(chord);
    int taskDepth = -1;
    platform::current().runLoop->async([&] { taskDepth = mac.events().runLoopObserverDepth(); });
    mac.runUntilIdle();
    EXPECT_EQ(taskDepth, 1) << "a task due at the first peek ran inside the drain";
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(toggleDepth, 0);
    EXPECT_EQ(menuKeyDowns(mac), (std::vector<std::uint16_t>{kA, kB}));
    mac.endMenuTracking();
}

TEST_F(HotkeysTest, TheOnOffKeyFollowsRecordersTheStoredChordAndNotTheEngine) {
    KeyboardShortcuts::setEnabled(false);
    EXPECT_EQ(ourRegistrations(mac).size(), 1u) << "the on/off key works while Marlowick is off";

    auto& bus = mac.notifications();
    bus.post("KeyboardShortcuts_recorderActiveStatusDidChange", {{"isActive", true}});
    EXPECT_TRUE(ourRegistrations(mac).empty()) << "a recording recorder gets the chord";
    KeyboardShortcuts::setShortcut(Shortcut(11, platform::kCarbonCommand), Hotkeys::toggleSwitch);
    bus.post("KeyboardShortcuts_recorderActiveStatusDidChange", {{"isActive", std::string("yes")}});
    EXPECT_EQ(ourRegistrations(mac), (std::vector<Registered>{{11, 256, 1}}))
        << "not a Boolean counts as false";

    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::toggleSwitch);
    Hotkeys::registerToggleHotKey();
    EXPECT_TRUE(ourRegistrations(mac).empty());
    EXPECT_TRUE(mac.logLines().empty()) << "a cleared chord is no failure";

    KeyboardShortcuts::reset({Hotkeys::toggleSwitch});
    mac.hotKeys().holdForOtherApplication(45, 6656, "Other");
    Hotkeys::registerToggleHotKey();
    EXPECT_EQ(mac.logLines(),
              std::vector<std::string>{"Could not register the on/off shortcut — status -9878"});
    EXPECT_TRUE(ourRegistrations(mac).empty());
}

TEST_F(HotkeysTest, EventsOfOtherSignaturesAreNotMarlowicks) {
    std::vector<int> received;
    Hotkeys::setPickerKeyReceiver([&](int code) { received.push_back(code); });
    // The engine numbers its own hot keys from 1 too. One of its events that its handler does not
    // take (the hot key just went, or a menu opened) travels on to the application's handlers.
    auto engineEvent = [](std::uint32_t number) {
        return platform::CarbonEvent{platform::kEventClassKeyboard, platform::kEventHotKeyPressed,
                                     platform::HotKeyID{KeyboardShortcuts::HotKeyCenter::signature, number}};
    };
    mac.hotKeys().dispatch(engineEvent(1));
    mac.hotKeys().dispatch(engineEvent(120));
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 0);
    EXPECT_TRUE(received.empty());

    EXPECT_EQ(mac.hotKeys().dispatch({platform::kEventClassKeyboard, platform::kEventHotKeyPressed, {}}),
              platform::kNoErr)
        << "an event without an identifier is taken and does nothing";
    EXPECT_EQ(
        mac.hotKeys().dispatch(
            {platform::kEventClassKeyboard, platform::kEventHotKeyPressed, {{Hotkeys::signature, 120}}}),
        platform::kNoErr);
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(received, std::vector<int>{20});
}

TEST_F(HotkeysTest, PickerKeysAreRegisteredOnceReleasedFullyAndNumberedForTheOverlay) {
    std::vector<int> received;
    mac.hotKeys().holdForOtherApplication(19, 0, "Other"); // the digit 2
    Hotkeys::registerPickerKeys();
    Hotkeys::registerPickerKeys();
    EXPECT_EQ(mac.logLines(), std::vector<std::string>{"Could not register picker key 19 — status -9878"});
    auto held = ourRegistrations(mac);
    EXPECT_EQ(held.size(), 1u + 7u + 17u) << "the on/off key, the control keys and every digit key but one";
    for (auto keyCode : {53, 36, 76, 126, 125, 123, 124, 18, 83, 92}) {
        EXPECT_EQ(std::count(held.begin(), held.end(), Registered{std::uint32_t(keyCode), 0, 100u + keyCode}),
                  1)
            << keyCode;
    }
    EXPECT_TRUE(vimRegistrations(mac).empty()) << "Vim letters stay free unless enabled";

    mac.keyboard().type({20}); // 3 with no receiver: ignored
    mac.runUntilIdle();
    Hotkeys::setPickerKeyReceiver([&](int code) { received.push_back(code); });
    mac.keyboard().type({20});
    mac.keyboard().type({53});
    mac.keyboard().type({85});
    mac.runUntilIdle();
    EXPECT_EQ(received, (std::vector<int>{20, 53, 85}));

    Hotkeys::unregisterPickerKeys();
    Hotkeys::unregisterPickerKeys();
    EXPECT_EQ(ourRegistrations(mac), (std::vector<Registered>{{45, 6656, 1}}));
    mac.keyboard().type({20});
    mac.runUntilIdle();
    EXPECT_EQ(received.size(), 3u);

    mac.defaults().set("vimKeys", true);
    Hotkeys::registerPickerKeys();
    mac.keyboard().type({5, platform::kFlagShift});
    mac.keyboard().type({38});
    mac.runUntilIdle();
    EXPECT_EQ(received, (std::vector<int>{20, 53, 85, 305, 300}));
}

TEST_F(HotkeysTest, VimLettersFollowTheLayoutAndFallBackToUSPositions) {
    mac.defaults().set("vimKeys", true);
    struct Case {
        LayoutId layout;
        std::vector<Registered> expected;
    };
    const std::vector<Registered> us{{38, 0, 400}, {40, 0, 401},  {31, 0, 402}, {2, 0, 403},
                                     {5, 0, 404},  {5, 512, 405}, {37, 0, 406}, {4, 0, 407}};
    std::vector<Case> cases{
        {LayoutId::US, us},
        {LayoutId::German, us},
        {LayoutId::French, us},
        {LayoutId::Dvorak,
         {{8, 0, 400},
          {9, 0, 401},
          {1, 0, 402},
          {4, 0, 403},
          {32, 0, 404},
          {32, 512, 405},
          {35, 0, 406},
          {38, 0, 407}}},
        {LayoutId::PartialLatin, us},
    };
    for (const auto& [layout, expected] : cases) {
        mac.keyboardLayouts().select(layout);
        Hotkeys::registerPickerKeys();
        EXPECT_EQ(vimRegistrations(mac), expected) << static_cast<int>(layout);
        Hotkeys::unregisterPickerKeys();
    }
    EXPECT_EQ(mac.logLines(),
              std::vector<std::string>{"Vim key o is not on the layout; using the US key code"})
        << "only the layout without a Latin o needs the fallback";

    mac.keyboardLayouts().select(LayoutId::French);
    auto french = Hotkeys::layoutKeyCodes();
    EXPECT_EQ(french.at("&"), 18);
    EXPECT_EQ(french.at("1"), 83) << "typed by the keypad only; the lowest key code wins elsewhere";
    EXPECT_EQ(french.at("^"), 33) << "dead keys count as what they show";
    EXPECT_EQ(french.at("a"), 12);

    mac.keyboardLayouts().setLayoutDataMissing(true);
    EXPECT_TRUE(Hotkeys::layoutKeyCodes().empty());
    Hotkeys::registerPickerKeys();
    EXPECT_EQ(vimRegistrations(mac), us);
    EXPECT_EQ(mac.logLines().size(), 9u) << "each letter says it fell back";
    EXPECT_EQ(mac.logLines().back(), "Vim key h is not on the layout; using the US key code");
}

} // namespace
} // namespace marlowick
