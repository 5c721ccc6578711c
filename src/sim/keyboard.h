// The simulated keyboard: the user pressing and releasing key chords.
// Models: where a chord goes (while a menu of this application tracks, to the application's queue
// and never to its hot keys; else to a hot key of this application, to another application's hot
// key, or to the frontmost application, which is another one unless this one is made frontmost);
// the Function and numeric-pad flags that some keys always carry; key repeat while a chord is held
// (repeats never reach hot keys). Not modelled: modifier-only presses, several keys at once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/key_events.h"
#include "sim/application_events.h"
#include "sim/hot_key_service.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

// A key and the modifier keys held with it (shift, control, option, command, function, caps lock).
struct KeyChord {
    std::uint16_t keyCode = 0;
    platform::ModifierFlags modifiers = 0;
};

class SimKeyboard {
public:
    static constexpr double kInitialRepeatDelay = 0.5;
    static constexpr double kRepeatInterval = 0.1;

    SimKeyboard(SimRunLoop& loop, SimHotKeyService& hotKeys, SimApplicationEvents& events);

    void press(KeyChord chord);
    void release(KeyChord chord);
    void type(KeyChord chord) {
        press(chord);
        release(chord);
    }
    // Presses now, repeats the key while it is held and releases it `seconds` later (on the run loop).
    void hold(KeyChord chord, double seconds);

    // Whether keys that no hot key takes go to this application rather than another one.
    void setOwnApplicationFrontmost(bool frontmost) { ownApplicationFrontmost_ = frontmost; }
    // Chords pressed that another application's hot key took, as "Application: key code".
    const std::vector<std::string>& otherApplicationHotKeyPresses() const { return otherHotKeyPresses_; }

    // Carbon bits of the held modifiers, as the hot-key service compares chords.
    static std::uint32_t carbonModifiers(platform::ModifierFlags flags);
    // The flags an event of the key carries: the held ones and those the key always adds.
    static platform::ModifierFlags eventFlags(KeyChord chord);

private:
    enum class Route { HotKey, OtherHotKey, Application, OtherApplication };
    void repeat(KeyChord chord, std::uint64_t press, double until);
    void send(platform::EventType type, KeyChord chord, Route route, bool isARepeat);

    SimRunLoop& loop_;
    SimHotKeyService& hotKeys_;
    SimApplicationEvents& events_;
    bool ownApplicationFrontmost_ = false;
    std::map<std::uint16_t, std::pair<Route, std::uint64_t>> down_; // key code → route, press number
    std::uint64_t nextPress_ = 1;
    std::vector<std::string> otherHotKeyPresses_;
};

} // namespace marlowick::sim
