// The simulated login-item service behind platform::LoginItems, for Marlowick as its main app.
// Models: the status with the service's codes, registering and unregistering as the user's
// system settings allow them: every change accepted, every change refused with an error, or
// Marlowick switched off by the user in Login Items (then the status requires approval and
// registering is denied until the user allows it again); openings of the Login Items page.
// Not modelled: helper or agent services, the approval prompt, other applications' items.
#pragma once

#include <string>

#include "platform/login_items.h"

namespace marlowick::sim {

class SimLoginItems final : public platform::LoginItems {
public:
    enum class Answer { Allow, Refuse, Disabled };

    static constexpr const char* kRefusedError =
        "The operation couldn’t be completed. Operation not permitted";
    static constexpr const char* kDeniedError =
        "The operation couldn’t be completed. The user denied the launch";

    platform::LoginItemStatus status() override { return status_; }
    bool registerMainApp(std::string& error) override;
    bool unregisterMainApp(std::string& error) override;
    void openSystemSettingsLoginItems() override { ++loginItemsPageOpenings_; }

    // How the service answers from now on. Switching Marlowick off in Login Items turns an enabled
    // item into one that requires approval at once.
    void setAnswer(Answer answer);
    Answer answer() const { return answer_; }
    int loginItemsPageOpenings() const { return loginItemsPageOpenings_; }

private:
    platform::LoginItemStatus status_ = platform::LoginItemStatus::NotRegistered;
    Answer answer_ = Answer::Allow;
    int loginItemsPageOpenings_ = 0;
};

} // namespace marlowick::sim
