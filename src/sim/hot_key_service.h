// The simulated system-wide hot-key service behind platform::HotKeys.
// Models: one registration per chord across all applications (a second one, ours or another
// application's, is refused with -9878; what a Mac answers for another process's chord is not
// documented, and the hot-key contract tests record it), delivery by the registration's target (an
// application-target hot key passes the dispatcher's handlers on its way to the application's; a
// dispatcher-target one reaches the dispatcher's handlers only), events sent to one target's handlers,
// the last installed handler asked first, pass-on by -9874, event types added and removed per handler,
// released events for a chord whose press reached a hot key, and handles that outlive the service.
// Not modelled: other threads, repeated hot-key events while a key stays down.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/hot_keys.h"

namespace marlowick::sim {

class SimHotKeyService final : public platform::HotKeys {
public:
    struct Registration {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        platform::HotKeyID id;
        platform::EventTarget target = platform::EventTarget::Application;
    };
    // One event sent to this application's handlers and what the handlers answered.
    struct Delivery {
        platform::HotKeyID id;
        std::uint32_t kind = 0;
        platform::OSStatus status = platform::kEventNotHandledErr;
    };

    SimHotKeyService();
    ~SimHotKeyService() override;
    SimHotKeyService(const SimHotKeyService&) = delete;
    SimHotKeyService& operator=(const SimHotKeyService&) = delete;

    platform::RegisterHotKeyResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                  platform::HotKeyID id,
                                                  platform::EventTarget target) override;
    platform::OSStatus installEventHandler(platform::EventTarget target,
                                           std::span<const platform::EventTypeSpec> types,
                                           platform::EventHandler handler,
                                           std::unique_ptr<platform::InstalledEventHandler>& out) override;

    // Another application grabs the chord, as long as it runs (until released).
    void holdForOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers, std::string application);
    void releaseFromOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers);
    // Which other application holds the chord, if any.
    std::optional<std::string> otherApplicationHolding(std::uint32_t keyCode, std::uint32_t modifiers) const;

    // The keyboard's side: the chord (Carbon bits of the held modifiers) goes to this application's
    // hot key if one matches; returns whether one did.
    bool press(std::uint32_t keyCode, std::uint32_t modifiers);
    // The release of a chord whose press reached a hot key that is still registered.
    bool release(std::uint32_t keyCode, std::uint32_t modifiers);
    // Sends an event to the handlers as the service would, for cases the keyboard cannot make
    // (an event without its identifier, say). Returns what the handlers answered.
    platform::OSStatus dispatch(const platform::CarbonEvent& event,
                                platform::EventTarget target = platform::EventTarget::Application);
    // Sends an event to the handlers of one target only, as SendEventToEventTarget does.
    platform::OSStatus sendToTarget(const platform::CarbonEvent& event, platform::EventTarget target);

    // This application's registrations, in the order they were made.
    std::vector<Registration> registrations() const;
    bool isRegistered(std::uint32_t keyCode, std::uint32_t modifiers) const;
    // The latest deliveries (at most kDeliveriesKept), oldest first.
    static constexpr std::size_t kDeliveriesKept = 256;
    const std::deque<Delivery>& deliveries() const { return deliveries_; }
    std::size_t handlerCount() const;

private:
    struct Handler;
    struct State;
    class InstalledHandler;
    using Handlers = std::vector<std::shared_ptr<Handler>>;
    // Asks the target's handlers of the snapshot, the last installed first, until one takes the event.
    static platform::OSStatus ask(const Handlers& handlers, platform::EventTarget target,
                                  const platform::CarbonEvent& event);
    std::shared_ptr<State> state_;
    std::deque<Delivery> deliveries_;
};

} // namespace marlowick::sim
