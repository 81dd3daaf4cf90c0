#include "core/files/report_data.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

/// x^2+y^2-2 and x-y; the second fails with error 11 where x is negative.
class ExampleResiduals : public ResidualSystem {
public:
    std::int32_t evaluate(int equation, const double *p, double &value) override {
        if (equation == 1 && p[0] < 0) return 11;
        value = equation == 0 ? p[0] * p[0] + p[1] * p[1] - 2 : p[0] - p[1];
        return 0;
    }
};

TEST(ReportData, EvaluatesEachStoredSolutionThroughTheWorkArrays) {
    ProblemState problem;
    problem.sizeProblem(2);
    problem.record.varNames = {"x", "y"};
    problem.record.lowerLimits = {-5, -4};
    problem.record.maxCycles = 8;
    problem.store.solutionCount = 2;
    problem.store.solutions(0, 1) = 1;
    problem.store.solutions(1, 1) = 1;
    problem.store.solutions(0, 2) = -0.5;
    problem.store.solutions(1, 2) = 2;
    problem.store.solutions(0, 3) = 7;  // beyond solutionCount: not shown
    ExampleResiduals residuals;

    const ReportData data = collectReportData(problem, {"k=2"}, {"x^2+y^2=2", "x=y"}, residuals);

    EXPECT_EQ(data.names, problem.record.varNames);
    EXPECT_EQ(data.lowerLimits, (std::vector<double>{-5, -4}));
    EXPECT_EQ(data.constants, std::vector<std::string>{"k=2"});
    EXPECT_EQ(data.maxCycles, 8);
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
