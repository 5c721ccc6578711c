// A named, user-configurable hot key: its raw value (unique per hot key, also its storage key) and
// the chord a fresh installation starts with. What a name's chord is now is stored, not held here.
#pragma once

#include <optional>
#include <string>

#include "input/keyboardshortcuts/shortcut.h"

namespace KeyboardShortcuts {

struct Name {
    std::string rawValue;
    std::optional<Shortcut> initialShortcut;

    // With a platform installed, a name with an initial chord stores it unless something is stored
    // already. Names made before that (constants) store theirs at their first use by the engine.
    explicit Name(std::string rawValue, std::optional<Shortcut> initialShortcut = std::nullopt);

    // The user-defaults key of the stored chord.
    std::string userDefaultsKey() const { return "KeyboardShortcuts_" + rawValue; }

    friend bool operator==(const Name& a, const Name& b) { return a.rawValue == b.rawValue; }
};

} // namespace KeyboardShortcuts
