// Draws a layer tree as it shows at a time t, every animation evaluated at t, into pictures.
// Models: the compositing of a Core Animation tree on a 2x screen: backgrounds, rounded and
// continuous corners, borders above the sublayers, shadows from the composited alpha, masks, opacity,
// shape layers, text layers rasterised at their contents scale, gradient layers, and a view's draw
// pass as the root's content. Not modelled: 3D transforms and perspective, image contents, filters.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/canvas.h"
#include "platform/layer.h"
#include "sim/image.h"

namespace marlowick::sim {

// A picture of the root layer's frame with the tree as it shows at `time`.
Image renderLayerTree(const platform::Layer& root, double time, double scale = 2.0);
// A picture of one draw pass over a transparent area of `size` points.
Image renderDrawing(platform::Size size, const std::function<void(platform::Canvas&)>& draw,
                    double scale = 2.0);
// Draws the layer as it shows at `time` into `cr`, whose user space is its superlayer's.
void drawLayer(cairo_t* cr, const platform::Layer& layer, double time);

} // namespace marlowick::sim
