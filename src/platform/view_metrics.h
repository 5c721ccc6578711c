// The sizes of the view tree's controls, in points, as AppKit draws them at the sizes the windows
// use: the layout reserves them and the window server draws into them.
#pragma once

#include "platform/geometry.h"

namespace marlowick::platform::metrics {

// Push buttons (regular size) and plain buttons such as sidebar entries.
inline constexpr double kButtonHeight = 22;
inline constexpr double kButtonPadding = 14;
inline constexpr double kPlainButtonHeight = 28;
inline constexpr double kPlainButtonPadding = 8;
// Between a button's symbol and its title.
inline constexpr double kSymbolGap = 7;

// A switch at mini size.
inline constexpr Size kMiniSwitch{26, 15};

// A pop-up button: its title from the leading edge, the double chevron in its trailing area.
inline constexpr double kPopUpHeight = 22;
inline constexpr double kPopUpLeading = 9;
inline constexpr double kPopUpChevronArea = 26;

inline constexpr double kSwatchDiameter = 18;
inline constexpr double kStatusCircleDiameter = 18;
inline constexpr double kDividerThickness = 1;

// The shortcut field: a search field with the magnifier or record glyph leading and the clear
// button trailing.
inline constexpr double kFieldHeight = 22;
inline constexpr double kFieldIconArea = 24;
inline constexpr double kFieldClearArea = 22;
inline constexpr double kFieldPadding = 4;

} // namespace marlowick::platform::metrics
