#pragma once
// The printed report as lines of text for a fixed-pitch font: the problem,
// its parameters and every stored solution beside the residuals there, laid
// out from the collected values alone.

#include <string>
#include <vector>

#include "core/files/report_data.h"

namespace zl {

/// The report's lines when a line holds `charsPerLine` characters (values
/// below 1 count as 1). Names and equations wrap at that length; the tables
/// use fixed columns. A residual that failed prints as "error N".
std::vector<std::string> reportLines(const ReportData &data, int charsPerLine);

}  // namespace zl
