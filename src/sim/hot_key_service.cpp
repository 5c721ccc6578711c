#include "sim/hot_key_service.h"

#include <algorithm>

namespace marlowick::sim {

using platform::EventTarget;
using platform::OSStatus;

namespace {

// The service tells chords apart by these bits only; caps lock never matters.
constexpr std::uint32_t kChordModifiers = platform::kCarbonCommand | platform::kCarbonShift |
                                          platform::kCarbonOption | platform::kCarbonControl |
                                          platform::kCarbonFunction;

struct Chord {
    std::uint32_t keyCode;
    std::uint32_t modifiers;
    friend auto operator<=>(const Chord&, const Chord&) = default;
};

Chord chordOf(std::uint32_t keyCode, std::uint32_t modifiers) {
    return {keyCode, modifiers & kChordModifiers};
}

} // namespace

struct SimHotKeyService::Handler {
    EventTarget target;
    std::vector<platform::EventTypeSpec> types;
    platform::EventHandler handle;
    bool installed = true;

    bool accepts(const platform::CarbonEvent& event) const {
        return std::any_of(types.begin(), types.end(), [&](const platform::EventTypeSpec& type) {
            return type.eventClass == event.eventClass && type.eventKind == event.kind;
        });
    }
};

// Shared with the handles, so that a handle dropped after the service is harmless.
struct SimHotKeyService::State {
    std::map<std::uint64_t, Registration> registrations; // by registration order
    std::map<Chord, std::string> otherApplications;
    std::vector<std::shared_ptr<Handler>> handlers; // in installation order
    std::map<Chord, platform::HotKeyID> pressed;    // chords whose press reached a hot key
    std::uint64_t nextRegistration = 1;

    const Registration* find(Chord chord) const {
        for (const auto& [order, registration] : registrations) {
            if (chordOf(registration.keyCode, registration.modifiers) == chord) return &registration;
        }
        return nullptr;
    }
};

class SimHotKeyService::InstalledHandler final : public platform::InstalledEventHandler {
public:
    InstalledHandler(std::weak_ptr<State> state, std::shared_ptr<Handler> handler)
        : state_(std::move(state)), handler_(std::move(handler)) {}
    ~InstalledHandler() override;
    OSStatus addEventTypes(std::span<const platform::EventTypeSpec> types) override;
    OSStatus removeEventTypes(std::span<const platform::EventTypeSpec> types) override;

private:
    std::weak_ptr<State> state_;
    std::shared_ptr<Handler> handler_;
};

SimHotKeyService::InstalledHandler::~InstalledHandler() {
    handler_->installed = false;
    auto state = state_.lock();
    if (!state) return;
    std::erase(state->handlers, handler_);
}

OSStatus SimHotKeyService::InstalledHandler::addEventTypes(std::span<const platform::EventTypeSpec> types) {
    for (const auto& type : types) {
        if (std::find(handler_->types.begin(), handler_->types.end(), type) == handler_->types.end())
            handler_->types.push_back(type);
    }
    return platform::kNoErr;
}

OSStatus
SimHotKeyService::InstalledHandler::removeEventTypes(std::span<const platform::EventTypeSpec> types) {
    for (const auto& type : types)
        std::erase(handler_->types, type);
    return platform::kNoErr;
}

SimHotKeyService::SimHotKeyService() : state_(std::make_shared<State>()) {}

SimHotKeyService::~SimHotKeyService() = default;

platform::RegisterHotKeyResult SimHotKeyService::registerHotKey(std::uint32_t keyCode,
                                                                std::uint32_t modifiers,
                                                                platform::HotKeyID id, EventTarget target) {
    auto chord = chordOf(keyCode, modifiers);
    if (state_->find(chord) || state_->otherApplications.contains(chord))
        return platform::kEventHotKeyExistsErr;
    auto order = state_->nextRegistration++;
    state_->registrations.emplace(order, Registration{keyCode, modifiers, id, target});
    std::weak_ptr<State> weak = state_;
    return platform::HotKeyRegistration(platform::Subscription([weak, order] {
        if (auto state = weak.lock()) state->registrations.erase(order);
    }));
}

OSStatus SimHotKeyService::installEventHandler(EventTarget target,
                                               std::span<const platform::EventTypeSpec> types,
                                               platform::EventHandler handler,
                                               std::unique_ptr<platform::InstalledEventHandler>& out) {
    if (!handler) return platform::kParamErr;
    auto installed =
        std::make_shared<Handler>(Handler{target, {types.begin(), types.end()}, std::move(handler)});
    state_->handlers.push_back(installed);
    out = std::make_unique<InstalledHandler>(state_, std::move(installed));
    return platform::kNoErr;
}

void SimHotKeyService::holdForOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers,
                                               std::string application) {
    state_->otherApplications[chordOf(keyCode, modifiers)] = std::move(application);
}

void SimHotKeyService::releaseFromOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers) {
    state_->otherApplications.erase(chordOf(keyCode, modifiers));
}

std::optional<std::string> SimHotKeyService::otherApplicationHolding(std::uint32_t keyCode,
                                                                     std::uint32_t modifiers) const {
    auto found = state_->otherApplications.find(chordOf(keyCode, modifiers));
    if (found == state_->otherApplications.end()) return std::nullopt;
    return found->second;
}

OSStatus SimHotKeyService::ask(const Handlers& handlers, EventTarget target,
                               const platform::CarbonEvent& event) {
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) {
        const auto& handler = **it;
        if (!handler.installed || handler.target != target || !handler.accepts(event)) continue;
        auto handle = handler.handle;
        if (OSStatus status = handle(event); status != platform::kEventNotHandledErr) return status;
    }
    return platform::kEventNotHandledErr;
}

OSStatus SimHotKeyService::sendToTarget(const platform::CarbonEvent& event, EventTarget target) {
    // Handlers may install or remove handlers (their own included) while the event travels.
    auto snapshot = state_->handlers;
    return ask(snapshot, target, event);
}

OSStatus SimHotKeyService::dispatch(const platform::CarbonEvent& event, EventTarget destination) {
    auto snapshot = state_->handlers;
    // The dispatcher sees every event first and then hands it to its target; an event whose target
    // is the dispatcher itself goes no further.
    OSStatus status = ask(snapshot, EventTarget::Dispatcher, event);
    if (status == platform::kEventNotHandledErr && destination == EventTarget::Application)
        status = ask(snapshot, EventTarget::Application, event);
    deliveries_.push_back({event.directObject.value_or(platform::HotKeyID{}), event.kind, status});
    if (deliveries_.size() > kDeliveriesKept) deliveries_.pop_front();
    return status;
}

bool SimHotKeyService::press(std::uint32_t keyCode, std::uint32_t modifiers) {
    auto chord = chordOf(keyCode, modifiers);
    const auto* registration = state_->find(chord);
    if (!registration) return false;
    auto id = registration->id;
    state_->pressed[chord] = id;
    dispatch({platform::kEventClassKeyboard, platform::kEventHotKeyPressed, id}, registration->target);
    return true;
}

bool SimHotKeyService::release(std::uint32_t keyCode, std::uint32_t modifiers) {
    auto chord = chordOf(keyCode, modifiers);
    auto pressed = state_->pressed.find(chord);
    if (pressed == state_->pressed.end()) return false;
    auto id = pressed->second;
    state_->pressed.erase(pressed);
    const auto* registration = state_->find(chord);
    if (!registration || !(registration->id == id)) return false;
    dispatch({platform::kEventClassKeyboard, platform::kEventHotKeyReleased, id}, registration->target);
    return true;
}

std::vector<SimHotKeyService::Registration> SimHotKeyService::registrations() const {
    std::vector<Registration> list;
    for (const auto& [order, registration] : state_->registrations)
        list.push_back(registration);
    return list;
}

bool SimHotKeyService::isRegistered(std::uint32_t keyCode, std::uint32_t modifiers) const {
    return state_->find(chordOf(keyCode, modifiers)) != nullptr;
}

std::size_t SimHotKeyService::handlerCount() const {
    return state_->handlers.size();
}

} // namespace marlowick::sim
