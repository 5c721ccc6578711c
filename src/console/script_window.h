// Parsing of the commands that work the settings and onboarding windows, the appearance and the
// login-item service, and of their expectations; script.cpp hands these lines over.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "console/script.h"

namespace marlowick::console {

// The command, a usage message, or none when the line is not one of these commands.
std::optional<std::variant<CommandBody, std::string>> parseWindowCommand(const std::vector<Token>& tokens);

} // namespace marlowick::console
