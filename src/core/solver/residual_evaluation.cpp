#include "core/solver/residual_evaluation.h"

namespace zl {

std::int32_t evaluateFinite(ResidualSystem &residuals, int equation, const double *point, double &value) {
    double result = 0;
    const std::int32_t number = finiteStatus(residuals.evaluate(equation, point, result), result);
    if (number == 0) value = result;
    return number;
}

}  // namespace zl
