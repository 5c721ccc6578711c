// Key events of the application's own event queue: their types, the modifier flags they carry and
// the masks that select them. What a key produces is left to the keyboard layouts.
#pragma once

#include <cstdint>

namespace marlowick::platform {

enum class EventType : std::uint32_t { LeftMouseDown = 1, KeyDown = 10, KeyUp = 11, FlagsChanged = 12 };

using EventMask = std::uint64_t;
constexpr EventMask eventMask(EventType type) {
    return EventMask{1} << static_cast<std::uint32_t>(type);
}
inline constexpr EventMask kKeyDownMask = eventMask(EventType::KeyDown);
inline constexpr EventMask kKeyUpMask = eventMask(EventType::KeyUp);
inline constexpr EventMask kAnyEventMask = ~EventMask{0};

// The modifier flags of an event (the application kit's own bits, not Carbon's).
using ModifierFlags = std::uint64_t;
inline constexpr ModifierFlags kFlagCapsLock = 1 << 16;
inline constexpr ModifierFlags kFlagShift = 1 << 17;
inline constexpr ModifierFlags kFlagControl = 1 << 18;
inline constexpr ModifierFlags kFlagOption = 1 << 19;
inline constexpr ModifierFlags kFlagCommand = 1 << 20;
inline constexpr ModifierFlags kFlagNumericPad = 1 << 21;
inline constexpr ModifierFlags kFlagHelp = 1 << 22;
inline constexpr ModifierFlags kFlagFunction = 1 << 23;

struct Event {
    EventType type = EventType::KeyDown;
    std::uint16_t keyCode = 0;
    ModifierFlags modifierFlags = 0;
    // A key-down the keyboard repeats while the key stays down.
    bool isARepeat = false;
    double timestamp = 0;
    // Tells two events apart; a re-posted event keeps its number.
    std::uint64_t number = 0;

    bool isKey() const { return type == EventType::KeyDown || type == EventType::KeyUp; }
};

} // namespace marlowick::platform
