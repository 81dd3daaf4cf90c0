// The printed report: the data collected from the stored solutions, and the
// layout of its lines.

#include "core/files/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../solver/solver_test_support.h"
#include "core/files/report_data.h"

namespace zl {
namespace {

using Lines = std::vector<std::string>;
using testing::Point;

std::string blanks(std::size_t count) { return std::string(count, ' '); }
const std::string kHeading =
    "VARIABLE NAME" + blanks(6) + "LOWER LIMIT" + blanks(9) + "UPPER LIMIT" + blanks(9) + "# OF SUBINTERVALS";
const std::string kLimits = "-5 " + blanks(17) + " 5 " + blanks(17) + " 10 ";

/// The problem of the example file: x^2+y^2=k and x=y with k=2, both
/// variables from -5 to 5 in 10 subintervals, one solution at x = y = 1.
ReportData example(Lines names = {"x", "y"}) {
    ReportData data;
    data.lowerLimits.assign(names.size(), -5);
    data.upperLimits.assign(names.size(), 5);
    data.subintervals.assign(names.size(), 10);
    data.solutions = {{std::vector<double>(names.size(), 1), std::vector<double>(names.size(), 0),
                       std::vector<std::int32_t>(names.size(), 0)}};
    data.names = std::move(names);
    data.constants = {"k=2"};
    data.equations = {"x^2+y^2=k", "x=y"};
    data.maxError = 0.001;
    data.maxCycles = 8;
    return data;
}

/// The lines from `from` up to the next empty line.
Lines block(const Lines &lines, const std::string &from) {
    auto first = std::find(lines.begin(), lines.end(), from) + 1;
    return Lines(first, std::find(first, lines.end(), ""));
}

TEST(ReportLayout, PrintsTheExampleProblem) {
    const Lines expected = {
        "ORDER: 2 ",
        "VARIABLES:",
        "x,y",
        "",
        "",
        "CONSTANTS:",
        "k=2",
        "",
        kHeading,
        "x" + blanks(18) + kLimits,
        "y" + blanks(18) + kLimits,
        "",
        "EQUATION # 1 :",
        "x^2+y^2=k",
        "",
        "EQUATION # 2 :",
        "x=y",
        "",
        "MAXIMUM ERROR: 0.001 ",
        "MAXIMUM # OF CYCLES: 8 ",
        "",
        "SOLUTIONS FOUND:",
        "",
        "SET # 1 :",
        "x=  1 " + blanks(34) + "EQUATION # 1 =  0 ",
        "y=  1 " + blanks(34) + "EQUATION # 2 =  0 ",
    };
    EXPECT_EQ(reportLines(example(), 80), expected);
}

TEST(ReportLayout, NumbersEachSetAndShowsAFailedResidualAsItsErrorNumber) {
    ReportData data = example();
    data.solutions.push_back({{-0.5, 2}, {2.25, 0}, {0, 11}});
    const Lines lines = reportLines(data, 80);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"SET # 2 :", "x= -0.5 " + blanks(32) + "EQUATION # 1 =  2.25 ",
                     "y=  2 " + blanks(34) + "EQUATION # 2 = error 11"}));
}

TEST(ReportLayout, LeavesOutConstantsAndSolutionsWhenThereAreNone) {
    ReportData data = example();
    data.constants.clear();
    data.solutions.clear();
    const Lines lines = reportLines(data, 80);
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 6), (Lines{"x,y", "", "", kHeading}));
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"MAXIMUM # OF CYCLES: 8 ", ""}));
}

TEST(ReportLayout, WrapsNamesOnlyBetweenNames) {
    const std::tuple<Lines, int, Lines> cases[] = {
        {{"alpha", "beta", "gamma"}, 12, {"alpha,beta,", "gamma"}},
        {{"abc", "de"}, 6, {"abc,", "de"}},  // "abc," and "de" together are not shorter than 6
        {{"abc", "de"}, 7, {"abc,de"}},
        {{"a", "averyverylongname", "b"}, 5, {"a,", "averyverylongname,", "b"}},
        {{"x", "y"}, -7, {"x,", "y"}},
    };
    for (const auto &[names, charsPerLine, expected] : cases)
        EXPECT_EQ(block(reportLines(example(names), charsPerLine), "VARIABLES:"), expected) << charsPerLine;
}

TEST(ReportLayout, CutsEquationsEveryCharsPerLineCharacters) {
    const std::tuple<std::string, int, Lines> cases[] = {
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"abcdefgh", 4, {"abcd", "efgh"}},
        {"xyz", 0, {"x", "y", "z"}},
    };
    for (const auto &[equation, charsPerLine, expected] : cases) {
        ReportData data = example();
        data.equations = {equation};  // equation 2 has no text: prints empty
        const Lines lines = reportLines(data, charsPerLine);
        EXPECT_EQ(block(lines, "EQUATION # 1 :"), expected) << equation;
        const auto second = std::find(lines.begin(), lines.end(), "EQUATION # 2 :");
        EXPECT_EQ(Lines(second + 1, second + 4), (Lines{"", "", "MAXIMUM ERROR: 0.001 "}));
    }
}

TEST(ReportLayout, AnItemReachingItsTabStopStartsThereOnANewLine) {
    const Lines limits = reportLines(example({std::string(19, 'a'), std::string(20, 'b')}), 200);
    EXPECT_EQ(block(limits, kHeading),
              (Lines{std::string(19, 'a') + kLimits, std::string(20, 'b'), blanks(19) + kLimits}));

    // "name=  1 " is 40 and 41 characters long.
    const Lines solutions = reportLines(example({std::string(35, 'a'), std::string(36, 'b')}), 200);
    EXPECT_EQ(block(solutions, "SET # 1 :"),
              (Lines{std::string(35, 'a') + "=  1 EQUATION # 1 =  0 ", std::string(36, 'b') + "=  1 ",
                     blanks(40) + "EQUATION # 2 =  0 "}));
}

TEST(ReportData, EvaluatesEachStoredSolutionThroughTheWorkArrays) {
    ProblemState problem = testing::makeProblem(2, {{-5, 5, 10}, {-4, 5, 10}}, 1e-9, 8);
    problem.store.solutionCount = 2;
    problem.store.solutions(0, 1) = 1;
    problem.store.solutions(1, 1) = 1;
    problem.store.solutions(0, 2) = -0.5;
    problem.store.solutions(1, 2) = 2;
    problem.store.solutions(0, 3) = 7;  // beyond solutionCount: not shown
    // x^2+y^2-2 and x-y; the second fails with error 11 where x is negative.
    testing::NativeResiduals residuals(
        {[](const Point &p) { return p[0] * p[0] + p[1] * p[1] - 2; }, [](const Point &p) { return p[0] - p[1]; }},
        [](int j, const Point &p) { return j == 1 && p[0] < 0 ? 11 : 0; });

    const ReportData data = collectReportData(problem, {"k=2"}, {"x^2+y^2=2", "x=y"}, residuals);

    EXPECT_EQ(std::tie(data.names, data.lowerLimits, data.constants, data.maxCycles),
              std::tuple(problem.record.varNames, std::vector<double>{-5, -4}, Lines{"k=2"}, 8));
    ASSERT_EQ(data.solutions.size(), 2u);
    EXPECT_EQ(data.solutions[0].residuals, (std::vector<double>{0, 0}));
    const ReportSolution &second = data.solutions[1];
    EXPECT_EQ(second.values, (std::vector<double>{-0.5, 2}));
    EXPECT_EQ(second.residuals[0], 2.25);
    EXPECT_EQ(second.failures, (std::vector<std::int32_t>{0, 11}));
    EXPECT_EQ(problem.work.point, second.values);  // the list and the report share the work arrays
    EXPECT_EQ(problem.work.systemMatrix(0, 0), 2.25);
}

}  // namespace
}  // namespace zl
