// A key chord: a virtual key code and Carbon modifier bits, with its stored JSON form, its display
// text and whether the system uses it. Storing chords per name is names.h's job.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/keyboardshortcuts/key.h"
#include "platform/key_events.h"

namespace KeyboardShortcuts {

struct Shortcut {
    std::int64_t carbonKeyCode = 0;
    std::int64_t carbonModifiers = 0;

    constexpr Shortcut(std::int64_t keyCode, std::int64_t modifiers)
        : carbonKeyCode(keyCode), carbonModifiers(modifiers) {}
    Shortcut(Key key, marlowick::platform::ModifierFlags modifiers);
    // The chord of a key-down or key-up event; none for other events. Caps lock and the Function
    // flag never count.
    static std::optional<Shortcut> fromEvent(const marlowick::platform::Event& event);

    Key key() const { return Key(carbonKeyCode); }
    marlowick::platform::ModifierFlags modifiers() const;
    // "⌃⌥⇧⌘🌐︎" in that order for the modifiers held, then the key's text.
    std::string description() const;
    // Whether an enabled system-wide shortcut uses the chord (F12 alone never counts).
    bool isTakenBySystem() const;

    friend constexpr auto operator<=>(const Shortcut&, const Shortcut&) = default;
};

// The stored form: a JSON object with the integer members "carbonKeyCode" and "carbonModifiers".
std::string encodeShortcut(const Shortcut& shortcut);
// Reads the stored form. Anything else (not JSON, not an object, a member missing, not an integer,
// or outside what the hot-key service can register) reads as none.
std::optional<Shortcut> decodeShortcut(std::string_view json);

} // namespace KeyboardShortcuts
