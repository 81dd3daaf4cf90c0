// The proof line after each solution group: added before the group's empty
// line, with the radius of a box proved to hold that solution alone. Also the
// texts a Certify run adds that the run's own tests do not compare whole.

#include <gmock/gmock.h>

#include "certify_test_support.h"
#include "core/certify/certify_lines.h"
#include "core/certify/proving_list_view.h"
#include "core/solver/compute.h"

namespace zl {
namespace {

using zl::testing::RecordingList;
using zl::testing::TypedProblem;

/// The stored list of the problem with `solutions` stored, through the proving view.
std::vector<std::string> provedList(TypedProblem &typed, const std::vector<std::vector<double>> &solutions,
                                    const IntervalProgram *program) {
    for (const auto &solution : solutions) {
        const int column = ++typed.problem.store.solutionCount;
        for (std::size_t i = 0; i < solution.size(); ++i)
            typed.problem.store.solutions(static_cast<int>(i), column) = solution[i];
    }
    RecordingList list;
    ProvingListView view(list, typed.problem, program);
    EXPECT_EQ(listSolutions(typed.problem, typed.evaluator, view), 0);
    return list.lines;
}

TEST(ProvingListView, AddsAProofLineBeforeEachGroupsEmptyLine) {
    TypedProblem typed({"x", "y"}, {"x^2 + y^2 = 2", "x = y"}, "-5", "5");
    const IntervalProgram program = typed.program();
    const std::vector<std::string> lines = provedList(typed, {{1, 1}, {-1.0000000001, -1}}, &program);
    using ::testing::StartsWith;
    const auto proof = StartsWith("PROVED UNIQUE WITHIN ");
    ASSERT_THAT(lines, ::testing::ElementsAre(StartsWith("x=1 "), StartsWith("y=1 "), proof, "", StartsWith("x=-1"),
                                              StartsWith("y=-1 "), proof, ""));
    // The two roots are sqrt(2) apart along the line: the box around each
    // that holds it alone reaches some way, but not to the other.
    for (const std::size_t line : {2u, 6u}) {
        const double radius = std::stod(lines[line].substr(21));
        EXPECT_GT(radius, 1e-3);
        EXPECT_LT(radius, 2.0);
    }
}

TEST(ProvingListView, SaysNotProvedAtADoubleRootAndWithoutAnIntervalForm) {
    TypedProblem typed({"x"}, {"x^2 = 0"}, "-5", "5");
    const IntervalProgram program = typed.program();
    EXPECT_EQ(provedList(typed, {{0}}, &program),
              (std::vector<std::string>{"x=0                           EQUATION #1=0", "NOT PROVED", ""}));
    TypedProblem text({"x"}, {"x^2 = 4"}, "-5", "5");
    EXPECT_EQ(provedList(text, {{2}}, nullptr),
              (std::vector<std::string>{"x=2                           EQUATION #1=0", "NOT PROVED", ""}));
}

// The run tests compare the summary lines and "NOT PROVED" in full.
TEST(CertifyLines, ReadAsTheListShowsThem) {
    EXPECT_EQ(undecidedBoxLine(2, {"x", "speed"}, {Interval(0.5, 0.75), Interval(-1e-9, 1)}),
              "UNDECIDED BOX 2: x=[0.5, 0.75] speed=[-1E-09, 1]");
    EXPECT_EQ(notListedLine(23), "MORE THAN 100 SOLUTIONS: 23 MORE PROVED, NOT LISTED.");
    const double radius = 0.0625;
    EXPECT_EQ(proofLine(&radius), "PROVED UNIQUE WITHIN 0.0625");
}

}  // namespace
}  // namespace zl
