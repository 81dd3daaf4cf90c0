#include "core/solver/newton_iteration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "core/solver/residual_evaluation.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;

constexpr double h = kDifferenceStep;

// F0 = x + y - 3, F1 = x - y - 1: root (2, 1).
NativeResiduals linearPair(NativeResiduals::FailureRule failure = {}) {
    return NativeResiduals(
        {[](const Point &p) { return p[0] + p[1] - 3; }, [](const Point &p) { return p[0] - p[1] - 1; }},
        std::move(failure));
}

NewtonOutcome iterate(ProblemState &problem, NativeResiduals &residuals, const Point &seed, RunState &run) {
    problem.work.point = seed;
    return newtonFromSeed(problem, residuals, run);
}

TEST(NewtonFromSeed, FormsColumnsHalfByHalfThenTheRightHandSideThenConverges) {
    ProblemState problem = makeProblem(2, {{0, 1, 1}});
    NativeResiduals residuals = linearPair();
    RunState run;
    ASSERT_EQ(iterate(problem, residuals, {1, 1}, run), NewtonOutcome::Converged);
    const std::vector<std::pair<int, Point>> expected{
        {0, {1 - h, 1}}, {1, {1 - h, 1}}, {0, {1 + h, 1}}, {1, {1 + h, 1}}, {0, {1, 1 - h}},
        {1, {1, 1 - h}}, {0, {1, 1 + h}}, {1, {1, 1 + h}}, {0, {1, 1}},     {1, {1, 1}}};
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(residuals.evaluations[k].equation, expected[k].first) << k;
        EXPECT_EQ(residuals.evaluations[k].point, expected[k].second) << k;
    }
    EXPECT_NEAR(problem.work.point[0], 2, 1e-9);
    EXPECT_EQ(problem.work.systemMatrix(1, 0), problem.work.point[0] - problem.work.point[1] - 1);
    EXPECT_EQ(problem.work.seedPoint, (Point{1, 1}));
}

// F(x) = x + 2^-10 from 0: the central difference is exactly 1, the step exactly
// -2^-10 and the residual afterwards exactly 0.
TEST(NewtonFromSeed, StepEqualToMaxErrorPassesJustAboveFails) {
    constexpr double b = 0.0009765625;
    for (const auto &[maxError, expected] :
         {std::pair{b, NewtonOutcome::Converged}, std::pair{std::nextafter(b, 0.0), NewtonOutcome::CycleLimit}}) {
        ProblemState problem = makeProblem(1, {{0, 1, 1}}, maxError, 1);
        NativeResiduals residuals({[](const Point &p) { return p[0] + b; }});
        RunState run;
        EXPECT_EQ(iterate(problem, residuals, {0}, run), expected);
        EXPECT_EQ(run.convergenceProblem, expected == NewtonOutcome::CycleLimit);
    }
}

TEST(NewtonFromSeed, CycleLimitBelowOneRunsOneCycle) {
    for (const std::int32_t maxCycles : {-5, 0}) {
        ProblemState problem = makeProblem(1, {{0, 1, 1}}, 1e-12, maxCycles);
        NativeResiduals residuals({[](const Point &p) { return p[0] * p[0] - 2; }});
        RunState run;
        EXPECT_EQ(iterate(problem, residuals, {3}, run), NewtonOutcome::CycleLimit);
        EXPECT_EQ(residuals.evaluations.size(), 3u);
    }
}

// 1e12 x^3 from 1e-3: the step is within maxError but the residual is not, so
// the residual test runs at the updated point and the next cycle starts there.
TEST(NewtonFromSeed, SmallStepWithLargeResidualGoesOn) {
    auto cubic = [](const Point &p) { return 1e12 * p[0] * p[0] * p[0]; };
    ProblemState problem = makeProblem(1, {{0, 1, 1}}, 1e-4, 2);
    NativeResiduals residuals({cubic});
    RunState run;
    EXPECT_EQ(iterate(problem, residuals, {1e-3}, run), NewtonOutcome::CycleLimit);
    const double updated = residuals.evaluations.at(3).point[0];
    EXPECT_LE(std::fabs(updated - 1e-3), 1e-4);
    EXPECT_GT(cubic({updated}), 1e-4);
    EXPECT_EQ(residuals.evaluations.at(4).point, (Point{updated - h}));
}

// A failure during the residual test is not converged, though the entry the
// solve left in column 0 (the slope 1e-7) would pass.
TEST(NewtonFromSeed, FailedResidualTestIsNotConverged) {
    ProblemState problem = makeProblem(1, {{0, 1, 1}}, 1e-6, 1);
    NativeResiduals residuals({[](const Point &p) { return 1e-7 * (p[0] - 1); }},
                              [](int, const Point &p) { return std::fabs(p[0] - 1) < 1e-9 ? 11 : 0; });
    RunState run;
    EXPECT_EQ(iterate(problem, residuals, {1 + 1e-7}, run), NewtonOutcome::CycleLimit);
    EXPECT_EQ(residuals.evaluations.size(), 4u);
}

TEST(NewtonFromSeed, EqualRowsAreSingular) {
    for (const double offset : {0.0, 1.0}) {
        ProblemState problem = makeProblem(2, {{0, 1, 1}});
        NativeResiduals residuals({[](const Point &p) { return p[0] + p[1] - 1; },
                                   [offset](const Point &p) { return 2 * (p[0] + p[1] - 1) + offset; }});
        RunState run;
        EXPECT_EQ(iterate(problem, residuals, {0, 0}, run), NewtonOutcome::Singular);
        EXPECT_EQ(run.linearDependence, offset == 0);
        EXPECT_EQ(run.inconsistency, offset != 0);
    }
}

auto failAt(int equation, Point at, std::int32_t number) {
    return [=](int j, const Point &p) { return j == equation && p == at ? number : 0; };
}

// A failure in the lower half of a column, the upper half, the right-hand side:
// the failing group of evaluations is completed, nothing after it.
TEST(NewtonFromSeed, EvaluationFailuresEndTheSeedWhereTheyHappened) {
    const std::tuple<int, Point, std::int32_t, std::size_t> rows[] = {
        {0, {1 - h, 1}, 11, 2}, {1, {1, 1 + h}, 5, 8}, {0, {1, 1}, kErrAlreadyReported, 10}};
    for (const auto &[equation, at, number, evaluations] : rows) {
        ProblemState problem = makeProblem(2, {{0, 1, 1}});
        NativeResiduals residuals = linearPair(failAt(equation, at, number));
        RunState run;
        EXPECT_EQ(iterate(problem, residuals, {1, 1}, run), NewtonOutcome::EvaluationFailure) << number;
        EXPECT_EQ(std::tie(problem.work.point, run.ierr), std::tie(at, number));
        EXPECT_EQ(residuals.evaluations.size(), evaluations);
        EXPECT_FALSE(run.anyProblem());
    }
}

TEST(NewtonFromSeed, NonFiniteValuesAndQuotientsAreOverflows) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<NativeResiduals::Function, double>> cases{
        {[](const Point &p) { return p[0] < 0 ? -1.7e308 : 1.7e308; }, h},  // quotient overflows
        {[nan](const Point &p) { return p[0] > 0 ? nan : 1.0; }, h},        // value is NaN
    };
    for (const auto &[function, pointAfter] : cases) {
        ProblemState problem = makeProblem(1, {{0, 1, 1}});
        NativeResiduals residuals({function});
        RunState run;
        EXPECT_EQ(iterate(problem, residuals, {0}, run), NewtonOutcome::EvaluationFailure);
        EXPECT_EQ(run.ierr, kErrOverflow);
        EXPECT_EQ(problem.work.point[0], pointAfter);
    }
}

TEST(NewtonFromSeed, UnrecoverableNumberEndsAtOnce) {
    ProblemState problem = makeProblem(2, {{0, 1, 1}});
    NativeResiduals residuals = linearPair(failAt(0, {1, 1 - h}, 13));
    RunState run;
    EXPECT_THAT(
        [&] {
            iterate(problem, residuals, {1, 1}, run);
        },
        ::testing::Throws<FatalEvaluationError>(::testing::Field(&FatalEvaluationError::number, 13)));
    EXPECT_EQ(residuals.evaluations.size(), 5u);
}

}  // namespace
}  // namespace zl
