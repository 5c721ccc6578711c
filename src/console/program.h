// The marlowick program: its command line, a script run on the virtual clock, and the interactive
// console on the wall clock. The commands themselves are session.h's.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace marlowick::console {

struct ProgramOptions {
    std::optional<std::string> script;
    std::optional<std::string> screenshotsDir;
    bool help = false;
    std::vector<std::string> arguments; // for Marlowick itself ("--mode next", "--vim-keys", ...)
};

// The options, or what is wrong with the command line.
std::variant<ProgramOptions, std::string> parseProgramOptions(const std::vector<std::string>& argv);

// Exit status 0 when every expectation held, 1 at the first that did not (or a command that
// failed), 2 for a script that cannot be read or parsed.
int runScript(const std::string& path, const ProgramOptions& options);

// The console until `quit`, the end of input or Marlowick terminating.
int runInteractive(const ProgramOptions& options);

// The whole program: what main() hands over to.
int runProgram(int argc, char** argv);

} // namespace marlowick::console
