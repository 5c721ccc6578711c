#include "input/keyboardshortcuts/modifiers.h"

#include <array>
#include <utility>

#include "platform/hot_keys.h"

namespace KeyboardShortcuts {

namespace platform = marlowick::platform;

namespace {

constexpr std::array<std::pair<platform::ModifierFlags, std::int64_t>, 5> kPairs{{
    {platform::kFlagControl, platform::kCarbonControl},
    {platform::kFlagOption, platform::kCarbonOption},
    {platform::kFlagShift, platform::kCarbonShift},
    {platform::kFlagCommand, platform::kCarbonCommand},
    {platform::kFlagFunction, platform::kCarbonFunction},
}};

} // namespace

std::int64_t carbonModifiers(platform::ModifierFlags flags) {
    std::int64_t bits = 0;
    for (auto [flag, bit] : kPairs) {
        if (flags & flag) bits |= bit;
    }
    return bits;
}

platform::ModifierFlags modifierFlags(std::int64_t carbonModifiers) {
    platform::ModifierFlags flags = 0;
    for (auto [flag, bit] : kPairs) {
        if (carbonModifiers & bit) flags |= flag;
    }
    return flags;
}

} // namespace KeyboardShortcuts
