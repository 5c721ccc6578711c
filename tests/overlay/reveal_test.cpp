#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string_view>

#include "overlay/ring_reveal.h"
#include "overlay_fixture.h"
#include "platform/animation.h"

namespace marlowick::testing {
namespace {

using ::testing::ElementsAre;

class Reveal : public OverlayTest {
protected:
    // Shows the ring on the second of three cards with the reveal in force; returns the start time.
    double reveal(std::string_view style, std::string_view stackStyle = "expandPill", bool stack = false) {
        store(SettingsKey::ringReveal, style);
        store(SettingsKey::stackStyle, stackStyle);
        setItems(3);
        overlay->itemIsStack = {false, stack, false};
        overlay->selected = 1;
        overlay->showsRing = true;
        overlay->pendingReveal = true;
        const double start = mac.now();
        overlay->display();
        return start;
    }
    double opacityAt(const platform::Layer& layer, double time) {
        return layer.presented<double>("opacity", time);
    }
};

TEST_F(Reveal, TheSpringOfPopComesToRestWithinItsDuration) {
    const double start = reveal("pop");
    const auto* spring =
        dynamic_cast<const platform::SpringAnimation*>(overlay->indicator->animation("reveal"));
    ASSERT_TRUE(spring);
    const double settling = spring->settlingDuration();
    EXPECT_EQ(spring->duration, settling);
    EXPECT_EQ(settling, popSpringSettlingDuration());
    // Damping 14 and stiffness 320 settle in just under a second: the last moment the spring is
    // more than a thousandth away from rest.
    double latestOutside = 0;
    for (double t = 0; t < 3; t += 0.001)
        if (std::abs(spring->displacement(t)) > 0.001) latestOutside = t;
    EXPECT_NEAR(latestOutside, settling, 0.01);
    EXPECT_GT(settling, 0.9);
    EXPECT_LT(settling, 1.0);

    // It scales about the item's centre, which therefore stays put from the start.
    const auto start94 = overlay->indicator->presented<platform::Transform>("transform", start);
    EXPECT_NEAR(start94.a, 0.94, 1e-9);
    const auto item = overlay->itemFrames[1];
    const platform::Point centre{item.midX() - overlay->bounds().midX(),
                                 item.midY() - overlay->bounds().midY()};
    const auto moved = start94.apply(centre);
    EXPECT_NEAR(moved.x, centre.x, 1e-9);
    EXPECT_NEAR(moved.y, centre.y, 1e-9);
    EXPECT_EQ(opacityAt(*overlay->indicator, start), 0) << "and it fades in";
}

TEST_F(Reveal, FadePopAndGlowFadeTheIndicatorInOverTheirOwnTimes) {
    struct Case {
        const char* style;
        double fadeEnds;
    };
    for (const auto& c : {Case{"fade", 0.18}, Case{"pop", 0.14}, Case{"glow", 0.18}}) {
        SCOPED_TRACE(c.style);
        overlay = makeOverlay();
        const double start = reveal(c.style);
        const auto& indicator = *overlay->indicator;
        EXPECT_EQ(opacityAt(indicator, start), 0);
        EXPECT_GT(opacityAt(indicator, start + c.fadeEnds - 0.02), 0.5);
        EXPECT_LT(opacityAt(indicator, start + c.fadeEnds - 0.02), 1);
        EXPECT_EQ(opacityAt(indicator, start + c.fadeEnds + 0.001), 1);
    }
    // The glow flares to 0.95 and dies away within 0.52 s; the shadow stays set, unseen.
    const auto& indicator = *overlay->indicator;
    const double start = mac.now();
    auto glowAt = [&](double t) { return indicator.presented<double>("shadowOpacity", start + t); };
    double peak = 0;
    for (double t = 0; t < 0.52; t += 0.001)
        peak = std::max(peak, glowAt(t));
    EXPECT_NEAR(peak, 0.95, 0.01);
    EXPECT_LT(glowAt(0.45), 0.5);
    EXPECT_EQ(glowAt(0.53), 0);
    EXPECT_EQ(indicator.shadowRadius(), 9);
    EXPECT_EQ(indicator.shadowColor(), *AppSettings::resolveColor("green"));
}

TEST_F(Reveal, TraceRemovesItsOwnMaskAtTheEndButLeavesANewerOneAlone) {
    reveal("trace");
    ASSERT_TRUE(overlay->indicator->mask());
    mac.runFor(0.41);
    EXPECT_TRUE(overlay->indicator->mask()) << "still drawing the ring";
    mac.runFor(0.02);
    EXPECT_FALSE(overlay->indicator->mask());

    // Later rebuilds do not reveal again.
    overlay->display();
    EXPECT_FALSE(overlay->indicator->mask());

    overlay = makeOverlay();
    reveal("trace");
    auto newer = platform::Layer::make();
    overlay->indicator->setMask(newer);
    mac.runFor(1.0);
    EXPECT_EQ(overlay->indicator->mask(), newer);

    // An overlay gone before the end: the completion finds nothing to do.
    reveal("trace");
    overlay.reset();
    mac.runFor(1.0);
}

TEST_F(Reveal, ARevealRequestedBeforeTheRingShowsWaitsForIt) {
    store(SettingsKey::ringReveal, "fade");
    setItems(3);
    overlay->pendingReveal = true;
    overlay->display();
    EXPECT_TRUE(overlay->pendingReveal);
    EXPECT_TRUE(overlay->indicator->animationKeys().empty());
    overlay->showsRing = true;
    overlay->display();
    EXPECT_FALSE(overlay->pendingReveal);
    EXPECT_THAT(overlay->indicator->animationKeys(), ElementsAre("reveal"));
}

// The user's Reduce Motion wins over every style: no trace, pop, glow or bounce.
TEST_F(Reveal, WithReduceMotionEveryStyleSimplyAppears) {
    mac.appearance().setReducesMotion(true);
    const std::function<int(const platform::Layer&)> animationsIn = [&](const platform::Layer& layer) {
        int count = static_cast<int>(layer.animationKeys().size()) + (layer.mask() ? 1 : 0);
        for (const auto& sublayer : layer.sublayers())
            count += animationsIn(*sublayer);
        return count;
    };
    for (std::string_view style : {"trace", "fade", "pop", "tighten", "glow"}) {
        const double start = reveal(style);
        EXPECT_EQ(animationsIn(*overlay->indicator), 0) << style;
        EXPECT_EQ(opacityAt(*overlay->indicator, start), 1) << style;
    }
}

TEST_F(Reveal, TightenClosesTheRingInAndFadesTheOthersInLater) {
    const double start = reveal("tighten", "expandPill", true);
    const auto& layers = overlay->indicator->sublayers();
    ASSERT_EQ(layers.size(), 2u);
    const auto& ring = *layers[0];
    const auto& pill = *layers[1];
    const auto wide = ring.presented<platform::Rect>("bounds", start);
    EXPECT_EQ(wide.width(), ring.bounds().width() + 22);
    EXPECT_EQ(ring.presented<double>("borderWidth", start), 1.5);
    EXPECT_EQ(ring.presented<platform::Rect>("bounds", start + 0.26), ring.bounds());
    EXPECT_EQ(opacityAt(pill, start + 0.13), 0) << "the pill waits";
    EXPECT_GT(opacityAt(pill, start + 0.25), 0);
    EXPECT_EQ(opacityAt(pill, start + 0.37), 1);

    // Without a layer named "ring" the whole outline waits, then fades in.
    overlay = makeOverlay();
    const double later = reveal("tighten", "silhouette", true);
    const auto& outline = *overlay->indicator->sublayers().at(0);
    EXPECT_EQ(opacityAt(outline, later + 0.13), 0);
    EXPECT_EQ(opacityAt(outline, later + 0.37), 1);
}

} // namespace
} // namespace marlowick::testing
