#include "core/solver/random_source.h"

#include <chrono>
#include <utility>

namespace zl {
namespace {

/// SplitMix64's finaliser: spreads every input bit over the whole word.
std::uint64_t mixBits(std::uint64_t z) {
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint64_t steadyClockNanoseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

std::uint64_t startupEntropy(const RandomSource::Clock &clock) {
    std::uint64_t seed = mixBits(clock());
    try {
        std::random_device device;
        seed ^= (static_cast<std::uint64_t>(device()) << 32) | device();
    } catch (...) {
        // No entropy device: the clock alone seeds the generator.
    }
    return seed;
}

}  // namespace

RandomSource::RandomSource(std::uint64_t seed, Clock clock) : generator_(seed), clock_(std::move(clock)) {}

RandomSource RandomSource::fromClock() { return fromClock(steadyClockNanoseconds); }

RandomSource RandomSource::fromClock(Clock clock) {
    const std::uint64_t seed = startupEntropy(clock);
    return RandomSource(seed, std::move(clock));
}

RandomSource RandomSource::withFixedSeed(std::uint64_t seed) { return RandomSource(seed, Clock()); }

double RandomSource::nextUnit() {
    std::uint64_t bits = generator_();
    if (clock_) {
        clockMix_ = mixBits(clockMix_ ^ clock_());
        bits ^= clockMix_;
    }
    return static_cast<double>(bits >> 11) * 0x1.0p-53;  // top 53 bits: [0, 1)
}

}  // namespace zl
