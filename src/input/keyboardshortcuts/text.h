// Small text helpers of the engine: UTF-16 from the layout service to UTF-8, and upper-casing the
// letters that keyboard layouts type.
#pragma once

#include <cstddef>
#include <string>

namespace KeyboardShortcuts {

// UTF-8 of the UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string utf8(const std::u16string& text);
// How many code points the UTF-8 text holds.
std::size_t codePointCount(const std::string& text);
// Upper-cases ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters ("ß" becomes "SS");
// anything else stays as it is.
std::string upperCased(const std::string& text);

} // namespace KeyboardShortcuts
