// The status menu's rows as the platform's menus draw them: readable in either appearance, whatever
// the application's own, and highlighted in the user's accent colour.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/menu_row_item.h"
#include "contrast.h"
#include "overlay/menu_row_view.h"
#include "platform/platform.h"
#include "platform_under_test.h"

namespace marlowick::platform::testing {
namespace {

using marlowick::testing::relativeLuminance;

// The most contrast any pixel of the area (points from the top-left corner) has with the colour.
double mostContrast(const Picture& picture, const Rect& area, const Color& against) {
    return marlowick::testing::mostContrast(area, 0.5 / picture.scale, against,
                                            [&](Point point) { return picture.at(point); });
}

// The item under the pointer, as the menu reports it while it tracks.
struct HighlightedItem final : MenuRowHost {
    bool isEnabled() const override { return true; }
    bool isHighlighted() const override { return true; }
    bool hasMenu() const override { return true; }
    bool menuCanHighlightItems() const override { return true; }
    void highlightInMenu() override {}
    void cancelMenuTracking() override {}
    int indexInMenu() const override { return 0; }
    void performMenuActionAtIndex(int) override {}
};

TEST(MenusContract, ARowIsReadableInEitherAppearanceAndHighlightedInTheAccent) {
    auto platform = PlatformUnderTest::make();
    auto& menus = *current().menus;
    auto menu = menus.makeMenu("Contract");
    auto item = menus.makeItem(
        "Open notification", [] {}, "");
    auto row = MenuRowView::create("Open notification", MenuRowView::Kind::action,
                                   {KeyCap::key("\u2325"), KeyCap::key("N")});
    row->setFrame({0, 0, 300, MenuRowView::kRowHeight});
    hostRow(item, row);
    menu->addItem(item);

    const Rect title{16, 4, 120, 20}, shortcut{230, 4, 60, 20};
    for (const Appearance appearance : {Appearance::Dark, Appearance::Light}) {
        const bool dark = appearance == Appearance::Dark;
        std::string whyNot;
        const auto picture = platform->drawMenuItemView(*item, appearance, whyNot);
        if (!picture) GTEST_SKIP() << "a menu item cannot be drawn here: " << whyNot;
        const Color backdrop = picture->at({2, 14});
        if (dark)
            EXPECT_LT(relativeLuminance(backdrop), 0.05) << "a dark menu";
        else
            EXPECT_GT(relativeLuminance(backdrop), 0.7) << "a light menu";
        EXPECT_GE(mostContrast(*picture, title, backdrop), 7) << "the title, dark " << dark;
        // Secondary text: the system's own secondary label colour stays under 4.5 on a light menu.
        EXPECT_GE(mostContrast(*picture, shortcut, backdrop), 3.5) << "the shortcut, dark " << dark;
    }

    row->setHost(std::make_shared<HighlightedItem>());
    std::string whyNot;
    const auto highlighted = platform->drawMenuItemView(*item, Appearance::Dark, whyNot);
    ASSERT_TRUE(highlighted) << whyNot;
    const Color accent = platform->menuColors(Appearance::Dark).controlAccent;
    const Color between = highlighted->at({180, 4});
    EXPECT_NEAR(between.red, accent.red, 0.03);
    EXPECT_NEAR(between.green, accent.green, 0.03);
    EXPECT_NEAR(between.blue, accent.blue, 0.03);
    EXPECT_GE(mostContrast(*highlighted, title, accent), 3) << "the title in white on the accent";
}

} // namespace
} // namespace marlowick::platform::testing
