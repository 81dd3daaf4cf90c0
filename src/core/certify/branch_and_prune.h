#pragma once
// The complete search for the roots in a box: every box is narrowed, looked
// into for a root, and then proved to hold no root, proved to hold exactly
// one, or split, until the boxes left are narrower than the minimum width
// (undecided). Worker threads share the boxes; each box is handled the same
// whichever thread takes it, and the findings are merged in an order of their
// own, so the result does not depend on the thread count.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/certify/box.h"
#include "core/certify/box_processor.h"
#include "core/certify/root_prover.h"
#include "core/eval/interval_program.h"

namespace zl {

struct SearchProgress {
    double decidedFraction = 0;  ///< of the search box's volume, decided or split off as too small
    std::int64_t boxes = 0;      ///< processed so far
    std::int64_t proofs = 0;     ///< proofs so far (a root proved twice counts twice)
};

struct SearchControl {
    int threads = 1;                                       ///< worker threads, at least 1
    const std::atomic<bool> *stop = nullptr;               ///< read between boxes
    std::function<void(const SearchProgress &)> progress;  ///< on the calling thread
    std::chrono::milliseconds progressInterval{100};
};

struct SearchResult {
    std::vector<ProvedRoot> roots;  ///< distinct roots, each proved unique in its region, lexicographic order
    std::vector<Box> undecided;     ///< touching undecided boxes merged, largest first
    SearchStatistics statistics;
    bool stopped = false;  ///< the stop request ended the search; the boxes left are undecided
};

class BranchAndPrune {
public:
    BranchAndPrune(const IntervalProgram &program, SearchSettings settings);

    SearchResult run(const Box &searchBox, const SearchControl &control = {});

private:
    const IntervalProgram &program_;
    SearchSettings settings_;
};

}  // namespace zl
