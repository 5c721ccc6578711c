// The screens of the window system, in bottom-left-origin points; the first is the main screen.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace marlowick::platform {

class Screens {
public:
    virtual ~Screens() = default;
    virtual std::vector<Rect> screenFrames() = 0;
};

} // namespace marlowick::platform
