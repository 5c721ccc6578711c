// The simulated main run loop: one queue of tasks and timers on a virtual clock.
// Models: run-loop modes (a menu that tracks holds back default-mode timers), timer coalescing of
// missed firings, time that passes inside a task (a blocking request). Not modelled: other threads.
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
        std::shared_ptr<bool> cancelled;               // tasks
        std::shared_ptr<platform::Timer::State> timer; // timers
        bool isLive() const { return !(cancelled && *cancelled) && !(timer && !timer->valid); }
    };
    using Key = std::pair<double, std::uint64_t>; // due time, then scheduling order

    void enqueue(double due, std::shared_ptr<Entry> entry);
    bool mayRun(const Entry& entry) const;
    // Runs the first entry due by `limit` that may run now; false when there is none.
    bool runNext(double limit);

    double epoch_;
    double now_ = 0;
    std::uint64_t nextSequence_ = 0;
    platform::RunLoopMode mode_ = platform::RunLoopMode::Default;
    std::multimap<Key, std::shared_ptr<Entry>> queue_;
};

} // namespace marlowick::sim
