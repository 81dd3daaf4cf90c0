#include "core/solver/compute.h"

#include <algorithm>

#include "core/solver/explore_grid.h"
#include "core/solver/newton_iteration.h"
#include "core/solver/random_source.h"
#include "core/solver/residual_evaluation.h"
#include "core/solver/run_state.h"
#include "core/solver/solution_lines.h"
#include "core/solver/solution_list.h"

namespace zl {
namespace {

/// One run's seeds: Newton from `point`, acceptance, and the epilogue that
/// lets the window repaint and reports Random's failures.
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
void drawRandomSeed(ProblemState &problem, RandomSource &random) {
    const ProblemSpec &record = problem.record;
    for (int i = 0; i < record.order; ++i)
        problem.work.point[i] =
            random.nextUnit() * (record.upperLimits[i] - record.lowerLimits[i]) + record.lowerLimits[i];
}

RunSummary stoppedByFullStore() { return {RunEnd::StoreFull, 0}; }

}  // namespace

RunSummary runExplore(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list) {
    if (!problem.record.hasProblem()) return {};
    RunState run;
    SeedRunner seeds(problem, residuals, list, run);
    try {
        ExploreGrid grid(problem, residuals, run);
        if (!grid.walk([&seeds] { return seeds.runSeed(); })) return stoppedByFullStore();
    } catch (const FatalEvaluationError &error) {
        return {RunEnd::FatalError, error.number};
    }
    reportProblems(run, list);
    return {};
}

// A seed count below 1 tries no seed at all (the field never offers one).
RunSummary runRandom(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list, RandomSource &random,
                     std::int32_t seeds) {
    if (!problem.record.hasProblem()) return {};
    RunState run;
    run.randomMode = true;
    SeedRunner seedRunner(problem, residuals, list, run);
    ProblemSpec &record = problem.record;
    record.randomSeeds = std::max(seeds, 0);
    RunSummary summary;
    try {
        while (record.randomSeeds != 0) {
            drawRandomSeed(problem, random);
            ++run.trialNumber;
            list.yieldToWindow();
            list.appendLine(trialLine(run.trialNumber));
            --record.randomSeeds;
            if (!seedRunner.runSeed()) {
                summary = stoppedByFullStore();
                break;
            }
        }
        if (summary.end == RunEnd::Completed) reportProblems(run, list);
    } catch (const FatalEvaluationError &error) {
        summary = {RunEnd::FatalError, error.number};
    }
    record.randomSeeds = 0;
    return summary;
}

}  // namespace zl
