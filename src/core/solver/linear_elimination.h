#pragma once
// Gaussian elimination with partial pivoting by rows on the augmented Newton
// system [J | -F], followed by back substitution.

#include <vector>

#include "core/problem/matrix.h"
#include "core/solver/run_state.h"

namespace zl {

enum class SolveResult {
    Solved,    ///< `correction` holds the step of this solve
    Singular,  ///< a diagonal entry was exactly 0 in back substitution; one of the
               ///< run's linearDependence / inconsistency flags has been set
};

/// Solves systemMatrix (n rows, n + 1 columns, the last one the right-hand
/// side) in place into `correction`. The correction is deliberately not
/// cleared first: on a singular row the entries above it keep the previous
/// solve's values, and the classification of that row reads them.
[[nodiscard]] SolveResult solveCorrection(Matrix &systemMatrix, std::vector<double> &correction, RunState &run);

}  // namespace zl
