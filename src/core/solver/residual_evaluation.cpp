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

} // namespace zl
