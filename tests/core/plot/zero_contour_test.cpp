#include "core/plot/zero_contour.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot_test_support.h"

namespace zl {
namespace {

using testing::FunctionResiduals;

struct Drawn {
    SampledResiduals samples;
    ZeroContour contour;
};

Drawn draw(FunctionResiduals &residuals, AxisRange x, AxisRange y, int nodes, int equations = 1, int equation = 0) {
    PlaneSlice slice{{0, 0}, 0, 1};
    Drawn drawn;
    drawn.samples = sampleResiduals(residuals, slice, PlaneGrid{x, y, nodes, nodes}, equations);
    drawn.contour = zeroContour(residuals, slice, drawn.samples, equation);
    return drawn;
}

double circle(const double *p) { return p[0] * p[0] + p[1] * p[1] - 4; }

TEST(ZeroContour, CircleIsOneClosedCurveOnTheZeroSet) {
    FunctionResiduals residuals({circle});
    const Drawn drawn = draw(residuals, {-3, 3.1}, {-3.1, 3}, 31);  // no node on the circle

    ASSERT_EQ(drawn.contour.fatalErrorNumber, 0);
    ASSERT_GT(drawn.contour.segments.size(), 40u);
    const double cell = 6.1 / 30;
    for (const ContourSegment &segment : drawn.contour.segments) {
        for (PlanePoint end : {segment.from, segment.to}) EXPECT_NEAR(circle(&end.x), 0, 1e-12);
        // A chord of a radius-2 circle no longer than a cell's diagonal.
        const double middle[2] = {0.5 * (segment.from.x + segment.to.x), 0.5 * (segment.from.y + segment.to.y)};
        EXPECT_NEAR(circle(middle), 0, cell * cell);
    }
    const auto lines = joinSegments(drawn.contour.segments);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].front().x, lines[0].back().x);
    EXPECT_EQ(lines[0].front().y, lines[0].back().y);
    EXPECT_EQ(lines[0].size(), drawn.contour.segments.size() + 1);
}

TEST(ZeroContour, CrossingLinesAreSeparatedAtTheSaddle) {
    // The zero set of x*y is both axes; the grid's nodes miss them.
    FunctionResiduals residuals({[](const double *p) { return p[0] * p[1]; }});
    const Drawn drawn = draw(residuals, {-1.03, 0.97}, {-1.05, 0.95}, 21);
    ASSERT_FALSE(drawn.contour.segments.empty());
    for (const ContourSegment &segment : drawn.contour.segments)
        for (PlanePoint end : {segment.from, segment.to}) EXPECT_LT(std::min(std::abs(end.x), std::abs(end.y)), 1e-12);
    // Each axis is crossed by segments that lie along it, none across a quadrant.
    for (const ContourSegment &segment : drawn.contour.segments) {
        const bool alongX = std::abs(segment.from.y) < 1e-12 && std::abs(segment.to.y) < 1e-12;
        const bool alongY = std::abs(segment.from.x) < 1e-12 && std::abs(segment.to.x) < 1e-12;
        const bool throughOrigin = std::abs(segment.from.x) + std::abs(segment.from.y) < 0.2 ||
                                   std::abs(segment.to.x) + std::abs(segment.to.y) < 0.2;
        EXPECT_TRUE(alongX || alongY || throughOrigin);
    }
}

TEST(ZeroContour, SignChangesWithoutZeroDrawNothing) {
    const std::vector<FunctionResiduals::Function> noZero{
        [](const double *p) { return 1 / (p[0] - 0.3); },          // a pole
        [](const double *p) { return p[0] < 0.31 ? -1.0 : 1.0; },  // a jump
        [](const double *p) { return std::tan(p[0] + p[1]); },     // poles along lines, zeros elsewhere
    };
    for (int j = 0; j < 2; ++j) {
        FunctionResiduals residuals({noZero[static_cast<std::size_t>(j)]});
        EXPECT_TRUE(draw(residuals, {-1, 1}, {-1, 1}, 17).contour.segments.empty()) << "function " << j;
    }
    FunctionResiduals tangent({noZero[2]});
    const Drawn drawn = draw(tangent, {-2, 2}, {-2, 2}, 41);
    ASSERT_FALSE(drawn.contour.segments.empty());
    for (const ContourSegment &segment : drawn.contour.segments)
        EXPECT_NEAR(std::tan(segment.from.x + segment.from.y), 0, 1e-9);  // the zeros at x + y = 0, never the poles
}

TEST(ZeroContour, EvaluationFailuresLeaveAGap) {
    const auto insideDisk = [](const double *p) { return std::hypot(p[0], p[1]) < 0.5; };
    FunctionResiduals residuals({[](const double *p) { return p[0] - p[1]; }},
                                [&](int, const double *p) { return insideDisk(p) ? 11 : 0; });
    const Drawn drawn = draw(residuals, {-2, 2}, {-2.05, 1.95}, 21);
    ASSERT_EQ(drawn.contour.fatalErrorNumber, 0);
    ASSERT_FALSE(drawn.contour.segments.empty());
    for (const ContourSegment &segment : drawn.contour.segments) {
        EXPECT_FALSE(insideDisk(&segment.from.x));
        EXPECT_FALSE(insideDisk(&segment.to.x));
        EXPECT_NEAR(segment.from.x, segment.from.y, 1e-12);
    }
    EXPECT_EQ(joinSegments(drawn.contour.segments).size(), 2u);  // the line, broken where it could not be evaluated
}

TEST(ZeroContour, UnrecoverableErrorStopsSamplingAndTracing) {
    // Error 13 is not one a run absorbs: nothing after it is evaluated.
    FunctionResiduals residuals({circle, circle},
                                [](int equation, const double *p) { return equation == 1 && p[0] > 0 ? 13 : 0; });
    const Drawn drawn = draw(residuals, {-3, 3}, {-3, 3}, 11, 2, 1);
    EXPECT_EQ(drawn.samples.fatalErrorNumber, 13);
    EXPECT_TRUE(std::isnan(drawn.samples.at(0, 10, 10)));
    EXPECT_FALSE(std::isnan(drawn.samples.at(0, 0, 0)));
    const long evaluated = residuals.evaluations;
    const ZeroContour contour = zeroContour(residuals, PlaneSlice{{0, 0}, 0, 1}, drawn.samples, 0);
    EXPECT_TRUE(contour.segments.empty());  // the first row crosses no zero, the rest is NaN
    EXPECT_EQ(residuals.evaluations, evaluated);
}

TEST(ZeroContour, FixedVariablesKeepTheirValues) {
    // x^2 + y^2 + z^2 = 4 in the plane z = 1 (x and z on the axes, y = 1.5):
    // the circle x^2 + z^2 = 1.75.
    FunctionResiduals residuals({[](const double *p) { return p[0] * p[0] + p[1] * p[1] + p[2] * p[2] - 4; }});
    const PlaneSlice slice{{0, 1.5, 0}, 0, 2};
    const SampledResiduals samples = sampleResiduals(residuals, slice, PlaneGrid{{-2, 2}, {-2, 2}, 21, 21}, 1);
    const ZeroContour contour = zeroContour(residuals, slice, samples, 0);
    ASSERT_FALSE(contour.segments.empty());
    for (const ContourSegment &segment : contour.segments)
        EXPECT_NEAR(std::hypot(segment.from.x, segment.from.y), std::sqrt(1.75), 1e-12);
}

}  // namespace
}  // namespace zl
