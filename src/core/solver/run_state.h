#pragma once
// What one run remembers between seeds: the problem flags reported at its end,
// the error number of the last failed evaluation and the Random run's counters.

#include <atomic>
#include <cstdint>
#include <vector>

namespace zl {

/// Thrown where a run notices a stop request; caught only where a run (or a
/// worker's piece of it) starts.
struct RunInterrupted {};

struct RunState {
    bool convergenceProblem = false;  ///< some seed used up its cycles
    bool inconsistency = false;       ///< some solve met a reduced row 0 = nonzero
    bool linearDependence = false;    ///< some solve met a reduced row 0 = 0

    /// Number of the last failed evaluation, 0 for none. Cleared before each
    /// group of evaluations whose success matters, examined after it.
    std::int32_t ierr = 0;

    bool randomMode = false;       ///< true exactly while a Random run is under way
    std::int32_t trialNumber = 0;  ///< current random seed, from 1

    /// Whether the current seed has completed a linear solve. Until it has,
    /// what the seed leaves behind (its flags, the correction, column 0 of
    /// the matrix) still depends on the seeds before it.
    bool firstSolveDone = false;

    /// Either flag set ends the run at its next group of evaluations: the
    /// caller's stop request, and for a worker the end of the whole run.
    const std::atomic<bool> *stopRequest = nullptr;
    const std::atomic<bool> *cancelRequest = nullptr;

    /// Scratch space for evaluating every residual at one point.
    std::vector<double> residualValues;
    std::vector<std::int32_t> residualStatuses;
    /// Scratch space for the points of one Newton cycle and their residuals.
    std::vector<double> cyclePoints;
    std::vector<double> cycleValues;

    bool anyProblem() const { return convergenceProblem || inconsistency || linearDependence; }
    void clearProblems() { convergenceProblem = inconsistency = linearDependence = false; }

    bool interruptRequested() const {
        return (stopRequest && stopRequest->load(std::memory_order_relaxed)) ||
               (cancelRequest && cancelRequest->load(std::memory_order_relaxed));
    }
    void throwIfInterrupted() const {
        if (interruptRequested()) [[unlikely]]
            throw RunInterrupted{};
    }
};

}  // namespace zl
