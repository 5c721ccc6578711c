// The canvas of the simulated Mac: a view's draw pass drawn with Cairo, text with Pango.
// Models: the drawing context of an unflipped view (y up, points), alpha, the two blend modes the
// product uses, transparency groups, clipping and gradients in sRGB. Not modelled: colour management,
// sub-pixel text rendering.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/canvas.h"

namespace marlowick::sim {

// Traces a path into the Cairo context's current path (replacing it).
void tracePath(cairo_t* cr, const platform::Path& path);

class CairoCanvas final : public platform::Canvas {
public:
    // Draws into `cr` (not owned) in its current user space, which must be y-up points.
    explicit CairoCanvas(cairo_t* cr);

    void save() override;
    void restore() override;
    void translate(double dx, double dy) override;
    void scale(double sx, double sy) override;
    void concat(const platform::Transform& transform) override;

    void setFillColor(const platform::Color& color) override { state_.fill = color; }
    void setStrokeColor(const platform::Color& color) override { state_.stroke = color; }
    void setLineWidth(double width) override;
    void setLineCap(platform::LineCap cap) override;
    void setLineJoin(platform::LineJoin join) override;
    void setLineDash(const std::vector<double>& pattern, double phase) override;
    void setAlpha(double alpha) override;
    void setBlendMode(platform::BlendMode mode) override { state_.blend = mode; }

    void fill(const platform::Path& path, platform::FillRule rule) override;
    void stroke(const platform::Path& path) override;
    void clip(const platform::Path& path, platform::FillRule rule) override;

    void beginTransparencyGroup() override;
    void endTransparencyGroup() override;

    void drawLinearGradient(const platform::Gradient& gradient, platform::Point start,
                            platform::Point end) override;
    void drawRadialGradient(const platform::Gradient& gradient, platform::Point startCenter,
                            double startRadius, platform::Point endCenter, double endRadius) override;

    platform::Size measureText(std::string_view text, const platform::Font& font) override;
    void drawText(std::string_view text, platform::Point origin, const platform::Font& font,
                  const platform::Color& color) override;

private:
    // What Cairo does not keep for us: it has one source where the canvas has two colours.
    struct State {
        platform::Color fill{0, 0, 0, 1};
        platform::Color stroke{0, 0, 0, 1};
        double alpha = 1;
        platform::BlendMode blend = platform::BlendMode::Normal;
        bool opensGroup = false; // this entry was pushed by beginTransparencyGroup
    };

    void setSource(const platform::Color& color);
    void applyBlendMode();
    void paintGradient(cairo_pattern_t* pattern, const platform::Gradient& gradient);

    cairo_t* cr_;
    State state_;
    std::vector<State> saved_;
};

} // namespace marlowick::sim
