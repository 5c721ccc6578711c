#include "console/script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "console/script_window.h"
#include "sim/date_formatter.h"

namespace marlowick::console {

namespace {

using Tokens = std::vector<Token>;
using Outcome = std::variant<CommandBody, std::string>;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A plain decimal number ("2", "0.5", "-3"); no exponents, hex or infinities.
std::optional<double> parseNumber(std::string_view text) {
    if (text.empty() || text.size() > 32) return std::nullopt;
    std::size_t digits = 0;
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else if (!(c == '-' && i == 0)) {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    return std::strtod(std::string(text).c_str(), nullptr);
}

std::optional<int> parseCount(std::string_view text, int lowest) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > kMaxCount)
        return std::nullopt;
    return value;
}

std::string join(std::initializer_list<std::string_view> words) {
    std::string out;
    for (auto word : words) {
        if (!out.empty()) out += ", ";
        out += word;
    }
    return out;
}

// `name` followed by exactly one of the words; `choices` maps them to results.
template <typename T>
std::variant<T, std::string> oneOf(const Tokens& tokens, std::string_view usage,
                                   std::initializer_list<std::pair<std::string_view, T>> choices) {
    if (tokens.size() == 2 && !tokens[1].quoted) {
        for (const auto& [word, value] : choices) {
            if (tokens[1].text == word) return value;
        }
    }
    return std::string("usage: ") + std::string(usage);
}

template <typename T, typename Body> Outcome lift(std::variant<T, std::string> choice, Body make) {
    if (auto* error = std::get_if<std::string>(&choice)) return *error;
    return make(std::get<T>(choice));
}

Outcome parseWait(const Tokens& tokens) {
    if (tokens.size() == 2 && !tokens[1].quoted) {
        auto seconds = parseNumber(tokens[1].text);
        if (seconds && *seconds >= 0 && *seconds <= kMaxWaitSeconds) return command::Wait{*seconds};
    }
    return "usage: wait SECONDS (a number from 0 to 86400)";
}

// "Reply,Mark as Read": an application's action labels, as it words them.
std::optional<std::vector<std::string>> splitActions(std::string_view list) {
    constexpr std::size_t kMaxActions = 16;
    std::vector<std::string> labels;
    while (true) {
        auto comma = list.find(',');
        std::string_view label = list.substr(0, comma);
        if (label.empty() || label.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
        labels.emplace_back(label);
        if (labels.size() > kMaxActions) return std::nullopt;
        if (comma == std::string_view::npos) return labels;
        list.remove_prefix(comma + 1);
    }
}

Outcome parsePost(const Tokens& tokens) {
    constexpr std::string_view usage =
        "usage: post APP \"TITLE\" [\"BODY\"] [subtitle=\"…\"] [id=ID] [actions=\"A,B\"] [older]";
    command::Post post;
    std::vector<std::string> texts;
    bool options = false;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (!token.quoted && i > 1 && token.text == "older") {
            post.older = options = true;
        } else if (!token.quoted && i > 1 && token.text.starts_with("id=")) {
            post.id = token.text.substr(3);
            options = true;
            if (post.id.empty()) return "post: id= needs a value";
        } else if (!token.quoted && i > 1 && token.text.starts_with("subtitle=")) {
            post.subtitle = token.text.substr(9);
            options = true;
        } else if (!token.quoted && i > 1 && token.text.starts_with("actions=")) {
            auto actions = splitActions(token.text.substr(8));
            if (!actions)
                return "post: actions= takes up to 16 labels between commas, none empty or on two lines";
            post.actions = std::move(*actions);
            options = true;
        } else if (options) {
            return "post: texts come before subtitle=, id=, actions= and older; " + std::string(usage);
        } else {
            texts.push_back(token.text);
        }
    }
    if (texts.size() < 2 || texts.size() > 3) return std::string(usage);
    if (texts[0].empty()) return "post: the application's name is empty";
    post.app = texts[0];
    post.title = texts[1];
    if (texts.size() == 3) post.body = texts[2];
    return post;
}

// nc language CODE ["CLOSE" "CLEAR ALL" "SHOW"]
Outcome parseLanguage(const Tokens& tokens) {
    constexpr std::string_view usage = "usage: nc language CODE [\"CLOSE\" \"CLEAR ALL\" \"SHOW\"]";
    if ((tokens.size() != 3 && tokens.size() != 6) || tokens[2].quoted) return std::string(usage);
    const std::string& code = tokens[2].text;
    bool plain = !code.empty() && code.size() <= 16 && std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '_';
    });
    if (!plain) return "nc language: CODE is letters, digits, - and _ (at most 16)";
    command::Language language{code, {}};
    if (tokens.size() == 6) {
        command::Language::Labels labels;
        for (std::size_t i = 3; i < 6; ++i) {
            const Token& token = tokens[i];
            if (!token.quoted || token.text.empty() || token.text.find('\n') != std::string::npos)
                return "nc language: each label is a quoted one-line text; " + std::string(usage);
        }
        labels.close = tokens[3].text;
        labels.clearAll = tokens[4].text;
        labels.show = tokens[5].text;
        language.labels = std::move(labels);
    }
    return language;
}

Outcome parseChordCommand(const Tokens& tokens, bool hold) {
    std::string_view usage =
        hold ? "usage: hold CHORD (opt+n, cmd+, ...)" : "usage: key CHORD (opt+n, 3, esc ...)";
    if (tokens.size() != 2) return std::string(usage);
    auto chord = parseChord(tokens[1].text);
    if (!chord) return "unknown key chord \"" + tokens[1].text + "\"";
    if (hold) return command::Hold{*chord};
    return command::Key{*chord};
}

Outcome parseMenu(const Tokens& tokens) {
    if (tokens.size() == 2 && !tokens[1].quoted && tokens[1].text == "open")
        return command::Menu{command::Menu::Action::Open, ""};
    if (tokens.size() == 2 && !tokens[1].quoted && tokens[1].text == "close")
        return command::Menu{command::Menu::Action::Close, ""};
    if (tokens.size() == 3 && !tokens[1].quoted && tokens[1].text == "click")
        return command::Menu{command::Menu::Action::Click, tokens[2].text};
    return "usage: menu open | menu close | menu click \"TITLE\"";
}

Outcome parseDefaults(const Tokens& tokens) {
    constexpr std::string_view usage =
        "usage: defaults KEY VALUE (true, false, a number or a quoted string) | defaults KEY delete";
    if (tokens.size() != 3 || tokens[1].quoted || tokens[1].text.empty()) return std::string(usage);
    command::Defaults defaults{tokens[1].text, std::nullopt};
    const Token& value = tokens[2];
    if (value.quoted) {
        defaults.value = value.text;
    } else if (value.text == "delete") {
        defaults.value = std::nullopt;
    } else if (value.text == "true" || value.text == "false") {
        defaults.value = value.text == "true";
    } else if (auto number = parseNumber(value.text)) {
        double whole = 0;
        bool integral = value.text.find('.') == std::string::npos && std::modf(*number, &whole) == 0 &&
                        std::abs(*number) < 9.0e15;
        if (integral)
            defaults.value = static_cast<std::int64_t>(*number);
        else
            defaults.value = *number;
    } else {
        return std::string(usage);
    }
    return defaults;
}

Outcome parseBundle(const Tokens& tokens) {
    if (tokens.size() == 3 && !tokens[1].quoted && !tokens[1].text.empty()) {
        if (!tokens[2].quoted && tokens[2].text == "none")
            return command::Bundle{tokens[1].text, std::nullopt};
        if (tokens[2].quoted) return command::Bundle{tokens[1].text, tokens[2].text};
    }
    return "usage: bundle KEY \"VALUE\" | bundle KEY none";
}

Outcome parseExpect(const Tokens& tokens) {
    using namespace command;
    if (tokens.size() < 2 || tokens[1].quoted) return "usage: expect WHAT ... (see help)";
    const std::string& what = tokens[1].text;
    // The one quoted argument of `expect log "..."` and the like.
    auto quoted = [&]() -> std::optional<std::string> {
        if (tokens.size() == 3 && tokens[2].quoted) return tokens[2].text;
        return std::nullopt;
    };
    if (what == "log" || what == "log-prefix" || what == "no-log") {
        auto match = what == "log"          ? ExpectLog::Match::Exact
                     : what == "log-prefix" ? ExpectLog::Match::Prefix
                                            : ExpectLog::Match::Absent;
        if (auto text = quoted()) return ExpectLog{match, *text};
        return "usage: expect " + what + " \"TEXT\"";
    }
    if (what == "opened") {
        if (auto title = quoted()) return ExpectOpened{*title};
        return "usage: expect opened \"TITLE\"";
    }
    Tokens rest(tokens.begin() + 1, tokens.end());
    if (what == "sidebar")
        return lift(oneOf<bool>(rest, "expect sidebar open|closed", {{"open", true}, {"closed", false}}),
                    [](bool open) { return ExpectSidebar{open}; });
    if (what == "picker")
        return lift(oneOf<bool>(rest, "expect picker shown|hidden", {{"shown", true}, {"hidden", false}}),
                    [](bool shown) { return ExpectPicker{shown}; });
    if (what == "selected" && tokens.size() == 3 && tokens[2].quoted)
        return ExpectSelected{0, tokens[2].text};
    if (what == "action") {
        if (tokens.size() == 4 && tokens[2].quoted && tokens[3].quoted && !tokens[2].text.empty())
            return ExpectAction{tokens[2].text, tokens[3].text};
        return "usage: expect action \"LABEL\" \"TITLE\"";
    }
    if (what == "ring")
        return lift(oneOf<bool>(rest, "expect ring animated|plain", {{"animated", true}, {"plain", false}}),
                    [](bool animated) { return ExpectRing{animated}; });
    if (what == "selected" || what == "items") {
        bool selected = what == "selected";
        if (tokens.size() == 3 && !tokens[2].quoted) {
            if (auto count = parseCount(tokens[2].text, selected ? 1 : 0)) {
                if (selected) return ExpectSelected{*count, std::nullopt};
                return ExpectItems{*count};
            }
        }
        return selected ? "usage: expect selected N (1 to 1000) | expect selected \"TITLE\""
                        : "usage: expect items N (0 to 1000)";
    }
    if (what == "menu-row") {
        constexpr std::string_view usage = "usage: expect menu-row \"TITLE\" enabled|disabled|hidden|shown";
        if (tokens.size() != 4 || !tokens[2].quoted) return std::string(usage);
        Tokens state{tokens[0], tokens[3]};
        return lift(oneOf<ExpectMenuRow::State>(state, usage.substr(7),
                                                {{"enabled", ExpectMenuRow::State::Enabled},
                                                 {"disabled", ExpectMenuRow::State::Disabled},
                                                 {"hidden", ExpectMenuRow::State::Hidden},
                                                 {"shown", ExpectMenuRow::State::Shown}}),
                    [&](ExpectMenuRow::State s) {
                        return ExpectMenuRow{tokens[2].text, s};
                    });
    }
    return "unknown expectation \"" + what + "\" (expected one of " +
           join({"log", "log-prefix", "no-log", "opened", "action", "sidebar", "picker", "ring", "selected", "items",
                 "menu-row", "window", "window-text", "window-value", "window-row", "window-height",
                 "window-top", "alert", "no-alert"}) +
           ")";
}

Outcome parseCommand(const Tokens& tokens) {
    using namespace command;
    const std::string& name = tokens[0].text;
    if (tokens[0].quoted) return "a line starts with a command, not a quoted string";
    if (auto windowCommand = parseWindowCommand(tokens)) return *windowCommand;
    auto bare = [&](CommandBody body) -> Outcome {
        if (tokens.size() != 1) return name + " takes no arguments";
        return body;
    };
    if (name == "launch") {
        if (tokens.size() == 1) return Launch{};
        std::vector<std::string> arguments;
        for (std::size_t i = 1; i < tokens.size(); ++i)
            arguments.push_back(tokens[i].text);
        return Launch{std::move(arguments)};
    }
    if (name == "show") return bare(Show{});
    if (name == "help") return bare(Help{});
    if (name == "quit") return bare(Quit{});
    if (name == "wait") return parseWait(tokens);
    if (name == "permission") {
        using State = Permission::State;
        return lift(
            oneOf<State>(tokens, "permission granted|denied|stale",
                         {{"granted", State::Granted}, {"denied", State::Denied}, {"stale", State::Stale}}),
            [](State state) { return Permission{state}; });
    }
    if (name == "widgets") {
        if (tokens.size() == 2 && !tokens[1].quoted) {
            if (auto count = parseCount(tokens[1].text, 0); count && *count <= kMaxWidgets)
                return Widgets{*count};
        }
        return "usage: widgets N (0 to " + std::to_string(kMaxWidgets) + ")";
    }
    if (name == "desktop-widgets") {
        if (tokens.size() == 2 && !tokens[1].quoted) {
            if (auto count = parseCount(tokens[1].text, 0); count && *count <= kMaxDesktopWidgets)
                return DesktopWidgets{*count};
        }
        return "usage: desktop-widgets N (0 to " + std::to_string(kMaxDesktopWidgets) + ")";
    }
    if (name == "user") {
        if (tokens.size() == 3 && !tokens[1].quoted && tokens[2].quoted) {
            if (tokens[1].text == "close") return User{User::Action::Close, tokens[2].text};
            if (tokens[1].text == "clear") return User{User::Action::Clear, tokens[2].text};
        }
        return "usage: user close \"TITLE\" | user clear \"APP\"";
    }
    if (name == "feed") {
        if (tokens.size() == 2 && tokens[1].quoted && !tokens[1].text.empty()) return Feed{tokens[1].text};
        if (tokens.size() == 2 && !tokens[1].quoted && tokens[1].text == "none") return Feed{};
        return "usage: feed \"VERSION\" | feed none";
    }
    if (name == "update-check")
        return lift(
            oneOf<bool>(tokens, "update-check scheduled|user", {{"scheduled", true}, {"user", false}}),
            [](bool scheduled) { return UpdateCheck{scheduled}; });
    if (name == "sample-tool") {
        using State = SampleTool::State;
        return lift(oneOf<State>(tokens, "sample-tool missing|present|failing",
                                 {{"missing", State::Missing}, {"present", State::Present},
                                  {"failing", State::Failing}}),
                    [](State state) { return SampleTool{state}; });
    }
    if (name == "nc" && tokens.size() >= 2 && !tokens[1].quoted && tokens[1].text == "language")
        return parseLanguage(tokens);
    if (name == "nc" && tokens.size() >= 2 && !tokens[1].quoted &&
        (tokens[1].text == "tree" || tokens[1].text == "dump")) {
        if (tokens.size() == 3 && !tokens[2].text.empty())
            return TreeFile{tokens[1].text == "dump", tokens[2].text};
        return "usage: nc tree FILE | nc dump FILE";
    }
    if (name == "nc" && tokens.size() >= 2 && !tokens[1].quoted && tokens[1].text == "lazy") {
        Tokens rest(tokens.begin() + 1, tokens.end());
        return lift(oneOf<bool>(rest, "nc lazy on|off", {{"on", true}, {"off", false}}),
                    [](bool on) { return Lazy{on}; });
    }
    if (name == "nc") {
        using Action = NotificationCenter::Action;
        return lift(oneOf<Action>(tokens, "nc running|quit|restart|crash|hung|answering",
                                  {{"running", Action::Running},
                                   {"quit", Action::Quit},
                                   {"restart", Action::Restart},
                                   {"crash", Action::Crash},
                                   {"hung", Action::Hung},
                                   {"answering", Action::Answering}}),
                    [](Action action) { return NotificationCenter{action}; });
    }
    if (name == "post") return parsePost(tokens);
    if (name == "sidebar")
        return lift(oneOf<bool>(tokens, "sidebar open|close", {{"open", true}, {"close", false}}),
                    [](bool open) { return Sidebar{open}; });
    if (name == "key") return parseChordCommand(tokens, false);
    if (name == "hold") return parseChordCommand(tokens, true);
    if (name == "layout") {
        if (tokens.size() == 2 && !tokens[1].quoted) {
            if (auto layout = layoutNamed(tokens[1].text)) return Layout{*layout};
        }
        return "usage: layout us|german|french|dvorak|partial-latin";
    }
    if (name == "locale") {
        std::string usage = "usage: locale";
        for (auto code : sim::SimDateFormatter::locales()) {
            if (tokens.size() == 2 && !tokens[1].quoted && tokens[1].text == code) return Locale{tokens[1].text};
            usage += (usage.back() == 'e' ? " " : "|") + std::string(code);
        }
        return usage;
    }
    if (name == "menu") return parseMenu(tokens);
    if (name == "defaults") return parseDefaults(tokens);
    if (name == "bundle") return parseBundle(tokens);
    if (name == "expect") return parseExpect(tokens);
    if (name == "screenshot") {
        bool window = tokens.size() == 3 && !tokens[2].quoted && tokens[2].text == "window";
        if ((tokens.size() == 2 || window) && !tokens[1].text.empty() && tokens[1].text.ends_with(".png"))
            return Screenshot{tokens[1].text, window};
        return "usage: screenshot FILE.png [window]";
    }
    return "unknown command \"" + name + "\" (try help)";
}

// Reads the quoted string that starts at line[i] into `out`; moves i past it. An error, or none.
std::optional<std::string> readQuoted(std::string_view line, std::size_t& i, std::string& out) {
    std::size_t start = i++;
    bool closed = false;
    while (i < line.size() && !closed) {
        char d = line[i++];
        if (d == '"') {
            closed = true;
        } else if (d == '\\') {
            if (i == line.size()) break;
            char escaped = line[i++];
            if (escaped == 'n')
                out += '\n';
            else if (escaped == '"' || escaped == '\\')
                out += escaped;
            else
                return std::string("unknown escape \\") + escaped + " at column " + std::to_string(i - 1) +
                       " (use \\\", \\\\ or \\n)";
        } else if (static_cast<unsigned char>(d) < 0x20 && d != '\t') {
            return "control character in a quoted string at column " + std::to_string(i);
        } else {
            out += d;
        }
    }
    if (!closed) return "unterminated quoted string starting at column " + std::to_string(start + 1);
    if (i < line.size() && !isBlank(line[i]) && line[i] != '#')
        return "a quoted string must be followed by a space at column " + std::to_string(i + 1);
    return std::nullopt;
}

} // namespace

std::variant<std::vector<Token>, std::string> tokenize(std::string_view line) {
    if (line.size() > kMaxLineLength)
        return "line is longer than " + std::to_string(kMaxLineLength) + " characters";
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (c == '#') break;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return "control character " + std::to_string(static_cast<int>(static_cast<unsigned char>(c))) +
                   " at column " + std::to_string(i + 1);
        Token token;
        if (c == '"') {
            token.quoted = true;
            if (auto error = readQuoted(line, i, token.text)) return *error;
        } else {
            while (i < line.size() && !isBlank(line[i])) {
                char d = line[i];
                if (d == '"' && token.text.ends_with('=')) {
                    // key="a quoted value" is one word
                    if (auto error = readQuoted(line, i, token.text)) return *error;
                    break;
                }
                if (d == '"') return "unexpected quote inside a word at column " + std::to_string(i + 1);
                if (static_cast<unsigned char>(d) < 0x20 || d == 0x7f)
                    return "control character " + std::to_string(static_cast<int>(d)) + " at column " +
                           std::to_string(i + 1);
                token.text += d;
                ++i;
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::variant<std::optional<Command>, ParseError> parseLine(std::string_view line, int lineNumber) {
    auto tokens = tokenize(line);
    if (auto* error = std::get_if<std::string>(&tokens)) return ParseError{lineNumber, *error};
    auto& words = std::get<Tokens>(tokens);
    if (words.empty()) return std::optional<Command>{};
    auto body = parseCommand(words);
    if (auto* error = std::get_if<std::string>(&body)) return ParseError{lineNumber, *error};
    return std::optional<Command>{Command{lineNumber, std::string(line), std::get<CommandBody>(body)}};
}

std::variant<std::vector<Command>, ParseError> parseScript(std::string_view text) {
    if (text.size() > kMaxScriptSize)
        return ParseError{0, "the script is larger than " + std::to_string(kMaxScriptSize) + " bytes"};
    std::vector<Command> commands;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        auto parsed = parseLine(line, lineNumber);
        if (auto* error = std::get_if<ParseError>(&parsed)) return *error;
        if (auto& command = std::get<std::optional<Command>>(parsed)) commands.push_back(std::move(*command));
    }
    return commands;
}

bool isExpectation(const CommandBody& body) {
    using namespace command;
    return std::holds_alternative<ExpectLog>(body) || std::holds_alternative<ExpectOpened>(body) ||
           std::holds_alternative<ExpectAction>(body) || std::holds_alternative<ExpectSidebar>(body) ||
           std::holds_alternative<ExpectPicker>(body) || std::holds_alternative<ExpectSelected>(body) ||
           std::holds_alternative<ExpectItems>(body) || std::holds_alternative<ExpectRing>(body) ||
           std::holds_alternative<ExpectMenuRow>(body) ||
           std::holds_alternative<ExpectWindow>(body) || std::holds_alternative<ExpectWindowText>(body) ||
           std::holds_alternative<ExpectWindowValue>(body) || std::holds_alternative<ExpectWindowRow>(body) ||
           std::holds_alternative<ExpectWindowHeight>(body) ||
           std::holds_alternative<ExpectWindowTop>(body) || std::holds_alternative<ExpectAlert>(body);
}

std::string_view commandSummary() {
    return R"(Commands (one a line; # starts a comment; quoted strings take \", \\ and \n):
  launch [ARGUMENTS...]           start Marlowick (with these arguments instead of the program's);
                                  commands before it set up the world. After a run that only
                                  recorded a tree (--dump-tree), launch starts it again
  wait SECONDS                    let time pass
  permission granted|denied|stale the accessibility permission (stale: reported, but every read
                                  is refused, as after an update of the app)
  nc running|quit|restart|crash|hung|answering   Notification Center's process (a crash: gone at
                                  once, relaunched by the system after about a second)
  nc tree FILE                    Notification Center shows a recorded tree (marlowick-ax-tree JSON)
                                  and keeps running; AXPress or a custom action on a row removes it
                                  (AXPress on a stack does nothing) and is recorded. A relative
                                  FILE is read from the script's folder, ~/ is the simulated home
  nc dump FILE                    write Notification Center's tree as it is now in the same format
  nc lazy on|off                  the list holds only the rows wholly on screen; paging brings the
                                  others in
  nc language CODE                Notification Center speaks CODE (en de fr es pt it nl sv pl ru ja ko
                                  zh-Hans), and it is the user's preferred language; a running
                                  Notification Center is relaunched, as after a new login
  nc language CODE "CLOSE" "CLEAR ALL" "SHOW"   the same for a language the table lacks, with
                                  these labels (its strings table carries them)
  widgets N                       the sidebar shows N widgets below the notifications
  desktop-widgets N               N desktop widgets: windows of Notification Center's own process,
                                  each with about 30 elements, whether or not the panel is open
  user close "TITLE"              the user closes a notification with Notification Center's button
  user clear "APP"                the user clears an application's stack the same way
  feed "VERSION"|none             the update feed offers VERSION (none: up to date)
  update-check scheduled|user     a scheduled check, or the user's own, runs now
  sample-tool missing|present|failing   whether "/usr/bin/sample" can be launched, and whether it
                                  then writes its file (failing: it ends with status 1, no file)
  post APP "TITLE" ["BODY"] [subtitle="…"] [id=ID] [actions="A,B"] [older]   a notification
                                  arrives (actions: its application's own, such as "Reply,Mark as Read")
  sidebar open|close              the user opens or closes the sidebar by hand
  key CHORD                       press and release: opt+n, ctrl+opt+shift+n, shift+g, cmd+,, 1-9,
                                  kp1-kp9, up, down, return, enter, esc, tab, delete,
                                  forward-delete, letters
  hold CHORD                      another application holds this chord from now on
  layout us|german|french|dvorak|partial-latin   the keyboard layout
  locale en_US|en_GB|de_DE|fr_FR|ja_JP   the user's locale, for the dates Marlowick shows
  menu open|close                 the status menu
  menu click "TITLE"              choose a row of the open status menu
  defaults KEY VALUE|delete       write or remove a user default (true, false, a number, "text")
  bundle KEY "VALUE"|none         a bundle information value (before launch)
  expect log "MESSAGE"            a log line with exactly this message, after the previous match
  expect log-prefix "TEXT"        the same, for a message that begins with TEXT
  expect no-log "TEXT"            no log line since the previous match begins with TEXT
  expect opened "TITLE"           Notification Center opened a notification with this title
  expect action "LABEL" "TITLE"   Notification Center received the action LABEL (a custom action's
                                  label, or a name such as "AXPress") on the row whose first text is TITLE
  expect sidebar open|closed      expect picker shown|hidden
  expect selected N               the picker's selection (1 is the top item)
  expect selected "TITLE"         the selected item is the row whose first text is TITLE
  expect items N                  the picker's items (the sidebar's rows while no picker shows)
  expect ring animated|plain      whether an animation of the picker's selection ring applies now
  expect menu-row "TITLE" enabled|disabled|hidden|shown
  window tab general|shortcuts|behavior|appearance   click that tab of the settings sidebar
  window click "TITLE"            click the button titled TITLE in the front window (or its alert)
  window choose "ROW" "OPTION"    choose OPTION in the picker of the row titled ROW
  window switch "ROW" on|off      set the switch of the row titled ROW
  window swatch "NAME"            click the colour swatch NAME ("green" ... "amber", "#ff8800")
  window record "ROW"             click the shortcut field of ROW; `key` commands then go to it
  window close                    close the front window with its close button
  appearance light|dark           the system appearance
  reduce-motion on|off            the system's Reduce Motion setting
  login-item allow|refuse|disable the login-item service: accepts changes, refuses them, or the
                                  user switched Marlowick off in Login Items (requires approval)
  expect window "TITLE" shown|hidden   a titled window (its title hidden or not) is on screen
  expect window-text "TEXT"       the front window shows a text exactly TEXT
  expect window-value "ROW" "VALUE"    the row's control shows VALUE ("On"/"Off" for a switch)
  expect window-row "ROW" enabled|disabled|dimmed   the row's control, or the button titled ROW
  expect window-height N          the front window's content height once its animation ends
  expect window-top N|kept        the y of its top edge, or where it was before the last `window`
  expect alert "TEXT"             an alert whose title or message contains TEXT; expect no-alert
  screenshot FILE.png [window]    the simulated screen now (or only the front window)
  show                            the simulated screen as text
  help                            this list
  quit                            end the session
)";
}

} // namespace marlowick::console
