// The drawing context of a view's draw pass: paths filled and stroked, text, gradients, clipping and
// transparency groups, in the view's own points (origin lower left, y up). Rasterising is left to
// the implementation behind it.
#pragma once

#include <string_view>
#include <vector>

#include "platform/fonts.h"
#include "platform/geometry.h"
#include "platform/path.h"

namespace marlowick::platform {

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };
// DestinationOut erases: what is drawn removes that much coverage from what is already there.
enum class BlendMode { Normal, DestinationOut };

// Colour stops at locations from 0 to 1, interpolated in sRGB.
struct Gradient {
    struct Stop {
        double location = 0;
        Color color;
    };
    std::vector<Stop> stops;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // The graphics state (colours, line settings, alpha, blend mode, transform, clip) is a stack.
    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void translate(double dx, double dy) = 0;
    virtual void scale(double sx, double sy) = 0;
    virtual void concat(const Transform& transform) = 0;

    virtual void setFillColor(const Color& color) = 0;
    virtual void setStrokeColor(const Color& color) = 0;
    virtual void setLineWidth(double width) = 0;
    virtual void setLineCap(LineCap cap) = 0;
    virtual void setLineJoin(LineJoin join) = 0;
    // Alternating dash and gap lengths; an empty pattern draws a solid line.
    virtual void setLineDash(const std::vector<double>& pattern, double phase = 0) = 0;
    // Multiplies everything drawn afterwards, colours, text and groups alike.
    virtual void setAlpha(double alpha) = 0;
    virtual void setBlendMode(BlendMode mode) = 0;

    virtual void fill(const Path& path, FillRule rule = FillRule::NonZero) = 0;
    virtual void stroke(const Path& path) = 0;
    // Intersects the clip with the path's filled area.
    virtual void clip(const Path& path, FillRule rule = FillRule::NonZero) = 0;

    // Everything drawn up to the matching end is composited as one image, with the alpha and blend
    // mode in force at the begin; inside, alpha starts at 1 and the blend mode at normal.
    virtual void beginTransparencyGroup() = 0;
    virtual void endTransparencyGroup() = 0;

    // Fill the current clip; colours before the first and after the last stop extend outwards.
    virtual void drawLinearGradient(const Gradient& gradient, Point start, Point end) = 0;
    virtual void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                    Point endCenter, double endRadius) = 0;

    // One line of text: its advance width and line height, as the font service measures it.
    virtual Size measureText(std::string_view text, const Font& font) = 0;
    // Draws one line with the lower-left corner of its line box at origin.
    virtual void drawText(std::string_view text, Point origin, const Font& font, const Color& color) = 0;
};

} // namespace marlowick::platform
