#include "core/certify/proving_list_view.h"

#include <algorithm>
#include <cmath>

#include "core/certify/certify_lines.h"

namespace zl {

ProvingListView::ProvingListView(SolutionListView &list, const ProblemState &problem, const IntervalProgram *program)
    : list_(list), problem_(problem), program_(program) {
    if (program_) {
        workspace_.prepare(*program_);
        prover_.emplace(*program_);
    }
}

// Every solution group, in a run's list and in the stored list alike, ends
// with the one empty line the list has.
void ProvingListView::appendLine(const std::string &line) {
    if (line.empty()) {
        const std::optional<double> radius = provedRadius(++groups_);
        list_.appendLine(proofLine(radius ? &*radius : nullptr));
    }
    list_.appendLine(line);
}

void ProvingListView::clearLines() {
    groups_ = 0;
    list_.clearLines();
}

std::optional<double> ProvingListView::provedRadius(int m) {
    if (!prover_ || m > problem_.store.solutionCount) return std::nullopt;
    const auto n = static_cast<std::size_t>(program_->variableCount);
    std::vector<double> point(n);
    for (std::size_t i = 0; i < n; ++i) point[i] = problem_.store.solutions(static_cast<int>(i), m);
    const std::optional<ProvedRoot> root = prover_->proveNear(point, nullptr, nullptr, kInfinity, workspace_);
    if (!root) return std::nullopt;
    const Box region = prover_->widestRegion(*root, workspace_);
    double radius = 0;
    for (std::size_t i = 0; i < n; ++i)
        radius = std::max({radius, root->point[i] - region[i].lo, region[i].hi - root->point[i]});
    return radius;
}

}  // namespace zl
