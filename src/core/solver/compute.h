#pragma once
// A whole run: Explore walks the grid over the search box, Random starts Newton
// from random points; both list what they find through a SolutionListView.
// The window and zerolith-cli both run through these functions, which is what
// keeps their lists line for line the same.

#include <cstdint>
#include <string>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/solution_list_view.h"

namespace zl {

class RandomSource;

/// How a run ended.
enum class RunEnd {
    Completed,   ///< every seed tried; the problems report was written
    StoreFull,   ///< a new solution arrived with 100 stored: the run stopped at once, no report
    FatalError,  ///< an evaluation failed with a number outside the recoverable set
};

struct RunSummary {
    RunEnd end = RunEnd::Completed;
    std::int32_t fatalErrorNumber = 0;  ///< the number that ended the run, for FatalError
};

/// Explore: the grid walk over the limits and subintervals held in the record
/// (record.randomSeeds must be 0). Appends to the list; does not clear it.
[[nodiscard]] RunSummary runExplore(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list);

/// Random: `seeds` random starting points (record.randomSeeds counts down from it
/// and is 0 afterwards). Appends to the list; does not clear it.
[[nodiscard]] RunSummary runRandom(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                                   RandomSource &random, std::int32_t seeds);

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
