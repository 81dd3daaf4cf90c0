#pragma once
// One seed as a run on one thread takes it: Newton from `point`, acceptance,
// and the epilogue that lets the window repaint and reports Random's failures.

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/newton_iteration.h"
#include "core/solver/random_source.h"
#include "core/solver/run_state.h"
#include "core/solver/solution_list.h"
#include "core/solver/solution_list_view.h"

namespace zl {

class SeedRunner {
public:
    SeedRunner(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list, RunState &run)
        : problem_(problem), residuals_(residuals), list_(list), run_(run) {}

    /// False when the store was full and the run must end at once.
    bool runSeed() {
        // Whatever a previous seed left, a seed that stops without passing both
        // tests is not converged, even in its first cycle.
        const bool converged = newtonFromSeed(problem_, residuals_, run_) == NewtonOutcome::Converged;
        if (converged && acceptSolution(problem_, list_) == AcceptResult::StoreFull) return false;
        list_.yieldToWindow();
        if (!converged && run_.randomMode) reportFailure(problem_, residuals_, run_, list_);
        list_.yieldToWindow();
        return true;
    }

private:
    ProblemState &problem_;
    ResidualSystem &residuals_;
    SolutionListView &list_;
    RunState &run_;
};

/// x_i = r * (upper_i - lower_i) + lower_i with a fresh r for every coordinate.
inline void drawRandomSeed(const ProblemSpec &record, RandomSource &random, double *point) {
    for (int i = 0; i < record.order; ++i)
        point[i] = random.nextUnit() * (record.upperLimits[i] - record.lowerLimits[i]) + record.lowerLimits[i];
}

}  // namespace zl
