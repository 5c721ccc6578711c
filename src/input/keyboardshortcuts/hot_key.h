// One chord registered with the platform's hot-key service, and what its presses and releases do.
// The hot-key center owns the registrations' life cycle; the engine decides which chords exist.
#pragma once

#include <cstdint>
#include <functional>

#include "input/keyboardshortcuts/shortcut.h"
#include "platform/hot_keys.h"

namespace KeyboardShortcuts {

class HotKeyCenter;

class HotKey {
public:
    using Action = std::function<void()>;

    HotKey(std::uint32_t id, Shortcut chord, Action onKeyDown, Action onKeyUp);
    // Gives the chord back to the platform and leaves the center.
    ~HotKey();
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    std::uint32_t id() const { return id_; }
    Shortcut chord() const { return {carbonKeyCode, carbonModifiers}; }
    bool isRegistered() const { return eventHotKeyRef.isRegistered(); }

    const std::int64_t carbonKeyCode;
    const std::int64_t carbonModifiers;
    Action onKeyDown;
    Action onKeyUp;
    // Runs when registering again (after the engine was switched off or a menu closed) fails.
    Action onRegistrationFailed;
    marlowick::platform::HotKeyRegistration eventHotKeyRef;

private:
    friend class HotKeyCenter;
    std::uint32_t id_;
    HotKeyCenter* center_ = nullptr;
};

} // namespace KeyboardShortcuts
