#include "sim/keyboard.h"

#include <algorithm>
#include <array>

namespace marlowick::sim {

using platform::EventType;

namespace {

// Keys whose events always carry the Function flag: F1-F20, help, forward delete, home, end,
// page up, page down and the arrows.
constexpr std::array<std::uint16_t, 31> kFunctionFlagKeys = {
    122, 120, 99, 118, 96,  97,  98,  100, 101, 109, 103, 111, 105, 107, 113, 106,
    64,  79,  80, 90,  114, 117, 115, 119, 116, 121, 126, 124, 125, 123, 71};

bool carriesFunctionFlag(std::uint16_t keyCode) {
    return std::find(kFunctionFlagKeys.begin(), kFunctionFlagKeys.end(), keyCode) != kFunctionFlagKeys.end();
}

// The keypad and the arrows carry the numeric-pad flag.
bool carriesNumericPadFlag(std::uint16_t keyCode) {
    constexpr std::array<std::uint16_t, 22> keypad = {65, 67, 69, 71, 75, 76, 78, 81,  82,  83,  84,
                                                      85, 86, 87, 88, 89, 91, 92, 123, 124, 125, 126};
    return std::find(keypad.begin(), keypad.end(), keyCode) != keypad.end();
}

} // namespace

SimKeyboard::SimKeyboard(SimRunLoop& loop, SimHotKeyService& hotKeys, SimApplicationEvents& events)
    : loop_(loop), hotKeys_(hotKeys), events_(events) {}

std::uint32_t SimKeyboard::carbonModifiers(platform::ModifierFlags flags) {
    std::uint32_t bits = 0;
    if (flags & platform::kFlagCommand) bits |= platform::kCarbonCommand;
    if (flags & platform::kFlagShift) bits |= platform::kCarbonShift;
    if (flags & platform::kFlagOption) bits |= platform::kCarbonOption;
    if (flags & platform::kFlagControl) bits |= platform::kCarbonControl;
    if (flags & platform::kFlagFunction) bits |= platform::kCarbonFunction;
    return bits;
}

platform::ModifierFlags SimKeyboard::eventFlags(KeyChord chord) {
    auto flags = chord.modifiers;
    if (carriesFunctionFlag(chord.keyCode)) flags |= platform::kFlagFunction;
    if (carriesNumericPadFlag(chord.keyCode)) flags |= platform::kFlagNumericPad;
    return flags;
}

void SimKeyboard::send(EventType type, KeyChord chord, Route route, bool isARepeat) {
    auto event = events_.makeKeyEvent(type, chord.keyCode, eventFlags(chord), isARepeat);
    if (route == Route::Application)
        events_.deliverToApplication(event);
    else if (route == Route::OtherApplication)
        events_.deliverToOtherApplication(event);
}

void SimKeyboard::press(KeyChord chord) {
    auto carbon = carbonModifiers(chord.modifiers);
    Route route;
    if (events_.isMenuTracking()) {
        route = Route::Application; // the menu has the keyboard; hot keys stay silent
    } else if (hotKeys_.press(chord.keyCode, carbon)) {
        route = Route::HotKey;
    } else if (auto holder = hotKeys_.otherApplicationHolding(chord.keyCode, carbon)) {
        route = Route::OtherHotKey;
        otherHotKeyPresses_.push_back(*holder + ": " + std::to_string(chord.keyCode));
    } else {
        route = ownApplicationFrontmost_ ? Route::Application : Route::OtherApplication;
    }
    down_[chord.keyCode] = {route, nextPress_++};
    send(EventType::KeyDown, chord, route, false);
}

void SimKeyboard::release(KeyChord chord) {
    auto found = down_.find(chord.keyCode);
    if (found == down_.end()) return;
    Route route = found->second.first;
    down_.erase(found);
    if (events_.isMenuTracking()) {
        send(EventType::KeyUp, chord, Route::Application, false);
    } else if (route == Route::HotKey) {
        hotKeys_.release(chord.keyCode, carbonModifiers(chord.modifiers));
    } else if (route != Route::OtherHotKey) {
        send(EventType::KeyUp, chord, route, false);
    }
}

void SimKeyboard::hold(KeyChord chord, double seconds) {
    press(chord);
    auto press = down_[chord.keyCode].second;
    double until = loop_.now() + seconds;
    loop_.asyncAfter(std::min(kInitialRepeatDelay, seconds),
                     [this, chord, press, until] { repeat(chord, press, until); });
}

void SimKeyboard::repeat(KeyChord chord, std::uint64_t press, double until) {
    auto found = down_.find(chord.keyCode);
    if (found == down_.end() || found->second.second != press) return; // released by hand meanwhile
    if (loop_.now() >= until) {
        release(chord);
        return;
    }
    Route route = events_.isMenuTracking() ? Route::Application : found->second.first;
    send(EventType::KeyDown, chord, route, true);
    double next = std::min(kRepeatInterval, until - loop_.now());
    loop_.asyncAfter(next, [this, chord, press, until] { repeat(chord, press, until); });
}

} // namespace marlowick::sim
