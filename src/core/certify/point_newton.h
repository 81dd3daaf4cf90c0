#pragma once
// Newton's method at full steps with the exact Jacobian of the residual
// program, in plain double arithmetic: a quick way to a good center for the
// interval steps. Nothing it returns is trusted without a proof.

#include <cstddef>
#include <vector>

#include "core/certify/box.h"
#include "core/eval/interval_program.h"

namespace zl {

class PointNewton {
public:
    explicit PointNewton(const IntervalProgram &program);

    /// Iterates from `point` (updated in place) until the step is within a
    /// few ulps of the point; false when it fails, leaves `region` (when
    /// given), or does not settle within `maxIterations`.
    bool converge(std::vector<double> &point, IntervalWorkspace &workspace, int maxIterations = 40,
                  const Box *region = nullptr);

private:
    const IntervalProgram &program_;
    std::size_t n_;
    std::vector<double> residuals_;
    std::vector<double> jacobian_;
};

}  // namespace zl
