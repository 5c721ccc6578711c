// The application's ordinary windows (settings, onboarding): titled, closable, centred, key and in
// front, with a will-close notice and a frame saved under a name. Their content is a view tree.
// Floating panels are windows.h's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/key_events.h"
#include "platform/subscription.h"
#include "platform/view_tree.h"

namespace marlowick::platform {

// Style mask bits of a titled window.
inline constexpr std::uint64_t kWindowStyleTitled = 1 << 0;
inline constexpr std::uint64_t kWindowStyleClosable = 1 << 1;
inline constexpr std::uint64_t kWindowStyleMiniaturizable = 1 << 2;
inline constexpr std::uint64_t kWindowStyleResizable = 1 << 3;
// The content runs under the title bar, which then only holds the window buttons.
inline constexpr std::uint64_t kWindowStyleFullSizeContentView = 1 << 15;

enum class TitleVisibility { Visible, Hidden };

// The key that presses an alert button as its key equivalent: the window presses it; which button
// gets which key is its owner's choice.
enum class AlertKey { None, Return, Escape };

// A modal alert over a window (a sheet): its buttons in order.
struct AlertButton {
    std::string title;
    ButtonRole role = ButtonRole::Normal;
    AlertKey key = AlertKey::None;
};
struct Alert {
    std::string title;
    std::string message;
    std::vector<AlertButton> buttons;
};

// A mouse-down on a window's content.
struct MouseDown {
    // Content coordinates, top-left origin.
    Point point;
    // The shortcut field under the point, by its identifier.
    std::optional<std::string> field;
    // The point is on that field's clear button, which shows.
    bool onClearButton = false;
};

// What the user does in a window, told before the window acts on it. A handler that returns true
// has dealt with the event, and the window does nothing more with it.
struct WindowEventHandlers {
    // A mouse-down on the content while no sheet is up.
    std::function<bool(const MouseDown&)> mouseDown;
    // A key-down while the window's sheet is up and key, before its buttons' key equivalents.
    std::function<bool(const Event&)> sheetKeyDown;
    // The sheet has ended: the index of the button that ended it, or any other number when
    // something else did.
    std::function<void(std::int64_t response)> sheetEnded;
};

// A window lives as long as a handle to it; closing only takes it off the screen.
class Window {
public:
    virtual ~Window() = default;

    virtual std::string title() const = 0;
    virtual void setTitle(std::string title) = 0;
    virtual std::uint64_t styleMask() const = 0;
    // Replaces the content and sizes the window to it when the window has no size of its own,
    // keeping the frame's origin (its bottom-left corner).
    virtual void setContent(ViewNode content) = 0;
    virtual const ViewNode& content() const = 0;

    // The frame in screen points, bottom-left origin.
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame) = 0;
    // Animated, the frame moves to its target over the system's resize time; frame() tells where it
    // is meanwhile, and an autosaved frame is saved once it arrives.
    virtual void animateFrame(const Rect& frame) = 0;
    virtual void center() = 0;
    // Restores the frame saved under the name, if any, and saves every later frame under it.
    virtual void setFrameAutosaveName(const std::string& name) = 0;

    virtual void setTitleVisibility(TitleVisibility visibility) = 0;
    virtual void setTitlebarAppearsTransparent(bool transparent) = 0;
    // A window not released when closed comes back as it was when ordered front again.
    virtual void setReleasedWhenClosed(bool released) = 0;

    // The shortcut field that records the keys, by its identifier; none for the window itself.
    // Changing it tells the old field it resigned and the new one it became first responder.
    virtual std::optional<std::string> firstResponder() const = 0;
    virtual void makeFirstResponder(std::optional<std::string> identifier) = 0;
    // Tab: the first responder moves on along the window's key-view loop (the fields in order, the
    // first after the last); a loop of one field comes back to it.
    virtual void selectNextKeyView() = 0;
    // Runs with true when the window becomes key, false when it stops being key.
    virtual Subscription observeKeyStatus(std::function<void(bool isKey)> changed) = 0;

    // Shows the alert as a sheet now; nothing while a sheet is up. While it shows, the window's own
    // controls take no clicks. Its end is told to the `sheetEnded` handler.
    virtual void showAlert(Alert alert) = 0;
    virtual bool hasAlert() const = 0;
    // Ends the sheet as its button at that index would.
    virtual void endAlert(std::size_t button) = 0;

    // Replaces the handlers the window tells of mouse-downs, sheet keys and sheet ends.
    virtual void setEventHandlers(WindowEventHandlers handlers) = 0;

    virtual void makeKeyAndOrderFront() = 0;
    // Brings the window in front even while another application is active.
    virtual void orderFrontRegardless() = 0;
    virtual bool isVisible() const = 0;
    virtual bool isKeyWindow() const = 0;
    // As a click on the close button: only a closable window closes, and not while an alert waits.
    virtual void performClose() = 0;
    virtual void close() = 0;
    // Runs when the window is about to close, until the handle is dropped.
    virtual Subscription observeWillClose(std::function<void()> willClose) = 0;
};

enum class Defer { No, Yes };

class TitledWindows {
public:
    virtual ~TitledWindows() = default;
    // A buffered window off screen, its content area the rectangle (width and height 0 to fit the content).
    virtual std::shared_ptr<Window> makeWindow(const Rect& contentRect, std::uint64_t styleMask,
                                               Defer defer) = 0;
};

} // namespace marlowick::platform
