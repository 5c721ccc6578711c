// Wraps: NSUserDefaults' standard defaults of the application's own domain. Its change notification
// reaches the product through the notification bus (notification_bus.mm), which observes
// NSNotificationCenter.
// Leaves out: other domains and suites, registered defaults, non-scalar values (they read as none).
#import <Foundation/Foundation.h>

#include <memory>
#include <optional>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

class MacUserDefaults final : public platform::UserDefaults {
public:
    std::optional<platform::DefaultsValue> object(std::string_view key) override {
        NSString* name = toNSString(key);
        if (!name) return std::nullopt;
        return scalarOf<platform::DefaultsValue>([NSUserDefaults.standardUserDefaults objectForKey:name]);
    }

    void set(std::string_view key, platform::DefaultsValue value) override {
        NSString* name = toNSString(key);
        id object = objectOf(value);
        // A key or string that is not UTF-8 cannot be stored; storing nil would remove the key instead.
        if (!name || !object) return;
        [NSUserDefaults.standardUserDefaults setObject:object forKey:name];
    }

    void remove(std::string_view key) override {
        if (NSString* name = toNSString(key)) [NSUserDefaults.standardUserDefaults removeObjectForKey:name];
    }
};

} // namespace

std::unique_ptr<platform::UserDefaults> makeUserDefaults() {
    return std::make_unique<MacUserDefaults>();
}

} // namespace marlowick::mac
