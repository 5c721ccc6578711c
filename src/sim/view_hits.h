// Where a click lands in a laid-out view tree: the control under the point, as AppKit's hit
// testing finds it. Models: the deepest control under the point (buttons, switches, pickers,
// swatches, shortcut fields and the field's clear button), hosted views never hit, disabled nodes
// and nodes under a disabled ancestor found but marked so. Not modelled: overlapping siblings
// (the tree's stacks never overlap), scroll views.
#pragma once

#include <optional>

#include "platform/view_tree.h"

namespace marlowick::sim {

struct ViewHit {
    const platform::PlacedView* placed = nullptr;
    // The point fell on the shortcut field's clear button.
    bool onClearButton = false;
};

// The control under `point` (content coordinates, top-left origin); none when the point is on no
// control (a text, a stack's background, a hosted view).
std::optional<ViewHit> hitTest(const platform::ViewLayout& layout, platform::Point point);

// Whether the node is a control that takes clicks.
bool isControl(const platform::ViewNode& node);

} // namespace marlowick::sim
