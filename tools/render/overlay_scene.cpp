#include "overlay_scene.h"

#include <cairo.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "overlay/ring_reveal.h"
#include "overlay/sidebar_overlay.h"
#include "overlay/stack_styles.h"
#include "platform/layer.h"
#include "platform/platform.h"
#include "platform/transaction.h"
#include "sim/cairo_canvas.h"
#include "sim/layer_renderer.h"

namespace marlowick::render {

using platform::Canvas;
using platform::Color;
using platform::Path;
using platform::Rect;

namespace {

const Color kDesktop{0.80, 0.84, 0.90, 1};
const Color kCard{0.97, 0.97, 0.98, 0.92};
const Color kCardBehind{0.90, 0.91, 0.93, 0.92};
const Color kIcon{0.55, 0.60, 0.70, 1};
const Color kTextBar{0.72, 0.74, 0.78, 1};
const Color kInk{0.12, 0.13, 0.15, 1};

// A notification card as Notification Center draws it, roughly: icon, title and body lines.
void drawCard(Canvas& canvas, const Rect& card, const Color& fill, bool withContent) {
    canvas.setFillColor(fill);
    canvas.fill(continuousRoundedPath(card, 22));
    if (!withContent || card.height() < 40 || card.width() < 120) return;
    Path icon;
    icon.addContinuousRoundedRect({card.minX() + 14, card.midY() - 15, 30, 30}, 7);
    canvas.setFillColor(kIcon);
    canvas.fill(icon);
    Path lines;
    lines.addRoundedRect({card.minX() + 54, card.midY() + 4, (card.width() - 70) * 0.55, 7}, 3.5, 3.5);
    lines.addRoundedRect({card.minX() + 54, card.midY() - 10, card.width() - 70, 7}, 3.5, 3.5);
    canvas.setFillColor(kTextBar);
    canvas.fill(lines);
}

void drawSidebar(Canvas& canvas, const SceneOptions& options) {
    Path all;
    all.addRect({0, 0, options.size.width, options.size.height});
    canvas.setFillColor(kDesktop);
    canvas.fill(all);
    for (std::size_t i = 0; i < options.items.size(); ++i) {
        if (i < options.itemIsStack.size() && options.itemIsStack[i])
            drawCard(canvas, cardBelow(options.items[i]), kCardBehind, false);
        drawCard(canvas, options.items[i], kCard, true);
    }
}

// The settings the overlay reads, as the user would have stored them.
void storeSettings(const SceneOptions& options) {
    auto& defaults = *platform::current().defaults;
    defaults.set(SettingsKey::stackStyle, std::string(rawValue(options.stackStyle)));
    defaults.set(SettingsKey::ringReveal, std::string(rawValue(options.reveal)));
    defaults.set(SettingsKey::highlightColor, options.color);
}

void drawLabel(cairo_t* cr, const std::string& text, platform::Point origin, double size,
               platform::FontWeight weight) {
    sim::CairoCanvas canvas(cr);
    canvas.drawText(text, origin, platform::Font::system(size, weight), kInk);
}

// The three-card sidebar every cell of the contact sheet shows; the middle card is selected.
SceneOptions cell(bool stack) {
    SceneOptions options;
    options.size = {300, 220};
    options.items = {{16, 140, 268, 64}, {16, 56, 268, 64}, {16, -48, 268, 64}};
    options.itemIsStack = {false, stack, false};
    options.selected = 1;
    return options;
}

} // namespace

sim::Image renderScene(const SceneOptions& options) {
    storeSettings(options);
    auto overlay = SidebarOverlay::create({0, 0, options.size.width, options.size.height});
    overlay->setWindowBackingScale(options.scale);
    overlay->itemFrames = options.items;
    overlay->itemIsStack = options.itemIsStack;
    overlay->selected = options.selected;
    overlay->showsRing = options.showsRing;
    overlay->pendingReveal = options.reveal != RingReveal::none;
    if (options.pendingKey)
        overlay->handleKey(Hotkeys::kVimPickerCodeBase + static_cast<int>(*options.pendingKey));
    const double start = platform::currentMediaTime();
    overlay->display();

    auto root = platform::Layer::make();
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    root->setFrame({0, 0, options.size.width, options.size.height});
    if (options.backdrop) root->setContentDrawer([options](Canvas& canvas) { drawSidebar(canvas, options); });
    root->addSublayer(overlay->layer());
    platform::Transaction::commit();
    auto image = sim::renderLayerTree(*root, start + options.time, options.scale);
    overlay->clearPendingKey();
    return image;
}

sim::Image renderContactSheet(const std::string& color, double scale) {
    constexpr double labelWidth = 120, headerHeight = 34, titleHeight = 40, gap = 8;
    const SceneOptions sample = cell(false);
    const double cellWidth = sample.size.width, cellHeight = sample.size.height;
    const auto styles = allCases<StackStyle>();
    const auto reveals = allCases<RingReveal>();
    constexpr std::array<double, 5> fractions{0, 0.25, 0.5, 0.75, 1};

    const double width = labelWidth + styles.size() * (cellWidth + gap);
    const double stylesHeight = titleHeight + headerHeight + 2 * (cellHeight + gap);
    const double revealsHeight = titleHeight + headerHeight + reveals.size() * (cellHeight + gap);
    const double height = stylesHeight + revealsHeight;
    sim::Image sheet({width, height}, scale);

    cairo_t* cr = cairo_create(sheet.surface());
    // Points with y up, as every drawing in the product is made.
    cairo_scale(cr, scale, -scale);
    cairo_translate(cr, 0, -height);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);

    const auto place = [&](const sim::Image& picture, double x, double topY) {
        cairo_save(cr);
        cairo_translate(cr, x, topY);
        cairo_scale(cr, 1 / scale, -1 / scale);
        cairo_set_source_surface(cr, picture.surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    };
    // Rows run downwards from the top of the sheet.
    double top = height;
    const auto title = [&](const std::string& text) {
        drawLabel(cr, text, {12, top - 28}, 18, platform::FontWeight::Bold);
        top -= titleHeight;
    };
    const auto header = [&](const std::vector<std::string>& columns) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            drawLabel(cr, columns[c], {labelWidth + c * (cellWidth + gap) + 4, top - 24}, 14,
                      platform::FontWeight::Semibold);
        top -= headerHeight;
    };

    title("Stack styles (selected: the middle card)");
    std::vector<std::string> styleNames;
    for (auto style : styles)
        styleNames.emplace_back(rawValue(style));
    header(styleNames);
    for (bool stack : {true, false}) {
        drawLabel(cr, stack ? "on a stack" : "single row", {12, top - cellHeight / 2 - 8}, 14,
                  platform::FontWeight::Regular);
        for (std::size_t c = 0; c < styles.size(); ++c) {
            SceneOptions options = cell(stack);
            options.stackStyle = styles[c];
            options.color = color;
            options.scale = scale;
            place(renderScene(options), labelWidth + c * (cellWidth + gap), top);
        }
        top -= cellHeight + gap;
    }

    title("Ring reveals on a stack (expandPill), at 0, 25, 50, 75 and 100 % of their length");
    header({"0 %", "25 %", "50 %", "75 %", "100 %"});
    for (auto reveal : reveals) {
        char length[64];
        std::snprintf(length, sizeof length, "%.2f s", revealLength(reveal));
        drawLabel(cr, std::string(rawValue(reveal)), {12, top - cellHeight / 2 - 2}, 14,
                  platform::FontWeight::Semibold);
        drawLabel(cr, length, {12, top - cellHeight / 2 - 20}, 12, platform::FontWeight::Regular);
        for (std::size_t c = 0; c < fractions.size(); ++c) {
            SceneOptions options = cell(true);
            options.reveal = reveal;
            options.time = fractions[c] * revealLength(reveal);
            options.color = color;
            options.scale = scale;
            place(renderScene(options), labelWidth + c * (cellWidth + gap), top);
        }
        top -= cellHeight + gap;
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet.surface());
    return sheet;
}

} // namespace marlowick::render
