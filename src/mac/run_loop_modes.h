// The AppKit run-loop mode for each of the product's modes. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/run_loop.h"

namespace marlowick::mac {

inline NSRunLoopMode runLoopModeName(platform::RunLoopMode mode) {
    switch (mode) {
    case platform::RunLoopMode::Default:
        return NSDefaultRunLoopMode;
    case platform::RunLoopMode::Common:
        return NSRunLoopCommonModes;
    case platform::RunLoopMode::EventTracking:
        return NSEventTrackingRunLoopMode;
    }
    return NSDefaultRunLoopMode;
}

} // namespace marlowick::mac
