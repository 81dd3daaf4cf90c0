#pragma once
// Acceptance of converged points into the solution store, and every line a
// run writes to the solution list.

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/run_state.h"
#include "core/solver/solution_list_view.h"

namespace zl {

enum class AcceptResult {
    Duplicate,   ///< within maxError of a stored solution in every variable: nothing stored
    Stored,      ///< stored as the next column and listed, followed by an empty line
    StoreFull,   ///< new, but 100 solutions are stored already: neither stored nor listed
    OutsideBox,  ///< outside the search box while store.insideBoxOnly is set: counted only
};

/// True when every |a_i - b_i| <= maxError (a box, not a distance). NaN never matches.
bool sameSolution(const double *a, const double *b, int count, double maxError);

/// Compares work.point with the stored solutions and stores and lists it if new.
/// The residuals listed are those in systemMatrix column 0.
[[nodiscard]] AcceptResult acceptSolution(ProblemState &problem, SolutionListView &list);

/// The same for a converged point and its residuals held elsewhere (order values each).
AcceptResult acceptSolution(ProblemState &problem, const double *point, const double *residuals,
                            SolutionListView &list);

/// Random's report on a seed that did not converge: the point where it stopped,
/// the last correction, and the residuals evaluated there again (an entry whose
/// evaluation fails keeps its previous value). No empty line follows.
void reportFailure(ProblemState &problem, ResidualSystem &residuals, RunState &run, SolutionListView &list);

/// The problems met during the run, each line at most once.
void reportProblems(const RunState &run, SolutionListView &list);

}  // namespace zl
