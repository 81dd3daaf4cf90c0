#pragma once
// A solution list that passes every line on and adds, after each solution's
// variable lines (before the empty line that closes the group), whether an
// interval Newton test proves that solution to be the only root in a box
// around it, with the box's radius. The lines of the list are unchanged.

#include <cstdint>
#include <string>

#include "core/certify/root_prover.h"
#include "core/eval/interval_program.h"
#include "core/problem/problem_state.h"
#include "core/solver/solution_list_view.h"

namespace zl {

class ProvingListView : public SolutionListView {
public:
    /// `program` encloses the problem's residuals; null when they have no
    /// interval form (every solution is then "NOT PROVED").
    ProvingListView(SolutionListView &list, const ProblemState &problem, const IntervalProgram *program);

    void appendLine(const std::string &line) override;
    void clearLines() override;
    void setCountText(const std::string &text) override { list_.setCountText(text); }
    void yieldToWindow() override { list_.yieldToWindow(); }

private:
    /// The radius of the widest box around stored solution m proved to hold
    /// it and no other root, if any.
    std::optional<double> provedRadius(int m);

    SolutionListView &list_;
    const ProblemState &problem_;
    const IntervalProgram *program_;
    IntervalWorkspace workspace_;
    std::optional<RootProver> prover_;
    int groups_ = 0;  ///< solution groups closed so far: the k-th is stored solution k
};

}  // namespace zl
