#include "core/solver/explore_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/solver/residual_evaluation.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::Interval;
using testing::NativeResiduals;
using testing::Point;
using testing::makeProblem;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

/// Runs the walk, recording every node visited and every node a seed started at.
struct WalkRecord {
    std::vector<Point> nodes;
    std::vector<Point> seeds;
    bool completed = false;
};

WalkRecord walkGrid(ProblemState &problem, NativeResiduals &residuals, int stopAfterSeeds = -1) {
    RunState run;
    ExploreGrid grid(problem, residuals, run);
    WalkRecord record;
    record.completed = grid.walk([&] {
        record.seeds.push_back(problem.work.point);
        problem.work.point.assign(problem.work.point.size(), 1e9);  // a seed moves the point
        return stopAfterSeeds < 0 || static_cast<int>(record.seeds.size()) < stopAfterSeeds;
    });
    record.nodes = residuals.pointsVisited();
    return record;
}

NativeResiduals oneResidual(std::function<double(double)> f) {
    return NativeResiduals({[f](const Point &p) { return f(p[0]); }});
}

TEST(ExploreGrid, WalksOneVariableFromLowerToUpper) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 4}});
    NativeResiduals residuals = oneResidual([](double x) { return x + 1; });
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.nodes, (std::vector<Point>{{0}, {0.25}, {0.5}, {0.75}, {1}}));
    EXPECT_TRUE(record.seeds.empty());
    EXPECT_TRUE(record.completed);
}

TEST(ExploreGrid, GridValuesAccumulateAndMayOvershootTheUpperLimit) {
    // 0.1 added ten times stays below 1, so one more node lies just beyond it.
    ProblemState problem = makeProblem({"x"}, {{0, 1, 10}});
    NativeResiduals residuals = oneResidual([](double) { return 1.0; });
    const WalkRecord record = walkGrid(problem, residuals);
    ASSERT_EQ(record.nodes.size(), 12u);
    double accumulated = 0;
    for (int k = 0; k < 11; ++k) accumulated += 0.1;
    EXPECT_EQ(record.nodes.back()[0], accumulated);
    EXPECT_GT(accumulated, 1.0);
}

struct SeedCase {
    std::string name;
    std::function<double(double)> residual;
    std::vector<double> failingNodes;
    std::vector<Point> expectedSeeds;
};

class StartsSeedsWhereSignsChange : public ::testing::TestWithParam<SeedCase> {};

TEST_P(StartsSeedsWhereSignsChange, OnTheNodeReached) {
    const SeedCase &c = GetParam();
    ProblemState problem = makeProblem({"x"}, {{0, 1, 4}});
    NativeResiduals residuals = oneResidual(c.residual);
    residuals.failWhere([failing = c.failingNodes](int, const Point &p) {
        for (double node : failing)
            if (p[0] == node) return 11;
        return 0;
    });
    EXPECT_EQ(walkGrid(problem, residuals).seeds, c.expectedSeeds);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, StartsSeedsWhereSignsChange,
    ::testing::Values(
        SeedCase{"OneCrossing", [](double x) { return x - 0.4; }, {}, {{0.5}}},
        SeedCase{"TouchingZeroAtANodeStartsTwice", [](double x) { return (x - 0.5) * (x - 0.5); }, {},
                 {{0.5}, {0.75}}},
        SeedCase{"FailedNodesAreNotTheReference", [](double x) { return x - 0.4; }, {0.25, 0.5},
                 {{0.75}}},
        SeedCase{"FailedLineStartMovesTheReference", [](double x) { return x - 0.1; }, {0}, {}},
        SeedCase{"ReferenceSurvivesAFailedNode", [](double x) { return x - 0.6; }, {0.75}, {{1}}},
        SeedCase{"EveryNodeFails", [](double x) { return x - 0.4; }, {0, 0.25, 0.5, 0.75, 1}, {}}),
    [](const auto &info) { return info.param.name; });

TEST(ExploreGrid, LinesRunAlongTheLastVariableAndSignsNeverCompareAcrossLines) {
    // F changes sign between the end of one line, (0, 1), and the start of the
    // next, (1, 0), never along a line: no seed.
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}});
    NativeResiduals residuals({[](const Point &p) { return 0.5 - p[0]; },
                               [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.nodes, (std::vector<Point>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    EXPECT_TRUE(record.seeds.empty());
}

TEST(ExploreGrid, PointReturnsToTheNodeAfterASeed) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 2, 2}});
    NativeResiduals residuals({[](const Point &p) { return p[1] - 0.5; },
                               [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.seeds, (std::vector<Point>{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(record.nodes.size(), 9u);
    EXPECT_EQ(record.nodes[2], (Point{0, 2}));
}

TEST(ExploreGrid, ASeedCanEndTheWalkAtOnce) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 2, 2}});
    NativeResiduals residuals({[](const Point &p) { return p[1] - 0.5; },
                               [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals, 1);
    EXPECT_FALSE(record.completed);
    EXPECT_EQ(record.seeds.size(), 1u);
    EXPECT_EQ(record.nodes.size(), 2u);
}

TEST(ExploreGrid, UnrecoverableErrorAtANodeEndsTheWalk) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 4}});
    NativeResiduals residuals = oneResidual([](double x) { return x - 0.4; });
    residuals.failWhere([](int, const Point &p) { return p[0] == 0.25 ? 13 : 0; });
    EXPECT_THROW(walkGrid(problem, residuals), FatalEvaluationError);
    EXPECT_EQ(residuals.pointsVisited().size(), 2u);
}

struct LimitCase {
    std::string name;
    Interval interval;
    std::size_t nodes;  // the walk must end; a degenerate variable takes its lower limit only
};

class EveryWalkEnds : public ::testing::TestWithParam<LimitCase> {};

TEST_P(EveryWalkEnds, WithTheExpectedNodes) {
    const LimitCase &c = GetParam();
    ProblemState problem = makeProblem({"x", "y"}, {c.interval, {0, 1, 1}});
    NativeResiduals residuals({[](const Point &) { return 1.0; }, [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.nodes.size(), c.nodes * 2);  // y walks 0, 1 on every line
    EXPECT_TRUE(record.completed);
    for (const Point &node : record.nodes)
        if (std::isfinite(c.interval.lower)) {
            EXPECT_TRUE(std::isfinite(node[0])) << node[0];
        }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, EveryWalkEnds,
    ::testing::Values(LimitCase{"Regular", {0, 1, 2}, 3},
                      LimitCase{"UpperEqualsLower", {3, 3, 5}, 1},
                      LimitCase{"UpperBelowLower", {3, 1, 5}, 1},
                      LimitCase{"ZeroSubintervals", {0, 1, 0}, 1},
                      LimitCase{"NegativeSubintervals", {0, 1, -4}, 1},
                      LimitCase{"InfiniteUpper", {0, inf, 4}, 1},
                      LimitCase{"WidthOverflows", {-1e308, 1e308, 2}, 1},
                      LimitCase{"NaNUpper", {0, nan, 4}, 1},
                      LimitCase{"NaNLower", {nan, 1, 4}, 1},
                      LimitCase{"StepVanishesAgainstTheValue", {1e16, 1e16 + 4, 8}, 1},
                      // 2^53 - 2, -1, 2^53; then adding 1 no longer moves the value.
                      LimitCase{"StepVanishesPartWay", {9007199254740990.0, 9007199254741000.0, 10}, 3}),
    [](const auto &info) { return info.param.name; });

TEST(ExploreGrid, UpperEqualToLowerOnTheLastVariableStartsNothing) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 4}, {0.5, 0.5, 4}});
    NativeResiduals residuals({[](const Point &p) { return p[0] - 0.3; }, [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.nodes.size(), 5u);
    EXPECT_EQ(residuals.evaluations.size(), 10u) << "one node per line, evaluated once";
    EXPECT_TRUE(record.seeds.empty());
}

TEST(GridStepFor, IsTheSubintervalWidthOrZero) {
    EXPECT_EQ(gridStepFor(0, 1, 4), 0.25);
    EXPECT_EQ(gridStepFor(-2, 2, 40), 0.1);
    EXPECT_EQ(gridStepFor(0, 1, 0), 0);
    EXPECT_EQ(gridStepFor(1, 0, 4), 0);
    EXPECT_EQ(gridStepFor(0, inf, 4), 0);
}

} // namespace
} // namespace zl
