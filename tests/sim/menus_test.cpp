#include "sim/menus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

using platform::kFlagCommand;
using platform::kFlagOption;
using platform::kFlagShift;
using ::testing::ElementsAre;

struct Recorder final : platform::MenuDelegate {
    void menuNeedsUpdate(platform::Menu&) override { calls.push_back("needsUpdate " + mode()); }
    void menuWillOpen(platform::Menu&) override { calls.push_back("willOpen " + mode()); }
    void menuDidClose(platform::Menu&) override { calls.push_back("didClose " + mode()); }
    std::string mode() {
        return platform::current().runLoop->currentMode() == platform::RunLoopMode::EventTracking ? "tracking"
                                                                                                  : "default";
    }
    std::vector<std::string> calls;
};

class SimMenusTest : public ::testing::Test {
protected:
    SimMenusTest() {
        menu = mac.menus().makeMenu("");
        menu->setDelegate(recorder);
        tracking =
            mac.notifications().observe(platform::kMenuDidBeginTracking, [this](const platform::UserInfo&) {
                recorder->calls.push_back("begin");
            });
        ended = mac.notifications().observe(platform::kMenuDidEndTracking, [this](const platform::UserInfo&) {
            recorder->calls.push_back("end");
        });
    }
    std::shared_ptr<platform::MenuItem> add(const std::string& title, const std::string& key = "") {
        auto item = mac.menus().makeItem(
            title, [this, title] { performed.push_back(title); }, key);
        menu->addItem(item);
        return item;
    }
    void type(std::uint16_t keyCode, platform::ModifierFlags flags) {
        mac.keyboard().type({keyCode, flags});
        mac.runUntilIdle();
    }

    SimMac mac;
    std::shared_ptr<platform::Menu> menu;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::vector<std::string> performed;
    platform::Subscription tracking, ended;
};

TEST_F(SimMenusTest, OpeningAndClosingTrackAroundTheDelegateCalls) {
    add("One");
    mac.menus().open(menu);
    EXPECT_EQ(mac.runLoop().currentMode(), platform::RunLoopMode::EventTracking);
    mac.menus().close();
    EXPECT_EQ(mac.runLoop().currentMode(), platform::RunLoopMode::Default);
    EXPECT_THAT(recorder->calls, ElementsAre("begin", "needsUpdate tracking", "willOpen tracking",
                                             "didClose tracking", "end"));
    // Cancelling a menu that is not open does nothing.
    menu->cancelTracking();
    EXPECT_EQ(recorder->calls.size(), 5u);
}

TEST_F(SimMenusTest, KeyEquivalentsFireOnceOnTheirExactChordAndCloseTheMenu) {
    add("Copy", "c");
    add("Paste Style", "V")->setKeyEquivalentModifierMask(kFlagCommand | kFlagOption);
    auto hidden = add("Hidden", "h");
    hidden->setHidden(true);
    auto twin = add("Twin", "t");
    twin->setHidden(true);
    twin->setAllowsKeyEquivalentWhenHidden(true);
    auto disabled = add("Disabled", "d");
    menu->setAutoenablesItems(false);
    disabled->setEnabled(false);

    mac.menus().open(menu);
    type(8, kFlagCommand | kFlagShift);  // ⇧⌘C is not ⌘C
    type(9, kFlagCommand | kFlagOption); // "V" asks for Shift as well
    type(4, kFlagCommand);               // hidden, not allowed
    type(2, kFlagCommand);               // disabled
    EXPECT_TRUE(performed.empty());
    EXPECT_NE(mac.menus().openMenu(), nullptr);

    type(9, kFlagCommand | kFlagOption | kFlagShift);
    EXPECT_THAT(performed, ElementsAre("Paste Style"));
    EXPECT_EQ(mac.menus().openMenu(), nullptr);
    mac.menus().open(menu);
    type(17, kFlagCommand);
    EXPECT_THAT(performed, ElementsAre("Paste Style", "Twin"));
}

TEST_F(SimMenusTest, KeyEquivalentsFollowTheCurrentLayout) {
    add("Undo", "z");
    mac.keyboardLayouts().select(LayoutId::German); // z and y trade places
    mac.menus().open(menu);
    type(6, kFlagCommand);
    EXPECT_TRUE(performed.empty());
    type(16, kFlagCommand);
    EXPECT_THAT(performed, ElementsAre("Undo"));

    // Shift stays in the character: ⌥⇧1 types "!", which a "1" with Shift in its mask never matches.
    mac.keyboardLayouts().select(LayoutId::US);
    add("One", "1")->setKeyEquivalentModifierMask(kFlagOption | kFlagShift);
    auto bang = add("Bang", "!");
    bang->setKeyEquivalentModifierMask(kFlagOption | kFlagShift);
    add("Bare bang", "!")->setKeyEquivalentModifierMask(kFlagOption);
    mac.menus().open(menu);
    type(18, kFlagOption | kFlagShift);
    EXPECT_THAT(performed, ElementsAre("Undo", "Bang"));
    bang->setHidden(true);
    mac.menus().open(menu);
    type(18, kFlagOption | kFlagShift);
    EXPECT_THAT(performed, ElementsAre("Undo", "Bang", "Bare bang"))
        << "the Shift that made \"!\" may be left out";
}

TEST_F(SimMenusTest, ArrowsSkipWhatCannotBeChosenAndReturnChoosesTheHighlight) {
    add("First");
    menu->addItem(mac.menus().makeSeparator());
    menu->addItem(mac.menus().makeSectionHeader("Header"));
    add("Hidden")->setHidden(true);
    add("Second");
    mac.menus().open(menu);
    type(125, 0);
    EXPECT_EQ(menu->highlightedItem()->title(), "First");
    type(125, 0);
    EXPECT_EQ(menu->highlightedItem()->title(), "Second");
    type(125, 0);
    EXPECT_EQ(menu->highlightedItem()->title(), "Second");
    type(36, 0);
    EXPECT_THAT(performed, ElementsAre("Second"));
    EXPECT_EQ(mac.menus().openMenu(), nullptr);
    EXPECT_EQ(menu->highlightedItem(), nullptr);
}

TEST_F(SimMenusTest, MenusThatEnableItemsThemselvesIgnoreTheEnabledFlag) {
    auto item = add("Action");
    auto bare = mac.menus().makeItem("No action", nullptr, "");
    menu->addItem(bare);
    item->setEnabled(false);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(bare->isEnabled());
    menu->setAutoenablesItems(false);
    EXPECT_FALSE(item->isEnabled());
    menu->performActionForItemAt(0);
    menu->performActionForItemAt(7);
    EXPECT_TRUE(performed.empty());
}

// A custom view that records the width its menu gives it.
struct WidthView final : platform::MenuItemView {
    platform::Rect frame() const override { return {0, 0, width, 22}; }
    void setWidth(double w) override { width = w; }
    void draw(platform::Canvas&, const platform::SystemColors&) override {}
    void mouseUp() override {}
    double width = 200;
};

TEST_F(SimMenusTest, AnOpeningMenuGrowsToItsWidestTitleAndGivesItsViewsThatWidth) {
    menu->setMinimumWidth(150);
    auto shown = std::make_shared<WidthView>();
    auto hidden = std::make_shared<WidthView>();
    add("Row")->setView(shown);
    auto hiddenItem = add("Hidden");
    hiddenItem->setView(hidden);
    hiddenItem->setHidden(true);
    mac.menus().open(menu);
    EXPECT_DOUBLE_EQ(mac.menus().openMenuWidth(), 200) << "the widest view wins over the minimum";
    EXPECT_DOUBLE_EQ(shown->width, 200);
    mac.menus().close();

    std::string title = "A plain item whose title is far wider than any row of this menu";
    add(title);
    mac.menus().open(menu);
    double titleWidth = mac.fonts().measureText(title, platform::Font::system(13)).width;
    EXPECT_GT(mac.menus().openMenuWidth(), titleWidth + 20) << "a title is never cut";
    EXPECT_DOUBLE_EQ(shown->width, mac.menus().openMenuWidth());
    EXPECT_DOUBLE_EQ(hidden->width, 200) << "hidden items are not laid out";
}

} // namespace
} // namespace marlowick::sim
