#include "platform/user_defaults.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace marlowick::platform {

std::optional<bool> UserDefaults::boolean(std::string_view key) {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (const auto* b = std::get_if<bool>(&*value)) return *b;
    if (const auto* i = std::get_if<std::int64_t>(&*value)) {
        if (*i == 0 || *i == 1) return *i == 1;
    }
    if (const auto* d = std::get_if<double>(&*value)) {
        if (*d == 0 || *d == 1) return *d == 1;
    }
    return std::nullopt;
}

bool UserDefaults::plainBoolean(std::string_view key) {
    auto value = object(key);
    if (!value) return false;
    if (const auto* b = std::get_if<bool>(&*value)) return *b;
    if (const auto* i = std::get_if<std::int64_t>(&*value)) return *i != 0;
    if (const auto* d = std::get_if<double>(&*value)) return *d != 0 && !std::isnan(*d);
    std::string text = std::get<std::string>(*value);
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text == "yes" || text == "true" || text == "1";
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
        if (std::isfinite(*d) && *d == std::floor(*d) && std::fabs(*d) < limit)
            return static_cast<std::int64_t>(*d);
    }
    return std::nullopt;
}

} // namespace marlowick::platform
