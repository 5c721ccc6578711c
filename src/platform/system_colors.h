// The system's named colours as the menu and overlay drawing uses them, in the light appearance.
// Resolving them for another appearance or accent is left to the platform adapters.
#pragma once

#include "platform/geometry.h"

namespace marlowick::platform {

inline Color labelColor() {
    return {0, 0, 0, 0.85};
}
inline Color secondaryLabelColor() {
    return {0, 0, 0, 0.5};
}
inline Color tertiaryLabelColor() {
    return {0, 0, 0, 0.26};
}
// The user's accent colour; the default blue until the platform says otherwise.
inline Color controlAccentColor() {
    return {0, 122.0 / 255, 1, 1};
}
inline Color systemGreenColor() {
    return {52.0 / 255, 199.0 / 255, 89.0 / 255, 1};
}
inline Color whiteColor() {
    return {1, 1, 1, 1};
}
inline Color blackColor() {
    return {0, 0, 0, 1};
}

} // namespace marlowick::platform
