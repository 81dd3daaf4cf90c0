// The solution list: the layout of its lines, which solutions it takes, what
// it shows for a seed that failed, and the list rebuilt from the store.

#include "core/solver/solution_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "core/solver/compute.h"
#include "core/solver/solution_lines.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;

std::string blanks(std::size_t count) { return std::string(count, ' '); }

const std::string a28(28, 'a'), a30(30, 'a');

TEST(SolutionLines, GoldenLayouts) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {solutionLine("x", 1.5, 1, 0.0), "x=1.5" + blanks(25) + "EQUATION #1=0"},
        {solutionLine(" b ", -2.5, 12, 1e-5), " b =-2.5" + blanks(22) + "EQUATION #12=1E-05"},
        // 30 characters run straight into "EQUATION #"; 32 overwrite "EQ".
        {solutionLine(a28, 1, 1, 0.0), a28 + "=1EQUATION #1=0"},
        {solutionLine(a30, 1, 1, 0.0), a30 + "=1UATION #1=0"},
        // Longer than the whole 43-character line: cut at its end.
        {solutionLine(std::string(60, 'v'), 1, 1, 0.0), std::string(43, 'v')},
        {solutionLine("x", 2, 1, failedResidualText(11)), "x=2" + blanks(27) + "EQUATION #1=error 11"},
        {correctionLine("x", 2, -0.004), "x=2" + blanks(27) + "-0.004"},
        // 31 characters over "0.5" in column 31 leave its last two characters.
        {correctionLine(std::string(29, 'n'), 1, 0.5), std::string(29, 'n') + "=1.5"},
        {std::string(kFailureHeadingLine), "VARIABLE:" + blanks(21) + "LAST CORRECTION:"},
        {equationLine(10, -1.5e20), "EQUATION #10=-1.5E+20"},
        {trialLine(3), "TRIAL3:"},
    };
    for (const auto &[line, expected] : cases) EXPECT_EQ(line, expected);
}

TEST(SolutionLines, ProblemsReportListsSetFlagsInFixedOrder) {
    RunState run;
    EXPECT_TRUE(problemsReportLines(run).empty());
    run.linearDependence = true;
    run.convergenceProblem = true;
    EXPECT_EQ(problemsReportLines(run), (std::vector<std::string>{"PROBLEMS ENCOUNTERED:", "-CONVERGENCE PROBLEMS.",
                                                                  "-POSSIBLE LINEAR DEPENDENCE PROBLEMS."}));
    run.inconsistency = true;
    EXPECT_EQ(problemsReportLines(run)[2], "-POSSIBLE INCONSISTENCE PROBLEMS.");
}

void store(ProblemState &problem, const Point &solution) {
    const int column = ++problem.store.solutionCount;
    for (std::size_t i = 0; i < solution.size(); ++i)
        problem.store.solutions(static_cast<int>(i), column) = solution[i];
}

// The duplicate box; then, with insideBoxOnly set, a point outside the search
// box widened by maxError (limits in either order) is counted, neither stored
// nor listed, even when it repeats a stored solution.
TEST(AcceptSolution, DuplicateBoxIsPerComponentAndInclusiveAndPointsOutsideTheBoxCanBeLeftOut) {
    using enum AcceptResult;
    const std::tuple<bool, Point, AcceptResult> cases[] = {
        {false, {0.5, 0.0}, Duplicate},                     // exactly maxError away in both
        {false, {std::nextafter(0.5, 1.0), 0.25}, Stored},  // just above in one variable
        {false, {0.5, 0.5 + 0.25}, Stored},                 // a box, not a distance
        {false, {std::numeric_limits<double>::quiet_NaN(), 0.25}, Stored},
        {true, {1.25, -0.25}, Stored},  // the widened box's corners
        {true, {-0.25, 1.25}, Stored},
        {true, {std::nextafter(1.25, 2.0), 0.5}, OutsideBox},
        {true, {0.5, std::nextafter(-0.25, -1.0)}, OutsideBox},
        {true, {3, 3}, OutsideBox},
    };
    for (const auto &[insideBoxOnly, candidate, expected] : cases) {
        ProblemState problem = makeProblem(2, {{1, 0, 1}, {0, 1, 1}}, 0.25);
        problem.store.insideBoxOnly = insideBoxOnly;
        store(problem, {0.25, 0.25});
        store(problem, {3, 3});  // outside the box, from a file say
        problem.work.point = candidate;
        RecordingList list;
        EXPECT_EQ(acceptSolution(problem, list), expected) << candidate[0] << ", " << candidate[1];
        EXPECT_EQ(problem.store.outsideBox, expected == OutsideBox ? 1 : 0);
        EXPECT_EQ(problem.store.solutionCount, expected == Stored ? 3 : 2);
        EXPECT_EQ(list.lines.size(), expected == Stored ? 3u : 0u);
    }
}

TEST(AcceptSolution, HundredStoredRefusesANewOneWithoutListingIt) {
    ProblemState problem = makeProblem(1, {{0, 1, 1}});
    for (int k = 1; k <= kMaxSolutions; ++k) store(problem, {static_cast<double>(k)});
    RecordingList list;
    problem.work.point = {50};
    EXPECT_EQ(acceptSolution(problem, list), AcceptResult::Duplicate);
    problem.work.point = {0.5};
    EXPECT_EQ(acceptSolution(problem, list), AcceptResult::StoreFull);
    EXPECT_EQ(problem.store.solutionCount, kMaxSolutions);
    EXPECT_TRUE(list.lines.empty());
}

TEST(ReportFailure, ShowsPointCorrectionAndFreshResiduals) {
    ProblemState problem = makeProblem(2, {{0, 1, 1}});
    problem.work.point = {1, 0.5};
    problem.work.correction = {-0.25, 1e-5};
    problem.work.systemMatrix(1, 0) = 7;  // kept: equation 2 cannot be evaluated
    NativeResiduals residuals({[](const Point &p) { return p[0] + p[1]; }, [](const Point &) { return 0.0; }},
                              [](int j, const Point &) { return j == 1 ? 11 : 0; });
    RecordingList list;
    RunState run;
    reportFailure(problem, residuals, run, list);
    EXPECT_EQ(list.lines,
              (std::vector<std::string>{"NO CONVERGENCE.  BEST RESULTS WERE:",
                                        "VARIABLE:" + blanks(21) + "LAST CORRECTION:", "x1=1" + blanks(26) + "-0.25",
                                        "x2=0.5" + blanks(24) + "1E-05", "EQUATION #1=1.5", "EQUATION #2=7"}));
}

TEST(ClearSolutions, EmptiesListAndCountUnlessAFileIsLoading) {
    for (const bool loading : {false, true}) {
        ProblemState problem = makeProblem(1, {{0, 1, 1}});
        store(problem, {1});
        problem.record.loadingFile = loading;
        RecordingList list;
        list.lines = {"old"};
        clearSolutions(problem, list);
        EXPECT_EQ(std::tuple(problem.store.solutionCount, list.lines.size(), list.countText),
                  loading ? std::tuple(1, 1u, "unset") : std::tuple(0, 0u, ""));
    }
}

// A stored solution whose residual fails stays listed, the count stays that
// of the store, and the first failure's number comes back.
TEST(ListSolutions, RebuildsTheListShowingFailedResiduals) {
    ProblemState problem = makeProblem(2, {{0, 1, 1}});
    store(problem, {1, 2});
    store(problem, {3, 0.5});
    NativeResiduals residuals({[](const Point &p) { return p[0] - p[1]; }, [](const Point &p) { return p[1]; }},
                              [](int j, const Point &p) { return p[0] == 1 && j == 1 ? 11
                                                                 : p[0] == 3         ? 13
                                                                                     : 0; });
    RecordingList list;
    list.lines = {"stale"};
    EXPECT_EQ(listSolutions(problem, residuals, list), 11);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"x1=1" + blanks(26) + "EQUATION #1=-1",
                                                    "x2=2" + blanks(26) + "EQUATION #2=error 11", "",
                                                    "x1=3" + blanks(26) + "EQUATION #1=error 13",
                                                    "x2=0.5" + blanks(24) + "EQUATION #2=error 13", ""}));
    EXPECT_EQ(list.countText, "2 solutions");
    EXPECT_EQ(problem.work.point, (Point{3, 0.5}));
}

}  // namespace
}  // namespace zl
