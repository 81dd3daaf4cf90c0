#include "core/files/report_data.h"

#include <algorithm>

namespace zl {
namespace {

ReportSolution evaluateSolution(ProblemState &problem, int k, ResidualSystem &residuals) {
    const auto order = static_cast<std::size_t>(problem.record.order);
    auto &work = problem.work;
    for (std::size_t j = 0; j < order; ++j) work.point[j] = problem.store.solutions(static_cast<int>(j), k);
    ReportSolution solution;
    solution.values.assign(work.point.begin(), work.point.begin() + static_cast<std::ptrdiff_t>(order));
    solution.residuals.assign(order, 0.0);
    solution.failures.assign(order, 0);
    for (std::size_t i = 0; i < order; ++i) {
        double value = 0;
        solution.failures[i] = residuals.evaluate(static_cast<int>(i), work.point.data(), value);
        if (solution.failures[i] != 0) continue;
        work.systemMatrix(static_cast<int>(i), 0) = value;
        solution.residuals[i] = value;
    }
    return solution;
}

}  // namespace

ReportData collectReportData(ProblemState &problem, const std::vector<std::string> &constantItems,
                             const std::vector<std::string> &equationTexts, ResidualSystem &residuals) {
    const ProblemSpec &record = problem.record;
    ReportData data;
    data.names = record.varNames;
    data.constants = constantItems;
    data.lowerLimits = record.lowerLimits;
    data.upperLimits = record.upperLimits;
    data.subintervals = record.subintervals;
    data.equations = equationTexts;
    data.maxError = record.maxError;
    data.maxCycles = record.maxCycles;
    const int stored = std::min({problem.store.solutionCount, kMaxSolutions, problem.store.solutions.columns() - 1});
    for (int k = 1; k <= stored; ++k) data.solutions.push_back(evaluateSolution(problem, k, residuals));
    return data;
}

}  // namespace zl
