#include "core/plot/plot_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../solver/solver_test_support.h"
#include "core/solver/explore_grid.h"

namespace zl {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

/// The x values an Explore walk of one variable visits.
std::vector<double> walkedValues(double lower, double upper, std::int32_t subintervals) {
    ProblemState problem = testing::makeProblem(1, {{lower, upper, subintervals}});
    testing::NativeResiduals residuals({[](const testing::Point &) { return 1.0; }});
    RunState run;
    ExploreGrid(problem, residuals, run).walk([] { return true; });
    std::vector<double> values;
    for (const testing::Point &node : residuals.pointsVisited()) values.push_back(node[0]);
    return values;
}

TEST(PlotAxes, GridValuesAreTheNodesExploreVisits) {
    const struct {
        double lower, upper;
        std::int32_t subintervals;
    } cases[] = {{-5, 5, 10}, {0, 0.3, 3}, {0, 1, 7}, {1e16, 1e16 + 8, 4}, {2, 2, 4}, {3, 1, 4}, {0, 1, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(exploreGridValues(c.lower, c.upper, c.subintervals, 1000),
                  walkedValues(c.lower, c.upper, c.subintervals))
            << c.lower << ".." << c.upper << " in " << c.subintervals;
    EXPECT_TRUE(exploreGridValues(0, 1, 1000, 500).empty());  // too dense to draw
    EXPECT_EQ(exploreGridValues(0, 1, 499, 500).size(), 500u);
}

TEST(PlotAxes, SearchRangeIsAlwaysAnInterval) {
    const struct {
        double lower, upper, min, max;
    } cases[] = {{-5, 5, -5, 5}, {2, 2, 1, 3}, {3, 1, 1, 3}, {nan, 1, -1, 1}, {0, inf, -1, 1}, {-inf, inf, -1, 1}};
    for (const auto &c : cases) {
        const AxisRange range = searchRange(c.lower, c.upper);
        EXPECT_EQ(range.min, c.min) << c.lower << ".." << c.upper;
        EXPECT_EQ(range.max, c.max) << c.lower << ".." << c.upper;
    }
}

TEST(PlotAxes, ResidualRangeShowsZeroAndLeavesPolesOut) {
    std::vector<PlanePoint> curve;
    for (int k = 0; k <= 100; ++k) curve.push_back({double(k), 1.0 + k / 100.0});
    curve[50].y = 1e12;  // the sample next to a pole
    curve[51].y = nan;
    const AxisRange range = residualRange(curve);
    EXPECT_LT(range.min, 0);
    EXPECT_GT(range.max, 1.9);
    EXPECT_LT(range.max, 2.5);
    const AxisRange flat = residualRange({{0, 0}, {1, 0}});
    EXPECT_LT(flat.min, 0);
    EXPECT_GT(flat.max, 0);
}

TEST(PlotAxes, ShortNumberTextHasSixDigitsAtMost) {
    EXPECT_EQ(shortNumberText(0.5773502691896258), "0.57735");
    EXPECT_EQ(shortNumberText(-2), "-2");
    EXPECT_EQ(shortNumberText(1.5e7), "1.5E+07");
    EXPECT_EQ(shortNumberText(1.25e-9), "1.25E-09");
}

}  // namespace
}  // namespace zl
