#include "input/keyboardshortcuts/recorder_cocoa.h"

#include <algorithm>
#include <array>

#include "input/keyboardshortcuts/engine.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "input/keyboardshortcuts/localization.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

constexpr platform::ModifierFlags kChordModifiers =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

constexpr std::array<Key, 20> kFunctionKeys{
    Key::f1,  Key::f2,  Key::f3,  Key::f4,  Key::f5,  Key::f6,  Key::f7,  Key::f8,  Key::f9,  Key::f10,
    Key::f11, Key::f12, Key::f13, Key::f14, Key::f15, Key::f16, Key::f17, Key::f18, Key::f19, Key::f20};

// A chord of a plain key (or Shift and a key) would take over ordinary typing everywhere; only
// the function keys may go without Control, Option or Command.
bool isUsableChord(const Shortcut& chord) {
    constexpr std::int64_t kCommanding =
        platform::kCarbonControl | platform::kCarbonOption | platform::kCarbonCommand;
    if (chord.carbonModifiers & kCommanding) return true;
    return std::find(kFunctionKeys.begin(), kFunctionKeys.end(), chord.key()) != kFunctionKeys.end();
}

std::string replacingPlaceholder(std::string text, const std::string& value) {
    if (auto at = text.find("%@"); at != std::string::npos) text.replace(at, 2, value);
    return text;
}

void postActiveStatus(bool active) {
    if (auto* bus = platform::current().notifications)
        bus->post(kRecorderActiveStatusDidChange, {{"isActive", platform::UserInfoValue(active)}});
}

} // namespace

std::shared_ptr<RecorderCocoa> RecorderCocoa::create(Name name, OnChange onChange, Validator validate) {
    std::shared_ptr<RecorderCocoa> recorder(
        new RecorderCocoa("shortcut." + name.rawValue, StorageMode::name));
    recorder->shortcutName_ = std::move(name);
    recorder->onChange_ = std::move(onChange);
    recorder->validateShortcut_ = std::move(validate);
    recorder->observeName();
    return recorder;
}

std::shared_ptr<RecorderCocoa> RecorderCocoa::createBinding(std::string identifier,
                                                            std::optional<Shortcut> shortcut,
                                                            OnChange onChange, Validator validate) {
    std::shared_ptr<RecorderCocoa> recorder(new RecorderCocoa(std::move(identifier), StorageMode::binding));
    recorder->bindingShortcut_ = shortcut;
    recorder->onChange_ = std::move(onChange);
    recorder->validateShortcut_ = std::move(validate);
    return recorder;
}

RecorderCocoa::RecorderCocoa(std::string identifier, StorageMode mode)
    : identifier_(std::move(identifier)), storageMode_(mode) {}

RecorderCocoa::~RecorderCocoa() {
    // A field that goes away while it records must not leave every hot key silenced.
    if (!isActiveRecorder_ || !platform::isInstalled()) return;
    eventMonitor_.cancel();
    detail::engine().activeRecorder.reset();
    setPaused(false);
    postActiveStatus(false);
}

void RecorderCocoa::observeName() {
    auto* bus = platform::current().notifications;
    if (!bus) return;
    std::weak_ptr<RecorderCocoa> weak = weak_from_this();
    shortcutsNameChangeObserver_ =
        bus->observe(kShortcutByNameDidChange, [weak](const platform::UserInfo& info) {
            auto self = weak.lock();
            if (!self || !self->shortcutName_) return;
            auto found = info.find("name");
            const auto* raw = found == info.end() ? nullptr : std::get_if<std::string>(&found->second);
            if (raw && *raw == self->shortcutName_->rawValue) self->displayChanged();
        });
}

void RecorderCocoa::setWindow(const std::shared_ptr<marlowick::TitledWindowController>& window) {
    if (window_.lock() == window) return;
    window_ = window;
    windowKeyStatusObserver_.cancel();
    if (!window) return;
    std::weak_ptr<RecorderCocoa> weak = weak_from_this();
    windowKeyStatusObserver_ = window->window()->observeKeyStatus([weak](bool isKey) {
        // Typing goes elsewhere once the window is not key: recording ends with it. Our own alert
        // takes key status only while it asks, and recording goes on after it.
        auto self = weak.lock();
        if (self && !isKey && !self->alertShowing_ && self->isRecording()) self->finishRecording();
    });
}

platform::ShortcutFieldView RecorderCocoa::view() const {
    platform::ShortcutFieldView field;
    field.identifier = identifier_;
    // While it records the field is empty, so that its placeholder asks for the keys.
    field.text = isRecording() ? std::string() : text();
    field.placeholder = placeholder();
    field.showsClearButton = !isRecording() && shortcut().has_value();
    field.minimumWidth = minimumWidth;
    // The window may hold the field after the recorder is gone; then its calls do nothing.
    std::weak_ptr<RecorderCocoa> handle = std::const_pointer_cast<RecorderCocoa>(weak_from_this().lock());
    field.onBecomeFirstResponder = [handle] {
        if (auto self = handle.lock()) self->becomeFirstResponder();
    };
    field.onResignFirstResponder = [handle] {
        if (auto self = handle.lock()) self->resignFirstResponder();
    };
    field.onClear = [handle] {
        if (auto self = handle.lock()) self->clear();
    };
    return field;
}

std::optional<Shortcut> RecorderCocoa::shortcut() const {
    if (storageMode_ == StorageMode::binding) return bindingShortcut_;
    return shortcutName_ ? getShortcut(*shortcutName_) : std::nullopt;
}

std::string RecorderCocoa::text() const {
    auto chord = shortcut();
    return chord ? chord->description() : std::string();
}

std::string RecorderCocoa::placeholder() const {
    return localized(isRecording() ? "press_shortcut" : "record_shortcut");
}

std::shared_ptr<RecorderCocoa> RecorderCocoa::activeRecorder() {
    return detail::engine().activeRecorder.lock();
}

void RecorderCocoa::becomeFirstResponder() {
    if (!isRecording()) startRecording();
}

void RecorderCocoa::resignFirstResponder() {
    if (isRecording()) endRecording();
}

void RecorderCocoa::clear() {
    store(std::nullopt);
    finishRecording();
    displayChanged();
}

void RecorderCocoa::startRecording() {
    // One recorder at a time: another one that still records stops first.
    if (auto other = activeRecorder(); other && other.get() != this) other->finishRecording();
    detail::engine().activeRecorder = weak_from_this();
    isActiveRecorder_ = true;
    setPaused(true);
    postActiveStatus(true);
    std::weak_ptr<RecorderCocoa> weak = weak_from_this();
    if (auto* bus = platform::current().notifications) {
        applicationResignObserver_ = bus->observe(platform::kApplicationDidResignActive,
                                                  [weak](const platform::UserInfo&) {
                                                      if (auto self = weak.lock()) self->applicationResignedActive();
                                                  });
    }
    eventMonitor_ = platform::current().events->addLocalMonitor(
        platform::kKeyDownMask, [weak](const platform::Event& event) -> std::optional<platform::Event> {
            auto self = weak.lock();
            if (!self) return event;
            return self->handleKeyEvent(event);
        });
    displayChanged();
}

void RecorderCocoa::applicationResignedActive() {
    if (auto window = window_.lock(); window && alertShowing_) window->endAlert(0);
    finishRecording();
}

void RecorderCocoa::endRecording() {
    eventMonitor_.cancel();
    applicationResignObserver_.cancel();
    auto& active = detail::engine().activeRecorder;
    if (isActiveRecorder_) {
        isActiveRecorder_ = false;
        active.reset();
        setPaused(false);
        postActiveStatus(false);
    }
    displayChanged();
}

void RecorderCocoa::finishRecording() {
    auto controller = window_.lock();
    auto window = controller ? controller->window() : nullptr;
    if (window && window->firstResponder() == identifier_) window->makeFirstResponder(std::nullopt);
    // Without a window (or one that did not tell the field), recording still ends here.
    if (isRecording()) endRecording();
}

std::optional<platform::Event> RecorderCocoa::handleKeyEvent(const platform::Event& event) {
    // An alert of ours takes its own keys.
    if (alertShowing_ || !isRecording()) return event;
    if (event.type != platform::EventType::KeyDown) return event;
    const bool plain = (event.modifierFlags & kChordModifiers) == 0;
    const Key key(event.keyCode);
    if (plain && key == Key::tab) {
        // The focus moves on along the window's key-view loop, which ends recording here.
        if (auto window = window_.lock()) window->selectNextKeyView();
        if (isRecording()) endRecording();
        return std::nullopt;
    }
    if (plain && (key == Key::deleteKey || key == Key::deleteForward)) {
        clear();
        return std::nullopt;
    }
    if (plain && key == Key::escape) {
        finishRecording();
        return std::nullopt;
    }
    if (event.isARepeat) return std::nullopt;
    auto chord = Shortcut::fromEvent(event);
    if (!chord) {
        beep();
        return std::nullopt;
    }
    if (!isUsableChord(*chord)) {
        refuse(ConflictBehavior::block,
               {localized("keyboard_shortcut_disallowed"), localized("keyboard_shortcut_needs_modifier"), {}},
               *chord, Check::done);
        return std::nullopt;
    }
    record(*chord, Check::menuItem);
    return std::nullopt;
}

void RecorderCocoa::record(const Shortcut& chord, Check from) {
    if (from == Check::menuItem) {
        if (auto item = menuItemUsing(chord); item && conflictPolicy.menuItem != ConflictBehavior::allow) {
            refuse(conflictPolicy.menuItem,
                   {replacingPlaceholder(localized("keyboard_shortcut_used_by_menu_item"), *item), "", {}},
                   chord, Check::systemShortcut);
            return;
        }
        from = Check::systemShortcut;
    }
    if (from == Check::systemShortcut) {
        if (conflictPolicy.systemShortcut != ConflictBehavior::allow && chord.isTakenBySystem()) {
            refuse(conflictPolicy.systemShortcut,
                   {localized("keyboard_shortcut_used_by_system"),
                    localized("keyboard_shortcuts_can_be_changed"),
                    {}},
                   chord, Check::disallowed);
            return;
        }
        from = Check::disallowed;
    }
    if (from == Check::disallowed && validateShortcut_ &&
        conflictPolicy.disallowed != ConflictBehavior::allow) {
        auto result = validateShortcut_(chord);
        if (!result.allowed) {
            refuse(conflictPolicy.disallowed, {localized("keyboard_shortcut_disallowed"), result.reason, {}},
                   chord, Check::done);
            return;
        }
    }
    store(chord);
    finishRecording();
}

void RecorderCocoa::refuse(ConflictBehavior behavior, platform::Alert alert, const Shortcut& chord,
                           Check next) {
    auto window = window_.lock();
    if (!window) {
        // Nowhere to ask: a warning cannot be answered, so the chord stays refused.
        beep();
        return;
    }
    if (behavior == ConflictBehavior::warn) {
        alert.buttons = {{"Cancel", platform::ButtonRole::Cancel}, {localized("force_use_shortcut"), {}}};
    } else {
        alert.buttons = {{"OK", platform::ButtonRole::Normal}};
    }
    alertShowing_ = true;
    std::weak_ptr<RecorderCocoa> weak = weak_from_this();
    window->beginAlert(std::move(alert), [weak, behavior, chord, next](std::size_t button) {
        auto self = weak.lock();
        if (!self) return;
        self->alertShowing_ = false;
        // Recording may have ended meanwhile (the window closed): then nothing is stored.
        if (behavior == ConflictBehavior::warn && button == 1 && self->isRecording())
            self->record(chord, next);
    });
}

void RecorderCocoa::store(const std::optional<Shortcut>& chord) {
    if (storageMode_ == StorageMode::binding) {
        bindingShortcut_ = chord;
    } else if (shortcutName_) {
        setShortcut(chord, *shortcutName_);
    }
    if (onChange_) onChange_(chord);
}

void RecorderCocoa::displayChanged() {
    if (onDisplayChange) onDisplayChange();
}

void RecorderCocoa::beep() {
    if (auto* windows = platform::current().windows) windows->beep();
}

} // namespace KeyboardShortcuts
