// The simulated display: one built-in screen of 1512 x 982 points with a 24-point menu bar.
// Models: the screen list and the menu bar's height. Not modelled: several screens, scaling changes.
#pragma once

#include <vector>

#include "platform/screens.h"

namespace marlowick::sim {

class SimScreens final : public platform::Screens {
public:
    static constexpr double kWidth = 1512;
    static constexpr double kHeight = 982;
    static constexpr double kMenuBarHeight = 24;

    std::vector<platform::Rect> screenFrames() override { return frames_; }
    // Tests may unplug every screen or give the main one another size.
    void setScreenFrames(std::vector<platform::Rect> frames) { frames_ = std::move(frames); }

private:
    std::vector<platform::Rect> frames_{platform::Rect(0, 0, kWidth, kHeight)};
};

} // namespace marlowick::sim
