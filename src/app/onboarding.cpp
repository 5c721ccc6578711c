#include "app/onboarding.h"

#include "app/app_delegate.h"
#include "app/log.h"
#include "input/hotkeys.h"
#include "platform/platform.h"

namespace marlowick {

void OnboardingState::setStep(OnboardingStep step) {
    step_ = step;
    if (observer_) observer_();
}

std::string onboardingTitle(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::needed:
        return "Allow Marlowick to press notifications";
    case OnboardingStep::lost:
        return "Marlowick lost its permission";
    case OnboardingStep::checking:
    case OnboardingStep::noAnswer:
        return "Checking the permission";
    case OnboardingStep::granted:
        return "Marlowick is ready";
    }
    return {};
}

std::string onboardingText(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::needed:
        return "macOS gives apps no way to open another app's notification, so Marlowick reads and presses "
               "them through Accessibility. It only touches Notification Center.\n\nSystem Settings opens on "
               "the right list. Turn on Marlowick there.";
    case OnboardingStep::lost:
        return "macOS no longer accepts the permission Marlowick was given, as happens after an update.\n\nIn "
               "System Settings, select Marlowick, remove it with \u2212, then add it back with + and turn it "
               "on.";
    case OnboardingStep::checking:
        return "Reading Notification Center\u2026";
    case OnboardingStep::noAnswer:
        return "The permission is on, but Notification Center isn't answering yet. If this stays, quit "
               "Marlowick and open it again.";
    case OnboardingStep::granted:
        if (auto shortcut = KeyboardShortcuts::getShortcut(Hotkeys::openNotification))
            return "Press " + shortcut->description() + " to open a notification.";
        return "The permission is on.";
    }
    return {};
}

platform::ViewNode onboardingView(OnboardingStep step, const std::function<void()>& close,
                                  const std::function<void()>& openSettings) {
    using platform::ViewNode;
    platform::StackView content;
    content.axis = platform::Axis::Vertical;
    content.alignment = platform::StackAlignment::Leading;
    content.spacing = 12;
    content.padding = 20;
    content.width = OnboardingWindow::kContentWidth;
    platform::TextView title;
    title.text = onboardingTitle(step);
    title.role = platform::FontRole::Title2;
    title.weight = platform::FontWeight::Semibold;
    content.children.push_back(ViewNode::makeText(std::move(title)));
    platform::TextView text;
    text.text = onboardingText(step);
    content.children.push_back(ViewNode::makeText(std::move(text)));

    platform::StackView buttons;
    buttons.axis = platform::Axis::Horizontal;
    buttons.spacing = 8;
    auto button = [](std::string title, std::function<void()> action) {
        platform::ButtonView view;
        view.title = std::move(title);
        view.action = std::move(action);
        view.isDefault = true;
        return ViewNode::makeButton(std::move(view));
    };
    switch (step) {
    case OnboardingStep::needed:
    case OnboardingStep::lost:
        buttons.children.push_back(button("Open System Settings", openSettings));
        break;
    case OnboardingStep::granted:
        buttons.children.push_back(button("Done", close));
        break;
    case OnboardingStep::checking:
    case OnboardingStep::noAnswer:
        break;
    }
    content.children.push_back(ViewNode::makeStack(std::move(buttons)));
    return ViewNode::makeStack(std::move(content));
}

std::shared_ptr<OnboardingWindow> OnboardingWindow::create() {
    auto onboarding = std::shared_ptr<OnboardingWindow>(new OnboardingWindow());
    onboarding->controller_ = TitledWindowController::attach(platform::current().titledWindows->makeWindow(
        platform::Rect(0, 0, 0, 0), platform::kWindowStyleTitled | platform::kWindowStyleClosable,
        platform::Defer::Yes));
    onboarding->window()->setTitle("Marlowick");
    std::weak_ptr<OnboardingWindow> weak = onboarding;
    onboarding->state.setObserver([weak] {
        if (auto self = weak.lock()) self->redraw();
    });
    onboarding->redraw();
    onboarding->window()->center();
    return onboarding;
}

void OnboardingWindow::redraw() {
    // The window is held weakly: the content belongs to it.
    std::weak_ptr<platform::Window> weakWindow = window();
    std::weak_ptr<OnboardingWindow> weak = weak_from_this();
    controller_->setContent(onboardingView(
        state.step(),
        [weakWindow] {
            if (auto window = weakWindow.lock()) window->performClose();
        },
        [weak] {
            if (auto self = weak.lock()) self->openSettings();
        }));
}

void OnboardingWindow::openSettings() {
    auto& services = platform::current();
    // Only the prompting trust query puts Marlowick in the list the settings open on; once a run.
    if (!askedToBeListed_) {
        askedToBeListed_ = true;
        services.accessibility->isProcessTrustedPromptingUser();
    }
    services.workspace->openURL(std::string(kAccessibilitySettingsURL));
}

void OnboardingWindow::show() {
    window()->makeKeyAndOrderFront();
    platform::current().runLoop->asyncAfter(
        AppDelegate::kActivationDelay, [] { platform::current().application->activateIgnoringOtherApps(); });
}

void AppDelegate::showOnboarding(bool lost) {
    log(std::string("Showing onboarding: ") + (lost ? "true" : "false"));
    onboarding_ = OnboardingWindow::create();
    onboarding_->state.setStep(lost ? OnboardingStep::lost : OnboardingStep::needed);
    trackWindow(onboarding_->window());
    platform::current().application->setActivationPolicy(platform::ActivationPolicy::Regular);
    onboarding_->show();
}

} // namespace marlowick
