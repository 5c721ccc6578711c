#include "platform/animation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/layer.h"
#include "platform/transaction.h"
#include "platform/unit_stops.h"
#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

using Name = TimingFunction::Name;

double opacityAt(const Animation& animation, double time, double beneath = 1.0) {
    const auto value = animation.valueAt("opacity", time, beneath);
    return value ? std::get<double>(*value) : NAN;
}

TEST(TimingFunction, FollowsItsBezierCurve) {
    // At the curve parameter s = 0.5, ease-out sits at x = 3·0.5·0.25·0.58 + 0.125 and y = 0.5.
    const auto easeOut = TimingFunction::named(Name::EaseOut);
    EXPECT_NEAR(easeOut.evaluate(0.3425), 0.5, 1e-9);
    const auto easeInOut = TimingFunction::named(Name::EaseInEaseOut);
    EXPECT_NEAR(easeInOut.evaluate(0.5), 0.5, 1e-9);
    EXPECT_NEAR(easeInOut.evaluate(0.2) + easeInOut.evaluate(0.8), 1.0, 1e-9) << "symmetric";
    EXPECT_LT(easeInOut.evaluate(0.2), 0.2);
    EXPECT_NEAR(TimingFunction{}.evaluate(0.37), 0.37, 1e-9);
    // The tighten reveal's curve rises fast: (0.2, 0.8), (0.2, 1.0) at s = 0.5.
    const TimingFunction snappy(0.2, 0.8, 0.2, 1.0);
    EXPECT_NEAR(snappy.evaluate(3 * 0.125 * 0.2 + 3 * 0.125 * 0.2 + 0.125),
                3 * 0.125 * 0.8 + 3 * 0.125 + 0.125, 1e-9);
    EXPECT_EQ(easeOut.evaluate(-1), 0);
    EXPECT_EQ(easeOut.evaluate(2), 1);
}

TEST(BasicAnimation, BeginTimeAndFillModeDecideWhatShowsOutsideItsTime) {
    BasicAnimation fade("opacity", 0.0, 1.0);
    fade.duration = 0.2;
    fade.beginTime = 1.0;
    EXPECT_TRUE(std::isnan(opacityAt(fade, 0.5))) << "before its begin it leaves the value alone";
    EXPECT_NEAR(opacityAt(fade, 1.05), 0.25, 1e-9);
    EXPECT_TRUE(std::isnan(opacityAt(fade, 1.25))) << "removed after its end";

    fade.fillMode = FillMode::Backwards;
    EXPECT_EQ(opacityAt(fade, 0.5), 0.0) << "backwards shows the start value during the delay";
    EXPECT_TRUE(std::isnan(opacityAt(fade, 1.5)));
    fade.fillMode = FillMode::Forwards;
    EXPECT_EQ(opacityAt(fade, 1.5), 1.0);

    // Absent ends take the value beneath; another property or kind is left alone.
    BasicAnimation toModel("opacity", 0.0, std::nullopt);
    toModel.duration = 1;
    EXPECT_NEAR(opacityAt(toModel, 0.5, 0.6), 0.3, 1e-9);
    EXPECT_FALSE(toModel.valueAt("shadowOpacity", 0.5, 1.0));
    EXPECT_FALSE(toModel.valueAt("opacity", 0.5, Color{}));
    // A duration of 0 is the platform's default of a quarter second.
    BasicAnimation unset("opacity", 0.0, 1.0);
    EXPECT_NEAR(opacityAt(unset, 0.125), 0.5, 1e-9);
}

TEST(KeyframeAnimation, PassesThroughItsValuesAtTheKeyTimes) {
    KeyframeAnimation glow;
    glow.keyPath = "shadowOpacity";
    glow.values = {0.0, 0.95, 0.0};
    glow.keyTimes = {0, 0.35, 1};
    glow.duration = 0.52;
    auto at = [&](double t) { return std::get<double>(*glow.valueAt("shadowOpacity", t, 0.0)); };
    EXPECT_NEAR(at(0.52 * 0.35), 0.95, 1e-9);
    EXPECT_NEAR(at(0.52 * 0.175), 0.475, 1e-9);
    EXPECT_NEAR(at(0.52 * 0.675), 0.475, 1e-9);
    // The timing function bends the whole animation's time: eased 0.5 at 0.3425 of the duration.
    glow.timingFunction = TimingFunction::named(Name::EaseOut);
    EXPECT_NEAR(at(0.52 * 0.3425), 0.95 * (1 - 0.15 / 0.65), 1e-6);
    // Key times that do not match the values spread them evenly.
    glow.timingFunction = {};
    glow.keyTimes = {0, 1};
    EXPECT_NEAR(at(0.26), 0.95, 1e-9);
    glow.keyTimes = {0.2, 0.35, 1};
    EXPECT_NEAR(at(0.26), 0.95, 1e-9) << "nor do key times that leave the start of the duration out";
}

// Gradient locations and key times, as both renderers place them.
TEST(UnitStops, GivenStopsCountOnlyOnePerItemRisingWithinTheWhole) {
    const double nan = std::nan("");
    const std::vector<double> even3{0, 0.5, 1};
    struct Case {
        std::vector<double> given;
        StopEnds ends;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {{0, 0.35, 1}, StopEnds::ZeroToOne, {0, 0.35, 1}},
        {{0.2, 0.5, 0.9}, StopEnds::Free, {0.2, 0.5, 0.9}},
        {{0.2, 0.5, 1}, StopEnds::ZeroToOne, even3},
        {{0, 0.5, 0.9}, StopEnds::ZeroToOne, even3},
        {{0, 0.7, 0.5}, StopEnds::Free, even3},
        {{0, nan, 1}, StopEnds::Free, even3},
        {{-0.1, 0.5, 1.5}, StopEnds::Free, even3},
        {{0, 1}, StopEnds::Free, even3},
        {{}, StopEnds::Free, even3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unitStops(c.given, 3, c.ends), c.expected) << ::testing::PrintToString(c.given);
    EXPECT_EQ(unitStops({}, 1, StopEnds::ZeroToOne), std::vector<double>{0});
    EXPECT_TRUE(unitStops({}, 0, StopEnds::Free).empty());

    auto gradient = GradientLayer::make();
    gradient->setColors({Color{1, 0, 0, 1}, Color{0, 0, 1, 1}});
    gradient->setLocations({0.25, nan});
    EXPECT_EQ(gradient->gradient().stops[1].location, 1.0) << "what the layer draws follows the same rule";
}

TEST(SpringAnimation, SettlesWhenItStaysWithinAThousandthOfItsDistance) {
    struct Case {
        double stiffness, damping, settling;
    };
    // Settling times worked out separately by stepping each spring's closed form in 10 µs steps.
    const Case cases[] = {
        {320, 14, 0.99403}, // under-damped: the overlay's pop
        {100, 10, 1.27016}, // under-damped
        {100, 20, 0.92334}, // critically damped: (1 + 10t)·e^(−10t) = 0.001
        {100, 50, 3.33104}, // over-damped: slow to creep in
        {300, 30, 0.50552},
    };
    for (const auto& c : cases) {
        SpringAnimation spring("transform", std::nullopt, std::nullopt);
        spring.stiffness = c.stiffness;
        spring.damping = c.damping;
        EXPECT_NEAR(spring.settlingDuration(), c.settling, 2e-5) << c.stiffness << "/" << c.damping;
    }

    // The pop spring overshoots (it is under-damped) and the animated value goes past its end.
    SpringAnimation pop("opacity", 0.0, 1.0);
    pop.stiffness = 320;
    pop.damping = 14;
    pop.duration = pop.settlingDuration();
    double peak = 0;
    for (double t = 0; t < pop.duration; t += 0.001)
        peak = std::max(peak, opacityAt(pop, t));
    EXPECT_GT(peak, 1.2);
    EXPECT_NEAR(opacityAt(pop, pop.duration - 1e-6), 1.0, 0.0011);
    // A spring already moving towards its end gets there sooner.
    SpringAnimation pushed = pop;
    pushed.initialVelocity = 5;
    EXPECT_LT(pushed.displacement(0.05), pop.displacement(0.05));
}

TEST(AnimationGroup, RunsItsAnimationsOnItsOwnEasedClock) {
    // The tighten reveal: bounds and opacity under a group with its own curve.
    AnimationGroup group;
    group.duration = 0.26;
    group.beginTime = 2.0;
    group.timingFunction = TimingFunction(0.2, 0.8, 0.2, 1.0);
    auto bounds = std::make_unique<BasicAnimation>("bounds", Rect{-11, -11, 122, 82}, Rect{0, 0, 100, 60});
    bounds->duration = 0.26;
    bounds->fillMode = FillMode::Backwards;
    bounds->timingFunction = TimingFunction::named(Name::EaseOut);
    auto fade = std::make_unique<BasicAnimation>("opacity", 0.0, 1.0);
    fade->duration = 0.13; // ends halfway through the group
    group.animations.push_back(std::move(bounds));
    group.animations.push_back(std::move(fade));

    // Group time 0.13 → eased by the group's curve → then by the child's ease-out.
    const double groupEased = group.timingFunction.evaluate(0.5) * 0.26;
    const double childFraction = TimingFunction::named(Name::EaseOut).evaluate(groupEased / 0.26);
    const Rect mid = std::get<Rect>(*group.valueAt("bounds", 2.13, Rect{0, 0, 100, 60}));
    EXPECT_NEAR(mid.width(), 122 - 22 * childFraction, 1e-9);
    EXPECT_NEAR(mid.midX(), 50, 1e-9) << "the change keeps the centre";
    // The eased group time is already past the short fade's end, so the fade is over.
    EXPECT_GT(groupEased, 0.13);
    EXPECT_FALSE(group.valueAt("opacity", 2.13, 1.0));
    EXPECT_FALSE(group.valueAt("bounds", 2.3, Rect{})) << "over after the group's duration";

    // A copy is deep: changing the original's children leaves the copy alone.
    AnimationGroup copy = group;
    static_cast<BasicAnimation&>(*group.animations[0]).to = Rect{50, 30, 0, 0};
    EXPECT_NEAR(std::get<Rect>(*copy.valueAt("bounds", 2.2599, Rect{})).width(), 100, 0.1);
}

TEST(LayerTree, SublayersMoveBetweenParentsAndNeverFormACycle) {
    auto root = Layer::make();
    auto indicator = Layer::make();
    auto ring = Layer::make();
    root->addSublayer(indicator);
    indicator->addSublayer(ring);
    ring->addSublayer(root); // would make the tree a loop
    indicator->addSublayer(indicator);
    EXPECT_TRUE(ring->sublayers().empty());
    EXPECT_EQ(root->superlayer(), nullptr);

    root->addSublayer(ring); // moves, keeping one superlayer
    EXPECT_TRUE(indicator->sublayers().empty());
    EXPECT_EQ(ring->superlayer(), root.get());
    std::weak_ptr<Layer> watch = ring;
    ring.reset();
    root->removeAllSublayers();
    EXPECT_TRUE(watch.expired()) << "the tree owned it; nothing else keeps it alive";
    EXPECT_EQ(indicator->superlayer(), nullptr);

    // A sublayer outliving its parent is left without one, not with a dangling pointer to read.
    {
        auto parent = Layer::make();
        parent->addSublayer(indicator);
    }
    EXPECT_EQ(indicator->superlayer(), nullptr);
    root->addSublayer(indicator);
    EXPECT_EQ(indicator->superlayer(), root.get());
}

// A renderer keeping its own copy of the tree hears of every change, or it shows a stale one.
TEST(LayerTree, TheObserverHearsOfEveryKindOfChange) {
    struct Recorder : LayerObserver {
        std::vector<const Layer*> changed, destroyed;
        void layerChanged(const Layer& layer) override { changed.push_back(&layer); }
        void layerDestroyed(const Layer& layer) override { destroyed.push_back(&layer); }
    } recorder;
    sim::SimMac mac;
    auto root = Layer::make();
    auto shape = ShapeLayer::make();
    auto text = TextLayer::make();
    auto gradient = GradientLayer::make();
    setLayerObserver(&recorder);
    const std::vector<std::pair<const Layer*, std::function<void()>>> changes = {
        {root.get(), [&] { root->setOpacity(0.5); }},
        {root.get(), [&] { root->setHidden(true); }},
        {root.get(), [&] { root->setMask(Layer::make()); }},
        {root.get(), [&] { root->setNeedsDisplay(); }},
        {root.get(), [&] { root->addSublayer(shape); }},
        {root.get(), [&] { shape->removeFromSuperlayer(); }},
        {root.get(), [&] { root->addAnimation(BasicAnimation("opacity", 0.0, 1.0), "fade"); }},
        {root.get(), [&] { root->removeAnimation("fade"); }},
        {shape.get(), [&] { shape->setPath(Path()); }},
        {shape.get(),
         [&] {
             shape->setLineDashPattern({2, 2});
         }},
        {text.get(), [&] { text->setString("3"); }},
        {text.get(), [&] { text->setContentsScale(2); }},
        {gradient.get(),
         [&] {
             gradient->setColors({Color{1, 0, 0, 1}});
         }},
        {gradient.get(), [&] { gradient->setType(GradientLayer::Type::Radial); }},
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        recorder.changed.clear();
        changes[i].second();
        EXPECT_NE(std::find(recorder.changed.begin(), recorder.changed.end(), changes[i].first),
                  recorder.changed.end())
            << "change " << i;
    }
    const Layer* gone = text.get();
    text.reset();
    setLayerObserver(nullptr);
    EXPECT_NE(std::find(recorder.destroyed.begin(), recorder.destroyed.end(), gone),
              recorder.destroyed.end());
}

TEST(LayerAnimations, PresentationCombinesTheModelWithAnimationsAtAnyTime) {
    sim::SimMac mac;
    mac.runFor(1.0);
    auto layer = Layer::make();
    layer->setOpacity(0.8);

    BasicAnimation fade("opacity", 0.0, std::nullopt);
    fade.duration = 0.2;
    fade.fillMode = FillMode::Backwards;
    layer->addAnimation(fade, "reveal"); // begin time 0 becomes now, 1.0
    EXPECT_NEAR(layer->presented<double>("opacity", 1.1), 0.4, 1e-9);
    EXPECT_NEAR(layer->presented<double>("opacity", 0.5), 0.0, 1e-9) << "filled backwards";
    EXPECT_NEAR(layer->presented<double>("opacity", 1.3), 0.8, 1e-9);
    EXPECT_DOUBLE_EQ(layer->opacity(), 0.8) << "the model value is untouched";

    // Same key: the new animation replaces the old; a later key lies on top.
    BasicAnimation dim("opacity", 0.5, 0.5);
    dim.duration = 1;
    layer->addAnimation(dim, "reveal");
    EXPECT_EQ(layer->animationKeys(), std::vector<std::string>{"reveal"});
    BasicAnimation flash("opacity", 1.0, 1.0);
    flash.duration = 0.1;
    layer->addAnimation(flash, "revealFade");
    EXPECT_DOUBLE_EQ(layer->presented<double>("opacity", 1.05), 1.0);
    EXPECT_DOUBLE_EQ(layer->presented<double>("opacity", 1.5), 0.5);

    // Transforms interpolate entry by entry: a scale about a point stays a scale about that point.
    const Transform start = Transform::translation(-50, -30)
                                .then(Transform::scale(0.94, 0.94))
                                .then(Transform::translation(50, 30));
    BasicAnimation pop("transform", start, Transform{});
    pop.duration = 1;
    layer->addAnimation(pop, "pop");
    const Transform mid = layer->presented<Transform>("transform", 1.5);
    EXPECT_NEAR(mid.apply({50, 30}).x, 50, 1e-9);
    EXPECT_NEAR(mid.a, 0.97, 1e-9);

    EXPECT_FALSE(layer->setValue("opacity", Color{})) << "a value of the wrong kind is refused";
    EXPECT_FALSE(layer->presentationValue("noSuchProperty", 1.0));
}

TEST(LayerAnimations, ChangesOnScreenAnimateUnlessTheTransactionDisablesActions) {
    sim::SimMac mac;
    auto root = Layer::make();
    auto child = Layer::make();
    child->setOpacity(0.2); // not on screen yet: no animation
    EXPECT_TRUE(child->animationKeys().empty());
    root->addSublayer(child);

    child->setOpacity(1.0);
    ASSERT_NE(child->animation("opacity"), nullptr);
    EXPECT_GT(child->presented<double>("opacity", 0.1), 0.2);
    EXPECT_LT(child->presented<double>("opacity", 0.1), 1.0);
    EXPECT_DOUBLE_EQ(child->presented<double>("opacity", 0.25), 1.0);

    Transaction::begin();
    Transaction::setDisableActions(true);
    Transaction::begin(); // nested transactions keep the setting
    child->setFrame({10, 20, 30, 40});
    Transaction::commit();
    child->setBorderWidth(3);
    Transaction::commit();
    EXPECT_EQ(child->animation("position"), nullptr);
    EXPECT_EQ(child->animation("borderWidth"), nullptr);
    EXPECT_EQ(child->presented<Rect>("bounds", 0.01), (Rect{0, 0, 30, 40}));
    EXPECT_EQ(child->frame(), (Rect{10, 20, 30, 40}));
}

TEST(Transactions, CompletionRunsOnTheRunLoopWhenTheLongestAnimationEnds) {
    sim::SimMac mac;
    mac.runFor(3.0);
    auto ring = Layer::make();
    auto pill = Layer::make();
    int completions = 0;
    double completedAt = -1;

    Transaction::begin();
    Transaction::setCompletion([&] {
        ++completions;
        completedAt = mac.now();
    });
    BasicAnimation contract("bounds", Rect{-11, -11, 122, 82}, Rect{0, 0, 100, 60});
    contract.duration = 0.26;
    ring->addAnimation(contract, "reveal");
    Transaction::begin(); // an animation in a nested transaction counts for the outer one
    BasicAnimation lateFade("opacity", 0.0, 1.0);
    lateFade.duration = 0.22;
    lateFade.beginTime = currentMediaTime() + 0.14;
    pill->addAnimation(lateFade, "reveal");
    Transaction::commit();
    Transaction::commit();
    EXPECT_EQ(completions, 0) << "never inside the commit";

    mac.runFor(0.35);
    EXPECT_EQ(completions, 0) << "the delayed fade still runs until 3.36";
    mac.runFor(0.1);
    EXPECT_EQ(completions, 1);
    EXPECT_NEAR(completedAt, 3.36, 1e-9);

    // Without animations the completion runs on the next turn of the loop.
    Transaction::begin();
    Transaction::setCompletion([&] { ++completions; });
    Transaction::commit();
    EXPECT_EQ(completions, 1);
    mac.runUntilIdle();
    EXPECT_EQ(completions, 2);
    Transaction::commit(); // unbalanced: nothing happens
}

} // namespace
} // namespace marlowick::platform
