// Layer transactions: batches of layer changes that may turn implicit animations off and run a
// completion once the animations added inside them have ended, on the main run loop.
#pragma once

#include <functional>

namespace marlowick::platform {

// Transactions nest; outside any, changes behave as in a transaction with the defaults (implicit
// animations on, 0.25 s long, no completion).
class Transaction {
public:
    static void begin();
    // Ends the innermost transaction and schedules its completion on the main run loop: once the
    // last animation added inside it (nested transactions included) has ended, or on the next turn
    // when there was none. A commit without a begin does nothing.
    static void commit();

    static void setDisableActions(bool disable);
    static bool disableActions();
    static void setAnimationDuration(double seconds);
    static double animationDuration();
    static void setCompletion(std::function<void()> completion);

    // Layers report each animation they take on, with its end on the media clock.
    static void noteAnimation(double endTime);
};

} // namespace marlowick::platform
