#include "core/solver/compute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/solver/newton_iteration.h"
#include "core/solver/random_source.h"
#include "core/solver/solution_lines.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::Interval;
using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;
using testing::makeProblem;

std::vector<double> storedValues(const ProblemState &problem, int variable) {
    std::vector<double> values;
    for (int m = 1; m <= problem.store.solutionCount; ++m)
        values.push_back(problem.store.solutions(variable, m));
    std::sort(values.begin(), values.end());
    return values;
}

bool startsWith(const std::string &text, const std::string &prefix) { return text.rfind(prefix, 0) == 0; }

NativeResiduals cubicWithRootsOneTwoThree() {
    return NativeResiduals({[](const Point &p) { return (p[0] - 1) * (p[0] - 2) * (p[0] - 3); }});
}

TEST(RunExplore, FindsEachRootOnceAndListsIt) {
    ProblemState problem = makeProblem({"x"}, {{0, 4, 8}}, 1e-9, 20);
    NativeResiduals residuals = cubicWithRootsOneTwoThree();
    RecordingList list;
    const RunSummary summary = runExplore(problem, residuals, list);
    EXPECT_EQ(summary.end, RunEnd::Completed);
    ASSERT_EQ(problem.store.solutionCount, 3);
    const std::vector<double> roots = storedValues(problem, 0);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(roots[k], k + 1.0, 1e-9);
    ASSERT_EQ(list.lines.size(), 6u);
    EXPECT_EQ(list.lines[0], solutionLine("x", problem.store.solutions(0, 1), 1,
                                          (problem.store.solutions(0, 1) - 1) * (problem.store.solutions(0, 1) - 2) *
                                              (problem.store.solutions(0, 1) - 3)));
    EXPECT_EQ(list.lines[1], "");
    // Each seed yields twice; Explore writes no failure reports.
    EXPECT_EQ(std::count(list.events.begin(), list.events.end(), "<yield>") % 2, 0);
}

TEST(RunExplore, ReportsEachProblemOnceAtTheEnd) {
    // Newton on the cube root moves away from its root: x -> -2x.
    ProblemState problem = makeProblem({"x"}, {{-1, 1, 3}}, 1e-9, 5);
    NativeResiduals residuals({[](const Point &p) { return std::cbrt(p[0]); }});
    RecordingList list;
    EXPECT_EQ(runExplore(problem, residuals, list).end, RunEnd::Completed);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"PROBLEMS ENCOUNTERED:", "-CONVERGENCE PROBLEMS."}));
}

TEST(RunExplore, UnrecoverableErrorEndsWithoutReport) {
    ProblemState problem = makeProblem({"x"}, {{-1, 1, 3}}, 1e-9, 5);
    NativeResiduals residuals({[](const Point &p) { return std::cbrt(p[0]); }});
    residuals.failWhere([](int, const Point &p) { return p[0] > 5 ? 13 : 0; });
    RecordingList list;
    const RunSummary summary = runExplore(problem, residuals, list);
    EXPECT_EQ(summary.end, RunEnd::FatalError);
    EXPECT_EQ(summary.fatalErrorNumber, 13);
    EXPECT_TRUE(list.lines.empty());
}

TEST(RunExplore, StopsAtOnceWhenAHundredAndFirstSolutionArrives) {
    // sin has 127 roots in [0.5, 400].
    ProblemState problem = makeProblem({"x"}, {{0.5, 400, 800}}, 1e-9, 20);
    NativeResiduals residuals({[](const Point &p) { return std::sin(p[0]); }});
    RecordingList list;
    EXPECT_EQ(runExplore(problem, residuals, list).end, RunEnd::StoreFull);
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_EQ(list.lines.size(), 2u * kMaxSolutions);
    EXPECT_LT(residuals.pointsVisited().back()[0], 330.0) << "walk went on after the store filled";
}

TEST(RunRandom, TrialLinesYieldsAndFailureReportsInOrder) {
    // x^2 + 1 has no real root: every seed fails and is reported.
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-9, 2);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + 1; }});
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(1);
    EXPECT_EQ(runRandom(problem, residuals, list, random, 3).end, RunEnd::Completed);
    EXPECT_EQ(problem.spec.randomSeeds, 0);
    std::vector<std::string> shape;
    for (const std::string &event : list.events)
        shape.push_back(startsWith(event, "x=") ? "x=" : startsWith(event, "EQUATION #1=") ? "EQ" : event);
    std::vector<std::string> expected;
    for (int trial = 1; trial <= 3; ++trial) {
        for (const std::string &event :
             {std::string("<yield>"), trialLine(trial), std::string("<yield>"), std::string(kNoConvergenceLine),
              std::string(kFailureHeadingLine), std::string("x="), std::string("EQ"), std::string("<yield>")})
            expected.push_back(event);
    }
    expected.push_back("PROBLEMS ENCOUNTERED:");
    expected.push_back("-CONVERGENCE PROBLEMS.");
    EXPECT_EQ(shape, expected);
}

TEST(RunRandom, SameSeedGivesTheSameList) {
    auto run = [](std::uint64_t seed) {
        // One cycle only: the failure reports show where each seed started from.
        ProblemState problem = makeProblem({"x", "y"}, {{2, 3, 1}, {-1, -0.5, 1}}, 1e-9, 1);
        NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] - p[1] - 6; },
                                   [](const Point &p) { return p[0] + 4 * p[1]; }});
        RecordingList list;
        RandomSource random = RandomSource::withFixedSeed(seed);
        runRandom(problem, residuals, list, random, 5);
        return list.lines;
    };
    const std::vector<std::string> lines = run(7);
    EXPECT_EQ(lines, run(7));
    EXPECT_NE(lines, run(8));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string &l) { return startsWith(l, "TRIAL"); }),
              5);
}

TEST(RunRandom, SeedsAreDrawnInsideTheBox) {
    ProblemState problem = makeProblem({"x", "y"}, {{2, 3, 1}, {-1, -0.5, 1}}, 1e-9, 1);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + 1; }, [](const Point &p) { return p[1]; }});
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(3);
    runRandom(problem, residuals, list, random, 50);
    // One cycle per seed: 2n^2 Jacobian evaluations, n right-hand side, n report.
    const std::size_t perSeed = 2 * 2 * 2 + 2 + 2;
    ASSERT_EQ(residuals.evaluations.size(), 50 * perSeed);
    for (std::size_t k = 0; k < residuals.evaluations.size(); k += perSeed) {
        const Point &seed = residuals.evaluations[k + perSeed - 4].point;  // the right-hand side
        EXPECT_GE(seed[0], 2);
        EXPECT_LT(seed[0], 3);
        EXPECT_GE(seed[1], -1);
        EXPECT_LT(seed[1], -0.5);
    }
}

TEST(RunRandom, DuplicateLeavesItsTrialLineAlone) {
    ProblemState problem = makeProblem({"x"}, {{1.9, 2.1, 1}}, 1e-9, 20);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] - 4; }});
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(5);
    runRandom(problem, residuals, list, random, 2);
    ASSERT_EQ(list.lines.size(), 4u);
    EXPECT_EQ(list.lines[0], "TRIAL1:");
    EXPECT_TRUE(startsWith(list.lines[1], "x=2 "));
    EXPECT_EQ(list.lines[3], "TRIAL2:");
}

TEST(RunRandom, StoreFullEndsWithTheTrialLineAndNoReport) {
    // Four cycles leave some seeds unconverged, so there would be problems to report.
    ProblemState problem = makeProblem({"x"}, {{0, 2000, 1}}, 1e-9, 4);
    NativeResiduals residuals({[](const Point &p) { return std::sin(p[0]); }});
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(11);
    EXPECT_EQ(runRandom(problem, residuals, list, random, 2000).end, RunEnd::StoreFull);
    EXPECT_NE(std::find(list.lines.begin(), list.lines.end(), std::string(kNoConvergenceLine)), list.lines.end());
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_TRUE(startsWith(list.lines.back(), "TRIAL"));
    EXPECT_EQ(problem.spec.randomSeeds, 0);
}

TEST(RunRandom, UnrecoverableErrorEndsTheRun) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-9, 3);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + 1; }});
    int calls = 0;
    residuals.failWhere([&calls](int, const Point &) { return ++calls == 20 ? 424 : 0; });
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(2);
    const RunSummary summary = runRandom(problem, residuals, list, random, 10);
    EXPECT_EQ(summary.end, RunEnd::FatalError);
    EXPECT_EQ(summary.fatalErrorNumber, 424);
    EXPECT_EQ(residuals.evaluations.size(), 20u);
    EXPECT_EQ(problem.spec.randomSeeds, 0);
    EXPECT_TRUE(std::none_of(list.lines.begin(), list.lines.end(),
                             [](const std::string &l) { return startsWith(l, "PROBLEMS"); }));
}

TEST(RunRandom, NoSeedsTriesNothing) {
    for (const std::int32_t seeds : {0, -3}) {
        ProblemState problem = makeProblem({"x"}, {{0, 1, 1}});
        NativeResiduals residuals({[](const Point &p) { return p[0]; }});
        RecordingList list;
        RandomSource random = RandomSource::withFixedSeed(1);
        EXPECT_EQ(runRandom(problem, residuals, list, random, seeds).end, RunEnd::Completed);
        EXPECT_TRUE(residuals.evaluations.empty());
        EXPECT_TRUE(list.events.empty());
    }
}

// A seed whose first cycle fails by evaluation is reported as not converged,
// even right after a seed that converged.
TEST(RunRandom, FirstCycleFailureAfterAConvergedSeedIsReported) {
    ProblemState problem = makeProblem({"x"}, {{1, 3, 1}}, 1e-9, 20);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] - 4; }});
    RecordingList list;
    residuals.failWhere([&list](int, const Point &) { return list.lines.back() == "TRIAL2:" ? 11 : 0; });
    RandomSource random = RandomSource::withFixedSeed(9);
    runRandom(problem, residuals, list, random, 2);
    ASSERT_EQ(problem.store.solutionCount, 1);
    ASSERT_GE(list.lines.size(), 5u);
    EXPECT_EQ(list.lines[3], "TRIAL2:");
    EXPECT_EQ(list.lines[4], kNoConvergenceLine);
}

// Classic test systems: every stored solution is finite, has every residual
// within maxError, and no two stored solutions share a duplicate box.
struct ClassicProblem {
    std::string name;
    std::vector<NativeResiduals::Function> functions;
    std::vector<Interval> box;
    Point knownRoot;
};

class ClassicProblems : public ::testing::TestWithParam<ClassicProblem> {};

void expectSoundSolutions(const ClassicProblem &c, const ProblemState &problem) {
    const int n = problem.spec.order;
    bool foundKnownRoot = false;
    for (int m = 1; m <= problem.store.solutionCount; ++m) {
        Point x(n);
        for (int i = 0; i < n; ++i) {
            x[i] = problem.store.solutions(i, m);
            ASSERT_TRUE(std::isfinite(x[i]));
        }
        for (int j = 0; j < n; ++j) EXPECT_LE(std::fabs(c.functions[j](x)), problem.spec.maxError);
        bool near = true;
        for (int i = 0; i < n; ++i) near &= std::fabs(x[i] - c.knownRoot[i]) < 1e-2;
        foundKnownRoot |= near;
        for (int other = 1; other < m; ++other) {
            bool same = true;
            for (int i = 0; i < n; ++i)
                same &= std::fabs(x[i] - problem.store.solutions(i, other)) <= problem.spec.maxError;
            EXPECT_FALSE(same) << "solutions " << other << " and " << m;
        }
    }
    EXPECT_TRUE(foundKnownRoot);
}

TEST_P(ClassicProblems, ExploreStoresOnlyTrueSolutions) {
    const ClassicProblem &c = GetParam();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < c.functions.size(); ++i) names.push_back("x" + std::to_string(i + 1));
    ProblemState problem = makeProblem(names, c.box, 1e-6, 100);
    NativeResiduals residuals(c.functions);
    RecordingList list;
    ASSERT_EQ(runExplore(problem, residuals, list).end, RunEnd::Completed);
    expectSoundSolutions(c, problem);
}

TEST_P(ClassicProblems, RandomStoresOnlyTrueSolutions) {
    const ClassicProblem &c = GetParam();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < c.functions.size(); ++i) names.push_back("x" + std::to_string(i + 1));
    ProblemState problem = makeProblem(names, c.box, 1e-6, 100);
    NativeResiduals residuals(c.functions);
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(2024);
    ASSERT_EQ(runRandom(problem, residuals, list, random, 40).end, RunEnd::Completed);
    expectSoundSolutions(c, problem);
}

const double pi = std::acos(-1.0);

double helicalTheta(double x1, double x2) {
    const double theta = std::atan(x2 / x1) / (2 * pi);
    return x1 > 0 ? theta : theta + 0.5;
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, ClassicProblems,
    ::testing::Values(
        ClassicProblem{"Rosenbrock",
                       {[](const Point &p) { return 10 * (p[1] - p[0] * p[0]); },
                        [](const Point &p) { return 1 - p[0]; }},
                       {{-2, 2, 4}},
                       {1, 1}},
        ClassicProblem{"FreudensteinRoth",
                       {[](const Point &p) { return -13 + p[0] + ((5 - p[1]) * p[1] - 2) * p[1]; },
                        [](const Point &p) { return -29 + p[0] + ((p[1] + 1) * p[1] - 14) * p[1]; }},
                       {{0, 10, 10}, {0, 6, 6}},
                       {5, 4}},
        ClassicProblem{"PowellSingular",
                       {[](const Point &p) { return p[0] + 10 * p[1]; },
                        [](const Point &p) { return std::sqrt(5.0) * (p[2] - p[3]); },
                        [](const Point &p) { return (p[1] - 2 * p[2]) * (p[1] - 2 * p[2]); },
                        [](const Point &p) { return std::sqrt(10.0) * (p[0] - p[3]) * (p[0] - p[3]); }},
                       {{-1, 1, 3}},
                       {0, 0, 0, 0}},
        ClassicProblem{"HelicalValley",
                       {[](const Point &p) { return 10 * (p[2] - 10 * helicalTheta(p[0], p[1])); },
                        [](const Point &p) { return 10 * (std::hypot(p[0], p[1]) - 1); },
                        [](const Point &p) { return p[2]; }},
                       {{0.5, 1.5, 4}, {-0.5, 0.5, 4}, {-0.5, 0.5, 4}},
                       {1, 0, 0}}),
    [](const auto &info) { return info.param.name; });

} // namespace
} // namespace zl
