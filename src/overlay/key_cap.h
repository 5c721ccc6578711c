// Key legends: the glyphs of a hot key or picker key drawn as small rounded key caps, with the
// measuring the menu and the settings window need to line them up. Where caps go is the caller's.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/keyboardshortcuts/shortcut.h"
#include "platform/canvas.h"
#include "platform/fonts.h"
#include "platform/geometry.h"

namespace marlowick {

// One glyph of a key legend: a key in a box ("⌘", "esc", "gg"), or plain text between or instead
// of keys ("–", "Not set").
struct KeyCap {
    enum class Kind { key, text };
    Kind kind = Kind::key;
    std::string label;

    static KeyCap key(std::string label) { return {Kind::key, std::move(label)}; }
    static KeyCap text(std::string label) { return {Kind::text, std::move(label)}; }
    friend bool operator==(const KeyCap&, const KeyCap&) = default;
};

// The font of the text inside and between caps.
platform::Font keyCapFont();
inline constexpr double kKeyCapHeight = 20;
inline constexpr double kKeyCapSpacing = 2;

// The width one cap takes: a key's box is its text width (rounded up) plus 8, at least 20; a text
// cap is as wide as its text. Measured with the platform's font service.
double capWidth(const KeyCap& cap);
// The width of the caps drawn in a row: their widths plus the spacing between them; 0 for none.
double capsWidth(const std::vector<KeyCap>& caps);
// Draws the caps from left to right, their 20-point boxes standing on `origin`, in the colour.
void drawCaps(platform::Canvas& canvas, const std::vector<KeyCap>& caps, const platform::Color& color,
              platform::Point origin);
// The caps' texts run together, as the right edge of an action row shows them: "⌘,".
std::string joinedCapsText(const std::vector<KeyCap>& caps);
// The caps that show a hot key: one key per leading modifier glyph ("⌃⌥⇧⌘"), one for the rest of its
// display text; the plain text "Not set" without a shortcut.
std::vector<KeyCap> capsForShortcut(const std::optional<KeyboardShortcuts::Shortcut>& shortcut);

} // namespace marlowick
