#include "core/solver/newton_iteration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/solver/residual_evaluation.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::NativeResiduals;
using testing::Point;
using testing::makeProblem;

constexpr double h = kDifferenceStep;

// F0 = x + y - 3, F1 = x - y - 1: root (2, 1).
NativeResiduals linearPair() {
    return NativeResiduals({[](const Point &p) { return p[0] + p[1] - 3; },
                            [](const Point &p) { return p[0] - p[1] - 1; }});
}

TEST(NewtonFromSeed, EvaluatesColumnsHalfByHalfThenTheRightHandSide) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}});
    problem.work.point = {1, 1};
    NativeResiduals residuals = linearPair();
    RunState run;
    newtonFromSeed(problem, residuals, run);

    const std::vector<std::pair<int, Point>> expected{
        {0, {1 - h, 1}}, {1, {1 - h, 1}}, {0, {1 + h, 1}}, {1, {1 + h, 1}},
        {0, {1, 1 - h}}, {1, {1, 1 - h}}, {0, {1, 1 + h}}, {1, {1, 1 + h}},
        {0, {1, 1}},     {1, {1, 1}},
    };
    ASSERT_GE(residuals.evaluations.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(residuals.evaluations[k].equation, expected[k].first) << "evaluation " << k;
        EXPECT_EQ(residuals.evaluations[k].point, expected[k].second) << "evaluation " << k;
    }
}

TEST(NewtonFromSeed, ConvergesAndLeavesResidualsInColumnZero) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}}, 1e-9, 10);
    problem.work.point = {0.5, -3};
    NativeResiduals residuals = linearPair();
    RunState run;
    ASSERT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::Converged);
    EXPECT_NEAR(problem.work.point[0], 2, 1e-9);
    EXPECT_NEAR(problem.work.point[1], 1, 1e-9);
    EXPECT_EQ(problem.work.systemMatrix(0, 0), problem.work.point[0] + problem.work.point[1] - 3);
    EXPECT_EQ(problem.work.systemMatrix(1, 0), problem.work.point[0] - problem.work.point[1] - 1);
    EXPECT_EQ(problem.work.seedPoint, (Point{0.5, -3}));
    EXPECT_FALSE(run.anyProblem());
}

TEST(NewtonFromSeed, SeedAtASolutionTakesOneCycle) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}}, 1e-9, 10);
    problem.work.point = {2, 1};
    NativeResiduals residuals = linearPair();
    RunState run;
    ASSERT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::Converged);
    EXPECT_EQ(residuals.evaluations.size(), 2u * 2 * 2 + 2 + 2);  // 2n^2 + n + n
}

// F(x) = x + 2^-10 from x = 0: the central difference is exactly 1, the step
// exactly -2^-10 and the residual afterwards exactly 0.
TEST(NewtonFromSeed, StepEqualToMaxErrorPassesAndJustAboveFails) {
    constexpr double b = 0.0009765625;
    for (const auto &[maxError, expected] :
         {std::pair{b, NewtonOutcome::Converged},
          std::pair{std::nextafter(b, 0.0), NewtonOutcome::CycleLimit}}) {
        ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, maxError, 1);
        problem.work.point = {0};
        NativeResiduals residuals({[](const Point &p) { return p[0] + b; }});
        RunState run;
        EXPECT_EQ(newtonFromSeed(problem, residuals, run), expected) << maxError;
        EXPECT_EQ(problem.work.point[0], -b);
    }
}

TEST(NewtonFromSeed, CycleLimitBelowOneStillRunsOneCycle) {
    for (const std::int32_t maxCycles : {-5, 0, 1}) {
        ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-12, maxCycles);
        problem.work.point = {3};
        NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] - 2; }});
        RunState run;
        EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::CycleLimit) << maxCycles;
        EXPECT_TRUE(run.convergenceProblem);
        EXPECT_EQ(residuals.evaluations.size(), 3u) << "one Jacobian column and one right-hand side";
    }
}

// F(x) = 1e12 x^3 from 1e-3: the step is below maxError but the residual is not.
TEST(NewtonFromSeed, SmallStepWithLargeResidualIsNotConverged) {
    auto cubic = [](const Point &p) { return 1e12 * p[0] * p[0] * p[0]; };
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-4, 2);
    problem.work.point = {1e-3};
    NativeResiduals residuals({cubic});
    RunState run;
    EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::CycleLimit);
    // Cycle 1: two Jacobian halves, the right-hand side, then the residual
    // test at the updated point; cycle 2 starts from that point.
    ASSERT_GE(residuals.evaluations.size(), 5u);
    const double updated = residuals.evaluations[3].point[0];
    EXPECT_LE(std::fabs(updated - 1e-3), 1e-4);
    EXPECT_GT(cubic({updated}), 1e-4);
    EXPECT_EQ(residuals.evaluations[4].point, (Point{updated - h}));
}

TEST(NewtonFromSeed, EqualRowsGiveSingularWithTheirClassification) {
    for (const auto &[offset, dependence] : {std::pair{0.0, true}, std::pair{1.0, false}}) {
        ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}});
        problem.work.point = {0, 0};
        NativeResiduals residuals({[](const Point &p) { return p[0] + p[1] - 1; },
                                   [offset](const Point &p) { return 2 * (p[0] + p[1] - 1) + offset; }});
        RunState run;
        EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::Singular);
        EXPECT_EQ(run.linearDependence, dependence);
        EXPECT_EQ(run.inconsistency, !dependence);
        EXPECT_FALSE(run.convergenceProblem);
    }
}

struct FailureCase {
    std::string name;
    NativeResiduals::FailureRule rule;
    Point pointAfter;
    std::int32_t ierr;
    std::size_t evaluations;  // the failing group is completed, nothing after it
};

class StopsOnEvaluationFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StopsOnEvaluationFailure, LeavesThePointWhereItFailed) {
    const FailureCase &c = GetParam();
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}});
    problem.work.point = {1, 1};
    NativeResiduals residuals = linearPair();
    residuals.failWhere(c.rule);
    RunState run;
    EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::EvaluationFailure);
    EXPECT_EQ(problem.work.point, c.pointAfter);
    EXPECT_EQ(run.ierr, c.ierr);
    EXPECT_EQ(residuals.evaluations.size(), c.evaluations);
    EXPECT_FALSE(run.anyProblem());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StopsOnEvaluationFailure,
    ::testing::Values(
        FailureCase{"MinusHalfOfFirstColumn",
                    [](int j, const Point &p) { return j == 0 && p == Point{1 - h, 1} ? 11 : 0; },
                    {1 - h, 1}, 11, 2},
        FailureCase{"PlusHalfOfSecondColumn",
                    [](int j, const Point &p) { return j == 1 && p == Point{1, 1 + h} ? 5 : 0; },
                    {1, 1 + h}, 5, 8},
        FailureCase{"RightHandSide",
                    [](int j, const Point &p) { return j == 0 && p == Point{1, 1} ? kErrAlreadyReported : 0; },
                    {1, 1}, kErrAlreadyReported, 10},
        FailureCase{"LastOfSeveralFailuresIsKept",
                    [](int j, const Point &p) { return p == Point{1 + h, 1} ? (j == 0 ? 6 : 11) : 0; },
                    {1 + h, 1}, 11, 4}),
    [](const auto &info) { return info.param.name; });

TEST(NewtonFromSeed, NonFiniteDifferenceQuotientIsAnOverflow) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}});
    problem.work.point = {0};
    NativeResiduals residuals({[](const Point &p) { return p[0] < 0 ? -1.7e308 : 1.7e308; }});
    RunState run;
    EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::EvaluationFailure);
    EXPECT_EQ(run.ierr, kErrOverflow);
    EXPECT_EQ(problem.work.point[0], h);
}

TEST(NewtonFromSeed, NonFiniteResidualValueIsAnOverflow) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}});
    problem.work.point = {0};
    NativeResiduals residuals({[](const Point &p) {
        return p[0] == 0 ? std::numeric_limits<double>::quiet_NaN() : p[0];
    }});
    RunState run;
    EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::EvaluationFailure);
    EXPECT_EQ(run.ierr, kErrOverflow);
}

// The failed entry would otherwise keep what the solve left in column 0, here
// the slope 1e-7, which is within maxError.
TEST(NewtonFromSeed, FailedResidualTestIsNotConverged) {
    ProblemState problem = makeProblem({"x"}, {{0, 1, 1}}, 1e-6, 1);
    problem.work.point = {1 + 1e-7};
    NativeResiduals residuals({[](const Point &p) { return 1e-7 * (p[0] - 1); }});
    residuals.failWhere([](int, const Point &p) { return std::fabs(p[0] - 1) < 1e-9 ? 11 : 0; });
    RunState run;
    EXPECT_EQ(newtonFromSeed(problem, residuals, run), NewtonOutcome::CycleLimit);
    EXPECT_EQ(residuals.evaluations.size(), 4u);
}

TEST(NewtonFromSeed, UnrecoverableNumberEndsAtOnce) {
    ProblemState problem = makeProblem({"x", "y"}, {{0, 1, 1}});
    problem.work.point = {1, 1};
    NativeResiduals residuals = linearPair();
    residuals.failWhere([](int j, const Point &p) { return j == 0 && p == Point{1, 1 - h} ? 13 : 0; });
    RunState run;
    try {
        newtonFromSeed(problem, residuals, run);
        FAIL() << "expected the run to end";
    } catch (const FatalEvaluationError &error) {
        EXPECT_EQ(error.number, 13);
    }
    EXPECT_EQ(residuals.evaluations.size(), 5u);
}

} // namespace
} // namespace zl
