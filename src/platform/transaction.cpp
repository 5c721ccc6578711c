#include "platform/transaction.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/platform.h"

namespace marlowick::platform {

namespace {

struct Frame {
    bool disableActions = false;
    double animationDuration = 0.25;
    std::function<void()> completion;
    double latestEnd = -std::numeric_limits<double>::infinity();
};

// The transactions open on the main thread, innermost last.
std::vector<Frame>& openTransactions() {
    static std::vector<Frame> frames;
    return frames;
}

} // namespace

void Transaction::begin() {
    auto& frames = openTransactions();
    Frame frame;
    if (!frames.empty()) {
        // A nested transaction starts from the settings of the one around it.
        frame.disableActions = frames.back().disableActions;
        frame.animationDuration = frames.back().animationDuration;
    }
    frames.push_back(std::move(frame));
}

void Transaction::commit() {
    auto& frames = openTransactions();
    if (frames.empty()) return;
    Frame frame = std::move(frames.back());
    frames.pop_back();
    if (!frames.empty()) frames.back().latestEnd = std::max(frames.back().latestEnd, frame.latestEnd);
    if (!frame.completion) return;
    auto& loop = *current().runLoop;
    if (frame.latestEnd == -std::numeric_limits<double>::infinity()) {
        loop.async(std::move(frame.completion));
    } else {
        loop.asyncAfter(std::max(0.0, frame.latestEnd - loop.now()), std::move(frame.completion));
    }
}

void Transaction::setDisableActions(bool disable) {
    if (auto& frames = openTransactions(); !frames.empty()) frames.back().disableActions = disable;
}

bool Transaction::disableActions() {
    const auto& frames = openTransactions();
    return !frames.empty() && frames.back().disableActions;
}

void Transaction::setAnimationDuration(double seconds) {
    if (auto& frames = openTransactions(); !frames.empty()) frames.back().animationDuration = seconds;
}

double Transaction::animationDuration() {
    const auto& frames = openTransactions();
    return frames.empty() ? 0.25 : frames.back().animationDuration;
}

void Transaction::setCompletion(std::function<void()> completion) {
    if (auto& frames = openTransactions(); !frames.empty()) frames.back().completion = std::move(completion);
}

void Transaction::noteAnimation(double endTime) {
    if (auto& frames = openTransactions(); !frames.empty())
        frames.back().latestEnd = std::max(frames.back().latestEnd, endTime);
}

} // namespace marlowick::platform
