#pragma once
// The texts of the solution list, built from values only so that the window,
// the command line and the tests share one layout.
//
// Name-value texts sit over a 30-column first field: a shorter text leaves
// blanks up to column 30, a longer one overwrites the start of what follows,
// and nothing ever makes the line longer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/solver/run_control.h"
#include "core/solver/run_state.h"

namespace zl {

inline constexpr std::size_t kFirstColumnWidth = 30;
inline constexpr std::string_view kNoConvergenceLine = "NO CONVERGENCE.  BEST RESULTS WERE:";
inline constexpr std::string_view kFailureHeadingLine = "VARIABLE:                     LAST CORRECTION:";

/// `line` with its first characters replaced by `text`, same length as before.
std::string overlayFromStart(std::string line, std::string_view text);

/// "x=1.5" for variable x at 1.5; the name as typed.
std::string nameValueText(std::string_view name, double value);

/// Name-value text over 30 blanks, "EQUATION #", the 1-based number, "=", then
/// `residualText`: "x=1.5" + 25 blanks + "EQUATION #1=0".
std::string solutionLine(std::string_view name, double value, int equationNumber, std::string_view residualText);
std::string solutionLine(std::string_view name, double value, int equationNumber, double residual);

/// Name-value text over 30 blanks followed by the last correction.
std::string correctionLine(std::string_view name, double value, double correction);

/// "EQUATION #2=0.5", no leading blanks.
std::string equationLine(int equationNumber, double residual);

/// "TRIAL3:".
std::string trialLine(std::int32_t trialNumber);

/// "PROBLEMS ENCOUNTERED:" and one line per flag set, or nothing when none is.
std::vector<std::string> problemsReportLines(const RunState &run);

/// The line that ends a stopped run's list: "RUN STOPPED: 1234567 of
/// 3388518008 nodes." or "RUN STOPPED: 41 of 1000 seeds.".
std::string runStoppedLine(RunUnit unit, std::uint64_t done, double total);

/// The last line of a run that stored only the points inside the search box:
/// "OUTSIDE THE BOX, NOT STORED: 94 converged points."
std::string outsideBoxLine(std::int64_t count);

/// A count held as a double, as a whole number: "3388518008"; beyond 64 bits
/// in the general number text ("1E+20").
std::string countText(double count);

/// How the list shows a residual that could not be evaluated: "error 11".
std::string failedResidualText(std::int32_t errorNumber);

}  // namespace zl
