// Keyboard layouts through the text-input-source service: the current ASCII-capable layout and the
// character a key produces on it. Choosing the layout is the user's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/hot_keys.h"

namespace marlowick::platform {

enum class KeyAction { Down, Up, AutoKey, Display };
enum class DeadKeys { Process, Suppress };

inline constexpr OSStatus kUCOutputBufferTooSmall = -25340;

// The Unicode key-layout data of one input source.
class KeyLayout {
public:
    virtual ~KeyLayout() = default;
    // What the key produces with the modifier keys held (Carbon modifier bits shifted right by 8).
    // A dead key processed rather than suppressed produces nothing and leaves its state behind.
    virtual OSStatus translate(std::uint16_t keyCode, KeyAction action, std::uint32_t modifierKeyState,
                               std::uint32_t keyboardType, DeadKeys deadKeys, std::uint32_t& deadKeyState,
                               std::size_t maxLength, std::u16string& out) const = 0;
};

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    // The layout of the current ASCII-capable input source; none when it has no layout data.
    virtual std::shared_ptr<const KeyLayout> currentASCIICapableLayout() = 0;
    // The physical keyboard's type, as translations ask for it.
    virtual std::uint32_t keyboardType() = 0;
};

} // namespace marlowick::platform
