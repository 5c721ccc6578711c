// Finding one-run override flags among the process arguments. Which flags exist and what their
// values mean is the settings model's business (settings.h).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace marlowick {

// The first argument exactly equal to the flag counts; "--mode=pick" is not "--mode".
bool hasFlag(std::span<const std::string> arguments, std::string_view flag);

// The argument right after the first occurrence of the flag, taken as it is (it may itself look
// like a flag); none when the flag is absent or last.
std::optional<std::string_view> flagValue(std::span<const std::string> arguments, std::string_view flag);

} // namespace marlowick
