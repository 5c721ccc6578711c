// The simulated status bar behind platform::StatusBar: the items the program put in the menu bar,
// their button images, and the user clicking one to open its menu.
// Models: items that leave the bar when their last handle is dropped, one button per item with the
// image last set, a click that opens the item's menu. Not modelled: the bar running out of room
// (an item without a button), dragging items, the image's tinting for a dark menu bar.
#pragma once

#include <memory>
#include <vector>

#include "platform/status_bar.h"
#include "sim/menus.h"

namespace marlowick::sim {

class SimStatusBar final : public platform::StatusBar {
public:
    explicit SimStatusBar(SimMenus& menus) : menus_(menus) {}

    std::shared_ptr<platform::StatusItem> makeStatusItem(double length) override;

    // The items in the bar, oldest first.
    std::vector<std::shared_ptr<platform::StatusItem>> items() const;
    // The user clicks the item at the index: its menu opens.
    void click(std::size_t index = 0);
    // How many times each item's image was set, oldest item first.
    std::vector<int> imageChanges() const;

private:
    class Item;
    SimMenus& menus_;
    std::vector<std::weak_ptr<Item>> items_;
};

} // namespace marlowick::sim
