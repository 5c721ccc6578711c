// Menus and their items as the application kit has them: titles, actions, key equivalents, hidden
// items that still answer their keys, section headers, separators, custom views, the highlighted
// item and the delegate calls around opening and closing. Showing and tracking a menu is the
// service's business; what the items do is their owner's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/key_events.h"
#include "platform/system_colors.h"

namespace marlowick::platform {

class Menu;

// The content of an item drawn by its owner instead of the standard title.
class MenuItemView {
public:
    virtual ~MenuItemView() = default;
    virtual Rect frame() const = 0;
    // The menu gives its custom views its own width when it opens, as AppKit does for a view that
    // resizes with its menu.
    virtual void setWidth(double width) = 0;
    // The colours are the system's, resolved for the menu's effective appearance and the user's
    // accent: a menu follows the system's appearance whatever the application's own windows use.
    virtual void draw(Canvas& canvas, const SystemColors& colors) = 0;
    // The user released the mouse on the view. Keys never reach it: the menu takes them and
    // performs the highlighted item's action, so an item whose view does something has an action.
    virtual void mouseUp() = 0;
    // The menu hands the view the way to have it drawn again: the view calls `request` when what it
    // draws has changed while its menu shows (a switch flipped in place). A menu that draws its
    // views afresh every time needs none.
    virtual void setDisplayRequest(std::function<void()> request) { (void)request; }
};

class MenuItem {
public:
    virtual ~MenuItem() = default;

    virtual std::string title() const = 0;
    virtual void setTitle(std::string title) = 0;
    // The action with its target bound in; an item without one does nothing when chosen.
    virtual void setAction(std::function<void()> action) = 0;
    virtual bool hasAction() const = 0;

    // A key equivalent is the character the key types (a function-key character for keys that
    // type none, see functionKeyEquivalent) with a mask of command, option, control and shift.
    virtual std::string keyEquivalent() const = 0;
    virtual void setKeyEquivalent(std::string key) = 0;
    virtual ModifierFlags keyEquivalentModifierMask() const = 0;
    virtual void setKeyEquivalentModifierMask(ModifierFlags mask) = 0;

    virtual bool isHidden() const = 0;
    virtual void setHidden(bool hidden) = 0;
    virtual bool allowsKeyEquivalentWhenHidden() const = 0;
    virtual void setAllowsKeyEquivalentWhenHidden(bool allows) = 0;
    // Only takes effect in a menu that does not enable its items automatically.
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    virtual bool isSeparator() const = 0;
    virtual bool isSectionHeader() const = 0;
    virtual std::shared_ptr<MenuItemView> view() const = 0;
    virtual void setView(std::shared_ptr<MenuItemView> view) = 0;
    virtual std::shared_ptr<Menu> submenu() const = 0;
    virtual void setSubmenu(std::shared_ptr<Menu> submenu) = 0;

    // The menu the item was added to, while it exists.
    virtual std::shared_ptr<Menu> menu() const = 0;
    virtual bool isHighlighted() const = 0;
};

// The calls a menu makes around its opening, on the main thread.
class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    virtual void menuNeedsUpdate(Menu& menu) = 0;
    virtual void menuWillOpen(Menu& menu) = 0;
    virtual void menuDidClose(Menu& menu) = 0;
};

class Menu {
public:
    virtual ~Menu() = default;

    virtual std::string title() const = 0;
    virtual void addItem(std::shared_ptr<MenuItem> item) = 0;
    virtual std::vector<std::shared_ptr<MenuItem>> items() const = 0;
    // The item's position, or -1 when it is not in this menu.
    virtual int indexOfItem(const MenuItem& item) const = 0;

    virtual void setDelegate(std::weak_ptr<MenuDelegate> delegate) = 0;
    virtual void setAutoenablesItems(bool autoenables) = 0;
    virtual bool autoenablesItems() const = 0;
    virtual double minimumWidth() const = 0;
    virtual void setMinimumWidth(double width) = 0;

    virtual std::shared_ptr<MenuItem> highlightedItem() const = 0;
    // The menu's own "highlightItem:", which not every system's menus answer.
    virtual bool respondsToHighlightItem() const = 0;
    virtual void highlightItem(const std::shared_ptr<MenuItem>& item) = 0;
    // Closes the menu if it is open.
    virtual void cancelTracking() = 0;
    // Runs the action of the enabled item at the index, as choosing it would.
    virtual void performActionForItemAt(int index) = 0;
};

class Menus {
public:
    virtual ~Menus() = default;
    virtual std::shared_ptr<Menu> makeMenu(const std::string& title) = 0;
    virtual std::shared_ptr<MenuItem> makeItem(const std::string& title, std::function<void()> action,
                                               const std::string& keyEquivalent) = 0;
    virtual std::shared_ptr<MenuItem> makeSeparator() = 0;
    // A title that groups the items below it; it cannot be chosen.
    virtual std::shared_ptr<MenuItem> makeSectionHeader(const std::string& title) = 0;
};

// The key-equivalent character of a key that types no character of its own (return, escape, the
// arrows, the function keys and the like), or none for a key whose character the layout decides.
std::optional<std::string> functionKeyEquivalent(std::uint16_t keyCode);
// The modifier flags that a key equivalent's mask can hold.
inline constexpr ModifierFlags kKeyEquivalentModifiers =
    kFlagShift | kFlagControl | kFlagOption | kFlagCommand;

} // namespace marlowick::platform
