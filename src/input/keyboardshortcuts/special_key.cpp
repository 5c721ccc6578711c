#include "input/keyboardshortcuts/special_key.h"

#include <array>
#include <string>

#include "input/keyboardshortcuts/localization.h"

namespace KeyboardShortcuts {

namespace {

// U+20E3 (combining enclosing keycap) after a keypad key's character.
#define KEYCAP "\u20E3"

constexpr std::array<SpecialKeyEntry, 53> kSpecialKeys{{
    {SpecialKey::returnKey, Key::returnKey, "↩"},
    {SpecialKey::deleteKey, Key::deleteKey, "⌫"},
    {SpecialKey::deleteForward, Key::deleteForward, "⌦"},
    {SpecialKey::end, Key::end, "↘"},
    {SpecialKey::escape, Key::escape, "⎋"},
    {SpecialKey::help, Key::help, "?\u20DD"},
    {SpecialKey::home, Key::home, "↖"},
    {SpecialKey::space, Key::space, ""},
    {SpecialKey::tab, Key::tab, "⇥"},
    {SpecialKey::pageUp, Key::pageUp, "⇞"},
    {SpecialKey::pageDown, Key::pageDown, "⇟"},
    {SpecialKey::upArrow, Key::upArrow, "↑"},
    {SpecialKey::rightArrow, Key::rightArrow, "→"},
    {SpecialKey::downArrow, Key::downArrow, "↓"},
    {SpecialKey::leftArrow, Key::leftArrow, "←"},
    {SpecialKey::f1, Key::f1, "F1"},
    {SpecialKey::f2, Key::f2, "F2"},
    {SpecialKey::f3, Key::f3, "F3"},
    {SpecialKey::f4, Key::f4, "F4"},
    {SpecialKey::f5, Key::f5, "F5"},
    {SpecialKey::f6, Key::f6, "F6"},
    {SpecialKey::f7, Key::f7, "F7"},
    {SpecialKey::f8, Key::f8, "F8"},
    {SpecialKey::f9, Key::f9, "F9"},
    {SpecialKey::f10, Key::f10, "F10"},
    {SpecialKey::f11, Key::f11, "F11"},
    {SpecialKey::f12, Key::f12, "F12"},
    {SpecialKey::f13, Key::f13, "F13"},
    {SpecialKey::f14, Key::f14, "F14"},
    {SpecialKey::f15, Key::f15, "F15"},
    {SpecialKey::f16, Key::f16, "F16"},
    {SpecialKey::f17, Key::f17, "F17"},
    {SpecialKey::f18, Key::f18, "F18"},
    {SpecialKey::f19, Key::f19, "F19"},
    {SpecialKey::f20, Key::f20, "F20"},
    {SpecialKey::keypad0, Key::keypad0, "0" KEYCAP},
    {SpecialKey::keypad1, Key::keypad1, "1" KEYCAP},
    {SpecialKey::keypad2, Key::keypad2, "2" KEYCAP},
    {SpecialKey::keypad3, Key::keypad3, "3" KEYCAP},
    {SpecialKey::keypad4, Key::keypad4, "4" KEYCAP},
    {SpecialKey::keypad5, Key::keypad5, "5" KEYCAP},
    {SpecialKey::keypad6, Key::keypad6, "6" KEYCAP},
    {SpecialKey::keypad7, Key::keypad7, "7" KEYCAP},
    {SpecialKey::keypad8, Key::keypad8, "8" KEYCAP},
    {SpecialKey::keypad9, Key::keypad9, "9" KEYCAP},
    {SpecialKey::keypadClear, Key::keypadClear, "\u2612" KEYCAP},
    {SpecialKey::keypadDecimal, Key::keypadDecimal, "." KEYCAP},
    {SpecialKey::keypadDivide, Key::keypadDivide, "/" KEYCAP},
    {SpecialKey::keypadEnter, Key::keypadEnter, "↩" KEYCAP},
    {SpecialKey::keypadEquals, Key::keypadEquals, "=" KEYCAP},
    {SpecialKey::keypadMinus, Key::keypadMinus, "-" KEYCAP},
    {SpecialKey::keypadMultiply, Key::keypadMultiply, "*" KEYCAP},
    {SpecialKey::keypadPlus, Key::keypadPlus, "+" KEYCAP},
}};

#undef KEYCAP

} // namespace

std::span<const SpecialKeyEntry> specialKeys() {
    return kSpecialKeys;
}

std::optional<SpecialKey> specialKey(Key key) {
    for (const auto& entry : kSpecialKeys) {
        if (entry.key == key) return entry.specialKey;
    }
    return std::nullopt;
}

std::string displayText(SpecialKey key) {
    if (key == SpecialKey::space) return capitalized(localized("space_key"));
    return std::string(kSpecialKeys[static_cast<std::size_t>(key)].text);
}

} // namespace KeyboardShortcuts
