// A vector path of lines and Bézier curves in points, with the geometry the drawing code needs:
// bounds, flattening, trimming by length, containment, area and union. Drawing it is the canvas's job.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/geometry.h"
#include "platform/transform.h"

namespace marlowick::platform {

enum class FillRule { NonZero, EvenOdd };

// Flattening tolerance for union and trimming: a fortieth of a point, finer than a tenth of a
// device pixel on a 2x screen.
inline constexpr double kFlatteningTolerance = 0.025;

class Path {
public:
    enum class Verb { Move, Line, Quad, Cubic, Close };
    struct Element {
        Verb verb;
        Point points[3]; // Move/Line: end; Quad: control, end; Cubic: control 1, control 2, end
        friend bool operator==(const Element&, const Element&) = default;
    };
    // One flattened subpath: its vertices in order, and whether it was closed.
    struct Polygon {
        std::vector<Point> points;
        bool closed = false;
    };

    void moveTo(Point p);
    // A segment without a current point starts a subpath at its own start (the point given).
    void lineTo(Point p);
    void quadTo(Point control, Point end);
    void curveTo(Point control1, Point control2, Point end);
    void close();

    void addRect(const Rect& rect);
    // Circular corners; radii are clamped to half the rectangle's sides.
    void addRoundedRect(const Rect& rect, double radiusX, double radiusY);
    // Continuous-curvature corners: each corner spans 1.52866483·r of both its edges, r clamped so
    // that two corners fit on the shorter side. The path starts on the top edge and runs clockwise.
    void addContinuousRoundedRect(const Rect& rect, double radius);
    void addEllipse(const Rect& rect);
    void addPath(const Path& other);

    const std::vector<Element>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    std::optional<Point> currentPoint() const;

    Path transformed(const Transform& transform) const;
    // The tight bounds of the path's outline (curve extrema included, control points not).
    Rect bounds() const;

    // Curves replaced by lines that stay within `tolerance` of them.
    std::vector<Polygon> flattened(double tolerance = kFlatteningTolerance) const;
    // The part of the outline from fraction `start` to fraction `end` of its length, flattened;
    // what a stroke draws with a stroke start and end.
    Path trimmed(double start, double end) const;
    double length() const;

    // Whether the point lies inside the filled area under the rule (open subpaths count as closed).
    bool contains(Point p, FillRule rule) const;
    // The area the path covers when filled under the rule, in square points.
    double filledArea(FillRule rule) const;
    // The area covered by either path, each filled with the non-zero rule, as closed polygons.
    Path united(const Path& other) const;

    friend bool operator==(const Path&, const Path&) = default;

private:
    void ensureStarted(Point p);

    std::vector<Element> elements_;
    Point start_{};
    Point current_{};
    bool hasCurrent_ = false; // a current point exists (after a move, or after a close)
    bool open_ = false;       // a subpath is in progress
};

} // namespace marlowick::platform
