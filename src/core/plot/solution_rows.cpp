#include "core/plot/solution_rows.h"

#include <algorithm>

#include "core/solver/solution_lines.h"

namespace zl {

namespace {

/// A solution line begins with the name-value text, cut at the line's end
/// when that text is longer, and goes on to the equation's residual.
bool beginsWith(const std::string &line, const std::string &nameValue) {
    if (line.size() <= std::min(nameValue.size(), kFirstColumnWidth)) return false;
    const std::size_t shown = std::min(nameValue.size(), line.size());
    return line.compare(0, shown, nameValue, 0, shown) == 0;
}

bool groupAt(const std::vector<std::string> &lines, std::size_t row, const ProblemState &problem, int solution) {
    const auto order = static_cast<std::size_t>(problem.record.order);
    if (row + order >= lines.size() || !lines[row + order].empty()) return false;
    for (std::size_t i = 0; i < order; ++i) {
        const double value = problem.store.solutions(static_cast<int>(i), solution);
        if (!beginsWith(lines[row + i], nameValueText(problem.record.varNames[i], value))) return false;
    }
    return true;
}

}  // namespace

std::vector<int> solutionGroupRows(const std::vector<std::string> &lines, const ProblemState &problem) {
    const int count = std::max(problem.store.solutionCount, 0);
    std::vector<int> rows(static_cast<std::size_t>(count), -1);
    const ProblemSpec &record = problem.record;
    if (record.order < 1 || record.varNames.size() != static_cast<std::size_t>(record.order) ||
        problem.store.solutions.rows() < record.order)
        return rows;
    // Solutions are listed in the order they are stored.
    std::size_t from = 0;
    for (int m = 1; m <= count && m < problem.store.solutions.columns(); ++m) {
        for (std::size_t row = from; row < lines.size(); ++row) {
            if (groupAt(lines, row, problem, m)) {
                rows[static_cast<std::size_t>(m - 1)] = static_cast<int>(row);
                from = row + static_cast<std::size_t>(record.order) + 1;
                break;
            }
        }
    }
    return rows;
}

int solutionAtRow(const std::vector<int> &groupRows, int order, int row) {
    for (std::size_t m = 0; m < groupRows.size(); ++m)
        if (groupRows[m] >= 0 && row >= groupRows[m] && row < groupRows[m] + order) return static_cast<int>(m) + 1;
    return 0;
}

}  // namespace zl
