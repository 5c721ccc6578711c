// An affine transform of the plane, as drawing and layers use it: x' = a·x + c·y + tx,
// y' = b·x + d·y + ty. Layers only ever need translation and scale; rotation is here for completeness.
#pragma once

#include <cmath>

#include "platform/geometry.h"

namespace marlowick::platform {

struct Transform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static Transform identity() { return {}; }
    static Transform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Transform scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Transform rotation(double radians) {
        const double cosine = std::cos(radians), sine = std::sin(radians);
        return {cosine, sine, -sine, cosine, 0, 0};
    }

    // The transform that applies `first`, then this one.
    Transform after(const Transform& first) const {
        return {a * first.a + c * first.b,        b * first.a + d * first.b,
                a * first.c + c * first.d,        b * first.c + d * first.d,
                a * first.tx + c * first.ty + tx, b * first.tx + d * first.ty + ty};
    }
    // The transform that applies this one, then `next`.
    Transform then(const Transform& next) const { return next.after(*this); }

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    bool isIdentity() const { return *this == Transform{}; }

    friend bool operator==(const Transform&, const Transform&) = default;
};

} // namespace marlowick::platform
