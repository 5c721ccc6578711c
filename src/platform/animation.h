// Layer animations as values: timing functions, basic, keyframe, spring and group animations, and
// the pure evaluation of what an animation shows at a given time. Attaching them to layers and
// completing them is left to layer.h and transaction.h.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/geometry.h"
#include "platform/transform.h"

namespace marlowick::platform {

// The value of an animatable layer property.
using AnimatableValue = std::variant<double, Point, Size, Rect, Color, Transform>;

// The value a fraction of the way from `from` to `to`; fractions outside 0…1 extrapolate (a spring
// overshoots), colours stay within their range. Values of different kinds jump to `to` halfway.
AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double fraction);

// The media clock that animation begin times refer to: the main run loop's clock.
double currentMediaTime();

// Maps the fraction of an animation's time that has passed to the fraction of its change shown: a
// cubic Bézier from (0, 0) to (1, 1) with two control points.
class TimingFunction {
public:
    enum class Name { Linear, EaseIn, EaseOut, EaseInEaseOut, Default };

    TimingFunction() = default; // linear
    TimingFunction(double c1x, double c1y, double c2x, double c2y) : c1_{c1x, c1y}, c2_{c2x, c2y} {}
    static TimingFunction named(Name name);

    double evaluate(double x) const;
    Point control1() const { return c1_; }
    Point control2() const { return c2_; }

private:
    Point c1_{0, 0};
    Point c2_{1, 1};
};

// Removed: the animation shows nothing outside its active time. Backwards: before its begin time it
// shows its start. Forwards: after its end it keeps its end.
enum class FillMode { Removed, Backwards, Forwards, Both };

class Animation {
public:
    virtual ~Animation() = default;
    virtual std::unique_ptr<Animation> clone() const = 0;

    // Seconds; a duration of 0 means the platform's default of 0.25 s.
    double duration = 0;
    // On the parent's clock: the media clock for an animation on a layer (0 there means "when it is
    // added"), the group's own time for an animation inside a group.
    double beginTime = 0;
    TimingFunction timingFunction;
    FillMode fillMode = FillMode::Removed;

    double activeDuration() const { return duration > 0 ? duration : 0.25; }
    double endTime() const { return beginTime + activeDuration(); }

    // What the animation makes of `keyPath` at `parentTime`, given the value beneath it; none where
    // it does not animate that property at that time.
    std::optional<AnimatableValue> valueAt(std::string_view keyPath, double parentTime,
                                           const AnimatableValue& beneath) const;

protected:
    // `localTime` is the eased time since the begin, from 0 to the active duration.
    virtual std::optional<AnimatableValue> valueAtLocalTime(std::string_view keyPath, double localTime,
                                                            const AnimatableValue& beneath) const = 0;
};

// Changes one property from a start value to an end value; an absent end is the value beneath.
class BasicAnimation : public Animation {
public:
    BasicAnimation() = default;
    BasicAnimation(std::string keyPath, std::optional<AnimatableValue> from,
                   std::optional<AnimatableValue> to)
        : keyPath(std::move(keyPath)), from(std::move(from)), to(std::move(to)) {}
    std::unique_ptr<Animation> clone() const override { return std::make_unique<BasicAnimation>(*this); }

    std::string keyPath;
    std::optional<AnimatableValue> from;
    std::optional<AnimatableValue> to;

protected:
    std::optional<AnimatableValue> valueAtLocalTime(std::string_view keyPath, double localTime,
                                                    const AnimatableValue& beneath) const override;
    // The fraction of the change shown at the eased local time.
    virtual double progress(double localTime) const { return localTime / activeDuration(); }
};

// A damped spring from the start value to the end value. Time runs through the timing function (linear
// by default) and then through the spring, which may overshoot the end value before it comes to rest.
class SpringAnimation : public BasicAnimation {
public:
    using BasicAnimation::BasicAnimation;
    std::unique_ptr<Animation> clone() const override { return std::make_unique<SpringAnimation>(*this); }

    double mass = 1;
    double stiffness = 100;
    double damping = 10;
    // Towards the end value, in distances (from start to end) per second.
    double initialVelocity = 0;

    // The distance still to go at `seconds`, as a fraction of the whole: 1 at the start, 0 at rest.
    double displacement(double seconds) const;
    // The time after which the spring stays within a thousandth of the distance from its end value.
    double settlingDuration() const;

protected:
    double progress(double localTime) const override { return 1 - displacement(localTime); }
};

// Passes through `values` at `keyTimes` (fractions of the duration, rising from 0 to 1; evenly
// spaced when they are not one such time per value), linearly between them.
class KeyframeAnimation : public Animation {
public:
    std::unique_ptr<Animation> clone() const override { return std::make_unique<KeyframeAnimation>(*this); }
    // The key times as every renderer uses them.
    std::vector<double> effectiveKeyTimes() const;

    std::string keyPath;
    std::vector<AnimatableValue> values;
    std::vector<double> keyTimes;

protected:
    std::optional<AnimatableValue> valueAtLocalTime(std::string_view keyPath, double localTime,
                                                    const AnimatableValue& beneath) const override;
};

// Runs its animations together on the group's own clock; they end when the group does.
class AnimationGroup : public Animation {
public:
    AnimationGroup() = default;
    AnimationGroup(const AnimationGroup& other);
    AnimationGroup& operator=(const AnimationGroup& other);
    std::unique_ptr<Animation> clone() const override { return std::make_unique<AnimationGroup>(*this); }

    std::vector<std::unique_ptr<Animation>> animations;

protected:
    std::optional<AnimatableValue> valueAtLocalTime(std::string_view keyPath, double localTime,
                                                    const AnimatableValue& beneath) const override;
};

} // namespace marlowick::platform
