#include "sim/login_items.h"

namespace marlowick::sim {

using platform::LoginItemStatus;

bool SimLoginItems::registerMainApp(std::string& error) {
    switch (answer_) {
    case Answer::Allow:
        status_ = LoginItemStatus::Enabled;
        return true;
    case Answer::Refuse:
        error = kRefusedError;
        return false;
    case Answer::Disabled:
        // The item is known to the system but the user keeps it off.
        status_ = LoginItemStatus::RequiresApproval;
        error = kDeniedError;
        return false;
    }
    return false;
}

bool SimLoginItems::unregisterMainApp(std::string& error) {
    if (answer_ == Answer::Refuse) {
        error = kRefusedError;
        return false;
    }
    status_ = LoginItemStatus::NotRegistered;
    return true;
}

void SimLoginItems::setAnswer(Answer answer) {
    answer_ = answer;
    if (answer == Answer::Disabled && status_ == LoginItemStatus::Enabled)
        status_ = LoginItemStatus::RequiresApproval;
}

} // namespace marlowick::sim
