#pragma once
// Explore's walk over the grid laid on the search box, visited like an
// odometer: the last variable is the fastest digit and is walked along lines,
// variable 0 the slowest. Along a line the residual signs of neighbouring
// nodes are compared, and a seed starts wherever they differ.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/run_state.h"

namespace zl {

/// (upper - lower) / subintervals, or 0 for a variable that takes only its
/// lower limit: a count below 1, an upper limit not above the lower one, or a
/// step that is not a finite positive number (infinite width, NaN limits).
double gridStepFor(double lower, double upper, std::int32_t subintervals);

class ExploreGrid {
public:
    /// Called with `point` at the node where a sign changed; returns false to
    /// end the walk at once. `point` is put back at the node afterwards.
    using SeedStarter = std::function<bool()>;

    ExploreGrid(ProblemState &problem, ResidualSystem &residuals, RunState &run);

    /// Walks the whole grid. Returns false when a seed ended the walk early.
    [[nodiscard]] bool walk(const SeedStarter &startSeed);

private:
    [[nodiscard]] bool walkLine(const SeedStarter &startSeed);
    [[nodiscard]] bool advanceSlowerDigit();
    [[nodiscard]] bool findReferenceNode();
    [[nodiscard]] bool evaluateSigns(std::vector<std::int32_t> &signs);
    bool signsDiffer() const;
    bool canAdvance(int variable) const;
    void advance(int variable);

    const ProblemSpec &record_;
    SolverWorkspace &work_;
    ResidualSystem &residuals_;
    RunState &run_;
    const int last_;
};

}  // namespace zl
