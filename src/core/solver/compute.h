#pragma once
// A whole run: Explore walks the grid over the search box, Random starts Newton
// from random points; both list what they find through a SolutionListView.
// The window and zerolith-cli both run through these functions, which is what
// keeps their lists line for line the same.
//
// A run takes its options (threads, stop request, progress observer) from
// RunOptions. With more than one thread and a worker factory, the seeds are
// computed on worker threads and merged in the order of a run on one thread,
// so the list is the same line for line whatever the thread count. Every
// callback (list lines, progress) comes on the thread that called the run.

#include <cstdint>
#include <string>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/run_control.h"
#include "core/solver/run_worker.h"
#include "core/solver/solution_list_view.h"

namespace zl {

class RandomSource;

/// How a run ended.
enum class RunEnd {
    Completed,   ///< every seed tried; the problems report was written
    StoreFull,   ///< a new solution arrived with 100 stored: the run stopped at once, no report
    FatalError,  ///< an evaluation failed with a number outside the recoverable set
    Stopped,     ///< a stop was requested: no report; the stop line ends the list
};

struct RunSummary {
    RunEnd end = RunEnd::Completed;
    std::int32_t fatalErrorNumber = 0;  ///< the number that ended the run, for FatalError
    RunUnit unit = RunUnit::Nodes;
    std::uint64_t done = 0;  ///< nodes visited or seeds done, in serial order
    double total = 0;        ///< nodes or seeds of the whole run
};

/// How a parallel run gets its workers; without one a run uses one thread.
struct ParallelRun {
    RunWorkerFactory makeWorker;
};

/// Explore: the grid walk over the limits and subintervals held in the record
/// (record.randomSeeds must be 0). Appends to the list; does not clear it.
[[nodiscard]] RunSummary runExplore(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                                                  const RunOptions &options = {}, const ParallelRun *parallel = nullptr);

/// Random: `seeds` random starting points (record.randomSeeds counts down from it
/// and is 0 afterwards). Appends to the list; does not clear it. The source
/// is left as a run on one thread leaves it: advanced by the seeds drawn.
[[nodiscard]] RunSummary runRandom(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                                   RandomSource &random, std::int32_t seeds, const RunOptions &options = {}, const ParallelRun *parallel = nullptr);

/// Empties the list, the count text and solutionCount; does nothing at all
/// while record.loadingFile is set.
void clearSolutions(ProblemState &problem, SolutionListView &list);

/// The count label's text: "3 solutions" (also "1 solutions", "0 solutions").
std::string solutionCountText(std::int32_t solutionCount);

/// Rebuilds the list from the stored solutions (after Open): for each stored
/// solution its lines with the residuals evaluated there, an empty line, then
/// the count text. Returns 0, or the number of the first failed evaluation.
[[nodiscard]] std::int32_t listSolutions(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list);

}  // namespace zl
