// The process's own notification centre: a name with user information, observed on the main
// thread (a post from another thread reaches the observers on a later turn of the main run loop). It carries the hot-key engine's notifications, user-defaults changes and menu
// tracking. Observers are handles that stop observing when dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "platform/subscription.h"

namespace marlowick::platform {

using UserInfoValue = std::variant<std::string, bool, std::int64_t, double>;
using UserInfo = std::map<std::string, UserInfoValue, std::less<>>;

// Posted by the window server when one of the application's menus begins and ends tracking.
inline constexpr std::string_view kMenuDidBeginTracking = "NSMenuDidBeginTrackingNotification";
inline constexpr std::string_view kMenuDidEndTracking = "NSMenuDidEndTrackingNotification";

class NotificationBus {
public:
    virtual ~NotificationBus() = default;
    // Delivers to every observer of the name, in the order they began observing: synchronously when
    // posted on the main thread.
    virtual void post(std::string_view name, const UserInfo& userInfo = {}) = 0;
    virtual Subscription observe(std::string_view name, std::function<void(const UserInfo&)> handler) = 0;
};

} // namespace marlowick::platform
