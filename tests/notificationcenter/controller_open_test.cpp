// Opening notifications: a banner that leaves the screen while it is pressed, the top row of the
// sidebar with a stack on top.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/controller_world.h"

namespace marlowick {
namespace {

using ::testing::Contains;
using testing::ControllerWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Posts a banner and presses the hot key just before its five seconds are up, with requests slow
// enough that it has left the screen by the time it is pressed.
void pressBannerAsItLeaves(ControllerWorld& world, sim::SimNotification banner) {
    world.center().post(std::move(banner));
    world.mac.runFor(sim::SimNotificationCenter::kBannerDuration - 0.02);
    world.mac.accessibility().setRequestLatency(0.005);
    world.controller->openPicker();
    world.mac.accessibility().setRequestLatency(0);
}

TEST(ControllerOpen, ABannerThatLeftWhileBeingPressedIsOpenedFromTheSidebarByItsId) {
    ControllerWorld world;
    // Same title and body, another notification: only the id tells them apart.
    world.postEarlier({{.app = "Mail", .title = "Lunch", .body = "At noon?", .id = "mail-1"}});
    world.start();
    pressBannerAsItLeaves(world, {.app = "Mail", .title = "Lunch", .body = "At noon?", .id = "mail-2"});
    EXPECT_EQ(world.count("Hotkey: found 1 banner(s)"), 1);
    EXPECT_EQ(world.count("Press failed (-25202) for: Lunch; looking for it in the sidebar"), 1);

    world.mac.runFor(1.0);
    EXPECT_EQ(world.count("Found in the sidebar: Lunch"), 1);
    ASSERT_EQ(world.center().opened().size(), 1u);
    EXPECT_EQ(world.center().opened().front().id, "mail-2");
    EXPECT_EQ(world.mac.windows().beepCount(), 0);
    EXPECT_FALSE(world.center().sidebarIsOpen()) << "opening the row closes the sidebar";
    EXPECT_FALSE(world.controller->isWaiting());

    // The user dismisses it just then: the row is still on its way out when it is pressed.
    ControllerWorld dismissed;
    dismissed.start();
    dismissed.center().setRemovalDelay(1.0);
    pressBannerAsItLeaves(dismissed, {.app = "Mail", .title = "Lunch", .body = "At noon?", .id = "mail-3"});
    ASSERT_TRUE(dismissed.center().userClose("Lunch"));
    dismissed.mac.runFor(1.0);
    EXPECT_EQ(dismissed.count("Found in the sidebar: Lunch"), 1);
    EXPECT_EQ(dismissed.count("Press failed (-25200) in the sidebar too"), 1);
    EXPECT_EQ(dismissed.mac.windows().beepCount(), 1);
    EXPECT_THAT(dismissed.openedTitles(), IsEmpty());
    EXPECT_FALSE(dismissed.controller->isWaiting());
}

// Without ids, a row is the banner's when the titles are equal and one body begins with the other.
TEST(ControllerOpen, ABannerIsFoundAgainByItsTitleAndABodyThatEitherSideMayCutShort) {
    struct Case {
        const char* rowBody;
        const char* bannerBody;
        bool found;
    };
    const Case cases[] = {
        {"At noon? Bring cake", "At noon?", true},
        {"At noon?", "At noon? Bring cake", true},
        {"At noon?", "", true},
        {"At noon!", "At noon?", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rowBody) + " / " + c.bannerBody);
        ControllerWorld world;
        world.postEarlier({{.app = "Mail", .title = "Lunch", .body = c.rowBody}});
        world.start();
        pressBannerAsItLeaves(
            world, {.app = "Mail", .title = "Lunch", .body = c.bannerBody, .keptInSidebar = false});
        world.mac.runFor(2.0);
        if (c.found) {
            ASSERT_EQ(world.center().opened().size(), 1u);
            EXPECT_EQ(world.center().opened().front().body, c.rowBody);
            EXPECT_EQ(world.mac.windows().beepCount(), 0);
        } else {
            EXPECT_THAT(world.openedTitles(), IsEmpty());
            EXPECT_EQ(world.count("Not in the sidebar: Lunch"), 1);
        }
    }
}

TEST(ControllerOpen, ABannerNotKeptInTheSidebarBeepsAndShowsThePickerInstead) {
    ControllerWorld world;
    world.postEarlier({{.app = "Notes", .title = "Shopping"}});
    world.start();
    pressBannerAsItLeaves(world, {.app = "Chat", .title = "Ping\nfrom Ann", .keptInSidebar = false});
    world.mac.runFor(0.9);
    EXPECT_EQ(world.mac.windows().beepCount(), 0) << "still looking";

    world.mac.runFor(1.0);
    EXPECT_EQ(world.mac.windows().beepCount(), 1);
    EXPECT_EQ(world.count("Not in the sidebar: Ping\\nfrom Ann"), 1) << "notification text is escaped";
    EXPECT_EQ(world.count("Sidebar: found 1 notification(s)"), 1);
    EXPECT_TRUE(world.ringShown());
    EXPECT_THAT(world.openedTitles(), IsEmpty());

    // Marlowick opened the sidebar for the search, so leaving the picker closes it.
    world.type(SidebarOverlay::kEscape);
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen());
}

TEST(ControllerOpen, OpenTopUnfoldsAStackOnTopAndOpensItsNewestRow) {
    ControllerWorld world({"--mode", "next"});
    world.postEarlier({{.app = "Notes", .title = "Below"},
                       {.app = "Mail", .title = "One"},
                       {.app = "Mail", .title = "Two"},
                       {.app = "Mail", .title = "Three"}});
    world.start();
    world.controller->openPicker();
    world.mac.runFor(0.35);
    EXPECT_THAT(world.openedTitles(), IsEmpty()) << "waits for the stack to unfold";
    world.mac.runFor(0.65);
    EXPECT_THAT(world.openedTitles(), ElementsAre("Three"));
    EXPECT_THAT(world.mac.logLines(), Contains("Open top: Three"));

    // Opening closed the sidebar; the watch folds Mail back while its rows slide out.
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen());
    EXPECT_EQ(world.count("Collapsed Mail"), 1);
    EXPECT_FALSE(world.center().isUnfolded("Mail"));

    // The hot key again while the stack unfolds closes the sidebar, and nothing is opened after all.
    ControllerWorld cancelled({"--mode", "next"});
    cancelled.postEarlier({{.app = "Notes", .title = "Below"},
                           {.app = "Mail", .title = "One"},
                           {.app = "Mail", .title = "Two"}});
    cancelled.start();
    cancelled.controller->openPicker();
    for (int step = 0; step < 100 && cancelled.countStartingWith("Sidebar: found") == 0; ++step)
        cancelled.mac.runFor(0.01);
    cancelled.mac.runFor(0.15);
    cancelled.controller->openPicker();
    cancelled.mac.runFor(2.0);
    EXPECT_THAT(cancelled.openedTitles(), IsEmpty());
    EXPECT_EQ(cancelled.countStartingWith("Open top"), 0);
    EXPECT_FALSE(cancelled.center().sidebarIsOpen());
}

} // namespace
} // namespace marlowick
