// The core's drawn images as NSImages, drawn through the canvas each time AppKit renders them.
// Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/drawn_image.h"

NS_ASSUME_NONNULL_BEGIN

namespace marlowick::mac {

// The template flag and accessibility description come along; a side that is not finite or not
// positive is 0, and one past 1024 points is cut there.
NSImage* makeNSImage(const platform::DrawnImage& drawn);

} // namespace marlowick::mac

NS_ASSUME_NONNULL_END
