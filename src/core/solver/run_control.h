#pragma once
// Watching and stopping a run from outside it.
//
// A run reports its progress to a RunObserver at most about ten times a
// second, always on the thread that called the run. A stop request may come
// from any thread, or from a signal handler: it is one lock-free store, and
// the run notices it within a few milliseconds (at its next group of
// residual evaluations, or its next wait for a worker).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace zl {

/// What a run counts its way through.
enum class RunUnit {
    Nodes,  ///< Explore: grid nodes visited
    Seeds,  ///< Random: seeds done
    /// Certify: millionths of the search box's volume decided (total: a million)
    BoxShare,
};

struct RunProgress {
    RunUnit unit = RunUnit::Nodes;
    /// Nodes or seeds done, counted in the order a run on one thread takes them.
    std::uint64_t done = 0;
    /// Nodes or seeds of the whole run. A double: a grid can have more nodes than 64 bits count.
    double total = 0;
    std::int32_t solutions = 0;  ///< stored so far
    std::chrono::steady_clock::duration elapsed{};
    /// From the rate so far; none until something is done.
    std::optional<std::chrono::steady_clock::duration> remaining;
};

class RunObserver {
public:
    virtual ~RunObserver() = default;
    /// Called on the run's own thread, at most once per RunOptions::progressInterval.
    virtual void runProgress(const RunProgress &progress) = 0;
};

/// The stop request of a run. One control serves one run at a time; reset()
/// makes it ready for the next.
class RunControl {
public:
    /// Safe from any thread and from a signal handler.
    void requestStop() noexcept { stop_.store(true, std::memory_order_relaxed); }
    bool stopRequested() const noexcept { return stop_.load(std::memory_order_relaxed); }
    void reset() noexcept { stop_.store(false, std::memory_order_relaxed); }

    const std::atomic<bool> &stopFlag() const noexcept { return stop_; }

private:
    static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler must be able to request a stop");
    std::atomic<bool> stop_{false};
};

/// Most worker threads a run takes on.
inline constexpr int kMaxRunThreads = 256;

struct RunOptions {
    /// Worker threads: 1 runs on the calling thread alone; 0 takes one per
    /// hardware thread. The list is the same for every count.
    int threads = 1;
    const RunControl *control = nullptr;  ///< none: the run cannot be stopped
    RunObserver *observer = nullptr;      ///< none: no progress reports
    std::chrono::milliseconds progressInterval{100};
};

/// The worker count `threads` stands for: 0 becomes the hardware's thread
/// count; the result is within 1..kMaxRunThreads.
int resolvedThreadCount(int threads);

}  // namespace zl
