// The appearance settings' example: its scaled layout, when the reveal replays, and the two palettes
// as a person would see them.
#include <gtest/gtest.h>

#include "input/settings.h"
#include "overlay/appearance_preview.h"
#include "png_probe.h"
#include "sim/sim_mac.h"

namespace marlowick::testing {
namespace {

using platform::Appearance;
using platform::Color;

class AppearancePreviewTest : public ::testing::Test {
protected:
    sim::Image render(const std::shared_ptr<ExamplePreviewView>& preview, const std::string& name) {
        mac.runUntilIdle();
        return throughPng(sim::renderLayerTree(*preview->layer(), mac.now() + 10), folder, name);
    }

    sim::SimMac mac;
    std::string folder = mac.home();
};

TEST_F(AppearancePreviewTest, ANarrowPreviewScalesItsRowsUpAndCentresTheStackedCardOnTop) {
    auto preview = ExamplePreviewView::create();
    preview->setSize({300, 150});
    const double W = 300 / 0.9;
    const double H = 150 / 0.9;
    EXPECT_NEAR(preview->rows.layer()->frame().width(), W, 1e-9);
    EXPECT_NEAR(preview->overlay()->frame().height(), H, 1e-9);

    ASSERT_EQ(preview->rows.cards.size(), 2u);
    const auto& top = preview->rows.cards[0];
    // 344 points across a 333-point view: both sides overhang by the same amount.
    EXPECT_NEAR(top.minX(), W - top.maxX(), 1e-9);
    EXPECT_NEAR(top.maxY(), H - 14, 1e-9);
    EXPECT_NEAR(preview->rows.cards[1].maxY(), top.maxY() - 81, 1e-9);
    EXPECT_EQ(preview->overlay()->itemFrames, preview->rows.cards);
    EXPECT_EQ(preview->overlay()->itemIsStack, (std::vector<bool>{true, false}));
    EXPECT_EQ(preview->overlay()->selected, 0);
    EXPECT_TRUE(preview->overlay()->showsRing);
    EXPECT_FALSE(preview->overlay()->acceptsFirstResponder());
    EXPECT_FALSE(preview->overlay()->hitTest({10, 10}));
}

TEST_F(AppearancePreviewTest, TheRevealReplaysWhenTheLookOrTheReplayCountChangesButNotAtFirst) {
    mac.defaults().set("ringReveal", std::string("none"));
    auto quiet = ExamplePreviewView::create();
    quiet->setSize({360, 160});
    EXPECT_FALSE(quiet->overlay()->pendingReveal) << "no reveal to play with the animation off";

    mac.defaults().set("ringReveal", std::string("pop"));
    auto preview = ExamplePreviewView::create();
    EXPECT_FALSE(preview->overlay()->showsRing) << "nothing is laid out or revealed before the host sizes it";
    preview->setSize({360, 160});
    mac.runUntilIdle(); // the first draw pass plays the opening reveal
    ASSERT_FALSE(preview->overlay()->pendingReveal);
    const auto revealing = preview->overlay()->indicator->sublayers();
    ASSERT_FALSE(revealing.empty());
    // The host tells the same size again (every redraw may): the revealing ring stays as it is.
    preview->setSize({360, 160});
    mac.runUntilIdle();
    EXPECT_EQ(preview->overlay()->indicator->sublayers(), revealing);

    preview->update({"green", "dotted"}, 0);
    EXPECT_FALSE(preview->overlay()->pendingReveal);
    preview->update({"green", "dotted"}, 0);
    EXPECT_FALSE(preview->overlay()->pendingReveal);
    preview->update({"green", "echoRings"}, 0);
    EXPECT_TRUE(preview->overlay()->pendingReveal);
    mac.runUntilIdle();
    preview->update({"green", "echoRings"}, 1);
    EXPECT_TRUE(preview->overlay()->pendingReveal);
}

TEST_F(AppearancePreviewTest, DarkRedrawsTheBackgroundButKeepsTheHighlightColour) {
    auto preview = ExamplePreviewView::create();
    preview->setSize({360, 160});
    const auto light = render(preview, "preview-light");
    preview->setAppearance(Appearance::Dark);
    const auto dark = render(preview, "preview-dark");

    // Far from both glows and above the cards: the plain background.
    const platform::Point corner{0.03 * 360, 0.97 * 160};
    EXPECT_TRUE(near(light.colorAt(corner), AppSettings::resolveColor("#d9e4ea").value(), 3.0 / 255));
    EXPECT_TRUE(near(dark.colorAt(corner), AppSettings::resolveColor("#10181f").value(), 3.0 / 255));

    // The ring's top edge over the stacked card, in the preview's scaled space.
    const auto& top = preview->rows.cards[0];
    const platform::Point ring{0.9 * top.midX(), 0.9 * (top.maxY() + 1.5)};
    const Color green = AppSettings::resolveColor("green").value();
    EXPECT_TRUE(near(light.colorAt(ring), green, 0.06));
    EXPECT_TRUE(near(dark.colorAt(ring), green, 0.06));
    // The cards change with the appearance: white in light, grey in dark.
    const platform::Point card{0.9 * (top.minX() + 120), 0.9 * (top.minY() + 8)};
    EXPECT_GT(light.colorAt(card).red, 0.8);
    EXPECT_LT(dark.colorAt(card).red, 0.4);
}

} // namespace
} // namespace marlowick::testing
