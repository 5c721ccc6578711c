#include "sim/view_hits.h"

#include "platform/view_metrics.h"

namespace marlowick::sim {

using namespace platform;

bool isControl(const ViewNode& node) {
    return node.as<ButtonView>() || node.as<SwitchView>() || node.as<PickerView>() || node.as<SwatchView>() ||
           node.as<ShortcutFieldView>();
}

std::optional<ViewHit> hitTest(const ViewLayout& layout, Point point) {
    // Parents come before their children, so the last control containing the point is the deepest.
    const PlacedView* found = nullptr;
    for (const auto& placed : layout.views) {
        if (isControl(*placed.node) && placed.frame.contains(point)) found = &placed;
    }
    if (!found) return std::nullopt;
    ViewHit hit{found, false};
    if (const auto* field = found->node->as<ShortcutFieldView>()) {
        hit.onClearButton =
            field->showsClearButton && point.x >= found->frame.maxX() - metrics::kFieldClearArea;
    }
    return hit;
}

} // namespace marlowick::sim
