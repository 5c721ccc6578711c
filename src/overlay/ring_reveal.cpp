#include "overlay/ring_reveal.h"

#include <algorithm>
#include <memory>
#include <string>

#include "overlay/sidebar_overlay.h"
#include "platform/animation.h"
#include "platform/layer.h"
#include "platform/platform.h"
#include "platform/transaction.h"

namespace marlowick {

using platform::AnimationGroup;
using platform::BasicAnimation;
using platform::FillMode;
using platform::Layer;
using platform::Rect;
using platform::TimingFunction;

namespace {

constexpr double kTraceLength = 0.42;
constexpr double kFadeLength = 0.18;
constexpr double kPopFadeLength = 0.14;
constexpr double kTightenLength = 0.26;
constexpr double kTightenOthersDelay = 0.14;
constexpr double kTightenOthersLength = 0.22;
constexpr double kTightenDistance = 11;
constexpr double kGlowLength = 0.52;
// The mask band is wide enough to uncover everything within 26 points of the ring's outline.
constexpr double kTraceBandWidth = 52;

TimingFunction easeOut() {
    return TimingFunction::named(TimingFunction::Name::EaseOut);
}

BasicAnimation basic(const char* keyPath, platform::AnimatableValue from, platform::AnimatableValue to,
                     double duration, TimingFunction timing) {
    BasicAnimation animation(keyPath, std::move(from), std::move(to));
    animation.duration = duration;
    animation.fillMode = FillMode::Backwards;
    animation.timingFunction = timing;
    return animation;
}

platform::SpringAnimation popSpring() {
    platform::SpringAnimation spring;
    spring.keyPath = "transform";
    spring.damping = 14;
    spring.stiffness = 320;
    spring.mass = 1;
    spring.initialVelocity = 0;
    return spring;
}

void fadeIn(Layer& layer, double duration, const std::string& key) {
    layer.addAnimation(basic("opacity", 0.0, 1.0, duration, easeOut()), key);
}

void trace(SidebarOverlay& overlay, const Rect& itemFrame) {
    auto mask = platform::ShapeLayer::make();
    mask->setFrame(overlay.indicator->bounds());
    mask->setPath(continuousRoundedPath(itemFrame.insetBy(-3, -3), 27));
    mask->setStrokeColor({0, 0, 0, 1});
    mask->setFillColor({0, 0, 0, 0});
    mask->setLineWidth(kTraceBandWidth);
    mask->setLineCap(platform::LineCap::Round);
    overlay.indicator->setMask(mask);

    platform::Transaction::begin();
    // The indicator may have been rebuilt with another mask meanwhile; that one stays.
    platform::Transaction::setCompletion(
        [weakOverlay = overlay.weak_from_this(), weakMask = std::weak_ptr<Layer>(mask)] {
            auto self = weakOverlay.lock();
            auto ownMask = weakMask.lock();
            if (self && ownMask && self->indicator->mask() == ownMask) self->indicator->setMask(nullptr);
        });
    mask->addAnimation(basic("strokeEnd", 0.0, 1.0, kTraceLength,
                             TimingFunction::named(TimingFunction::Name::EaseInEaseOut)),
                       "reveal");
    platform::Transaction::commit();
}

void pop(SidebarOverlay& overlay, const Rect& itemFrame) {
    Layer& indicator = *overlay.indicator;
    const Rect bounds = indicator.bounds();
    const double dx = itemFrame.midX() - bounds.midX();
    const double dy = itemFrame.midY() - bounds.midY();
    // The transform acts about the indicator's centre; this scales about the item's centre instead.
    const auto start = platform::Transform::translation(-dx, -dy)
                           .then(platform::Transform::scale(0.94, 0.94))
                           .then(platform::Transform::translation(dx, dy));
    auto spring = popSpring();
    spring.from = start;
    spring.to = platform::Transform::identity();
    spring.duration = spring.settlingDuration();
    indicator.addAnimation(spring, "reveal");
    fadeIn(indicator, kPopFadeLength, "revealFade");
}

void tighten(SidebarOverlay& overlay) {
    const double othersBegin = platform::currentMediaTime() + kTightenOthersDelay;
    for (const auto& layer : overlay.indicator->sublayers()) {
        if (layer->name() != "ring") {
            auto later = basic("opacity", 0.0, layer->opacity(), kTightenOthersLength, easeOut());
            later.beginTime = othersBegin;
            layer->addAnimation(later, "reveal");
            continue;
        }
        // The bounds shrink about the layer's centre, so the ring closes in evenly from all sides.
        AnimationGroup group;
        group.duration = kTightenLength;
        group.timingFunction = TimingFunction(0.2, 0.8, 0.2, 1.0);
        const Rect bounds = layer->bounds();
        const auto add = [&](const char* keyPath, platform::AnimatableValue from,
                             platform::AnimatableValue to) {
            group.animations.push_back(std::make_unique<BasicAnimation>(
                basic(keyPath, std::move(from), std::move(to), kTightenLength, easeOut())));
        };
        add("bounds", bounds.insetBy(-kTightenDistance, -kTightenDistance), bounds);
        add("cornerRadius", layer->cornerRadius() + kTightenDistance, layer->cornerRadius());
        add("borderWidth", 1.5, layer->borderWidth());
        add("opacity", 0.0, layer->opacity());
        layer->addAnimation(group, "reveal");
    }
}

void glow(SidebarOverlay& overlay) {
    Layer& indicator = *overlay.indicator;
    // These stay set; with the opacity back at 0 no shadow shows.
    indicator.setShadowColor(overlayHighlightColor());
    indicator.setShadowOffset({0, 0});
    indicator.setShadowRadius(9);
    indicator.setShadowOpacity(0);
    platform::KeyframeAnimation flare;
    flare.keyPath = "shadowOpacity";
    flare.values = {0.0, 0.95, 0.0};
    flare.keyTimes = {0, 0.35, 1};
    flare.duration = kGlowLength;
    flare.timingFunction = easeOut();
    indicator.addAnimation(flare, "reveal");
    fadeIn(indicator, kFadeLength, "revealFade");
}

} // namespace

double popSpringSettlingDuration() {
    return popSpring().settlingDuration();
}

double revealLength(RingReveal style) {
    switch (style) {
    case RingReveal::trace:
        return kTraceLength;
    case RingReveal::fade:
        return kFadeLength;
    case RingReveal::pop:
        return std::max(popSpringSettlingDuration(), kPopFadeLength);
    case RingReveal::tighten:
        return std::max(kTightenLength, kTightenOthersDelay + kTightenOthersLength);
    case RingReveal::glow:
        return kGlowLength;
    case RingReveal::none:
        return 0;
    }
    return 0;
}

void revealRing(SidebarOverlay& overlay, const Rect& itemFrame) {
    // With Reduce Motion on, the indicator simply appears: no trace, pop, glow or bounce.
    if (auto* appearance = platform::current().appearance; appearance && appearance->reducesMotion()) return;
    switch (AppSettings::ringReveal()) {
    case RingReveal::trace:
        trace(overlay, itemFrame);
        return;
    case RingReveal::fade:
        fadeIn(*overlay.indicator, kFadeLength, "reveal");
        return;
    case RingReveal::pop:
        pop(overlay, itemFrame);
        return;
    case RingReveal::tighten:
        tighten(overlay);
        return;
    case RingReveal::glow:
        glow(overlay);
        return;
    case RingReveal::none:
        return;
    }
}

} // namespace marlowick
