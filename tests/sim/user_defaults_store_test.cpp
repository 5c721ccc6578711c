#include "sim/user_defaults_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/defaults_file.h"
#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

namespace fs = std::filesystem;
using platform::DefaultsValue;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Optional;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A home folder that outlives one simulated Mac, so that a test can restart the program.
class UserDefaultsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "marlowick-defaults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
    }
    void TearDown() override { fs::remove_all(home_); }

    SimMac::Options options() const { return {.home = home_}; }
    std::string path() const { return defaultsFilePath(home_); }
    std::string corruptPath() const { return path() + ".corrupt-2026-03-01T14-05-09Z"; }

    std::string home_;
};

TEST_F(UserDefaultsStoreTest, ValuesSurviveARestartWithTheirTypes) {
    {
        SimMac mac(options());
        auto& defaults = mac.defaults();
        defaults.set("openMode", std::string("pick"));
        defaults.set("isOn", false);
        defaults.set("count", std::int64_t{0});
        defaults.set("ratio", 1.0);
        defaults.set("gone", std::string("soon"));
        defaults.remove("gone");
    }
    SimMac mac(options());
    auto& defaults = mac.defaults();
    EXPECT_THAT(defaults.object("openMode"), Optional(DefaultsValue(std::string("pick"))));
    EXPECT_THAT(defaults.object("isOn"), Optional(DefaultsValue(false)));
    EXPECT_THAT(defaults.object("count"), Optional(DefaultsValue(std::int64_t{0})));
    EXPECT_THAT(defaults.object("ratio"), Optional(DefaultsValue(1.0))) << "a whole double stays a double";
    EXPECT_EQ(defaults.object("gone"), std::nullopt);
    EXPECT_FALSE(fs::exists(defaults.temporaryPath()));
}

TEST_F(UserDefaultsStoreTest, PostsOneNotificationPerRealChange) {
    SimMac mac(options());
    auto& defaults = mac.defaults();
    int changes = 0;
    auto observer = mac.notifications().observe(platform::kUserDefaultsDidChange,
                                                [&](const platform::UserInfo&) { ++changes; });
    defaults.set("vimKeys", true);
    defaults.set("vimKeys", true);
    EXPECT_EQ(changes, 1) << "storing the same value again changes nothing";
    defaults.set("vimKeys", std::int64_t{1});
    EXPECT_EQ(changes, 2) << "the number 1 is another value than the Boolean true";
    defaults.remove("vimKeys");
    defaults.remove("vimKeys");
    EXPECT_EQ(changes, 3);
}

TEST_F(UserDefaultsStoreTest, KeepsValuesItCannotReadWhenItWritesTheFile) {
    writeFile(path(), R"({"list": [1, {"deep": null}], "huge": 18446744073709551615, "isOn": true})");
    SimMac mac(options());
    auto& defaults = mac.defaults();
    EXPECT_EQ(defaults.object("list"), std::nullopt);
    EXPECT_EQ(defaults.object("huge"), std::nullopt) << "beyond a signed 64-bit integer";
    defaults.set("isOn", false);
    auto written = parseDefaultsFile(readFile(path()));
    ASSERT_TRUE(written);
    EXPECT_EQ((*written)["list"], nlohmann::json::parse("[1, {\"deep\": null}]"));
    EXPECT_EQ((*written)["huge"], nlohmann::json(18446744073709551615ULL));
    EXPECT_EQ((*written)["isOn"], false);
}

TEST_F(UserDefaultsStoreTest, ACrashBetweenWriteAndRenameLeavesTheLastSavedFile) {
    {
        SimMac mac(options());
        mac.defaults().set("openMode", std::string("pick"));
        mac.defaults().crashBeforeNextRename();
        mac.defaults().set("openMode", std::string("next"));
        mac.defaults().set("stacks", std::string("keep"));
    }
    std::string saved = readFile(path());
    ASSERT_THAT(readFile(path() + ".tmp"), HasSubstr("next"))
        << "the interrupted save reached its temporary file";

    SimMac mac(options());
    auto& defaults = mac.defaults();
    EXPECT_THAT(defaults.string("openMode"), Optional(std::string("pick")));
    EXPECT_EQ(defaults.object("stacks"), std::nullopt);
    EXPECT_EQ(readFile(path()), saved) << "reading neither replaces nor rewrites the real file";
    EXPECT_THAT(mac.logLines(), IsEmpty());

    defaults.set("autoBadges", false);
    EXPECT_FALSE(fs::exists(path() + ".tmp"));
    auto reread = parseDefaultsFile(readFile(path()));
    ASSERT_TRUE(reread);
    EXPECT_EQ(*reread, nlohmann::json::parse(R"({"openMode": "pick", "autoBadges": false})"));
}

TEST_F(UserDefaultsStoreTest, MovesAnUnreadableFileAsideAndStartsEmpty) {
    for (std::string bad : {std::string(R"({"openMode": "pi)"), std::string("[\"not\", \"a domain\"]"),
                            std::string(), std::string("{\"a\": \"\xff\"}"),
                            "{\"a\": " + std::string(100, '[') + std::string(100, ']') + "}"}) {
        SCOPED_TRACE(bad);
        writeFile(path(), bad);
        {
            SimMac mac(options());
            EXPECT_EQ(mac.defaults().object("openMode"), std::nullopt);
            EXPECT_THAT(mac.logLines(),
                        ElementsAre("User defaults: could not read " + path() + "; moved it to " +
                                    corruptPath() + " and started with empty defaults"));
            EXPECT_EQ(readFile(corruptPath()), bad);
            mac.defaults().set("stacks", std::string("keep"));
        }
        SimMac mac(options());
        EXPECT_THAT(mac.defaults().string("stacks"), Optional(std::string("keep")));
        EXPECT_THAT(mac.logLines(), IsEmpty());
        fs::remove(corruptPath());
        fs::remove(path());
    }
}

TEST_F(UserDefaultsStoreTest, NeverOverwritesAFileAlreadyKeptAside) {
    writeFile(corruptPath(), "first");
    writeFile(path(), "second");
    SimMac mac(options());
    mac.defaults().object("isOn");
    EXPECT_EQ(readFile(corruptPath()), "first");
    EXPECT_EQ(readFile(corruptPath() + "-2"), "second");
}

TEST_F(UserDefaultsStoreTest, AFolderThatRefusesWritesKeepsChangesForTheRun) {
    std::string folder = fs::path(path()).parent_path().string();
    {
        writeFile(path(), "{broken");
        SimMac mac(options());
        mac.files().makeReadOnly(folder);
        mac.defaults().set("isOn", false);
        EXPECT_THAT(mac.defaults().boolean("isOn"), Optional(false));
        EXPECT_EQ(readFile(path()), "{broken") << "a file that cannot be moved aside is left alone";
        EXPECT_THAT(mac.logLines(), ElementsAre("User defaults: could neither read nor move aside " + path() +
                                                "; changes are kept for this run only"));
    }
    fs::remove(path());
    SimMac mac(options());
    mac.files().makeReadOnly(folder);
    mac.defaults().set("isOn", false);
    mac.defaults().set("vimKeys", true);
    EXPECT_THAT(mac.defaults().boolean("vimKeys"), Optional(true));
    EXPECT_FALSE(fs::exists(path()));
    EXPECT_THAT(mac.logLines(), ElementsAre("User defaults: could not save " + path() +
                                            "; changes are kept for this run only"));
}

} // namespace
} // namespace marlowick::sim
