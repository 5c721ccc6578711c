// The simulated login-item service behind platform::LoginItems.
// Models: registering and unregistering the main application, the user turning it off in the
// system settings (it then needs approval), refusals with an error, the settings page opening.
// Not modelled: launching anything at login.
#pragma once

#include <string>

#include "platform/login_items.h"

namespace marlowick::sim {

class SimLoginItems final : public platform::LoginItems {
public:
    platform::LoginItemStatus mainAppStatus() override;
    bool registerMainApp(std::string& error) override;
    bool unregisterMainApp(std::string& error) override;
    void openSystemSettingsLoginItems() override { ++settingsOpened_; }

    // The user switches the item off (or on again) in the system settings' Login Items.
    void setTurnedOffByUser(bool off) { turnedOffByUser_ = off; }
    // The next register or unregister is refused with this error.
    void failNext(std::string error) { failure_ = std::move(error); }
    int settingsOpened() const { return settingsOpened_; }

private:
    bool refuse(std::string& error);

    bool registered_ = false;
    bool turnedOffByUser_ = false;
    std::string failure_;
    int settingsOpened_ = 0;
};

} // namespace marlowick::sim
