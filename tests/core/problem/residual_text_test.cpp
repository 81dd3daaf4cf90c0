#include "core/problem/residual_text.h"

#include <gtest/gtest.h>

#include "core/problem/problem_state.h"

namespace zl {
namespace {

TEST(ResidualText, SplitsAtTheFirstEqualsAndKeepsBlanks) {
    const std::pair<const char *, const char *> cases[] = {
        {"x + 1 = 2", "x + 1 -( 2)"},
        {"a=b=c", "a-(b=c)"},
        {"sin(x)", "sin(x)"},
        {"=5", "-(5)"},
        {"x=", "x-()"},
        {"", ""},
    };
    for (const auto &[equation, residual] : cases) EXPECT_EQ(buildResidual(equation), residual) << equation;
}

TEST(SizeProblem, ReCreatesEveryArrayEmptyAndKeepsTheRest) {
    ProblemState problem;
    problem.record.varNames = {"kept only until sized"};
    problem.record.constantCount = 1;
    problem.record.constants[0] = "a=1";
    problem.store.solutionCount = 2;
    problem.record.maxError = 0.01;

    problem.sizeProblem(3);

    EXPECT_EQ(std::tuple(problem.record.order, problem.record.lastIndex, problem.record.varNames,
                         problem.work.systemMatrix.rows(), problem.work.systemMatrix.columns(),
                         problem.store.solutions.columns(), problem.work.currentSigns.size()),
              std::tuple(3, 2, std::vector<std::string>(3), 3, 4, 101, 3u));
    EXPECT_EQ(std::tie(problem.store.solutionCount, problem.record.constants[0], problem.record.maxError),
              std::tuple(2, "a=1", 0.01));
}

}  // namespace
}  // namespace zl
