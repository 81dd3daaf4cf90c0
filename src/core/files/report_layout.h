#pragma once
// The printed report as lines of text for a fixed-pitch font: the problem,
// its parameters and every stored solution beside the residuals there.

#include <string>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"

namespace zl {

/// What the report shows besides the record.
struct ReportSources {
    const std::vector<std::string> &constantItems;  ///< the constants list, in list order
    const std::vector<std::string> &equationTexts;  ///< the equation fields' current texts
    int charsPerLine = 80;                          ///< values below 1 count as 1
};

/// The report's lines. Each stored solution is loaded into work.point and its
/// residuals into column 0 of work.systemMatrix, as for the solution list; a
/// residual that fails to evaluate prints as "error N" and the report goes on.
std::vector<std::string> reportLines(ProblemState &problem, const ReportSources &sources, ResidualSystem &residuals);

}  // namespace zl
