// The screens of the window system, in bottom-left-origin points; the first is the main screen.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/geometry.h"

namespace marlowick::platform {

class Screens {
public:
    virtual ~Screens() = default;
    virtual std::vector<Rect> screenFrames() = 0;
    // Device pixels per point of the screen at this index of screenFrames() (2 on a Retina
    // display, 1 on most external ones); 1 for an index with no screen.
    virtual double backingScaleFactor(std::size_t index) = 0;
};

} // namespace marlowick::platform
