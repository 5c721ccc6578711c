#include "console/program.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "console/line_reader.h"
#include "console/session.h"
#include "sim/real_time_driver.h"

namespace marlowick::console {

namespace {

constexpr std::string_view kUsage =
    R"(usage: marlowick [--script FILE] [--screenshots DIR] [--help] [ARGUMENTS...]

Starts Marlowick on a simulated Mac. ARGUMENTS go to Marlowick ("--mode next", "--vim-keys", ...).
  --script FILE       run the commands of FILE on the virtual clock and exit: 0 when every
                      expectation held, 1 at the first that did not, 2 when FILE is unreadable
  --screenshots DIR   write a PNG of the simulated screen after every key, menu and sidebar command
  --help              this text
Without --script, an interactive console on the real-time clock: permission granted, Notification
Center running with a few notifications, so `key opt+n` shows the picker at once.

)";

void printMessage(const std::string& message) {
    if (message.empty()) return;
    std::fputs(message.c_str(), stdout);
    if (message.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::optional<std::string> readScript(const std::string& path, std::string& error) {
    std::error_code code;
    auto size = std::filesystem::file_size(path, code);
    if (code) {
        error = "cannot read " + path + ": " + code.message();
        return std::nullopt;
    }
    if (size > kMaxScriptSize) {
        error = path + " is larger than " + std::to_string(kMaxScriptSize) + " bytes";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    return text.str();
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home && std::filesystem::is_directory(home) ? home : "";
}

volatile std::sig_atomic_t interrupted = 0;
extern "C" void onInterrupt(int) {
    interrupted = 1;
}

} // namespace

std::variant<ProgramOptions, std::string> parseProgramOptions(const std::vector<std::string>& argv) {
    ProgramOptions options;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& argument = argv[i];
        auto value = [&](std::optional<std::string>& into) -> std::optional<std::string> {
            if (into) return argument + " is given twice";
            if (i + 1 >= argv.size() || argv[i + 1].empty()) return argument + " needs a value";
            into = argv[++i];
            return std::nullopt;
        };
        if (argument == "--script") {
            if (auto error = value(options.script)) return *error;
        } else if (argument == "--screenshots") {
            if (auto error = value(options.screenshotsDir)) return *error;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else {
            options.arguments.push_back(argument);
        }
    }
    return options;
}

int runScript(const std::string& path, const ProgramOptions& options) {
    std::string error;
    auto text = readScript(path, error);
    if (!text) {
        std::fprintf(stderr, "marlowick: %s\n", error.c_str());
        return 2;
    }
    auto parsed = parseScript(*text);
    if (auto* parseError = std::get_if<ParseError>(&parsed)) {
        std::fprintf(stderr, "%s:%d: error: %s\n", path.c_str(), parseError->line,
                     parseError->message.c_str());
        return 2;
    }
    Session session({.world = Session::World::Bare,
                     .arguments = options.arguments,
                     .screenshotsDir = options.screenshotsDir.value_or(""),
                     .folder = std::filesystem::path(path).parent_path().string()});
    int expectations = 0;
    const auto& commands = std::get<std::vector<Command>>(parsed);
    auto fail = [&](const Command& command, const std::string& message) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s:%d: %s\n  %s\n", path.c_str(), command.line, command.text.c_str(),
                     message.c_str());
        return 1;
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command& command = commands[i];
        auto result = session.run(command);
        if (!result.ok) return fail(command, result.message);
        printMessage(result.message);
        if (result.quit) break;
        if (isExpectation(command.body)) ++expectations;
        // Quitting ends the process; lines after it would silently check nothing, unless a later
        // launch starts it again.
        auto isLaunch = [](const Command& later) { return std::holds_alternative<command::Launch>(later.body); };
        bool relaunched =
            std::any_of(commands.begin() + static_cast<std::ptrdiff_t>(i) + 1, commands.end(), isLaunch);
        if (session.mac().application().isTerminated() && i + 1 < commands.size() && !relaunched)
            return fail(command, "Marlowick quit here, but the script goes on at line " +
                                     std::to_string(commands[i + 1].line));
    }
    std::printf("%s: every expectation held (%d)\n", path.c_str(), expectations);
    return 0;
}

int runInteractive(const ProgramOptions& options) {
    Session session({.world = Session::World::Ready,
                     .arguments = options.arguments,
                     .home = homeFolder(),
                     .epoch = static_cast<double>(std::time(nullptr)),
                     .screenshotsDir = options.screenshotsDir.value_or("")});
    auto& mac = session.mac();
    bool quit = false;
    // A `wait` holds back the lines typed after it until its time has passed on the wall clock.
    bool waiting = false;
    std::deque<std::pair<int, std::string>> held;
    int lineNumber = 0;
    // Once the prompt is up, everything printed goes above it.
    LineReader* prompt = nullptr;
    auto printMessage = [&](const std::string& message) {
        if (prompt)
            prompt->printAbove(message);
        else
            console::printMessage(message);
    };

    std::function<void(int, const std::string&)> handle = [&](int number, const std::string& line) {
        if (waiting) {
            held.emplace_back(number, line);
            return;
        }
        auto parsed = parseLine(line, number);
        if (auto* error = std::get_if<ParseError>(&parsed)) {
            printMessage("line " + std::to_string(error->line) + ": error: " + error->message);
            return;
        }
        auto& command = std::get<std::optional<Command>>(parsed);
        if (!command) return;
        if (auto* wait = std::get_if<command::Wait>(&command->body)) {
            waiting = true;
            mac.runLoop().asyncAfter(wait->seconds, [&] {
                waiting = false;
                while (!held.empty() && !waiting) {
                    auto [heldNumber, heldLine] = held.front();
                    held.pop_front();
                    handle(heldNumber, heldLine);
                }
            });
            return;
        }
        auto result = session.run(*command);
        if (!result.ok)
            printMessage("line " + std::to_string(number) + ": " + result.message);
        else if (isExpectation(command->body))
            printMessage("ok");
        else
            printMessage(result.message);
        if (result.quit) quit = true;
    };

    // The end of input ends the session once the lines held back by a `wait` have run.
    bool inputEnded = false;
    LineReader reader(STDIN_FILENO, "marlowick> ", [&](std::optional<std::string> line) {
        if (!line) {
            inputEnded = true;
            return;
        }
        handle(++lineNumber, *line);
    });
    prompt = &reader;
    mac.process().setEchoSink([&](std::string_view lines) { reader.printAbove(lines); });
    printMessage("Marlowick on a simulated Mac. Type `help` for the commands, `key opt+n` for the picker.");
    std::signal(SIGINT, onInterrupt);
    sim::RealTimeDriver driver(mac.runLoop());
    auto keepRunning = [&] {
        bool drained = inputEnded && !waiting && held.empty();
        return !quit && !drained && !interrupted && !mac.application().isTerminated();
    };
    driver.run(keepRunning, STDIN_FILENO, [&] { reader.readAvailable(); });
    std::signal(SIGINT, SIG_DFL);
    mac.process().setEchoSink(nullptr);
    prompt = nullptr;
    return 0;
}

int runProgram(int argc, char** argv) {
    auto parsed = parseProgramOptions({argv + 1, argv + argc});
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "marlowick: %s\n%s", error->c_str(), std::string(kUsage).c_str());
        return 2;
    }
    const auto& options = std::get<ProgramOptions>(parsed);
    if (options.help) {
        std::printf("%s%s", std::string(kUsage).c_str(), std::string(commandSummary()).c_str());
        return 0;
    }
    if (options.script) return runScript(*options.script, options);
    return runInteractive(options);
}

} // namespace marlowick::console
