// Key chords as the console writes them ("opt+n", "ctrl+opt+shift+n", "cmd+,", "kp3", "esc") and
// the key codes they stand for. Letters and punctuation are the keys that type them on the current
// layout, as a person finds them by their labels; digits, the keypad and named keys are positions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/key_events.h"
#include "platform/keyboard_layouts.h"

namespace marlowick::console {

enum class LayoutName { US, German, French, Dvorak, PartialLatin };
std::optional<LayoutName> layoutNamed(std::string_view name);

struct Chord {
    platform::ModifierFlags modifiers = 0;
    // Exactly one of the two: a fixed key code, or the character whose key the layout decides.
    std::optional<std::uint16_t> keyCode;
    char character = 0;
    std::string text; // as written, for messages

    friend bool operator==(const Chord&, const Chord&) = default;
};

// The chord, or none when a modifier or the key is unknown. Modifiers: shift, ctrl/control,
// opt/option/alt, cmd/command, fn. A capital letter is that letter with shift.
std::optional<Chord> parseChord(std::string_view text);

// The key that types `character` without modifiers on the layout; the U.S. key when the layout has
// none (or no layout data), none when not even the U.S. layout has it.
std::optional<std::uint16_t> keyCodeFor(char character, const platform::KeyLayout* layout,
                                        std::uint32_t keyboardType);
std::optional<std::uint16_t> usKeyCodeFor(char character);

} // namespace marlowick::console
