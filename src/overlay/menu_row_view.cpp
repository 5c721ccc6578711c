#include "overlay/menu_row_view.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "platform/key_codes.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "platform/system_colors.h"

namespace marlowick {

using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

// The standard menu font's size; the real menu font is the system face at this size.
constexpr double kMenuFontSize = 14;
constexpr double kTextInset = 16;
// Between the key column of a legend row and its title.
constexpr double kLegendTitleGap = 10;
constexpr double kHighlightInsetX = 5;
constexpr double kHighlightInsetY = 1;
constexpr double kHighlightCornerRadius = 9;
constexpr double kSwitchWidth = 30;
constexpr double kSwitchHeight = 18;
constexpr double kKnobDiameter = 14;
constexpr double kKnobInset = 2;
// Between the right-hand text of a switch row and its switch.
constexpr double kSwitchTextGap = 10;
constexpr double kChevronInset = 16;
constexpr double kChevronHalfWidth = 5;

double measuredWidth(std::string_view text, const Font& font) {
    if (text.empty()) return 0;
    return std::ceil(platform::current().fonts->measureText(text, font).width);
}

// Draws one line of text centred vertically in a row of the height, starting at x.
void drawCentredText(platform::Canvas& canvas, std::string_view text, double x, double rowHeight,
                     const Font& font, const Color& color) {
    const platform::Size size = canvas.measureText(text, font);
    canvas.drawText(text, {x, (rowHeight - size.height) / 2}, font, color);
}

} // namespace

std::shared_ptr<MenuRowView> MenuRowView::create(std::string title, Kind kind, std::vector<KeyCap> caps) {
    return std::shared_ptr<MenuRowView>(new MenuRowView(std::move(title), kind, std::move(caps)));
}

MenuRowView::MenuRowView(std::string title, Kind kind, std::vector<KeyCap> caps)
    : caps(std::move(caps)), title(std::move(title)), kind(kind) {}

Font MenuRowView::menuFont() {
    return Font::system(kMenuFontSize);
}
Font MenuRowView::switchTitleFont() {
    return Font::system(kMenuFontSize, FontWeight::Semibold);
}
Font MenuRowView::headerTitleFont() {
    return Font::system(11.5, FontWeight::Semibold);
}

Font MenuRowView::titleFont(Kind kind) {
    switch (kind) {
    case Kind::onOff:
        return switchTitleFont();
    case Kind::disclosure:
        return headerTitleFont();
    case Kind::action:
    case Kind::legend:
        break;
    }
    return menuFont();
}

MenuRowView::Colors MenuRowView::currentColors(const platform::SystemColors& system) const {
    const Colors normal{system.label, system.secondaryLabel, false};
    const Colors disabled{system.tertiaryLabel, system.tertiaryLabel, false};
    const Color highlightedText = system.selectedMenuItemText;
    const Colors highlighted{highlightedText, highlightedText.withAlpha(0.85 * highlightedText.alpha), true};
    const bool itemHighlighted = host_ && host_->isHighlighted();
    switch (kind) {
    case Kind::action:
        if (!host_ || !host_->isEnabled()) return disabled;
        return itemHighlighted ? highlighted : normal;
    case Kind::legend:
        return normal;
    case Kind::onOff:
    case Kind::disclosure:
        break;
    }
    return itemHighlighted ? highlighted : normal;
}

void MenuRowView::draw(platform::Canvas& canvas, const platform::SystemColors& system) {
    needsDisplay_ = false;
    const Rect area = bounds();
    const double height = area.height();
    const Colors colors = currentColors(system);
    if (colors.highlighted) {
        Path background;
        background.addRoundedRect(area.insetBy(kHighlightInsetX, kHighlightInsetY), kHighlightCornerRadius,
                                  kHighlightCornerRadius);
        canvas.setFillColor(system.controlAccent);
        canvas.fill(background);
    }

    const std::string rightText = joinedCapsText(caps);
    double titleX = kTextInset;
    Color titleColor = colors.primary;
    switch (kind) {
    case Kind::action: {
        const double width = canvas.measureText(rightText, menuFont()).width;
        drawCentredText(canvas, rightText, area.maxX() - kTextInset - width, height, menuFont(),
                        colors.secondary);
        break;
    }
    case Kind::legend:
        drawCaps(canvas, caps, colors.primary, {kTextInset, (height - kKeyCapHeight) / 2});
        titleX = columnWidth + kLegendTitleGap + kTextInset;
        break;
    case Kind::onOff: {
        drawSwitch(canvas, area, system);
        const double switchMinX = area.maxX() - kTextInset - kSwitchWidth;
        const double width = canvas.measureText(rightText, menuFont()).width;
        if (!rightText.empty())
            drawCentredText(canvas, rightText, switchMinX - kSwitchTextGap - width, height, menuFont(),
                            colors.secondary);
        break;
    }
    case Kind::disclosure:
        drawChevron(canvas, area, colors.secondary);
        titleColor = colors.secondary;
        break;
    }
    drawCentredText(canvas, title, titleX, height, titleFont(kind), titleColor);
}

void MenuRowView::drawSwitch(platform::Canvas& canvas, const Rect& area,
                             const platform::SystemColors& system) const {
    const Rect track{area.maxX() - kTextInset - kSwitchWidth, (area.height() - kSwitchHeight) / 2,
                     kSwitchWidth, kSwitchHeight};
    Path trackPath;
    trackPath.addRoundedRect(track, kSwitchHeight / 2, kSwitchHeight / 2);
    canvas.setFillColor(isOn ? system.systemGreen : system.tertiaryLabel);
    canvas.fill(trackPath);

    const double knobX = isOn ? track.maxX() - kKnobInset - kKnobDiameter : track.minX() + kKnobInset;
    Path knob;
    knob.addEllipse({knobX, track.minY() + kKnobInset, kKnobDiameter, kKnobDiameter});
    canvas.setFillColor(platform::whiteColor());
    canvas.fill(knob);
}

void MenuRowView::drawChevron(platform::Canvas& canvas, const Rect& area, const Color& color) const {
    const double cx = area.maxX() - kChevronInset - kChevronHalfWidth;
    const double cy = area.height() / 2;
    Path chevron;
    if (isOn) { // unfolded: pointing down
        chevron.moveTo({cx - 4.5, cy + 2});
        chevron.lineTo({cx, cy - 2.5});
        chevron.lineTo({cx + 4.5, cy + 2});
    } else { // folded: pointing right
        chevron.moveTo({cx - 2, cy + 4.5});
        chevron.lineTo({cx + 2.5, cy});
        chevron.lineTo({cx - 2, cy - 4.5});
    }
    canvas.save();
    canvas.setStrokeColor(color);
    canvas.setLineWidth(1.5);
    canvas.setLineCap(platform::LineCap::Round);
    canvas.setLineJoin(platform::LineJoin::Round);
    canvas.stroke(chevron);
    canvas.restore();
}

double MenuRowView::intrinsicWidth() const {
    const double titleWidth = measuredWidth(title, titleFont(kind));
    const double capsTextWidth = measuredWidth(joinedCapsText(caps), menuFont());
    constexpr double margins = 2 * kTextInset;
    // Room between the title and what stands at the right edge.
    constexpr double gap = 24;
    switch (kind) {
    case Kind::action:
        return titleWidth + margins + gap + capsTextWidth;
    case Kind::legend:
        return titleWidth + columnWidth + margins + kLegendTitleGap;
    case Kind::onOff:
        return titleWidth + margins + gap + (caps.empty() ? 0 : capsTextWidth + kSwitchTextGap) +
               kSwitchWidth;
    case Kind::disclosure:
        break;
    }
    return titleWidth + margins + gap + 2 * kChevronHalfWidth;
}

void MenuRowView::activate() {
    if (kind == Kind::legend) return;
    // A copy: the callbacks below may replace the row's host.
    const std::shared_ptr<MenuRowHost> host = host_;
    if (!host || !host->isEnabled() || !host->hasMenu()) return;
    auto& runLoop = *platform::current().runLoop;
    if (onToggle) {
        onToggle();
        // Clicking moved the menu's highlight; put it back on this row, which stays under the pointer.
        runLoop.async([host] {
            if (host->hasMenu() && host->menuCanHighlightItems() && !host->isHighlighted())
                host->highlightInMenu();
        });
        return;
    }
    const int index = host->indexInMenu();
    host->cancelMenuTracking();
    // The action runs once the menu has closed, as a click on a standard item would run it.
    runLoop.async([host, index] {
        if (index >= 0) host->performMenuActionAtIndex(index);
    });
}

} // namespace marlowick
