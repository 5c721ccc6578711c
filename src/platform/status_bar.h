// The system status bar: the application's items in the menu bar, each a button with an image and
// a menu that opens when the user clicks it. Tracking the open menu is the menu service's business.
#pragma once

#include <memory>

#include "platform/drawn_image.h"

namespace marlowick::platform {

class Menu;

// The item is as wide as its button's image.
inline constexpr double kVariableStatusItemLength = -1;

class StatusBarButton {
public:
    virtual ~StatusBarButton() = default;
    virtual void setImage(DrawnImage image) = 0;
    virtual const DrawnImage& image() const = 0;
};

class StatusItem {
public:
    virtual ~StatusItem() = default;
    // None when the item has no button (the system ran out of room for it, say).
    virtual StatusBarButton* button() = 0;
    virtual void setMenu(std::shared_ptr<Menu> menu) = 0;
    virtual std::shared_ptr<Menu> menu() const = 0;
};

class StatusBar {
public:
    virtual ~StatusBar() = default;
    // The item stays in the menu bar until its last handle is dropped.
    virtual std::shared_ptr<StatusItem> makeStatusItem(double length) = 0;
};

} // namespace marlowick::platform
