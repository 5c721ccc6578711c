#include "console/screen.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>
#include <memory>

#include "console/paint.h"
#include "console/screen_window.h"
#include "sim/cairo_canvas.h"
#include "sim/layer_renderer.h"
#include "sim/menu_renderer.h"

namespace marlowick::console {

namespace {

using platform::Color;
using platform::Rect;

constexpr double kScreenWidth = sim::SimScreens::kWidth;
constexpr double kScreenHeight = sim::SimScreens::kHeight;
constexpr double kMenuBarHeight = sim::SimScreens::kMenuBarHeight;
constexpr double kScale = 2.0;
// Notification Center's own menu-bar items (Control Center, the clock) start here; ours go left of it.
constexpr double kSystemExtrasLeft = kScreenWidth - 190;

// Everything here draws in top-left-origin points, as the accessibility tree reports frames.

using namespace paint;

// A steady colour per application, as its icon would have.
Color iconColor(const std::string& app) {
    static const Color kPalette[] = {
        {0.20, 0.52, 0.98, 1}, {0.20, 0.78, 0.35, 1}, {0.98, 0.23, 0.19, 1}, {1.00, 0.58, 0.00, 1},
        {0.69, 0.32, 0.87, 1}, {0.35, 0.34, 0.84, 1}, {0.19, 0.69, 0.78, 1}, {1.00, 0.18, 0.33, 1},
    };
    // FNV-1a: the same colour for the same name on every run and every machine.
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : app)
        hash = (hash ^ c) * 16777619u;
    return kPalette[hash % std::size(kPalette)];
}

void drawAppIcon(cairo_t* cr, const std::string& app, double x, double y, double size) {
    Color color = iconColor(app);
    cairo_pattern_t* fill = cairo_pattern_create_linear(x, y, x, y + size);
    cairo_pattern_add_color_stop_rgb(fill, 0, std::min(1.0, color.red + 0.15),
                                     std::min(1.0, color.green + 0.15), std::min(1.0, color.blue + 0.15));
    cairo_pattern_add_color_stop_rgb(fill, 1, color.red, color.green, color.blue);
    roundedRect(cr, {x, y, size, size}, size * 0.24);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    std::string initial = app.empty() ? "?" : app.substr(0, 1);
    if (static_cast<unsigned char>(initial[0]) >= 0x80) initial = "•";
    TextStyle style{size * 0.5, PANGO_WEIGHT_BOLD, {1, 1, 1, 1}};
    drawText(cr, initial, x + size * 0.32, y + size * 0.2, style);
}

void cardShape(cairo_t* cr, const Rect& frame, double alpha) {
    // A soft shadow under a light, slightly translucent card.
    for (int i = 3; i >= 1; --i) {
        Rect shadow{frame.origin.x - i, frame.origin.y - i + 2, frame.size.width + 2 * i,
                    frame.size.height + 2 * i};
        roundedRect(cr, shadow, 16 + i);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.035 * alpha);
        cairo_fill(cr);
    }
    roundedRect(cr, frame, 16);
    cairo_set_source_rgba(cr, 0.965, 0.965, 0.975, 0.94 * alpha);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5 * alpha);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

void drawCard(cairo_t* cr, const Card& card) {
    const Rect& f = card.frame;
    if (card.kind == Card::Kind::Heading) {
        drawText(cr, card.label, f.origin.x + 6, f.origin.y + 5, {15, PANGO_WEIGHT_SEMIBOLD, {1, 1, 1, 0.95}},
                 f.size.width - 6);
        return;
    }
    if (card.kind == Card::Kind::Button) {
        roundedRect(cr, f, f.size.height / 2);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
        cairo_fill(cr);
        std::string label = card.label == "Clear All" && f.size.width < 40 ? "×" : card.label;
        TextStyle style{11.5, PANGO_WEIGHT_MEDIUM, {0.1, 0.1, 0.12, 0.85}};
        double y = f.origin.y + (f.size.height - 15) / 2;
        // A wide button (the history button) centres its label, as the system draws it.
        double x = f.origin.x + 8;
        if (f.size.width > 160) x = f.origin.x + (f.size.width - textWidth(cr, label, style)) / 2;
        drawText(cr, label, x, y, style, f.size.width - 12);
        return;
    }
    Rect top = f;
    if (card.kind == Card::Kind::Stack) {
        // The cards below the top one show as two edges under it.
        top.size.height = 70;
        Rect second{f.origin.x + 10, f.origin.y + 12, f.size.width - 20, 64};
        Rect third{f.origin.x + 20, f.origin.y + 18, f.size.width - 40, 64};
        cardShape(cr, third, 0.55);
        cardShape(cr, second, 0.75);
    }
    cardShape(cr, top, 1);
    double x = f.origin.x + 12;
    drawAppIcon(cr, card.app, x, top.origin.y + (top.size.height - 34) / 2, 34);
    double textX = x + 44;
    double width = f.size.width - (textX - f.origin.x) - 14;
    drawText(cr, card.app, textX, top.origin.y + 9, {11, PANGO_WEIGHT_MEDIUM, {0.35, 0.35, 0.38, 0.9}},
             width - 40);
    drawText(cr, card.kind == Card::Kind::Banner ? "now" : "", f.origin.x + f.size.width - 40,
             top.origin.y + 9, {11, PANGO_WEIGHT_NORMAL, {0.45, 0.45, 0.48, 0.9}});
    drawText(cr, card.title, textX, top.origin.y + 25,
             {13.5, PANGO_WEIGHT_SEMIBOLD, {0.07, 0.07, 0.08, 0.95}}, width);
    if (!card.body.empty())
        drawText(cr, card.body, textX, top.origin.y + 43, {13, PANGO_WEIGHT_NORMAL, {0.15, 0.15, 0.17, 0.9}},
                 width);
}

void drawDesktop(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, kScreenWidth, kScreenHeight);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.11, 0.17, 0.42);
    cairo_pattern_add_color_stop_rgb(sky, 0.5, 0.42, 0.30, 0.62);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.93, 0.58, 0.52);
    cairo_rectangle(cr, 0, 0, kScreenWidth, kScreenHeight);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // Two soft lights, so that the translucent cards have something to sit on.
    struct Glow {
        double x, y, radius;
        Color color;
    };
    for (const Glow& glow :
         {Glow{300, 760, 520, {0.98, 0.75, 0.55, 0.35}}, Glow{1180, 240, 480, {0.45, 0.70, 0.98, 0.30}}}) {
        cairo_pattern_t* light = cairo_pattern_create_radial(glow.x, glow.y, 0, glow.x, glow.y, glow.radius);
        cairo_pattern_add_color_stop_rgba(light, 0, glow.color.red, glow.color.green, glow.color.blue,
                                          glow.color.alpha);
        cairo_pattern_add_color_stop_rgba(light, 1, glow.color.red, glow.color.green, glow.color.blue, 0);
        cairo_rectangle(cr, 0, 0, kScreenWidth, kScreenHeight);
        cairo_set_source(cr, light);
        cairo_fill(cr);
        cairo_pattern_destroy(light);
    }
}

// The menu bar's translucent backing and its text, which is light in the dark appearance.
struct MenuBarLook {
    Color backing;
    Color text;
    Color appName; // the front application's name, in bold
    Color extras;  // Control Center's switches
    Color openItem;
};

MenuBarLook menuBarLook(platform::Appearance appearance) {
    if (appearance == platform::Appearance::Dark)
        return {{0.1, 0.1, 0.12, 0.6}, {1, 1, 1, 0.88}, {1, 1, 1, 0.92}, {1, 1, 1, 0.82}, {1, 1, 1, 0.2}};
    return {{0.96, 0.95, 0.97, 0.72}, {0, 0, 0, 0.85}, {0, 0, 0, 0.88}, {0, 0, 0, 0.8}, {0, 0, 0, 0.12}};
}

// A template image shows only its alpha, in the menu bar's text colour.
void drawStatusImage(cairo_t* cr, const platform::DrawnImage& image, const Rect& where, const Color& text) {
    if (!image.draw) return;
    if (!image.isTemplate) {
        drawYUp(cr, where, image.draw);
        return;
    }
    cairo_push_group(cr);
    drawYUp(cr, where, image.draw);
    cairo_pattern_t* mask = cairo_pop_group(cr);
    setColor(cr, text);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(mask);
}

struct StatusItemPlace {
    std::shared_ptr<platform::StatusItem> item;
    Rect frame; // the button in the menu bar
};

std::vector<StatusItemPlace> statusItemPlaces(sim::SimMac& mac) {
    std::vector<StatusItemPlace> places;
    double right = kSystemExtrasLeft - 6;
    for (const auto& item : mac.statusBar().items()) {
        auto* button = item->button();
        double width = button ? std::max(button->image().size.width, 16.0) + 12 : 24;
        right -= width;
        places.push_back({item, {right, 0, width, kMenuBarHeight}});
    }
    return places;
}

std::string clockText(sim::SimMac& mac) {
    std::time_t seconds = static_cast<std::time_t>(mac.runLoop().secondsSince1970());
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%a %e %b  %H:%M", &parts);
    return text;
}

void drawMenuBar(cairo_t* cr, sim::SimMac& mac) {
    const MenuBarLook look = menuBarLook(mac.appearance().current());
    cairo_rectangle(cr, 0, 0, kScreenWidth, kMenuBarHeight);
    setColor(cr, look.backing);
    cairo_fill(cr);
    TextStyle bold{13, PANGO_WEIGHT_BOLD, look.appName};
    TextStyle plain{13, PANGO_WEIGHT_NORMAL, look.text};
    // An apple-less logo: the system menu as a small filled circle.
    cairo_arc(cr, 22, kMenuBarHeight / 2, 6, 0, 2 * M_PI);
    setColor(cr, look.text);
    cairo_fill(cr);
    double x = 44;
    x += drawText(cr, "Finder", x, 4, bold) + 20;
    for (const char* menu : {"File", "Edit", "View", "Go", "Window", "Help"})
        x += drawText(cr, menu, x, 4, plain) + 20;
    // Control Center: two small switches.
    for (int i = 0; i < 2; ++i) {
        roundedRect(cr, {kSystemExtrasLeft + 12, 6.0 + i * 7, 16, 5}, 2.5);
        setColor(cr, look.extras);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    drawText(cr, clockText(mac), kScreenWidth - 136, 4, plain);
    for (const auto& place : statusItemPlaces(mac)) {
        auto* button = place.item->button();
        if (!button) continue;
        const auto& image = button->image();
        Rect where{place.frame.origin.x + (place.frame.size.width - image.size.width) / 2,
                   (kMenuBarHeight - image.size.height) / 2, image.size.width, image.size.height};
        if (mac.menus().openMenu() && place.item->menu() == mac.menus().openMenu()) {
            roundedRect(cr, {place.frame.origin.x, 2, place.frame.size.width, kMenuBarHeight - 4}, 5);
            setColor(cr, look.openItem);
            cairo_fill(cr);
        }
        drawStatusImage(cr, image, where, look.text);
    }
}

void drawSidebarBackdrop(cairo_t* cr, const std::vector<Card>& cards) {
    bool sidebar =
        std::any_of(cards.begin(), cards.end(), [](const Card& c) { return c.kind != Card::Kind::Banner; });
    if (!sidebar) return;
    double left = kScreenWidth - 400;
    cairo_pattern_t* shade = cairo_pattern_create_linear(left, 0, kScreenWidth, 0);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(shade, 0.25, 0, 0, 0, 0.12);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0.18);
    cairo_rectangle(cr, left, kMenuBarHeight, kScreenWidth - left, kScreenHeight - kMenuBarHeight);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

void drawOverlayPanels(cairo_t* cr, sim::SimMac& mac) {
    auto panels = mac.windows().onScreen();
    // Back to front, so that the front one is drawn last.
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        const auto& panel = **it;
        if (!panel.contentView) continue;
        sim::Image content = sim::renderLayerTree(*panel.contentView, mac.now(), kScale);
        const Rect& f = panel.frame;
        double top = kScreenHeight - (f.origin.y + f.size.height);
        cairo_save(cr);
        cairo_translate(cr, f.origin.x, top);
        cairo_scale(cr, 1 / kScale, 1 / kScale);
        cairo_set_source_surface(cr, content.surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

// The open menu, drawn under its status item in the system's appearance.
void drawMenu(cairo_t* cr, sim::SimMac& mac) {
    auto menu = mac.menus().openMenu();
    if (!menu) return;
    double left = kSystemExtrasLeft - 300;
    for (const auto& place : statusItemPlaces(mac)) {
        if (place.item->menu() == menu) left = place.frame.origin.x;
    }
    const double width = mac.menus().openMenuWidth();
    const double height = sim::menuHeight(*menu);
    left = std::min(left, kScreenWidth - width - 6);
    const Rect frame{left, kMenuBarHeight + 3, width, height};
    for (int i = 6; i >= 1; --i) {
        roundedRect(cr, {left - i, frame.origin.y - i + 3, width + 2 * i, height + 2 * i}, 10 + i);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.03);
        cairo_fill(cr);
    }
    const platform::SystemColors colors = mac.appearance().colors();
    drawYUp(cr, frame, [&](platform::Canvas& canvas) { sim::drawMenu(canvas, *menu, width, colors); });
}

} // namespace

sim::Image renderScreen(sim::SimMac& mac) {
    sim::Image image({kScreenWidth, kScreenHeight}, kScale);
    cairo_t* cr = cairo_create(image.surface());
    cairo_scale(cr, kScale, kScale);
    drawDesktop(cr);
    auto cards = visibleCards(mac);
    drawSidebarBackdrop(cr, cards);
    for (const auto& card : cards)
        drawCard(cr, card);
    for (const auto& window : mac.titledWindows().visibleWindows()) {
        if (window->isVisible()) drawWindow(cr, mac, *window, kScreenHeight);
    }
    drawOverlayPanels(cr, mac);
    drawMenuBar(cr, mac);
    drawMenu(cr, mac);
    cairo_destroy(cr);
    return image;
}

} // namespace marlowick::console
