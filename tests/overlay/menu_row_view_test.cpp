#include "overlay/menu_row_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "input/keyboardshortcuts/key.h"
#include "platform/hot_keys.h"
#include "png_probe.h"

namespace marlowick::testing {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::Shortcut;
using platform::Color;
using platform::Rect;
using Kind = MenuRowView::Kind;

// The menu item hosting a row, recording what the row asks of its menu.
struct RecordingHost final : MenuRowHost {
    bool enabled = true, highlighted = false, inMenu = true, canHighlight = true;
    int index = 7;
    std::vector<std::string> calls;

    bool isEnabled() const override { return enabled; }
    bool isHighlighted() const override { return highlighted; }
    bool hasMenu() const override { return inMenu; }
    bool menuCanHighlightItems() const override { return canHighlight; }
    void highlightInMenu() override { calls.push_back("highlight"); }
    void cancelMenuTracking() override { calls.push_back("cancel tracking"); }
    int indexInMenu() const override { return inMenu ? index : -1; }
    void performMenuActionAtIndex(int at) override { calls.push_back("perform " + std::to_string(at)); }
};

const Color kAccent = platform::Color{0, 122.0 / 255, 1, 1};

class MenuRowViewTest : public ::testing::Test {
protected:
    std::shared_ptr<MenuRowView> row(Kind kind, std::vector<KeyCap> caps = {},
                                     std::string title = "Open notification") {
        auto made = MenuRowView::create(std::move(title), kind, std::move(caps));
        made->setHost(host);
        made->setFrame({0, 0, 300, MenuRowView::kRowHeight});
        return made;
    }
    // The row's draw pass in the light appearance, as its menu runs it.
    sim::Image render(MenuRowView& view, const std::string& name) {
        const auto colors = platform::standardColors(platform::Appearance::Light);
        const sim::Image image =
            sim::renderDrawing(view.bounds().size, [&](platform::Canvas& canvas) { view.draw(canvas, colors); });
        return throughPng(image, mac.home(), "menu-row-" + name);
    }
    // The widest run of columns without ink between two inked columns, in points.
    static double widestGap(const sim::Image& image) {
        int lastInked = -1, gap = 0;
        for (int x = 0; x < image.pixelWidth(); ++x) {
            bool inked = false;
            for (int y = 0; y < image.pixelHeight() && !inked; ++y)
                inked = image.pixel(x, y).alpha > 0.1;
            if (!inked) continue;
            if (lastInked >= 0) gap = std::max(gap, x - lastInked - 1);
            lastInked = x;
        }
        return gap / image.scale();
    }

    sim::SimMac mac;
    std::shared_ptr<RecordingHost> host = std::make_shared<RecordingHost>();
    int toggles = 0;
};

TEST_F(MenuRowViewTest, ActivationClosesAndRunsToggleInPlaceOrDoesNothingPerKindAndItem) {
    using Calls = std::vector<std::string>;
    // An action row closes the menu at once and runs its item's action on the next turn.
    auto action = row(Kind::action);
    action->mouseUp();
    EXPECT_EQ(host->calls, Calls{"cancel tracking"});
    mac.runUntilIdle();
    EXPECT_EQ(host->calls, (Calls{"cancel tracking", "perform 7"}));

    // A row with onToggle keeps the menu open and takes the highlight back on the next turn, unless
    // it still has it or the menu cannot highlight items.
    host->calls.clear();
    auto switchRow = row(Kind::onOff, {}, "Marlowick");
    switchRow->onToggle = [this] { ++toggles; };
    switchRow->mouseUp();
    EXPECT_TRUE(host->calls.empty());
    mac.runUntilIdle();
    EXPECT_EQ(host->calls, Calls{"highlight"});
    host->calls.clear();
    host->highlighted = true;
    switchRow->mouseUp();
    host->highlighted = false;
    host->canHighlight = false;
    switchRow->mouseUp();
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 3);
    EXPECT_TRUE(host->calls.empty());

    // Nothing at all for legend rows, disabled items, items outside a menu and rows without an item.
    auto legend = row(Kind::legend, {KeyCap::key("esc")}, "Cancel");
    legend->onToggle = [this] { ++toggles; };
    legend->mouseUp();
    host->canHighlight = true;
    host->enabled = false;
    action->mouseUp();
    switchRow->mouseUp();
    host->enabled = true;
    host->inMenu = false;
    action->mouseUp();
    MenuRowView::create("Quit", Kind::action)->mouseUp();
    mac.runUntilIdle();
    EXPECT_EQ(toggles, 3);
    EXPECT_TRUE(host->calls.empty());
}

TEST_F(MenuRowViewTest, ShortcutsBecomeOneKeyPerLeadingModifierAndOneForTheRest) {
    using Caps = std::vector<KeyCap>;
    EXPECT_EQ(
        capsForShortcut(Shortcut(Key::comma.rawValue, platform::kCarbonCommand | platform::kCarbonShift)),
        (Caps{KeyCap::key("⇧"), KeyCap::key("⌘"), KeyCap::key(",")}));
    // Key boxes are 8 points wider than their text, and never narrower than 20.
    EXPECT_EQ(capWidth(KeyCap::key("j")), 20);
    const double wide = std::ceil(mac.fonts().measureText("Control Space", keyCapFont()).width);
    EXPECT_EQ(capWidth(KeyCap::key("Control Space")), wide + 8);
}

TEST_F(MenuRowViewTest, ALegendRowBoxesItsKeysButNotItsTextAndStartsItsTitleAfterTheColumn) {
    auto legend =
        row(Kind::legend, {KeyCap::key("1"), KeyCap::text("–"), KeyCap::key("9")}, "Open that notification");
    legend->columnWidth = 90; // wider than its own caps: the title still starts at 90 + 26
    const sim::Image image = render(*legend, "legend");
    const double label = 0.85, dash = capWidth(KeyCap::text("–"));
    // The first box: (16, 4, 20, 20), its 1-point outline at alpha 0.3 and its inside at 0.1, whatever
    // the label colour's own alpha.
    EXPECT_NEAR(image.colorAt({26, 6}).alpha, 0.1, 0.01);
    EXPECT_NEAR(image.colorAt({16.25, 14}).alpha, 0.3, 0.01);
    EXPECT_EQ(image.colorAt({15.75, 14}).alpha, 0);
    EXPECT_EQ(image.colorAt({16.25, 3.75}).alpha, 0);
    EXPECT_NEAR(maxAlpha(image, {17, 5, 18, 18}), label, 0.02) << "the key's text in the label colour";
    // The en dash stands without a box; the third cap's box follows it after 2 points.
    EXPECT_EQ(image.colorAt({38 + dash / 2, 6}).alpha, 0);
    EXPECT_NEAR(image.colorAt({38 + dash + 2 + 0.25, 14}).alpha, 0.3, 0.01);
    const auto caps = inkExtent(image, {0, 0, 300, 28});
    const auto title = inkExtent(image, {100, 0, 200, 28});
    ASSERT_TRUE(caps && title);
    EXPECT_NEAR(caps->minX, 16.25, 0.01);
    EXPECT_NEAR(title->minX, 116, 1.5);
    EXPECT_FALSE(inkExtent(image, {80, 0, 35.5, 28}));
}

TEST_F(MenuRowViewTest, ActionRowsEndTheirShortcutAtTheMarginAndDimWhenDisabled) {
    auto action = row(Kind::action, {KeyCap::key("⌥"), KeyCap::key("N")});
    const Rect titleArea{10, 0, 150, 28}, capsArea{220, 0, 80, 28};
    const auto caps = inkExtent(render(*action, "action-normal"), capsArea);
    ASSERT_TRUE(caps);
    // The text's advance, side bearing included, ends 16 points from the edge.
    EXPECT_LE(caps->maxX, 300 - 16);
    EXPECT_GT(caps->maxX, 300 - 16 - 2.5);

    host->enabled = false;
    const sim::Image disabled = render(*action, "action-disabled");
    EXPECT_NEAR(maxAlpha(disabled, titleArea), 0.26, 0.02) << "both in the tertiary label colour";
    EXPECT_NEAR(maxAlpha(disabled, capsArea), 0.26, 0.02);
}

TEST_F(MenuRowViewTest, AHighlightedSwitchRowIsWhiteOnTheAccentAndKeepsItsGreenTrack) {
    auto switchRow = row(
        Kind::onOff, {KeyCap::key("⌃"), KeyCap::key("⌥"), KeyCap::key("⇧"), KeyCap::key("N")}, "Marlowick");
    switchRow->isOn = true;
    host->highlighted = true;
    const sim::Image image = render(*switchRow, "switch-highlighted");
    auto mostRed = [&](const Rect& area) {
        double most = 0;
        forEachPixel(image, area, [&](platform::Point, const Color& c) { most = std::max(most, c.red); });
        return most;
    };
    // White over the accent blue raises the red channel by the text's own alpha.
    EXPECT_NEAR(mostRed({16, 4, 80, 20}), 1.0, 0.02) << "the title in white";
    EXPECT_NEAR(mostRed({150, 4, 90, 20}), 0.85, 0.02) << "the shortcut in white at 85 %";
    const auto shortcut = inkExtent(image, {150, 4, 100, 20}, [](const Color& c) { return c.red > 0.3; });
    ASSERT_TRUE(shortcut);
    EXPECT_LE(shortcut->maxX, 254 - 10) << "10 points left of the switch";
    EXPECT_GT(shortcut->maxX, 254 - 10 - 2.5);
    // The track (254, 5, 30, 18) stays green; the knob sits at its right end when on.
    EXPECT_TRUE(near(image.colorAt({259, 14}), {52.0 / 255, 199.0 / 255, 89.0 / 255, 1}));
    EXPECT_TRUE(near(image.colorAt({275, 14}), {1, 1, 1, 1}));
    EXPECT_TRUE(near(image.colorAt({150, 2}), kAccent)) << "the highlight, inset by 5 and 1";
    EXPECT_EQ(image.colorAt({4, 14}).alpha, 0);
    EXPECT_EQ(image.colorAt({150, 0.75}).alpha, 0);
    EXPECT_EQ(image.colorAt({5.5, 1.5}).alpha, 0) << "its rounded corner";

    switchRow->isOn = false;
    host->highlighted = false;
    const sim::Image off = render(*switchRow, "switch-off");
    EXPECT_TRUE(near(off.colorAt({263, 14}), {1, 1, 1, 1})) << "the knob at the left end";
    EXPECT_NEAR(off.colorAt({279, 14}).alpha, 0.26, 0.01) << "a grey track";
    EXPECT_EQ(off.colorAt({150, 2}).alpha, 0);
}

TEST_F(MenuRowViewTest, TheDisclosureChevronPointsRightWhenFoldedAndDownWhenOpen) {
    auto header = row(Kind::disclosure, {}, "In the picker");
    const sim::Image folded = render(*header, "disclosure-folded");
    header->isOn = true;
    const sim::Image open = render(*header, "disclosure-open");
    // Centred at (300 - 21, 14).
    EXPECT_GT(folded.colorAt({277, 18.2}).alpha, 0.3);
    EXPECT_EQ(folded.colorAt({283.3, 16}).alpha, 0);
    EXPECT_GT(open.colorAt({283.3, 16}).alpha, 0.3);
    EXPECT_EQ(open.colorAt({277, 18.2}).alpha, 0);
    EXPECT_NEAR(maxAlpha(open, {10, 0, 150, 28}), 0.5, 0.02) << "the title in the secondary colour";
}

TEST_F(MenuRowViewTest, EveryKindFitsItsIntrinsicWidth) {
    const std::vector<KeyCap> longShortcut{KeyCap::key("⌃"), KeyCap::key("⌥"), KeyCap::key("⇧"),
                                           KeyCap::key("⌘"), KeyCap::key("Space")};
    auto legend = row(Kind::legend, {KeyCap::key("gg"), KeyCap::key("G")}, "Go to top, bottom");
    legend->columnWidth = 60;
    for (const auto& view : {row(Kind::action, longShortcut), row(Kind::onOff, longShortcut, "Marlowick"),
                             row(Kind::disclosure, {}, "In the picker"), legend}) {
        const double width = std::ceil(view->intrinsicWidth());
        view->setFrame({0, 0, width, 28});
        const sim::Image image = render(*view, "fit");
        const auto ink = inkExtent(image, {0, 0, width, 28});
        ASSERT_TRUE(ink);
        EXPECT_LE(ink->maxX, width - 15) << view->title;
        if (view->kind != Kind::legend) {
            EXPECT_GE(widestGap(image), 16) << view->title << ": title and right part stay apart";
        }
    }
}

} // namespace
} // namespace marlowick::testing
