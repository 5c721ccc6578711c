// The shortcut recorder: a search field that shows a name's chord and, while it is its window's
// first responder, turns the next chord the user types into the name's new chord, after checking it
// against the application's menus, the system's shortcuts and its host. The host lays the field out
// (view()) and redraws its window when the field says its looks changed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "input/keyboardshortcuts/name.h"
#include "input/keyboardshortcuts/shortcut.h"
#include "input/titled_window_controller.h"
#include "platform/key_events.h"
#include "platform/subscription.h"
#include "platform/view_tree.h"

namespace KeyboardShortcuts {

// Posted when a recorder starts and stops recording, with {"isActive": Boolean}.
inline constexpr std::string_view kRecorderActiveStatusDidChange =
    "KeyboardShortcuts_recorderActiveStatusDidChange";

// What happens to a chord that collides: refused with the reason, the user's choice, or accepted.
enum class ConflictBehavior { block, warn, allow };

struct ConflictPolicy {
    // The chord is a key equivalent of an item of the application's main menu.
    ConflictBehavior menuItem = ConflictBehavior::block;
    // The system uses the chord for one of its own shortcuts.
    ConflictBehavior systemShortcut = ConflictBehavior::warn;
    // The host's check refused it.
    ConflictBehavior disallowed = ConflictBehavior::block;
};

struct ValidationResult {
    bool allowed = true;
    std::string reason;

    static ValidationResult allow() { return {}; }
    static ValidationResult disallow(std::string reason) { return {false, std::move(reason)}; }
};

// Chords stored under a name in the user defaults, or held by the host.
enum class StorageMode { name, binding };

// The title of the main-menu item whose key equivalent is the chord, if any. Items inside submenus
// count; a hidden item counts only while it still answers its key.
std::optional<std::string> menuItemUsing(const Shortcut& chord);

class RecorderCocoa : public std::enable_shared_from_this<RecorderCocoa> {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;
    using Validator = std::function<ValidationResult(const Shortcut&)>;

    // A field that edits the name's stored chord.
    static std::shared_ptr<RecorderCocoa> create(Name name, OnChange onChange = {}, Validator validate = {});
    // A field whose chord the host keeps: `onChange` hands it every new chord.
    static std::shared_ptr<RecorderCocoa> createBinding(std::string identifier,
                                                        std::optional<Shortcut> shortcut, OnChange onChange,
                                                        Validator validate = {});
    ~RecorderCocoa();
    RecorderCocoa(const RecorderCocoa&) = delete;
    RecorderCocoa& operator=(const RecorderCocoa&) = delete;

    double minimumWidth = 130;
    ConflictPolicy conflictPolicy;
    // Runs whenever what the field shows changes; the host then redraws the field's window.
    std::function<void()> onDisplayChange;

    // The window the field sits in: it tells the field when it stops being key, and shows the alerts.
    void setWindow(const std::shared_ptr<marlowick::TitledWindowController>& window);

    // The field as the window lays it out, with the window's first-responder calls bound in.
    marlowick::platform::ShortcutFieldView view() const;
    const std::string& identifier() const { return identifier_; }
    StorageMode storageMode() const { return storageMode_; }
    // The chord shown: the stored one (or the host's, in binding mode).
    std::optional<Shortcut> shortcut() const;
    std::string text() const;
    std::string placeholder() const;
    bool isRecording() const { return eventMonitor_.isActive(); }

    // What the window tells the field.
    void becomeFirstResponder();
    void resignFirstResponder();
    // The field's clear button: removes the chord.
    void clear();

    // The recorder that records now, if any.
    static std::shared_ptr<RecorderCocoa> activeRecorder();

private:
    enum class Check { menuItem, systemShortcut, disallowed, done };

    RecorderCocoa(std::string identifier, StorageMode mode);
    void observeName();
    std::optional<marlowick::platform::Event> handleKeyEvent(const marlowick::platform::Event& event);
    void record(const Shortcut& chord, Check from);
    void refuse(ConflictBehavior behavior, marlowick::platform::Alert alert, const Shortcut& chord,
                Check next);
    void store(const std::optional<Shortcut>& chord);
    // Ends recording the way the user would: the field gives up first responder.
    void finishRecording();
    void startRecording();
    // Another application came in front: typing goes there, so recording ends and a question the
    // recorder asked is answered with its first button (Cancel, or OK to a refusal).
    void applicationResignedActive();
    void endRecording();
    void displayChanged();
    void beep();

    std::string identifier_;
    StorageMode storageMode_;
    std::optional<Name> shortcutName_;
    std::optional<Shortcut> bindingShortcut_;
    OnChange onChange_;
    Validator validateShortcut_;
    std::weak_ptr<marlowick::TitledWindowController> window_;
    marlowick::platform::Subscription eventMonitor_;
    marlowick::platform::Subscription shortcutsNameChangeObserver_;
    marlowick::platform::Subscription windowKeyStatusObserver_;
    marlowick::platform::Subscription applicationResignObserver_;
    bool alertShowing_ = false;
    // This field paused the engine and announced itself; it undoes both when it stops.
    bool isActiveRecorder_ = false;
};

} // namespace KeyboardShortcuts
