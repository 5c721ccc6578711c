#include "input/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "input/command_line.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

// The arguments are fixed for the run, but reading them at every call keeps the model stateless.
std::vector<std::string> arguments() {
    return platform::current().process->arguments();
}

platform::UserDefaults& defaults() {
    return *platform::current().defaults;
}

template <typename Enum> Enum storedEnum(std::string_view key, Enum fallback) {
    if (auto text = defaults().string(key)) {
        if (auto value = fromRawValue<Enum>(*text)) return *value;
    }
    return fallback;
}

template <typename Enum> Enum enumSetting(std::string_view key, std::string_view flag, Enum fallback) {
    auto args = arguments();
    if (auto value = flagValue(args, flag)) {
        if (auto chosen = fromRawValue<Enum>(*value)) return *chosen;
    }
    return storedEnum(key, fallback);
}

bool storedBoolean(std::string_view key, bool fallback) {
    return defaults().boolean(key).value_or(fallback);
}

// Lower-cases as the platform's string lower-casing does for every text that can still name a
// colour: ASCII letters, and the Kelvin sign, the one other character that becomes an ASCII letter.
std::string lowerCased(std::string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (text.substr(i, 3) == "\xE2\x84\xAA") {
            lower += 'k';
            i += 2;
        } else {
            lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return lower;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The colour text lower-cased when it resolves, or none.
std::optional<std::string> acceptedColor(std::string_view text) {
    if (!AppSettings::resolveColor(text)) return std::nullopt;
    return lowerCased(text);
}

} // namespace

OpenMode AppSettings::openMode() {
    return enumSetting(SettingsKey::openMode, OverrideFlag::mode, OpenMode::badges);
}

NextStyle AppSettings::nextStyle() {
    return enumSetting(SettingsKey::nextStyle, OverrideFlag::nextStyle, NextStyle::direct);
}

StackMode AppSettings::stacks() {
    return enumSetting(SettingsKey::stacks, OverrideFlag::stacks, StackMode::expand);
}

StackStyle AppSettings::stackStyle() {
    return enumSetting(SettingsKey::stackStyle, OverrideFlag::stackStyle, StackStyle::expandPill);
}

RingReveal AppSettings::ringReveal() {
    return enumSetting(SettingsKey::ringReveal, OverrideFlag::ringReveal, RingReveal::trace);
}

MenuBarIcon AppSettings::menuBarIcon() {
    return storedEnum(SettingsKey::menuBarIcon, MenuBarIcon::wideDotStack);
}

std::string AppSettings::storedHighlightColor() {
    if (auto stored = defaults().string(SettingsKey::highlightColor)) {
        if (auto color = acceptedColor(*stored)) return *color;
    }
    return std::string(kDefaultHighlightColor);
}

std::string AppSettings::highlightColor() {
    auto args = arguments();
    if (auto value = flagValue(args, OverrideFlag::color)) {
        return acceptedColor(*value).value_or(std::string(kDefaultHighlightColor));
    }
    return storedHighlightColor();
}

bool AppSettings::vimKeys() {
    if (hasOverride(OverrideFlag::vimKeys)) return true;
    return storedBoolean(SettingsKey::vimKeys, false);
}

bool AppSettings::showPickerKeys() {
    if (hasOverride(OverrideFlag::noPickerKeys)) return false;
    return storedBoolean(SettingsKey::showPickerKeys, true);
}

bool AppSettings::autoBadges() {
    if (!isOn() || hasOverride(OverrideFlag::noAutoBadges)) return false;
    return storedBoolean(SettingsKey::autoBadges, true);
}

bool AppSettings::isOn() {
    return storedBoolean(SettingsKey::isOn, true);
}

bool AppSettings::hasOverride(std::string_view flag) {
    auto args = arguments();
    return hasFlag(args, flag);
}

std::optional<platform::Color> AppSettings::resolveColor(std::string_view text) {
    // Nothing much longer than a hexadecimal colour can resolve; a huge argument is not copied.
    constexpr std::size_t kLongestColorText = 16;
    if (text.size() > kLongestColorText) return std::nullopt;
    std::string color = lowerCased(text);
    for (const auto& entry : highlightPalette) {
        if (color == entry.name) color = entry.hex;
    }
    if (color.size() != 7 || color[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    for (char c : std::string_view(color).substr(1)) {
        int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    auto component = [rgb](int shift) { return static_cast<double>((rgb >> shift) & 0xFF) / 255.0; };
    return platform::Color{component(16), component(8), component(0), 1.0};
}

platform::Color AppSettings::contrastingTextColor(const platform::Color& background) {
    constexpr platform::Color black{0, 0, 0, 1};
    constexpr platform::Color white{1, 1, 1, 1};
    const double components[] = {background.red, background.green, background.blue};
    if (!std::all_of(std::begin(components), std::end(components),
                     [](double c) { return std::isfinite(c); })) {
        return white; // not a colour at all
    }
    // Extended-range components beyond 0 to 1 count as their nearest displayable value.
    auto clamp = [](double c) { return std::clamp(c, 0.0, 1.0); };
    double luminance =
        0.2126 * clamp(background.red) + 0.7152 * clamp(background.green) + 0.0722 * clamp(background.blue);
    return luminance > 0.6 ? black : white;
}

} // namespace marlowick
