#pragma once
// What one worker thread of a parallel run computes with: its own copy of the
// problem and its own residuals, none of it shared with another thread.

#include <functional>
#include <memory>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"

namespace zl {

class RunWorker {
public:
    virtual ~RunWorker() = default;

    /// The worker's copy of the run's problem (record and working arrays).
    virtual ProblemState &problem() = 0;
    /// Residuals that give the same values and error numbers as the run's own.
    virtual ResidualSystem &residuals() = 0;

    /// Called on the worker's thread right after an evaluation failed with a
    /// number outside the recoverable set. Returns what reports that failure
    /// as the run's own residuals would have reported it (the script error
    /// message); the run calls it on its own thread when the merge in serial
    /// order reaches the failure. Empty when there is nothing to report.
    virtual std::function<void()> takeFatalErrorReport() = 0;
};

/// Makes one worker; called on the run's thread before the workers start.
using RunWorkerFactory = std::function<std::unique_ptr<RunWorker>()>;

}  // namespace zl
