#include "core/solver/explore_grid.h"

#include <cmath>

namespace zl {

double gridStepFor(double lower, double upper, std::int32_t subintervals) {
    if (subintervals < 1 || !(upper > lower)) return 0;
    const double step = (upper - lower) / subintervals;
    return std::isfinite(step) && step > 0 ? step : 0;
}

ExploreGrid::ExploreGrid(const ProblemSpec &record, SolverWorkspace &work, ResidualSystem &residuals, RunState &run)
    : record_(record), work_(work), residuals_(residuals), run_(run), last_(record.lastIndex), n_(record.order),
      previous_(work.previousSigns.data()), current_(work.currentSigns.data()),
      node_(static_cast<std::size_t>(record.order)) {
    run_.residualValues.resize(static_cast<std::size_t>(n_));
    run_.residualStatuses.resize(static_cast<std::size_t>(n_));
    values_ = run_.residualValues.data();
    statuses_ = run_.residualStatuses.data();
}

void ExploreGrid::recordFailures(int evaluated) {
    run_.ierr = 0;
    for (int j = 0; j < evaluated; ++j) {
        const std::int32_t number = finiteStatus(statuses_[j], values_[j]);
        if (number == 0) continue;
        if (!isRecoverableError(number)) throw FatalEvaluationError{number};
        run_.ierr = number;
    }
}

void ExploreGrid::start(bool atFirstNode) {
    for (int i = 0; i <= last_; ++i) {
        work_.gridStep[i] = gridStepFor(record_.lowerLimits[i], record_.upperLimits[i], record_.subintervals[i]);
        if (atFirstNode) work_.point[i] = record_.lowerLimits[i];
    }
}

bool ExploreGrid::advanceSlowerDigit() {
    if (last_ == 0) return false;
    work_.point[last_] = record_.lowerLimits[last_];
    for (int d = last_ - 1; d >= 0; --d) {
        if (canAdvance(d)) {
            advance(d);
            return true;
        }
        work_.point[d] = record_.lowerLimits[d];
    }
    return false;
}

}  // namespace zl
