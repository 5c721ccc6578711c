// Puts a menu row into a platform menu item: the item shows the row as its view, and the row reaches
// its item and menu through a host. The row's drawing and behaviour are the overlay's.
#pragma once

#include <memory>

#include "overlay/menu_row_view.h"
#include "platform/menus.h"

namespace marlowick {

// Makes the row the item's view and the item the row's host (held weakly: the item holds the row).
void hostRow(const std::shared_ptr<platform::MenuItem>& item, const std::shared_ptr<MenuRowView>& row);

} // namespace marlowick
