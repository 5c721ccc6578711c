// The simulated application event queue behind platform::ApplicationEvents, and the menu that
// takes its events while it tracks.
// Models: key events queued for this application and handled one per turn of the run loop; before
// each turn the run-loop observers of the current mode run and may peek at, take and re-post
// queued events; every peek runs one pass of the loop, as AppKit's does: due timers and main-queue
// tasks of the mode, and the observers not already being called, run inside it; while a menu
// tracks (the loop runs in the event-tracking mode) the menu takes the events without showing them
// to local monitors (as most menus do; switchable), otherwise local monitors see each event before
// the key window gets it; global monitors see, on the main run loop, the key events that went to
// other applications. Not modelled: mouse events, windows and first responders (a dispatcher set
// by the owner decides where an event goes), menus that close themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/application_events.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

class SimApplicationEvents final : public platform::ApplicationEvents {
public:
    explicit SimApplicationEvents(SimRunLoop& loop);
    ~SimApplicationEvents() override;
    SimApplicationEvents(const SimApplicationEvents&) = delete;
    SimApplicationEvents& operator=(const SimApplicationEvents&) = delete;

    std::optional<platform::Event> nextEvent(platform::EventMask mask, platform::RunLoopMode mode,
                                             platform::Dequeue dequeue) override;
    void postEvent(const platform::Event& event, platform::QueueEnd end) override;
    platform::Subscription addLocalMonitor(platform::EventMask mask,
                                           platform::LocalEventMonitor monitor) override;
    platform::Subscription addGlobalMonitor(platform::EventMask mask,
                                            platform::GlobalEventMonitor monitor) override;
    platform::Subscription addRunLoopObserver(platform::RunLoopMode mode,
                                              std::function<void()> beforeSources) override;

    // The window server's side. A new event with the next number and the current time.
    platform::Event makeKeyEvent(platform::EventType type, std::uint16_t keyCode,
                                 platform::ModifierFlags flags, bool isARepeat);
    // An event for this application: queued, handled at a later turn of the run loop.
    void deliverToApplication(const platform::Event& event);
    // An event that another application received.
    void deliverToOtherApplication(const platform::Event& event);

    // While a menu tracks, the run loop is in the event-tracking mode and the menu takes the events.
    void beginMenuTracking();
    void endMenuTracking();
    bool isMenuTracking() const;
    // Hands each event that survived the monitors on to the menu (while one tracks) or the
    // application's windows; the events are recorded either way.
    void setDispatcher(std::function<void(const platform::Event&, bool menuTracking)> dispatcher) {
        dispatcher_ = std::move(dispatcher);
    }
    // Whether local monitors see the events a tracking menu takes (off by default).
    void setLocalMonitorsSeeMenuEvents(bool see) { localMonitorsSeeMenuEvents_ = see; }

    // Where the events went, in order.
    const std::vector<platform::Event>& menuEvents() const { return menuEvents_; }
    const std::vector<platform::Event>& keyWindowEvents() const { return keyWindowEvents_; }
    const std::vector<platform::Event>& otherApplicationEvents() const { return otherApplicationEvents_; }
    std::size_t pendingCount() const;
    // How many run-loop observer callbacks are under way, one inside the other when a peek in one
    // runs the others.
    int runLoopObserverDepth() const;

private:
    struct State;
    void scheduleTurn();
    void runTurn();
    void runObservers(platform::RunLoopMode mode);

    SimRunLoop& loop_;
    std::shared_ptr<State> state_;
    bool localMonitorsSeeMenuEvents_ = false;
    std::function<void(const platform::Event&, bool menuTracking)> dispatcher_;
    std::uint64_t nextEventNumber_ = 1;
    std::vector<platform::Event> menuEvents_;
    std::vector<platform::Event> keyWindowEvents_;
    std::vector<platform::Event> otherApplicationEvents_;
};

} // namespace marlowick::sim
