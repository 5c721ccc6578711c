// The system appearance (light or dark) and its changes. Resolving named colours for it is left to
// the window server; views of the core's own read it to pick their palettes.
#pragma once

#include <functional>

#include "platform/subscription.h"

namespace marlowick::platform {

enum class Appearance { Light, Dark };

class SystemAppearance {
public:
    virtual ~SystemAppearance() = default;
    virtual Appearance current() const = 0;
    // Runs on the main run loop after every change, until the handle is dropped.
    virtual Subscription observe(std::function<void()> changed) = 0;
};

} // namespace marlowick::platform
