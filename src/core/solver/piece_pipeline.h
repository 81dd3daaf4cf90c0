#pragma once
// Worker threads that take pieces of a run in order, compute them, and hand
// the results back in that same order to the run's own thread, which merges
// them. At most `window` pieces are out at once, so the results waiting to
// be merged take bounded memory however large the run.
//
// Pieces are sized by time: the first ones are as small as allowed; then each
// is sized from the time the pieces so far took per unit of work (a node or a
// seed), for about kPieceSeconds each. Slow residuals give small pieces, so
// that the merge, the progress and a stop keep up; fast ones large pieces,
// so that handing them out costs next to nothing.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/solver/progress_reporter.h"
#include "core/solver/run_state.h"
#include "core/solver/run_worker.h"

namespace zl {

template <typename Piece, typename Result>
class PiecePipeline {
public:
    /// Gives the next piece, in order, of about the units asked for; false
    /// when there is none. Called under the lock.
    using NextPiece = std::function<bool(Piece &, std::uint64_t)>;
    /// Computes one piece on a worker's thread; the flag is set when the run
    /// no longer needs the piece.
    using Work = std::function<void(RunWorker &, const Piece &, Result &, const std::atomic<bool> &)>;

    /// Pieces of minUnits..maxUnits units of work.
    PiecePipeline(std::vector<std::unique_ptr<RunWorker>> workers, std::size_t window, std::uint64_t minUnits,
                  std::uint64_t maxUnits, NextPiece next, Work work)
        : workers_(std::move(workers)), window_(std::max<std::size_t>(window, 1)), minUnits_(minUnits),
          maxUnits_(std::max(minUnits, maxUnits)), next_(std::move(next)), work_(std::move(work)) {
        try {
            for (auto &worker : workers_) threads_.emplace_back([this, &worker] { serve(*worker); });
        } catch (...) {
            cancel();  // the threads that did start leave at once and join
            throw;
        }
    }
    ~PiecePipeline() { cancel(); }  // the threads join as they go
    PiecePipeline(const PiecePipeline &) = delete;
    PiecePipeline &operator=(const PiecePipeline &) = delete;

    enum class Status { Ready, Waiting, Done };

    /// The next piece in order with its result: Ready as soon as it is
    /// there, Waiting after `timeout` without it, Done when no piece is left.
    Status next(Piece &piece, Result &result, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        const bool ready = resultReady_.wait_for(
            lock, timeout, [this] { return finished_.count(merged_) != 0 || (exhausted_ && merged_ == claimed_); });
        if (!ready) return Status::Waiting;
        const auto found = finished_.find(merged_);
        if (found == finished_.end()) return Status::Done;
        piece = std::move(found->second.first);
        result = std::move(found->second.second);
        finished_.erase(found);
        ++merged_;
        workerWake_.notify_all();
        return Status::Ready;
    }

    /// Makes every worker leave its piece at its next group of evaluations.
    void cancel() {
        {
            std::lock_guard lock(mutex_);
            cancelled_.store(true, std::memory_order_relaxed);
        }
        workerWake_.notify_all();
    }
    const std::atomic<bool> &cancelFlag() const { return cancelled_; }

private:
    void serve(RunWorker &worker) {
        clearUpperVectorState();
        for (;;) {
            Piece piece;
            Result result;
            std::uint64_t index = 0;
            {
                std::unique_lock lock(mutex_);
                workerWake_.wait(lock, [this] { return stopping() || claimed_ - merged_ < window_; });
                if (stopping()) return;
                try {
                    if (!next_(piece, unitsWanted())) {
                        exhausted_ = true;
                        resultReady_.notify_all();
                        return;
                    }
                } catch (...) {
                    exhausted_ = true;  // this result is the last: it carries the failure
                    result.failure = std::current_exception();
                }
                index = claimed_++;
            }
            const auto started = std::chrono::steady_clock::now();
            if (!result.failure) {
                try {
                    work_(worker, piece, result, cancelled_);
                } catch (const RunInterrupted &) {
                    result.interrupted = true;
                } catch (...) {
                    result.failure = std::current_exception();
                }
            }
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
            {
                std::lock_guard lock(mutex_);
                learnPace(took.count(), piece.units());
                finished_.emplace(index, std::make_pair(std::move(piece), std::move(result)));
            }
            resultReady_.notify_all();
        }
    }

    bool stopping() const { return cancelled_.load(std::memory_order_relaxed) || exhausted_; }

    static constexpr double kPieceSeconds = 0.01;

    /// An average of the seconds per unit, leaning on the latest pieces.
    void learnPace(double seconds, std::uint64_t units) {
        if (units == 0) return;
        const double pace = seconds / static_cast<double>(units);
        secondsPerUnit_ = secondsPerUnit_ > 0 ? 0.75 * secondsPerUnit_ + 0.25 * pace : pace;
    }

    std::uint64_t unitsWanted() const {
        if (!(secondsPerUnit_ > 0)) return minUnits_;
        const double units = kPieceSeconds / secondsPerUnit_;
        return units >= static_cast<double>(maxUnits_) ? maxUnits_
                                                       : std::max(minUnits_, static_cast<std::uint64_t>(units));
    }

    std::vector<std::unique_ptr<RunWorker>> workers_;
    const std::uint64_t window_;
    const std::uint64_t minUnits_;
    const std::uint64_t maxUnits_;
    NextPiece next_;
    Work work_;

    std::mutex mutex_;
    std::condition_variable workerWake_;
    std::condition_variable resultReady_;
    std::map<std::uint64_t, std::pair<Piece, Result>> finished_;
    std::uint64_t claimed_ = 0;
    std::uint64_t merged_ = 0;
    bool exhausted_ = false;
    double secondsPerUnit_ = 0;
    std::atomic<bool> cancelled_{false};

    std::vector<std::jthread> threads_;  // last: joined before anything they use goes
};

}  // namespace zl
