#include <limits>

#include <nlohmann/json.hpp>

#include "input/keyboardshortcuts/shortcut.h"

namespace KeyboardShortcuts {

namespace {

// A stored chord is a few dozen bytes; anything much longer is not one, and is not parsed.
constexpr std::size_t kLongestStoredForm = 4096;
// What the hot-key service takes: unsigned 32-bit key codes and modifiers.
constexpr std::int64_t kLargestValue = std::numeric_limits<std::uint32_t>::max();

std::optional<std::int64_t> integerMember(const nlohmann::json& object, const char* name) {
    auto found = object.find(name);
    if (found == object.end()) return std::nullopt;
    if (found->is_number_unsigned()) {
        auto value = found->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(kLargestValue)) return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    if (found->is_number_integer()) {
        auto value = found->get<std::int64_t>();
        if (value < 0 || value > kLargestValue) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

} // namespace

std::string encodeShortcut(const Shortcut& shortcut) {
    nlohmann::json object = {{"carbonKeyCode", shortcut.carbonKeyCode},
                             {"carbonModifiers", shortcut.carbonModifiers}};
    return object.dump();
}

std::optional<Shortcut> decodeShortcut(std::string_view json) {
    if (json.size() > kLongestStoredForm) return std::nullopt;
    auto parsed = nlohmann::json::parse(json, nullptr, /*allow_exceptions=*/false);
    if (!parsed.is_object()) return std::nullopt;
    auto keyCode = integerMember(parsed, "carbonKeyCode");
    auto modifiers = integerMember(parsed, "carbonModifiers");
    if (!keyCode || !modifiers) return std::nullopt;
    return Shortcut(*keyCode, *modifiers);
}

} // namespace KeyboardShortcuts
