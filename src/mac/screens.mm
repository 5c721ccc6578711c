// Wraps: NSScreen's list of screens, their frames and backing scale factors. AppKit already keeps
// frames bottom-left-origin with the menu-bar screen first, so they cross unchanged.
// Leaves out: visible frames (menu bar and Dock), colour spaces, screen-change notifications.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <memory>
#include <vector>

#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

class MacScreens final : public p::Screens {
public:
    std::vector<p::Rect> screenFrames() override {
        std::vector<p::Rect> frames;
        for (NSScreen* screen in NSScreen.screens) {
            NSRect frame = screen.frame;
            frames.emplace_back(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
        }
        return frames;
    }

    double backingScaleFactor(std::size_t index) override {
        NSArray<NSScreen*>* screens = NSScreen.screens;
        if (index >= screens.count) return 1;
        CGFloat scale = screens[index].backingScaleFactor;
        // A screen mid-detach can report 0; callers divide by this.
        return std::isfinite(scale) && scale > 0 ? scale : 1;
    }
};

} // namespace

std::unique_ptr<platform::Screens> makeScreens() {
    return std::make_unique<MacScreens>();
}

} // namespace marlowick::mac
