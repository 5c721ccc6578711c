// The engine's own user-visible texts, looked up by key. Only English is provided; a missing key
// reads as the key itself, so a gap shows rather than breaks.
#pragma once

#include <string>
#include <string_view>

namespace KeyboardShortcuts {

std::string localized(std::string_view key);
// The first letter upper-cased (ASCII), the rest unchanged.
std::string capitalized(std::string text);

} // namespace KeyboardShortcuts
