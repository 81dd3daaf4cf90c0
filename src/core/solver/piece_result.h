#pragma once
// What a worker computed for one piece of a parallel run, for the merge in
// serial order: per seed its outcome, the run flags it set, the converged
// point or the failure report's lines; and what the merge needs to carry the
// state one seed hands to the next across the piece's edges.
//
// A seed leaves the next one more than the store and the run flags: the
// correction of its last solve, and column 0 of the Newton matrix. A seed that
// completes a linear solve rewrites both before reading them, so from such a
// seed on a worker's results are exactly those of a serial run. A seed that
// ends before its first solve completes (an evaluation failure or a singular
// matrix in its first cycle) reads what the seeds before it left: while no
// seed of the piece has completed a solve, the merge runs such seeds again
// itself, with the true state (they take one cycle at most).

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/problem/solver_workspace.h"
#include "core/solver/newton_iteration.h"
#include "core/solver/run_state.h"

namespace zl {

/// Correction and column 0 of the Newton matrix: the state seeds hand on.
struct CarriedState {
    std::vector<double> correction;
    std::vector<double> residualColumn;

    void capture(const SolverWorkspace &work);
    void restore(SolverWorkspace &work) const;
};

enum class FatalStage : std::uint8_t {
    None,
    InNewton,  ///< an evaluation of the iteration failed outside the recoverable set
    InReport,  ///< an evaluation of Random's failure report did; its first lines stand
};

struct SeedRecord {
    std::uint64_t node = 0;  ///< Explore: nodes of the piece visited up to the seed's node
    NewtonOutcome outcome = NewtonOutcome::EvaluationFailure;
    /// The merge runs the seed again from its starting point (valuesAt).
    bool replay = false;
    FatalStage fatal = FatalStage::None;
    std::int32_t fatalNumber = 0;
    bool convergenceProblem = false, inconsistency = false, linearDependence = false;
    /// Into PieceResult::values: a replayed seed's starting point; a converged
    /// seed's solution, its residuals and its last correction (order values each).
    std::size_t valuesAt = 0;
    std::size_t linesAt = 0, lineCount = 0;  ///< its failure report in PieceResult::lines
};

struct PieceResult {
    std::vector<SeedRecord> seeds;
    std::vector<double> values;
    std::vector<std::string> lines;

    /// A stretch that continues a line: its first node whose signs all
    /// evaluate (compared by the merge with the line's reference so far), and
    /// the signs of its last such node (the reference it leaves).
    bool hasEntry = false;
    std::uint64_t entryNode = 0;
    std::vector<std::int32_t> entrySigns;
    std::vector<double> entryPoint;
    bool hasExit = false;
    std::vector<std::int32_t> exitSigns;

    /// The walk itself met an evaluation failure outside the recoverable set
    /// after the last seed.
    bool walkFatal = false;
    std::int32_t walkFatalNumber = 0;
    /// Reports the piece's fatal error, if any, as the run's residuals would.
    std::function<void()> fatalReport;

    /// The carried state at the piece's end, when a seed of it completed a solve.
    bool hasFinalState = false;
    CarriedState finalState;

    bool interrupted = false;  ///< a stop or the run's end cut the piece short: not to be merged
    std::exception_ptr failure;
};

}  // namespace zl
