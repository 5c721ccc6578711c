// Drives the simulated run loop against the wall clock, for the interactive program: the virtual
// clock follows real time, and the loop waits (for a due entry or for input) instead of idling.
#pragma once

#include <functional>

#include "sim/run_loop.h"

namespace marlowick::sim {

class RealTimeDriver {
public:
    explicit RealTimeDriver(SimRunLoop& loop) : loop_(loop) {}

    // Runs until keepRunning() turns false. When inputFd becomes readable, onInput runs on the loop.
    void run(const std::function<bool()>& keepRunning, int inputFd = -1,
             const std::function<void()>& onInput = {});

private:
    SimRunLoop& loop_;
};

} // namespace marlowick::sim
