// The application's own event queue and the ways to watch it: local monitors (events about to be
// dispatched in this application), global monitors (events that go to other applications) and
// run-loop observers, which run before the run loop handles its sources in one mode. Which events
// arrive, and who consumes them, is the window server's business.
#pragma once

#include <functional>
#include <optional>

#include "platform/key_events.h"
#include "platform/run_loop.h"
#include "platform/subscription.h"

namespace marlowick::platform {

enum class Dequeue { No, Yes };
enum class QueueEnd { Front, Back };

// Sees an event before it is dispatched; returns it (possibly changed) to go on, or none to drop it.
using LocalEventMonitor = std::function<std::optional<Event>(const Event&)>;
using GlobalEventMonitor = std::function<void(const Event&)>;

class ApplicationEvents {
public:
    virtual ~ApplicationEvents() = default;
    // The first pending event that matches the mask, taken out of the queue when asked. Never waits.
    virtual std::optional<Event> nextEvent(EventMask mask, RunLoopMode mode, Dequeue dequeue) = 0;
    virtual void postEvent(const Event& event, QueueEnd end) = 0;

    virtual Subscription addLocalMonitor(EventMask mask, LocalEventMonitor monitor) = 0;
    // Called on the main run loop, after the event went to the other application.
    virtual Subscription addGlobalMonitor(EventMask mask, GlobalEventMonitor monitor) = 0;
    // Runs at every turn of the main run loop in the mode, before the loop handles its sources.
    virtual Subscription addRunLoopObserver(RunLoopMode mode, std::function<void()> beforeSources) = 0;
};

} // namespace marlowick::platform
