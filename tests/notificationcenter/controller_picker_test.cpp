// The picker run end to end: from the hot key through banners or the sidebar to the ring, the panel
// over the sidebar, and the ways a run ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/ax_builders.h"
#include "notificationcenter/controller_world.h"

namespace marlowick {
namespace {

using platform::Rect;
using ::testing::Contains;
using testing::ControllerWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The sidebar's scroll area for n single rows of 70 points, each with 8 below it, bottom-left origin.
Rect scrollAreaFor(int rows) {
    double height = rows * 78.0;
    return {1152, 982 - 34 - height, 344, height};
}

// One banner opens at once in every mode; of two, mode next opens the topmost and the others show
// the picker over the sidebar.
TEST(ControllerPicker, BannersOnScreenOpenAtOnceOrShowThePickerByMode) {
    for (int banners : {1, 2}) {
        for (std::string mode : {"badges", "pick", "next"}) {
            SCOPED_TRACE(mode + " with " + std::to_string(banners) + " banner(s)");
            ControllerWorld world;
            world.setMode(mode);
            world.start();
            if (banners == 2) world.center().post({.app = "Mail", .title = "Older"});
            world.center().post({.app = "Notes", .title = "Newer"});
            world.mac.runFor(0.5);

            world.openPickerAndSettle();
            EXPECT_EQ(world.count("Hotkey: found " + std::to_string(banners) + " banner(s)"), 1);
            if (banners == 1 || mode == "next") {
                EXPECT_THAT(world.openedTitles(), ElementsAre("Newer"));
                EXPECT_FALSE(world.center().sidebarIsOpen());
                EXPECT_THAT(world.mac.windows().panels(), IsEmpty());
                continue;
            }
            EXPECT_THAT(world.openedTitles(), IsEmpty());
            EXPECT_TRUE(world.center().sidebarIsOpen());
            EXPECT_THAT(world.center().banners(), IsEmpty()) << "the sidebar hides the banners";
            EXPECT_EQ(world.count("Sidebar: found 2 notification(s)"), 1);
            ASSERT_TRUE(world.ringShown());
            EXPECT_EQ(world.overlay()->itemFrames.size(), 2u);
        }
    }
}

TEST(ControllerPicker, PanelFloatsOverTheScrollAreaWithTheRingOnTheSelectedRow) {
    ControllerWorld world;
    world.postEarlier({{.app = "A", .title = "4"},
                       {.app = "B", .title = "3"},
                       {.app = "C", .title = "2"},
                       {.app = "D", .title = "1"}});
    world.start();
    world.controller->openPicker();
    world.mac.runFor(0.2);
    ASSERT_NE(world.overlay(), nullptr) << "the panel is up while the rows slide in";
    EXPECT_FALSE(world.overlay()->showsRing);
    EXPECT_FALSE(world.mac.hotKeys().isRegistered(36, 0)) << "picker keys wait for the ring";
    world.mac.runFor(0.8);
    EXPECT_TRUE(world.mac.hotKeys().isRegistered(36, 0));

    auto shown = world.panelsOnScreen();
    ASSERT_EQ(shown.size(), 1u);
    const auto& panel = *shown.front();
    EXPECT_EQ(panel.styleMask, 128u);
    EXPECT_EQ(panel.level, 101);
    EXPECT_EQ(panel.collectionBehavior, 257u);
    EXPECT_FALSE(panel.opaque);
    EXPECT_EQ(panel.background.alpha, 0);
    EXPECT_TRUE(panel.ignoresMouseEvents);
    EXPECT_TRUE(panel.becomesKeyOnlyIfNeeded);
    EXPECT_EQ(panel.contentView, world.overlay()->layer());
    world.mac.application().activateIgnoringOtherApps();
    world.mac.application().deactivate();
    EXPECT_EQ(world.panelsOnScreen().size(), 1u) << "the user switching away leaves the overlay up";
    // 26 points round the scroll area, whichever row is selected, so the panel holds still.
    Rect expected = scrollAreaFor(4).insetBy(-26, -26);
    EXPECT_EQ(panel.frame, expected);

    auto overlay = world.overlay();
    ASSERT_TRUE(overlay->showsRing);
    EXPECT_FALSE(overlay->pendingReveal) << "the reveal is switched off in these tests";
    EXPECT_EQ(overlay->selected, 0);
    ASSERT_EQ(overlay->itemFrames.size(), 4u);
    EXPECT_EQ(overlay->itemFrames[0], Rect(26, expected.height() - 26 - 70, 344, 70));
    EXPECT_EQ(overlay->itemFrames[3], Rect(26, 26 + 8, 344, 70)) << "the scroll area keeps its gap below";
    EXPECT_THAT(world.mac.logLines(), Contains("Ring: item 0 at (1152.0, 878.0, 344.0, 70.0)"));

    // Up from the first row wraps to the last; down from the last back to the first.
    world.type(SidebarOverlay::kUpArrow);
    EXPECT_EQ(world.overlay()->selected, 3);
    EXPECT_EQ(world.mac.logLines().back(), "Ring: item 3 at (1152.0, 644.0, 344.0, 70.0)");
    world.type(SidebarOverlay::kDownArrow);
    EXPECT_EQ(world.overlay()->selected, 0);
    EXPECT_EQ(world.panelsOnScreen().front()->frame, expected);

    EXPECT_EQ(world.overlay()->backingScaleFactor(), 2.0) << "the built-in screen is Retina";

    world.type(SidebarOverlay::kEscape);
    EXPECT_THAT(world.panelsOnScreen(), IsEmpty());
    EXPECT_FALSE(world.mac.hotKeys().isRegistered(36, 0));
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen()) << "Marlowick opened it, so Marlowick closes it";
}

TEST(ControllerPicker, TheOverlayDrawsAtTheBackingScaleOfTheScreenItsPanelIsOn) {
    ControllerWorld world;
    world.mac.screens().setScreens({{Rect(0, 0, 1512, 982), 1.0}});
    world.postEarlier({{.app = "Mail", .title = "One"}, {.app = "Notes", .title = "Note"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());
    EXPECT_EQ(world.overlay()->backingScaleFactor(), 1.0);
}

// A row that never stops moving, beside a history button without a frame, in an open sidebar.
TEST(ControllerPicker, ARowThatNeverSettlesGetsItsRingAfterTwentyPollsAndAnUnframedItemNone) {
    ControllerWorld world({"--no-auto-badges"}, withoutNotificationCenter());
    auto moving = row({text("Moving")});
    moving->compute("AXPosition", [&world] { return platform::Point{100 + world.mac.now(), 100}; });
    moving->set("AXSize", platform::Size{300, 60});
    auto app = application({moving, withIdentifier(pressable(node("AXButton")), "AXShowHistoryButton"),
                            withIdentifier(node("AXButton"), "widget-editor-button")});
    launchNotificationCenter(world.mac, app);
    world.start();

    world.controller->openPicker();
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.ringShown()) << "still following the slide-in";
    world.mac.runFor(0.2);
    ASSERT_TRUE(world.ringShown());
    EXPECT_EQ(world.countStartingWith("Ring: item 0 at "), 22) << "once as the panel shows, then each poll";

    world.type(SidebarOverlay::kDownArrow);
    EXPECT_EQ(world.mac.logLines().back(), "Ring: no frame for item 1");
    EXPECT_EQ(world.overlay()->selected, 0) << "the ring stays where it can be drawn";
}

TEST(ControllerPicker, ARevealPlaysOnceARunWhenTheRingFirstShows) {
    ControllerWorld world;
    world.mac.defaults().set("ringReveal", std::string("fade"));
    world.postEarlier({{.app = "A", .title = "2"}, {.app = "B", .title = "1"}});
    world.start();
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        world.openPickerAndSettle();
        ASSERT_TRUE(world.ringShown());
        const auto* reveal = world.overlay()->indicator->animation("reveal");
        ASSERT_NE(reveal, nullptr);
        const double revealedAt = reveal->beginTime;
        // Moving the ring and rows that change redraw the indicator without revealing it again.
        world.mac.runFor(1.0);
        world.type(SidebarOverlay::kDownArrow);
        world.center().post({.app = "C", .title = "0"});
        world.mac.runFor(0.5);
        ASSERT_NE(world.overlay()->indicator->animation("reveal"), nullptr);
        EXPECT_EQ(world.overlay()->indicator->animation("reveal")->beginTime, revealedAt);
        world.type(SidebarOverlay::kEscape);
        world.mac.runFor(6.0);
    }
}

TEST(ControllerPicker, ModeNextWithStyleShowOpensTheTopRowSixTenthsAfterTheRing) {
    ControllerWorld world({"--mode", "next", "--next-style", "show"});
    world.postEarlier({{.app = "Mail", .title = "Second"}, {.app = "Notes", .title = "First"}});
    world.start();
    world.openPickerUntilRing();
    ASSERT_TRUE(world.ringShown());
    world.mac.runFor(0.55);
    EXPECT_THAT(world.openedTitles(), IsEmpty());
    EXPECT_NE(world.overlay(), nullptr);
    world.mac.runFor(0.1);
    EXPECT_THAT(world.openedTitles(), ElementsAre("First"));
    EXPECT_EQ(world.overlay(), nullptr);

    // Escape and the hot key again: the first run's pending open is not the new run's.
    ControllerWorld again({"--mode", "next", "--next-style", "show"});
    again.postEarlier({{.app = "Mail", .title = "Second"}, {.app = "Notes", .title = "First"}});
    again.start();
    again.openPickerUntilRing();
    again.type(SidebarOverlay::kEscape);
    again.mac.runFor(0.35);
    again.controller->openPicker();
    again.mac.runFor(0.35);
    EXPECT_THAT(again.openedTitles(), IsEmpty());
    EXPECT_NE(again.overlay(), nullptr);
    again.mac.runFor(1.0);
    EXPECT_THAT(again.openedTitles(), ElementsAre("First"));
}

// A run of mode next that ends before its ring must not leave its pending open behind for the next
// picker, which the watch shows when the user opens the sidebar by hand and which opens nothing.
TEST(ControllerPicker, ARunEndedDuringTheSlideInLeavesNothingToOpenForTheWatchsPicker) {
    enum class End { HotKeyAgain, UserClosesSidebar };
    for (auto end : {End::HotKeyAgain, End::UserClosesSidebar}) {
        SCOPED_TRACE(end == End::HotKeyAgain ? "hot key again" : "user closes the sidebar");
        ControllerWorld world({"--mode", "next", "--next-style", "show"});
        world.postEarlier({{.app = "Mail", .title = "Second"}, {.app = "Notes", .title = "First"}});
        world.start();
        world.controller->openPicker();
        world.mac.runFor(0.15);
        ASSERT_NE(world.overlay(), nullptr);
        ASSERT_FALSE(world.overlay()->showsRing);
        if (end == End::HotKeyAgain)
            world.controller->openPicker();
        else
            ASSERT_TRUE(world.center().closeSidebar());
        world.mac.runFor(6.0);
        ASSERT_FALSE(world.center().sidebarIsOpen());
        ASSERT_EQ(world.overlay(), nullptr);

        ASSERT_TRUE(world.center().openSidebar());
        world.mac.runFor(1.0);
        ASSERT_TRUE(world.ringShown());
        world.mac.runFor(2.0);
        EXPECT_THAT(world.openedTitles(), IsEmpty());
        EXPECT_TRUE(world.ringShown());
    }
}

// The user closes the sidebar while Marlowick still unfolds its stacks, or dismisses the rows while
// they slide in.
TEST(ControllerPicker, RowsThatVanishBeforeTheRingEndTheRun) {
    struct Case {
        const char* line;
        double after;
        std::vector<sim::SimNotification> rows;
    };
    const Case cases[] = {
        {"Sidebar went away while expanding",
         0.12,
         {{.app = "Mail", .title = "One"}, {.app = "Mail", .title = "Two"}}},
        {"Sidebar went away during slide-in", 0.15, {{.app = "Notes", .title = "Note"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ControllerWorld world;
        world.postEarlier(c.rows);
        world.start();
        world.controller->openPicker();
        world.mac.runFor(c.after);
        if (world.overlay())
            world.dismissEveryRowByHand();
        else
            ASSERT_TRUE(world.center().closeSidebar());
        world.mac.runFor(2.0);
        EXPECT_EQ(world.count(c.line), 1);
        EXPECT_EQ(world.overlay(), nullptr);
        EXPECT_FALSE(world.controller->isWaiting());
        EXPECT_FALSE(world.mac.hotKeys().isRegistered(36, 0));
    }
}

TEST(ControllerPicker, ARetryThatFiresAfterClosePickerDoesNothing) {
    ControllerWorld world;
    world.start();
    world.controller->openPicker();
    world.mac.runFor(0.02);
    ASSERT_TRUE(world.controller->isWaiting());
    world.controller->closePicker();
    EXPECT_THAT(world.mac.logLines(), Contains("Closing the picker"));

    // Rows arrive while the voided retries still come due.
    world.center().post({.app = "Mail", .title = "Late"});
    world.mac.runFor(1.0);
    EXPECT_EQ(world.countStartingWith("Sidebar: found"), 0);
    EXPECT_FALSE(world.controller->isWaiting());
    EXPECT_THAT(world.mac.windows().panels(), IsEmpty());
    EXPECT_FALSE(world.center().sidebarIsOpen());

    // The hot key again while waiting closes the sidebar and ends the run just as well: a third
    // press starts one run, not two over each other.
    ControllerWorld again;
    again.postEarlier({{.app = "Mail", .title = "One"}, {.app = "Notes", .title = "Note"}});
    again.start();
    for (int press = 0; press < 3; ++press) {
        again.controller->openPicker();
        again.mac.runFor(0.04);
    }
    again.mac.runFor(2.0);
    EXPECT_EQ(again.count("Sidebar: found 2 notification(s)"), 1);
    EXPECT_EQ(again.mac.windows().panels().size(), 1u);
    EXPECT_TRUE(again.ringShown());
}

} // namespace
} // namespace marlowick
