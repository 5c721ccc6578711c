#include "sim/application_events.h"

#include <deque>
#include <map>

namespace marlowick::sim {

using platform::Event;
using platform::RunLoopMode;

namespace {

bool matches(platform::EventMask mask, const Event& event) {
    return (mask & platform::eventMask(event.type)) != 0;
}

template <typename Value> struct Registry {
    std::map<std::uint64_t, Value> entries; // by registration order
    std::uint64_t next = 1;
};

template <typename Value>
platform::Subscription enroll(const std::shared_ptr<Registry<Value>>& registry, Value value) {
    auto id = registry->next++;
    registry->entries.emplace(id, std::move(value));
    std::weak_ptr<Registry<Value>> weak = registry;
    return platform::Subscription([weak, id] {
        if (auto alive = weak.lock()) alive->entries.erase(id);
    });
}

// Calls fn for each entry that is still registered when its turn comes; entries may come and go
// while the calls run.
template <typename Value, typename Fn> void forEachLive(Registry<Value>& registry, Fn fn) {
    std::vector<std::uint64_t> ids;
    for (const auto& entry : registry.entries)
        ids.push_back(entry.first);
    for (auto id : ids) {
        auto found = registry.entries.find(id);
        if (found == registry.entries.end()) continue;
        auto value = found->second; // the entry may be removed while it runs
        if (!fn(value)) return;
    }
}

struct LocalMonitor {
    platform::EventMask mask;
    platform::LocalEventMonitor monitor;
};
struct GlobalMonitor {
    platform::EventMask mask;
    platform::GlobalEventMonitor monitor;
};
struct Observer {
    RunLoopMode mode;
    std::function<void()> beforeSources;
    // A run loop does not call an observer again while it is being called.
    std::shared_ptr<bool> firing = std::make_shared<bool>(false);
};

} // namespace

struct SimApplicationEvents::State {
    std::deque<Event> queue;
    bool turnScheduled = false;
    bool menuTracking = false;
    int peeks = 0;         // peeks under way, each running a pass of the loop
    int observerCalls = 0; // observer callbacks under way
    std::shared_ptr<Registry<LocalMonitor>> localMonitors = std::make_shared<Registry<LocalMonitor>>();
    std::shared_ptr<Registry<GlobalMonitor>> globalMonitors = std::make_shared<Registry<GlobalMonitor>>();
    std::shared_ptr<Registry<Observer>> observers = std::make_shared<Registry<Observer>>();
};

SimApplicationEvents::SimApplicationEvents(SimRunLoop& loop)
    : loop_(loop), state_(std::make_shared<State>()) {}

SimApplicationEvents::~SimApplicationEvents() = default;

std::optional<Event> SimApplicationEvents::nextEvent(platform::EventMask mask, RunLoopMode mode,
                                                     platform::Dequeue dequeue) {
    // Asking for the next event runs the loop once in the mode, even without waiting.
    auto state = state_;
    ++state->peeks;
    runObservers(mode);
    loop_.runPass(mode);
    --state->peeks;
    auto& queue = state->queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!matches(mask, *it)) continue;
        Event event = *it;
        if (dequeue == platform::Dequeue::Yes) queue.erase(it);
        return event;
    }
    return std::nullopt;
}

void SimApplicationEvents::postEvent(const Event& event, platform::QueueEnd end) {
    if (end == platform::QueueEnd::Front)
        state_->queue.push_front(event);
    else
        state_->queue.push_back(event);
    scheduleTurn();
}

platform::Subscription SimApplicationEvents::addLocalMonitor(platform::EventMask mask,
                                                             platform::LocalEventMonitor monitor) {
    if (!monitor) return {};
    return enroll(state_->localMonitors, LocalMonitor{mask, std::move(monitor)});
}

platform::Subscription SimApplicationEvents::addGlobalMonitor(platform::EventMask mask,
                                                              platform::GlobalEventMonitor monitor) {
    if (!monitor) return {};
    return enroll(state_->globalMonitors, GlobalMonitor{mask, std::move(monitor)});
}

platform::Subscription SimApplicationEvents::addRunLoopObserver(RunLoopMode mode,
                                                                std::function<void()> beforeSources) {
    if (!beforeSources) return {};
    return enroll(state_->observers, Observer{mode, std::move(beforeSources)});
}

Event SimApplicationEvents::makeKeyEvent(platform::EventType type, std::uint16_t keyCode,
                                         platform::ModifierFlags flags, bool isARepeat) {
    return Event{type, keyCode, flags, isARepeat, loop_.now(), nextEventNumber_++};
}

void SimApplicationEvents::deliverToApplication(const Event& event) {
    postEvent(event, platform::QueueEnd::Back);
}

void SimApplicationEvents::deliverToOtherApplication(const Event& event) {
    otherApplicationEvents_.push_back(event);
    std::weak_ptr<State> weak = state_;
    loop_.async([weak, event] {
        auto state = weak.lock();
        if (!state) return;
        forEachLive(*state->globalMonitors, [&](const GlobalMonitor& entry) {
            if (matches(entry.mask, event)) entry.monitor(event);
            return true;
        });
    });
}

void SimApplicationEvents::beginMenuTracking() {
    state_->menuTracking = true;
    loop_.setMode(RunLoopMode::EventTracking);
}

void SimApplicationEvents::endMenuTracking() {
    state_->menuTracking = false;
    loop_.setMode(RunLoopMode::Default);
    if (!state_->queue.empty()) scheduleTurn();
}

bool SimApplicationEvents::isMenuTracking() const {
    return state_->menuTracking;
}

std::size_t SimApplicationEvents::pendingCount() const {
    return state_->queue.size();
}

void SimApplicationEvents::scheduleTurn() {
    if (state_->turnScheduled) return;
    state_->turnScheduled = true;
    std::weak_ptr<State> weak = state_;
    loop_.async([this, weak] {
        auto state = weak.lock();
        if (!state) return;
        state->turnScheduled = false;
        // A peek runs the loop but dispatches nothing: the turn comes after it.
        if (state->peeks > 0) {
            scheduleTurn();
            return;
        }
        runTurn();
    });
}

int SimApplicationEvents::runLoopObserverDepth() const {
    return state_->observerCalls;
}

void SimApplicationEvents::runObservers(RunLoopMode mode) {
    auto state = state_;
    forEachLive(*state->observers, [&](const Observer& observer) {
        if (observer.mode != RunLoopMode::Common && observer.mode != mode) return true;
        if (*observer.firing) return true;
        *observer.firing = true;
        ++state->observerCalls;
        observer.beforeSources();
        --state->observerCalls;
        *observer.firing = false;
        return true;
    });
}

void SimApplicationEvents::runTurn() {
    runObservers(loop_.currentMode());
    if (state_->queue.empty()) return;
    Event event = state_->queue.front();
    state_->queue.pop_front();
    bool tracking = state_->menuTracking;
    std::optional<Event> survivor = event;
    if (!tracking || localMonitorsSeeMenuEvents_) {
        forEachLive(*state_->localMonitors, [&](const LocalMonitor& entry) {
            if (matches(entry.mask, *survivor)) survivor = entry.monitor(*survivor);
            return survivor.has_value();
        });
    }
    if (survivor) {
        (tracking ? menuEvents_ : keyWindowEvents_).push_back(*survivor);
        if (dispatcher_) dispatcher_(*survivor, tracking);
    }
    if (!state_->queue.empty()) scheduleTurn();
}

} // namespace marlowick::sim
