#include "core/problem/problem_state.h"

#include <cassert>

namespace zl {

void ProblemState::sizeProblem(std::int32_t newOrder) {
    assert(isUsableOrder(newOrder));
    const auto n = static_cast<std::size_t>(newOrder);
    record.order = newOrder;
    record.lastIndex = newOrder - 1;

    record.varNames.assign(n, std::string());
    record.equations.assign(n, std::string());
    record.residuals.assign(n, std::string());
    record.lowerLimits.assign(n, 0.0);
    record.upperLimits.assign(n, 0.0);
    record.subintervals.assign(n, 0);

    store.solutions = Matrix(newOrder, kMaxSolutions + 1);

    work.point.assign(n, 0.0);
    work.systemMatrix = Matrix(newOrder, newOrder + 1);
    work.correction.assign(n, 0.0);
    work.seedPoint.assign(n, 0.0);
    work.gridStep.assign(n, 0.0);
    work.previousSigns.assign(n, 0);
    work.currentSigns.assign(n, 0);
}

}  // namespace zl
