// The sidebar watch: the user opening and closing the sidebar by hand, stacks folded back, and rows
// that change under the ring.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/controller_world.h"

namespace marlowick {
namespace {

using ::testing::Contains;
using testing::ControllerWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ControllerWatch, TheUserOpeningTheSidebarShowsAPickerThatOpensNothingByItself) {
    ControllerWorld world;
    world.postEarlier({{.app = "Mail", .title = "Lunch"}});
    world.start();
    ASSERT_TRUE(world.center().openSidebar());
    world.mac.runFor(1.0);
    EXPECT_EQ(world.count("Sidebar opened without the hotkey"), 1);
    ASSERT_TRUE(world.ringShown());
    EXPECT_THAT(world.openedTitles(), IsEmpty()) << "shown by the watch, the picker opens nothing itself";

    // Escape leaves the picker and closes the sidebar, which the user opened.
    world.type(SidebarOverlay::kEscape);
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen());
    EXPECT_EQ(world.count("Sidebar opened without the hotkey"), 1);

    // Modes that make the hot key open a lone row at once still only show the picker here.
    for (auto mode : {"pick", "next"}) {
        SCOPED_TRACE(mode);
        ControllerWorld other({"--mode", mode, "--next-style", "show"});
        other.postEarlier({{.app = "Mail", .title = "Lunch"}});
        other.start();
        ASSERT_TRUE(other.center().openSidebar());
        other.mac.runFor(3.0);
        EXPECT_TRUE(other.ringShown());
        EXPECT_THAT(other.openedTitles(), IsEmpty());
    }
}

TEST(ControllerWatch, TheSidebarClosingUnderTheRingEndsThePickerAndFoldsBackWhatMarlowickUnfolded) {
    ControllerWorld world;
    world.postEarlier({{.app = "Mail", .title = "One"},
                       {.app = "Mail", .title = "Two"},
                       {.app = "Chat", .title = "Hi"},
                       {.app = "Chat", .title = "There"},
                       {.app = "Notes", .title = "Note"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_EQ(world.count("Expanding 2 stack(s)"), 1);
    ASSERT_TRUE(world.center().isUnfolded("Mail"));
    ASSERT_TRUE(world.ringShown());

    ASSERT_TRUE(world.center().closeSidebar());
    world.mac.runFor(0.25);
    EXPECT_EQ(world.count("Sidebar closed"), 1);
    EXPECT_EQ(world.overlay(), nullptr);
    EXPECT_THAT(world.panelsOnScreen(), IsEmpty());
    EXPECT_FALSE(world.mac.hotKeys().isRegistered(36, 0));
    world.mac.runFor(1.0);
    EXPECT_EQ(world.count("Collapsed Mail"), 1);
    EXPECT_EQ(world.count("Collapsed Chat"), 1);
    EXPECT_FALSE(world.center().isUnfolded("Mail"));
    EXPECT_FALSE(world.center().isUnfolded("Chat"));

    // The picker the watch shows unfolds them again, and they are folded back again when it ends.
    world.mac.runFor(5.0);
    ASSERT_TRUE(world.center().openSidebar());
    world.mac.runFor(1.0);
    ASSERT_TRUE(world.ringShown());
    world.type(SidebarOverlay::kEscape);
    world.mac.runFor(6.0);
    EXPECT_EQ(world.countStartingWith("Collapsed "), 4);
}

TEST(ControllerWatch, ANewRowAboveTheSelectionKeepsTheSelectionOnItsRow) {
    ControllerWorld world;
    world.postEarlier(
        {{.app = "C", .title = "Third"}, {.app = "B", .title = "Second"}, {.app = "A", .title = "First"}});
    world.start();
    world.openPickerAndSettle();
    world.type(SidebarOverlay::kDownArrow);
    ASSERT_EQ(world.overlay()->selected, 1);

    world.center().post({.app = "D", .title = "Newest"});
    world.mac.runFor(0.5);
    EXPECT_THAT(world.mac.logLines(), Contains("Rows changed: 4 item(s)"));
    EXPECT_EQ(world.overlay()->selected, 2);
    EXPECT_EQ(world.overlay()->itemFrames.size(), 4u);
    world.type(SidebarOverlay::kReturn);
    EXPECT_THAT(world.openedTitles(), ElementsAre("Second"));
}

TEST(ControllerWatch, AClosedRowThatIsStillListedStaysOutOfThePickerForOneSecond) {
    ControllerWorld world;
    world.postEarlier(
        {{.app = "C", .title = "Third"}, {.app = "B", .title = "Second"}, {.app = "A", .title = "First"}});
    world.start();
    world.openPickerAndSettle();
    world.center().setRemovalDelay(2.0); // a busy Notification Center

    world.type(VimKey::d);
    world.type(VimKey::d);
    world.mac.runFor(0.9);
    EXPECT_EQ(world.center().sidebarRows().size(), 3u);
    EXPECT_EQ(world.overlay()->itemFrames.size(), 2u);
    EXPECT_EQ(world.countStartingWith("Rows changed"), 0);
    EXPECT_EQ(world.overlay()->selected, 0);
    world.type(SidebarOverlay::kReturn);
    EXPECT_THAT(world.openedTitles(), ElementsAre("Second"));
}

TEST(ControllerWatch, StacksArrivingTooSoonAfterAnUnfoldingAreUnfoldedOnceTheSecondHasPassed) {
    ControllerWorld world;
    world.postEarlier({{.app = "Notes", .title = "Note"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());

    world.center().post({.app = "Chat", .title = "Hi"});
    world.center().post({.app = "Chat", .title = "There"});
    world.mac.runFor(0.3);
    ASSERT_EQ(world.count("Expanding 1 new stack(s)"), 1);
    world.center().post({.app = "Team", .title = "Standup"});
    world.center().post({.app = "Team", .title = "Retro"});
    world.mac.runFor(0.3);
    EXPECT_FALSE(world.center().isUnfolded("Team")) << "within a second of the last unfolding";

    // Nothing else changes from here on: the rows alone must not keep the stack folded.
    world.mac.runFor(1.5);
    EXPECT_TRUE(world.center().isUnfolded("Team"));
    EXPECT_EQ(world.count("Expanding 1 new stack(s)"), 2);
    EXPECT_EQ(world.overlay()->itemFrames.size(), 5u);
}

TEST(ControllerWatch, RowsDismissedByHandUnderTheRingEndTheRunAndTheNextHotKeyClosesTheSidebar) {
    ControllerWorld world;
    world.postEarlier({{.app = "Mail", .title = "One"}, {.app = "Notes", .title = "Note"}});
    world.start();
    world.openPickerAndSettle();
    ASSERT_TRUE(world.ringShown());

    world.dismissEveryRowByHand();
    world.mac.runFor(0.5);
    ASSERT_THAT(world.center().sidebarRows(), IsEmpty());
    EXPECT_EQ(world.overlay(), nullptr);
    EXPECT_THAT(world.panelsOnScreen(), IsEmpty());
    EXPECT_FALSE(world.mac.hotKeys().isRegistered(36, 0)) << "the picker keys are released";
    EXPECT_TRUE(world.center().sidebarIsOpen());
    world.mac.runFor(6.0);
    EXPECT_TRUE(world.center().sidebarIsOpen()) << "the watch takes it for no new opening";
    EXPECT_EQ(world.count("Sidebar opened without the hotkey"), 0);

    world.controller->openPicker();
    world.mac.runFor(0.5);
    EXPECT_FALSE(world.center().sidebarIsOpen());
}

} // namespace
} // namespace marlowick
