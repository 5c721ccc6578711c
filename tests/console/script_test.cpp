#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/script.h"

namespace marlowick::console {
namespace {

using ::testing::HasSubstr;

std::vector<Token> words(std::string_view line) {
    auto tokens = tokenize(line);
    EXPECT_TRUE(std::holds_alternative<std::vector<Token>>(tokens)) << line;
    return std::holds_alternative<std::vector<Token>>(tokens) ? std::get<std::vector<Token>>(tokens)
                                                              : std::vector<Token>{};
}

std::string tokenError(std::string_view line) {
    auto tokens = tokenize(line);
    return std::holds_alternative<std::string>(tokens) ? std::get<std::string>(tokens) : "";
}

CommandBody body(std::string_view line) {
    auto parsed = parseLine(line, 7);
    if (auto* error = std::get_if<ParseError>(&parsed)) {
        ADD_FAILURE() << line << ": " << error->message;
        return command::Show{};
    }
    auto& command = std::get<std::optional<Command>>(parsed);
    EXPECT_TRUE(command.has_value()) << line;
    return command ? command->body : CommandBody{command::Show{}};
}

ParseError error(std::string_view line) {
    auto parsed = parseLine(line, 7);
    EXPECT_TRUE(std::holds_alternative<ParseError>(parsed)) << line << " parsed";
    return std::holds_alternative<ParseError>(parsed) ? std::get<ParseError>(parsed) : ParseError{};
}

TEST(Tokenize, QuotesEscapesAndComments) {
    auto tokens = words(R"(post  Mail "Say \"hi\"\\now\nplease" # a comment "not a token")");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[1].text, "Mail");
    EXPECT_FALSE(tokens[1].quoted);
    EXPECT_EQ(tokens[2].text, "Say \"hi\"\\now\nplease");
    EXPECT_TRUE(tokens[2].quoted);
    // A "#" inside quotes is text; an empty quoted string is still a word.
    tokens = words("expect log \"# not a comment\" \"\"");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[2].text, "# not a comment");
    EXPECT_EQ(tokens[3].text, "");
    EXPECT_TRUE(words("   # only a comment").empty());
    EXPECT_TRUE(words("").empty());
}

TEST(Tokenize, MalformedLinesSayWhatAndWhere) {
    EXPECT_THAT(tokenError(R"(post Mail "Lunch)"),
                HasSubstr("unterminated quoted string starting at column 11"));
    EXPECT_THAT(tokenError(R"(post Mail "ends in a backslash\)"), HasSubstr("unterminated"));
    EXPECT_THAT(tokenError(R"(post Mail "tab \t")"), HasSubstr("unknown escape \\t"));
    EXPECT_THAT(tokenError(R"(post Mail "a"b)"), HasSubstr("followed by a space"));
    EXPECT_THAT(tokenError(R"(post Ma"il)"), HasSubstr("unexpected quote"));
    EXPECT_THAT(tokenError(std::string("post Mail \"a\0b\"", 16)), HasSubstr("control character"));
    EXPECT_THAT(tokenError("key \x1b[A"), HasSubstr("control character 27"));
    EXPECT_THAT(tokenError(std::string(kMaxLineLength + 1, 'x')), HasSubstr("longer than 4096"));
    EXPECT_EQ(tokenError(std::string(kMaxLineLength, 'x')), "");
}

TEST(Parse, EveryCommandOfTheLanguage) {
    using namespace command;
    EXPECT_EQ(std::get<Launch>(body("launch")).arguments, std::nullopt);
    EXPECT_EQ(std::get<Launch>(body("launch --dump-tree \"my tree.json\"")).arguments,
              (std::vector<std::string>{"--dump-tree", "my tree.json"}));
    EXPECT_EQ(std::get<TreeFile>(body("nc tree \"trees/a b.json\"")).path, "trees/a b.json");
    EXPECT_TRUE(std::get<TreeFile>(body("nc dump ~/out.json")).dump);
    EXPECT_EQ(std::get<Wait>(body("wait 0.25")).seconds, 0.25);
    EXPECT_EQ(std::get<Permission>(body("permission stale")).state, Permission::State::Stale);
    EXPECT_EQ(std::get<NotificationCenter>(body("nc crash")).action, NotificationCenter::Action::Crash);
    EXPECT_EQ(std::get<Widgets>(body("widgets 12")).count, 12);
    EXPECT_EQ(std::get<User>(body("user clear \"Mail\"")).action, User::Action::Clear);
    EXPECT_EQ(std::get<Feed>(body("feed \"2.0\"")).version, "2.0");
    EXPECT_FALSE(std::get<UpdateCheck>(body("update-check user")).scheduled);
    EXPECT_EQ(std::get<SampleTool>(body("sample-tool failing")).state, SampleTool::State::Failing);
    EXPECT_EQ(std::get<NotificationCenter>(body("nc hung")).action, NotificationCenter::Action::Hung);
    EXPECT_FALSE(std::get<Sidebar>(body("sidebar close")).open);
    EXPECT_EQ(std::get<Layout>(body("layout dvorak")).layout, LayoutName::Dvorak);
    EXPECT_EQ(std::get<Locale>(body("locale de_DE")).code, "de_DE");
    EXPECT_EQ(std::get<Menu>(body("menu click \"Clear all\"")).title, "Clear all");
    EXPECT_EQ(std::get<Key>(body("key ctrl+opt+shift+n")).chord.text, "ctrl+opt+shift+n");
    EXPECT_EQ(std::get<Hold>(body("hold opt+n")).chord.character, 'n');
    EXPECT_EQ(std::get<Bundle>(body("bundle CFBundleShortVersionString none")).value, std::nullopt);
    EXPECT_EQ(std::get<Bundle>(body("bundle SUFeedURL \"https://x\"")).value, "https://x");
    EXPECT_EQ(std::get<ExpectLog>(body("expect no-log \"Hotkey\"")).match, ExpectLog::Match::Absent);
    EXPECT_EQ(std::get<ExpectSelected>(body("expect selected 3")).position, 3);
    EXPECT_EQ(std::get<ExpectItems>(body("expect items 0")).count, 0);
    EXPECT_EQ(std::get<ExpectMenuRow>(body("expect menu-row \"Clear all\" disabled")).state,
              ExpectMenuRow::State::Disabled);
    EXPECT_EQ(std::get<Screenshot>(body("screenshot out/picker.png")).path, "out/picker.png");
}

TEST(Parse, PostTakesOptionalBodyIdAndOlder) {
    auto post = std::get<command::Post>(body(R"(post "Google Chrome" "Download done" id=dl-7 older)"));
    EXPECT_EQ(post.app, "Google Chrome");
    EXPECT_EQ(post.title, "Download done");
    EXPECT_EQ(post.body, "");
    EXPECT_EQ(post.id, "dl-7");
    EXPECT_TRUE(post.older);
    // Quoted, "older" and "id=x" are texts like any other.
    post = std::get<command::Post>(body(R"(post Mail "older" "id=x")"));
    EXPECT_EQ(post.title, "older");
    EXPECT_EQ(post.body, "id=x");
    EXPECT_FALSE(post.older);
    EXPECT_THAT(error("post Mail").message, HasSubstr("usage: post"));
    EXPECT_THAT(error(R"(post Mail "a" "b" "c")").message, HasSubstr("usage: post"));
    EXPECT_THAT(error(R"(post Mail "a" older "b")").message, HasSubstr("texts come before"));
    EXPECT_THAT(error(R"(post "" "a")").message, HasSubstr("empty"));
}

TEST(Parse, DefaultsValuesKeepTheirTypes) {
    using Value = platform::DefaultsValue;
    auto value = [](std::string_view line) { return std::get<command::Defaults>(body(line)).value; };
    EXPECT_EQ(value("defaults isOn false"), Value(false));
    EXPECT_EQ(value("defaults count 3"), Value(std::int64_t{3}));
    EXPECT_EQ(value("defaults count -3"), Value(std::int64_t{-3}));
    EXPECT_EQ(value("defaults ratio 3.0"), Value(3.0)) << "a written point keeps the number a double";
    EXPECT_EQ(value("defaults openMode \"next\""), Value(std::string("next")));
    EXPECT_EQ(value("defaults openMode \"true\""), Value(std::string("true")));
    EXPECT_EQ(value("defaults openMode delete"), std::nullopt);
    EXPECT_THAT(error("defaults openMode next").message, HasSubstr("usage: defaults"));
    EXPECT_THAT(error("defaults x 1e9").message, HasSubstr("usage: defaults"));
    EXPECT_THAT(error("defaults x nan").message, HasSubstr("usage: defaults"));
}

TEST(Parse, BadInputIsRefusedWithItsLineNumber) {
    auto bad = error("frobnicate now");
    EXPECT_EQ(bad.line, 7);
    EXPECT_THAT(bad.message, HasSubstr("unknown command \"frobnicate\""));
    EXPECT_THAT(error("key opt+banana").message, HasSubstr("unknown key chord \"opt+banana\""));
    EXPECT_THAT(error("key hyper+n").message, HasSubstr("unknown key chord"));
    EXPECT_THAT(error("key").message, HasSubstr("usage: key"));
    EXPECT_THAT(error("wait -1").message, HasSubstr("usage: wait"));
    EXPECT_THAT(error("wait 1e400").message, HasSubstr("usage: wait"));
    EXPECT_THAT(error("wait 90000").message, HasSubstr("usage: wait"));
    EXPECT_THAT(error("wait inf").message, HasSubstr("usage: wait"));
    EXPECT_THAT(error("nc tree").message, HasSubstr("usage: nc tree FILE | nc dump FILE"));
    EXPECT_THAT(error("nc dump a.json b.json").message, HasSubstr("usage: nc tree FILE"));
    EXPECT_THAT(error("expect selected 0").message, HasSubstr("1 to 1000"));
    EXPECT_THAT(error("expect items 99999999999").message, HasSubstr("0 to 1000"));
    EXPECT_THAT(error("expect log Hotkey").message, HasSubstr("usage: expect log"));
    EXPECT_THAT(error("expect weather sunny").message, HasSubstr("unknown expectation"));
    EXPECT_THAT(error("expect menu-row Clear enabled").message, HasSubstr("usage: expect menu-row"));
    EXPECT_THAT(error("\"launch\"").message, HasSubstr("not a quoted string"));
    EXPECT_THAT(error("layout klingon").message, HasSubstr("usage: layout"));
    EXPECT_THAT(error("locale tlh").message, HasSubstr("usage: locale en_US|en_GB|de_DE|fr_FR|ja_JP"));
    EXPECT_THAT(error("widgets 13").message, HasSubstr("0 to 12"));
    EXPECT_THAT(error("user close Mail").message, HasSubstr("usage: user"));
    EXPECT_THAT(error("feed \"\"").message, HasSubstr("usage: feed"));
    EXPECT_THAT(error("screenshot shot.jpg").message, HasSubstr("FILE.png"));
}

TEST(ParseScript, NumbersLinesAcrossBlanksCommentsAndCrLf) {
    auto parsed = parseScript("# set up\r\n\r\npermission granted\r\nlaunch\n  \nkey opt+n");
    ASSERT_TRUE(std::holds_alternative<std::vector<Command>>(parsed));
    const auto& commands = std::get<std::vector<Command>>(parsed);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[1].line, 4);
    EXPECT_EQ(commands[2].line, 6);
    EXPECT_EQ(commands[2].text, "key opt+n");

    auto failed = parseScript("launch\n\nkey opt+n\npost Mail \"unterminated\nlaunch");
    ASSERT_TRUE(std::holds_alternative<ParseError>(failed));
    EXPECT_EQ(std::get<ParseError>(failed).line, 4);

    auto huge = parseScript(std::string(kMaxScriptSize + 1, '#'));
    ASSERT_TRUE(std::holds_alternative<ParseError>(huge));
    EXPECT_THAT(std::get<ParseError>(huge).message, HasSubstr("larger than"));
}

} // namespace
} // namespace marlowick::console
