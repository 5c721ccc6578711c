#include "app/key_equivalent.h"

#include "input/keyboardshortcuts/text.h"
#include "platform/hot_keys.h"
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
    // Menus match the character the key types with Shift (Shift-1 is "!"), so a chord with Shift
    // gets that character; letters stay lower-case, the Shift being in the mask. Dead keys
    // suppressed: a key equivalent is the key's own character, not a pending accent.
    std::uint32_t shift = (modifiers & platform::kFlagShift) ? (platform::kCarbonShift >> 8) : 0;
    auto status = layout->translate(keyCode, platform::KeyAction::Down, shift, layouts.keyboardType(),
                                    platform::DeadKeys::Suppress, deadKeyState, 4, typed);
    if (status != 0 || typed.empty()) return std::nullopt;
    std::string key = KeyboardShortcuts::utf8(typed);
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') key[0] = static_cast<char>(key[0] - 'A' + 'a');
    return KeyEquivalent{key, modifiers};
}

} // namespace marlowick
