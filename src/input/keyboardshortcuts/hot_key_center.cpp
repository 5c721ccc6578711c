#include "input/keyboardshortcuts/hot_key_center.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "input/keyboardshortcuts/engine.h"
#include "input/keyboardshortcuts/modifiers.h"
#include "platform/platform.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

constexpr std::array<platform::EventTypeSpec, 2> kHotKeyEventTypes{{
    {platform::kEventClassKeyboard, platform::kEventHotKeyPressed},
    {platform::kEventClassKeyboard, platform::kEventHotKeyReleased},
}};

constexpr platform::EventMask kKeyEventMask = platform::kKeyDownMask | platform::kKeyUpMask;

// Keys whose events always carry the Function flag although nobody holds Function: F1-F20, help,
// forward delete, keypad clear, home, end, page up, page down and the arrows.
constexpr std::array<std::uint16_t, 31> kImplicitFunctionKeys{
    122, 120, 99, 118, 96,  97,  98, 100, 101, 109, 103, 111, 105, 107, 113, 106,
    64,  79,  80, 90,  114, 117, 71, 115, 119, 116, 121, 126, 124, 125, 123};

bool carriesImplicitFunction(std::uint16_t keyCode) {
    return std::find(kImplicitFunctionKeys.begin(), kImplicitFunctionKeys.end(), keyCode) !=
           kImplicitFunctionKeys.end();
}

bool fitsPlatform(std::int64_t value) {
    return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
}

} // namespace

HotKeyCenter& HotKeyCenter::shared() {
    auto& engine = detail::engine();
    if (!engine.center) engine.center = std::make_unique<HotKeyCenter>(engine.isEnabled && !engine.isPaused);
    return *engine.center;
}

HotKeyCenter::HotKeyCenter(bool isEnabled)
    : isEnabled_(isEnabled), mode_(isEnabled ? Mode::normal : Mode::disabled) {
    if (auto* bus = platform::current().notifications) {
        openMenuObserver_ = bus->observe(platform::kMenuDidBeginTracking,
                                         [this](const platform::UserInfo&) { setMenuOpen(true); });
        closeMenuObserver_ = bus->observe(platform::kMenuDidEndTracking,
                                          [this](const platform::UserInfo&) { setMenuOpen(false); });
    }
}

HotKeyCenter::~HotKeyCenter() {
    // Hot keys that outlive the center must not call back into it.
    for (auto& [id, weak] : hotKeys_) {
        if (auto hotKey = weak.lock()) hotKey->center_ = nullptr;
    }
}

bool HotKeyCenter::add(const std::shared_ptr<HotKey>& hotKey) {
    if (mode_ == Mode::normal && !registerWithPlatform(*hotKey)) return false;
    hotKeys_[hotKey->id()] = hotKey;
    hotKey->center_ = this;
    if (!eventHandler_) {
        auto* service = platform::current().hotKeys;
        if (service)
            service->installEventHandler(
                platform::EventTarget::Dispatcher, {},
                [this](const platform::CarbonEvent& event) { return handleHotKeyEvent(event); },
                eventHandler_);
    }
    setHotKeyEventHandling(mode_ == Mode::normal);
    setRawKeyEventHandling(mode_ == Mode::menuOpen);
    return true;
}

void HotKeyCenter::forget(std::uint32_t id) {
    hotKeys_.erase(id);
}

void HotKeyCenter::setEnabled(bool enabled) {
    isEnabled_ = enabled;
    updateMode();
}

void HotKeyCenter::setMenuOpen(bool open) {
    isMenuOpen_ = open;
    updateMode();
}

void HotKeyCenter::updateMode() {
    Mode next = !isEnabled_ ? Mode::disabled : isMenuOpen_ ? Mode::menuOpen : Mode::normal;
    if (next == mode_) return;
    Mode previous = std::exchange(mode_, next);
    if (eventHandler_) applyMode(previous);
}

void HotKeyCenter::applyMode(Mode previous) {
    std::vector<std::uint32_t> ids;
    for (const auto& entry : hotKeys_)
        ids.push_back(entry.first);
    if (previous == Mode::normal) {
        for (auto id : ids) {
            if (auto hotKey = liveHotKey(id)) hotKey->eventHotKeyRef.unregister();
        }
    }
    if (mode_ == Mode::normal) {
        for (auto id : ids) {
            auto hotKey = liveHotKey(id);
            if (!hotKey || hotKey->isRegistered() || registerWithPlatform(*hotKey)) continue;
            forget(id);
            hotKey->center_ = nullptr;
            if (hotKey->onRegistrationFailed) hotKey->onRegistrationFailed();
        }
    }
    setHotKeyEventHandling(mode_ == Mode::normal);
    setRawKeyEventHandling(mode_ == Mode::menuOpen);
}

bool HotKeyCenter::registerWithPlatform(HotKey& hotKey) {
    auto* service = platform::current().hotKeys;
    if (!service || !fitsPlatform(hotKey.carbonKeyCode) || !fitsPlatform(hotKey.carbonModifiers))
        return false;
    auto result = service->registerHotKey(static_cast<std::uint32_t>(hotKey.carbonKeyCode),
                                          static_cast<std::uint32_t>(hotKey.carbonModifiers),
                                          {signature, hotKey.id()}, platform::EventTarget::Dispatcher);
    if (!result.succeeded()) return false;
    hotKey.eventHotKeyRef = result.takeRegistration();
    return true;
}

void HotKeyCenter::setHotKeyEventHandling(bool enabled) {
    if (!eventHandler_ || enabled == isHotKeyEventHandlingEnabled_) return;
    isHotKeyEventHandlingEnabled_ = enabled;
    if (enabled)
        eventHandler_->addEventTypes(kHotKeyEventTypes);
    else
        eventHandler_->removeEventTypes(kHotKeyEventTypes);
}

void HotKeyCenter::setRawKeyEventHandling(bool enabled) {
    if (enabled == isRawKeyEventHandlingEnabled_) return;
    isRawKeyEventHandlingEnabled_ = enabled;
    if (!enabled) {
        runLoopKeyEventMonitor_.cancel();
        appKitKeyEventMonitor_.cancel();
        return;
    }
    auto* events = platform::current().events;
    if (!events) return;
    runLoopKeyEventMonitor_ =
        events->addRunLoopObserver(platform::RunLoopMode::EventTracking, [this] { drainRawKeyEvents(); });
    appKitKeyEventMonitor_ = events->addLocalMonitor(
        kKeyEventMask, [this](const platform::Event& event) -> std::optional<platform::Event> {
            if (handleRawKeyEvent(event)) return std::nullopt;
            return event;
        });
}

std::shared_ptr<HotKey> HotKeyCenter::liveHotKey(std::uint32_t id) const {
    auto found = hotKeys_.find(id);
    return found == hotKeys_.end() ? nullptr : found->second.lock();
}

platform::OSStatus HotKeyCenter::handleHotKeyEvent(const platform::CarbonEvent& event) {
    platform::HotKeyID id;
    if (auto status = platform::getHotKeyID(event, id); status != platform::kNoErr) return status;
    if (id.signature != signature) return platform::kEventNotHandledErr;
    auto hotKey = liveHotKey(id.id);
    if (!hotKey) return platform::kEventNotHandledErr;
    if (event.kind == platform::kEventHotKeyPressed) {
        if (hotKey->onKeyDown) hotKey->onKeyDown();
        return platform::kNoErr;
    }
    if (event.kind == platform::kEventHotKeyReleased) {
        if (hotKey->onKeyUp) hotKey->onKeyUp();
        return platform::kNoErr;
    }
    return platform::kEventNotHandledErr;
}

bool HotKeyCenter::handleRawKeyEvent(const platform::Event& event) {
    if (!event.isKey()) return false;
    auto modifiers = carbonModifiers(event.modifierFlags);
    if (carriesImplicitFunction(event.keyCode)) modifiers &= ~std::int64_t{platform::kCarbonFunction};
    Shortcut chord(event.keyCode, modifiers);
    std::shared_ptr<HotKey> match;
    for (const auto& [id, weak] : hotKeys_) {
        auto hotKey = weak.lock();
        if (hotKey && hotKey->chord() == chord) {
            match = std::move(hotKey);
            break;
        }
    }
    if (!match) return false;
    // A hot key fires once per press, so a held key's repeats are swallowed without running it.
    if (event.isARepeat) return true;
    auto& action = event.type == platform::EventType::KeyDown ? match->onKeyDown : match->onKeyUp;
    if (action) action();
    return true;
}

void HotKeyCenter::drainRawKeyEvents() {
    auto* events = platform::current().events;
    if (!events) return;
    // The menu's own loop would take these events without showing them to monitors, so the ones at
    // the head of the queue are looked at here; those that are not engine chords go back in order.
    std::vector<platform::Event> kept;
    while (auto next = events->nextEvent(platform::kAnyEventMask, platform::RunLoopMode::EventTracking,
                                         platform::Dequeue::No)) {
        if (!next->isKey()) break;
        auto taken =
            events->nextEvent(kKeyEventMask, platform::RunLoopMode::EventTracking, platform::Dequeue::Yes);
        if (!taken) break;
        if (!handleRawKeyEvent(*taken)) kept.push_back(*taken);
    }
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        events->postEvent(*it, platform::QueueEnd::Front);
}

} // namespace KeyboardShortcuts
