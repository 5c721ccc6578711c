#include "app/key_equivalent.h"

#include "input/keyboardshortcuts/text.h"
#include "platform/menus.h"
#include "platform/platform.h"

namespace marlowick {

std::optional<KeyEquivalent> keyEquivalent(const KeyboardShortcuts::Shortcut& shortcut) {
    auto modifiers = shortcut.modifiers() & platform::kKeyEquivalentModifiers;
    auto keyCode = static_cast<std::uint16_t>(shortcut.carbonKeyCode);
    if (auto function = platform::functionKeyEquivalent(keyCode)) return KeyEquivalent{*function, modifiers};
    auto& layouts = *platform::current().keyboardLayouts;
    auto layout = layouts.currentASCIICapableLayout();
    if (!layout) return std::nullopt;
    std::uint32_t deadKeyState = 0;
    std::u16string typed;
    // Dead keys suppressed: a key equivalent is the key's own character, not a pending accent.
    auto status = layout->translate(keyCode, platform::KeyAction::Down, 0, layouts.keyboardType(),
                                    platform::DeadKeys::Suppress, deadKeyState, 4, typed);
    if (status != 0 || typed.empty()) return std::nullopt;
    return KeyEquivalent{KeyboardShortcuts::utf8(typed), modifiers};
}

} // namespace marlowick
