#include "core/solver/explore_grid.h"

#include <cmath>

#include "core/solver/residual_evaluation.h"

namespace zl {

double gridStepFor(double lower, double upper, std::int32_t subintervals) {
    if (subintervals < 1 || !(upper > lower)) return 0;
    const double step = (upper - lower) / subintervals;
    return std::isfinite(step) && step > 0 ? step : 0;
}

ExploreGrid::ExploreGrid(ProblemState &problem, ResidualSystem &residuals, RunState &run)
    : record_(problem.record), work_(problem.work), residuals_(residuals), run_(run), last_(problem.record.lastIndex) {}

bool ExploreGrid::walk(const SeedStarter &startSeed) {
    for (int i = 0; i <= last_; ++i) {
        work_.gridStep[i] = gridStepFor(record_.lowerLimits[i], record_.upperLimits[i], record_.subintervals[i]);
        work_.point[i] = record_.lowerLimits[i];
    }
    do {
        if (!walkLine(startSeed)) return false;
    } while (advanceSlowerDigit());
    return true;
}

// A value is stepped from only while it is below its upper limit and the step
// still moves it: grid values are accumulated by repeated addition, so the last
// one may land just beyond the upper limit, and a step that has become too small
// for the value's magnitude ends the variable's walk instead of stalling it.
bool ExploreGrid::canAdvance(int variable) const {
    const double x = work_.point[variable];
    return x < record_.upperLimits[variable] && x + work_.gridStep[variable] > x;
}

void ExploreGrid::advance(int variable) { work_.point[variable] += work_.gridStep[variable]; }

/// Sign (-1, 0, +1) of every residual at `point`. A failed evaluation leaves its
/// sign as it was; returns false when any failed.
bool ExploreGrid::evaluateSigns(std::vector<std::int32_t> &signs) {
    run_.ierr = 0;
    evaluateResiduals(residuals_, run_, last_ + 1, work_.point.data(),
                      [&signs](int j, double value) { signs[j] = (value > 0) - (value < 0); });
    return run_.ierr == 0;
}

bool ExploreGrid::signsDiffer() const {
    for (int j = 0; j <= last_; ++j)
        if (work_.currentSigns[j] != work_.previousSigns[j]) return true;
    return false;
}

/// Moves along the line to the first node whose signs all evaluate; false when
/// the line is exhausted first.
bool ExploreGrid::findReferenceNode() {
    while (!evaluateSigns(work_.previousSigns)) {
        if (!canAdvance(last_)) return false;
        advance(last_);
    }
    return true;
}

bool ExploreGrid::walkLine(const SeedStarter &startSeed) {
    if (!findReferenceNode()) return true;
    while (canAdvance(last_)) {
        advance(last_);
        if (!evaluateSigns(work_.currentSigns)) continue;  // the reference stays put
        if (signsDiffer()) {
            const std::vector<double> node = work_.point;
            const bool goOn = startSeed();
            work_.point = node;
            if (!goOn) return false;
        }
        work_.previousSigns = work_.currentSigns;
    }
    return true;
}

/// Odometer carry into the slower variables; false when the walk is over.
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
