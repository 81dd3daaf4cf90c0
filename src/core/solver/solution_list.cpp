#include "core/solver/solution_list.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/solver/compute.h"
#include "core/solver/residual_evaluation.h"
#include "core/solver/solution_lines.h"

namespace zl {
namespace {

bool matchesStoredSolution(const ProblemState &problem, const double *point, int column) {
    const Matrix &stored = problem.store.solutions;
    for (int i = 0; i < problem.record.order; ++i) {
        if (!(std::fabs(point[i] - stored(i, column)) <= problem.record.maxError)) return false;
    }
    return true;
}

/// Number of stored columns that can actually be read: a count read from a
/// file is never trusted beyond the store's size.
int readableSolutionCount(const ProblemState &problem) {
    if (!problem.record.hasProblem()) return 0;
    const int columns = problem.store.solutions.columns() - 1;
    return std::clamp(problem.store.solutionCount, 0, std::max(columns, 0));
}

/// Within [lower - maxError, upper + maxError] in every variable, the limits
/// taken in either order. NaN is outside.
bool insideSearchBox(const ProblemSpec &record, const double *point) {
    for (int i = 0; i < record.order; ++i) {
        const double a = record.lowerLimits[i];
        const double b = record.upperLimits[i];
        if (!(point[i] >= std::min(a, b) - record.maxError && point[i] <= std::max(a, b) + record.maxError))
            return false;
    }
    return true;
}

}  // namespace

bool sameSolution(const double *a, const double *b, int count, double maxError) {
    for (int i = 0; i < count; ++i)
        if (!(std::fabs(a[i] - b[i]) <= maxError)) return false;
    return true;
}

AcceptResult acceptSolution(ProblemState &problem, SolutionListView &list) {
    const std::size_t n = static_cast<std::size_t>(std::max(problem.record.order, 0));
    std::vector<double> residuals(n);
    for (std::size_t j = 0; j < n; ++j) residuals[j] = problem.work.systemMatrix(static_cast<int>(j), 0);
    return acceptSolution(problem, problem.work.point.data(), residuals.data(), list);
}

AcceptResult acceptSolution(ProblemState &problem, const double *point, const double *residuals,
                            SolutionListView &list) {
    if (problem.store.insideBoxOnly && !insideSearchBox(problem.record, point)) {
        ++problem.store.outsideBox;
        return AcceptResult::OutsideBox;
    }
    for (int m = 1; m <= readableSolutionCount(problem); ++m)
        if (matchesStoredSolution(problem, point, m)) return AcceptResult::Duplicate;
    if (problem.store.full()) return AcceptResult::StoreFull;

    const int column = ++problem.store.solutionCount;
    const ProblemSpec &record = problem.record;
    for (int i = 0; i < record.order; ++i) problem.store.solutions(i, column) = point[i];
    for (int i = 0; i < record.order; ++i)
        list.appendLine(solutionLine(record.varNames[i], point[i], i + 1, residuals[i]));
    list.appendLine("");
    return AcceptResult::Stored;
}

void reportFailure(ProblemState &problem, ResidualSystem &residuals, RunState &run, SolutionListView &list) {
    const ProblemSpec &record = problem.record;
    SolverWorkspace &work = problem.work;
    list.appendLine(std::string(kNoConvergenceLine));
    list.appendLine(std::string(kFailureHeadingLine));
    for (int i = 0; i < record.order; ++i)
        list.appendLine(correctionLine(record.varNames[i], work.point[i], work.correction[i]));
    evaluateResiduals(residuals, run, record.order, work.point.data(),
                      [&work](int j, double value) { work.systemMatrix(j, 0) = value; });
    for (int j = 0; j < record.order; ++j) list.appendLine(equationLine(j + 1, work.systemMatrix(j, 0)));
}

void reportProblems(const RunState &run, SolutionListView &list) {
    for (const std::string &line : problemsReportLines(run)) list.appendLine(line);
}

void clearSolutions(ProblemState &problem, SolutionListView &list) {
    if (problem.record.loadingFile) return;
    list.clearLines();
    list.setCountText("");
    problem.store.solutionCount = 0;
}

std::string solutionCountText(std::int32_t solutionCount) { return std::to_string(solutionCount) + " solutions"; }

// A stored solution whose residual cannot be evaluated is still listed, with
// "error N" in place of that residual, so the list always shows exactly the
// stored solutions and the count matches the store; the first failure's number
// is returned for the caller to report.
std::int32_t listSolutions(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list) {
    list.clearLines();
    list.setCountText("");
    const ProblemSpec &record = problem.record;
    SolverWorkspace &work = problem.work;
    std::int32_t firstError = 0;
    std::vector<std::int32_t> failures(static_cast<std::size_t>(std::max(record.order, 0)));
    for (int m = 1; m <= readableSolutionCount(problem); ++m) {
        for (int i = 0; i < record.order; ++i) work.point[i] = problem.store.solutions(i, m);
        for (int j = 0; j < record.order; ++j)
            failures[j] = evaluateFinite(residuals, j, work.point.data(), work.systemMatrix(j, 0));
        for (int i = 0; i < record.order; ++i) {
            const double x = work.point[i];
            list.appendLine(failures[i] == 0
                                ? solutionLine(record.varNames[i], x, i + 1, work.systemMatrix(i, 0))
                                : solutionLine(record.varNames[i], x, i + 1, failedResidualText(failures[i])));
            if (firstError == 0) firstError = failures[i];
        }
        list.appendLine("");
    }
    list.setCountText(solutionCountText(problem.store.solutionCount));
    return firstError;
}

}  // namespace zl
