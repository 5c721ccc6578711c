#include "input/keyboardshortcuts/name.h"

#include "input/keyboardshortcuts/engine.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

Name::Name(std::string rawValue, std::optional<Shortcut> initialShortcut)
    : rawValue(std::move(rawValue)), initialShortcut(initialShortcut) {
    if (!this->initialShortcut || !marlowick::platform::isInstalled()) return;
    detail::prepare(*this);
    HotKeyCenter::shared();
}

} // namespace KeyboardShortcuts
