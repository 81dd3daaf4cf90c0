#pragma once
// Explore's walk over the grid laid on the search box, visited like an
// odometer: the last variable is the fastest digit and is walked along lines,
// variable 0 the slowest. Along a line the residual signs of neighbouring
// nodes are compared, and a seed starts wherever they differ.
//
// A walk reports to a visitor, a class with these members:
//   void visitNode();                            once per node, before its signs are evaluated
//   void referenceFound(const std::int32_t *);   the first node of a stretch whose signs all evaluate
//   bool startSeed();                            `point` is at a node where a sign changed; false
//                                                ends the walk. `point` is put back afterwards.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/residual_evaluation.h"
#include "core/solver/run_state.h"

namespace zl {

/// (upper - lower) / subintervals, or 0 for a variable that takes only its
/// lower limit: a count below 1, an upper limit not above the lower one, or a
/// step that is not a finite positive number (infinite width, NaN limits).
double gridStepFor(double lower, double upper, std::int32_t subintervals);

class ExploreGrid {
public:
    /// No bound on the nodes of a stretch: it runs to the end of its line.
    static constexpr std::uint64_t kWholeLine = std::numeric_limits<std::uint64_t>::max();

    ExploreGrid(const ProblemSpec &record, SolverWorkspace &work, ResidualSystem &residuals, RunState &run);

    /// Sets every grid step; with `atFirstNode`, also puts `point` at the
    /// first node (every variable at its lower limit).
    void start(bool atFirstNode = true);

    /// Walks the whole grid. Returns false when a seed ended the walk early.
    template <typename Visitor>
    [[nodiscard]] bool walk(Visitor &visitor) {
        start();
        do {
            if (!walkStretch(visitor, kWholeLine)) return false;
        } while (advanceSlowerDigit());
        return true;
    }

    /// Walks along the last variable from the node in `point`, at most
    /// `maxNodes` nodes, and not beyond the end of the line. The first node
    /// whose signs all evaluate becomes the reference; every later node whose
    /// signs all evaluate is compared with the reference and becomes the next
    /// one. Returns false when a seed ended the walk.
    template <typename Visitor>
    [[nodiscard]] bool walkStretch(Visitor &visitor, std::uint64_t maxNodes);

    /// Odometer carry: the last variable back to its lower limit and the next
    /// slower variable that can still step, stepped. False when the walk is over.
    [[nodiscard]] bool advanceSlowerDigit();

    /// True when the last stretch found a reference; referenceSigns() then
    /// holds the signs of its last node whose signs all evaluated.
    bool hasReference() const { return hasReference_; }
    const std::int32_t *referenceSigns() const { return previous_; }

    /// The walk steps a value only while it is below its upper limit and the
    /// step still moves it.
    bool canAdvance(int variable) const {
        const double x = work_.point[variable];
        return x < record_.upperLimits[variable] && x + work_.gridStep[variable] > x;
    }
    void advance(int variable) { work_.point[variable] += work_.gridStep[variable]; }

private:
    enum class NodeSigns { Failed, Same, Changed };

    /// Sign (-1, 0, +1) of every residual at `point` into `signs`, compared
    /// with `reference` where one is given. A failed evaluation leaves its
    /// sign as it was, and the node counts as Failed.
    [[gnu::always_inline]] NodeSigns evaluateSigns(std::int32_t *signs, const std::int32_t *reference) {
        run_.throwIfInterrupted();
        const int evaluated = residuals_.evaluateAll(n_, work_.point.data(), values_, statuses_);
        bool clean = evaluated == n_;
        bool changed = false;
        for (int j = 0; j < evaluated; ++j) {
            const double value = values_[j];
            if (statuses_[j] != 0 || !std::isfinite(value)) [[unlikely]] {
                clean = false;
                continue;
            }
            const std::int32_t sign = (value > 0) - (value < 0);
            signs[j] = sign;
            if (reference) changed |= sign != reference[j];
        }
        if (!clean) [[unlikely]] {
            recordFailures(evaluated);
            return NodeSigns::Failed;
        }
        return changed ? NodeSigns::Changed : NodeSigns::Same;
    }

    /// Signs of the next node evaluated ahead, compared with `reference`.
    /// Those values are all finite: no node can fail here.
    /// Where they are the same, `signs` is left alone: the reference already holds them.
    [[gnu::always_inline]] NodeSigns signsAhead(std::int32_t *signs, const std::int32_t *reference) {
        const double *values = aheadValues_.data() + static_cast<std::size_t>(aheadNext_++) * n_;
        for (int j = 0; j < n_; ++j) {
            if (signOf(values[j]) != reference[j]) [[unlikely]] {
                for (int k = 0; k < n_; ++k) signs[k] = signOf(values[k]);
                return NodeSigns::Changed;
            }
        }
        return NodeSigns::Same;
    }
    static std::int32_t signOf(double value) { return (value > 0) - (value < 0); }

    /// Evaluates, in one call, the node in `point` and the nodes after it on
    /// its line, at most `nodesLeft` and kAhead in all. Returns how many of
    /// them, from the first, evaluated cleanly (0 when the first failed).
    int evaluateAhead(std::uint64_t nodesLeft);
    /// Evaluates the last node taken from the nodes evaluated ahead again
    /// when a seed ran after them, so that the variables are left as one
    /// evaluation after the other would leave them.
    void catchUpVariables();

    /// The failed evaluations of a node, as evaluateResiduals records them:
    /// a recoverable number in ierr, any other one ending the run.
    void recordFailures(int evaluated);

    const ProblemSpec &record_;
    SolverWorkspace &work_;
    ResidualSystem &residuals_;
    RunState &run_;
    const int last_;
    const int n_;
    /// The reference's signs and the current node's; swapped rather than copied.
    std::int32_t *previous_;
    std::int32_t *current_;
    double *values_;
    std::int32_t *statuses_;
    bool hasReference_ = false;
    std::vector<double> node_;  ///< the node a seed starts from, put back after it

    // Nodes evaluated ahead along the line: each evaluation call then serves
    // many nodes. The values are those of one evaluation after the other.
    static constexpr int kAhead = 32;
    std::vector<double> aheadPoints_;
    std::vector<double> aheadValues_;
    int aheadNext_ = 0;              ///< the next node's index in them
    int aheadCount_ = 0;             ///< how many evaluated cleanly
    int aheadSize_ = 1;              ///< nodes to evaluate at the next call: doubles while they succeed
    bool aheadUnavailable_ = false;  ///< the system cannot evaluate quietly
    bool aheadRowsFilled_ = false;   ///< the coordinates before the last one are in every row
    bool variablesBehind_ = false;   ///< a seed ran after the last evaluation ahead
};

template <typename Visitor>
bool ExploreGrid::walkStretch(Visitor &visitor, std::uint64_t maxNodes) {
    hasReference_ = false;
    aheadNext_ = aheadCount_ = 0;
    aheadUnavailable_ = aheadRowsFilled_ = false;
    std::uint64_t nodes = 0;
    for (;;) {
        visitor.visitNode();
        ++nodes;
        if (evaluateSigns(previous_, nullptr) != NodeSigns::Failed) break;
        if (nodes >= maxNodes || !canAdvance(last_)) return true;
        advance(last_);
    }
    hasReference_ = true;
    visitor.referenceFound(previous_);
    while (nodes < maxNodes && canAdvance(last_)) {
        advance(last_);
        visitor.visitNode();
        ++nodes;
        const NodeSigns signs = aheadNext_ < aheadCount_ || evaluateAhead(maxNodes - nodes + 1) > 0
                                    ? signsAhead(current_, previous_)
                                    : evaluateSigns(current_, previous_);
        if (signs == NodeSigns::Failed) continue;  // the reference stays put
        if (signs == NodeSigns::Changed) {
            std::copy(work_.point.begin(), work_.point.end(), node_.begin());
            const bool goOn = visitor.startSeed();
            std::copy(node_.begin(), node_.end(), work_.point.begin());
            if (!goOn) return false;
            variablesBehind_ = aheadNext_ < aheadCount_;
            std::swap(previous_, current_);  // the same signs need no swap
        }
    }
    catchUpVariables();
    return true;
}

}  // namespace zl
