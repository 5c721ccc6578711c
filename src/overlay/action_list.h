// The list of a notification's own actions beside the ring: a plate with one line per action, each
// with a numbered badge in the highlight colour and its label in the system font, the selected line
// ringed. Where the plate stands is worked out here; which actions it lists and what the keys do is
// the controller's and the overlay's.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/appearance.h"
#include "platform/geometry.h"
#include "platform/layer.h"

namespace marlowick {

// The plate's size for these labels (a label wider than the plate allows is cut short).
platform::Size actionListSize(std::span<const std::string> labels);

// Where the plate stands, in screen coordinates (bottom-left origin): right of the item when the
// screen has room there, else left of the sidebar; level with the item's top, moved up or down as
// little as keeps it on the screen.
platform::Rect placeActionList(const platform::Rect& item, const platform::Rect& sidebar, platform::Size size,
                               const platform::Rect& screen);

// The plate's layers, back to front, for a plate at `frame` in the overlay's coordinates.
std::vector<std::shared_ptr<platform::Layer>> actionListLayers(const platform::Rect& frame,
                                                               std::span<const std::string> labels,
                                                               int selected, platform::Appearance appearance,
                                                               double contentsScale);

} // namespace marlowick
