#include "overlay/key_cap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/path.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

constexpr double kBoxPadding = 8;
constexpr double kBoxCornerRadius = 5;
constexpr double kBoxFillAlpha = 0.1;
constexpr double kBoxStrokeAlpha = 0.3;

// The modifier glyphs that get a cap of their own when they lead a shortcut's display text.
constexpr std::array<std::string_view, 4> kModifierGlyphs{"⌃", "⌥", "⇧", "⌘"};

std::optional<std::string_view> leadingModifierGlyph(std::string_view text) {
    for (std::string_view glyph : kModifierGlyphs) {
        if (text.starts_with(glyph)) return glyph;
    }
    return std::nullopt;
}

double boxWidth(double textWidth) {
    return std::max(textWidth + kBoxPadding, kKeyCapHeight);
}

// Text widths are whole points, so caps line up however the text was measured.
double roundedWidth(platform::Size measured) {
    return std::ceil(measured.width);
}

} // namespace

platform::Font keyCapFont() {
    return platform::Font::system(11.5, platform::FontWeight::Medium);
}

double capWidth(const KeyCap& cap) {
    const double width = roundedWidth(platform::current().fonts->measureText(cap.label, keyCapFont()));
    return cap.kind == KeyCap::Kind::key ? boxWidth(width) : width;
}

double capsWidth(const std::vector<KeyCap>& caps) {
    if (caps.empty()) return 0;
    double total = kKeyCapSpacing * static_cast<double>(caps.size() - 1);
    for (const auto& cap : caps)
        total += capWidth(cap);
    return total;
}

void drawCaps(platform::Canvas& canvas, const std::vector<KeyCap>& caps, const Color& color, Point origin) {
    const platform::Font font = keyCapFont();
    double x = origin.x;
    for (const auto& cap : caps) {
        const platform::Size measured = canvas.measureText(cap.label, font);
        const double width = roundedWidth(measured);
        const double slot = cap.kind == KeyCap::Kind::key ? boxWidth(width) : width;
        const Rect box{x, origin.y, slot, kKeyCapHeight};
        if (cap.kind == KeyCap::Kind::key) {
            // The box has alphas of its own; the label colour lends it only its hue.
            platform::Path outline;
            outline.addRoundedRect(box.insetBy(0.5, 0.5), kBoxCornerRadius, kBoxCornerRadius);
            canvas.setFillColor(color.withAlpha(kBoxFillAlpha));
            canvas.fill(outline);
            canvas.setStrokeColor(color.withAlpha(kBoxStrokeAlpha));
            canvas.setLineWidth(1);
            canvas.stroke(outline);
        }
        // Centred on the measured text, not the rounded width, so narrow glyphs sit in the middle.
        canvas.drawText(cap.label, {box.midX() - measured.width / 2, box.midY() - measured.height / 2}, font,
                        color);
        x += slot + kKeyCapSpacing;
    }
}

std::string joinedCapsText(const std::vector<KeyCap>& caps) {
    std::string joined;
    for (const auto& cap : caps)
        joined += cap.label;
    return joined;
}

std::vector<KeyCap> capsForShortcut(const std::optional<KeyboardShortcuts::Shortcut>& shortcut) {
    if (!shortcut) return {KeyCap::text("Not set")};
    std::vector<KeyCap> caps;
    const std::string description = shortcut->description();
    std::string_view rest = description;
    while (const auto glyph = leadingModifierGlyph(rest)) {
        caps.push_back(KeyCap::key(std::string(*glyph)));
        rest.remove_prefix(glyph->size());
    }
    if (!rest.empty()) caps.push_back(KeyCap::key(std::string(rest)));
    return caps;
}

} // namespace marlowick
