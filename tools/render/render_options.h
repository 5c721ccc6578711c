// The command line of marlowick-render: what to draw, checked before anything is drawn. Drawing
// it is overlay_scene.h's job.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "input/hotkeys.h"
#include "input/settings.h"
#include "platform/geometry.h"

namespace marlowick::render {

struct SceneOptions {
    platform::Size size{300, 220};
    std::vector<platform::Rect> items;
    std::vector<bool> itemIsStack;
    int selected = 0;
    bool showsRing = true;
    StackStyle stackStyle = StackStyle::expandPill;
    RingReveal reveal = RingReveal::none;
    // A palette name or "#rrggbb", as the settings take it.
    std::string color{kDefaultHighlightColor};
    std::optional<VimKey> pendingKey;
    // Seconds since the reveal started.
    double time = 0;
    // Device pixels per point.
    double scale = 2;
    // Draws sidebar cards under the overlay, so the picture reads like the real thing.
    bool backdrop = true;
};

struct RenderOptions {
    enum class Mode { ContactSheet, Single, Help };
    Mode mode = Mode::ContactSheet;
    std::string output;
    SceneOptions scene;
    // The contact sheet is large; one pixel per point keeps it readable and small.
    double sheetScale = 1;
};

// The options, or a message that names the offending argument.
struct ParseResult {
    std::optional<RenderOptions> options;
    std::string error;
};
ParseResult parseRenderOptions(std::span<const std::string> arguments);

extern const char* const kRenderUsage;

} // namespace marlowick::render
