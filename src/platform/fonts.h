// Font descriptions and the text-measuring service. The system font is the platform's UI face; how
// glyphs are shaped and drawn is left to the service and the canvas.
#pragma once

#include <string_view>

#include "platform/geometry.h"

namespace marlowick::platform {

enum class FontWeight { UltraLight, Thin, Light, Regular, Medium, Semibold, Bold, Heavy, Black };

struct Font {
    double size = 13;
    FontWeight weight = FontWeight::Regular;
    // Digits all one width, so a changing number does not shift the text around it.
    bool monospacedDigits = false;

    static Font system(double size, FontWeight weight = FontWeight::Regular) { return {size, weight, false}; }
    static Font monospacedDigitSystem(double size, FontWeight weight = FontWeight::Regular) {
        return {size, weight, true};
    }
    friend bool operator==(const Font&, const Font&) = default;
};

class Fonts {
public:
    virtual ~Fonts() = default;
    // The size of one line of text set in the font: its advance width and its line height.
    // Text that is not valid UTF-8 is measured with the invalid bytes replaced.
    virtual Size measureText(std::string_view text, const Font& font) = 0;
};

} // namespace marlowick::platform
