// The simulated application object behind platform::Application, and where this application's key
// events go when no menu tracks: the main menu's key equivalents, then the key window. Models: the
// activation policy (accessory at launch, as the bundle declares), activation that makes this
// application frontmost for the keyboard and tells the window server (panels that hide while the
// application is inactive) and, on deactivation, posts the resign-active notification, the main
// menu (its key equivalents answer only while the application is active and regular), process
// activities held by their tokens (and whether one keeps the Mac from idle sleep), terminate,
// which stops the event loop after the current turn, and an exit with a status (kept for the test
// to read; the user may launch the application again). Not modelled: the Dock, hiding, deactivation
// by other applications, termination delegates.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/notification_bus.h"
#include "sim/keyboard.h"
#include "sim/menus.h"
#include "sim/titled_windows.h"
#include "sim/window_server.h"

namespace marlowick::sim {

class SimApplication final : public platform::Application {
public:
    struct Activity {
        platform::ActivityOptions options = 0;
        std::string reason;
        bool active = true;
    };

    SimApplication(SimMenus& menus, SimTitledWindows& windows, SimWindowServer& panels,
                   SimKeyboard& keyboard, platform::NotificationBus& notifications);
    ~SimApplication() override;
    SimApplication(const SimApplication&) = delete;
    SimApplication& operator=(const SimApplication&) = delete;

    platform::ActivationPolicy activationPolicy() override { return policy_; }
    void setActivationPolicy(platform::ActivationPolicy policy) override;
    void activateIgnoringOtherApps() override;
    bool isActive() override { return active_; }
    std::shared_ptr<platform::Menu> mainMenu() override { return mainMenu_; }
    void setMainMenu(std::shared_ptr<platform::Menu> menu) override { mainMenu_ = std::move(menu); }
    std::shared_ptr<platform::Window> keyWindow() override { return windows_.keyWindow(); }
    platform::ActivityToken beginActivity(platform::ActivityOptions options,
                                          const std::string& reason) override;
    void terminate() override { terminated_ = true; }
    void exitProcess(int status) override {
        terminated_ = true;
        exitStatus_ = status;
    }

    // A key-down that reached this application while no menu tracks.
    void handleKeyEvent(const platform::Event& event);

    // The user switches to another application.
    void deactivate();
    bool isTerminated() const { return terminated_; }
    // The status an exitProcess gave; none after a plain terminate or while running.
    std::optional<int> exitStatus() const { return exitStatus_; }
    // The user starts Marlowick again after it has ended.
    void relaunch() {
        terminated_ = false;
        exitStatus_.reset();
    }
    // Every activity begun, oldest first; `active` turns false when its token is dropped.
    const std::vector<Activity>& activities() const { return *activities_; }
    // Whether an activity in force keeps the Mac from sleeping when the user leaves it idle.
    bool preventsIdleSystemSleep() const;
    // Policies in the order they were set, the launch's accessory first.
    const std::vector<platform::ActivationPolicy>& policyHistory() const { return policyHistory_; }
    int activationCount() const { return activations_; }

private:
    SimMenus& menus_;
    SimTitledWindows& windows_;
    SimWindowServer& panels_;
    SimKeyboard& keyboard_;
    platform::NotificationBus& notifications_;
    platform::ActivationPolicy policy_ = platform::ActivationPolicy::Accessory;
    std::vector<platform::ActivationPolicy> policyHistory_{platform::ActivationPolicy::Accessory};
    bool active_ = false;
    int activations_ = 0;
    std::shared_ptr<platform::Menu> mainMenu_;
    std::shared_ptr<std::vector<Activity>> activities_ = std::make_shared<std::vector<Activity>>();
    bool terminated_ = false;
    std::optional<int> exitStatus_;
};

} // namespace marlowick::sim
