// Stands for Apple's CoreText framework: fonts (toll-free bridged with NSFont), their metrics, and
// lines laid out from attributed strings and drawn, with the signatures of Apple's public documentation. Not
// the SDK: only what src/mac/ needs.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct CF_BRIDGED_TYPE(NSFont) __CTFont* CTFontRef;
typedef const struct __CTLine* CTLineRef;

extern const CFStringRef kCTFontAttributeName;
// A CFBoolean: true draws the text in the context's fill colour.
extern const CFStringRef kCTForegroundColorFromContextAttributeName;

CGFloat CTFontGetSize(CTFontRef font);
CGFloat CTFontGetAscent(CTFontRef font);
CGFloat CTFontGetDescent(CTFontRef font);
CGFloat CTFontGetLeading(CTFontRef font);

CTLineRef CTLineCreateWithAttributedString(CFAttributedStringRef attrString);
void CTLineDraw(CTLineRef line, CGContextRef context);
double CTLineGetTypographicBounds(CTLineRef line, CGFloat* ascent, CGFloat* descent, CGFloat* leading);

#ifdef __cplusplus
}
#endif
