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

    /// One cycle: the outcome when the seed ends here, nothing when another
    /// cycle may follow.
    std::optional<NewtonOutcome> runCycle() {
        for (int i = 0; i < n_; ++i)
            if (!formJacobianColumn(i)) return NewtonOutcome::EvaluationFailure;
        if (!formRightHandSide()) return NewtonOutcome::EvaluationFailure;
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
