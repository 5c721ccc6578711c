// The user defaults of the application's own domain: a persistent key-value store of strings,
// Booleans, integers and doubles, with a change notification on the notification bus.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace marlowick::platform {

using DefaultsValue = std::variant<std::string, bool, std::int64_t, double>;

// Posted on the notification bus after every change of the store (no user information).
inline constexpr std::string_view kUserDefaultsDidChange = "NSUserDefaultsDidChangeNotification";

class UserDefaults {
public:
    virtual ~UserDefaults() = default;
    // The stored value as it is, or none.
    virtual std::optional<DefaultsValue> object(std::string_view key) = 0;
    virtual void set(std::string_view key, DefaultsValue value) = 0;
    virtual void remove(std::string_view key) = 0;

    // Typed reads as the Mac's store does them. A Boolean read takes a stored Boolean, a number
    // (non-zero is true) or the strings "YES"/"true"/"1" and "NO"/"false"/"0"; none otherwise.
    std::optional<bool> boolean(std::string_view key);
    // A string read takes a stored string; none otherwise.
    std::optional<std::string> string(std::string_view key);
    // An integer read takes a stored integer, a whole double, or a Boolean as 0 or 1.
    std::optional<std::int64_t> integer(std::string_view key);
    // The plain Boolean read: absent or unreadable reads false.
    bool plainBoolean(std::string_view key) { return boolean(key).value_or(false); }
};

}  // namespace marlowick::platform
