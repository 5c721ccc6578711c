#include "input/hotkeys.h"

#include <memory>

#include "app/log.h"
#include "input/keyboardshortcuts/recorder_cocoa.h"
#include "input/keyboardshortcuts/text.h"
#include "input/settings.h"
#include "platform/platform.h"

namespace marlowick {

using KeyboardShortcuts::Shortcut;

namespace {

constexpr std::array<std::string_view, 8> kVimLetters{"j", "k", "o", "d", "g", "G", "l", "h"};

// The component's state for the platform in force; a new platform starts afresh.
struct State {
    std::function<void()> onToggle;
    std::function<void(int)> pickerKeyReceiver;
    platform::HotKeyRegistration toggleHotKeyRef;
    bool recorderActive = false;
    platform::Subscription menuTrackingObserver;
    bool draining = false;
    platform::Subscription menuKeyMonitor;
    std::vector<platform::HotKeyRegistration> pickerHotKeyRefs;
    std::unique_ptr<platform::InstalledEventHandler> eventHandler;
    platform::Subscription recorderObserver;
    platform::Subscription menuBeginObserver;
    platform::Subscription menuEndObserver;
};

State& state() {
    static std::unique_ptr<State> current;
    static std::uint64_t generation = 0;
    if (!current || generation != platform::generation()) {
        current.reset();
        current = std::make_unique<State>();
        generation = platform::generation();
    }
    return *current;
}

// A peek at the event queue runs the run loop once, main-queue tasks included, so a toggle the
// drain schedules could otherwise run inside the drain, in the middle of the menu's tracking loop.
void scheduleToggle() {
    platform::current().runLoop->async([] {
        if (state().draining) {
            scheduleToggle();
            return;
        }
        if (auto toggle = state().onToggle) toggle();
    });
}

// Whether the event is the on/off chord that should switch Marlowick rather than reach the menu.
bool isToggleChord(const platform::Event& event) {
    if (state().recorderActive) return false;
    auto chord = Shortcut::fromEvent(event);
    return chord && chord == KeyboardShortcuts::getShortcut(Hotkeys::toggleSwitch);
}

// A menu's own loop may take key events before any monitor sees them, so the pending key-downs are
// looked at here, before the menu handles its sources. Other events go back in their order.
// Peeking runs due timers and tasks of ours nested in here; none of them may start another drain.
void drainMenuKeyEvents() {
    if (state().draining) return;
    state().draining = true;
    auto& events = *platform::current().events;
    std::vector<platform::Event> kept;
    while (auto next = events.nextEvent(platform::kAnyEventMask, platform::RunLoopMode::EventTracking,
                                        platform::Dequeue::No)) {
        if (next->type != platform::EventType::KeyDown) break;
        auto taken = events.nextEvent(platform::kKeyDownMask, platform::RunLoopMode::EventTracking,
                                      platform::Dequeue::Yes);
        if (!taken) break;
        if (!isToggleChord(*taken)) {
            kept.push_back(*taken);
        } else if (!taken->isARepeat) {
            scheduleToggle();
        }
    }
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        events.postEvent(*it, platform::QueueEnd::Front);
    state().draining = false;
}

void menuDidBeginTracking() {
    auto& current = state();
    if (current.menuTrackingObserver.isActive()) return;
    auto& events = *platform::current().events;
    current.menuTrackingObserver =
        events.addRunLoopObserver(platform::RunLoopMode::EventTracking, [] { drainMenuKeyEvents(); });
    current.menuKeyMonitor = events.addLocalMonitor(
        platform::kKeyDownMask, [](const platform::Event& event) -> std::optional<platform::Event> {
            if (!isToggleChord(event)) return event;
            if (!event.isARepeat) scheduleToggle();
            return std::nullopt;
        });
    Hotkeys::registerToggleHotKey();
}

void menuDidEndTracking() {
    auto& current = state();
    current.menuTrackingObserver.cancel();
    current.menuKeyMonitor.cancel();
    Hotkeys::registerToggleHotKey();
}

std::optional<platform::HotKeyRegistration> registerKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                        std::uint32_t number, platform::OSStatus& status) {
    auto result = platform::current().hotKeys->registerHotKey(
        keyCode, modifiers, {Hotkeys::signature, number}, platform::EventTarget::Application);
    status = result.status();
    if (!result.succeeded()) return std::nullopt;
    return result.takeRegistration();
}

void registerPickerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t number) {
    platform::OSStatus status = platform::kNoErr;
    if (auto registration = registerKey(keyCode, modifiers, number, status)) {
        state().pickerHotKeyRefs.push_back(std::move(*registration));
        return;
    }
    log("Could not register picker key " + std::to_string(keyCode) + " — status " + std::to_string(status));
}

void handleHotKeyNumber(std::uint32_t number) {
    if (number == Hotkeys::kToggleNumber) {
        if (auto toggle = state().onToggle) toggle();
    } else if (number >= Hotkeys::kPickerKeyBase) {
        if (auto receiver = state().pickerKeyReceiver)
            receiver(static_cast<int>(number - Hotkeys::kPickerKeyBase));
    }
}

} // namespace

std::string_view letter(VimKey key) {
    return kVimLetters[static_cast<std::size_t>(key)];
}

std::optional<int> Hotkeys::digit(std::uint16_t keyCode) {
    for (const auto& entry : pickerDigitKeys) {
        if (entry.keyCode == keyCode) return entry.digit;
    }
    return std::nullopt;
}

void Hotkeys::installHotkeyEventHandler() {
    auto& current = state();
    if (current.eventHandler) return;
    const platform::EventTypeSpec pressed{platform::kEventClassKeyboard, platform::kEventHotKeyPressed};
    platform::current().hotKeys->installEventHandler(
        platform::EventTarget::Application, {&pressed, 1},
        [](const platform::CarbonEvent& event) {
            platform::HotKeyID id;
            if (platform::getHotKeyID(event, id) != platform::kNoErr) id = {};
            // The engine numbers its hot keys from 1 as well, and one of its events that its own
            // handler passes on (its hot key just went) must not switch Marlowick or move the picker.
            if (id.signature != Hotkeys::signature) id = {};
            // The platform's dispatch must return at once: the work happens on the main queue.
            platform::current().runLoop->async([number = id.id] { handleHotKeyNumber(number); });
            return platform::kNoErr;
        },
        current.eventHandler);
}

void Hotkeys::install(std::function<void()> onToggle) {
    auto& current = state();
    current.onToggle = std::move(onToggle);
    auto& bus = *platform::current().notifications;
    current.recorderObserver =
        bus.observe(KeyboardShortcuts::kRecorderActiveStatusDidChange, [](const platform::UserInfo& info) {
            bool active = false;
            if (auto found = info.find("isActive"); found != info.end()) {
                if (const auto* value = std::get_if<bool>(&found->second)) active = *value;
            }
            state().recorderActive = active;
            registerToggleHotKey();
        });
    current.menuBeginObserver = bus.observe(platform::kMenuDidBeginTracking,
                                            [](const platform::UserInfo&) { menuDidBeginTracking(); });
    current.menuEndObserver =
        bus.observe(platform::kMenuDidEndTracking, [](const platform::UserInfo&) { menuDidEndTracking(); });
    registerToggleHotKey();
}

void Hotkeys::setPickerKeyReceiver(std::function<void(int)> receiver) {
    state().pickerKeyReceiver = std::move(receiver);
}

void Hotkeys::registerToggleHotKey() {
    auto& current = state();
    current.toggleHotKeyRef.unregister();
    // A recorder must receive the chord; a tracking menu's keys are filtered instead.
    if (current.recorderActive || current.menuTrackingObserver.isActive()) return;
    auto chord = KeyboardShortcuts::getShortcut(toggleSwitch);
    if (!chord) return;
    platform::OSStatus status = platform::kNoErr;
    // Stored chords are decoded within what the service takes, so the conversions are exact.
    auto registration =
        registerKey(static_cast<std::uint32_t>(chord->carbonKeyCode),
                    static_cast<std::uint32_t>(chord->carbonModifiers), kToggleNumber, status);
    if (!registration) {
        log("Could not register the on/off shortcut — status " + std::to_string(status));
        return;
    }
    current.toggleHotKeyRef = std::move(*registration);
}

void Hotkeys::registerPickerKeys() {
    if (!state().pickerHotKeyRefs.empty()) return;
    for (auto keyCode : pickerControlKeys)
        registerPickerKey(keyCode, 0, kPickerKeyBase + keyCode);
    for (const auto& entry : pickerDigitKeys)
        registerPickerKey(entry.keyCode, 0, kPickerKeyBase + entry.keyCode);
    if (!AppSettings::vimKeys()) return;
    auto onLayout = layoutKeyCodes();
    for (auto key : allVimKeys) {
        auto index = static_cast<std::size_t>(key);
        auto lookup = key == VimKey::G ? std::string("g") : std::string(letter(key));
        std::uint16_t keyCode = usVimKeyCodes[index];
        if (auto found = onLayout.find(lookup); found != onLayout.end()) {
            keyCode = found->second;
        } else {
            log("Vim key " + std::string(letter(key)) + " is not on the layout; using the US key code");
        }
        auto modifiers = key == VimKey::G ? platform::kCarbonShift : 0;
        registerPickerKey(keyCode, modifiers, kVimKeyBase + static_cast<std::uint32_t>(index));
    }
}

void Hotkeys::unregisterPickerKeys() {
    auto& refs = state().pickerHotKeyRefs;
    for (auto& registration : refs)
        registration.unregister();
    refs.clear();
}

std::map<std::string, std::uint16_t> Hotkeys::layoutKeyCodes() {
    std::map<std::string, std::uint16_t> table;
    auto* layouts = platform::current().keyboardLayouts;
    auto layout = layouts ? layouts->currentASCIICapableLayout() : nullptr;
    if (!layout) return table;
    for (std::uint16_t keyCode = 0; keyCode < 128; ++keyCode) {
        std::uint32_t deadKeyState = 0;
        std::u16string typed;
        auto status = layout->translate(keyCode, platform::KeyAction::Display, 0, layouts->keyboardType(),
                                        platform::DeadKeys::Suppress, deadKeyState, 4, typed);
        if (status != platform::kNoErr || typed.size() != 1) continue;
        char16_t unit = typed[0];
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        table.emplace(KeyboardShortcuts::utf8(typed), keyCode); // keeps the lowest key code
    }
    return table;
}

} // namespace marlowick
