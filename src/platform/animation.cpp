#include "platform/animation.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "platform/unit_stops.h"

namespace marlowick::platform {

namespace {

double mix(double a, double b, double t) {
    return a + (b - a) * t;
}

struct Interpolator {
    double t;
    AnimatableValue operator()(double a, double b) const { return mix(a, b, t); }
    AnimatableValue operator()(Point a, Point b) const { return Point{mix(a.x, b.x, t), mix(a.y, b.y, t)}; }
    AnimatableValue operator()(Size a, Size b) const {
        return Size{mix(a.width, b.width, t), mix(a.height, b.height, t)};
    }
    AnimatableValue operator()(const Rect& a, const Rect& b) const {
        return Rect{mix(a.minX(), b.minX(), t), mix(a.minY(), b.minY(), t), mix(a.width(), b.width(), t),
                    mix(a.height(), b.height(), t)};
    }
    AnimatableValue operator()(const Color& a, const Color& b) const {
        auto channel = [&](double x, double y) { return std::clamp(mix(x, y, t), 0.0, 1.0); };
        return Color{channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue),
                     channel(a.alpha, b.alpha)};
    }
    // Entry by entry: for the translations and scales layers use this equals interpolating the
    // decomposed scale and translation.
    AnimatableValue operator()(const Transform& a, const Transform& b) const {
        return Transform{mix(a.a, b.a, t), mix(a.b, b.b, t),   mix(a.c, b.c, t),
                         mix(a.d, b.d, t), mix(a.tx, b.tx, t), mix(a.ty, b.ty, t)};
    }
    template <typename A, typename B> AnimatableValue operator()(const A& a, const B& b) const {
        if (t < 0.5) return a;
        return b;
    }
};

bool sameKind(const AnimatableValue& a, const AnimatableValue& b) {
    return a.index() == b.index();
}

} // namespace

AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double fraction) {
    return std::visit(Interpolator{fraction}, from, to);
}

double currentMediaTime() {
    return current().runLoop->now();
}

TimingFunction TimingFunction::named(Name name) {
    switch (name) {
    case Name::Linear:
        return {};
    case Name::EaseIn:
        return {0.42, 0, 1, 1};
    case Name::EaseOut:
        return {0, 0, 0.58, 1};
    case Name::EaseInEaseOut:
        return {0.42, 0, 0.58, 1};
    case Name::Default:
        return {0.25, 0.1, 0.25, 1};
    }
    return {};
}

double TimingFunction::evaluate(double x) const {
    if (!(x > 0)) return 0;
    if (x >= 1) return 1;
    // The curve's x(s) rises monotonically for control points within 0…1: find s by bisection
    // (robust where Newton's method stalls on flat stretches), then read y(s).
    auto bezier = [](double p1, double p2, double s) {
        const double u = 1 - s;
        return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
    };
    double low = 0, high = 1, s = x;
    for (int i = 0; i < 60; ++i) {
        s = (low + high) / 2;
        if (bezier(c1_.x, c2_.x, s) < x) {
            low = s;
        } else {
            high = s;
        }
    }
    return bezier(c1_.y, c2_.y, (low + high) / 2);
}

std::optional<AnimatableValue> Animation::valueAt(std::string_view keyPath, double parentTime,
                                                  const AnimatableValue& beneath) const {
    const double length = activeDuration();
    double local = parentTime - beginTime;
    if (local < 0) {
        if (fillMode != FillMode::Backwards && fillMode != FillMode::Both) return std::nullopt;
        local = 0;
    } else if (local >= length) {
        if (fillMode != FillMode::Forwards && fillMode != FillMode::Both) return std::nullopt;
        local = length;
    }
    return valueAtLocalTime(keyPath, timingFunction.evaluate(local / length) * length, beneath);
}

std::optional<AnimatableValue> BasicAnimation::valueAtLocalTime(std::string_view path, double localTime,
                                                                const AnimatableValue& beneath) const {
    if (path != keyPath) return std::nullopt;
    const AnimatableValue start = from.value_or(beneath);
    const AnimatableValue end = to.value_or(beneath);
    if (!sameKind(start, beneath) || !sameKind(end, beneath)) return std::nullopt;
    return interpolate(start, end, progress(localTime));
}

double SpringAnimation::displacement(double t) const {
    if (!(mass > 0) || !(stiffness > 0) || !(damping >= 0)) return 0;
    const double omega = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    const double v0 = initialVelocity;
    if (zeta < 1 - 1e-9) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        return std::exp(-zeta * omega * t) *
               (std::cos(omegaD * t) + (zeta * omega - v0) / omegaD * std::sin(omegaD * t));
    }
    if (zeta <= 1 + 1e-9) return std::exp(-omega * t) * (1 + (omega - v0) * t);
    const double root = omega * std::sqrt(zeta * zeta - 1);
    const double r1 = -zeta * omega + root, r2 = -zeta * omega - root;
    const double a = (-v0 - r2) / (r1 - r2);
    return a * std::exp(r1 * t) + (1 - a) * std::exp(r2 * t);
}

double SpringAnimation::settlingDuration() const {
    constexpr double threshold = 0.001;
    constexpr double longest = 1000;
    if (!(mass > 0) || !(stiffness > 0) || !(damping > 0)) return damping == 0 ? longest : 0;
    // An upper bound of |displacement| that falls for good once it is below the threshold.
    const double omega = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    auto envelope = [&](double t) {
        if (zeta < 1 - 1e-9) {
            const double omegaD = omega * std::sqrt(1 - zeta * zeta);
            const double b = (zeta * omega - initialVelocity) / omegaD;
            return std::exp(-zeta * omega * t) * std::sqrt(1 + b * b);
        }
        if (zeta <= 1 + 1e-9) return std::exp(-omega * t) * (1 + std::abs(omega - initialVelocity) * t);
        const double root = omega * std::sqrt(zeta * zeta - 1);
        const double r1 = -zeta * omega + root, r2 = -zeta * omega - root;
        const double a = (-initialVelocity - r2) / (r1 - r2);
        return std::abs(a) * std::exp(r1 * t) + std::abs(1 - a) * std::exp(r2 * t);
    };
    double bound = 1 / omega;
    while (envelope(bound) > threshold && bound < longest)
        bound *= 2;
    bound = std::min(bound, longest);
    // The last moment the spring is still outside the threshold, to a microsecond.
    constexpr double step = 1e-3;
    double lastOutside = -1;
    for (double t = 0; t <= bound; t += step)
        if (std::abs(displacement(t)) > threshold) lastOutside = t;
    if (lastOutside < 0) return 0;
    double low = lastOutside, high = lastOutside + step;
    while (high - low > 1e-6) {
        const double mid = (low + high) / 2;
        if (std::abs(displacement(mid)) > threshold) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return high;
}

std::vector<double> KeyframeAnimation::effectiveKeyTimes() const {
    return unitStops(keyTimes, values.size(), StopEnds::ZeroToOne);
}

std::optional<AnimatableValue> KeyframeAnimation::valueAtLocalTime(std::string_view path, double localTime,
                                                                   const AnimatableValue& beneath) const {
    if (path != keyPath || values.empty()) return std::nullopt;
    for (const auto& value : values)
        if (!sameKind(value, beneath)) return std::nullopt;
    const std::size_t n = values.size();
    if (n == 1) return values.front();
    const std::vector<double> times = effectiveKeyTimes();
    const double fraction = localTime / activeDuration();
    if (fraction <= times.front()) return values.front();
    for (std::size_t i = 1; i < n; ++i) {
        if (fraction <= times[i]) {
            const double span = times[i] - times[i - 1];
            const double t = span > 0 ? (fraction - times[i - 1]) / span : 1;
            return interpolate(values[i - 1], values[i], t);
        }
    }
    return values.back();
}

AnimationGroup::AnimationGroup(const AnimationGroup& other) : Animation(other) {
    for (const auto& animation : other.animations)
        animations.push_back(animation->clone());
}

AnimationGroup& AnimationGroup::operator=(const AnimationGroup& other) {
    if (this != &other) {
        Animation::operator=(other);
        animations.clear();
        for (const auto& animation : other.animations)
            animations.push_back(animation->clone());
    }
    return *this;
}

std::optional<AnimatableValue> AnimationGroup::valueAtLocalTime(std::string_view path, double localTime,
                                                                const AnimatableValue& beneath) const {
    std::optional<AnimatableValue> result;
    for (const auto& animation : animations) {
        if (auto value = animation->valueAt(path, localTime, result.value_or(beneath)))
            result = std::move(value);
    }
    return result;
}

} // namespace marlowick::platform
