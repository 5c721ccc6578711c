// Marlowick's titled windows as the screen shows them: the frame, title bar and every control of
// their view tree, in the system appearance, with an alert drawn as a sheet.
#pragma once

#include <cairo.h>

#include "platform/titled_windows.h"
#include "sim/sim_mac.h"

namespace marlowick::console {

// Draws the window at its frame on a screen `screenHeight` points high (top-left origin).
void drawWindow(cairo_t* cr, sim::SimMac& mac, const platform::Window& window, double screenHeight);

} // namespace marlowick::console
