// The simulated process's notification centre behind platform::NotificationBus.
// Models: synchronous delivery in the order observers began observing; observers dropped during a
// post are not called afterwards, observers added during a post wait for the next one; handles that
// outlive the bus; a post made off the main thread delivered on a later turn of the main run loop.
// Not modelled: posting queues, distributed notifications.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/notification_bus.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

class SimNotificationBus final : public platform::NotificationBus {
public:
    explicit SimNotificationBus(SimRunLoop& loop);
    ~SimNotificationBus() override;
    SimNotificationBus(const SimNotificationBus&) = delete;
    SimNotificationBus& operator=(const SimNotificationBus&) = delete;

    void post(std::string_view name, const platform::UserInfo& userInfo = {}) override;
    platform::Subscription observe(std::string_view name,
                                   std::function<void(const platform::UserInfo&)> handler) override;

    // How many observers a name has now; tests use it to see that handles were dropped.
    std::size_t observerCount(std::string_view name) const;

private:
    struct Observer;
    struct Registry;
    static void deliver(Registry& registry, std::string_view name, const platform::UserInfo& userInfo);
    SimRunLoop& loop_;
    std::shared_ptr<Registry> registry_;
};

} // namespace marlowick::sim
