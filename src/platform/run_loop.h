// The main run loop: the one thread everything runs on, its clock, delayed tasks and timers.
// Implementations decide how time passes (the simulated Mac drives a virtual clock).
#pragma once

#include <functional>
#include <memory>

namespace marlowick::platform {

// Run-loop modes as the product uses them. A timer in Default does not fire while a menu tracks
// (the loop then runs in EventTracking); Common covers both. The main queue runs in the common modes.
enum class RunLoopMode { Default, Common, EventTracking };

enum class TimerKind { OneShot, Repeating };

// Calls a run loop's release once; what it frees may reach the handle again as it goes.
inline void releaseOnce(std::function<void()>& release) {
    auto once = std::move(release);
    release = nullptr;
    if (once) once();
}

// A delayed task that can be called off. Dropping the handle does not cancel the task; cancelling
// it lets go of the task, and so of what it captured, at once rather than at its due time.
class Cancellable {
public:
    struct State {
        bool cancelled = false;
        // Set by the run loop: drops the task it holds.
        std::function<void()> release;
    };

    Cancellable() = default;
    explicit Cancellable(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void cancel() {
        if (!state_ || state_->cancelled) return;
        state_->cancelled = true;
        releaseOnce(state_->release);
    }
    bool isCancelled() const { return state_ && state_->cancelled; }

private:
    std::shared_ptr<State> state_;
};

// A scheduled timer. Move-only; dropping it invalidates the timer, as does invalidate(), and the
// run loop lets go of its closure at once.
class Timer {
public:
    struct State {
        bool valid = true;
        // Set by the run loop: drops the closure it holds.
        std::function<void()> release;
    };

    Timer() = default;
    explicit Timer(std::shared_ptr<State> state) : state_(std::move(state)) {}
    Timer(Timer&&) noexcept = default;
    Timer& operator=(Timer&& other) noexcept {
        if (this != &other) {
            invalidate();
            state_ = std::move(other.state_);
        }
        return *this;
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { invalidate(); }

    void invalidate() {
        if (!state_) return;
        auto state = std::move(state_);
        state->valid = false;
        releaseOnce(state->release);
    }
    bool isValid() const { return state_ && state_->valid; }

private:
    std::shared_ptr<State> state_;
};

class RunLoop {
public:
    virtual ~RunLoop() = default;

    // Seconds on the run loop's clock; only differences mean anything.
    virtual double now() = 0;
    // Seconds since 1970 in UTC, for time stamps people read.
    virtual double secondsSince1970() = 0;
    // The mode the loop runs in at this moment.
    virtual RunLoopMode currentMode() = 0;

    // Runs the task on a later turn of the main queue (common modes).
    virtual void async(std::function<void()> task) = 0;
    // Runs the task on the main queue once delay seconds have passed, unless cancelled first.
    virtual Cancellable asyncAfter(double delay, std::function<void()> task) = 0;
    // First firing after interval seconds; a repeating timer then fires every interval seconds,
    // skipping the firings it missed while its mode was not running.
    virtual Timer scheduleTimer(double interval, TimerKind kind, RunLoopMode mode,
                                std::function<void()> fire) = 0;
};

} // namespace marlowick::platform
