#include "core/solver/explore_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "solver_test_support.h"

namespace zl {
namespace {

using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;

struct WalkRecord {
    std::vector<Point> nodes, seeds;
};

/// Each seed records its node and moves `point` away as Newton would.
struct RecordingVisitor {
    ProblemState &problem;
    WalkRecord &record;

    void visitNode() {}
    void referenceFound(const std::int32_t *) {}
    bool startSeed() {
        record.seeds.push_back(problem.work.point);
        problem.work.point.assign(problem.work.point.size(), 1e9);
        return true;
    }
};

WalkRecord walkGrid(ProblemState &problem, NativeResiduals &residuals) {
    RunState run;
    WalkRecord record;
    RecordingVisitor visitor{problem, record};
    EXPECT_TRUE(ExploreGrid(problem.record, problem.work, residuals, run).walk(visitor));
    record.nodes = residuals.pointsVisited();
    return record;
}

TEST(ExploreGrid, SeedsStartWhereNeighbouringSignsDifferAlongALine) {
    const struct {
        const char *name;
        double (*residual)(double);
        std::vector<double> failingNodes;
        std::vector<Point> expectedSeeds;
    } rows[] = {
        {"no change", [](double x) { return x + 1; }, {}, {}},
        {"one crossing", [](double x) { return x - 0.4; }, {}, {{0.5}}},
        {"touching zero at a node", [](double x) { return (x - 0.5) * (x - 0.5); }, {}, {{0.5}, {0.75}}},
        {"failed nodes are skipped", [](double x) { return x - 0.4; }, {0.25, 0.5}, {{0.75}}},
        {"a failed line start moves the reference", [](double x) { return x - 0.1; }, {0}, {}},
        {"every node fails", [](double x) { return x - 0.4; }, {0, 0.25, 0.5, 0.75, 1}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ProblemState problem = makeProblem(1, {{0, 1, 4}});
        NativeResiduals residuals({[f = row.residual](const Point &p) { return f(p[0]); }},
                                  [&failing = row.failingNodes](int, const Point &p) {
                                      return std::count(failing.begin(), failing.end(), p[0]) ? 11 : 0;
                                  });
        const WalkRecord record = walkGrid(problem, residuals);
        EXPECT_EQ(record.seeds, row.expectedSeeds);
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

}  // namespace
}  // namespace zl
