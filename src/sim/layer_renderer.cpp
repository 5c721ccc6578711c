#include "sim/layer_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "sim/cairo_canvas.h"
#include "sim/fonts.h"

namespace marlowick::sim {

using platform::Color;
using platform::Layer;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

bool visible(const Color& color) {
    return color.alpha > 0;
}

void setSource(cairo_t* cr, const Color& c, double alpha = 1) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha * alpha);
}

// The layer's outline with its corners, as the background, the border and the bounds clip use it.
Path cornerShape(const Rect& rect, double radius, platform::CornerCurve curve) {
    Path path;
    if (rect.isEmpty()) return path;
    if (radius <= 0) {
        path.addRect(rect);
    } else if (curve == platform::CornerCurve::Continuous) {
        path.addContinuousRoundedRect(rect, radius);
    } else {
        const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
        path.addRoundedRect(rect, r, r);
    }
    return path;
}

// Three box blurs in each direction approximate a Gaussian blur of the given deviation. Only the
// part of the picture that has ink, grown by how far the blur spreads it, is worked on.
void blurAlpha(unsigned char* data, int width, int height, int stride, double sigma) {
    const int radius = static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2));
    if (radius < 1) return;
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!data[y * stride + x]) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return;
    const int spread = 3 * radius;
    left = std::max(0, left - spread), right = std::min(width - 1, right + spread);
    top = std::max(0, top - spread), bottom = std::min(height - 1, bottom + spread);

    std::vector<unsigned char> line(static_cast<std::size_t>(std::max(width, height)));
    auto pass = [&](unsigned char* start, int count, int step) {
        for (int i = 0; i < count; ++i)
            line[i] = start[i * step];
        const int window = 2 * radius + 1;
        long sum = 0;
        auto at = [&](int i) -> int { return i < 0 || i >= count ? 0 : line[i]; };
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < count; ++i) {
            start[i * step] = static_cast<unsigned char>((sum + window / 2) / window);
            sum += at(i + radius + 1) - at(i - radius);
        }
    };
    for (int round = 0; round < 3; ++round) {
        for (int y = top; y <= bottom; ++y)
            pass(data + y * stride + left, right - left + 1, 1);
        for (int x = left; x <= right; ++x)
            pass(data + top * stride + x, bottom - top + 1, stride);
    }
}

// Paints the shadow of `content` (a pattern in the current user space) beneath where it will go.
void drawShadow(cairo_t* cr, cairo_pattern_t* content, const Layer& layer, double time) {
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
    const int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);

    cairo_surface_t* alpha = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* shadow = cairo_create(alpha);
    cairo_set_matrix(shadow, &ctm);
    cairo_set_source(shadow, content);
    cairo_paint(shadow);
    cairo_destroy(shadow);

    cairo_surface_flush(alpha);
    const double deviceScale = std::sqrt(std::abs(ctm.xx * ctm.yy - ctm.xy * ctm.yx));
    // The shadow radius is the blur's standard deviation in points.
    blurAlpha(cairo_image_surface_get_data(alpha), width, height, cairo_image_surface_get_stride(alpha),
              layer.presented<double>("shadowRadius", time) * deviceScale);
    cairo_surface_mark_dirty(alpha);

    const platform::Size offset = layer.presented<platform::Size>("shadowOffset", time);
    double dx = offset.width, dy = offset.height;
    cairo_user_to_device_distance(cr, &dx, &dy);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    setSource(cr, layer.presented<Color>("shadowColor", time),
              std::clamp(layer.presented<double>("shadowOpacity", time), 0.0, 1.0));
    cairo_mask_surface(cr, alpha, dx, dy);
    cairo_restore(cr);
    cairo_surface_destroy(alpha);
}

void drawShape(cairo_t* cr, const platform::ShapeLayer& shape, double time) {
    const Color fill = shape.presented<Color>("fillColor", time);
    if (visible(fill) && !shape.path().isEmpty()) {
        tracePath(cr, shape.path());
        cairo_set_fill_rule(cr, shape.fillRule() == platform::FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                                : CAIRO_FILL_RULE_WINDING);
        setSource(cr, fill);
        cairo_fill(cr);
    }
    const Color strokeColor = shape.presented<Color>("strokeColor", time);
    const double lineWidth = shape.presented<double>("lineWidth", time);
    if (!visible(strokeColor) || !(lineWidth > 0)) return;
    const double start = shape.presented<double>("strokeStart", time);
    const double end = shape.presented<double>("strokeEnd", time);
    const Path outline = start <= 0 && end >= 1 ? shape.path() : shape.path().trimmed(start, end);
    if (outline.isEmpty()) return;
    cairo_save(cr);
    CairoCanvas canvas(cr);
    canvas.setLineWidth(lineWidth);
    canvas.setLineCap(shape.lineCap());
    canvas.setLineJoin(shape.lineJoin());
    canvas.setLineDash(shape.lineDashPattern(), shape.presented<double>("lineDashPhase", time));
    canvas.setStrokeColor(strokeColor);
    canvas.stroke(outline);
    cairo_restore(cr);
}

// Text layers are rasterised at their contents scale and then drawn like an image, so a layer left at
// scale 1 looks soft on a 2x screen, as it does on the Mac.
void drawText(cairo_t* cr, const platform::TextLayer& text, const Rect& bounds, double time) {
    const double scale = std::clamp(text.contentsScale(), 0.25, 8.0);
    const int width = static_cast<int>(std::ceil(bounds.width() * scale));
    const int height = static_cast<int>(std::ceil(bounds.height() * scale));
    if (text.string().empty() || width <= 0 || height <= 0 || width > 16384 || height > 16384) return;

    cairo_surface_t* contents = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* raster = cairo_create(contents);
    cairo_matrix_t flip;
    cairo_matrix_init(&flip, scale, 0, 0, -scale, 0, bounds.height() * scale);
    cairo_set_matrix(raster, &flip);
    {
        CairoCanvas canvas(raster);
        const platform::Size size = canvas.measureText(text.string(), text.font());
        double x = 0;
        if (text.alignment() == platform::TextAlignment::Center) x = (bounds.width() - size.width) / 2;
        if (text.alignment() == platform::TextAlignment::Right) x = bounds.width() - size.width;
        canvas.drawText(text.string(), {x, bounds.height() - size.height}, text.font(),
                        text.presented<Color>("foregroundColor", time));
    }
    cairo_destroy(raster);

    cairo_save(cr);
    cairo_translate(cr, bounds.minX(), bounds.maxY());
    cairo_scale(cr, 1 / scale, -1 / scale);
    cairo_set_source_surface(cr, contents, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(contents);
}

void drawGradient(cairo_t* cr, const platform::GradientLayer& layer, const Rect& bounds) {
    const platform::Gradient gradient = layer.gradient();
    if (gradient.stops.empty() || bounds.isEmpty()) return;
    auto place = [&](Point unit) {
        return Point{bounds.minX() + unit.x * bounds.width(), bounds.minY() + unit.y * bounds.height()};
    };
    cairo_save(cr);
    cairo_rectangle(cr, bounds.minX(), bounds.minY(), bounds.width(), bounds.height());
    cairo_clip(cr);
    CairoCanvas canvas(cr);
    const Point start = place(layer.startPoint()), end = place(layer.endPoint());
    if (layer.type() == platform::GradientLayer::Type::Radial) {
        canvas.drawRadialGradient(gradient, start, 0, start, std::hypot(end.x - start.x, end.y - start.y));
    } else {
        canvas.drawLinearGradient(gradient, start, end);
    }
    cairo_restore(cr);
}

// What each layer's content drawer drew, kept as Core Animation keeps a layer's contents: drawn
// again only when its owner asks (Layer::setNeedsDisplay) or its bounds change size. A layer that
// changes what it draws without asking shows its old drawing here, as it would on a Mac.
class DrawnContents {
public:
    ~DrawnContents() {
        for (auto& entry : contents_)
            cairo_surface_destroy(entry.second.recording);
    }

    void paint(cairo_t* cr, const Layer& layer, const Rect& bounds) {
        Drawn& drawn = contents_[&layer];
        // An entry left by a layer that has gone, now at the same address, is not this layer's.
        const bool ours = !drawn.layer.expired() && drawn.layer.lock().get() == &layer;
        if (!drawn.recording || !ours || drawn.revision != layer.contentRevision() ||
            drawn.size != bounds.size) {
            if (drawn.recording) cairo_surface_destroy(drawn.recording);
            drawn.recording = record(layer);
            drawn.layer = layer.weak_from_this();
            drawn.revision = layer.contentRevision();
            drawn.size = bounds.size;
            forgetGoneLayers();
        }
        cairo_save(cr);
        cairo_set_source_surface(cr, drawn.recording, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }

private:
    struct Drawn {
        std::weak_ptr<const Layer> layer;
        std::uint64_t revision = 0;
        platform::Size size;
        cairo_surface_t* recording = nullptr;
    };

    static cairo_surface_t* record(const Layer& layer) {
        cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
        cairo_t* cr = cairo_create(recording);
        {
            CairoCanvas canvas(cr);
            layer.contentDrawer()(canvas);
        }
        cairo_destroy(cr);
        return recording;
    }

    // Keeps the cache to the layers alive, sweeping once it has doubled since the last sweep.
    void forgetGoneLayers() {
        if (contents_.size() < 2 * sizeAfterSweep_ + 16) return;
        std::erase_if(contents_, [](auto& entry) {
            if (!entry.second.layer.expired()) return false;
            cairo_surface_destroy(entry.second.recording);
            return true;
        });
        sizeAfterSweep_ = contents_.size();
    }

    std::unordered_map<const Layer*, Drawn> contents_;
    std::size_t sizeAfterSweep_ = 0;
};

DrawnContents& drawnContents() {
    static DrawnContents contents;
    return contents;
}

// Background, content, sublayers and border, in the layer's bounds space.
void drawBody(cairo_t* cr, const Layer& layer, const Rect& bounds, double time) {
    const double radius = layer.presented<double>("cornerRadius", time);
    const Path shape = cornerShape(bounds, radius, layer.cornerCurve());
    if (const Color background = layer.presented<Color>("backgroundColor", time); visible(background)) {
        tracePath(cr, shape);
        setSource(cr, background);
        cairo_fill(cr);
    }

    cairo_save(cr);
    if (layer.masksToBounds()) {
        tracePath(cr, shape);
        cairo_clip(cr);
    }
    if (layer.contentDrawer()) drawnContents().paint(cr, layer, bounds);
    if (const auto* shapeLayer = dynamic_cast<const platform::ShapeLayer*>(&layer)) {
        drawShape(cr, *shapeLayer, time);
    } else if (const auto* textLayer = dynamic_cast<const platform::TextLayer*>(&layer)) {
        drawText(cr, *textLayer, bounds, time);
    } else if (const auto* gradientLayer = dynamic_cast<const platform::GradientLayer*>(&layer)) {
        drawGradient(cr, *gradientLayer, bounds);
    }
    for (const auto& sublayer : layer.sublayers())
        drawLayer(cr, *sublayer, time);
    cairo_restore(cr);

    // The border lies inside the bounds and follows the corners.
    const double border =
        std::min({layer.presented<double>("borderWidth", time), bounds.width() / 2, bounds.height() / 2});
    if (const Color color = layer.presented<Color>("borderColor", time); border > 0 && visible(color)) {
        Path ring = shape;
        ring.addPath(
            cornerShape(bounds.insetBy(border, border), std::max(0.0, radius - border), layer.cornerCurve()));
        tracePath(cr, ring);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        setSource(cr, color);
        cairo_fill(cr);
    }
}

} // namespace

void drawLayer(cairo_t* cr, const Layer& layer, double time) {
    if (layer.isHidden()) return;
    const double opacity = std::clamp(layer.presented<double>("opacity", time), 0.0, 1.0);
    if (opacity <= 0) return;
    const Rect bounds = layer.presented<Rect>("bounds", time);
    const Point position = layer.presented<Point>("position", time);
    const platform::Transform t = layer.presented<platform::Transform>("transform", time);

    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    if (cairo_matrix_invert(&matrix) != CAIRO_STATUS_SUCCESS) return; // flattened to nothing
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);

    cairo_save(cr);
    cairo_translate(cr, position.x, position.y);
    cairo_transform(cr, &matrix);
    cairo_translate(cr, -bounds.midX(), -bounds.midY());

    const bool shadow = layer.presented<double>("shadowOpacity", time) > 0 &&
                        visible(layer.presented<Color>("shadowColor", time));
    const bool group = opacity < 1 || layer.mask() || shadow;
    if (!group) {
        drawBody(cr, layer, bounds, time);
        cairo_restore(cr);
        return;
    }

    cairo_push_group(cr);
    drawBody(cr, layer, bounds, time);
    cairo_pattern_t* content = cairo_pop_group(cr);
    if (shadow) {
        cairo_push_group(cr);
        drawShadow(cr, content, layer, time);
        cairo_set_source(cr, content);
        cairo_paint(cr);
        cairo_pattern_destroy(content);
        content = cairo_pop_group(cr);
    }
    if (const auto& mask = layer.mask()) {
        cairo_push_group(cr);
        drawLayer(cr, *mask, time);
        cairo_pattern_t* maskPattern = cairo_pop_group(cr);
        cairo_push_group(cr);
        cairo_set_source(cr, content);
        cairo_mask(cr, maskPattern);
        cairo_pattern_destroy(maskPattern);
        cairo_pattern_destroy(content);
        content = cairo_pop_group(cr);
    }
    cairo_set_source(cr, content);
    cairo_paint_with_alpha(cr, opacity);
    cairo_pattern_destroy(content);
    cairo_restore(cr);
}

namespace {

// A context on the picture whose user space is y-up points with the origin at the lower left.
cairo_t* pointContext(const Image& image) {
    cairo_t* cr = cairo_create(image.surface());
    cairo_matrix_t flip;
    cairo_matrix_init(&flip, image.scale(), 0, 0, -image.scale(), 0, image.pixelHeight());
    cairo_set_matrix(cr, &flip);
    return cr;
}

} // namespace

Image renderLayerTree(const Layer& root, double time, double scale) {
    const Rect frame = root.frame();
    Image image(frame.size, scale);
    cairo_t* cr = pointContext(image);
    cairo_translate(cr, -frame.minX(), -frame.minY());
    drawLayer(cr, root, time);
    cairo_destroy(cr);
    return image;
}

Image renderDrawing(platform::Size size, const std::function<void(platform::Canvas&)>& draw, double scale) {
    Image image(size, scale);
    cairo_t* cr = pointContext(image);
    {
        CairoCanvas canvas(cr);
        draw(canvas);
    }
    cairo_destroy(cr);
    return image;
}

} // namespace marlowick::sim
