// The node count of an Explore grid, known before the walk, against the nodes
// the walk really visits.

#include "core/solver/explore_size.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/solver/explore_grid.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::Interval;
using testing::makeProblem;
using testing::NativeResiduals;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

/// Nodes visited by a whole walk: residuals that never change sign start no
/// seed, and the walk evaluates every residual once per node.
double nodesWalked(ProblemState &problem) {
    NativeResiduals residuals(std::vector<NativeResiduals::Function>(static_cast<std::size_t>(problem.record.order),
                                                                     [](const testing::Point &) { return 1.0; }));
    testing::WalkWithoutSeeds visitor;
    RunState run;
    EXPECT_TRUE(ExploreGrid(problem.record, problem.work, residuals, run).walk(visitor));
    return static_cast<double>(residuals.evaluations.size()) / problem.record.order;
}

struct GridCase {
    std::string name;
    int order;
    std::vector<Interval> intervals;
    double expectedNodes;
};

class ExploreSize : public ::testing::TestWithParam<GridCase> {};

TEST_P(ExploreSize, CountsTheNodesTheWalkVisits) {
    const GridCase &c = GetParam();
    ProblemState problem = makeProblem(c.order, c.intervals);
    EXPECT_EQ(exploreNodeCount(problem.record), c.expectedNodes);
    EXPECT_EQ(nodesWalked(problem), c.expectedNodes);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, ExploreSize,
    ::testing::Values(
        GridCase{"FourSubintervals", 1, {{0, 1, 4}}, 5}, GridCase{"TwoVariables", 2, {{0, 1, 4}, {-1, 1, 2}}, 15},
        GridCase{"RoundingAddsAValueBeyondTheUpperLimit", 1, {{0, 1, 10}}, 12},
        GridCase{"RoundingLandsOnTheUpperLimit", 1, {{0, 0.7, 7}}, 8},
        GridCase{"UpperEqualToLowerTakesOneValue", 2, {{0, 1, 4}, {3, 3, 10}}, 5},
        GridCase{"UpperBelowLower", 2, {{1, 0, 4}, {0, 1, 3}}, 4}, GridCase{"NoSubintervals", 1, {{0, 1, 0}}, 1},
        GridCase{"NegativeSubintervals", 1, {{0, 1, -3}}, 1}, GridCase{"InfiniteWidth", 1, {{-inf, inf, 10}}, 1},
        GridCase{"NanLimit", 1, {{nan, 1, 10}}, 1}, GridCase{"InfiniteUpper", 1, {{0, inf, 4}}, 1},
        GridCase{"NanUpper", 1, {{0, nan, 4}}, 1}, GridCase{"WidthOverflows", 1, {{-1e308, 1e308, 2}}, 1},
        GridCase{"StepTooSmallToMoveTheValue", 1, {{1e16, 1e16 + 64, 1000}}, 1},
        // 2^53 - 2, 2^53 - 1, 2^53; then adding 1 no longer moves the value.
        GridCase{"StepVanishesPartWay", 1, {{9007199254740990.0, 9007199254741000.0, 10}}, 3},
        GridCase{"ThreeVariables", 3, {{-1, 1, 3}, {0, 2, 1}, {-5, 5, 10}}, 5 * 2 * 11}),
    [](const auto &info) { return info.param.name; });

TEST(ExploreSizeBounds, LargeGridsAreCountedWithoutOverflowOrWaiting) {
    // Per variable the count stays exact far beyond what any walk could visit.
    EXPECT_EQ(exploreValueCount(0, 1, std::numeric_limits<std::int32_t>::max()), 2147483648.0);

    ProblemState wide = makeProblem(kMaxOrder, {{0, 1, 9}});
    EXPECT_EQ(exploreNodeCount(wide.record), inf);  // 10^500
    EXPECT_GT(exploreNodeCount(wide.record), kMaxExploreNodes);

    ProblemState atTheBound = makeProblem(8, {{0, 1, 9}});  // 10^8 nodes
    EXPECT_EQ(exploreNodeCount(atTheBound.record), kMaxExploreNodes);

    EXPECT_EQ(exploreNodeCount(ProblemSpec{}), 0);  // no problem yet
}

}  // namespace
}  // namespace zl
