#include "core/solver/newton_iteration.h"

#include <cmath>
#include <optional>

#include "core/solver/linear_elimination.h"
#include "core/solver/residual_evaluation.h"

namespace zl {
namespace {

class NewtonCycle {
public:
    NewtonCycle(ProblemState &problem, ResidualSystem &residuals, RunState &run)
        : record_(problem.record), work_(problem.work), residuals_(residuals), run_(run), n_(problem.record.order) {}

    /// Column i: F(x - h e_i) into the column, then (F(x + h e_i) - column) / 2h.
    /// False when an evaluation failed (or a quotient was not finite) in either half.
    bool formJacobianColumn(int i) {
        double *x = work_.point.data();
        Matrix &a = work_.systemMatrix;
        const double saved = x[i];
        run_.throwIfInterrupted();

        x[i] = saved - kDifferenceStep;
        run_.ierr = 0;
        evaluateResiduals(residuals_, run_, n_, x, [&](int j, double lower) { a(j, i) = lower; });
        if (run_.ierr != 0) return false;

        x[i] = saved + kDifferenceStep;
        run_.ierr = 0;
        evaluateResiduals(residuals_, run_, n_, x, [&](int j, double upper) {
            a(j, i) = (upper - a(j, i)) / kDifferenceSpan;
            if (!std::isfinite(a(j, i))) run_.ierr = kErrOverflow;
        });
        if (run_.ierr != 0) return false;

        x[i] = saved;
        return true;
    }

    /// Column n = -F(x). False when an evaluation failed.
    bool formRightHandSide() {
        run_.ierr = 0;
        evaluateResiduals(residuals_, run_, n_, work_.point.data(),
                          [&](int j, double value) { work_.systemMatrix(j, n_) = -value; });
        return run_.ierr == 0;
    }

    void takeFullStep() {
        for (int j = 0; j < n_; ++j) work_.point[j] += work_.correction[j];
    }

    /// Written as !(|v| <= bound) so that NaN and infinity never pass.
    bool withinError(double value) const { return std::fabs(value) <= record_.maxError; }

    bool stepWithinError() const {
        for (int j = 0; j < n_; ++j)
            if (!withinError(work_.correction[j])) return false;
        return true;
    }

    /// Residuals at the new point into column 0. A failed evaluation counts as
    /// not converged: its entry would otherwise be whatever the solve left there.
    bool residualsWithinError() {
        int evaluated = 0;
        evaluateResiduals(residuals_, run_, n_, work_.point.data(), [&](int j, double value) {
            work_.systemMatrix(j, 0) = value;
            ++evaluated;
        });
        if (evaluated != n_) return false;
        for (int j = 0; j < n_; ++j)
            if (!withinError(work_.systemMatrix(j, 0))) return false;
        return true;
    }

    /// The matrix and right-hand side of a cycle from one call that evaluates
    /// all 2n + 1 points (x - h e_i, x + h e_i for each i, then x) quietly.
    /// False, with nothing reported, when one of them failed or a quotient is
    /// not finite: the cycle is then formed again one column after the other,
    /// which finds and reports the failure as usual.
    bool formSystemAtOnce() {
        const auto n = static_cast<std::size_t>(n_);
        const int pointCount = 2 * n_ + 1;
        std::vector<double> &points = run_.cyclePoints;
        std::vector<double> &values = run_.cycleValues;
        if (points.size() < static_cast<std::size_t>(pointCount) * n) {  // once per run
            points.resize(static_cast<std::size_t>(pointCount) * n);
            values.resize(points.size());
        }
        const double *x = work_.point.data();
        double *p = points.data();
        for (int i = 0; i < n_; ++i) {
            for (int side = 0; side < 2; ++side, p += n) {
                for (std::size_t c = 0; c < n; ++c) p[c] = x[c];
                p[i] = side == 0 ? x[i] - kDifferenceStep : x[i] + kDifferenceStep;
            }
        }
        for (std::size_t c = 0; c < n; ++c) p[c] = x[c];
        run_.throwIfInterrupted();
        if (residuals_.evaluateMany(n_, points.data(), pointCount, values.data()) != pointCount) return false;
        Matrix &a = work_.systemMatrix;
        const double *v = values.data();
        for (int i = 0; i < n_; ++i, v += 2 * n) {
            for (int j = 0; j < n_; ++j) {
                a(j, i) = (v[n + static_cast<std::size_t>(j)] - v[j]) / kDifferenceSpan;
                if (!std::isfinite(a(j, i))) return false;
            }
        }
        for (int j = 0; j < n_; ++j) a(j, n_) = -v[j];
        run_.ierr = 0;
        return true;
    }

    /// One cycle: the outcome when the seed ends here, nothing when another
    /// cycle may follow.
    std::optional<NewtonOutcome> runCycle() {
        if (!formSystemAtOnce()) {
            for (int i = 0; i < n_; ++i)
                if (!formJacobianColumn(i)) return NewtonOutcome::EvaluationFailure;
            if (!formRightHandSide()) return NewtonOutcome::EvaluationFailure;
        }
        if (solveCorrection(work_.systemMatrix, work_.correction, run_) == SolveResult::Singular)
            return NewtonOutcome::Singular;
        run_.firstSolveDone = true;
        takeFullStep();
        if (stepWithinError() && residualsWithinError()) return NewtonOutcome::Converged;
        return std::nullopt;
    }

private:
    const ProblemSpec &record_;
    SolverWorkspace &work_;
    ResidualSystem &residuals_;
    RunState &run_;
    const int n_;
};

}  // namespace

NewtonOutcome newtonFromSeed(ProblemState &problem, ResidualSystem &residuals, RunState &run) {
    problem.work.seedPoint = problem.work.point;
    run.firstSolveDone = false;
    NewtonCycle cycle(problem, residuals, run);
    for (std::int32_t cycleCount = 1;; ++cycleCount) {
        if (const auto outcome = cycle.runCycle()) return *outcome;
        if (cycleCount >= problem.record.maxCycles) break;
    }
    run.convergenceProblem = true;
    return NewtonOutcome::CycleLimit;
}

}  // namespace zl
