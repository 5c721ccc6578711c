// Makes the decisions for a titled window that its platform window only reports: a click outside
// the edited shortcut field ends the editing, a click on a field's clear button clears it without
// moving the focus, Tab never starts the edited field over, closing the window ends its editing,
// alerts show one after another, Escape presses the cancel button, and the window keeps its top
// edge when it takes a new height. The settings and onboarding windows hold one each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/titled_windows.h"

namespace marlowick {

class TitledWindowController : public std::enable_shared_from_this<TitledWindowController> {
public:
    static std::shared_ptr<TitledWindowController> attach(std::shared_ptr<platform::Window> window);
    ~TitledWindowController();
    TitledWindowController(const TitledWindowController&) = delete;
    TitledWindowController& operator=(const TitledWindowController&) = delete;

    const std::shared_ptr<platform::Window>& window() const { return window_; }

    // Replaces the content; a window that fits its content keeps its top edge as it grows or
    // shrinks, as a window growing downwards does.
    void setContent(platform::ViewNode content);
    // The window takes the frame height keeping its top edge and width; animated, over the
    // system's resize time.
    void setFrameHeight(double height, bool animated);

    // Tab: the focus moves on along the window's key-view loop. A loop of the edited field alone
    // would start its editing over; the window then keeps no field edited.
    void selectNextKeyView();

    // Shows the alert as a sheet once those begun before it are answered; `answered` runs with the
    // index of the button pressed. A sheet ended otherwise answers nothing. The first button is
    // the default one (Return); Escape presses the first cancel button, and the first button too
    // when it is the cancel one.
    void beginAlert(platform::Alert alert, std::function<void(std::size_t button)> answered);
    // An alert shows or waits.
    bool hasAlert() const { return !alerts_.empty(); }
    // Ends the alert that shows as its button at that index would.
    void endAlert(std::size_t button);

private:
    struct PendingAlert {
        platform::Alert alert;
        std::function<void(std::size_t)> answered;
    };

    explicit TitledWindowController(std::shared_ptr<platform::Window> window);
    bool mouseDown(const platform::MouseDown& down);
    bool sheetKeyDown(const platform::Event& event);
    void sheetEnded(std::int64_t response);
    void showFrontAlert();

    std::shared_ptr<platform::Window> window_;
    platform::Subscription willClose_;
    std::deque<PendingAlert> alerts_;
    bool alertShowing_ = false;
};

} // namespace marlowick
