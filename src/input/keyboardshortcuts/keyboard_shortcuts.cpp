#include "input/keyboardshortcuts/keyboard_shortcuts.h"

#include "input/keyboardshortcuts/engine.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace detail {

Engine& engine() {
    static std::unique_ptr<Engine> state;
    static std::uint64_t generation = 0;
    if (!state || generation != platform::generation()) {
        state.reset(); // the old platform's handles are harmless to drop
        state = std::make_unique<Engine>();
        generation = platform::generation();
    }
    return *state;
}

void prepare(const Name& name) {
    auto& state = engine();
    if (!state.initializedNames.insert(name.rawValue).second || !name.initialShortcut) return;
    auto& defaults = *platform::current().defaults;
    if (!defaults.object(name.userDefaultsKey()))
        defaults.set(name.userDefaultsKey(), encodeShortcut(*name.initialShortcut));
}

} // namespace detail

namespace {

using detail::engine;

platform::UserDefaults& defaults() {
    return *platform::current().defaults;
}

bool hasListeners(const Name& name) {
    return engine().keyDownHandlers.contains(name.rawValue) || engine().keyUpHandlers.contains(name.rawValue);
}

// Whether an enabled name with listeners, other than `except`, maps to the chord.
bool chordInUse(const Shortcut& chord, const Name& except) {
    for (const auto* table : {&engine().keyDownHandlers, &engine().keyUpHandlers}) {
        for (const auto& [rawValue, handlers] : *table) {
            if (rawValue == except.rawValue || engine().disabledNames.contains(rawValue)) continue;
            if (getShortcut(handlers.name) == chord) return true;
        }
    }
    return false;
}

// Drops the hot key of the name's current chord unless another name still needs it.
void dropChordOf(const Name& name) {
    auto chord = getShortcut(name);
    if (chord && !chordInUse(*chord, name)) engine().hotKeys.erase(*chord);
}

void dispatch(const Shortcut& chord, EventType type) {
    if (engine().isPaused) return;
    const auto& table = type == EventType::keyDown ? engine().keyDownHandlers : engine().keyUpHandlers;
    // Actions may change the tables (or the chords) while they run.
    std::vector<std::function<void()>> actions;
    for (const auto& [rawValue, handlers] : table) {
        if (engine().disabledNames.contains(rawValue) || getShortcut(handlers.name) != chord) continue;
        actions.insert(actions.end(), handlers.actions.begin(), handlers.actions.end());
    }
    for (const auto& action : actions)
        action();
}

void registerChord(const Shortcut& chord) {
    auto& state = engine();
    if (state.hotKeys.contains(chord)) return;
    auto& center = HotKeyCenter::shared();
    auto hotKey = std::make_shared<HotKey>(
        center.nextHotKeyId(), chord, [chord] { dispatch(chord, EventType::keyDown); },
        [chord] { dispatch(chord, EventType::keyUp); });
    if (!center.add(hotKey)) return; // not active; tried again at the name's next registration
    std::weak_ptr<HotKey> weak = hotKey;
    hotKey->onRegistrationFailed = [chord, weak] {
        auto& hotKeys = engine().hotKeys;
        auto found = hotKeys.find(chord);
        if (found != hotKeys.end() && found->second == weak.lock()) hotKeys.erase(found);
    };
    state.hotKeys.emplace(chord, std::move(hotKey));
}

void registerName(const Name& name) {
    if (engine().disabledNames.contains(name.rawValue) || !hasListeners(name)) return;
    if (auto chord = getShortcut(name)) registerChord(*chord);
}

void postChange(const Name& name) {
    if (auto* bus = platform::current().notifications)
        bus->post(kShortcutByNameDidChange, {{"name", platform::UserInfoValue(name.rawValue)}});
}

void updateCenter() {
    auto& state = engine();
    if (state.center) state.center->setEnabled(state.isEnabled && !state.isPaused);
}

void addHandler(std::map<std::string, detail::NameHandlers>& table, const Name& name,
                std::function<void()> action) {
    auto [entry, added] = table.try_emplace(name.rawValue, detail::NameHandlers{name, {}});
    entry->second.actions.push_back(std::move(action));
    registerName(name);
}

} // namespace

std::optional<Shortcut> getShortcut(const Name& name) {
    detail::prepare(name);
    auto stored = defaults().object(name.userDefaultsKey());
    if (!stored) return std::nullopt;
    if (const auto* json = std::get_if<std::string>(&*stored)) return decodeShortcut(*json);
    return std::nullopt;
}

void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    detail::prepare(name);
    auto key = name.userDefaultsKey();
    if (shortcut) {
        auto json = encodeShortcut(*shortcut);
        dropChordOf(name);
        defaults().set(key, json);
    } else if (name.initialShortcut) {
        auto stored = defaults().object(key);
        if (stored && std::holds_alternative<bool>(*stored) && !std::get<bool>(*stored)) return;
        dropChordOf(name);
        defaults().set(key, false);
    } else {
        if (!defaults().object(key)) return;
        dropChordOf(name);
        defaults().remove(key);
    }
    registerName(name);
    postChange(name);
}

void reset(const std::vector<Name>& names) {
    for (const auto& name : names)
        setShortcut(name.initialShortcut, name);
}

void onKeyDown(const Name& name, std::function<void()> action) {
    addHandler(engine().keyDownHandlers, name, std::move(action));
}

void onKeyUp(const Name& name, std::function<void()> action) {
    addHandler(engine().keyUpHandlers, name, std::move(action));
}

void disable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        engine().disabledNames.insert(name.rawValue);
        dropChordOf(name);
    }
}

void enable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        engine().disabledNames.erase(name.rawValue);
        registerName(name);
    }
}

bool isEnabled() {
    return engine().isEnabled;
}

void setEnabled(bool enabled) {
    engine().isEnabled = enabled;
    updateCenter();
}

bool isPaused() {
    return engine().isPaused;
}

void setPaused(bool paused) {
    engine().isPaused = paused;
    updateCenter();
}

} // namespace KeyboardShortcuts
