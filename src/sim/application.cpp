#include "sim/application.h"

#include <utility>

namespace marlowick::sim {

SimApplication::SimApplication(SimMenus& menus, SimTitledWindows& windows, SimWindowServer& panels,
                               SimKeyboard& keyboard, platform::NotificationBus& notifications)
    : menus_(menus), windows_(windows), panels_(panels), keyboard_(keyboard), notifications_(notifications) {}

SimApplication::~SimApplication() = default;

void SimApplication::setActivationPolicy(platform::ActivationPolicy policy) {
    if (policy == policy_) return;
    policy_ = policy;
    policyHistory_.push_back(policy);
}

void SimApplication::activateIgnoringOtherApps() {
    ++activations_;
    keyboard_.setOwnApplicationFrontmost(true);
    if (!std::exchange(active_, true)) panels_.applicationDidBecomeActive();
}

void SimApplication::deactivate() {
    keyboard_.setOwnApplicationFrontmost(false);
    if (!std::exchange(active_, false)) return;
    panels_.applicationDidResignActive();
    notifications_.post(platform::kApplicationDidResignActive);
}

platform::ActivityToken SimApplication::beginActivity(platform::ActivityOptions options,
                                                      const std::string& reason) {
    activities_->push_back({options, reason, true});
    std::size_t index = activities_->size() - 1;
    std::weak_ptr<std::vector<Activity>> weak = activities_;
    return platform::ActivityToken(platform::Subscription([weak, index] {
        if (auto activities = weak.lock()) (*activities)[index].active = false;
    }));
}

bool SimApplication::preventsIdleSystemSleep() const {
    for (const Activity& activity : *activities_) {
        if (activity.active && (activity.options & platform::kActivityIdleSystemSleepDisabled)) return true;
    }
    return false;
}

void SimApplication::handleKeyEvent(const platform::Event& event) {
    bool menuBarShown = active_ && policy_ == platform::ActivationPolicy::Regular;
    if (menuBarShown && mainMenu_ && menus_.performKeyEquivalent(*mainMenu_, event)) return;
    windows_.handleKeyEvent(event);
}

} // namespace marlowick::sim
