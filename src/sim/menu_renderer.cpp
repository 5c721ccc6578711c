#include "sim/menu_renderer.h"

#include "platform/path.h"
#include "sim/layer_renderer.h"

namespace marlowick::sim {

using platform::Color;
using platform::Rect;

namespace {

constexpr double kPadding = 5;
constexpr double kCornerRadius = 10;
constexpr double kItemHeight = 22;
constexpr double kSeparatorHeight = 11;
constexpr double kTitleInset = 14;
constexpr double kHighlightInset = 5;
constexpr double kHighlightCornerRadius = 5;

double itemHeight(const platform::MenuItem& item) {
    if (item.isSeparator()) return kSeparatorHeight;
    if (auto view = item.view()) return view->frame().height();
    return kItemHeight;
}

void drawTitle(platform::Canvas& canvas, const platform::MenuItem& item, const Rect& frame,
               const platform::Font& font, const Color& color) {
    const double height = canvas.measureText(item.title(), font).height;
    canvas.drawText(item.title(), {frame.minX() + kTitleInset, frame.minY() + (frame.height() - height) / 2},
                    font, color);
}

void drawItem(platform::Canvas& canvas, const PlacedMenuItem& placed, const MenuMaterial& material,
              const platform::SystemColors& colors) {
    const auto& item = *placed.item;
    const Rect& frame = placed.frame;
    if (item.isSeparator()) {
        platform::Path line;
        line.addRect({frame.minX() + 10, frame.minY() + 5, frame.width() - 20, 1});
        canvas.setFillColor(material.separator);
        canvas.fill(line);
        return;
    }
    if (auto view = item.view()) {
        // A custom view draws its own highlight, as AppKit leaves it to the view.
        canvas.save();
        canvas.translate(frame.minX(), frame.minY());
        platform::Path bounds;
        bounds.addRect({0, 0, frame.width(), frame.height()});
        canvas.clip(bounds);
        view->draw(canvas, colors);
        canvas.restore();
        return;
    }
    if (item.isSectionHeader()) {
        drawTitle(canvas, item, frame, platform::Font::system(11, platform::FontWeight::Semibold),
                  colors.secondaryLabel);
        return;
    }
    const bool highlighted = item.isHighlighted() && item.isEnabled();
    if (highlighted) {
        platform::Path highlight;
        highlight.addRoundedRect(frame.insetBy(kHighlightInset, 0), kHighlightCornerRadius,
                                 kHighlightCornerRadius);
        canvas.setFillColor(colors.controlAccent);
        canvas.fill(highlight);
    }
    const Color text = highlighted      ? colors.selectedMenuItemText
                       : item.isEnabled() ? colors.label
                                          : colors.tertiaryLabel;
    drawTitle(canvas, item, frame, platform::Font::system(13), text);
}

} // namespace

MenuMaterial menuMaterial(platform::Appearance appearance) {
    if (appearance == platform::Appearance::Dark) return {{0.17, 0.17, 0.18, 0.97}, {1, 1, 1, 0.16}, {1, 1, 1, 0.12}};
    return {{0.97, 0.97, 0.98, 0.97}, {0, 0, 0, 0.12}, {0, 0, 0, 0.1}};
}

std::vector<PlacedMenuItem> placeMenuItems(const platform::Menu& menu, double width) {
    std::vector<PlacedMenuItem> placed;
    double top = menuHeight(menu) - kPadding;
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        const double height = itemHeight(*item);
        top -= height;
        placed.push_back({item, {0, top, width, height}});
    }
    return placed;
}

double menuHeight(const platform::Menu& menu) {
    double height = 2 * kPadding;
    for (const auto& item : menu.items()) {
        if (!item->isHidden()) height += itemHeight(*item);
    }
    return height;
}

void drawMenu(platform::Canvas& canvas, const platform::Menu& menu, double width,
              const platform::SystemColors& colors) {
    const MenuMaterial material = menuMaterial(colors.appearance);
    const Rect area{0, 0, width, menuHeight(menu)};
    platform::Path body;
    body.addRoundedRect(area, kCornerRadius, kCornerRadius);
    canvas.setFillColor(material.fill);
    canvas.fill(body);
    platform::Path edge;
    edge.addRoundedRect(area.insetBy(0.25, 0.25), kCornerRadius, kCornerRadius);
    canvas.setStrokeColor(material.edge);
    canvas.setLineWidth(0.5);
    canvas.stroke(edge);
    for (const auto& placed : placeMenuItems(menu, width))
        drawItem(canvas, placed, material, colors);
}

Image renderMenu(const platform::Menu& menu, double width, const platform::SystemColors& colors, double scale) {
    return renderDrawing({width, menuHeight(menu)},
                         [&](platform::Canvas& canvas) { drawMenu(canvas, menu, width, colors); }, scale);
}

} // namespace marlowick::sim
