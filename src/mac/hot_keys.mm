// Wraps: Carbon's RegisterEventHotKey and UnregisterEventHotKey, event handlers on the application
// and event dispatcher targets (InstallEventHandler, adding and removing event types,
// RemoveEventHandler), GetEventParameter for the hot-key identifier; a handler's
// eventNotHandledErr passes the event on.
// Leaves out: hot-key options (exclusive registration), events other than their class and kind,
// CallNextEventHandler (passing on is done by the status a handler returns).
#import <Carbon/Carbon.h>

#include <memory>
#include <span>
#include <vector>

#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

EventTargetRef targetOf(p::EventTarget target) {
    return target == p::EventTarget::Dispatcher ? GetEventDispatcherTarget() : GetApplicationEventTarget();
}

std::vector<::EventTypeSpec> carbonTypes(std::span<const p::EventTypeSpec> types) {
    std::vector<::EventTypeSpec> out;
    out.reserve(types.size());
    for (const auto& type : types)
        out.push_back(::EventTypeSpec{type.eventClass, type.eventKind});
    return out;
}

class MacInstalledEventHandler final : public p::InstalledEventHandler {
public:
    explicit MacInstalledEventHandler(p::EventHandler handler) : handler_(std::move(handler)) {}
    ~MacInstalledEventHandler() override {
        if (ref_) RemoveEventHandler(ref_);
    }

    OSStatus install(EventTargetRef target, std::span<const p::EventTypeSpec> types) {
        auto list = carbonTypes(types);
        return InstallEventHandler(target, &MacInstalledEventHandler::handle, list.size(), list.data(), this,
                                   &ref_);
    }

    p::OSStatus addEventTypes(std::span<const p::EventTypeSpec> types) override {
        auto list = carbonTypes(types);
        return AddEventTypesToHandler(ref_, list.size(), list.data());
    }
    p::OSStatus removeEventTypes(std::span<const p::EventTypeSpec> types) override {
        auto list = carbonTypes(types);
        return RemoveEventTypesFromHandler(ref_, list.size(), list.data());
    }

private:
    static OSStatus handle(EventHandlerCallRef, EventRef event, void* userData) {
        auto* self = static_cast<MacInstalledEventHandler*>(userData);
        p::CarbonEvent translated{GetEventClass(event), GetEventKind(event), std::nullopt};
        EventHotKeyID id{};
        if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr, sizeof(id), nullptr,
                              &id) == noErr)
            translated.directObject = p::HotKeyID{id.signature, id.id};
        // A copy, since the handler may remove itself while it runs.
        auto handler = self->handler_;
        return handler(translated);
    }

    p::EventHandler handler_;
    EventHandlerRef ref_ = nullptr;
};

class MacHotKeys final : public p::HotKeys {
public:
    p::RegisterHotKeyResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, p::HotKeyID id,
                                           p::EventTarget target) override {
        EventHotKeyRef ref = nullptr;
        OSStatus status = RegisterEventHotKey(keyCode, modifiers, EventHotKeyID{id.signature, id.id},
                                              targetOf(target), 0, &ref);
        if (status != noErr || !ref) return p::RegisterHotKeyResult(status);
        return p::RegisterHotKeyResult(
            p::HotKeyRegistration(p::Subscription([ref] { UnregisterEventHotKey(ref); })));
    }

    p::OSStatus installEventHandler(p::EventTarget target, std::span<const p::EventTypeSpec> types,
                                    p::EventHandler handler,
                                    std::unique_ptr<p::InstalledEventHandler>& out) override {
        out.reset();
        if (!handler) return p::kParamErr;
        auto installed = std::make_unique<MacInstalledEventHandler>(std::move(handler));
        OSStatus status = installed->install(targetOf(target), types);
        if (status == noErr) out = std::move(installed);
        return status;
    }
};

} // namespace

std::unique_ptr<platform::HotKeys> makeHotKeys() {
    return std::make_unique<MacHotKeys>();
}

} // namespace marlowick::mac
