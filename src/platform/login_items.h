// The login-item service: this application as the main login item, started when the user logs in.
// Whether to be one is the user's choice; the service and the user's system settings have the last word.
#pragma once

#include <cstdint>
#include <string>

namespace marlowick::platform {

// The service's status codes, logged as their numbers.
enum class LoginItemStatus : std::int64_t {
    NotRegistered = 0,
    Enabled = 1,
    RequiresApproval = 2,
    NotFound = 3
};

class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual LoginItemStatus mainAppStatus() = 0;
    // False when the service refused, with its reason in error.
    virtual bool registerMainApp(std::string& error) = 0;
    virtual bool unregisterMainApp(std::string& error) = 0;
    // Opens the Login Items page of the system settings, where the user approves or turns it off.
    virtual void openSystemSettingsLoginItems() = 0;
};

} // namespace marlowick::platform
