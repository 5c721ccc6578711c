// The window server as the product uses it: borderless panels that float above other applications
// without taking the keyboard, and the system beep. What a panel's content draws is its view's.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/geometry.h"
#include "platform/layer.h"

namespace marlowick::platform {

// Style mask bits of a window.
inline constexpr std::uint64_t kWindowStyleBorderless = 0;
inline constexpr std::uint64_t kWindowStyleNonactivatingPanel = 1 << 7;

// Window levels: higher levels stand in front of lower ones.
inline constexpr int kNormalWindowLevel = 0;
inline constexpr int kPopUpMenuWindowLevel = 101;

// Collection behaviour bits: where a window shows across spaces and full-screen applications.
inline constexpr std::uint64_t kCollectionCanJoinAllSpaces = 1 << 0;
inline constexpr std::uint64_t kCollectionFullScreenAuxiliary = 1 << 8;

enum class Display { Now, Later };

class Panel {
public:
    virtual ~Panel() = default;

    virtual void setLevel(int level) = 0;
    virtual void setOpaque(bool opaque) = 0;
    virtual void setBackgroundColor(const Color& color) = 0;
    virtual void setIgnoresMouseEvents(bool ignores) = 0;
    virtual void setCollectionBehavior(std::uint64_t behavior) = 0;
    // Whether the panel leaves the screen while another application is active, as panels do unless
    // told otherwise, and comes back when this one is active again.
    virtual void setHidesOnDeactivate(bool hides) = 0;
    // Whether the panel becomes key only when a view in it needs the keyboard (it is not by default).
    virtual void setBecomesKeyOnlyIfNeeded(bool onlyIfNeeded) = 0;
    // The view filling the panel, given by its root layer (the view's draw pass is that layer's
    // content drawer).
    virtual void setContentView(std::shared_ptr<Layer> view) = 0;

    // In screen points, bottom-left origin.
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame, Display display) = 0;
    // Brings the panel in front of its level without activating the application.
    virtual void orderFrontRegardless() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    // Device pixels per point of the screen the panel is on; drawing that caches pixels (text
    // layers) renders at this scale.
    virtual double backingScaleFactor() const = 0;
};

class WindowServer {
public:
    virtual ~WindowServer() = default;
    // A buffered, not deferred panel with the style mask; it stays off screen until ordered front.
    // The panel leaves the screen when the last handle to it is dropped.
    virtual std::shared_ptr<Panel> makePanel(const Rect& contentRect, std::uint64_t styleMask) = 0;
    virtual void beep() = 0;
};

} // namespace marlowick::platform
