#pragma once
// Proves that a box holds exactly one root of the system, either a given box
// or a small box grown around an approximate root (epsilon-inflation), and
// then narrows the root's enclosure to a few ulps.

#include <optional>
#include <vector>

#include "core/certify/box.h"
#include "core/certify/interval_newton.h"
#include "core/certify/point_newton.h"
#include "core/eval/interval_program.h"

namespace zl {

struct ProvedRoot {
    std::vector<double> point;  ///< inside the enclosure: the root to the last few ulps
    Box enclosure;              ///< holds the root
    Box region;                 ///< holds exactly this root and no other
};

class RootProver {
public:
    explicit RootProver(const IntervalProgram &program);

    /// The root of `box` when the box provably holds exactly one; `center`
    /// (a point of the box, or null for its midpoint) steers the first step.
    std::optional<ProvedRoot> proveInBox(const Box &box, const double *center, IntervalWorkspace &workspace);

    /// Polishes `point` by Newton's method, then grows boxes around it from a
    /// radius of about 1e-12 of its scale,
    /// each holding `cover` when it is given, and returns the first that
    /// provably holds exactly one root. Boxes stay inside `limits` when it is
    /// given, and within `maxRadius` of the point per variable.
    std::optional<ProvedRoot> proveNear(const std::vector<double> &point, const Box *cover, const Box *limits,
                                        double maxRadius, IntervalWorkspace &workspace);

    /// The largest box around the root, growing fourfold at a time up to the
    /// scale of its coordinates, still proved to hold it and no other root.
    Box widestRegion(const ProvedRoot &root, IntervalWorkspace &workspace);

    /// After a proof: narrows the enclosure by further steps until they stop
    /// paying, and takes the point from it.
    void tighten(ProvedRoot &root, IntervalWorkspace &workspace);

private:
    IntervalNewton newton_;
    PointNewton pointNewton_;
};

}  // namespace zl
