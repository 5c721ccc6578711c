#include "sim/image.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace marlowick::sim {

Image::Image(platform::Size size, double scale) : scale_(scale > 0 ? scale : 1) {
    auto pixels = [&](double points) {
        const double n = std::ceil(points * scale_ - 1e-9);
        return n > 0 && n < 32768 ? static_cast<int>(n) : 0;
    };
    surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels(size.width), pixels(size.height)));
}

std::optional<Image> Image::readPng(const std::string& path, double scale) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        // An opaque PNG loads as RGB24; redraw it into the one format the rest reads.
        cairo_surface_t* converted =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                       cairo_image_surface_get_height(surface));
        cairo_t* cr = cairo_create(converted);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        surface = converted;
    }
    return Image(surface, scale > 0 ? scale : 1);
}

bool Image::writePng(const std::string& path) const {
    cairo_surface_flush(surface_.get());
    return cairo_surface_write_to_png(surface_.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

int Image::pixelWidth() const {
    return cairo_image_surface_get_width(surface_.get());
}

int Image::pixelHeight() const {
    return cairo_image_surface_get_height(surface_.get());
}

platform::Color Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) return {0, 0, 0, 0};
    cairo_surface_flush(surface_.get());
    const unsigned char* row =
        cairo_image_surface_get_data(surface_.get()) + y * cairo_image_surface_get_stride(surface_.get());
    std::uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    const double a = ((argb >> 24) & 0xff) / 255.0;
    if (a == 0) return {0, 0, 0, 0};
    auto channel = [&](int shift) { return ((argb >> shift) & 0xff) / 255.0 / a; };
    return {channel(16), channel(8), channel(0), a};
}

platform::Color Image::colorAt(platform::Point point) const {
    return pixel(static_cast<int>(std::floor(point.x * scale_)),
                 static_cast<int>(std::floor(pixelHeight() - point.y * scale_)));
}

} // namespace marlowick::sim
