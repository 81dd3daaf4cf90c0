#pragma once
// Constraint propagation over the residual program (HC4-revise on the
// shared-node program): a forward sweep encloses every node over the box,
// each residual is then set to 0, and a backward sweep narrows every node's
// operands to the values that can still give the narrowed result. The
// variables' narrowed intervals are the contracted box. No root is lost:
// every step keeps each point at which all residuals are defined and zero.

#include "core/certify/box.h"
#include "core/eval/interval_program.h"

namespace zl {

class Hc4Contractor {
public:
    explicit Hc4Contractor(const IntervalProgram &program) : program_(program) {}

    /// Narrows `box` in place; false when it holds no root. Overwrites
    /// workspace.values with the narrowed node enclosures.
    bool contract(Box &box, IntervalWorkspace &workspace) const;

private:
    const IntervalProgram &program_;
};

/// The hull of { x in a : x * b = c for some b, c } (x = c / b as a relation,
/// so that b = 0 only excludes what it must).
Interval solveProduct(const Interval &a, const Interval &b, const Interval &c);

}  // namespace zl
