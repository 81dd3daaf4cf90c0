#pragma once
// Newton's method from one seed: Jacobian by central differences, full steps,
// convergence when both the step and the residuals are within maxError.

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/run_state.h"

namespace zl {

/// Absolute half-width of the central difference, whatever the variable's scale.
inline constexpr double kDifferenceStep = 0.004;
/// Distance between the two points of a central difference (2 * kDifferenceStep).
inline constexpr double kDifferenceSpan = 0.008;

enum class NewtonOutcome {
    /// In one cycle every |step_j| <= maxError, and then every |F_j| at the new
    /// point <= maxError with all n residuals evaluated. `point` holds the
    /// solution and systemMatrix column 0 its residuals.
    Converged,
    /// ierr was nonzero after a half-column of the Jacobian (`point` keeps that
    /// coordinate at saved -/+ kDifferenceStep) or after the right-hand side.
    /// No run flag is set.
    EvaluationFailure,
    /// Back substitution met an exactly zero diagonal entry; linearDependence
    /// or inconsistency has been set.
    Singular,
    /// max(1, maxCycles) cycles ran without converging; convergenceProblem is set.
    CycleLimit,
};

/// Iterates from the seed in problem.work.point (copied to work.seedPoint
/// first). Evaluation failures outside the recoverable set propagate as
/// FatalEvaluationError, a stop request noticed before a Jacobian column as
/// RunInterrupted. run.firstSolveDone tells afterwards whether a solve completed.
[[nodiscard]] NewtonOutcome newtonFromSeed(ProblemState &problem, ResidualSystem &residuals, RunState &run);

}  // namespace zl
