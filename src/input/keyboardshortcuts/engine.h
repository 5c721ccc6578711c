// The engine's state for the platform in force: handlers per name, disabled names, the chords
// registered now and the shared hot-key center. Private to the module; a new platform (a new
// simulated Mac, say) starts from a fresh state.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "input/keyboardshortcuts/hot_key.h"
#include "input/keyboardshortcuts/hot_key_center.h"
#include "input/keyboardshortcuts/name.h"

namespace KeyboardShortcuts {
class RecorderCocoa;
}

namespace KeyboardShortcuts::detail {

struct NameHandlers {
    Name name;
    std::vector<std::function<void()>> actions;
};

struct Engine {
    bool isEnabled = true;
    bool isPaused = false;
    // Declared before the hot keys, so that it outlives them.
    std::unique_ptr<HotKeyCenter> center;
    std::map<std::string, NameHandlers> keyDownHandlers; // by raw value
    std::map<std::string, NameHandlers> keyUpHandlers;
    std::set<std::string> disabledNames;
    // Names whose initial chord has been stored (or found stored) for this platform.
    std::set<std::string> initializedNames;
    std::map<Shortcut, std::shared_ptr<HotKey>> hotKeys;
    // The recorder that records now; at most one does.
    std::weak_ptr<RecorderCocoa> activeRecorder;
};

Engine& engine();
// Stores the name's initial chord if nothing is stored under its key yet; once per platform.
void prepare(const Name& name);

} // namespace KeyboardShortcuts::detail
