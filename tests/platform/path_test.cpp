#include "platform/path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace marlowick::platform {
namespace {

Path rect(double x, double y, double w, double h) {
    Path path;
    path.addRect({x, y, w, h});
    return path;
}

// The shortest distance from a point to a polyline.
double distanceToPolyline(Point p, const std::vector<Point>& line) {
    double best = INFINITY;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const Point a = line[i - 1], b = line[i];
        const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy)));
    }
    return best;
}

TEST(PathUnion, OverlappingShapesMergeIntoOneOutlineWithoutDoubleCounting) {
    const Path united = rect(0, 0, 10, 10).united(rect(5, 0, 10, 10));
    EXPECT_NEAR(united.filledArea(FillRule::NonZero), 150, 1e-6);
    // Had the union only collected both outlines, the overlap would read as a hole under even-odd.
    EXPECT_NEAR(united.filledArea(FillRule::EvenOdd), 150, 1e-6);
    EXPECT_TRUE(united.contains({7, 5}, FillRule::EvenOdd));
    EXPECT_NEAR(united.bounds().width(), 15, 1e-6);

    // Two discs: the lens between them counts once.
    Path a, b;
    a.addEllipse({0, 0, 100, 100});
    b.addEllipse({50, 0, 100, 100});
    const double r = 50, d = 50;
    const double lens = 2 * r * r * std::acos(d / (2 * r)) - d / 2 * std::sqrt(4 * r * r - d * d);
    // Chords cut a sliver off each curve: within 0.05 % of the exact area.
    EXPECT_NEAR(a.united(b).filledArea(FillRule::EvenOdd), 2 * std::numbers::pi * r * r - lens, 6.0);

    // Shapes apart stay two pieces; empty paths change nothing.
    EXPECT_NEAR(rect(0, 0, 1, 1).united(rect(5, 5, 2, 2)).filledArea(FillRule::NonZero), 5, 1e-6);
    EXPECT_NEAR(rect(0, 0, 4, 4).united(Path{}).filledArea(FillRule::NonZero), 16, 1e-6);
}

TEST(PathUnion, HolesDependOnTheFillRuleAndTheUnionFillsThemNonZero) {
    // Outer and inner squares wound the same way: non-zero fills the middle, even-odd leaves a hole.
    Path sameWay = rect(0, 0, 10, 10);
    sameWay.addPath(rect(2, 2, 6, 6));
    EXPECT_NEAR(sameWay.filledArea(FillRule::NonZero), 100, 1e-6);
    EXPECT_NEAR(sameWay.filledArea(FillRule::EvenOdd), 64, 1e-6);
    EXPECT_TRUE(sameWay.contains({5, 5}, FillRule::NonZero));
    EXPECT_FALSE(sameWay.contains({5, 5}, FillRule::EvenOdd));

    // Wound against the outer one, the inner square is a hole under both rules.
    Path opposite = rect(0, 0, 10, 10);
    opposite.moveTo({2, 2});
    opposite.lineTo({2, 8});
    opposite.lineTo({8, 8});
    opposite.lineTo({8, 2});
    opposite.close();
    EXPECT_NEAR(opposite.filledArea(FillRule::NonZero), 64, 1e-6);
    EXPECT_FALSE(opposite.contains({5, 5}, FillRule::NonZero));

    // The union reads each operand with the non-zero rule, so a same-way hole is filled...
    EXPECT_NEAR(sameWay.united(rect(20, 0, 1, 1)).filledArea(FillRule::EvenOdd), 101, 1e-6);
    // ...while a true hole stays one, and the result is a plain outline with a separate hole.
    const Path withHole = opposite.united(rect(20, 0, 1, 1));
    EXPECT_NEAR(withHole.filledArea(FillRule::NonZero), 65, 1e-6);
    EXPECT_FALSE(withHole.contains({5, 5}, FillRule::NonZero));
}

TEST(PathFlattening, StaysWithinATwentiethOfAPointOfEveryCurve) {
    struct Curve {
        Point p0, p1, p2, p3;
    };
    const Curve curves[] = {
        {{0, 0}, {0, 100}, {100, 100}, {100, 0}},      // a broad arch
        {{0, 0}, {300, 0}, {-200, 50}, {100, 50}},     // a tight loop
        {{0, 0}, {0.2, 0.4}, {0.6, 0.1}, {1, 1}},      // tiny: one segment will do
        {{0, 0}, {5000, 3000}, {-3000, 800}, {20, 20}} // far-reaching controls
    };
    for (const auto& c : curves) {
        Path path;
        path.moveTo(c.p0);
        path.curveTo(c.p1, c.p2, c.p3);
        const auto polygons = path.flattened();
        ASSERT_EQ(polygons.size(), 1u);
        const auto& line = polygons[0].points;
        for (int i = 0; i <= 2000; ++i) {
            const double t = i / 2000.0, u = 1 - t;
            const Point onCurve{
                u * u * u * c.p0.x + 3 * u * u * t * c.p1.x + 3 * u * t * t * c.p2.x + t * t * t * c.p3.x,
                u * u * u * c.p0.y + 3 * u * u * t * c.p1.y + 3 * u * t * t * c.p2.y + t * t * t * c.p3.y};
            ASSERT_LT(distanceToPolyline(onCurve, line), 0.05) << "t = " << t;
        }
    }

    // Quadratic curves too, and without wasting vertices on a gentle curve.
    Path quad;
    quad.moveTo({0, 0});
    quad.quadTo({50, 100}, {100, 0});
    const auto line = quad.flattened()[0].points;
    for (int i = 0; i <= 1000; ++i) {
        const double t = i / 1000.0, u = 1 - t;
        const Point onCurve{2 * u * t * 50 + t * t * 100, 2 * u * t * 100};
        ASSERT_LT(distanceToPolyline(onCurve, line), 0.05);
    }
    EXPECT_LT(line.size(), 200u);

    // A disc's flattened area matches πr² closely (the cubic quadrants are within 0.03 % of r).
    Path disc;
    disc.addEllipse({0, 0, 200, 200});
    EXPECT_NEAR(disc.filledArea(FillRule::NonZero), std::numbers::pi * 100 * 100, 31.4 * 2);
}

TEST(PathGeometry, BoundsAreTightAndTrimmingFollowsTheLength) {
    Path arch;
    arch.moveTo({0, 0});
    arch.curveTo({0, 10}, {10, 10}, {10, 0});
    const Rect bounds = arch.bounds();
    EXPECT_NEAR(bounds.maxY(), 7.5, 1e-9) << "the curve's highest point, not its control points";
    EXPECT_NEAR(bounds.width(), 10, 1e-9);
    EXPECT_EQ(Path{}.bounds(), Rect{});

    // A square's outline runs (0,0) → (10,0) → (10,10) → (0,10) and closes.
    const Path square = rect(0, 0, 10, 10);
    EXPECT_NEAR(square.length(), 40, 1e-9);
    const Path half = square.trimmed(0, 0.5);
    ASSERT_TRUE(half.currentPoint());
    EXPECT_NEAR(half.currentPoint()->x, 10, 1e-9);
    EXPECT_NEAR(half.currentPoint()->y, 10, 1e-9);
    EXPECT_NEAR(half.length(), 20, 1e-9);
    EXPECT_NEAR(square.trimmed(0.25, 0.75).length(), 20, 1e-9);
    EXPECT_TRUE(square.trimmed(0, 0).isEmpty());
    EXPECT_TRUE(square.trimmed(0.6, 0.4).isEmpty());
    EXPECT_NEAR(square.trimmed(-1, 2).filledArea(FillRule::NonZero), 100, 1e-6) << "whole: still closed";
}

TEST(PathGeometry, ContinuousCornersStayInsideTheRectangleAndClampTheirRadius) {
    Path path;
    path.addContinuousRoundedRect({0, 0, 100, 40}, 30); // 30 · 1.5287 > 20: clamped to fit
    const Rect bounds = path.bounds();
    EXPECT_NEAR(bounds.minX(), 0, 1e-6);
    EXPECT_NEAR(bounds.maxX(), 100, 1e-6);
    EXPECT_NEAR(bounds.maxY(), 40, 1e-6);
    EXPECT_FALSE(path.contains({0.5, 0.5}, FillRule::NonZero));
    EXPECT_TRUE(path.contains({50, 0.5}, FillRule::NonZero));
    EXPECT_TRUE(path.contains({0.5, 20}, FillRule::NonZero)) << "the sides' middles stay straight and full";
    // Turned a quarter about its centre the shape is the same: the corners are alike.
    Path square;
    square.addContinuousRoundedRect({-20, -20, 40, 40}, 8);
    EXPECT_NEAR(square.transformed(Transform::rotation(std::numbers::pi / 2)).filledArea(FillRule::NonZero),
                square.filledArea(FillRule::NonZero), 1e-3);
    EXPECT_NEAR(square.united(square.transformed(Transform::rotation(std::numbers::pi / 2)))
                    .filledArea(FillRule::NonZero),
                square.filledArea(FillRule::NonZero), 0.5);
}

TEST(Transform, ComposesInTheOrderStated) {
    // Scale by 2 about (10, 10): move the point there to the origin, scale, move back.
    const Transform aboutPoint =
        Transform::translation(-10, -10).then(Transform::scale(2, 2)).then(Transform::translation(10, 10));
    EXPECT_EQ(aboutPoint.apply({10, 10}), (Point{10, 10}));
    EXPECT_EQ(aboutPoint.apply({11, 12}), (Point{12, 14}));
    EXPECT_EQ(Transform::translation(5, 0).after(Transform::scale(2, 2)).apply({1, 1}), (Point{7, 2}));
}

} // namespace
} // namespace marlowick::platform
