// The selection indicator's layers for the selected item: the ring on a single row, and the mark of
// a collapsed stack in the user's stack style. Placing them and revealing them is the overlay's.
#pragma once

#include <memory>
#include <vector>

#include "platform/geometry.h"
#include "platform/layer.h"
#include "platform/path.h"

namespace marlowick {

class SidebarOverlay;

using LayerList = std::vector<std::shared_ptr<platform::Layer>>;

// The stacked card peeking out below an item: 14 narrower on each side and 9 lower.
platform::Rect cardBelow(const platform::Rect& item);
// The k-th card behind a stack (k = 1, 2) for the echo rings.
platform::Rect echoCard(const platform::Rect& item, int k);
// The outer edge of a ring drawn around the rectangle, and a halo 1.5 points beyond it.
platform::Path ringOutline(const platform::Rect& rect);
platform::Path ringHalo(const platform::Rect& rect);

// Back to front, in overlay coordinates; both read the stack style when called.
LayerList selectionLayers(const SidebarOverlay& overlay, const platform::Rect& item);
LayerList stackLayers(const SidebarOverlay& overlay, const platform::Rect& item);

} // namespace marlowick
