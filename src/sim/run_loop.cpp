#include "sim/run_loop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace marlowick::sim {

using platform::RunLoopMode;

namespace {
// The shortest interval a timer accepts, as on the Mac; it also keeps runUntilIdle finite.
constexpr double kMinimumTimerInterval = 0.0001;
// A loop that runs this many entries without the clock moving has a task that re-posts itself.
constexpr int kRunawayLimit = 10'000'000;
} // namespace

SimRunLoop::SimRunLoop(double epoch) : epoch_(epoch) {}

void SimRunLoop::enqueue(double due, std::shared_ptr<Entry> entry) {
    queue_.emplace(Key{due, nextSequence_++}, std::move(entry));
}

void SimRunLoop::async(std::function<void()> task) {
    auto entry = std::make_shared<Entry>();
    entry->work = std::move(task);
    enqueue(now_, std::move(entry));
}

platform::Cancellable SimRunLoop::asyncAfter(double delay, std::function<void()> task) {
    auto entry = std::make_shared<Entry>();
    entry->work = std::move(task);
    entry->cancelled = std::make_shared<platform::Cancellable::State>();
    entry->cancelled->release = releaser(entry);
    platform::Cancellable handle(entry->cancelled);
    enqueue(now_ + std::max(0.0, delay), std::move(entry));
    return handle;
}

platform::Timer SimRunLoop::scheduleTimer(double interval, platform::TimerKind kind, RunLoopMode mode,
                                          std::function<void()> fire) {
    auto entry = std::make_shared<Entry>();
    interval = std::isfinite(interval) ? std::max(interval, kMinimumTimerInterval) : kMinimumTimerInterval;
    entry->interval = kind == platform::TimerKind::Repeating ? interval : 0;
    entry->mode = mode;
    entry->work = std::move(fire);
    entry->timer = std::make_shared<platform::Timer::State>();
    entry->timer->release = releaser(entry);
    platform::Timer handle(entry->timer);
    enqueue(now_ + interval, std::move(entry));
    return handle;
}

std::function<void()> SimRunLoop::releaser(const std::shared_ptr<Entry>& entry) {
    return [weak = std::weak_ptr<Entry>(entry)] {
        auto held = weak.lock();
        if (!held) return;
        // Moved out first: what the closure captured may cancel other work as it is destroyed.
        auto work = std::move(held->work);
        held->work = nullptr;
    };
}

bool SimRunLoop::mayRun(const Entry& entry) const {
    return entry.mode == RunLoopMode::Common || entry.mode == mode_;
}

bool SimRunLoop::runNext(double limit, std::uint64_t sequenceLimit) {
    for (auto it = queue_.begin(); it != queue_.end() && it->first.first <= limit;) {
        if (!it->second->isLive()) {
            it = queue_.erase(it);
            continue;
        }
        if (!mayRun(*it->second) || it->first.second >= sequenceLimit) {
            ++it;
            continue;
        }
        double due = it->first.first;
        auto entry = it->second;
        queue_.erase(it);
        now_ = std::max(now_, due);
        if (entry->interval > 0) {
            // The next firing keeps the timer's rhythm and skips the ones it missed.
            double next = due + entry->interval;
            if (next <= now_) next = due + std::ceil((now_ - due) / entry->interval + 1e-9) * entry->interval;
            if (next <= now_) next = now_ + entry->interval;
            enqueue(next, entry);
        } else if (entry->timer) {
            entry->timer->valid = false; // a one-shot timer is spent as it fires, as on the Mac
        }
        auto work = entry->work; // the entry may be dropped while its work runs
        work();
        return true;
    }
    return false;
}

void SimRunLoop::runFor(double seconds) {
    double end = now_ + std::max(0.0, seconds);
    int runs = 0;
    double lastClock = now_;
    while (runNext(end)) {
        if (now_ != lastClock) {
            lastClock = now_;
            runs = 0;
        } else if (++runs > kRunawayLimit) {
            std::fputs("SimRunLoop: a task keeps re-posting itself without time passing\n", stderr);
            std::abort();
        }
    }
    now_ = std::max(now_, end);
}

void SimRunLoop::runUntilIdle() {
    runFor(0);
}

void SimRunLoop::runPass(RunLoopMode mode) {
    const RunLoopMode outer = mode_;
    const std::uint64_t scheduledBefore = nextSequence_;
    mode_ = mode;
    while (runNext(now_, scheduledBefore)) {
    }
    // Unless the pass itself ended a menu's tracking.
    if (mode_ == mode) mode_ = outer;
}

void SimRunLoop::runOnBackgroundQueue(const std::function<void()>& work) {
    ++backgroundCalls_;
    work();
    --backgroundCalls_;
}

void SimRunLoop::advanceClock(double seconds) {
    now_ += std::max(0.0, seconds);
}

void SimRunLoop::setMode(RunLoopMode mode) {
    mode_ = mode;
}

std::optional<double> SimRunLoop::nextDueTime() const {
    for (const auto& [key, entry] : queue_) {
        if (entry->isLive() && mayRun(*entry)) return key.first;
    }
    return std::nullopt;
}

} // namespace marlowick::sim
