// The Explore walk: the nodes it visits line by line, the seeds it starts
// where neighbouring signs differ, and its node count known before the walk.

#include "core/solver/explore_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <vector>

#include "core/solver/explore_size.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::Interval;
using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;

struct WalkRecord {
    std::vector<Point> nodes, seeds;
    std::size_t evaluations = 0;
};

/// Each seed records its node and moves `point` away as Newton would.
struct RecordingVisitor {
    ProblemState &problem;
    std::vector<Point> seeds;

    void visitNode() {}
    void referenceFound(const std::int32_t *) {}
    bool startSeed() {
        seeds.push_back(problem.work.point);
        problem.work.point.assign(problem.work.point.size(), 1e9);
        return true;
    }
};

WalkRecord walkGrid(ProblemState &problem, NativeResiduals &residuals) {
    RunState run;
    RecordingVisitor visitor{problem, {}};
    EXPECT_TRUE(ExploreGrid(problem.record, problem.work, residuals, run).walk(visitor));
    return {residuals.pointsVisited(), visitor.seeds, residuals.evaluations.size()};
}

TEST(ExploreGrid, SeedsStartWhereNeighbouringSignsDifferAlongALine) {
    const std::tuple<const char *, double (*)(double), std::vector<double>, std::vector<Point>> rows[] = {
        {"no change", [](double x) { return x + 1; }, {}, {}},
        {"one crossing", [](double x) { return x - 0.4; }, {}, {{0.5}}},
        {"touching zero at a node", [](double x) { return (x - 0.5) * (x - 0.5); }, {}, {{0.5}, {0.75}}},
        {"failed nodes are skipped", [](double x) { return x - 0.4; }, {0.25, 0.5}, {{0.75}}},
        {"a failed line start moves the reference", [](double x) { return x - 0.1; }, {0}, {}},
        {"every node fails", [](double x) { return x - 0.4; }, {0, 0.25, 0.5, 0.75, 1}, {}},
    };
    for (const auto &[name, residual, failingNodes, expectedSeeds] : rows) {
        SCOPED_TRACE(name);
        ProblemState problem = makeProblem(1, {{0, 1, 4}});
        NativeResiduals residuals(
            {[f = residual](const Point &p) { return f(p[0]); }},
            [&failing = failingNodes](int, const Point &p) { return std::ranges::count(failing, p[0]) ? 11 : 0; });
        const WalkRecord record = walkGrid(problem, residuals);
        EXPECT_EQ(record.seeds, expectedSeeds);
        EXPECT_EQ(record.nodes, (std::vector<Point>{{0}, {0.25}, {0.5}, {0.75}, {1}}));
    }
}

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

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

/// Nodes visited by a whole walk: residuals that never change sign start no
/// seed, and the walk evaluates every residual once per node.
double nodesWalked(ProblemState &problem) {
    NativeResiduals residuals(std::vector<NativeResiduals::Function>(static_cast<std::size_t>(problem.record.order),
                                                                     [](const Point &) { return 1.0; }));
    return static_cast<double>(walkGrid(problem, residuals).evaluations) / problem.record.order;
}

// StepVanishesPartWay walks 2^53 - 2, 2^53 - 1, 2^53; then adding 1 no longer
// moves the value.
TEST(ExploreSize, CountsTheNodesTheWalkVisits) {
    const std::tuple<const char *, int, std::vector<Interval>, double> rows[] = {
        {"FourSubintervals", 1, {{0, 1, 4}}, 5},
        {"TwoVariables", 2, {{0, 1, 4}, {-1, 1, 2}}, 15},
        {"RoundingAddsAValueBeyondTheUpperLimit", 1, {{0, 1, 10}}, 12},
        {"RoundingLandsOnTheUpperLimit", 1, {{0, 0.7, 7}}, 8},
        {"UpperEqualToLowerTakesOneValue", 2, {{0, 1, 4}, {3, 3, 10}}, 5},
        {"UpperBelowLower", 2, {{1, 0, 4}, {0, 1, 3}}, 4},
        {"NoSubintervals", 1, {{0, 1, 0}}, 1},
        {"NegativeSubintervals", 1, {{0, 1, -3}}, 1},
        {"InfiniteWidth", 1, {{-inf, inf, 10}}, 1},
        {"NanLimit", 1, {{nan, 1, 10}}, 1},
        {"InfiniteUpper", 1, {{0, inf, 4}}, 1},
        {"NanUpper", 1, {{0, nan, 4}}, 1},
        {"WidthOverflows", 1, {{-1e308, 1e308, 2}}, 1},
        {"StepTooSmallToMoveTheValue", 1, {{1e16, 1e16 + 64, 1000}}, 1},
        {"StepVanishesPartWay", 1, {{9007199254740990.0, 9007199254741000.0, 10}}, 3},
        {"ThreeVariables", 3, {{-1, 1, 3}, {0, 2, 1}, {-5, 5, 10}}, 5 * 2 * 11}};
    for (const auto &[name, order, intervals, nodes] : rows) {
        ProblemState problem = makeProblem(order, intervals);
        EXPECT_EQ(exploreNodeCount(problem.record), nodes) << name;
        EXPECT_EQ(nodesWalked(problem), nodes) << name;
    }
}

TEST(ExploreSizeBounds, LargeGridsAreCountedWithoutOverflowOrWaiting) {
    // Per variable the count stays exact far beyond what any walk could visit.
    EXPECT_EQ(exploreValueCount(0, 1, std::numeric_limits<std::int32_t>::max()), 2147483648.0);

    ProblemState wide = makeProblem(kMaxOrder, {{0, 1, 9}});
    EXPECT_EQ(exploreNodeCount(wide.record), inf);  // 10^500

    ProblemState atTheBound = makeProblem(8, {{0, 1, 9}});  // 10^8 nodes
    EXPECT_EQ(exploreNodeCount(atTheBound.record), kMaxExploreNodes);

    EXPECT_EQ(exploreNodeCount(ProblemSpec{}), 0);  // no problem yet
}

}  // namespace
}  // namespace zl
