#include "input/keyboardshortcuts/shortcut.h"

#include <vector>

#include "input/keyboardshortcuts/modifiers.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

constexpr Shortcut kF12Alone{Key::f12.rawValue, 0};

template <typename T> std::optional<T> member(const platform::SymbolicHotKey& entry, std::string_view name) {
    auto found = entry.find(name);
    if (found == entry.end()) return std::nullopt;
    if (const auto* value = std::get_if<T>(&found->second)) return *value;
    return std::nullopt;
}

} // namespace

Shortcut::Shortcut(Key key, platform::ModifierFlags modifiers)
    : carbonKeyCode(key.rawValue), carbonModifiers(KeyboardShortcuts::carbonModifiers(modifiers)) {}

std::optional<Shortcut> Shortcut::fromEvent(const platform::Event& event) {
    if (!event.isKey()) return std::nullopt;
    return Shortcut(event.keyCode,
                    KeyboardShortcuts::carbonModifiers(event.modifierFlags & ~platform::kFlagFunction));
}

platform::ModifierFlags Shortcut::modifiers() const {
    return modifierFlags(carbonModifiers);
}

bool Shortcut::isTakenBySystem() const {
    // The system still lists F12 although nothing answers to it any more.
    if (*this == kF12Alone) return false;
    auto* service = platform::current().symbolicHotKeys;
    if (!service) return false;
    std::vector<platform::SymbolicHotKey> shortcuts;
    if (service->copySymbolicHotKeys(shortcuts) != platform::kNoErr) return false;
    for (const auto& entry : shortcuts) {
        auto code = member<std::int64_t>(entry, platform::kSymbolicHotKeyCode);
        auto modifiers = member<std::int64_t>(entry, platform::kSymbolicHotKeyModifiers);
        auto enabled = member<bool>(entry, platform::kSymbolicHotKeyEnabled);
        if (enabled.value_or(false) && code == carbonKeyCode && modifiers == carbonModifiers) return true;
    }
    return false;
}

} // namespace KeyboardShortcuts
