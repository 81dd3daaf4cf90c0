#include "core/session/run_estimate.h"

#include <gtest/gtest.h>

#include "core/problem/problem_state.h"
#include "core/solver/explore_size.h"

namespace zl {
namespace {

using namespace std::chrono_literals;

/// x - 1 and y - 1, checking that every point lies on the grid's box.
struct BoxCheckingResiduals : ResidualSystem {
    std::int32_t failure = 0;
    bool outside = false;
    std::int32_t evaluate(int equation, const double *point, double &value) override {
        outside = outside || point[0] < -5 || point[0] > 5 || point[1] < 0 || point[1] > 1;
        if (failure) return failure;
        value = point[equation] - 1;
        return 0;
    }
};

ProblemSpec twoVariableGrid() {
    ProblemState problem;
    problem.sizeProblem(2);
    problem.record.lowerLimits = {-5, 0};
    problem.record.upperLimits = {5, 1};
    problem.record.subintervals = {1000, 0};  // the second takes its lower limit alone
    return problem.record;
}

TEST(ExploreEstimate, TimesResidualsOnTheGridAndSharesTheWalkOverThreads) {
    const ProblemSpec record = twoVariableGrid();
    BoxCheckingResiduals residuals;
    const std::optional<ExploreEstimate> estimate = estimateExplore(record, residuals, 2ms);
    ASSERT_TRUE(estimate);
    EXPECT_FALSE(residuals.outside);
    EXPECT_EQ(estimate->nodes, exploreNodeCount(record));
    EXPECT_GT(estimate->perNode.count(), 0);
    EXPECT_DOUBLE_EQ(estimate->time(4).count() * 4, estimate->time(1).count());
}

TEST(ExploreEstimate, NoneWhenTheResidualsFailForGood) {
    BoxCheckingResiduals residuals;
    residuals.failure = 13;  // a type mismatch ends a run
    EXPECT_FALSE(estimateExplore(twoVariableGrid(), residuals, 2ms));
    residuals.failure = kErrDivisionByZero;  // absorbed: the walk goes on
    EXPECT_TRUE(estimateExplore(twoVariableGrid(), residuals, 2ms));
}

TEST(RunTexts, ProgressAndDurationsAsTheWindowShowsThem) {
    RunProgress progress{RunUnit::Nodes, 1234567, 8000001, 2, 4s, 9s};
    EXPECT_EQ(runProgressText(progress), "1234567 of 8000001 nodes, 2 solutions, 0:04 elapsed, 0:09 left");
    progress = {RunUnit::Seeds, 0, 1e20, 0, 12427s, std::nullopt};
    EXPECT_EQ(runProgressText(progress), "0 of 1E+20 seeds, 0 solutions, 3:27:07 elapsed");
    EXPECT_EQ(durationText(754s), "12:34");

    const std::pair<double, const char *> rough[] = {
        {90, "about 90 seconds"},
        {299, "about 5 minutes"},
        {5 * 3600.0, "about 5 hours"},
        {3 * 86400.0, "about 3 days"},
        {4e3 * 365.25 * 86400, "about 4000 years"},
    };
    for (const auto &[seconds, text] : rough) EXPECT_EQ(roughDurationText(seconds), text) << seconds;
}

}  // namespace
}  // namespace zl
