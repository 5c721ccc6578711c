// Wraps: AppKit's system font at the nine weights, with monospaced digits on request, and Core
// Text's typographic bounds of one laid-out line.
// Leaves out: other families, font fallback choices beyond Core Text's own, multi-line layout,
// kerning and tracking adjustments.
#import <AppKit/AppKit.h>
#import <CoreText/CoreText.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <memory>
#include <string>

#include "mac/cf_ref.h"
#include "mac/foundation_values.h"
#include "mac/services.h"
#include "platform/utf8.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

NSFontWeight fontWeight(p::FontWeight weight) {
    switch (weight) {
    case p::FontWeight::UltraLight:
        return NSFontWeightUltraLight;
    case p::FontWeight::Thin:
        return NSFontWeightThin;
    case p::FontWeight::Light:
        return NSFontWeightLight;
    case p::FontWeight::Regular:
        return NSFontWeightRegular;
    case p::FontWeight::Medium:
        return NSFontWeightMedium;
    case p::FontWeight::Semibold:
        return NSFontWeightSemibold;
    case p::FontWeight::Bold:
        return NSFontWeightBold;
    case p::FontWeight::Heavy:
        return NSFontWeightHeavy;
    case p::FontWeight::Black:
        return NSFontWeightBlack;
    }
    return NSFontWeightRegular;
}

NSFont* systemFont(const p::Font& font) {
    // A size of 0 would ask AppKit for its default; nonsense sizes get the standard 13 points instead.
    const CGFloat size = font.size > 0 && font.size < 10000 ? font.size : 13;
    const NSFontWeight weight = fontWeight(font.weight);
    return font.monospacedDigits ? [NSFont monospacedDigitSystemFontOfSize:size weight:weight]
                                 : [NSFont systemFontOfSize:size weight:weight];
}

// The text with every malformed byte as U+FFFD, so that NSString accepts it.
std::string validUTF8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (char32_t codePoint : p::codePoints(text))
        p::appendUtf8(valid, codePoint);
    return valid;
}

class MacFonts final : public p::Fonts {
public:
    p::Size measureText(std::string_view text, const p::Font& font) override {
        NSFont* nsFont = systemFont(font);
        auto ctFont = (__bridge CTFontRef)nsFont;
        // The line height is the font's, so an empty string is as tall as any other line.
        const double height = CTFontGetAscent(ctFont) + CTFontGetDescent(ctFont) + CTFontGetLeading(ctFont);
        NSString* string = toNSString(validUTF8(text));
        if (!string || string.length == 0) return {0, height};
        NSAttributedString* attributed =
            [[NSAttributedString alloc] initWithString:string attributes:@{NSFontAttributeName : nsFont}];
        auto line = CFRef<CTLineRef>::adopt(
            CTLineCreateWithAttributedString((__bridge CFAttributedStringRef)attributed));
        if (!line) return {0, height};
        const double width = CTLineGetTypographicBounds(line.get(), nullptr, nullptr, nullptr);
        return {std::isfinite(width) && width > 0 ? width : 0, height};
    }
};

} // namespace

std::unique_ptr<platform::Fonts> makeFonts() {
    return std::make_unique<MacFonts>();
}

} // namespace marlowick::mac
