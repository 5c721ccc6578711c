#include "app/updater.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/log.h"
#include "app_world.h"

namespace marlowick {
namespace {

using testing::AppWorld;
using ::testing::ElementsAre;

void setBundle(sim::SimMac& mac, const char* feed, const char* key) {
    if (feed) mac.process().setBundleValue("SUFeedURL", std::string(feed));
    if (key) mac.process().setBundleValue("SUPublicEDKey", std::string(key));
}

TEST(UpdaterOffTest, MissingFeedOrKeyTurnsUpdatesOffForTheRun) {
    struct Case {
        const char* feed;
        const char* key;
        const char* line;
    };
    const Case cases[] = {
        {nullptr, nullptr, "Updates off: no feed in this build"},
        {"", "key", "Updates off: no feed in this build"},
        {"https://example.com/appcast.xml", nullptr, "Updates off: no public key in this build"},
        {"https://example.com/appcast.xml", "", "Updates off: no public key in this build"},
    };
    for (const auto& c : cases) {
        sim::SimMac mac;
        setBundle(mac, c.feed, c.key);
        auto updater = Updater::shared();
        int changes = 0;
        updater->onPendingChange = [&] { ++changes; };
        updater->startUpdates();
        EXPECT_THAT(mac.logLines(), ElementsAre(c.line));
        EXPECT_FALSE(updater->isAvailable());
        EXPECT_FALSE(mac.updates().isStarted());

        mac.updates().setAvailableVersion("9.9");
        mac.updates().runScheduledCheck();
        updater->checkForUpdates();
        EXPECT_FALSE(mac.updates().isSessionActive());
        EXPECT_EQ(changes, 0);
    }
    // A number where a string belongs counts as missing.
    sim::SimMac mac;
    mac.process().setBundleValue("SUFeedURL", std::int64_t{1});
    setBundle(mac, nullptr, "key");
    Updater::shared()->startUpdates();
    EXPECT_THAT(mac.logLines(), ElementsAre("Updates off: no feed in this build"));
}

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        setBundle(world.mac, "https://example.com/appcast.xml", "key");
        world.mac.defaults().set("SUEnableAutomaticChecks", true);
        world.launch();
    }
    AppWorld world;
};

TEST_F(UpdaterTest, FeedVersionReachesTheLogAndTheMenuRowEscapedAndBounded) {
    world.mac.updates().setAvailableVersion("1.4\n\x1b[2J" + std::string(5000, '9'));
    world.mac.updates().runScheduledCheck();
    const auto& pending = Updater::shared()->pendingVersion();
    ASSERT_TRUE(pending);
    EXPECT_TRUE(pending->starts_with("1.4\\n\\u{1b}[2J999"));
    EXPECT_LE(pending->size(), kUntrustedTextLimit + 16);
    EXPECT_EQ(world.count("Update " + *pending + " found"), 1);
    world.openMenu();
    EXPECT_EQ(world.shownTitles()[0], "Update available: " + *pending);
}

TEST_F(UpdaterTest, AGentleReminderKeepsItsSessionUntilTheUserAttendsThroughTheMenuRow) {
    EXPECT_TRUE(world.mac.updates().isStarted());
    world.mac.updates().setAvailableVersion("1.4");
    world.mac.runFor(sim::SimUpdateFramework::kScheduledCheckInterval);
    EXPECT_EQ(Updater::shared()->pendingVersion(), "1.4");
    EXPECT_TRUE(world.mac.updates().isSessionActive()) << "the reminder's session is under way";
    EXPECT_FALSE(world.mac.updates().showsUpdateWindow());
    EXPECT_EQ(world.mac.application().activationPolicy(), platform::ActivationPolicy::Accessory);

    world.openMenu();
    world.mac.menus().click(0);
    EXPECT_TRUE(world.mac.updates().showsUpdateWindow()) << "the busy framework still brings the update up";
    EXPECT_EQ(world.mac.application().activationPolicy(), platform::ActivationPolicy::Regular);
    EXPECT_EQ(world.count("Update 1.4 found"), 1) << "the user's own look logs nothing";
    EXPECT_EQ(Updater::shared()->pendingVersion(), std::nullopt) << "attended to";
    world.openMenu();
    EXPECT_EQ(world.shownTitles()[0], "Marlowick");
    world.closeMenu();

    world.mac.updates().endSession();
    EXPECT_EQ(world.mac.application().activationPolicy(), platform::ActivationPolicy::Accessory);
    EXPECT_FALSE(world.mac.updates().isSessionActive());
}

TEST_F(UpdaterTest, BusyFrameworkWithNothingPendingRefusesTheCheck) {
    int sessions = 0;
    Updater::shared()->onSession = [&](bool active) { sessions += active ? 1 : 0; };
    Updater::shared()->checkForUpdates(); // up to date: the framework's window opens all the same
    EXPECT_EQ(sessions, 1);
    Updater::shared()->checkForUpdates();
    EXPECT_EQ(sessions, 1);
    EXPECT_EQ(world.mac.updates().checkCount(), 1);
}

TEST(UpdaterAutomaticChecksTest, StartLineReportsTheStoredPreference) {
    sim::SimMac mac;
    setBundle(mac, "https://example.com/appcast.xml", "key");
    Updater::shared()->startUpdates();
    EXPECT_THAT(mac.logLines(), ElementsAre("Updates on, automatic checks off"));
    mac.updates().setAvailableVersion("2.0");
    mac.runFor(sim::SimUpdateFramework::kScheduledCheckInterval * 2);
    EXPECT_EQ(Updater::shared()->pendingVersion(), std::nullopt);
}

} // namespace
} // namespace marlowick
