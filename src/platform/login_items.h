// The system's login-item service for the application itself: register, unregister, its status, and
// the system settings page where the user can switch it off. What the product does with the status
// is its own.
#pragma once

#include <string>

namespace marlowick::platform {

// The service's own status codes.
enum class LoginItemStatus { NotRegistered = 0, Enabled = 1, RequiresApproval = 2, NotFound = 3 };

class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual LoginItemStatus status() = 0;
    // Each answers true on success, or false with the service's error description in `error`.
    virtual bool registerMainApp(std::string& error) = 0;
    virtual bool unregisterMainApp(std::string& error) = 0;
    // Opens the system settings' Login Items page.
    virtual void openSystemSettingsLoginItems() = 0;
};

} // namespace marlowick::platform
