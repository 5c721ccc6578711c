// The simulated menus behind platform::Menus, and the user working an open menu: opening it from a
// status item, moving the highlight, choosing items, typing key equivalents and closing it.
// Models: one menu open at a time; around opening the delegate's menuNeedsUpdate and menuWillOpen
// and the begin-tracking notification, the run loop in the event-tracking mode while it is open,
// menuDidClose and the end-tracking notification after; key-downs that reach the open menu (after
// the run-loop observers and any local monitors), as AppKit's go to the menu and never to an item's
// view: Escape, Return, Space (the highlighted item's action), the arrows and the key equivalents
// of enabled items, hidden ones included when they allow
// it; a chosen item closes the menu before its action runs. Not modelled: submenus opening, mouse
// movement, type-to-select, scrolling, menus that lack "highlightItem:" unless switched off.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application_events.h"
#include "platform/menus.h"
#include "platform/notification_bus.h"
#include "sim/application_events.h"
#include "sim/keyboard_layouts.h"

namespace marlowick::sim {

class SimMenus final : public platform::Menus {
public:
    SimMenus(SimApplicationEvents& events, platform::NotificationBus& bus, SimKeyboardLayouts& layouts);
    ~SimMenus() override;
    SimMenus(const SimMenus&) = delete;
    SimMenus& operator=(const SimMenus&) = delete;

    std::shared_ptr<platform::Menu> makeMenu(const std::string& title) override;
    std::shared_ptr<platform::MenuItem> makeItem(const std::string& title, std::function<void()> action,
                                                 const std::string& keyEquivalent) override;
    std::shared_ptr<platform::MenuItem> makeSeparator() override;
    std::shared_ptr<platform::MenuItem> makeSectionHeader(const std::string& title) override;

    // The user opens the menu (a click on its status item, say) and closes it by clicking elsewhere.
    void open(const std::shared_ptr<platform::Menu>& menu);
    void close();
    std::shared_ptr<platform::Menu> openMenu() const { return open_; }
    // The open menu's width: its minimum, widened to its widest custom view and its widest plain
    // title (13-point system font with 14 points of margin each side). Its views take this width.
    double openMenuWidth() const { return openWidth_; }
    // The user clicks the item at the index of the open menu.
    void click(int index);
    // A key-down that reached the open menu.
    void handleKeyEvent(const platform::Event& event);
    // Whether the event's key and modifiers are the item's key equivalent on the current layout.
    bool matchesKeyEquivalent(const platform::MenuItem& item, const platform::Event& event) const;
    // Fires the key equivalent of a menu that is not open (the main menu); false when none matches.
    bool performKeyEquivalent(const platform::Menu& menu, const platform::Event& event);

    // Models a system whose menus lack "highlightItem:".
    void setHighlightItemAvailable(bool available) { highlightItemAvailable_ = available; }
    bool highlightItemAvailable() const { return highlightItemAvailable_; }

    // The titles of the open menu's shown items, separators as "---", for tests and the console.
    std::vector<std::string> shownTitles() const;

private:
    friend class SimMenu;
    void layOut(platform::Menu& menu);
    void choose(const std::shared_ptr<platform::MenuItem>& item);
    void moveHighlight(int step);
    // What the key types on the current layout with every modifier ignored except Shift, as AppKit's
    // charactersIgnoringModifiers.
    std::string charactersIgnoringModifiers(std::uint16_t keyCode, platform::ModifierFlags flags) const;

    SimApplicationEvents& events_;
    platform::NotificationBus& bus_;
    SimKeyboardLayouts& layouts_;
    std::shared_ptr<platform::Menu> open_;
    bool highlightItemAvailable_ = true;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    double openWidth_ = 0;
};

} // namespace marlowick::sim
