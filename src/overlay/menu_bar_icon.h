// The status item's icon: a notification card with a dot in one of four styles, dimmed and struck
// through while Marlowick is off. Which style shows, and when it is redrawn, is the status menu's call.
#pragma once

#include <string_view>

#include "input/settings.h"
#include "platform/canvas.h"
#include "platform/drawn_image.h"

namespace marlowick {

inline constexpr platform::Size kMenuBarIconSize{26, 22};

// A 26 × 22 template image described as "Marlowick", drawn with drawMenuBarIcon.
platform::DrawnImage menuBarIconImage(MenuBarIcon style, bool isOn);
// Draws the icon in opaque black into a 26 × 22 space (origin lower left, y up).
void drawMenuBarIcon(platform::Canvas& canvas, MenuBarIcon style, bool isOn);
// The style's name in the appearance settings: "Banner", "Stack", ...
std::string_view menuBarIconLabel(MenuBarIcon style);

} // namespace marlowick
