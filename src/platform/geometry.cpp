#include "platform/geometry.h"

#include <charconv>
#include <cmath>

namespace marlowick::platform {

std::string describe(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    // The shortest round-trip form, with ".0" on whole numbers as the platform prints a double.
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

std::string describe(const Rect& rect) {
    return "(" + describe(rect.origin.x) + ", " + describe(rect.origin.y) + ", " + describe(rect.size.width) +
           ", " + describe(rect.size.height) + ")";
}

} // namespace marlowick::platform
