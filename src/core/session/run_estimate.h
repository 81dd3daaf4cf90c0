#pragma once
// What a run is about to cost, known before it starts, and how far it has got:
// the window asks before an Explore of hours and shows the run's progress.

#include <chrono>
#include <optional>
#include <string>

#include "core/problem/problem_record.h"
#include "core/problem/residual_system.h"
#include "core/solver/run_control.h"

namespace zl {

struct ExploreEstimate {
    double nodes = 0;                         ///< the grid's node count
    std::chrono::duration<double> perNode{};  ///< one node's residuals, on one thread

    /// The walk's time on `threads` workers (0: every hardware thread).
    std::chrono::duration<double> time(int threads) const;
};

/// Times the residuals of the prepared problem at nodes spread over its grid
/// for about `sampleTime`. None when a residual fails with an error the run
/// does not absorb: the run would end at once.
///
/// A timed sample rather than a fixed cost per node: a node costs what the
/// user's equations cost, which spans two orders of magnitude between a
/// polynomial and a sum of sines, and the machine's speed spans another. The
/// sample leaves out the Newton solves, which start only where a sign
/// changes: on the grids large enough to ask about, the walk is the bulk.
std::optional<ExploreEstimate> estimateExplore(const ProblemSpec &record, ResidualSystem &residuals,
                                               std::chrono::milliseconds sampleTime);

/// "1234567 of 8000000 nodes, 2 solutions, 0:04 elapsed, 0:09 left".
std::string runProgressText(const RunProgress &progress);

/// A long time roughly, as the user weighs it: "about 3 minutes", "about 5
/// hours", "about 12 days", "about 4000 years".
std::string roughDurationText(double seconds);

/// A duration as the user reads it: "0:07", "12:34", "3:25:07".
std::string durationText(std::chrono::steady_clock::duration duration);

}  // namespace zl
