#include "sim/cairo_canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "sim/fonts.h"

namespace marlowick::sim {

using platform::Color;
using platform::Path;

void tracePath(cairo_t* cr, const Path& path) {
    cairo_new_path(cr);
    for (const auto& e : path.elements()) {
        const auto& p = e.points;
        switch (e.verb) {
        case Path::Verb::Move:
            cairo_move_to(cr, p[0].x, p[0].y);
            break;
        case Path::Verb::Line:
            cairo_line_to(cr, p[0].x, p[0].y);
            break;
        case Path::Verb::Quad: {
            // Cairo has only cubic curves; a quadratic one is the cubic with controls 2/3 of the way.
            double x0, y0;
            cairo_get_current_point(cr, &x0, &y0);
            cairo_curve_to(cr, x0 + 2.0 / 3 * (p[0].x - x0), y0 + 2.0 / 3 * (p[0].y - y0),
                           p[1].x + 2.0 / 3 * (p[0].x - p[1].x), p[1].y + 2.0 / 3 * (p[0].y - p[1].y), p[1].x,
                           p[1].y);
            break;
        }
        case Path::Verb::Cubic:
            cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case Path::Verb::Close:
            cairo_close_path(cr);
            break;
        }
    }
}

namespace {

cairo_fill_rule_t cairoFillRule(platform::FillRule rule) {
    return rule == platform::FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

} // namespace

CairoCanvas::CairoCanvas(cairo_t* cr) : cr_(cr) {
    cairo_set_line_width(cr_, 1);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr_, 10);
}

void CairoCanvas::save() {
    cairo_save(cr_);
    saved_.push_back(state_);
    saved_.back().opensGroup = false;
}

void CairoCanvas::restore() {
    // An unbalanced restore, or one that would close a transparency group, is ignored.
    if (saved_.empty() || saved_.back().opensGroup) return;
    cairo_restore(cr_);
    state_ = saved_.back();
    saved_.pop_back();
}

void CairoCanvas::translate(double dx, double dy) {
    cairo_translate(cr_, dx, dy);
}

void CairoCanvas::scale(double sx, double sy) {
    if (sx == 0 || sy == 0 || !std::isfinite(sx) || !std::isfinite(sy)) return; // Cairo would fail for good
    cairo_scale(cr_, sx, sy);
}

void CairoCanvas::concat(const platform::Transform& t) {
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    if (cairo_matrix_invert(&matrix) != CAIRO_STATUS_SUCCESS) return;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(cr_, &matrix);
}

void CairoCanvas::setLineWidth(double width) {
    cairo_set_line_width(cr_, std::max(0.0, width));
}

void CairoCanvas::setLineCap(platform::LineCap cap) {
    switch (cap) {
    case platform::LineCap::Butt:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        break;
    case platform::LineCap::Round:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        break;
    case platform::LineCap::Square:
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
        break;
    }
}

void CairoCanvas::setLineJoin(platform::LineJoin join) {
    switch (join) {
    case platform::LineJoin::Miter:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
        break;
    case platform::LineJoin::Round:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        break;
    case platform::LineJoin::Bevel:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_BEVEL);
        break;
    }
}

void CairoCanvas::setLineDash(const std::vector<double>& pattern, double phase) {
    // Cairo refuses negative lengths and an all-zero pattern; such a pattern draws a solid line.
    const bool usable = std::all_of(pattern.begin(), pattern.end(), [](double d) { return d >= 0; }) &&
                        std::any_of(pattern.begin(), pattern.end(), [](double d) { return d > 0; });
    if (!usable) return cairo_set_dash(cr_, nullptr, 0, 0);
    cairo_set_dash(cr_, pattern.data(), static_cast<int>(pattern.size()), phase);
}

void CairoCanvas::setAlpha(double alpha) {
    state_.alpha = std::clamp(alpha, 0.0, 1.0);
}

void CairoCanvas::setSource(const Color& color) {
    cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha * state_.alpha);
}

void CairoCanvas::applyBlendMode() {
    cairo_set_operator(cr_, state_.blend == platform::BlendMode::DestinationOut ? CAIRO_OPERATOR_DEST_OUT
                                                                                : CAIRO_OPERATOR_OVER);
}

void CairoCanvas::fill(const Path& path, platform::FillRule rule) {
    tracePath(cr_, path);
    cairo_set_fill_rule(cr_, cairoFillRule(rule));
    setSource(state_.fill);
    applyBlendMode();
    cairo_fill(cr_);
}

void CairoCanvas::stroke(const Path& path) {
    tracePath(cr_, path);
    setSource(state_.stroke);
    applyBlendMode();
    cairo_stroke(cr_);
}

void CairoCanvas::clip(const Path& path, platform::FillRule rule) {
    tracePath(cr_, path);
    cairo_set_fill_rule(cr_, cairoFillRule(rule));
    cairo_clip(cr_);
}

void CairoCanvas::beginTransparencyGroup() {
    cairo_save(cr_);
    saved_.push_back(state_);
    saved_.back().opensGroup = true;
    cairo_push_group(cr_);
    state_.alpha = 1;
    state_.blend = platform::BlendMode::Normal;
}

void CairoCanvas::endTransparencyGroup() {
    // Close what was saved since the group began, then the group itself.
    while (!saved_.empty() && !saved_.back().opensGroup)
        restore();
    if (saved_.empty()) return;
    cairo_pop_group_to_source(cr_);
    state_ = saved_.back();
    state_.opensGroup = false;
    applyBlendMode();
    cairo_paint_with_alpha(cr_, state_.alpha);
    cairo_restore(cr_);
    saved_.pop_back();
}

void CairoCanvas::paintGradient(cairo_pattern_t* pattern, const platform::Gradient& gradient) {
    for (const auto& stop : gradient.stops)
        cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), stop.color.red,
                                          stop.color.green, stop.color.blue, stop.color.alpha);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr_, pattern);
    applyBlendMode();
    cairo_paint_with_alpha(cr_, state_.alpha);
    cairo_pattern_destroy(pattern);
}

void CairoCanvas::drawLinearGradient(const platform::Gradient& gradient, platform::Point start,
                                     platform::Point end) {
    paintGradient(cairo_pattern_create_linear(start.x, start.y, end.x, end.y), gradient);
}

void CairoCanvas::drawRadialGradient(const platform::Gradient& gradient, platform::Point startCenter,
                                     double startRadius, platform::Point endCenter, double endRadius) {
    paintGradient(cairo_pattern_create_radial(startCenter.x, startCenter.y, std::max(0.0, startRadius),
                                              endCenter.x, endCenter.y, std::max(0.0, endRadius)),
                  gradient);
}

platform::Size CairoCanvas::measureText(std::string_view text, const platform::Font& font) {
    std::unique_ptr<PangoContext, GObjectRelease> context(pango_cairo_create_context(cr_));
    configureTextContext(context.get());
    return layoutSize(createTextLayout(context.get(), text, font).get());
}

void CairoCanvas::drawText(std::string_view text, platform::Point origin, const platform::Font& font,
                           const Color& color) {
    std::unique_ptr<PangoContext, GObjectRelease> context(pango_cairo_create_context(cr_));
    configureTextContext(context.get());
    auto layout = createTextLayout(context.get(), text, font);
    const platform::Size size = layoutSize(layout.get());
    cairo_save(cr_);
    // Pango sets text downwards from the top-left corner; the canvas's y runs up.
    cairo_translate(cr_, origin.x, origin.y + size.height);
    cairo_scale(cr_, 1, -1);
    cairo_move_to(cr_, 0, 0);
    setSource(color);
    applyBlendMode();
    pango_cairo_update_context(cr_, context.get());
    pango_layout_context_changed(layout.get());
    pango_cairo_show_layout(cr_, layout.get());
    cairo_restore(cr_);
}

} // namespace marlowick::sim
