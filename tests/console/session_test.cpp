#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "console/line_reader.h"
#include "console/program.h"
#include "console/screen.h"
#include "console/session.h"

namespace marlowick::console {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

Command parsed(std::string_view line) {
    auto result = parseLine(line, 1);
    return std::get<std::optional<Command>>(result).value();
}

class SessionTest : public ::testing::Test {
protected:
    Session::Result run(std::string_view line) { return session.run(parsed(line)); }
    void runAll(std::initializer_list<std::string_view> lines) {
        for (auto line : lines)
            ASSERT_TRUE(run(line).ok) << line;
    }

    Session session{{.world = Session::World::Bare, .echoLog = false}};
};

TEST_F(SessionTest, LogExpectationsMoveForwardFromTheirLastMatch) {
    runAll({"permission granted", "launch"});
    EXPECT_TRUE(run("expect log-prefix \"Mode badges\"").ok);
    // The start line came before the mode line: it is behind the cursor now.
    auto behind = run("expect log-prefix \"Marlowick 0.1.0 running\"");
    EXPECT_FALSE(behind.ok);
    EXPECT_THAT(behind.message, HasSubstr("after the previous match"));
    // no-log looks only at what was written since the last match, and does not move the cursor.
    EXPECT_TRUE(run("expect no-log \"Marlowick\"").ok);
    runAll({"key opt+n", "wait 1"});
    auto seen = run("expect no-log \"Hotkey\"");
    EXPECT_FALSE(seen.ok);
    EXPECT_THAT(seen.message, HasSubstr("Hotkey: found 0 banner(s)"));
    EXPECT_TRUE(run("expect log \"Hotkey: found 0 banner(s)\"").ok);
    // Exact means exact: a prefix of a line is not the line.
    EXPECT_FALSE(run("expect log \"Sidebar: found\"").ok);
}

TEST(SessionTreeFiles, ReadFromTheScriptsFolderAndNameTheLineOfAFault) {
    auto folder = std::filesystem::temp_directory_path() / "marlowick-session-trees";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "bad.json") << "{\"format\": \"marlowick-ax-tree\",\n\"version\": 1,\n"
                                          "\"application\": {\"children\": [\n{\"size\": [1]}]}}";
    Session session{{.world = Session::World::Bare, .echoLog = false, .folder = folder.string()}};
    auto refused = session.run(parsed("nc tree bad.json"));
    EXPECT_FALSE(refused.ok);
    EXPECT_THAT(refused.message, HasSubstr("bad.json:4: application.children[0].size is not [x, y]"));
    EXPECT_THAT(session.run(parsed("nc tree missing.json")).message, HasSubstr("cannot read"));
    // A full run of Marlowick is launched once; only a run that recorded a tree can be followed.
    EXPECT_TRUE(session.run(parsed("permission granted")).ok);
    EXPECT_TRUE(session.run(parsed("launch --dump-tree ~/good.json")).ok);
    EXPECT_TRUE(session.run(parsed("nc tree ~/good.json")).ok);
    EXPECT_TRUE(session.run(parsed("launch")).ok);
    EXPECT_THAT(session.run(parsed("launch")).message, HasSubstr("already running"));
    std::filesystem::remove_all(folder);
}

TEST_F(SessionTest, FailedExpectationsSayWhatWasSeen) {
    runAll({"post Mail \"Lunch\"", "permission granted", "launch", "wait 6"});
    EXPECT_THAT(run("expect picker shown").message, HasSubstr("the picker is hidden"));
    EXPECT_THAT(run("expect selected 1").message, HasSubstr("the picker is hidden"));
    EXPECT_THAT(run("expect items 3").message, HasSubstr("the sidebar lists 1 item(s)"));
    EXPECT_THAT(run("expect sidebar open").message, HasSubstr("the sidebar is closed"));
    EXPECT_THAT(run("expect opened \"Lunch\"").message, HasSubstr("opened: none"));
    EXPECT_THAT(run("expect menu-row \"Quit\" shown").message, HasSubstr("no menu is open"));
    runAll({"menu open"});
    EXPECT_THAT(run("expect menu-row \"Quit\" hidden").message, HasSubstr("is enabled"));
    EXPECT_THAT(run("expect menu-row \"Nope\" shown").message, HasSubstr("is hidden"));
}

TEST_F(SessionTest, CommandsThatCannotHappenAreErrorsNotCrashes) {
    EXPECT_THAT(run("menu open").message, HasSubstr("launch"));
    EXPECT_THAT(run("expect menu-row \"Quit\" shown").message, HasSubstr("no menu is open"));
    runAll({"launch"});
    EXPECT_THAT(run("launch").message, HasSubstr("already running"));
    EXPECT_THAT(run("bundle SUFeedURL \"https://example.com\"").message, HasSubstr("before `launch`"));
    EXPECT_THAT(run("menu close").message, HasSubstr("no menu is open"));
    EXPECT_THAT(run("menu click \"Quit\"").message, HasSubstr("no menu is open"));
    runAll({"menu open"});
    EXPECT_THAT(run("menu open").message, HasSubstr("open already"));
    EXPECT_THAT(run("menu click \"Nothing like this\"").message, HasSubstr("no row"));
    // Notification Center that cannot react leaves the sidebar as it was and says so.
    runAll({"menu close", "nc quit"});
    auto result = run("sidebar open");
    EXPECT_TRUE(result.ok);
    EXPECT_THAT(result.message, HasSubstr("did not react"));
}

TEST_F(SessionTest, WaitIsTheOnlyThingThatLetsTimePass) {
    runAll({"permission granted", "launch", "post Mail \"Lunch\"", "key opt+n", "sidebar open", "show"});
    EXPECT_EQ(session.mac().now(), 0);
    runAll({"wait 0.25"});
    EXPECT_DOUBLE_EQ(session.mac().now(), 0.25);
}

TEST(LiveOutput, WholeLinesGoAboveThePromptAndForgottenLinesKeepTheirNumbers) {
    EXPECT_EQ(textAbovePrompt("Hotkey"), "\r\x1b[KHotkey\n");
    EXPECT_EQ(textAbovePrompt("a\nb\n"), "\r\x1b[Ka\nb\n");
    EXPECT_EQ(promptWithLine("> ", "key op", 6), "> key op") << "the cursor stays at the end";
    EXPECT_EQ(promptWithLine("> ", "t\xc3\xa9st", 1), "> t\xc3\xa9st\x1b[3D") << "one column a character";
    EXPECT_EQ(promptWithLine("> ", "ab", 9), "> ab") << "a point past the end is the end";

    sim::SimMac mac;
    auto& process = mac.process();
    std::vector<std::string> printed;
    process.setEcho(true);
    process.setEchoSink([&](std::string_view lines) { printed.emplace_back(lines); });
    process.writeStandardOutput("2026-03-01 14:05:09.000 par");
    EXPECT_TRUE(printed.empty()) << "half a line would be redrawn over";
    process.writeStandardOutput("tial\n2026-03-01 14:05:09.000 next\n");
    EXPECT_THAT(printed,
                ::testing::ElementsAre("2026-03-01 14:05:09.000 partial\n2026-03-01 14:05:09.000 next\n"));

    process.setEcho(false);
    for (std::size_t i = 0; i < sim::SimProcess::kKeptLines; ++i)
        process.writeStandardOutput("2026-03-01 14:05:10.000 line " + std::to_string(i) + "\n");
    auto kept = mac.logLinesFrom(0);
    ASSERT_EQ(kept.size(), sim::SimProcess::kKeptLines);
    EXPECT_EQ(kept.front().number, 2u);
    EXPECT_EQ(kept.front().message, "line 0");
    EXPECT_EQ(mac.logLinesFrom(kept.back().number).size(), 1u);
}

TEST(ConsoleWorld, StartsReadyForThePicker) {
    Session session({.world = Session::World::Ready, .echoLog = false});
    EXPECT_TRUE(session.isLaunched());
    session.mac().runFor(6);
    ASSERT_TRUE(session.run(parsed("key opt+n")).ok);
    session.mac().runFor(1);
    EXPECT_TRUE(session.run(parsed("expect picker shown")).ok);
    std::string screen = describeScreen(session.mac(), session.app().get());
    EXPECT_THAT(screen, HasSubstr("(1) Messages"));
    EXPECT_THAT(screen, HasSubstr("[2] "));
    EXPECT_THAT(screen, HasSubstr("ring on 1"));
}

TEST(Screen, CardsArePaintedWhereTheTreeSaysTheyAre) {
    Session session({.world = Session::World::Bare, .echoLog = false});
    auto& mac = session.mac();
    mac.notificationCenter().post({.app = "Mail", .title = "Lunch", .body = "At noon?"});
    mac.runFor(1);
    auto cards = visibleCards(mac);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].kind, Card::Kind::Banner);
    EXPECT_EQ(cards[0].title, "Lunch");
    const auto& frame = cards[0].frame;

    auto image = renderScreen(mac);
    EXPECT_EQ(image.pixelWidth(), 3024);
    // The card is light; the desktop beside it is not. colorAt takes bottom-left-origin points.
    auto at = [&](double x, double topY) { return image.colorAt({x, sim::SimScreens::kHeight - topY}); };
    auto inside = at(frame.origin.x + frame.size.width - 20, frame.origin.y + frame.size.height - 8);
    auto outside = at(frame.origin.x - 30, frame.origin.y + 30);
    EXPECT_GT(inside.red + inside.green + inside.blue, 2.6);
    EXPECT_LT(outside.red + outside.green + outside.blue, 2.0);

    // A quit Notification Center shows nothing, and looking asks it nothing.
    auto requests = mac.accessibility().requestCount();
    renderScreen(mac);
    describeScreen(mac, nullptr);
    EXPECT_EQ(mac.accessibility().requestCount(), requests);
    mac.notificationCenter().quit();
    EXPECT_TRUE(visibleCards(mac).empty());
}

TEST(Screen, ThePickerPanelIsComposited) {
    Session session({.world = Session::World::Ready, .echoLog = false});
    auto& mac = session.mac();
    mac.runFor(6);
    session.run(parsed("key opt+n"));
    mac.runFor(1);
    auto before = visibleCards(mac);
    ASSERT_FALSE(before.empty());
    auto panels = mac.windows().onScreen();
    ASSERT_EQ(panels.size(), 1u);
    auto image = renderScreen(mac);
    // The ring runs round the first row just outside its frame, in the highlight colour (green).
    auto row =
        std::find_if(before.begin(), before.end(), [](const Card& c) { return c.kind == Card::Kind::Row; });
    ASSERT_NE(row, before.end());
    const auto& first = row->frame;
    auto ring = image.colorAt(
        {first.origin.x + first.size.width / 2, sim::SimScreens::kHeight - (first.origin.y - 1.5)});
    EXPECT_GT(ring.green, ring.red + 0.2);
    EXPECT_GT(ring.green, ring.blue + 0.2);
}

class ScriptRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("marlowick-script-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string write(const std::string& name, const std::string& text) {
        auto path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    int run(const std::string& path, std::string& errors, std::vector<std::string> extra = {}) {
        ProgramOptions options;
        options.arguments = std::move(extra);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        int status = runScript(path, options);
        ::testing::internal::GetCapturedStdout();
        errors = ::testing::internal::GetCapturedStderr();
        return status;
    }
    std::filesystem::path folder;
};

TEST_F(ScriptRun, ExitStatusAndMessagesNameTheLine) {
    std::string errors;
    EXPECT_EQ(run(write("ok.scenario", "permission granted\nlaunch\nexpect log-prefix \"Mode\"\n"), errors),
              0);
    EXPECT_EQ(errors, "");

    auto failing =
        write("fails.scenario", "launch\n\n# comment\nexpect picker shown\nexpect picker hidden\n");
    EXPECT_EQ(run(failing, errors), 1);
    EXPECT_THAT(errors, HasSubstr("fails.scenario:4: expect picker shown"));
    EXPECT_THAT(errors, HasSubstr("the picker is hidden"));

    EXPECT_EQ(run(write("bad.scenario", "launch\nkey opt+banana\n"), errors), 2);
    EXPECT_THAT(errors, HasSubstr("bad.scenario:2: error: unknown key chord \"opt+banana\""));
    EXPECT_EQ(run(write("quote.scenario", "post Mail \"Lunch\n"), errors), 2);
    EXPECT_THAT(errors, HasSubstr(":1: error: unterminated quoted string"));
    EXPECT_EQ(run(write("long.scenario", "launch\n" + std::string(100000, 'x') + "\n"), errors), 2);
    EXPECT_THAT(errors, HasSubstr(":2: error: line is longer than 4096 characters"));
    EXPECT_EQ(run((folder / "missing.scenario").string(), errors), 2);
    EXPECT_THAT(errors, HasSubstr("cannot read"));
}

TEST_F(ScriptRun, ProcessArgumentsReachMarlowickAndQuitEndsTheScript) {
    std::string errors;
    auto overridden =
        write("mode.scenario", "permission granted\nlaunch\nexpect log-prefix \"Mode next,\"\n");
    EXPECT_EQ(run(overridden, errors, {"--mode", "next"}), 0) << errors;
    EXPECT_EQ(run(overridden, errors), 1);

    auto quits = write("quit.scenario",
                       "permission granted\nlaunch\nmenu open\nmenu click \"Quit\"\nexpect picker hidden\n");
    EXPECT_EQ(run(quits, errors), 1);
    EXPECT_THAT(errors, HasSubstr("Marlowick quit here, but the script goes on at line 5"));
}

TEST_F(ScriptRun, ScreenshotsFollowEveryKeyMenuAndSidebarCommand) {
    auto script = write("shots.scenario", "permission granted\nlaunch\nwait 1\nkey opt+n\nexpect items 0\n"
                                          "sidebar close\nmenu open\n");
    ProgramOptions options;
    options.screenshotsDir = (folder / "shots").string();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(runScript(script, options), 0);
    ::testing::internal::GetCapturedStdout();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "shots"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"001-key-opt+n.png", "002-sidebar-close.png", "003-menu-open.png"}));
    auto picture = sim::Image::readPng((folder / "shots" / names.back()).string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixelWidth(), 3024);
}

TEST(ProgramOptions, SplitsItsOwnOptionsFromMarlowicks) {
    auto options = std::get<ProgramOptions>(parseProgramOptions(
        {"--mode", "next", "--script", "a.scenario", "--vim-keys", "--screenshots", "out"}));
    EXPECT_EQ(options.script, "a.scenario");
    EXPECT_EQ(options.screenshotsDir, "out");
    EXPECT_EQ(options.arguments, (std::vector<std::string>{"--mode", "next", "--vim-keys"}));
    EXPECT_THAT(std::get<std::string>(parseProgramOptions({"--script"})), HasSubstr("needs a value"));
    EXPECT_THAT(std::get<std::string>(parseProgramOptions({"--script", "a", "--script", "b"})),
                HasSubstr("twice"));
    EXPECT_TRUE(std::get<ProgramOptions>(parseProgramOptions({"--help"})).help);
}

} // namespace
} // namespace marlowick::console
