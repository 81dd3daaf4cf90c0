#pragma once
// The residual of a one-variable problem along an interval, as a polyline.

#include <cstdint>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/problem/residual_system.h"

namespace zl {

struct ResidualCurve {
    /// By increasing x. A point whose y is NaN breaks the line: the residual
    /// could not be evaluated there, or changed sign by a jump or a pole.
    std::vector<PlanePoint> points;
    /// Where the residual changes sign through zero between two samples,
    /// located on the residual; these points are on the curve with y 0.
    std::vector<double> zeros;
    std::int32_t fatalErrorNumber = 0;  ///< an error outside the recoverable set ended the sampling
};

/// Residual `equation` at `samples` (at least 2) evenly spaced values of the
/// slice's x variable over `range`.
ResidualCurve residualCurve(ResidualSystem &residuals, const PlaneSlice &slice, AxisRange range, int samples,
                            int equation);

}  // namespace zl
