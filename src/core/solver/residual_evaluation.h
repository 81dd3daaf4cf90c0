#pragma once
// Residual evaluations inside a run. A failure whose number the run absorbs
// is recorded in RunState::ierr and leaves the target alone; any other number
// ends the whole run, which unwinds by FatalEvaluationError to the run command.

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/problem/residual_system.h"
#include "core/solver/run_state.h"

namespace zl {

/// Thrown by evaluateResiduals for a number outside the recoverable set;
/// caught only where a run starts.
struct FatalEvaluationError {
    std::int32_t number = 0;
};

/// A value the system hands back as infinite or NaN counts as an overflow (6),
/// so no non-finite residual enters the solver.
inline std::int32_t finiteStatus(std::int32_t number, double value) {
    return number == 0 && !std::isfinite(value) ? kErrOverflow : number;
}

/// Evaluates residual `equation` at `point`: 0 and the value, or the error
/// number (finiteStatus) with `value` untouched.
[[nodiscard]] std::int32_t evaluateFinite(ResidualSystem &residuals, int equation, const double *point, double &value);

/// Every residual 0..n-1 at `point`, in order: `store(j, value)` for each
/// success, a recoverable failure recorded in run.ierr (its target is left
/// alone), any other number ending the run.
template <typename Store>
void evaluateResiduals(ResidualSystem &residuals, RunState &run, int n, const double *point, Store &&store) {
    std::vector<double> &values = run.residualValues;
    std::vector<std::int32_t> &statuses = run.residualStatuses;
    if (values.size() < static_cast<std::size_t>(n)) {  // once per run
        values.resize(static_cast<std::size_t>(n));
        statuses.resize(static_cast<std::size_t>(n));
    }
    const int evaluated = residuals.evaluateAll(n, point, values.data(), statuses.data());
    for (int j = 0; j < evaluated; ++j) {
        const std::int32_t number = finiteStatus(statuses[j], values[j]);
        if (number == 0) {
            store(j, values[j]);
            continue;
        }
        if (!isRecoverableError(number)) throw FatalEvaluationError{number};
        run.ierr = number;
    }
}

}  // namespace zl
