#include "core/plot/plot_axes.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "../solver/solver_test_support.h"
#include "core/solver/explore_grid.h"

namespace zl {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(PlotAxes, GridValuesAreTheNodesExploreVisits) {
    const testing::Interval cases[] = {{-5, 5, 10}, {0, 0.3, 3}, {0, 1, 7}, {1e16, 1e16 + 8, 4},
                                       {2, 2, 4},   {3, 1, 4},   {0, 1, 0}};
    for (const auto &c : cases) {
        ProblemState problem = testing::makeProblem(1, {c});
        testing::NativeResiduals residuals({[](const testing::Point &) { return 1.0; }});
        RunState run;
        testing::WalkWithoutSeeds visitor;
        EXPECT_TRUE(ExploreGrid(problem.record, problem.work, residuals, run).walk(visitor));
        std::vector<double> walked;
        for (const testing::Point &node : residuals.pointsVisited()) walked.push_back(node[0]);
        EXPECT_EQ(exploreGridValues(c.lower, c.upper, c.subintervals, 1000), walked) << c.lower << ".." << c.upper;
    }
    EXPECT_TRUE(exploreGridValues(0, 1, 1000, 500).empty());  // too dense to draw
}

TEST(PlotAxes, SearchRangeIsAlwaysAnInterval) {
    const std::array<double, 4> cases[] = {
        {-5, 5, -5, 5}, {2, 2, 1, 3}, {3, 1, 1, 3}, {nan, 1, -1, 1}, {0, inf, -1, 1}};
    for (const auto &[lower, upper, min, max] : cases) {
        const AxisRange range = searchRange(lower, upper);
        EXPECT_EQ(std::pair(range.min, range.max), std::pair(min, max)) << lower << ".." << upper;
    }
}

TEST(PlotAxes, ResidualRangeShowsZeroAndLeavesPolesOut) {
    std::vector<PlanePoint> curve;
    for (int k = 0; k <= 100; ++k) curve.push_back({double(k), 1.0 + k / 100.0});
    curve[50].y = 1e12;  // the sample next to a pole
    curve[51].y = nan;
    const AxisRange range = residualRange(curve);
    EXPECT_TRUE(range.min < 0 && range.max > 1.9 && range.max < 2.5) << range.min << ".." << range.max;
}

}  // namespace
}  // namespace zl
