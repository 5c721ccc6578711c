#include "sim/login_items.h"

#include <utility>

namespace marlowick::sim {

platform::LoginItemStatus SimLoginItems::mainAppStatus() {
    if (!registered_) return platform::LoginItemStatus::NotRegistered;
    return turnedOffByUser_ ? platform::LoginItemStatus::RequiresApproval
                            : platform::LoginItemStatus::Enabled;
}

bool SimLoginItems::refuse(std::string& error) {
    if (failure_.empty()) return false;
    error = std::exchange(failure_, {});
    return true;
}

bool SimLoginItems::registerMainApp(std::string& error) {
    if (refuse(error)) return false;
    registered_ = true;
    return true;
}

bool SimLoginItems::unregisterMainApp(std::string& error) {
    if (refuse(error)) return false;
    // As on the Mac, there is nothing to unregister for an item that was never registered.
    if (!registered_) {
        error = "The operation couldn't be completed. (No such process)";
        return false;
    }
    registered_ = false;
    return true;
}

} // namespace marlowick::sim
