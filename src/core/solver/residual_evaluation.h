#pragma once
// One residual evaluation inside a run. A failure whose number the run absorbs
// is recorded in RunState::ierr and leaves the target alone; any other number
// ends the whole run, which unwinds by FatalEvaluationError to the run command.

#include <cstdint>

#include "core/solver/residual_system.h"
#include "core/solver/run_state.h"

namespace zl {

/// Thrown by evaluateResidual for a number outside the recoverable set; caught
/// only where a run starts.
struct FatalEvaluationError {
    std::int32_t number = 0;
};

/// Evaluates residual `equation` at `point`: 0 and the value, or the error
/// number with `value` untouched. A value the system hands back as infinite or
/// NaN counts as an overflow (6), so no non-finite residual enters the solver.
std::int32_t evaluateFinite(ResidualSystem &residuals, int equation, const double *point,
                            double &value);

/// Evaluates residual `equation` at `point` into `target`. Returns true on
/// success; a recoverable failure is recorded in run.ierr.
bool evaluateResidual(ResidualSystem &residuals, RunState &run, int equation, const double *point,
                      double &target);

} // namespace zl
