#include "core/solver/random_source.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace zl {
namespace {

std::vector<double> draw(RandomSource &source, int count) {
    std::vector<double> values;
    for (int k = 0; k < count; ++k) values.push_back(source.nextUnit());
    return values;
}

/// Every value in [0, 1), mean and fraction below 1/2 close to a half, no repeats.
void expectUniformLooking(const std::vector<double> &values) {
    double sum = 0;
    int below = 0;
    for (double v : values) {
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        sum += v;
        below += v < 0.5;
    }
    const double n = static_cast<double>(values.size());
    EXPECT_NEAR(sum / n, 0.5, 0.02);
    EXPECT_NEAR(below / n, 0.5, 0.03);
    EXPECT_EQ(std::set<double>(values.begin(), values.end()).size(), values.size());
}

TEST(RandomSource, FixedSeedRepeatsItsNumbers) {
    RandomSource first = RandomSource::withFixedSeed(42);
    RandomSource second = RandomSource::withFixedSeed(42);
    RandomSource other = RandomSource::withFixedSeed(43);
    const std::vector<double> values = draw(first, 100);
    EXPECT_EQ(values, draw(second, 100));
    EXPECT_NE(values, draw(other, 100));
    EXPECT_TRUE(first.reproducible());
    expectUniformLooking(values);
}

// The old way of reseeding from a coarse clock before each coordinate gave the
// same number for every coordinate read within one clock tick.
TEST(RandomSource, FrozenOrCoarseClockNeverRepeatsNumbers) {
    std::uint64_t ticks = 0;
    for (const auto &clock : std::vector<RandomSource::Clock>{
             [] { return std::uint64_t{1000}; },
             [&ticks] { return ++ticks / 1000; },
         }) {
        RandomSource source = RandomSource::fromClock(clock);
        EXPECT_FALSE(source.reproducible());
        expectUniformLooking(draw(source, 4000));
    }
}

TEST(RandomSource, ClockModeDiffersBetweenSources) {
    RandomSource a = RandomSource::fromClock([] { return std::uint64_t{7}; });
    RandomSource b = RandomSource::fromClock([] { return std::uint64_t{7}; });
    EXPECT_NE(draw(a, 10), draw(b, 10));  // seeded from the entropy device as well
}

} // namespace
} // namespace zl
