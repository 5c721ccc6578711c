// The text of a user-defaults file: one JSON object from key to value. Only reading and writing the
// text; where the file lives and when it is written is the store's business (user_defaults_store.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/user_defaults.h"

namespace marlowick::sim {

// A domain is a few kilobytes; anything far larger, or nested deeper than any value the program
// writes, is not a defaults file worth reading.
inline constexpr std::size_t kDefaultsFileSizeLimit = 8 * 1024 * 1024;
inline constexpr int kDefaultsNestingLimit = 64;

// The domain the text holds, or none when the text is not one JSON object within the limits
// (truncated, not JSON, not UTF-8, too large, too deeply nested).
std::optional<nlohmann::json> parseDefaultsFile(std::string_view text);

// The file's text for a domain. Doubles that JSON cannot hold (not finite) are written as null.
std::string serializeDefaults(const nlohmann::json& domain);

// A stored value as the program reads it, or none for what it has no type for (null, lists,
// dictionaries, integers beyond 64 bits). Such values are kept in the file all the same.
std::optional<platform::DefaultsValue> defaultsValue(const nlohmann::json& stored);
nlohmann::json storedForm(const platform::DefaultsValue& value);

} // namespace marlowick::sim
