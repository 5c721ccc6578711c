// How readable one colour is on another, as WCAG measures it: relative luminance and the contrast
// ratio from 1 (none) to 21 (black on white). Text wants 4.5 or more.
#pragma once

#include <algorithm>
#include <cmath>

#include "platform/geometry.h"

namespace marlowick::testing {

inline double relativeLuminance(const platform::Color& color) {
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

inline double contrastRatio(const platform::Color& a, const platform::Color& b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The most contrast any point of the area, sampled every `step` points, has with the colour.
template <typename Sample>
double mostContrast(const platform::Rect& area, double step, const platform::Color& against, Sample sample) {
    double most = 1;
    for (double y = area.minY(); y < area.maxY(); y += step)
        for (double x = area.minX(); x < area.maxX(); x += step)
            most = std::max(most, contrastRatio(sample(platform::Point{x, y}), against));
    return most;
}

// A translucent colour as it shows over an opaque one.
inline platform::Color over(const platform::Color& top, const platform::Color& below) {
    const double a = top.alpha;
    return {top.red * a + below.red * (1 - a), top.green * a + below.green * (1 - a),
            top.blue * a + below.blue * (1 - a), 1};
}

} // namespace marlowick::testing
