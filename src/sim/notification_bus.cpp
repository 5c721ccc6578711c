#include "sim/notification_bus.h"

#include <vector>

namespace marlowick::sim {

struct SimNotificationBus::Observer {
    std::function<void(const platform::UserInfo&)> handler;
    bool active = true;
};

// Shared with the observers' handles, so that a handle dropped after the bus is harmless.
struct SimNotificationBus::Registry {
    // Observers of each name in the order they began; keyed by a sequence number.
    std::map<std::string, std::map<std::uint64_t, std::shared_ptr<Observer>>, std::less<>> byName;
    std::uint64_t nextSequence = 0;
};

SimNotificationBus::SimNotificationBus(SimRunLoop& loop)
    : loop_(loop), registry_(std::make_shared<Registry>()) {}

SimNotificationBus::~SimNotificationBus() {
    // Handles still held elsewhere must not call handlers that may refer to a torn-down world.
    for (auto& [name, observers] : registry_->byName) {
        for (auto& [sequence, observer] : observers)
            observer->active = false;
    }
}

void SimNotificationBus::post(std::string_view name, const platform::UserInfo& userInfo) {
    if (loop_.isMainThread()) {
        deliver(*registry_, name, userInfo);
        return;
    }
    // Observers run on the main thread, whoever posts.
    loop_.async([weak = std::weak_ptr<Registry>(registry_), name = std::string(name), userInfo] {
        if (auto registry = weak.lock()) deliver(*registry, name, userInfo);
    });
}

void SimNotificationBus::deliver(Registry& registry, std::string_view name, const platform::UserInfo& userInfo) {
    auto found = registry.byName.find(name);
    if (found == registry.byName.end()) return;
    // A snapshot: handlers may add or drop observers (their own included) while this post runs.
    std::vector<std::shared_ptr<Observer>> receivers;
    receivers.reserve(found->second.size());
    for (const auto& [sequence, observer] : found->second)
        receivers.push_back(observer);
    // The user information is copied so that a handler cannot change what later handlers see.
    const platform::UserInfo info = userInfo;
    for (const auto& observer : receivers) {
        if (observer->active) observer->handler(info);
    }
}

platform::Subscription SimNotificationBus::observe(std::string_view name,
                                                   std::function<void(const platform::UserInfo&)> handler) {
    if (!handler) return {};
    auto observer = std::make_shared<Observer>();
    observer->handler = std::move(handler);
    std::uint64_t sequence = registry_->nextSequence++;
    auto slot = registry_->byName.find(name);
    if (slot == registry_->byName.end())
        slot = registry_->byName.emplace(std::string(name), decltype(slot->second){}).first;
    slot->second.emplace(sequence, observer);
    std::weak_ptr<Registry> registry = registry_;
    return platform::Subscription([registry, observer, key = std::string(name), sequence] {
        observer->active = false;
        auto alive = registry.lock();
        if (!alive) return;
        auto entry = alive->byName.find(key);
        if (entry == alive->byName.end()) return;
        entry->second.erase(sequence);
        if (entry->second.empty()) alive->byName.erase(entry);
    });
}

std::size_t SimNotificationBus::observerCount(std::string_view name) const {
    auto found = registry_->byName.find(name);
    return found == registry_->byName.end() ? 0 : found->second.size();
}

} // namespace marlowick::sim
