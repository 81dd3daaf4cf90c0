#include "core/certify/branch_and_prune.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "core/certify/findings_merge.h"
#include "core/solver/progress_reporter.h"

namespace zl {
namespace {

/// The boxes waiting for a worker, and which workers wait for boxes. Each
/// worker keeps its own stack and hands boxes over only while another waits.
class SearchState {
public:
    SearchState(const Box &searchBox, const SearchControl &control)
        : control_(control), workers_(std::max(control.threads, 1)) {
        pool_.push_back(SearchBox{searchBox, {}});
        for (const Interval &x : searchBox) searchWidths_.push_back(x.width());
        lastReport_ = std::chrono::steady_clock::now();
    }

    /// Runs one worker's share until no box is left anywhere.
    void work(BoxProcessor &processor, BoxFindings &findings, bool reportsProgress) {
        clearUpperVectorState();
        std::vector<SearchBox> stack;
        std::vector<SearchBox> children;
        for (;;) {
            if (stack.empty() && !takeBox(stack)) return;
            if (stopRequested()) return giveUp(stack, findings);
            SearchBox box = std::move(stack.back());
            stack.pop_back();
            const double volume = relativeVolume(box.box);
            children.clear();
            const std::int64_t proofsBefore = findings.statistics.proofs;
            processor.process(box, children, findings);
            proofs_.fetch_add(findings.statistics.proofs - proofsBefore, std::memory_order_relaxed);
            double split = 0;
            for (SearchBox &child : children) {
                split += relativeVolume(child.box);
                stack.push_back(std::move(child));
            }
            addDecided(volume - split);
            boxes_.fetch_add(1, std::memory_order_relaxed);
            if (waiting_.load(std::memory_order_relaxed) > 0 && stack.size() > 1) share(stack);
            if (reportsProgress) reportIfDue();
        }
    }

    /// On the calling thread while workers run: progress reports until they finish.
    void watch() {
        std::unique_lock lock(mutex_);
        while (!finished_) {
            finishedSignal_.wait_for(lock, control_.progressInterval);
            lock.unlock();
            reportIfDue();
            lock.lock();
        }
    }

    bool stopped() const { return stopped_.load(); }

private:
    bool stopRequested() {
        if (control_.stop && control_.stop->load(std::memory_order_relaxed)) stopped_.store(true);
        return stopped_.load(std::memory_order_relaxed);
    }

    /// Moves a waiting box to `stack`; false when every worker waits and no box is left.
    bool takeBox(std::vector<SearchBox> &stack) {
        std::unique_lock lock(mutex_);
        ++waitingCount_;
        waiting_.store(waitingCount_, std::memory_order_relaxed);
        while (pool_.empty() && !finished_) {
            if (waitingCount_ == workers_) {
                finished_ = true;
                boxAvailable_.notify_all();
                finishedSignal_.notify_all();
                break;
            }
            boxAvailable_.wait(lock);
        }
        --waitingCount_;
        waiting_.store(waitingCount_, std::memory_order_relaxed);
        if (pool_.empty()) return false;
        stack.push_back(std::move(pool_.back()));
        pool_.pop_back();
        return true;
    }

    /// Hands the older half of the stack (the larger boxes) to waiting workers.
    void share(std::vector<SearchBox> &stack) {
        const std::size_t count = stack.size() / 2;
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < count; ++i) pool_.push_back(std::move(stack[i]));
        stack.erase(stack.begin(), stack.begin() + static_cast<std::ptrdiff_t>(count));
        boxAvailable_.notify_all();
    }

    /// After a stop: this worker's boxes and the waiting ones stay undecided.
    void giveUp(std::vector<SearchBox> &stack, BoxFindings &findings) {
        for (SearchBox &box : stack) findings.undecided.push_back(std::move(box.box));
        stack.clear();
        std::lock_guard lock(mutex_);
        for (SearchBox &box : pool_) findings.undecided.push_back(std::move(box.box));
        pool_.clear();
        finished_ = true;
        boxAvailable_.notify_all();
        finishedSignal_.notify_all();
    }

    /// The box's volume as a fraction of the search box's.
    double relativeVolume(const Box &box) const {
        double fraction = 1;
        for (std::size_t i = 0; i < box.size(); ++i)
            if (searchWidths_[i] > 0) fraction *= box[i].width() / searchWidths_[i];
        return fraction;
    }

    void addDecided(double volume) {
        double seen = decided_.load(std::memory_order_relaxed);
        while (!decided_.compare_exchange_weak(seen, seen + volume, std::memory_order_relaxed)) {}
    }

    void reportIfDue() {
        if (!control_.progress) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport_ < control_.progressInterval) return;
        lastReport_ = now;
        SearchProgress progress;
        progress.decidedFraction = std::min(1.0, decided_.load(std::memory_order_relaxed));
        progress.boxes = boxes_.load(std::memory_order_relaxed);
        progress.proofs = proofs_.load(std::memory_order_relaxed);
        control_.progress(progress);
    }

    const SearchControl &control_;
    const int workers_;
    std::vector<double> searchWidths_;

    std::mutex mutex_;
    std::condition_variable boxAvailable_;
    std::condition_variable finishedSignal_;
    std::vector<SearchBox> pool_;
    int waitingCount_ = 0;
    bool finished_ = false;

    std::atomic<int> waiting_{0};
    std::atomic<bool> stopped_{false};
    std::atomic<double> decided_{0};
    std::atomic<std::int64_t> boxes_{0};
    std::atomic<std::int64_t> proofs_{0};
    std::chrono::steady_clock::time_point lastReport_;
};

}  // namespace

BranchAndPrune::BranchAndPrune(const IntervalProgram &program, SearchSettings settings)
    : program_(program), settings_(settings) {}

SearchResult BranchAndPrune::run(const Box &searchBox, const SearchControl &control) {
    const int workers = std::max(control.threads, 1);
    SearchState state(searchBox, control);
    std::vector<std::unique_ptr<BoxProcessor>> processors;
    std::vector<BoxFindings> findings(static_cast<std::size_t>(workers));
    for (int k = 0; k < workers; ++k)
        processors.push_back(std::make_unique<BoxProcessor>(program_, settings_, searchBox));
    if (workers == 1) {
        state.work(*processors[0], findings[0], true);
    } else {
        std::vector<std::jthread> threads;
        for (int k = 0; k < workers; ++k)
            threads.emplace_back([&, k] { state.work(*processors[k], findings[static_cast<std::size_t>(k)], false); });
        state.watch();
    }

    SearchResult result;
    std::vector<ProvedRoot> proofs;
    std::vector<Box> undecided;
    for (BoxFindings &found : findings) {
        result.statistics.add(found.statistics);
        std::move(found.proofs.begin(), found.proofs.end(), std::back_inserter(proofs));
        std::move(found.undecided.begin(), found.undecided.end(), std::back_inserter(undecided));
    }
    MergedFindings merged = mergeFindings(std::move(proofs), std::move(undecided));
    result.roots = std::move(merged.roots);
    result.undecided = std::move(merged.undecided);
    result.stopped = state.stopped();
    return result;
}

}  // namespace zl
