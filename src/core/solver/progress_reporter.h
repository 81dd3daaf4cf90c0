#pragma once
// Progress reports of one run, at most one per interval, with an estimate of
// the time left from the rate so far.

#include <chrono>
#include <cstdint>

#include "core/solver/run_control.h"

namespace zl {

class ProgressReporter {
public:
    using Clock = std::chrono::steady_clock;

    ProgressReporter(const RunOptions &options, RunUnit unit, double total);

    /// Reports when an interval has passed since the last report (or the start).
    void update(std::uint64_t done, std::int32_t solutions) {
        if (observer_ && Clock::now() >= nextReport_) report(done, solutions);
    }

    /// update() for loops too tight to read the clock every time: reads it
    /// about once a millisecond, however long a call takes.
    void tick(std::uint64_t done, std::int32_t solutions) {
        if (--ticksLeft_ <= 0) retune(done, solutions);
    }

    RunProgress progressAt(std::uint64_t done, std::int32_t solutions) const;

private:
    static constexpr int kMaxTickStride = 256;
    void report(std::uint64_t done, std::int32_t solutions);
    void retune(std::uint64_t done, std::int32_t solutions);

    RunObserver *observer_;
    Clock::duration interval_;
    RunUnit unit_;
    double total_;
    Clock::time_point start_;
    Clock::time_point nextReport_;
    Clock::time_point lastTick_;
    int tickStride_ = 1;
    int ticksLeft_ = 1;
};

/// Clears the upper halves of the vector registers where the processor has
/// them (AVX): code that left them dirty would make the SSE arithmetic of a
/// run many times slower. Called at the start of a run on every thread.
void clearUpperVectorState();

}  // namespace zl
