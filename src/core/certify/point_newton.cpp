#include "core/certify/point_newton.h"

#include <cmath>

#include "core/certify/dense_linear_algebra.h"

namespace zl {

PointNewton::PointNewton(const IntervalProgram &program)
    : program_(program), n_(static_cast<std::size_t>(program.variableCount)), residuals_(n_), jacobian_(n_ * n_) {}

bool PointNewton::converge(std::vector<double> &point, IntervalWorkspace &workspace, int maxIterations,
                           const Box *region) {
    for (int iteration = 0; iteration < maxIterations; ++iteration) {
        if (!evaluatePoint(program_, point.data(), workspace, residuals_.data(), jacobian_.data())) return false;
        if (!solveLinearSystem(n_, jacobian_.data(), residuals_.data())) return false;
        bool settled = true;
        for (std::size_t i = 0; i < n_; ++i) {
            const double step = residuals_[i];
            point[i] -= step;
            if (!std::isfinite(point[i])) return false;
            if (std::fabs(step) > 1e-14 * (1 + std::fabs(point[i]))) settled = false;
        }
        if (settled) return true;
        if (region && !boxContainsPoint(*region, point.data())) return false;
    }
    return false;
}

}  // namespace zl
