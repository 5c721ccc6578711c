// How the settings window's own drawn parts look, where AppKit has no system colour or shape for
// them: the sidebar's selected tab, the group boxes, the checkmark of a selected swatch or a done
// status circle, and the swatches' edge. The simulated window and the Mac's controls both read
// this one table, so the two draw alike.
#pragma once

#include <array>

#include "platform/appearance.h"
#include "platform/geometry.h"

namespace marlowick::platform {

struct ControlLooks {
    // The selected sidebar tab while its window is not key (a key window uses the accent colour).
    Color selection;
    Color groupBoxFill;
    Color groupBoxBorder;
};

inline ControlLooks controlLooks(Appearance appearance) {
    if (appearance == Appearance::Dark) return {{1, 1, 1, 0.1}, {1, 1, 1, 0.07}, {1, 1, 1, 0.12}};
    return {{0, 0, 0, 0.09}, {1, 1, 1, 0.6}, {0, 0, 0, 0.07}};
}

// The checkmark: a white stroke through three points of a square inset from the circle by this
// fraction of its diameter, each point a fraction of the square from its top-left corner.
inline constexpr double kCheckmarkInset = 0.225;
inline constexpr std::array<Point, 3> kCheckmarkPoints{{{0.12, 0.52}, {0.4, 0.8}, {0.9, 0.2}}};
// The stroke's width as a fraction of the square's side, and its least width in points.
inline constexpr double kCheckmarkLineWidth = 0.16;
inline constexpr double kCheckmarkMinLineWidth = 1.5;

inline constexpr Color kSwatchEdge{0, 0, 0, 0.12};
inline constexpr double kSwatchEdgeWidth = 0.5;
// A disabled swatch's colour keeps this much of its alpha.
inline constexpr double kDisabledSwatchAlpha = 0.4;

} // namespace marlowick::platform
