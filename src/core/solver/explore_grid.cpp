#include "core/solver/explore_grid.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace zl {

double gridStepFor(double lower, double upper, std::int32_t subintervals) {
    if (subintervals < 1 || !(upper > lower)) return 0;
    const double step = (upper - lower) / subintervals;
    return std::isfinite(step) && step > 0 ? step : 0;
}

ExploreGrid::ExploreGrid(const ProblemSpec &record, SolverWorkspace &work, ResidualSystem &residuals, RunState &run)
    : record_(record), work_(work), residuals_(residuals), run_(run), last_(record.lastIndex), n_(record.order),
      previous_(work.previousSigns.data()), current_(work.currentSigns.data()),
      node_(static_cast<std::size_t>(record.order)),
      aheadPoints_(static_cast<std::size_t>(kAhead) * static_cast<std::size_t>(std::max(record.order, 0))),
      aheadValues_(aheadPoints_.size()) {
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

int ExploreGrid::evaluateAhead(std::uint64_t nodesLeft) {
    if (aheadUnavailable_) return 0;
    if (run_.interruptRequested()) [[unlikely]] {
        catchUpVariables();
        throw RunInterrupted{};
    }
    // The coordinates as the walk's own steps make them (see canAdvance).
    const double upper = record_.upperLimits[last_];
    const double step = work_.gridStep[last_];
    double x = work_.point[last_];
    const std::uint64_t wanted = std::min<std::uint64_t>(static_cast<std::uint64_t>(aheadSize_), nodesLeft);
    if (!aheadRowsFilled_) {
        // Along a stretch only the last coordinate moves: the others are written once.
        for (int k = 0; k < kAhead; ++k)
            std::copy(work_.point.begin(), work_.point.end(), aheadPoints_.begin() + k * n_);
        aheadRowsFilled_ = true;
    }
    double *node = aheadPoints_.data() + last_;
    int count = 0;
    for (;;) {
        *node = x;
        node += n_;
        if (++count == static_cast<int>(wanted) || !(x < upper && x + step > x)) break;
        x += step;
    }
    const int clean = residuals_.evaluateMany(n_, aheadPoints_.data(), count, aheadValues_.data());
    variablesBehind_ = false;
    aheadNext_ = 0;
    aheadCount_ = std::max(clean, 0);
    aheadUnavailable_ = clean < 0;
    // A failing node ends a call early: after one, the next call is short.
    aheadSize_ = clean == count ? std::min(2 * aheadSize_, kAhead) : 1;
    return aheadCount_;
}

void ExploreGrid::catchUpVariables() {
    if (!variablesBehind_) return;
    variablesBehind_ = false;
    const double *node = aheadPoints_.data() + static_cast<std::size_t>(aheadNext_ - 1) * n_;
    std::ignore = residuals_.evaluateMany(n_, node, 1, values_);
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
