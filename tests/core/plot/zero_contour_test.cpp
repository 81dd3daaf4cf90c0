#include "core/plot/zero_contour.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../solver/solver_test_support.h"

namespace zl {
namespace {

using testing::NativeResiduals;
using testing::Point;

ZeroContour draw(NativeResiduals &residuals, AxisRange x, AxisRange y, int nodes,
                 const PlaneSlice &slice = {{0, 0}, 0, 1}) {
    const SampledResiduals samples = sampleResiduals(residuals, slice, PlaneGrid{x, y, nodes, nodes}, 1);
    return zeroContour(residuals, slice, samples, 0);
}

double circle(const Point &p) { return p[0] * p[0] + p[1] * p[1] - 4; }

/// The test double takes as many variables as it has residuals: one residual
/// of two variables is drawn, the second only makes the system square.
NativeResiduals inPlane(NativeResiduals::Function f, NativeResiduals::FailureRule failure = {}) {
    return NativeResiduals({f, f}, std::move(failure));
}

TEST(ZeroContour, CircleIsOneClosedCurveOnTheZeroSet) {
    NativeResiduals residuals = inPlane(circle);
    const ZeroContour contour = draw(residuals, {-3, 3.1}, {-3.1, 3}, 31);  // no node on the circle
    ASSERT_EQ(contour.segments.size(), 80u);
    const double cell = 6.1 / 30;
    for (const ContourSegment &s : contour.segments) {
        EXPECT_NEAR(circle({s.from.x, s.from.y}), 0, 1e-12);
        // A chord no longer than a cell's diagonal strays that little from the circle.
        EXPECT_NEAR(circle({(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2}), 0, cell * cell);
    }
    const auto lines = joinSegments(contour.segments);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(std::pair(lines[0].front().x, lines[0].front().y), std::pair(lines[0].back().x, lines[0].back().y));
    EXPECT_EQ(lines[0].size(), contour.segments.size() + 1);
}

TEST(ZeroContour, SaddleCellFollowsTheResidualAtItsCentre) {
    // xy = 0.002 has a branch in the first and one in the third quadrant; the
    // cell round the origin has corners of alternating signs and a negative
    // centre, so no segment may join the branches across it.
    NativeResiduals residuals = inPlane([](const Point &p) { return p[0] * p[1] - 0.002; });
    const ZeroContour contour = draw(residuals, {-1.05, 0.95}, {-1.05, 0.95}, 21);
    ASSERT_EQ(contour.segments.size(), 40u);
    for (const ContourSegment &s : contour.segments) {
        EXPECT_EQ(s.from.x > 0, s.to.x > 0) << s.from.x << "," << s.from.y << " " << s.to.x << "," << s.to.y;
        EXPECT_NEAR(s.from.x * s.from.y, 0.002, 1e-15);
    }
    EXPECT_EQ(joinSegments(contour.segments).size(), 2u);
}

TEST(ZeroContour, SignChangesWithoutZeroDrawNothing) {
    // tan(x + y): zeros along x + y = 0 and +-pi, poles along +-pi/2 between them, where nothing is drawn.
    NativeResiduals tangent = inPlane([](const Point &p) { return std::tan(p[0] + p[1]); });
    const ZeroContour contour = draw(tangent, {-2, 2}, {-2, 2}, 41);
    ASSERT_EQ(contour.segments.size(), 90u);
    for (const ContourSegment &s : contour.segments) EXPECT_NEAR(std::tan(s.from.x + s.from.y), 0, 1e-9);
}

TEST(ZeroContour, EvaluationFailuresLeaveAGap) {
    const auto insideDisk = [](const Point &p) { return std::hypot(p[0], p[1]) < 0.5; };
    NativeResiduals residuals = inPlane([](const Point &p) { return p[0] - p[1]; },
                                        [&](int, const Point &p) { return insideDisk(p) ? 11 : 0; });
    const ZeroContour contour = draw(residuals, {-2, 2}, {-2.05, 1.95}, 21);
    ASSERT_EQ(contour.fatalErrorNumber, 0);
    for (const ContourSegment &s : contour.segments) {
        EXPECT_FALSE(insideDisk({s.from.x, s.from.y}) || insideDisk({s.to.x, s.to.y}));
        EXPECT_NEAR(s.from.x, s.from.y, 1e-12);
    }
    EXPECT_EQ(joinSegments(contour.segments).size(), 2u);  // the line, broken where it could not be evaluated
}

TEST(ZeroContour, UnrecoverableErrorStopsSamplingAndTracing) {
    // Error 13 is not one a run absorbs: nothing after it is evaluated.
    NativeResiduals residuals({circle, circle},
                              [](int equation, const Point &p) { return equation == 1 && p[0] > 0 ? 13 : 0; });
    const PlaneSlice slice{{0, 0}, 0, 1};
    const SampledResiduals samples = sampleResiduals(residuals, slice, PlaneGrid{{-3, 3}, {-3, 3}, 11, 11}, 2);
    EXPECT_EQ(samples.fatalErrorNumber, 13);
    EXPECT_FALSE(std::isnan(samples.at(0, 0, 0)));
    EXPECT_TRUE(std::isnan(samples.at(0, 10, 10)));
    const std::size_t evaluated = residuals.evaluations.size();
    EXPECT_TRUE(zeroContour(residuals, slice, samples, 0).segments.empty());  // one row, and it crosses no zero
    EXPECT_EQ(residuals.evaluations.size(), evaluated);
}

TEST(ZeroContour, FixedVariablesKeepTheirValues) {
    // x^2 + y^2 + z^2 = 4 with y = 1.5, x and z on the axes: the circle x^2 + z^2 = 1.75.
    const auto sphere = [](const Point &p) { return p[0] * p[0] + p[1] * p[1] + p[2] * p[2] - 4; };
    NativeResiduals residuals({sphere, sphere, sphere});
    const ZeroContour contour = draw(residuals, {-2, 2}, {-2, 2}, 21, PlaneSlice{{0, 1.5, 0}, 0, 2});
    ASSERT_EQ(contour.segments.size(), 52u);
    for (const ContourSegment &s : contour.segments)
        EXPECT_NEAR(std::hypot(s.from.x, s.from.y), std::sqrt(1.75), 1e-12);
}

}  // namespace
}  // namespace zl
