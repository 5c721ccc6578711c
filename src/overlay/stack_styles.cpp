#include "overlay/stack_styles.h"

#include "input/settings.h"
#include "overlay/sidebar_overlay.h"

namespace marlowick {

using platform::Color;
using platform::Path;
using platform::Rect;
using platform::ShapeLayer;

namespace {

constexpr Color kClear{0, 0, 0, 0};
constexpr double kTintAlpha = 0.16;
// The opacity of the first and the second card behind a stack.
constexpr double kEchoOpacity[] = {0.65, 0.32};

std::shared_ptr<ShapeLayer> shapeOverBounds(const SidebarOverlay& overlay, Path path, const char* name) {
    auto layer = ShapeLayer::make();
    layer->setName(name);
    layer->setFrame(overlay.bounds());
    layer->setPath(std::move(path));
    return layer;
}

std::shared_ptr<ShapeLayer> strokedOutline(const SidebarOverlay& overlay, Path path, double width,
                                           const char* name) {
    auto layer = shapeOverBounds(overlay, std::move(path), name);
    layer->setFillColor(kClear);
    layer->setStrokeColor(overlayHighlightColor());
    layer->setLineWidth(width);
    return layer;
}

std::shared_ptr<ShapeLayer> tint(const SidebarOverlay& overlay, const Rect& item) {
    auto layer = shapeOverBounds(overlay, continuousRoundedPath(item, 24), "tint");
    layer->setFillColor(overlayHighlightColor().withAlpha(kTintAlpha));
    return layer;
}

// One outline around the item and the card below together.
std::shared_ptr<ShapeLayer> silhouette(const SidebarOverlay& overlay, const Rect& item, double width) {
    auto layer =
        strokedOutline(overlay, ringOutline(item).united(ringOutline(cardBelow(item))), width, "silhouette");
    layer->setLineJoin(platform::LineJoin::Round);
    return layer;
}

// A ring around the card below whose lowest 9 points show, fading out towards its lower edge.
std::shared_ptr<platform::Layer> fadingPeek(const SidebarOverlay& overlay, const Rect& item) {
    auto peek = overlay.ringLayer(cardBelow(item));
    const Rect own = peek->bounds();
    const double edge = 9 / own.height();
    auto fade = platform::GradientLayer::make();
    fade->setFrame(own);
    fade->setStartPoint({0.5, 0});
    fade->setEndPoint({0.5, 1});
    fade->setColors({kClear, {0, 0, 0, 1}, kClear, kClear});
    fade->setLocations({0, edge, edge + 0.001, 1});
    peek->setMask(fade);
    return peek;
}

LayerList echoRings(const SidebarOverlay& overlay, const Rect& item) {
    LayerList layers;
    Path front = ringHalo(item);
    for (int k = 1; k <= 2; ++k) {
        auto echo = strokedOutline(overlay, ringOutline(echoCard(item, k)), 2.5, "echo");
        echo->setOpacity(kEchoOpacity[k - 1]);
        // Each echo shows only outside the rings in front of it, 1.5 points clear of them.
        echo->setMask(overlay.cutoutMask(front));
        front = front.united(ringHalo(echoCard(item, k)));
        layers.insert(layers.begin(), echo);
    }
    layers.push_back(overlay.ringLayer(item));
    return layers;
}

// A solid band in the highlight colour under the item's ring, where the card below peeks out.
std::shared_ptr<ShapeLayer> lip(const SidebarOverlay& overlay, const Rect& item) {
    auto layer = shapeOverBounds(overlay, ringHalo(cardBelow(item)), "lip");
    layer->setFillColor(overlayHighlightColor());
    layer->setMask(overlay.cutoutMask(ringOutline(item)));
    return layer;
}

} // namespace

Rect cardBelow(const Rect& item) {
    return {item.minX() + 14, item.minY() - 9, item.width() - 28, item.height()};
}

Rect echoCard(const Rect& item, int k) {
    return {item.minX() + 11 * k, item.minY() - 9 * k, item.width() - 22 * k, item.height()};
}

Path ringOutline(const Rect& rect) {
    return continuousRoundedPath(rect.insetBy(-3, -3), 27);
}

Path ringHalo(const Rect& rect) {
    return continuousRoundedPath(rect.insetBy(-4.5, -4.5), 28.5);
}

LayerList selectionLayers(const SidebarOverlay& overlay, const Rect& item) {
    if (AppSettings::stackStyle() == StackStyle::tintLip)
        return {tint(overlay, item), overlay.ringLayer(item)};
    return {overlay.ringLayer(item)};
}

LayerList stackLayers(const SidebarOverlay& overlay, const Rect& item) {
    switch (AppSettings::stackStyle()) {
    case StackStyle::expandPill:
        // A pending key brings its own pill to the same place; the two never show together.
        if (overlay.pendingKey) return {overlay.ringLayer(item)};
        return {overlay.ringLayer(item), overlay.captionPill("⏎ Expand", true, item)};
    case StackStyle::fadingPeek:
        return {fadingPeek(overlay, item), overlay.ringLayer(item)};
    case StackStyle::silhouette:
        return {silhouette(overlay, item, 3)};
    case StackStyle::dotted: {
        auto dots = silhouette(overlay, item, 3.5);
        dots->setLineCap(platform::LineCap::Round);
        // Zero-length dashes that the round cap turns into dots.
        dots->setLineDashPattern({0, 7.5});
        dots->setName("dotted");
        return {dots};
    }
    case StackStyle::echoRings:
        return echoRings(overlay, item);
    case StackStyle::tintLip:
        return {tint(overlay, item), lip(overlay, item), overlay.ringLayer(item)};
    }
    return {overlay.ringLayer(item)};
}

} // namespace marlowick
