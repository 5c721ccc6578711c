// One line of text in the system font, laid out by Core Text, for the fonts service to measure and
// the canvas to draw, so that both agree on every width. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>
#import <CoreText/CoreText.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <string>
#include <string_view>

#include "mac/cf_ref.h"
#include "mac/foundation_values.h"
#include "platform/fonts.h"
#include "platform/utf8.h"

namespace marlowick::mac {

inline NSFontWeight fontWeight(platform::FontWeight weight) {
    using platform::FontWeight;
    switch (weight) {
    case FontWeight::UltraLight:
        return NSFontWeightUltraLight;
    case FontWeight::Thin:
        return NSFontWeightThin;
    case FontWeight::Light:
        return NSFontWeightLight;
    case FontWeight::Regular:
        return NSFontWeightRegular;
    case FontWeight::Medium:
        return NSFontWeightMedium;
    case FontWeight::Semibold:
        return NSFontWeightSemibold;
    case FontWeight::Bold:
        return NSFontWeightBold;
    case FontWeight::Heavy:
        return NSFontWeightHeavy;
    case FontWeight::Black:
        return NSFontWeightBlack;
    }
    return NSFontWeightRegular;
}

inline NSFont* systemFont(const platform::Font& font) {
    // A size of 0 would ask AppKit for its default; nonsense sizes get the standard 13 points instead.
    const CGFloat size = font.size > 0 && font.size < 10000 ? font.size : 13;
    const NSFontWeight weight = fontWeight(font.weight);
    return font.monospacedDigits ? [NSFont monospacedDigitSystemFontOfSize:size weight:weight]
                                 : [NSFont systemFontOfSize:size weight:weight];
}

// The text with every malformed byte as U+FFFD, so that NSString accepts it.
inline std::string validUTF8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (char32_t codePoint : platform::codePoints(text))
        platform::appendUtf8(valid, codePoint);
    return valid;
}

// The text for AppKit to show: malformed bytes as U+FFFD, so never nil.
inline NSString* displayString(std::string_view text) {
    NSString* string = toNSString(validUTF8(text));
    return string ? string : @"";
}

struct TextLine {
    CFRef<CTLineRef> line; // empty for empty text
    double width = 0;
    double ascent = 0;
    double descent = 0;
    double leading = 0;
    // The font's line height, so that an empty string is as tall as any other line.
    double height() const { return ascent + descent + leading; }
};

// The line in the font, coloured with the context's fill colour when drawn.
inline TextLine layOutLine(std::string_view text, const platform::Font& font) {
    NSFont* nsFont = systemFont(font);
    auto ctFont = (__bridge CTFontRef)nsFont;
    TextLine out;
    out.ascent = CTFontGetAscent(ctFont);
    out.descent = CTFontGetDescent(ctFont);
    out.leading = CTFontGetLeading(ctFont);
    NSString* string = toNSString(validUTF8(text));
    if (!string || string.length == 0) return out;
    NSDictionary<NSAttributedStringKey, id>* attributes = @{
        NSFontAttributeName : nsFont,
        (__bridge NSString*)kCTForegroundColorFromContextAttributeName : [NSNumber numberWithBool:YES],
    };
    NSAttributedString* attributed = [[NSAttributedString alloc] initWithString:string attributes:attributes];
    out.line =
        CFRef<CTLineRef>::adopt(CTLineCreateWithAttributedString((__bridge CFAttributedStringRef)attributed));
    if (!out.line) return out;
    const double width = CTLineGetTypographicBounds(out.line.get(), nullptr, nullptr, nullptr);
    out.width = std::isfinite(width) && width > 0 ? width : 0;
    return out;
}

} // namespace marlowick::mac
