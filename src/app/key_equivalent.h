// Menu key equivalents for hot-key chords: the character the chord's key types on the current layout
// (or its function-key character) and the chord's modifiers, so an item in an open menu answers
// exactly the chord that the hot key answers elsewhere.
#pragma once

#include <optional>
#include <string>

#include "input/keyboardshortcuts/shortcut.h"
#include "platform/key_events.h"

namespace marlowick {

struct KeyEquivalent {
    std::string key;
    platform::ModifierFlags modifiers = 0;
    friend bool operator==(const KeyEquivalent&, const KeyEquivalent&) = default;
};

// None when the key types nothing on the current layout.
std::optional<KeyEquivalent> keyEquivalent(const KeyboardShortcuts::Shortcut& shortcut);

} // namespace marlowick
