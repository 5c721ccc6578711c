#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "overlay_fixture.h"

namespace marlowick::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kEscape = 53, kReturn = 36, kKeypadEnter = 76, kDown = 125, kUp = 126, kLeft = 123,
              kRight = 124;

class Keys : public OverlayTest {
protected:
    void keyToOtherApplication() {
        auto& events = mac.events();
        events.deliverToOtherApplication(events.makeKeyEvent(platform::EventType::KeyDown, 0, 0, false));
        mac.runUntilIdle();
    }
};

TEST_F(Keys, SingleKeysReportWhatTheUserAskedForWithinTheItems) {
    setItems(4);
    overlay->selected = 3;
    for (int code : {kReturn, kKeypadEnter, vim(VimKey::o), kDown, kUp, vim(VimKey::j), vim(VimKey::k),
                     vim(VimKey::G), kEscape, 29 /* 0 */, 0 /* a */, 299, 308, -1, 70000})
        overlay->handleKey(code);
    EXPECT_THAT(takeCalls(), ElementsAre("pick 3", "pick 3", "pick 3", "move 1", "move -1", "select 3",
                                         "select 2", "select 3", "cancel"));
    EXPECT_EQ(overlay->selected, 3) << "the controller writes the selection back, not the overlay";

    // Digits pick only numbered items; one scrolled out of the bounds still counts.
    overlay->itemFrames[0] = {16, 900, 328, 64};
    for (int code : {23 /* 5 */, 85 /* keypad 3 */, 18 /* 1 */})
        overlay->handleKey(code);
    setItems(12);
    overlay->handleKey(25 /* 9 */);
    EXPECT_THAT(takeCalls(), ElementsAre("pick 2", "pick 0", "pick 8"));

    // Without items, and with a selection left outside them, selecting keys stay within 0 to last.
    setItems(0);
    for (int code : {vim(VimKey::j), vim(VimKey::G), vim(VimKey::g), vim(VimKey::g)})
        overlay->handleKey(code);
    setItems(3);
    overlay->selected = -4;
    overlay->handleKey(vim(VimKey::j));
    overlay->selected = 9;
    overlay->handleKey(vim(VimKey::k));
    EXPECT_THAT(takeCalls(), ElementsAre("select 0", "select 0", "select 0", "select 0", "select 2"));
}

TEST_F(Keys, TwoKeySequencesCompleteWithinTheirLifetimeAndOtherwiseExpire) {
    setItems(5);
    overlay->selected = 3;
    overlay->handleKey(vim(VimKey::g));
    mac.runFor(0.7);
    overlay->handleKey(vim(VimKey::g));
    overlay->handleKey(vim(VimKey::d));
    overlay->handleKey(vim(VimKey::d));
    EXPECT_THAT(takeCalls(), ElementsAre("select 0", "close 3"));
    EXPECT_FALSE(overlay->cancelMonitor) << "no monitor stays behind a completed sequence";

    // A pause longer than the lifetime: the second g starts a new sequence instead.
    overlay->handleKey(vim(VimKey::g));
    EXPECT_TRUE(overlay->cancelMonitor);
    mac.runFor(0.81);
    EXPECT_FALSE(overlay->pendingKey);
    EXPECT_FALSE(overlay->cancelMonitor);
    overlay->handleKey(vim(VimKey::g));
    EXPECT_THAT(takeCalls(), IsEmpty());

    // d after g replaces it with the full lifetime; j drops it and is handled.
    mac.runFor(0.5);
    overlay->handleKey(vim(VimKey::d));
    mac.runFor(0.5);
    EXPECT_EQ(overlay->pendingKey, VimKey::d);
    overlay->handleKey(vim(VimKey::j));
    EXPECT_THAT(takeCalls(), ElementsAre("select 4"));
    EXPECT_FALSE(overlay->pendingKey);
}

TEST_F(Keys, EscapeOrATypeIntoAnotherApplicationOnlyDropsThePendingKey) {
    setItems(3);
    overlay->handleKey(vim(VimKey::g));
    overlay->handleKey(kEscape);
    EXPECT_THAT(takeCalls(), IsEmpty());
    EXPECT_FALSE(overlay->cancelMonitor);
    overlay->handleKey(kEscape);
    EXPECT_THAT(takeCalls(), ElementsAre("cancel"));

    overlay->handleKey(vim(VimKey::d));
    keyToOtherApplication();
    EXPECT_FALSE(overlay->pendingKey);
    EXPECT_FALSE(overlay->cancelMonitor);
    overlay->handleKey(vim(VimKey::d));
    EXPECT_THAT(takeCalls(), IsEmpty()) << "the d after the other application's key starts afresh";

    // Neither the expiry nor the monitor keeps a dropped overlay alive or calls it.
    std::weak_ptr<SidebarOverlay> weak = overlay;
    overlay.reset();
    EXPECT_TRUE(weak.expired());
    keyToOtherApplication();
    mac.runFor(1.0);
    EXPECT_THAT(takeCalls(), IsEmpty());
}

TEST_F(Keys, WhileANotificationsActionsAreListedTheKeysWorkInTheList) {
    setItems(4);
    overlay->selected = 2;
    overlay->handleKey(kRight);
    overlay->handleKey(vim(VimKey::l));
    EXPECT_THAT(takeCalls(), ElementsAre("actions 2", "actions 2"));

    // The arrows wrap round the list, j and k stop at its ends; item keys do nothing meanwhile.
    overlay->showActions({"Reply", "Mark as Read", "Show Details"});
    overlay->handleKey(kUp);
    EXPECT_EQ(overlay->actionSelected, 2);
    overlay->handleKey(kDown);
    EXPECT_EQ(overlay->actionSelected, 0);
    for (int code : {vim(VimKey::k), vim(VimKey::j), vim(VimKey::j), vim(VimKey::j), vim(VimKey::G),
                     vim(VimKey::d), vim(VimKey::d), kRight})
        overlay->handleKey(code);
    EXPECT_EQ(overlay->actionSelected, 2);
    // A digit beyond the list does nothing; one within it, Return, Enter and o perform.
    for (int code : {21 /* 4 */, 19 /* 2 */, kReturn, kKeypadEnter, vim(VimKey::o)})
        overlay->handleKey(code);
    EXPECT_THAT(takeCalls(), ElementsAre("perform 1", "perform 2", "perform 2", "perform 2"));

    // ←, h and Escape go back to the items; a second Escape then leaves.
    for (int back : {kLeft, vim(VimKey::h), kEscape}) {
        overlay->showActions({"Reply"});
        overlay->handleKey(back);
        EXPECT_TRUE(overlay->actionLabels.empty());
    }
    overlay->handleKey(kEscape);
    overlay->handleKey(vim(VimKey::h));
    EXPECT_THAT(takeCalls(), ElementsAre("back", "back", "back", "cancel"));
}

TEST_F(Keys, APendingKeyShowsItsCaptionUntilItExpires) {
    setItems(3);
    overlay->showsRing = true;
    overlay->itemIsStack = {true, true, true};
    const auto shown = [&] {
        mac.runUntilIdle();
        std::vector<std::string> names;
        for (const auto& layer : overlay->indicator->sublayers())
            names.push_back(layer->name());
        return names;
    };
    EXPECT_THAT(shown(), IsEmpty()) << "nothing is drawn before the first redraw request";
    overlay->handleKey(vim(VimKey::g));
    // The expand pill gives way to the pending key's, so only one pill shows.
    EXPECT_THAT(shown(), ElementsAre("ring", "caption"));
    auto text =
        std::dynamic_pointer_cast<platform::TextLayer>(overlay->indicator->sublayers()[1]->sublayers()[0]);
    EXPECT_EQ(text->string(), "g, then g goes to top");
    mac.runFor(0.9);
    text = std::dynamic_pointer_cast<platform::TextLayer>(overlay->indicator->sublayers()[1]->sublayers()[0]);
    EXPECT_EQ(text->string(), "⏎ Expand");
}

} // namespace
} // namespace marlowick::testing
