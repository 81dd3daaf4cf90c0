#pragma once
// What one run remembers between seeds: the problem flags reported at its end,
// the error number of the last failed evaluation and the Random run's counters.

#include <cstdint>
#include <vector>

namespace zl {

struct RunState {
    bool convergenceProblem = false;  ///< some seed used up its cycles
    bool inconsistency = false;       ///< some solve met a reduced row 0 = nonzero
    bool linearDependence = false;    ///< some solve met a reduced row 0 = 0

    /// Number of the last failed evaluation, 0 for none. Cleared before each
    /// group of evaluations whose success matters, examined after it.
    std::int32_t ierr = 0;

    bool randomMode = false;       ///< true exactly while a Random run is under way
    std::int32_t trialNumber = 0;  ///< current random seed, from 1

    /// Scratch space for evaluating every residual at one point.
    std::vector<double> residualValues;
    std::vector<std::int32_t> residualStatuses;

    bool anyProblem() const { return convergenceProblem || inconsistency || linearDependence; }
};

}  // namespace zl
