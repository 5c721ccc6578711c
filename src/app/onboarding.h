// The accessibility onboarding window: five steps of explanation, from "allow Marlowick" to "ready",
// each with its title, text and one button. The permission poll moves it between steps; the window
// only shows the step and offers the button.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "input/titled_window_controller.h"
#include "platform/titled_windows.h"
#include "platform/view_tree.h"

namespace marlowick {

enum class OnboardingStep { needed, lost, checking, noAnswer, granted };

// The settings page the onboarding and the status menu send the user to.
inline constexpr std::string_view kAccessibilitySettingsURL =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

// The step shown; setting it runs the observer, which redraws the window.
class OnboardingState {
public:
    OnboardingStep step() const { return step_; }
    void setStep(OnboardingStep step);
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    OnboardingStep step_ = OnboardingStep::needed;
    std::function<void()> observer_;
};

// The window's content for a step; `close` closes the window as its close button would,
// `openSettings` sends the user to the accessibility list.
platform::ViewNode onboardingView(OnboardingStep step, const std::function<void()>& close,
                                  const std::function<void()>& openSettings);
std::string onboardingTitle(OnboardingStep step);
std::string onboardingText(OnboardingStep step);

class OnboardingWindow : public std::enable_shared_from_this<OnboardingWindow> {
public:
    static constexpr double kContentWidth = 420;

    // A titled, closable window "Marlowick", centred, showing the state's step.
    static std::shared_ptr<OnboardingWindow> create();

    OnboardingState state;
    const std::shared_ptr<platform::Window>& window() const { return controller_->window(); }
    // Key and in front; the application comes forward a moment later.
    void show();

private:
    OnboardingWindow() = default;
    void redraw();
    void openSettings();

    // Holds the platform window, which fits each step, and keeps its top edge.
    std::shared_ptr<TitledWindowController> controller_;
    bool askedToBeListed_ = false;
};

} // namespace marlowick
