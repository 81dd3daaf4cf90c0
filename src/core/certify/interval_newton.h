#pragma once
// The interval Newton step of Hansen and Sengupta: with the Jacobian J
// enclosed over the box X, a center c in X and Y the inverse of J's midpoint
// matrix, every root x in X satisfies (Y J)(x - c) = -Y F(c) for some matrix
// of the enclosure, and one Gauss-Seidel sweep over that interval system
// narrows X to the x that can. When the sweep's image lies strictly inside X
// in every variable (with no diagonal entry of Y J containing 0), X holds
// exactly one root (Hansen & Sengupta 1981; Neumaier, Interval Methods for
// Systems of Equations, 1990, section 5.2).
//
// The step needs residuals that are defined and continuous on the whole box
// (the mean-value argument behind it), so it is only taken on regular boxes.

#include <cstdint>
#include <vector>

#include "core/certify/box.h"
#include "core/eval/interval_program.h"

namespace zl {

enum class NewtonStep : std::uint8_t {
    Empty,          ///< the box holds no root
    Contracted,     ///< narrowed (possibly not at all); the box may hold roots
    Proved,         ///< the box holds exactly one root, within the narrowed box
    NotApplicable,  ///< not regular on the box, or no usable preconditioner
};

class IntervalNewton {
public:
    explicit IntervalNewton(const IntervalProgram &program);

    struct StepOptions {
        /// Use the inverse of the last step's midpoint matrix again: any matrix
        /// is sound, and one from a box holding this one still works well.
        bool reusePreconditioner = false;
        /// workspace.values and .regular already hold the enclosures over a
        /// box holding this one (a Jacobian enclosed over it encloses this
        /// box's too), so the step need not evaluate them again.
        bool valuesReady = false;
    };

    /// One step on `box` around `center` (a point of the box), narrowing the
    /// box in place. Leaves workspace.values at the center.
    NewtonStep step(Box &box, const double *center, IntervalWorkspace &workspace, StepOptions options);
    NewtonStep step(Box &box, const double *center, IntervalWorkspace &workspace) {
        return step(box, center, workspace, StepOptions{});
    }

    /// The Jacobian enclosure of the last step's box, row-major.
    const std::vector<Interval> &jacobian() const { return jacobian_; }

    /// After a step that got that far: no diagonal entry of the preconditioned
    /// Jacobian contains 0, so the box is nearly linear and holds at most a
    /// few roots, which Newton's method from inside it tends to reach.
    bool nearlyLinear() const { return nearlyLinear_; }

private:
    /// Y J and Y F(c) by midpoint and radius; false when some entry is too large for it.
    bool precondition();
    void preconditionInIntervals();

    const IntervalProgram &program_;
    std::size_t n_;
    Box centerBox_;
    std::vector<Interval> centerValues_;
    std::vector<Interval> jacobian_;
    std::vector<double> preconditioner_;
    std::vector<double> scratch_;
    std::vector<Interval> preconditioned_;
    std::vector<Interval> rightSide_;
    std::vector<Interval> offsets_;
    std::vector<double> middles_;
    std::vector<double> radii_;
    bool preconditionerReady_ = false;
    bool nearlyLinear_ = false;
};

}  // namespace zl
