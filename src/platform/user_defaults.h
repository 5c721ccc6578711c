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

    // A Boolean where a Boolean is asked for, as the Mac bridges a stored object: a stored Boolean,
    // or a number that is exactly 0 or 1; none for anything else (other numbers, strings).
    std::optional<bool> boolean(std::string_view key);
    // A string read takes a stored string; none otherwise.
    std::optional<std::string> string(std::string_view key);
    // An integer read takes a stored integer, a whole double, or a Boolean as 0 or 1.
    std::optional<std::int64_t> integer(std::string_view key);
    // The plain Boolean read, as lenient as the Mac's: a Boolean, any number (non-zero is true) or
    // the strings "YES"/"true"/"1" (any case for the words) are true; everything else, absence
    // included, is false.
    bool plainBoolean(std::string_view key);
};

} // namespace marlowick::platform
