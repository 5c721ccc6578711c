// Pictures for the menu-drawing tests: each is written as a PNG and read back, so probes look at
// what a person would see, and kept in MARLOWICK_TEST_PNGS when that names a folder.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "platform/canvas.h"
#include "sim/image.h"
#include "sim/layer_renderer.h"
#include "sim/sim_mac.h"

namespace marlowick::testing {

inline sim::Image throughPng(const sim::Image& image, const std::string& folder, const std::string& name) {
    if (const char* keep = std::getenv("MARLOWICK_TEST_PNGS"))
        image.writePng(std::string(keep) + "/" + name + ".png");
    const std::string path = folder + "/" + name + ".png";
    EXPECT_TRUE(image.writePng(path));
    auto read = sim::Image::readPng(path, image.scale());
    EXPECT_TRUE(read.has_value()) << path;
    return read ? std::move(*read) : sim::Image({1, 1}, image.scale());
}

inline bool near(const platform::Color& a, const platform::Color& b, double tolerance = 2.0 / 255) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance && std::abs(a.alpha - b.alpha) <= tolerance;
}

// Calls `visit` with the centre (in points) and colour of every pixel whose centre lies in the region.
inline void forEachPixel(const sim::Image& image, const platform::Rect& region,
                         const std::function<void(platform::Point, const platform::Color&)>& visit) {
    const double scale = image.scale();
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            const platform::Point centre{(x + 0.5) / scale, (image.pixelHeight() - y - 0.5) / scale};
            if (region.contains(centre)) visit(centre, image.pixel(x, y));
        }
    }
}

// The horizontal extent, in points, of the pixels in the region that pass the test; none if none do.
struct Extent {
    double minX;
    double maxX;
};
inline bool isInk(const platform::Color& color) {
    return color.alpha > 0.05;
}
inline std::optional<Extent> inkExtent(const sim::Image& image, const platform::Rect& region,
                                       const std::function<bool(const platform::Color&)>& inked = isInk) {
    std::optional<Extent> extent;
    forEachPixel(image, region, [&](platform::Point centre, const platform::Color& color) {
        if (!inked(color)) return;
        if (!extent) extent = Extent{centre.x, centre.x};
        extent->minX = std::min(extent->minX, centre.x);
        extent->maxX = std::max(extent->maxX, centre.x);
    });
    return extent;
}

inline double maxAlpha(const sim::Image& image, const platform::Rect& region) {
    double most = 0;
    forEachPixel(image, region,
                 [&](platform::Point, const platform::Color& color) { most = std::max(most, color.alpha); });
    return most;
}

} // namespace marlowick::testing
