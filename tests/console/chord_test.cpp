#include <gtest/gtest.h>

#include "console/chord.h"
#include "sim/keyboard_layouts.h"

namespace marlowick::console {
namespace {

std::uint16_t keyOn(sim::LayoutId id, char character) {
    auto layout = sim::SimKeyboardLayouts::layout(id);
    return keyCodeFor(character, layout.get(), sim::SimKeyboardLayouts::kKeyboardType).value_or(9999);
}

TEST(Chord, ModifiersAndKeys) {
    auto chord = parseChord("ctrl+opt+shift+n");
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->modifiers, platform::kFlagControl | platform::kFlagOption | platform::kFlagShift);
    EXPECT_EQ(chord->character, 'n');
    EXPECT_FALSE(chord->keyCode);

    // Named keys and digits are positions; a capital letter is the letter with shift.
    EXPECT_EQ(parseChord("kp3")->keyCode, 85);
    EXPECT_EQ(parseChord("enter")->keyCode, 76);
    EXPECT_EQ(parseChord("return")->keyCode, 36);
    EXPECT_EQ(parseChord("1")->keyCode, 18);
    EXPECT_EQ(parseChord("9")->keyCode, 25);
    EXPECT_EQ(parseChord("G")->modifiers, platform::kFlagShift);
    EXPECT_EQ(parseChord("G")->character, 'g');
    EXPECT_EQ(parseChord("shift+g")->character, 'g');
    EXPECT_EQ(parseChord("Cmd+,")->modifiers, platform::kFlagCommand);
    EXPECT_EQ(parseChord("cmd+,")->character, ',');

    for (const char* bad : {"", "+", "opt+", "opt+nn", "super+n", "opt++", "n+opt", "ü", "kp10", "opt+opt"})
        EXPECT_FALSE(parseChord(bad)) << bad;
    EXPECT_FALSE(parseChord(std::string(65, 'a')));
}

TEST(Chord, LettersAreFoundByWhatTheKeyTypesOnTheLayout) {
    EXPECT_EQ(keyOn(sim::LayoutId::US, 'n'), 45);
    EXPECT_EQ(keyOn(sim::LayoutId::German, 'z'), 16) << "QWERTZ: z sits where U.S. has y";
    EXPECT_EQ(keyOn(sim::LayoutId::German, 'y'), 6);
    EXPECT_EQ(keyOn(sim::LayoutId::French, 'a'), 12) << "AZERTY: a sits where U.S. has q";
    EXPECT_EQ(keyOn(sim::LayoutId::Dvorak, 'j'), 8);
    // Where the layout lacks the letter, the U.S. key stands in (as the hot keys do).
    EXPECT_EQ(keyOn(sim::LayoutId::PartialLatin, 'o'), 31);
    EXPECT_EQ(keyCodeFor('k', nullptr, 40), 40) << "no layout data: the U.S. key";
}

TEST(Chord, LayoutNames) {
    EXPECT_EQ(layoutNamed("german"), LayoutName::German);
    EXPECT_EQ(layoutNamed("partial-latin"), LayoutName::PartialLatin);
    EXPECT_FALSE(layoutNamed("German"));
    EXPECT_FALSE(layoutNamed(""));
}

} // namespace
} // namespace marlowick::console
