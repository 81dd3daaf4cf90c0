#pragma once
// The zero set of one residual in a plane, as line segments: marching squares
// over the sampled grid, with every crossing of a cell edge located on the
// residual itself.

#include <cstdint>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/plot/residual_sampling.h"
#include "core/problem/residual_system.h"

namespace zl {

struct ContourSegment {
    PlanePoint from;
    PlanePoint to;
};

struct ZeroContour {
    std::vector<ContourSegment> segments;
    std::int32_t fatalErrorNumber = 0;  ///< an error outside the recoverable set ended the tracing
};

/// Residual `equation`'s zero set over the grid of `samples` in `slice`.
/// A cell with a corner that could not be evaluated draws nothing, and so
/// does a sign change that is a pole or a jump rather than a zero: the curve
/// has a gap there, never a line where the residual is not zero. Neighbouring
/// cells share each crossing point exactly, so a closed curve closes.
ZeroContour zeroContour(ResidualSystem &residuals, const PlaneSlice &slice, const SampledResiduals &samples,
                        int equation);

/// Segments that share end points joined into polylines; a closed curve's
/// polyline ends with its first point.
std::vector<std::vector<PlanePoint>> joinSegments(const std::vector<ContourSegment> &segments);

}  // namespace zl
