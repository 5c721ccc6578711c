#include "platform/system_colors.h"

namespace marlowick::platform {

namespace {

constexpr Color rgb(int red, int green, int blue) {
    return {red / 255.0, green / 255.0, blue / 255.0, 1};
}

// Each accent in the light and in the dark appearance, which brightens it a little.
struct AccentPair {
    Color light;
    Color dark;
};

AccentPair accentPair(AccentColor accent) {
    switch (accent) {
    case AccentColor::Blue:
        break;
    case AccentColor::Purple:
        return {rgb(175, 82, 222), rgb(191, 90, 242)};
    case AccentColor::Pink:
        return {rgb(255, 45, 85), rgb(255, 55, 95)};
    case AccentColor::Red:
        return {rgb(255, 59, 48), rgb(255, 69, 58)};
    case AccentColor::Orange:
        return {rgb(255, 149, 0), rgb(255, 159, 10)};
    case AccentColor::Yellow:
        return {rgb(255, 204, 0), rgb(255, 214, 10)};
    case AccentColor::Green:
        return {rgb(52, 199, 89), rgb(48, 209, 88)};
    case AccentColor::Graphite:
        return {rgb(142, 142, 147), rgb(152, 152, 157)};
    }
    return {rgb(0, 122, 255), rgb(10, 132, 255)};
}

} // namespace

SystemColors standardColors(Appearance appearance, AccentColor accent) {
    const AccentPair accents = accentPair(accent);
    const AccentPair green = accentPair(AccentColor::Green);
    if (appearance == Appearance::Dark)
        return {appearance,         {1, 1, 1, 0.85}, {1, 1, 1, 0.55}, {1, 1, 1, 0.25}, accents.dark,
                whiteColor(), green.dark};
    return {appearance,         {0, 0, 0, 0.85}, {0, 0, 0, 0.5}, {0, 0, 0, 0.26}, accents.light,
            whiteColor(), green.light};
}

} // namespace marlowick::platform
