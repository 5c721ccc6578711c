#include "console/paint.h"

#include <algorithm>
#include <cmath>

#include "sim/cairo_canvas.h"

namespace marlowick::console::paint {

void setColor(cairo_t* cr, const Color& color) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}

void roundedRect(cairo_t* cr, const Rect& r, double radius) {
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Text in the system font; `maxWidth` > 0 wraps (or, for one line, cuts with "…") at that width.
LayoutPtr textLayout(cairo_t* cr, std::string_view text, const TextStyle& style, double maxWidth,
                     bool wraps) {
    LayoutPtr layout(pango_cairo_create_layout(cr), g_object_unref);
    std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> font(pango_font_description_new(),
                                                                                pango_font_description_free);
    pango_font_description_set_family(font.get(), "Inter");
    pango_font_description_set_absolute_size(font.get(), style.size * PANGO_SCALE);
    pango_font_description_set_weight(font.get(), style.weight);
    pango_layout_set_font_description(layout.get(), font.get());
    std::string shown(text);
    // Untrusted texts are shown, never interpreted: on one line a line break shows as a space.
    if (!wraps) std::replace(shown.begin(), shown.end(), '\n', ' ');
    pango_layout_set_text(layout.get(), shown.c_str(), static_cast<int>(shown.size()));
    if (maxWidth > 0) {
        pango_layout_set_width(layout.get(), static_cast<int>(maxWidth * PANGO_SCALE));
        if (wraps)
            pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        else
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    }
    return layout;
}

double layoutWidth(PangoLayout* layout) {
    int width = 0, height = 0;
    pango_layout_get_size(layout, &width, &height);
    return static_cast<double>(width) / PANGO_SCALE;
}

double textWidth(cairo_t* cr, std::string_view line, const TextStyle& style) {
    return layoutWidth(textLayout(cr, line, style, 0, false).get());
}

void showLayout(cairo_t* cr, PangoLayout* layout, double x, double y, const Color& color) {
    setColor(cr, color);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
}

// One line of text, cut with "…" at maxWidth; returns its width.
double drawText(cairo_t* cr, std::string_view line, double x, double y, const TextStyle& style,
                double maxWidth) {
    auto layout = textLayout(cr, line, style, maxWidth, false);
    showLayout(cr, layout.get(), x, y, style.color);
    return layoutWidth(layout.get());
}

// Text wrapped at `width`, as a window's labels are.
void drawWrappedText(cairo_t* cr, const std::string& text, double x, double y, double width,
                     const TextStyle& style) {
    auto layout = textLayout(cr, text, style, std::max(width, 1.0), true);
    showLayout(cr, layout.get(), x, y, style.color);
}

// Runs a y-up draw pass (a status item's image, a menu row's view) into a rectangle of the picture.
void drawYUp(cairo_t* cr, const Rect& where, const std::function<void(platform::Canvas&)>& draw) {
    cairo_save(cr);
    cairo_rectangle(cr, where.origin.x, where.origin.y, where.size.width, where.size.height);
    cairo_clip(cr);
    cairo_translate(cr, where.origin.x, where.origin.y + where.size.height);
    cairo_scale(cr, 1, -1);
    sim::CairoCanvas canvas(cr);
    draw(canvas);
    cairo_restore(cr);
}

} // namespace marlowick::console::paint
