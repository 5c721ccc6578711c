#include "sim/defaults_file.h"

#include <cstdint>
#include <limits>

#include "platform/json_nesting.h"

namespace marlowick::sim {

std::optional<nlohmann::json> parseDefaultsFile(std::string_view text) {
    // The reader recurses per level: depth is checked before the text is parsed.
    if (text.size() > kDefaultsFileSizeLimit || platform::jsonNestingBeyond(text, kDefaultsNestingLimit))
        return std::nullopt;
    auto domain = nlohmann::json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (domain.is_discarded() || !domain.is_object()) return std::nullopt;
    return domain;
}

std::string serializeDefaults(const nlohmann::json& domain) {
    // Strings set by the program are not checked for UTF-8; a malformed byte is written as U+FFFD
    // rather than failing the whole file.
    return domain.dump(4, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<platform::DefaultsValue> defaultsValue(const nlohmann::json& stored) {
    switch (stored.type()) {
    case nlohmann::json::value_t::string:
        return stored.get<std::string>();
    case nlohmann::json::value_t::boolean:
        return stored.get<bool>();
    case nlohmann::json::value_t::number_integer:
        return stored.get<std::int64_t>();
    case nlohmann::json::value_t::number_unsigned: {
        auto value = stored.get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    case nlohmann::json::value_t::number_float:
        return stored.get<double>();
    default:
        return std::nullopt;
    }
}

nlohmann::json storedForm(const platform::DefaultsValue& value) {
    return std::visit([](const auto& v) { return nlohmann::json(v); }, value);
}

} // namespace marlowick::sim
