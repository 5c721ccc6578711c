#include <array>
#include <limits>
#include <utility>

#include "input/keyboardshortcuts/shortcut.h"
#include "input/keyboardshortcuts/special_key.h"
#include "input/keyboardshortcuts/text.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

constexpr std::array<std::pair<std::int64_t, std::string_view>, 5> kModifierSymbols{{
    {platform::kCarbonControl, "⌃"},
    {platform::kCarbonOption, "⌥"},
    {platform::kCarbonShift, "⇧"},
    {platform::kCarbonCommand, "⌘"},
    {platform::kCarbonFunction, "\U0001F310\uFE0E"}, // the globe, drawn as text
}};

// What the key types on the current ASCII-capable layout without modifiers, when that is one
// character.
std::optional<std::string> layoutCharacter(std::int64_t keyCode) {
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    auto* layouts = platform::current().keyboardLayouts;
    if (!layouts) return std::nullopt;
    auto layout = layouts->currentASCIICapableLayout();
    if (!layout) return std::nullopt;
    std::uint32_t deadKeyState = 0;
    std::u16string typed;
    auto status =
        layout->translate(static_cast<std::uint16_t>(keyCode), platform::KeyAction::Display, 0,
                          layouts->keyboardType(), platform::DeadKeys::Process, deadKeyState, 4, typed);
    if (status != platform::kNoErr) return std::nullopt;
    auto text = utf8(typed);
    if (codePointCount(text) != 1) return std::nullopt;
    return text;
}

} // namespace

std::string Shortcut::description() const {
    std::string text;
    for (auto [bit, symbol] : kModifierSymbols) {
        if (carbonModifiers & bit) text += symbol;
    }
    if (auto special = specialKey(key())) return text + displayText(*special);
    if (auto character = layoutCharacter(carbonKeyCode)) return text + upperCased(*character);
    return text + "\uFFFD";
}

} // namespace KeyboardShortcuts
