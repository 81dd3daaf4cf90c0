#pragma once
// The values the printed report shows, collected from the problem before any
// text is laid out: the layout then works from these values alone.

#include <cstdint>
#include <string>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"

namespace zl {

/// One stored solution: the variables' values, and each equation's residual
/// there or the number of the error that stopped its evaluation.
struct ReportSolution {
    std::vector<double> values;
    std::vector<double> residuals;       ///< residual i, where failures[i] is 0
    std::vector<std::int32_t> failures;  ///< 0, or the error number of residual i
};

struct ReportData {
    std::vector<std::string> names;      ///< one per variable: the report's order
    std::vector<std::string> constants;  ///< the constants list, in list order
    std::vector<double> lowerLimits;
    std::vector<double> upperLimits;
    std::vector<std::int32_t> subintervals;
    std::vector<std::string> equations;  ///< the equation fields' texts; a missing one prints empty
    double maxError = 0;
    std::int32_t maxCycles = 0;
    std::vector<ReportSolution> solutions;
};

/// The report's values for the problem as it stands: names, limits,
/// subintervals and parameters from the record, the given constants-list items
/// and equation texts, and every stored solution with its residuals evaluated
/// there. Each solution is loaded into work.point and its residuals into column
/// 0 of work.systemMatrix, as the solution list does.
ReportData collectReportData(ProblemState &problem, const std::vector<std::string> &constantItems,
                             const std::vector<std::string> &equationTexts, ResidualSystem &residuals);

}  // namespace zl
