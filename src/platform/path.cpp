#include "platform/path.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace marlowick::platform {

namespace {

// Ellipse quadrants as cubic curves: the control arms are this fraction of the radius.
constexpr double kKappa = 0.5522847498307936;

Point lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}
double distance(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}
double norm(double x, double y) {
    return std::hypot(x, y);
}

Point quadAt(Point p0, Point p1, Point p2, double t) {
    return lerp(lerp(p0, p1, t), lerp(p1, p2, t), t);
}
Point cubicAt(Point p0, Point p1, Point p2, Point p3, double t) {
    const Point a = lerp(p0, p1, t), b = lerp(p1, p2, t), c = lerp(p2, p3, t);
    return lerp(lerp(a, b, t), lerp(b, c, t), t);
}

// How many equal parameter steps keep a curve within `tolerance` of its chords. A chord of a
// parameter step h strays at most h²/8 · max|B''| from the curve.
int segmentCount(double maxSecondDerivative, double tolerance) {
    const double n = std::ceil(std::sqrt(maxSecondDerivative / (8 * tolerance)));
    if (!std::isfinite(n) || n < 1) return 1;
    return static_cast<int>(std::min(n, 100000.0));
}

// The parameters in (0, 1) where a*t² + b*t + c = 0.
void addRoots(double a, double b, double c, std::vector<double>& out) {
    auto keep = [&](double t) {
        if (t > 0 && t < 1) out.push_back(t);
    };
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12) keep(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return;
    const double root = std::sqrt(disc);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
}

// Clipper works in integers: 1/4096 of a point, with coordinates clamped far beyond any screen.
constexpr double kClipperScale = 4096;
constexpr double kClipperLimit = 1e7;

ClipperLib::Paths toClipper(const std::vector<Path::Polygon>& polygons) {
    ClipperLib::Paths paths;
    for (const auto& polygon : polygons) {
        ClipperLib::Path path;
        for (Point p : polygon.points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
            const double x = std::clamp(p.x, -kClipperLimit, kClipperLimit);
            const double y = std::clamp(p.y, -kClipperLimit, kClipperLimit);
            path.emplace_back(std::llround(x * kClipperScale), std::llround(y * kClipperScale));
        }
        if (path.size() >= 3) paths.push_back(std::move(path));
    }
    return paths;
}

ClipperLib::Paths clipperUnion(const ClipperLib::Paths& paths, ClipperLib::PolyFillType fill) {
    ClipperLib::Paths result;
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPaths(paths, ClipperLib::ptSubject, true);
        clipper.Execute(ClipperLib::ctUnion, result, fill, fill);
    } catch (...) {
        result.clear(); // Clipper reports out-of-range input by throwing; the input is clamped before
    }
    return result;
}

ClipperLib::PolyFillType clipperFill(FillRule rule) {
    return rule == FillRule::EvenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero;
}

} // namespace

void Path::ensureStarted(Point p) {
    if (!hasCurrent_) {
        moveTo(p);
    } else if (!open_) {
        moveTo(current_); // drawing on after a close starts a new subpath where the last one began
    }
}

void Path::moveTo(Point p) {
    elements_.push_back({Verb::Move, {p, {}, {}}});
    start_ = current_ = p;
    hasCurrent_ = open_ = true;
}

void Path::lineTo(Point p) {
    ensureStarted(p);
    elements_.push_back({Verb::Line, {p, {}, {}}});
    current_ = p;
}

void Path::quadTo(Point control, Point end) {
    ensureStarted(control);
    elements_.push_back({Verb::Quad, {control, end, {}}});
    current_ = end;
}

void Path::curveTo(Point control1, Point control2, Point end) {
    ensureStarted(control1);
    elements_.push_back({Verb::Cubic, {control1, control2, end}});
    current_ = end;
}

void Path::close() {
    if (!open_) return;
    elements_.push_back({Verb::Close, {}});
    current_ = start_;
    open_ = false;
}

std::optional<Point> Path::currentPoint() const {
    if (!hasCurrent_) return std::nullopt;
    return current_;
}

void Path::addRect(const Rect& r) {
    moveTo({r.minX(), r.minY()});
    lineTo({r.maxX(), r.minY()});
    lineTo({r.maxX(), r.maxY()});
    lineTo({r.minX(), r.maxY()});
    close();
}

void Path::addRoundedRect(const Rect& r, double radiusX, double radiusY) {
    const double rx = std::clamp(radiusX, 0.0, r.width() / 2);
    const double ry = std::clamp(radiusY, 0.0, r.height() / 2);
    if (rx <= 0 || ry <= 0) return addRect(r);
    const double kx = rx * kKappa, ky = ry * kKappa;
    moveTo({r.minX() + rx, r.minY()});
    lineTo({r.maxX() - rx, r.minY()});
    curveTo({r.maxX() - rx + kx, r.minY()}, {r.maxX(), r.minY() + ry - ky}, {r.maxX(), r.minY() + ry});
    lineTo({r.maxX(), r.maxY() - ry});
    curveTo({r.maxX(), r.maxY() - ry + ky}, {r.maxX() - rx + kx, r.maxY()}, {r.maxX() - rx, r.maxY()});
    lineTo({r.minX() + rx, r.maxY()});
    curveTo({r.minX() + rx - kx, r.maxY()}, {r.minX(), r.maxY() - ry + ky}, {r.minX(), r.maxY() - ry});
    lineTo({r.minX(), r.minY() + ry});
    curveTo({r.minX(), r.minY() + ry - ky}, {r.minX() + rx - kx, r.minY()}, {r.minX() + rx, r.minY()});
    close();
}

void Path::addContinuousRoundedRect(const Rect& r, double radius) {
    constexpr double c = 1.52866483;
    // The top-right corner, relative to the corner point in units of the radius: three cubic
    // segments (control 1, control 2, end) from (−c, 0) on the top edge to (0, −c) on the right edge.
    static constexpr std::array<Point, 9> corner = {{
        {-1.08849323, 0},
        {-0.86840689, 0},
        {-0.63149399, -0.074911},
        {-0.37282392, -0.16906013},
        {-0.16906013, -0.37282401},
        {-0.07491176, -0.63149399},
        {0, -0.86840701},
        {0, -1.08849299},
        {0, -1.52866483},
    }};
    const double rad = std::max(0.0, std::min(std::min(r.width(), r.height()) / 2 / c, radius));
    // Each further corner is the top-right one turned a quarter further clockwise about its point.
    auto drawCorner = [&](Point at, auto turn) {
        for (int i = 0; i < 9; i += 3) {
            auto place = [&](Point offset) {
                const Point t = turn(offset);
                return Point{at.x + t.x * rad, at.y + t.y * rad};
            };
            curveTo(place(corner[i]), place(corner[i + 1]), place(corner[i + 2]));
        }
    };
    moveTo({r.maxX() - c * rad, r.maxY()});
    drawCorner({r.maxX(), r.maxY()}, [](Point p) { return p; });
    lineTo({r.maxX(), r.minY() + c * rad});
    drawCorner({r.maxX(), r.minY()}, [](Point p) { return Point{p.y, -p.x}; });
    lineTo({r.minX() + c * rad, r.minY()});
    drawCorner({r.minX(), r.minY()}, [](Point p) { return Point{-p.x, -p.y}; });
    lineTo({r.minX(), r.maxY() - c * rad});
    drawCorner({r.minX(), r.maxY()}, [](Point p) { return Point{-p.y, p.x}; });
    close();
}

void Path::addEllipse(const Rect& r) {
    const double rx = r.width() / 2, ry = r.height() / 2, cx = r.midX(), cy = r.midY();
    const double kx = rx * kKappa, ky = ry * kKappa;
    moveTo({cx + rx, cy});
    curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    close();
}

void Path::addPath(const Path& other) {
    for (const auto& e : other.elements_) {
        switch (e.verb) {
        case Verb::Move:
            moveTo(e.points[0]);
            break;
        case Verb::Line:
            lineTo(e.points[0]);
            break;
        case Verb::Quad:
            quadTo(e.points[0], e.points[1]);
            break;
        case Verb::Cubic:
            curveTo(e.points[0], e.points[1], e.points[2]);
            break;
        case Verb::Close:
            close();
            break;
        }
    }
}

Path Path::transformed(const Transform& transform) const {
    Path result;
    for (const auto& e : elements_) {
        const Point p0 = transform.apply(e.points[0]), p1 = transform.apply(e.points[1]),
                    p2 = transform.apply(e.points[2]);
        switch (e.verb) {
        case Verb::Move:
            result.moveTo(p0);
            break;
        case Verb::Line:
            result.lineTo(p0);
            break;
        case Verb::Quad:
            result.quadTo(p0, p1);
            break;
        case Verb::Cubic:
            result.curveTo(p0, p1, p2);
            break;
        case Verb::Close:
            result.close();
            break;
        }
    }
    return result;
}

Rect Path::bounds() const {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    auto include = [&](Point p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    Point current{}, start{};
    for (const auto& e : elements_) {
        std::vector<double> ts;
        switch (e.verb) {
        case Verb::Move:
            include(e.points[0]);
            current = start = e.points[0];
            break;
        case Verb::Line:
            include(e.points[0]);
            current = e.points[0];
            break;
        case Verb::Quad: {
            const Point p0 = current, p1 = e.points[0], p2 = e.points[1];
            // B'(t) is linear: 2[(p1 − p0) + t(p0 − 2p1 + p2)].
            addRoots(0, p0.x - 2 * p1.x + p2.x, p1.x - p0.x, ts);
            addRoots(0, p0.y - 2 * p1.y + p2.y, p1.y - p0.y, ts);
            for (double t : ts)
                include(quadAt(p0, p1, p2, t));
            include(p2);
            current = p2;
            break;
        }
        case Verb::Cubic: {
            const Point p0 = current, p1 = e.points[0], p2 = e.points[1], p3 = e.points[2];
            // B'(t)/3 = a t² + b t + c per axis.
            auto axis = [&](double q0, double q1, double q2, double q3) {
                addRoots(-q0 + 3 * q1 - 3 * q2 + q3, 2 * (q0 - 2 * q1 + q2), q1 - q0, ts);
            };
            axis(p0.x, p1.x, p2.x, p3.x);
            axis(p0.y, p1.y, p2.y, p3.y);
            for (double t : ts)
                include(cubicAt(p0, p1, p2, p3, t));
            include(p3);
            current = p3;
            break;
        }
        case Verb::Close:
            current = start;
            break;
        }
    }
    if (minX > maxX) return {};
    return {minX, minY, maxX - minX, maxY - minY};
}

std::vector<Path::Polygon> Path::flattened(double tolerance) const {
    tolerance = std::max(tolerance, 1e-6);
    std::vector<Polygon> polygons;
    Point current{};
    auto open = [&]() -> Polygon& {
        if (polygons.empty() || polygons.back().closed) polygons.push_back({{current}, false});
        return polygons.back();
    };
    for (const auto& e : elements_) {
        switch (e.verb) {
        case Verb::Move:
            current = e.points[0];
            polygons.push_back({{current}, false});
            break;
        case Verb::Line:
            open().points.push_back(e.points[0]);
            current = e.points[0];
            break;
        case Verb::Quad: {
            const Point p0 = current, p1 = e.points[0], p2 = e.points[1];
            const int n = segmentCount(2 * norm(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y), tolerance);
            auto& polygon = open();
            for (int i = 1; i <= n; ++i)
                polygon.points.push_back(quadAt(p0, p1, p2, double(i) / n));
            current = p2;
            break;
        }
        case Verb::Cubic: {
            const Point p0 = current, p1 = e.points[0], p2 = e.points[1], p3 = e.points[2];
            const double second = std::max(norm(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                           norm(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
            const int n = segmentCount(6 * second, tolerance);
            auto& polygon = open();
            for (int i = 1; i <= n; ++i)
                polygon.points.push_back(cubicAt(p0, p1, p2, p3, double(i) / n));
            current = p3;
            break;
        }
        case Verb::Close:
            if (!polygons.empty() && !polygons.back().closed) {
                polygons.back().closed = true;
                current = polygons.back().points.front();
            }
            break;
        }
    }
    return polygons;
}

namespace {

// The edges of a flattened polygon, the closing edge included when it is closed.
template <typename Visit> void forEachEdge(const Path::Polygon& polygon, Visit visit) {
    const auto& pts = polygon.points;
    for (std::size_t i = 1; i < pts.size(); ++i)
        visit(pts[i - 1], pts[i]);
    if (polygon.closed && pts.size() > 1) visit(pts.back(), pts.front());
}

} // namespace

double Path::length() const {
    double total = 0;
    for (const auto& polygon : flattened())
        forEachEdge(polygon, [&](Point a, Point b) { total += distance(a, b); });
    return total;
}

Path Path::trimmed(double start, double end) const {
    start = std::clamp(start, 0.0, 1.0);
    end = std::clamp(end, 0.0, 1.0);
    Path result;
    if (!(end > start)) return result;
    const auto polygons = flattened();
    const double total = length();
    if (total <= 0) return result;
    const double from = start * total, to = end * total;
    double walked = 0;
    for (const auto& polygon : polygons) {
        double polygonLength = 0;
        forEachEdge(polygon, [&](Point a, Point b) { polygonLength += distance(a, b); });
        const bool whole = walked >= from && walked + polygonLength <= to;
        if (whole && polygon.closed) {
            result.moveTo(polygon.points.front());
            for (std::size_t i = 1; i < polygon.points.size(); ++i)
                result.lineTo(polygon.points[i]);
            result.close();
            walked += polygonLength;
            continue;
        }
        bool drawing = false;
        forEachEdge(polygon, [&](Point a, Point b) {
            const double edge = distance(a, b);
            const double edgeStart = walked, edgeEnd = walked + edge;
            walked = edgeEnd;
            if (edgeEnd < from || edgeStart > to || edge <= 0) return;
            const Point first = lerp(a, b, std::max(0.0, (from - edgeStart) / edge));
            const Point last = lerp(a, b, std::min(1.0, (to - edgeStart) / edge));
            if (!drawing) result.moveTo(first);
            result.lineTo(last);
            drawing = true;
        });
    }
    return result;
}

bool Path::contains(Point p, FillRule rule) const {
    int winding = 0, crossings = 0;
    for (const auto& polygon : flattened()) {
        Polygon closedPolygon = polygon;
        closedPolygon.closed = true;
        forEachEdge(closedPolygon, [&](Point a, Point b) {
            if ((a.y <= p.y) == (b.y <= p.y)) return;
            const double x = a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
            if (x <= p.x) return;
            ++crossings;
            winding += b.y > a.y ? 1 : -1;
        });
    }
    return rule == FillRule::EvenOdd ? (crossings % 2) == 1 : winding != 0;
}

double Path::filledArea(FillRule rule) const {
    double area = 0;
    for (const auto& polygon : clipperUnion(toClipper(flattened()), clipperFill(rule)))
        area += ClipperLib::Area(polygon); // holes come back wound the other way and subtract
    return area / (kClipperScale * kClipperScale);
}

Path Path::united(const Path& other) const {
    auto polygons = flattened();
    const auto more = other.flattened();
    polygons.insert(polygons.end(), more.begin(), more.end());
    Path result;
    for (const auto& polygon : clipperUnion(toClipper(polygons), ClipperLib::pftNonZero)) {
        result.moveTo({polygon[0].X / kClipperScale, polygon[0].Y / kClipperScale});
        for (std::size_t i = 1; i < polygon.size(); ++i)
            result.lineTo({polygon[i].X / kClipperScale, polygon[i].Y / kClipperScale});
        result.close();
    }
    return result;
}

} // namespace marlowick::platform
