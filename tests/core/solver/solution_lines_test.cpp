#include "core/solver/solution_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace zl {
namespace {

std::string blanks(std::size_t count) { return std::string(count, ' '); }

struct SolutionLineCase {
    std::string name;
    std::string variable;
    double value;
    int equationNumber;
    double residual;
    std::string expected;
};

class SolutionLineLayout : public ::testing::TestWithParam<SolutionLineCase> {};

TEST_P(SolutionLineLayout, MatchesTheColumns) {
    const SolutionLineCase &c = GetParam();
    EXPECT_EQ(solutionLine(c.variable, c.value, c.equationNumber, c.residual), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SolutionLineLayout,
    ::testing::Values(
        SolutionLineCase{"ShortName", "x", 1.5, 1, 0, "x=1.5" + blanks(25) + "EQUATION #1=0"},
        SolutionLineCase{"NegativeAndExponent", "y", -2.5, 3, 1e-5, "y=-2.5" + blanks(24) + "EQUATION #3=1E-05"},
        SolutionLineCase{"NameKeptAsTyped", " b ", 0.25, 12, -3, " b =0.25" + blanks(22) + "EQUATION #12=-3"},
        // 28 + "=1": exactly 30 characters, "EQUATION #" follows with no blank.
        SolutionLineCase{"ThirtyCharacters", std::string(28, 'a'), 1, 1, 0,
                         std::string(28, 'a') + "=1EQUATION #1=0"},
        // 30 + "=1": 32 characters overwrite "EQ".
        SolutionLineCase{"ThirtyTwoCharacters", std::string(30, 'a'), 1, 1, 0,
                         std::string(30, 'a') + "=1UATION #1=0"},
        // Longer than the whole 43-character line: cut at its end.
        SolutionLineCase{"LongerThanTheLine", std::string(60, 'v'), 1, 1, 0, std::string(43, 'v')}),
    [](const auto &info) { return info.param.name; });

TEST(SolutionLine, ShowsAFailedResidualAsItsText) {
    EXPECT_EQ(solutionLine("x", 2, 1, failedResidualText(11)), "x=2" + blanks(27) + "EQUATION #1=error 11");
}

TEST(FailureReportLines, KeepTheirColumns) {
    EXPECT_EQ(kNoConvergenceLine, "NO CONVERGENCE.  BEST RESULTS WERE:");
    EXPECT_EQ(std::string(kFailureHeadingLine), "VARIABLE:" + blanks(21) + "LAST CORRECTION:");
    EXPECT_EQ(correctionLine("x", 2, -0.004), "x=2" + blanks(27) + "-0.004");
    // 31 characters over "0.5" in column 31 leave its last two characters.
    EXPECT_EQ(correctionLine(std::string(29, 'n'), 1, 0.5), std::string(29, 'n') + "=1.5");
    EXPECT_EQ(equationLine(2, 0.5), "EQUATION #2=0.5");
    EXPECT_EQ(equationLine(10, -1.5e20), "EQUATION #10=-1.5E+20");
    EXPECT_EQ(trialLine(3), "TRIAL3:");
    EXPECT_EQ(trialLine(100), "TRIAL100:");
}

TEST(OverlayFromStart, NeverChangesTheLength) {
    EXPECT_EQ(overlayFromStart("abcdef", "XY"), "XYcdef");
    EXPECT_EQ(overlayFromStart("abc", "WXYZ"), "WXY");
    EXPECT_EQ(overlayFromStart("", "XY"), "");
    EXPECT_EQ(overlayFromStart("abc", ""), "abc");
}

struct ProblemsCase {
    bool convergence, inconsistency, dependence;
    std::vector<std::string> expected;
};

TEST(ProblemsReportLines, ListSetFlagsInFixedOrder) {
    const std::vector<ProblemsCase> cases{
        {false, false, false, {}},
        {true, false, false, {"PROBLEMS ENCOUNTERED:", "-CONVERGENCE PROBLEMS."}},
        {false, true, false, {"PROBLEMS ENCOUNTERED:", "-POSSIBLE INCONSISTENCE PROBLEMS."}},
        {false, false, true, {"PROBLEMS ENCOUNTERED:", "-POSSIBLE LINEAR DEPENDENCE PROBLEMS."}},
        {true, true, true,
         {"PROBLEMS ENCOUNTERED:", "-CONVERGENCE PROBLEMS.", "-POSSIBLE INCONSISTENCE PROBLEMS.",
          "-POSSIBLE LINEAR DEPENDENCE PROBLEMS."}},
    };
    for (const ProblemsCase &c : cases) {
        RunState run;
        run.convergenceProblem = c.convergence;
        run.inconsistency = c.inconsistency;
        run.linearDependence = c.dependence;
        EXPECT_EQ(problemsReportLines(run), c.expected);
    }
}

} // namespace
} // namespace zl
