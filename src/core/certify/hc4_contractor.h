#pragma once
// Constraint propagation over the residual program (HC4-revise on the
// shared-node program): a forward sweep encloses every node over the box,
// each residual is then set to 0, and a backward sweep narrows every node's
// operands to the values that can still give the narrowed result. The
// variables' narrowed intervals are the contracted box. No root is lost:
// every step keeps each point at which all residuals are defined and zero.

#include <cstdint>
#include <vector>

#include "core/certify/box.h"
#include "core/eval/interval_program.h"

namespace zl {

class Hc4Contractor {
public:
    explicit Hc4Contractor(const IntervalProgram &program) : program_(program) {}

    /// Narrows `box` in place; false when it holds no root. Leaves in
    /// workspace.values (and .regular) the enclosures over the box as it was
    /// before narrowing.
    bool contract(Box &box, IntervalWorkspace &workspace);

private:
    const IntervalProgram &program_;
    std::vector<Interval> narrowedValues_;  ///< per node, narrowed by the backward sweep
    std::vector<std::uint8_t> narrowed_;    ///< per node: narrowed in this sweep
};

/// The hull of { x in a : x * b = c for some b, c } (x = c / b as a relation,
/// so that b = 0 only excludes what it must).
Interval solveProduct(const Interval &a, const Interval &b, const Interval &c);

}  // namespace zl
