// The simulated titled windows behind platform::TitledWindows: frames, order, the key window, the
// will-close notice and frames saved in the user defaults under an autosave name.
// Models: a content area sized by its view tree when made without a size, a 28-point title bar,
// centring on the main screen below the menu bar, one key window (the last made key; once it closes,
// the frontmost visible window left), closing by the close button only for closable windows, Return pressing
// the key window's default button, "NSWindow Frame <name>" holding "x y width height". Not modelled: resizing
// by the user, minimising, several screens, the windows' drawing (the canvas renders them elsewhere).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "platform/key_events.h"
#include "platform/titled_windows.h"
#include "platform/user_defaults.h"
#include "sim/screens.h"

namespace marlowick::sim {

class SimTitledWindows final : public platform::TitledWindows {
public:
    static constexpr double kTitleBarHeight = 28;

    SimTitledWindows(platform::UserDefaults& defaults, SimScreens& screens, platform::Fonts& fonts);
    ~SimTitledWindows() override;
    SimTitledWindows(const SimTitledWindows&) = delete;
    SimTitledWindows& operator=(const SimTitledWindows&) = delete;

    std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect, std::uint64_t styleMask,
                                                 platform::Defer defer) override;

    std::shared_ptr<platform::Window> keyWindow() const;
    // The windows on screen, front to back.
    std::vector<std::shared_ptr<platform::Window>> visibleWindows() const;
    // A key-down that reached the key window; Return and keypad Enter press its default button.
    // False when the window did nothing with it.
    bool handleKeyEvent(const platform::Event& event);
    // The user clicks the button with the title in the window's content; false when there is none.
    static bool clickButton(const platform::Window& window, const std::string& title);

private:
    class SimWindow;
    void orderFront(SimWindow* window, bool makeKey);
    void orderOut(SimWindow* window);

    platform::UserDefaults& defaults_;
    SimScreens& screens_;
    platform::Fonts& fonts_;
    std::vector<std::weak_ptr<SimWindow>> windows_;
    std::vector<SimWindow*> order_; // front to back
    SimWindow* key_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace marlowick::sim
