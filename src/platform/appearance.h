// The system appearance (light or dark) and its changes, and the display preferences that go with
// it (less motion). Views of the core's own read it to pick their palettes and animations.
#pragma once

#include <functional>

#include "platform/subscription.h"

namespace marlowick::platform {

enum class Appearance { Light, Dark };

class SystemAppearance {
public:
    virtual ~SystemAppearance() = default;
    virtual Appearance current() const = 0;
    // Whether the user asked for less motion: what moves, bounces or glows as it appears then simply
    // appears. Read when an animation starts; nothing observes it.
    virtual bool reducesMotion() const = 0;
    // Runs on the main run loop after every change, until the handle is dropped.
    virtual Subscription observe(std::function<void()> changed) = 0;
};

} // namespace marlowick::platform
