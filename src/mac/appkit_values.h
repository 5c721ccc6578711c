// The core's frames, colours and appearances as AppKit takes and gives them, shared by the window
// adapters. Frames from outside are checked before AppKit sees them: it throws on some bad ones and
// quietly misplaces windows on others. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <cmath>

#include "mac/quartz_values.h"
#include "platform/appearance.h"
#include "platform/geometry.h"
#include "platform/system_colors.h"

NS_ASSUME_NONNULL_BEGIN

namespace marlowick::mac {

// Far beyond any screen; a frame past it is not one AppKit should be handed.
inline constexpr double kLargestCoordinate = 1e6;

inline bool isUsableFrame(const platform::Rect& frame) {
    return isFinite(frame) && frame.width() >= 0 && frame.height() >= 0 &&
           std::fabs(frame.minX()) < kLargestCoordinate && std::fabs(frame.minY()) < kLargestCoordinate &&
           frame.width() < kLargestCoordinate && frame.height() < kLargestCoordinate;
}

inline NSRect toNSRect(const platform::Rect& rect) {
    return NSRect{{rect.minX(), rect.minY()}, {rect.width(), rect.height()}};
}

inline platform::Rect toRect(NSRect rect) {
    return {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
}

inline NSColor* toNSColor(const platform::Color& color) {
    return [NSColor colorWithSRGBRed:unitValue(color.red)
                               green:unitValue(color.green)
                                blue:unitValue(color.blue)
                               alpha:unitValue(color.alpha)];
}

// Aqua or dark aqua; the high-contrast variants count as their base.
inline platform::Appearance appearanceOf(NSAppearance* _Nullable appearance) {
    NSAppearanceName match =
        [appearance bestMatchFromAppearancesWithNames:@[ NSAppearanceNameAqua, NSAppearanceNameDarkAqua ]];
    return match && [match isEqualToString:NSAppearanceNameDarkAqua] ? platform::Appearance::Dark
                                                                     : platform::Appearance::Light;
}

// A colour AppKit resolves for the appearance of whatever draws with it.
inline NSColor* dynamicColor(const platform::Color& light, const platform::Color& dark) {
    NSColor* lightColor = toNSColor(light);
    NSColor* darkColor = toNSColor(dark);
    return [NSColor colorWithName:nil
                  dynamicProvider:^NSColor*(NSAppearance* appearance) {
                    return appearanceOf(appearance) == platform::Appearance::Dark ? darkColor : lightColor;
                  }];
}

// A colour's sRGB components; one that has none (a pattern) reads as clear.
inline platform::Color toColor(NSColor* color) {
    NSColor* srgb = [color colorUsingColorSpace:NSColorSpace.sRGBColorSpace];
    if (!srgb) return {0, 0, 0, 0};
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    [srgb getRed:&red green:&green blue:&blue alpha:&alpha];
    return {unitValue(red), unitValue(green), unitValue(blue), unitValue(alpha)};
}

// The system colours as they resolve inside the appearance (a view's effectiveAppearance, say),
// with the user's accent: dynamic colours take the current drawing appearance, so each is read
// inside it.
inline platform::SystemColors resolvedSystemColors(NSAppearance* appearance) {
    __block platform::SystemColors colors;
    colors.appearance = appearanceOf(appearance);
    [appearance performAsCurrentDrawingAppearance:^{
      colors.label = toColor(NSColor.labelColor);
      colors.secondaryLabel = toColor(NSColor.secondaryLabelColor);
      colors.tertiaryLabel = toColor(NSColor.tertiaryLabelColor);
      colors.controlAccent = toColor(NSColor.controlAccentColor);
      colors.selectedMenuItemText = toColor(NSColor.selectedMenuItemTextColor);
      colors.systemGreen = toColor(NSColor.systemGreenColor);
    }];
    return colors;
}

} // namespace marlowick::mac

NS_ASSUME_NONNULL_END
