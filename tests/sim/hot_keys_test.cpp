// The simulated hot-key service, application event queue and keyboard layouts, driven by the
// simulated keyboard: chords another application holds, presses routed through the dispatcher to
// their target, no hot-key events while a menu tracks (its keys wait in the application's queue),
// monitors, key repeats, and what keys type on each layout. What the real services promise as well
// is in tests/platform/hot_keys_contract_test.cpp.
#include "platform/hot_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

using sim::KeyChord;
using sim::LayoutId;
using sim::SimMac;

constexpr FourCharCode kOurs = fourCharCode("MWP1");
constexpr std::uint16_t kN = 45;
constexpr std::uint16_t kA = 0;
constexpr std::uint16_t kB = 11;
constexpr std::array<EventTypeSpec, 2> kPressAndRelease{
    {{kEventClassKeyboard, kEventHotKeyPressed}, {kEventClassKeyboard, kEventHotKeyReleased}}};

std::vector<std::uint16_t> keyCodes(const std::vector<Event>& events) {
    std::vector<std::uint16_t> codes;
    for (const auto& event : events)
        codes.push_back(event.keyCode);
    return codes;
}

TEST(SimHotKeys, AChordAnotherApplicationHoldsIsRefusedAndPressesReachThatApplication) {
    SimMac mac;
    HotKeys& hotKeys = *current().hotKeys;
    mac.hotKeys().holdForOtherApplication(kB, kCarbonCommand, "Xcode");
    EXPECT_EQ(hotKeys.registerHotKey(kB, kCarbonCommand, {kOurs, 4}, EventTarget::Application).status(),
              kEventHotKeyExistsErr);
    mac.keyboard().type({kB, kFlagCommand});
    EXPECT_EQ(mac.keyboard().otherApplicationHotKeyPresses(), std::vector<std::string>{"Xcode: 11"});

    auto ours =
        hotKeys.registerHotKey(kN, kCarbonOption, {kOurs, 1}, EventTarget::Application).takeRegistration();
    ours.unregister();
    EXPECT_FALSE(mac.hotKeys().isRegistered(kN, kCarbonOption)) << "the chord is given back to the system";
}

// A pressed hot key travels as Carbon's dispatcher sends it: the dispatcher's handlers first, then
// those of the registration's target.
TEST(SimHotKeys, PressesPassTheDispatcherOnTheirWayToTheirTarget) {
    SimMac mac;
    HotKeys& hotKeys = *current().hotKeys;
    std::vector<std::string> asked;
    auto note = [&](std::string who, OSStatus answer) {
        return [&asked, who, answer](const CarbonEvent& event) {
            asked.push_back(who + " " + std::to_string(event.kind));
            return answer;
        };
    };
    std::unique_ptr<InstalledEventHandler> application, dispatcher;
    hotKeys.installEventHandler(EventTarget::Application, kPressAndRelease, note("application", kNoErr),
                                application);
    hotKeys.installEventHandler(EventTarget::Dispatcher, kPressAndRelease,
                                note("dispatcher", kEventNotHandledErr), dispatcher);
    auto onApplication = hotKeys.registerHotKey(kN, kCarbonOption, {kOurs, 7}, EventTarget::Application);
    ASSERT_TRUE(onApplication.succeeded());
    mac.keyboard().type({kN, kFlagOption});
    EXPECT_EQ(asked,
              (std::vector<std::string>{"dispatcher 5", "application 5", "dispatcher 6", "application 6"}));

    // A hot key registered on the dispatcher stops there: the application's handler never hears it.
    asked.clear();
    onApplication.takeRegistration().unregister();
    auto onDispatcher = hotKeys.registerHotKey(kN, kCarbonOption, {kOurs, 8}, EventTarget::Dispatcher);
    ASSERT_TRUE(onDispatcher.succeeded());
    mac.keyboard().type({kN, kFlagOption});
    EXPECT_EQ(asked, (std::vector<std::string>{"dispatcher 5", "dispatcher 6"}));
    EXPECT_EQ(mac.hotKeys().deliveries().back().status, kEventNotHandledErr) << "nobody took the release";
}

TEST(SimHotKeys, WhileAMenuTracksKeysWaitInTheApplicationsQueueInsteadOfFiringHotKeys) {
    SimMac mac;
    ApplicationEvents& events = *current().events;
    int presses = 0;
    std::unique_ptr<InstalledEventHandler> handler;
    current().hotKeys->installEventHandler(
        EventTarget::Application, kPressAndRelease,
        [&](const CarbonEvent& event) {
            presses += event.kind == kEventHotKeyPressed;
            return kNoErr;
        },
        handler);
    auto registration =
        current().hotKeys->registerHotKey(kN, kCarbonOption, {kOurs, 1}, EventTarget::Application);
    std::vector<std::uint16_t> seenByLocalMonitor;
    auto monitor = events.addLocalMonitor(kKeyDownMask, [&](const Event& event) -> std::optional<Event> {
        seenByLocalMonitor.push_back(event.keyCode);
        return event;
    });
    // An observer in the tracking mode may take the first key-down and put it back.
    std::vector<std::uint16_t> peeked;
    auto observer = events.addRunLoopObserver(RunLoopMode::EventTracking, [&] {
        auto head = events.nextEvent(kAnyEventMask, RunLoopMode::EventTracking, Dequeue::No);
        if (!head || head->type != EventType::KeyDown) return;
        auto taken = events.nextEvent(kKeyDownMask, RunLoopMode::EventTracking, Dequeue::Yes);
        peeked.push_back(taken->keyCode);
        events.postEvent(*taken, QueueEnd::Front);
    });

    mac.beginMenuTracking();
    EXPECT_EQ(current().runLoop->currentMode(), RunLoopMode::EventTracking);
    mac.keyboard().type({kA});
    mac.keyboard().type({kN, kFlagOption});
    mac.keyboard().type({kB});
    mac.runUntilIdle();
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(keyCodes(mac.events().menuEvents()), (std::vector<std::uint16_t>{kA, kA, kN, kN, kB, kB}));
    EXPECT_EQ(peeked, (std::vector<std::uint16_t>{kA, kN, kB})) << "every key-down passed the observer";
    EXPECT_TRUE(seenByLocalMonitor.empty()) << "the menu takes its keys without showing them to monitors";
    EXPECT_EQ(mac.events().menuEvents()[2].modifierFlags, kFlagOption);

    mac.endMenuTracking();
    mac.keyboard().type({kN, kFlagOption});
    EXPECT_EQ(presses, 1);
    mac.keyboard().setOwnApplicationFrontmost(true);
    mac.keyboard().type({kA});
    mac.runUntilIdle();
    EXPECT_EQ(seenByLocalMonitor, std::vector<std::uint16_t>{kA});
    EXPECT_EQ(keyCodes(mac.events().keyWindowEvents()), (std::vector<std::uint16_t>{kA, kA}));
    EXPECT_EQ(peeked.size(), 3u) << "a tracking-mode observer rests while no menu tracks";
}

TEST(SimHotKeys, MonitorsSeeTheirEventsAndLocalOnesMayDropThem) {
    SimMac mac;
    ApplicationEvents& events = *current().events;
    std::vector<Event> global;
    auto globalMonitor =
        events.addGlobalMonitor(kKeyDownMask, [&](const Event& event) { global.push_back(event); });
    mac.keyboard().type({kA, kFlagShift});
    EXPECT_TRUE(global.empty()) << "global monitors hear of events on the main run loop";
    mac.runUntilIdle();
    ASSERT_EQ(global.size(), 1u);
    EXPECT_EQ(global[0].modifierFlags, kFlagShift);

    mac.keyboard().setOwnApplicationFrontmost(true);
    auto dropper =
        events.addLocalMonitor(kKeyDownMask | kKeyUpMask, [](const Event& event) -> std::optional<Event> {
            if (event.keyCode == kA) return std::nullopt;
            return event;
        });
    mac.keyboard().type({kA});
    mac.keyboard().type({126}); // the up arrow carries Function and numeric pad without either held
    mac.runUntilIdle();
    ASSERT_EQ(mac.events().keyWindowEvents().size(), 2u);
    EXPECT_EQ(mac.events().keyWindowEvents()[0].modifierFlags, kFlagFunction | kFlagNumericPad);
    EXPECT_EQ(global.size(), 1u) << "keys of this application do not reach global monitors";
}

TEST(SimHotKeys, AHeldKeyRepeatsUntilReleasedAndRepeatsNeverReachHotKeys) {
    SimMac mac;
    auto registration =
        current().hotKeys->registerHotKey(kN, kCarbonOption, {kOurs, 1}, EventTarget::Application);
    mac.keyboard().hold({kN, kFlagOption}, 1.0);
    mac.runFor(2);
    ASSERT_EQ(mac.hotKeys().deliveries().size(), 2u);
    EXPECT_EQ(mac.hotKeys().deliveries()[0].kind, kEventHotKeyPressed);
    EXPECT_EQ(mac.hotKeys().deliveries()[1].kind, kEventHotKeyReleased);

    mac.beginMenuTracking();
    mac.keyboard().hold({kA}, 1.0);
    mac.runFor(2);
    const auto& received = mac.events().menuEvents();
    ASSERT_EQ(received.size(), 7u) << "a press, repeats at 0.5 s to 0.9 s, the release at 1 s";
    EXPECT_FALSE(received.front().isARepeat);
    EXPECT_TRUE(received[1].isARepeat && received[5].isARepeat);
    EXPECT_EQ(received.back().type, EventType::KeyUp);
}

std::string typed(LayoutId id, std::uint16_t keyCode, KeyAction action = KeyAction::Display,
                  DeadKeys deadKeys = DeadKeys::Process) {
    auto layout = sim::SimKeyboardLayouts::layout(id);
    std::uint32_t state = 0;
    std::u16string out;
    auto status = layout->translate(keyCode, action, 0, sim::SimKeyboardLayouts::kKeyboardType, deadKeys,
                                    state, 4, out);
    if (status != kNoErr) return "error " + std::to_string(status);
    std::string text;
    for (char16_t unit : out)
        text += unit < 0x80 ? std::string(1, static_cast<char>(unit)) : "U+" + std::to_string(unit);
    return text;
}

TEST(SimKeyboardLayouts, KeysTypeWhatEachLayoutPutsThere) {
    EXPECT_EQ(typed(LayoutId::US, 16), "y");
    EXPECT_EQ(typed(LayoutId::German, 16), "z");
    EXPECT_EQ(typed(LayoutId::French, 12), "a");
    EXPECT_EQ(typed(LayoutId::French, 18), "&") << "digits need Shift on French";
    EXPECT_EQ(typed(LayoutId::Dvorak, 31), "r");
    EXPECT_EQ(typed(LayoutId::Dvorak, 8), "j");
    EXPECT_EQ(typed(LayoutId::PartialLatin, 31), "U+248") << "ø where o would be";
    EXPECT_EQ(typed(LayoutId::US, 83), "1") << "the keypad types digits everywhere";

    // The French circumflex is a dead key: shown, suppressed or waiting for the next key.
    EXPECT_EQ(typed(LayoutId::French, 33, KeyAction::Display), "^");
    EXPECT_EQ(typed(LayoutId::French, 33, KeyAction::Down, DeadKeys::Suppress), "^");
    EXPECT_EQ(typed(LayoutId::French, 33, KeyAction::Down, DeadKeys::Process), "");

    auto layout = sim::SimKeyboardLayouts::layout(LayoutId::US);
    std::uint32_t state = 0;
    std::u16string out;
    // Shift is the one modifier key a translation takes: capitals, and each layout's own symbols.
    auto shifted = [&](LayoutId id, std::uint16_t keyCode) {
        out.clear();
        sim::SimKeyboardLayouts::layout(id)->translate(keyCode, KeyAction::Down, kCarbonShift >> 8, 40,
                                                       DeadKeys::Suppress, state, 4, out);
        return std::string(out.begin(), out.end());
    };
    EXPECT_EQ(shifted(LayoutId::US, 0), "A");
    EXPECT_EQ(shifted(LayoutId::US, 18), "!");
    EXPECT_EQ(shifted(LayoutId::German, 26), "/");
    EXPECT_EQ(shifted(LayoutId::French, 18), "1");
    EXPECT_EQ(shifted(LayoutId::US, 36), "\r");
    EXPECT_EQ(
        layout->translate(0, KeyAction::Display, kCarbonOption >> 8, 40, DeadKeys::Process, state, 4, out),
        kParamErr);
    EXPECT_EQ(layout->translate(0, KeyAction::Display, 0, 40, DeadKeys::Process, state, 0, out),
              kUCOutputBufferTooSmall);
}

TEST(SimKeyboardLayouts, TheCurrentLayoutFollowsTheUsersChoice) {
    SimMac mac;
    KeyboardLayouts& layouts = *current().keyboardLayouts;
    std::uint32_t state = 0;
    std::u16string out;
    mac.keyboardLayouts().select(LayoutId::Dvorak);
    layouts.currentASCIICapableLayout()->translate(31, KeyAction::Display, 0, layouts.keyboardType(),
                                                   DeadKeys::Process, state, 4, out);
    EXPECT_EQ(out, u"r");
    mac.keyboardLayouts().setLayoutDataMissing(true);
    EXPECT_EQ(layouts.currentASCIICapableLayout(), nullptr);
}

TEST(SimSymbolicHotKeys, ReportsTheSystemShortcutsWithTheirEnabledState) {
    SimMac mac;
    std::vector<SymbolicHotKey> shortcuts;
    ASSERT_EQ(current().symbolicHotKeys->copySymbolicHotKeys(shortcuts), kNoErr);
    auto enabled = [&](std::int64_t code, std::int64_t modifiers) -> std::optional<bool> {
        for (const auto& entry : shortcuts) {
            if (std::get<std::int64_t>(entry.at(std::string(kSymbolicHotKeyCode))) == code &&
                std::get<std::int64_t>(entry.at(std::string(kSymbolicHotKeyModifiers))) == modifiers)
                return std::get<bool>(entry.at(std::string(kSymbolicHotKeyEnabled)));
        }
        return std::nullopt;
    };
    EXPECT_EQ(enabled(49, kCarbonCommand), true);
    EXPECT_EQ(enabled(49, kCarbonControl), true);
    EXPECT_EQ(enabled(20, kCarbonCommand | kCarbonShift), true);
    EXPECT_EQ(enabled(21, kCarbonCommand | kCarbonShift), true);
    EXPECT_EQ(enabled(23, kCarbonCommand | kCarbonShift), true);
    EXPECT_EQ(enabled(126, kCarbonControl), true);
    EXPECT_EQ(enabled(125, kCarbonControl), true);
    EXPECT_EQ(enabled(111, 0), true);
    EXPECT_EQ(enabled(49, kCarbonControl | kCarbonOption), false);

    mac.symbolicHotKeys().failNextCopy(-50);
    EXPECT_EQ(current().symbolicHotKeys->copySymbolicHotKeys(shortcuts), -50);
    EXPECT_TRUE(shortcuts.empty());
}

} // namespace
} // namespace marlowick::platform
