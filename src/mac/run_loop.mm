// Wraps: the main run loop (NSRunLoop) and the main dispatch queue, NSTimer in the default, common
// and event-tracking modes, the process's uptime and the wall clock.
// Closures of cancelled tasks and dropped timers are let go of at once.
// Leaves out: other threads and queues, timer tolerance, run-loop sources of our own.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include <cmath>
#include <memory>
#include <utility>

#include "mac/run_loop_modes.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

using platform::RunLoopMode;

// Delays beyond a year are treated as a year: dispatch_time's nanoseconds must not overflow.
constexpr double kMaxDelay = 365.0 * 24 * 3600;
constexpr double kMinimumTimerInterval = 0.0001;

double boundedDelay(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) return seconds > 0 ? kMaxDelay : 0;
    return seconds < kMaxDelay ? seconds : kMaxDelay;
}

class MacRunLoop final : public platform::RunLoop {
public:
    double now() override { return NSProcessInfo.processInfo.systemUptime; }
    double secondsSince1970() override { return [NSDate date].timeIntervalSince1970; }

    RunLoopMode currentMode() override {
        NSRunLoopMode mode = NSRunLoop.currentRunLoop.currentMode;
        if (mode && [mode isEqualToString:NSEventTrackingRunLoopMode]) return RunLoopMode::EventTracking;
        return RunLoopMode::Default;
    }

    void async(std::function<void()> task) override {
        auto held = std::make_shared<std::function<void()>>(std::move(task));
        dispatch_async(dispatch_get_main_queue(), ^{
          (*held)();
        });
    }

    platform::Cancellable asyncAfter(double delay, std::function<void()> task) override {
        auto state = std::make_shared<platform::Cancellable::State>();
        auto held = std::make_shared<std::function<void()>>(std::move(task));
        // The queue keeps the block until its due time; cancelling empties what the block holds.
        state->release = [held] {
            auto task = std::move(*held);
            *held = nullptr;
        };
        auto when =
            dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(boundedDelay(delay) * NSEC_PER_SEC));
        dispatch_after(when, dispatch_get_main_queue(), ^{
          if (state->cancelled || !*held) return;
          // Taken out before it runs: a task that cancels itself must not free what is running.
          auto run = std::move(*held);
          *held = nullptr;
          run();
        });
        return platform::Cancellable(state);
    }

    platform::Timer scheduleTimer(double interval, platform::TimerKind kind, RunLoopMode mode,
                                  std::function<void()> fire) override {
        interval =
            std::isfinite(interval) ? std::max(interval, kMinimumTimerInterval) : kMinimumTimerInterval;
        interval = std::min(interval, kMaxDelay);
        auto state = std::make_shared<platform::Timer::State>();
        auto held = std::make_shared<std::function<void()>>(std::move(fire));
        bool repeats = kind == platform::TimerKind::Repeating;
        // The block shares the state with the handle: a timer whose handle was dropped never calls
        // back, even at a firing already under way.
        NSTimer* timer = [NSTimer timerWithTimeInterval:interval
                                                repeats:repeats
                                                  block:^(NSTimer* firing) {
                                                    if (!state->valid) {
                                                        [firing invalidate];
                                                        return;
                                                    }
                                                    // A one-shot timer is spent as it fires.
                                                    if (!repeats) state->valid = false;
                                                    // A copy runs: the closure may drop its own
                                                    // timer, which frees the one held.
                                                    std::function<void()> call = *held;
                                                    if (call) call();
                                                  }];
        // Dropping the handle invalidates the NSTimer, which lets go of its block, and empties what
        // the block holds at once in case the run loop keeps the block a while longer.
        __weak NSTimer* weakTimer = timer;
        state->release = [held, weakTimer] {
            [weakTimer invalidate];
            auto closure = std::move(*held);
            *held = nullptr;
        };
        [NSRunLoop.mainRunLoop addTimer:timer forMode:runLoopModeName(mode)];
        return platform::Timer(state);
    }
};

} // namespace

std::unique_ptr<platform::RunLoop> makeRunLoop() {
    return std::make_unique<MacRunLoop>();
}

} // namespace marlowick::mac
