#pragma once
// The one problem of a program run: record, solutions and solver arrays together.

#include <cstdint>

#include "core/problem/field_rules.h"
#include "core/problem/problem_record.h"
#include "core/problem/solution_store.h"
#include "core/problem/solver_workspace.h"

namespace zl {

struct ProblemState {
    ProblemSpec record;
    SolutionStore store;
    SolverWorkspace work;

    /// Fixes the order and re-creates every per-variable array empty (numbers 0,
    /// texts ""). Leaves solutionCount, the constants, currentVariable, fileName and
    /// the scalar parameters alone. The order must be usable (isUsableOrder).
    void sizeProblem(std::int32_t order);
};

}  // namespace zl
