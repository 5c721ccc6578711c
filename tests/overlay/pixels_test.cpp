#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "overlay/stack_styles.h"
#include "overlay_fixture.h"
#include "platform/transaction.h"
#include "png_probe.h"
#include "sim/layer_renderer.h"

namespace marlowick::testing {
namespace {

using platform::Color;
using platform::Point;
using platform::Rect;

const Color kGreen = *AppSettings::resolveColor("green");
const Color kBlue = *AppSettings::resolveColor("blue");

// Every probe reads the PNG back, as a person would look at it.
class Pixels : public OverlayTest {
protected:
    const Rect item{16, 300, 328, 64};

    void show(std::string_view stackStyle, bool stack, std::string_view reveal = "none") {
        store(SettingsKey::stackStyle, stackStyle);
        store(SettingsKey::ringReveal, reveal);
        overlay->itemFrames = {{16, 400, 328, 64}, item};
        overlay->itemIsStack = {false, stack};
        overlay->selected = 1;
        overlay->showsRing = true;
        overlay->pendingReveal = reveal != "none";
        start = mac.now();
        overlay->display();
    }
    sim::Image picture(const platform::Layer& layer, const std::string& name, double after = 0) {
        return throughPng(sim::renderLayerTree(layer, start + after), mac.home(), name);
    }
    // One layer of the indicator on its own, over the overlay's area.
    sim::Image alone(const std::shared_ptr<platform::Layer>& layer, const std::string& name) {
        auto root = platform::Layer::make();
        platform::Transaction::begin();
        platform::Transaction::setDisableActions(true);
        root->setFrame(overlay->bounds());
        root->addSublayer(layer);
        platform::Transaction::commit();
        return picture(*root, name);
    }

    double start = 0;
};

TEST_F(Pixels, BadgesAreHighlightDiscsWithTheirDigitInTheContrastingColour) {
    // Green is light enough for a black digit; blue takes a white one.
    for (const auto& [color, name, label] :
         {std::tuple{"green", kGreen, Color{0, 0, 0, 1}}, std::tuple{"blue", kBlue, Color{1, 1, 1, 1}}}) {
        SCOPED_TRACE(color);
        store(SettingsKey::highlightColor, color);
        setItems(2);
        overlay->display();
        const sim::Image image = picture(*overlay->layer(), std::string("badge-") + color);
        const Rect disc = SidebarOverlay::badgeCircle(overlay->itemFrames[0]);
        // Beside the digit, the disc is the highlight; across its middle runs the digit.
        EXPECT_TRUE(near(image.colorAt({disc.midX() - 6.5, disc.midY()}), name));
        EXPECT_TRUE(near(image.colorAt({disc.midX() + 6.5, disc.midY()}), name));
        int digitPixels = 0;
        for (double x = disc.midX() - 4; x <= disc.midX() + 4; x += 0.5)
            for (double y = disc.midY() - 5; y <= disc.midY() + 5; y += 0.5)
                digitPixels += near(image.colorAt({x, y}), label, 0.1) ? 1 : 0;
        EXPECT_GT(digitPixels, 20);
        EXPECT_EQ(image.colorAt({disc.minX() - 1, disc.midY()}).alpha, 0) << "nothing around the disc";
    }
}

TEST_F(Pixels, TheRingIsAThreePointBorderAroundTheItem) {
    show("expandPill", false);
    const sim::Image image = picture(*overlay->layer(), "ring");
    struct Probe {
        Point edge; // a point on the item's edge
        Point out;  // the outward unit direction
    };
    for (const Probe& side :
         {Probe{{item.minX(), item.midY()}, {-1, 0}}, Probe{{item.maxX(), item.midY()}, {1, 0}},
          Probe{{item.midX(), item.maxY()}, {0, 1}}, Probe{{item.midX(), item.minY()}, {0, -1}}}) {
        const auto at = [&](double distance) {
            return image.colorAt({side.edge.x + side.out.x * distance, side.edge.y + side.out.y * distance});
        };
        for (double d : {0.25, 1.5, 2.75})
            EXPECT_TRUE(near(at(d), kGreen)) << side.edge.x << "," << side.edge.y << " at " << d;
        EXPECT_EQ(at(3.5).alpha, 0) << "the ring is 3 points wide";
        EXPECT_EQ(at(-1).alpha, 0) << "and leaves the item itself clear";
    }
}

TEST_F(Pixels, TintLipTintsTheItemAndHangsItsLipBelowOnly) {
    show("tintLip", true);
    const sim::Image image = picture(*overlay->layer(), "tint-lip");
    const Color tint = image.colorAt({item.midX(), item.midY()});
    EXPECT_NEAR(tint.alpha, 0.16, 1.0 / 255);
    EXPECT_TRUE(near(tint.withAlpha(1), kGreen, 0.04)) << "the highlight, faint";
    // The lip: solid from 3 to 13.5 points below the item, in the middle.
    for (double depth : {4.0, 8.0, 13.0})
        EXPECT_TRUE(near(image.colorAt({item.midX(), item.minY() - depth}), kGreen)) << depth;
    EXPECT_EQ(image.colorAt({item.midX(), item.minY() - 14.5}).alpha, 0);

    // On its own, the lip shows nowhere inside the ring's outer edge.
    const auto lip = overlay->indicator->sublayers().at(1);
    ASSERT_EQ(lip->name(), "lip");
    lip->removeFromSuperlayer();
    const sim::Image lipOnly = alone(lip, "lip");
    const auto inside = continuousRoundedPath(item.insetBy(-2.5, -2.5), 26.5);
    int shown = 0, leaked = 0;
    for (double x = item.minX() - 10; x <= item.maxX() + 10; x += 1)
        for (double y = item.minY() - 20; y <= item.maxY() + 10; y += 1) {
            const bool lit = lipOnly.colorAt({x, y}).alpha > 0;
            shown += lit ? 1 : 0;
            leaked += lit && inside.contains({x, y}, platform::FillRule::NonZero) ? 1 : 0;
            if (lit) {
                EXPECT_LT(y, item.minY()) << "lip at " << x << "," << y;
            }
        }
    EXPECT_GT(shown, 2000);
    EXPECT_EQ(leaked, 0);
}

TEST_F(Pixels, DottedLeavesGapsWhereSilhouetteIsSolid) {
    // Walk along the outline's top edge, where it runs straight.
    const auto walk = [&](const sim::Image& image, int& dots, int& gaps) {
        dots = gaps = 0;
        bool wasLit = false;
        for (double x = item.minX() + 40; x <= item.maxX() - 40; x += 0.5) {
            const double alpha = image.colorAt({x, item.maxY() + 3}).alpha;
            if (alpha > 0.9 && !wasLit) ++dots;
            if (alpha < 0.1) ++gaps;
            wasLit = alpha > 0.9 ? true : (alpha < 0.1 ? false : wasLit);
        }
    };
    int dots = 0, gaps = 0;
    show("dotted", true);
    walk(picture(*overlay->layer(), "dotted"), dots, gaps);
    EXPECT_GE(dots, 30) << "a dot every 7.5 points";
    EXPECT_GT(gaps, 60);

    overlay = makeOverlay();
    show("silhouette", true);
    walk(picture(*overlay->layer(), "silhouette"), dots, gaps);
    EXPECT_EQ(dots, 1);
    EXPECT_EQ(gaps, 0);
}

TEST_F(Pixels, TraceAtHalfItsLengthShowsPartOfTheRingOnly) {
    show("expandPill", false, "trace");
    const auto ringAt = [&](const sim::Image& image, Point p) { return near(image.colorAt(p), kGreen); };
    const sim::Image half = picture(*overlay->layer(), "trace-half", 0.21);
    // Drawn clockwise from the top-right: the right edge is there, the left edge and the middle
    // of the top edge are not yet.
    EXPECT_TRUE(ringAt(half, {item.maxX() + 1.5, item.midY()}));
    EXPECT_TRUE(ringAt(half, {item.midX() + 60, item.minY() - 1.5}));
    EXPECT_EQ(half.colorAt({item.minX() - 1.5, item.midY()}).alpha, 0);
    EXPECT_EQ(half.colorAt({item.midX(), item.maxY() + 1.5}).alpha, 0);

    const sim::Image whole = picture(*overlay->layer(), "trace-end", 0.42);
    for (Point p : {Point{item.maxX() + 1.5, item.midY()}, Point{item.minX() - 1.5, item.midY()},
                    Point{item.midX(), item.maxY() + 1.5}})
        EXPECT_TRUE(ringAt(whole, p));
}

} // namespace
} // namespace marlowick::testing
