// The hot-key engine: a chord per name kept in the user defaults, system-wide hot keys for the
// names that have listeners, and the listeners called on key-down and key-up. Editing chords is
// the recorder's job; what a hot key does is the caller's.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "input/keyboardshortcuts/key.h"
#include "input/keyboardshortcuts/name.h"
#include "input/keyboardshortcuts/shortcut.h"
#include "input/keyboardshortcuts/special_key.h"

namespace KeyboardShortcuts {

enum class EventType { keyDown, keyUp };

// Posted on the notification bus after every change of a stored chord, with {"name": raw value}.
inline constexpr std::string_view kShortcutByNameDidChange = "KeyboardShortcuts_shortcutByNameDidChange";

// The stored chord of the name, or none (nothing stored, removed, or unreadable).
std::optional<Shortcut> getShortcut(const Name& name);
// Stores the chord (or its absence) and keeps the registration in step.
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
// Sets each name back to its initial chord, in order.
void reset(const std::vector<Name>& names);

void onKeyDown(const Name& name, std::function<void()> action);
void onKeyUp(const Name& name, std::function<void()> action);
// Disabled names keep their chords but do not act; their hot keys go unless another name needs them.
void disable(const std::vector<Name>& names);
void enable(const std::vector<Name>& names);

// Off silences every engine hot key.
bool isEnabled();
void setEnabled(bool enabled);
// Set while a recorder records, so that chords reach the recorder.
bool isPaused();
void setPaused(bool paused);

} // namespace KeyboardShortcuts
