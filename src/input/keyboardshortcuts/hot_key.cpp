#include "input/keyboardshortcuts/hot_key.h"

#include "input/keyboardshortcuts/hot_key_center.h"

namespace KeyboardShortcuts {

HotKey::HotKey(std::uint32_t id, Shortcut chord, Action onKeyDown, Action onKeyUp)
    : carbonKeyCode(chord.carbonKeyCode), carbonModifiers(chord.carbonModifiers),
      onKeyDown(std::move(onKeyDown)), onKeyUp(std::move(onKeyUp)), id_(id) {}

HotKey::~HotKey() {
    eventHotKeyRef.unregister();
    if (center_) center_->forget(id_);
}

} // namespace KeyboardShortcuts
