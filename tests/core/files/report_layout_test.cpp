#include "core/files/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace zl {
namespace {

using Lines = std::vector<std::string>;

/// x^2+y^2-2 and x-y as native functions; `failingEquation` fails with error 11.
class ExampleResiduals : public ResidualSystem {
public:
    std::int32_t evaluate(int equation, const double *p, double &value) override {
        if (equation == failingEquation) return 11;
        value = equation == 0 ? p[0] * p[0] + p[1] * p[1] - 2 : p[0] - p[1];
        return 0;
    }
    int failingEquation = -1;
};

std::string blanks(std::size_t count) { return std::string(count, ' '); }
const std::string kHeading =
    "VARIABLE NAME" + blanks(6) + "LOWER LIMIT" + blanks(9) + "UPPER LIMIT" + blanks(9) + "# OF SUBINTERVALS";
const std::string kLimits = "-5 " + blanks(17) + " 5 " + blanks(17) + " 10 ";

/// The problem of the example file: x^2+y^2=k and x=y with k=2, both
/// variables from -5 to 5 in 10 subintervals, one solution at x = y = 1.
struct ExampleReport {
    ProblemState problem;
    Lines constantItems{"k=2"};
    Lines equationTexts{"x^2+y^2=k", "x=y"};
    ExampleResiduals residuals;

    explicit ExampleReport(Lines names = {"x", "y"}) {
        problem.sizeProblem(static_cast<std::int32_t>(names.size()));
        auto &record = problem.record;
        record.varNames = names;
        record.lowerLimits.assign(names.size(), -5);
        record.upperLimits.assign(names.size(), 5);
        record.subintervals.assign(names.size(), 10);
        record.maxError = 0.001;
        record.maxCycles = 8;
        record.constants[0] = "k=2";
        record.constantCount = 1;
        problem.store.solutionCount = 1;
        problem.store.solutions(0, 1) = 1;
        problem.store.solutions(1, 1) = 1;
    }
    Lines lines(int charsPerLine = 80) {
        return reportLines(problem, ReportSources{constantItems, equationTexts, charsPerLine}, residuals);
    }
};

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
    EXPECT_EQ(ExampleReport().lines(), expected);
}

TEST(ReportLayout, EvaluatesEachSolutionThroughTheWorkArraysAndGoesOnAfterAFailure) {
    ExampleReport report;
    report.problem.store.solutionCount = 2;
    report.problem.store.solutions(0, 2) = -0.5;
    report.problem.store.solutions(1, 2) = 2;
    report.residuals.failingEquation = 1;
    const auto lines = report.lines();
    EXPECT_EQ(report.problem.work.point, (std::vector<double>{-0.5, 2}));
    EXPECT_EQ(report.problem.work.systemMatrix(0, 0), 2.25);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"SET # 2 :", "x= -0.5 " + blanks(32) + "EQUATION # 1 =  2.25 ",
                     "y=  2 " + blanks(34) + "EQUATION # 2 = error 11"}));
}

TEST(ReportLayout, LeavesOutConstantsAndSolutionsWhenThereAreNone) {
    ExampleReport report;
    report.constantItems.clear();
    report.problem.record.constantCount = 0;
    report.problem.store.solutionCount = 0;
    const auto lines = report.lines();
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 6), (Lines{"x,y", "", "", kHeading}));
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"MAXIMUM # OF CYCLES: 8 ", ""}));

    report.constantItems = {"typed=1"};  // typed before opening a file without constants
    EXPECT_EQ(report.lines()[5], "CONSTANTS:");
}

/// The lines from `from` up to the next empty line.
Lines block(const Lines &lines, const std::string &from) {
    auto first = std::find(lines.begin(), lines.end(), from) + 1;
    return Lines(first, std::find(first, lines.end(), ""));
}

TEST(ReportLayout, WrapsNamesOnlyBetweenNames) {
    const std::tuple<Lines, int, Lines> cases[] = {
        {{"alpha", "beta", "gamma"}, 12, {"alpha,beta,", "gamma"}},
        {{"abc", "de"}, 6, {"abc,", "de"}},  // "abc," and "de" together are not shorter than 6
        {{"abc", "de"}, 7, {"abc,de"}},
        {{"a", "averyverylongname", "b"}, 5, {"a,", "averyverylongname,", "b"}},
        {{"x", "y"}, 0, {"x,", "y"}},
        {{"x", "y"}, -7, {"x,", "y"}},
    };
    for (const auto &[names, charsPerLine, expected] : cases) {
        ExampleReport report(names);
        EXPECT_EQ(block(report.lines(charsPerLine), "VARIABLES:"), expected) << charsPerLine;
    }
}

TEST(ReportLayout, CutsEquationsEveryCharsPerLineCharacters) {
    const std::tuple<std::string, int, Lines> cases[] = {
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"abcdefgh", 4, {"abcd", "efgh"}},
        {"xyz", 0, {"x", "y", "z"}},
    };
    for (const auto &[equation, charsPerLine, expected] : cases) {
        ExampleReport report;
        report.equationTexts = {equation};  // equation 2 has no field text: prints empty
        const auto lines = report.lines(charsPerLine);
        EXPECT_EQ(block(lines, "EQUATION # 1 :"), expected) << equation;
        const auto second = std::find(lines.begin(), lines.end(), "EQUATION # 2 :");
        EXPECT_EQ(Lines(second + 1, second + 4), (Lines{"", "", "MAXIMUM ERROR: 0.001 "}));
    }
}

TEST(ReportLayout, AnItemReachingItsTabStopStartsThereOnANewLine) {
    ExampleReport limits({std::string(19, 'a'), std::string(20, 'b')});
    EXPECT_EQ(block(limits.lines(200), kHeading),
              (Lines{std::string(19, 'a') + kLimits, std::string(20, 'b'), blanks(19) + kLimits}));

    ExampleReport solutions({std::string(35, 'a'), std::string(36, 'b')});  // "name=  1 " is 40 and 41 long
    EXPECT_EQ(block(solutions.lines(200), "SET # 1 :"),
              (Lines{std::string(35, 'a') + "=  1 EQUATION # 1 =  0 ", std::string(36, 'b') + "=  1 ",
                     blanks(40) + "EQUATION # 2 =  0 "}));
}

}  // namespace
}  // namespace zl
