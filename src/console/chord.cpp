#include "console/chord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace marlowick::console {

namespace {

struct NamedKey {
    std::string_view name;
    std::uint16_t keyCode;
};

// Keys that are positions, not characters: the digit row and keypad (the picker listens for these
// codes whatever the layout), and keys that type no letter.
constexpr std::array kNamedKeys{
    NamedKey{"1", 18},
    NamedKey{"2", 19},
    NamedKey{"3", 20},
    NamedKey{"4", 21},
    NamedKey{"5", 23},
    NamedKey{"6", 22},
    NamedKey{"7", 26},
    NamedKey{"8", 28},
    NamedKey{"9", 25},
    NamedKey{"0", 29},
    NamedKey{"kp0", 82},
    NamedKey{"kp1", 83},
    NamedKey{"kp2", 84},
    NamedKey{"kp3", 85},
    NamedKey{"kp4", 86},
    NamedKey{"kp5", 87},
    NamedKey{"kp6", 88},
    NamedKey{"kp7", 89},
    NamedKey{"kp8", 91},
    NamedKey{"kp9", 92},
    NamedKey{"return", 36},
    NamedKey{"enter", 76},
    NamedKey{"esc", 53},
    NamedKey{"escape", 53},
    NamedKey{"tab", 48},
    NamedKey{"space", 49},
    NamedKey{"delete", 51},
    NamedKey{"up", 126},
    NamedKey{"down", 125},
    NamedKey{"left", 123},
    NamedKey{"right", 124},
    NamedKey{"home", 115},
    NamedKey{"end", 119},
    NamedKey{"pageup", 116},
    NamedKey{"pagedown", 121},
    NamedKey{"f1", 122},
    NamedKey{"forward-delete", 117},
    NamedKey{"f2", 120},
    NamedKey{"f3", 99},
    NamedKey{"f4", 118},
    NamedKey{"f5", 96},
};

// The U.S. layout's keys for letters and punctuation.
constexpr std::array<std::pair<char, std::uint16_t>, 37> kUSCharacters{{
    {'a', 0},   {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},  {'z', 6},   {'x', 7},
    {'c', 8},   {'v', 9},  {'b', 11}, {'q', 12}, {'w', 13}, {'e', 14}, {'r', 15},  {'y', 16},
    {'t', 17},  {'o', 31}, {'u', 32}, {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38},  {'k', 40},
    {'n', 45},  {'m', 46}, {'=', 24}, {'-', 27}, {']', 30}, {'[', 33}, {'\'', 39}, {';', 41},
    {'\\', 42}, {',', 43}, {'/', 44}, {'.', 47}, {'`', 50},
}};

struct NamedModifier {
    std::string_view name;
    platform::ModifierFlags flag;
};
constexpr std::array kModifiers{
    NamedModifier{"shift", platform::kFlagShift},     NamedModifier{"ctrl", platform::kFlagControl},
    NamedModifier{"control", platform::kFlagControl}, NamedModifier{"opt", platform::kFlagOption},
    NamedModifier{"option", platform::kFlagOption},   NamedModifier{"alt", platform::kFlagOption},
    NamedModifier{"cmd", platform::kFlagCommand},     NamedModifier{"command", platform::kFlagCommand},
    NamedModifier{"fn", platform::kFlagFunction},
};

std::string lowercase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

} // namespace

std::optional<LayoutName> layoutNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, LayoutName>, 5> kLayouts{{
        {"us", LayoutName::US},
        {"german", LayoutName::German},
        {"french", LayoutName::French},
        {"dvorak", LayoutName::Dvorak},
        {"partial-latin", LayoutName::PartialLatin},
    }};
    for (const auto& [known, layout] : kLayouts) {
        if (known == name) return layout;
    }
    return std::nullopt;
}

std::optional<Chord> parseChord(std::string_view text) {
    if (text.empty() || text.size() > 64) return std::nullopt;
    Chord chord;
    chord.text = std::string(text);
    // Modifiers are the words before the last "+"; a "+" at the very end is taken as the key.
    std::string_view rest = text;
    while (true) {
        auto plus = rest.find('+', 1);
        if (plus == std::string_view::npos || plus + 1 == rest.size()) break;
        std::string name = lowercase(rest.substr(0, plus));
        auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                     [&](const NamedModifier& m) { return m.name == name; });
        if (modifier == kModifiers.end()) return std::nullopt;
        chord.modifiers |= modifier->flag;
        rest.remove_prefix(plus + 1);
    }
    if (rest.size() == 1 && std::isupper(static_cast<unsigned char>(rest[0]))) {
        chord.modifiers |= platform::kFlagShift;
        chord.character = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        return chord;
    }
    std::string key = lowercase(rest);
    for (const auto& named : kNamedKeys) {
        if (named.name == key) {
            chord.keyCode = named.keyCode;
            return chord;
        }
    }
    if (key.size() == 1 && usKeyCodeFor(key[0])) {
        chord.character = key[0];
        return chord;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> usKeyCodeFor(char character) {
    for (const auto& [c, code] : kUSCharacters) {
        if (c == character) return code;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> keyCodeFor(char character, const platform::KeyLayout* layout,
                                        std::uint32_t keyboardType) {
    if (layout) {
        const std::u16string wanted(1, static_cast<char16_t>(static_cast<unsigned char>(character)));
        for (std::uint16_t code = 0; code < 128; ++code) {
            std::uint32_t deadKeyState = 0;
            std::u16string produced;
            auto status = layout->translate(code, platform::KeyAction::Down, 0, keyboardType,
                                            platform::DeadKeys::Suppress, deadKeyState, 4, produced);
            if (status == 0 && produced == wanted) return code;
        }
    }
    return usKeyCodeFor(character);
}

} // namespace marlowick::console
