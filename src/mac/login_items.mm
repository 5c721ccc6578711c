// Wraps: ServiceManagement's SMAppService.mainAppService (status, register, unregister) and its
// opening of the Login Items settings.
// Leaves out: agents, daemons and helper login items.
#import <ServiceManagement/ServiceManagement.h>

#include <memory>
#include <string>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

std::string describe(NSError* _Nullable error) {
    if (!error) return "unknown error";
    return toString(error.localizedDescription) + " (" + std::to_string(error.code) + ")";
}

class MacLoginItems final : public p::LoginItems {
public:
    p::LoginItemStatus status() override {
        switch (SMAppService.mainAppService.status) {
        case SMAppServiceStatusNotRegistered:
            return p::LoginItemStatus::NotRegistered;
        case SMAppServiceStatusEnabled:
            return p::LoginItemStatus::Enabled;
        case SMAppServiceStatusRequiresApproval:
            return p::LoginItemStatus::RequiresApproval;
        case SMAppServiceStatusNotFound:
            return p::LoginItemStatus::NotFound;
        }
        return p::LoginItemStatus::NotFound;
    }

    bool registerMainApp(std::string& error) override {
        NSError* failure = nil;
        if ([SMAppService.mainAppService registerAndReturnError:&failure]) return true;
        error = describe(failure);
        return false;
    }

    bool unregisterMainApp(std::string& error) override {
        NSError* failure = nil;
        if ([SMAppService.mainAppService unregisterAndReturnError:&failure]) return true;
        error = describe(failure);
        return false;
    }

    void openSystemSettingsLoginItems() override { [SMAppService openSystemSettingsLoginItems]; }
};

} // namespace

std::unique_ptr<platform::LoginItems> makeLoginItems() {
    return std::make_unique<MacLoginItems>();
}

} // namespace marlowick::mac
