// The keys whose display text is a fixed symbol rather than what the layout types (return, the
// arrows, function keys, the keypad). The texts themselves are the engine's, not the layout's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "input/keyboardshortcuts/key.h"

namespace KeyboardShortcuts {

// `return` and `delete` are words of the language, hence the suffix on those two.
// clang-format off
enum class SpecialKey {
    returnKey, deleteKey, deleteForward, end, escape, help, home, space, tab, pageUp, pageDown,
    upArrow, rightArrow, downArrow, leftArrow,
    f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20,
    keypad0, keypad1, keypad2, keypad3, keypad4, keypad5, keypad6, keypad7, keypad8, keypad9,
    keypadClear, keypadDecimal, keypadDivide, keypadEnter, keypadEquals, keypadMinus, keypadMultiply, keypadPlus,
};
// clang-format on

struct SpecialKeyEntry {
    SpecialKey specialKey;
    Key key;
    // Empty for space, whose text is localised (see displayText).
    std::string_view text;
};

// All 53 special keys in declaration order.
std::span<const SpecialKeyEntry> specialKeys();
std::optional<SpecialKey> specialKey(Key key);
// The text a shortcut shows for the key.
std::string displayText(SpecialKey key);

} // namespace KeyboardShortcuts
