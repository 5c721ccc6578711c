// Wraps: NSImage's drawing-handler images over the canvas on the image's CGContext, with the
// template flag and the accessibility description.
// Leaves out: bitmap caching of its own (AppKit keeps the renderings it needs), resizing.
#import <AppKit/AppKit.h>

#include <cmath>

#include "mac/drawn_images.h"
#include "mac/services.h"
#include "mac/text_lines.h"

namespace marlowick::mac {
namespace {

// Well past any image the product draws; a size from a faulty caller must not ask AppKit for a
// huge bitmap.
constexpr double kMaxImageSide = 1024;

double imageSide(double side) {
    return std::isfinite(side) && side > 0 ? std::fmin(side, kMaxImageSide) : 0;
}

} // namespace

NSImage* makeNSImage(const platform::DrawnImage& drawn) {
    NSSize size{imageSide(drawn.size.width), imageSide(drawn.size.height)};
    // AppKit calls the handler each time it renders the image, at the screen's scale, with the
    // origin at the lower left as the drawing expects.
    auto draw = drawn.draw;
    NSImage* image = [NSImage imageWithSize:size
                                    flipped:NO
                             drawingHandler:^BOOL(NSRect) {
                               if (!draw) return YES;
                               CGContextRef context = NSGraphicsContext.currentContext.CGContext;
                               if (!context) return NO;
                               draw(*makeCanvas(context));
                               return YES;
                             }];
    [image setTemplate:drawn.isTemplate];
    image.accessibilityDescription =
        drawn.accessibilityDescription.empty() ? nil : displayString(drawn.accessibilityDescription);
    return image;
}

} // namespace marlowick::mac
