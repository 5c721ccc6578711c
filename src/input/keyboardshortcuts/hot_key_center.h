// Keeps the engine's hot keys registered with the platform as its mode allows: all of them while
// it runs normally, none while it is switched off, and none while one of the application's menus
// tracks, when the key monitors of the application's own queue stand in for them. Which chords
// exist, and what they do, is the engine's business (keyboard_shortcuts.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "input/keyboardshortcuts/hot_key.h"
#include "platform/application_events.h"
#include "platform/hot_keys.h"
#include "platform/subscription.h"

namespace KeyboardShortcuts {

class HotKeyCenter {
public:
    enum class Mode { disabled, normal, menuOpen };

    // The engine's own signature; the application's hot keys carry another one.
    static constexpr marlowick::platform::FourCharCode signature = marlowick::platform::fourCharCode("KSHk");

    // The shared center of the platform in force, created at first use.
    static HotKeyCenter& shared();

    explicit HotKeyCenter(bool isEnabled);
    ~HotKeyCenter();
    HotKeyCenter(const HotKeyCenter&) = delete;
    HotKeyCenter& operator=(const HotKeyCenter&) = delete;

    std::uint32_t nextHotKeyId() { return ++lastHotKeyId_; }
    // Registers the hot key with the platform, or keeps it parked while the mode is not normal.
    // False when the platform refused it; the center then forgets it.
    bool add(const std::shared_ptr<HotKey>& hotKey);
    void forget(std::uint32_t id);

    void setEnabled(bool enabled);
    void setMenuOpen(bool open);
    Mode mode() const { return mode_; }
    bool isHotKeyEventHandlingEnabled() const { return isHotKeyEventHandlingEnabled_; }
    bool isRawKeyEventHandlingEnabled() const { return isRawKeyEventHandlingEnabled_; }

private:
    void updateMode();
    void applyMode(Mode previous);
    bool registerWithPlatform(HotKey& hotKey);
    void setHotKeyEventHandling(bool enabled);
    void setRawKeyEventHandling(bool enabled);
    std::shared_ptr<HotKey> liveHotKey(std::uint32_t id) const;
    marlowick::platform::OSStatus handleHotKeyEvent(const marlowick::platform::CarbonEvent& event);
    // True when the event was an engine chord (its action ran); the event is then consumed.
    bool handleRawKeyEvent(const marlowick::platform::Event& event);
    void drainRawKeyEvents();

    std::uint32_t lastHotKeyId_ = 0;
    std::map<std::uint32_t, std::weak_ptr<HotKey>> hotKeys_;
    std::unique_ptr<marlowick::platform::InstalledEventHandler> eventHandler_;
    marlowick::platform::Subscription openMenuObserver_;
    marlowick::platform::Subscription closeMenuObserver_;
    marlowick::platform::Subscription runLoopKeyEventMonitor_;
    marlowick::platform::Subscription appKitKeyEventMonitor_;
    bool isEnabled_;
    bool isMenuOpen_ = false;
    bool isHotKeyEventHandlingEnabled_ = false;
    bool isRawKeyEventHandlingEnabled_ = false;
    Mode mode_;
};

} // namespace KeyboardShortcuts
