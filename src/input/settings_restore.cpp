// The restore groups of the settings model: whether a group's stored values are their defaults, and
// putting them back. Only stored values count here, never the command line.
#include <algorithm>
#include <initializer_list>

#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "input/settings.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

platform::UserDefaults& defaults() {
    return *platform::current().defaults;
}

// Absent, not a raw value, or the default raw value.
template <typename Enum> bool storedEnumIsDefault(std::string_view key, Enum fallback) {
    auto text = defaults().string(key);
    if (!text) return true;
    auto value = fromRawValue<Enum>(*text);
    return !value || *value == fallback;
}

// Absent, not a Boolean, or the default.
bool storedBooleanIsDefault(std::string_view key, bool fallback) {
    auto value = defaults().boolean(key);
    return !value || *value == fallback;
}

// Each named hot key stores its initial chord, or both have none.
bool shortcutsAreAtDefaults() {
    for (const auto& name : Hotkeys::allNames()) {
        if (KeyboardShortcuts::getShortcut(name) != name.initialShortcut) return false;
    }
    return true;
}

void restoreShortcuts() {
    KeyboardShortcuts::reset(Hotkeys::allNames());
    // The on/off key bypasses the engine, so its restored chord is registered here to be live at once.
    Hotkeys::registerToggleHotKey();
}

void removeKeys(std::initializer_list<std::string_view> keys) {
    for (auto key : keys)
        defaults().remove(key);
}

} // namespace

bool AppSettings::isAtDefaults(RestoreGroup group) {
    switch (group) {
    case RestoreGroup::shortcuts:
        return shortcutsAreAtDefaults() && storedBooleanIsDefault(SettingsKey::vimKeys, false) &&
               storedBooleanIsDefault(SettingsKey::showPickerKeys, true);
    case RestoreGroup::behavior:
        return storedEnumIsDefault(SettingsKey::openMode, OpenMode::badges) &&
               storedEnumIsDefault(SettingsKey::nextStyle, NextStyle::direct) &&
               storedEnumIsDefault(SettingsKey::stacks, StackMode::expand) &&
               storedBooleanIsDefault(SettingsKey::autoBadges, true);
    case RestoreGroup::appearance:
        return storedHighlightColor() == kDefaultHighlightColor &&
               storedEnumIsDefault(SettingsKey::stackStyle, StackStyle::expandPill) &&
               storedEnumIsDefault(SettingsKey::ringReveal, RingReveal::trace) &&
               storedEnumIsDefault(SettingsKey::menuBarIcon, MenuBarIcon::wideDotStack);
    }
    return true;
}

void AppSettings::restoreDefaults(RestoreGroup group) {
    switch (group) {
    case RestoreGroup::shortcuts:
        restoreShortcuts();
        removeKeys({SettingsKey::vimKeys, SettingsKey::showPickerKeys});
        return;
    case RestoreGroup::behavior:
        removeKeys(
            {SettingsKey::openMode, SettingsKey::nextStyle, SettingsKey::stacks, SettingsKey::autoBadges});
        return;
    case RestoreGroup::appearance:
        removeKeys({SettingsKey::highlightColor, SettingsKey::stackStyle, SettingsKey::ringReveal,
                    SettingsKey::menuBarIcon});
        return;
    }
}

} // namespace marlowick
