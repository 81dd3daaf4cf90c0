#include "core/solver/solution_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/solver/compute.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;
using testing::makeProblem;

std::string blanks(std::size_t count) { return std::string(count, ' '); }

ProblemState twoVariables(double maxError) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}}, maxError);
    return problem;
}

void store(ProblemState &problem, const Point &solution) {
    const int column = ++problem.store.solutionCount;
    for (std::size_t i = 0; i < solution.size(); ++i)
        problem.store.solutions(static_cast<int>(i), column) = solution[i];
}

AcceptResult accept(ProblemState &problem, RecordingList &list, const Point &point) {
    problem.work.point = point;
    return acceptSolution(problem, list);
}

TEST(AcceptSolution, DuplicateBoxIsPerComponentAndInclusive) {
    const double maxError = 0.25;
    const double justAbove = std::nextafter(0.5, 1.0);
    struct Case {
        Point candidate;
        AcceptResult expected;
    };
    const std::vector<Case> cases{
        {{0.25, 0.25}, AcceptResult::Duplicate},
        {{0.5, 0.5}, AcceptResult::Duplicate},      // exactly maxError away in both
        {{0.0, 0.0}, AcceptResult::Duplicate},
        {{justAbove, 0.25}, AcceptResult::Stored},  // just above in one variable
        {{0.25, -0.0001}, AcceptResult::Stored},
        {{0.5, 0.5 + 0.25}, AcceptResult::Stored},  // close in x, far in y: a box, not a distance
    };
    for (const Case &c : cases) {
        ProblemState problem = twoVariables(maxError);
        store(problem, {0.25, 0.25});
        RecordingList list;
        EXPECT_EQ(accept(problem, list, c.candidate), c.expected) << c.candidate[0] << "," << c.candidate[1];
        EXPECT_EQ(problem.store.solutionCount, c.expected == AcceptResult::Stored ? 2 : 1);
        EXPECT_EQ(list.lines.size(), c.expected == AcceptResult::Stored ? 3u : 0u);
    }
}

TEST(AcceptSolution, StoredNaNNeverMatches) {
    ProblemState problem = twoVariables(1e300);
    store(problem, {std::numeric_limits<double>::quiet_NaN(), 0});
    RecordingList list;
    EXPECT_EQ(accept(problem, list, {0, 0}), AcceptResult::Stored);
}

TEST(AcceptSolution, ListsTheNewSolutionWithItsResidualsAndAnEmptyLine) {
    ProblemState problem = twoVariables(1e-6);
    problem.work.systemMatrix(0, 0) = 0;
    problem.work.systemMatrix(1, 0) = -1e-7;
    RecordingList list;
    ASSERT_EQ(accept(problem, list, {1.5, -2}), AcceptResult::Stored);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"x=1.5" + blanks(25) + "EQUATION #1=0",
                                                    "y=-2" + blanks(26) + "EQUATION #2=-1E-07", ""}));
    EXPECT_EQ(problem.store.solutions(0, 1), 1.5);
    EXPECT_EQ(problem.store.solutions(1, 1), -2);
}

TEST(AcceptSolution, HundredStoredRefusesANewOneWithoutListingIt) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-6);
    for (int k = 1; k <= kMaxSolutions; ++k) store(problem, {static_cast<double>(k)});
    RecordingList list;
    EXPECT_EQ(accept(problem, list, {50}), AcceptResult::Duplicate);
    EXPECT_EQ(accept(problem, list, {0.5}), AcceptResult::StoreFull);
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_TRUE(list.lines.empty());
}

TEST(ReportFailure, ShowsPointCorrectionAndFreshResiduals) {
    ProblemState problem = twoVariables(1e-6);
    problem.work.point = {1, 0.5};
    problem.work.correction = {-0.25, 1e-5};
    problem.work.systemMatrix(1, 0) = 7;  // kept when equation 2 cannot be evaluated
    NativeResiduals residuals({[](const Point &p) { return p[0] + p[1]; }, [](const Point &) { return 0.0; }});
    residuals.failWhere([](int j, const Point &) { return j == 1 ? 11 : 0; });
    RecordingList list;
    RunState run;
    reportFailure(problem, residuals, run, list);
    EXPECT_EQ(list.lines, (std::vector<std::string>{
                              "NO CONVERGENCE.  BEST RESULTS WERE:",
                              "VARIABLE:" + blanks(21) + "LAST CORRECTION:",
                              "x=1" + blanks(27) + "-0.25",
                              "y=0.5" + blanks(25) + "1E-05",
                              "EQUATION #1=1.5",
                              "EQUATION #2=7",
                          }));
    EXPECT_EQ(run.ierr, 11);
}

TEST(ClearSolutions, EmptiesListAndCountUnlessAFileIsLoading) {
    for (const bool loading : {false, true}) {
        ProblemState problem = twoVariables(1e-6);
        store(problem, {1, 2});
        problem.spec.loadingFile = loading;
        RecordingList list;
        list.lines = {"old"};
        clearSolutions(problem, list);
        EXPECT_EQ(problem.store.solutionCount, loading ? 1 : 0);
        EXPECT_EQ(list.lines.empty(), !loading);
        EXPECT_EQ(list.countText, loading ? "unset" : "");
    }
}

TEST(SolutionCountText, IsTheCountAndSolutions) {
    EXPECT_EQ(solutionCountText(0), "0 solutions");
    EXPECT_EQ(solutionCountText(1), "1 solutions");
    EXPECT_EQ(solutionCountText(100), "100 solutions");
}

TEST(ListSolutions, RebuildsEveryStoredSolutionWithFreshResiduals) {
    ProblemState problem = twoVariables(1e-6);
    store(problem, {1, 2});
    store(problem, {3, 4});
    store(problem, {0.5, 0});
    NativeResiduals residuals({[](const Point &p) { return p[0] - p[1]; }, [](const Point &p) { return p[1]; }});
    RecordingList list;
    list.lines = {"stale"};
    EXPECT_EQ(listSolutions(problem, residuals, list), 0);
    EXPECT_EQ(list.lines, (std::vector<std::string>{
                              "x=1" + blanks(27) + "EQUATION #1=-1", "y=2" + blanks(27) + "EQUATION #2=2", "",
                              "x=3" + blanks(27) + "EQUATION #1=-1", "y=4" + blanks(27) + "EQUATION #2=4", "",
                              "x=0.5" + blanks(25) + "EQUATION #1=0.5", "y=0" + blanks(27) + "EQUATION #2=0", ""}));
    EXPECT_EQ(list.countText, "3 solutions");
    EXPECT_EQ(problem.work.point, (Point{0.5, 0}));
}

TEST(ListSolutions, KeepsASolutionWhoseResidualFailsAndReportsTheFirstNumber) {
    ProblemState problem = twoVariables(1e-6);
    store(problem, {1, 2});
    store(problem, {3, 4});
    NativeResiduals residuals({[](const Point &p) { return p[0]; }, [](const Point &p) { return p[1]; }});
    residuals.failWhere([](int j, const Point &p) {
        if (p[0] == 1 && j == 1) return 11;
        if (p[0] == 3) return 13;  // not recoverable in a run, still only reported here
        return 0;
    });
    RecordingList list;
    EXPECT_EQ(listSolutions(problem, residuals, list), 11);
    EXPECT_EQ(list.lines, (std::vector<std::string>{
                              "x=1" + blanks(27) + "EQUATION #1=1", "y=2" + blanks(27) + "EQUATION #2=error 11", "",
                              "x=3" + blanks(27) + "EQUATION #1=error 13",
                              "y=4" + blanks(27) + "EQUATION #2=error 13", ""}));
    EXPECT_EQ(list.countText, "2 solutions");
    EXPECT_EQ(problem.store.solutionCount, 2);
}

TEST(ListSolutions, NeverReadsBeyondTheStore) {
    ProblemState problem = twoVariables(1e-6);
    problem.store.solutionCount = 1000;  // as a damaged file might claim
    NativeResiduals residuals({[](const Point &) { return 0.0; }, [](const Point &) { return 0.0; }});
    RecordingList list;
    listSolutions(problem, residuals, list);
    EXPECT_EQ(list.lines.size(), static_cast<std::size_t>(kMaxSolutions) * 3);
}

} // namespace
} // namespace zl
