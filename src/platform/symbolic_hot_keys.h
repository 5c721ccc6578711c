// The system's own shortcuts (its symbolic hot keys), as the system reports them. What each one
// does stays the system's business.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/hot_keys.h"

namespace marlowick::platform {

inline constexpr std::string_view kSymbolicHotKeyCode = "kHISymbolicHotKeyCode";
inline constexpr std::string_view kSymbolicHotKeyModifiers = "kHISymbolicHotKeyModifiers";
inline constexpr std::string_view kSymbolicHotKeyEnabled = "kHISymbolicHotKeyEnabled";

// One shortcut as a dictionary: its key code, its Carbon modifiers and whether it is enabled.
using SymbolicHotKey = std::map<std::string, std::variant<std::int64_t, bool>, std::less<>>;

class SymbolicHotKeys {
public:
    virtual ~SymbolicHotKeys() = default;
    virtual OSStatus copySymbolicHotKeys(std::vector<SymbolicHotKey>& out) = 0;
};

} // namespace marlowick::platform
