// The application object: its activation policy, activation, main menu, process activities and
// termination. What its windows and menus show is the business of their own services.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/subscription.h"

namespace marlowick::platform {

class Menu;
class Window;

// Posted on the notification bus when this application stops being the active one.
inline constexpr std::string_view kApplicationDidResignActive = "NSApplicationDidResignActiveNotification";

// Regular: a Dock icon and a menu bar of its own. Accessory: neither, as a menu-bar utility runs.
enum class ActivationPolicy { Regular, Accessory, Prohibited };

// Options of a process activity, with the bits the Mac gives them. User-initiated alone includes
// kActivityIdleSystemSleepDisabled: an activity held for the life of the process with it would
// keep the Mac awake for as long as the process runs.
using ActivityOptions = std::uint64_t;
inline constexpr ActivityOptions kActivityIdleSystemSleepDisabled = 0x00100000ULL;
inline constexpr ActivityOptions kActivityUserInitiated = 0x00FFFFFFULL;
inline constexpr ActivityOptions kActivityUserInitiatedAllowingIdleSystemSleep =
    kActivityUserInitiated & ~kActivityIdleSystemSleepDisabled;
inline constexpr ActivityOptions kActivityLatencyCritical = 0xFF00000000ULL;

// A process activity that lasts while the token is held.
class ActivityToken {
public:
    ActivityToken() = default;
    explicit ActivityToken(Subscription end) : end_(std::move(end)) {}
    bool isActive() const { return end_.isActive(); }

private:
    Subscription end_;
};

class Application {
public:
    virtual ~Application() = default;

    virtual ActivationPolicy activationPolicy() = 0;
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    // Makes this the active application even while another one is in front.
    virtual void activateIgnoringOtherApps() = 0;
    virtual bool isActive() = 0;

    // The menu bar's menus while the application is regular and active.
    virtual std::shared_ptr<Menu> mainMenu() = 0;
    virtual void setMainMenu(std::shared_ptr<Menu> menu) = 0;
    // The window that receives the keyboard, if any.
    virtual std::shared_ptr<Window> keyWindow() = 0;

    virtual ActivityToken beginActivity(ActivityOptions options, const std::string& reason) = 0;
    // Ends the process once the event loop has finished its current turn.
    virtual void terminate() = 0;
    // Ends the process at once with this exit status, as a command-line tool ends: for a run that
    // did one job (a tree dump) and has nothing to tear down.
    virtual void exitProcess(int status) = 0;
};

} // namespace marlowick::platform
