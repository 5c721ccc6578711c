// Closing rows from the picker, clearing everything in rounds, and a Notification Center that is
// gone or does not answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/controller_world.h"

namespace marlowick {
namespace {

using ::testing::Contains;
using testing::ControllerWorld;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::vector<std::string> sampleLaunches(ControllerWorld& world) {
    std::vector<std::string> files;
    for (const auto& task : world.mac.workspace().launchedTasks()) {
        EXPECT_EQ(task.executable, "/usr/bin/sample");
        if (task.arguments.size() == 4) files.push_back(task.arguments[3]);
    }
    return files;
}

TEST(ControllerClose, DdOnTheLastOfThreeRowsSelectsTheNewLastAndOnTheOnlyRowEndsThePicker) {
    ControllerWorld world;
    world.postEarlier(
        {{.app = "C", .title = "Third"}, {.app = "B", .title = "Second"}, {.app = "A", .title = "First"}});
    world.start();
    world.openPickerAndSettle();
    world.type(SidebarOverlay::kUpArrow);
    ASSERT_EQ(world.overlay()->selected, 2);

    world.type(VimKey::d);
    world.type(VimKey::d);
    EXPECT_THAT(world.mac.logLines(), Contains("Closing item 2: C, Third"));
    EXPECT_EQ(world.overlay()->selected, 1);
    EXPECT_EQ(world.overlay()->itemFrames.size(), 2u);
    world.mac.runFor(1.0);
    EXPECT_THAT(world.center().sidebarRows(), ElementsAre("A, First", "B, Second"));
    EXPECT_EQ(world.overlay()->selected, 1);

    world.type(VimKey::d);
    world.type(VimKey::d);
    world.type(VimKey::d);
    world.type(VimKey::d);
    EXPECT_THAT(world.mac.logLines(), Contains("Close: no rows left"));
    EXPECT_EQ(world.overlay(), nullptr);
    world.mac.runFor(1.0);
    EXPECT_THAT(world.center().sidebarRows(), IsEmpty());
    EXPECT_TRUE(world.center().sidebarIsOpen()) << "the empty sidebar waits for the next hot key";
    world.controller->openPicker();
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen());
}

TEST(ControllerClose, ACloseThatFailsIsLoggedAndThePickerCarriesOn) {
    ControllerWorld world;
    world.postEarlier({{.app = "B", .title = "Second"}, {.app = "A", .title = "First"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());

    // The user closed the selected row with its own button a moment ago: it is on its way out.
    ASSERT_TRUE(world.center().userClose("First"));
    world.type(VimKey::d);
    world.type(VimKey::d);
    EXPECT_THAT(world.mac.logLines(), Contains("Close returned -25200; carrying on"));
    ASSERT_TRUE(world.ringShown());
    EXPECT_EQ(world.overlay()->itemFrames.size(), 1u) << "the row is taken off the overlay as if closed";
    world.mac.runFor(1.0);
    ASSERT_TRUE(world.ringShown());
    EXPECT_EQ(world.overlay()->itemFrames.size(), 1u);
    EXPECT_EQ(world.center().sidebarRows().size(), 1u);
}

TEST(ControllerClose, ARowWithoutCloseStaysAndAStackPickedByHandIsNotFoldedBackLater) {
    ControllerWorld world({"--stacks", "keep"});
    world.postEarlier({{.app = "Calendar", .title = "Meeting", .closable = false},
                       {.app = "Mail", .title = "One"},
                       {.app = "Mail", .title = "Two"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());
    ASSERT_EQ(world.overlay()->itemFrames.size(), 2u) << "the Mail stack, folded, and Calendar";
    EXPECT_THAT(world.overlay()->itemIsStack, ElementsAre(true, false));

    world.type(SidebarOverlay::kDownArrow);
    world.type(VimKey::d);
    world.type(VimKey::d);
    EXPECT_THAT(world.mac.logLines(), Contains("Close: nothing to close on item 1: Calendar, Meeting"));
    EXPECT_EQ(world.overlay()->itemFrames.size(), 2u);
    EXPECT_THAT(world.center().closedOrCleared(), IsEmpty());

    // Picking the stack unfolds it under the picker, which lists its rows.
    world.type(SidebarOverlay::kUpArrow);
    world.type(SidebarOverlay::kReturn);
    world.mac.runFor(0.5);
    ASSERT_TRUE(world.ringShown());
    EXPECT_TRUE(world.center().isUnfolded("Mail"));
    EXPECT_EQ(world.overlay()->itemFrames.size(), 3u);
    // The user unfolded it, so it stays unfolded when the sidebar closes.
    world.type(SidebarOverlay::kEscape);
    world.mac.runFor(6.0);
    EXPECT_FALSE(world.center().sidebarIsOpen());
    EXPECT_EQ(world.countStartingWith("Collapsed "), 0);
}

TEST(ControllerClear, ClearingWhileAPickerRunWaitsForRowsEndsThatRunFirst) {
    ControllerWorld world;
    world.postEarlier({{.app = "Mail", .title = "One"}, {.app = "Notes", .title = "Note"}});
    world.start();
    world.controller->openPicker();
    world.mac.runFor(0.02);
    ASSERT_TRUE(world.controller->isWaiting());

    world.controller->clearAll();
    for (int step = 0; step < 300; ++step) {
        world.mac.runFor(0.01);
        ASSERT_EQ(world.overlay(), nullptr) << "no picker over a sidebar being cleared";
    }
    EXPECT_EQ(world.countStartingWith("Sidebar went away"), 0);
    EXPECT_EQ(world.countStartingWith("Sidebar: found"), 0);
    EXPECT_EQ(world.count("Sidebar opened without the hotkey"), 0);
    EXPECT_THAT(world.mac.logLines(), Contains("Clear all: dismissed 2 item(s)"));
    EXPECT_THAT(world.center().sidebarRows(), IsEmpty());
    EXPECT_FALSE(world.center().sidebarIsOpen()) << "Marlowick opened it for the picker";
}

// Once everything went, the sidebar the user opened closes: the clear-all-menu scenario runs that.
TEST(ControllerClear, LeavesTheUsersSidebarOpenWhileRowsRemain) {
    ControllerWorld world;
    world.postEarlier(
        {{.app = "Calendar", .title = "Meeting", .closable = false}, {.app = "Notes", .title = "Note"}});
    world.start();
    ASSERT_TRUE(world.center().openSidebar());
    world.mac.runFor(1.0);
    ASSERT_TRUE(world.ringShown()) << "auto badges showed the picker";

    world.controller->clearAll();
    EXPECT_EQ(world.overlay(), nullptr) << "clearing hides the picker";
    world.mac.runFor(2.0);
    EXPECT_THAT(world.mac.logLines(), Contains("Clear all: dismissed 1 item(s)"));
    EXPECT_THAT(world.center().sidebarRows(), ElementsAre("Calendar, Meeting"));
    EXPECT_TRUE(world.center().sidebarIsOpen());
}

TEST(ControllerStall, AHungNotificationCenterIsBackedOffFiveSecondsAndSampledOnceInTenMinutes) {
    ControllerWorld world;
    world.start();
    world.center().hang();
    auto startedAt = world.mac.now();
    world.controller->openPicker();
    // One request ran into the time-out.
    EXPECT_NEAR(world.mac.now() - startedAt, 0.5, 1e-9);
    EXPECT_THAT(world.mac.logLines(),
                Contains("Notification Center is not responding (restart it: killall NotificationCenter)"));
    auto files = sampleLaunches(world);
    ASSERT_EQ(files.size(), 1u);
    const auto& task = world.mac.workspace().launchedTasks().front();
    EXPECT_THAT(task.arguments,
                ElementsAre(std::to_string(world.center().pid()), "3", "-file", files.front()));
    // The simulated clock starts at 1 March 2026, 14:05:09 UTC.
    std::string expected =
        world.mac.home() + "/Library/Logs/Marlowick/NotificationCenter-2026-03-01T14-05-09Z.sample.txt";
    EXPECT_EQ(files.front(), expected);
    EXPECT_THAT(files.front().substr(world.mac.home().size()), Not(HasSubstr(":")));
    EXPECT_THAT(world.mac.logLines(), Contains("Sampling Notification Center to " + expected));
    EXPECT_TRUE(world.mac.files().fileExists(world.mac.home() + "/Library/Logs/Marlowick"));

    // The watch leaves it alone for five seconds: not one request.
    world.mac.accessibility().resetRequestCount();
    world.mac.runFor(4.4);
    EXPECT_EQ(world.mac.accessibility().requestCount(), 0u);
    // Then it probes about every five seconds, and samples no more within ten minutes.
    world.mac.runFor(60);
    EXPECT_GE(world.mac.accessibility().requestCount(), 3u);
    EXPECT_LE(world.mac.accessibility().requestCount(), 15u);
    world.controller->openPicker();
    EXPECT_EQ(sampleLaunches(world).size(), 1u);
    world.mac.runFor(600);
    EXPECT_EQ(sampleLaunches(world).size(), 2u);

    // Answering again ends the back-off at the next probe; the hot key works again.
    world.center().answer();
    world.center().post({.app = "Mail", .title = "Back"});
    world.mac.runFor(0.5);
    world.controller->openPicker();
    world.mac.runFor(0.5);
    EXPECT_THAT(world.openedTitles(), ElementsAre("Back"));
}

TEST(ControllerStall, NoAnswerWithinThreeSecondsOfARestartIsNoStall) {
    ControllerWorld world;
    world.start();
    world.center().restart();
    world.center().hang();
    world.mac.accessibility().resetRequestCount();
    world.mac.runFor(2.5);
    EXPECT_THAT(sampleLaunches(world), IsEmpty());
    EXPECT_GE(world.mac.accessibility().requestCount(), 3u) << "no back-off: it keeps asking";

    // Past the grace it counts: sampled once, then backed off.
    world.mac.runFor(1.5);
    EXPECT_EQ(sampleLaunches(world).size(), 1u);
}

} // namespace
} // namespace marlowick
