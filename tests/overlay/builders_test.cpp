#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "overlay/stack_styles.h"
#include "overlay_fixture.h"
#include "platform/platform.h"

namespace marlowick::testing {
namespace {

using platform::Path;
using platform::Point;
using platform::Rect;
using ::testing::ElementsAre;

std::vector<std::string> names(const LayerList& layers) {
    std::vector<std::string> result;
    for (const auto& layer : layers)
        result.push_back(layer->name());
    return result;
}

class Builders : public OverlayTest {};

TEST_F(Builders, TheContinuousRoundedPathTurnsTheCornerTableAboutEachCorner) {
    constexpr double c = 1.52866483;
    // The top-right corner relative to its point in units of r: three cubics of (c1, c2, end).
    const Point table[9] = {
        {-1.08849323, 0},           {-0.86840689, 0},           {-0.63149399, -0.074911},
        {-0.37282392, -0.16906013}, {-0.16906013, -0.37282401}, {-0.07491176, -0.63149399},
        {0, -0.86840701},           {0, -1.08849299},           {0, -1.52866483}};
    const Rect rect{10, 20, 200, 80};
    // Each further corner turns the offsets a quarter further clockwise.
    const Point at[4] = {{210, 100}, {210, 20}, {10, 20}, {10, 100}};
    const auto turn = [](int k, Point p) {
        const Point turned[4] = {p, {p.y, -p.x}, {-p.x, -p.y}, {-p.y, p.x}};
        return turned[k];
    };
    for (const auto& [radius, r] : {std::pair{27.0, 40 / c}, std::pair{12.0, 12.0}}) {
        const Path path = continuousRoundedPath(rect, radius);
        const auto& elements = path.elements();
        ASSERT_EQ(elements.size(), 17u); // move, then per corner 3 cubics and a line (a close last)
        EXPECT_NEAR(elements[0].points[0].x, rect.maxX() - c * r, 1e-9);
        for (int k = 0; k < 4; ++k)
            for (int s = 0; s < 3; ++s) {
                const auto& segment = elements[1 + 4 * k + s];
                ASSERT_EQ(segment.verb, Path::Verb::Cubic);
                for (int p = 0; p < 3; ++p) {
                    const Point offset = turn(k, table[3 * s + p]);
                    EXPECT_NEAR(segment.points[p].x, at[k].x + offset.x * r, 1e-9) << k << s << p;
                    EXPECT_NEAR(segment.points[p].y, at[k].y + offset.y * r, 1e-9) << k << s << p;
                }
            }
        EXPECT_EQ(elements[16].verb, Path::Verb::Close);
    }
}

TEST_F(Builders, RingAndCaptionPillSitWhereTheSelectionIs) {
    const Rect item{20, 100, 300, 64};
    const auto ring = overlay->ringLayer(item);
    EXPECT_EQ(ring->frame(), Rect(17, 97, 306, 70));
    EXPECT_EQ(ring->cornerRadius(), 27) << "the radius stops at 27 on a tall item";
    EXPECT_EQ(overlay->ringLayer({0, 0, 100, 30})->cornerRadius(), 18) << "half the grown height";

    const auto font = platform::Font::system(12, platform::FontWeight::Semibold);
    const auto measured = platform::current().fonts->measureText("⏎ Expand", font);
    const double tw = std::ceil(measured.width), th = std::ceil(measured.height);
    const auto pill = overlay->captionPill("⏎ Expand", true, item);
    const double width = 11 + tw + 11 + 13;
    EXPECT_EQ(pill->frame(), Rect(item.midX() - width / 2, item.minY() - 14, width, 22));
    ASSERT_EQ(pill->sublayers().size(), 2u);
    auto text = std::dynamic_pointer_cast<platform::TextLayer>(pill->sublayers()[0]);
    EXPECT_EQ(text->frame(), Rect(11, (22 - th) / 2, tw, th));
    EXPECT_EQ(text->contentsScale(), 2.0) << "a view without a window renders text at 2x";
    EXPECT_EQ(pill->sublayers()[1]->frame(), Rect(11 + tw + 4, 8, 9, 6)) << "the chevron";

    overlay->setWindowBackingScale(1.0);
    const auto plain = overlay->captionPill("d, then d closes", false, item);
    ASSERT_EQ(plain->sublayers().size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<platform::TextLayer>(plain->sublayers()[0])->contentsScale(), 1.0);
}

TEST_F(Builders, EachStackStyleBuildsItsLayersBackToFront) {
    const Rect item{16, 300, 328, 60};
    const std::tuple<std::string_view, std::vector<std::string>, std::vector<std::string>> table[] = {
        {"expandPill", {"ring"}, {"ring", "caption"}},
        {"fadingPeek", {"ring"}, {"ring", "ring"}},
        {"silhouette", {"ring"}, {"silhouette"}},
        {"dotted", {"ring"}, {"dotted"}},
        {"echoRings", {"ring"}, {"echo", "echo", "ring"}},
        {"tintLip", {"tint", "ring"}, {"tint", "lip", "ring"}},
    };
    for (const auto& [style, single, stack] : table) {
        store(SettingsKey::stackStyle, style);
        EXPECT_EQ(names(selectionLayers(*overlay, item)), single) << style;
        EXPECT_EQ(names(stackLayers(*overlay, item)), stack) << style;
    }

    store(SettingsKey::stackStyle, "fadingPeek");
    const auto peek = stackLayers(*overlay, item)[0];
    EXPECT_EQ(peek->frame(), cardBelow(item).insetBy(-3, -3));
    auto fade = std::dynamic_pointer_cast<platform::GradientLayer>(peek->mask());
    ASSERT_TRUE(fade);
    EXPECT_THAT(fade->locations(), ElementsAre(0, 9 / 66.0, 9 / 66.0 + 0.001, 1)) << "the lowest 9 points";

    // Echo 2 at the back, 18 lower and 22 narrower on each side, cut out of echo 1's halo too.
    store(SettingsKey::stackStyle, "echoRings");
    const auto echoes = stackLayers(*overlay, item);
    auto echo2 = std::dynamic_pointer_cast<platform::ShapeLayer>(echoes[0]);
    EXPECT_EQ(echo2->opacity(), 0.32);
    EXPECT_EQ(echoes[1]->opacity(), 0.65);
    EXPECT_NEAR(echo2->path().bounds().minY(), item.minY() - 18 - 3, 1e-6);
    EXPECT_NEAR(echo2->path().bounds().minX(), item.minX() + 22 - 3, 1e-6);
    auto cutout = std::dynamic_pointer_cast<platform::ShapeLayer>(echo2->mask());
    EXPECT_TRUE(cutout->path().contains({2, 2}, platform::FillRule::EvenOdd));
    EXPECT_FALSE(cutout->path().contains({item.midX(), item.minY() - 12.5}, platform::FillRule::EvenOdd));
}

TEST_F(Builders, BadgesGoOnTheFirstNineItemsInsideTheBounds) {
    setItems(8);
    overlay->itemFrames.push_back({16, -200, 328, 64}); // the ninth, scrolled out below
    overlay->itemFrames.push_back({16, -40, 328, 64});  // partly inside, but the tenth
    overlay->display();
    std::vector<int> numbers;
    for (const auto& badge : overlay->badges())
        numbers.push_back(badge.number);
    EXPECT_THAT(numbers, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_EQ(overlay->badges()[0].circle, Rect(24, 556, 20, 20))
        << "8 in from the left, 8 down from the top";
}

TEST_F(Builders, TheIndicatorShowsOnlyForASelectedItemAndNeverAnimatesARebuild) {
    setItems(3);
    for (const auto& [showsRing, selected] : {std::pair{false, 1}, std::pair{true, -1}, std::pair{true, 3}}) {
        overlay->showsRing = showsRing;
        overlay->selected = selected;
        overlay->display();
        EXPECT_TRUE(overlay->indicator->sublayers().empty()) << selected;
    }
    overlay->selected = 2;
    overlay->display();
    EXPECT_THAT(names(overlay->indicator->sublayers()), ElementsAre("ring"));
    EXPECT_EQ(overlay->indicator->frame(), overlay->bounds());
    EXPECT_TRUE(overlay->indicator->animationKeys().empty());
    EXPECT_TRUE(overlay->indicator->sublayers()[0]->animationKeys().empty());
}

} // namespace
} // namespace marlowick::testing
