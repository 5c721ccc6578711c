#include "input/keyboardshortcuts/localization.h"

#include <array>
#include <utility>

namespace KeyboardShortcuts {

namespace {

// Straight quotes and apostrophes, as in every other text Marlowick shows.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kEnglish{{
    {"space_key", "space"},
    {"record_shortcut", "Record Shortcut"},
    {"press_shortcut", "Press Shortcut"},
    // "%@" stands for the menu item's title.
    {"keyboard_shortcut_used_by_menu_item", "This shortcut is already used by the menu item \"%@\"."},
    {"keyboard_shortcut_used_by_system", "This shortcut is already used by macOS."},
    {"keyboard_shortcuts_can_be_changed",
     "You can change most system shortcuts in System Settings \u203A Keyboard \u203A Keyboard Shortcuts. "
     "While macOS keeps this one, it may take the keys first."},
    {"keyboard_shortcut_disallowed", "This shortcut can't be used."},
    {"keyboard_shortcut_needs_modifier", "Add \u2303, \u2325 or \u2318, so that it doesn't take over typing."},
    {"force_use_shortcut", "Use Anyway"},
}};

} // namespace

std::string localized(std::string_view key) {
    for (const auto& [name, text] : kEnglish) {
        if (name == key) return std::string(text);
    }
    return std::string(key);
}

std::string capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

} // namespace KeyboardShortcuts
