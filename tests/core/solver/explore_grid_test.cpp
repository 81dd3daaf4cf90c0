#include "core/solver/explore_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "core/solver/residual_evaluation.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;

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

}  // namespace
}  // namespace zl
