// Wraps: AppKit's system font at the nine weights, with monospaced digits on request, and Core
// Text's typographic bounds of one laid-out line (text_lines.h).
// Leaves out: other families, font fallback choices beyond Core Text's own, multi-line layout,
// kerning and tracking adjustments.
#import <Foundation/Foundation.h>

#include <memory>

#include "mac/services.h"
#include "mac/text_lines.h"

namespace marlowick::mac {
namespace {

class MacFonts final : public platform::Fonts {
public:
    platform::Size measureText(std::string_view text, const platform::Font& font) override {
        TextLine line = layOutLine(text, font);
        return {line.width, line.height()};
    }
};

} // namespace

std::unique_ptr<platform::Fonts> makeFonts() {
    return std::make_unique<MacFonts>();
}

} // namespace marlowick::mac
