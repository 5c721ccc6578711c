// Wraps: the main run loop (NSRunLoop) and the main dispatch queue, NSTimer in the default, common
// and event-tracking modes, the process's uptime and the wall clock.
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
        auto cancelled = std::make_shared<bool>(false);
        auto held = std::make_shared<std::function<void()>>(std::move(task));
        auto when =
            dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(boundedDelay(delay) * NSEC_PER_SEC));
        dispatch_after(when, dispatch_get_main_queue(), ^{
          if (!*cancelled) (*held)();
        });
        return platform::Cancellable(cancelled);
    }

    platform::Timer scheduleTimer(double interval, platform::TimerKind kind, RunLoopMode mode,
                                  std::function<void()> fire) override {
        interval =
            std::isfinite(interval) ? std::max(interval, kMinimumTimerInterval) : kMinimumTimerInterval;
        interval = std::min(interval, kMaxDelay);
        auto state = std::make_shared<platform::Timer::State>();
        auto held = std::make_shared<std::function<void()>>(std::move(fire));
        bool repeats = kind == platform::TimerKind::Repeating;
        // The block shares the state with the handle: dropping the handle clears the flag and the
        // timer invalidates itself at its next firing without calling back.
        NSTimer* timer = [NSTimer timerWithTimeInterval:interval
                                                repeats:repeats
                                                  block:^(NSTimer* firing) {
                                                    if (!state->valid) {
                                                        [firing invalidate];
                                                        return;
                                                    }
                                                    // A one-shot timer is spent as it fires.
                                                    if (!repeats) state->valid = false;
                                                    (*held)();
                                                  }];
        [NSRunLoop.mainRunLoop addTimer:timer forMode:runLoopModeName(mode)];
        return platform::Timer(state);
    }
};

} // namespace

std::unique_ptr<platform::RunLoop> makeRunLoop() {
    return std::make_unique<MacRunLoop>();
}

} // namespace marlowick::mac
