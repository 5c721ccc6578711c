#include "input/keyboardshortcuts/text.h"

#include <vector>

#include "platform/utf8.h"

namespace KeyboardShortcuts {

namespace {

char32_t upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return U'I';
    if (c == 0x17F) return U'S';
    bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (evenUpper && c % 2 == 1) return c - 1;
    if (oddUpper && c % 2 == 0) return c - 1;
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

} // namespace

std::string utf8(const std::u16string& text) {
    return marlowick::platform::utf8FromUtf16(text);
}

std::size_t codePointCount(const std::string& text) {
    return marlowick::platform::codePoints(text).size();
}

std::string upperCased(const std::string& text) {
    std::string out;
    for (char32_t c : marlowick::platform::codePoints(text)) {
        if (c == 0xDF) {
            out += "SS";
            continue;
        }
        marlowick::platform::appendUtf8(out, upper(c));
    }
    return out;
}

} // namespace KeyboardShortcuts
