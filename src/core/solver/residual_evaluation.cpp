#include "core/solver/residual_evaluation.h"

#include <cmath>

namespace zl {

std::int32_t evaluateFinite(ResidualSystem &residuals, int equation, const double *point,
                            double &value) {
    double result = 0;
    const std::int32_t number = residuals.evaluate(equation, point, result);
    if (number != 0) return number;
    if (!std::isfinite(result)) return kErrOverflow;
    value = result;
    return 0;
}

bool evaluateResidual(ResidualSystem &residuals, RunState &run, int equation, const double *point,
                      double &target) {
    const std::int32_t number = evaluateFinite(residuals, equation, point, target);
    if (number == 0) return true;
    if (!isRecoverableError(number)) throw FatalEvaluationError{number};
    run.ierr = number;
    return false;
}

} // namespace zl
