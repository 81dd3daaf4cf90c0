#include "core/solver/run_control.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "core/solver/progress_reporter.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace zl {

int resolvedThreadCount(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(threads, 1, kMaxRunThreads);
}

ProgressReporter::ProgressReporter(const RunOptions &options, RunUnit unit, double total)
    : observer_(options.observer), interval_(options.progressInterval), unit_(unit), total_(total),
      start_(Clock::now()), nextReport_(start_ + interval_), lastTick_(start_) {}

RunProgress ProgressReporter::progressAt(std::uint64_t done, std::int32_t solutions) const {
    RunProgress progress;
    progress.unit = unit_;
    progress.done = done;
    progress.total = total_;
    progress.solutions = solutions;
    progress.elapsed = Clock::now() - start_;
    const double doneCount = static_cast<double>(done);
    if (done > 0 && std::isfinite(total_) && total_ >= doneCount) {
        const double seconds =
            std::chrono::duration<double>(progress.elapsed).count() * (total_ - doneCount) / doneCount;
        if (seconds < 1e9)  // about thirty years: beyond that no estimate means anything
            progress.remaining = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
    return progress;
}

void ProgressReporter::retune(std::uint64_t done, std::int32_t solutions) {
    using namespace std::chrono_literals;
    const Clock::time_point now = Clock::now();
    const Clock::duration since = now - lastTick_;
    if (since > 2ms)
        tickStride_ = std::max(1, tickStride_ / 2);
    else if (since < 250us)
        tickStride_ = std::min(kMaxTickStride, tickStride_ * 2);
    lastTick_ = now;
    ticksLeft_ = tickStride_;
    if (observer_ && now >= nextReport_) report(done, solutions);
}

void ProgressReporter::report(std::uint64_t done, std::int32_t solutions) {
    observer_->runProgress(progressAt(done, solutions));
    nextReport_ = Clock::now() + interval_;
}

#if defined(__x86_64__) || defined(__i386__)
namespace {
[[gnu::target("avx")]] void zeroUpperHalves() { _mm256_zeroupper(); }
}  // namespace

void clearUpperVectorState() {
    if (__builtin_cpu_supports("avx")) zeroUpperHalves();
}
#else
void clearUpperVectorState() {}
#endif

}  // namespace zl
