#include "console/screen_window.h"

#include <algorithm>
#include <cmath>

#include "console/paint.h"
#include "platform/control_looks.h"
#include "platform/layer.h"
#include "platform/view_metrics.h"
#include "sim/layer_renderer.h"

namespace marlowick::console {

namespace {

using namespace paint;
using platform::PlacedView;

// The system's colours in each appearance.
struct Palette {
    Color window, sidebar, groupBox, groupBorder, primary, secondary, tertiary, accent, control,
        controlBorder, separator, field, switchOff, selection, destructive;
};

Palette paletteOf(platform::Appearance appearance);

// The window's own colours; the parts the Mac's controls draw alike come from the shared table.
Palette paletteFor(platform::Appearance appearance) {
    Palette palette = paletteOf(appearance);
    const auto looks = platform::controlLooks(appearance);
    palette.groupBox = looks.groupBoxFill;
    palette.groupBorder = looks.groupBoxBorder;
    palette.selection = looks.selection;
    return palette;
}

Palette paletteOf(platform::Appearance appearance) {
    if (appearance == platform::Appearance::Dark)
        return {{0.12, 0.12, 0.13, 1}, {0.2, 0.2, 0.21, 1},   {1, 1, 1, 0.07},   {1, 1, 1, 0.12},
                {1, 1, 1, 0.88},       {1, 1, 1, 0.55},       {1, 1, 1, 0.3},    {0.04, 0.52, 1, 1},
                {1, 1, 1, 0.16},       {1, 1, 1, 0.1},        {1, 1, 1, 0.1},    {1, 1, 1, 0.06},
                {1, 1, 1, 0.16},       {1, 1, 1, 0.1},        {1, 0.27, 0.23, 1}};
    return {{0.93, 0.93, 0.94, 1}, {0.88, 0.88, 0.9, 1}, {1, 1, 1, 0.6},    {0, 0, 0, 0.07},
            {0, 0, 0, 0.85},       {0, 0, 0, 0.5},       {0, 0, 0, 0.26},   {0, 0.48, 1, 1},
            {1, 1, 1, 1},          {0, 0, 0, 0.14},      {0, 0, 0, 0.1},    {1, 1, 1, 1},
            {0, 0, 0, 0.09},       {0, 0, 0, 0.09},      {1, 0.23, 0.19, 1}};
}

PangoWeight pangoWeight(platform::FontWeight weight) {
    return weight >= platform::FontWeight::Bold       ? PANGO_WEIGHT_BOLD
           : weight >= platform::FontWeight::Semibold ? PANGO_WEIGHT_SEMIBOLD
           : weight >= platform::FontWeight::Medium   ? PANGO_WEIGHT_MEDIUM
                                                      : PANGO_WEIGHT_NORMAL;
}

Color styled(platform::ForegroundStyle style, const Color& custom, const Palette& p) {
    switch (style) {
    case platform::ForegroundStyle::Primary:
        return p.primary;
    case platform::ForegroundStyle::Secondary:
        return p.secondary;
    case platform::ForegroundStyle::Tertiary:
        return p.tertiary;
    case platform::ForegroundStyle::Accent:
        return p.accent;
    case platform::ForegroundStyle::Custom:
        return custom;
    }
    return p.primary;
}

// An arc that starts a new piece of the path rather than joining the last point.
void arc(cairo_t* cr, double cx, double cy, double r, double from, double to) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, from, to);
}

void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// A rounded control or box: filled, with a half-point border on the pixel grid.
void fillWithHairline(cairo_t* cr, const Rect& f, double radius, const Color& fill, const Color& border) {
    roundedRect(cr, f.insetBy(0.5, 0.5), radius);
    setColor(cr, fill);
    cairo_fill_preserve(cr);
    setColor(cr, border);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

// The few system symbols the windows use, as simple strokes in a square.
void drawSymbol(cairo_t* cr, const std::string& name, const Rect& box, const Color& color) {
    double s = std::min(box.width(), box.height()), x = box.minX() + (box.width() - s) / 2,
           y = box.minY() + (box.height() - s) / 2, cx = x + s / 2, cy = y + s / 2;
    setColor(cr, color);
    cairo_set_line_width(cr, std::max(1.2, s / 11));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (name == "gearshape") {
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            strokeLine(cr, cx + std::cos(a) * s * 0.3, cy + std::sin(a) * s * 0.3,
                       cx + std::cos(a) * s * 0.46, cy + std::sin(a) * s * 0.46);
        }
        cairo_stroke(cr);
        arc(cr, cx, cy, s * 0.3, 0, 2 * M_PI);
        cairo_stroke(cr);
        arc(cr, cx, cy, s * 0.11, 0, 2 * M_PI);
        cairo_stroke(cr);
    } else if (name == "keyboard") {
        roundedRect(cr, {x + s * 0.04, y + s * 0.22, s * 0.92, s * 0.56}, s * 0.1);
        cairo_stroke(cr);
        for (int row = 0; row < 2; ++row) {
            for (int k = 0; k < 5; ++k)
                cairo_rectangle(cr, x + s * (0.17 + k * 0.15), y + s * (0.33 + row * 0.14), s * 0.06,
                                s * 0.06);
        }
        cairo_fill(cr);
        strokeLine(cr, x + s * 0.3, y + s * 0.66, x + s * 0.7, y + s * 0.66);
        cairo_stroke(cr);
    } else if (name == "hand.tap") {
        roundedRect(cr, {x + s * 0.36, y + s * 0.3, s * 0.2, s * 0.6}, s * 0.1);
        cairo_stroke(cr);
        roundedRect(cr, {x + s * 0.3, y + s * 0.56, s * 0.44, s * 0.38}, s * 0.14);
        cairo_stroke(cr);
        arc(cr, x + s * 0.46, y + s * 0.26, s * 0.2, M_PI * 1.05, M_PI * 1.95);
        cairo_stroke(cr);
    } else if (name == "paintpalette") {
        arc(cr, cx, cy, s * 0.42, M_PI * 0.35, M_PI * 2.15);
        cairo_curve_to(cr, cx + s * 0.2, cy + s * 0.05, cx + s * 0.05, cy + s * 0.3, cx + s * 0.25,
                       cy + s * 0.34);
        cairo_stroke(cr);
        constexpr double kWells[][2] = {{-0.2, -0.14}, {0.02, -0.24}, {-0.24, 0.1}};
        for (const auto& [dx, dy] : kWells) {
            arc(cr, cx + dx * s, cy + dy * s, s * 0.06, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    } else if (name == "arrow.clockwise") {
        arc(cr, cx, cy, s * 0.34, -M_PI * 0.35, M_PI * 1.5);
        cairo_stroke(cr);
        double ax = cx + std::cos(-M_PI * 0.35) * s * 0.34, ay = cy + std::sin(-M_PI * 0.35) * s * 0.34;
        cairo_move_to(cr, ax - s * 0.2, ay - s * 0.06);
        cairo_line_to(cr, ax + s * 0.02, ay + s * 0.02);
        cairo_line_to(cr, ax + s * 0.04, ay - s * 0.22);
        cairo_stroke(cr);
    } else if (name == "checkmark") {
        cairo_move_to(cr, x + s * 0.2, y + s * 0.52);
        cairo_line_to(cr, x + s * 0.42, y + s * 0.74);
        cairo_line_to(cr, x + s * 0.8, y + s * 0.28);
        cairo_stroke(cr);
    } else {
        arc(cr, cx, cy, s * 0.3, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
}

// A selected sidebar row takes the accent colour, with white text, while its window is key.
void drawButton(cairo_t* cr, const platform::ButtonView& button, const Rect& f, const Palette& p, bool keyWindow) {
    bool plain = button.style == platform::ButtonStyle::Plain;
    bool prominent = button.isDefault || button.role == platform::ButtonRole::Prominent;
    bool accented = plain && button.isSelected && keyWindow;
    Color text = accented ? Color{1, 1, 1, 1} : p.primary;
    if (plain) {
        if (button.isSelected) {
            roundedRect(cr, f, 6);
            setColor(cr, accented ? p.accent : p.selection);
            cairo_fill(cr);
        }
    } else {
        fillWithHairline(cr, f, 5, prominent ? p.accent : p.control,
                         prominent ? Color{0, 0, 0, 0.08} : p.controlBorder);
        if (prominent) text = {1, 1, 1, 1};
        if (button.role == platform::ButtonRole::Destructive && !prominent) text = p.destructive;
    }
    TextStyle style{13, PANGO_WEIGHT_NORMAL, text};
    double padding = plain ? platform::metrics::kPlainButtonPadding : platform::metrics::kButtonPadding;
    double x = f.minX() + padding;
    if (button.symbol) {
        drawSymbol(cr, button.symbol->name,
                   {x, f.midY() - button.symbol->width / 2, button.symbol->width, button.symbol->width},
                   accented ? text : plain ? (button.isSelected ? p.accent : styled(button.symbol->style, {}, p)) : text);
        x += button.symbol->width + platform::metrics::kSymbolGap;
    }
    double width = textWidth(cr, button.title, style);
    if (!plain && !button.symbol) x = f.midX() - width / 2;
    drawText(cr, button.title, x, f.midY() - 8, style);
}

void drawSwitch(cairo_t* cr, bool on, const Rect& f, const Palette& p) {
    roundedRect(cr, f, f.height() / 2);
    setColor(cr, on ? p.accent : p.switchOff);
    cairo_fill(cr);
    double r = f.height() / 2 - 1.5;
    double cx = on ? f.maxX() - 1.5 - r : f.minX() + 1.5 + r;
    arc(cr, cx, f.midY() + 0.4, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.12);
    cairo_fill(cr);
    arc(cr, cx, f.midY(), r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_fill(cr);
}

void drawTemplateImage(cairo_t* cr, const platform::DrawnImage& image, const Rect& where,
                       const Color& color) {
    cairo_push_group(cr);
    drawYUp(cr, where, image.draw);
    cairo_pattern_t* mask = cairo_pop_group(cr);
    setColor(cr, color);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(mask);
}

void drawPicker(cairo_t* cr, const platform::PickerView& picker, const Rect& f, const Palette& p) {
    fillWithHairline(cr, f, 5, p.control, p.controlBorder);
    int index = picker.selectedIndex;
    if (index >= 0 && index < static_cast<int>(picker.options.size())) {
        const auto& option = picker.options[static_cast<std::size_t>(index)];
        double x = f.minX() + platform::metrics::kPopUpLeading;
        if (option.image && option.image->draw) {
            Rect where{x, f.midY() - option.image->size.height / 2, option.image->size.width,
                       option.image->size.height};
            drawTemplateImage(cr, *option.image, where, p.primary);
        } else {
            drawText(cr, option.title, x, f.midY() - 8, {13, PANGO_WEIGHT_NORMAL, p.primary},
                     f.width() - platform::metrics::kPopUpLeading - platform::metrics::kPopUpChevronArea);
        }
    }
    // The double chevron in its accent box.
    Rect box{f.maxX() - 20, f.minY() + 3, 16, f.height() - 6};
    roundedRect(cr, box, 4);
    setColor(cr, p.accent);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_set_line_width(cr, 1.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    double cx = box.midX(), cy = box.midY();
    cairo_move_to(cr, cx - 3, cy - 1.8);
    cairo_line_to(cr, cx, cy - 4.6);
    cairo_line_to(cr, cx + 3, cy - 1.8);
    cairo_move_to(cr, cx - 3, cy + 1.8);
    cairo_line_to(cr, cx, cy + 4.6);
    cairo_line_to(cr, cx + 3, cy + 1.8);
    cairo_stroke(cr);
}

void drawField(cairo_t* cr, const platform::ShortcutFieldView& field, const Rect& f, bool focused,
               const Palette& p) {
    if (focused) {
        roundedRect(cr, f.insetBy(-3, -3), 8);
        Color ring = p.accent;
        ring.alpha = 0.45;
        setColor(cr, ring);
        cairo_fill(cr);
    }
    roundedRect(cr, f.insetBy(0.5, 0.5), 6);
    setColor(cr, p.field);
    cairo_fill_preserve(cr);
    setColor(cr, focused ? p.accent : p.controlBorder);
    cairo_set_line_width(cr, focused ? 1 : 0.5);
    cairo_stroke(cr);
    // The magnifier of a search field.
    setColor(cr, p.secondary);
    cairo_set_line_width(cr, 1.2);
    arc(cr, f.minX() + 11, f.midY() - 1, 3.6, 0, 2 * M_PI);
    cairo_stroke(cr);
    strokeLine(cr, f.minX() + 13.6, f.midY() + 1.6, f.minX() + 16, f.midY() + 4);
    cairo_stroke(cr);
    double x = f.minX() + platform::metrics::kFieldIconArea;
    double room = f.width() - platform::metrics::kFieldIconArea - platform::metrics::kFieldClearArea;
    if (field.text.empty())
        drawText(cr, field.placeholder, x, f.midY() - 8, {13, PANGO_WEIGHT_NORMAL, p.tertiary}, room);
    else
        drawText(cr, field.text, x, f.midY() - 8, {13, PANGO_WEIGHT_NORMAL, p.primary}, room);
    if (field.showsClearButton) {
        double cx = f.maxX() - platform::metrics::kFieldClearArea / 2, cy = f.midY();
        arc(cr, cx, cy, 6.5, 0, 2 * M_PI);
        setColor(cr, p.tertiary);
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_set_line_width(cr, 1.3);
        strokeLine(cr, cx - 2.4, cy - 2.4, cx + 2.4, cy + 2.4);
        strokeLine(cr, cx + 2.4, cy - 2.4, cx - 2.4, cy + 2.4);
        cairo_stroke(cr);
    }
}

// The white checkmark of a selected swatch or a done status circle, as the Mac's controls draw it.
void drawCheckmark(cairo_t* cr, const Rect& circle) {
    const double inset = circle.width() * platform::kCheckmarkInset;
    const Rect square = circle.insetBy(inset, inset);
    const auto& points = platform::kCheckmarkPoints;
    cairo_move_to(cr, square.minX() + points[0].x * square.width(), square.minY() + points[0].y * square.height());
    for (std::size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, square.minX() + points[i].x * square.width(),
                      square.minY() + points[i].y * square.height());
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_set_line_width(cr, std::max(platform::kCheckmarkMinLineWidth, square.width() * platform::kCheckmarkLineWidth));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void drawSwatch(cairo_t* cr, const platform::SwatchView& swatch, const Rect& f) {
    double r = f.width() / 2;
    arc(cr, f.midX(), f.midY(), r - platform::kSwatchEdgeWidth, 0, 2 * M_PI);
    setColor(cr, swatch.color);
    cairo_fill_preserve(cr);
    setColor(cr, platform::kSwatchEdge);
    cairo_set_line_width(cr, platform::kSwatchEdgeWidth);
    cairo_stroke(cr);
    if (swatch.isSelected) drawCheckmark(cr, f);
}

void drawStatusCircle(cairo_t* cr, bool done, const Rect& f, const Palette& p) {
    double r = f.width() / 2;
    arc(cr, f.midX(), f.midY(), r - 0.75, 0, 2 * M_PI);
    if (done) {
        cairo_set_source_rgba(cr, 0.2, 0.78, 0.35, 1);
        cairo_fill(cr);
        drawCheckmark(cr, f);
    } else {
        setColor(cr, p.tertiary);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

void drawStackBackground(cairo_t* cr, const platform::StackView& stack, const Rect& f, const Palette& p) {
    if (stack.background == platform::StackBackground::SidebarMaterial) {
        cairo_rectangle(cr, f.minX(), f.minY(), f.width(), f.height());
        setColor(cr, p.sidebar);
        cairo_fill(cr);
    } else if (stack.background == platform::StackBackground::GroupBox) {
        fillWithHairline(cr, f, 8, p.groupBox, p.groupBorder);
    }
}

void drawHosted(cairo_t* cr, const platform::HostedView& hosted, const Rect& f, double time,
                platform::Appearance appearance) {
    if (!hosted.content) return;
    // The window server tells the view its size and appearance before it shows it.
    hosted.content->setSize(f.size);
    hosted.content->setAppearance(appearance);
    auto layer = hosted.content->layer();
    if (!layer) return;
    cairo_save(cr);
    cairo_rectangle(cr, f.minX(), f.minY(), f.width(), f.height());
    cairo_clip(cr);
    cairo_translate(cr, f.minX(), f.minY() + f.height());
    cairo_scale(cr, 1, -1);
    sim::drawLayer(cr, *layer, time);
    cairo_restore(cr);
}

void drawAlert(cairo_t* cr, const platform::Alert& alert, const Rect& frame, const Palette& p) {
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_set_source_rgba(cr, 0, 0, 0, 0.18);
    cairo_fill(cr);
    double width = 280;
    Rect sheet{frame.midX() - width / 2, frame.minY() + 40, width, 0};
    TextStyle title{13, PANGO_WEIGHT_BOLD, p.primary}, message{11, PANGO_WEIGHT_NORMAL, p.primary};
    auto titleLayout = textLayout(cr, alert.title, title, width - 40, true);
    auto messageLayout = textLayout(cr, alert.message, message, width - 40, true);
    int tw, th, mw, mh;
    pango_layout_get_pixel_size(titleLayout.get(), &tw, &th);
    pango_layout_get_pixel_size(messageLayout.get(), &mw, &mh);
    double buttonsHeight = 28.0 * static_cast<double>(alert.buttons.size());
    sheet.size.height = 20 + th + 8 + mh + 16 + buttonsHeight + 12;
    for (int i = 10; i >= 2; i -= 2) {
        roundedRect(cr, sheet.insetBy(-i, -i), 12 + i);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.04);
        cairo_fill(cr);
    }
    roundedRect(cr, sheet, 12);
    setColor(cr, p.window);
    cairo_fill(cr);
    pango_layout_set_alignment(titleLayout.get(), PANGO_ALIGN_CENTER);
    pango_layout_set_alignment(messageLayout.get(), PANGO_ALIGN_CENTER);
    showLayout(cr, titleLayout.get(), sheet.minX() + 20, sheet.minY() + 20, title.color);
    showLayout(cr, messageLayout.get(), sheet.minX() + 20, sheet.minY() + 28 + th, message.color);
    // Stacked buttons, the first the default one, as an alert with long titles shows them.
    double y = sheet.minY() + 20 + th + 8 + mh + 16;
    for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
        platform::ButtonView button;
        button.title = alert.buttons[i].title;
        button.role = alert.buttons[i].role;
        button.isDefault = i == 0;
        drawButton(cr, button, {sheet.minX() + 16, y, width - 32, 22}, p, true);
        y += 28;
    }
}

} // namespace

void drawWindow(cairo_t* cr, sim::SimMac& mac, const platform::Window& window, double screenHeight) {
    const Palette p = paletteFor(mac.appearance().current());
    Rect f = window.frame();
    double top = screenHeight - (f.origin.y + f.size.height);
    Rect frame{f.origin.x, top, f.size.width, f.size.height};
    for (int i = 12; i >= 1; i -= 2) {
        roundedRect(cr,
                    {frame.origin.x - i, top - i + 6, frame.size.width + 2 * i, frame.size.height + 2 * i},
                    12 + i);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.03);
        cairo_fill(cr);
    }
    cairo_save(cr);
    roundedRect(cr, frame, 12);
    cairo_clip_preserve(cr);
    setColor(cr, p.window);
    cairo_fill(cr);
    constexpr double kTitleBar = sim::SimTitledWindows::kTitleBarHeight;
    auto look = sim::SimTitledWindows::titleBarLook(window);
    if (!look.transparent && !look.fullSizeContent) {
        cairo_rectangle(cr, frame.origin.x, top + kTitleBar - 0.5, frame.size.width, 0.5);
        setColor(cr, p.separator);
        cairo_fill(cr);
    }
    if (!look.titleHidden)
        drawText(cr, window.title(), frame.origin.x + 80, top + 6, {13, PANGO_WEIGHT_SEMIBOLD, p.primary},
                 frame.size.width - 160);
    auto layout = platform::layoutViews(window.content(), mac.fonts());
    double contentTop = top + sim::SimTitledWindows::contentTop(window);
    auto responder = window.firstResponder();
    for (const auto& placed : layout.views) {
        Rect v(frame.origin.x + placed.frame.minX(), contentTop + placed.frame.minY(), placed.frame.width(),
               placed.frame.height());
        const auto& node = *placed.node;
        // Disabled controls draw faded; a dimmed row fades everything in it.
        double alpha = placed.opacity * (placed.disabled && !node.as<platform::StackView>() ? 0.5 : 1);
        cairo_push_group(cr);
        cairo_new_path(cr);
        if (const auto* stack = node.as<platform::StackView>()) {
            drawStackBackground(cr, *stack, v, p);
        } else if (const auto* text = node.as<platform::TextView>()) {
            auto font = platform::fontFor(text->role, text->weight);
            TextStyle style{font.size, pangoWeight(font.weight), styled(text->style, text->color, p)};
            // Wrap at the room the window leaves (its margins mirrored), not at the measured width:
            // a title measured to fit on one line must not wrap over a rounding difference.
            double room = std::max(
                v.width() + 1, std::min(frame.maxX() - v.minX(), frame.width() - 2 * placed.frame.minX()));
            drawWrappedText(cr, text->text, v.minX(), v.minY(), room, style);
        } else if (const auto* button = node.as<platform::ButtonView>()) {
            drawButton(cr, *button, v, p, window.isKeyWindow());
        } else if (const auto* symbol = node.as<platform::SymbolView>()) {
            drawSymbol(cr, symbol->name, v, styled(symbol->style, {}, p));
        } else if (const auto* toggle = node.as<platform::SwitchView>()) {
            drawSwitch(cr, toggle->isOn, v, p);
        } else if (const auto* picker = node.as<platform::PickerView>()) {
            drawPicker(cr, *picker, v, p);
        } else if (const auto* swatch = node.as<platform::SwatchView>()) {
            drawSwatch(cr, *swatch, v);
        } else if (const auto* circle = node.as<platform::StatusCircleView>()) {
            drawStatusCircle(cr, circle->done, v, p);
        } else if (const auto* field = node.as<platform::ShortcutFieldView>()) {
            drawField(cr, *field, v, responder == field->identifier && window.isKeyWindow(), p);
        } else if (const auto* hosted = node.as<platform::HostedView>()) {
            drawHosted(cr, *hosted, v, mac.now(), mac.appearance().current());
        } else if (node.as<platform::DividerView>()) {
            cairo_rectangle(cr, v.minX(), v.minY(), std::max(v.width(), 0.5), std::max(v.height(), 0.5));
            setColor(cr, p.separator);
            cairo_fill(cr);
        }
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    if (auto alert = sim::SimTitledWindows::alert(window)) drawAlert(cr, *alert, frame, p);
    // The window buttons sit over the content when it runs under the title bar.
    // A button whose action the window does not allow is drawn disabled: a grey disc with a rim.
    const Color lights[] = {{1.0, 0.37, 0.34, 1}, {1.0, 0.74, 0.18, 1}, {0.16, 0.79, 0.25, 1}};
    const std::uint64_t allows[] = {platform::kWindowStyleClosable, platform::kWindowStyleMiniaturizable,
                                    platform::kWindowStyleResizable};
    for (int i = 0; i < 3; ++i) {
        arc(cr, frame.origin.x + 16 + i * 20, top + kTitleBar / 2, 6, 0, 2 * M_PI);
        if (window.styleMask() & allows[i]) {
            setColor(cr, lights[i]);
            cairo_fill(cr);
            continue;
        }
        setColor(cr, p.switchOff);
        cairo_fill_preserve(cr);
        setColor(cr, p.separator);
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

} // namespace marlowick::console
