// The simulated titled windows behind platform::TitledWindows: frames, order, the key window, first
// responders, alerts, clicks on the content and frames saved in the user defaults.
// Models: a content area sized by its view tree when made without a size (its origin kept), hosted
// views told the size the layout gives them, a 28-point title bar (the content runs under it with a
// full-size content view), hidden titles and transparent title bars, centring on the main screen
// below the menu bar, one key window (the last made key; when it closes the frontmost visible window
// becomes key), key-status observers told synchronously, animated frames over AppKit's resize time
// on the virtual clock, closing by the close button only for closable windows, the first responder
// (a click on a shortcut field, cleared by closing, moved on by Tab along the fields as a key-view
// loop, kept when the window resigns key), one alert at a time as a sheet that takes the window's
// clicks and keys until a button or its key equivalent ends it, clicks as AppKit's controls take
// them (none on disabled controls), Return pressing the key window's default button, "NSWindow
// Frame <name>" holding "x y width height". Mouse-downs and the sheet's keys reach the window's
// handlers first and its sheet's end is told to them; what follows from them is the core's.
// Not modelled: resizing by the user, minimising, several screens, drawing (the console renders
// the windows).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "platform/key_events.h"
#include "platform/run_loop.h"
#include "platform/titled_windows.h"
#include "platform/user_defaults.h"
#include "sim/screens.h"

namespace marlowick::sim {

// How a window's title bar looks, for the console's drawing.
struct TitleBarLook {
    bool fullSizeContent = false;
    bool titleHidden = false;
    bool transparent = false;
};

class SimTitledWindows final : public platform::TitledWindows {
public:
    static constexpr double kTitleBarHeight = 28;
    // AppKit's resize time: 0.2 s for every 150 points the frame's height changes.
    static constexpr double kResizeTimePer150Points = 0.2;

    SimTitledWindows(platform::UserDefaults& defaults, SimScreens& screens, platform::Fonts& fonts,
                     platform::RunLoop& loop);
    ~SimTitledWindows() override;
    SimTitledWindows(const SimTitledWindows&) = delete;
    SimTitledWindows& operator=(const SimTitledWindows&) = delete;

    std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect, std::uint64_t styleMask,
                                                 platform::Defer defer) override;

    std::shared_ptr<platform::Window> keyWindow() const;
    // The windows on screen, front to back.
    std::vector<std::shared_ptr<platform::Window>> visibleWindows() const;
    // A key-down that reached the key window: with a sheet up, its handler's or a button's key
    // equivalent; otherwise Return presses its default button and Tab moves the first responder
    // on. False when the window did nothing with it.
    bool handleKeyEvent(const platform::Event& event);

    // The user clicks at a point of the window's content (top-left origin); false when nothing
    // there took the click (no control, a disabled one, or an alert in the way).
    static bool click(platform::Window& window, platform::Point point);
    // The user opens the pop-up button at the point and picks the option; false as for click.
    static bool choose(platform::Window& window, platform::Point point, int option);
    // The user presses the sheet's button with the title; false when there is no such button.
    static bool pressAlertButton(platform::Window& window, const std::string& title);
    // The user clicks the button with the title in the window's content; false when there is none
    // or it takes no click.
    static bool clickButton(platform::Window& window, const std::string& title);

    static std::optional<platform::Alert> alert(const platform::Window& window);
    static TitleBarLook titleBarLook(const platform::Window& window);
    // Where the content starts below the window's top edge.
    static double contentTop(const platform::Window& window);
    // The frame the window is heading to (its frame when it is not animating).
    static platform::Rect targetFrame(const platform::Window& window);

private:
    class SimWindow;
    void orderFront(SimWindow* window, bool makeKey);
    void orderOut(SimWindow* window);
    void setKey(SimWindow* window);
    std::shared_ptr<SimWindow> find(SimWindow* window) const;

    platform::UserDefaults& defaults_;
    SimScreens& screens_;
    platform::Fonts& fonts_;
    platform::RunLoop& loop_;
    std::vector<std::weak_ptr<SimWindow>> windows_;
    std::vector<SimWindow*> order_; // front to back
    SimWindow* key_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace marlowick::sim
