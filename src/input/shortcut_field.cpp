#include "input/shortcut_field.h"

#include "input/hotkeys.h"

namespace marlowick {

using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;
using KeyboardShortcuts::ValidationResult;

std::string shortcutTitle(const Name& name) {
    if (name == Hotkeys::toggleSwitch) return "Marlowick on or off";
    if (name == Hotkeys::openNotification) return "Open notification";
    if (name == Hotkeys::clearAll) return "Clear all";
    return name.rawValue;
}

ValidationResult validateShortcut(const Name& name, const Shortcut& chord) {
    for (const auto& other : Hotkeys::allNames()) {
        if (other == name) continue;
        if (KeyboardShortcuts::getShortcut(other) == chord)
            return ValidationResult::disallow("Already used for " + shortcutTitle(other) + ".");
    }
    return ValidationResult::allow();
}

ShortcutField::ShortcutField(Name fieldName) : name(std::move(fieldName)) {
    recorder = KeyboardShortcuts::RecorderCocoa::create(
        name, [](const std::optional<Shortcut>&) { Hotkeys::registerToggleHotKey(); },
        [name = name](const Shortcut& chord) { return validateShortcut(name, chord); });
}

} // namespace marlowick
