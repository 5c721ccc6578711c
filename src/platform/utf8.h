// UTF-8 encoding and strict decoding, shared by everything that takes text apart: the log's
// escaping, the hot-key engine's key names, the menus' key equivalents.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marlowick::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t codePoint);
// Decodes the sequence that starts at text[i] into codePoint and returns its length in bytes, or 0
// when it is malformed (a bad lead or continuation byte, truncation, an overlong form, a surrogate,
// or a value past U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint);
// The code points of the text; each malformed byte reads as U+FFFD.
std::vector<char32_t> codePoints(std::string_view text);
// UTF-8 of UTF-16 text (as keyboard layouts and menus hand it over); an unpaired surrogate becomes
// U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

}  // namespace marlowick::platform
