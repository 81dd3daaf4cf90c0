#pragma once
// Where the solution list shows each stored solution, so that a solution
// picked in a plot can be picked in the list and the reverse.

#include <string>
#include <vector>

#include "core/problem/problem_state.h"

namespace zl {

/// For each stored solution m (index m - 1), the list row at which its group
/// of order lines begins, or -1 when the list does not show it. A group is
/// the solution's name-value texts at the start of consecutive lines and an
/// empty line after them; Random's failure reports, which begin lines the same
/// way, are followed by equation lines instead.
std::vector<int> solutionGroupRows(const std::vector<std::string> &lines, const ProblemState &problem);

/// The solution (1-based) whose group holds `row`, or 0 for none.
int solutionAtRow(const std::vector<int> &groupRows, int order, int row);

}  // namespace zl
