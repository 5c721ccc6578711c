#include "sim/real_time_driver.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace marlowick::sim {

void RealTimeDriver::run(const std::function<bool()>& keepRunning, int inputFd,
                         const std::function<void()>& onInput) {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    auto catchUp = [&] {
        auto current = Clock::now();
        double elapsed = std::chrono::duration<double>(current - last).count();
        last = current;
        loop_.runFor(elapsed);
    };
    while (keepRunning()) {
        catchUp();
        if (!keepRunning()) break;
        // Wait until the next entry falls due, at most a second so that keepRunning is re-read.
        double wait = 1.0;
        if (auto due = loop_.nextDueTime()) wait = std::clamp(*due - loop_.now(), 0.0, 1.0);
        pollfd input{inputFd, POLLIN, 0};
        int timeoutMs = static_cast<int>(std::ceil(wait * 1000));
        int ready = ::poll(inputFd >= 0 ? &input : nullptr, inputFd >= 0 ? 1 : 0, timeoutMs);
        if (ready > 0 && onInput) {
            catchUp();
            onInput();
        }
    }
}

} // namespace marlowick::sim
