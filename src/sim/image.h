// A rendered picture: device pixels at a scale (2 pixels per point by default), read back by tests
// and written as PNG. Models: a 2x screen's backing store, 8-bit sRGB with alpha. Not modelled:
// colour profiles (everything is sRGB), other pixel formats.
#pragma once

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace marlowick::sim {

class Image {
public:
    // A transparent picture of the given size in points.
    Image(platform::Size size, double scale);
    static std::optional<Image> readPng(const std::string& path, double scale = 2.0);

    bool writePng(const std::string& path) const;

    int pixelWidth() const;
    int pixelHeight() const;
    double scale() const { return scale_; }
    platform::Size size() const { return {pixelWidth() / scale_, pixelHeight() / scale_}; }

    // The colour of a device pixel, row 0 at the top, not premultiplied; clear outside the picture.
    platform::Color pixel(int x, int y) const;
    // The colour of the pixel that contains a point of the picture's own space (origin lower left).
    platform::Color colorAt(platform::Point point) const;

    cairo_surface_t* surface() const { return surface_.get(); }

private:
    struct Release {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    Image(cairo_surface_t* surface, double scale) : surface_(surface), scale_(scale) {}

    std::unique_ptr<cairo_surface_t, Release> surface_;
    double scale_;
};

} // namespace marlowick::sim
