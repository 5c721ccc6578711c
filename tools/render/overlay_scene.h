// Pictures of the sidebar overlay for marlowick-render: one scene at a time after its reveal began,
// and the contact sheet of every stack style and reveal. Needs a simulated Mac in force.
#pragma once

#include <string>

#include "render_options.h"
#include "sim/image.h"

namespace marlowick::render {

// The overlay (over a sketch of the sidebar, when asked) as it shows `options.time` seconds after
// its indicator was first drawn.
sim::Image renderScene(const SceneOptions& options);

// The six stack styles on a stack and on a single row, then the six reveals at 0, 25, 50, 75 and
// 100 % of their length, labelled.
sim::Image renderContactSheet(const std::string& color, double scale);

} // namespace marlowick::render
