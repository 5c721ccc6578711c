// The system's named colours as draw passes take them: resolved for one appearance and the user's
// accent colour. Whoever hosts a view (a menu, a window) hands its draw pass the colours of its own
// effective appearance; standardColors is the system's table of them, which the simulated Mac
// resolves with and the tests compare against.
#pragma once

#include "platform/appearance.h"
#include "platform/geometry.h"

namespace marlowick::platform {

// The accent colours of the system's appearance settings (multicolour draws as blue).
enum class AccentColor { Blue, Purple, Pink, Red, Orange, Yellow, Green, Graphite };

struct SystemColors {
    Appearance appearance = Appearance::Light;
    Color label;
    Color secondaryLabel;
    Color tertiaryLabel;
    Color controlAccent;
    // The text of a highlighted menu item, which stands on the accent colour.
    Color selectedMenuItemText;
    Color systemGreen;
};

SystemColors standardColors(Appearance appearance, AccentColor accent = AccentColor::Blue);

inline Color whiteColor() {
    return {1, 1, 1, 1};
}
inline Color blackColor() {
    return {0, 0, 0, 1};
}

} // namespace marlowick::platform
