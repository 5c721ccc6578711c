// The settings window's field for one of Marlowick's three hot keys: the engine's recorder bound to
// the name, refusing a chord that another of the three already uses, and re-registering the on/off
// key after every change (that key bypasses the engine).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "input/keyboardshortcuts/recorder_cocoa.h"

namespace marlowick {

struct ShortcutField {
    KeyboardShortcuts::Name name;
    std::shared_ptr<KeyboardShortcuts::RecorderCocoa> recorder;

    explicit ShortcutField(KeyboardShortcuts::Name name);
};

// The name's row title in the window: "Marlowick on or off", "Open notification", "Clear all".
std::string shortcutTitle(const KeyboardShortcuts::Name& name);
// Refuses a chord that another of the three names has, naming that name's row.
KeyboardShortcuts::ValidationResult validateShortcut(const KeyboardShortcuts::Name& name,
                                                     const KeyboardShortcuts::Shortcut& chord);

} // namespace marlowick
