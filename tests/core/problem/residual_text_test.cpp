#include "core/problem/residual_text.h"

#include <gtest/gtest.h>

#include "core/problem/problem_state.h"

namespace zl {
namespace {

TEST(ResidualText, SplitsAtTheFirstEqualsAndKeepsBlanks) {
    const struct {
        const char *equation, *residual;
    } cases[] = {
        {"x + 1 = 2", "x + 1 -( 2)"},
        {"a=b=c", "a-(b=c)"},
        {"sin(x)", "sin(x)"},
        {"=5", "-(5)"},
        {"x=", "x-()"},
        {"", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(buildResidual(c.equation), c.residual) << c.equation;
}

TEST(SizeProblem, ReCreatesEveryArrayEmptyAndKeepsTheRest) {
    ProblemState problem;
    problem.record.varNames = {"kept only until sized"};
    problem.record.constantCount = 1;
    problem.record.constants[0] = "a=1";
    problem.store.solutionCount = 2;
    problem.record.maxError = 0.01;

    problem.sizeProblem(3);

    EXPECT_EQ(problem.record.order, 3);
    EXPECT_EQ(problem.record.lastIndex, 2);
    EXPECT_EQ(problem.record.varNames, std::vector<std::string>(3));
    EXPECT_EQ(problem.work.systemMatrix.rows(), 3);
    EXPECT_EQ(problem.work.systemMatrix.columns(), 4);
    EXPECT_EQ(problem.store.solutions.columns(), 101);
    EXPECT_EQ(problem.work.currentSigns.size(), 3u);
    EXPECT_EQ(problem.store.solutionCount, 2);
    EXPECT_EQ(problem.record.constants[0], "a=1");
    EXPECT_EQ(problem.record.maxError, 0.01);
}

}  // namespace
}  // namespace zl
