#pragma once
// The complete search for the roots in a box: boxes are narrowed by
// constraint propagation and interval Newton steps, searched for a root by
// Newton's method from their midpoints, and bisected, until each is proved to
// hold no root, proved to hold exactly one, or is narrower than the minimum
// width (undecided).

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/certify/box.h"
#include "core/certify/root_prover.h"
#include "core/eval/interval_program.h"

namespace zl {

struct SearchSettings {
    /// A box whose every width is below this is not bisected again.
    double minWidth = 1e-8;
    /// A root may be proved in a box reaching this far outside the search
    /// box: a root on a face is then found, one just outside it may be too.
    double faceTolerance = 1e-8;
};

struct SearchStatistics {
    std::int64_t boxes = 0;  ///< boxes taken from the stack
    std::int64_t bisections = 0;
    std::int64_t newtonRuns = 0;  ///< quick Newton iterations from midpoints
    std::int64_t proofs = 0;      ///< successful proofs, duplicates included
};

struct SearchResult {
    std::vector<ProvedRoot> roots;  ///< each proved unique in its region, in lexicographic order of points
    std::vector<Box> undecided;     ///< touching undecided boxes merged, largest first
    SearchStatistics statistics;
    bool stopped = false;  ///< the stop request was honoured before the search ended
};

class BranchAndPrune {
public:
    BranchAndPrune(const IntervalProgram &program, SearchSettings settings);
    ~BranchAndPrune();

    /// Searches `searchBox`. `stop` is read between boxes; when it turns
    /// true the search ends with what it has, the rest counted undecided.
    SearchResult run(const Box &searchBox, const std::atomic<bool> *stop = nullptr);

private:
    class Worker;
    const IntervalProgram &program_;
    SearchSettings settings_;
};

}  // namespace zl
