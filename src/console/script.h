// The console's command language: one command a line, "#" comments, quoted strings with \", \\ and
// \n. Turns text into checked commands, or into an error that names its line. Running the commands
// is session.h's; what a chord's keys are on a layout is chord.h's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "console/chord.h"
#include "platform/user_defaults.h"

namespace marlowick::console {

// Lines and scripts are bounded so that a runaway file gives an error, not a stall.
inline constexpr std::size_t kMaxLineLength = 4096;
inline constexpr std::size_t kMaxScriptSize = 1 << 20;
// The longest single `wait`: a day of virtual time.
inline constexpr double kMaxWaitSeconds = 86400;
inline constexpr int kMaxCount = 1000;
// As many widgets as the simulated sidebar has room for.
inline constexpr int kMaxWidgets = 12;
inline constexpr int kMaxDesktopWidgets = 64;

// One word of a line: quoted words keep their quotes' meaning (a quoted "older" is a title).
struct Token {
    std::string text;
    bool quoted = false;
};

namespace command {

struct Launch {
    std::optional<std::vector<std::string>> arguments; // none: the program's own for Marlowick
};
struct Wait {
    double seconds = 0;
};
struct Permission {
    enum class State { Granted, Denied, Stale };
    State state = State::Denied;
};
struct NotificationCenter {
    enum class Action { Running, Quit, Restart, Hung, Answering, Crash };
    Action action = Action::Running;
};
struct Language { // Notification Center's language
    struct Labels {
        std::string close, clearAll, show;
    };
    std::string code;
    std::optional<Labels> labels; // for a language its table lacks
};
struct Widgets {
    int count = 0;
};
struct TreeFile { // Notification Center's tree from a recording, or into one
    bool dump = false;
    std::string path;
};
struct Lazy { // Notification Center's list holds only the rows on screen
    bool on = false;
};
struct DesktopWidgets {
    int count = 0;
};
struct User { // the user works Notification Center's own buttons
    enum class Action { Close, Clear };
    Action action = Action::Close;
    std::string what; // a notification's title, or an application's name
};
struct Feed {
    std::optional<std::string> version; // none: up to date
};
struct UpdateCheck {
    bool scheduled = true;
};
struct SampleTool {
    enum class State { Present, Missing, Failing };
    State state = State::Missing;
};
struct Post {
    std::string app;
    std::string title;
    std::string body;
    std::string subtitle;
    std::string id;
    std::vector<std::string> actions;
    bool older = false;
};
struct Sidebar {
    bool open = false;
};
struct Key {
    Chord chord;
};
struct Hold {
    Chord chord;
};
struct Layout {
    LayoutName layout = LayoutName::US;
};
struct Locale {
    std::string code; // one the simulated Mac knows: en_US, en_GB, de_DE, fr_FR, ja_JP
};
struct Menu {
    enum class Action { Open, Close, Click };
    Action action = Action::Open;
    std::string title;
};
struct Defaults {
    std::string key;
    std::optional<platform::DefaultsValue> value; // none: delete
};
struct Bundle {
    std::string key;
    std::optional<std::string> value; // none: remove
};
struct ExpectLog {
    enum class Match { Exact, Prefix, Absent };
    Match match = Match::Exact;
    std::string text;
};
struct ExpectOpened {
    std::string title;
};
struct ExpectSidebar {
    bool open = false;
};
struct ExpectPicker {
    bool shown = false;
};
struct ExpectSelected {
    int position = 1;                 // 1-based, as the badges number the items
    std::optional<std::string> title; // or the row whose first text this is
};
struct ExpectAction {
    std::string label; // a custom action's label, or a plain action name
    std::string title; // the row's first text
};
struct ExpectItems {
    int count = 0;
};
struct ExpectRing {
    bool animated = false; // an animation of the selection ring applies at this moment
};
struct ExpectMenuRow {
    enum class State { Enabled, Disabled, Hidden, Shown };
    std::string title;
    State state = State::Shown;
};
// The front titled window, worked as a person with a mouse would.
struct Window {
    enum class Action { Tab, Click, Choose, Switch, Swatch, Record, Close };
    Action action = Action::Click;
    std::string target; // the tab, button, row or swatch
    std::string option; // the picker's option
    bool on = false;    // the switch's new state
};
struct Appearance {
    bool dark = false;
};
struct ReduceMotion {
    bool on = false;
};
struct LoginItem {
    enum class Answer { Allow, Refuse, Disable };
    Answer answer = Answer::Allow;
};
struct ExpectWindow {
    std::string title;
    bool shown = true;
};
struct ExpectWindowText {
    std::string text;
};
struct ExpectWindowValue {
    std::string row;
    std::string value;
};
struct ExpectWindowRow {
    enum class State { Enabled, Disabled, Dimmed };
    std::string row;
    State state = State::Enabled;
};
struct ExpectWindowHeight {
    double height = 0;
};
struct ExpectWindowTop {
    std::optional<double> top; // none: where it was before the latest `window` command
};
struct ExpectAlert {
    std::optional<std::string> text; // none: no alert is shown
};
struct Screenshot {
    std::string path;
    // Only the front titled window with its shadow, not the whole screen.
    bool frontWindow = false;
};
struct Show {};
struct Help {};
struct Quit {};

} // namespace command

using CommandBody =
    std::variant<command::Launch, command::Wait, command::Permission, command::NotificationCenter,
                 command::Language, command::Lazy, command::TreeFile, command::Widgets,
                 command::DesktopWidgets, command::User, command::Feed, command::UpdateCheck, command::SampleTool, command::Post, command::Sidebar,
                 command::Key, command::Hold, command::Layout, command::Locale, command::Menu,
                 command::Defaults, command::Bundle, command::ExpectLog, command::ExpectOpened,
                 command::ExpectAction, command::ExpectSidebar, command::ExpectPicker, command::ExpectSelected,
                 command::ExpectItems, command::ExpectRing, command::ExpectMenuRow, command::Window,
                 command::Appearance, command::ReduceMotion, command::LoginItem,
                 command::ExpectWindow, command::ExpectWindowText, command::ExpectWindowValue,
                 command::ExpectWindowRow, command::ExpectWindowHeight, command::ExpectWindowTop,
                 command::ExpectAlert, command::Screenshot, command::Show, command::Help, command::Quit>;

struct Command {
    int line = 0;
    std::string text; // the line as written, for messages and screenshot names
    CommandBody body;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// The words of one line without its comment, or what is wrong with it.
std::variant<std::vector<Token>, std::string> tokenize(std::string_view line);

// One line: a command, nothing (blank or comment only), or an error carrying `lineNumber`.
std::variant<std::optional<Command>, ParseError> parseLine(std::string_view line, int lineNumber);

// A whole script; the first error stops it. Lines end in "\n" (a "\r" before it is dropped).
std::variant<std::vector<Command>, ParseError> parseScript(std::string_view text);

// Whether the command checks something rather than acting.
bool isExpectation(const CommandBody& body);

// The commands and what they do, for --help and the console's `help`.
std::string_view commandSummary();

} // namespace marlowick::console
