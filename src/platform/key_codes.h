// Virtual key codes of the named keys that menus, windows and the picker react to. They are key
// positions, the same on every keyboard layout.
#pragma once

#include <cstdint>

namespace marlowick::platform {

inline constexpr std::uint16_t kKeyCodeReturn = 36;
inline constexpr std::uint16_t kKeyCodeSpace = 49;
inline constexpr std::uint16_t kKeyCodeEscape = 53;
inline constexpr std::uint16_t kKeyCodeKeypadEnter = 76;
inline constexpr std::uint16_t kKeyCodeLeftArrow = 123;
inline constexpr std::uint16_t kKeyCodeRightArrow = 124;
inline constexpr std::uint16_t kKeyCodeDownArrow = 125;
inline constexpr std::uint16_t kKeyCodeUpArrow = 126;

}  // namespace marlowick::platform
