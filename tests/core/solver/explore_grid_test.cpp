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
using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct WalkRecord {
    std::vector<Point> nodes, seeds;
    bool completed = false;
};

/// Each seed records its node, moves `point` away as Newton would, and ends
/// the walk once `seedLimit` seeds have started.
struct RecordingVisitor {
    ProblemState &problem;
    WalkRecord &record;
    std::size_t seedLimit;

    void visitNode() {}
    void referenceFound(const std::int32_t *) {}
    bool startSeed() {
        record.seeds.push_back(problem.work.point);
        problem.work.point.assign(problem.work.point.size(), 1e9);
        return record.seeds.size() < seedLimit;
    }
};

WalkRecord walkGrid(ProblemState &problem, NativeResiduals &residuals, std::size_t seedLimit = 1000) {
    RunState run;
    WalkRecord record;
    RecordingVisitor visitor{problem, record, seedLimit};
    record.completed = ExploreGrid(problem.record, problem.work, residuals, run).walk(visitor);
    record.nodes = residuals.pointsVisited();
    return record;
}

struct SeedCase {
    std::string name;
    std::function<double(double)> residual;
    std::vector<double> failingNodes;
    std::vector<Point> expectedSeeds;
};

class SeedsAlongALine : public ::testing::TestWithParam<SeedCase> {};

TEST_P(SeedsAlongALine, StartWhereNeighbouringSignsDiffer) {
    const SeedCase &c = GetParam();
    ProblemState problem = makeProblem(1, {{0, 1, 4}});
    NativeResiduals residuals({[f = c.residual](const Point &p) { return f(p[0]); }},
                              [failing = c.failingNodes](int, const Point &p) {
                                  return std::count(failing.begin(), failing.end(), p[0]) ? 11 : 0;
                              });
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.seeds, c.expectedSeeds);
    EXPECT_EQ(record.nodes, (std::vector<Point>{{0}, {0.25}, {0.5}, {0.75}, {1}}));
}

INSTANTIATE_TEST_SUITE_P(
    Walks, SeedsAlongALine,
    ::testing::Values(SeedCase{"NoChange", [](double x) { return x + 1; }, {}, {}},
                      SeedCase{"OneCrossing", [](double x) { return x - 0.4; }, {}, {{0.5}}},
                      SeedCase{
                          "TouchingZeroAtANode", [](double x) { return (x - 0.5) * (x - 0.5); }, {}, {{0.5}, {0.75}}},
                      SeedCase{"FailedNodesAreSkipped", [](double x) { return x - 0.4; }, {0.25, 0.5}, {{0.75}}},
                      SeedCase{"FailedLineStartMovesTheReference", [](double x) { return x - 0.1; }, {0}, {}},
                      SeedCase{"EveryNodeFails", [](double x) { return x - 0.4; }, {0, 0.25, 0.5, 0.75, 1}, {}}),
    [](const auto &info) { return info.param.name; });

TEST(ExploreGrid, LinesRunAlongTheLastVariableAndPointReturnsAfterASeed) {
    // The sign of F0 changes along y only; F1 changes between the end of one
    // line and the start of the next, which is never compared.
    ProblemState problem = makeProblem(2, {{0, 2, 2}});
    NativeResiduals residuals({[](const Point &p) { return p[1] - 0.5; }, [](const Point &p) { return 0.5 - p[0]; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.seeds, (std::vector<Point>{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(record.nodes,
              (std::vector<Point>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}));
}

TEST(ExploreGrid, EndsAtOnceWhenASeedSaysSoOrAnErrorIsFatal) {
    ProblemState problem = makeProblem(2, {{0, 2, 2}});
    NativeResiduals residuals({[](const Point &p) { return p[1] - 0.5; }, [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals, 1);
    EXPECT_FALSE(record.completed);
    EXPECT_EQ(record.nodes.size(), 2u);

    NativeResiduals fatal({[](const Point &) { return 1.0; }, [](const Point &) { return 1.0; }},
                          [](int, const Point &p) { return p[1] > 0 ? 13 : 0; });
    EXPECT_THROW(walkGrid(problem, fatal), FatalEvaluationError);
    EXPECT_EQ(fatal.pointsVisited().size(), 2u);
}

struct LimitCase {
    std::string name;
    Interval interval;
    std::size_t values;  // values the last variable takes on each of the two lines x1 = 0, 1
};

class EveryWalkEnds : public ::testing::TestWithParam<LimitCase> {};

TEST_P(EveryWalkEnds, WithTheValuesItCanReach) {
    const LimitCase &c = GetParam();
    ProblemState problem = makeProblem(2, {{0, 1, 1}, c.interval});
    NativeResiduals residuals({[](const Point &p) { return p[0] - 0.5; }, [](const Point &) { return 1.0; }});
    const WalkRecord record = walkGrid(problem, residuals);
    EXPECT_EQ(record.nodes.size(), c.values * 2);
    EXPECT_EQ(residuals.evaluations.size(), c.values * 4) << "each node evaluated once";
    EXPECT_TRUE(record.seeds.empty()) << "signs are compared along a line only";
}

INSTANTIATE_TEST_SUITE_P(
    Limits, EveryWalkEnds,
    ::testing::Values(LimitCase{"Regular", {0, 1, 2}, 3},
                      // 0.1 added ten times stays below 1: one value more, just beyond it.
                      LimitCase{"AccumulatedStepOvershoots", {0, 1, 10}, 12},
                      LimitCase{"UpperEqualsLower", {3, 3, 5}, 1}, LimitCase{"UpperBelowLower", {3, 1, 5}, 1},
                      LimitCase{"ZeroSubintervals", {0, 1, 0}, 1}, LimitCase{"NegativeSubintervals", {0, 1, -4}, 1},
                      LimitCase{"InfiniteUpper", {0, inf, 4}, 1}, LimitCase{"WidthOverflows", {-1e308, 1e308, 2}, 1},
                      LimitCase{"NaNUpper", {0, nan, 4}, 1}, LimitCase{"NaNLower", {nan, 1, 4}, 1},
                      LimitCase{"StepVanishes", {1e16, 1e16 + 4, 8}, 1},
                      // 2^53 - 2, 2^53 - 1, 2^53; then adding 1 no longer moves the value.
                      LimitCase{"StepVanishesPartWay", {9007199254740990.0, 9007199254741000.0, 10}, 3}),
    [](const auto &info) { return info.param.name; });

}  // namespace
}  // namespace zl
