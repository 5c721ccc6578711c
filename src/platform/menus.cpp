#include "platform/menus.h"

#include <array>
#include <utility>

namespace marlowick::platform {

namespace {

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Key codes and the characters the Mac gives them: control characters for the editing keys and
// its private-use function-key characters for the rest.
constexpr std::array<std::pair<std::uint16_t, char32_t>, 36> kFunctionKeys{{
    {36, U'\r'},   {48, U'\t'},   {49, U' '},    {51, U'\x7F'}, {53, U'\x1B'}, {76, U'\x03'},
    {126, 0xF700}, {125, 0xF701}, {123, 0xF702}, {124, 0xF703}, {122, 0xF704}, {120, 0xF705},
    {99, 0xF706},  {118, 0xF707}, {96, 0xF708},  {97, 0xF709},  {98, 0xF70A},  {100, 0xF70B},
    {101, 0xF70C}, {109, 0xF70D}, {103, 0xF70E}, {111, 0xF70F}, {105, 0xF710}, {107, 0xF711},
    {113, 0xF712}, {106, 0xF713}, {64, 0xF714},  {79, 0xF715},  {80, 0xF716},  {90, 0xF717},
    {117, 0xF728}, {115, 0xF729}, {119, 0xF72B}, {116, 0xF72C}, {121, 0xF72D}, {114, 0xF746},
}};

} // namespace

std::optional<std::string> functionKeyEquivalent(std::uint16_t keyCode) {
    for (const auto& [code, character] : kFunctionKeys) {
        if (code == keyCode) return utf8(character);
    }
    return std::nullopt;
}

} // namespace marlowick::platform
