// The custom rows of the status menu: the on/off switch, the legend's disclosure header, legend
// rows with key caps and action rows that show their hot key at the right edge. Building the menu,
// and telling a row about the item that hosts it, is the menu code's job.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "overlay/key_cap.h"
#include "platform/canvas.h"
#include "platform/fonts.h"
#include "platform/geometry.h"
#include "platform/system_colors.h"

namespace marlowick {

// What a row needs from the menu item hosting it and from that item's menu. The menu code
// implements it over its own item, so rows never depend on the menu classes.
class MenuRowHost {
public:
    virtual ~MenuRowHost() = default;
    virtual bool isEnabled() const = 0;
    virtual bool isHighlighted() const = 0;
    // Whether the item belongs to a menu right now; the calls below need one.
    virtual bool hasMenu() const = 0;
    // Whether the menu offers to highlight a given item (its "highlightItem:").
    virtual bool menuCanHighlightItems() const = 0;
    // Makes the item the highlighted item of its menu.
    virtual void highlightInMenu() = 0;
    // Closes the menu.
    virtual void cancelMenuTracking() = 0;
    // The item's index in its menu, or -1 without one.
    virtual int indexInMenu() const = 0;
    // Performs the action of the item at the index in the menu, as a click on it would.
    virtual void performMenuActionAtIndex(int index) = 0;
};

class MenuRowView {
public:
    enum class Kind { action, legend, onOff, disclosure };
    static constexpr double kRowHeight = 28;

    // A row of frame (0, 0, 0, 28); the menu code widens it to the menu's width.
    static std::shared_ptr<MenuRowView> create(std::string title, Kind kind, std::vector<KeyCap> caps = {});
    MenuRowView(const MenuRowView&) = delete;
    MenuRowView& operator=(const MenuRowView&) = delete;

    // Set by the menu code, followed by setNeedsDisplay().
    std::vector<KeyCap> caps;
    // The key column shared by all legend rows of one menu: their titles line up after it.
    double columnWidth = 0;
    // The switch of an onOff row, the unfolded state of a disclosure row. Only the owner flips it.
    bool isOn = false;
    // When set, activating the row calls it and keeps the menu open instead of running the action.
    std::function<void()> onToggle;
    const std::string title;
    const Kind kind;

    // The item hosting the row; none until the menu code sets it. The item holds the row, so the
    // host should hold the item weakly.
    void setHost(std::shared_ptr<MenuRowHost> host) { host_ = std::move(host); }
    const std::shared_ptr<MenuRowHost>& host() const { return host_; }

    platform::Rect frame() const { return frame_; }
    platform::Rect bounds() const { return {{0, 0}, frame_.size}; }
    void setFrame(const platform::Rect& frame) { frame_ = frame; }
    bool acceptsFirstResponder() const { return true; }
    void setNeedsDisplay() {
        needsDisplay_ = true;
        if (displayRequest) displayRequest();
    }
    // Set by the menu hosting the row: asks it to draw the row again.
    std::function<void()> displayRequest;
    bool needsDisplay() const { return needsDisplay_; }

    // The draw pass: the row in its bounds, in the colours of its current state, taken from the
    // system colours of the menu's appearance.
    void draw(platform::Canvas& canvas, const platform::SystemColors& system);
    // The width the row needs to show its title and caps uncut; the menu is as wide as its widest row.
    double intrinsicWidth() const;

    // A click. Keys go to the menu, which runs the hosting item's action instead.
    void mouseUp() { activate(); }
    // Toggles in place, keeping the menu open, or closes the menu and runs the item's action.
    void activate();

    // The fonts rows draw and measure with.
    static platform::Font menuFont();
    static platform::Font switchTitleFont();
    static platform::Font headerTitleFont();
    static platform::Font titleFont(Kind kind);

private:
    MenuRowView(std::string title, Kind kind, std::vector<KeyCap> caps);

    struct Colors {
        platform::Color primary;
        platform::Color secondary;
        bool highlighted = false;
    };
    Colors currentColors(const platform::SystemColors& system) const;
    void drawSwitch(platform::Canvas& canvas, const platform::Rect& bounds,
                    const platform::SystemColors& system) const;
    void drawChevron(platform::Canvas& canvas, const platform::Rect& bounds,
                     const platform::Color& color) const;

    platform::Rect frame_{0, 0, 0, kRowHeight};
    std::shared_ptr<MenuRowHost> host_;
    bool needsDisplay_ = false;
};

} // namespace marlowick
