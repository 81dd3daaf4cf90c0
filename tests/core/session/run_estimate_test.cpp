#include "core/session/run_estimate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../solver/solver_test_support.h"
#include "core/solver/explore_size.h"

namespace zl {
namespace {

using namespace std::chrono_literals;

using testing::NativeResiduals;
using testing::Point;

/// The second variable takes its lower limit alone.
const ProblemSpec kGrid = testing::makeProblem(2, {{-5, 5, 1000}, {0, 1, 0}}).record;

/// x - 1 and y - 1, failing with `failure` when it is not 0.
NativeResiduals linear(std::int32_t failure = 0) {
    return NativeResiduals({[](const Point &p) { return p[0] - 1; }, [](const Point &p) { return p[1] - 1; }},
                           [failure](int, const Point &) { return failure; });
}

TEST(ExploreEstimate, TimesResidualsOnTheGridAndSharesTheWalkOverThreads) {
    NativeResiduals residuals = linear();
    const std::optional<ExploreEstimate> estimate = estimateExplore(kGrid, residuals, 2ms);
    ASSERT_TRUE(estimate);
    using ::testing::AllOf, ::testing::Ge, ::testing::Le;
    EXPECT_THAT(residuals.evaluations, ::testing::Each(::testing::Field(
                                           &NativeResiduals::Evaluation::point,
                                           ::testing::ElementsAre(AllOf(Ge(-5.0), Le(5.0)), AllOf(Ge(0.0), Le(1.0))))));
    EXPECT_EQ(estimate->nodes, exploreNodeCount(kGrid));
    EXPECT_GT(estimate->perNode.count(), 0);
    EXPECT_DOUBLE_EQ(estimate->time(4).count() * 4, estimate->time(1).count());
}

TEST(ExploreEstimate, NoneWhenTheResidualsFailForGood) {
    NativeResiduals fatal = linear(13), absorbed = linear(kErrDivisionByZero);
    EXPECT_FALSE(estimateExplore(kGrid, fatal, 2ms));    // a type mismatch ends a run
    EXPECT_TRUE(estimateExplore(kGrid, absorbed, 2ms));  // absorbed: the walk goes on
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
