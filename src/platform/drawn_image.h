// An image drawn on demand, as a status item's button shows it: its draw pass runs each time the
// image is rendered. Rendering and tinting a template image are left to the window server.
#pragma once

#include <functional>
#include <string>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace marlowick::platform {

struct DrawnImage {
    Size size;
    // Draws the image in its own space: origin lower left, y up, `size` points.
    std::function<void(Canvas&)> draw;
    // Only the alpha of a template image counts; the system colours it for the menu bar.
    bool isTemplate = false;
    std::string accessibilityDescription;
};

} // namespace marlowick::platform
