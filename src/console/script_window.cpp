#include "console/script_window.h"

#include <cmath>
#include <cstdlib>

namespace marlowick::console {

namespace {

using Tokens = std::vector<Token>;
using Outcome = std::variant<CommandBody, std::string>;

bool word(const Token& token, std::string_view text) {
    return !token.quoted && token.text == text;
}

std::optional<double> points(const Token& token) {
    if (token.quoted || token.text.empty() || token.text.size() > 16) return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(token.text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || std::abs(value) > 100000) return std::nullopt;
    return value;
}

Outcome parseWindow(const Tokens& tokens) {
    using Action = command::Window::Action;
    constexpr std::string_view usage =
        "usage: window tab general|shortcuts|behavior|appearance | window click \"TITLE\" | "
        "window choose \"ROW\" \"OPTION\" | window switch \"ROW\" on|off | window swatch \"NAME\" | "
        "window record \"ROW\" | window close";
    if (tokens.size() < 2 || tokens[1].quoted) return std::string(usage);
    const std::string& what = tokens[1].text;
    if (what == "close" && tokens.size() == 2) return command::Window{Action::Close, "", "", false};
    if (what == "tab" && tokens.size() == 3) {
        for (std::string_view tab : {"general", "shortcuts", "behavior", "appearance"}) {
            if (word(tokens[2], tab)) return command::Window{Action::Tab, std::string(tab), "", false};
        }
        return std::string(usage);
    }
    if (tokens.size() == 3 && tokens[2].quoted) {
        if (what == "click") return command::Window{Action::Click, tokens[2].text, "", false};
        if (what == "swatch") return command::Window{Action::Swatch, tokens[2].text, "", false};
        if (what == "record") return command::Window{Action::Record, tokens[2].text, "", false};
    }
    if (what == "choose" && tokens.size() == 4 && tokens[2].quoted && tokens[3].quoted)
        return command::Window{Action::Choose, tokens[2].text, tokens[3].text, false};
    if (what == "switch" && tokens.size() == 4 && tokens[2].quoted &&
        (word(tokens[3], "on") || word(tokens[3], "off")))
        return command::Window{Action::Switch, tokens[2].text, "", tokens[3].text == "on"};
    return std::string(usage);
}

Outcome parseExpectWindow(const Tokens& tokens) {
    using namespace command;
    const std::string& what = tokens[1].text;
    auto quotedAt = [&](std::size_t i) { return tokens.size() > i && tokens[i].quoted; };
    if (what == "window") {
        if (tokens.size() == 4 && quotedAt(2) && (word(tokens[3], "shown") || word(tokens[3], "hidden")))
            return ExpectWindow{tokens[2].text, tokens[3].text == "shown"};
        return "usage: expect window \"TITLE\" shown|hidden";
    }
    if (what == "window-text") {
        if (tokens.size() == 3 && quotedAt(2)) return ExpectWindowText{tokens[2].text};
        return "usage: expect window-text \"TEXT\"";
    }
    if (what == "window-value") {
        if (tokens.size() == 4 && quotedAt(2) && quotedAt(3))
            return ExpectWindowValue{tokens[2].text, tokens[3].text};
        return "usage: expect window-value \"ROW\" \"VALUE\"";
    }
    if (what == "window-row") {
        using State = ExpectWindowRow::State;
        if (tokens.size() == 4 && quotedAt(2)) {
            if (word(tokens[3], "enabled")) return ExpectWindowRow{tokens[2].text, State::Enabled};
            if (word(tokens[3], "disabled")) return ExpectWindowRow{tokens[2].text, State::Disabled};
            if (word(tokens[3], "dimmed")) return ExpectWindowRow{tokens[2].text, State::Dimmed};
        }
        return "usage: expect window-row \"ROW\" enabled|disabled|dimmed";
    }
    if (what == "window-height") {
        if (tokens.size() == 3) {
            if (auto height = points(tokens[2])) return ExpectWindowHeight{*height};
        }
        return "usage: expect window-height POINTS";
    }
    if (what == "window-top") {
        if (tokens.size() == 3 && word(tokens[2], "kept")) return ExpectWindowTop{std::nullopt};
        if (tokens.size() == 3) {
            if (auto top = points(tokens[2])) return ExpectWindowTop{*top};
        }
        return "usage: expect window-top POINTS|kept";
    }
    if (what == "alert") {
        if (tokens.size() == 3 && quotedAt(2)) return ExpectAlert{tokens[2].text};
        return "usage: expect alert \"TEXT\"";
    }
    if (what == "no-alert") {
        if (tokens.size() == 2) return ExpectAlert{std::nullopt};
        return "usage: expect no-alert";
    }
    // A misspelt window expectation must not pass as another one.
    return "unknown expectation \"" + what +
           "\" (expected window, window-text, window-value, window-row, window-height, window-top, "
           "alert or no-alert)";
}

} // namespace

std::optional<Outcome> parseWindowCommand(const Tokens& tokens) {
    if (tokens.empty() || tokens[0].quoted) return std::nullopt;
    const std::string& name = tokens[0].text;
    if (name == "window") return parseWindow(tokens);
    if (name == "appearance") {
        if (tokens.size() == 2 && (word(tokens[1], "light") || word(tokens[1], "dark")))
            return Outcome{command::Appearance{tokens[1].text == "dark"}};
        return Outcome{std::string("usage: appearance light|dark")};
    }
    if (name == "reduce-motion") {
        if (tokens.size() == 2 && (word(tokens[1], "on") || word(tokens[1], "off")))
            return Outcome{command::ReduceMotion{tokens[1].text == "on"}};
        return Outcome{std::string("usage: reduce-motion on|off")};
    }
    if (name == "login-item") {
        using Answer = command::LoginItem::Answer;
        if (tokens.size() == 2) {
            if (word(tokens[1], "allow")) return Outcome{command::LoginItem{Answer::Allow}};
            if (word(tokens[1], "refuse")) return Outcome{command::LoginItem{Answer::Refuse}};
            if (word(tokens[1], "disable")) return Outcome{command::LoginItem{Answer::Disable}};
        }
        return Outcome{std::string("usage: login-item allow|refuse|disable")};
    }
    if (name == "expect" && tokens.size() >= 2 && !tokens[1].quoted) {
        const std::string& what = tokens[1].text;
        if (what == "window" || what.starts_with("window-") || what == "alert" || what == "no-alert")
            return parseExpectWindow(tokens);
    }
    return std::nullopt;
}

} // namespace marlowick::console
