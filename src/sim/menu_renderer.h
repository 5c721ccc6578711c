// Draws an open menu as the system shows it, in the colours of its appearance: the menu's material
// and edge, standard items (titles, section headers, separators, the highlighted item on the accent
// colour) and custom views, which draw themselves with the same colours.
// Models: macOS's menus in the light and the dark appearance, 13-point titles on 22-point rows,
// 5 points of padding above and below, rounded corners. Not modelled: the material's blur and
// vibrancy (it is a flat, nearly opaque colour), key equivalents, check marks, images, submenus.
#pragma once

#include <memory>
#include <vector>

#include "platform/canvas.h"
#include "platform/menus.h"
#include "platform/system_colors.h"
#include "sim/image.h"

namespace marlowick::sim {

// What the menu itself is drawn with, beyond the system colours.
struct MenuMaterial {
    platform::Color fill;
    platform::Color edge;
    platform::Color separator;
};
MenuMaterial menuMaterial(platform::Appearance appearance);

struct PlacedMenuItem {
    std::shared_ptr<platform::MenuItem> item;
    // In the menu's own points, origin lower left, as its picture's.
    platform::Rect frame;
};
// The shown items, top to bottom, in a menu of this width.
std::vector<PlacedMenuItem> placeMenuItems(const platform::Menu& menu, double width);
double menuHeight(const platform::Menu& menu);

// Draws the menu into a y-up canvas of width × menuHeight(menu).
void drawMenu(platform::Canvas& canvas, const platform::Menu& menu, double width,
              const platform::SystemColors& colors);
Image renderMenu(const platform::Menu& menu, double width, const platform::SystemColors& colors,
                 double scale = 2.0);

} // namespace marlowick::sim
