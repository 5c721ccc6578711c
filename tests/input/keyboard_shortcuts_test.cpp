// The hot-key engine against the simulated Mac: stored chords across restarts, untrusted stored
// values, registrations shared between names, the engine's modes (off, paused, a menu open) and
// the display text of chords on several layouts.
#include "input/keyboardshortcuts/keyboard_shortcuts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "input/keyboardshortcuts/hot_key_center.h"
#include "sim/sim_mac.h"

namespace KeyboardShortcuts {
namespace {

namespace platform = marlowick::platform;
using marlowick::sim::KeyChord;
using marlowick::sim::LayoutId;
using marlowick::sim::SimMac;

constexpr Shortcut kOptionN{45, platform::kCarbonOption};
constexpr Shortcut kToggleChord{45, 6656};
constexpr Shortcut kCommandB{11, platform::kCarbonCommand};
constexpr KeyChord kOptionNKeys{45, platform::kFlagOption};

// A home folder that outlives one simulated Mac, so that a second one is the next start.
class HomeFolder {
public:
    HomeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "marlowick-restart-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~HomeFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SimMac::Options options() const {
        SimMac::Options options;
        options.home = path_;
        return options;
    }

private:
    std::string path_;
};

std::vector<Shortcut> engineRegistrations(SimMac& mac) {
    std::vector<Shortcut> chords;
    for (const auto& registration : mac.hotKeys().registrations()) {
        if (registration.id.signature != HotKeyCenter::signature) continue;
        // The engine's chords go to the dispatcher, so that they act whatever window is in front.
        EXPECT_EQ(registration.target, platform::EventTarget::Dispatcher) << registration.keyCode;
        chords.push_back({registration.keyCode, registration.modifiers});
    }
    return chords;
}

std::size_t menuEventsOfKey(SimMac& mac, std::uint16_t keyCode) {
    std::size_t count = 0;
    for (const auto& event : mac.events().menuEvents())
        count += event.keyCode == keyCode;
    return count;
}

TEST(ShortcutStorage, InitialChordsAreStoredOnceAndARemovedChordStaysRemovedAcrossRestarts) {
    HomeFolder home;
    {
        SimMac mac(home.options());
        Name toggle("toggleSwitch", kToggleChord);
        auto stored = mac.defaults().string("KeyboardShortcuts_toggleSwitch");
        ASSERT_TRUE(stored.has_value());
        auto json = nlohmann::json::parse(*stored);
        EXPECT_EQ(json, (nlohmann::json{{"carbonKeyCode", 45}, {"carbonModifiers", 6656}}));

        std::vector<std::string> changed;
        auto observer =
            mac.notifications().observe(kShortcutByNameDidChange, [&](const platform::UserInfo& info) {
                changed.push_back(std::get<std::string>(info.at("name")));
            });
        setShortcut(std::nullopt, toggle);
        setShortcut(std::nullopt, toggle);
        EXPECT_EQ(mac.defaults().object("KeyboardShortcuts_toggleSwitch"), platform::DefaultsValue(false));
        EXPECT_EQ(getShortcut(toggle), std::nullopt);
        EXPECT_EQ(changed, std::vector<std::string>{"toggleSwitch"}) << "clearing twice changes once";

        setShortcut(kCommandB, Name("openNotification", kOptionN));
    }
    {
        SimMac mac(home.options());
        Name toggle("toggleSwitch", kToggleChord);
        Name open("openNotification", kOptionN);
        EXPECT_EQ(mac.defaults().object("KeyboardShortcuts_toggleSwitch"), platform::DefaultsValue(false))
            << "the initial chord does not come back at the next start";
        EXPECT_EQ(getShortcut(toggle), std::nullopt);
        EXPECT_EQ(getShortcut(open), kCommandB);

        reset({toggle, open});
        EXPECT_EQ(getShortcut(toggle), kToggleChord);
        EXPECT_EQ(getShortcut(open), kOptionN);

        Name custom("custom");
        setShortcut(kCommandB, custom);
        setShortcut(std::nullopt, custom);
        EXPECT_FALSE(mac.defaults().object("KeyboardShortcuts_custom").has_value())
            << "a name without an initial chord forgets it";
    }
}

TEST(ShortcutStorage, StoredValuesThatAreNotAChordReadAsNone) {
    struct Case {
        platform::DefaultsValue stored;
        std::optional<Shortcut> expected;
    };
    std::string deep(3000, '[');
    std::string invalidUtf8 = "{\"carbonKeyCode\":45,\"carbonModifiers\":2048,\"x\":\"\xff\"}";
    std::vector<Case> cases{
        {std::string(R"({"carbonKeyCode":45,"carbonModifiers":2048})"), kOptionN},
        {std::string(R"( {"carbonModifiers":256, "extra":[1,{"a":null}], "carbonKeyCode":11} )"), kCommandB},
        {std::string(R"({"carbonKeyCode":4294967295,"carbonModifiers":0})"), Shortcut(4294967295, 0)},
        {std::string(R"({"carbonKeyCode":45})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":-1,"carbonModifiers":0})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":4294967296,"carbonModifiers":0})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":45,"carbonModifiers":99999999999999999999999})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":45.0,"carbonModifiers":2048})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":"45","carbonModifiers":2048})"), std::nullopt},
        {std::string(R"({"carbonKeyCode":true,"carbonModifiers":2048})"), std::nullopt},
        {std::string(R"([45,2048])"), std::nullopt},
        {std::string("{\"carbonKeyCode\":45,"), std::nullopt},
        {std::string("option-n"), std::nullopt},
        {std::string(""), std::nullopt},
        {deep, std::nullopt},
        {invalidUtf8, std::nullopt},
        {std::string(R"({"carbonKeyCode":45,"carbonModifiers":2048,"pad":")") + std::string(5000, ' ') +
             "\"}",
         std::nullopt},
        {true, std::nullopt},
        {std::int64_t{45}, std::nullopt},
        {2048.0, std::nullopt},
    };
    SimMac mac;
    Name name("custom");
    for (const auto& [stored, expected] : cases) {
        mac.defaults().set(name.userDefaultsKey(), stored);
        EXPECT_EQ(getShortcut(name), expected)
            << testing::PrintToString(stored.index()) << " "
            << (stored.index() == 0 ? std::get<std::string>(stored).substr(0, 60) : std::string());
    }
}

TEST(HotKeyEngine, TwoNamesWithOneChordShareARegistrationUntilNeitherNeedsIt) {
    SimMac mac;
    Name open("openNotification", kOptionN);
    Name other("other");
    setShortcut(kOptionN, other);
    int openDowns = 0, openUps = 0, otherDowns = 0;
    onKeyDown(open, [&] { ++openDowns; });
    onKeyUp(open, [&] { ++openUps; });
    onKeyDown(other, [&] { ++otherDowns; });
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});

    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(openDowns, 1);
    EXPECT_EQ(openUps, 1);
    EXPECT_EQ(otherDowns, 1);

    disable({other});
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN}) << "open still needs the chord";
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(openDowns, 2);
    EXPECT_EQ(otherDowns, 1) << "a disabled name does not act";

    disable({open});
    EXPECT_TRUE(engineRegistrations(mac).empty());
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(openDowns, 2);
    EXPECT_EQ(mac.events().otherApplicationEvents().size(), 2u) << "the chord is free for other applications";

    enable({open, other});
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});
    setShortcut(kCommandB, other);
    EXPECT_EQ(engineRegistrations(mac), (std::vector<Shortcut>{kOptionN, kCommandB}));
    setShortcut(std::nullopt, open);
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kCommandB});
    mac.keyboard().type({11, platform::kFlagCommand});
    EXPECT_EQ(otherDowns, 2);
}

TEST(HotKeyEngine, ModesParkRegistrationsAndAMenuHandsChordsToTheKeyMonitors) {
    SimMac mac;
    Name open("openNotification", kOptionN);
    int downs = 0, ups = 0;
    onKeyDown(open, [&] { ++downs; });
    onKeyUp(open, [&] { ++ups; });

    setEnabled(false);
    EXPECT_TRUE(engineRegistrations(mac).empty());
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(downs, 0);
    setEnabled(true);
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});
    setPaused(true);
    EXPECT_TRUE(engineRegistrations(mac).empty()) << "a recorder at work takes every chord";
    setPaused(false);
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(downs, 1);

    mac.beginMenuTracking();
    EXPECT_EQ(HotKeyCenter::shared().mode(), HotKeyCenter::Mode::menuOpen);
    EXPECT_TRUE(engineRegistrations(mac).empty());
    mac.keyboard().type({0});
    mac.keyboard().type(kOptionNKeys);
    mac.keyboard().hold(kOptionNKeys, 1.0);
    mac.runFor(2);
    EXPECT_EQ(downs, 3) << "once per press, repeats included";
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(menuEventsOfKey(mac, 45), 0u) << "the chord does not reach the menu";
    EXPECT_EQ(menuEventsOfKey(mac, 0), 2u);

    mac.events().setLocalMonitorsSeeMenuEvents(true);
    mac.keyboard().type(kOptionNKeys);
    mac.runUntilIdle();
    EXPECT_EQ(downs, 4) << "seen by both key monitors, counted once";

    // F-keys' events carry the Function flag although the chord has none: it is dropped here too.
    Name function("functionKey", Shortcut{96, platform::kCarbonOption});
    int functionDowns = 0;
    onKeyDown(function, [&] { ++functionDowns; });
    mac.keyboard().type({96, platform::kFlagOption});
    mac.runUntilIdle();
    EXPECT_EQ(functionDowns, 1);
    setShortcut(std::nullopt, function);

    mac.endMenuTracking();
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(downs, 5);

    setEnabled(false);
    mac.beginMenuTracking();
    mac.keyboard().type(kOptionNKeys);
    mac.runUntilIdle();
    EXPECT_EQ(downs, 5);
    EXPECT_EQ(menuEventsOfKey(mac, 45), 2u) << "switched off, the engine leaves the menu's keys alone";
    mac.endMenuTracking();
    EXPECT_TRUE(engineRegistrations(mac).empty());
}

TEST(HotKeyEngine, AChordAnotherApplicationHoldsIsInactiveUntilTheNameIsRegisteredAgain) {
    SimMac mac;
    Name open("openNotification", kOptionN);
    int downs = 0;
    mac.hotKeys().holdForOtherApplication(45, platform::kCarbonOption, "Other");
    onKeyDown(open, [&] { ++downs; });
    EXPECT_TRUE(engineRegistrations(mac).empty());

    mac.hotKeys().releaseFromOtherApplication(45, platform::kCarbonOption);
    enable({open});
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});

    // Another application takes the chord while a menu has it parked: coming back fails quietly.
    mac.beginMenuTracking();
    mac.hotKeys().holdForOtherApplication(45, platform::kCarbonOption, "Other");
    mac.endMenuTracking();
    EXPECT_TRUE(engineRegistrations(mac).empty());
    mac.hotKeys().releaseFromOtherApplication(45, platform::kCarbonOption);
    setShortcut(kOptionN, open);
    EXPECT_EQ(engineRegistrations(mac), std::vector<Shortcut>{kOptionN});
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(downs, 1);
}

TEST(HotKeyEngine, EventsThatAreNotTheEnginesPassOnToTheApplicationsHandlers) {
    SimMac mac;
    Name open("openNotification", kOptionN);
    int engineDowns = 0;
    onKeyDown(open, [&] { ++engineDowns; });
    std::vector<std::uint32_t> applicationGot;
    std::unique_ptr<platform::InstalledEventHandler> handler;
    const platform::EventTypeSpec pressed{platform::kEventClassKeyboard, platform::kEventHotKeyPressed};
    mac.hotKeys().installEventHandler(
        platform::EventTarget::Application, {&pressed, 1},
        [&](const platform::CarbonEvent& event) {
            applicationGot.push_back(event.directObject->id);
            return platform::kNoErr;
        },
        handler);
    auto picker = mac.hotKeys().registerHotKey(18, 0, {platform::fourCharCode("MWP1"), 118},
                                               platform::EventTarget::Application);

    mac.keyboard().type({18});
    mac.keyboard().type(kOptionNKeys);
    EXPECT_EQ(applicationGot, std::vector<std::uint32_t>{118});
    EXPECT_EQ(engineDowns, 1);

    const auto press = platform::kEventHotKeyPressed;
    EXPECT_EQ(mac.hotKeys().dispatch(
                  {platform::kEventClassKeyboard, press, platform::HotKeyID{HotKeyCenter::signature, 999}}),
              platform::kNoErr)
        << "an id the engine does not know goes on to the application";
    EXPECT_EQ(applicationGot.back(), 999u);
    EXPECT_EQ(mac.hotKeys().dispatch({platform::kEventClassKeyboard, press, std::nullopt}),
              platform::kEventParameterNotFoundErr);
}

TEST(ShortcutDescription, ModifiersInFixedOrderThenTheKeysTextOnTheCurrentLayout) {
    SimMac mac;
    struct Case {
        Shortcut shortcut;
        LayoutId layout;
        std::string text;
    };
    std::vector<Case> cases{
        {kToggleChord, LayoutId::US, "⌃⌥⇧N"},
        {{0, platform::kCarbonCommand | platform::kCarbonShift}, LayoutId::US, "⇧⌘A"},
        {{45, platform::kCarbonFunction}, LayoutId::US, "\U0001F310\uFE0EN"},
        {{49, 0}, LayoutId::US, "Space"},
        {{36, platform::kCarbonCommand}, LayoutId::US, "⌘↩"},
        {{111, 0}, LayoutId::French, "F12"},
        {{114, 0}, LayoutId::US, "?\u20DD"},
        {{83, 0}, LayoutId::US, "1\u20E3"},
        {{71, 0}, LayoutId::US, "\u2612\u20E3"},
        {{16, 0}, LayoutId::German, "Z"},
        {{18, platform::kCarbonOption}, LayoutId::French, "⌥&"},
        {{33, 0}, LayoutId::French, "^"},
        {{45, 0}, LayoutId::Dvorak, "B"},
        {{27, 0}, LayoutId::German, "SS"},
        {{41, 0}, LayoutId::German, "Ö"},
        {{31, 0}, LayoutId::PartialLatin, "Ø"},
        {{56, 0}, LayoutId::US, "\uFFFD"},
        {{70000, 0}, LayoutId::US, "\uFFFD"},
        {{-3, 0}, LayoutId::US, "\uFFFD"},
    };
    for (const auto& [shortcut, layout, text] : cases) {
        mac.keyboardLayouts().select(layout);
        EXPECT_EQ(shortcut.description(), text) << shortcut.carbonKeyCode << "/" << shortcut.carbonModifiers;
    }
    mac.keyboardLayouts().setLayoutDataMissing(true);
    EXPECT_EQ(kOptionN.description(), "⌥\uFFFD");
}

TEST(ShortcutChord, EventsGiveChordsWithoutCapsLockOrFunctionAndTheSystemKeepsItsOwn) {
    SimMac mac;
    platform::Event event{platform::EventType::KeyDown, 126,
                          platform::kFlagControl | platform::kFlagFunction | platform::kFlagCapsLock |
                              platform::kFlagNumericPad};
    EXPECT_EQ(Shortcut::fromEvent(event), Shortcut(126, platform::kCarbonControl));
    event.type = platform::EventType::LeftMouseDown;
    EXPECT_EQ(Shortcut::fromEvent(event), std::nullopt);
    EXPECT_EQ(Shortcut(Key::n, platform::kFlagOption | platform::kFlagHelp), kOptionN);
    EXPECT_EQ(kToggleChord.modifiers(),
              platform::kFlagControl | platform::kFlagOption | platform::kFlagShift);

    EXPECT_TRUE(Shortcut(126, platform::kCarbonControl).isTakenBySystem()) << "Mission Control";
    EXPECT_TRUE(Shortcut(49, platform::kCarbonCommand).isTakenBySystem());
    EXPECT_FALSE(Shortcut(111, 0).isTakenBySystem()) << "F12 is listed but free";
    EXPECT_FALSE(Shortcut(49, platform::kCarbonControl | platform::kCarbonOption).isTakenBySystem())
        << "a disabled system shortcut is free";
    EXPECT_FALSE(kOptionN.isTakenBySystem());
    mac.symbolicHotKeys().failNextCopy(-50);
    EXPECT_FALSE(Shortcut(49, platform::kCarbonCommand).isTakenBySystem());
}

} // namespace
} // namespace KeyboardShortcuts
