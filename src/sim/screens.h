// The simulated display: one built-in Retina screen (2x) of 1512 x 982 points with a 24-point menu
// bar; tests may plug in others, at 1x say.
// Models: the screen list, each screen's backing scale, the menu bar's height. Not modelled: scaling
// changes of a screen while a window is on it, mirroring.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/screens.h"

namespace marlowick::sim {

class SimScreens final : public platform::Screens {
public:
    static constexpr double kWidth = 1512;
    static constexpr double kHeight = 982;
    static constexpr double kMenuBarHeight = 24;

    struct Screen {
        platform::Rect frame;
        double backingScale = 2;
    };

    std::vector<platform::Rect> screenFrames() override {
        std::vector<platform::Rect> frames;
        for (const auto& screen : screens_)
            frames.push_back(screen.frame);
        return frames;
    }
    double backingScaleFactor(std::size_t index) override {
        return index < screens_.size() ? screens_[index].backingScale : 1.0;
    }
    // Tests may unplug every screen or give the main one another size; these are all 2x.
    void setScreenFrames(const std::vector<platform::Rect>& frames) {
        screens_.clear();
        for (const auto& frame : frames)
            screens_.push_back({frame, 2});
    }
    void setScreens(std::vector<Screen> screens) { screens_ = std::move(screens); }
    // The backing scale of the screen that holds most of the rectangle; the main screen's when it
    // is on none (as AppKit places an off-screen window), 1 with no screen at all.
    double backingScaleFor(const platform::Rect& rect) const {
        if (screens_.empty()) return 1.0;
        double best = 0;
        double scale = screens_.front().backingScale;
        for (const auto& screen : screens_) {
            double width =
                std::min(rect.maxX(), screen.frame.maxX()) - std::max(rect.minX(), screen.frame.minX());
            double height =
                std::min(rect.maxY(), screen.frame.maxY()) - std::max(rect.minY(), screen.frame.minY());
            if (width > 0 && height > 0 && width * height > best) {
                best = width * height;
                scale = screen.backingScale;
            }
        }
        return scale;
    }

private:
    std::vector<Screen> screens_{{platform::Rect(0, 0, kWidth, kHeight), 2}};
};

} // namespace marlowick::sim
