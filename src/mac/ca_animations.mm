// Wraps: CABasicAnimation, CASpringAnimation, CAKeyframeAnimation and CAAnimationGroup with their
// key paths, values, key times, durations, begin times, cubic timing functions and fill modes, and
// the boxing of property values (NSNumber, NSValue, CGColor, CATransform3D).
// Leaves out: repeat counts, autoreverse, speed and time offsets, additive and cumulative
// animations, paced calculation modes and key-frame paths: the core uses none of them.
#import <Foundation/Foundation.h>
#import <QuartzCore/QuartzCore.h>

#include <cmath>
#include <type_traits>

#include "mac/ca_animations.h"
#include "mac/foundation_values.h"
#include "mac/quartz_values.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

bool isFinite(const p::Transform& t) {
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
           std::isfinite(t.tx) && std::isfinite(t.ty);
}

CAMediaTimingFillMode toCAFillMode(p::FillMode mode) {
    switch (mode) {
    case p::FillMode::Removed:
        return kCAFillModeRemoved;
    case p::FillMode::Backwards:
        return kCAFillModeBackwards;
    case p::FillMode::Forwards:
        return kCAFillModeForwards;
    case p::FillMode::Both:
        return kCAFillModeBoth;
    }
    return kCAFillModeRemoved;
}

CAMediaTimingFunction* toCATimingFunction(const p::TimingFunction& function) {
    const p::Point c1 = function.control1();
    const p::Point c2 = function.control2();
    return [CAMediaTimingFunction functionWithControlPoints:static_cast<float>(c1.x):static_cast<float>(c1.y)
                                                           :static_cast<float>(c2.x):static_cast<float>(c2.y)];
}

// Timing shared by every kind: the core leaves finished animations in place, and so does this.
bool applyTiming(CAAnimation* out, const p::Animation& animation, double beginTime) {
    if (!std::isfinite(beginTime) || !std::isfinite(animation.duration)) return false;
    out.beginTime = beginTime;
    out.duration = animation.activeDuration();
    out.fillMode = toCAFillMode(animation.fillMode);
    out.timingFunction = toCATimingFunction(animation.timingFunction);
    out.removedOnCompletion = NO;
    return true;
}

// Sets from and to, where given; false when either cannot be shown.
bool applyEnds(CABasicAnimation* out, const p::BasicAnimation& animation) {
    if (animation.from && !(out.fromValue = toCAValue(*animation.from))) return false;
    if (animation.to && !(out.toValue = toCAValue(*animation.to))) return false;
    return true;
}

CAAnimation* _Nullable convert(const p::Animation& animation, double beginTime) {
    if (const auto* spring = dynamic_cast<const p::SpringAnimation*>(&animation)) {
        CASpringAnimation* out = [CASpringAnimation animationWithKeyPath:toNSString(spring->keyPath)];
        if (!applyEnds(out, *spring) || !applyTiming(out, animation, beginTime)) return nil;
        if (!std::isfinite(spring->mass) || spring->mass <= 0 || !std::isfinite(spring->stiffness) ||
            !std::isfinite(spring->damping) || !std::isfinite(spring->initialVelocity))
            return nil;
        out.mass = spring->mass;
        out.stiffness = spring->stiffness;
        out.damping = spring->damping;
        out.initialVelocity = spring->initialVelocity;
        return out;
    }
    if (const auto* basic = dynamic_cast<const p::BasicAnimation*>(&animation)) {
        CABasicAnimation* out = [CABasicAnimation animationWithKeyPath:toNSString(basic->keyPath)];
        if (!applyEnds(out, *basic) || !applyTiming(out, animation, beginTime)) return nil;
        return out;
    }
    if (const auto* keyframes = dynamic_cast<const p::KeyframeAnimation*>(&animation)) {
        CAKeyframeAnimation* out = [CAKeyframeAnimation animationWithKeyPath:toNSString(keyframes->keyPath)];
        if (!applyTiming(out, animation, beginTime)) return nil;
        NSMutableArray* values = [NSMutableArray array];
        for (const auto& value : keyframes->values) {
            id boxed = toCAValue(value);
            if (!boxed) return nil;
            [values addObject:boxed];
        }
        out.values = values;
        NSMutableArray<NSNumber*>* keyTimes = [NSMutableArray array];
        for (double time : keyframes->effectiveKeyTimes())
            [keyTimes addObject:@(time)];
        out.keyTimes = keyTimes;
        out.calculationMode = kCAAnimationLinear;
        return out;
    }
    if (const auto* group = dynamic_cast<const p::AnimationGroup*>(&animation)) {
        CAAnimationGroup* out = [CAAnimationGroup animation];
        if (!applyTiming(out, animation, beginTime)) return nil;
        NSMutableArray<CAAnimation*>* members = [NSMutableArray array];
        for (const auto& member : group->animations) {
            // Inside the group, begin times are on the group's own clock.
            if (CAAnimation* converted = member ? convert(*member, member->beginTime) : nil)
                [members addObject:converted];
            else
                return nil;
        }
        out.animations = members;
        return out;
    }
    return nil;
}

} // namespace

CATransform3D toCATransform(const p::Transform& t) {
    // The affine transform in the plane, as CATransform3DMakeAffineTransform lays it out.
    CATransform3D out = CATransform3DIdentity;
    out.m11 = t.a;
    out.m12 = t.b;
    out.m21 = t.c;
    out.m22 = t.d;
    out.m41 = t.tx;
    out.m42 = t.ty;
    return out;
}

id _Nullable toCAValue(const p::AnimatableValue& value) {
    return std::visit(
        [](const auto& v) -> id _Nullable {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>) {
                return std::isfinite(v) ? @(v) : nil;
            } else if constexpr (std::is_same_v<T, p::Point>) {
                return isFinite(v) ? [NSValue valueWithPoint:NSPoint{v.x, v.y}] : nil;
            } else if constexpr (std::is_same_v<T, p::Size>) {
                return isFinite(v) ? [NSValue valueWithSize:NSSize{v.width, v.height}] : nil;
            } else if constexpr (std::is_same_v<T, p::Rect>) {
                return isFinite(v) ? [NSValue valueWithRect:NSRect{{v.minX(), v.minY()}, {v.width(), v.height()}}]
                                   : nil;
            } else if constexpr (std::is_same_v<T, p::Color>) {
                return CFBridgingRelease(toCGColor(v).release());
            } else {
                return isFinite(v) ? [NSValue valueWithCATransform3D:toCATransform(v)] : nil;
            }
        },
        value);
}

CAAnimation* _Nullable toCAAnimation(const p::Animation& animation, double mediaTimeOffset) {
    return convert(animation, animation.beginTime + mediaTimeOffset);
}

} // namespace marlowick::mac
