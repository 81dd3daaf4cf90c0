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

/// In [0, 1), mean and share below 1/2 near a half, no value repeated.
void expectUniformLooking(const std::vector<double> &values) {
    double sum = 0, below = 0;
    for (double v : values) {
        ASSERT_TRUE(v >= 0 && v < 1) << v;
        sum += v;
        below += v < 0.5;
    }
    EXPECT_NEAR(sum / values.size(), 0.5, 0.02);
    EXPECT_NEAR(below / values.size(), 0.5, 0.03);
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
