// The core's paths and colours as Core Graphics objects, shared by the canvas and the layer mirror.
// Non-finite values never reach Core Graphics, which logs and skips them, or Core Animation, which
// throws on them. Objective-C++ only.
#pragma once

#import <CoreGraphics/CoreGraphics.h>

#include <algorithm>
#include <cmath>

#include "mac/cf_ref.h"
#include "platform/geometry.h"
#include "platform/path.h"

namespace marlowick::mac {

inline bool isFinite(platform::Point point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}
inline bool isFinite(platform::Size size) {
    return std::isfinite(size.width) && std::isfinite(size.height);
}
inline bool isFinite(const platform::Rect& rect) {
    return isFinite(rect.origin) && isFinite(rect.size);
}

// A component clamped to 0…1; a non-finite one is 0.
inline double unitValue(double value) {
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0;
}

inline CFRef<CGColorRef> toCGColor(const platform::Color& color) {
    return CFRef<CGColorRef>::adopt(CGColorCreateSRGB(unitValue(color.red), unitValue(color.green),
                                                      unitValue(color.blue), unitValue(color.alpha)));
}

// Elements with a non-finite point are dropped; a segment with no current point begins a subpath
// at its end.
inline CFRef<CGMutablePathRef> toCGPath(const platform::Path& path) {
    using Verb = platform::Path::Verb;
    auto out = CFRef<CGMutablePathRef>::adopt(CGPathCreateMutable());
    bool started = false;
    for (const auto& element : path.elements()) {
        const platform::Point* points = element.points;
        const int count = element.verb == Verb::Cubic ? 3 : element.verb == Verb::Quad ? 2 : 1;
        if (element.verb != Verb::Close &&
            !std::all_of(points, points + count, [](platform::Point p) { return isFinite(p); }))
            continue;
        if (!started && element.verb != Verb::Move && element.verb != Verb::Close) {
            const platform::Point& end = points[count - 1];
            CGPathMoveToPoint(out.get(), nullptr, end.x, end.y);
            started = true;
            continue;
        }
        switch (element.verb) {
        case Verb::Move:
            CGPathMoveToPoint(out.get(), nullptr, points[0].x, points[0].y);
            started = true;
            break;
        case Verb::Line:
            CGPathAddLineToPoint(out.get(), nullptr, points[0].x, points[0].y);
            break;
        case Verb::Quad:
            CGPathAddQuadCurveToPoint(out.get(), nullptr, points[0].x, points[0].y, points[1].x, points[1].y);
            break;
        case Verb::Cubic:
            CGPathAddCurveToPoint(out.get(), nullptr, points[0].x, points[0].y, points[1].x, points[1].y,
                                  points[2].x, points[2].y);
            break;
        case Verb::Close:
            if (started) CGPathCloseSubpath(out.get());
            break;
        }
    }
    return out;
}

} // namespace marlowick::mac
