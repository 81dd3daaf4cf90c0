#include "core/solver/compute.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/solver/random_source.h"
#include "core/solver/solution_lines.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using ::testing::Contains;
using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;
using ::testing::StartsWith;

NativeResiduals sine() {
    return NativeResiduals({[](const Point &p) { return std::sin(p[0]); }});
}

TEST(RunExplore, StopsAtOnceWhenAHundredAndFirstSolutionArrives) {
    ProblemState problem = makeProblem(1, {{0.5, 400, 800}});  // sin has 127 roots here
    NativeResiduals residuals = sine();
    RecordingList list;
    EXPECT_EQ(runExplore(problem, residuals, list).end, RunEnd::StoreFull);
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_EQ(list.lines.size(), 2u * kMaxSolutions);
    EXPECT_LT(residuals.pointsVisited().back()[0], 330.0) << "the walk went on";
}

// Nodes evaluated ahead and Newton cycles evaluated at once change nothing:
// failing nodes and points still go one at a time, and are the ones reported.
TEST(RunExplore, ManyPointsPerCallListAsOneAtATime) {
    auto circleAndLine = [](bool quiet) {
        NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + p[1] * p[1] - 1; },
                                   [](const Point &p) { return std::log(p[0] + 0.5) - p[1]; }},
                                  [](int, const Point &p) {
                                      return p[0] <= -0.5 ? 5 : std::abs(p[1] - 0.3) < 0.02 ? 11 : 0;
                                  });
        residuals.quiet = quiet;
        return residuals;
    };
    NativeResiduals loud = circleAndLine(false), quiet = circleAndLine(true);
    ProblemState first = makeProblem(2, {{-2, 2, 40}}), second = first;
    RecordingList loudList, quietList;
    EXPECT_EQ(runExplore(first, loud, loudList).end, RunEnd::Completed);
    EXPECT_EQ(runExplore(second, quiet, quietList).end, RunEnd::Completed);
    EXPECT_EQ(quietList.lines, loudList.lines);
    EXPECT_EQ(first.store.solutionCount, 2);
    EXPECT_GT(quiet.quietPoints, 1000);
    auto failing = [](const NativeResiduals &residuals) {
        std::vector<Point> points;
        for (const auto &e : residuals.evaluations)
            if (e.point[0] <= -0.5 || std::abs(e.point[1] - 0.3) < 0.02) points.push_back(e.point);
        return points;
    };
    EXPECT_EQ(failing(quiet), failing(loud));
}

// x^2 + 1 has no real root: every seed fails and is reported.
TEST(RunRandom, TrialLinesYieldsAndFailureReportsInOrder) {
    ProblemState problem = makeProblem(1, {{0, 1, 1}}, 1e-9, 2);
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + 1; }});
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(1);
    EXPECT_EQ(runRandom(problem, residuals, list, random, 3).end, RunEnd::Completed);
    EXPECT_EQ(problem.record.randomSeeds, 0);
    std::vector<::testing::Matcher<std::string>> expected;
    for (int trial = 1; trial <= 3; ++trial)
        for (const std::string &event :
             {std::string("<yield>"), trialLine(trial), std::string("<yield>"), std::string(kNoConvergenceLine),
              std::string(kFailureHeadingLine), std::string("x="), std::string("EQUATION #1="), std::string("<yield>")})
            expected.push_back(StartsWith(event));
    expected.insert(expected.end(), {StartsWith("PROBLEMS ENCOUNTERED:"), StartsWith("-CONVERGENCE PROBLEMS.")});
    EXPECT_THAT(list.events, ::testing::ElementsAreArray(expected));
}

TEST(RunRandom, SameSeedSameListAndSeedsInsideTheBox) {
    auto run = [](std::uint64_t seed, std::vector<Point> *seeds) {
        // One cycle: the failure reports show where each seed started.
        ProblemState problem = makeProblem(2, {{2, 3, 1}, {-1, -0.5, 1}}, 1e-9, 1);
        NativeResiduals residuals(
            {[](const Point &p) { return p[0] * p[0] + 1; }, [](const Point &p) { return p[1]; }});
        RecordingList list;
        RandomSource random = RandomSource::withFixedSeed(seed);
        EXPECT_EQ(runRandom(problem, residuals, list, random, 50).end, RunEnd::Completed);
        for (std::size_t k = 8; seeds && k < residuals.evaluations.size(); k += 12)  // each right-hand side
            seeds->push_back(residuals.evaluations[k].point);
        return list.lines;
    };
    std::vector<Point> seeds;
    const std::vector<std::string> lines = run(7, &seeds);
    EXPECT_EQ(lines, run(7, nullptr));
    EXPECT_NE(lines, run(8, nullptr));
    EXPECT_THAT(lines, Contains(StartsWith("TRIAL")).Times(50));
    ASSERT_EQ(seeds.size(), 50u);
    using ::testing::AllOf, ::testing::Ge, ::testing::Lt;
    EXPECT_THAT(seeds, ::testing::Each(::testing::ElementsAre(AllOf(Ge(2.0), Lt(3.0)), AllOf(Ge(-1.0), Lt(-0.5)))));
}

// Four cycles leave some seeds unconverged, so there would be problems to report.
TEST(RunRandom, StoreFullEndsWithTheTrialLineAndNoReport) {
    ProblemState problem = makeProblem(1, {{0, 2000, 1}}, 1e-9, 4);
    NativeResiduals residuals = sine();
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(11);
    EXPECT_EQ(runRandom(problem, residuals, list, random, 2000).end, RunEnd::StoreFull);
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_THAT(list.lines, Contains(StartsWith(kNoConvergenceLine)).Times(161));
    EXPECT_THAT(list.lines.back(), StartsWith("TRIAL"));
    EXPECT_EQ(problem.record.randomSeeds, 0);
}

TEST(RunRandom, UnrecoverableErrorEndsTheRunWithoutReport) {
    ProblemState problem = makeProblem(1, {{0, 1, 1}}, 1e-9, 3);
    int calls = 0;
    NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] + 1; }},
                              [&calls](int, const Point &) { return ++calls == 20 ? 424 : 0; });
    RecordingList list;
    RandomSource random = RandomSource::withFixedSeed(2);
    const RunSummary summary = runRandom(problem, residuals, list, random, 10);
    EXPECT_EQ(summary.end, RunEnd::FatalError);
    EXPECT_EQ(summary.fatalErrorNumber, 424);
    EXPECT_EQ(residuals.evaluations.size(), 20u);
    EXPECT_THAT(list.lines, Contains(StartsWith("PROBLEMS")).Times(0));
    EXPECT_EQ(problem.record.randomSeeds, 0);
}

}  // namespace
}  // namespace zl
