#include "core/solver/random_source.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

namespace zl {
namespace {

std::vector<double> draw(RandomSource &source, int count) {
    std::vector<double> values;
    for (int k = 0; k < count; ++k) values.push_back(source.nextUnit());
    return values;
}

/// In [0, 1), mean and share below 1/2 near a half, no value repeated.
void expectUniformLooking(const std::vector<double> &values) {
    const auto n = static_cast<double>(values.size());
    EXPECT_THAT(values, ::testing::Each(::testing::AllOf(::testing::Ge(0.0), ::testing::Lt(1.0))));
    EXPECT_NEAR(std::accumulate(values.begin(), values.end(), 0.0) / n, 0.5, 0.02);
    EXPECT_NEAR(static_cast<double>(std::ranges::count_if(values, [](double v) { return v < 0.5; })) / n, 0.5, 0.03);
    EXPECT_EQ(std::set<double>(values.begin(), values.end()).size(), values.size());
}

TEST(RandomSource, FixedSeedRepeatsItsNumbers) {
    RandomSource first = RandomSource::withFixedSeed(42), again = RandomSource::withFixedSeed(42);
    RandomSource other = RandomSource::withFixedSeed(43);
    const std::vector<double> values = draw(first, 4000);
    EXPECT_EQ(values, draw(again, 4000));
    EXPECT_NE(values, draw(other, 4000));
    expectUniformLooking(values);
}

// Reseeding from a coarse clock before each coordinate would give one number
// per clock tick; mixing the reading in must not.
TEST(RandomSource, FrozenOrCoarseClockNeverRepeatsNumbers) {
    std::uint64_t ticks = 0;
    for (const RandomSource::Clock &clock :
         std::vector<RandomSource::Clock>{[] { return std::uint64_t{1000}; }, [&ticks] { return ++ticks / 1000; }}) {
        RandomSource source = RandomSource::fromClock(clock);
        expectUniformLooking(draw(source, 4000));
    }
}

}  // namespace
}  // namespace zl
