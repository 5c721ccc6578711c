// The system-wide hot-key service (Carbon's event hot keys): grabbing a key chord for the whole
// system and the event handlers that receive its pressed and released events. What a hot key does
// is the product's business; key events of the application's own queue are in key_events.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>

#include "platform/subscription.h"

namespace marlowick::platform {

using OSStatus = std::int32_t;
inline constexpr OSStatus kNoErr = 0;
inline constexpr OSStatus kParamErr = -50;
inline constexpr OSStatus kEventParameterNotFoundErr = -9870;
// A handler returns this to pass the event on to the next handler.
inline constexpr OSStatus kEventNotHandledErr = -9874;
// The chord is already registered, by this or another application.
inline constexpr OSStatus kEventHotKeyExistsErr = -9878;

using FourCharCode = std::uint32_t;
constexpr FourCharCode fourCharCode(const char (&code)[5]) {
    return static_cast<FourCharCode>(static_cast<unsigned char>(code[0])) << 24 |
           static_cast<FourCharCode>(static_cast<unsigned char>(code[1])) << 16 |
           static_cast<FourCharCode>(static_cast<unsigned char>(code[2])) << 8 |
           static_cast<FourCharCode>(static_cast<unsigned char>(code[3]));
}

// Carbon's modifier bits, as hot keys and stored shortcuts carry them.
inline constexpr std::uint32_t kCarbonCommand = 256;
inline constexpr std::uint32_t kCarbonShift = 512;
inline constexpr std::uint32_t kCarbonCapsLock = 1024;
inline constexpr std::uint32_t kCarbonOption = 2048;
inline constexpr std::uint32_t kCarbonControl = 4096;
inline constexpr std::uint32_t kCarbonFunction = 131072;

inline constexpr FourCharCode kEventClassKeyboard = fourCharCode("keyb");
inline constexpr std::uint32_t kEventHotKeyPressed = 5;
inline constexpr std::uint32_t kEventHotKeyReleased = 6;

// Names a hot key in its events: the registering application's signature and its own number.
struct HotKeyID {
    FourCharCode signature = 0;
    std::uint32_t id = 0;
    friend bool operator==(const HotKeyID&, const HotKeyID&) = default;
};

enum class EventTarget { Application, Dispatcher };

struct EventTypeSpec {
    FourCharCode eventClass = 0;
    std::uint32_t eventKind = 0;
    friend bool operator==(const EventTypeSpec&, const EventTypeSpec&) = default;
};

// One event as a handler receives it. A hot-key event carries its identifier as the direct object.
struct CarbonEvent {
    FourCharCode eventClass = 0;
    std::uint32_t kind = 0;
    std::optional<HotKeyID> directObject;
};

// Reads the hot-key identifier of an event; fails when the event has none.
inline OSStatus getHotKeyID(const CarbonEvent& event, HotKeyID& out) {
    if (!event.directObject) return kEventParameterNotFoundErr;
    out = *event.directObject;
    return kNoErr;
}

// Returns kNoErr when it handled the event, kEventNotHandledErr to pass it on, or an error.
using EventHandler = std::function<OSStatus(const CarbonEvent&)>;

// An installed handler. Destroying it removes the handler from its target.
class InstalledEventHandler {
public:
    virtual ~InstalledEventHandler() = default;
    virtual OSStatus addEventTypes(std::span<const EventTypeSpec> types) = 0;
    virtual OSStatus removeEventTypes(std::span<const EventTypeSpec> types) = 0;
};

// A registered hot key. Move-only; dropping it (or unregister()) gives the chord back.
class HotKeyRegistration {
public:
    HotKeyRegistration() = default;
    explicit HotKeyRegistration(Subscription unregister) : unregister_(std::move(unregister)) {}
    void unregister() { unregister_.cancel(); }
    bool isRegistered() const { return unregister_.isActive(); }

private:
    Subscription unregister_;
};

// The registration, or the service's status when it refused the chord.
class RegisterHotKeyResult {
public:
    RegisterHotKeyResult(HotKeyRegistration registration) : registration_(std::move(registration)) {}
    // A refusal always carries an error; a status of kNoErr without a registration would lie.
    RegisterHotKeyResult(OSStatus status) : status_(status == kNoErr ? kParamErr : status) {}

    bool succeeded() const { return status_ == kNoErr; }
    OSStatus status() const { return status_; }
    HotKeyRegistration takeRegistration() { return std::move(registration_); }

private:
    HotKeyRegistration registration_;
    OSStatus status_ = kNoErr;
};

class HotKeys {
public:
    virtual ~HotKeys() = default;
    // Grabs the chord (a virtual key code and Carbon modifier bits) for the whole system. Presses
    // reach the handlers of the dispatcher target first, then those of the application target.
    virtual RegisterHotKeyResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id,
                                                EventTarget target) = 0;
    // The handler receives events of the listed types until it is destroyed. On one target the
    // handler installed last is asked first.
    virtual OSStatus installEventHandler(EventTarget target, std::span<const EventTypeSpec> types,
                                         EventHandler handler,
                                         std::unique_ptr<InstalledEventHandler>& out) = 0;
};

} // namespace marlowick::platform
