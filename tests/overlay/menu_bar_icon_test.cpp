#include "overlay/menu_bar_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/path.h"
#include "png_probe.h"

namespace marlowick::testing {
namespace {

using platform::Point;
using platform::Rect;

constexpr MenuBarIcon kAllStyles[] = {MenuBarIcon::wideDot, MenuBarIcon::wideDotLines,
                                      MenuBarIcon::wideDotFill, MenuBarIcon::wideDotStack};

class MenuBarIconTest : public ::testing::Test {
protected:
    sim::Image icon(MenuBarIcon style, bool isOn) {
        const auto image = platform::DrawnImage(menuBarIconImage(style, isOn));
        const std::string name = "menu-bar-icon-" + std::string(rawValue(style)) + (isOn ? "-on" : "-off");
        return throughPng(sim::renderDrawing(image.size, image.draw), mac.home(), name);
    }

    sim::SimMac mac;
};

// How far a point lies from the slash of the off variant, a segment from (21.5, 20.5) to (4.5, 1.5).
double distanceFromSlash(Point p) {
    const Point a{21.5, 20.5}, b{4.5, 1.5};
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TEST_F(MenuBarIconTest, OnVariantsDrawTheirCardDotAndExtras) {
    struct Probe {
        MenuBarIcon style;
        Point at;
        bool inked;
        const char* what;
    };
    const Probe probes[] = {
        {MenuBarIcon::wideDot, {13, 16.85}, true, "top of the card's outline"},
        {MenuBarIcon::wideDot, {7.3, 12.2}, true, "the dot"},
        {MenuBarIcon::wideDot, {15, 11}, false, "inside the card"},
        {MenuBarIcon::wideDot, {2.3, 5.8}, false, "the rounded corner"},
        {MenuBarIcon::wideDotLines, {20.3, 9.8}, true, "the longer lower line"},
        {MenuBarIcon::wideDotLines, {19.6, 13.2}, false, "the upper line is shorter"},
        {MenuBarIcon::wideDotStack, {13, 18.35}, true, "top of the raised card"},
        {MenuBarIcon::wideDotStack, {13, 4}, true, "edge of the card behind"},
        {MenuBarIcon::wideDotStack, {13, 5.5}, false, "gap between the cards"},
        {MenuBarIcon::wideDotStack, {3, 5}, false, "the card behind is narrower"},
    };
    for (const auto& probe : probes) {
        const platform::Color color = icon(probe.style, true).colorAt(probe.at);
        EXPECT_NEAR(color.alpha, probe.inked ? 1 : 0, 0.03) << rawValue(probe.style) << ": " << probe.what;
    }
}

TEST_F(MenuBarIconTest, SolidBannerIsAFilledCardWithTheDotCutOut) {
    const sim::Image image = icon(MenuBarIcon::wideDotFill, true);
    const Point dotCentre{5.2 + 2.1, 10.1 + 2.1};
    int holePixels = 0, cardPixels = 0;
    forEachPixel(image, {0, 0, 26, 22}, [&](Point p, const platform::Color& color) {
        const double fromDot = std::hypot(p.x - dotCentre.x, p.y - dotCentre.y);
        // Half a point inside the card (2, 5.5, 22, 12), away from its rounded corners.
        const bool inCard =
            Rect(2.5, 6, 21, 11).contains(p) && ((p.x > 6 && p.x < 20) || (p.y > 9.5 && p.y < 13.5));
        if (fromDot < 1.7) {
            ++holePixels;
            EXPECT_EQ(color.alpha, 0) << "the hole at " << p.x << ", " << p.y;
        } else if (fromDot > 2.5 && inCard) {
            ++cardPixels;
            EXPECT_GT(color.alpha, 0.98) << "solid card at " << p.x << ", " << p.y;
        }
    });
    EXPECT_GT(holePixels, 30);
    EXPECT_GT(cardPixels, 600);
    EXPECT_EQ(image.colorAt({1, 11}).alpha, 0) << "nothing outside the card";
    EXPECT_EQ(image.colorAt({2.2, 5.7}).alpha, 0) << "rounded corner";
}

TEST_F(MenuBarIconTest, OffVariantsCompositeAtFortyPercentUnderASlashWithAClearMargin) {
    for (MenuBarIcon style : kAllStyles) {
        const sim::Image on = icon(style, true);
        const sim::Image off = icon(style, false);
        int slash = 0, margin = 0, dimmed = 0;
        forEachPixel(off, {0, 0, 26, 22}, [&](Point p, const platform::Color& color) {
            const double d = distanceFromSlash(p);
            // A pixel reaches 0.36 points from its centre; the slash is 0.7 to each side, the
            // cleared band 1.7.
            if (d < 0.3) {
                ++slash;
                EXPECT_GT(color.alpha, 0.97) << rawValue(style) << " slash at " << p.x << ", " << p.y;
            } else if (d > 1.1 && d < 1.3) {
                ++margin;
                EXPECT_LT(color.alpha, 0.02) << rawValue(style) << " margin at " << p.x << ", " << p.y;
            } else if (d > 2.1) {
                const double expected = 0.4 * on.colorAt(p).alpha;
                if (expected > 0.39) ++dimmed;
                EXPECT_NEAR(color.alpha, expected, 0.015) << rawValue(style) << " at " << p.x << ", " << p.y;
            }
        });
        EXPECT_GT(slash, 40) << rawValue(style);
        EXPECT_GT(margin, 10) << rawValue(style);
        EXPECT_GT(dimmed, 60) << rawValue(style) << ": the dimmed icon shows beside the slash";
    }
    // The stacked card's overlapping strokes composite once: no darker spot where they meet.
    const sim::Image stack = icon(MenuBarIcon::wideDotStack, false);
    EXPECT_LT(maxAlpha(stack, {4, 6.5, 2, 1.5}), 0.41);
    EXPECT_NEAR(stack.colorAt({13, 4}).alpha, 0.4, 0.015) << "the card behind, dimmed";
}

TEST_F(MenuBarIconTest, TheImageIsATemplateDescribedAsMarlowick) {
    const platform::DrawnImage image = menuBarIconImage(MenuBarIcon::wideDotStack, false);
    EXPECT_EQ(image.size, (platform::Size{26, 22}));
    EXPECT_TRUE(image.isTemplate);
    EXPECT_EQ(image.accessibilityDescription, "Marlowick");
    // A sheet of all of them as the menu bar shows them: each icon composited on its own, so that
    // the off variant's cleared band does not cut into the bar behind.
    const double cell = 34;
    const sim::Image sheet =
        throughPng(sim::renderDrawing(
                       {4 * cell, 2 * 28},
                       [&](platform::Canvas& canvas) {
                           platform::Path bar;
                           bar.addRect({0, 0, 4 * cell, 56});
                           canvas.setFillColor({0.93, 0.93, 0.94, 1});
                           canvas.fill(bar);
                           for (int column = 0; column < 4; ++column) {
                               for (int row = 0; row < 2; ++row) {
                                   canvas.save();
                                   canvas.translate(column * cell + 4, (1 - row) * 28 + 3);
                                   canvas.beginTransparencyGroup();
                                   drawMenuBarIcon(canvas, kAllStyles[column], row == 0);
                                   canvas.endTransparencyGroup();
                                   canvas.restore();
                               }
                           }
                       },
                       4.0),
                   mac.home(), "menu-bar-icons");
    EXPECT_TRUE(near(sheet.colorAt({3 * cell + 17, 14}), {0, 0, 0, 1}, 0.03)) << "the stack's slash";
    EXPECT_TRUE(near(sheet.colorAt({3 * cell + 16.1, 14.8}), {0.93, 0.93, 0.94, 1}, 0.03))
        << "the bar shows through the cleared band";
}

} // namespace
} // namespace marlowick::testing
