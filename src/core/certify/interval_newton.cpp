#include "core/certify/interval_newton.h"

#include <cmath>

#include "core/certify/dense_linear_algebra.h"
#include "core/certify/hc4_contractor.h"

namespace zl {
namespace {

constexpr double kHalfUlp = 0x1p-53;
/// Bounds the rounding of a product that underflows.
constexpr double kUnderflow = 0x1p-1073;

/// Midpoint and radius of an interval, so that [mid - rad, mid + rad] holds it.
void midRadius(const Interval &x, double &mid, double &rad) {
    mid = 0.5 * x.lo + 0.5 * x.hi;
    rad = nextUp(std::fmax(mid - x.lo, x.hi - mid));
}

}  // namespace

IntervalNewton::IntervalNewton(const IntervalProgram &program)
    : program_(program), n_(static_cast<std::size_t>(program.variableCount)), centerBox_(n_), centerValues_(n_),
      jacobian_(n_ * n_), preconditioner_(n_ * n_), preconditioned_(n_ * n_), rightSide_(n_), offsets_(n_),
      middles_(n_ * n_), radii_(n_ * n_) {}

NewtonStep IntervalNewton::step(Box &box, const double *center, IntervalWorkspace &workspace, StepOptions options) {
    const std::size_t n = n_;
    nearlyLinear_ = false;
    if (!options.valuesReady && !evaluateIntervals(program_, box.data(), workspace)) return NewtonStep::Empty;
    if (!workspace.regular) return NewtonStep::NotApplicable;
    evaluateJacobian(program_, workspace, jacobian_.data());
    bool bounded = true;
    for (const Interval &entry : jacobian_) bounded = bounded && entry.isBounded();
    for (std::size_t i = 0; i < n; ++i) centerBox_[i] = Interval(center[i]);
    if (!evaluateIntervals(program_, centerBox_.data(), workspace)) return NewtonStep::NotApplicable;
    for (std::size_t i = 0; i < n; ++i)
        centerValues_[i] = workspace.values[static_cast<std::size_t>(program_.roots[i])];

    if (!options.reusePreconditioner || !preconditionerReady_) {
        preconditionerReady_ = false;
        for (std::size_t k = 0; k < n * n; ++k) preconditioner_[k] = jacobian_[k].mid();
        if (!invertMatrix(n, preconditioner_, scratch_)) return NewtonStep::NotApplicable;
        preconditionerReady_ = true;
    }
    if (!bounded || !precondition()) preconditionInIntervals();

    for (std::size_t j = 0; j < n; ++j) offsets_[j] = box[j] - Interval(center[j]);
    nearlyLinear_ = true;
    for (std::size_t i = 0; i < n; ++i)
        if (preconditioned_[i * n + i].containsZero()) nearlyLinear_ = false;
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

// Y J and Y F(c) in midpoint-radius form: the products of Y with the
// midpoints in plain doubles, and a radius that covers both J's radii and the
// rounding of those products. A dot product of n terms rounded to nearest
// errs by at most gamma_n = n u / (1 - n u) times the sum of the terms'
// magnitudes (Higham, Accuracy and Stability of Numerical Algorithms, 3.1),
// u = 2^-53; the radius sums are themselves rounded, and are scaled up to
// cover that (Rump, Fast and parallel interval arithmetic, 1999).
bool IntervalNewton::precondition() {
    const std::size_t n = n_;
    const double gamma = 2.0 * static_cast<double>(n + 2) * kHalfUlp;
    const double scaleUp = 1 + 4.0 * static_cast<double>(n + 4) * kHalfUlp;
    const double underflow = static_cast<double>(2 * n + 4) * kUnderflow;
    for (std::size_t k = 0; k < n * n; ++k) {
        midRadius(jacobian_[k], middles_[k], radii_[k]);
        radii_[k] += gamma * std::fabs(middles_[k]);
        if (!std::isfinite(radii_[k])) return false;
    }
    for (std::size_t k = 0; k < n; ++k)
        if (!centerValues_[k].isBounded()) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const double *y = preconditioner_.data() + i * n;
        for (std::size_t j = 0; j < n; ++j) {
            double mid = 0;
            double rad = 0;
            for (std::size_t k = 0; k < n; ++k) {
                mid += y[k] * middles_[k * n + j];
                rad += std::fabs(y[k]) * radii_[k * n + j];
            }
            rad = rad * scaleUp + underflow;
            preconditioned_[i * n + j] = {nextDown(mid - rad), nextUp(mid + rad)};
        }
        double mid = 0;
        double rad = 0;
        for (std::size_t k = 0; k < n; ++k) {
            double fm = 0;
            double fr = 0;
            midRadius(centerValues_[k], fm, fr);
            mid += y[k] * fm;
            rad += std::fabs(y[k]) * (fr + gamma * std::fabs(fm));
        }
        rad = rad * scaleUp + underflow;
        rightSide_[i] = {nextDown(mid - rad), nextUp(mid + rad)};
    }
    // Overflow in a sum leaves an infinite or undefined bound: redo by intervals.
    for (std::size_t k = 0; k < n * n; ++k)
        if (!(preconditioned_[k].lo == preconditioned_[k].lo && preconditioned_[k].hi == preconditioned_[k].hi))
            return false;
    for (std::size_t k = 0; k < n; ++k)
        if (!(rightSide_[k].lo == rightSide_[k].lo && rightSide_[k].hi == rightSide_[k].hi)) return false;
    return true;
}

/// The same products term by term in interval arithmetic, for unbounded
/// entries that have no midpoint-radius form.
void IntervalNewton::preconditionInIntervals() {
    const std::size_t n = n_;
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
}

}  // namespace zl
