#include "platform/user_defaults.h"

#include <cmath>
#include <limits>

namespace marlowick::platform {

std::optional<bool> UserDefaults::boolean(std::string_view key) {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (const auto* b = std::get_if<bool>(&*value)) return *b;
    if (const auto* i = std::get_if<std::int64_t>(&*value)) return *i != 0;
    if (const auto* d = std::get_if<double>(&*value)) return *d != 0;
    const auto& text = std::get<std::string>(*value);
    if (text == "YES" || text == "true" || text == "1") return true;
    if (text == "NO" || text == "false" || text == "0") return false;
    return std::nullopt;
}

std::optional<std::string> UserDefaults::string(std::string_view key) {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&*value)) return *text;
    return std::nullopt;
}

std::optional<std::int64_t> UserDefaults::integer(std::string_view key) {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (const auto* i = std::get_if<std::int64_t>(&*value)) return *i;
    if (const auto* b = std::get_if<bool>(&*value)) return *b ? 1 : 0;
    if (const auto* d = std::get_if<double>(&*value)) {
        constexpr double limit = 9.2e18;
        if (std::isfinite(*d) && *d == std::floor(*d) && std::fabs(*d) < limit) return static_cast<std::int64_t>(*d);
    }
    return std::nullopt;
}

}  // namespace marlowick::platform
