// The fixed content and the sizing rules of the status menu. The menu itself, its refresh and its
// actions are the application delegate's (status_menu.cpp); the rows' drawing is the overlay's.
#pragma once

#include <vector>

#include "input/legend.h"
#include "overlay/key_cap.h"
#include "overlay/menu_row_view.h"

namespace marlowick {

inline constexpr double kMinimumMenuWidth = 278;

// The width a row needs to show its title (titleWidth, in its kind's font) and its caps (their texts
// run together, capsTextWidth, in the menu font); legend rows line their titles up after the column.
double statusMenuRowWidth(MenuRowView::Kind kind, double titleWidth, double capsTextWidth, bool hasCaps,
                          double columnWidth);
// The widest row, but never narrower than the minimum.
double statusMenuWidth(const std::vector<double>& rowWidths);

} // namespace marlowick
