#include "core/solver/solution_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace zl {
namespace {

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

}  // namespace
}  // namespace zl
