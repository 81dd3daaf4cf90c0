#pragma once
// Uniform numbers in [0, 1) for Random's seeds.
//
// In clock mode a fresh clock reading is mixed into the source's state before
// every number, as the program has always drawn from the clock; the reading is
// folded into a separate word that is xor-ed onto the generator's output, so
// equal or coarse clock readings never make two numbers repeat each other and
// every number stays uniform and independent of the others. A fixed seed gives
// the same numbers every time (no clock), for reproducible runs.

#include <cstdint>
#include <functional>
#include <random>

namespace zl {

class RandomSource {
public:
    /// A clock reading; any unit, only its change matters.
    using Clock = std::function<std::uint64_t()>;

    /// Clock mode with the system's steady clock in nanoseconds.
    static RandomSource fromClock();
    /// Clock mode with a given clock (tests freeze it).
    static RandomSource fromClock(Clock clock);
    /// Reproducible mode: the same seed gives the same numbers.
    static RandomSource withFixedSeed(std::uint64_t seed);

    /// The next number, uniform in [0, 1).
    double nextUnit();

    bool reproducible() const { return !clock_; }

private:
    RandomSource(std::uint64_t seed, Clock clock);

    std::mt19937_64 generator_;
    std::uint64_t clockMix_ = 0;
    Clock clock_;
};

}  // namespace zl
