#pragma once
// A worker's side of a seed in a parallel run: Newton on the worker's own
// problem, and, for Random, the failure report written into the piece's
// lines; everything recorded for the merge, nothing accepted or listed.

#include <cstdint>

#include "core/solver/piece_result.h"
#include "core/solver/run_state.h"
#include "core/solver/run_worker.h"

namespace zl {

/// Thrown after a seed's fatal error has been recorded: the piece ends there.
struct PieceEnded {};

class SeedRecorder {
public:
    SeedRecorder(RunWorker &worker, RunState &run, PieceResult &result);

    /// Runs the seed at the worker's point and records it; `node` is the
    /// count of nodes visited so far (Explore).
    void runSeed(std::uint64_t node);

    /// Records the piece's last carried state, once some seed completed a solve.
    void finish();

private:
    RunWorker &worker_;
    RunState &run_;
    PieceResult &result_;
    /// Some seed of the piece completed a solve: the worker's state is now
    /// what a serial run would have.
    bool exact_ = false;
};

}  // namespace zl
