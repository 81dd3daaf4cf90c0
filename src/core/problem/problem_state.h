#pragma once
// The one problem of a program run: record, solutions and solver arrays together.

#include <cstdint>

#include "core/problem/problem_record.h"
#include "core/problem/solution_store.h"
#include "core/problem/solver_workspace.h"

namespace zl {

/// Largest order the program accepts. Every per-variable array and the
/// order x (order + 1) Newton matrix must fit comfortably in memory, and a
/// Newton cycle costs 2 * order^2 evaluations, so larger systems are refused.
inline constexpr std::int32_t kMaxOrder = 500;

struct ProblemState {
    ProblemSpec record;
    SolutionStore store;
    SolverWorkspace work;

    /// Fixes the order and re-creates every per-variable array empty (numbers 0,
    /// texts ""). Leaves solutionCount, the constants, currentVariable, fileName and
    /// the scalar parameters alone. The order must be 1..kMaxOrder.
    void sizeProblem(std::int32_t order);
};

}  // namespace zl
