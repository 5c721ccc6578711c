// The settings model: every user setting's key, type and default, the one-run command-line
// overrides, the highlight palette and the restore groups. It keeps no state: each accessor reads
// the user defaults and the process arguments afresh. The stored shortcuts belong to the hot-key engine.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace marlowick {

// Setting enumerations. The cases are in declaration order (the order the settings window shows);
// each is stored as its raw value, the case's name.
enum class OpenMode { badges, pick, next };
enum class NextStyle { direct, show };
enum class StackMode { expand, keep };
enum class StackStyle { expandPill, fadingPeek, silhouette, dotted, echoRings, tintLip };
enum class RingReveal { trace, fade, pop, tighten, glow, none };
enum class MenuBarIcon { wideDot, wideDotLines, wideDotFill, wideDotStack };

// The raw values of each enumeration, indexed by case.
template <typename Enum> struct SettingCases;
template <> struct SettingCases<OpenMode> {
    static constexpr std::array<std::string_view, 3> rawValues{"badges", "pick", "next"};
};
template <> struct SettingCases<NextStyle> {
    static constexpr std::array<std::string_view, 2> rawValues{"direct", "show"};
};
template <> struct SettingCases<StackMode> {
    static constexpr std::array<std::string_view, 2> rawValues{"expand", "keep"};
};
template <> struct SettingCases<StackStyle> {
    static constexpr std::array<std::string_view, 6> rawValues{"expandPill", "fadingPeek", "silhouette",
                                                               "dotted",     "echoRings",  "tintLip"};
};
template <> struct SettingCases<RingReveal> {
    static constexpr std::array<std::string_view, 6> rawValues{"trace",   "fade", "pop",
                                                               "tighten", "glow", "none"};
};
template <> struct SettingCases<MenuBarIcon> {
    static constexpr std::array<std::string_view, 4> rawValues{"wideDot", "wideDotLines", "wideDotFill",
                                                               "wideDotStack"};
};

template <typename Enum> constexpr std::string_view rawValue(Enum value) {
    return SettingCases<Enum>::rawValues[static_cast<std::size_t>(value)];
}

// The case whose raw value is exactly the text (case-sensitive), or none.
template <typename Enum> constexpr std::optional<Enum> fromRawValue(std::string_view text) {
    const auto& raw = SettingCases<Enum>::rawValues;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == text) return static_cast<Enum>(i);
    }
    return std::nullopt;
}

template <typename Enum> constexpr auto allCases() {
    std::array<Enum, SettingCases<Enum>::rawValues.size()> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i)
        cases[i] = static_cast<Enum>(i);
    return cases;
}

// The keys of the user defaults that this model owns.
struct SettingsKey {
    static constexpr std::string_view openMode = "openMode";
    static constexpr std::string_view nextStyle = "nextStyle";
    static constexpr std::string_view stacks = "stacks";
    static constexpr std::string_view autoBadges = "autoBadges";
    static constexpr std::string_view vimKeys = "vimKeys";
    static constexpr std::string_view showPickerKeys = "showPickerKeys";
    static constexpr std::string_view highlightColor = "highlightColor";
    static constexpr std::string_view stackStyle = "stackStyle";
    static constexpr std::string_view ringReveal = "ringReveal";
    static constexpr std::string_view menuBarIcon = "menuBarIcon";
    static constexpr std::string_view isOn = "isOn";
    static constexpr std::string_view pickerKeysOpen = "pickerKeysOpen";
};

// The command-line flags that override a setting for one run; they are never stored.
struct OverrideFlag {
    static constexpr std::string_view mode = "--mode";
    static constexpr std::string_view nextStyle = "--next-style";
    static constexpr std::string_view stacks = "--stacks";
    static constexpr std::string_view ringReveal = "--ring-reveal";
    static constexpr std::string_view stackStyle = "--stack-style";
    static constexpr std::string_view color = "--color";
    static constexpr std::string_view vimKeys = "--vim-keys";
    static constexpr std::string_view noAutoBadges = "--no-auto-badges";
    static constexpr std::string_view noPickerKeys = "--no-picker-keys";
};

struct PaletteColor {
    std::string_view name;
    std::string_view hex;
};

inline constexpr std::array<PaletteColor, 5> highlightPalette{{
    {"blue", "#0A84FF"},
    {"violet", "#BF5AF2"},
    {"pink", "#FF375F"},
    {"amber", "#FF9F0A"},
    {"green", "#30D158"},
}};
inline constexpr std::string_view kDefaultHighlightColor = "green";

// The groups of the settings window's "Restore Defaults", in the order it restores them.
enum class RestoreGroup { shortcuts, behavior, appearance };
inline constexpr std::array<RestoreGroup, 3> allRestoreGroups{RestoreGroup::shortcuts, RestoreGroup::behavior,
                                                              RestoreGroup::appearance};

class AppSettings {
public:
    // Enumerations: a valid override, else the stored raw value, else the default. An override
    // that is no raw value (case matters) is ignored.
    static OpenMode openMode();
    static NextStyle nextStyle();
    static StackMode stacks();
    static StackStyle stackStyle();
    static RingReveal ringReveal();
    // No override.
    static MenuBarIcon menuBarIcon();

    // A palette name or "#" and six lower-case hexadecimal digits. An override that does not
    // resolve gives the default, not the stored colour.
    static std::string highlightColor();
    // The stored colour, lower-cased, if it resolves; the default otherwise. Ignores overrides.
    static std::string storedHighlightColor();

    // A stored Boolean (or the number 0 or 1) counts; anything else reads as the default. Flags
    // only force "--vim-keys" on, the picker-key legend off and automatic badges off.
    static bool vimKeys();
    static bool showPickerKeys();
    // Always false while Marlowick is switched off.
    static bool autoBadges();
    static bool isOn();

    // A palette name (any case) or "#" and six hexadecimal digits, as an opaque sRGB colour.
    static std::optional<platform::Color> resolveColor(std::string_view text);
    // Black or white, whichever reads better on the colour.
    static platform::Color contrastingTextColor(const platform::Color& background);

    // Whether the stored values of the group are their defaults; overrides do not count.
    static bool isAtDefaults(RestoreGroup group);
    // Removes the group's stored values (the shortcuts go back to their initial chords). "isOn"
    // and "pickerKeysOpen" belong to no group and are never touched.
    static void restoreDefaults(RestoreGroup group);

    // Whether a flag is among the process arguments, valid value or not (the settings window
    // marks the settings it governs).
    static bool hasOverride(std::string_view flag);
};

} // namespace marlowick
