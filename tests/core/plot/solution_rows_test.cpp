#include "core/plot/solution_rows.h"

#include <gtest/gtest.h>

#include "core/solver/solution_lines.h"

namespace zl {
namespace {

TEST(SolutionRows, GroupsAreFoundAmongTrialsAndFailureReports) {
    ProblemState problem;
    problem.sizeProblem(2);
    problem.record.varNames = {"x", "a name longer than thirty columns"};
    problem.store.solutionCount = 2;
    problem.store.solutions(0, 1) = 1.5;
    problem.store.solutions(1, 1) = -2;
    problem.store.solutions(0, 2) = 0.25;
    problem.store.solutions(1, 2) = 3;
    const auto name = [&](int i) { return problem.record.varNames[static_cast<std::size_t>(i)]; };
    const auto group = [&](std::vector<std::string> &lines, int m) {
        for (int i = 0; i < 2; ++i) lines.push_back(solutionLine(name(i), problem.store.solutions(i, m), i + 1, 1e-12));
        lines.emplace_back();
    };

    // A failure report that stopped exactly at solution 2's values: equation lines follow, no empty line.
    std::vector<std::string> lines{trialLine(1), std::string(kNoConvergenceLine), std::string(kFailureHeadingLine)};
    for (int i = 0; i < 2; ++i) lines.push_back(correctionLine(name(i), problem.store.solutions(i, 2), 0.5));
    lines.push_back(equationLine(1, 0.5));
    lines.push_back(equationLine(2, 0.5));
    lines.push_back(trialLine(2));
    group(lines, 1);  // rows 8..10
    lines.push_back(trialLine(3));
    group(lines, 2);  // rows 12..14

    const std::vector<int> rows = solutionGroupRows(lines, problem);
    EXPECT_EQ(rows, (std::vector<int>{8, 12}));
    EXPECT_EQ(solutionAtRow(rows, 2, 9), 1);
    EXPECT_EQ(solutionAtRow(rows, 2, 10), 0);  // the empty line
    EXPECT_EQ(solutionAtRow(rows, 2, 3), 0);
    EXPECT_EQ(solutionGroupRows({lines.begin() + 11, lines.end()}, problem), (std::vector<int>{-1, 1}));
}

}  // namespace
}  // namespace zl
