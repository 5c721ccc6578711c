// Finding the main-menu item that already answers a chord, as the menu itself would match it: the
// character the chord's key types (or its function-key character) and the modifier mask.
#include <limits>

#include "input/keyboardshortcuts/recorder_cocoa.h"
#include "input/keyboardshortcuts/text.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

// The key's character for menu matching, lower-cased, or none when the layout types nothing for it.
std::optional<std::string> menuCharacter(std::int64_t keyCode) {
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    auto code = static_cast<std::uint16_t>(keyCode);
    if (auto function = platform::functionKeyEquivalent(code)) return function;
    auto* layouts = platform::current().keyboardLayouts;
    auto layout = layouts ? layouts->currentASCIICapableLayout() : nullptr;
    if (!layout) return std::nullopt;
    std::uint32_t deadKeyState = 0;
    std::u16string typed;
    auto status = layout->translate(code, platform::KeyAction::Down, 0, layouts->keyboardType(),
                                    platform::DeadKeys::Suppress, deadKeyState, 4, typed);
    if (status != platform::kNoErr || typed.empty()) return std::nullopt;
    return utf8(typed);
}

// An item's key equivalent as a lower-cased character and a mask: an upper-case letter means Shift.
bool itemAnswers(const platform::MenuItem& item, const std::string& character, platform::ModifierFlags held) {
    auto key = item.keyEquivalent();
    if (key.empty()) return false;
    auto mask = item.keyEquivalentModifierMask() & platform::kKeyEquivalentModifiers;
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') {
        key[0] = static_cast<char>(key[0] - 'A' + 'a');
        mask |= platform::kFlagShift;
    }
    return key == character && mask == held;
}

std::optional<std::string> search(const platform::Menu& menu, const std::string& character,
                                  platform::ModifierFlags held, int depth) {
    // Menus nest a few levels at most; a menu that holds itself must not recurse for ever.
    if (depth > 8) return std::nullopt;
    for (const auto& item : menu.items()) {
        if (!item || item->isSeparator()) continue;
        bool answersKeys = !item->isHidden() || item->allowsKeyEquivalentWhenHidden();
        if (answersKeys && itemAnswers(*item, character, held)) return item->title();
        if (auto submenu = item->submenu()) {
            if (auto found = search(*submenu, character, held, depth + 1)) return found;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> menuItemUsing(const Shortcut& chord) {
    auto* application = platform::current().application;
    auto mainMenu = application ? application->mainMenu() : nullptr;
    if (!mainMenu) return std::nullopt;
    auto character = menuCharacter(chord.carbonKeyCode);
    if (!character) return std::nullopt;
    auto lowered = *character;
    if (lowered.size() == 1 && lowered[0] >= 'A' && lowered[0] <= 'Z')
        lowered[0] = static_cast<char>(lowered[0] - 'A' + 'a');
    return search(*mainMenu, lowered, chord.modifiers() & platform::kKeyEquivalentModifiers, 0);
}

} // namespace KeyboardShortcuts
