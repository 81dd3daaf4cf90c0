#pragma once
// Explore and Random on worker threads, merged in serial order: the list, the
// store, the run flags, the state one seed hands to the next and the end of
// the run are those of the same run on one thread.

#include <cstdint>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/compute.h"
#include "core/solver/random_source.h"
#include "core/solver/run_control.h"
#include "core/solver/run_state.h"
#include "core/solver/solution_list_view.h"

namespace zl {

RunSummary runExploreInParallel(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                                const RunOptions &options, const ParallelRun &parallel, int threads);

RunSummary runRandomInParallel(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                               RandomSource &random, std::int32_t seeds, const RunOptions &options,
                               const ParallelRun &parallel, int threads);

/// How many workers a parallel run takes on for this problem: fewer than
/// `threads` when there are fewer pieces of work.
int exploreWorkerCount(const ProblemSpec &record, int threads);
int randomWorkerCount(const ProblemSpec &record, std::int32_t seeds, int threads);

/// The end of every run: the problems report after a completed run, the stop
/// line after a stopped one.
void finishRun(const RunSummary &summary, const RunState &run, SolutionListView &list);

}  // namespace zl
