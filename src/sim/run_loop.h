// The simulated main run loop: one queue of tasks and timers on a virtual clock.
// Models: run-loop modes (a menu that tracks holds back default-mode timers), timer coalescing of
// missed firings, time that passes inside a task (a blocking request), closures let go of as soon
// as their task is cancelled or their timer dropped, and work that another thread does (a
// framework's own queue) as a call made off the main thread. Not modelled: threads running at the
// same time as the main one.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/run_loop.h"

namespace marlowick::sim {

class SimRunLoop final : public platform::RunLoop {
public:
    explicit SimRunLoop(double epoch);

    double now() override { return now_; }
    double secondsSince1970() override { return epoch_ + now_; }
    platform::RunLoopMode currentMode() override { return mode_; }
    void async(std::function<void()> task) override;
    platform::Cancellable asyncAfter(double delay, std::function<void()> task) override;
    platform::Timer scheduleTimer(double interval, platform::TimerKind kind, platform::RunLoopMode mode,
                                  std::function<void()> fire) override;

    // Fires everything that falls due within the next `seconds`, in due order (ties in the order
    // they were scheduled), then leaves the clock at the end of the span.
    void runFor(double seconds);
    // Runs what is due now, including work that this work schedules for now.
    void runUntilIdle();
    // One pass of the loop in the mode, as a peek at the event queue makes: what is due now and was
    // scheduled before the pass runs; what that schedules waits for a later turn.
    void runPass(platform::RunLoopMode mode);
    // Runs the work at once as if on another thread's queue; what it hands to the main queue waits.
    void runOnBackgroundQueue(const std::function<void()>& work);
    bool isMainThread() const { return backgroundCalls_ == 0; }
    // Time passing inside the current task, as a blocking request does.
    void advanceClock(double seconds);
    // The loop runs in the event-tracking mode while a menu tracks.
    void setMode(platform::RunLoopMode mode);
    // When the next entry that may run in the current mode falls due, if any.
    std::optional<double> nextDueTime() const;
    std::size_t pendingCount() const { return queue_.size(); }

private:
    struct Entry {
        double interval = 0; // 0 for a one-shot task
        platform::RunLoopMode mode = platform::RunLoopMode::Common;
        std::function<void()> work;
        std::shared_ptr<platform::Cancellable::State> cancelled; // tasks
        std::shared_ptr<platform::Timer::State> timer;           // timers
        bool isLive() const { return !(cancelled && cancelled->cancelled) && !(timer && !timer->valid); }
    };
    using Key = std::pair<double, std::uint64_t>; // due time, then scheduling order

    void enqueue(double due, std::shared_ptr<Entry> entry);
    // What a cancelled task or dropped timer calls: the entry waits for its due time, its work not.
    static std::function<void()> releaser(const std::shared_ptr<Entry>& entry);
    bool mayRun(const Entry& entry) const;
    // Runs the first entry due by `limit` (and scheduled before `sequenceLimit`) that may run now;
    // false when there is none.
    bool runNext(double limit, std::uint64_t sequenceLimit = UINT64_MAX);

    double epoch_;
    double now_ = 0;
    std::uint64_t nextSequence_ = 0;
    platform::RunLoopMode mode_ = platform::RunLoopMode::Default;
    int backgroundCalls_ = 0;
    std::multimap<Key, std::shared_ptr<Entry>> queue_;
};

} // namespace marlowick::sim
