// Wraps: NSNotificationCenter's default centre, so that the system's own notifications (user
// defaults changes, menu tracking) and the product's reach the same observers, always on the main
// thread: one posted on another thread (a framework writing the defaults from its own queue) is
// handed to the main queue.
// Leaves out: notification objects (senders), the distributed centre.
#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include <memory>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// Only scalar entries with string keys cross; other entries are the sender's own business.
p::UserInfo userInfoOf(NSDictionary* _Nullable dictionary) {
    p::UserInfo info;
    if (!dictionary || dictionary.count > static_cast<NSUInteger>(kMaxArrayCount)) return info;
    for (id key in dictionary) {
        if (![key isKindOfClass:[NSString class]]) continue;
        if (auto scalar = scalarOf<p::UserInfoValue>(dictionary[key]))
            info.emplace(toString(key), std::move(*scalar));
    }
    return info;
}

class MacNotificationBus final : public p::NotificationBus {
public:
    void post(std::string_view name, const p::UserInfo& userInfo) override {
        NSString* notification = toNSString(name);
        if (!notification) return;
        NSMutableDictionary<NSString*, id>* info =
            [NSMutableDictionary dictionaryWithCapacity:userInfo.size()];
        for (const auto& [key, value] : userInfo) {
            NSString* text = toNSString(key);
            id object = objectOf(value);
            if (text && object) [info setObject:object forKey:text];
        }
        [NSNotificationCenter.defaultCenter postNotificationName:notification object:nil userInfo:info];
    }

    p::Subscription observe(std::string_view name, std::function<void(const p::UserInfo&)> handler) override {
        NSString* notification = toNSString(name);
        if (!notification) return {};
        auto held = std::make_shared<std::function<void(const p::UserInfo&)>>(std::move(handler));
        // Read and written on the main thread only: a hop still under way when the observation
        // ends calls nobody.
        auto observing = std::make_shared<bool>(true);
        // Without a queue the block runs synchronously on the posting thread, as post() promises
        // on the main thread; from any other thread the call hops to the main queue.
        NSNotificationCenter* center = NSNotificationCenter.defaultCenter;
        id token = [center addObserverForName:notification
                                       object:nil
                                        queue:nil
                                   usingBlock:^(NSNotification* delivered) {
                                     p::UserInfo info = userInfoOf(delivered.userInfo);
                                     if (NSThread.isMainThread) {
                                         auto keep = held; // the handler may end this observation
                                         if (*observing) (*keep)(info);
                                         return;
                                     }
                                     dispatch_async(dispatch_get_main_queue(), ^{
                                       auto keep = held;
                                       if (*observing) (*keep)(info);
                                     });
                                   }];
        return p::Subscription([center, token, observing] {
            *observing = false;
            [center removeObserver:token];
        });
    }
};

} // namespace

std::unique_ptr<platform::NotificationBus> makeNotificationBus() {
    return std::make_unique<MacNotificationBus>();
}

} // namespace marlowick::mac
