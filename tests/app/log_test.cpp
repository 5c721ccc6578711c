#include "app/log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/sim_mac.h"

namespace marlowick {
namespace {

using ::testing::ElementsAre;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

std::string logPath(const sim::SimMac& mac) {
    return mac.home() + "/Library/Logs/Marlowick/marlowick.log";
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

TEST_F(LogTest, StampsEachLineAndWritesItToStandardOutputAndTheFile) {
    sim::SimMac mac;
    mac.runFor(0.042);
    log("Opening Settings");
    log("Sidebar — “Mail” 日本語");
    EXPECT_EQ(mac.process().outputLines().front(), "2026-03-01 14:05:09.042 Opening Settings");
    EXPECT_EQ(readFile(logPath(mac)),
              "2026-03-01 14:05:09.042 Opening Settings\n2026-03-01 14:05:09.042 Sidebar — “Mail” 日本語\n");
    EXPECT_THAT(mac.logLines(), ElementsAre("Opening Settings", "Sidebar — “Mail” 日本語"));

    // The stamp is local time: half an hour off UTC catches one taken in the wrong zone.
    ::setenv("TZ", "IST-5:30", 1);
    ::tzset();
    log("local");
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(mac.process().outputLines().back(), "2026-03-01 19:35:09.042 local");
}

TEST_F(LogTest, StartsAnOversizedFileAfreshAndAppendsToOneAtTheLimit) {
    for (auto [size, kept] : {std::pair{1'000'001, false}, std::pair{1'000'000, true}}) {
        sim::SimMac mac;
        std::filesystem::create_directories(mac.home() + "/Library/Logs/Marlowick");
        std::string old(size, 'x');
        std::ofstream(logPath(mac), std::ios::binary) << old;
        log("first");
        std::string expected = (kept ? old : "") + "2026-03-01 14:05:09.000 first\n";
        EXPECT_EQ(readFile(logPath(mac)), expected) << "size " << size;
    }
}

TEST_F(LogTest, TwoRunsAppendToTheSameFile) {
    std::string home = (std::filesystem::temp_directory_path() / "marlowick-log-runs").string();
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    {
        sim::SimMac first({.home = home});
        log("run one");
    }
    {
        sim::SimMac second({.home = home, .epoch = 1772373909.0 + 60});
        log("run two");
    }
    EXPECT_EQ(readFile(home + "/Library/Logs/Marlowick/marlowick.log"),
              "2026-03-01 14:05:09.000 run one\n2026-03-01 14:06:09.000 run two\n");
    std::filesystem::remove_all(home);
}

TEST_F(LogTest, AnUnwritableFolderStillLeavesStandardOutput) {
    sim::SimMac mac;
    mac.files().makeReadOnly(mac.home() + "/Library");
    log("one");
    log("two");
    EXPECT_THAT(mac.logLines(), ElementsAre("one", "two"));
    EXPECT_FALSE(std::filesystem::exists(mac.home() + "/Library/Logs"));

    sim::SimMac blocked; // a plain file where the folder should be
    std::filesystem::create_directories(blocked.home() + "/Library/Logs");
    std::ofstream(blocked.home() + "/Library/Logs/Marlowick") << "not a folder";
    log("still printed");
    EXPECT_THAT(blocked.logLines(), ElementsAre("still printed"));
}

TEST(EscapeUntrusted, KeepsTextReadableButNeverForgesALine) {
    EXPECT_EQ(escapeUntrusted("Lunch at noon? ☕️ 日本"), "Lunch at noon? ☕️ 日本");
    EXPECT_EQ(escapeUntrusted("a\nb"), "a\\nb");
    EXPECT_EQ(escapeUntrusted("a\r2026-03-01 00:00:00.000 Forged"), "a\\u{d}2026-03-01 00:00:00.000 Forged");
    EXPECT_EQ(escapeUntrusted(std::string("tab\tnul\0esc\x1b del\x7f", 17)),
              "tab\\u{9}nul\\u{0}esc\\u{1b} del\\u{7f}");
    EXPECT_EQ(escapeUntrusted("line\u2028separator\u0085"), "line\\u{2028}separator\\u{85}");
    EXPECT_EQ(escapeUntrusted("bad \xff\xc3 end"), "bad \xEF\xBF\xBD\xEF\xBF\xBD end");
    EXPECT_EQ(escapeUntrusted("\xed\xa0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
        << "a surrogate is malformed";
}

TEST(EscapeUntrusted, CutsHugeTextAtACharacterBoundary) {
    std::string huge;
    for (int i = 0; i < 2000; ++i)
        huge += "é";
    std::string escaped = escapeUntrusted(huge);
    std::string expected;
    for (std::size_t i = 0; i < kUntrustedTextLimit; ++i)
        expected += "é";
    EXPECT_EQ(escaped, expected + "…");
    EXPECT_EQ(escapeUntrusted(std::string(kUntrustedTextLimit, 'a')), std::string(kUntrustedTextLimit, 'a'));
}

} // namespace
} // namespace marlowick
