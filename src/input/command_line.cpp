#include "input/command_line.h"

#include <algorithm>

namespace marlowick {

namespace {

std::span<const std::string>::iterator findFlag(std::span<const std::string> arguments,
                                                std::string_view flag) {
    return std::find_if(arguments.begin(), arguments.end(), [&](const std::string& a) { return a == flag; });
}

} // namespace

bool hasFlag(std::span<const std::string> arguments, std::string_view flag) {
    return findFlag(arguments, flag) != arguments.end();
}

std::optional<std::string_view> flagValue(std::span<const std::string> arguments, std::string_view flag) {
    auto found = findFlag(arguments, flag);
    if (found == arguments.end() || std::next(found) == arguments.end()) return std::nullopt;
    return *std::next(found);
}

} // namespace marlowick
