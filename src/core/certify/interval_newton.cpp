#include "core/certify/interval_newton.h"

#include "core/certify/dense_linear_algebra.h"
#include "core/certify/hc4_contractor.h"

namespace zl {

IntervalNewton::IntervalNewton(const IntervalProgram &program)
    : program_(program), n_(static_cast<std::size_t>(program.variableCount)), centerBox_(n_), centerValues_(n_),
      jacobian_(n_ * n_), preconditioner_(n_ * n_), preconditioned_(n_ * n_), rightSide_(n_), offsets_(n_) {}

NewtonStep IntervalNewton::step(Box &box, const double *center, IntervalWorkspace &workspace) {
    const std::size_t n = n_;
    for (std::size_t i = 0; i < n; ++i) centerBox_[i] = Interval(center[i]);
    if (!evaluateIntervals(program_, centerBox_.data(), workspace)) return NewtonStep::NotApplicable;
    for (std::size_t i = 0; i < n; ++i)
        centerValues_[i] = workspace.values[static_cast<std::size_t>(program_.roots[i])];

    if (!evaluateIntervals(program_, box.data(), workspace)) return NewtonStep::Empty;
    if (!workspace.regular) return NewtonStep::NotApplicable;
    evaluateDerivatives(program_, workspace);
    for (std::size_t i = 0; i < n; ++i) {
        const Interval *row = workspace.derivatives.data() + static_cast<std::size_t>(program_.roots[i]) * n;
        for (std::size_t j = 0; j < n; ++j) {
            jacobian_[i * n + j] = row[j];
            preconditioner_[i * n + j] = row[j].mid();
        }
    }
    if (!invertMatrix(n, preconditioner_, scratch_)) return NewtonStep::NotApplicable;

    // Y J and Y F(c).
    for (std::size_t i = 0; i < n; ++i) {
        const double *y = preconditioner_.data() + i * n;
        Interval f(0.0);
        for (std::size_t k = 0; k < n; ++k) f = f + y[k] * centerValues_[k];
        rightSide_[i] = f;
        for (std::size_t j = 0; j < n; ++j) {
            Interval m(0.0);
            for (std::size_t k = 0; k < n; ++k) m = m + y[k] * jacobian_[k * n + j];
            preconditioned_[i * n + j] = m;
        }
    }

    for (std::size_t j = 0; j < n; ++j) offsets_[j] = box[j] - Interval(center[j]);
    bool inside = true;
    for (std::size_t i = 0; i < n; ++i) {
        Interval sum = rightSide_[i];
        for (std::size_t j = 0; j < n; ++j)
            if (j != i) sum = sum + preconditioned_[i * n + j] * offsets_[j];
        const Interval diagonal = preconditioned_[i * n + i];
        if (diagonal.containsZero()) {
            inside = false;
        } else {
            const Interval image = Interval(center[i]) + (-sum) / diagonal;
            if (!box[i].containsInInterior(image)) inside = false;
        }
        offsets_[i] = solveProduct(offsets_[i], diagonal, -sum);
        if (offsets_[i].isEmpty()) return NewtonStep::Empty;
        box[i] = intersect(box[i], Interval(center[i]) + offsets_[i]);
        if (box[i].isEmpty()) return NewtonStep::Empty;
    }
    return inside ? NewtonStep::Proved : NewtonStep::Contracted;
}

}  // namespace zl
