// Marlowick's keyboard entry points: the three named hot keys, the on/off key (which keeps working
// while Marlowick is off, while one of its menus tracks and after it is re-recorded), and the
// picker keys, held system-wide only while the picker is on screen. The engine in
// input/keyboardshortcuts runs the other two named hot keys; what the picker keys do is the overlay's.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "platform/hot_keys.h"

namespace marlowick {

// The picker's letter keys, by raw value; G is the letter g typed with Shift; l opens a
// notification's own actions and h goes back from them.
enum class VimKey { j, k, o, d, g, G, l, h };
inline constexpr std::array<VimKey, 8> allVimKeys{VimKey::j, VimKey::k, VimKey::o, VimKey::d,
                                                  VimKey::g, VimKey::G, VimKey::l, VimKey::h};
std::string_view letter(VimKey key);

struct DigitKey {
    std::uint16_t keyCode;
    int digit;
};

class Hotkeys {
public:
    // Every hot key registered here carries this signature and a number: 1 for the on/off key,
    // 100 + key code for a picker control or digit key, 400 + raw value for a Vim letter.
    static constexpr platform::FourCharCode signature = platform::fourCharCode("MWP1");
    static constexpr std::uint32_t kToggleNumber = 1;
    static constexpr std::uint32_t kPickerKeyBase = 100;
    static constexpr std::uint32_t kVimKeyBase = 400;
    // A picker key code of a Vim letter is this plus its raw value.
    static constexpr int kVimPickerCodeBase = 300;

    static inline const KeyboardShortcuts::Name toggleSwitch{"toggleSwitch",
                                                             KeyboardShortcuts::Shortcut(45, 6656)};
    static inline const KeyboardShortcuts::Name openNotification{"openNotification",
                                                                 KeyboardShortcuts::Shortcut(45, 2048)};
    static inline const KeyboardShortcuts::Name clearAll{"clearAll", KeyboardShortcuts::Shortcut(45, 2560)};
    // In the order of the Shortcuts restore group and the settings window's rows.
    static std::vector<KeyboardShortcuts::Name> allNames() {
        return {toggleSwitch, openNotification, clearAll};
    }

    // Escape, Return, keypad Enter, up, down, left and right.
    static constexpr std::array<std::uint16_t, 7> pickerControlKeys{53, 36, 76, 126, 125, 123, 124};
    // Digits 1 to 9 on the main row and on the keypad.
    static constexpr std::array<DigitKey, 18> pickerDigitKeys{{
        {18, 1},
        {19, 2},
        {20, 3},
        {21, 4},
        {23, 5},
        {22, 6},
        {26, 7},
        {28, 8},
        {25, 9},
        {83, 1},
        {84, 2},
        {85, 3},
        {86, 4},
        {87, 5},
        {88, 6},
        {89, 7},
        {91, 8},
        {92, 9},
    }};
    // Where the Vim letters sit on a U.S. layout, by raw value (G with Shift).
    static constexpr std::array<std::uint16_t, 8> usVimKeyCodes{38, 40, 31, 2, 5, 5, 37, 4};
    static std::optional<int> digit(std::uint16_t keyCode);

    // Installs the handler for Marlowick's own hot keys on the application target; once, before
    // anything is registered.
    static void installHotkeyEventHandler();
    // Keeps the on/off action and starts following recorders and menus; then registers the on/off key.
    static void install(std::function<void()> onToggle);
    // The picker's key entry: gets a picker key code (a key code, or 300 + a Vim letter's raw
    // value). The picker installs it while its overlay is up; without one, picker keys are ignored.
    static void setPickerKeyReceiver(std::function<void(int pickerKeyCode)> receiver);

    // (Re)registers the on/off key with its stored chord, unless a recorder records or a menu tracks.
    static void registerToggleHotKey();
    static void registerPickerKeys();
    static void unregisterPickerKeys();

    // Which key types each one-character string on the current layout (the lowest key code wins).
    static std::map<std::string, std::uint16_t> layoutKeyCodes();
};

} // namespace marlowick
