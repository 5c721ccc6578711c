#include "overlay/menu_bar_icon.h"

#include "platform/path.h"
#include "platform/system_colors.h"

namespace marlowick {

using platform::BlendMode;
using platform::Path;
using platform::Rect;

namespace {

constexpr double kLineWidth = 1.3;
constexpr double kCornerRadius = 4;
constexpr double kDotInset = 3.2;
constexpr double kDotDiameter = 4.2;
// How far the stack style raises its card to make room for the edge of the card behind.
constexpr double kStackRaise = 1.5;
constexpr double kOffAlpha = 0.4;
constexpr platform::Point kSlashStart{21.5, 20.5};
constexpr platform::Point kSlashEnd{4.5, 1.5};
constexpr double kSlashWidth = 1.4;
// The slash clears a margin of a point on each side through the dimmed icon.
constexpr double kSlashGapWidth = 3.4;

// The card behind a raised card: its lower corners and the stubs of its sides, ending on the front
// card's lower edge.
Path stackEdge(const Rect& card) {
    const Rect edge{card.minX() + 3, card.minY() - 3, card.width() - 6, 6};
    Path path;
    path.moveTo({edge.minX(), edge.midY()});
    path.lineTo({edge.minX(), edge.minY() + 2});
    path.quadTo({edge.minX(), edge.minY()}, {edge.minX() + 2, edge.minY()});
    path.lineTo({edge.maxX() - 2, edge.minY()});
    path.quadTo({edge.maxX(), edge.minY()}, {edge.maxX(), edge.minY() + 2});
    path.lineTo({edge.maxX(), edge.midY()});
    return path;
}

void drawOnVariant(platform::Canvas& canvas, MenuBarIcon style) {
    canvas.save();
    canvas.setFillColor(platform::blackColor());
    canvas.setStrokeColor(platform::blackColor());
    canvas.setLineWidth(kLineWidth);
    canvas.setLineCap(platform::LineCap::Round);

    const bool stacked = style == MenuBarIcon::wideDotStack;
    const Rect card{2, stacked ? 5.5 + kStackRaise : 5.5, 22, 12};
    if (stacked) canvas.stroke(stackEdge(card));

    Path cardPath;
    if (style == MenuBarIcon::wideDotFill) {
        cardPath.addRoundedRect(card, kCornerRadius, kCornerRadius);
        canvas.fill(cardPath, platform::FillRule::NonZero);
        // The dot below is cut out of the solid card instead of painted on it.
        canvas.setBlendMode(BlendMode::DestinationOut);
    } else {
        const double inset = kLineWidth / 2;
        cardPath.addRoundedRect(card.insetBy(inset, inset), kCornerRadius, kCornerRadius);
        canvas.stroke(cardPath);
    }

    const Rect dot{card.minX() + kDotInset, card.maxY() - kDotInset - kDotDiameter, kDotDiameter,
                   kDotDiameter};
    Path dotPath;
    dotPath.addEllipse(dot);
    canvas.fill(dotPath);

    if (style == MenuBarIcon::wideDotLines) {
        const double x1 = dot.maxX() + 2.2;
        const double x2 = card.maxX() - kDotInset;
        Path lines; // a shorter upper line over a longer lower one
        lines.moveTo({x1, dot.maxY() - 1.1});
        lines.lineTo({x2 - 3, dot.maxY() - 1.1});
        lines.moveTo({x1, dot.maxY() - 4.5});
        lines.lineTo({x2, dot.maxY() - 4.5});
        canvas.setLineWidth(1.4);
        canvas.stroke(lines);
    }
    canvas.restore();
}

void drawOffVariant(platform::Canvas& canvas, MenuBarIcon style) {
    canvas.save();
    canvas.setAlpha(kOffAlpha);
    canvas.beginTransparencyGroup();
    drawOnVariant(canvas, style);
    canvas.endTransparencyGroup();
    canvas.setAlpha(1);

    Path slash;
    slash.moveTo(kSlashStart);
    slash.lineTo(kSlashEnd);
    canvas.setLineCap(platform::LineCap::Round);
    canvas.setStrokeColor(platform::blackColor());
    canvas.setBlendMode(BlendMode::DestinationOut);
    canvas.setLineWidth(kSlashGapWidth);
    canvas.stroke(slash);
    canvas.setBlendMode(BlendMode::Normal);
    canvas.setLineWidth(kSlashWidth);
    canvas.stroke(slash);
    canvas.restore();
}

} // namespace

void drawMenuBarIcon(platform::Canvas& canvas, MenuBarIcon style, bool isOn) {
    if (isOn)
        drawOnVariant(canvas, style);
    else
        drawOffVariant(canvas, style);
}

platform::DrawnImage menuBarIconImage(MenuBarIcon style, bool isOn) {
    return {kMenuBarIconSize,
            [style, isOn](platform::Canvas& canvas) { drawMenuBarIcon(canvas, style, isOn); }, true,
            "Marlowick"};
}

std::string_view menuBarIconLabel(MenuBarIcon style) {
    switch (style) {
    case MenuBarIcon::wideDot:
        return "Banner";
    case MenuBarIcon::wideDotLines:
        return "Banner with lines";
    case MenuBarIcon::wideDotFill:
        return "Solid banner";
    case MenuBarIcon::wideDotStack:
        break;
    }
    return "Stack";
}

} // namespace marlowick
