#include "input/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "input/hotkeys.h"
#include "sim/sim_mac.h"

namespace marlowick {
namespace {

using platform::Color;
using platform::DefaultsValue;
using Arguments = std::vector<std::string>;

class SettingsTest : public ::testing::Test {
protected:
    platform::UserDefaults& defaults() { return mac_.defaults(); }
    void launchWith(Arguments arguments) { mac_.process().setArguments(std::move(arguments)); }

    sim::SimMac mac_;
};

struct EnumCase {
    Arguments arguments;
    const char* stored; // "openMode" as stored; nullptr for none
    OpenMode expected;
};

TEST_F(SettingsTest, ModeOverrideTakesOnlyAnExactRawValueInTheNextArgument) {
    const EnumCase cases[] = {
        {{"--mode", "pick"}, "next", OpenMode::pick},
        {{"-v", "--mode", "next", "--stacks", "keep"}, nullptr, OpenMode::next},
        {{"--mode"}, "next", OpenMode::next},         // flag last
        {{"--mode"}, nullptr, OpenMode::badges},      // flag last, nothing stored
        {{"--mode", "Pick"}, "next", OpenMode::next}, // raw values are case-sensitive
        {{"--mode", "Pick"}, nullptr, OpenMode::badges},
        {{"--mode=pick"}, "next", OpenMode::next}, // joined with "=" is another argument
        {{"--mode", "next", "--mode", "pick"}, nullptr, OpenMode::next}, // the first flag counts
        {{"--mode", "--mode", "pick"}, nullptr, OpenMode::badges},       // its value is "--mode"
        {{"pick", "--mode"}, nullptr, OpenMode::badges},                 // a value before the flag
        {{"--MODE", "pick"}, nullptr, OpenMode::badges},                 // flags are case-sensitive
        {{}, "Next", OpenMode::badges},                                  // stored values too
        {{}, "", OpenMode::badges},
    };
    for (const auto& c : cases) {
        launchWith(c.arguments);
        if (c.stored) {
            defaults().set(SettingsKey::openMode, std::string(c.stored));
        } else {
            defaults().remove(SettingsKey::openMode);
        }
        std::string described;
        for (const auto& a : c.arguments)
            described += "[" + a + "]";
        EXPECT_EQ(AppSettings::openMode(), c.expected)
            << described << " stored " << (c.stored ? c.stored : "none");
    }
}

TEST_F(SettingsTest, EachEnumerationHasItsOwnFlagKeyAndDefault) {
    // The other defaults show in the start-up line and the settings window, which scenarios read.
    EXPECT_EQ(AppSettings::stackStyle(), StackStyle::expandPill);

    defaults().set("nextStyle", std::string("show"));
    defaults().set("stacks", std::int64_t{1}); // not a string
    defaults().set("stackStyle", std::string("dotted"));
    defaults().set("ringReveal", std::string("glow"));
    defaults().set("menuBarIcon", std::string("wideDotFill"));
    EXPECT_EQ(AppSettings::nextStyle(), NextStyle::show);
    EXPECT_EQ(AppSettings::stacks(), StackMode::expand);
    EXPECT_EQ(AppSettings::stackStyle(), StackStyle::dotted);
    EXPECT_EQ(AppSettings::ringReveal(), RingReveal::glow);
    EXPECT_EQ(AppSettings::menuBarIcon(), MenuBarIcon::wideDotFill);

    // What each flag forces shows in the settings window, which scenarios read.
    launchWith({"--menu-bar-icon", "wideDot"});
    EXPECT_EQ(AppSettings::menuBarIcon(), MenuBarIcon::wideDotFill) << "the icon has no override";
}

TEST_F(SettingsTest, ColourOverrideFallsBackToGreenNotToTheStoredColour) {
    struct Case {
        Arguments arguments;
        DefaultsValue stored;
        std::string expected;
    };
    const Case cases[] = {
        {{"--color", "#abc"}, std::string("violet"), "green"},
        {{"--color", "Violet"}, std::string("blue"), "violet"},
        {{"--color", "#30D158"}, std::string("blue"), "#30d158"},
        {{"--color", "#0x1234"}, std::string("blue"), "green"},
        {{"--color"}, std::string("AMBER"), "amber"}, // flag last: the stored colour
        {{}, std::string("#12345"), "green"},
        {{}, std::string("#0A84FF"), "#0a84ff"},
        {{}, std::string(" blue"), "green"},
        {{}, std::int64_t{0x30D158}, "green"},
    };
    for (const auto& c : cases) {
        launchWith(c.arguments);
        defaults().set(SettingsKey::highlightColor, c.stored);
        EXPECT_EQ(AppSettings::highlightColor(), c.expected)
            << (c.arguments.empty() ? "" : c.arguments.back());
    }
    launchWith({"--color", "pink"});
    defaults().set(SettingsKey::highlightColor, std::string("Blue"));
    EXPECT_EQ(AppSettings::storedHighlightColor(), "blue") << "the stored colour ignores the flag";
}

TEST_F(SettingsTest, BooleansTakeOnlyStoredBooleansAndFlagsForceOneWay) {
    EXPECT_FALSE(AppSettings::vimKeys());
    EXPECT_TRUE(AppSettings::showPickerKeys());

    // The strict Boolean read of the defaults: a string is no Boolean, the number 0 is false.
    defaults().set("vimKeys", std::string("true"));
    defaults().set("showPickerKeys", std::int64_t{0});
    EXPECT_FALSE(AppSettings::vimKeys());
    EXPECT_FALSE(AppSettings::showPickerKeys());

    defaults().set("vimKeys", false);
    defaults().set("showPickerKeys", true);
    defaults().set("autoBadges", true);
    launchWith({"--no-auto-badges", "--vim-keys", "--no-picker-keys"});
    EXPECT_TRUE(AppSettings::vimKeys());
    EXPECT_FALSE(AppSettings::showPickerKeys());
    EXPECT_FALSE(AppSettings::autoBadges());

    launchWith({});
    defaults().set("isOn", false);
    EXPECT_FALSE(AppSettings::autoBadges()) << "no automatic badges while switched off";
    EXPECT_FALSE(AppSettings::isOn());
}

TEST_F(SettingsTest, ReadsAfreshAndNeverStoresAnOverride) {
    launchWith({"--mode", "next", "--color", "pink", "--vim-keys", "--no-auto-badges", "--mode"});
    int changes = 0;
    auto observer = mac_.notifications().observe(platform::kUserDefaultsDidChange,
                                                 [&](const platform::UserInfo&) { ++changes; });
    EXPECT_EQ(AppSettings::openMode(), OpenMode::next);
    EXPECT_EQ(AppSettings::highlightColor(), "pink");
    EXPECT_TRUE(AppSettings::vimKeys());
    EXPECT_FALSE(AppSettings::autoBadges());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(defaults().object(SettingsKey::openMode), std::nullopt);

    EXPECT_EQ(AppSettings::stacks(), StackMode::expand);
    defaults().set(SettingsKey::stacks, std::string("keep"));
    EXPECT_EQ(AppSettings::stacks(), StackMode::keep)
        << "a value written meanwhile is in force at the next read";
    EXPECT_TRUE(AppSettings::hasOverride("--mode"));
    EXPECT_FALSE(AppSettings::hasOverride("--stacks"));
}

TEST(SettingsColour, ResolvesPaletteNamesAndSixHexDigitsOnly) {
    struct Case {
        std::string text;
        std::optional<Color> expected;
    };
    const Color green{0x30 / 255.0, 0xD1 / 255.0, 0x58 / 255.0, 1};
    const Case cases[] = {
        {"green", green},
        {"GREEN", green},
        {"#30d158", green},
        {"blue", Color{0x0A / 255.0, 0x84 / 255.0, 1, 1}},
        {"PIN\xE2\x84\xAA",
         Color{1, 0x37 / 255.0, 0x5F / 255.0, 1}}, // with the Kelvin sign: "pink" lower-cased
        {"#000000", Color{0, 0, 0, 1}},
        {"", std::nullopt},
        {"#30d15", std::nullopt},
        {"#30d1588", std::nullopt},
        {"#30d15g", std::nullopt},
        {"#+30d15", std::nullopt},
        {"#-30d15", std::nullopt},
        {"# 30d15", std::nullopt},
        {"#0x30d1", std::nullopt},
        {"green ", std::nullopt},
        {std::string("#30d1\0"
                     "8",
                     7),
         std::nullopt},
        {std::string(100000, 'a'), std::nullopt},
    };
    for (const auto& c : cases) {
        auto resolved = AppSettings::resolveColor(c.text);
        ASSERT_EQ(resolved.has_value(), c.expected.has_value()) << c.text.substr(0, 20);
        if (!resolved) continue;
        EXPECT_DOUBLE_EQ(resolved->red, c.expected->red) << c.text;
        EXPECT_DOUBLE_EQ(resolved->green, c.expected->green) << c.text;
        EXPECT_DOUBLE_EQ(resolved->blue, c.expected->blue) << c.text;
        EXPECT_EQ(resolved->alpha, 1.0) << c.text;
    }
}

TEST(SettingsColour, ContrastingTextIsBlackOnlyOnLightColours) {
    const Color black{0, 0, 0, 1}, white{1, 1, 1, 1};
    // The palette: green and amber are light enough for black digits.
    const std::pair<const char*, Color> palette[] = {
        {"green", black}, {"amber", black}, {"blue", white}, {"violet", white}, {"pink", white}};
    for (const auto& [name, expected] : palette) {
        EXPECT_EQ(AppSettings::contrastingTextColor(*AppSettings::resolveColor(name)), expected) << name;
    }
    EXPECT_EQ(AppSettings::contrastingTextColor({0.61, 0.61, 0.61, 1}), black);
    EXPECT_EQ(AppSettings::contrastingTextColor({0.59, 0.59, 0.59, 1}), white);
    EXPECT_EQ(AppSettings::contrastingTextColor({0, 1, 0, 1}), black) << "green weighs most";
    EXPECT_EQ(AppSettings::contrastingTextColor({1, 0, 1, 1}), white);
    EXPECT_EQ(AppSettings::contrastingTextColor({0.9, 0.9, 0.9, 0}), black) << "alpha does not count";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(AppSettings::contrastingTextColor({nan, 1, 1, 1}), white);
    EXPECT_EQ(AppSettings::contrastingTextColor({1, inf, 1, 1}), white);
    EXPECT_EQ(AppSettings::contrastingTextColor({-4, -4, -4, 1}), white);
    EXPECT_EQ(AppSettings::contrastingTextColor({0.5, 3, 0.5, 1}), black) << "extended range counts as 1";
}

TEST_F(SettingsTest, BehaviourAndAppearanceGroupsLookOnlyAtStoredValues) {
    launchWith({"--mode", "pick", "--color", "pink", "--no-auto-badges"});
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::behavior));
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::appearance));

    // Values that read as their defaults count as defaults.
    defaults().set("openMode", std::string("no such mode"));
    defaults().set("autoBadges", std::string("false"));
    defaults().set("highlightColor", std::string("GREEN"));
    defaults().set("ringReveal", std::int64_t{3});
    defaults().set("menuBarIcon", std::string("wideDotStack"));
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::behavior));
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::appearance));

    for (auto [key, value] : {std::pair<std::string_view, DefaultsValue>{"openMode", std::string("pick")},
                              {"nextStyle", std::string("show")},
                              {"stacks", std::string("keep")},
                              {"autoBadges", std::int64_t{0}}}) {
        defaults().set(key, value);
        EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::behavior)) << key;
        EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::appearance)) << key;
        defaults().remove(key);
    }
    for (auto [key, value] :
         {std::pair<std::string_view, DefaultsValue>{"highlightColor", std::string("#30d158")},
          {"stackStyle", std::string("dotted")},
          {"ringReveal", std::string("none")},
          {"menuBarIcon", std::string("wideDot")}}) {
        defaults().set(key, value);
        EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::appearance)) << key;
        EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::behavior)) << key;
        defaults().remove(key);
    }
}

TEST_F(SettingsTest, RestoringAGroupRemovesOnlyItsKeys) {
    const std::pair<std::string_view, DefaultsValue> chosen[] = {
        {"openMode", std::string("next")},
        {"nextStyle", std::string("show")},
        {"stacks", std::string("keep")},
        {"autoBadges", false},
        {"highlightColor", std::string("pink")},
        {"stackStyle", std::string("silhouette")},
        {"ringReveal", std::string("pop")},
        {"menuBarIcon", std::string("wideDotFill")},
        {"isOn", false},
        {"pickerKeysOpen", true},
    };
    for (const auto& [key, value] : chosen)
        defaults().set(key, value);

    AppSettings::restoreDefaults(RestoreGroup::appearance);
    EXPECT_EQ(AppSettings::menuBarIcon(), MenuBarIcon::wideDotStack);
    EXPECT_EQ(AppSettings::highlightColor(), "green");
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::appearance));
    EXPECT_EQ(AppSettings::openMode(), OpenMode::next) << "another group's value stays";
    EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::behavior));

    AppSettings::restoreDefaults(RestoreGroup::behavior);
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::behavior));
    for (auto key : {"openMode", "nextStyle", "stacks", "autoBadges", "highlightColor", "stackStyle",
                     "ringReveal", "menuBarIcon"}) {
        EXPECT_EQ(defaults().object(key), std::nullopt) << key << " is removed, not written as its default";
    }
    EXPECT_FALSE(AppSettings::isOn()) << "the on/off switch belongs to no group";
    EXPECT_TRUE(defaults().plainBoolean("pickerKeysOpen"));
}

TEST_F(SettingsTest, ShortcutsGroupComparesStoredChordsWithTheInitialOnes) {
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::shortcuts)) << "a fresh installation";
    defaults().set("vimKeys", std::string("yes"));     // not a Boolean: reads as the default
    defaults().set("showPickerKeys", std::int64_t{1}); // the number 1 is the default true
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));

    defaults().set("vimKeys", true);
    EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));
    defaults().remove("vimKeys");
    defaults().set("showPickerKeys", std::int64_t{0});
    EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));
    defaults().remove("showPickerKeys");

    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::toggleSwitch); // stored as Boolean false
    EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));
    KeyboardShortcuts::reset({Hotkeys::toggleSwitch});
    KeyboardShortcuts::setShortcut(KeyboardShortcuts::Shortcut(45, 2048 | 256), Hotkeys::clearAll);
    EXPECT_FALSE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));
    KeyboardShortcuts::setShortcut(KeyboardShortcuts::Shortcut(45, 2560), Hotkeys::clearAll);
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::shortcuts)) << "the initial chord chosen again";

    launchWith({"--vim-keys", "--no-picker-keys"});
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::shortcuts)) << "flags do not count";
}

TEST_F(SettingsTest, RestoringShortcutsMakesTheInitialOnOffChordLiveAtOnce) {
    int toggles = 0;
    Hotkeys::installHotkeyEventHandler();
    Hotkeys::install([&] { ++toggles; });
    const sim::KeyChord onOff{45, platform::kFlagControl | platform::kFlagOption | platform::kFlagShift};

    // The user clears the on/off chord and re-records another name's in the settings window.
    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::toggleSwitch);
    KeyboardShortcuts::setShortcut(KeyboardShortcuts::Shortcut(11, 2048), Hotkeys::openNotification);
    Hotkeys::registerToggleHotKey();
    defaults().set("vimKeys", true);
    defaults().set("showPickerKeys", false);
    defaults().set("isOn", false);
    defaults().set("openMode", std::string("next"));
    mac_.keyboard().type(onOff);
    mac_.runUntilIdle();
    ASSERT_EQ(toggles, 0);

    AppSettings::restoreDefaults(RestoreGroup::shortcuts);
    mac_.keyboard().type(onOff);
    mac_.runUntilIdle();
    EXPECT_EQ(toggles, 1);
    for (const auto& name : Hotkeys::allNames()) {
        EXPECT_EQ(KeyboardShortcuts::getShortcut(name), name.initialShortcut) << name.rawValue;
    }
    EXPECT_EQ(defaults().object("vimKeys"), std::nullopt);
    EXPECT_EQ(defaults().object("showPickerKeys"), std::nullopt);
    EXPECT_TRUE(AppSettings::isAtDefaults(RestoreGroup::shortcuts));
    EXPECT_FALSE(AppSettings::isOn());
    EXPECT_EQ(AppSettings::openMode(), OpenMode::next);
}

} // namespace
} // namespace marlowick
