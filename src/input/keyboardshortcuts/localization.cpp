#include "input/keyboardshortcuts/localization.h"

#include <array>
#include <utility>

namespace KeyboardShortcuts {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 1> kEnglish{{
    {"space_key", "space"},
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
