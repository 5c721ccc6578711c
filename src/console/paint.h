// Small Cairo and Pango helpers the screen's pictures share: colours, rounded rectangles, text in
// the system face (Inter) and y-up draw passes.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace marlowick::console::paint {

using platform::Color;
using platform::Rect;

struct TextStyle {
    double size = 13;
    PangoWeight weight = PANGO_WEIGHT_NORMAL;
    Color color{0, 0, 0, 0.85};
};

void setColor(cairo_t* cr, const Color& color);
void roundedRect(cairo_t* cr, const Rect& r, double radius);

using LayoutPtr = std::unique_ptr<PangoLayout, void (*)(gpointer)>;
// Text in the system font; `maxWidth` > 0 wraps (or, for one line, cuts with "…") at that width.
LayoutPtr textLayout(cairo_t* cr, std::string_view text, const TextStyle& style, double maxWidth, bool wraps);
double layoutWidth(PangoLayout* layout);
double textWidth(cairo_t* cr, std::string_view line, const TextStyle& style);
void showLayout(cairo_t* cr, PangoLayout* layout, double x, double y, const Color& color);
// One line of text, cut with "…" at maxWidth; returns its width.
double drawText(cairo_t* cr, std::string_view line, double x, double y, const TextStyle& style,
                double maxWidth = 0);
// Text wrapped at `width`, as a window's labels are.
void drawWrappedText(cairo_t* cr, const std::string& text, double x, double y, double width,
                     const TextStyle& style);
// Runs a y-up draw pass (a status item's image, a menu row's view) into a rectangle of the picture.
void drawYUp(cairo_t* cr, const Rect& where, const std::function<void(platform::Canvas&)>& draw);

} // namespace marlowick::console::paint
